#include "platform/Application.h"

#include <QApplication>

#include <csignal>

#include "platform/Dialogs.h"

namespace platform {

void setUpApplication(const QString& title) {
    QApplication::setApplicationName(title);
    // No display name: on X11 Qt appends it to every window title ("Location — Zelk"), while each
    // screen's title must be its caption alone. Message boxes take the title from here instead.
    setApplicationTitle(title);
    // Under a file-size limit a write past it fails with an error, which the file layer reports
    // after putting the file back, instead of ending the program in the middle of the write.
    std::signal(SIGXFSZ, SIG_IGN);
}

}  // namespace platform
