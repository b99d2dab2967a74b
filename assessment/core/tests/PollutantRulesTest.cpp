#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "assessment/core/PollutantRules.h"

using namespace assessment;

namespace {

// One row per pollutant name: what each rule gives for it.
struct Expected {
    const char* name;
    const char* concentration;
    const char* parametersScreen;
    const char* capture;
    const char* classCounts;
    bool daily;
    bool hourly;
    bool annualOnly;
    bool longTerm;
};

const char* const kMicro = "\xB5g/m3";
const char* const kPerMille = " \x89population";

const Expected kAll[] = {
    {"TSP", kMicro, kMicro, "days", "days", true, false, false, false},
    {"SO2", kMicro, kMicro, "days", "days", true, false, false, false},
    {"PM10", kMicro, kMicro, "days", "days", true, false, false, false},
    {"PM2.5", kMicro, kMicro, "days", "days", true, false, false, false},
    {"Pb", kMicro, kMicro, "days", kPerMille, false, false, true, false},
    {"O3 (1 hour avg)", kMicro, kMicro, "days", "days", false, true, false, false},
    {"O3 (8 hour avg)", kMicro, kMicro, "days", "days", false, true, false, false},
    {"NO2 (1 hour avg)", kMicro, kMicro, "days", "days", false, true, false, false},
    {"NO2 (daily avg)", kMicro, kMicro, "days", "days", true, false, false, false},
    {"CO", "mg/m3", "mg/m3", "hours", "hours", false, false, false, false},
    {"BS", kMicro, kMicro, "days", "days", true, false, false, false},
    {"B(a)P", "ng/m3", kMicro, "days", kPerMille, false, false, true, false},
    {"PM10 long term", kMicro, kMicro, "days", kPerMille, true, false, false, true},
    {"PM2.5 long term", kMicro, kMicro, "days", kPerMille, true, false, false, true},
    {"BS long term", kMicro, kMicro, "days", kPerMille, true, false, false, true},
    {"TSP long term", kMicro, kMicro, "days", kPerMille, true, false, false, true},
};

}  // namespace

TEST(PollutantRules, EveryPollutantGetsItsUnitsAndKinds) {
    for (const Expected& e : kAll) {
        SCOPED_TRACE(e.name);
        EXPECT_EQ(concentrationUnit(e.name), e.concentration);
        EXPECT_EQ(parametersScreenUnit(e.name), e.parametersScreen);
        EXPECT_EQ(captureUnit(e.name), e.capture);
        EXPECT_EQ(classCountUnit(e.name), e.classCounts);
        EXPECT_EQ(countsHours(e.name), std::string(e.name) == "CO");
        EXPECT_EQ(isDaily(e.name), e.daily);
        EXPECT_EQ(isHourly(e.name), e.hourly);
        EXPECT_EQ(isAnnualOnly(e.name), e.annualOnly);
        EXPECT_EQ(isLongTerm(e.name), e.longTerm);
    }
}

TEST(PollutantRules, HourlyMaximaAreOfEightHoursOnlyForTheEightHourOzone) {
    EXPECT_EQ(maximumHours("O3 (8 hour avg)"), 8);
    EXPECT_EQ(maximumHours("O3 (1 hour avg)"), 1);
    EXPECT_EQ(maximumHours("NO2 (1 hour avg)"), 1);
}

TEST(PollutantRules, ClassWidthOfAnOlderRecordFollowsItsPollutant) {
    EXPECT_EQ(intervalForPollutant(9), 2);   // "CO"
    EXPECT_EQ(intervalForPollutant(12), 1);  // "PM10 long term"
    EXPECT_EQ(intervalForPollutant(15), 1);  // "TSP long term"
    EXPECT_EQ(intervalForPollutant(1), 0);   // "SO2"
    EXPECT_EQ(intervalForPollutant(11), 0);  // "B(a)P"
    EXPECT_EQ(intervalForPollutant(16), 0);
    EXPECT_EQ(intervalForPollutant(-1), 0);
}

TEST(PollutantRules, NamesOutsideTheListFollowTheTextTests) {
    // Comparisons are exact and case-sensitive; "contains" finds a part anywhere in the name.
    EXPECT_EQ(concentrationUnit("co"), kMicro);
    EXPECT_EQ(concentrationUnit(""), kMicro);
    EXPECT_FALSE(isLongTerm("PM10 Long term"));
    EXPECT_TRUE(isLongTerm("x long term"));
    EXPECT_TRUE(isDaily("xPMx"));
    EXPECT_TRUE(isHourly("O3"));
    EXPECT_FALSE(isAnnualOnly("Pb "));
    EXPECT_EQ(classCountUnit("Pb"), kPerMille);
    EXPECT_EQ(classCountUnit(""), "days");
}
