#pragma once
// Writing a file in place, for a folder that takes no new file, with its previous bytes kept in a
// recovery file until the new ones are on disk (the in-place path of runtime::rewriteFile).
#include <functional>

#include "runtime/FileSteps.h"

namespace runtime {
class TextWriter;
}

namespace runtime::files {

// Writes the existing regular file `t` in place through `write`, as runtime/Files.h describes for
// rewriteFile.
void writeInPlace(const Target& t, const std::function<void(TextWriter&)>& write);

}  // namespace runtime::files
