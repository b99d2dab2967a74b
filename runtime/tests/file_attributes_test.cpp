// What a rewrite keeps of what the user set on a file (its owner, group, ACL and extended
// attributes), so that no save changes who may read it; and the rules of a shared sticky folder:
// another user's writable file there is written in place where the rename is refused, and another
// user's link there is not followed.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include <sys/acl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include "runtime/Files.h"
#include "runtime/testing/ReadOnlyFolder.h"
#include "runtime/testing/ScratchFolder.h"
#include "runtime/tests/files_fixture.h"

namespace {
using runtime::testing::failure;
using runtime::testing::writeNew;

// An ACL as the system stores it: owner rw-, the user 65534 r--, group r--, mask r--, others ---.
std::string aclWithANamedUser() {
    std::string acl;
    const auto add = [&acl](std::uint32_t value, int bytes) {
        for (int i = 0; i < bytes; ++i) acl += static_cast<char>((value >> (8 * i)) & 0xff);
    };
    add(2, 4);  // the version of the form
    const std::uint32_t none = 0xffffffff;
    for (const auto& [tag, perm, id] : std::vector<std::array<std::uint32_t, 3>>{
             {0x01, 6, none}, {0x02, 4, 65534}, {0x04, 4, none}, {0x10, 4, none}, {0x20, 0, none}}) {
        add(tag, 2);
        add(perm, 2);
        add(id, 4);
    }
    return acl;
}

std::string attribute(const std::string& path, const char* name) {
    char value[256];
    const ssize_t n = ::getxattr(path.c_str(), name, value, sizeof value);
    return n < 0 ? "" : std::string(value, static_cast<std::size_t>(n));
}

TEST(FileAttributes, TheAclAndUserAttributesAreKeptOnTheTemporaryPath) {
    runtime::testing::ScratchFolder dir;
    const std::string target = dir.write("data_rec.dat", "old");
    const std::string acl = aclWithANamedUser();
    if (::setxattr(target.c_str(), "user.zelk", "kept", 4, 0) != 0 ||
        ::setxattr(target.c_str(), "system.posix_acl_access", acl.data(), acl.size(), 0) != 0)
        GTEST_SKIP() << "the file system here keeps no ACL or user attribute";
    runtime::replaceFile(target, dir.file("rec.tmp"), writeNew);
    runtime::rewriteFile(target, writeNew);
    EXPECT_EQ(attribute(target, "user.zelk"), "kept");
    EXPECT_EQ(attribute(target, "system.posix_acl_access"), acl);
    EXPECT_EQ(runtime::testing::readFile(target), "new\r\n");
}

// The ACL of `path` as text ("" without one).
std::string aclText(const std::string& path) {
    const acl_t acl = ::acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    if (!acl) return "";
    char* text = ::acl_to_text(acl, nullptr);
    const std::string result = text ? text : "";
    ::acl_free(text);
    ::acl_free(acl);
    return result;
}

// A file of a group's folder (setgid, of the group kSharedGroup) that the user "nobody" (A) saves.
struct SharedFile {
    const char* name;
    uid_t owner;
    gid_t group;
    mode_t mode;
    const char* acl;  // nullptr: none beyond the bits
    bool refused;
};

void PrintTo(const SharedFile& c, std::ostream* os) { *os << c.name; }

class SharedFolder : public ::testing::TestWithParam<SharedFile> {};

TEST_P(SharedFolder, ASaveChangesNeitherOwnerGroupNorWhoMayReadTheFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "files of other users need root to make";
    const SharedFile& c = GetParam();
    runtime::testing::ScratchFolder dir;
    const std::string folder = dir.subfolder("proj");
    ::chown(folder.c_str(), 0, runtime::testing::kSharedGroup);
    ::chmod(folder.c_str(), 02775);
    const std::string target = dir.write("proj/data_rec.dat", "old");
    ::chown(target.c_str(), c.owner, c.group);
    ::chmod(target.c_str(), c.mode);
    const acl_t acl = c.acl ? ::acl_from_text(c.acl) : nullptr;
    if (acl && ::acl_set_file(target.c_str(), ACL_TYPE_ACCESS, acl) != 0) GTEST_SKIP() << "no ACLs here";
    if (acl) ::acl_free(acl);
    const std::string aclBefore = aclText(target);
    struct stat before {};
    ASSERT_EQ(::stat(target.c_str(), &before), 0);  // the ACL's mask is the group's bits
    const auto run = runtime::testing::runUnprivileged(dir.dir(), [&] {
        const std::string rewritten = failure([&] { runtime::rewriteFile(target, writeNew); });
        const std::string replaced = failure([&] { runtime::replaceFile(target, folder + "rec.tmp", writeNew); });
        const std::string expected = c.refused ? "File access denied" : "";
        return rewritten == expected && replaced == expected;
    });
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, c.owner);
    EXPECT_EQ(st.st_gid, c.group);
    EXPECT_EQ(st.st_mode, before.st_mode);
    EXPECT_EQ(aclText(target), aclBefore);
    EXPECT_EQ(runtime::testing::readFile(target), c.refused ? "old" : "new\r\n");
    EXPECT_EQ(dir.names(), std::vector<std::string>{"proj"});
}

// A is "nobody" (65534), B the second user (65533); 4242 is a group that A does not belong to.
INSTANTIATE_TEST_SUITE_P(Cases, SharedFolder,
                         ::testing::Values(SharedFile{"OwnFileOfAnotherGroup", 65534, 4242, 0640, nullptr, false},
                                           SharedFile{"AnotherUsersFileThatAnAclLetsWrite", 65533, 65533, 0640,
                                                      "u::rw-,u:65534:rw-,g::r--,m::rw-,o::---", false},
                                           SharedFile{"AnotherUsersFileThatMayBeWrittenButNotRead", 65533, 65533, 0600,
                                                      "u::rw-,u:65534:-w-,g::---,m::-w-,o::---", true},
                                           SharedFile{"OwnWriteOnlyFileWhoseAclDeniesAUser", 65534, 100, 0224,
                                                      "u::-w-,u:65533:---,g::-w-,m::-w-,o::r--", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(FileAttributes, TheTemporaryCopyIsNeverMoreOpenThanTheTarget) {
    runtime::testing::ScratchFolder dir;
    const acl_t inherited = ::acl_from_text("u::rwx,u:65534:rwx,g::rwx,m::rwx,o::rwx");
    if (::acl_set_file(dir.dir().c_str(), ACL_TYPE_DEFAULT, inherited) != 0) GTEST_SKIP() << "no ACLs here";
    ::acl_free(inherited);
    const std::string target = dir.write("data_rec.dat", "old");
    ::chmod(target.c_str(), 0600);
    const std::string aclOfTarget = aclText(target);
    std::vector<std::string> seen;
    runtime::testing::onFileStep([&](const std::string& step) {
        struct stat st {};
        if (::stat(dir.file("rec.tmp").c_str(), &st) != 0) return;
        const bool closed = (st.st_mode & 0777) == 0;
        seen.push_back(step + (closed                                        ? " private"
                               : aclText(dir.file("rec.tmp")) == aclOfTarget ? " as the target"
                                                                             : " open"));
    });
    runtime::replaceFile(target, dir.file("rec.tmp"), writeNew);
    runtime::testing::onFileStep({});
    EXPECT_EQ(seen, (std::vector<std::string>{"attributes private", "write as the target", "sync as the target",
                                              "rename as the target"}));
    EXPECT_EQ(aclText(target), aclOfTarget);
}

class SharedStickyFolder : public ::testing::Test {
protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "a file of another user needs root to make";
        ::chmod(shared.c_str(), 01777);
    }
    runtime::testing::ScratchFolder dir;
    const std::string shared = dir.subfolder("shared");
    const std::string victim = dir.write("victim", "keep me");
};

TEST_F(SharedStickyFolder, AnotherUsersWritableFileIsWrittenInPlaceWhereTheRenameIsRefused) {
    const std::string keep = dir.subfolder("keep");
    ::chmod(keep.c_str(), 0777);
    const std::string target = shared + "data_rec.dat";
    runtime::testing::writeFile(target, "old");
    ::chmod(target.c_str(), 0666);
    const auto run = runtime::testing::runUnprivileged(dir.dir(), [&] {
        ::setenv("TMPDIR", keep.c_str(), 1);
        runtime::rewriteFile(target, writeNew);
        runtime::replaceFile(target, shared + "rec.tmp", [](runtime::TextWriter& w) { w.writeln("newer"); });
        return true;
    });
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    EXPECT_EQ(runtime::testing::readFile(target), "newer\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_uid, 0u);
}

TEST_F(SharedStickyFolder, AnotherUsersLinkIsNotFollowed) {
    const std::string link = shared + "data_rec.dat";
    ASSERT_EQ(::symlink(victim.c_str(), link.c_str()), 0);
    ASSERT_EQ(::lchown(link.c_str(), runtime::testing::kNobody, runtime::testing::kNobody), 0);
    EXPECT_EQ(failure([&] { runtime::rewriteFile(link, writeNew); }), "File access denied");
    EXPECT_EQ(failure([&] { runtime::replaceFile(link, shared + "rec.tmp", writeNew); }), "File access denied");
    EXPECT_EQ(runtime::testing::readFile(victim), "keep me");
    // The process's own link is followed.
    ASSERT_EQ(::lchown(link.c_str(), 0, 0), 0);
    runtime::rewriteFile(link, writeNew);
    EXPECT_EQ(runtime::testing::readFile(victim), "new\r\n");
}

}  // namespace
