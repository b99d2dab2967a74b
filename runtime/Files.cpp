#include "runtime/Files.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/FileAttributes.h"
#include "runtime/FileSteps.h"
#include "runtime/InPlaceWrite.h"
#include "runtime/TextFile.h"

namespace runtime {
namespace fs = std::filesystem;

namespace testing {
namespace {
int gNextRenameFailure = 0;
bool gFailNextTempCreate = false;
}  // namespace
void failNextRename(int error) { gNextRenameFailure = error; }
void failNextTempCreate() { gFailNextTempCreate = true; }
}  // namespace testing

namespace {
using files::step;

// The mode a temporary file is created with: private until it has taken the target's bits.
mode_t creationMode(const files::Target& t) { return t.exists ? 0600 : 0666; }

// Removes `temp` where that name still holds the file `written`; another save's file stays.
void removeOwn(const std::string& temp, const struct stat& written) {
    struct stat now {};
    if (::lstat(temp.c_str(), &now) == 0 && files::sameFile(now, written)) ::unlink(temp.c_str());
}

// The rename was refused (as a shared sticky folder refuses it for another user's file), but the
// target may be written: it is written in place.
bool renameRefused(int error, const files::Target& t) {
    return t.exists && (error == EPERM || error == EACCES) &&
           ::faccessat(AT_FDCWD, t.path.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
}

// The temporary path from an open, exclusively created temporary file `temp`.
void writeAndRename(int fd, const std::string& temp, const files::Target& t,
                    const std::function<void(TextWriter&)>& write) {
    struct stat written {};
    if (::fstat(fd, &written) != 0) {
        const int error = errno;
        ::close(fd);
        throw InOutError(ioCodeFromErrno(error));
    }
    try {
        files::takeOverAttributes(fd, temp, t);
        step("write");
        TextWriter writer(std::exchange(fd, -1), temp);
        write(writer);
        step("sync");
        writer.sync();
        writer.close();
    } catch (...) {
        if (fd >= 0) ::close(fd);
        removeOwn(temp, written);
        throw;
    }
    step("rename");
    // Another program may have put a file of its own under the temporary name meanwhile: that file
    // must not take the target's place.
    struct stat now {};
    if (::lstat(temp.c_str(), &now) != 0 || !files::sameFile(now, written))
        throw InOutError(kAccessDenied, ioMessage(kAccessDenied) + ". " + temp + " was replaced while it was written.");
    // rename() puts the complete copy in place in one step; the original stays until then.
    const int failure = std::exchange(testing::gNextRenameFailure, 0);
    if (failure != 0 || ::rename(temp.c_str(), t.path.c_str()) != 0) {
        const int error = failure != 0 ? failure : errno;
        removeOwn(temp, written);
        if (renameRefused(error, t)) return files::writeInPlace(t, write);
        throw InOutError(error == ENOENT ? kPathNotFound : ioCodeFromErrno(error));
    }
    step("sync folder");
    files::syncFolder(files::folderOf(t.path));
}

// True when the two paths name the same folder.
bool sameFolder(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.empty() ? "." : a.c_str(), &sa) == 0 && ::stat(b.empty() ? "." : b.c_str(), &sb) == 0 &&
           files::sameFile(sa, sb);
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

bool createFileUnlessExists(const std::string& path, const std::function<void(TextWriter&)>& write) {
    const files::Target t = files::resolveTarget(path);
    if (t.exists) return false;
    // O_EXCL: whatever took the name meanwhile (a FIFO, a link, a folder) is neither opened nor
    // created over.
    const files::Descriptor fd(files::createExclusive(t.path, 0666));
    if (fd.get() < 0 && errno == EEXIST) return false;
    if (fd.get() < 0) throw InOutError(ioCodeFromErrno(errno));
    TextWriter writer(::fcntl(fd.get(), F_DUPFD_CLOEXEC, 0), t.path);
    if (write) write(writer);
    writer.close();
    return true;
}

void replaceFile(const std::string& target, const std::string& tempPath,
                 const std::function<void(TextWriter&)>& write) {
    const files::Target t = files::resolveTarget(target);
    files::refuseUnfit(t);
    step("create");
    std::string temp = tempPath;
    int fd = -1;
    if (sameFolder(files::folderOf(tempPath), files::folderOf(t.path))) {
        // Whatever has that name already (another save's file, a former run's, a link) stays.
        fd = files::createExclusive(tempPath, creationMode(t));
        if (fd < 0 && errno != EEXIST) throw InOutError(ioCodeFromErrno(errno));
    }
    if (fd < 0) fd = files::createUnique(t.path, ".tmp", creationMode(t), temp);
    if (fd < 0) throw InOutError(ioCodeFromErrno(errno));
    writeAndRename(fd, temp, t, write);
}

void refuseReplace(const std::string& target) {
    const files::Target t = files::resolveTarget(target);
    files::refuseUnfit(t);
    const std::string folder = files::folderOf(t.path);
    if (::faccessat(AT_FDCWD, folder.empty() ? "." : folder.c_str(), W_OK | X_OK, AT_EACCESS) != 0)
        throw InOutError(ioCodeFromErrno(errno));
}

void rewriteFile(const std::string& target, const std::function<void(TextWriter&)>& write) {
    const bool failTempCreate = std::exchange(testing::gFailNextTempCreate, false);
    const files::Target t = files::resolveTarget(target);
    files::refuseUnfit(t);
    step("create");
    std::string temp;
    int fd = -1;
    if (failTempCreate) {
        errno = EACCES;
    } else {
        fd = files::createUnique(t.path, ".tmp", creationMode(t), temp);
    }
    if (fd >= 0) return writeAndRename(fd, temp, t, write);
    const int error = errno;
    // The folder refuses a new file (or a name that long), but the target is there.
    if (t.exists && (error == EACCES || error == EPERM || error == ENAMETOOLONG)) return files::writeInPlace(t, write);
    throw InOutError(ioCodeFromErrno(error));
}

}  // namespace runtime
