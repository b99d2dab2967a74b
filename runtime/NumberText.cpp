#include "runtime/NumberText.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>

#include "runtime/Errors.h"

namespace runtime {
namespace {

char gDecimalSeparator = '.';

// A value as decimal digits: value = 0.d1d2d3... x 10^exponent, digits without trailing zeros.
// No digits means zero. Fixed storage: the general form runs for every value of large files.
struct Decimal {
    static constexpr int kCapacity = 20;
    bool negative = false;
    char digits[kCapacity] = {};
    int count = 0;
    int exponent = 0;
    bool empty() const { return count == 0; }
    void trim() {
        while (count > 0 && digits[count - 1] == '0') --count;
    }
};

constexpr int kMaxDigits = 18;  // the digits an extended real carries

Decimal toDecimal(long double value) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) {
        d.negative = std::signbit(value) && value != 0;
        return d;
    }
    d.negative = value < 0;
    // "d.ddddddddddddddddde+XX": the value correctly rounded to 18 significant digits.
    // A value that a double holds exactly takes the double's (much faster) conversion; both are
    // exact, so the digits are the same.
    char buffer[48];
    const long double magnitude = std::fabs(value);
    const auto asDouble = static_cast<double>(magnitude);
    const auto printed =
        static_cast<long double>(asDouble) == magnitude
            ? std::to_chars(buffer, buffer + sizeof buffer, asDouble, std::chars_format::scientific, kMaxDigits - 1)
            : std::to_chars(buffer, buffer + sizeof buffer, magnitude, std::chars_format::scientific, kMaxDigits - 1);
    d.digits[0] = buffer[0];
    for (int i = 1; i < kMaxDigits; ++i) d.digits[i] = buffer[i + 1];
    d.count = kMaxDigits;
    const char* e = buffer + kMaxDigits + 1;  // at 'e'
    ++e;
    if (*e == '+') ++e;
    std::from_chars(e, printed.ptr, d.exponent);
    d.exponent += 1;
    d.trim();
    return d;
}

// Rounds half up to `count` significant digits (count may be zero or negative).
void roundTo(Decimal& d, int count) {
    if (d.count <= count) return;
    if (count < 0) {
        d.count = 0;
        return;
    }
    const bool up = d.digits[count] >= '5';
    d.count = count;
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[i] == '9') d.digits[i--] = '0';
        if (i < 0) {
            d.digits[0] = '1';
            d.count = 1;
            d.exponent += 1;
        } else {
            d.digits[i] += 1;
        }
    }
    d.trim();
}

char digitAt(const Decimal& d, int i) {  // i from 0
    return i >= 0 && i < d.count ? d.digits[i] : '0';
}

void appendExponent(std::string& out, int exponent, bool plus, int minDigits) {
    out += 'E';
    if (exponent < 0) out += '-';
    else if (plus) out += '+';
    char text[12];
    const auto end = std::to_chars(text, text + sizeof text, exponent < 0 ? -exponent : exponent);
    for (auto n = end.ptr - text; n < minDigits; ++n) out += '0';
    out.append(text, end.ptr);
}

void appendNonFinite(std::string& out, long double value) {
    if (std::isnan(value)) out += "NAN";
    else out += value < 0 ? "-INF" : "INF";
}

int clampPrecision(int precision) { return std::clamp(precision, 1, kMaxDigits); }

}  // namespace

char decimalSeparator() { return gDecimalSeparator; }
void setDecimalSeparator(char separator) { gDecimalSeparator = separator; }

void appendGeneral(std::string& out, long double value, int precision, char separator, int exponentDigits) {
    if (!std::isfinite(value)) {
        appendNonFinite(out, value);
        return;
    }
    precision = clampPrecision(precision);
    Decimal d = toDecimal(value);
    roundTo(d, precision);
    if (d.empty()) {
        out += '0';
        return;
    }
    if (d.negative) out += '-';
    if (d.exponent > precision || d.exponent < -3) {
        out += d.digits[0];
        if (d.count > 1) {
            out += separator;
            out.append(d.digits + 1, static_cast<std::size_t>(d.count - 1));
        }
        appendExponent(out, d.exponent - 1, false, exponentDigits);
        return;
    }
    if (d.exponent <= 0) {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-d.exponent), '0');
        out.append(d.digits, static_cast<std::size_t>(d.count));
        return;
    }
    for (int i = 0; i < d.exponent; ++i) out += digitAt(d, i);
    if (d.count > d.exponent) {
        out += separator;
        out.append(d.digits + d.exponent, static_cast<std::size_t>(d.count - d.exponent));
    }
}

std::string formatGeneral(long double value, int precision, char separator, int exponentDigits) {
    std::string out;
    appendGeneral(out, value, precision, separator, exponentDigits);
    return out;
}

std::string formatFixed(long double value, int precision, int decimals, char separator) {
    std::string out;
    if (!std::isfinite(value)) {
        appendNonFinite(out, value);
        return out;
    }
    precision = clampPrecision(precision);
    decimals = std::max(decimals, 0);
    Decimal d = toDecimal(value);
    roundTo(d, std::min(precision, d.exponent + decimals));
    if (d.exponent > precision && !d.empty()) return formatGeneral(value, precision, separator);
    if (d.negative && !d.empty()) out += '-';
    if (d.empty() || d.exponent <= 0) {
        out += '0';
    } else {
        for (int i = 0; i < d.exponent; ++i) out += digitAt(d, i);
    }
    if (decimals > 0) {
        out += separator;
        for (int i = 0; i < decimals; ++i) out += d.empty() ? '0' : digitAt(d, d.exponent + i);
    }
    return out;
}

std::string formatExponent23(long double value) {
    Decimal d = toDecimal(value);
    roundTo(d, 15);
    std::string out = d.negative && !d.empty() ? "-" : " ";
    out += digitAt(d, 0);
    out += '.';
    for (int i = 1; i < 15; ++i) out += digitAt(d, i);
    appendExponent(out, d.empty() ? 0 : d.exponent - 1, true, 4);
    return out;
}

std::string intToStr(long long value) { return std::to_string(value); }

bool parseIntegerToken(std::string_view token, std::int32_t& out) {
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    bool hex = false;
    if (i < token.size() && token[i] == '$') {
        hex = true;
        ++i;
    } else if (i + 1 < token.size() && token[i] == '0' && (token[i + 1] == 'x' || token[i + 1] == 'X')) {
        hex = true;
        i += 2;
    }
    if (i >= token.size()) return false;
    long long v = 0;
    for (; i < token.size(); ++i) {
        const char c = token[i];
        int digit = -1;
        if (c >= '0' && c <= '9') digit = c - '0';
        else if (hex && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
        else if (hex && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
        if (digit < 0) return false;
        v = v * (hex ? 16 : 10) + digit;
        if (v > (hex ? 0xFFFFFFFFLL : 2147483648LL)) return false;
    }
    if (hex) {
        // Hexadecimal texts cover the whole 32-bit pattern.
        out = static_cast<std::int32_t>(static_cast<std::uint32_t>(v));
        if (negative) out = static_cast<std::int32_t>(0u - static_cast<std::uint32_t>(out));
        return true;
    }
    if (negative) v = -v;
    if (v > std::numeric_limits<std::int32_t>::max() || v < std::numeric_limits<std::int32_t>::min())
        return false;
    out = static_cast<std::int32_t>(v);
    return true;
}

bool parseRealToken(std::string_view token, long double& out, char separator) {
    // sign, digits, optional separator and digits (at least one digit in all), optional exponent.
    // The text is checked here and converted by from_chars, which never looks at the C library's
    // locale, so that "7.5" is 7.5 whatever locale the process is in.
    std::string normalized;
    std::size_t i = 0;
    bool negative = false;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) negative = token[i++] == '-';
    int mantissaDigits = 0;
    int leadingZeros = 0;     // zeros before the first significant digit
    int integerDigits = 0;    // digits before the separator
    while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
        if (token[i] == '0' && leadingZeros == mantissaDigits) ++leadingZeros;
        normalized += token[i++];
        ++mantissaDigits;
        ++integerDigits;
    }
    if (i < token.size() && token[i] == separator) {
        normalized += '.';
        ++i;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
            if (token[i] == '0' && leadingZeros == mantissaDigits) ++leadingZeros;
            normalized += token[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return false;
    long long exponent = 0;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        normalized += 'e';
        ++i;
        bool exponentNegative = false;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) {
            exponentNegative = token[i] == '-';
            normalized += token[i++];
        }
        int expDigits = 0;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
            exponent = std::min(exponent * 10 + (token[i] - '0'), 1000000000LL);
            normalized += token[i++];
            ++expDigits;
        }
        if (expDigits == 0) return false;
        if (exponentNegative) exponent = -exponent;
    }
    if (i != token.size()) return false;
    long double v = 0;
    const char* const first = normalized.data();
    const char* const last = first + normalized.size();
    const auto [end, error] = std::from_chars(first, last, v);
    if (error == std::errc::result_out_of_range) {
        // Beyond even an extended real: a value too small becomes 0, one too large is no number.
        // The decimal exponent of the first significant digit tells which.
        if (leadingZeros == mantissaDigits) v = 0;
        else if (exponent + integerDigits - leadingZeros < 0) v = 0;
        else return false;
    } else if (error != std::errc{} || end != last) {
        return false;
    }
    // The values are used as doubles: a magnitude beyond their range is no number, and one below
    // their smallest becomes 0. The largest double written with 15 digits (1.79769313486232E308,
    // as the life-table files hold it) reads as that double again.
    constexpr long double kLargestWritten = 1.79769313486232e308L;
    if (std::fabs(v) > std::numeric_limits<double>::max() && std::fabs(v) <= kLargestWritten)
        v = std::numeric_limits<double>::max();
    if (!std::isfinite(v) || std::fabs(v) > std::numeric_limits<double>::max()) return false;
    if (static_cast<double>(v) == 0) v = 0;
    out = negative ? -v : v;
    return true;
}

bool tryStrToInt(std::string_view text, std::int32_t& out) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    return parseIntegerToken(text.substr(i), out);
}

bool tryStrToFloat(std::string_view text, long double& out, char separator) {
    std::size_t b = 0;
    std::size_t e = text.size();
    while (b < e && text[b] == ' ') ++b;
    while (e > b && text[e - 1] == ' ') --e;
    return parseRealToken(text.substr(b, e - b), out, separator);
}

std::int32_t strToInt(std::string_view text) {
    std::int32_t v = 0;
    if (!tryStrToInt(text, v)) throw ConvertError("'" + std::string(text) + "' is not a valid integer value");
    return v;
}

long double strToFloat(std::string_view text, char separator) {
    long double v = 0;
    if (!tryStrToFloat(text, v, separator))
        throw ConvertError("'" + std::string(text) + "' is not a valid floating point value");
    return v;
}

}  // namespace runtime
