#include "lifetables/core/LTFileFields.h"

#include <charconv>
#include <cmath>
#include <limits>

#include "lifetables/core/LTNextField.h"
#include "runtime/Errors.h"
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

void ltAppendReal(std::string& line, double value) {
    runtime::appendGeneral(line, value, 15, runtime::decimalSeparator());
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

}  // namespace lifetables
