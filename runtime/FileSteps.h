#pragma once
// The steps that the two rewrites of runtime/Files.h share: finding the file that a path names,
// refusing what may not be rewritten, creating new files exclusively, flushing a folder.
#include <functional>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>

namespace runtime::files {

// Calls the test hook of runtime::testing::onFileStep, if any, with the step about to be taken.
void step(const std::string& name);

// The folder part of `path`, ending in "/" ("" for a bare name: the current directory).
std::string folderOf(const std::string& path);
// The last part of `path`.
std::string nameOf(const std::string& path);

// The file that a rewrite writes: the end of the chain of symbolic links from the path given.
struct Target {
    std::string path;       // without links at its end; the name to create where nothing is there
    bool exists = false;    // something other than a link is there
    struct stat status {};  // its lstat, where it exists
};

// Follows the links from `target`; a link that names nothing ends the chain with exists false.
// Throws an InOutError for a chain that cannot be followed (a loop, a refused folder).
Target resolveTarget(const std::string& target);

// Throws an InOutError where the existing target may not be rewritten: it is not a regular file
// ("File access denied. <path> is not a regular file."), or the process may not write it
// ("File access denied").
void refuseUnfit(const Target& t);

// Creates the file `path` exclusively and never through a link, open for writing; the descriptor,
// or -1 with errno.
int createExclusive(const std::string& path, mode_t mode);
// Creates a file named `prefix` + "." + six unpredictable letters or digits + `suffix`
// exclusively, as createExclusive does, and sets `path` to its name; -1 with errno when it fails.
int createUnique(const std::string& prefix, const std::string& suffix, mode_t mode, std::string& path);

// Flushes the folder's entries to disk (after a rename in it); failures are ignored.
void syncFolder(const std::string& folder);

}  // namespace runtime::files
