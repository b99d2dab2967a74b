#include "runtime/InPlaceWrite.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace runtime::files {
namespace {

[[noreturn]] void throwErrno() { throw InOutError(ioCodeFromErrno(errno)); }

// Writes all of `bytes` from the start of the file; false when a write fails.
bool writeAll(int fd, const std::string& bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const ssize_t n = ::pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// The folders that may take the recovery file, in the order tried: TMPDIR, then "/tmp".
std::vector<std::string> recoveryFolders() {
    std::vector<std::string> folders;
    const char* tmp = std::getenv("TMPDIR");
    if (tmp && *tmp) folders.push_back(withTrailingSlash(tmp));
    if (folders.empty() || folders.front() != "/tmp/") folders.push_back("/tmp/");
    return folders;
}

// Copies `bytes` to a new recovery file in `folder` (mode 0600, created exclusively) and flushes
// it to disk; its name, or "" with errno when that cannot be done (then no recovery file is left).
std::string saveRecoveryIn(const std::string& folder, const std::string& target, const std::string& bytes) {
    std::string path;
    const Descriptor fd(createUnique(folder + nameOf(target), ".bak", 0600, path));
    if (fd.get() < 0) return "";
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        errno = error;
        return "";
    }
    syncFolder(folder);
    return path;
}

// The recovery file of `bytes` in the first folder that takes it. Throws an InOutError that names
// the folders tried when none does.
std::string saveRecovery(const std::string& target, const std::string& bytes) {
    std::string tried;
    int error = 0;
    for (const std::string& folder : recoveryFolders()) {
        const std::string path = saveRecoveryIn(folder, target, bytes);
        if (!path.empty()) return path;
        error = errno;
        tried += (tried.empty() ? "" : " or ") + folder;
    }
    const int code = ioCodeFromErrno(error);
    throw InOutError(code, ioMessage(code) + ". The previous contents could not be kept in " + tried +
                               ", so the file is not changed.");
}

// Puts `previous` back as the whole file, flushes it and reads it again; true when the file then
// holds exactly those bytes.
bool putBack(int fd, const std::string& previous) {
    std::string now;
    return ::ftruncate(fd, 0) == 0 && writeAll(fd, previous) && ::fsync(fd) == 0 && readAll(fd, now) && now == previous;
}

// The error of the failed write, with the name of the recovery file that keeps the previous bytes.
[[noreturn]] void throwKept(const std::exception_ptr& failure, const std::string& recovery) {
    try {
        std::rethrow_exception(failure);
    } catch (const InOutError& e) {
        throw ContentsKeptError(e.code(), e.what(), recovery);
    } catch (const std::exception& e) {
        throw ContentsKeptError(kAccessDenied, e.what(), recovery);
    } catch (...) {
        throw ContentsKeptError(kAccessDenied, ioMessage(kAccessDenied), recovery);
    }
}

}  // namespace

void writeInPlace(const Target& t, int fd, const std::function<void(TextWriter&)>& write) {
    if (fd < 0 || (::fcntl(fd, F_GETFL) & O_ACCMODE) != O_RDWR) throw InOutError(kAccessDenied);
    std::string previous;
    if (!readAll(fd, previous)) throwErrno();
    step("save recovery");
    const std::string recovery = saveRecovery(t.path, previous);
    try {
        step("write");
        if (::ftruncate(fd, 0) != 0 || ::lseek(fd, 0, SEEK_SET) != 0) throwErrno();
        TextWriter writer(::fcntl(fd, F_DUPFD_CLOEXEC, 0), t.path);
        write(writer);
        step("sync");
        writer.sync();
        writer.close();
    } catch (...) {
        step("restore");
        if (!putBack(fd, previous)) throwKept(std::current_exception(), recovery);
        ::unlink(recovery.c_str());
        throw;
    }
    step("remove recovery");
    ::unlink(recovery.c_str());
}

}  // namespace runtime::files
