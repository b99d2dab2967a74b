#include "runtime/FileAttributes.h"

#include <cerrno>

#include <acl/libacl.h>
#include <attr/libattr.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/Errors.h"

namespace runtime::files {

void takeOverAttributes(int fd, const std::string& path, const Target& t) {
    if (!t.exists) return;
    // The owner first: a change of owner clears the set-id bits that fchmod then sets. Where the
    // process may not give the file the owner (EPERM), it keeps the group where it may, so that the
    // group's members keep their access; else the file becomes its own, and the bits protect it.
    [[maybe_unused]] const bool owned = ::fchown(fd, t.status.st_uid, t.status.st_gid) == 0 ||
                                        ::fchown(fd, static_cast<uid_t>(-1), t.status.st_gid) == 0;
    const Descriptor source(::open(t.path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC));
    struct stat opened {};
    const bool readable = source.get() >= 0 && ::fstat(source.get(), &opened) == 0 && sameFile(opened, t.status);
    // The ACL before the bits: setting an ACL sets the bits of its entries, fchmod then all of them.
    if (readable) ::perm_copy_fd(t.path.c_str(), source.get(), path.c_str(), fd, nullptr);
    if (::fchmod(fd, t.status.st_mode & 07777) != 0) throw InOutError(ioCodeFromErrno(errno));
    if (readable) ::attr_copy_fd(t.path.c_str(), source.get(), path.c_str(), fd, nullptr, nullptr);
}

}  // namespace runtime::files
