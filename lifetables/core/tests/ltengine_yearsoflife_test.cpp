// Years of life lost or gained and remaining life expectancy.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "lifetables/core/LTCalculation.h"
#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTYearsOfLife.h"
#include "lifetables/core/tests/ltengine_TestState.h"

namespace lifetables {
namespace {

using testing::MessageLog;

class YearsOfLife : public ::testing::Test {
protected:
    void SetUp() override {
        testing::setNeutralSettings(*state);
        state->LTinfos.startYear = 2020;
        testing::setRiskLines(*state, testing::builtInBetas(0, 30, 30));
        testing::setLevels(*state, 0, 80, 10, 25);
    }
    void run() {
        ASSERT_TRUE(ltRunCalculation(*state, log.sink(), nullptr));
        EXPECT_TRUE(log.messages.empty());
    }
    double T(int indicator, int scenario, int sex) const { return state->LTsummary[indicator][scenario][sex]; }

    std::unique_ptr<LTState> state = testing::makeState();
    MessageLog log;
};

std::vector<testing::AgeGroup> fiveYearGroups(double firstAge, int groups) {
    std::vector<testing::AgeGroup> result;
    for (int g = 0; g < groups; ++g) {
        const double from = firstAge + 5 * g;
        const double rate = 0.0002 * std::exp(0.085 * (from + 2));
        result.push_back({from, from + 4, 50000, 50000 * rate, 20000 * rate, 2500 * rate});
    }
    return result;
}

TEST_F(YearsOfLife, ReferenceAtTheMeanGivesNoDifference) {
    testing::setGroups(*state, 1, fiveYearGroups(0, 20));
    testing::setGroups(*state, 3, fiveYearGroups(0, 20));
    state->LTRRsettings.X_reference = state->LTRRsettings.meanAnnualConc;
    for (int effect : {0, 1}) {
        state->LTinfos.effect = effect;
        state->LTcauseChecked[2] = true;
        run();
        for (int sex : {1, 3}) {
            for (int t = 0; t < 10; ++t) {
                for (int sc = 0; sc < 3; ++sc) EXPECT_EQ(T(t, sc, sex), 0) << t;
            }
            for (int a = 1; a <= 100; ++a) {
                for (int k = 0; k < 4; ++k) EXPECT_EQ(state->LTlifeExpDelta[a][k][sex], 0);
            }
        }
    }
}

TEST_F(YearsOfLife, LowerRatesGivePositiveIndicatorsAndDeltas) {
    testing::setGroups(*state, 2, fiveYearGroups(0, 20));
    run();
    for (int t = 0; t < 10; ++t) {
        for (int sc = 0; sc < 3; ++sc) EXPECT_GT(T(t, sc, 2), 0) << "T" << t << " scenario " << sc;
    }
    for (int a = 1; a <= 100; ++a) {
        EXPECT_EQ(state->LTlifeExpDelta[a][0][2], 0);
        for (int k = 1; k < 4; ++k) EXPECT_GT(state->LTlifeExpDelta[a][k][2], 0) << a;
    }
    // The upper bound of beta lowers the rates most.
    EXPECT_GT(T(0, 2, 2), T(0, 0, 2));
    EXPECT_GT(T(0, 0, 2), T(0, 1, 2));
    // Per 100,000 of the start population.
    const double popAll = gl_LTpopulationBelowAge(*state, 2, 1, 3, 121.0);
    EXPECT_DOUBLE_EQ(T(3, 0, 2), 100000 * T(0, 0, 2) / popAll);
    EXPECT_DOUBLE_EQ(T(9, 1, 2), 100000 * T(8, 1, 2) / popAll);
    EXPECT_DOUBLE_EQ(T(4, 2, 2), 100000 * T(1, 2, 2) / gl_LTpopulationBelowAge(*state, 2, 1, 3, 65.0));
}

TEST_F(YearsOfLife, DataFrom65HaveNothingBelow65Or10) {
    testing::setGroups(*state, 1, fiveYearGroups(65, 7));
    run();
    EXPECT_EQ(gl_LTpopulationBelowAge(*state, 1, 1, 3, 65.0), 1.0);
    EXPECT_EQ(gl_LTpopulationBelowAge(*state, 1, 1, 3, 10.0), 1.0);
    for (int sc = 0; sc < 3; ++sc) {
        EXPECT_EQ(T(1, sc, 1), 0);
        EXPECT_EQ(T(2, sc, 1), 0);
        EXPECT_EQ(T(4, sc, 1), 0);
        EXPECT_EQ(T(5, sc, 1), 0);
        EXPECT_GT(T(0, sc, 1), 0);
    }
}

TEST_F(YearsOfLife, DataFrom10HaveNothingBelow10) {
    testing::setGroups(*state, 1, fiveYearGroups(10, 10));
    run();
    EXPECT_EQ(gl_LTpopulationBelowAge(*state, 1, 1, 3, 10.0), 1.0);
    EXPECT_GT(gl_LTpopulationBelowAge(*state, 1, 1, 3, 65.0), 1.0);
    for (int sc = 0; sc < 3; ++sc) {
        EXPECT_EQ(T(2, sc, 1), 0);
        EXPECT_EQ(T(5, sc, 1), 0);
        EXPECT_GT(T(1, sc, 1), 0);
    }
}

TEST_F(YearsOfLife, LifeExpectancyWithoutDeathsIsTheCellsLeft) {
    testing::setGroups(*state, 1, {{0, 119, 120000}});
    testing::setGroups(*state, 2, {{50, 59, 1000}});
    run();
    for (int a = 1; a <= 120; ++a) EXPECT_DOUBLE_EQ(state->LTlifeExp[a][0][1], std::min(120 - a + 1, 120)) << a;
    for (int a = 1; a <= 10; ++a) EXPECT_DOUBLE_EQ(state->LTlifeExp[a][0][2], 10 - a + 1);
}

TEST_F(YearsOfLife, LastRowLivesHalfOfItsLastYear) {
    testing::setGroups(*state, 1, fiveYearGroups(0, 20));
    run();
    const double m = state->LTempirical[20][kLTRateAll][1];
    EXPECT_DOUBLE_EQ(state->LTlifeExp[100][0][1], 2 / (2 + m));
}

TEST_F(YearsOfLife, StartYearDeathsValuedWithLifeExpectancy) {
    testing::setGroups(*state, 1, fiveYearGroups(0, 20));
    run();
    double t8 = 0;
    for (int a = 1; a <= 100; ++a) {
        t8 += (state->LTmatrices(1, a, 1, 1) - state->LTmatrices(9, a, 1, 1)) * state->LTlifeExp[a][2][1];
    }
    EXPECT_NEAR(T(8, 1, 1), t8, 1e-9 * std::abs(t8));
}

TEST_F(YearsOfLife, ASexWithoutDataKeepsItsIndicatorsButLosesT8AndT9) {
    for (int t = 0; t < 10; ++t) state->LTsummary[t][1][2] = 7;
    testing::setGroups(*state, 1, fiveYearGroups(0, 20));
    run();
    for (int t = 0; t < 8; ++t) EXPECT_EQ(T(t, 1, 2), 7);
    EXPECT_EQ(T(8, 1, 2), 0);
    EXPECT_EQ(T(9, 1, 2), 0);
}

TEST_F(YearsOfLife, CohortSumStaysInsideTheTable) {
    testing::setGroups(*state, 1, {{0, 119, 120000}});
    run();
    EXPECT_DOUBLE_EQ(gl_LTcohortSum(*state, 1, 1, 1, 2), 120 * 1000);
    EXPECT_DOUBLE_EQ(gl_LTcohortSum(*state, 1, 100, 1, 2), 21 * 1000);   // columns 100..120
    EXPECT_DOUBLE_EQ(gl_LTcohortSum(*state, 110, 1, 1, 2), 11 * 1000);   // rows 110..120
    EXPECT_EQ(gl_LTlifeExpectancy(*state, 1, 1, 2, 2, 3), 0);            // female: no entrants
}

TEST_F(YearsOfLife, AdvancedRunStartsThePollutionChangeInTheStartYear) {
    testing::setGroups(*state, 1, fiveYearGroups(0, 20));
    auto& s = state->LTRRsettings;
    s.percPollFromYear = 1990;  // without the advanced settings the year is left alone
    run();
    EXPECT_EQ(s.percPollFromYear, 1990);

    s.advanced = true;
    s.percPoll = 90;
    s.X_reference = 0;
    run();
    EXPECT_EQ(s.percPollFromYear, 2020);
    // The start year has the level of one year's change, not of the 31 years since 1990.
    const double m = state->LTempirical[1][kLTRateAll][1];
    EXPECT_NEAR(state->LTmatrices(4, 1, 1, 1), m * std::exp(0.00602 * 0.9 * 25), 1e-15);
}

TEST_F(YearsOfLife, FailedCheckStopsTheChainBeforeTheSimulation) {
    testing::setGroups(*state, 1, fiveYearGroups(0, 20));
    run();
    const double before = T(0, 0, 1);
    state->LTRRsettings.X_reference = 90;
    state->LTempirical[1][kLTRateAll][1] = 0.5;
    EXPECT_FALSE(ltRunCalculation(*state, log.sink(), nullptr));
    EXPECT_EQ(log.messages.size(), 1u);
    EXPECT_EQ(T(0, 0, 1), before);
}

}  // namespace
}  // namespace lifetables
