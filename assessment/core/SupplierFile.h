#pragma once
// The data supplier's file "data_sup.tab" of the working directory: ten lines, each one text of the
// supplier screen, in this order: country, organisation, city, street address, PO box, postal code,
// e-mail address, phone, fax, responsible person.
#include <array>
#include <string>

namespace assessment {

struct AssessmentState;

inline constexpr const char* kSupplierFileName = "data_sup.tab";
constexpr std::size_t kSupplierLineCount = 10;
using SupplierLines = std::array<std::string, kSupplierLineCount>;

std::string supplierFilePath(const std::string& workDir);

// The first ten lines, each complete; a missing line reads as empty. Throws runtime::InOutError
// "File not found".
SupplierLines readSupplierFile(const std::string& path);
// The same for the supplier screen, which rewrites the file from what it read: a file that could
// not be read is noted (read_stops) and not rewritten until it has been read again.
SupplierLines readSupplierFile(AssessmentState& state, const std::string& path);

// Writes the ten lines through workDir + "rec.tmp": the old file stays as it was until the new one
// is complete (runtime::InOutError otherwise).
void writeSupplierFile(const std::string& workDir, const SupplierLines& lines);

// The supplier's country, organisation and city, the lines the other screens show, into the state.
void takeSupplierNames(AssessmentState& state, const SupplierLines& lines);

}  // namespace assessment
