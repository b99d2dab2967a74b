#pragma once
// The screen edge: program texts are Windows-1252 bytes, the widgets show Unicode.
#include <QString>
#include <string>

namespace platform {
QString fromAnsi(const std::string& bytes);
std::string toAnsi(const QString& text);  // characters without a Windows-1252 byte become "?"
// True when every character of `text` has a byte in the code page, so that it is stored as it is.
bool ansiCanHold(const QString& text);

// File and folder names keep the file system's own bytes: a name chosen in a dialog opens the file
// it names, whatever its letters.
std::string toFileName(const QString& path);
QString fromFileName(const std::string& path);
}  // namespace platform
