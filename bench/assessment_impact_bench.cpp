// The impact calculation for one record: 25 class counts, three relative risks.
#include <benchmark/benchmark.h>

#include "assessment/core/ImpactCalculation.h"

namespace {

assessment::ImpactInputs typicalRecord() {
    assessment::ImpactInputs in;
    in.exposed_pop = 250;
    in.days_total = 0;
    for (int k = 1; k <= 25; ++k) {
        const std::int32_t days = k <= 12 ? 30 - 2 * k : 1;
        in.class_counts[static_cast<std::size_t>(k)] = days;
        in.days_total += days;
    }
    in.rel_risk = {0, 1.06L, 1.04L, 1.08L};
    in.base_incidence = assessment::incidencePerCountedDay(1000, in.days_total);
    in.first_class = 2;
    return in;
}

void BM_CalculateImpact(benchmark::State& state) {
    const assessment::ImpactInputs in = typicalRecord();
    assessment::ImpactResults out;
    for (auto _ : state) {
        assessment::calculateImpact(in, out);
        benchmark::DoNotOptimize(out.impact_rate);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_CalculateImpact);

}  // namespace

BENCHMARK_MAIN();
