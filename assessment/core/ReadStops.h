#pragma once
// Working files that a screen rewrites from what it read ("endp.tab", "town.tab", "data_sup.tab",
// and the data file, whose current record a save writes back over its line). When a read stops at
// a line it cannot read, the screen holds only what came before that line, and a rewrite would drop
// that line and every line after it (or put another record in its place). Such a file is therefore not rewritten
// until it has been read to its end again. A file that is not there loses nothing: creating it is
// never refused.
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace runtime {
class TextReader;
}

namespace assessment {

// Where the last read of a file stopped.
struct ReadStop {
    std::string path;
    std::int32_t line = 0;  // the line that could not be read, from 1; 0: the file could not be opened
    std::string reason;     // the read's error message
};

// The refusal: "\"endp.tab\" could not be read at line 7 (Invalid numeric input). It is not changed."
std::string rewriteRefusedMessage(const ReadStop& stop);

// Why a file that a reload did not reach was not read.
inline constexpr const char* kReloadEndedReason = "the reload ended before it";

class ReadStops {
public:
    // Opens `path` and reads it with `read`. An error is noted as the file's stop and passed on; a
    // read to the end lifts the file's stop.
    void read(const std::string& path, const std::function<void(runtime::TextReader&)>& read);

    // A reload is about to read the existing file `path` again: until it has, the tables hold what
    // was read before (from another directory, perhaps), and the file is not rewritten from them.
    void awaitReload(const std::string& path);

    // Throws runtime::Error with rewriteRefusedMessage when the last read of the existing file
    // `path` stopped before its end.
    void refuseRewrite(const std::string& path) const;

private:
    void forget(const std::string& path);

    std::vector<ReadStop> stops_;
};

}  // namespace assessment
