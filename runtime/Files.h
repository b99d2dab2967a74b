#pragma once
// File-system helpers and the safe replacement of a file by a rewritten copy.
#include <functional>
#include <string>

namespace runtime {

class TextWriter;

bool fileExists(const std::string& path);      // a regular file
bool directoryExists(const std::string& path);
std::string currentDirectory();                // without a trailing "/"
// The folder of the running executable, ending in "/".
std::string executableFolder();
// Ensures a trailing "/".
std::string withTrailingSlash(const std::string& dir);

// Rewrites `target` through the temporary file `tempPath` (the program uses "rec.tmp" in the
// working directory): `write` fills the temporary file completely, then it is renamed over the
// target in one step. When writing or renaming fails, the original stays byte for byte, the
// temporary file is removed, and an InOutError is thrown. A missing target is created.
void replaceFile(const std::string& target, const std::string& tempPath,
                 const std::function<void(TextWriter&)>& write);

namespace testing {
// Test hook: the next replaceFile fails at the rename step (as a full disk or a locked file would).
void failNextRename();
// Test hook: the next TextWriter::close fails (as a full disk would).
void failNextWriterClose();
}  // namespace testing

}  // namespace runtime
