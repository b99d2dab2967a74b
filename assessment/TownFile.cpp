#include "assessment/TownFile.h"

#include <algorithm>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "runtime/FileLock.h"
#include "runtime/Files.h"
#include "runtime/ShortText.h"
#include "runtime/TextFile.h"

namespace assessment {

namespace {

constexpr std::size_t kFieldLength = 35;
constexpr std::size_t kCoordinateLength = 15;

std::string withoutBlanks(std::string text) {
    text.erase(std::remove(text.begin(), text.end(), ' '), text.end());
    return text;
}

bool townEntryInUse(const AssessmentState& state, int i) {
    const auto k = static_cast<std::size_t>(i);
    return state.town_ids[k] != -1 || !state.town_names[k].empty();
}

}  // namespace

TownLine splitTownText(std::int32_t id, std::string_view rest) {
    if (!rest.empty()) rest.remove_prefix(1);  // the blank after the id
    std::string fields[3];
    std::size_t field = 0;
    for (char c : rest) {
        if (c == '|') {
            if (++field == 3) break;
            continue;
        }
        fields[field] += c;
    }
    TownLine town;
    town.id = id;
    town.lat = runtime::cutText(withoutBlanks(fields[0]), kCoordinateLength);
    town.lon = runtime::cutText(withoutBlanks(fields[1]), kCoordinateLength);
    town.name = runtime::cutText(fields[2], kFieldLength);
    return town;
}

std::string formatTownLine(std::int32_t id, const std::string& lat, const std::string& lon,
                           const std::string& name) {
    return std::to_string(id) + " " + lat + "|" + lon + "|" + name;
}

void clearTownTables(AssessmentState& state) {
    for (int i = 0; i < kMaxTowns; ++i) {
        const auto k = static_cast<std::size_t>(i);
        state.town_ids[k] = -1;
        state.town_lat[k] = std::string();
        state.town_long[k] = std::string();
        state.town_names[k] = std::string();
    }
    state.max_town_id = -1;
    state.town_count = 0;
}

namespace {

// The next entry of the file, while the tables have room for it: its id and the rest of its line.
// The integer read passes over empty lines, so an entry is the next line that holds more than
// blanks; reading and rewriting count entries alike.
bool readTownEntry(runtime::TextReader& in, int index, std::int32_t& id, std::string& rest) {
    if (in.eof() || index >= kMaxTowns) return false;
    id = in.readInteger();
    rest = in.readLine();
    return true;
}

void readTownLines(AssessmentState& state, runtime::TextReader& in, int& index) {
    // The file replaces every entry: towns of a file read earlier (another working directory) are
    // neither listed nor written into this one's file.
    const std::int32_t townCount = state.town_count;
    clearTownTables(state);
    state.town_count = townCount;
    std::int32_t id = 0;
    while (readTownEntry(in, index, id, state.town_line)) {
        const TownLine town = splitTownText(id, state.town_line);
        const auto i = static_cast<std::size_t>(index);
        state.town_ids[i] = town.id;
        state.town_lat[i] = town.lat;
        state.town_long[i] = town.lon;
        state.town_names[i] = town.name;
        state.max_town_id = std::max(state.max_town_id, id);
        ++index;
    }
}

// The lines after the entries that the tables take, unchanged.
std::vector<std::string> linesPastTheTables(const std::string& path) {
    std::vector<std::string> rest;
    if (!runtime::fileExists(path)) return rest;
    runtime::TextReader in(path);
    std::int32_t id = 0;
    std::string line;
    int index = 0;
    while (readTownEntry(in, index, id, line)) ++index;
    while (!in.eof()) rest.push_back(in.readLine(std::string::npos));
    return rest;
}

}  // namespace

int readTownFile(AssessmentState& state, const std::string& path) {
    int index = 0;
    state.read_stops.read(path, [&state, &index](runtime::TextReader& in) { readTownLines(state, in, index); });
    return index;
}

void writeTownFile(const AssessmentState& state, const std::string& path) {
    state.read_stops.refuseRewrite(path);
    const runtime::FileLocks lock({path});  // from the read of the old lines to the new file
    const std::vector<std::string> overflow = linesPastTheTables(path);
    // The rewrite goes through the scratch copy beside the file, like every other rewrite.
    runtime::replaceFile(path, tempFileBeside(path), [&](runtime::TextWriter& out) {
        // Records name their town by its entry's place, so an unnamed entry keeps its line.
        int last = -1;
        for (int i = 0; i < kMaxTowns; ++i)
            if (townEntryInUse(state, i)) last = i;
        for (int i = 0; i <= last; ++i) {
            const auto k = static_cast<std::size_t>(i);
            out.writeln(formatTownLine(state.town_ids[k], state.town_lat[k], state.town_long[k],
                                       state.town_names[k]));
        }
        for (const std::string& line : overflow) out.writeln(line);
    });
}

std::vector<std::string> listedTownNames(const AssessmentState& state) {
    std::vector<std::string> names;
    for (int i : listedTownIndices(state)) names.push_back(state.town_names[static_cast<std::size_t>(i)].str());
    return names;
}

std::vector<int> listedTownIndices(const AssessmentState& state) {
    std::vector<int> indices;
    for (int i = 0; i < kMaxTowns; ++i)
        if (!state.town_names[static_cast<std::size_t>(i)].empty()) indices.push_back(i);
    return indices;
}

int freeTownEntry(const AssessmentState& state) {
    for (int i = 0; i < kMaxTowns; ++i)
        if (!townEntryInUse(state, i)) return i;
    return -1;
}

void saveRecordAndTowns(AssessmentState& state) {
    const std::string towns = state.work_dir + kTownFileName;
    // Both files are locked first; every refusal that can be known beforehand comes before the first
    // file is written.
    saveRecordAndTowns(state, towns, [&] {
        state.read_stops.refuseRewrite(towns);
        runtime::refuseReplace(towns);
        runtime::refuseReplace(state.data_file);
        writeTownFile(state, towns);
    });
}

}  // namespace assessment
