#pragma once
// The location file "town.tab" of the working directory: one town per line, its id, one blank, then
// latitude "|" longitude "|" name. Latitude and longitude are free texts that are never parsed.
// Also the record save, which writes this file and the record's line of the data file together.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace assessment {

struct AssessmentState;

inline constexpr const char* kTownFileName = "town.tab";

struct TownLine {
    std::int32_t id = -1;
    std::string lat;   // at most 15 characters, without blanks
    std::string lon;   // at most 15 characters, without blanks
    std::string name;  // at most 35 characters, blanks kept
};

// The texts of a line after its id (`rest` starts with the blank that follows the id): split at
// "|" into latitude, longitude and name, text after a third "|" ignored; the blanks of latitude and
// longitude dropped; each field cut to 35 characters, then latitude and longitude to 15.
TownLine splitTownText(std::int32_t id, std::string_view rest);

// The line of one town without its line end.
std::string formatTownLine(std::int32_t id, const std::string& lat, const std::string& lon,
                           const std::string& name);

// Empties the location tables: every entry id -1 and no texts, max_town_id -1, town_count 0.
void clearTownTables(AssessmentState& state);

// Reads the location file into the location tables from index 0 and sets max_town_id (-1 when the
// file has no line). Entries past the last line are emptied (id -1, no texts). Only the first 101 lines fit
// the tables; the rest is not read (writeTownFile keeps it in the file). Returns the number of
// lines stored. Errors: runtime::InOutError "File not found", "Invalid numeric input" (a line that
// does not begin with an integer; the lines before it stay read). Such a stop is noted
// (read_stops): until the file has been read to its end again, writeTownFile refuses to rewrite it
// and throws runtime::Error naming the file and the line.
int readTownFile(AssessmentState& state, const std::string& path);

// Rewrites the location file: every entry from index 0 to the last one in use (a name, or an id
// other than -1), named or not, so that each keeps its place; the lines of the old file past the
// 101 entries that the tables hold follow unchanged. The old file stays as it was when the rewrite fails
// (runtime::InOutError).
void writeTownFile(const AssessmentState& state, const std::string& path);

// The names of the entries with a non-empty name, in index order: the town list of the screens.
std::vector<std::string> listedTownNames(const AssessmentState& state);
// The table indices of those entries: position p of the town list is entry listedTownIndices()[p].
std::vector<int> listedTownIndices(const AssessmentState& state);
// The first entry that no line and no "Add" filled (id -1, no name); -1 when every entry is in use.
int freeTownEntry(const AssessmentState& state);

// Writes the current town tables to "town.tab" of the working directory and aq_record as line
// cur_record of the data file (a new record after the file's last line), with both files locked
// (assessment/core/DataFile.h). Every refusal known beforehand (a lock held elsewhere, a read stop
// of either file, a target that cannot be replaced) is thrown before either file is written.
void saveRecordAndTowns(AssessmentState& state);

}  // namespace assessment
