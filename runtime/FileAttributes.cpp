#include "runtime/FileAttributes.h"

#include <algorithm>
#include <cerrno>
#include <vector>

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/acl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"

namespace runtime::files {
namespace {

bool isOwnGroup(gid_t group) {
    if (group == ::getegid()) return true;
    std::vector<gid_t> groups(static_cast<std::size_t>(std::max(::getgroups(0, nullptr), 0)));
    groups.resize(static_cast<std::size_t>(std::max(::getgroups(static_cast<int>(groups.size()), groups.data()), 0)));
    return std::find(groups.begin(), groups.end(), group) != groups.end();
}

// True when a new file of the process can have the target's owner and group: root may give any,
// the target's owner its own groups.
bool mayGiveOwner(const struct stat& status) {
    return ::geteuid() == 0 || (status.st_uid == ::geteuid() && isOwnGroup(status.st_gid));
}

// True when the target's ACL can be read by its path (a file system without ACLs has none).
bool aclReadable(const std::string& path) {
    const acl_t acl = ::acl_get_file(path.c_str(), ACL_TYPE_ACCESS);
    if (!acl) return errno == ENOTSUP;
    ::acl_free(acl);
    return true;
}

// Gives `fd` the target's ACL exactly; false when it cannot.
bool takeOverAcl(int fd, const std::string& target) {
    const acl_t acl = ::acl_get_file(target.c_str(), ACL_TYPE_ACCESS);
    if (!acl) return errno == ENOTSUP;
    // A file system without ACLs takes the plain ACL of the bits, which fchmod then sets.
    const bool set = ::acl_set_fd(fd, acl) == 0 || (errno == ENOTSUP && ::acl_equiv_mode(acl, nullptr) == 0);
    ::acl_free(acl);
    return set;
}

}  // namespace

bool mayReadAndWrite(const Target& t) {
    return t.exists && ::faccessat(AT_FDCWD, t.path.c_str(), R_OK | W_OK, AT_EACCESS) == 0;
}

Way chooseWay(const Target& t) {
    if (!t.exists || (mayGiveOwner(t.status) && aclReadable(t.path))) return Way::Temporary;
    if (mayReadAndWrite(t)) return Way::InPlace;
    throw InOutError(kAccessDenied);
}

bool takeOverAttributes(int fd, const std::string& path, const Target& t, int source) {
    if (!t.exists) return true;
    // The new file was created without any permission: the owner first (a change of owner clears
    // the set-id bits that fchmod then sets), then the ACL, which sets the bits of its entries.
    if (::fchown(fd, t.status.st_uid, t.status.st_gid) != 0 || !takeOverAcl(fd, t.path)) return false;
    if (::fchmod(fd, t.status.st_mode & 07777) != 0) throw InOutError(ioCodeFromErrno(errno));
    if (source >= 0) ::attr_copy_fd(t.path.c_str(), source, path.c_str(), fd, nullptr, nullptr);
    return true;
}

}  // namespace runtime::files
