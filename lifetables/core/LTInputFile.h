#pragma once
// The life-table input/result file: TAB-separated text in bracketed sections, each ended by
// "[END]": the empirical data of each sex, the information record, the relative-risk settings and
// the results of each sex that has them. Its path is LTinputPath + LTinputName.
#include <array>
#include <cstdint>
#include <string>

#include "lifetables/core/LTMessageSink.h"
#include "lifetables/core/LTState.h"

namespace runtime {
class TextWriter;
}

namespace lifetables {

// Reads the file into the state, which the caller has cleared before. An input/output error shows
// "Error on assigning file " + LTinputName and ends the read normally, keeping what was read; a file
// without any line inside a section shows a warning. A field that is no number ends the read with
// runtime::ConvertError, which goes to the caller. More than 120 data rows in an empirical section
// or age lines in a result section are not stored; the user is told once per section. Blank lines
// between sections and at the end are passed over; the line after an empirical section's header is
// its comment, whatever it reads like. A bracketed line that names no section is told, and the
// lines up to the next header are not used; so is a section that ends without its "[END]" (an
// empirical one keeps the rows read).
// Returns false after any of these messages: the file was not read to its end, gave nothing, or
// held more or other than it stored, so that writing the state back would not give the file again.
bool proc_LTReadInputFile(LTState& state, const LTMessageSink& messages);

// Writes the file from the state. The previous file is replaced only once the new one is complete;
// a failure throws runtime::InOutError and leaves the previous file as it was. A data value that is
// not finite (a rate of a tiny population, a male + female sum beyond a double) would make a file
// that cannot be read again: runtime::Error naming its matrix and line, and nothing is written.
void proc_LTWriteInputFile(const LTState& state);

// Writes the result section of sex s (1 male, 2 female, 3 male + female).
void proc_LTWriteYOLLSection(const LTState& state, runtime::TextWriter& out, int sex);

// The parsers of the reader, one line at a time; k is the line's number within its section
// (1 = the line after the header). The line "[END]" stands for an end line of the section.
// Those that can meet a row beyond the tables return false for such a row, which is then not stored.
//
// Empirical data of sex s; p counts the section's lines that are not data rows.
bool proc_LTReadEmpiricalLine(LTState& state, const std::string& line, std::int32_t k, int sex,
                              std::int32_t& p);
void proc_LTReadInfosLine(LTState& state, const std::string& line);
void proc_LTReadRRLine(LTState& state, const std::string& line, std::int32_t k);
bool proc_LTReadYOLLLine(LTState& state, const std::string& header, const std::string& line,
                         std::int32_t k);

// The section headers and the end line.
inline constexpr const char* kLTEndLine = "[END]";
inline constexpr const char* kLTInfosHeader = "[LT_Infos]";
inline constexpr const char* kLTRelativeRisksHeader = "[LT_relative_risks]";
inline constexpr std::array<const char*, 4> kLTEmpiricalHeaders = {
    "", "[LT_empirical_data/male]", "[LT_empirical_data/female]", "[LT_empirical_data/male+female]"};
// A male + female header of older files, read like the correct one.
inline constexpr const char* kLTEmpiricalBothMisspelt = "[LT_empiricla_data/male+female]";
inline constexpr std::array<const char*, 4> kLTYOLLHeaders = {"", "[YOLL_male]", "[YOLL_female]",
                                                              "[YOLL_all]"};

}  // namespace lifetables
