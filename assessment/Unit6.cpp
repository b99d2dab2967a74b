#include "assessment/Unit6.h"

TForm6::TForm6(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form6"));
    setWindowTitle(QStringLiteral("Impact estimates"));
}
