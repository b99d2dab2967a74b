#include "assessment/core/DataFile.h"

#include <algorithm>
#include <vector>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/PollutantRules.h"
#include "assessment/core/RecordLine.h"
#include "runtime/Errors.h"
#include "runtime/FileLock.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace assessment {

namespace {

constexpr int kKeyFields[] = {kFieldTown, kFieldPollutant, kFieldYear, kFieldPopulation, kFieldStations};
constexpr int kKeyReadFields = kFieldStations;  // the key needs the fields up to the stations only

// Copies the file with line k (k = 0 meaning line 1) dropped and, when given, `line` in its place;
// with `append`, `line` goes after the last line of the file as it is now. The file is locked from
// before it is read until the copy is in place. Returns the line number of `line`.
std::int32_t rewriteLine(const std::string& path, const std::string& tempPath, std::int32_t k, const std::string* line,
                         bool append = false) {
    const runtime::FileLocks lock({path});
    // The whole file is read before the temporary copy is started, so a missing or unreadable
    // file changes nothing.
    const std::vector<std::string> lines = runtime::readAllLines(path);
    const std::size_t index = append ? lines.size() : k <= 1 ? 0 : static_cast<std::size_t>(k) - 1;
    runtime::replaceFile(path, tempPath, [&](runtime::TextWriter& out) {
        for (std::size_t i = 0; i < lines.size(); ++i) {
            if (i == index) {
                if (line) out.writeln(*line);
            } else {
                out.writeln(lines[i]);
            }
        }
        if (line && index >= lines.size()) out.writeln(*line);
    });
    return static_cast<std::int32_t>(std::min(index, lines.size())) + 1;
}

// readRecord on an open file.
std::int32_t readRecordFrom(runtime::TextReader& in, std::int32_t n, AqRecord& record, bool* inFile = nullptr) {
    // The n - 1 lines before the record count whether or not the file has them: lines past the
    // end read as empty lines.
    std::int32_t count = n > 0 ? n - 1 : 0;
    for (std::int32_t i = 1; i < n && !in.eof(); ++i) in.readln();
    if (inFile) *inFile = !in.eof();
    readRecordFields(in, record);
    in.readln();
    ++count;
    while (!in.eof()) {
        in.readln();
        ++count;
    }
    return count;
}

}  // namespace

std::optional<std::int32_t> readRecord(const std::string& dataFile, std::int32_t n, AqRecord& record) {
    if (n == 0) return std::nullopt;
    runtime::TextReader in(dataFile);
    return readRecordFrom(in, n, record);
}

std::int32_t recordExists(const std::string& dataFile, const AqRecord& record) {
    runtime::TextReader in(dataFile);
    std::int32_t count = 0;
    AqRecord line;
    while (!in.eof()) {
        bool same = true;
        try {
            for (int i = 1; i <= kKeyReadFields; ++i) line[i] = in.readInteger();
            for (int f : kKeyFields) same = same && line[f] == record[f];
        } catch (const runtime::InOutError&) {
            same = false;  // a line that cannot be read has no key: it matches none, and the count goes on
        }
        in.readln();
        if (same) ++count;
    }
    return count;
}

void replaceLine(const std::string& path, const std::string& tempPath, std::int32_t k, const std::string& line) {
    rewriteLine(path, tempPath, k, &line);
}

void deleteLine(const std::string& path, const std::string& tempPath, std::int32_t k) {
    rewriteLine(path, tempPath, k, nullptr);
}

void showRecordFile(AssessmentState& state, std::int32_t n) {
    if (n == 0) return;
    // A record that cannot be read is noted: the screens still show the record before it, and
    // its line is not rewritten until a record has been read again (read_stops).
    std::int32_t count = 0;
    bool inFile = false;
    state.read_stops.read(state.data_file,
                          [&](runtime::TextReader& in) { count = readRecordFrom(in, n, state.aq_record, &inFile); });
    state.record_count = count;
    state.cur_pollutant = state.aq_record[kFieldPollutant];
    // A line of the file is no new record, even where a new one was begun and given up; a new
    // record is shown from the line past the end.
    if (inFile) state.new_record = 0;
}

bool takeRecordInterval(AssessmentState& state) {
    state.interval_index = state.aq_record[kFieldClassWidth];
    if (state.interval_index != -1) return false;
    state.interval_index = intervalForPollutant(state.cur_pollutant);
    return true;
}

void saveRecordLine(AssessmentState& state) {
    state.read_stops.refuseRewrite(state.data_file);
    state.tmp_name = tempFileIn(state.work_dir);
    // A new record goes after the last line of the file as it is when saved, which another
    // program may have lengthened since the record was begun.
    const bool append = state.new_record == -1;
    const std::string line = formatRecordLine(state.aq_record);
    const std::int32_t written = rewriteLine(state.data_file, state.tmp_name, state.cur_record, &line, append);
    if (!append) return;
    state.cur_record = written;
    state.record_count = std::max(state.record_count, written);
    state.new_record = 0;
}

void saveRecordAndTowns(AssessmentState& state, const std::string& townFile, const std::function<void()>& writeTowns) {
    state.read_stops.refuseRewrite(state.data_file);
    // Both files are locked, always in this order, before either is read or written.
    const runtime::FileLocks locks({townFile, state.data_file});
    // A data file that cannot be read (gone, or text it cannot hold) refuses the save before the
    // location file is written.
    runtime::readAllLines(state.data_file);
    writeTowns();
    saveRecordLine(state);
}

void deleteRecordLine(AssessmentState& state) {
    state.read_stops.refuseRewrite(state.data_file);
    state.tmp_name = tempFileIn(state.work_dir);
    deleteLine(state.data_file, state.tmp_name, state.cur_record);
}

std::string tempFileIn(const std::string& workDir) {
    return runtime::withTrailingSlash(workDir) + "rec.tmp";
}

std::string tempFileBeside(const std::string& path) {
    return path.substr(0, path.rfind('/') + 1) + "rec.tmp";
}

}  // namespace assessment
