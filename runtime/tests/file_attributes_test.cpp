// What a rewrite keeps of what the user set on a file (its ACL and extended attributes), and the
// rules of a shared sticky folder: another user's writable file there is written in place where
// the rename is refused, and another user's link there is not followed.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

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
