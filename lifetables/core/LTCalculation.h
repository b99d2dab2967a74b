#pragma once
// The calculation chain of "Calculation: GO": parameter-line check, relative risks at the exposure
// level, data check, cohort simulation, years of life. The chain stops at the first step that fails,
// after that step's own messages.
#include "lifetables/core/LTMessageSink.h"
#include "lifetables/core/LTSimulation.h"
#include "lifetables/core/LTState.h"

namespace lifetables {

// True when every step succeeded (the results are then in LTsummary, LTlifeExp, LTlifeExpDelta).
bool ltRunCalculation(LTState& state, const LTMessageSink& messages, const LTProgressStep& progressStep);

}  // namespace lifetables
