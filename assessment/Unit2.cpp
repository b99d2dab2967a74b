#include "assessment/Unit2.h"

TForm2::TForm2(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Zelk User"));
}
