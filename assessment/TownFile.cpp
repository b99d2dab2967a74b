#include "assessment/TownFile.h"

#include <algorithm>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
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

void readTownLines(AssessmentState& state, runtime::TextReader& in, int& index) {
    // The file replaces every entry: towns of a file read earlier (another working directory) are
    // neither listed nor written into this one's file.
    const std::int32_t townCount = state.town_count;
    clearTownTables(state);
    state.town_count = townCount;
    while (!in.eof() && index < kMaxTowns) {
        const std::int32_t id = in.readInteger();
        state.town_line = in.readLine();
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

}  // namespace

int readTownFile(AssessmentState& state, const std::string& path) {
    int index = 0;
    state.read_stops.read(path, [&state, &index](runtime::TextReader& in) { readTownLines(state, in, index); });
    return index;
}

void writeTownFile(const AssessmentState& state, const std::string& path, int lastIndex) {
    state.read_stops.refuseRewrite(path);
    std::vector<std::string> overflow;
    if (runtime::fileExists(path)) {
        std::vector<std::string> old = runtime::readAllLines(path);
        if (old.size() > static_cast<std::size_t>(kMaxTowns))
            overflow.assign(old.begin() + kMaxTowns, old.end());
    }
    const int last = std::min(lastIndex, kMaxTowns - 1);
    // The rewrite goes through the scratch copy beside the file, like every other rewrite.
    runtime::replaceFile(path, tempFileBeside(path), [&](runtime::TextWriter& out) {
        for (int i = 0; i <= last; ++i) {
            const auto k = static_cast<std::size_t>(i);
            if (state.town_names[k].empty()) continue;
            out.writeln(formatTownLine(state.town_ids[k], state.town_lat[k], state.town_long[k],
                                       state.town_names[k]));
        }
        for (const std::string& line : overflow) out.writeln(line);
    });
}

std::vector<std::string> listedTownNames(const AssessmentState& state) {
    std::vector<std::string> names;
    for (const auto& name : state.town_names)
        if (!name.empty()) names.push_back(name.str());
    return names;
}

}  // namespace assessment
