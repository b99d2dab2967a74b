#include "platform/Clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace platform {

void setClipboardText(const QString& text) { QGuiApplication::clipboard()->setText(text); }

QString clipboardText() { return QGuiApplication::clipboard()->text(); }

}  // namespace platform
