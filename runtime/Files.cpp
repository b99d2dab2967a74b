#include "runtime/Files.h"

#include <cerrno>
#include <filesystem>
#include <system_error>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/FileSteps.h"
#include "runtime/InPlaceWrite.h"
#include "runtime/TextFile.h"

namespace runtime {
namespace fs = std::filesystem;

namespace testing {
namespace {
bool gFailNextRename = false;
bool gFailNextTempCreate = false;
}  // namespace
void failNextRename() { gFailNextRename = true; }
void failNextTempCreate() { gFailNextTempCreate = true; }
}  // namespace testing

namespace {
using files::step;

// The mode a temporary file is created with: private until it has taken the target's bits.
mode_t creationMode(const files::Target& t) { return t.exists ? 0600 : 0666; }

// Gives the new file `fd` the target's owner and group where the process may, and its
// permission bits.
void takeOverAttributes(int fd, const files::Target& t) {
    if (!t.exists) return;
    // The owner first: a change of owner clears the set-id bits that fchmod then sets.
    // Where the process may not set them (EPERM) the file becomes its own: the bits are what protect it.
    [[maybe_unused]] const int owned = ::fchown(fd, t.status.st_uid, t.status.st_gid);
    if (::fchmod(fd, t.status.st_mode & 07777) != 0) throw InOutError(ioCodeFromErrno(errno));
}

// The temporary path from an open, exclusively created temporary file `temp`.
void writeAndRename(int fd, const std::string& temp, const files::Target& t,
                    const std::function<void(TextWriter&)>& write) {
    try {
        takeOverAttributes(fd, t);
        step("write");
        TextWriter writer(std::exchange(fd, -1), temp);
        write(writer);
        step("sync");
        writer.sync();
        writer.close();
    } catch (...) {
        if (fd >= 0) ::close(fd);
        ::unlink(temp.c_str());
        throw;
    }
    step("rename");
    if (testing::gFailNextRename) {
        testing::gFailNextRename = false;
        ::unlink(temp.c_str());
        throw InOutError(kAccessDenied);
    }
    // rename() puts the complete copy in place in one step; the original stays until then.
    if (::rename(temp.c_str(), t.path.c_str()) != 0) {
        const int error = errno;
        ::unlink(temp.c_str());
        throw InOutError(error == ENOENT ? kPathNotFound : kAccessDenied);
    }
    step("sync folder");
    files::syncFolder(files::folderOf(t.path));
}

// True when the two paths name the same folder.
bool sameFolder(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    return ::stat(a.empty() ? "." : a.c_str(), &sa) == 0 && ::stat(b.empty() ? "." : b.c_str(), &sb) == 0 &&
           sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}

// The fixed temporary name, ready for a new file: a file or link of that name that a former run
// left is removed, so that it is neither written through nor blocks the save. A folder stays.
int createFixedTemp(const std::string& tempPath, mode_t mode) {
    struct stat st {};
    if (::lstat(tempPath.c_str(), &st) == 0 && !S_ISDIR(st.st_mode)) ::unlink(tempPath.c_str());
    return files::createExclusive(tempPath, mode);
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

void replaceFile(const std::string& target, const std::string& tempPath,
                 const std::function<void(TextWriter&)>& write) {
    const files::Target t = files::resolveTarget(target);
    files::refuseUnfit(t);
    step("create");
    std::string temp = tempPath;
    int fd = -1;
    if (sameFolder(files::folderOf(tempPath), files::folderOf(t.path))) {
        fd = createFixedTemp(tempPath, creationMode(t));
        if (fd < 0 && errno != EEXIST) throw InOutError(ioCodeFromErrno(errno));
    }
    if (fd < 0) fd = files::createUnique(t.path, ".tmp", creationMode(t), temp);
    if (fd < 0) throw InOutError(ioCodeFromErrno(errno));
    writeAndRename(fd, temp, t, write);
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
