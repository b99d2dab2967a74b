// Writing the life-table calculations file for three sexes of 120 single ages: 3 x 16 sections of
// 121 lines of 121 values.
#include <benchmark/benchmark.h>

#include <cmath>
#include <filesystem>
#include <memory>
#include <string>

#include <unistd.h>

#include "lifetables/core/LTCalculationsFile.h"
#include "lifetables/core/LTState.h"

namespace {

using namespace lifetables;

// Values with full 15-digit mantissas, as a run leaves them: rates, entrants, person-years, deaths.
void fillMatrices(LTState& st) {
    st.LTinfos.startYear = 2020;
    for (int sex = 1; sex <= kLTSexCount; ++sex) {
        st.LTresultValid[sex] = true;
        st.LTageCount[sex] = kLTMaxRows;
        for (int k = 0; k < kLTMatrixCount; ++k) {
            LTMatrix& m = st.LTmatrices.of(k, sex);
            for (int j = 1; j <= kLTMaxRows; ++j) m[0][j] = st.LTinfos.startYear + j - 1;
            for (int h = 1; h <= kLTMaxRows; ++h) {
                m[h][0] = h - 1;
                for (int j = 1; j <= kLTMaxRows; ++j) {
                    const double rate = 0.0005 * std::exp(0.08 * h) / (1.0 + 0.001 * j);
                    m[h][j] = k % 4 == 0 ? rate : 12345.678 * std::exp(-rate * h) / (1 + k);
                }
            }
        }
    }
}

void BM_WriteCalculationsFile(benchmark::State& bench) {
    auto st = std::make_unique<LTState>();
    fillMatrices(*st);
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() / ("zelk_lt_calc_bench_" + std::to_string(::getpid()));
    std::filesystem::create_directories(folder);
    st->LTcalcPath = folder.string() + "/";
    st->LTcalcName = "calc.txt";
    for (auto _ : bench) {
        proc_LTWriteCalculations(*st);
    }
    bench.counters["bytes"] = static_cast<double>(std::filesystem::file_size(folder / "calc.txt"));
    std::filesystem::remove_all(folder);
}
BENCHMARK(BM_WriteCalculationsFile)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
