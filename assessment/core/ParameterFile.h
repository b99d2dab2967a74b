#pragma once
// The parameter files: "params.tab" in the working directory (the user's records) and "params.tav"
// in the program folder (the shipped defaults, only ever read). One record per line: pollutant,
// endpoint code, baseline incidence, relative risk central, lower, upper, cut-off, certainty and
// class-width index, separated by single blanks; the reals in the 23-character exponent form.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace runtime {
class TextReader;
}

namespace assessment {

struct AssessmentState;

inline constexpr const char* kReinstallMessage = "File not found. Please reinstall the application.";
// A save needs an endpoint code: while the endpoint box holds text that is no list item, the
// parameter screen refuses the save with this message.
inline constexpr const char* kNoEndpointMessage = "Select a health end point from the list first.";
inline constexpr const char* kUserParameterFile = "params.tab";
inline constexpr const char* kDefaultParameterFile = "params.tav";

// A record to be written, with its reals at full precision.
struct ParamLine {
    std::int32_t pollutant = 0;
    std::int32_t endpoint = 0;
    long double incidence = 0;
    long double rr = 0;
    long double rr_lower = 0;
    long double rr_upper = 0;
    std::int32_t cut_off = 0;
    std::int32_t certainty = 0;
    std::int32_t interval = 0;
};

// The record buffer `param_record`: the values of the record last read, the reals as 32-bit floats.
struct ParamRecord {
    float incidence = 0;
    float rr = 0;
    float rr_lower = 0;
    float rr_upper = 0;
    std::int32_t cut_off = 0;
    std::int32_t certainty = 0;
};

// One record as read: the key, the buffer values and field 9.
struct ParamFileRecord {
    std::int32_t pollutant = 0;
    std::int32_t endpoint = 0;
    ParamRecord values;
    std::int32_t interval = 0;

    // The record as it is written back when passed through unchanged: at single precision.
    ParamLine line() const;
};

// The line without its line end.
std::string formatParamLine(const ParamLine& line);

// Reads the nine fields and skips the rest of the line. Throws runtime::InOutError
// "Invalid numeric input" for a field that is not a number, also for a real beyond the range of a
// 32-bit float.
ParamFileRecord readParamRecord(runtime::TextReader& in);

// True when no record follows: at the end of the file, after skipping empty lines (so that an
// empty last line adds no record of zeros).
bool noMoreParamRecords(runtime::TextReader& in);

// Every record of a parameter file, read completely before anything is done with it.
std::vector<ParamFileRecord> readParamFile(const std::string& path);

// The binding of the current parameter file: workDir + "params.tab" when it exists, else
// startDir + "params.tav"; empty when neither exists (the caller shows kReinstallMessage and ends
// the program with exit code 2).
std::optional<std::string> boundParameterFile(const std::string& workDir, const std::string& startDir);
// Binds text_file3 by that rule; false, leaving it as it was, when neither file exists.
bool bindParameterFile(AssessmentState& state);

// Reads the bound file until the first record of `pollutant` and `endpointCode` (no endpoint code:
// nothing matches). interval_index starts at 0; each record read goes through the buffer
// (param_record, rec_endpoint, interval_index), so without a match they hold the file's last
// record. Returns true on a match.
bool getData(AssessmentState& state, std::int32_t pollutant, std::optional<std::int32_t> endpointCode);

// Writes `saved` into workDir + "params.tab" through workDir + "rec.tmp": in place of every record
// of the bound file with the same pollutant and endpoint, or appended when there is none; the other
// records as read, at single precision. The bound file is read completely first; "params.tav" is
// only read. On any error nothing is changed. Afterwards text_file3 names "params.tab"; the buffer
// and interval_index are left as they were. An existing "params.tab" that is not the bound file is
// not written over (runtime::Error).
void saveParameters(AssessmentState& state, const ParamLine& saved);

// Rewrites workDir + "params.tab" from startDir + "params.tav", every record at single precision.
// Returns false, changing nothing, when "params.tav" is missing (the caller shows kReinstallMessage
// and ends the program with exit code 2). "params.tab" is changed only when every record could be
// read and written.
bool copyDefaultParameters(AssessmentState& state);

}  // namespace assessment
