#include "assessment/core/SupplierFile.h"

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace assessment {

std::string supplierFilePath(const std::string& workDir) { return workDir + kSupplierFileName; }

namespace {

SupplierLines readSupplierLines(runtime::TextReader& in) {
    SupplierLines lines;
    for (std::string& line : lines) line = in.readLine(std::string::npos);
    return lines;
}

}  // namespace

SupplierLines readSupplierFile(const std::string& path) {
    runtime::TextReader in(path);
    return readSupplierLines(in);
}

SupplierLines readSupplierFile(AssessmentState& state, const std::string& path) {
    SupplierLines lines;
    state.read_stops.read(path, [&lines](runtime::TextReader& in) { lines = readSupplierLines(in); });
    return lines;
}

void writeSupplierFile(const std::string& workDir, const SupplierLines& lines) {
    runtime::replaceFile(supplierFilePath(workDir), tempFileIn(workDir), [&lines](runtime::TextWriter& out) {
        for (const std::string& line : lines) out.writeln(line);
    });
}

void takeSupplierNames(AssessmentState& state, const SupplierLines& lines) {
    state.supplier_country = lines[0];
    state.supplier_org = lines[1];
    state.supplier_city = lines[2];
}

}  // namespace assessment
