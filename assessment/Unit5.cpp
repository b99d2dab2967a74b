#include "assessment/Unit5.h"

TForm5::TForm5(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("Form5"));
    setWindowTitle(QStringLiteral("Parameters"));
}
