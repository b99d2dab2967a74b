#include "assessment/Unit2.h"

#include <QLineEdit>
#include <QPushButton>

#include "assessment/Program.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/core/ExchangeFile.h"
#include "assessment/core/SupplierFile.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Printing.h"
#include "platform/TextFieldRule.h"
#include "runtime/Files.h"
#include "ui_TForm2.h"

using platform::fromAnsi;
using platform::toAnsi;

namespace {
constexpr int kSupplierHelpContext = 2;
}

TForm2::TForm2(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm2Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form2"));
    setHelpContext(kSupplierHelpContext);
    centreOnScreen();
    fileOrder_ = {ui_->country, ui_->organ, ui_->city, ui_->street, ui_->pobox,
                  ui_->postcode, ui_->email, ui_->tel, ui_->fax, ui_->resp_person};
    // Each text is a whole line of "data_sup.tab", which the exchange file carries: a line "EOF"
    // would end its section there.
    for (QLineEdit* edit : fileOrder_)
        platform::setTextFieldRule(edit, {{}, 0, QString::fromLatin1(assessment::kExchangeEndMark)});
    connectHandlers();
}

TForm2::~TForm2() = default;

void TForm2::connectHandlers() {
    using platform::guarded;
    connect(ui_->Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(ui_->BitBtn1, &QPushButton::clicked, this, guarded([this] { BitBtn1Click(); }));
    connect(ui_->BitBtn2, &QPushButton::clicked, this, guarded([this] { BitBtn2Click(); }));
    // "&Next" is the default button (Enter), "&Close" the cancel button (Escape).
    setDefaultButton(ui_->Button1);
    setCancelButton(ui_->BitBtn1);

    for (QLineEdit* edit : fileOrder_) {
        if (edit == ui_->organ)
            connect(edit, &QLineEdit::textChanged, this, guarded([this] { organChange(); }));
        else
            connect(edit, &QLineEdit::textChanged, this, guarded([this] { anyChange(); }));
    }
}

void TForm2::setFileLines(const assessment::SupplierLines& lines) {
    for (std::size_t i = 0; i < fileOrder_.size(); ++i) fileOrder_[i]->setText(fromAnsi(lines[i]));
}

void TForm2::FormActivate() {
    auto& s = program().aq;
    const std::string path = assessment::supplierFilePath(s.work_dir);
    if (runtime::fileExists(path)) setFileLines(assessment::readSupplierFile(s, path));
    if (ui_->country->text().isEmpty()) focusControl(ui_->country);
    s.supplier_changed = 0;
    ui_->Button1->setEnabled(!ui_->organ->text().isEmpty());
}

void TForm2::FormDeactivate() {
    auto& s = program().aq;
    const std::string path = assessment::supplierFilePath(s.work_dir);
    bool write = !runtime::fileExists(path);
    if (!write && s.supplier_changed != 0) {
        s.read_stops.refuseRewrite(path);
        write = platform::confirm(QStringLiteral("Save changes?")) == platform::Button::Yes;
    }
    if (write) writeSupplierFile();
    if (program().Form1) program().Form1->enableRecordScreens(!s.supplier_org.empty());
}

void TForm2::writeSupplierFile() {
    auto& s = program().aq;
    assessment::SupplierLines lines;
    for (std::size_t i = 0; i < fileOrder_.size(); ++i) lines[i] = toAnsi(fileOrder_[i]->text());
    assessment::writeSupplierFile(s.work_dir, lines);
    assessment::takeSupplierNames(s, lines);
}

void TForm2::Button1Click() {
    hideForm();
    program().Form3->showForm();
}

void TForm2::BitBtn1Click() { closeForm(); }

void TForm2::BitBtn2Click() {
    ui_->Panel1->hide();
    ui_->Label65->show();
    ui_->Label66->show();
    struct Restore {
        Ui::TForm2Ui& ui;
        ~Restore() {
            ui.Label65->hide();
            ui.Label66->hide();
            ui.Panel1->show();
        }
    } restore{*ui_};
    platform::printWidgetImage(this);
}

void TForm2::organChange() {
    const QString text = ui_->organ->text();
    if (program().Form1) program().Form1->setOrganLabel(text);
    ui_->Button1->setEnabled(!text.isEmpty());
    program().aq.supplier_changed = -1;
}

void TForm2::anyChange() { program().aq.supplier_changed = -1; }
