#include "assessment/Unit8.h"

TAboutBox::TAboutBox(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
}
