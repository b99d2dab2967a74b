#pragma once
// What the user set on a file, carried over to the new file that replaces it (the temporary path
// of runtime/Files.h).
#include "runtime/FileSteps.h"

namespace runtime::files {

// Gives the new file `fd`, named `path`, what the existing target `t` has: its owner and group
// where the process may set them, else its group alone where the process may set that; its POSIX
// ACL; its permission bits; its extended attributes as the system copies them (all but those that
// the system's attribute list leaves out, such as "security.selinux"). An ACL or attribute that
// cannot be read or set is left out and the save goes on; permission bits that cannot be set throw
// an InOutError. Nothing is done for a target that does not exist.
void takeOverAttributes(int fd, const std::string& path, const Target& t);

}  // namespace runtime::files
