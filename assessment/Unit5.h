#pragma once
#include "platform/Form.h"

// Parameters
class TForm5 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
};
