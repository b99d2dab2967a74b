#include "lifetables/core/LTYearsOfLife.h"

#include "lifetables/core/LTChecks.h"

namespace lifetables {
namespace {

constexpr double kPer100000 = 100000;
constexpr double kAllAges = 121.0;
constexpr double kWorkingAge = 65.0;
constexpr double kChildAge = 10.0;
constexpr int kFirstYears = 10;

// Indicator rows of LTsummary.
enum Indicator { T0, T1, T2, T3, T4, T5, T6, T7, T8, T9 };

}  // namespace

double gl_LTcohortSum(const LTState& state, int a, int j, int sex, int matrix) {
    const LTMatrix& m = state.LTmatrices.of(matrix, sex);
    const int rows = ltUsedAgeRows(state, sex);
    double sum = 0;
    for (int row = a, column = j; row <= rows && column <= kLTMaxRows; ++row, ++column) sum += m[row][column];
    return sum;
}

double gl_LTlifeExpectancy(const LTState& state, int a, int j, int sex, int personYearsMatrix, int entrantsMatrix) {
    const double entrants = state.LTmatrices(entrantsMatrix, a, j, sex);
    if (!(entrants > 0)) return 0;
    return gl_LTcohortSum(state, a, j, sex, personYearsMatrix) / entrants;
}

double gl_LTpopulationBelowAge(const LTState& state, int sex, int j, int matrix, double ageLimit) {
    const LTMatrix& m = state.LTmatrices.of(matrix, sex);
    const int rows = ltUsedAgeRows(state, sex);
    double sum = 0;
    for (int a = 1; a <= rows && m[a][0] < ageLimit; ++a) sum += m[a][j];
    return sum == 0 ? 1.0 : sum;
}

void gl_LTdeltaLifeYears(const LTState& state, double& t0, double& t1, double& t2, int sex, int baseMatrix,
                         int scenarioMatrix, double& t6) {
    t0 = t1 = t2 = t6 = 0;
    const LTMatrix& base = state.LTmatrices.of(baseMatrix, sex);
    const LTMatrix& scen = state.LTmatrices.of(scenarioMatrix, sex);
    const int rows = ltUsedAgeRows(state, sex);
    for (int a = 1; a <= rows; ++a) {
        const double age = base[a][0];
        const double d = scen[a][1] - base[a][1];
        t0 += d;
        if (age < kWorkingAge) t1 += d;
        if (age < kChildAge) t2 += d;
        for (int j = 1; j <= kFirstYears; ++j) t6 += scen[a][j] - base[a][j];
    }
}

void proc_LTComputeYOLL(LTState& state, bool& ok) {
    ok = true;
    auto& summary = state.LTsummary;
    const int baseEntrants = ltMatrixNumber(0, kLTRoleEntrants);
    for (int sex = 1; sex <= kLTSexCount; ++sex) {
        for (int scenario = 0; scenario < 3; ++scenario) summary[T8][scenario][sex] = summary[T9][scenario][sex] = 0;
        if (!state.LTresultValid[sex]) continue;

        for (int scenario = 0; scenario < 3; ++scenario) {
            gl_LTdeltaLifeYears(state, summary[T0][scenario][sex], summary[T1][scenario][sex],
                                summary[T2][scenario][sex], sex, ltMatrixNumber(0, kLTRolePersonYears),
                                ltMatrixNumber(scenario + 1, kLTRolePersonYears), summary[T6][scenario][sex]);
        }
        const double popAll = gl_LTpopulationBelowAge(state, sex, 1, baseEntrants, kAllAges);
        const double pop65 = gl_LTpopulationBelowAge(state, sex, 1, baseEntrants, kWorkingAge);
        const double pop10 = gl_LTpopulationBelowAge(state, sex, 1, baseEntrants, kChildAge);
        for (int scenario = 0; scenario < 3; ++scenario) {
            summary[T3][scenario][sex] = kPer100000 * summary[T0][scenario][sex] / popAll;
            summary[T7][scenario][sex] = kPer100000 * summary[T6][scenario][sex] / popAll;
            summary[T4][scenario][sex] = kPer100000 * summary[T1][scenario][sex] / pop65;
            summary[T5][scenario][sex] = kPer100000 * summary[T2][scenario][sex] / pop10;
        }

        const int rows = ltUsedAgeRows(state, sex);
        for (int a = 1; a <= rows; ++a) {
            auto& lifeExp = state.LTlifeExp[a];
            for (int scenario = 0; scenario < 4; ++scenario) {
                lifeExp[scenario][sex] =
                    gl_LTlifeExpectancy(state, a, 1, sex, ltMatrixNumber(scenario, kLTRolePersonYears),
                                        ltMatrixNumber(scenario, kLTRoleEntrants));
            }
            for (int scenario = 0; scenario < 4; ++scenario) {
                state.LTlifeExpDelta[a][scenario][sex] = lifeExp[scenario][sex] - lifeExp[0][sex];
            }
        }

        const int baseDeaths = ltMatrixNumber(0, kLTRoleDeaths);
        for (int a = 1; a <= rows; ++a) {
            for (int scenario = 0; scenario < 3; ++scenario) {
                const double avoided = state.LTmatrices(baseDeaths, a, 1, sex) -
                                       state.LTmatrices(ltMatrixNumber(scenario + 1, kLTRoleDeaths), a, 1, sex);
                summary[T8][scenario][sex] += avoided * state.LTlifeExp[a][scenario + 1][sex];
            }
        }
        for (int scenario = 0; scenario < 3; ++scenario) {
            summary[T9][scenario][sex] = kPer100000 * summary[T8][scenario][sex] / popAll;
        }
    }
}

}  // namespace lifetables
