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
    for (int k = 1; k <= kClassCount; ++k) in.class_counts[static_cast<std::size_t>(k)] = state.aq_record[classField(k)];
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
    const std::int32_t cutOff = effectiveCutOff(in.first_class);
    const int refClass = cutOff + 1;
    const auto refPos = static_cast<std::size_t>(referencePosition(cutOff));

    const long double scale = days * (pop / 100);
    out.impact_scale = scale;
    for (int k = 1; k <= kClassCount; ++k) out.class_present[static_cast<std::size_t>(k)] = in.class_counts[static_cast<std::size_t>(k)];
    // The maxima are kept in locals while the tables are written and stored at the end.
    long double maxPctDays = 0, maxRr = 0, maxCases = 0, maxCumCases = 0, maxPer100k = 0;

    // Days per class: the same for all three estimates, so they are worked out once.
    std::array<long double, kLastPosition + 1> dayFraction{};  // pct_days / 100
    {
        auto& pctDays = out.pct_days[1];
        auto& cumPctDays = out.cum_pct_days[1];
        long double cum = 0;
        cumPctDays[kFirstPosition] = 0;
        for (std::size_t i = kFirstClassPosition; i <= kLastClassPosition; ++i) {
            const long double pct = in.days_total == 0 ? 0 : static_cast<long double>(hundredTimes(in.class_counts[i - 16])) / days;
            pctDays[i] = pct;
            raise(maxPctDays, pct);
            cum += pct;
            cumPctDays[i] = cum;
            dayFraction[i] = pct / 100;
        }
        pctDays[kLastPosition] = 0;
        for (std::size_t j = 2; j <= kEstimates; ++j) {
            out.pct_days[j] = pctDays;
            out.cum_pct_days[j] = cumPctDays;
        }
    }
    const auto& pctDays = out.pct_days[1];

    for (std::size_t j = 1; j <= kEstimates; ++j) {
        auto& classRr = out.class_rr[j];
        auto& excessRr = out.class_excess_rr[j];
        auto& apTerm = out.class_ap_term[j];
        auto& excessRate = out.class_excess_rate[j];
        auto& cases = out.class_cases[j];
        auto& cumRate = out.cum_excess_rate[j];
        auto& pctCases = out.pct_cases[j];
        auto& cumPctCases = out.cum_pct_cases[j];

        // The risk step per class width; a relative risk of 1 or less has no effect.
        const long double rr = in.rel_risk[j];
        const long double e = rr > 1.0L ? rr - 1 : 0;

        // The ladder: 1 at the reference class, half a step into the next class, then one step per
        // narrow class and five steps per wide class (the open top class included). With it the
        // attributable proportion over the classes from the reference class up.
        long double numerator = 0;
        long double denominator = 0;
        long double classRisk = 1.0L;
        for (std::size_t i = refPos; i <= kLastClassPosition; ++i) {
            const int k = static_cast<int>(i) - 16;
            if (k == refClass + 1) classRisk = 1 + 0.5L * e;
            else if (k > refClass + 1) classRisk = classRisk + (k < kWideClassFirst ? e : 5 * e);
            classRr[i] = classRisk;
            const long double excess = classRisk - 1;
            excessRr[i] = excess;
            denominator += pctDays[i] * classRisk / 100;
            const long double term = dayFraction[i] * excess;
            apTerm[i] = term;
            raise(maxRr, classRisk);
            numerator += term;
        }
        const long double ap = denominator == 0 ? 0 : numerator / denominator;
        out.ap_numerator[j] = numerator;
        out.ap_denominator[j] = denominator;
        out.impact_ap[j] = ap;
        const long double background = (1 - ap) * in.base_incidence;
        out.background_rate[j] = background;

        // Excess incidence and cases.
        long double cum = 0;
        cumRate[refPos - 1] = 0;
        for (std::size_t i = refPos; i <= kLastClassPosition; ++i) {
            const long double rate = apTerm[i] * background;
            excessRate[i] = rate;
            const long double classCases = rate * scale;
            cases[i] = classCases;
            raise(maxCases, classCases);
            cum += rate;
            cumRate[i] = cum;
            raise(maxCumCases, cum * scale);
        }
        if (in.exposed_pop < 0) {
            for (std::size_t i = refPos; i <= kLastClassPosition; ++i) raise(maxPer100k, cumRate[i] * scale / pop * 100);
        }
        const long double total = cum;
        out.impact_rate[j] = total;

        // Shares of the estimate's excess cases.
        if (total == 0) {
            for (std::size_t i = refPos; i <= kLastClassPosition; ++i) {
                pctCases[i] = 0;
                cumPctCases[i] = 0;
            }
        } else {
            for (std::size_t i = refPos; i <= kLastClassPosition; ++i) {
                pctCases[i] = excessRate[i] / total * 100;
                cumPctCases[i] = cumRate[i] * 100 / total;
            }
        }
    }

    // The largest cumulated cases per 100 000 inhabitants belong to the largest cumulated cases:
    // dividing by a positive population and scaling by 100 keeps the order of the values.
    if (in.exposed_pop > 0) maxPer100k = maxCumCases / pop * 100;
    out.exposed_pop = in.exposed_pop;
    out.chart_maxima = {0, maxPctDays, 100, maxRr, maxCases, maxCumCases, 100, 100, maxPer100k};
}

}  // namespace assessment
