#pragma once
// Relative risks per 10 units and at the exposure level, and the checks that refuse a calculation
// whose inputs cannot be simulated. Each failing check sends one message per problem to the sink
// and clears ok; none of them throws.
#include <string_view>

#include "lifetables/core/LTMessageSink.h"
#include "lifetables/core/LTState.h"

namespace lifetables {

// The multiplier of the standard error of beta for the lower and upper relative risks.
constexpr long double kLTSeFactor = 1.96L;

// The relative risk of column 5, 6 or 7 (central, lower, upper) for beta b and its standard error
// se over the concentration difference x: exp(b x), exp((b - 1.96 se) x), exp((b + 1.96 se) x).
double ltRelativeRisk(long double b, long double se, int rrColumn, long double x);

// LTRRvector columns 5..7 of the cause from its beta and standard error: exp(10 b),
// exp(10 (b - 1.96 se)), exp(10 (b + 1.96 se)). A cause outside 0..2 changes nothing.
void proc_LTComputeRRs(LTState& state, int cause);

// Copies LTRRvector columns 0..4 into LTRRatLevel, checks the interval [X_lo, X_hi] and the
// reference level, and when both hold sets LTRRatLevel columns 5..7 of every cause to the
// relative risks at X_reference - meanAnnualConc; those of the causes in use must then be finite
// and above 0.
void proc_LTRRAtLevel(LTState& state, const LTMessageSink& messages, bool& ok);

// With a cause-specific effect, at least one of the cardiopulmonary and LCA lines must be checked.
void proc_LTCheckParameterLines(const LTState& state, const LTMessageSink& messages, bool& ok);

// Marks the sexes with data lines in LTresultValid and checks that there are data, that the age
// groups follow each other, that they span at most 120 single years, that their values are finite,
// and that the relative risks of the causes in use are supplied and finite; a message names the
// value and its cause.
void proc_LTCheckData(LTState& state, const LTMessageSink& messages, bool& ok);

// After the simulation: the results and matrices of every sex in LTresultValid are finite;
// otherwise one message, no sex keeps its results (LTresultValid cleared), and ok is cleared.
void ltCheckResultsFinite(LTState& state, const LTMessageSink& messages, bool& ok);

// True when the text holds any character other than '0'..'9' (false for the empty text).
bool gl_LTnotDigitsOnly(std::string_view text);

// The data lines of a sex that are in use (LTlineCount within 0..120).
int ltUsedLines(const LTState& state, int sex);

// The single-age rows of a sex that are in use (LTageCount within 0..120).
int ltUsedAgeRows(const LTState& state, int sex);

// The single years of age from the first data line's from age to the until age of the last line in
// use (as ltSingleAgeSpan counts them); the sex has at least one line in use.
std::int64_t ltDataAgeSpan(const LTState& state, int sex);

}  // namespace lifetables
