#pragma once
// Test support without Qt: a scratch folder per test, removed afterwards, and files written and
// read byte for byte. Every test (core, screens, platform) takes its temporary files from here.
#include <filesystem>
#include <string>
#include <vector>

namespace runtime::testing {

// Writes `bytes` to `path`, replacing the file; a file that cannot be written fails the test.
void writeFile(const std::string& path, const std::string& bytes);
// The bytes of `path` ("" when it cannot be read).
std::string readFile(const std::string& path);

// An empty folder in the temporary directory, named after the running test and unique within the
// process, and removed with everything in it when the object goes.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // The folder, ending in "/".
    std::string dir() const { return path_.string() + "/"; }
    std::string file(const std::string& name) const { return dir() + name; }
    // Creates the sub-folder `name` (and its parents); its path, ending in "/".
    std::string subfolder(const std::string& name) const;

    // Writes the file `name` in the folder; its path.
    std::string write(const std::string& name, const std::string& bytes) const;
    std::string read(const std::string& name) const { return readFile(file(name)); }
    bool exists(const std::string& name) const { return std::filesystem::exists(file(name)); }
    // The names of everything in the folder, sorted.
    std::vector<std::string> names() const;

private:
    std::filesystem::path path_;
};

}  // namespace runtime::testing
