#pragma once
// The relative-risk parameter set of the life tables: read once from "Zelk_LT-params.kpx" in the
// program folder, or built in when that file is missing. The program never writes the file.
#include <functional>
#include <string>

#include "lifetables/core/LTMessageSink.h"
#include "lifetables/core/LTState.h"

namespace lifetables {

inline constexpr const char* kLTParamFileName = "Zelk_LT-params.kpx";

// Fills LTparamSet from the first record of programFolder + "Zelk_LT-params.kpx" (programFolder
// ends in "/"). A missing file: a message and the built-in set. Any other failure to open: a
// message, then runtime::InOutError; a file shorter than one record: runtime::InOutError. After a
// failure LTparamSet keeps its previous contents.
void proc_LTLoadParamFile(LTState& state, const std::string& programFolder, const LTMessageSink& messages);

// Writes the built-in set into LTparamSet (columns 5..7 are left as they are).
void proc_LTDefaultParams(LTState& state);

// The operating system's major version as decimal text, from the platform's version query.
// A query that fails or answers nothing gives "0" (which runs the calculation without progress).
std::string gl_LTosMajorVersion(const std::function<std::string()>& versionQuery);

}  // namespace lifetables
