#pragma once
#include "platform/Form.h"

// Zelk User
class TForm2 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm2(QWidget* parent = nullptr);
};
