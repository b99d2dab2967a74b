#include "assessment/core/ReadStops.h"

#include <algorithm>
#include <optional>

#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"

namespace assessment {

std::string rewriteRefusedMessage(const ReadStop& stop) {
    const std::string name = stop.path.substr(stop.path.rfind('/') + 1);
    const std::string where = stop.line > 0 ? " at line " + std::to_string(stop.line) : std::string();
    return "\"" + name + "\" could not be read" + where + " (" + stop.reason + "). It is not changed.";
}

void ReadStops::read(const std::string& path, const std::function<void(runtime::TextReader&)>& read) {
    forget(path);
    std::optional<runtime::TextReader> in;
    try {
        in.emplace(path);
        read(*in);
    } catch (const runtime::Error& error) {
        stops_.push_back({path, in ? in->lineNumber() : 0, error.what()});
        throw;
    }
}

void ReadStops::awaitReload(const std::string& path) {
    forget(path);
    if (runtime::fileExists(path)) stops_.push_back({path, 0, kReloadEndedReason});
}

void ReadStops::refuseRewrite(const std::string& path) const {
    if (!runtime::fileExists(path)) return;
    const auto stop = std::find_if(stops_.begin(), stops_.end(), [&path](const ReadStop& s) { return s.path == path; });
    if (stop != stops_.end()) throw runtime::Error(rewriteRefusedMessage(*stop));
}

void ReadStops::forget(const std::string& path) {
    std::erase_if(stops_, [&path](const ReadStop& stop) { return stop.path == path; });
}

}  // namespace assessment
