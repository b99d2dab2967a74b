#pragma once
// The calculation chain of "Calculation: GO": with the advanced settings the pollution change is
// made to start in the start year (LTRRsettings.percPollFromYear := LTinfos.startYear, which the
// screen then shows); then parameter-line check, relative risks at the exposure level, data check,
// cohort simulation, years of life, and a check that the results are finite. The chain stops at the first step that fails, after that step's
// own messages.
#include "lifetables/core/LTMessageSink.h"
#include "lifetables/core/LTSimulation.h"
#include "lifetables/core/LTState.h"

namespace lifetables {

// True when every step succeeded (the results are then in LTsummary, LTlifeExp, LTlifeExpDelta).
bool ltRunCalculation(LTState& state, const LTMessageSink& messages, const LTProgressStep& progressStep);

}  // namespace lifetables
