#pragma once
#include "platform/core/UserMessages.h"

#include <string>
#include <vector>

namespace fat::test {

// Records every message box instead of showing it, for as long as it lives.
class MessageRecorder {
public:
    MessageRecorder() {
        previous_ = SetMessagePresenter([this](const MessageBoxRequest& r) { boxes.push_back(r); });
    }
    ~MessageRecorder() { SetMessagePresenter(std::move(previous_)); }
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    std::vector<MessageBoxRequest> boxes;

private:
    MessagePresenter previous_;
};

// Thrown by the recorded process ending, so that the code after EndProcess never runs. It is no
// std::exception, so that no handler of the program catches it as an error, as nothing catches
// the real end of the process.
struct ProcessEnded {
    int exitCode;
};

// Replaces the ending of the process for as long as it lives.
class ProcessEndRecorder {
public:
    ProcessEndRecorder() {
        previous_ = SetProcessEnder([this](int code) {
            codes.push_back(code);
            throw ProcessEnded{code};
        });
    }
    ~ProcessEndRecorder() { SetProcessEnder(std::move(previous_)); }
    ProcessEndRecorder(const ProcessEndRecorder&) = delete;
    ProcessEndRecorder& operator=(const ProcessEndRecorder&) = delete;

    std::vector<int> codes;

private:
    ProcessEnder previous_;
};

} // namespace fat::test
