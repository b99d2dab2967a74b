#pragma once
#include <QString>

namespace platform {
void setClipboardText(const QString& text);
QString clipboardText();
}  // namespace platform
