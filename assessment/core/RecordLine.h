#pragma once
// One air-quality record as one line of the data file: the 61 fields as shortest decimal integers,
// each followed by one blank, then the tail of four texts joined by ";".
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "assessment/core/AqRecord.h"

namespace runtime {
class TextReader;
}

namespace assessment {

constexpr std::size_t kTailTextLength = 35;
using TailTexts = std::array<std::string, 4>;  // lowest station, highest station, network, agency
inline constexpr std::size_t kTailLowStation = 0;
inline constexpr std::size_t kTailHighStation = 1;
inline constexpr std::size_t kTailNetwork = 2;
inline constexpr std::size_t kTailAgency = 3;

// The record's line without the line end; the tail is aq_record.text as it stands.
std::string formatRecordLine(const AqRecord& record);

// The line of a new data file: a record of 61 zero fields and four empty texts.
std::string defaultRecordLine();

// The tail of a line: the four texts joined by ";", unquoted.
std::string joinTail(const TailTexts& texts);

// The tail split at every ";": each text cut to 35 characters, missing texts empty, anything after
// a fourth ";" ignored.
TailTexts splitTail(std::string_view tail);

// Reads the 61 fields (crossing line ends when a line is short) and the rest of the line on which
// field 61 ended, less the one separator after it, into record.text. Stops at the line end.
// Throws runtime::InOutError "Invalid numeric input" for a field that is not an integer; the
// fields read before it keep their new values.
void readRecordFields(runtime::TextReader& in, AqRecord& record);

}  // namespace assessment
