#include "lifetables/Unit_LifeTables.h"

TPagesDlgLT::TPagesDlgLT(QWidget* parent) : platform::Form(parent) {
    setObjectName(QStringLiteral("PagesDlgLT"));
    setWindowTitle(QStringLiteral("Zelk Life-Table Simulation Version 2.2.3"));
}
