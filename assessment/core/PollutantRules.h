#pragma once
// What depends on the pollutant, written once: the unit of its concentrations and of its class
// counts, and whether its statistics are daily, hourly or long term. Each rule takes the
// pollutant's name as the screens hold it (exact, case-sensitive comparisons; "contains" is a
// substring test); the screens set their own labels from these. Texts are bytes of the user's
// code page.
#include <cstdint>
#include <string>
#include <string_view>

namespace assessment {

// "mg/m3" for "CO", "ng/m3" for "B(a)P", "µg/m3" for every other pollutant: the unit of the
// concentrations and class bounds on the air-quality data and impact-estimates screens.
std::string concentrationUnit(std::string_view pollutant);

// The parameters screen's own rule for the unit beside its cut-off: "mg/m3" for "CO" only and
// "µg/m3" for every other pollutant, "B(a)P" included.
std::string parametersScreenUnit(std::string_view pollutant);

// "CO" is counted in hours; every other pollutant in days.
bool countsHours(std::string_view pollutant);

// The unit of the data capture: "hours" for "CO", else "days".
std::string captureUnit(std::string_view pollutant);

// The unit of the class counts: " ‰population" (a blank, the per-mille sign, "population") for the
// long-term and the annual-only pollutants, else the unit of the data capture.
std::string classCountUnit(std::string_view pollutant);

// The name contains "long term".
bool isLongTerm(std::string_view pollutant);

// "Pb" and "B(a)P": only annual statistics, no distribution and no calculation.
bool isAnnualOnly(std::string_view pollutant);

// Daily statistics (the maxima are shown): "SO2", "NO2 (daily avg)", "TSP", "BS", every name that
// contains "PM", and the long-term pollutants.
bool isDaily(std::string_view pollutant);

// Judged by hourly or 8-hour maxima: every name that contains "O3", and "NO2 (1 hour avg)".
bool isHourly(std::string_view pollutant);

// The hours of the maxima of an hourly pollutant: 8 when its name contains "8", else 1.
int maximumHours(std::string_view pollutant);

// The class-width index of a record whose class-width field is -1, by pollutant index: 2 for "CO",
// 1 for the long-term pollutants, 0 for every other pollutant and for an index outside the list.
std::int32_t intervalForPollutant(std::int32_t pollutant);

}  // namespace assessment
