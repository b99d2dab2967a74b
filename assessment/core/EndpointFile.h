#pragma once
// The endpoint file "endp.tab": one health endpoint per line, the code as a shortest integer, one
// blank and the name.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace runtime {
class TextReader;
}

namespace assessment {

inline constexpr const char* kEndpointFile = "endp.tab";
constexpr std::size_t kEndpointNameLength = 49;  // what a read keeps of a name

// The listed endpoints in file order: entry k is list position k. A line with an empty name is
// not listed and takes no entry, so list positions and table entries always agree. The tables
// grow as far as the file goes.
struct EndpointTables {
    std::vector<std::int32_t> endpoint_codes;
    std::vector<std::string> endpoint_names;

    std::size_t size() const { return endpoint_names.size(); }
    // The code of list position k; empty when k is no list position (nothing selected).
    std::optional<std::int32_t> codeAt(int position) const;
};

// The 18 built-in endpoints, code k = position k.
EndpointTables builtinEndpoints();

// Reads the file: per line the code as a number, then at most 50 further characters of which the
// first (the separating blank) is dropped. Throws runtime::InOutError ("File not found",
// "Invalid numeric input").
EndpointTables readEndpointFile(const std::string& path);

// The lines from the reader's position to the end, appended to `tables` one by one, so that after
// an error it holds the entries read before the bad line.
void readEndpointLines(runtime::TextReader& in, EndpointTables& tables);

// Writes one line per entry: code, one blank, name.
void writeEndpointFile(const std::string& path, const std::string& tempPath, const EndpointTables& tables);

// The tables at start-up: the file when it exists, otherwise the built-ins, which are then written
// to a new file through `tempPath`.
EndpointTables loadOrCreateEndpoints(const std::string& path, const std::string& tempPath);

// "Add": a name that is already listed (compared without regard to case) or an empty one changes
// nothing and gives false. Otherwise the name (cut to 49 characters, as a read would cut it) gets
// the next list position as its code (or, when a hand-edited file already uses that code, one
// above the largest code), the file is rewritten with every entry, and then the entry is added.
bool addEndpoint(EndpointTables& tables, std::string_view name, const std::string& path, const std::string& tempPath);

struct AssessmentState;
// The same on the working directory's "endp.tab" and the program-wide tables. A read that stops at
// a bad line is noted (read_stops), and until the file has been read to its end again "Add" rewrites
// nothing: it throws runtime::Error naming the file and the line.
void loadOrCreateEndpoints(AssessmentState& state);
bool addEndpoint(AssessmentState& state, std::string_view name);
// The reload: the file `path` replaces the tables; after a bad line they hold the entries before it.
void readEndpointFile(AssessmentState& state, const std::string& path);

}  // namespace assessment
