#include <algorithm>
#include <string>
#include <vector>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTFileFields.h"
#include "lifetables/core/LTInputFile.h"
#include "lifetables/core/LTNextField.h"
#include "runtime/Errors.h"
#include "runtime/TextFile.h"

namespace lifetables {
namespace {

enum class Section { None, Empirical, Infos, RelativeRisks, YOLL };

struct CurrentSection {
    Section kind = Section::None;
    std::string header;
    int sex = 0;  // of an empirical section
};

// The section a header line opens, or Section::None when the field is no header.
CurrentSection sectionOf(const std::string& field) {
    for (int s = 1; s <= kLTSexCount; ++s) {
        if (field == kLTEmpiricalHeaders[s]) return {Section::Empirical, field, s};
        if (field == kLTYOLLHeaders[s]) return {Section::YOLL, field, s};
    }
    if (field == kLTEmpiricalBothMisspelt) return {Section::Empirical, field, 3};
    if (field == kLTInfosHeader) return {Section::Infos, field, 0};
    if (field == kLTRelativeRisksHeader) return {Section::RelativeRisks, field, 0};
    return {};
}

// Death rate of a count: count / population where the count is above 0, else 0. A population of 0
// gives 0 as well (no division by zero); any other population divides, a negative one too.
double deathRate(double count, double population) {
    return count > 0 && population != 0 ? count / population : 0.0;
}

void warnRowsBeyondTable(const LTMessageSink& messages, const std::string& header,
                         const std::string& fileName) {
    ltShowMessage(messages, "WARNING: More than " + std::to_string(kLTMaxRows) + " lines in section " +
                                header + " of input file: " + fileName + ". Only the first " +
                                std::to_string(kLTMaxRows) + " are used.");
}

// A line of nothing but blanks and TABs, or none at all.
bool isBlankLine(const std::string& line) {
    return std::all_of(line.begin(), line.end(), [](char c) { return c == ' ' || c == '\t'; });
}

// A header's name without the blanks that may follow it.
std::string withoutTrailingBlanks(std::string field) {
    while (!field.empty() && field.back() == ' ') field.pop_back();
    return field;
}

}  // namespace

bool proc_LTReadEmpiricalLine(LTState& state, const std::string& line, std::int32_t k, int sex,
                              std::int32_t& p) {
    LTFieldReader fields(line);
    if (k == 1) {
        state.LTcomments[sex] = fields.text();
        state.LTresultValid[sex] = true;
        p = 1;
        return true;
    }
    if (k == 2) {
        state.LTyearOfData = fields.integer();
        p = 2;
        return true;
    }
    if (line == kLTEndLine) {
        p += 1;
        state.LTlineCount[sex] = std::min<std::int32_t>(k - p, kLTMaxRows);
        return true;
    }
    const std::int32_t row = k - p;
    const bool inTable = row >= 1 && row <= kLTMaxRows;
    // A row beyond the table is still converted, so that a malformed one fails as any other would.
    std::array<double, kLTEmpiricalColumns + 1> values{};
    for (int column = kLTFromAge; column <= kLTDeathsLCA; ++column) {
        values[column] = fields.real();
        if (inTable) state.LTempirical[row][column][sex] = values[column];
        if (inTable && column >= kLTDeathsAll) {
            state.LTempirical[row][column + 3][sex] = deathRate(values[column], values[kLTPopulation]);
        }
    }
    return inTable;
}

void proc_LTReadInfosLine(LTState& state, const std::string& line) {
    LTFieldReader f(line);
    LTInfos& i = state.LTinfos;
    i.YofMeasurement = f.integer();
    i.annualMaxAll = f.real();
    i.winterMaxAll = f.real();
    i.summerMaxAll = f.real();
    i.All98percentile = f.real();
    i.pollutant = f.lowByte();
    i.effect = f.cause();
    i.startYear = f.integer();
    i.country = f.text();
    i.agglomeration = f.text();
    i.exPop = f.integer();
    i.annualCapture = f.integer();
    i.winterCapture = f.integer();
    i.summerCapture = f.integer();
    i.annualMeanAll = f.real();
    i.winterMeanAll = f.real();
    i.summerMeanAll = f.real();
    i.loStation = f.text();
    i.hiStation = f.text();
    i.numberOfStations = f.integer();
    i.loAnnualMean = f.real();
    i.loWinterMean = f.real();
    i.loSummerMean = f.real();
    i.loAnnualMax = f.real();
    i.loWinterMax = f.real();
    i.loSummerMax = f.real();
    i.lo98percentile = f.real();
    i.hiAnnualMean = f.real();
    i.hiWinterMean = f.real();
    i.hiSummerMean = f.real();
    i.hiAnnualMax = f.real();
    i.hiWinterMax = f.real();
    i.hiSummerMax = f.real();
    i.hi98percentile = f.real();
}

void proc_LTReadRRLine(LTState& state, const std::string& line, std::int32_t k) {
    if (line == kLTEndLine || k < 1 || k > 3) return;
    LTFieldReader f(line);
    LTRRSettings& settings = state.LTRRsettings;
    if (k == 1) {
        state.LTparamSet.name = f.text();
        settings.meanAnnualConc = f.real();
        settings.X_reference = f.real();
        settings.X_lo = f.real();
        settings.X_hi = f.real();
        settings.useTAVdefaults = f.boolean();
        state.LTcalcEnded = f.text();
    } else if (k == 2) {
        for (int column = 0; column <= 4; ++column) {
            for (int cause = 0; cause < kLTCauseCount; ++cause) state.LTRRvector[column][cause] = f.real();
        }
        for (int cause = 0; cause < kLTCauseCount; ++cause) state.LTcauseChecked[cause] = f.boolean();
        for (int cause = 0; cause < kLTCauseCount; ++cause) proc_LTComputeRRs(state, cause);
    } else {
        settings.advanced = f.boolean();
        state.LTinfos.certainty = f.lowByte();
        if (!settings.advanced) return;
        settings.birthSlope = f.real();
        settings.birthFromYear = f.integer();
        settings.birthUntilYear = f.integer();
        settings.percPoll = f.real();
        settings.percPollFromYear = f.integer();
        settings.percPollUntilYear = f.integer();
        settings.weightAge = f.real();
        settings.weightAgeFromAge = f.integer();
        settings.weightAgeUntilAge = f.integer();
        settings.weightYears = f.real();
        settings.weightYearsFromYear = f.integer();
        settings.weightYearsUntilYear = f.integer();
    }
}

bool proc_LTReadYOLLLine(LTState& state, const std::string& header, const std::string& line,
                         std::int32_t k) {
    if (line == kLTEndLine || k < 1) return true;
    const int sex = header == kLTYOLLHeaders[1] ? 1 : header == kLTYOLLHeaders[2] ? 2 : 3;
    LTFieldReader f(line);
    if (k <= 3) {
        for (int t = 0; t < kLTIndicatorCount; ++t) state.LTsummary[t][k - 1][sex] = f.real();
        state.LTshownCause = f.cause();
        return true;
    }
    const std::int32_t row = k - 3;
    const bool inTable = row <= kLTMaxRows;
    for (int scenario = 0; scenario < 4; ++scenario) {
        const double lifeExp = f.real();
        const double delta = f.real();
        if (inTable) {
            state.LTlifeExp[row][scenario][sex] = lifeExp;
            state.LTlifeExpDelta[row][scenario][sex] = delta;
        }
    }
    return inTable;
}

bool proc_LTReadInputFile(LTState& state, const LTMessageSink& messages) {
    const std::string& fileName = state.LTinputName;
    try {
        std::vector<std::string> lines;
        {
            runtime::TextReader file(state.LTinputPath + state.LTinputName);
            while (!file.eof()) lines.push_back(file.readLine(std::string::npos));
        }
        // Blank lines at the end of the file (many editors add one) are passed over.
        while (!lines.empty() && isBlankLine(lines.back())) lines.pop_back();

        CurrentSection section;
        std::string awaitingEnd;  // the header of the section whose "[END]" is still to come
        std::int32_t k = 0;
        std::int32_t p = 0;
        long long count = 0;
        bool beyondTableTold = false;  // for the current section
        bool cut = false;              // the file held something that was not stored
        // The section awaiting its "[END]" ends at `where` without it: told, and an empirical
        // section keeps the rows read so far.
        auto endWithoutEndLine = [&](const std::string& where) {
            if (awaitingEnd.empty()) return;
            ltShowMessage(messages, "WARNING: Section " + awaitingEnd + " of input file: " + fileName + " has no " +
                                        kLTEndLine + " before " + where + ".");
            if (section.kind == Section::Empirical && section.header == awaitingEnd && k >= 2)
                proc_LTReadEmpiricalLine(state, kLTEndLine, k + 1, section.sex, p);
            awaitingEnd.clear();
            cut = true;
        };
        std::string first;
        for (std::size_t index = 0; index < lines.size(); ++index) {
            std::string& line = lines[index];
            const std::string where = "line " + std::to_string(index + 1);
            // The line after an empirical section's header is its comment, whatever it reads like.
            const bool commentLine = section.kind == Section::Empirical && k == 0;
            std::int32_t pos = 1;
            gl_LTnextField(line, pos, first);
            const std::string mark = commentLine ? std::string() : withoutTrailingBlanks(first);
            if (const CurrentSection opened = sectionOf(mark); opened.kind != Section::None) {
                endWithoutEndLine(where);
                section = opened;
                awaitingEnd = opened.header;
                k = 0;
                beyondTableTold = false;
                continue;
            }
            const bool bracketed = mark.size() >= 2 && mark.front() == '[' && mark.back() == ']';
            if (bracketed && mark != kLTEndLine && !(section.kind == Section::RelativeRisks && k == 0)) {
                endWithoutEndLine(where);
                ltShowMessage(messages, "WARNING: " + mark + " in " + where + " of input file: " + fileName +
                                            " names no section. The lines up to the next section are not used.");
                section = {};
                cut = true;
                continue;
            }
            if (mark == kLTEndLine) {
                line = kLTEndLine;
                awaitingEnd.clear();
            } else if (!commentLine && awaitingEnd.empty() && isBlankLine(line)) {
                continue;  // a blank line between sections
            } else if (section.kind != Section::None) {
                awaitingEnd = section.header;  // a line after the "[END]" goes on with the section
            }
            if (section.kind == Section::None) continue;
            ++k;
            ++count;
            bool stored = true;
            switch (section.kind) {
                case Section::Empirical:
                    stored = proc_LTReadEmpiricalLine(state, line, k, section.sex, p);
                    break;
                case Section::Infos:
                    proc_LTReadInfosLine(state, line);
                    section = {};  // exactly one line after this header
                    break;
                case Section::RelativeRisks:
                    proc_LTReadRRLine(state, line, k);
                    break;
                case Section::YOLL:
                    stored = proc_LTReadYOLLLine(state, section.header, line, k);
                    break;
                case Section::None:
                    break;
            }
            if (!stored && !beyondTableTold) {
                warnRowsBeyondTable(messages, section.header, fileName);
                beyondTableTold = true;
                cut = true;
            }
        }
        endWithoutEndLine("the end of the file");
        if (count < 1) {
            ltShowMessage(messages, "WARNING: No usable records found in input file: " + fileName);
            return false;
        }
        return !cut;
    } catch (const runtime::InOutError&) {
        ltShowMessage(messages, "Error on assigning file " + fileName);
        return false;
    }
}

}  // namespace lifetables
