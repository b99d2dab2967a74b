#include <cmath>
#include <string>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTFileFields.h"
#include "lifetables/core/LTInputFile.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/TextFile.h"

namespace lifetables {
namespace {

// Fields joined by TAB, without a TAB after the last.
class JoinedLine {
public:
    std::string& next() {
        if (!first_) line_ += '\t';
        first_ = false;
        return line_;
    }
    const std::string& text() const { return line_; }

private:
    std::string line_;
    bool first_ = true;
};

void writeEmpiricalSection(const LTState& state, runtime::TextWriter& out, int sex) {
    out.writeln(kLTEmpiricalHeaders[sex]);
    out.writeln(state.LTcomments[sex]);
    std::string line;
    ltAppendInteger(line, state.LTyearOfData);
    out.writeln(line);
    const int rows = ltUsedLines(state, sex);
    for (int r = 1; r <= rows; ++r) {
        line.clear();
        for (int column = 1; column <= kLTEmpiricalColumns; ++column) {
            ltAppendRealField(line, state.LTempirical[r][column][sex]);
        }
        out.writeln(line);
    }
    out.writeln(kLTEndLine);
}

void writeInfosSection(const LTState& state, runtime::TextWriter& out) {
    const LTInfos& i = state.LTinfos;
    JoinedLine l;
    ltAppendInteger(l.next(), i.YofMeasurement);
    for (double v : {i.annualMaxAll, i.winterMaxAll, i.summerMaxAll, i.All98percentile}) {
        ltAppendReal(l.next(), v);
    }
    ltAppendInteger(l.next(), i.pollutant);
    ltAppendInteger(l.next(), i.effect);
    ltAppendInteger(l.next(), i.startYear);
    l.next() += i.country.str();
    l.next() += i.agglomeration.str();
    for (std::int32_t v : {i.exPop, i.annualCapture, i.winterCapture, i.summerCapture}) {
        ltAppendInteger(l.next(), v);
    }
    for (double v : {i.annualMeanAll, i.winterMeanAll, i.summerMeanAll}) ltAppendReal(l.next(), v);
    l.next() += i.loStation.str();
    l.next() += i.hiStation.str();
    ltAppendInteger(l.next(), i.numberOfStations);
    for (double v : {i.loAnnualMean, i.loWinterMean, i.loSummerMean, i.loAnnualMax, i.loWinterMax,
                     i.loSummerMax, i.lo98percentile, i.hiAnnualMean, i.hiWinterMean, i.hiSummerMean,
                     i.hiAnnualMax, i.hiWinterMax, i.hiSummerMax, i.hi98percentile}) {
        ltAppendReal(l.next(), v);
    }
    out.writeln(kLTInfosHeader);
    out.writeln(l.text());
    out.writeln(kLTEndLine);
}

void writeRelativeRisksSection(const LTState& state, runtime::TextWriter& out) {
    const LTRRSettings& s = state.LTRRsettings;
    out.writeln(kLTRelativeRisksHeader);

    JoinedLine first;
    first.next() += state.LTparamSet.name.str();
    for (double v : {s.meanAnnualConc, s.X_reference, s.X_lo, s.X_hi}) ltAppendReal(first.next(), v);
    ltAppendBoolean(first.next(), s.useTAVdefaults);
    first.next() += state.LTcalcEnded;
    out.writeln(first.text());

    std::string line;
    for (int column = 0; column <= 4; ++column) {
        for (int cause = 0; cause < kLTCauseCount; ++cause) {
            ltAppendRealField(line, state.LTRRvector[column][cause]);
        }
    }
    for (int cause = 0; cause < kLTCauseCount; ++cause) {
        ltAppendBoolean(line, state.LTcauseChecked[cause]);
        line += '\t';
    }
    out.writeln(line);

    line.clear();
    auto real = [&line](double v) { ltAppendRealField(line, v); };
    auto integer = [&line](std::int64_t v) {
        ltAppendInteger(line, v);
        line += '\t';
    };
    ltAppendBoolean(line, s.advanced);
    line += '\t';
    integer(state.LTinfos.certainty);
    real(s.birthSlope);
    integer(s.birthFromYear);
    integer(s.birthUntilYear);
    real(s.percPoll);
    integer(s.percPollFromYear);
    integer(s.percPollUntilYear);
    real(s.weightAge);
    integer(s.weightAgeFromAge);
    integer(s.weightAgeUntilAge);
    real(s.weightYears);
    integer(s.weightYearsFromYear);
    integer(s.weightYearsUntilYear);
    out.writeln(line);

    out.writeln(kLTEndLine);
}

}  // namespace

void proc_LTWriteYOLLSection(const LTState& state, runtime::TextWriter& out, int sex) {
    out.writeln(kLTYOLLHeaders[sex]);
    for (int scenario = 0; scenario < 3; ++scenario) {
        JoinedLine summary;
        for (int t = 0; t < kLTIndicatorCount; ++t) ltAppendReal(summary.next(), state.LTsummary[t][scenario][sex]);
        ltAppendInteger(summary.next(), state.LTshownCause);
        out.writeln(summary.text());
    }
    std::string line;
    for (int row = 1; row <= kLTMaxRows; ++row) {
        line.clear();
        for (int scenario = 0; scenario < 4; ++scenario) {
            ltAppendRealField(line, state.LTlifeExp[row][scenario][sex]);
            ltAppendRealField(line, state.LTlifeExpDelta[row][scenario][sex]);
        }
        out.writeln(line);
    }
    out.writeln(kLTEndLine);
}

void proc_LTWriteInputFile(const LTState& state) {
    for (int sex = 1; sex <= kLTSexCount; ++sex) {
        for (int r = 1; r <= ltUsedLines(state, sex); ++r) {
            for (int column = 1; column <= kLTEmpiricalColumns; ++column) {
                if (std::isfinite(state.LTempirical[r][column][sex])) continue;
                throw runtime::Error("Cannot save: a value in matrix # " + runtime::intToStr(sex) + " line # " +
                                     runtime::intToStr(r) + " is not a finite number!");
            }
        }
    }
    runtime::rewriteFile(state.LTinputPath + state.LTinputName, [&state](runtime::TextWriter& out) {
        for (int sex = 1; sex <= kLTSexCount; ++sex) {
            if (state.LTlineCount[sex] > 0) writeEmpiricalSection(state, out, sex);
        }
        writeInfosSection(state, out);
        writeRelativeRisksSection(state, out);
        for (int sex = 1; sex <= kLTSexCount; ++sex) {
            if (state.LTresultValid[sex]) proc_LTWriteYOLLSection(state, out, sex);
        }
    });
}

}  // namespace lifetables
