#pragma once
// Building life-table inputs for the engine tests.
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTMessageSink.h"
#include "lifetables/core/LTState.h"

namespace lifetables::testing {

struct AgeGroup {
    double from = 0;
    double until = 0;
    double population = 0;
    double deathsAll = 0;
    double deathsCardio = 0;
    double deathsLCA = 0;
};

inline std::unique_ptr<LTState> makeState() { return std::make_unique<LTState>(); }

// Puts the age groups into the data of a sex, with the death rates the data tabs derive.
inline void setGroups(LTState& state, int sex, const std::vector<AgeGroup>& groups) {
    int r = 0;
    for (const AgeGroup& g : groups) {
        auto& row = state.LTempirical[++r];
        row[kLTFromAge][sex] = g.from;
        row[kLTUntilAge][sex] = g.until;
        row[kLTPopulation][sex] = g.population;
        row[kLTDeathsAll][sex] = g.deathsAll;
        row[kLTDeathsCardio][sex] = g.deathsCardio;
        row[kLTDeathsLCA][sex] = g.deathsLCA;
        row[kLTRateAll][sex] = g.population > 0 && g.deathsAll > 0 ? g.deathsAll / g.population : 0;
        row[kLTRateCardio][sex] = g.population > 0 && g.deathsCardio > 0 ? g.deathsCardio / g.population : 0;
        row[kLTRateLCA][sex] = g.population > 0 && g.deathsLCA > 0 ? g.deathsLCA / g.population : 0;
    }
    state.LTlineCount[sex] = r;
}

// The neutral settings of a run without the advanced options.
inline void setNeutralSettings(LTState& state) { ltSetNeutralAdvanced(state.LTRRsettings); }

// One relative-risk line: ages [from, until), beta and its standard error.
inline void setRiskLine(LTState& state, int cause, double from, double until, double beta, double se) {
    state.LTRRvector[0][cause] = cause;
    state.LTRRvector[1][cause] = from;
    state.LTRRvector[2][cause] = until;
    state.LTRRvector[3][cause] = beta;
    state.LTRRvector[4][cause] = se;
}

struct RiskLine {
    double from, until, beta, se;
};

// The lines of all causes, cardiopulmonary and LCA, with their risks per 10 units computed.
inline void setRiskLines(LTState& state, const std::array<RiskLine, 3>& lines) {
    for (int c = 0; c < 3; ++c) {
        setRiskLine(state, c, lines[c].from, lines[c].until, lines[c].beta, lines[c].se);
        proc_LTComputeRRs(state, c);
    }
}

// The built-in betas with the given age windows.
inline std::array<RiskLine, 3> builtInBetas(double from0, double from1, double from2, double until2 = 120) {
    return {{{from0, 120, 0.00602, 0.0022654}, {from1, 120, 0.008933, 0.002907}, {from2, until2, 0.012673, 0.00426}}};
}

inline void setLevels(LTState& state, double lo, double hi, double reference, double mean) {
    LTRRSettings& s = state.LTRRsettings;
    s.X_lo = lo;
    s.X_hi = hi;
    s.X_reference = reference;
    s.meanAnnualConc = mean;
}

struct MessageLog {
    std::vector<std::string> messages;
    LTMessageSink sink() {
        return [this](const std::string& m) { messages.push_back(m); };
    }
};

}  // namespace lifetables::testing
