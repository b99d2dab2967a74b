#include "runtime/Files.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <system_error>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/TextFile.h"

namespace runtime {
namespace fs = std::filesystem;

namespace testing {
namespace {
bool gFailNextRename = false;
}
void failNextRename() { gFailNextRename = true; }
}  // namespace testing

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

}  // namespace runtime
