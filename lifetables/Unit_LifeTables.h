#pragma once
#include "platform/Form.h"

// Zelk Life-Table Simulation Version 2.2.3
class TPagesDlgLT : public platform::Form {
    Q_OBJECT
public:
    explicit TPagesDlgLT(QWidget* parent = nullptr);
};
