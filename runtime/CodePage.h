#pragma once
// Files and program texts hold single-byte text in the user's code page: the Windows ANSI code page
// of the language of the user's locale (Windows-1250 for Polish, Windows-1252 for German or the C
// locale). The screens show Unicode. The two meet only here (and in the platform layer's QString
// helpers, which call these); the system's iconv converts.
//
// A byte that the code page leaves undefined (0x81, 0x8D, 0x8F, 0x90 and 0x9D in Windows-1252) is
// no error: it reads as the C1 control of the same value (from 0xA0 on, as the private-use
// character U+F700 + byte) and is written back as the same byte, so that such a file keeps it.
#include <string>
#include <string_view>

#include "runtime/Errors.h"

namespace runtime {

// The Windows code page that goes with a locale name as setlocale gives it ("pl_PL.UTF-8" 1250,
// "ru_RU.UTF-8" 1251, "sr_RS@latin" 1250, "sr_RS" 1251, "th_TH.UTF-8" 874); 1252 for every other
// language and for "C" and "POSIX".
int codePageOfLocale(std::string_view localeName);

// Makes `codePage` the code page of every text from now on; Windows-1252 until it is called.
// Returns false, keeping the code page in use, when the system's iconv does not know it.
bool setCodePage(int codePage);
int codePage();
// Sets the code page of the process's LC_CTYPE locale, which QApplication has taken from the
// user's environment; a locale that is not installed leaves "C", and so Windows-1252.
void setCodePageOfProcessLocale();

// Code-page bytes to UTF-8.
std::string utf8FromAnsi(std::string_view bytes);
// UTF-8 to code-page bytes. A character without a byte becomes "?", and so does malformed UTF-8.
std::string ansiFromUtf8(std::string_view utf8);
// True when every character of the UTF-8 text has a byte in the code page.
bool ansiCanHold(std::string_view utf8);

// The byte of the upper-case letter of the code page's byte `c`, or `c` when it has none: the
// case-blind comparison of names.
unsigned char ansiUpperCase(unsigned char c);

// The whole content of a text file as the readers take it: code-page bytes. A file that begins
// with the UTF-8 byte-order mark was saved as UTF-8: the mark is passed over and the rest
// converted. A character there that the code page cannot hold throws UnheldCharacterError.
std::string fileTextInCodePage(std::string bytes, const std::string& path);

// A read of a UTF-8 file that holds a character the code page cannot hold, or malformed UTF-8:
// "Line 3 of "town.tab" holds a character that code page 1252 cannot hold."
class UnheldCharacterError : public Error {
public:
    UnheldCharacterError(const std::string& path, int line, bool malformed);
    int line() const { return line_; }

private:
    int line_;
};

}  // namespace runtime
