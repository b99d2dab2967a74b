#include "runtime/InPlaceWrite.h"

#include <cerrno>
#include <cstdlib>
#include <exception>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace runtime::files {
namespace {

// Closes a descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

[[noreturn]] void throwErrno() { throw InOutError(ioCodeFromErrno(errno)); }

// The whole file from its start; false when a read fails.
bool readAll(int fd, std::string& bytes) {
    bytes.clear();
    char buffer[65536];
    for (off_t at = 0;;) {
        const ssize_t n = ::pread(fd, buffer, sizeof buffer, at);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) return true;
        bytes.append(buffer, static_cast<std::size_t>(n));
        at += n;
    }
}

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

std::string recoveryFolder() {
    const char* tmp = std::getenv("TMPDIR");
    return withTrailingSlash(tmp && *tmp ? tmp : "/tmp");
}

// Copies `bytes` to a new recovery file (mode 0600, created exclusively) and flushes it to disk;
// its name. Throws an InOutError when that cannot be done; then no recovery file is left.
std::string saveRecovery(const std::string& target, const std::string& bytes) {
    std::string path;
    const std::string folder = recoveryFolder();
    const Descriptor fd(createUnique(folder + nameOf(target), ".bak", 0600, path));
    if (fd.get() < 0) throwErrno();
    if (!writeAll(fd.get(), bytes) || ::fsync(fd.get()) != 0) {
        const int error = errno;
        ::unlink(path.c_str());
        throw InOutError(ioCodeFromErrno(error));
    }
    syncFolder(folder);
    return path;
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

void writeInPlace(const Target& t, const std::function<void(TextWriter&)>& write) {
    // O_NONBLOCK: should something other than a regular file have taken the name meanwhile, the
    // open does not wait for it; the check below then refuses it.
    const Descriptor fd(::open(t.path.c_str(), O_RDWR | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    if (fd.get() < 0) throwErrno();
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) throwErrno();
    Target opened = t;
    opened.status = status;
    refuseUnfit(opened);
    std::string previous;
    if (!readAll(fd.get(), previous)) throwErrno();
    step("save recovery");
    const std::string recovery = saveRecovery(t.path, previous);
    try {
        step("write");
        if (::ftruncate(fd.get(), 0) != 0 || ::lseek(fd.get(), 0, SEEK_SET) != 0) throwErrno();
        TextWriter writer(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0), t.path);
        write(writer);
        step("sync");
        writer.sync();
        writer.close();
    } catch (...) {
        step("restore");
        if (!putBack(fd.get(), previous)) throwKept(std::current_exception(), recovery);
        ::unlink(recovery.c_str());
        throw;
    }
    step("remove recovery");
    ::unlink(recovery.c_str());
}

}  // namespace runtime::files
