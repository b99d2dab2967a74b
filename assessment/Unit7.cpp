#include "assessment/Unit7.h"

TForm7::TForm7(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form7"));
    setWindowTitle(QStringLiteral("Chart"));
}
