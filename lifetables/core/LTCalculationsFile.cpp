#include "lifetables/core/LTCalculationsFile.h"

#include <algorithm>
#include <string>

#include "lifetables/core/LTFileFields.h"
#include "lifetables/core/LTInputFile.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace lifetables {

void proc_LTWriteMatrix(const LTState& state, runtime::TextWriter& out, int matrix, int sex,
                        const char* header) {
    out.writeln(header);
    // Rows beyond the matrix are never read, whatever the age count holds.
    const int lastRow = std::min<std::int32_t>(state.LTageCount[sex], kLTMaxRows);
    const LTMatrix& cells = state.LTmatrices.of(matrix, sex);
    std::string line;
    for (int row = 0; row <= lastRow; ++row) {
        line.clear();
        for (double value : cells[row]) ltAppendRealField(line, value);
        out.writeln(line);
    }
    out.writeln(kLTEndLine);
}

void proc_LTWriteCalculations(const LTState& state) {
    runtime::rewriteFile(state.LTcalcPath + state.LTcalcName, [&state](runtime::TextWriter& out) {
        for (int sex = 1; sex <= kLTSexCount; ++sex) {
            if (!state.LTresultValid[sex]) continue;
            out.writeln(kLTCalculationSexLines[sex]);
            for (const LTMatrixSection& section : kLTMatrixSections) {
                proc_LTWriteMatrix(state, out, section.matrix, sex, section.header);
            }
        }
    });
}

}  // namespace lifetables
