#include "assessment/core/PollutantRules.h"

#include "assessment/core/AssessmentState.h"
#include "runtime/CodePage.h"

namespace assessment {

namespace {
bool contains(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }
// The micro and per-mille signs in the user's code page ("?" in one without them).
std::string micrograms() { return runtime::ansiFromUtf8("\u00B5g/m3"); }
}  // namespace

std::string concentrationUnit(std::string_view pollutant) {
    if (pollutant == "CO") return "mg/m3";
    if (pollutant == "B(a)P") return "ng/m3";
    return micrograms();
}

std::string parametersScreenUnit(std::string_view pollutant) { return pollutant == "CO" ? "mg/m3" : micrograms(); }

bool countsHours(std::string_view pollutant) { return pollutant == "CO"; }

std::string captureUnit(std::string_view pollutant) { return countsHours(pollutant) ? "hours" : "days"; }

std::string classCountUnit(std::string_view pollutant) {
    if (isLongTerm(pollutant) || isAnnualOnly(pollutant)) return runtime::ansiFromUtf8(" \u2030population");
    return captureUnit(pollutant);
}

bool isLongTerm(std::string_view pollutant) { return contains(pollutant, "long term"); }

bool isAnnualOnly(std::string_view pollutant) { return pollutant == "Pb" || pollutant == "B(a)P"; }

bool isDaily(std::string_view pollutant) {
    return pollutant == "SO2" || pollutant == "NO2 (daily avg)" || pollutant == "TSP" || pollutant == "BS" ||
           contains(pollutant, "PM") || isLongTerm(pollutant);
}

bool isHourly(std::string_view pollutant) { return contains(pollutant, "O3") || pollutant == "NO2 (1 hour avg)"; }

int maximumHours(std::string_view pollutant) { return contains(pollutant, "8") ? 8 : 1; }

std::int32_t intervalForPollutant(std::int32_t pollutant) {
    if (pollutant < 0 || pollutant >= kPollutantCount) return 0;
    const std::string_view name = kPollutantNames[static_cast<std::size_t>(pollutant)];
    if (countsHours(name)) return 2;
    if (isLongTerm(name)) return 1;
    return 0;
}

}  // namespace assessment
