// One full life-table calculation (checks, risks at the level, simulation, years of life) for
// three sexes of 120 single ages with the advanced settings in force.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <string>

#include "lifetables/core/LTCalculation.h"
#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTState.h"

namespace {

using namespace lifetables;

void fillInputs(LTState& st) {
    st.LTinfos.startYear = 2020;
    st.LTinfos.effect = 1;
    st.LTcauseChecked = {false, true, true};
    const double beta[3] = {0.00602, 0.008933, 0.012673};
    const double se[3] = {0.0022654, 0.002907, 0.00426};
    for (int c = 0; c < 3; ++c) {
        st.LTRRvector[0][c] = c;
        st.LTRRvector[1][c] = 30;
        st.LTRRvector[2][c] = 120;
        st.LTRRvector[3][c] = beta[c];
        st.LTRRvector[4][c] = se[c];
        proc_LTComputeRRs(st, c);
    }
    auto& s = st.LTRRsettings;
    s.advanced = true;
    s.meanAnnualConc = 32;
    s.X_reference = 10;
    s.X_lo = 7.5;
    s.X_hi = 80;
    s.birthSlope = 90;
    s.birthFromYear = 2025;
    s.birthUntilYear = 2040;
    s.percPoll = 98;
    s.percPollFromYear = 2020;
    s.percPollUntilYear = 2050;
    s.weightAge = 0.8;
    s.weightAgeFromAge = 0;
    s.weightAgeUntilAge = 14;
    s.weightYears = 0.97;
    s.weightYearsFromYear = 2030;
    s.weightYearsUntilYear = 2060;
    for (int sex = 1; sex <= 3; ++sex) {
        for (int r = 1; r <= 120; ++r) {
            auto& row = st.LTempirical[r];
            const double pop = 10000 * sex * (r < 60 ? 1.0 : std::exp(-0.06 * (r - 60)));
            const double rate = 0.00004 + 0.00003 * std::exp(0.09 * r);
            row[kLTFromAge][sex] = r - 1;
            row[kLTUntilAge][sex] = r - 1;
            row[kLTPopulation][sex] = pop;
            row[kLTRateAll][sex] = std::min(rate, 1.5);
            row[kLTRateCardio][sex] = 0.4 * row[kLTRateAll][sex];
            row[kLTRateLCA][sex] = r > 35 ? 0.05 * row[kLTRateAll][sex] : 0;
        }
        st.LTlineCount[sex] = 120;
    }
}

void BM_LifeTableFullRun(benchmark::State& bench) {
    auto state = std::make_unique<LTState>();
    fillInputs(*state);
    std::string lastMessage;
    const LTMessageSink messages = [&](const std::string& m) { lastMessage = m; };
    for (auto _ : bench) {
        const bool ok = ltRunCalculation(*state, messages, nullptr);
        if (!ok) {
            bench.SkipWithError(("calculation refused: " + lastMessage).c_str());
            break;
        }
        benchmark::DoNotOptimize(state->LTsummary);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_LifeTableFullRun)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
