#pragma once
// Small pieces shared by the location, air-quality data and chart screens.
#include <QLineEdit>
#include <QString>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/RecordLine.h"
#include "platform/Ansi.h"
#include "platform/TextFieldRule.h"

namespace assessment {

// Resets the air-quality validity flag when a command ends, also when it ends with an error.
struct ValidAtEnd {
    AssessmentState& state;
    ~ValidAtEnd() { state.aq_valid = -1; }
};

// The record matches the stored one again (saved, given up, or shown afresh): the changed mark and
// the air-quality screen's own typing are cleared together.
inline void clearChanged(AssessmentState& state) {
    state.aq_changed = 0;
    state.aq_typed = false;
}

// The program's new text in an edit: the edit the user is in shows it selected, so that typing
// replaces it, also when it equals the text before (no change signal comes then).
inline void showText(QLineEdit* edit, const QString& text) {
    edit->setText(text);
    if (edit->hasFocus()) edit->selectAll();
}

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

// What the files keep of the record screens' texts: the data file joins the record's four texts
// by ";" and keeps 35 characters of each; "town.tab" splits its three fields at "|" and keeps 35
// characters of the name, 15 of the latitude and of the longitude.
inline platform::TextFieldRule recordTextRule() { return {QStringLiteral(";"), static_cast<int>(kTailTextLength), {}}; }
inline platform::TextFieldRule townTextRule(int maxLength) { return {QStringLiteral("|"), maxLength, {}}; }
constexpr int kTownNameLength = 35;
constexpr int kCoordinateLength = 15;

}  // namespace assessment
