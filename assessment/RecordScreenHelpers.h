#pragma once
// Small pieces shared by the location, air-quality data and chart screens.
#include <QLineEdit>
#include <QString>

#include "assessment/core/AssessmentState.h"
#include "platform/Ansi.h"

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

// The data supplier's organisation in a screen's top panel. The edit is narrower than many names,
// so it shows the start of the name, not its end.
inline void showOrganisation(QLineEdit* edit, const std::string& organisation) {
    edit->setText(platform::fromAnsi(organisation));
    edit->setCursorPosition(0);
}

}  // namespace assessment
