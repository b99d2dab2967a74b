#include "runtime/Files.h"

#include <cerrno>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/FileAttributes.h"
#include "runtime/FileLock.h"
#include "runtime/FileSteps.h"
#include "runtime/InPlaceWrite.h"
#include "runtime/TextFile.h"

namespace runtime {
namespace fs = std::filesystem;

namespace testing {
namespace {
int gNextRenameFailure = 0;
bool gFailNextTempCreate = false;
bool gNoLinksNext = false;
}  // namespace
void failNextRename(int error) { gNextRenameFailure = error; }
void failNextTempCreate() { gFailNextTempCreate = true; }
void noLinksNext() { gNoLinksNext = true; }
}  // namespace testing

namespace {
using files::step;
using Write = std::function<void(TextWriter&)>;

// The mode a temporary file is created with: no permission at all until it has taken the
// target's owner, ACL and bits, so that it is never more open than the target.
mode_t creationMode(const files::Target& t) { return t.exists ? 0 : 0666; }

[[noreturn]] void throwErrno(int error) { throw InOutError(ioCodeFromErrno(error)); }

// The target of a save, locked (unless this thread holds its lock already). Its links are
// followed again once it is locked: the file may have been replaced while the lock was awaited.
struct Locked {
    explicit Locked(const std::string& target)
        : lock({files::resolveTarget(target).path}),
          t(files::resolveTarget(target)),
          fd(t.exists ? files::heldLock(t.status) : -1) {}
    FileLocks lock;
    files::Target t;
    int fd;  // the descriptor of the lock; -1 without a target
};

// A new file written completely under a temporary name, kept open until it is in place, so that
// its name can be checked against the file itself (an inode number is not taken again while the
// file is open).
struct Written {
    int fd;
    std::string temp;
    struct stat status;
};

// Removes the temporary file where its name still holds it (another save's file stays) and closes it.
void discard(const Written& w) {
    struct stat now {};
    if (::lstat(w.temp.c_str(), &now) == 0 && files::sameFile(now, w.status)) ::unlink(w.temp.c_str());
    ::close(w.fd);
}

// The new file `fd`, named `name`, with its status; closed where the status cannot be read.
Written opened(int fd, const std::string& name) {
    Written w{fd, name, {}};
    if (::fstat(fd, &w.status) != 0) {
        const int error = errno;
        ::close(fd);
        throwErrno(error);
    }
    return w;
}

// Fills the new file of `w` through `write` and flushes it. A failure removes the file (where its
// name still holds it): no file is left half written.
Written writeWhole(const Written& w, const Write& write) {
    try {
        step("write");
        TextWriter writer(::fcntl(w.fd, F_DUPFD_CLOEXEC, 0), w.temp);
        if (write) write(writer);
        step("sync");
        writer.sync();
        writer.close();
    } catch (...) {
        discard(w);
        throw;
    }
    return w;
}

// Writes the new contents to the temporary file `fd`, named `temp`, and flushes them. Empty (the
// file removed) where the file cannot have the target's owner, group and ACL exactly.
std::optional<Written> writeTemporary(int fd, const std::string& temp, const Locked& s, const Write& write) {
    const Written w = opened(fd, temp);
    try {
        step("attributes");
        if (!files::takeOverAttributes(fd, temp, s.t, s.fd)) {
            discard(w);
            return std::nullopt;
        }
    } catch (...) {
        discard(w);
        throw;
    }
    return writeWhole(w, write);
}

InOutError replacedWhileWritten(const std::string& temp) {
    return InOutError(kAccessDenied, ioMessage(kAccessDenied) + ". " + temp + " was replaced while it was written.");
}

// Renames the written file over the target in one step, once its name is seen to still hold it,
// and closes it. False (the file removed) where the rename is refused, as a shared sticky folder
// refuses it for another user's file: the target is then to be written in place.
bool putInPlace(const Written& w, const files::Target& t) {
    step("rename");
    // Another program may have put a file of its own under the temporary name meanwhile: that file
    // must not take the target's place.
    struct stat now {};
    if (::lstat(w.temp.c_str(), &now) != 0 || !files::sameFile(now, w.status)) {
        ::close(w.fd);
        throw replacedWhileWritten(w.temp);
    }
    const int failure = std::exchange(testing::gNextRenameFailure, 0);
    if (failure != 0 || ::rename(w.temp.c_str(), t.path.c_str()) != 0) {
        const int error = failure != 0 ? failure : errno;
        discard(w);
        if (t.exists && (error == EPERM || error == EACCES)) return false;
        throw InOutError(error == ENOENT ? kPathNotFound : ioCodeFromErrno(error));
    }
    const bool placed = ::lstat(t.path.c_str(), &now) == 0 && files::sameFile(now, w.status);
    ::close(w.fd);
    if (!placed) throw replacedWhileWritten(w.temp);
    step("sync folder");
    files::syncFolder(files::folderOf(t.path));
    return true;
}

// True when a failure to create a file in the target's folder leaves the way in place open.
bool folderRefused(int error, const files::Target& t) {
    return t.exists && (error == EACCES || error == EPERM || error == ENAMETOOLONG);
}

// The save of a target: the way chosen first, then the temporary path through the file that
// `create` makes (its descriptor, or -1 with errno), or in place. `inPlaceWithoutNewFile`: a
// folder that takes no new file has the target written in place.
void save(const std::string& target, const std::function<int(const files::Target&, std::string&)>& create,
          bool inPlaceWithoutNewFile, const Write& write) {
    const Locked s(target);
    files::refuseUnfit(s.t);
    if (files::chooseWay(s.t) == files::Way::InPlace) return files::writeInPlace(s.t, s.fd, write);
    step("create");
    std::string temp;
    const int fd = create(s.t, temp);
    if (fd < 0) {
        const int error = errno;
        if (inPlaceWithoutNewFile && folderRefused(error, s.t)) return files::writeInPlace(s.t, s.fd, write);
        throwErrno(error);
    }
    const std::optional<Written> w = writeTemporary(fd, temp, s, write);
    if (!w && !files::mayReadAndWrite(s.t)) throw InOutError(kAccessDenied);
    if (!w || !putInPlace(*w, s.t)) files::writeInPlace(s.t, s.fd, write);
}

// True when the two paths name the same folder.
bool sameFolder(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.empty() ? "." : a.c_str(), &sa) == 0 && ::stat(b.empty() ? "." : b.c_str(), &sb) == 0 &&
           files::sameFile(sa, sb);
}

// Puts the complete file `w` under the name `path` unless something has that name: by a second
// link, or by a rename that replaces nothing where links are not supported. False (the temporary
// file removed) when the name is taken; 1 where neither is supported.
int placeWithoutReplacing(const Written& w, const std::string& path) {
    struct stat now {};
    if (::lstat(w.temp.c_str(), &now) != 0 || !files::sameFile(now, w.status)) {
        ::close(w.fd);
        throw replacedWhileWritten(w.temp);
    }
    if (std::exchange(testing::gNoLinksNext, false)) {
        discard(w);
        return -1;
    }
    int error = 0;
    if (::link(w.temp.c_str(), path.c_str()) == 0) {
        discard(w);
        return 1;
    }
    error = errno;
    if (error == EPERM || error == EOPNOTSUPP || error == ENOSYS || error == EMLINK) {
        if (::renameat2(AT_FDCWD, w.temp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0) {
            ::close(w.fd);
            return 1;
        }
        error = errno;
        if (error == EINVAL || error == ENOSYS) {
            discard(w);
            return -1;
        }
    }
    discard(w);
    if (error == EEXIST) return 0;
    throwErrno(error);
}

// Creates the file `path` under its own name, exclusively, filled by `write`.
bool createDirectly(const std::string& path, const Write& write) {
    // O_EXCL: whatever took the name meanwhile (a FIFO, a link, a folder) is neither opened nor
    // created over.
    const int fd = files::createExclusive(path, 0666);
    if (fd < 0 && errno == EEXIST) return false;
    if (fd < 0) throwErrno(errno);
    ::close(writeWhole(opened(fd, path), write).fd);
    return true;
}

}  // namespace

bool fileExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_regular_file(path, ec);
}

bool directoryExists(const std::string& path) {
    std::error_code ec;
    return !path.empty() && fs::is_directory(path, ec);
}

std::string currentDirectory() {
    std::error_code ec;
    std::string dir = fs::current_path(ec).string();
    return dir;
}

std::string withTrailingSlash(const std::string& dir) {
    if (!dir.empty() && dir.back() == '/') return dir;
    return dir + "/";
}

std::string executableFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec) return withTrailingSlash(currentDirectory());
    return withTrailingSlash(exe.parent_path().string());
}

bool createFileUnlessExists(const std::string& path, const Write& write) {
    const files::Target t = files::resolveTarget(path);
    if (t.exists) return false;
    // The file is written whole under a temporary name first: a failure leaves no file, and the
    // next start tries again.
    std::string temp;
    const int fd = files::createUnique(t.path, ".tmp", 0666, temp);
    if (fd < 0) throwErrno(errno);
    const int placed = placeWithoutReplacing(writeWhole(opened(fd, temp), write), t.path);
    if (placed < 0) return createDirectly(t.path, write);
    if (placed > 0) files::syncFolder(files::folderOf(t.path));
    return placed > 0;
}

void replaceFile(const std::string& target, const std::string& tempPath, const Write& write) {
    const auto create = [&tempPath](const files::Target& t, std::string& temp) {
        temp = tempPath;
        if (sameFolder(files::folderOf(tempPath), files::folderOf(t.path))) {
            // Whatever has that name already (another save's file, a former run's, a link) stays.
            const int fd = files::createExclusive(tempPath, creationMode(t));
            if (fd >= 0 || errno != EEXIST) return fd;
        }
        return files::createUnique(t.path, ".tmp", creationMode(t), temp);
    };
    save(target, create, false, write);
}

void refuseReplace(const std::string& target) {
    const files::Target t = files::resolveTarget(target);
    files::refuseUnfit(t);
    if (files::chooseWay(t) == files::Way::InPlace) return;
    const std::string folder = files::folderOf(t.path);
    if (::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0) throwErrno(errno);
}

void rewriteFile(const std::string& target, const Write& write) {
    const bool failTempCreate = std::exchange(testing::gFailNextTempCreate, false);
    const auto create = [failTempCreate](const files::Target& t, std::string& temp) {
        if (!failTempCreate) return files::createUnique(t.path, ".tmp", creationMode(t), temp);
        errno = EACCES;
        return -1;
    };
    save(target, create, true, write);
}

// ---- several files replaced together ----

struct StagedFiles::Staged {
    Staged(const std::string& target, Write w) : s(target), write(std::move(w)) {}
    Locked s;
    Write write;
    std::optional<Written> written;  // the new contents beside the target; empty: in place
};

StagedFiles::StagedFiles() = default;

StagedFiles::~StagedFiles() {
    for (const auto& staged : staged_)
        if (staged->written) discard(*staged->written);
}

void StagedFiles::stage(const std::string& target, Write write) {
    auto staged = std::make_unique<Staged>(target, std::move(write));
    const files::Target& t = staged->s.t;
    files::refuseUnfit(t);
    if (files::chooseWay(t) == files::Way::Temporary) {
        step("create");
        std::string temp;
        const int fd = files::createUnique(t.path, ".tmp", creationMode(t), temp);
        if (fd < 0 && !folderRefused(errno, t)) throwErrno(errno);
        if (fd >= 0) staged->written = writeTemporary(fd, temp, staged->s, staged->write);
        if (!staged->written && !files::mayReadAndWrite(t)) throw InOutError(kAccessDenied);
    }
    staged_.push_back(std::move(staged));
}

void StagedFiles::commit() {
    std::vector<Staged*> inPlace;
    for (const auto& staged : staged_) {
        if (!staged->written) {
            inPlace.push_back(staged.get());
            continue;
        }
        const Written w = *std::exchange(staged->written, std::nullopt);
        if (!putInPlace(w, staged->s.t)) inPlace.push_back(staged.get());
    }
    for (Staged* staged : inPlace) files::writeInPlace(staged->s.t, staged->s.fd, staged->write);
}

}  // namespace runtime
