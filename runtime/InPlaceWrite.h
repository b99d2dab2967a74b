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
// rewriteFile, reading and writing through `fd`, the descriptor of the save's lock on it. Throws
// "File access denied" where that descriptor may not read and write.
void writeInPlace(const Target& t, int fd, const std::function<void(TextWriter&)>& write);

}  // namespace runtime::files
