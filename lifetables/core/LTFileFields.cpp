#include "lifetables/core/LTFileFields.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "lifetables/core/LTNextField.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"

namespace lifetables {

std::string LTFieldReader::text() {
    std::string field;
    gl_LTnextField(line_, pos_, field);
    return field;
}

double LTFieldReader::real() {
    const std::string field = text();
    const long double value = runtime::strToFloat(field, runtime::decimalSeparator());
    // The values are kept as doubles; a number beyond their range is no usable value.
    if (std::fabs(value) > std::numeric_limits<double>::max())
        throw runtime::ConvertError("'" + field + "' is not a valid floating point value");
    return static_cast<double>(value);
}

std::int32_t LTFieldReader::integer() { return runtime::strToInt(text()); }

std::uint8_t LTFieldReader::lowByte() {
    return static_cast<std::uint8_t>(static_cast<std::uint32_t>(integer()) & 0xFFu);
}

std::int32_t LTFieldReader::cause() {
    const std::string field = text();
    const std::int32_t value = runtime::strToInt(field);
    // The cause indexes the tables of cause names and relative risks.
    if (value < 0 || value > 2) throw runtime::ConvertError("'" + field + "' is not a valid cause of death index");
    return value;
}

bool LTFieldReader::boolean() {
    const std::string field = text();
    std::int32_t whole = 0;
    if (runtime::tryStrToInt(field, whole)) return whole != 0;
    long double value = 0;
    if (runtime::tryStrToFloat(field, value, runtime::decimalSeparator())) return value != 0;
    throw runtime::ConvertError("'" + field + "' is not a valid boolean value");
}

namespace {

constexpr int kRealDigits = 15;

// Appends runtime::formatGeneral(value, 15, separator) without its allocations: the value's 18
// significant digits (correctly rounded, as the run-time library takes them), rounded half up to
// 15, then laid out in plain or exponent notation the same way. The calculations file writes some
// hundred thousand values, so this path matters.
void appendGeneral15(std::string& line, double value, char separator) {
    if (!std::isfinite(value) || value == 0) {
        line += value == 0 ? "0" : runtime::formatGeneral(value, kRealDigits, separator);
        return;
    }
    // "d.ddddddddddddddddde+XX": 18 significant digits.
    char buffer[40];
    const auto printed = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                       std::chars_format::scientific, 17);
    char digits[20];
    digits[0] = buffer[0];
    for (int i = 1; i < 18; ++i) digits[i] = buffer[i + 1];
    int exponent = 0;
    std::from_chars(buffer + 20 + (buffer[20] == '+' ? 1 : 0), printed.ptr, exponent);
    exponent += 1;  // value = 0.d1d2d3... x 10^exponent

    int count = 18;
    while (count > 0 && digits[count - 1] == '0') --count;
    if (count > kRealDigits) {
        const bool up = digits[kRealDigits] >= '5';
        count = kRealDigits;
        if (up) {
            int i = count - 1;
            while (i >= 0 && digits[i] == '9') digits[i--] = '0';
            if (i < 0) {
                digits[0] = '1';
                exponent += 1;
                count = 1;
            } else {
                digits[i] += 1;
            }
        }
        while (count > 0 && digits[count - 1] == '0') --count;
    }

    if (value < 0) line += '-';
    if (exponent > kRealDigits || exponent < -3) {
        line += digits[0];
        if (count > 1) {
            line += separator;
            line.append(digits + 1, static_cast<std::size_t>(count - 1));
        }
        line += 'E';
        const int shown = exponent - 1;
        if (shown < 0) line += '-';
        char exponentText[8];
        const auto e = std::to_chars(exponentText, exponentText + sizeof exponentText, shown < 0 ? -shown : shown);
        line.append(exponentText, e.ptr);
        return;
    }
    if (exponent <= 0) {
        line += '0';
        line += separator;
        line.append(static_cast<std::size_t>(-exponent), '0');
        line.append(digits, static_cast<std::size_t>(count));
        return;
    }
    for (int i = 0; i < exponent; ++i) line += i < count ? digits[i] : '0';
    if (count > exponent) {
        line += separator;
        line.append(digits + exponent, static_cast<std::size_t>(count - exponent));
    }
}

}  // namespace

void ltAppendReal(std::string& line, double value) {
    appendGeneral15(line, value, runtime::decimalSeparator());
}

void ltAppendRealField(std::string& line, double value) {
    ltAppendReal(line, value);
    line += '\t';
}

void ltAppendInteger(std::string& line, std::int64_t value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    line.append(buffer, result.ptr);
}

void ltAppendBoolean(std::string& line, bool value) { line += value ? "-1" : "0"; }

void ltRewriteFile(const std::string& path, const std::function<void(runtime::TextWriter&)>& write) {
    runtime::replaceFile(path, path + ".tmp", write);
}

}  // namespace lifetables
