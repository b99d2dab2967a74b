#pragma once
#include "platform/Form.h"

// Location
class TForm3 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
};
