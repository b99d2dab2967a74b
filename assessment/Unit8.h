#pragma once
#include "platform/Form.h"

// About
class TAboutBox : public platform::Form {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
};
