#include "runtime/Files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include <fcntl.h>
#include <unistd.h>

#include "runtime/Errors.h"
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

constexpr int kTempNameTries = 1000;

// Creates an empty file beside `target` under a name that no file had ("res.txt.1.tmp",
// "res.txt.2.tmp", ...) and returns its name; on failure an empty name, and `error` holds errno.
std::string createUniqueTemp(const std::string& target, int& error) {
    if (testing::gFailNextTempCreate) {
        testing::gFailNextTempCreate = false;
        error = EACCES;
        return {};
    }
    for (int n = 1; n <= kTempNameTries; ++n) {
        const std::string name = target + "." + std::to_string(n) + ".tmp";
        // O_EXCL: a file, folder or link of that name is never opened, let alone replaced.
        const int fd = ::open(name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            ::close(fd);
            return name;
        }
        if (errno != EEXIST) {
            error = errno;
            return {};
        }
    }
    error = EEXIST;
    return {};
}

// The folder refuses a new file (or a name that long), but the target is there and takes reading
// and writing: reading, so that its bytes can be put back after a failed write.
bool writableInPlace(const std::string& target, int createError) {
    if (createError != EACCES && createError != EPERM && createError != ENAMETOOLONG) return false;
    if (!fileExists(target)) return false;
    const int fd = ::open(target.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) return false;
    ::close(fd);
    return true;
}

// Writes the target itself; its previous bytes are kept in memory and put back when the write fails.
void writeInPlace(const std::string& target, const std::function<void(TextWriter&)>& write) {
    std::string previous;
    bool known = false;
    {
        std::ifstream in(target, std::ios::binary);
        if (in) {
            previous.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
            known = !in.bad();
        }
    }
    try {
        TextWriter writer(target);
        write(writer);
        writer.close();
    } catch (...) {
        if (known) {
            std::ofstream out(target, std::ios::binary | std::ios::trunc);
            out.write(previous.data(), static_cast<std::streamsize>(previous.size()));
        }
        throw;
    }
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
    try {
        TextWriter writer(tempPath);
        write(writer);
        writer.close();
    } catch (...) {
        std::remove(tempPath.c_str());
        throw;
    }
    if (testing::gFailNextRename) {
        testing::gFailNextRename = false;
        std::remove(tempPath.c_str());
        throw InOutError(kAccessDenied);
    }
    // rename() puts the complete copy in place in one step; the original stays until then.
    if (std::rename(tempPath.c_str(), target.c_str()) != 0) {
        const int error = errno;
        std::remove(tempPath.c_str());
        throw InOutError(error == ENOENT ? kPathNotFound : kAccessDenied);
    }
}

void rewriteFile(const std::string& target, const std::function<void(TextWriter&)>& write) {
    int error = 0;
    const std::string temp = createUniqueTemp(target, error);
    if (!temp.empty()) {
        replaceFile(target, temp, write);
        return;
    }
    if (writableInPlace(target, error)) {
        writeInPlace(target, write);
        return;
    }
    throw InOutError(ioCodeFromErrno(error));
}

}  // namespace runtime
