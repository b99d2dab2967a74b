#include "runtime/FileSteps.h"

#include <cerrno>
#include <filesystem>
#include <random>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/Files.h"

namespace runtime::files {
namespace fs = std::filesystem;

namespace {
std::function<void(const std::string&)> gStepHook;
}  // namespace

void step(const std::string& name) {
    if (gStepHook) gStepHook(name);
}

std::string folderOf(const std::string& path) { return path.substr(0, path.rfind('/') + 1); }

std::string nameOf(const std::string& path) { return path.substr(path.rfind('/') + 1); }

Target resolveTarget(const std::string& target) {
    constexpr int kMaxLinks = 40;  // as the system follows them
    Target t{target};
    for (int links = 0; links <= kMaxLinks; ++links) {
        if (::lstat(t.path.c_str(), &t.status) != 0) {
            if (errno == ENOENT) return t;
            throw InOutError(ioCodeFromErrno(errno));
        }
        if (!S_ISLNK(t.status.st_mode)) {
            t.exists = true;
            return t;
        }
        std::error_code ec;
        const std::string named = fs::read_symlink(t.path, ec).string();
        if (ec) throw InOutError(ioCodeFromErrno(ec.value()));
        t.path = !named.empty() && named.front() == '/' ? named : folderOf(t.path) + named;
    }
    throw InOutError(ioCodeFromErrno(ELOOP));
}

void refuseUnfit(const Target& t) {
    if (!t.exists) return;
    if (!S_ISREG(t.status.st_mode))
        throw InOutError(kAccessDenied, ioMessage(kAccessDenied) + ". " + t.path + " is not a regular file.");
    // With the effective ids, as an open would check them; root may write anything.
    if (::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) throw InOutError(ioCodeFromErrno(errno));
}

int createExclusive(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

int createUnique(const std::string& prefix, const std::string& suffix, mode_t mode, std::string& path) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    // 62^6 names: stray files cannot use them up; the tries only outlast a clash.
    constexpr int kTries = 100;
    std::random_device random;
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
    for (int n = 0; n < kTries; ++n) {
        std::string part(6, ' ');
        for (char& c : part) c = kLetters[pick(random)];
        path = prefix + "." + part + suffix;
        const int fd = createExclusive(path, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    // The file is in place already; a folder that cannot be flushed does not undo the save.
    ::fsync(fd);
    ::close(fd);
}

}  // namespace runtime::files

namespace runtime::testing {
void onFileStep(std::function<void(const std::string& step)> hook) { files::gStepHook = std::move(hook); }
}  // namespace runtime::testing
