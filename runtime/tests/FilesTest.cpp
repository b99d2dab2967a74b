#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <optional>
#include <regex>
#include <set>
#include <string>
#include <vector>

#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include "runtime/Errors.h"
#include "runtime/FileSteps.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ReadOnlyFolder.h"
#include "runtime/testing/ScratchFolder.h"
#include "runtime/testing/SecondSave.h"
#include "runtime/tests/files_fixture.h"

using namespace runtime;
namespace fs = std::filesystem;

namespace {

std::vector<std::string>* gSyncs = nullptr;  // "<file flushed>: <bytes of gWatched then>"
std::string gWatched;
std::string gFailSyncOf;       // an fsync of a file whose name holds this fails with EIO
std::string gOverwriteOnSync;  // a file that an fsync of it finds overwritten with "X"

}  // namespace

// Every fsync of this test program passes here, so that a test sees what was flushed, and when.
extern "C" int fsync(int fd) {
    std::error_code ec;
    const fs::path flushed = fs::read_symlink("/proc/self/fd/" + std::to_string(fd), ec);
    if (gSyncs) gSyncs->push_back(flushed.string() + ": " + runtime::testing::readFile(gWatched));
    if (!gOverwriteOnSync.empty() && flushed == gOverwriteOnSync) runtime::testing::writeFile(gOverwriteOnSync, "X");
    if (!gFailSyncOf.empty() && flushed.string().find(gFailSyncOf) != std::string::npos) {
        errno = EIO;
        return -1;
    }
    return static_cast<int>(::syscall(SYS_fsync, fd));
}

namespace {

// TMPDIR names `folder` for the life of the object.
class TempFolderSetting {
public:
    explicit TempFolderSetting(const std::string& folder) {
        if (const char* old = std::getenv("TMPDIR")) old_ = old;
        ::setenv("TMPDIR", folder.c_str(), 1);
    }
    ~TempFolderSetting() { old_ ? ::setenv("TMPDIR", old_->c_str(), 1) : ::unsetenv("TMPDIR"); }

private:
    std::optional<std::string> old_;
};

using runtime::testing::failure;
using runtime::testing::writeNew;

// `text` with the unpredictable parts of temporary and recovery names written as "XXXXXX".
std::string unpredictablePartsHidden(const std::string& text) {
    return std::regex_replace(text, std::regex("\\.[A-Za-z0-9]{6}\\.(tmp|bak)"), ".XXXXXX.$1");
}

fs::perms modeOf(const std::string& path) { return fs::status(path).permissions(); }

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
    runtime::testing::failNextRename(ENOSPC);
    EXPECT_EQ(failure([&] { replaceFile(target, temp, writeNew); }), "Disk full");
    EXPECT_EQ(contents(), "original\r\n");
    EXPECT_FALSE(fs::exists(temp));

    // A real rename failure: the target is a non-empty directory.
    const auto blocked = dir.file("blocked");
    fs::create_directories(blocked + "/inside");
    EXPECT_THROW(replaceFile(blocked, temp, [](TextWriter& w) { w.writeln("x"); }), InOutError);
    EXPECT_TRUE(fs::is_directory(blocked + "/inside"));
    EXPECT_FALSE(fs::exists(temp));
}

TEST_F(ReplaceFile, AWriteProtectedFileIsRefusedBeforeAnythingIsWritten) {
    fs::permissions(dir.dir(), fs::perms::all);  // anyone may make files in the folder
    fs::permissions(target, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    const auto run = runtime::testing::runUnprivileged(dir.dir(), [&] {
        bool written = false;
        const auto write = [&written](TextWriter&) { written = true; };
        const auto refused = [](const std::function<void()>& save) {
            try {
                save();
            } catch (const InOutError& e) {
                return std::string(e.what()) == "File access denied";
            }
            return false;
        };
        runtime::testing::failNextTempCreate();
        return refused([&] { replaceFile(target, temp, write); }) && refused([&] { rewriteFile(target, write); }) &&
               !written;
    });
    if (run == runtime::testing::ReadOnlyRun::CannotRun) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    EXPECT_EQ(contents(), "original\r\n");
    EXPECT_EQ(modeOf(target), fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
}

TEST_F(ReplaceFile, TheNewFileKeepsPermissionBitsOwnerAndGroup) {
    const bool root = ::geteuid() == 0;
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    if (root) {
        ASSERT_EQ(::chown(target.c_str(), 65534, 65534), 0);
    }
    const auto expectKept = [&](const char* how) {
        struct stat st {};
        ASSERT_EQ(::stat(target.c_str(), &st), 0);
        EXPECT_EQ(st.st_mode & 07777, 0640u) << how;
        EXPECT_EQ(st.st_uid, root ? 65534u : ::geteuid()) << how;
        EXPECT_EQ(st.st_gid, root ? 65534u : ::getegid()) << how;
    };
    replaceFile(target, temp, writeNew);
    expectKept("replaceFile");
    rewriteFile(target, writeNew);
    expectKept("rewriteFile");
    EXPECT_EQ(contents(), "new\r\n");

    // Without root's powers: the user's own file keeps its further group of the user's; another
    // user's file shared through that group (0660) keeps the group where the owner cannot be kept.
    const std::optional<gid_t> shared = runtime::testing::sharedGroup();
    if (!shared) GTEST_SKIP() << "the user belongs to no further group";
    fs::permissions(dir.dir(), fs::perms::all);
    const std::string own = dir.write("own.dat", "x");
    const std::string others = dir.write("others.dat", "x");
    ASSERT_EQ(::chown(own.c_str(), root ? runtime::testing::kNobody : ::geteuid(), *shared), 0);
    ASSERT_EQ(::chown(others.c_str(), ::geteuid(), *shared), 0);
    ::chmod(own.c_str(), 0640);
    ::chmod(others.c_str(), 0660);
    const auto run = runtime::testing::runUnprivileged(dir.dir(), [&] {
        replaceFile(own, temp, writeNew);
        rewriteFile(own, writeNew);
        if (root) replaceFile(others, temp, writeNew);
        if (root) rewriteFile(others, writeNew);
        return true;
    });
    ASSERT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    struct stat st {};
    for (const std::string& path : {own, others}) {
        ASSERT_EQ(::stat(path.c_str(), &st), 0);
        EXPECT_EQ(st.st_gid, *shared) << path;
        EXPECT_EQ(runtime::testing::readFile(path), root || path == own ? "new\r\n" : "x") << path;
    }
}

TEST_F(ReplaceFile, ALinkStaysALinkAndTheFileItNamesIsRewritten) {
    const std::string real = dir.subfolder("real") + "data.dat";
    runtime::testing::writeFile(real, "original\r\n");
    fs::create_symlink("real/data.dat", dir.file("hop"));
    const std::string link = dir.file("link");
    fs::create_symlink(dir.file("hop"), link);
    const auto expectRewritten = [&](const std::string& bytes) {
        EXPECT_EQ(fs::read_symlink(link), dir.file("hop"));
        EXPECT_EQ(runtime::testing::readFile(real), bytes);
        EXPECT_EQ(dir.names(), (std::vector<std::string>{"data_rec.dat", "hop", "link", "real"}));
        EXPECT_EQ(std::distance(fs::directory_iterator(dir.file("real")), fs::directory_iterator()), 1);
    };
    // "rec.tmp" lies in another folder than the file: a temporary beside the file serves.
    replaceFile(link, temp, writeNew);
    expectRewritten("new\r\n");
    rewriteFile(link, [](TextWriter& w) { w.writeln("again"); });
    expectRewritten("again\r\n");
    runtime::testing::failNextTempCreate();
    rewriteFile(link, [](TextWriter& w) { w.writeln("in place"); });
    expectRewritten("in place\r\n");

    // A link that names no file: that file is made.
    fs::create_symlink("real/made.dat", dir.file("dangling"));
    rewriteFile(dir.file("dangling"), writeNew);
    EXPECT_TRUE(fs::is_symlink(dir.file("dangling")));
    EXPECT_EQ(runtime::testing::readFile(dir.file("real/made.dat")), "new\r\n");
}

TEST_F(ReplaceFile, WhatIsNotARegularFileIsRefusedWithoutWaiting) {
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0666), 0);
    const std::string folder = dir.file("folder");
    fs::create_directory(folder);
    const auto expectRefused = [](const std::function<void()>& save, const std::string& path) {
        try {
            save();
            ADD_FAILURE() << "no error for " << path;
        } catch (const InOutError& e) {
            EXPECT_EQ(std::string(e.what()), "File access denied. " + path + " is not a regular file.");
        }
    };
    expectRefused([&] { replaceFile(fifo, temp, writeNew); }, fifo);
    expectRefused([&] { rewriteFile(fifo, writeNew); }, fifo);
    runtime::testing::failNextTempCreate();
    expectRefused([&] { rewriteFile(fifo, writeNew); }, fifo);
    expectRefused([&] { rewriteFile(folder, writeNew); }, folder);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"data_rec.dat", "folder", "pipe"}));
}

TEST_F(ReplaceFile, TheCopyIsOnDiskBeforeTheRenameAndTheFolderAfterIt) {
    const std::string folder = fs::canonical(dir.dir()).string();
    const std::string keep = dir.subfolder("keep");
    const TempFolderSetting tmp(keep);
    std::vector<std::string> syncs;
    gWatched = target;
    gSyncs = &syncs;
    replaceFile(target, temp, writeNew);
    rewriteFile(target, [](TextWriter& w) { w.writeln("newer"); });
    // In place, the recovery file is on disk before the target is cut.
    runtime::testing::failNextTempCreate();
    rewriteFile(target, [](TextWriter& w) { w.writeln("in place"); });
    gSyncs = nullptr;
    for (auto& sync : syncs) sync = unpredictablePartsHidden(sync);
    EXPECT_EQ(syncs, (std::vector<std::string>{folder + "/rec.tmp: original\r\n", folder + ": new\r\n",
                                               folder + "/data_rec.dat.XXXXXX.tmp: new\r\n", folder + ": newer\r\n",
                                               folder + "/keep/data_rec.dat.XXXXXX.bak: newer\r\n",
                                               folder + "/keep: newer\r\n", folder + "/data_rec.dat: in place\r\n"}));
}

TEST_F(ReplaceFile, TheFixedTemporaryNameIsNeitherFollowedNorInTheWay) {
    const std::string victim = dir.write("victim", "keep me");
    dir.write("rec.tmp", "another save's");
    replaceFile(target, temp, writeNew);
    EXPECT_EQ(dir.read("rec.tmp"), "another save's");
    fs::remove(temp);
    fs::create_symlink(victim, temp);
    replaceFile(target, temp, writeNew);
    EXPECT_TRUE(fs::is_symlink(temp));
    fs::remove(temp);
    fs::create_directory(temp);
    replaceFile(target, temp, [](TextWriter& w) { w.writeln("newest"); });
    EXPECT_EQ(contents(), "newest\r\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"data_rec.dat", "rec.tmp", "victim"}));

    // A file or link that takes the new file's name once it is made never takes the target's place.
    fs::remove(temp);
    runtime::testing::onFileStep([&](const std::string& step) {
        if (step != "write") return;
        fs::rename(temp, dir.file("moved"));
        fs::create_symlink(victim, temp);
    });
    EXPECT_EQ(failure([&] { replaceFile(target, temp, writeNew); }),
              "File access denied. " + temp + " was replaced while it was written.");
    runtime::testing::onFileStep({});
    EXPECT_EQ(dir.read("victim"), "keep me");
    EXPECT_EQ(contents(), "newest\r\n");
    EXPECT_TRUE(fs::is_symlink(temp));
}

TEST_F(ReplaceFile, TwoSavesThroughTheFixedNameAtOnceEachWriteTheirOwnFile) {
    const std::string other = dir.write("endp.tab", "old\r\n");
    replaceFile(target, temp, [&](TextWriter& w) {
        w.writeln("town 1");
        replaceFile(other, temp, [](TextWriter& o) { o.writeln("endpoints"); });
        w.writeln("town 2");
    });
    EXPECT_EQ(contents(), "town 1\r\ntown 2\r\n");
    EXPECT_EQ(dir.read("endp.tab"), "endpoints\r\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"data_rec.dat", "endp.tab"}));
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

TEST_F(RewriteFile, StrayTemporariesNeverBlockASave) {
    for (int n = 1; n <= 1000; ++n) dir.write("data_rec.dat." + std::to_string(n) + ".tmp", "");
    std::vector<std::string> during;
    rewriteFile(target, [&](TextWriter& w) {
        during = dir.names();
        w.writeln("new");
    });
    EXPECT_EQ(contents(), "new\r\n");
    EXPECT_EQ(dir.names().size(), 1001u);
    const std::regex temporary("data_rec\\.dat\\.[A-Za-z0-9]{6}\\.tmp");
    EXPECT_EQ(
        std::count_if(during.begin(), during.end(), [&](const auto& n) { return std::regex_match(n, temporary); }), 1);
}

TEST_F(RewriteFile, InPlaceThePreviousBytesWaitInAPrivateRecoveryFile) {
    const std::string keep = dir.subfolder("keep");
    const TempFolderSetting tmp(keep);
    std::string keptName;
    std::string keptBytes;
    fs::perms mode{};
    runtime::testing::failNextTempCreate();
    rewriteFile(target, [&](TextWriter& w) {
        for (const auto& entry : fs::directory_iterator(keep)) {
            keptName = entry.path().filename();
            keptBytes = runtime::testing::readFile(entry.path());
            mode = modeOf(entry.path());
        }
        w.writeln("in place");
    });
    EXPECT_TRUE(std::regex_match(keptName, std::regex("data_rec\\.dat\\.[A-Za-z0-9]{6}\\.bak"))) << keptName;
    EXPECT_EQ(keptBytes, "original\r\n");
    EXPECT_EQ(mode, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(contents(), "in place\r\n");
    EXPECT_TRUE(fs::is_empty(keep));
    runtime::testing::failNextTempCreate();
    EXPECT_THROW(rewriteFile(target,
                             [](TextWriter& w) {
                                 w.writeln("half");
                                 throw InOutError(kDiskFull);
                             }),
                 InOutError);
    EXPECT_EQ(contents(), "in place\r\n");
    EXPECT_TRUE(fs::is_empty(keep));
}

// Under a file-size limit, with its signal ignored as the program ignores it: the write fails with
// "File too large" and the previous bytes are put back, or, where they do not fit either, kept.
TEST_F(RewriteFile, APutBackThatFailsKeepsTheRecoveryFileAndNamesIt) {
    const std::string keep = dir.subfolder("keep");
    const std::string message = dir.file("message");
    for (const std::size_t size : {50000u, 278890u}) {
        const std::string previous(size, 'o');
        dir.write("data_rec.dat", previous);
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("TMPDIR", keep.c_str(), 1);
            std::signal(SIGXFSZ, SIG_IGN);
            runtime::testing::onFileStep([](const std::string& step) {
                const rlimit limit{100000, 100000};  // once the recovery file is there, no file grows past this
                if (step == "write") ::setrlimit(RLIMIT_FSIZE, &limit);
            });
            runtime::testing::failNextTempCreate();
            runtime::testing::writeFile(
                message,
                failure([&] { rewriteFile(target, [](TextWriter& w) { w.write(std::string(200000, 'n')); }); }));
            ::_exit(0);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        std::vector<std::string> recovery;
        for (const auto& entry : fs::directory_iterator(keep)) recovery.push_back(entry.path());
        if (size < 100000) {
            EXPECT_EQ(runtime::testing::readFile(message), "File too large");
            EXPECT_EQ(contents(), previous);
            EXPECT_TRUE(recovery.empty());
            continue;
        }
        ASSERT_EQ(recovery.size(), 1u);
        EXPECT_EQ(runtime::testing::readFile(message),
                  "File too large. The previous contents are kept in " + recovery[0] + ".");
        EXPECT_EQ(runtime::testing::readFile(recovery[0]), previous);
    }
}

TEST_F(RewriteFile, ARestoreThatDoesNotReadBackAsThePreviousBytesKeepsTheRecoveryFile) {
    const std::string keep = dir.subfolder("keep");
    const TempFolderSetting tmp(keep);
    runtime::testing::onFileStep([&](const std::string& step) {
        if (step == "restore") gOverwriteOnSync = fs::canonical(target).string();
    });
    runtime::testing::failNextTempCreate();
    EXPECT_THROW(rewriteFile(target, [](TextWriter&) { throw InOutError(kDiskFull); }), ContentsKeptError);
    runtime::testing::onFileStep({});
    gOverwriteOnSync.clear();
    ASSERT_EQ(std::distance(fs::directory_iterator(keep), fs::directory_iterator()), 1);
    EXPECT_EQ(runtime::testing::readFile(fs::directory_iterator(keep)->path()), "original\r\n");
}

TEST_F(RewriteFile, InPlaceAnUnusableTempFolderGivesWayToTmpAndElseIsNamed) {
    const TempFolderSetting gone(dir.file("gone"));
    runtime::testing::failNextTempCreate();
    rewriteFile(target, writeNew);
    EXPECT_EQ(contents(), "new\r\n");
    // Where neither folder takes the recovery file, nothing is written.
    gFailSyncOf = ".bak";
    runtime::testing::failNextTempCreate();
    EXPECT_EQ(failure([&] { rewriteFile(target, [](TextWriter& w) { w.writeln("newer"); }); }),
              "Input/output error. The previous contents could not be kept in " + dir.file("gone") +
                  "/ or /tmp/, so the file is not changed.");
    gFailSyncOf.clear();
    EXPECT_EQ(contents(), "new\r\n");
}

TEST_F(RewriteFile, NamesAsLongAsTheFolderTakesAreSaved) {
    const TempFolderSetting tmp(dir.subfolder("keep"));
    // 255 bytes; the name part of a temporary name is cut before the two-byte letter at 243.
    const std::string name = std::string(243, 'n') + "\xc3\xa9" + std::string(10, 'n');
    const std::string longTarget = dir.write(name, "old");
    std::vector<std::string> during;
    rewriteFile(longTarget, [&](TextWriter& w) {
        during = dir.names();
        w.writeln("new");
    });
    EXPECT_EQ(during.size(), 4u);
    EXPECT_TRUE(std::regex_match(during[2], std::regex("n{243}\\.[A-Za-z0-9]{6}\\.tmp"))) << during[2];
    runtime::testing::failNextTempCreate();
    rewriteFile(longTarget, [](TextWriter& w) { w.writeln("in place"); });
    dir.write("rec.tmp", "taken");
    replaceFile(longTarget, temp, [](TextWriter& w) { w.writeln("replaced"); });
    EXPECT_EQ(dir.read(name), "replaced\r\n");
}

TEST_F(RewriteFile, EverySaveTakesAnotherTemporaryName) {
    std::set<std::string> names;
    const auto write = [&](TextWriter& w) {
        for (const std::string& n : dir.names()) names.insert(n);
        w.writeln("new");
    };
    for (int n = 0; n < 3; ++n) rewriteFile(target, write);
    EXPECT_EQ(names.size(), 4u);  // the target and three temporary files
}

TEST_F(ReplaceFile, RefuseReplaceChecksTheFolderOfTheFileThatALinkNames) {
    fs::permissions(dir.dir(), fs::perms::all);
    const std::string other = dir.subfolder("other");
    const std::string real = other + "data.dat";
    runtime::testing::writeFile(real, "x");
    // The unprivileged user's own file, in a folder that takes no new file.
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(real.c_str(), runtime::testing::kNobody, runtime::testing::kNobody), 0);
    }
    fs::permissions(other,
                    fs::perms::owner_read | fs::perms::owner_exec | fs::perms::others_read | fs::perms::others_exec);
    fs::create_symlink(real, dir.file("link"));
    const auto run = runtime::testing::runUnprivileged(
        dir.dir(), [&] { return failure([&] { refuseReplace(dir.file("link")); }) == "File access denied"; });
    fs::permissions(other, fs::perms::owner_all);
    if (run == runtime::testing::ReadOnlyRun::CannotRun) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
}

TEST_F(RewriteFile, TwoSavesInPlaceAtOnceLeaveTheLaterWhole) {
    const auto lines = [](const char* word) {
        return [word](TextWriter& w) {
            for (int n = 0; n < 2000; ++n) w.writeln(word);
        };
    };
    runtime::testing::SecondSave second("write", [&] {
        runtime::testing::failNextTempCreate();
        rewriteFile(target, lines("second"));
    });
    runtime::testing::failNextTempCreate();
    rewriteFile(target, lines("first"));
    EXPECT_TRUE(second.waitedAndSucceeded());
    std::string expected;
    for (int n = 0; n < 2000; ++n) expected += "second\r\n";
    EXPECT_TRUE(contents() == expected) << "a mixture of both saves";
}

TEST_F(RewriteFile, AReaderWaitsUntilTheFileWrittenInPlaceIsComplete) {
    runtime::testing::SecondSave reader("write", [&] {
        if (readAllLines(target) != std::vector<std::string>{"new"}) throw 0;
    });
    runtime::testing::failNextTempCreate();
    rewriteFile(target, writeNew);
    EXPECT_TRUE(reader.waitedAndSucceeded());
}

TEST_F(ReplaceFile, ALockHeldElsewhereEndsTheSaveBeforeAnythingIsWritten) {
    const files::Descriptor other(::open(target.c_str(), O_RDONLY));
    ASSERT_EQ(::flock(other.get(), LOCK_EX), 0);
    EXPECT_EQ(failure([&] { replaceFile(target, temp, writeNew); }), target + " is being saved by another program");
    EXPECT_EQ(contents(), "original\r\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
}

TEST_F(ReplaceFile, AWorkingFileThatCannotBeWrittenWholeIsNotCreated) {
    const std::string fresh = dir.file("data_sup.tab");
    runtime::testing::failNextWriterClose();
    EXPECT_EQ(failure([&] { createFileUnlessExists(fresh, writeNew); }), "Disk full");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
    // Without links the file is created under its own name, and a failure there leaves none either.
    runtime::testing::noLinksNext();
    int writes = 0;
    EXPECT_EQ(failure([&] {
                  createFileUnlessExists(fresh, [&](TextWriter& w) {
                      w.writeln("half");
                      if (++writes == 2) throw InOutError(kDiskFull);
                  });
              }),
              "Disk full");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"data_rec.dat"});
    EXPECT_TRUE(createFileUnlessExists(fresh, writeNew));
    EXPECT_FALSE(createFileUnlessExists(fresh, writeNew));
    EXPECT_EQ(dir.read("data_sup.tab"), "new\r\n");
    EXPECT_EQ(dir.names(), (std::vector<std::string>{"data_rec.dat", "data_sup.tab"}));
}

TEST(IoCodes, EveryErrorReadsAsItsOwnMeaning) {
    const std::pair<int, const char*> cases[] = {
        {EIO, "Input/output error"},
        {EINTR, "Interrupted system call"},
        {ELOOP, "Too many levels of symbolic links"},
        {EFBIG, "File too large"},
        {ENOSPC, "Disk full"},
        {EMFILE, "Too many open files"},
        {EACCES, "File access denied"},
        {ENOENT, "File not found"},
        {EXDEV, "I/O error 17"},
        {EHWPOISON, "System error 133"},
    };
    for (const auto& [error, text] : cases) EXPECT_EQ(ioMessage(ioCodeFromErrno(error)), text) << error;
}

TEST(FilesHelpers, TrailingSlash) {
    EXPECT_EQ(withTrailingSlash("/"), "/");
    EXPECT_EQ(withTrailingSlash("/work"), "/work/");
    EXPECT_EQ(withTrailingSlash("/work/"), "/work/");
}
