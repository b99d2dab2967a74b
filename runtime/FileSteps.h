#pragma once
// The steps that the two rewrites of runtime/Files.h share: finding the file that a path names,
// refusing what may not be rewritten, creating new files exclusively, flushing a folder.
#include <functional>
#include <string>

#include <sys/stat.h>
#include <sys/types.h>

namespace runtime {
class InOutError;
}

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

// Closes a descriptor when it goes.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor();
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

// Follows the links from `target`; a link that names nothing ends the chain with exists false.
// Throws an InOutError for a chain that cannot be followed (a loop, a refused folder, a link of
// another user in a shared sticky folder: "File access denied").
Target resolveTarget(const std::string& target);

// Throws an InOutError where the existing target may not be rewritten: it is not a regular file
// ("File access denied. <path> is not a regular file."), or the process may not write it
// ("File access denied").
void refuseUnfit(const Target& t);

// The refusal of something other than a regular file: "File access denied. <path> is not a regular file."
InOutError notRegularFile(const std::string& path);

// True when the two statuses are of the same file (device and inode).
bool sameFile(const struct stat& a, const struct stat& b);

// Creates the file `path` exclusively and never through a link, open for writing; the descriptor,
// or -1 with errno.
int createExclusive(const std::string& path, mode_t mode);
// Creates a file named `prefix` + "." + six unpredictable letters or digits + `suffix`
// exclusively, as createExclusive does, and sets `path` to its name; -1 with errno when it fails.
// Where that name would be longer than the folder takes, the name part of `prefix` is cut short.
int createUnique(const std::string& prefix, const std::string& suffix, mode_t mode, std::string& path);

// Reads the whole file `fd` from its start into `bytes`; false with errno when a read fails.
bool readAll(int fd, std::string& bytes);

// Flushes the folder's entries to disk (after a rename in it); failures are ignored.
void syncFolder(const std::string& folder);

}  // namespace runtime::files
