#pragma once
// The value forms of the life-table files: TAB-separated fields; integers in decimal; reals in the
// general form with at most 15 significant digits and the user's decimal separator; booleans as
// "-1" and "0"; texts unchanged.
#include <cstdint>
#include <string>
#include <string_view>

namespace lifetables {

// Reads the fields of one line from the first on. A missing field reads as the empty text, which
// fails every number conversion with runtime::ConvertError.
class LTFieldReader {
public:
    explicit LTFieldReader(std::string_view line) : line_(line) {}

    std::string text();        // at most 255 characters
    double real();             // the user's decimal separator; plain or exponent notation
    std::int32_t integer();
    std::uint8_t lowByte();    // an integer of which the low 8 bits are kept
    std::int32_t cause();      // a cause of death index, 0..2; any other number is refused
    bool boolean();            // 0 is false, any other number true

private:
    std::string_view line_;
    std::int32_t pos_ = 1;
};

// Appends a value in the file's form.
void ltAppendReal(std::string& line, double value);
// The value followed by a TAB, the form of lines in which every field ends in a TAB.
void ltAppendRealField(std::string& line, double value);
void ltAppendInteger(std::string& line, std::int64_t value);
void ltAppendBoolean(std::string& line, bool value);

}  // namespace lifetables
