#include "runtime/Errors.h"

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

InOutError::InOutError(int code) : Error(ioMessage(code)), code_(code) {}

}  // namespace runtime
