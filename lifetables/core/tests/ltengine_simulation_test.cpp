// The cohort simulation: single-age expansion, start population, births, rates and projection.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTSimulation.h"
#include "lifetables/core/tests/ltengine_TestState.h"

namespace lifetables {
namespace {

using testing::MessageLog;

constexpr int kRate[4] = {0, 4, 8, 12};
constexpr int kEntrants[4] = {3, 7, 11, 15};
constexpr int kPersonYears[4] = {2, 6, 10, 14};
constexpr int kDeaths[4] = {1, 5, 9, 13};

class Simulation : public ::testing::Test {
protected:
    void SetUp() override {
        testing::setNeutralSettings(*state);
        state->LTinfos.startYear = 2005;
        testing::setRiskLines(*state, testing::builtInBetas(30, 30, 40, 100));
        testing::setLevels(*state, 0, 80, 10, 30);
    }
    // Risks at the level, sexes with data, simulation.
    void simulate(const LTProgressStep& progress = nullptr) {
        bool ok = false;
        proc_LTRRAtLevel(*state, log.sink(), ok);
        ASSERT_TRUE(ok);
        for (int s = 1; s <= 3; ++s) state->LTresultValid[s] = state->LTlineCount[s] > 0;
        ok = false;
        proc_LTSimulate(*state, progress, ok);
        EXPECT_TRUE(ok);
    }
    double cell(int k, int row, int column, int sex = 1) const { return state->LTmatrices(k, row, column, sex); }

    std::unique_ptr<LTState> state = testing::makeState();
    MessageLog log;
};

TEST_F(Simulation, OneLineFrom0To119Gives120SingleAgesAndHeaders) {
    testing::setGroups(*state, 2, {{0, 119, 120000, 1200}});
    simulate();
    EXPECT_EQ(state->LTageCount[2], 120);
    for (int k = 0; k < 16; ++k) {
        EXPECT_EQ(state->LTmatrices(k, 0, 0, 2), 0);
        EXPECT_EQ(state->LTmatrices(k, 0, 1, 2), 2005);
        EXPECT_EQ(state->LTmatrices(k, 0, 120, 2), 2124);
        EXPECT_EQ(state->LTmatrices(k, 1, 0, 2), 0);
        EXPECT_EQ(state->LTmatrices(k, 120, 0, 2), 119);
    }
    // The single ages of the group sum to the population at the start of the period.
    double sum = 0;
    for (int a = 1; a <= 120; ++a) sum += state->LTstartPop[a][2];
    EXPECT_NEAR(sum, 0.5 * 120000 * (2 + 0.01), 1e-6);
    const double q = gl_LTsurvival(0.01);
    EXPECT_NEAR(state->LTstartPop[2][2], q * state->LTstartPop[1][2], 1e-9);
    // A sex without data has nothing in its cells.
    EXPECT_EQ(state->LTmatrices(2, 5, 5, 1), 0);
}

TEST_F(Simulation, AOneYearGroupHoldsItsWholeStartPopulation) {
    testing::setGroups(*state, 1, {{0, 0, 1000, 20}, {1, 4, 4000, 4}});
    simulate();
    EXPECT_EQ(state->LTageCount[1], 5);
    EXPECT_DOUBLE_EQ(state->LTstartPop[1][1], 1000 * (1 + 0.02 / 2));
    EXPECT_EQ(state->LTstartPop[6][1], 0);
}

TEST_F(Simulation, RatesZeroKeepEveryCohortWhole) {
    testing::setGroups(*state, 1, {{0, 59, 6000}});
    simulate();
    for (int s = 0; s < 4; ++s) {
        for (int a = 1; a <= 60; ++a) {
            for (int j = 1; j <= 120; j += 7) {
                const double n = cell(kEntrants[s], a, j);
                EXPECT_EQ(n, 100);
                EXPECT_EQ(cell(kPersonYears[s], a, j), n);
                EXPECT_EQ(cell(kDeaths[s], a, j), 0);
            }
        }
    }
}

TEST_F(Simulation, RateOfOneTenth) {
    testing::setGroups(*state, 1, {{0, 9, 1000, 100}});
    state->LTRRsettings.X_reference = state->LTRRsettings.meanAnnualConc;
    simulate();
    const double q = gl_LTsurvival(0.1);
    EXPECT_DOUBLE_EQ(q, 1.9 / 2.1);
    for (int a = 2; a <= 10; ++a) {
        for (int j = 2; j <= 120; j += 13) {
            EXPECT_DOUBLE_EQ(cell(3, a, j), q * cell(3, a - 1, j - 1));
            EXPECT_DOUBLE_EQ(cell(2, a, j), 2 * cell(3, a, j) / 2.1);
            EXPECT_DOUBLE_EQ(cell(1, a, j), cell(2, a, j) * 0.1);
            // Deaths are the cohort's loss in the year.
            EXPECT_NEAR(cell(1, a, j), cell(3, a, j) * (1 - q), 1e-9);
        }
    }
}

TEST_F(Simulation, SurvivalRatio) {
    EXPECT_EQ(gl_LTsurvival(0), 1.0);
    EXPECT_EQ(gl_LTsurvival(2), 0.0);
    EXPECT_LT(gl_LTsurvival(3), 0.0);
    EXPECT_EQ(gl_LTsurvival(-0.5), 0.0);
}

TEST_F(Simulation, BirthsWithAndWithoutTheBirthWindow) {
    testing::setGroups(*state, 1, {{0, 4, 5000, 10}});
    simulate();
    for (int j = 1; j <= 120; ++j) EXPECT_EQ(state->LTbirths[j][1], state->LTstartPop[1][1]);

    auto& s = state->LTRRsettings;
    s.advanced = true;
    s.birthSlope = 50;
    s.birthFromYear = 2010;
    s.birthUntilYear = 2012;
    simulate();
    const double full = state->LTstartPop[1][1];
    for (int j = 1; j <= 120; ++j) {
        const int year = 2004 + j;
        const double expected = year >= 2010 && year <= 2012 ? 0.5 * full : full;
        EXPECT_EQ(state->LTbirths[j][1], expected) << year;
        EXPECT_EQ(cell(3, 1, j), expected);
    }
}

TEST_F(Simulation, PollutionChangeFromTheStartYear) {
    testing::setGroups(*state, 1, {{20, 59, 4000, 40}});
    auto& s = state->LTRRsettings;
    simulate();
    const auto plain = std::make_unique<LTMatrices>(state->LTmatrices);  // 5.6 MB: not on the stack

    // A change of 100 % is no change.
    s.advanced = true;
    s.percPoll = 100;
    s.percPollFromYear = 2005;
    simulate();
    for (int k : kRate) EXPECT_EQ(state->LTmatrices.of(k, 1), plain->of(k, 1));

    // 90 % a year from the start year against a reference of 0.
    s.percPoll = 90;
    s.X_reference = 0;
    simulate();
    const double b = 0.00602, se = 0.0022654, m = 0.01;
    for (int j = 1; j <= 120; j += 9) {
        const double level = std::pow(0.9, j) * 30;
        const int row = 15;  // age 34, inside the window of all causes
        EXPECT_NEAR(cell(4, row, j), m * std::exp(b * level), 1e-13);
        EXPECT_NEAR(cell(8, row, j), m * std::exp((b - 1.96 * se) * level), 1e-13);
        EXPECT_NEAR(cell(12, row, j), m * std::exp((b + 1.96 * se) * level), 1e-13);
        EXPECT_EQ(cell(0, row, j), m);
        EXPECT_EQ(cell(4, 1, j), m);  // age 20: outside the window
    }

    // The change stops after its last year; a level below the reference gives 1.
    s.percPollUntilYear = 2007;
    s.X_reference = 20;
    simulate();
    const double stopped = std::pow(0.9, 3) * 30 - 20;  // 2005, 2006, 2007
    EXPECT_NEAR(cell(4, 15, 3), m * std::exp(b * stopped), 1e-15);
    EXPECT_NEAR(cell(4, 15, 50), m * std::exp(b * stopped), 1e-15);
    s.X_reference = 29;
    simulate();
    EXPECT_EQ(cell(4, 15, 1), m);  // 27 - 29 <= 0: risk 1
}

TEST_F(Simulation, AllCausesWindowIsFromAgeIncludedUntilAgeExcluded) {
    testing::setRiskLine(*state, 0, 30, 50, 0.00602, 0.0022654);
    testing::setGroups(*state, 1, {{25, 54, 3000, 30}});
    simulate();
    const double m = 0.01;
    for (int j : {1, 60, 120}) {
        for (int s = 0; s < 4; ++s) {
            EXPECT_EQ(cell(kRate[s], 5, j), m);   // age 29
            EXPECT_EQ(cell(kRate[s], 26, j), m);  // age 50
        }
        EXPECT_NE(cell(4, 6, j), m);  // age 30
        EXPECT_NE(cell(4, 25, j), m);  // age 49
        EXPECT_EQ(cell(4, 6, j), m * state->LTRRatLevel[5][0]);
    }
}

TEST_F(Simulation, CardiopulmonaryEffectWithTheLcaLineChecked) {
    testing::setGroups(*state, 1, {{30, 69, 4000, 40, 16, 4}});
    state->LTinfos.effect = 1;
    state->LTcauseChecked[2] = true;
    simulate();
    const auto& at = state->LTRRatLevel;
    const double other = 0.01 - 0.004 - 0.001;
    const int insideLca = 21;  // age 50
    const int outsideLca = 5;  // age 34
    for (int s = 0; s < 4; ++s) {
        const double rr1 = s == 0 ? 1.0 : at[4 + s][1];
        EXPECT_DOUBLE_EQ(cell(kRate[s], insideLca, 7), other + 0.004 * rr1 + 0.001 * at[5][2]);
        EXPECT_DOUBLE_EQ(cell(kRate[s], outsideLca, 7), other + 0.004 * rr1 + 0.001);
    }
    // Unchecked, the LCA part stays as observed, and the baseline is the observed rate.
    state->LTcauseChecked[2] = false;
    state->LTcauseChecked[1] = true;
    simulate();
    EXPECT_DOUBLE_EQ(cell(0, insideLca, 7), other + 0.004 + 0.001);
    EXPECT_DOUBLE_EQ(cell(4, insideLca, 7), other + 0.004 * at[5][1] + 0.001);
}

TEST_F(Simulation, LcaEffectScalesTheLcaPart) {
    testing::setGroups(*state, 3, {{30, 69, 4000, 40, 16, 4}});
    state->LTinfos.effect = 2;
    state->LTcauseChecked[1] = true;
    simulate();
    const auto& at = state->LTRRatLevel;
    const double other = 0.01 - 0.001 - 0.004;
    EXPECT_DOUBLE_EQ(cell(12, 21, 1, 3), other + 0.001 * at[7][2] + 0.004 * at[5][1]);
    EXPECT_DOUBLE_EQ(cell(12, 5, 1, 3), other + 0.001 + 0.004 * at[5][1]);  // age 34: outside LCA
}

TEST_F(Simulation, EveryRateCellIsTheScenarioRateOfItsLine) {
    testing::setGroups(*state, 1, {{0, 29, 3000, 9, 3, 1}, {30, 64, 3500, 35, 12, 3}, {65, 99, 1000, 90, 40, 5}});
    state->LTinfos.effect = 1;
    state->LTcauseChecked[1] = state->LTcauseChecked[2] = true;
    auto& s = state->LTRRsettings;
    s.advanced = true;
    s.percPoll = 97;
    s.percPollFromYear = 2005;
    s.percPollUntilYear = 2040;
    s.X_reference = 5;
    simulate();
    for (int h = 1; h <= 100; ++h) {
        const int line = h <= 30 ? 1 : h <= 65 ? 2 : 3;
        for (int j = 1; j <= 120; ++j) {
            for (int sc = 0; sc < 4; ++sc) {
                const int column = sc == 0 ? 0 : 4 + sc;
                ASSERT_EQ(cell(kRate[sc], h, j), gl_LTscenarioRate(*state, line, kRate[sc], h, j, 1, column))
                    << h << " " << j << " " << sc;
            }
        }
    }
}

TEST_F(Simulation, AgeAndYearWeightsScalePersonYearsAndDeaths) {
    testing::setGroups(*state, 1, {{0, 59, 6000, 60}});
    simulate();
    const auto plain = std::make_unique<LTMatrices>(state->LTmatrices);
    auto& s = state->LTRRsettings;
    s.advanced = true;
    s.weightAge = 2;
    s.weightAgeFromAge = 40;
    s.weightAgeUntilAge = 50;
    s.weightYears = 0.5;
    s.weightYearsFromYear = 2010;
    s.weightYearsUntilYear = 2011;
    simulate();
    const auto weighted = [&](int k, int a, int j) { return state->LTmatrices(k, a, j, 1) / (*plain)(k, a, j, 1); };
    EXPECT_DOUBLE_EQ(weighted(2, 41, 1), 2);    // age 40
    EXPECT_DOUBLE_EQ(weighted(5, 51, 1), 2);    // age 50
    EXPECT_DOUBLE_EQ(weighted(6, 52, 1), 1);    // age 51
    EXPECT_DOUBLE_EQ(weighted(14, 45, 6), 1);   // age 44 in 2010: 2 x 0.5
    EXPECT_DOUBLE_EQ(weighted(9, 10, 7), 0.5);  // 2011
    EXPECT_DOUBLE_EQ(weighted(9, 10, 8), 1);    // 2012
    EXPECT_DOUBLE_EQ(weighted(3, 45, 6), 1);    // entrants are not weighted
}

TEST_F(Simulation, ProgressOnlyOnMajorVersion4) {
    testing::setGroups(*state, 1, {{0, 9, 1000}});
    testing::setGroups(*state, 2, {{0, 4, 1000}});
    int steps = 0;
    state->LTOSmajor = "5";
    simulate([&] { ++steps; });
    EXPECT_EQ(steps, 0);
    state->LTOSmajor = "4";
    simulate([&] { ++steps; });
    EXPECT_EQ(steps, (10 + 5) * 120);
    simulate(nullptr);  // no display to step
}

TEST_F(Simulation, GroupsBeyond120SingleAgesNeverPassRow120) {
    // The checks refuse such data; the simulation alone must still stay inside its tables.
    testing::setGroups(*state, 1, {{0, 99, 1000, 10}, {100, 150, 10, 5}, {151, 400, 10, 5}});
    simulate();
    EXPECT_EQ(state->LTageCount[1], 120);
    EXPECT_EQ(cell(0, 120, 0), 119);
    double sum = 0;
    for (int a = 1; a <= 120; ++a) sum += state->LTstartPop[a][1];
    EXPECT_GT(sum, 0);
}

TEST_F(Simulation, ARerunClearsTheSexesThatLostTheirData) {
    testing::setGroups(*state, 1, {{0, 9, 1000, 10}});
    testing::setGroups(*state, 2, {{0, 9, 1000, 10}});
    simulate();
    EXPECT_GT(state->LTmatrices(3, 5, 5, 2), 0);
    state->LTlineCount[2] = 0;
    simulate();
    EXPECT_EQ(state->LTmatrices(3, 5, 5, 2), 0);
    EXPECT_EQ(state->LTmatrices(3, 0, 5, 2), 2009);  // headers stay
}

}  // namespace
}  // namespace lifetables
