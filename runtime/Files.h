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

// Both rewrites below keep what the user set on the file. Where `target` is a symbolic link (or a
// chain of them), the file it finally names is rewritten and the link stays as it is; a link that
// names no file creates that file. Before anything is written they refuse, with an InOutError:
// - a target that is not a regular file (a folder, a FIFO, a device): "File access denied. <path>
//   is not a regular file.", without opening it;
// - a target that the process may not write (a write-protected file): "File access denied".
// A missing target is created with the permission bits that the process's umask leaves; a
// replaced file keeps its permission bits, and its owner and group where the process may set
// them.
//
// The temporary path: `write` fills a new file in the target's folder, created exclusively and
// written through the descriptor that created it, with the target's permission bits from the
// start. That file is flushed to disk, renamed over the target in one step, and then the folder
// is flushed. So the target holds its old bytes or its new bytes, never a mixture, even after a
// crash or a power cut (as far as the disk keeps what it has flushed). When writing or renaming
// fails, the temporary file is removed, the target keeps its bytes and an InOutError is thrown.
// A temporary file left by a killed process stays until it is removed; it never blocks a later
// save. Other hard links to the target go on naming the old file.

// Rewrites `target` by the temporary path through the fixed temporary name `tempPath` (the
// program uses "rec.tmp" in the working directory). A file or link that a former run left under
// that name is removed first and never written through. Where that name cannot serve (a folder
// has it, or it lies in another folder than the file to rewrite, as for a link into another
// folder), a temporary file with an unpredictable name beside the file is used instead.
void replaceFile(const std::string& target, const std::string& tempPath,
                 const std::function<void(TextWriter&)>& write);

// Rewrites `target` by the temporary path through a temporary file "<name>.XXXXXX.tmp" beside
// it, whose middle part is unpredictable.
// Where the folder takes no new file but the target is there and may be read and written, the
// target is written in place instead, and is incomplete while it is written: its previous bytes are first copied to a
// recovery file of the process's user in the temporary folder (TMPDIR, else "/tmp"), created exclusively with mode
// 0600, under an unpredictable name "<name>.XXXXXX.bak", and flushed to disk; when that copy
// cannot be made, nothing is written. After a complete write the recovery file is removed. After
// a failed write the previous bytes are put back and read again to check them; then the recovery
// file is removed and the error of the write is thrown. Where putting them back fails, the
// recovery file stays and the error is a ContentsKeptError whose message names it. When the
// process is killed in the write, the recovery file stays too: the previous bytes are in the
// target or in the recovery file.
void rewriteFile(const std::string& target, const std::function<void(TextWriter&)>& write);

namespace testing {
// Test hook: the next replaceFile or rewriteFile fails at the rename step (as a full disk or a
// locked file would).
void failNextRename();
// Test hook: the next rewriteFile can create no file in the target's folder (as a read-only
// folder would refuse it).
void failNextTempCreate();
// Test hook: the next TextWriter::close fails (as a full disk would).
void failNextWriterClose();
// Test hook: `hook` is called with the name of each step of a rewrite before the step is taken,
// until another hook (or an empty one) replaces it. Temporary path: "create", "write", "sync",
// "rename", "sync folder". In place: "create", "save recovery", "write", "sync", "remove recovery"; after a
// failed write "restore".
void onFileStep(std::function<void(const std::string& step)> hook);
}  // namespace testing

}  // namespace runtime
