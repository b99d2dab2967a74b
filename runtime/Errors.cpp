#include "runtime/Errors.h"

#include <cerrno>

namespace runtime {
namespace {

// The errors of the system that no classic code means, with their plain texts; their code is
// kSystemErrorBase + errno.
struct SystemError {
    int error;
    const char* text;
};
constexpr SystemError kSystemErrors[] = {
    {EIO, "Input/output error"},
    {EINTR, "Interrupted system call"},
    {EFBIG, "File too large"},
    {ELOOP, "Too many levels of symbolic links"},
    {EEXIST, "File exists"},
    {ENOTEMPTY, "Directory not empty"},
    {EBUSY, "Device or resource busy"},
    {EAGAIN, "Resource temporarily unavailable"},
    {EINVAL, "Invalid argument"},
    {ENOMEM, "Out of memory"},
    {EOVERFLOW, "Value too large"},
    {ENXIO, "No such device or address"},
    {ENODEV, "No such device"},
    {EMLINK, "Too many links"},
    {ESTALE, "Stale file handle"},
    {ENOLCK, "No locks available"},
    {EOPNOTSUPP, "Operation not supported"},
    {EPIPE, "Broken pipe"},
    {ESPIPE, "Illegal seek"},
    {EBADMSG, "Data corrupted"},
    {EUCLEAN, "File system needs cleaning"},
    {EFAULT, "Bad address"},
    {ENOMEDIUM, "No medium found"},
};

}  // namespace

std::string ioMessage(int code) {
    switch (code) {
    case kFileNotFound: return "File not found";
    case kPathNotFound: return "Invalid filename";
    case kTooManyOpenFiles: return "Too many open files";
    case kAccessDenied: return "File access denied";
    case kReadBeyondEnd: return "Read beyond end of file";
    case kDiskFull: return "Disk full";
    case kInvalidNumericInput: return "Invalid numeric input";
    default: break;
    }
    if (code < kSystemErrorBase) return "I/O error " + std::to_string(code);
    for (const SystemError& e : kSystemErrors)
        if (kSystemErrorBase + e.error == code) return e.text;
    return "System error " + std::to_string(code - kSystemErrorBase);
}

int ioCodeFromErrno(int error) {
    switch (error) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return kPathNotFound;
    case EMFILE:
    case ENFILE: return kTooManyOpenFiles;
    case 0:  // a failure that left no errno: a refusal
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return kAccessDenied;
    case EBADF: return kFileNotOpen;
    case EXDEV: return kNotSameDevice;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    default: return kSystemErrorBase + error;
    }
}

InOutError::InOutError(int code) : Error(ioMessage(code)), code_(code) {}

ContentsKeptError::ContentsKeptError(int code, const std::string& classicText, const std::string& keptIn)
    : InOutError(code, classicText + "." + note(keptIn)), keptIn_(keptIn) {}

std::string ContentsKeptError::note(const std::string& keptIn) {
    return " The previous contents are kept in " + keptIn + ".";
}

}  // namespace runtime
