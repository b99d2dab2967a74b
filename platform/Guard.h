#pragma once
// The application's default error handler: an error thrown out of an event handler is shown in a
// plain message box with its message, and the program goes on.
#include <exception>
#include <functional>
#include <utility>

namespace platform {

// Shows the error the way the default handler does ("File not found", "Invalid numeric input", ...).
void showException(const std::exception& error);

// Runs `handler`; an error escaping it is shown by showException. runtime::ExitProgram passes on
// (it ends the program: quitExitCode()).
void runGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): connect(button, &QPushButton::clicked, this, guarded([this] {...}));
template <typename F>
auto guarded(F&& handler) {
    return [h = std::forward<F>(handler)](auto&&...) { runGuarded(h); };
}

// ExitProgram raised inside an event handler stops the event loop with its code.
void requestExit(int code);

}  // namespace platform
