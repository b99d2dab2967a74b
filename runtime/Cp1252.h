#pragma once
// Files and program texts hold single-byte Windows-1252 text; the screens show Unicode.
// The two meet only here (and in the platform layer's QString helpers, which call these).
#include <string>
#include <string_view>

namespace runtime {

// Windows-1252 bytes to UTF-8. The five unassigned bytes map to the C1 controls of the same code.
std::string utf8FromCp1252(std::string_view bytes);

// UTF-8 to Windows-1252 bytes. A character without a Windows-1252 byte becomes "?".
std::string cp1252FromUtf8(std::string_view utf8);

}  // namespace runtime
