#include "lifetables/core/LTCalculation.h"

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTYearsOfLife.h"

namespace lifetables {

bool ltRunCalculation(LTState& state, const LTMessageSink& messages, const LTProgressStep& progressStep) {
    if (state.LTRRsettings.advanced) state.LTRRsettings.percPollFromYear = state.LTinfos.startYear;
    bool ok = false;
    proc_LTCheckParameterLines(state, messages, ok);
    if (ok) proc_LTRRAtLevel(state, messages, ok);
    if (ok) proc_LTCheckData(state, messages, ok);
    if (ok) proc_LTSimulate(state, progressStep, ok);
    if (ok) proc_LTComputeYOLL(state, ok);
    if (ok) ltCheckResultsFinite(state, messages, ok);
    return ok;
}

}  // namespace lifetables
