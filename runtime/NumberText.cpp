#include "runtime/NumberText.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

#include "runtime/Errors.h"

namespace runtime {
namespace {

char gDecimalSeparator = '.';

// A value as decimal digits: value = 0.d1d2d3... x 10^exponent, digits without trailing zeros.
// No digits means zero.
struct Decimal {
    bool negative = false;
    std::string digits;
    int exponent = 0;
};

constexpr int kMaxDigits = 18;  // the digits an extended real carries

Decimal toDecimal(long double value) {
    Decimal d;
    if (value == 0 || !std::isfinite(value)) {
        d.negative = std::signbit(value) && value != 0;
        return d;
    }
    d.negative = value < 0;
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*Le", kMaxDigits - 1, std::fabs(value));
    // buf: "d.ddddde+XX"
    std::string s(buf);
    const auto e = s.find('e');
    d.digits = s.substr(0, 1) + s.substr(2, e - 2);
    d.exponent = std::atoi(s.c_str() + e + 1) + 1;
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
    return d;
}

// Rounds half up to `count` significant digits (count may be zero or negative).
void roundTo(Decimal& d, int count) {
    if (static_cast<int>(d.digits.size()) <= count) return;
    if (count < 0) {
        d.digits.clear();
        return;
    }
    const bool up = d.digits[static_cast<std::size_t>(count)] >= '5';
    d.digits.resize(static_cast<std::size_t>(count));
    if (up) {
        int i = count - 1;
        while (i >= 0 && d.digits[static_cast<std::size_t>(i)] == '9') {
            d.digits[static_cast<std::size_t>(i)] = '0';
            --i;
        }
        if (i < 0) {
            d.digits.insert(d.digits.begin(), '1');
            d.exponent += 1;
        } else {
            d.digits[static_cast<std::size_t>(i)] += 1;
        }
    }
    while (!d.digits.empty() && d.digits.back() == '0') d.digits.pop_back();
}

char digitAt(const Decimal& d, int i) {  // i from 0
    return i >= 0 && i < static_cast<int>(d.digits.size()) ? d.digits[static_cast<std::size_t>(i)] : '0';
}

std::string exponentText(int exponent, bool plus, int minDigits) {
    std::string digits = std::to_string(exponent < 0 ? -exponent : exponent);
    while (static_cast<int>(digits.size()) < minDigits) digits.insert(digits.begin(), '0');
    std::string sign = exponent < 0 ? "-" : (plus ? "+" : "");
    return "E" + sign + digits;
}

std::string scientific(const Decimal& d, char separator, int exponentDigits) {
    std::string out = d.negative ? "-" : "";
    out += digitAt(d, 0);
    if (d.digits.size() > 1) {
        out += separator;
        out += d.digits.substr(1);
    }
    return out + exponentText(d.exponent - 1, false, exponentDigits);
}

std::string nonFinite(long double value) {
    if (std::isnan(value)) return "NAN";
    return value < 0 ? "-INF" : "INF";
}

}  // namespace

char decimalSeparator() { return gDecimalSeparator; }
void setDecimalSeparator(char separator) { gDecimalSeparator = separator; }

std::string formatGeneral(long double value, int precision, char separator, int exponentDigits) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (precision < 1) precision = 1;
    if (precision > kMaxDigits) precision = kMaxDigits;
    Decimal d = toDecimal(value);
    roundTo(d, precision);
    if (d.digits.empty()) return "0";
    if (d.exponent > precision || d.exponent < -3) return scientific(d, separator, exponentDigits);
    std::string out = d.negative ? "-" : "";
    const int n = static_cast<int>(d.digits.size());
    if (d.exponent <= 0) {
        out += '0';
        out += separator;
        out.append(static_cast<std::size_t>(-d.exponent), '0');
        out += d.digits;
        return out;
    }
    for (int i = 0; i < d.exponent; ++i) out += digitAt(d, i);
    if (n > d.exponent) {
        out += separator;
        out += d.digits.substr(static_cast<std::size_t>(d.exponent));
    }
    return out;
}

std::string formatFixed(long double value, int precision, int decimals, char separator) {
    if (!std::isfinite(value)) return nonFinite(value);
    if (precision < 1) precision = 1;
    if (precision > kMaxDigits) precision = kMaxDigits;
    if (decimals < 0) decimals = 0;
    Decimal d = toDecimal(value);
    if (d.exponent > precision) return formatGeneral(value, precision, separator);
    const int keep = std::min(precision, d.exponent + decimals);
    roundTo(d, keep);
    if (d.exponent > precision && !d.digits.empty()) return formatGeneral(value, precision, separator);
    std::string out = (d.negative && !d.digits.empty()) ? "-" : "";
    if (d.digits.empty() || d.exponent <= 0) {
        out += '0';
    } else {
        for (int i = 0; i < d.exponent; ++i) out += digitAt(d, i);
    }
    if (decimals > 0) {
        out += separator;
        for (int i = 0; i < decimals; ++i) out += d.digits.empty() ? '0' : digitAt(d, d.exponent + i);
    }
    return out;
}

std::string formatExponent23(long double value) {
    Decimal d = toDecimal(value);
    roundTo(d, 15);
    std::string out = d.negative && !d.digits.empty() ? "-" : " ";
    out += digitAt(d, 0);
    out += '.';
    for (int i = 1; i < 15; ++i) out += digitAt(d, i);
    out += exponentText(d.digits.empty() ? 0 : d.exponent - 1, true, 4);
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
    std::string normalized;
    std::size_t i = 0;
    if (i < token.size() && (token[i] == '+' || token[i] == '-')) normalized += token[i++];
    int mantissaDigits = 0;
    while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
        normalized += token[i++];
        ++mantissaDigits;
    }
    if (i < token.size() && token[i] == separator) {
        normalized += '.';
        ++i;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
            normalized += token[i++];
            ++mantissaDigits;
        }
    }
    if (mantissaDigits == 0) return false;
    if (i < token.size() && (token[i] == 'e' || token[i] == 'E')) {
        normalized += 'e';
        ++i;
        if (i < token.size() && (token[i] == '+' || token[i] == '-')) normalized += token[i++];
        int expDigits = 0;
        while (i < token.size() && token[i] >= '0' && token[i] <= '9') {
            normalized += token[i++];
            ++expDigits;
        }
        if (expDigits == 0) return false;
    }
    if (i != token.size()) return false;
    errno = 0;
    char* end = nullptr;
    const long double v = std::strtold(normalized.c_str(), &end);
    if (end != normalized.c_str() + normalized.size()) return false;
    if (!std::isfinite(v)) return false;
    out = v;
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
