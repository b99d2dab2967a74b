#include "assessment/core/ParameterFile.h"

#include <cmath>
#include <limits>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/ReadStops.h"
#include "runtime/Errors.h"
#include "runtime/FileLock.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/TextFile.h"

namespace assessment {

namespace {

float readSingle(runtime::TextReader& in) {
    const long double value = in.readReal();
    // A value that a 32-bit float cannot hold is no number of this file.
    if (!std::isfinite(value) || std::fabs(value) > std::numeric_limits<float>::max())
        throw runtime::InOutError(runtime::kInvalidNumericInput);
    return static_cast<float>(value);
}

void writeRecords(runtime::TextWriter& out, const std::vector<ParamFileRecord>& records) {
    for (const ParamFileRecord& record : records) out.writeln(formatParamLine(record.line()));
}

}  // namespace

ParamLine ParamFileRecord::line() const {
    return ParamLine{pollutant, endpoint, values.incidence, values.rr, values.rr_lower, values.rr_upper,
                     values.cut_off, values.certainty, interval};
}

std::string formatParamLine(const ParamLine& line) {
    std::string text;
    text.reserve(120);
    text += std::to_string(line.pollutant) + ' ';
    text += std::to_string(line.endpoint) + ' ';
    for (long double real : {line.incidence, line.rr, line.rr_lower, line.rr_upper}) {
        text += runtime::formatExponent23(real);
        text += ' ';
    }
    text += std::to_string(line.cut_off) + ' ';
    text += std::to_string(line.certainty) + ' ';
    text += std::to_string(line.interval);
    return text;
}

ParamFileRecord readParamRecord(runtime::TextReader& in) {
    ParamFileRecord record;
    record.pollutant = in.readInteger();
    record.endpoint = in.readInteger();
    record.values.incidence = readSingle(in);
    record.values.rr = readSingle(in);
    record.values.rr_lower = readSingle(in);
    record.values.rr_upper = readSingle(in);
    record.values.cut_off = in.readInteger();
    record.values.certainty = in.readInteger();
    record.interval = in.readInteger();
    in.readln();
    return record;
}

bool noMoreParamRecords(runtime::TextReader& in) {
    while (!in.eof() && in.eoln()) in.readln();
    return in.eof();
}

std::vector<ParamFileRecord> readParamFile(const std::string& path) {
    runtime::TextReader in(path);
    std::vector<ParamFileRecord> records;
    while (!noMoreParamRecords(in)) records.push_back(readParamRecord(in));
    return records;
}

std::optional<std::string> boundParameterFile(const std::string& workDir, const std::string& startDir) {
    const std::string user = runtime::withTrailingSlash(workDir) + kUserParameterFile;
    if (runtime::fileExists(user)) return user;
    const std::string shipped = runtime::withTrailingSlash(startDir) + kDefaultParameterFile;
    if (runtime::fileExists(shipped)) return shipped;
    return std::nullopt;
}

bool bindParameterFile(AssessmentState& state) {
    const auto bound = boundParameterFile(state.work_dir, state.start_dir);
    if (!bound) return false;
    state.text_file3 = *bound;
    return true;
}

bool getData(AssessmentState& state, std::int32_t pollutant, std::optional<std::int32_t> endpointCode) {
    state.interval_index = 0;
    runtime::TextReader in(state.text_file3);
    while (!noMoreParamRecords(in)) {
        const ParamFileRecord record = readParamRecord(in);
        state.param_record = record.values;
        state.rec_endpoint = record.endpoint;
        state.interval_index = record.interval;
        if (record.pollutant == pollutant && endpointCode && record.endpoint == *endpointCode) return true;
    }
    return false;
}

void saveParameters(AssessmentState& state, const ParamLine& saved) {
    const std::string target = runtime::withTrailingSlash(state.work_dir) + kUserParameterFile;
    // The save copies the bound file. A "params.tab" that is not the bound one (a reload ended
    // before it bound this directory's file) would get another file's records.
    if (state.text_file3 != target && runtime::fileExists(target))
        throw runtime::Error(rewriteRefusedMessage({target, 0, kReloadEndedReason}));
    state.file_name = target;
    state.tmp_name = tempFileIn(state.work_dir);
    const runtime::FileLocks lock({target});  // from the read of the old records to the new file
    const std::vector<ParamFileRecord> records = readParamFile(state.text_file3);
    runtime::replaceFile(target, state.tmp_name, [&](runtime::TextWriter& out) {
        bool replaced = false;
        for (const ParamFileRecord& record : records) {
            if (record.pollutant == saved.pollutant && record.endpoint == saved.endpoint) {
                out.writeln(formatParamLine(saved));
                replaced = true;
            } else {
                out.writeln(formatParamLine(record.line()));
            }
        }
        if (!replaced) out.writeln(formatParamLine(saved));
    });
    state.text_file3 = target;
}

bool copyDefaultParameters(AssessmentState& state) {
    const std::string shipped = runtime::withTrailingSlash(state.start_dir) + kDefaultParameterFile;
    state.file_name = shipped;
    if (!runtime::fileExists(shipped)) return false;
    const std::vector<ParamFileRecord> records = readParamFile(shipped);
    const std::string target = runtime::withTrailingSlash(state.work_dir) + kUserParameterFile;
    runtime::replaceFile(target, tempFileIn(state.work_dir),
                         [&](runtime::TextWriter& out) { writeRecords(out, records); });
    if (!records.empty()) state.interval_index = records.back().interval;
    return true;
}

}  // namespace assessment
