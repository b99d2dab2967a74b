#include "runtime/FileLock.h"

#include <cerrno>
#include <chrono>
#include <thread>

#include <fcntl.h>
#include <pthread.h>
#include <sys/file.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/FileSteps.h"

namespace runtime {
namespace files {
namespace {

// The descriptors whose exclusive locks this thread holds. A child process holds none: it closes
// its copies of them, which would otherwise keep the parent's locks after the parent lets them go.
thread_local std::vector<int> gHeld;
const int gForgetInChild = ::pthread_atfork(nullptr, nullptr, [] {
    for (const int fd : gHeld) ::close(fd);
    gHeld.clear();
});

// Takes the lock of `fd`, waiting for a lock held elsewhere; false when it is still held after the
// wait. A file system without locks is used without them.
bool lockWaiting(int fd, bool exclusive) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point until = Clock::now() + std::chrono::milliseconds(kLockWaitMilliseconds);
    bool waiting = false;
    for (;;) {
        if (::flock(fd, (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB) == 0) return true;
        if (errno == EINTR) continue;
        if (errno != EWOULDBLOCK) return true;  // ENOLCK, EOPNOTSUPP: no locks here
        if (!waiting) step("wait for lock");
        waiting = true;
        if (Clock::now() >= until) return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
}

// Opens the existing regular file `path` of a save: for reading and writing where it may be read,
// else for writing alone, else for reading (a write-protected file, which the save then refuses).
int openForSave(const std::string& path, struct stat& status) {
    const int flags = O_NOFOLLOW | O_NONBLOCK;
    try {
        return openLocked(path, O_RDWR | flags, true, status);
    } catch (const InOutError& e) {
        if (e.code() != kAccessDenied) throw;
    }
    try {
        return openLocked(path, O_WRONLY | flags, true, status);
    } catch (const InOutError& e) {
        if (e.code() != kAccessDenied) throw;
    }
    return openLocked(path, O_RDONLY | flags, true, status);
}

}  // namespace

int openLocked(const std::string& path, int flags, bool exclusive, struct stat& status) {
    for (;;) {
        const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
        if (fd < 0) throw InOutError(ioCodeFromErrno(errno));
        if (::fstat(fd, &status) != 0) {
            const int error = errno;
            ::close(fd);
            throw InOutError(ioCodeFromErrno(error));
        }
        // Something other than a regular file is refused by the caller; a file this thread holds
        // locked needs no lock of its own.
        if (!S_ISREG(status.st_mode) || heldLock(status) >= 0) return fd;
        if (!lockWaiting(fd, exclusive)) {
            ::close(fd);
            throw InOutError(kSystemErrorBase + EWOULDBLOCK, path + " is being saved by another program");
        }
        // Another save may have renamed its new file into place while this one waited: the file
        // locked is then an old one, and the new one is locked instead.
        struct stat now {};
        if (::stat(path.c_str(), &now) == 0 && sameFile(now, status)) return fd;
        ::close(fd);
    }
}

int heldLock(const struct stat& status) {
    for (const int fd : gHeld) {
        struct stat held {};
        if (::fstat(fd, &held) == 0 && sameFile(held, status)) return fd;
    }
    return -1;
}

void holdLock(int fd) { gHeld.push_back(fd); }

void dropLock(int fd) { std::erase(gHeld, fd); }

}  // namespace files

FileLocks::FileLocks(const std::vector<std::string>& paths) {
    try {
        for (const std::string& path : paths) {
            const files::Target t = files::resolveTarget(path);
            if (!t.exists || !S_ISREG(t.status.st_mode) || files::heldLock(t.status) >= 0) continue;
            struct stat status {};
            const int fd = files::openForSave(t.path, status);
            if (files::heldLock(status) >= 0) {
                ::close(fd);
                continue;
            }
            taken_.push_back(fd);
            files::holdLock(fd);
        }
    } catch (...) {
        for (const int fd : taken_) {
            files::dropLock(fd);
            ::close(fd);
        }
        throw;
    }
}

FileLocks::~FileLocks() {
    for (const int fd : taken_) {
        files::dropLock(fd);
        ::close(fd);  // releases the lock
    }
}

}  // namespace runtime
