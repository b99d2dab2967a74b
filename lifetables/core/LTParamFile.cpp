#include "lifetables/core/LTParamFile.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>

#include "lifetables/core/LTParamRecord.h"
#include "runtime/Errors.h"

namespace lifetables {
namespace {

constexpr int kFileNotOpen = 103;

struct FileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};

// The set that stands in when the program folder has no parameter-set file.
void writeBuiltInSet(LTParamSet& set) {
    set.name = "Version_TAV_LT_01.00.00";
    constexpr double kBeta[kLTCauseCount] = {0.00602, 0.008933, 0.012673};
    constexpr double kBetaSe[kLTCauseCount] = {0.0022654, 0.002907, 0.00426};
    for (int cause = 0; cause < kLTCauseCount; ++cause) {
        set.values[0][cause] = 0;
        set.values[1][cause] = 30;
        set.values[2][cause] = 120;
        set.values[3][cause] = kBeta[cause];
        set.values[4][cause] = kBetaSe[cause];
    }
}

}  // namespace

void proc_LTDefaultParams(LTState& state) { writeBuiltInSet(state.LTparamSet); }

void proc_LTLoadParamFile(LTState& state, const std::string& programFolder, const LTMessageSink& messages) {
    const std::string path = programFolder + kLTParamFileName;
    std::error_code error;
    const auto status = std::filesystem::status(path, error);
    if (status.type() == std::filesystem::file_type::not_found) {
        ltShowMessage(messages, "No parameter file found! Program uses values of Zelk 2.0.4.");
        proc_LTDefaultParams(state);
        return;
    }
    std::unique_ptr<std::FILE, FileCloser> file;
    if (status.type() == std::filesystem::file_type::regular) file.reset(std::fopen(path.c_str(), "rb"));
    if (!file) {
        ltShowMessage(messages, "Error on assigning file " + path);
        throw runtime::InOutError(kFileNotOpen);
    }
    LTParamRecord record{};
    if (std::fread(record.data(), 1, record.size(), file.get()) != record.size()) {
        throw runtime::InOutError(runtime::kReadBeyondEnd);
    }
    state.LTparamSet = decodeLTParamRecord(record);
}

std::string gl_LTosMajorVersion(const std::function<std::string()>& versionQuery) {
    std::string version;
    if (versionQuery) {
        try {
            version = versionQuery();
        } catch (const std::exception&) {
            version.clear();
        }
    }
    if (version.empty()) return "0";
    return runtime::cutText(version, 255);
}

}  // namespace lifetables
