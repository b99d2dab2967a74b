#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

using namespace runtime;
namespace fs = std::filesystem;

namespace {

class ReplaceFile : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::temp_directory_path() / ("zelk_replace_" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        target = (dir / "data_rec.dat").string();
        temp = (dir / "rec.tmp").string();
        std::ofstream(target, std::ios::binary) << "original\r\n";
    }
    void TearDown() override { fs::remove_all(dir); }
    std::string contents() {
        std::ifstream in(target, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    fs::path dir;
    std::string target;
    std::string temp;
};

}  // namespace

TEST_F(ReplaceFile, PutsTheCompleteCopyInPlace) {
    replaceFile(target, temp, [](TextWriter& w) { w.writeln("new"); });
    EXPECT_EQ(contents(), "new\r\n");
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(ReplaceFile, FailedWriteKeepsTheOriginal) {
    EXPECT_THROW(replaceFile(target, temp, [](TextWriter& w) {
                     w.writeln("half");
                     throw InOutError(kDiskFull);
                 }),
                 InOutError);
    EXPECT_EQ(contents(), "original\r\n");
    EXPECT_FALSE(fs::exists(temp));

    runtime::testing::failNextWriterClose();
    EXPECT_THROW(replaceFile(target, temp, [](TextWriter& w) { w.writeln("x"); }), InOutError);
    EXPECT_EQ(contents(), "original\r\n");
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(ReplaceFile, FailedRenameKeepsTheOriginalAndReports) {
    runtime::testing::failNextRename();
    EXPECT_THROW(replaceFile(target, temp, [](TextWriter& w) { w.writeln("x"); }), InOutError);
    EXPECT_EQ(contents(), "original\r\n");
    EXPECT_FALSE(fs::exists(temp));

    // A real rename failure: the target is a non-empty directory.
    const auto blocked = (dir / "blocked").string();
    fs::create_directories(blocked + "/inside");
    EXPECT_THROW(replaceFile(blocked, temp, [](TextWriter& w) { w.writeln("x"); }), InOutError);
    EXPECT_TRUE(fs::is_directory(blocked + "/inside"));
    EXPECT_FALSE(fs::exists(temp));
}

TEST(FilesHelpers, TrailingSlash) {
    EXPECT_EQ(withTrailingSlash("/"), "/");
    EXPECT_EQ(withTrailingSlash("/work"), "/work/");
    EXPECT_EQ(withTrailingSlash("/work/"), "/work/");
}
