#include "runtime/Errors.h"

#include <cerrno>

namespace runtime {

std::string ioMessage(int code) {
    switch (code) {
    case kFileNotFound: return "File not found";
    case kPathNotFound: return "Invalid filename";
    case 4: return "Too many open files";
    case kAccessDenied: return "File access denied";
    case kReadBeyondEnd: return "Read beyond end of file";
    case kDiskFull: return "Disk full";
    case kInvalidNumericInput: return "Invalid numeric input";
    default: return "I/O error " + std::to_string(code);
    }
}

int ioCodeFromErrno(int error) {
    switch (error) {
    case ENOENT: return kFileNotFound;
    case ENOTDIR:
    case ENAMETOOLONG: return kPathNotFound;
    case EACCES:
    case EPERM:
    case EROFS:
    case EISDIR:
    case ETXTBSY: return kAccessDenied;
    case ENOSPC:
    case EDQUOT: return kDiskFull;
    default: return error > 0 ? error : kAccessDenied;
    }
}

InOutError::InOutError(int code) : Error(ioMessage(code)), code_(code) {}

ContentsKeptError::ContentsKeptError(int code, const std::string& classicText, const std::string& keptIn)
    : InOutError(code, classicText + "." + note(keptIn)), keptIn_(keptIn) {}

std::string ContentsKeptError::note(const std::string& keptIn) {
    return " The previous contents are kept in " + keptIn + ".";
}

}  // namespace runtime
