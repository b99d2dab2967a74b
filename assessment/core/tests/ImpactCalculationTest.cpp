#include <gtest/gtest.h>

#include <cmath>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/ImpactCalculation.h"

using namespace assessment;

namespace {

constexpr long double kTolerance = 1e-12L;

// All days in one class, P thousand people, the yearly incidence per 100 000.
ImpactInputs oneClass(int k, std::int32_t days, long double rr, std::int32_t cutOff) {
    ImpactInputs in;
    in.exposed_pop = 100;
    in.days_total = days;
    in.class_counts[static_cast<std::size_t>(k)] = days;
    in.rel_risk = {0, rr, rr, rr};
    in.base_incidence = incidencePerCountedDay(1000, days);
    in.first_class = cutOff;
    return in;
}

long double rrOf(const ImpactResults& r, int j, int k) {
    return r.class_rr[static_cast<std::size_t>(j)][static_cast<std::size_t>(classPosition(k))];
}

bool allFinite(const ImpactResults& r) {
    for (const ImpactTable* t : {&r.pct_days, &r.cum_pct_days, &r.class_rr, &r.class_excess_rr, &r.class_ap_term,
                                 &r.class_excess_rate, &r.class_cases, &r.cum_excess_rate, &r.pct_cases,
                                 &r.cum_pct_cases})
        for (const auto& row : *t)
            for (long double v : row)
                if (!std::isfinite(v)) return false;
    for (long double v : r.chart_maxima)
        if (!std::isfinite(v)) return false;
    return true;
}

}  // namespace

TEST(ImpactCalculation, WorkedExampleOfOneYearInClassThree) {
    ImpactInputs in = oneClass(3, 365, 1.06L, 0);
    in.rel_risk = {0, 1.06L, 1.04L, 1.08L};
    ImpactResults r;
    calculateImpact(in, r);
    EXPECT_NEAR(r.impact_scale, 365, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 3), 1.09L, kTolerance);
    EXPECT_NEAR(r.impact_ap[1], 0.09L / 1.09L, kTolerance);
    EXPECT_NEAR(r.totalCases(1), 82.5688L, 1e-4L);
    const auto c3 = static_cast<std::size_t>(classPosition(3));
    EXPECT_NEAR(r.class_cases[1][c3], r.totalCases(1), 1e-9L);
    EXPECT_NEAR(r.cumCasesPer100k(1, classPosition(3)), 82.5688L, 1e-4L);
    EXPECT_NEAR(r.chart_maxima[8], 1000 * 0.12L / 1.12L, 1e-9L);  // the upper estimate
    EXPECT_EQ(r.pct_days[1][c3], 100);
    for (int k = 3; k <= 25; ++k)
        EXPECT_NEAR(r.cum_pct_cases[1][static_cast<std::size_t>(classPosition(k))], 100, kTolerance) << k;
    EXPECT_EQ(r.pct_cases[1][static_cast<std::size_t>(classPosition(2))], 0);
    EXPECT_NEAR(rrOf(r, 2, 3), 1.06L, kTolerance);  // lower: 1 + 1.5 * 0.04
    EXPECT_NEAR(r.chart_maxima[3], 1 + 43.5L * 0.08L, kTolerance);
    EXPECT_NEAR(r.chart_maxima[4], r.totalCases(3), 1e-9L);
    EXPECT_EQ(r.chart_maxima[1], 100);
    EXPECT_EQ(r.chart_maxima[2], 100);
    EXPECT_EQ(r.chart_maxima[6], 100);
    EXPECT_EQ(r.chart_maxima[7], 100);
    EXPECT_EQ(r.class_present[3], 365);
}

TEST(ImpactCalculation, LadderForTheCutOffs) {
    const long double e = 0.1L;
    ImpactResults r;
    calculateImpact(oneClass(25, 10, 1 + e, 0), r);
    EXPECT_NEAR(rrOf(r, 1, 1), 1, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 2), 1 + 0.5L * e, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 20), 1 + 18.5L * e, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 21), 1 + 23.5L * e, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 25), 1 + 43.5L * e, kTolerance);

    calculateImpact(oneClass(25, 10, 1 + e, 19), r);
    EXPECT_NEAR(rrOf(r, 1, 20), 1, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 21), 1 + 0.5L * e, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 22), 1 + 5.5L * e, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 25), 1 + 20.5L * e, kTolerance);

    calculateImpact(oneClass(25, 10, 1 + e, 21), r);
    EXPECT_EQ(rrOf(r, 1, 22), 1);  // whatever the earlier calculation left there
    EXPECT_NEAR(rrOf(r, 1, 23), 1 + 0.5L * e, kTolerance);
    EXPECT_NEAR(rrOf(r, 1, 24), 1 + 5.5L * e, kTolerance);

    calculateImpact(oneClass(25, 10, 1 + e, 23), r);
    EXPECT_EQ(rrOf(r, 1, 24), 1);
    EXPECT_NEAR(rrOf(r, 1, 25), 1 + 0.5L * e, kTolerance);
    EXPECT_NEAR(r.impact_ap[1], 0.5L * e / (1 + 0.5L * e), kTolerance);
}

TEST(ImpactCalculation, NoEffectAndNoCountedDays) {
    ImpactResults r;
    for (long double rr : {1.0L, 0.9L}) {
        calculateImpact(oneClass(10, 365, rr, 0), r);
        for (int k = 1; k <= 25; ++k) EXPECT_EQ(rrOf(r, 1, k), 1);
        EXPECT_EQ(r.impact_ap[1], 0);
        EXPECT_EQ(r.impact_rate[1], 0);
        EXPECT_EQ(r.pct_cases[1][static_cast<std::size_t>(classPosition(10))], 0);
        EXPECT_EQ(r.cum_pct_cases[1][kLastClassPosition], 0);
    }

    // Days only below the reference class.
    calculateImpact(oneClass(2, 365, 1.5L, 5), r);
    EXPECT_EQ(r.ap_denominator[1], 0);
    EXPECT_EQ(r.impact_ap[1], 0);
    EXPECT_EQ(r.totalCases(1), 0);

    ImpactInputs none = oneClass(2, 0, 1.5L, 0);
    calculateImpact(none, r);
    for (int i = kFirstClassPosition; i <= kLastPosition; ++i) EXPECT_EQ(r.pct_days[1][static_cast<std::size_t>(i)], 0);
    EXPECT_EQ(r.totalCases(1), 0);
    EXPECT_TRUE(allFinite(r));
}

TEST(ImpactCalculation, NoExposedPopulationGivesZeroPerHundredThousand) {
    ImpactInputs in = oneClass(3, 365, 1.06L, 0);
    in.exposed_pop = 0;
    ImpactResults r;
    calculateImpact(in, r);
    EXPECT_TRUE(allFinite(r));
    EXPECT_EQ(r.chart_maxima[8], 0);
    EXPECT_EQ(r.totalCases(1), 0);
    EXPECT_NEAR(r.impact_ap[1], 0.09L / 1.09L, kTolerance);
}

TEST(ImpactCalculation, MaximaComeFromTheLatestCallOnly) {
    ImpactResults r;
    ImpactInputs big = oneClass(25, 365, 2.0L, 0);
    big.exposed_pop = 5000;
    calculateImpact(big, r);
    const auto bigMaxima = r.chart_maxima;
    calculateImpact(oneClass(3, 365, 1.01L, 0), r);
    for (std::size_t m : {3u, 4u, 5u, 8u}) EXPECT_LT(r.chart_maxima[m], bigMaxima[m]) << m;
    EXPECT_EQ(r.chart_maxima[1], 100);
    EXPECT_NEAR(r.chart_maxima[3], 1 + 43.5L * 0.01L, kTolerance);

    ImpactResults fresh;
    calculateImpact(oneClass(3, 365, 1.01L, 0), fresh);
    EXPECT_EQ(r.chart_maxima, fresh.chart_maxima);
    EXPECT_EQ(r.cum_excess_rate, fresh.cum_excess_rate);
}

TEST(ImpactCalculation, MaximaAreTheLargestTableValues) {
    ImpactInputs in;
    in.exposed_pop = 730;
    for (int k = 1; k <= 25; ++k) {
        in.class_counts[static_cast<std::size_t>(k)] = (k * 7) % 11;
        in.days_total += (k * 7) % 11;
    }
    in.rel_risk = {0, 1.06L, 1.02L, 1.11L};
    in.base_incidence = incidencePerCountedDay(800, in.days_total);
    in.first_class = 3;
    ImpactResults r;
    calculateImpact(in, r);
    long double m1 = 0, m3 = 0, m4 = 0, m5 = 0, m8 = 0;
    for (int j = 1; j <= 3; ++j) {
        const auto sj = static_cast<std::size_t>(j);
        for (int i = kFirstClassPosition; i <= kLastClassPosition; ++i) {
            m1 = std::max(m1, r.pct_days[sj][static_cast<std::size_t>(i)]);
            if (i < referencePosition(3)) continue;
            m3 = std::max(m3, r.class_rr[sj][static_cast<std::size_t>(i)]);
            m4 = std::max(m4, r.class_cases[sj][static_cast<std::size_t>(i)]);
            m5 = std::max(m5, r.cumCases(j, i));
            m8 = std::max(m8, r.cumCasesPer100k(j, i));
        }
    }
    EXPECT_EQ(r.chart_maxima[1], m1);
    EXPECT_EQ(r.chart_maxima[3], m3);
    EXPECT_EQ(r.chart_maxima[4], m4);
    EXPECT_EQ(r.chart_maxima[5], m5);
    EXPECT_EQ(r.chart_maxima[8], m8);
    EXPECT_NEAR(r.cum_pct_days[2][kLastClassPosition], 100, kTolerance);
    EXPECT_EQ(r.pct_days[3], r.pct_days[1]);
}

TEST(ImpactCalculation, MaximaStartAtZeroAndFollowTheSignOfThePopulation) {
    ImpactResults r;
    ImpactInputs in = oneClass(3, 365, 1.06L, 0);
    in.base_incidence = -in.base_incidence;  // every excess negative: no maximum rises above 0
    calculateImpact(in, r);
    EXPECT_LT(r.totalCases(1), 0);
    EXPECT_EQ(r.chart_maxima[4], 0);
    EXPECT_EQ(r.chart_maxima[5], 0);
    EXPECT_EQ(r.chart_maxima[8], 0);

    // A negative population turns the cases negative but not the cases per 100 000 inhabitants.
    in = oneClass(3, 365, 1.06L, 0);
    in.exposed_pop = -100;
    calculateImpact(in, r);
    EXPECT_EQ(r.chart_maxima[4], 0);
    EXPECT_EQ(r.chart_maxima[5], 0);
    EXPECT_NEAR(r.chart_maxima[8], 82.5688L, 1e-4L);
    EXPECT_EQ(r.chart_maxima[8], r.cumCasesPer100k(1, kLastClassPosition));
}

TEST(ImpactCalculation, HugeCountsWrapLikeThe32BitProduct) {
    ImpactInputs in = oneClass(3, 365, 1.06L, 0);
    in.class_counts[3] = 30000000;  // 100 * n exceeds the 32-bit range
    in.class_counts[4] = std::numeric_limits<std::int32_t>::min();
    ImpactResults r;
    calculateImpact(in, r);
    EXPECT_NEAR(r.pct_days[1][static_cast<std::size_t>(classPosition(3))] * 365, -1294967296.0L, 1e-6L);
    EXPECT_EQ(r.pct_days[1][static_cast<std::size_t>(classPosition(4))], 0);
    EXPECT_TRUE(allFinite(r));
}

TEST(ImpactCalculation, InputsComeFromTheState) {
    AssessmentState state;
    state.exposed_pop = 100;
    state.days_total = 365;
    state.aq_record[classField(3)] = 365;
    state.rel_risk = {0, 1.06L, 1.06L, 1.06L};
    state.base_incidence = incidencePerCountedDay(1000, 365);
    calculateImpact(impactInputsFrom(state), state.impact);
    EXPECT_NEAR(state.impact.totalCases(1), 82.5688L, 1e-4L);
}
