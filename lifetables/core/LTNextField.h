#pragma once
// Splitting a line of the life-table files into its TAB-separated fields.
#include <cstdint>
#include <string>
#include <string_view>

namespace lifetables {

// The longest field the life-table files carry; a longer one is cut.
constexpr std::size_t kLTfieldMax = 255;

// Puts into `field` the field of `line` that starts at the 1-based position `pos` (cut to 255
// characters) and moves `pos` to the start of the next field, or to -1 after the last one.
// Two TABs in a row give an empty field; a TAB at the very end of the line gives no further field;
// with an empty line or a negative position the field is empty and `pos` stays as it is.
void gl_LTnextField(std::string_view line, std::int32_t& pos, std::string& field);

}  // namespace lifetables
