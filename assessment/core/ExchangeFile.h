#pragma once
// The data-exchange file ("*.kdf"): the five working files of a data set in one text file, each as
// a section of a header line (the source's full name when written), the source's lines and a line
// "EOF". The sections are, in order: the location file, the endpoint file, the parameter file, the
// supplier file and the data file. A reader takes them by position and ignores the header lines.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace assessment {

struct AssessmentState;

inline constexpr const char* kExchangeDefaultName = "data.kdf";
inline constexpr const char* kExchangeEndMark = "EOF";
inline constexpr const char* kIncorrectExchangeMessage = "File cannot be loaded. Incorrect data.";
inline constexpr const char* kEarlierVersionMessage =
    "The imported file is from an earlier version of Zelk; Please check data and create a new tav file";
inline constexpr const char* kReplaceParametersQuestion =
    "Replace parameter file with updated TAV file? (Recommended)";
inline constexpr const char* kCopyDefaultsMessage =
    "Please copy file params.tav from the Zelk directory to current directory";
constexpr std::size_t kExchangeSectionCount = 5;
constexpr std::size_t kParameterSection = 2;  // the position of the parameter file's section

using ExchangePaths = std::array<std::string, kExchangeSectionCount>;
using SectionLines = std::vector<std::string>;

// The five sources of an export: work_dir's "town.tab", "endp.tab", "params.tab" (or, when there is
// none, work_dir's "params.tav", or without that too start_dir's "params.tav"), "data_sup.tab",
// and data_file.
ExchangePaths exchangeSources(const AssessmentState& state);
// The five targets of a load: the same files, the parameter file always "params.tab".
ExchangePaths exchangeTargets(const AssessmentState& state);

// Loads the five sections into the five targets in two steps: each target's new contents are
// written completely beside it and flushed, and only then put in place one after another; a target
// that must be written in place keeps them in memory and is written last (runtime::StagedFiles).
// A failure before the first replacement changes no working file, and its runtime::InOutError
// names the target ("\"<path>\" cannot be written: File access denied. No working file is
// changed."): a target that refuses writing (write-protected, not a regular file, or a file that
// may be written but not read and could not stay the same), a folder that takes no new file for a
// missing target, a disk that fills.
void loadExchangeSections(const ExchangePaths& targets,
                          const std::array<SectionLines, kExchangeSectionCount>& sections);

// Writes the exchange file from the five sources. Every source is read before the target is
// touched, and the target is replaced only once it is complete: a source that cannot be read
// (runtime::InOutError "File not found") leaves any earlier file of that name as it was.
void writeExchangeFile(const std::string& target, const ExchangePaths& sources);

// The first five sections of an exchange file, without their header lines and end marks.
// Empty when the file ends inside one of them (before its "EOF"); anything after the fifth section
// is not read. Throws runtime::InOutError "File not found" when the file cannot be read.
std::optional<std::array<SectionLines, kExchangeSectionCount>> readExchangeFile(const std::string& path);

// Writes one section's lines as the target file, each ended by CR LF, through "rec.tmp" in the
// target's folder: the old file stays as it was until the new one is complete.
void writeSectionFile(const std::string& target, const SectionLines& lines);

// The mark of a parameter file of the earlier version: exactly 10 blanks in its first line.
bool isEarlierVersionParameters(const SectionLines& parameterLines);

// The pollutant index of the earlier 15-name order in the current order: from "NO2" (7) on, the
// earlier names stood one place lower, so every index above 7 moves up by one.
std::int32_t convertEarlierPollutant(std::int32_t pollutant);

// Rewrites the data file of the earlier version through `tempPath`: every line read as a record
// (61 fields and the text tail) and written back with its pollutant converted. The original stays
// as it was when a line cannot be read (runtime::InOutError "Invalid numeric input").
void convertEarlierDataFile(const std::string& dataFile, const std::string& tempPath);

}  // namespace assessment
