#include <gtest/gtest.h>

#include <filesystem>

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ScratchFolder.h"

using namespace runtime;
namespace fs = std::filesystem;

namespace {

class ReplaceFile : public ::testing::Test {
protected:
    void SetUp() override {
        target = dir.write("data_rec.dat", "original\r\n");
        temp = dir.file("rec.tmp");
    }
    std::string contents() { return dir.read("data_rec.dat"); }
    runtime::testing::ScratchFolder dir;
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
    const auto blocked = dir.file("blocked");
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
