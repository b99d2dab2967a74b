#pragma once
// The screen edge: program texts are bytes of the user's code page (runtime/CodePage.h), the
// widgets show Unicode.
#include <QString>
#include <string>

namespace platform {
QString fromAnsi(const std::string& bytes);
std::string toAnsi(const QString& text);  // characters without a byte in the code page become "?"
// True when every character of `text` has a byte in the user's code page.
bool ansiCanHold(const QString& text);

// File and folder names keep the file system's own bytes: a name chosen in a dialog opens the file
// it names, whatever its letters.
std::string toFileName(const QString& path);
QString fromFileName(const std::string& path);
}  // namespace platform
