#include "assessment/Unit8.h"

#include <QPushButton>

#include "platform/Guard.h"
#include "ui_TAboutBox.h"

TAboutBox::TAboutBox(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TAboutBoxUi>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("AboutBox"));
    // A fixed dialog frame.
    setFixedSize(size());
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    centreOnScreen();
    connect(ui_->OKButton, &QPushButton::clicked, this, platform::guarded([this] { OKButtonClick(); }));
    // OK is the default button (Enter).
    setDefaultButton(ui_->OKButton);
}

TAboutBox::~TAboutBox() = default;

void TAboutBox::OKButtonClick() { closeForm(); }
