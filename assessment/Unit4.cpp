#include "assessment/Unit4.h"

TForm4::TForm4(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form4"));
    setWindowTitle(QStringLiteral("Air Quality Data"));
}
