#include "lifetables/core/LTChecks.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>

#include "lifetables/core/LTTrunc.h"
#include "runtime/NumberText.h"

namespace lifetables {
namespace {

constexpr double kConcentrationStep = 10.0;

bool relativeRisksSupplied(const LTState& state, int cause) {
    return state.LTRRvector[5][cause] > 0 && state.LTRRvector[6][cause] > 0 && state.LTRRvector[7][cause] > 0;
}

// The single-age rows that the data lines of a sex would fill: both the span from the first from
// age to the last until age and the sum of the lines' own spans.
std::int64_t singleAgeRowsNeeded(const LTState& state, int sex, int lines) {
    const auto& data = state.LTempirical;
    const std::int64_t span = ltDataAgeSpan(state, sex);
    std::int64_t rows = 0;
    for (int r = 1; r <= lines; ++r) {
        const std::int64_t n = ltSingleAgeSpan(data[r][kLTFromAge][sex], data[r][kLTUntilAge][sex]);
        rows += std::max<std::int64_t>(n, 0);
    }
    return std::max(span, rows);
}

// The causes in use: cause 0 alone for effect 0, causes 1 and 2 otherwise.
int firstCauseInUse(const LTState& state) { return state.LTinfos.effect == 0 ? 0 : 1; }
int lastCauseInUse(const LTState& state) { return state.LTinfos.effect == 0 ? 0 : 2; }

const char* const kRiskColumnNames[] = {"RR", "RR lower", "RR upper"};

// A relative risk of the table (columns 5..7 of LTRRvector or LTRRatLevel) that the simulation
// cannot use: not finite (exp(10 * 100) for a beta of 100), or not above 0 (the death rates are
// divided by it). The message names the risk and its cause of death.
void checkRisk(double value, int column, int cause, const char* problem, const LTMessageSink& messages, bool& ok) {
    if (std::isfinite(value) && value > 0) return;
    ltShowMessage(messages, std::string("CALCULATION IMPOSSIBLE: ") + kRiskColumnNames[column - 5] + " of " +
                                LTcauseNames[static_cast<std::size_t>(cause)] + problem);
    ok = false;
}

// Every value of the data lines in use, the rates included, is finite (a huge count divided by a
// tiny population is not).
void checkDataFinite(const LTState& state, int sex, int lines, const LTMessageSink& messages, bool& ok) {
    for (int r = 1; r <= lines; ++r) {
        for (int column = 1; column <= kLTEmpiricalColumns; ++column) {
            if (std::isfinite(state.LTempirical[r][column][sex])) continue;
            ltShowMessage(messages, "CALCULATION IMPOSSIBLE: a value in matrix # " + runtime::intToStr(sex) +
                                        " line # " + runtime::intToStr(r) + " is not a finite number!");
            ok = false;
            break;
        }
    }
}

template <typename Values>
bool allFinite(const Values& values) {
    return std::all_of(std::begin(values), std::end(values), [](double v) { return std::isfinite(v); });
}

}  // namespace

void ltCheckResultsFinite(LTState& state, const LTMessageSink& messages, bool& ok) {
    bool finite = true;
    for (int sex = 1; sex <= kLTSexCount && finite; ++sex) {
        if (!state.LTresultValid[sex]) continue;
        for (const auto& indicator : state.LTsummary)
            for (const auto& scenario : indicator) finite = finite && std::isfinite(scenario[sex]);
        for (int a = 1; a <= kLTMaxRows; ++a)
            for (int scenario = 0; scenario < 4; ++scenario)
                finite = finite && std::isfinite(state.LTlifeExp[a][scenario][sex]) &&
                         std::isfinite(state.LTlifeExpDelta[a][scenario][sex]);
        for (int k = 0; k < kLTMatrixCount && finite; ++k)
            for (const auto& row : state.LTmatrices.of(k, sex)) finite = finite && allFinite(row);
    }
    if (finite) return;
    ltShowMessage(messages, "CALCULATION IMPOSSIBLE: the results are not finite numbers: values of the input data "
                            "are too large!");
    // No sex keeps results that could be shown or written.
    for (int sex = 1; sex <= kLTSexCount; ++sex) state.LTresultValid[sex] = false;
    ok = false;
}

int ltUsedLines(const LTState& state, int sex) {
    return std::clamp<std::int32_t>(state.LTlineCount[sex], 0, kLTMaxRows);
}

int ltUsedAgeRows(const LTState& state, int sex) {
    return std::clamp<std::int32_t>(state.LTageCount[sex], 0, kLTMaxRows);
}

std::int64_t ltDataAgeSpan(const LTState& state, int sex) {
    const auto& data = state.LTempirical;
    return ltSingleAgeSpan(data[1][kLTFromAge][sex], data[ltUsedLines(state, sex)][kLTUntilAge][sex]);
}

double ltRelativeRisk(long double b, long double se, int rrColumn, long double x) {
    long double slope = b;
    if (rrColumn == 6) slope = b - kLTSeFactor * se;
    if (rrColumn == 7) slope = b + kLTSeFactor * se;
    return static_cast<double>(std::exp(slope * x));
}

void proc_LTComputeRRs(LTState& state, int cause) {
    if (cause < 0 || cause >= kLTCauseCount) return;
    auto& rr = state.LTRRvector;
    for (int column = 5; column <= 7; ++column)
        rr[column][cause] = ltRelativeRisk(rr[3][cause], rr[4][cause], column, kConcentrationStep);
}

void proc_LTRRAtLevel(LTState& state, const LTMessageSink& messages, bool& ok) {
    ok = true;
    for (int column = 0; column <= 4; ++column) state.LTRRatLevel[column] = state.LTRRvector[column];

    const LTRRSettings& settings = state.LTRRsettings;
    if (!(settings.X_lo < settings.X_hi)) {
        ltShowMessage(messages, "ERROR: X_lo >= X_hi!");
        ok = false;
    }
    if (settings.X_reference < settings.X_lo || settings.X_reference > settings.X_hi) {
        ltShowMessage(messages, "ERROR: reference level " + runtime::floatToStr(settings.X_reference) +
                                    " not in [X_lo, X_hi] interval!");
        ok = false;
    }
    if (!ok) return;

    const long double d = settings.X_reference - settings.meanAnnualConc;
    auto& rr = state.LTRRatLevel;
    for (int cause = 0; cause < kLTCauseCount; ++cause) {
        for (int column = 5; column <= 7; ++column)
            rr[column][cause] = ltRelativeRisk(rr[3][cause], rr[4][cause], column, d);
    }
    for (int cause = firstCauseInUse(state); cause <= lastCauseInUse(state); ++cause)
        for (int column = 5; column <= 7; ++column)
            checkRisk(rr[column][cause], column, cause,
                      " at the reference level is out of range: beta or se beta is too large for the distance "
                      "between X_reference and the mean annual concentration!",
                      messages, ok);
}

void proc_LTCheckParameterLines(const LTState& state, const LTMessageSink& messages, bool& ok) {
    ok = true;
    const std::int32_t effect = state.LTinfos.effect;
    if (effect < 0 || effect >= kLTCauseCount) {
        ltShowMessage(messages, "ERROR: unknown cause of death # " + runtime::intToStr(effect) + "!");
        ok = false;
        return;
    }
    if (effect != 0 && !state.LTcauseChecked[1] && !state.LTcauseChecked[2]) {
        ltShowMessage(messages, "ERROR: at least one parameter line must be checked!");
        ok = false;
    }
}

void proc_LTCheckData(LTState& state, const LTMessageSink& messages, bool& ok) {
    ok = true;
    std::int64_t lineSum = 0;
    for (int sex = 1; sex <= kLTSexCount; ++sex) {
        state.LTresultValid[sex] = state.LTlineCount[sex] > 0;
        lineSum += state.LTlineCount[sex];
    }
    if (lineSum <= 0) {
        ltShowMessage(messages, "CALCULATION IMPOSSIBLE: No empirical data entered!");
        ok = false;
    }

    const auto& data = state.LTempirical;
    for (int sex = 1; sex <= kLTSexCount; ++sex) {
        const int lines = ltUsedLines(state, sex);
        if (lines == 0) continue;
        for (int r = 2; r <= lines; ++r) {
            if (data[r - 1][kLTUntilAge][sex] + 1.0 != data[r][kLTFromAge][sex]) {
                ltShowMessage(messages, "CALCULATION IMPOSSIBLE: ages are not continuos in matrix # " +
                                            runtime::intToStr(sex) + " line # " + runtime::intToStr(r));
                ok = false;
            }
        }
        checkDataFinite(state, sex, lines, messages, ok);
        if (singleAgeRowsNeeded(state, sex, lines) > kLTMaxRows) {
            ltShowMessage(messages, "CALCULATION IMPOSSIBLE: the age groups of matrix # " + runtime::intToStr(sex) +
                                        " cover more than 120 single years of age!");
            ok = false;
        }
    }

    for (int cause = firstCauseInUse(state); cause <= lastCauseInUse(state); ++cause) {
        if (!relativeRisksSupplied(state, cause)) {
            ltShowMessage(messages, "CALCULATION IMPOSSIBLE: (Some) relative risks not supplied!");
            ok = false;
            continue;
        }
        for (int column = 5; column <= 7; ++column)
            checkRisk(state.LTRRvector[column][cause], column, cause,
                      " per 10 units is not a finite number: beta or se beta is too large!", messages, ok);
    }
}

bool gl_LTnotDigitsOnly(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char ch) { return ch < '0' || ch > '9'; });
}

}  // namespace lifetables
