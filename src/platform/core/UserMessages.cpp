#include "platform/core/UserMessages.h"

#include <cstdio>
#include <cstdlib>
#include <unistd.h>

namespace fat {
namespace {

MessagePresenter& Presenter() {
    static MessagePresenter presenter;
    return presenter;
}

ProcessEnder& Ender() {
    static ProcessEnder ender;
    return ender;
}

} // namespace

MessagePresenter SetMessagePresenter(MessagePresenter presenter) {
    MessagePresenter previous = std::move(Presenter());
    Presenter() = std::move(presenter);
    return previous;
}

void ShowMessageBox(MessageIcon icon, const std::string& text, const std::string& caption) {
    const MessageBoxRequest request{icon, caption, text};
    if (Presenter()) {
        Presenter()(request);
        return;
    }
    std::fprintf(stderr, "[%s] %s%s%s\n", icon == MessageIcon::Error ? "error" : "information",
                 caption.c_str(), caption.empty() ? "" : ": ", text.c_str());
}

void ShowException(const std::exception& error) { ShowMessageBox(MessageIcon::Error, error.what()); }

ProcessEnder SetProcessEnder(ProcessEnder ender) {
    ProcessEnder previous = std::move(Ender());
    Ender() = std::move(ender);
    return previous;
}

void EndProcess(int exitCode) {
    if (Ender()) Ender()(exitCode); // a test's ender throws and never returns here
    std::fflush(nullptr);
    ::_exit(exitCode);
}

} // namespace fat
