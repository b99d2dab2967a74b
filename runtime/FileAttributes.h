#pragma once
// What the user set on a file, carried over to the new file that replaces it (the temporary path
// of runtime/Files.h), and the choice of the way a save goes so that nothing of it is lost.
#include "runtime/FileSteps.h"

namespace runtime::files {

// The way the save of a target goes, chosen before anything is written.
enum class Way {
    Temporary,  // a new file beside the target, renamed over it
    InPlace,    // the target itself, written through the recovery copy
};

// The temporary path where the new file can have the target's owner, group, permission bits and
// ACL exactly (the process may give it that owner and group, and may read the ACL by the target's
// path), or where there is no target; else in place where the process may read and write the
// target. Else the save would change who may read the file, and it is refused with an InOutError
// "File access denied".
Way chooseWay(const Target& t);

// True when the process may read and write the existing target (its ACL counted).
bool mayReadAndWrite(const Target& t);

// Gives the new file `fd`, named `path`, what the existing target `t` has, in an order that never
// lets the new file be more open than the target: its owner and group; its ACL, read by the
// target's path (or the plain ACL of its permission bits, in place of one that the folder's default
// ACL gave the new file); its permission bits with the set-id and sticky bits; then its extended
// attributes where the process may read them from `source`, a descriptor of the target (all but
// those that the system's attribute list leaves out, such as "security.selinux"), else none.
// False, with nothing thrown, when the owner, group or ACL cannot be given exactly: the new file
// is then not to be used. Permission bits that cannot be set throw an InOutError. True without
// anything done for a target that does not exist.
bool takeOverAttributes(int fd, const std::string& path, const Target& t, int source);

}  // namespace runtime::files
