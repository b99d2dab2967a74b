#pragma once
// The screen edge: program texts are Windows-1252 bytes, the widgets show Unicode.
#include <QString>
#include <string>

namespace platform {
QString fromAnsi(const std::string& bytes);
std::string toAnsi(const QString& text);  // characters without a Windows-1252 byte become "?"
}  // namespace platform
