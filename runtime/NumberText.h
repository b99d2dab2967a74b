#pragma once
// Numbers as texts, the way the classic run-time library writes and reads them.
#include <cstdint>
#include <string>
#include <string_view>

namespace runtime {

// The user's decimal separator (set once at start-up from the locale; "." until then).
char decimalSeparator();
void setDecimalSeparator(char separator);

// Fixed notation: rounded to at most `precision` significant digits, exactly `decimals` decimals
// (zeros padded); general notation when the integer part has more than `precision` digits.
std::string formatFixed(long double value, int precision, int decimals, char separator);
inline std::string formatFixed(long double value, int precision, int decimals) {
    return formatFixed(value, precision, decimals, decimalSeparator());
}

// General notation: the shortest text with at most `precision` significant digits, no trailing
// zeros, no separator for integral values; exponent notation ("1.5E-7", "1E20") when the value is
// below 0.0001 or has more than `precision` integer digits. `exponentDigits` is the least number
// of exponent digits (0 to 4).
std::string formatGeneral(long double value, int precision, char separator, int exponentDigits = 0);
// The same, appended to `out` without allocating beyond its growth (for large files).
void appendGeneral(std::string& out, long double value, int precision, char separator,
                   int exponentDigits = 0);
inline std::string formatGeneral(long double value, int precision) {
    return formatGeneral(value, precision, decimalSeparator());
}

// The plain conversion of a real: general notation with 15 digits and the user's separator.
inline std::string floatToStr(long double value) { return formatGeneral(value, 15); }

// The 23-character exponent form of the parameter files, always with ".":
// " 1.06000000000000E+0000", "-5.00000000000000E-0001".
std::string formatExponent23(long double value);

std::string intToStr(long long value);

// Conversions that fail with ConvertError:
// "'%s' is not a valid integer value", "'%s' is not a valid floating point value".
// Leading blanks are allowed (and trailing ones for reals); the text must otherwise be a number.
std::int32_t strToInt(std::string_view text);
long double strToFloat(std::string_view text, char separator);
inline long double strToFloat(std::string_view text) { return strToFloat(text, decimalSeparator()); }

// Non-throwing forms: false when the text is not a number.
bool tryStrToInt(std::string_view text, std::int32_t& out);
bool tryStrToFloat(std::string_view text, long double& out, char separator);
inline bool tryStrToFloat(std::string_view text, long double& out) {
    return tryStrToFloat(text, out, decimalSeparator());
}

// The number syntax of the text-file reads and of Val: optional sign, digits, optional "." and
// digits, optional exponent; "$" hexadecimal for integers. Returns false when malformed.
// Every conversion here is independent of the C library's locale. A real beyond the range of a
// double ("1e999") is not a number; one too small for a double ("1e-400") reads as 0.
bool parseIntegerToken(std::string_view token, std::int32_t& out);
bool parseRealToken(std::string_view token, long double& out, char separator = '.');

}  // namespace runtime
