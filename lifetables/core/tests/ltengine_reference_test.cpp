// An independent recomputation of a whole calculation on realistic five-year data, written
// directly from the life-table formulas with plain vectors, compared with the engine's results.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "lifetables/core/LTCalculation.h"
#include "lifetables/core/LTChecks.h"
#include "lifetables/core/tests/ltengine_TestState.h"

namespace lifetables {
namespace {

struct Settings {
    int effect = 0;
    std::array<bool, 3> checked{};
    bool advanced = false;
};

const std::array<testing::RiskLine, 3> kRisks = {{{30, 120, 0.00602, 0.0022654},
                                     {30, 120, 0.008933, 0.002907},
                                     {35, 95, 0.012673, 0.00426}}};
constexpr int kStartYear = 2010;
constexpr double kMean = 28, kReference = 7.5;
constexpr double kPercPoll = 95;
constexpr int kPollUntil = 2030;
constexpr double kBirthSlope = 80;
constexpr int kBirthFrom = 2015, kBirthUntil = 2019;
constexpr double kWeightAge = 0.7;
constexpr int kWeightAgeFrom = 0, kWeightAgeUntil = 14;
constexpr double kWeightYears = 0.9;
constexpr int kWeightYearsFrom = 2012, kWeightYearsUntil = 2013;

// Twenty five-year groups 0-4 .. 95-99 with a realistic age pattern of population and deaths.
std::vector<testing::AgeGroup> realisticGroups(bool female) {
    std::vector<testing::AgeGroup> groups;
    for (int g = 0; g < 20; ++g) {
        const double from = 5.0 * g;
        const double mid = from + 2.5;
        const double pop = (female ? 310000 : 300000) * (g < 12 ? 1.0 : std::exp(-0.35 * (g - 11)));
        const double rate = (female ? 0.6 : 1.0) * (0.00005 + 0.00003 * std::exp(0.095 * mid)) + (g == 0 ? 0.001 : 0);
        const double cardio = mid < 30 ? 0.05 : 0.45;
        const double lca = mid < 35 ? 0.0 : (female ? 0.03 : 0.07);
        groups.push_back({from, from + 4, pop, pop * rate, pop * rate * cardio, pop * rate * lca});
    }
    return groups;
}

// The expected results of one sex.
struct Expected {
    std::array<std::array<double, 3>, 10> T{};
    std::array<std::array<double, 4>, 101> lifeExp{};  // [row][scenario]
};

Expected recompute(const std::vector<testing::AgeGroup>& groups, const Settings& set) {
    const int ages = 100, years = 120;
    // Relative risks at the level: scenario 1 central, 2 lower, 3 upper.
    const double d = kReference - kMean;
    auto betaOf = [](int cause, int scenario) {
        const testing::RiskLine& r = kRisks[cause];
        return scenario == 1 ? r.beta : scenario == 2 ? r.beta - 1.96 * r.se : r.beta + 1.96 * r.se;
    };
    auto inWindow = [](int cause, double age) { return kRisks[cause].from <= age && age < kRisks[cause].until; };
    auto riskOfYear = [&](int cause, int scenario, int year) {
        if (!set.advanced) return std::exp(betaOf(cause, scenario) * d);
        const int n = std::min(year, kPollUntil) - kStartYear + 1;
        const double dx = std::pow(kPercPoll / 100, n) * kMean - kReference;
        return dx <= 0 ? 1.0 : std::exp(betaOf(cause, scenario) * dx);
    };

    // Death rates by single age (row = age + 1) and year.
    std::vector<std::vector<std::array<double, 4>>> rate(ages + 1, std::vector<std::array<double, 4>>(years + 1));
    std::vector<double> startPop(ages + 1);
    for (int age = 0; age < ages; ++age) {
        const testing::AgeGroup& g = groups[age / 5];
        const double all = g.deathsAll / g.population;
        const double cardio = g.deathsCardio / g.population;
        const double lca = g.deathsLCA / g.population;
        const int e = set.effect;
        const double m1 = e == 0 ? all : e == 1 ? cardio : lca;
        const double m2 = e == 0 ? 0 : e == 1 ? lca : cardio;
        const int other = 3 - e;
        const double rr2 = e != 0 && inWindow(other, age) && set.checked[other] ? std::exp(kRisks[other].beta * d) : 1.0;
        for (int j = 1; j <= years; ++j) {
            for (int s = 0; s < 4; ++s) {
                const double rr1 = s > 0 && inWindow(e, age) ? riskOfYear(e, s, kStartYear + j - 1) : 1.0;
                rate[age + 1][j][s] = (all - m1 - m2) + m1 * rr1 + m2 * rr2;
            }
        }
        // The group's start population spread geometrically with the group's survival ratio.
        const double q = (2 - all) / (2 + all);
        const double groupStart = g.population * (1 + all / 2);
        const int k = age % 5;
        const double share = std::pow(q, k) / (1 + q + q * q + q * q * q + q * q * q * q);
        startPop[age + 1] = groupStart * share;
    }

    Expected out;
    std::array<std::vector<std::vector<double>>, 4> N, L, D;
    for (int s = 0; s < 4; ++s) {
        N[s] = L[s] = D[s] = std::vector<std::vector<double>>(ages + 1, std::vector<double>(years + 1));
        for (int a = 1; a <= ages; ++a) N[s][a][1] = startPop[a];
        for (int j = 1; j <= years; ++j) {
            const int year = kStartYear + j - 1;
            const bool window = set.advanced && year >= kBirthFrom && year <= kBirthUntil;
            N[s][1][j] = startPop[1] * (window ? kBirthSlope / 100 : 1.0);
        }
        for (int a = 2; a <= ages; ++a) {
            for (int j = 2; j <= years; ++j) {
                const double m = rate[a - 1][j - 1][s];
                N[s][a][j] = N[s][a - 1][j - 1] * (2 - m) / (2 + m);
            }
        }
        for (int a = 1; a <= ages; ++a) {
            for (int j = 1; j <= years; ++j) {
                const int age = a - 1, year = kStartYear + j - 1;
                double w = 1;
                if (set.advanced && age >= kWeightAgeFrom && age <= kWeightAgeUntil) w *= kWeightAge;
                if (set.advanced && year >= kWeightYearsFrom && year <= kWeightYearsUntil) w *= kWeightYears;
                const double m = rate[a][j][s];
                L[s][a][j] = w * N[s][a][j] * 2 / (2 + m);
                D[s][a][j] = L[s][a][j] * m;
            }
        }
    }
    for (int s = 0; s < 4; ++s) {
        for (int a = 1; a <= ages; ++a) {
            double lived = 0;
            for (int k = 0; a + k <= ages && 1 + k <= years; ++k) lived += L[s][a + k][1 + k];
            out.lifeExp[a][s] = lived / N[s][a][1];
        }
    }
    double popAll = 0, pop65 = 0, pop10 = 0;
    for (int a = 1; a <= ages; ++a) {
        popAll += N[0][a][1];
        if (a - 1 < 65) pop65 += N[0][a][1];
        if (a - 1 < 10) pop10 += N[0][a][1];
    }
    for (int sc = 0; sc < 3; ++sc) {
        const int s = sc + 1;
        auto& T = out.T;
        for (int a = 1; a <= ages; ++a) {
            const double diff = L[s][a][1] - L[0][a][1];
            T[0][sc] += diff;
            if (a - 1 < 65) T[1][sc] += diff;
            if (a - 1 < 10) T[2][sc] += diff;
            for (int j = 1; j <= 10; ++j) T[6][sc] += L[s][a][j] - L[0][a][j];
            T[8][sc] += (D[0][a][1] - D[s][a][1]) * out.lifeExp[a][s];
        }
        T[3][sc] = 1e5 * T[0][sc] / popAll;
        T[4][sc] = 1e5 * T[1][sc] / pop65;
        T[5][sc] = 1e5 * T[2][sc] / pop10;
        T[7][sc] = 1e5 * T[6][sc] / popAll;
        T[9][sc] = 1e5 * T[8][sc] / popAll;
    }
    return out;
}

void expectClose(double engine, double expected, const std::string& what) {
    const double scale = std::max({1.0, std::abs(expected)});
    EXPECT_NEAR(engine, expected, 1e-9 * scale) << what;
}

class IndependentRecomputation : public ::testing::TestWithParam<Settings> {};

TEST_P(IndependentRecomputation, MaleAndFemaleFiveYearGroups) {
    const Settings set = GetParam();
    auto state = testing::makeState();
    LTState& st = *state;
    testing::setNeutralSettings(st);
    st.LTinfos.startYear = kStartYear;
    st.LTinfos.effect = set.effect;
    st.LTcauseChecked = set.checked;
    testing::setRiskLines(st, kRisks);
    testing::setLevels(st, 7.5, 80, kReference, kMean);
    auto& s = st.LTRRsettings;
    if (set.advanced) {
        s.advanced = true;
        s.percPoll = kPercPoll;
        s.percPollFromYear = kStartYear;
        s.percPollUntilYear = kPollUntil;
        s.birthSlope = kBirthSlope;
        s.birthFromYear = kBirthFrom;
        s.birthUntilYear = kBirthUntil;
        s.weightAge = kWeightAge;
        s.weightAgeFromAge = kWeightAgeFrom;
        s.weightAgeUntilAge = kWeightAgeUntil;
        s.weightYears = kWeightYears;
        s.weightYearsFromYear = kWeightYearsFrom;
        s.weightYearsUntilYear = kWeightYearsUntil;
    }
    const auto male = realisticGroups(false), female = realisticGroups(true);
    testing::setGroups(st, 1, male);
    testing::setGroups(st, 2, female);
    testing::MessageLog log;
    ASSERT_TRUE(ltRunCalculation(st, log.sink(), nullptr));
    EXPECT_TRUE(log.messages.empty());

    for (int sex : {1, 2}) {
        const Expected expected = recompute(sex == 1 ? male : female, set);
        for (int t = 0; t < 10; ++t) {
            for (int sc = 0; sc < 3; ++sc) {
                expectClose(st.LTsummary[t][sc][sex], expected.T[t][sc],
                            "sex " + std::to_string(sex) + " T" + std::to_string(t) + " scenario " + std::to_string(sc));
            }
        }
        for (int a = 1; a <= 100; ++a) {
            for (int k = 0; k < 4; ++k) {
                expectClose(st.LTlifeExp[a][k][sex], expected.lifeExp[a][k], "life expectancy row " + std::to_string(a));
                expectClose(st.LTlifeExpDelta[a][k][sex], expected.lifeExp[a][k] - expected.lifeExp[a][0],
                            "delta row " + std::to_string(a));
            }
        }
        // Sanity of the data set itself: a plausible life expectancy at birth.
        EXPECT_GT(expected.lifeExp[1][0], 65);
        EXPECT_LT(expected.lifeExp[1][0], 90);
    }
    EXPECT_FALSE(st.LTresultValid[3]);
}

INSTANTIATE_TEST_SUITE_P(Settings, IndependentRecomputation,
                         ::testing::Values(Settings{0, {false, false, false}, false},
                                           Settings{1, {false, true, true}, false},
                                           Settings{2, {false, true, false}, false},
                                           Settings{0, {false, false, false}, true},
                                           Settings{1, {false, false, true}, true}));

}  // namespace
}  // namespace lifetables
