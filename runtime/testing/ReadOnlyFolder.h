#pragma once
// Runs an action against a folder that takes no new file while the files in it stay writable, as a
// user's write-protected folder does. An ordinary user loses the folder's write bits for the time
// of the action; root, whom permissions do not stop, runs the action in a child process as the
// unprivileged user "nobody", with the folder left to root and its files opened to everyone.
// runUnprivileged runs an action as such a user, in whatever folder the caller prepared, or as a
// second unprivileged user, kSecondUser, for the files that one user shares with another.
#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <grp.h>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

namespace runtime::testing {

enum class ReadOnlyRun { Succeeded, Failed, CannotRun };

// The user that root's tests run as, and a group that this user belongs to besides its own, as a
// user belongs to a group that shares files.
constexpr uid_t kNobody = 65534;
constexpr gid_t kSharedGroup = 100;
// A second user without root's powers (no account needed), in kSharedGroup too; its own group has
// the same number.
constexpr uid_t kSecondUser = 65533;

// A group that the user of runUnprivileged belongs to besides its own: kSharedGroup where the tests
// run as root, else one of the running user's further groups; none where the user has no other.
inline std::optional<gid_t> sharedGroup() {
    if (::geteuid() == 0) return kSharedGroup;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    for (const gid_t group : groups)
        if (group != ::getegid()) return group;
    return std::nullopt;
}

// Runs `action` without root's powers: as the running user when that is not root, else in a child
// process as the unprivileged user `user` ("nobody" unless another is named), with its own group
// and the further group kSharedGroup alone, who must be able to enter `folder` (the caller opens to
// that user what the action needs). The action returns true on success; an exception counts as
// failure. CannotRun where root finds no user to switch to.
inline ReadOnlyRun runUnprivileged(const std::string& folder, const std::function<bool()>& action,
                                   uid_t user = kNobody) {
    auto attempt = [&action] {
        try {
            return action();
        } catch (...) {
            return false;
        }
    };
    if (::geteuid() != 0) return attempt() ? ReadOnlyRun::Succeeded : ReadOnlyRun::Failed;
    const pid_t child = ::fork();
    if (child == 0) {
        if (::setgroups(1, &kSharedGroup) != 0 || ::setgid(user) != 0 || ::setuid(user) != 0 ||
            ::access(folder.c_str(), R_OK | X_OK) != 0)
            ::_exit(2);
        ::_exit(attempt() ? 0 : 1);
    }
    int status = 0;
    const bool waited = child > 0 && ::waitpid(child, &status, 0) == child;
    if (!waited || !WIFEXITED(status) || WEXITSTATUS(status) == 2) return ReadOnlyRun::CannotRun;
    return WEXITSTATUS(status) == 0 ? ReadOnlyRun::Succeeded : ReadOnlyRun::Failed;
}

// The action returns true on success; an exception counts as failure.
inline ReadOnlyRun runInReadOnlyFolder(const std::string& folder, const std::function<bool()>& action) {
    namespace fs = std::filesystem;
    const auto writeBits = fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write;
    const fs::perms before = fs::status(folder).permissions();
    if (::geteuid() != 0) {
        fs::permissions(folder, writeBits, fs::perm_options::remove);
    } else {
        fs::permissions(folder, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                                    fs::perms::others_read | fs::perms::others_exec);
        for (const auto& entry : fs::directory_iterator(folder)) {
            if (entry.is_regular_file()) {
                fs::permissions(entry.path(),
                                writeBits | fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
            }
        }
    }
    const ReadOnlyRun run = runUnprivileged(folder, action);
    fs::permissions(folder, before);
    return run;
}

// Runs `action` as runInReadOnlyFolder does and expects it to succeed. False where it cannot run
// at all (root without an unprivileged user to switch to); the caller then skips the test.
inline bool ranInReadOnlyFolder(const std::string& folder, const std::function<void()>& action) {
    const ReadOnlyRun run = runInReadOnlyFolder(folder, [&action] {
        action();
        return true;
    });
    if (run == ReadOnlyRun::CannotRun) return false;
    EXPECT_EQ(run, ReadOnlyRun::Succeeded) << "the save failed in a folder that takes no new file";
    return true;
}

}  // namespace runtime::testing
