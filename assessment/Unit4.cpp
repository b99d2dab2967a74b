#include "assessment/Unit4.h"

#include <QComboBox>
#include <array>
#include <optional>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollArea>

#include "assessment/Program.h"
#include "assessment/RecordScreenHelpers.h"
#include "assessment/TownFile.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit5.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/core/ConcentrationClasses.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/core/PollutantRules.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Printing.h"
#include "platform/TextFieldRule.h"
#include "runtime/Errors.h"
#include "runtime/NumberText.h"
#include "runtime/TextFile.h"
#include "ui_TForm3.h"
#include "ui_TForm4.h"

using platform::fromAnsi;
using platform::toAnsi;

namespace {

constexpr int kAirQualityHelpContext = 4;
constexpr int kImportNumbers = 26;    // 25 class counts and the class-width index
constexpr int kPrintHeight = 750;
constexpr int kFormHeight = 410;
constexpr int kScrollBoxHeight = 351;

std::int32_t intOf(const QLineEdit* edit) { return runtime::strToInt(toAnsi(edit->text())); }

using assessment::pollutantName;

}  // namespace

TForm4::TForm4(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm4Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form4"));
    setHelpContext(kAirQualityHelpContext);
    centreOnScreen();
    Ui::TForm4Ui& u = *ui_;
    platform::setTextFieldRule(u.Editlow_name, assessment::recordTextRule());
    platform::setTextFieldRule(u.Edithigh_name, assessment::recordTextRule());
    for (int k = 1; k <= assessment::kClassCount; ++k) {
        classLabels_[static_cast<std::size_t>(k)] = findChild<QLabel*>(QStringLiteral("Label%1").arg(k));
        classEdits_[static_cast<std::size_t>(k)] = findChild<QLineEdit*>(QStringLiteral("edit%1").arg(k));
    }
    statistics_ = {{u.Editwin_days, assessment::kFieldWinterDays},
                   {u.Editsum_days, assessment::kFieldSummerDays},
                   {u.Editann_mean, assessment::kFieldAnnualMean},
                   {u.Editwinter_mean, assessment::kFieldWinterMean},
                   {u.Editsummer_mean, assessment::kFieldSummerMean},
                   {u.Editann_p, assessment::kFieldAnnualP98},
                   {u.Editann_max, assessment::kFieldAnnualMax},
                   {u.Editwinter_max, assessment::kFieldWinterMax},
                   {u.Editsummer_max, assessment::kFieldSummerMax},
                   {u.Editlow_ann_mean, assessment::kFieldLowAnnualMean},
                   {u.Editlow_winter_mean, assessment::kFieldLowWinterMean},
                   {u.Editlow_summer_mean, assessment::kFieldLowSummerMean},
                   {u.Editlow_ann_max, assessment::kFieldLowAnnualMax},
                   {u.Editlow_winter_max, assessment::kFieldLowWinterMax},
                   {u.Editlow_summer_max, assessment::kFieldLowSummerMax},
                   {u.Edithigh_ann_mean, assessment::kFieldHighAnnualMean},
                   {u.Edithigh_winter_mean, assessment::kFieldHighWinterMean},
                   {u.Edithigh_summer_mean, assessment::kFieldHighSummerMean},
                   {u.Edithigh_ann_max, assessment::kFieldHighAnnualMax},
                   {u.Edithigh_winter_max, assessment::kFieldHighWinterMax},
                   {u.Edithigh_summer_max, assessment::kFieldHighSummerMax},
                   {u.ann98low, assessment::kFieldLowAnnualP98},
                   {u.ann98high, assessment::kFieldHighAnnualP98}};
    for (int k = 1; k <= assessment::kClassCount; ++k) numericEdits_.push_back(classEdits_[static_cast<std::size_t>(k)]);
    numericEdits_.insert(numericEdits_.end(), {u.exp_pop, u.pro_statnum, u.Editann_days});
    for (const FieldEdit& stat : statistics_) numericEdits_.push_back(stat.edit);
    connectHandlers();

    // FormCreate: the parameter file of the class-width look-up is bound once.
    auto& s = aq();
    s.aq_valid = -1;
    s.params_file = assessment::boundParameterFile(s.work_dir, s.start_dir)
                        .value_or(s.start_dir + assessment::kDefaultParameterFile);
}

TForm4::~TForm4() = default;

assessment::AssessmentState& TForm4::aq() { return program().aq; }

void TForm4::connectHandlers() {
    using platform::guarded;
    Ui::TForm4Ui& u = *ui_;
    connect(u.BitBtn1, &QPushButton::clicked, this, guarded([this] { BitBtn1Click(); }));
    connect(u.BitBtn2, &QPushButton::clicked, this, guarded([this] { BitBtn2Click(); }));
    connect(u.BitBtn3, &QPushButton::clicked, this, guarded([this] { BitBtn3Click(); }));
    connect(u.BitBtn4, &QPushButton::clicked, this, guarded([this] { BitBtn4Click(); }));
    connect(u.BitBtn5, &QPushButton::clicked, this, guarded([this] { BitBtn5Click(); }));
    connect(u.Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(u.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(u.Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(u.Button4, &QPushButton::clicked, this, guarded([this] { Button4Click(); }));
    connect(u.editpol, &QLineEdit::textChanged, this, guarded([this] { EditpolChange(); }));
    // "CALC" is the default button (Enter), "&Close" the cancel button (Escape).
    setDefaultButton(u.BitBtn1);
    setCancelButton(u.Button1);

    // Leaving an entry edit marks the record changed when the edit differs from its field.
    for (QLineEdit* edit : entryEdits()) {
        if (edit == u.Editsummer_max)
            addLeave(edit, [this] { Editsummer_maxExit(); });
        else
            addLeave(edit, [this, edit] { compareField(edit); });
    }
}

// A leave handler whose conversion fails shows the error and keeps the focus in its edit.
void TForm4::addLeave(QLineEdit* edit, std::function<void()> handler) {
    onLeave(edit, [this, edit, handler = std::move(handler)] {
        try {
            handler();
        } catch (const runtime::Error& error) {
            leaveFailed_ = true;
            focusControl(edit);
            platform::showException(error);
        }
    });
}

std::vector<QLineEdit*> TForm4::entryEdits() const {
    std::vector<QLineEdit*> edits(classEdits_.begin() + 1, classEdits_.end());
    for (const FieldEdit& stat : statistics_) edits.push_back(stat.edit);
    edits.push_back(ui_->Editlow_name);
    edits.push_back(ui_->Edithigh_name);
    return edits;
}

bool TForm4::differsFromRecord(QLineEdit* edit, bool quiet) {
    const std::string text = toAnsi(edit->text());
    if (edit == ui_->Editlow_name) return text != lowName_;
    if (edit == ui_->Edithigh_name) return text != highName_;
    int field = 0;
    for (int k = 1; k <= assessment::kClassCount; ++k)
        if (edit == classEdits_[static_cast<std::size_t>(k)]) field = assessment::classField(k);
    for (const FieldEdit& stat : statistics_)
        if (edit == stat.edit) field = stat.field;
    // An empty winter is no entry: the check before a save asks for it.
    if (field == 0 || (edit == ui_->Editwin_days && text.empty())) return false;
    std::int32_t value = 0;
    if (quiet) return !runtime::tryStrToInt(text, value) || value != aq().aq_record[field];
    return intOf(edit) != aq().aq_record[field];
}

void TForm4::compareField(QLineEdit* edit) {
    if (!differsFromRecord(edit, false)) return;
    aq().aq_changed = -1;
    aq().aq_typed = true;
}

void TForm4::Editsummer_maxExit() {
    compareField(ui_->Editsummer_max);
    if (intOf(ui_->pro_statnum) >= 2)
        focusControl(ui_->Editlow_name);
    else
        focusControl(ui_->Editwin_days);
}

// ---- the record on the screen ----

void TForm4::show_fields(const assessment::TailTexts& tails) {
    auto& s = aq();
    const assessment::AqRecord& r = s.aq_record;
    Ui::TForm4Ui& u = *ui_;
    u.editpol->setText(pollutantName(r[assessment::kFieldPollutant]));
    u.agglom->setText(program().Form3->controls().agglom->currentText());
    u.year->setText(QString::number(r[assessment::kFieldYear]));
    u.exp_pop->setText(QString::number(r[assessment::kFieldPopulation]));
    u.pro_statnum->setText(QString::number(r[assessment::kFieldStations]));
    for (int k = 1; k <= assessment::kClassCount; ++k)
        assessment::showText(classEdits_[static_cast<std::size_t>(k)], QString::number(r[assessment::classField(k)]));
    u.Editann_days->setText(QString::number(r[assessment::kFieldAnnualDays]));
    for (const FieldEdit& stat : statistics_) assessment::showText(stat.edit, QString::number(r[stat.field]));
    assessment::showText(u.Editlow_name, fromAnsi(tails[assessment::kTailLowStation]));
    assessment::showText(u.Edithigh_name, fromAnsi(tails[assessment::kTailHighStation]));
    lowName_ = tails[assessment::kTailLowStation];
    highName_ = tails[assessment::kTailHighStation];
}

void TForm4::fill_data() {
    auto& s = aq();
    Ui::TForm4Ui& u = *ui_;
    for (QLineEdit* edit : numericEdits_)
        if (edit->text().isEmpty()) edit->setText(QStringLiteral("0"));
    assessment::AqRecord& r = s.aq_record;
    // The record's own key, whatever another screen did to cur_pollutant and interval_index.
    r[assessment::kFieldPollutant] = s.record_key.pollutant;
    r[assessment::kFieldYear] = valueOf(u.year);
    long long sum = 0;
    for (int k = 1; k <= assessment::kClassCount; ++k) {
        r[assessment::classField(k)] = valueOf(classEdits_[static_cast<std::size_t>(k)]);
        sum += r[assessment::classField(k)];
    }
    r[assessment::kFieldClassWidth] = s.record_key.interval;
    r[assessment::kFieldPopulation] = valueOf(u.exp_pop);
    r[assessment::kFieldStations] = valueOf(u.pro_statnum);
    // The annual data capture is the sum of the class counts (a sum beyond the field's range fails
    // as a conversion error).
    u.Editann_days->setText(QString::number(sum));
    r[assessment::kFieldAnnualDays] = valueOf(u.Editann_days);
    for (const FieldEdit& stat : statistics_) r[stat.field] = valueOf(stat.edit);
    r[assessment::kFieldZero1] = 0;
    r[assessment::kFieldZero2] = 0;
    r[assessment::kFieldZero3] = 0;
    s.aq_filled = true;
}

std::int32_t TForm4::valueOf(QLineEdit* edit) {
    failedField_ = edit;
    const std::int32_t value = intOf(edit);
    failedField_ = nullptr;
    return value;
}

void TForm4::check_data() {
    auto& s = aq();
    const assessment::AqRecord& r = s.aq_record;
    Ui::TForm4Ui& u = *ui_;
    // The checks of the record's own pollutant; the focus goes to the first field that fails.
    const auto fail = [&](QLineEdit* field) {
        s.aq_valid = 0;
        if (!failedField_) failedField_ = field;
    };
    const std::string pollutant = toAnsi(pollutantName(s.record_key.pollutant));
    if (!assessment::isAnnualOnly(pollutant) && !assessment::isLongTerm(pollutant) &&
        !assessment::countsHours(pollutant)) {
        long long sum = 0;
        for (int k = 1; k <= assessment::kClassCount; ++k) sum += r[assessment::classField(k)];
        u.Editann_days->setText(QString::number(sum));
        if (static_cast<long long>(intOf(u.Editsum_days)) + intOf(u.Editwin_days) != sum) {
            const platform::Button answer = platform::messageBox(
                QStringLiteral("Data capture: Summer and Winter do not add up to Annual!"), QStringLiteral("zelk"),
                {platform::Button::Ok, platform::Button::Cancel});
            if (answer == platform::Button::Cancel) fail(u.Editwin_days);
        }
        if (sum > 366) {
            platform::showMessage(QStringLiteral("Total number of days > 366!"));
            fail(u.edit1);
        }
    }
    if (intOf(u.Editann_mean) <= 0) {
        platform::showMessage(u.Label26->text() + QStringLiteral(" must be > 0!"));
        fail(u.Editann_mean);
    }
}

bool TForm4::save_data(bool check) {
    auto& s = aq();
    s.aq_valid = -1;
    failedField_ = nullptr;
    try {
        program().Form3->fill_data();  // the location screen's fields, then this screen's
    } catch (const runtime::Error& error) {
        if (!failedField_) throw;  // an edit of the location screen: the command's handler shows it
        platform::showException(error);
        s.aq_valid = 0;
        return false;
    }
    if (check) check_data();
    if (s.aq_valid == 0) return false;
    Ui::TForm3Ui& location = program().Form3->controls();
    const assessment::TailTexts tails = {toAnsi(ui_->Editlow_name->text()), toAnsi(ui_->Edithigh_name->text()),
                                         toAnsi(location.netw_affl->text()), toAnsi(location.tech_body->text())};
    s.aq_record.text = assessment::joinTail(tails);
    program().Form3->store_town();
    assessment::saveRecordAndTowns(s);
    lowName_ = tails[assessment::kTailLowStation];
    highName_ = tails[assessment::kTailHighStation];
    s.new_record = 0;
    assessment::clearChanged(s);
    return true;
}

bool TForm4::leaveTyping(QWidget* to) {
    leaveFailed_ = false;
    focusControl(to ? to : ui_->Button1);
    return !leaveFailed_;
}

void TForm4::showFailedField() {
    QLineEdit* field = failedField_;
    // The activation resets aq_valid and enters its own first field; the failed one comes after.
    showForm();
    if (field) focusControl(field);
}

void TForm4::show_key() {
    auto& s = aq();
    s.cur_pollutant = s.record_key.pollutant;
    s.interval_index = s.record_key.interval;
    ui_->editpol->setText(QString());  // puts the record's pollutant back and builds its captions
}

void TForm4::clear_data() {
    for (QLineEdit* edit : numericEdits_) edit->clear();
}

void TForm4::make_label() {
    auto& s = aq();
    assessment::makeLabel(s);
    for (int k = 1; k <= assessment::kClassCount; ++k)
        classLabels_[static_cast<std::size_t>(k)]->setText(fromAnsi(s.class_captions[static_cast<std::size_t>(k)]));
}

void TForm4::get_param() {
    auto& s = aq();
    assessment::getParam(s.params_file, s.cur_pollutant, s.interval_index);
    if (s.new_record != 0) s.record_key.interval = s.interval_index;
}

// ---- the pollutant decides what the screen shows ----

void TForm4::EditpolChange() {
    auto& s = aq();
    Ui::TForm4Ui& u = *ui_;
    QString t = u.editpol->text();
    if (t.isEmpty()) {
        u.editpol->setText(pollutantName(s.cur_pollutant));
        t = u.editpol->text();
    }
    const std::string name = toAnsi(t);
    annual_only_ = assessment::isAnnualOnly(name);
    s.long_term = assessment::isLongTerm(name);

    u.Label59->setText(fromAnsi(assessment::captureUnit(name)));
    u.Label60->setText(fromAnsi(assessment::classCountUnit(name)));
    if (s.long_term || annual_only_)
        u.infolabel->setText(QStringLiteral("annual mean"));
    else if (assessment::countsHours(name))
        u.infolabel->setText(QStringLiteral("1 hour mean"));
    else
        u.infolabel->setText(QStringLiteral("daily mean"));
    make_label();
    u.Label61->setText(u.Label60->text());

    const QString unit = fromAnsi(assessment::concentrationUnit(name));
    for (QLabel* label : {u.Label62, u.Label63, u.Label77, u.Label78, u.Label79, u.Label80}) label->setText(unit);

    if (assessment::isHourly(name)) {
        const QString hours = QString::number(assessment::maximumHours(name));
        u.infolabel->setText(QStringLiteral("Max %1 hour mean").arg(hours));
        u.Label26->setText(QStringLiteral("Max annual %1 hr avg").arg(hours));
        u.Label27->setText(QStringLiteral("Max winter %1 hr avg").arg(hours));
        u.Label28->setText(QStringLiteral("Max summer %1 hr avg").arg(hours));
        u.Label44->setText(QStringLiteral("%1 hr 98 percentile").arg(hours));
    } else {
        u.Label26->setText(QStringLiteral("Annual mean"));
        u.Label27->setText(QStringLiteral("Winter mean"));
        u.Label28->setText(QStringLiteral("Summer mean"));
        u.Label44->setText(QStringLiteral("Annual 98 percentile"));
        u.Label29->setText(QStringLiteral("annual maximum"));
        u.Label30->setText(QStringLiteral("winter maximum"));
        u.Label31->setText(QStringLiteral("summer maximum"));
    }
    for (QLabel* label : {u.Label34, u.Label41}) label->setText(u.Label26->text());
    for (QLabel* label : {u.Label35, u.Label42}) label->setText(u.Label27->text());
    for (QLabel* label : {u.Label36, u.Label43}) label->setText(u.Label28->text());
    for (QLabel* label : {u.Label71, u.Label72}) label->setText(u.Label44->text());
    for (QLabel* label : {u.Label37, u.Label45}) label->setText(u.Label29->text());
    for (QLabel* label : {u.Label38, u.Label46}) label->setText(u.Label30->text());
    for (QLabel* label : {u.Label39, u.Label47}) label->setText(u.Label31->text());

    const bool distribution = !annual_only_;
    u.BitBtn1->setEnabled(distribution);
    u.Button3->setEnabled(distribution);
    for (int k = 1; k <= assessment::kClassCount; ++k) {
        classEdits_[static_cast<std::size_t>(k)]->setVisible(distribution);
        classLabels_[static_cast<std::size_t>(k)]->setVisible(distribution);
    }
    for (QLabel* label : {u.Label60, u.Label61, u.Label62, u.Label63}) label->setVisible(distribution);

    const bool percentiles = !annual_only_ && !s.long_term;
    for (QWidget* w : std::initializer_list<QWidget*>{u.Editann_p, u.Label44, u.ann98low, u.ann98high, u.Label71,
                                                      u.Label72})
        w->setVisible(percentiles);

    const bool maxima = assessment::isDaily(name) && !s.long_term;
    for (QWidget* w : std::initializer_list<QWidget*>{
             u.Editann_max, u.Editwinter_max, u.Editsummer_max, u.Label29, u.Label30, u.Label31, u.Label78,
             u.Editlow_ann_max, u.Editlow_winter_max, u.Editlow_summer_max, u.Label37, u.Label38, u.Label39,
             u.Edithigh_ann_max, u.Edithigh_winter_max, u.Edithigh_summer_max, u.Label45, u.Label46, u.Label47})
        w->setVisible(maxima);
}

// ---- activation and closing ----

void TForm4::FormActivate() {
    auto& s = aq();
    Ui::TForm4Ui& u = *ui_;
    u.editpol->setText(pollutantName(s.cur_pollutant));
    focusControl(u.Editwin_days);
    u.Editwin_days->setModified(false);  // entered by the program: its text is selected afresh
    s.aq_valid = -1;
    u.Label64->setText(fromAnsi(s.supplier_org));
    assessment::showOrganisation(u.Editorgan, s.supplier_org);
    u.country->setText(fromAnsi(s.supplier_country));
    if (s.cur_record == 0) s.cur_record = 1;
    // A record marked changed keeps what was typed into it, here or on the location screen, which
    // shares it: the record is shown afresh only while it matches the data file.
    if (s.aq_changed == 0)
        program().Form3->show_record(s.cur_record);
    else
        show_key();
    u.editpol->setText(QString());
}

void TForm4::FormDeactivate() {
    auto& s = aq();
    // Typing in the edit that has the focus is compared when the edit is left. The screen loses
    // its activity first, so that edit is compared here, quietly (a text that is no number differs):
    // the next activation of either record screen then keeps the typing.
    auto* focused = qobject_cast<QLineEdit*>(activeControl());
    if (focused && differsFromRecord(focused, true)) {
        s.aq_changed = -1;
        s.aq_typed = true;
    }
    s.pollutant_text = toAnsi(ui_->editpol->text());
    // The year is shown from the record; a text that is no number leaves the published year.
    std::int32_t year = 0;
    if (!ui_->year->text().isEmpty() && runtime::tryStrToInt(toAnsi(ui_->year->text()), year)) s.cur_year = year;
}

// The save question of this screen's commands, after the edit being typed in is left for the
// command's button. False when the command stops: the leave or the save failed, and the typing and
// the mark stay.
bool TForm4::saveQuestion(QWidget* button) {
    if (!leaveTyping(button)) return false;
    auto& s = aq();
    if (s.aq_changed == 0) return true;
    if (platform::confirm(QStringLiteral("Save changes?")) != platform::Button::Yes) {
        assessment::clearChanged(s);  // the typing is given up
        return true;
    }
    if (save_data(true)) return true;
    showFailedField();
    return false;
}

bool TForm4::FormCloseQuery() {
    aq().aq_valid = -1;
    try {
        return saveQuestion(ui_->Button1);
    } catch (const std::exception& error) {
        platform::showException(error);
        return false;
    }
}

void TForm4::resizeEvent(QResizeEvent* event) {
    platform::Form::resizeEvent(event);
    arrangePanels();
}

// The command panel sits at the top; the data panel and its scroll box fill the rest.
void TForm4::arrangePanels() {
    Ui::TForm4Ui& u = *ui_;
    if (!u.ScrollBox) return;  // the layout is still being built
    const int top = u.Panel1->isHidden() ? 0 : u.Panel1->height();
    u.Panel1->setGeometry(0, 0, width(), u.Panel1->height());
    u.Panel2->setGeometry(0, top, width(), std::max(0, height() - top));
    u.ScrollBox->setGeometry(0, 0, u.Panel2->width(), u.Panel2->height());
}

// ---- commands ----

void TForm4::BitBtn1Click() {
    auto& s = aq();
    Ui::TForm4Ui& u = *ui_;
    if (u.editpol->text() != pollutantName(s.cur_pollutant) || u.edit1->text().isEmpty()) return;
    // A failed check stops this command only; the next command starts valid again.
    assessment::ValidAtEnd reset{s};
    if (!saveQuestion(u.BitBtn1)) return;
    assessment::clearChanged(s);
    fill_data();
    s.pollutant_text = toAnsi(u.editpol->text());
    s.exposed_pop = intOf(u.exp_pop);
    s.days_total = intOf(u.Editann_days);
    program().Form5->showForm();
}

void TForm4::BitBtn4Click() { stepRecord(-1); }

void TForm4::BitBtn5Click() { stepRecord(+1); }

// The previous (-1) or next (+1) record, after the save question; a failed check keeps the record.
void TForm4::stepRecord(int direction) {
    auto& s = aq();
    assessment::ValidAtEnd reset{s};
    if (!saveQuestion(direction < 0 ? ui_->BitBtn4 : ui_->BitBtn5)) return;
    if (direction < 0 && s.cur_record > 1) s.cur_record -= 1;
    if (direction > 0 && s.cur_record < s.record_count) s.cur_record += 1;
    program().Form3->show_record(s.cur_record);
    make_label();
}

void TForm4::Button2Click() {
    auto& s = aq();
    assessment::ValidAtEnd reset{s};
    // The question has saved the typing or given it up, so the close asks nothing.
    if (!saveQuestion(ui_->Button2)) return;
    s.cur_record = s.record_count;
    if (!closeForm()) return;
    // The location screen shows that record afresh; its New then marks the new record changed.
    program().Form3->showForm();
    program().Form3->Button2Click();
}

void TForm4::BitBtn3Click() { program().Form3->delete_record(); }

void TForm4::Button4Click() {
    if (closeForm()) program().Form3->showForm();
}

void TForm4::Button1Click() { closeForm(); }

void TForm4::BitBtn2Click() {
    Ui::TForm4Ui& u = *ui_;
    u.Panel1->setVisible(false);
    arrangePanels();
    resize(width(), kPrintHeight);
    arrangePanels();
    u.ScrollBox->resize(u.ScrollBox->width(), kPrintHeight);
    struct Restore {
        TForm4* form;
        ~Restore() {
            Ui::TForm4Ui& u = *form->ui_;
            u.Panel1->setVisible(true);
            form->resize(form->width(), kFormHeight);
            form->arrangePanels();
            u.ScrollBox->resize(u.ScrollBox->width(), kScrollBoxHeight);
        }
    } restore{this};
    platform::printWidgetImage(this);
}

void TForm4::Button3Click() {
    platform::FileDialogOptions options;
    options.defaultExt = QStringLiteral("txt");
    options.filter = QStringLiteral("Text files  (*.txt)");
    options.mustExist = true;
    const std::optional<QString> chosen = platform::openFileDialog(options);
    if (!chosen) return;
    auto& s = aq();
    s.file_name = platform::toFileName(*chosen);
    // All 26 numbers are read before any of them is taken over, so a bad file changes nothing.
    std::array<std::int32_t, kImportNumbers> numbers{};
    {
        runtime::TextReader in(s.file_name);
        for (std::int32_t& number : numbers) number = in.readInteger();
    }
    long long sum = 0;
    for (int i = 0; i < kImportNumbers; ++i) {
        s.aq_record[assessment::kFieldFirstClass + i] = numbers[static_cast<std::size_t>(i)];
        if (i < assessment::kClassCount) sum += numbers[static_cast<std::size_t>(i)];
    }
    ui_->Editann_days->setText(QString::number(sum));
    for (int k = 1; k <= assessment::kClassCount; ++k)
        classEdits_[static_cast<std::size_t>(k)]->setText(QString::number(s.aq_record[assessment::classField(k)]));
    s.interval_index = s.aq_record[assessment::kFieldClassWidth];
    s.record_key.interval = s.interval_index;
    s.aq_changed = -1;
    s.aq_typed = true;
}
