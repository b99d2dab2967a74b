#pragma once
#include "platform/Form.h"

// Impact estimates
class TForm6 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm6(QWidget* parent = nullptr);
};
