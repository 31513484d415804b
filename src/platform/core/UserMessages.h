#pragma once
#include <exception>
#include <functional>
#include <string>

namespace fat {

// Message boxes the program shows: an icon, a caption, a text and an OK button. Code below the
// windows talks to the user only through here; the program installs the Qt boxes at start-up,
// tests install a recorder.
enum class MessageIcon { Error, Information };

struct MessageBoxRequest {
    MessageIcon icon = MessageIcon::Information;
    std::string caption; // empty: the application's title
    std::string text;
};

using MessagePresenter = std::function<void(const MessageBoxRequest&)>;
// Installs the presenter and returns the one it replaces (empty restores the default, which
// writes the box to standard error).
MessagePresenter SetMessagePresenter(MessagePresenter presenter);

void ShowMessageBox(MessageIcon icon, const std::string& text, const std::string& caption = {});
// The application's standard error display: the error's own text in an error box.
void ShowException(const std::exception& error);

// Ends the process at once with the exit code. Tests replace the ending with a function that
// records it and throws, so the code after the call never runs in either case.
[[noreturn]] void EndProcess(int exitCode);
using ProcessEnder = std::function<void(int exitCode)>;
ProcessEnder SetProcessEnder(ProcessEnder ender);

} // namespace fat
