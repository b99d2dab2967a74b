#pragma once
// The 25 concentration classes of the three class widths (index 0, 1, 2: per 10, 5 and 1 µg/m3):
// their captions and the lower bounds of classes 2 to 25 as text.
#include <array>
#include <cstdint>
#include <string>

#include "assessment/core/AqRecord.h"
#include "runtime/ShortText.h"

namespace assessment {

struct AssessmentState;

constexpr int kBoundCount = kClassCount - 1;

using ClassCaptions = std::array<runtime::ShortText<9>, kClassCount + 1>;  // [1..25]
using ClassBounds = std::array<runtime::ShortText<9>, kBoundCount + 1>;    // [1..24]

// The captions of classes 1..25 ([0] empty) for class-width index 0..2; nullptr for any other index.
const std::array<std::string, kClassCount + 1>* captionsFor(std::int32_t intervalIndex);

// Rebuilds the captions for `intervalIndex` (an index outside 0..2 keeps them as they are) and the
// bounds from the captions: bound j is the text of caption j + 1 before its first "-", bound 24 the
// three characters of caption 25 after its first "=".
void makeLabel(std::int32_t intervalIndex, ClassCaptions& captions, ClassBounds& bounds);
// The same on the program-wide tables, for the state's interval_index.
void makeLabel(AssessmentState& state);

// The class width of `pollutant` from the parameter file: field 9 of the first line of the
// pollutant, else of the last line; an empty file leaves `intervalIndex` unchanged.
// Errors: runtime::InOutError ("File not found", "Invalid numeric input"); `intervalIndex` is then
// left as it was.
void getParam(const std::string& paramsFile, std::int32_t pollutant, std::int32_t& intervalIndex);

}  // namespace assessment
