#include "assessment/UNIT3.h"

TForm3::TForm3(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form3"));
    setWindowTitle(QStringLiteral("Location"));
}
