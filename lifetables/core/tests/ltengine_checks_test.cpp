// Relative risks per 10 units and at the exposure level, and the checks before a calculation.
#include <gtest/gtest.h>

#include <cmath>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/tests/ltengine_TestState.h"

namespace lifetables {
namespace {

using testing::AgeGroup;
using testing::MessageLog;

const char* const kIntervalMessage = "ERROR: X_lo >= X_hi!";
const char* const kNoData = "CALCULATION IMPOSSIBLE: No empirical data entered!";
const char* const kNoRisks = "CALCULATION IMPOSSIBLE: (Some) relative risks not supplied!";

class RelativeRisks : public ::testing::Test {
protected:
    void SetUp() override {
        testing::setRiskLines(*state, testing::builtInBetas(30, 30, 30));
        testing::setLevels(*state, 7.5, 80, 10, 30);
    }
    std::unique_ptr<LTState> state = testing::makeState();
    MessageLog log;
    bool ok = false;
};

TEST_F(RelativeRisks, PerTenUnitsWithBoundsFromTheStandardError) {
    const auto& rr = state->LTRRvector;
    EXPECT_NEAR(rr[5][0], std::exp(0.0602), 1e-15);
    EXPECT_NEAR(rr[6][0], std::exp(10 * (0.00602 - 1.96 * 0.0022654)), 1e-15);
    EXPECT_NEAR(rr[7][2], std::exp(10 * (0.012673 + 1.96 * 0.00426)), 1e-15);
    testing::setRiskLine(*state, 1, 30, 120, 0, 0.5);
    proc_LTComputeRRs(*state, 1);
    EXPECT_EQ(rr[5][1], 1.0);
    EXPECT_LT(rr[6][1], 1.0);

    // A cause outside 0..2 has no row of the table: nothing at all changes, not even the stale
    // risks of causes 0 and 2 that a recompute would replace.
    for (int col = 5; col <= 7; ++col) state->LTRRvector[col][0] = state->LTRRvector[col][2] = 9.0;
    const LTRRTable before = rr;
    const LTRRTable atLevelBefore = state->LTRRatLevel;
    proc_LTComputeRRs(*state, 3);
    proc_LTComputeRRs(*state, -1);
    EXPECT_EQ(rr, before);
    EXPECT_EQ(state->LTRRatLevel, atLevelBefore);
}

TEST_F(RelativeRisks, AtTheLevelDifferenceOfReferenceAndMean) {
    proc_LTRRAtLevel(*state, log.sink(), ok);
    ASSERT_TRUE(ok);
    EXPECT_TRUE(log.messages.empty());
    const auto& at = state->LTRRatLevel;
    for (int c = 0; c < 3; ++c) {
        for (int col = 0; col <= 4; ++col) EXPECT_EQ(at[col][c], state->LTRRvector[col][c]);
        const double b = state->LTRRvector[3][c], se = state->LTRRvector[4][c];
        EXPECT_NEAR(at[5][c], std::exp(b * -20), 1e-15);
        EXPECT_NEAR(at[6][c], std::exp((b - 1.96 * se) * -20), 1e-15);
        EXPECT_NEAR(at[7][c], std::exp((b + 1.96 * se) * -20), 1e-15);
        // Below the mean the risks fall below 1, and the "lower" column holds the larger value.
        EXPECT_LT(at[5][c], 1.0);
        EXPECT_GT(at[6][c], at[7][c]);
    }
}

TEST_F(RelativeRisks, ReferenceEqualToTheMeanGivesOne) {
    state->LTRRsettings.X_reference = state->LTRRsettings.meanAnnualConc;
    proc_LTRRAtLevel(*state, log.sink(), ok);
    ASSERT_TRUE(ok);
    for (int c = 0; c < 3; ++c) {
        for (int col = 5; col <= 7; ++col) EXPECT_EQ(state->LTRRatLevel[col][c], 1.0);
    }
}

TEST_F(RelativeRisks, IntervalEndsAreAccepted) {
    state->LTRRsettings.X_reference = 7.5;
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_TRUE(ok);
    state->LTRRsettings.X_reference = 80;
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(log.messages.empty());
}

TEST_F(RelativeRisks, IntervalMessagesAndTheirOrder) {
    // An empty interval that holds the reference: only the interval message.
    auto& s = state->LTRRsettings;
    s.X_lo = s.X_hi = s.X_reference = 20;
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, std::vector<std::string>{kIntervalMessage});

    // A reversed interval: both messages, the interval first.
    log.messages.clear();
    s.X_lo = 80;
    s.X_hi = 7.5;
    s.X_reference = 12.5;
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, (std::vector<std::string>{
                                kIntervalMessage, "ERROR: reference level 12.5 not in [X_lo, X_hi] interval!"}));

    // A reference outside keeps the risks of the last successful call.
    log.messages.clear();
    s.X_lo = 7.5;
    s.X_hi = 80;
    s.X_reference = 30;  // equal to the mean: risks 1
    proc_LTRRAtLevel(*state, log.sink(), ok);
    ASSERT_TRUE(ok);
    s.X_reference = 5;
    state->LTRRvector[1][0] = 40;
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, std::vector<std::string>{"ERROR: reference level 5 not in [X_lo, X_hi] interval!"});
    EXPECT_EQ(state->LTRRatLevel[5][0], 1.0);
    EXPECT_EQ(state->LTRRatLevel[1][0], 40);  // columns 0..4 are copied all the same
}

TEST(ParameterLines, CauseSpecificEffectNeedsACheckedLine) {
    auto state = testing::makeState();
    MessageLog log;
    bool ok = false;
    state->LTinfos.effect = 0;
    proc_LTCheckParameterLines(*state, log.sink(), ok);
    EXPECT_TRUE(ok);

    state->LTinfos.effect = 1;
    proc_LTCheckParameterLines(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, std::vector<std::string>{"ERROR: at least one parameter line must be checked!"});

    // The LCA line alone is enough for the cardiopulmonary effect.
    state->LTcauseChecked[2] = true;
    proc_LTCheckParameterLines(*state, log.sink(), ok);
    EXPECT_TRUE(ok);

    // A cause index that no screen offers is refused before it can index the tables.
    log.messages.clear();
    state->LTinfos.effect = 7;
    proc_LTCheckParameterLines(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages.size(), 1u);
}

class DataCheck : public RelativeRisks {};

TEST_F(DataCheck, NoDataAtAllIsRefusedAndMarksNoSex) {
    state->LTresultValid = {true, true, true, true};
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, std::vector<std::string>{kNoData});
    EXPECT_FALSE(state->LTresultValid[1] || state->LTresultValid[2] || state->LTresultValid[3]);
}

TEST_F(DataCheck, ContinuityOfTheAgeGroups) {
    testing::setGroups(*state, 2, {{30, 34, 100}, {35, 39, 100}});
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_TRUE(ok);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_TRUE(state->LTresultValid[2]);
    EXPECT_FALSE(state->LTresultValid[1]);

    testing::setGroups(*state, 2, {{30, 34, 100}, {36, 40, 100}, {41, 44.5, 100}, {45, 50, 100}});
    testing::setGroups(*state, 3, {{0, 9, 100}, {11, 20, 100}});
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages,
              (std::vector<std::string>{"CALCULATION IMPOSSIBLE: ages are not continuos in matrix # 2 line # 2",
                                        "CALCULATION IMPOSSIBLE: ages are not continuos in matrix # 2 line # 4",
                                        "CALCULATION IMPOSSIBLE: ages are not continuos in matrix # 3 line # 2"}));
}

TEST_F(DataCheck, MoreThan120SingleAgesAreRefused) {
    testing::setGroups(*state, 1, {{0, 119, 1000}});
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_TRUE(ok);
    testing::setGroups(*state, 1, {{0, 99, 1000}, {100, 120, 10}});
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, std::vector<std::string>{
                                "CALCULATION IMPOSSIBLE: the age groups of matrix # 1 cover more than 120 single "
                                "years of age!"});
    // Absurd ages are refused the same way, without overflow.
    log.messages.clear();
    testing::setGroups(*state, 1, {{-3e12, 4e15, 1000}});
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages.size(), 1u);
}

TEST_F(DataCheck, RelativeRisksOfTheCausesInUse) {
    testing::setGroups(*state, 1, {{0, 99, 1000}});
    // All causes: the cause-specific rows may be empty.
    for (int col = 5; col <= 7; ++col) state->LTRRvector[col][1] = state->LTRRvector[col][2] = 0;
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_TRUE(ok);

    // Cardiopulmonary with only the LCA line checked still needs both rows: one message per cause.
    state->LTinfos.effect = 1;
    state->LTcauseChecked[2] = true;
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_EQ(log.messages, (std::vector<std::string>{kNoRisks, kNoRisks}));

    log.messages.clear();
    proc_LTComputeRRs(*state, 1);  // beta 0: risks 1, supplied
    state->LTRRvector[6][2] = 1.1;
    state->LTRRvector[5][2] = 1.2;
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);  // the upper LCA risk is still missing
    EXPECT_EQ(log.messages, std::vector<std::string>{kNoRisks});
}

// Accepted inputs whose risks or rates a double cannot hold stop the run before the simulation,
// naming the value and its cause; results that are not finite are not kept.
TEST_F(DataCheck, ValuesThatAreNotFiniteStopTheRun) {
    const std::string riskOfAll = "CALCULATION IMPOSSIBLE: RR of ALL causes of death";
    testing::setGroups(*state, 1, {{0, 99, 1e-300, 1e20}});  // the rate 1e320 is infinite
    testing::setRiskLine(*state, 0, 30, 120, 100, 0);
    proc_LTComputeRRs(*state, 0);  // exp(10 * 100)
    state->LTRRsettings.X_reference = 30;  // at the mean: risks 1 at the level
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_TRUE(ok);
    proc_LTCheckData(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(log.messages.size(), 4u);
    EXPECT_EQ(log.messages[0], "CALCULATION IMPOSSIBLE: a value in matrix # 1 line # 1 is not a finite number!");
    EXPECT_EQ(log.messages[1], riskOfAll + " per 10 units is not a finite number: beta or se beta is too large!");
    EXPECT_EQ(log.messages[3].substr(0, 42), "CALCULATION IMPOSSIBLE: RR upper of ALL ca");

    log.messages.clear();
    state->LTRRsettings.X_reference = 10;  // exp(100 * -20) is 0
    proc_LTRRAtLevel(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    ASSERT_EQ(log.messages.size(), 3u);
    EXPECT_EQ(log.messages[0], riskOfAll + " at the reference level is out of range: beta or se beta is too large "
                                           "for the distance between X_reference and the mean annual concentration!");

    log.messages.clear();
    ok = true;
    state->LTresultValid = {false, false, true, false};
    ltCheckResultsFinite(*state, log.sink(), ok);
    EXPECT_TRUE(ok);
    state->LTlifeExpDelta[120][3][2] = INFINITY;
    ltCheckResultsFinite(*state, log.sink(), ok);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(state->LTresultValid[2]);
    EXPECT_EQ(log.messages, std::vector<std::string>{"CALCULATION IMPOSSIBLE: the results are not finite numbers: "
                                                     "values of the input data are too large!"});
}

TEST(DigitsOnly, AnythingButDigits) {
    EXPECT_FALSE(gl_LTnotDigitsOnly("12"));
    EXPECT_FALSE(gl_LTnotDigitsOnly(""));
    EXPECT_TRUE(gl_LTnotDigitsOnly("1.5"));
    EXPECT_TRUE(gl_LTnotDigitsOnly("-3"));
    EXPECT_TRUE(gl_LTnotDigitsOnly(" 7"));
    EXPECT_TRUE(gl_LTnotDigitsOnly("1,5"));
}

}  // namespace
}  // namespace lifetables
