#pragma once
// The application's default error handler: an error thrown out of an event handler is shown in a
// plain message box with its message, and the program goes on. Reactions to typing that show a
// box or change the edited text run once the editor's own key handling is over.
#include <exception>
#include <functional>
#include <optional>
#include <utility>

class QObject;

namespace platform {

// Shows the error the way the default handler does ("File not found", "Invalid numeric input", ...).
void showException(const std::exception& error);

// Runs `handler`; an error escaping it is shown by showException. runtime::ExitProgram passes on
// to requestExit (it ends the program).
void runGuarded(const std::function<void()>& handler);

// Wraps a handler for connect(): connect(button, &QPushButton::clicked, this, guarded([this] {...}));
template <typename F>
auto guarded(F&& handler) {
    return [h = std::forward<F>(handler)](auto&&...) { runGuarded(h); };
}

// Runs `handler` guarded once control is back in the event loop, when `context` still exists then.
// For a reaction to typing that may show a box or change the text being typed: the box and the
// change come after the editor has finished with the key, so that nothing is changed or deleted
// under it (a box closes a grid's cell editor). The handler checks again what it reacts to, as the
// user may have typed on meanwhile.
void runGuardedAfterTyping(QObject* context, std::function<void()> handler);

// ExitProgram raised inside an event handler: ends the running event loop with `code`. Without a
// running event loop (start-up, or a test calling a handler directly) it throws
// runtime::ExitProgram(code) again, so that the program body can leave with the code.
void requestExit(int code);

// Ends the running event loop with `code` (closing the main form uses 0). Without a running event
// loop only the code is recorded.
void quitEventLoop(int code);

// The exit code asked for by requestExit or quitEventLoop since the last clear (tests read it).
std::optional<int> requestedExitCode();
void clearRequestedExitCode();

}  // namespace platform
