#include "runtime/TextFile.h"

#include <algorithm>
#include <cerrno>

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include "runtime/CodePage.h"
#include "runtime/Errors.h"
#include "runtime/FileLock.h"
#include "runtime/FileSteps.h"
#include "runtime/NumberText.h"

namespace runtime {
namespace {

bool isLineEnd(char c) { return c == '\r' || c == '\n'; }
bool isBlank(char c) { return static_cast<unsigned char>(c) <= 32; }

// The next number text of a numeric read: skips every blank, then takes the characters up to the
// next blank. Empty at the end of the data.
std::string_view nextToken(const std::string& data, std::size_t& pos) {
    while (pos < data.size() && isBlank(data[pos])) ++pos;
    const std::size_t start = pos;
    while (pos < data.size() && !isBlank(data[pos])) ++pos;
    return std::string_view(data).substr(start, pos - start);
}

}  // namespace

namespace testing {
namespace {
bool gFailNextWriterClose = false;
}
void failNextWriterClose() { gFailNextWriterClose = true; }
bool takeWriterCloseFailure() {
    const bool fail = gFailNextWriterClose;
    gFailNextWriterClose = false;
    return fail;
}
}  // namespace testing

TextReader::TextReader(const std::string& path) : path_(path) {
    // O_NONBLOCK: a FIFO under the name is not waited for; it is refused as not a regular file.
    // The shared lock keeps a save from changing the file while it is read.
    struct stat status {};
    const files::Descriptor fd(files::openLocked(path, O_RDONLY | O_NONBLOCK, false, status));
    if (!S_ISREG(status.st_mode)) throw files::notRegularFile(path);
    // Within a save that holds the file locked, the read goes through the lock's descriptor.
    const int held = files::heldLock(status);
    const bool readable = held >= 0 && (::fcntl(held, F_GETFL) & O_ACCMODE) != O_WRONLY;
    if (!files::readAll(readable ? held : fd.get(), data_)) throw InOutError(ioCodeFromErrno(errno));
    data_ = fileTextInCodePage(std::move(data_), path);
}

std::int32_t TextReader::readInteger() {
    const std::string_view token = nextToken(data_, pos_);
    std::int32_t value = 0;
    if (!token.empty() && !parseIntegerToken(token, value)) throw InOutError(kInvalidNumericInput);
    return value;
}

long double TextReader::readReal() {
    const std::string_view token = nextToken(data_, pos_);
    long double value = 0;
    if (!token.empty() && !parseRealToken(token, value, '.')) throw InOutError(kInvalidNumericInput);
    return value;
}

std::string TextReader::readText(std::size_t maxLength) {
    const std::size_t start = pos_;
    while (pos_ < data_.size() && !isLineEnd(data_[pos_]) && pos_ - start < maxLength) ++pos_;
    return data_.substr(start, pos_ - start);
}

void TextReader::readln() {
    while (pos_ < data_.size() && !isLineEnd(data_[pos_])) ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\r') ++pos_;
    if (pos_ < data_.size() && data_[pos_] == '\n') ++pos_;
}

std::string TextReader::readLine(std::size_t maxLength) {
    std::string text = readText(maxLength);
    readln();
    return text;
}

bool TextReader::eof() const { return pos_ >= data_.size(); }

bool TextReader::eoln() const { return pos_ >= data_.size() || isLineEnd(data_[pos_]); }

std::int32_t TextReader::lineNumber() const {
    // Line ends as readln takes them: CR LF, a lone CR or a lone LF.
    std::int32_t line = 1;
    const std::size_t end = std::min(pos_, data_.size());
    for (std::size_t i = 0; i < end; ++i) {
        if (data_[i] == '\n' || (data_[i] == '\r' && (i + 1 >= data_.size() || data_[i + 1] != '\n'))) ++line;
    }
    return line;
}

TextWriter::TextWriter(const std::string& path, Mode mode) : path_(path) {
    errno = 0;
    file_ = std::fopen(path.c_str(), mode == Mode::Append ? "ab" : "wb");
    if (!file_) throw InOutError(ioCodeFromErrno(errno));
}

TextWriter::TextWriter(int fd, const std::string& path) : path_(path) {
    errno = 0;
    file_ = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (file_) return;
    const int error = fd >= 0 ? errno : EBADF;
    if (fd >= 0) ::close(fd);
    throw InOutError(ioCodeFromErrno(error));
}

TextWriter::~TextWriter() {
    if (file_) std::fclose(file_);
}

void TextWriter::write(std::string_view text) {
    if (!file_) throw InOutError(103);  // file not open
    if (text.empty()) return;
    errno = 0;
    if (std::fwrite(text.data(), 1, text.size(), file_) != text.size())
        throw InOutError(ioCodeFromErrno(errno));
}

void TextWriter::writeln(std::string_view text) {
    write(text);
    write("\r\n");
}

void TextWriter::writeInteger(long long value) { write(std::to_string(value)); }

void TextWriter::sync() {
    if (!file_) throw InOutError(103);  // file not open
    errno = 0;
    if (std::fflush(file_) != 0 || std::ferror(file_) != 0 || ::fsync(::fileno(file_)) != 0)
        throw InOutError(ioCodeFromErrno(errno));
}

void TextWriter::close() {
    if (!file_) return;
    errno = 0;
    const bool flushed = std::fflush(file_) == 0 && std::ferror(file_) == 0;
    const int flushError = errno;
    const bool closed = std::fclose(file_) == 0;
    const int closeError = errno;
    file_ = nullptr;
    if (testing::takeWriterCloseFailure()) throw InOutError(kDiskFull);
    if (!flushed) throw InOutError(ioCodeFromErrno(flushError));
    if (!closed) throw InOutError(ioCodeFromErrno(closeError));
}

std::vector<std::string> readAllLines(const std::string& path) {
    TextReader reader(path);
    std::vector<std::string> lines;
    while (!reader.eof()) lines.push_back(reader.readLine(std::string::npos));
    return lines;
}

}  // namespace runtime
