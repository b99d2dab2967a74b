#pragma once
#include "platform/Form.h"

// Air Quality Data
class TForm4 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
};
