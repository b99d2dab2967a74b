#pragma once
// File-system helpers and the safe replacement of a file by a rewritten copy.
#include <cerrno>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace runtime {

class TextWriter;

bool fileExists(const std::string& path);      // a regular file
bool directoryExists(const std::string& path);
std::string currentDirectory();                // without a trailing "/"
// The folder of the running executable, ending in "/".
std::string executableFolder();
// Ensures a trailing "/".
std::string withTrailingSlash(const std::string& dir);

// Creates the file `path`, filled by `write` (empty without it), unless something has that name
// already: a file, a folder, a FIFO, a device. What is there is left as it is and never opened, so
// nothing waits for it. Links are followed as the rewrites below follow them; a link that names no
// file creates that file. The file appears whole: it is written and flushed under a temporary
// name "<name>.XXXXXX.tmp" beside it, then given its name without replacing anything (a second
// link, or where the file system has no links a rename that replaces nothing, or where it has
// neither an exclusive create under the name itself). A failure (a full disk) leaves no file.
// True when the file was created; throws an InOutError when it cannot be.
bool createFileUnlessExists(const std::string& path, const std::function<void(TextWriter&)>& write = {});

// Both rewrites below keep what the user set on the file. Where `target` is a symbolic link (or a
// chain of them), the file it finally names is rewritten and the link stays as it is; a link that
// names no file creates that file. In a shared sticky folder (world-writable, as "/tmp") a link is
// followed only when it belongs to the process's user or to the folder's owner, as the system
// itself follows links. Before anything is written they refuse, with an InOutError:
// - a target that is not a regular file (a folder, a FIFO, a device): "File access denied. <path>
//   is not a regular file.", without opening it;
// - a target that the process may not write (a write-protected file): "File access denied";
// - a link that may not be followed: "File access denied".
// A missing target is created with the permission bits that the process's umask leaves.
//
// The way is chosen before anything is written, so that no save changes who may read the file:
// - the temporary path where the new file can have the target's owner, group, permission bits and
//   ACL exactly (the process is root, or owns the target and belongs to its group; the ACL is read
//   by the target's path, so a file that may be written but not read keeps it too);
// - else in place, where the process may read and write the target (another user's file that an
//   ACL or the group lets it write; its own file of a group it does not belong to);
// - else (the target may be written but not read) the save is refused: "File access denied".
// What a replaced file keeps: its owner and group, its POSIX ACL, its permission bits (with the
// set-id and sticky bits); its extended attributes where the process may read them ("user.*", and
// the others that the process may read and set, but not those that the system's attribute list
// leaves out, such as "security.selinux"). Not kept: the times, other hard links (they go on
// naming the old file), file flags, attributes that the process may not read. A file written in
// place stays the same file and keeps all of it.
//
// Every save locks the target (runtime/FileLock.h) from before anything is read until the new
// contents are in place, on either path, unless the caller holds the lock already (FileLocks):
// two saves at once are done one after the other, and each leaves the file whole. A lock held
// elsewhere for longer than two seconds ends the save before anything is written: "<path> is being
// saved by another program".
//
// The temporary path: `write` fills a new file in the target's folder, created exclusively and,
// where the target exists, without any permission, and written through the descriptor that
// created it once it has the target's attributes: it is never more open than the target. That
// file is flushed to disk, and renamed over the target in one step once its name is seen to still
// hold it (the descriptor stays open, and its device and inode are compared with the name's before
// the rename and with the target's after it: another program may have put a file of its own
// there; then the save is refused: "File access denied. <temporary> was replaced while it was
// written.").
// Then the folder is flushed. So the target holds its old bytes or its new bytes, never a mixture,
// even after a crash or a power cut (as far as the disk keeps what it has flushed). When writing
// or renaming fails, the temporary file is removed (where its name still holds it), the target
// keeps its bytes and an InOutError with the failure's own meaning is thrown. Where the rename is
// refused (as a shared sticky folder refuses it for a file of another user) but the process may
// read and write the target, the target is written in place as rewriteFile describes, and `write`
// is called a second time for that. A temporary file left by a killed process stays until it is
// removed; it never blocks a later save. Names of temporary and recovery files are cut short in
// their name part where the whole would be longer than the folder takes.

// Rewrites `target` by the temporary path through the fixed temporary name `tempPath` (the
// program uses "rec.tmp" in the working directory). Where that name is taken (another save's file,
// a former run's, a link, a folder) or lies in another folder than the file to rewrite (as for a
// link into another folder), a temporary file "<name>.XXXXXX.tmp" beside the file, whose middle
// part is unpredictable, is used instead. What has that name is never removed nor written through.
void replaceFile(const std::string& target, const std::string& tempPath,
                 const std::function<void(TextWriter&)>& write);

// Throws the InOutError with which replaceFile would refuse `target` before writing anything: the
// refusals above, or, where the save takes the temporary path, a folder that takes no new file for
// the copy (the folder of the file itself: for a link into another folder, that other folder). A
// missing target only needs its folder. Lets a caller that replaces several files check them all
// first.
void refuseReplace(const std::string& target);

// Rewrites `target` by the temporary path through a temporary file "<name>.XXXXXX.tmp" beside
// it, whose middle part is unpredictable.
// Where the folder takes no new file but the target is there and may be read and written, the
// target is written in place instead, and is incomplete while it is written: its previous bytes
// are first copied to a recovery file of the process's user in the temporary folder (TMPDIR, and
// "/tmp" where TMPDIR is not set or takes no file), created exclusively with mode 0600, under an
// unpredictable name "<name>.XXXXXX.bak", and flushed to disk. When no folder takes that copy,
// nothing is written, and the message names the folders tried ("File not found. The previous
// contents could not be kept in /gone/ or /tmp/, so the file is not changed."). After a complete
// write the recovery file is removed. After a failed write the previous bytes are put back and
// read again to check them; then the recovery file is removed and the error of the write is thrown.
// Where putting them back fails, the recovery file stays and the error is a ContentsKeptError whose
// message names it. When the process is killed in the write, the recovery file stays too: the
// previous bytes are in the target or in the recovery file.
void rewriteFile(const std::string& target, const std::function<void(TextWriter&)>& write);

// Replaces several files together, in two steps, so that a failure in the first changes none of
// them. stage() locks a target and writes its new contents completely beside it, as the temporary
// path does, and flushes them; a target that must be written in place (see the way above), or
// whose folder takes no new file, keeps `write` (and the contents it holds) for later. commit()
// puts the new files in place one after another, in the order staged, and then writes those kept
// for later in place. The locks are held until the object goes; new files not put in place are
// removed then. stage() throws the refusals and errors of rewriteFile.
class StagedFiles {
public:
    StagedFiles();
    ~StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    void stage(const std::string& target, std::function<void(TextWriter&)> write);
    void commit();

private:
    struct Staged;
    std::vector<std::unique_ptr<Staged>> staged_;
};

namespace testing {
// Test hook: the rename of the next replaceFile or rewriteFile fails with the errno `error` (as a
// full disk would, or a shared sticky folder that refuses it with EPERM).
void failNextRename(int error = ENOSPC);
// Test hook: the next rewriteFile can create no file in the target's folder (as a read-only
// folder would refuse it).
void failNextTempCreate();
// Test hook: the next createFileUnlessExists finds a file system without links and without a
// rename that replaces nothing, so that it creates the file under its own name.
void noLinksNext();
// Test hook: the next TextWriter::close fails (as a full disk would).
void failNextWriterClose();
// Test hook: `hook` is called with the name of each step of a rewrite before the step is taken,
// until another hook (or an empty one) replaces it. Temporary path: "create", "attributes",
// "write", "sync", "rename", "sync folder". In place: "save recovery", "write", "sync", "remove
// recovery" (after "create" where the folder took no new file); after a failed write "restore".
// "wait for lock" when a save or a read finds its file locked elsewhere and begins to wait.
void onFileStep(std::function<void(const std::string& step)> hook);
}  // namespace testing

}  // namespace runtime
