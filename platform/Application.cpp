#include "platform/Application.h"

#include <QApplication>

#include "platform/Dialogs.h"

namespace platform {

void setUpApplication(const QString& title) {
    QApplication::setApplicationName(title);
    // No display name: on X11 Qt appends it to every window title ("Location — Zelk"), while each
    // screen's title must be its caption alone. Message boxes take the title from here instead.
    setApplicationTitle(title);
}

}  // namespace platform
