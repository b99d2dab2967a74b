// A rewrite that is killed at any point of its work loses nothing: on the temporary path the target
// holds exactly its old bytes or exactly its new ones; on the in-place path the old bytes are in
// the target or in the recovery file. Each rewrite runs in a child process that kills itself after
// some lines of the write or before one of the layer's steps.
#include <gtest/gtest.h>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>

#include <sys/wait.h>
#include <unistd.h>

#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ScratchFolder.h"

namespace {
namespace fs = std::filesystem;
using runtime::TextWriter;

constexpr int kLines = 400;  // some 22 000 bytes: the write reaches the file in several blocks

std::string line(const std::string& word, int n) { return word + " line " + std::to_string(n) + std::string(40, '.'); }

std::string fileOf(const std::string& word) {
    std::string bytes;
    for (int n = 0; n < kLines; ++n) bytes += line(word, n) + "\r\n";
    return bytes;
}

enum class Way { ReplaceFile, RewriteFile, InPlace };

struct KillAt {
    int line = -1;  // before writing this line
    int step = -1;  // before the layer's step with this number (0: the first)
};

class Crash : public ::testing::TestWithParam<Way> {
protected:
    // Runs the rewrite in a child that kills itself at `at`; true when it was killed, false when it finished.
    bool killedRewrite(KillAt at) {
        const pid_t child = ::fork();
        if (child == 0) {
            ::setenv("TMPDIR", keep.c_str(), 1);
            int steps = 0;
            runtime::testing::onFileStep([&](const std::string&) {
                if (steps++ == at.step) ::kill(::getpid(), SIGKILL);
            });
            const auto write = [&](TextWriter& w) {
                for (int n = 0; n < kLines; ++n) {
                    if (n == at.line) ::kill(::getpid(), SIGKILL);
                    w.writeln(line("new", n));
                }
            };
            try {
                if (GetParam() == Way::ReplaceFile) runtime::replaceFile(target, dir.file("rec.tmp"), write);
                if (GetParam() == Way::InPlace) runtime::testing::failNextTempCreate();
                if (GetParam() != Way::ReplaceFile) runtime::rewriteFile(target, write);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        int status = 0;
        EXPECT_EQ(::waitpid(child, &status, 0), child);
        if (WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) return true;
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the rewrite failed";
        return false;
    }

    // Kills a rewrite of the old file at `at` and checks what is left; true when it was killed.
    bool killAndCheck(KillAt at) {
        runtime::testing::writeFile(target, before);
        fs::remove_all(keep);
        fs::create_directory(keep);
        const bool killed = killedRewrite(at);
        const std::string now = runtime::testing::readFile(target);
        std::string kept;
        for (const auto& entry : fs::directory_iterator(keep)) kept = runtime::testing::readFile(entry.path());
        const std::string where = "killed at line " + std::to_string(at.line) + ", step " + std::to_string(at.step);
        if (!killed)
            EXPECT_TRUE(now == after && fs::is_empty(keep)) << where;
        else if (GetParam() == Way::InPlace)
            EXPECT_TRUE(now == before || kept == before) << where;
        else
            EXPECT_TRUE(now == before || now == after) << where;
        return killed;
    }

    runtime::testing::ScratchFolder dir;
    const std::string target = dir.file("data_rec.dat");
    const std::string keep = dir.file("keep");
    const std::string before = fileOf("old");
    const std::string after = fileOf("new");
};

}  // namespace

TEST_P(Crash, AKilledRewriteLeavesTheOldBytesOrTheNew) {
    int kills = 0;
    for (int n = 0; n < kLines; n += 10) kills += killAndCheck({n, -1});
    int step = 0;
    while (killAndCheck({-1, step})) ++step;
    EXPECT_EQ(kills, kLines / 10);
    EXPECT_EQ(step, GetParam() == Way::InPlace ? 5 : 6);  // the steps of the path
}

INSTANTIATE_TEST_SUITE_P(EveryPath, Crash, ::testing::Values(Way::ReplaceFile, Way::RewriteFile, Way::InPlace));
