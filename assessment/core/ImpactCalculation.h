#pragma once
// The impact calculation: from one record's counts in the 25 concentration classes, the exposed
// population, the baseline incidence and the three relative risks (central, lower, upper) to the
// attributable proportion and the excess cases, class by class and in total.
//
// Tables are indexed the way the results grid and the chart read them: estimate j = 1..3 (index 0
// unused) and class position i = 16..42, where class k (1..25) sits at position k + 16.
// Positions below the reference class (position first_class + 17) are written only by the day
// tables; a calculation leaves the other tables there as they were.
#include <array>
#include <cstdint>

#include "assessment/core/AqRecord.h"

namespace assessment {

constexpr int kEstimates = 3;
constexpr int kFirstPosition = 16;  // the starting zero of the running sums of the days
constexpr int kLastPosition = 42;   // stays 0
constexpr int kFirstClassPosition = 17;
constexpr int kLastClassPosition = 41;

// The table position of class k (1..25).
constexpr int classPosition(int k) { return k + 16; }
// The table position of the reference class for a cut-off c (0..23).
constexpr int referencePosition(std::int32_t cutOff) { return cutOff + 17; }

// The cut-off as the calculation, the results table and the chart use it: a value outside the
// list "Calculate impact of concentrations >" (0..23) is held to the list's range, so that no table
// is addressed outside its positions and all three agree on the reference class.
constexpr std::int32_t effectiveCutOff(std::int32_t firstClass) {
    return firstClass < 0 ? 0 : (firstClass > 23 ? 23 : firstClass);
}

struct ImpactInputs {
    std::int32_t exposed_pop = 0;              // P, thousands
    std::int32_t days_total = 0;               // N, counted days
    std::array<std::int32_t, kClassCount + 1> class_counts{};  // [1..25]: n_k (record fields 4..28)
    std::array<long double, 4> rel_risk{};     // [1..3]: central, lower, upper, per class width
    long double base_incidence = 0;            // per 100 000 per counted day
    std::int32_t first_class = 0;              // cut-off 0..23
};

// [estimate 0..3][position 0..42]; only [1..3][16..42] are used.
using ImpactTable = std::array<std::array<long double, kLastPosition + 1>, kEstimates + 1>;
using EstimateValues = std::array<long double, kEstimates + 1>;  // [1..3]

struct ImpactResults {
    // Per class.
    ImpactTable pct_days{};           // 100 n_k / N
    ImpactTable cum_pct_days{};       // running sum of pct_days from class 1
    ImpactTable class_rr{};           // relative risk of the class
    ImpactTable class_excess_rr{};    // class_rr - 1
    ImpactTable class_ap_term{};      // pct_days / 100 * class_excess_rr
    ImpactTable class_excess_rate{};  // per 100 000 per counted day
    ImpactTable class_cases{};        // excess cases of the class
    ImpactTable cum_excess_rate{};    // running sum from the reference class
    ImpactTable pct_cases{};          // share of the estimate's excess cases, percent
    ImpactTable cum_pct_cases{};      // running sum of that share, percent

    // Per estimate.
    EstimateValues ap_numerator{};
    EstimateValues ap_denominator{};
    EstimateValues impact_ap{};        // attributable proportion, a fraction
    EstimateValues background_rate{};  // per 100 000 per counted day
    EstimateValues impact_rate{};      // total excess incidence per 100 000 per counted day

    // Scalars.
    long double impact_scale = 0;                 // N * P / 100
    std::array<long double, 9> chart_maxima{};    // [1..8]: largest value of each grid column
    std::array<std::int32_t, kClassCount + 1> class_present{}; // [1..25]: copy of the class counts

    std::int32_t exposed_pop = 0;                 // P of the calculation

    // Total excess cases of estimate j.
    long double totalCases(int j) const { return impact_rate[static_cast<std::size_t>(j)] * impact_scale; }
    // Cumulated excess cases up to position i ("Cum.#"), from the reference class on.
    long double cumCases(int j, int i) const {
        return cum_excess_rate[static_cast<std::size_t>(j)][static_cast<std::size_t>(i)] * impact_scale;
    }
    // The same per 100 000 inhabitants ("Cum # per 100 000"); 0 when the population is 0.
    long double cumCasesPer100k(int j, int i) const {
        if (exposed_pop == 0) return 0;
        return cumCases(j, i) / static_cast<long double>(exposed_pop) * 100;
    }
};

struct AssessmentState;

// The inputs as the screens have published them in the program-wide state.
ImpactInputs impactInputsFrom(const AssessmentState& state);

// Rewrites every result that the screens read. Checks no input; a population of 0 gives 0 for the
// per-100 000 figures, so no NaN or infinity enters a table through it.
void calculateImpact(const ImpactInputs& in, ImpactResults& out);

// The baseline incidence per 100 000 per counted day: the yearly figure divided by the counted
// days, or 0 when there are none.
long double incidencePerCountedDay(long double yearlyIncidence, std::int32_t daysTotal);

}  // namespace assessment
