#pragma once
// The data file: one air-quality record per line, record n on line n (from 1). Every operation
// opens the file, reads or rewrites it from the start and closes it again.
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "assessment/core/AqRecord.h"

namespace assessment {

struct AssessmentState;

// Reads record n into `record` (fields and tail; past the end of the file every field is 0 and the
// tail empty) and returns the number of lines of the file, or n when n lies past its end.
// n = 0 addresses no record: nothing is read, the file is not opened, and the result is empty.
// Errors: runtime::InOutError ("File not found", "Invalid numeric input"); the record keeps what
// was read before the error.
std::optional<std::int32_t> readRecord(const std::string& dataFile, std::int32_t n, AqRecord& record);

// The number of lines whose key (town, pollutant, year, population and stations) equals that of `record`.
// A line with a number that cannot be read matches no key.
std::int32_t recordExists(const std::string& dataFile, const AqRecord& record);

// The file rewritten through `tempPath` with line k replaced by `line` (appended when k lies past
// the end; k = 0 addresses line 1). The original stays unchanged when the rewrite fails.
void replaceLine(const std::string& path, const std::string& tempPath, std::int32_t k, const std::string& line);

// The file rewritten through `tempPath` without line k (k = 0 addresses line 1).
void deleteLine(const std::string& path, const std::string& tempPath, std::int32_t k);

// The file half of show_record on the program-wide state. For n other than 0: record n goes into
// aq_record, record_count := the line count, cur_pollutant := its pollutant, and new_record := 0
// where line n is in the file; n = 0 changes nothing.
// A record that cannot be read is noted in read_stops (the error is passed on): until a record has
// been read again, saveRecordLine and deleteRecordLine refuse to rewrite the data file.
void showRecordFile(AssessmentState& state, std::int32_t n);

// The class width of the record in memory, taken once the record is shown: interval_index :=
// its class-width field, or, when that is -1, the class width derived from cur_pollutant; in that case the
// result is true and the caller stores the record at once.
bool takeRecordInterval(AssessmentState& state);

// Writes aq_record (its tail as aq_record.text) as line cur_record of the data file, through
// work_dir + "rec.tmp"; a line past the end is appended. A new record (new_record -1) is appended
// after the last line of the file as it is when saved; cur_record then names that line (and
// record_count counts it), and new_record is 0. The data file is locked from before it is read
// until it is rewritten (runtime/FileLock.h): a save elsewhere is waited for, two seconds at most
// ("<file> is being saved by another program", nothing written). Refused after a failed
// showRecordFile (runtime::Error naming the file and the line): the record in memory is not that
// line's.
void saveRecordLine(AssessmentState& state);

// The record save of the location screen: locks the location file `townFile` and then the data
// file, in this order, before either is read or written; then `writeTowns` rewrites the location
// file (reading it within the lock) and saveRecordLine writes the record. A lock held elsewhere
// ends the save before anything is written, as does a data file that cannot be read. Refused as
// saveRecordLine is, before anything is written. Two users adding towns at once are not merged:
// the later save writes its own table.
void saveRecordAndTowns(AssessmentState& state, const std::string& townFile, const std::function<void()>& writeTowns);

// Drops line cur_record of the data file, through work_dir + "rec.tmp"; refused as saveRecordLine is.
void deleteRecordLine(AssessmentState& state);

// The scratch copy that every rewrite of the working directory goes through.
std::string tempFileIn(const std::string& workDir);
// The same scratch copy in the folder of the file `path`.
std::string tempFileBeside(const std::string& path);

}  // namespace assessment
