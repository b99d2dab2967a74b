#include "assessment/core/ExchangeFile.h"

#include <algorithm>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/core/RecordLine.h"
#include "assessment/core/SupplierFile.h"
#include "runtime/Errors.h"
#include "runtime/FileLock.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace assessment {

namespace {

constexpr std::size_t kEarlierVersionBlanks = 10;
constexpr std::int32_t kEarlierNo2Index = 7;

// The parameter file of an export: the user's "params.tab", else a "params.tav" copied into the
// working directory, else the program folder's defaults, which the screens then read. A user who
// never saved parameters exports the defaults in use.
std::string exportedParameterFile(const AssessmentState& state) {
    const std::string userParameters = state.work_dir + kUserParameterFile;
    if (runtime::fileExists(userParameters)) return userParameters;
    const std::string copiedDefaults = state.work_dir + kDefaultParameterFile;
    if (runtime::fileExists(copiedDefaults) || state.start_dir.empty()) return copiedDefaults;
    return runtime::withTrailingSlash(state.start_dir) + kDefaultParameterFile;
}

}  // namespace

ExchangePaths exchangeSources(const AssessmentState& state) {
    ExchangePaths sources = exchangeTargets(state);
    sources[kParameterSection] = exportedParameterFile(state);
    return sources;
}

ExchangePaths exchangeTargets(const AssessmentState& state) {
    return {state.work_dir + "town.tab", state.work_dir + kEndpointFile, state.work_dir + kUserParameterFile,
            supplierFilePath(state.work_dir), state.data_file};
}

namespace {

// The refusal of a target of a load, naming it.
runtime::InOutError targetRefused(const std::string& target, const runtime::InOutError& error) {
    std::string reason = error.what();
    if (reason.empty() || reason.back() != '.') reason += '.';
    return runtime::InOutError(error.code(),
                               "\"" + target + "\" cannot be written: " + reason + " No working file is changed.");
}

}  // namespace

void loadExchangeSections(const ExchangePaths& targets,
                          const std::array<SectionLines, kExchangeSectionCount>& sections) {
    runtime::StagedFiles staged;
    for (std::size_t i = 0; i < targets.size(); ++i) {
        try {
            staged.stage(targets[i], [&lines = sections[i]](runtime::TextWriter& out) {
                for (const std::string& line : lines) out.writeln(line);
            });
        } catch (const runtime::InOutError& error) {
            throw targetRefused(targets[i], error);
        }
    }
    staged.commit();
}

void writeExchangeFile(const std::string& target, const ExchangePaths& sources) {
    std::array<SectionLines, kExchangeSectionCount> sections;
    for (std::size_t i = 0; i < sources.size(); ++i) sections[i] = runtime::readAllLines(sources[i]);
    runtime::rewriteFile(target, [&](runtime::TextWriter& out) {
        for (std::size_t i = 0; i < sources.size(); ++i) {
            out.writeln(sources[i]);
            for (const std::string& line : sections[i]) out.writeln(line);
            out.writeln(kExchangeEndMark);
        }
    });
}

std::optional<std::array<SectionLines, kExchangeSectionCount>> readExchangeFile(const std::string& path) {
    runtime::TextReader in(path);
    std::array<SectionLines, kExchangeSectionCount> sections;
    for (SectionLines& section : sections) {
        // The header line counts as the line last read: a header "EOF" ends its section at once.
        std::string line = in.readLine(std::string::npos);
        while (line != kExchangeEndMark) {
            if (in.eof()) return std::nullopt;
            line = in.readLine(std::string::npos);
            if (line != kExchangeEndMark) section.push_back(line);
        }
    }
    return sections;
}

void writeSectionFile(const std::string& target, const SectionLines& lines) {
    runtime::replaceFile(target, tempFileBeside(target), [&lines](runtime::TextWriter& out) {
        for (const std::string& line : lines) out.writeln(line);
    });
}

bool isEarlierVersionParameters(const SectionLines& parameterLines) {
    if (parameterLines.empty()) return false;
    const std::string& first = parameterLines.front();
    return static_cast<std::size_t>(std::count(first.begin(), first.end(), ' ')) == kEarlierVersionBlanks;
}

std::int32_t convertEarlierPollutant(std::int32_t pollutant) {
    return pollutant > kEarlierNo2Index ? pollutant + 1 : pollutant;
}

void convertEarlierDataFile(const std::string& dataFile, const std::string& tempPath) {
    const runtime::FileLocks lock({dataFile});  // from the read of the old lines to the new file
    std::vector<std::string> converted;
    {
        runtime::TextReader in(dataFile);
        AqRecord record;
        while (!in.eof()) {
            readRecordFields(in, record);
            in.readln();
            record[kFieldPollutant] = convertEarlierPollutant(record[kFieldPollutant]);
            converted.push_back(formatRecordLine(record));
        }
    }
    runtime::replaceFile(dataFile, tempPath, [&converted](runtime::TextWriter& out) {
        for (const std::string& line : converted) out.writeln(line);
    });
}

}  // namespace assessment
