#pragma once
// Text files in the reading and writing rules of the classic run-time library.
// Lines end in CR LF when written; a lone LF or CR LF ends a line when read. Bytes are in the
// user's code page; a file that begins with the UTF-8 byte-order mark is read as UTF-8.
#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {

// Reading a text file (Reset). The whole file is read when it is opened.
class TextReader {
public:
    // Throws the InOutError of the failure's own meaning when the file cannot be opened ("File not
    // found", "File access denied" for a file that may not be read), and "File access denied.
    // <path> is not a regular file." for a folder, a FIFO or a device, without waiting for it.
    // Throws UnheldCharacterError for a UTF-8 file that the code page cannot hold.
    // The file is read under a shared lock (runtime/FileLock.h), so no save changes it meanwhile;
    // a save that goes on elsewhere for longer than two seconds ends the read with "<path> is
    // being saved by another program".
    explicit TextReader(const std::string& path);

    // Integer read: skips every character of code 32 or less, takes the characters up to the next
    // such one. At the end of the file: 0, no error. Malformed: InOutError "Invalid numeric input".
    std::int32_t readInteger();
    // The same for a real, written with "." in any decimal or scientific notation.
    long double readReal();
    // Text read: the rest of the current line, at most maxLength characters; the line end stays.
    std::string readText(std::size_t maxLength = 255);
    // Readln without a variable: skips the rest of the line and its line end.
    void readln();
    // Readln with a text: readText, then readln. A line past the end reads as empty.
    std::string readLine(std::size_t maxLength = 255);
    bool eof() const;   // nothing more to read
    bool eoln() const;  // at a line end or at the end of the file
    // The line of the read position, from 1; after a failed numeric read, the line of the bad number.
    std::int32_t lineNumber() const;

    // The path given to the constructor.
    const std::string& path() const { return path_; }

private:
    std::string path_;
    std::string data_;
    std::size_t pos_ = 0;
};

// Writing a text file (Rewrite, or Append). Every error is an InOutError; nothing is ignored.
class TextWriter {
public:
    enum class Mode { Rewrite, Append };
    explicit TextWriter(const std::string& path, Mode mode = Mode::Rewrite);
    // Writes through the open descriptor `fd` from its current offset, and closes it when done;
    // `path` names the file in errors. A descriptor that cannot be taken over is closed at once.
    TextWriter(int fd, const std::string& path);
    ~TextWriter();
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;

    void write(std::string_view text);
    void writeln(std::string_view text = {});  // text, then CR LF
    // Integer followed by nothing; callers add the blank the formats want.
    void writeInteger(long long value);
    // Flushes and waits until the disk holds everything written; throws when that fails.
    void sync();
    // Flushes and closes; throws when a write or the close failed.
    void close();

private:
    std::string path_;
    std::FILE* file_ = nullptr;
};

// Reads a whole file into lines (CR LF or LF), without the line ends. Throws as TextReader does.
// A final line without a line end counts; a file ending in a line end has no empty last line.
std::vector<std::string> readAllLines(const std::string& path);

}  // namespace runtime
