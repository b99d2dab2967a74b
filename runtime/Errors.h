#pragma once
// The error kinds of the classic run-time library, as the screens report them.
#include <stdexcept>
#include <string>

namespace runtime {

// Base of every error that the application's default error box shows with its message.
class Error : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// An input/output error: "File not found", "Invalid numeric input", "I/O error 5", ...
class InOutError : public Error {
public:
    InOutError(int code, const std::string& message) : Error(message), code_(code) {}
    explicit InOutError(int code);
    int code() const { return code_; }

private:
    int code_;
};

// An input/output error after which a file's previous contents could not be put back: they are
// kept in the file keptIn(), which the message names after the classic text ("I/O error 27. The
// previous contents are kept in /tmp/res.txt.x2Jq7a.bak.").
class ContentsKeptError : public InOutError {
public:
    ContentsKeptError(int code, const std::string& classicText, const std::string& keptIn);
    const std::string& keptIn() const { return keptIn_; }
    // What follows the classic text: " The previous contents are kept in <keptIn>."
    static std::string note(const std::string& keptIn);

private:
    std::string keptIn_;
};

// A conversion error: "'abc' is not a valid integer value", ...
class ConvertError : public Error {
public:
    using Error::Error;
};

// Thrown to end the program at once with an exit code (2: no parameter file, 3: bad exchange file).
// It is not an error to be shown: the program body catches it and leaves with the code.
class ExitProgram {
public:
    explicit ExitProgram(int code) : code_(code) {}
    int code() const { return code_; }

private:
    int code_;
};

// I/O result codes used by the messages: the classic codes, and above kSystemErrorBase the errors
// of the system that no classic code means.
enum IoCode : int {
    kFileNotFound = 2,
    kPathNotFound = 3,
    kTooManyOpenFiles = 4,
    kAccessDenied = 5,
    kNotSameDevice = 17,
    kDiskFull = 101,
    kReadBeyondEnd = 100,
    kFileNotOpen = 103,
    kInvalidNumericInput = 106,
    kSystemErrorBase = 1000,
};

// The message of an I/O result code: 2 "File not found", 106 "Invalid numeric input", other
// classic codes "I/O error N"; above kSystemErrorBase the system error's plain text
// ("File too large").
std::string ioMessage(int code);

// The I/O result code of a failed system call's errno: the classic code of the same meaning
// (5 "File access denied" for a refusal, 101 "Disk full", 2 "File not found", ...), else
// kSystemErrorBase + errno, so that no error shows the text of another.
int ioCodeFromErrno(int error);

}  // namespace runtime
