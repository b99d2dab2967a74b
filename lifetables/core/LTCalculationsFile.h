#pragma once
// The life-table calculations file: the sixteen projection matrices of every sex with results, as
// TAB-separated text for other programs. Its path is LTcalcPath + LTcalcName; the program never
// reads it.
#include <array>

#include "lifetables/core/LTState.h"

namespace runtime {
class TextWriter;
}

namespace lifetables {

// Writes the whole file: for each sex with LTresultValid set, its name line and the sixteen matrix
// sections. With no such sex the file is empty. The previous file is replaced only once the new one
// is complete; a failure throws runtime::InOutError and leaves the previous file as it was.
void proc_LTWriteCalculations(const LTState& state);

// Writes one matrix section of sex s: the header, rows 0..LTageCount[s] of 121 values each followed
// by a TAB, and "[END]". One line is held at a time.
void proc_LTWriteMatrix(const LTState& state, runtime::TextWriter& out, int matrix, int sex,
                        const char* header);

// The sex name lines, [1..3].
inline constexpr std::array<const char*, 4> kLTCalculationSexLines = {
    "", "[Calculation:_male]", "[Calculation:_female]", "[Calculation:_both_sexes]"};

struct LTMatrixSection {
    const char* header;
    int matrix;
};

// The sixteen sections of a sex in the order they are written.
inline constexpr std::array<LTMatrixSection, kLTMatrixCount> kLTMatrixSections = {{
    {"[Hazard_Matrix_empirical]", 0},
    {"[Entries_Matrix_empirical]", 3},
    {"[LY_Matrix_empirical]", 2},
    {"[Deaths_Matrix_empirical]", 1},
    {"[Hazard_Matrix_RR_central]", 4},
    {"[Entries_Matrix_RR_central]", 7},
    {"[LY_Matrix_RR_central]", 6},
    {"[Deaths_Matrix_RR_central]", 5},
    {"[Hazard_Matrix_RR_low]", 8},
    {"[Entries_Matrix_RR_low]", 11},
    {"[LY_Matrix_RR_low]", 10},
    {"[Deaths_Matrix_RR_low]", 9},
    {"[Hazard_Matrix_RR_high]", 12},
    {"[Entries_Matrix_RR_high]", 15},
    {"[LY_Matrix_RR_high]", 14},
    {"[Deaths_Matrix_RR_high]", 13},
}};

}  // namespace lifetables
