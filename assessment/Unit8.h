#pragma once
// The about box: the program's name and version, the maker and the user's responsibility.
#include <memory>

#include "platform/Form.h"

namespace Ui { class TAboutBoxUi; }

// About
class TAboutBox : public platform::Form {
    Q_OBJECT
public:
    explicit TAboutBox(QWidget* parent = nullptr);
    ~TAboutBox() override;

    Ui::TAboutBoxUi& controls() { return *ui_; }

    void OKButtonClick();  // "OK"

private:
    std::unique_ptr<Ui::TAboutBoxUi> ui_;
};
