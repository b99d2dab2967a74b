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

// Writes `target` anew, for the files that have no fixed temporary name: `write` fills a temporary
// file in the target's folder, under a name that no existing file has, which then replaces the
// target as replaceFile does. Where the folder takes no new file but the target itself can be
// written, the target is written in place, and a failed write puts its previous bytes back. Every
// failure throws an InOutError and leaves the previous file byte for byte; a missing target is
// created.
void rewriteFile(const std::string& target, const std::function<void(TextWriter&)>& write);

namespace testing {
// Test hook: the next replaceFile fails at the rename step (as a full disk or a locked file would).
void failNextRename();
// Test hook: the next rewriteFile can create no file in the target's folder (as a read-only
// folder would refuse it).
void failNextTempCreate();
// Test hook: the next TextWriter::close fails (as a full disk would).
void failNextWriterClose();
}  // namespace testing

}  // namespace runtime
