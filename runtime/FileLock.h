#pragma once
// Locks of whole files, so that two programs never save one file at the same moment and no reader
// sees a file half written. A save holds an exclusive lock on the file it rewrites from before it
// reads the old contents until the new contents are in place; a reader holds a shared lock while
// it reads. The locks are the system's whole-file locks (flock), which stay until the descriptor
// that took them is closed, however many other descriptors of the file are closed meanwhile.
#include <string>
#include <vector>

#include <sys/stat.h>

namespace runtime {

// How long a lock held elsewhere is waited for before the save or read gives up.
constexpr int kLockWaitMilliseconds = 2000;

// Holds the exclusive locks of existing files, taken in the order given, for the lifetime of the
// object. A path that is a link locks the file it names; a missing file is not locked (its save
// creates it). Every rewrite and read of runtime/Files.h and runtime/TextFile.h of a file locked
// here, by this thread, takes no lock of its own and reads through the locked descriptor. After
// each lock the name is checked to still lead to the locked file: where another save has renamed
// a new file into place meanwhile, that file is opened and locked instead. A file system without
// locks (ENOLCK, EOPNOTSUPP) is used without them.
// Throws an InOutError where a lock stays held elsewhere for kLockWaitMilliseconds: "<path> is
// being saved by another program" (no lock is kept then), or where a file cannot be opened.
class FileLocks {
public:
    explicit FileLocks(const std::vector<std::string>& paths);
    ~FileLocks();
    FileLocks(const FileLocks&) = delete;
    FileLocks& operator=(const FileLocks&) = delete;

private:
    std::vector<int> taken_;  // the descriptors of the locks this object took
};

namespace files {

// Opens the existing file `path` (with `flags`, following links as open does) and locks it,
// shared or exclusive, checking that the name still leads to the locked file; `status` is its
// fstat. Throws as FileLocks does; an open that fails throws the errno's meaning.
int openLocked(const std::string& path, int flags, bool exclusive, struct stat& status);

// The descriptor with which this thread holds the exclusive lock of the file `status` describes;
// -1 where it holds none.
int heldLock(const struct stat& status);

// Registers or drops a descriptor whose exclusive lock this thread holds.
void holdLock(int fd);
void dropLock(int fd);

}  // namespace files
}  // namespace runtime
