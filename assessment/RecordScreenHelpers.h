#pragma once
// Small pieces shared by the location and air-quality data screens.
#include <QGuiApplication>
#include <QScreen>
#include <QString>
#include <QWidget>

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

// A screen opens centred on the screen.
inline void centreOnScreen(QWidget* form) {
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        form->move(screen->availableGeometry().center() - form->rect().center());
}

}  // namespace assessment
