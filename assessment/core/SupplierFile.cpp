#include "assessment/core/SupplierFile.h"

#include "assessment/core/DataFile.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace assessment {

std::string supplierFilePath(const std::string& workDir) { return workDir + kSupplierFileName; }

SupplierLines readSupplierFile(const std::string& path) {
    runtime::TextReader in(path);
    SupplierLines lines;
    for (std::string& line : lines) line = in.readLine(std::string::npos);
    return lines;
}

void writeSupplierFile(const std::string& workDir, const SupplierLines& lines) {
    runtime::replaceFile(supplierFilePath(workDir), tempFileIn(workDir), [&lines](runtime::TextWriter& out) {
        for (const std::string& line : lines) out.writeln(line);
    });
}

}  // namespace assessment
