#include "platform/Guard.h"

#include <QCoreApplication>
#include <QMetaObject>
#include <QString>
#include <QThread>

#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "runtime/CodePage.h"
#include "runtime/Errors.h"

namespace platform {

namespace {
std::optional<int> exitCode;

bool eventLoopRunning() { return QThread::currentThread()->loopLevel() > 0; }
}  // namespace

void showException(const std::exception& error) {
    // The file layer's messages, and those of a text file that the code page cannot hold, are plain
    // ASCII around the names of files, which are in the file system's encoding; the other messages
    // are program text in the user's code page.
    const bool namesFiles = dynamic_cast<const runtime::InOutError*>(&error) != nullptr ||
                            dynamic_cast<const runtime::UnheldCharacterError*>(&error) != nullptr;
    showMessage(namesFiles ? fromFileName(error.what()) : fromAnsi(error.what()));
}

void runGuarded(const std::function<void()>& handler) {
    try {
        handler();
    } catch (const runtime::ExitProgram& exit) {
        requestExit(exit.code());
    } catch (const std::exception& error) {
        showException(error);
    } catch (...) {
        // Nothing may leave a handler into the event loop.
        showMessage(QStringLiteral("Unknown error"));
    }
}

void runGuardedAfterTyping(QObject* context, std::function<void()> handler) {
    // A queued call is dropped with its context.
    QMetaObject::invokeMethod(
        context, [h = std::move(handler)] { runGuarded(h); }, Qt::QueuedConnection);
}

void requestExit(int code) {
    exitCode = code;
    if (!eventLoopRunning()) throw runtime::ExitProgram(code);
    QCoreApplication::exit(code);
}

void quitEventLoop(int code) {
    exitCode = code;
    if (eventLoopRunning()) QCoreApplication::exit(code);
}

std::optional<int> requestedExitCode() { return exitCode; }
void clearRequestedExitCode() { exitCode.reset(); }

}  // namespace platform
