#pragma once
#include "platform/core/UserMessages.h"

#include <exception>
#include <utility>

namespace fat::ui {

// Runs an event handler; an error that escapes it goes to the application's standard error
// display, as every handler's errors do, instead of unwinding through Qt.
template <typename Handler> void Guarded(Handler&& handler) {
    try {
        std::forward<Handler>(handler)();
    } catch (const std::exception& e) {
        ShowException(e);
    }
}

} // namespace fat::ui
