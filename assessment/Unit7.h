#pragma once
#include "platform/Form.h"

// Chart
class TForm7 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm7(QWidget* parent = nullptr);
};
