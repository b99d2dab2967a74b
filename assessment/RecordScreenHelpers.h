#pragma once
// Small pieces shared by the location and air-quality data screens.
#include <QString>

#include "assessment/core/AssessmentState.h"

namespace assessment {

// Resets the air-quality validity flag when a command ends, also when it ends with an error.
struct ValidAtEnd {
    AssessmentState& state;
    ~ValidAtEnd() { state.aq_valid = -1; }
};

// The name of pollutant `index`; empty outside the table.
inline QString pollutantName(std::int32_t index) {
    if (index < 0 || index >= kPollutantCount) return QString();
    return QString::fromLatin1(kPollutantNames[static_cast<std::size_t>(index)]);
}

}  // namespace assessment
