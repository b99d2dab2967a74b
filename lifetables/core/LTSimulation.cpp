#include "lifetables/core/LTSimulation.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTTrunc.h"

namespace lifetables {
namespace {

constexpr std::array<int, 4> kScenarioColumns = {0, 5, 6, 7};  // baseline, central, lower, upper

// The cause analysed; an index the screen cannot produce counts as all causes.
int analysedCause(const LTState& state) {
    const std::int32_t effect = state.LTinfos.effect;
    return effect == 1 || effect == 2 ? effect : 0;
}

bool isScenarioColumn(int rrColumn) { return rrColumn >= 5 && rrColumn <= 7; }

// The observed rates of a data line: all causes, the analysed cause (m1) and the other cause (m2).
struct LineRates {
    double all = 0;
    double m1 = 0;
    double m2 = 0;
};

LineRates lineRates(const LTState& state, int line, int sex) {
    const auto& row = state.LTempirical[line];
    LineRates rates;
    rates.all = row[kLTRateAll][sex];
    switch (analysedCause(state)) {
        case 1:
            rates.m1 = row[kLTRateCardio][sex];
            rates.m2 = row[kLTRateLCA][sex];
            break;
        case 2:
            rates.m1 = row[kLTRateLCA][sex];
            rates.m2 = row[kLTRateCardio][sex];
            break;
        default:
            rates.m1 = rates.all;
            rates.m2 = 0;
            break;
    }
    return rates;
}

// The relative risk of the analysed cause in a scenario and calendar year (inside its age window).
double scenarioRR(const LTState& state, int h, int j, int sex, int rrColumn, int year) {
    const double rr = state.LTRRatLevel[rrColumn][analysedCause(state)];
    return state.LTRRsettings.advanced ? gl_LTadvancedRR(state, h, j, sex, rrColumn, year, rr) : rr;
}

// What the age of a single-age row decides: whether the analysed cause's scenario risk applies
// (its age window holds) and the fixed risk of the other cause (RR2).
struct AgeRisks {
    bool analysedInWindow = false;
    double otherRR = 1.0;
};

AgeRisks ageRisks(const LTState& state, double age) {
    const auto& level = state.LTRRatLevel;
    const auto inWindow = [&](int cause) { return level[1][cause] <= age && age < level[2][cause]; };
    const int effect = analysedCause(state);
    AgeRisks risks;
    risks.analysedInWindow = inWindow(effect);
    if (effect != 0) {
        const int other = 3 - effect;
        if (inWindow(other)) risks.otherRR = state.LTcauseChecked[other] ? level[5][other] : 1.0;
    }
    return risks;
}

// m1 RR1 + m2 RR2; rrInWindow is the scenario's risk of the analysed cause in the cell's year.
double causeRate(const AgeRisks& risks, int rrColumn, double m1, double m2, double rrInWindow) {
    const double rr1 = isScenarioColumn(rrColumn) && risks.analysedInWindow ? rrInWindow : 1.0;
    return m1 * rr1 + m2 * risks.otherRR;
}

void clearProjection(LTState& state) {
    for (auto& matrixOfSexes : state.LTmatrices.cells) {
        for (auto& matrix : matrixOfSexes) {
            for (int row = 1; row <= kLTMaxRows; ++row) std::fill(matrix[row].begin() + 1, matrix[row].end(), 0.0);
        }
    }
}

void writeYearHeader(LTState& state, int sex) {
    for (int k = 0; k < kLTMatrixCount; ++k) {
        auto& header = state.LTmatrices.of(k, sex)[0];
        for (int j = 1; j <= kLTMaxRows; ++j) header[j] = static_cast<double>(state.LTinfos.startYear) + j - 1;
    }
}

// Expands the data lines into single-age rows and fills the four rate matrices.
void fillRateMatrices(LTState& state, int sex, const LTProgressStep& progressStep) {
    const bool showProgress = state.LTOSmajor.str() == "4" && static_cast<bool>(progressStep);
    // The scenario risks of the analysed cause depend only on the scenario and the year.
    std::array<std::array<double, kLTMaxRows + 1>, 4> rrOfYear{};
    for (int scenario = 1; scenario < 4; ++scenario) {
        for (int j = 1; j <= kLTMaxRows; ++j) {
            const int year = gl_LTtrunc(state.LTmatrices(0, 0, j, sex));
            rrOfYear[scenario][j] = scenarioRR(state, 1, j, sex, kScenarioColumns[scenario], year);
        }
    }

    int h = 1;
    const int lines = ltUsedLines(state, sex);
    for (int r = 1; r <= lines && h <= kLTMaxRows; ++r) {
        const std::int64_t a0 = gl_LTtrunc(state.LTempirical[r][kLTFromAge][sex]);
        const std::int64_t a1 = gl_LTtrunc(state.LTempirical[r][kLTUntilAge][sex]);
        const LineRates rates = lineRates(state, r, sex);
        const double otherCauses = rates.all - rates.m1 - rates.m2;
        for (std::int64_t t = a0; t <= a1 && h <= kLTMaxRows; ++t, ++h) {
            for (int k = 0; k < kLTMatrixCount; ++k) state.LTmatrices(k, h, 0, sex) = static_cast<double>(t);
            const AgeRisks risks = ageRisks(state, static_cast<double>(t));
            for (int j = 1; j <= kLTMaxRows; ++j) {
                for (int scenario = 0; scenario < 4; ++scenario) {
                    const int matrix = ltMatrixNumber(scenario, kLTRoleRate);
                    state.LTmatrices(matrix, h, j, sex) =
                        otherCauses + causeRate(risks, kScenarioColumns[scenario], rates.m1, rates.m2,
                                                rrOfYear[scenario][j]);
                }
                if (showProgress) progressStep();
            }
        }
    }
}

}  // namespace

double gl_LTsurvival(double m) { return m >= 0 ? (2 - m) / (2 + m) : 0.0; }

double gl_LTadvancedRR(const LTState& state, int /*h*/, int /*j*/, int /*sex*/, int rrColumn, int year, double rr) {
    const LTRRSettings& settings = state.LTRRsettings;
    if (settings.percPollFromYear > year || settings.percPoll == 100) return rr;
    const std::int64_t n = std::int64_t{std::min(year, settings.percPollUntilYear)} - settings.percPollFromYear + 1;
    double f = 1.0;
    // Once the factor is 0 (or infinite under a growing level) further years cannot change it.
    for (std::int64_t i = 0; i < n && f != 0 && !(std::isinf(f) && settings.percPoll > 0); ++i) {
        f = 0.01 * f * settings.percPoll;
    }
    const long double dx = f * settings.meanAnnualConc - settings.X_reference;
    if (dx <= 0) return 1.0;
    if (!isScenarioColumn(rrColumn)) return rr;
    const int effect = analysedCause(state);
    return ltRelativeRisk(state.LTRRatLevel[3][effect], state.LTRRatLevel[4][effect], rrColumn, dx);
}

double gl_LTcauseRate(const LTState& state, int matrix, int h, int j, int sex, int rrColumn, double m1, double m2) {
    const double age = state.LTmatrices(matrix, h, 0, sex);
    double rrInWindow = 1.0;
    if (isScenarioColumn(rrColumn)) {
        const int year = gl_LTtrunc(state.LTmatrices(matrix, 0, j, sex));
        rrInWindow = scenarioRR(state, h, j, sex, rrColumn, year);
    }
    return causeRate(ageRisks(state, age), rrColumn, m1, m2, rrInWindow);
}

double gl_LTscenarioRate(const LTState& state, int line, int matrix, int h, int j, int sex, int rrColumn) {
    const LineRates rates = lineRates(state, line, sex);
    return (rates.all - rates.m1 - rates.m2) + gl_LTcauseRate(state, matrix, h, j, sex, rrColumn, rates.m1, rates.m2);
}

void proc_LTsplitAgeGroups(LTState& state, int sex) {
    for (int row = 1; row <= kLTMaxRows; ++row) state.LTstartPop[row][sex] = 0;
    int k = 0;
    const int lines = ltUsedLines(state, sex);
    for (int r = 1; r <= lines && k < kLTMaxRows; ++r) {
        const auto& data = state.LTempirical[r];
        const std::int64_t groupAges = ltSingleAgeSpan(data[kLTFromAge][sex], data[kLTUntilAge][sex]);
        const std::int64_t n = std::min<std::int64_t>(groupAges, kLTMaxRows - k);
        if (n <= 0) continue;
        const double m = data[kLTRateAll][sex];
        const double startPop = 0.5 * data[kLTPopulation][sex] * (2.0 + m);
        const double q = gl_LTsurvival(m);
        double sum = 0;
        double power = 1.0;
        for (std::int64_t t = 1; t <= n; ++t, power *= q) sum += power;
        power = 1.0;
        for (std::int64_t t = 1; t <= n; ++t, power *= q) state.LTstartPop[++k][sex] = power * startPop / sum;
    }
}

double gl_LTbirthFactor(const LTState& state, int j, int sex) {
    const double year = state.LTmatrices(ltMatrixNumber(0, kLTRoleEntrants), 0, j, sex);
    const LTRRSettings& settings = state.LTRRsettings;
    return settings.birthFromYear <= year && year <= settings.birthUntilYear ? 0.01 * settings.birthSlope : 1.0;
}

void proc_LTbirths(LTState& state, int sex) {
    for (int j = 1; j <= kLTMaxRows; ++j) {
        const double factor = state.LTRRsettings.advanced ? gl_LTbirthFactor(state, j, sex) : 1.0;
        state.LTbirths[j][sex] = state.LTstartPop[1][sex] * factor;
    }
}

void proc_LTprojectCohorts(LTState& state, int sex, int rates, int entrants, int personYears, int deaths) {
    const LTMatrix& R = state.LTmatrices.of(rates, sex);
    LTMatrix& N = state.LTmatrices.of(entrants, sex);
    LTMatrix& L = state.LTmatrices.of(personYears, sex);
    LTMatrix& D = state.LTmatrices.of(deaths, sex);
    const int ages = ltUsedAgeRows(state, sex);

    for (int a = 1; a <= ages; ++a) N[a][1] = state.LTstartPop[a][sex];
    for (int j = 1; j <= kLTMaxRows; ++j) N[1][j] = state.LTbirths[j][sex];
    for (int a = 2; a <= ages; ++a) {
        for (int j = 2; j <= kLTMaxRows; ++j) N[a][j] = gl_LTsurvival(R[a - 1][j - 1]) * N[a - 1][j - 1];
    }

    const LTRRSettings& settings = state.LTRRsettings;
    std::array<double, kLTMaxRows + 1> yearWeight;
    yearWeight.fill(1.0);
    if (settings.advanced) {
        for (int j = 1; j <= kLTMaxRows; ++j) {
            const double year = L[0][j];
            if (settings.weightYearsFromYear <= year && year <= settings.weightYearsUntilYear) {
                yearWeight[j] = settings.weightYears;
            }
        }
    }
    for (int a = 1; a <= ages; ++a) {
        const double age = L[a][0];
        const bool ageWeighted =
            settings.advanced && settings.weightAgeFromAge <= age && age <= settings.weightAgeUntilAge;
        const double ageWeight = ageWeighted ? settings.weightAge : 1.0;
        for (int j = 1; j <= kLTMaxRows; ++j) {
            const double w = settings.advanced ? yearWeight[j] * ageWeight : 1.0;
            L[a][j] = 2 * w * N[a][j] / (2 + R[a][j]);
            D[a][j] = L[a][j] * R[a][j];
        }
    }
}

void proc_LTSimulate(LTState& state, const LTProgressStep& progressStep, bool& ok) {
    ok = true;
    clearProjection(state);
    for (int sex = 1; sex <= kLTSexCount; ++sex) {
        if (!state.LTresultValid[sex]) continue;
        const int lines = ltUsedLines(state, sex);
        if (lines == 0) continue;
        const std::int64_t span = ltDataAgeSpan(state, sex);
        state.LTageCount[sex] = static_cast<std::int32_t>(std::clamp<std::int64_t>(span, INT32_MIN, kLTMaxRows));
        writeYearHeader(state, sex);
        fillRateMatrices(state, sex, progressStep);
        proc_LTsplitAgeGroups(state, sex);
        proc_LTbirths(state, sex);
        for (int scenario = 0; scenario < 4; ++scenario) {
            proc_LTprojectCohorts(state, sex, ltMatrixNumber(scenario, kLTRoleRate),
                                  ltMatrixNumber(scenario, kLTRoleEntrants), ltMatrixNumber(scenario, kLTRolePersonYears),
                                  ltMatrixNumber(scenario, kLTRoleDeaths));
        }
    }
}

}  // namespace lifetables
