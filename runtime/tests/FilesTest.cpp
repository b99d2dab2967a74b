#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ReadOnlyFolder.h"
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

using RewriteFile = ReplaceFile;

TEST_F(RewriteFile, FilesNamedLikeTemporariesAreLeftAlone) {
    dir.write("data_rec.dat.tmp", "the user's own");
    dir.write("data_rec.dat.1.tmp", "another");
    fs::create_directory(dir.file("data_rec.dat.2.tmp"));

    rewriteFile(target, [](TextWriter& w) { w.writeln("new"); });
    EXPECT_EQ(contents(), "new\r\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"data_rec.dat", "data_rec.dat.1.tmp", "data_rec.dat.2.tmp",
                                                      "data_rec.dat.tmp"}));
    EXPECT_EQ(dir.read("data_rec.dat.tmp"), "the user's own");

    // A missing target is created.
    const std::string fresh = dir.file("fresh.txt");
    rewriteFile(fresh, [](TextWriter& w) { w.write("x"); });
    EXPECT_TRUE(fs::is_regular_file(fresh));
}

TEST_F(RewriteFile, FailedWriteLeavesThePreviousBytes) {
    const char raw[] = "line 1\nno CR\r\n\0binary\xff";
    const std::string previous(raw, sizeof raw - 1);
    dir.write("data_rec.dat", previous);
    EXPECT_THROW(rewriteFile(target, [](TextWriter& w) {
                     w.writeln("half");
                     throw InOutError(kDiskFull);
                 }),
                 InOutError);
    EXPECT_EQ(contents(), previous);
    runtime::testing::failNextRename();
    EXPECT_THROW(rewriteFile(target, [](TextWriter& w) { w.writeln("x"); }), InOutError);
    EXPECT_EQ(contents(), previous);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
}

TEST_F(RewriteFile, FolderWithoutRoomForANewFileIsWrittenInPlace) {
    runtime::testing::failNextTempCreate();
    rewriteFile(target, [](TextWriter& w) { w.writeln("in place"); });
    EXPECT_EQ(contents(), "in place\r\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});

    // A failed write in place puts the previous bytes back.
    runtime::testing::failNextTempCreate();
    EXPECT_THROW(rewriteFile(target, [](TextWriter& w) {
                     w.writeln("half");
                     throw InOutError(kDiskFull);
                 }),
                 InOutError);
    EXPECT_EQ(contents(), "in place\r\n");
    runtime::testing::failNextTempCreate();
    runtime::testing::failNextWriterClose();
    EXPECT_THROW(rewriteFile(target, [](TextWriter& w) { w.writeln("x"); }), InOutError);
    EXPECT_EQ(contents(), "in place\r\n");

    // Without a target there is nothing to write in place: the refusal is reported.
    runtime::testing::failNextTempCreate();
    try {
        rewriteFile(dir.file("new.txt"), [](TextWriter& w) { w.writeln("x"); });
        ADD_FAILURE() << "no error";
    } catch (const InOutError& e) {
        EXPECT_EQ(std::string(e.what()), "File access denied");
    }
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
}

TEST_F(RewriteFile, ReadOnlyFolderOverAWritableFile) {
    const std::string fresh = dir.file("fresh.txt");
    const auto run = runtime::testing::runInReadOnlyFolder(dir.dir(), [&] {
        rewriteFile(target, [](TextWriter& w) { w.writeln("saved"); });
        // A new file cannot be made there, and says so.
        try {
            rewriteFile(fresh, [](TextWriter& w) { w.writeln("x"); });
        } catch (const InOutError&) {
            return true;
        }
        return false;
    });
    if (run == runtime::testing::ReadOnlyRun::CannotRun) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    EXPECT_EQ(contents(), "saved\r\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
}

TEST(FilesHelpers, TrailingSlash) {
    EXPECT_EQ(withTrailingSlash("/"), "/");
    EXPECT_EQ(withTrailingSlash("/work"), "/work/");
    EXPECT_EQ(withTrailingSlash("/work/"), "/work/");
}
