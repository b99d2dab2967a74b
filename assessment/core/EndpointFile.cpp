#include "assessment/core/EndpointFile.h"

#include <algorithm>
#include <array>
#include <limits>
#include <utility>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "runtime/CodePage.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace assessment {

namespace {

constexpr std::size_t kNameFieldLength = kEndpointNameLength + 1;  // the blank and the name

// Letters of the user's code page compared without regard to case.
unsigned char foldCase(unsigned char c) { return runtime::ansiUpperCase(c); }

bool sameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return foldCase(static_cast<unsigned char>(x)) == foldCase(static_cast<unsigned char>(y));
    });
}

std::string endpointLine(std::int32_t code, const std::string& name) {
    return std::to_string(code) + ' ' + name;
}

// The name that "Add" would list: cut to the length a read keeps; none when it is empty or listed.
std::optional<std::string> newEndpointName(const EndpointTables& tables, std::string_view name) {
    std::string cut(name.substr(0, kEndpointNameLength));
    if (cut.empty()) return std::nullopt;
    for (const std::string& listed : tables.endpoint_names)
        if (sameText(listed, cut)) return std::nullopt;
    return cut;
}

std::int32_t newCode(const EndpointTables& tables) {
    const auto& codes = tables.endpoint_codes;
    const auto position = static_cast<std::int32_t>(tables.size());
    if (std::find(codes.begin(), codes.end(), position) == codes.end()) return position;
    const std::int32_t largest = *std::max_element(codes.begin(), codes.end());
    return largest < std::numeric_limits<std::int32_t>::max() ? largest + 1 : position;
}

constexpr std::array<const char*, 18> kBuiltinEndpointNames = {
    "Total Mortality",
    "Cardiovascular Mortality",
    "Respiratory Mortality",
    "Hospital Admissions Respiratory Disease",
    "Hospital Admissions Respiratory Dis <15 Years",
    "Hospital Admissions Respiratory Dis 15-64 Years",
    "Hospital Admissions Respiratory Dis 65+ Years",
    "Hospital Admissions Asthma <15 Years",
    "Hospital Admissions Asthma >15-64 Years",
    "Hospital Admissions COPD",
    "Hospital Admissions Cardiovascular Disease",
    "Hospital Admissions Congestive Heart Elderly",
    "Acute Myocardial Infarction",
    "Chronic Bronchitis",
    "Chronic Bronchitis >25 Years",
    "Acute Bronchitis < 15 Years",
    "Asthma Attacks Children",
    "Asthma Attacks Adults",
};

}  // namespace

std::optional<std::int32_t> EndpointTables::codeAt(int position) const {
    if (position < 0 || static_cast<std::size_t>(position) >= endpoint_codes.size()) return std::nullopt;
    return endpoint_codes[static_cast<std::size_t>(position)];
}

EndpointTables builtinEndpoints() {
    EndpointTables tables;
    for (std::size_t k = 0; k < kBuiltinEndpointNames.size(); ++k) {
        tables.endpoint_codes.push_back(static_cast<std::int32_t>(k));
        tables.endpoint_names.emplace_back(kBuiltinEndpointNames[k]);
    }
    return tables;
}

EndpointTables readEndpointFile(const std::string& path) {
    EndpointTables tables;
    runtime::TextReader in(path);
    readEndpointLines(in, tables);
    return tables;
}

void readEndpointLines(runtime::TextReader& in, EndpointTables& tables) {
    while (!in.eof()) {
        const std::int32_t code = in.readInteger();
        const std::string field = in.readText(kNameFieldLength);
        in.readln();
        if (field.size() <= 1) continue;  // no name: not listed
        tables.endpoint_codes.push_back(code);
        tables.endpoint_names.push_back(field.substr(1));
    }
}

void writeEndpointFile(const std::string& path, const std::string& tempPath, const EndpointTables& tables) {
    runtime::replaceFile(path, tempPath, [&](runtime::TextWriter& out) {
        for (std::size_t k = 0; k < tables.size(); ++k)
            out.writeln(endpointLine(tables.endpoint_codes[k], tables.endpoint_names[k]));
    });
}

EndpointTables loadOrCreateEndpoints(const std::string& path, const std::string& tempPath) {
    if (runtime::fileExists(path)) return readEndpointFile(path);
    EndpointTables tables = builtinEndpoints();
    writeEndpointFile(path, tempPath, tables);
    return tables;
}

bool addEndpoint(EndpointTables& tables, std::string_view name, const std::string& path, const std::string& tempPath) {
    const std::optional<std::string> cut = newEndpointName(tables, name);
    if (!cut) return false;
    EndpointTables grown = tables;
    grown.endpoint_codes.push_back(newCode(tables));
    grown.endpoint_names.push_back(*cut);
    writeEndpointFile(path, tempPath, grown);
    tables = std::move(grown);
    return true;
}

void loadOrCreateEndpoints(AssessmentState& state) {
    state.file_name = runtime::withTrailingSlash(state.work_dir) + kEndpointFile;
    if (!runtime::fileExists(state.file_name)) {
        state.endpoints = loadOrCreateEndpoints(state.file_name, tempFileIn(state.work_dir));
        return;
    }
    EndpointTables tables;
    state.read_stops.read(state.file_name, [&tables](runtime::TextReader& in) { readEndpointLines(in, tables); });
    state.endpoints = std::move(tables);
}

void readEndpointFile(AssessmentState& state, const std::string& path) {
    state.endpoints = EndpointTables{};
    state.read_stops.read(path, [&state](runtime::TextReader& in) { readEndpointLines(in, state.endpoints); });
}

bool addEndpoint(AssessmentState& state, std::string_view name) {
    state.file_name = runtime::withTrailingSlash(state.work_dir) + kEndpointFile;
    if (!newEndpointName(state.endpoints, name)) return false;
    state.read_stops.refuseRewrite(state.file_name);
    return addEndpoint(state.endpoints, name, state.file_name, tempFileIn(state.work_dir));
}

}  // namespace assessment
