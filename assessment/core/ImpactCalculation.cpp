#include "assessment/core/ImpactCalculation.h"

#include "assessment/core/AssessmentState.h"

namespace assessment {

namespace {

constexpr int kWideClassFirst = 21;  // classes 21..24 are five class widths wide; 25 is open

// 100 * n formed as a 32-bit product: a count beyond the 32-bit range wraps as such a product does.
std::int32_t hundredTimes(std::int32_t n) {
    return static_cast<std::int32_t>(100u * static_cast<std::uint32_t>(n));
}

void raise(long double& maximum, long double value) {
    if (value > maximum) maximum = value;
}

}  // namespace

ImpactInputs impactInputsFrom(const AssessmentState& state) {
    ImpactInputs in;
    in.exposed_pop = state.exposed_pop;
    in.days_total = state.days_total;
    for (int k = 1; k <= kClassCount; ++k) in.class_counts[static_cast<std::size_t>(k)] = state.aq_record[k + 3];
    in.rel_risk = state.rel_risk;
    in.base_incidence = state.base_incidence;
    in.first_class = state.first_class;
    return in;
}

long double incidencePerCountedDay(long double yearlyIncidence, std::int32_t daysTotal) {
    if (daysTotal == 0) return 0;
    return yearlyIncidence / static_cast<long double>(daysTotal);
}

void calculateImpact(const ImpactInputs& in, ImpactResults& out) {
    const long double days = static_cast<long double>(in.days_total);
    const long double pop = static_cast<long double>(in.exposed_pop);
    // A cut-off outside the list cannot come from the screens; it is held to the list's range so
    // that no table is addressed outside its positions.
    std::int32_t cutOff = in.first_class;
    if (cutOff < 0) cutOff = 0;
    if (cutOff > 23) cutOff = 23;
    const int refClass = cutOff + 1;
    const int refPos = referencePosition(cutOff);

    out.impact_scale = days * (pop / 100);
    for (int k = 1; k <= kClassCount; ++k) out.class_present[static_cast<std::size_t>(k)] = in.class_counts[static_cast<std::size_t>(k)];
    out.chart_maxima.fill(0);
    out.chart_maxima[2] = 100;
    out.chart_maxima[6] = 100;
    out.chart_maxima[7] = 100;

    for (std::size_t j = 1; j <= kEstimates; ++j) {
        auto& pctDays = out.pct_days[j];
        auto& cumPctDays = out.cum_pct_days[j];
        auto& classRr = out.class_rr[j];
        auto& excessRr = out.class_excess_rr[j];
        auto& apTerm = out.class_ap_term[j];
        auto& excessRate = out.class_excess_rate[j];
        auto& cases = out.class_cases[j];
        auto& cumRate = out.cum_excess_rate[j];
        auto& pctCases = out.pct_cases[j];
        auto& cumPctCases = out.cum_pct_cases[j];
        auto& cumCases = out.cum_cases[j];
        auto& cumPer100k = out.cum_cases_per_100k[j];

        out.ap_numerator[j] = 0;
        out.ap_denominator[j] = 0;
        out.impact_ap[j] = 0;
        cumPctDays[kFirstPosition] = 0;
        cumRate[static_cast<std::size_t>(refPos - 1)] = 0;
        pctDays[kLastPosition] = 0;

        // Days per class.
        for (std::size_t i = kFirstClassPosition; i <= kLastClassPosition; ++i) {
            const std::int32_t n = in.class_counts[i - 16];
            pctDays[i] = in.days_total == 0 ? 0 : static_cast<long double>(hundredTimes(n)) / days;
            raise(out.chart_maxima[1], pctDays[i]);
            cumPctDays[i] = cumPctDays[i - 1] + pctDays[i];
        }

        // The risk step per class width; a relative risk of 1 or less has no effect.
        const long double rr = in.rel_risk[j];
        const long double e = rr > 1.0L ? rr - 1 : 0;

        // The ladder: 1 at the reference class, half a step into the next class, then one step per
        // narrow class and five steps per wide class (the open top class included).
        classRr[static_cast<std::size_t>(refPos)] = 1.0L;
        if (refClass + 1 <= kClassCount) classRr[static_cast<std::size_t>(classPosition(refClass + 1))] = 1 + 0.5L * e;
        for (int k = refClass + 2; k <= kClassCount; ++k) {
            const auto i = static_cast<std::size_t>(classPosition(k));
            classRr[i] = classRr[i - 1] + (k < kWideClassFirst ? e : 5 * e);
        }

        // Attributable proportion over the classes from the reference class up.
        for (auto i = static_cast<std::size_t>(refPos); i <= kLastClassPosition; ++i) {
            excessRr[i] = classRr[i] - 1;
            out.ap_denominator[j] += pctDays[i] * classRr[i] / 100;
            apTerm[i] = pctDays[i] / 100 * excessRr[i];
            raise(out.chart_maxima[3], classRr[i]);
            out.ap_numerator[j] += apTerm[i];
        }
        out.impact_ap[j] = out.ap_denominator[j] == 0 ? 0 : out.ap_numerator[j] / out.ap_denominator[j];
        out.background_rate[j] = (1 - out.impact_ap[j]) * in.base_incidence;

        // Excess incidence and cases.
        for (auto i = static_cast<std::size_t>(refPos); i <= kLastClassPosition; ++i) {
            excessRate[i] = apTerm[i] * out.background_rate[j];
            cases[i] = excessRate[i] * out.impact_scale;
            raise(out.chart_maxima[4], cases[i]);
            cumRate[i] = cumRate[i - 1] + excessRate[i];
            cumCases[i] = cumRate[i] * out.impact_scale;
            raise(out.chart_maxima[5], cumCases[i]);
            cumPer100k[i] = in.exposed_pop == 0 ? 0 : cumCases[i] / pop * 100;
            raise(out.chart_maxima[8], cumPer100k[i]);
        }
        out.impact_rate[j] = cumRate[kLastClassPosition];

        // Shares of the estimate's excess cases.
        for (auto i = static_cast<std::size_t>(refPos); i <= kLastClassPosition; ++i) {
            if (out.impact_rate[j] == 0) {
                pctCases[i] = 0;
                cumPctCases[i] = 0;
            } else {
                pctCases[i] = excessRate[i] / out.impact_rate[j] * 100;
                cumPctCases[i] = cumRate[i] * 100 / out.impact_rate[j];
            }
        }
    }
}

}  // namespace assessment
