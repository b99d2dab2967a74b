#include "runtime/testing/ScratchFolder.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>

namespace runtime::testing {

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) ADD_FAILURE() << "cannot write the test file " << path;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

ScratchFolder::ScratchFolder() {
    static int made = 0;  // several folders in one test get their own names
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string test = info ? std::string(info->test_suite_name()) + "_" + info->name() : "none";
    std::replace(test.begin(), test.end(), '/', '_');  // parameterised tests: "Prefix/Suite", "Case/0"
    path_ = std::filesystem::temp_directory_path() /
            ("zelk_" + test + "_" + std::to_string(::getpid()) + "_" + std::to_string(++made));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

ScratchFolder::~ScratchFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

std::vector<std::string> ScratchFolder::names() const {
    std::vector<std::string> found;
    for (const auto& entry : std::filesystem::directory_iterator(path_)) found.push_back(entry.path().filename().string());
    std::sort(found.begin(), found.end());
    return found;
}

std::string ScratchFolder::subfolder(const std::string& name) const {
    std::filesystem::create_directories(path_ / name);
    return file(name) + "/";
}

std::string ScratchFolder::write(const std::string& name, const std::string& bytes) const {
    writeFile(file(name), bytes);
    return file(name);
}

}  // namespace runtime::testing
