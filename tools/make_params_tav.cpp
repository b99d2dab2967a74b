// Writes the shipped default parameter file "params.tav": published summary relative risks per
// 10 µg/m3 (class-width index 0, cut-off 0) with round baseline incidences per 100 000 per year.
// Usage: make_params_tav <output file>
#include <cstdio>
#include <exception>

#include "assessment/core/ParameterFile.h"
#include "runtime/TextFile.h"

namespace {

using assessment::ParamLine;

constexpr int kCutOff = 0;
constexpr int kPer10 = 0;
constexpr int kMedium = 2;
constexpr int kHigh = 3;

ParamLine entry(int pollutant, int endpoint, long double incidence, long double rr, long double lower,
                long double upper, int certainty) {
    return ParamLine{pollutant, endpoint, incidence, rr, lower, upper, kCutOff, certainty, kPer10};
}

// Pollutant indices: 2 PM10, 3 PM2.5, 6 O3 (8 hour avg), 7 NO2 (1 hour avg). Endpoint codes: 0 total
// mortality, 1 cardiovascular mortality, 2 respiratory mortality, 6 respiratory admissions 65+,
// 10 cardiovascular admissions.
const ParamLine kDefaults[] = {
    entry(2, 0, 1000, 1.006L, 1.004L, 1.008L, kHigh),
    entry(2, 1, 450, 1.009L, 1.005L, 1.013L, kHigh),
    entry(2, 2, 80, 1.013L, 1.005L, 1.020L, kHigh),
    entry(2, 6, 3000, 1.007L, 1.002L, 1.013L, kHigh),
    entry(3, 0, 1000, 1.0123L, 1.0045L, 1.0201L, kMedium),
    entry(3, 10, 2000, 1.0091L, 1.0017L, 1.0166L, kMedium),
    entry(6, 0, 1000, 1.003L, 1.001L, 1.004L, kHigh),
    entry(6, 6, 3000, 1.0044L, 1.0007L, 1.0083L, kMedium),
    entry(6, 10, 2000, 1.0089L, 1.0050L, 1.0127L, kMedium),
    entry(7, 0, 1000, 1.0027L, 1.0016L, 1.0038L, kMedium),
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_params_tav <output file>\n");
        return 1;
    }
    try {
        runtime::TextWriter out(argv[1]);
        for (const ParamLine& line : kDefaults) out.writeln(assessment::formatParamLine(line));
        out.close();
    } catch (const std::exception& e) {
        std::fprintf(stderr, "make_params_tav: %s: %s\n", argv[1], e.what());
        return 1;
    }
    return 0;
}
