#include "runtime/FileSteps.h"

#include <algorithm>
#include <cerrno>
#include <climits>
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

// The system's rule for links in a shared sticky folder (world-writable, as "/tmp"): such a link
// is followed only when it belongs to the process's user or to the folder's owner, so that no
// other user's link can lead a rewrite to a file of the user's choice.
void refuseForeignLink(const std::string& link, const struct stat& linkStatus) {
    struct stat folder {};
    const std::string folderPath = folderOf(link);
    if (::stat(folderPath.empty() ? "." : folderPath.c_str(), &folder) != 0) return;
    const bool shared = (folder.st_mode & S_ISVTX) != 0 && (folder.st_mode & S_IWOTH) != 0;
    if (shared && linkStatus.st_uid != ::geteuid() && linkStatus.st_uid != folder.st_uid)
        throw InOutError(kAccessDenied);
}

// The longest name that the folder of `path` takes.
std::size_t nameMax(const std::string& path) {
    const std::string folder = folderOf(path);
    const long max = ::pathconf(folder.empty() ? "." : folder.c_str(), _PC_NAME_MAX);
    return max > 0 ? static_cast<std::size_t>(max) : NAME_MAX;
}

// `name` cut to at most `length` bytes, not inside a UTF-8 character.
std::string cutName(const std::string& name, std::size_t length) {
    if (name.size() <= length) return name;
    while (length > 0 && (static_cast<unsigned char>(name[length]) & 0xC0) == 0x80) --length;
    return name.substr(0, length);
}
}  // namespace

void step(const std::string& name) {
    if (gStepHook) gStepHook(name);
}

Descriptor::~Descriptor() {
    if (fd_ >= 0) ::close(fd_);
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
        refuseForeignLink(t.path, t.status);
        std::error_code ec;
        const std::string named = fs::read_symlink(t.path, ec).string();
        if (ec) throw InOutError(ioCodeFromErrno(ec.value()));
        t.path = !named.empty() && named.front() == '/' ? named : folderOf(t.path) + named;
    }
    throw InOutError(ioCodeFromErrno(ELOOP));
}

void refuseUnfit(const Target& t) {
    if (!t.exists) return;
    if (!S_ISREG(t.status.st_mode)) throw notRegularFile(t.path);
    // With the effective ids, as an open would check them; root may write anything.
    if (::faccessat(AT_FDCWD, t.path.c_str(), W_OK, AT_EACCESS) != 0) throw InOutError(ioCodeFromErrno(errno));
}

InOutError notRegularFile(const std::string& path) {
    return InOutError(kAccessDenied, ioMessage(kAccessDenied) + ". " + path + " is not a regular file.");
}

bool sameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

int createExclusive(const std::string& path, mode_t mode) {
    return ::open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, mode);
}

int createUnique(const std::string& prefix, const std::string& suffix, mode_t mode, std::string& path) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    // 62^6 names: stray files cannot use them up; the tries only outlast a clash.
    constexpr int kTries = 100;
    std::random_device random;
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof kLetters) - 2);
    // The name part is cut where the whole would be longer than the folder takes.
    const std::size_t added = 1 + 6 + suffix.size();
    const std::string name = nameOf(prefix);
    const std::string start = folderOf(prefix) + cutName(name, nameMax(prefix) - std::min(added, nameMax(prefix)));
    for (int n = 0; n < kTries; ++n) {
        std::string part(6, ' ');
        for (char& c : part) c = kLetters[pick(random)];
        path = start + "." + part + suffix;
        const int fd = createExclusive(path, mode);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

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
