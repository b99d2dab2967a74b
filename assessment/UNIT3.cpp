#include "assessment/UNIT3.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>

#include "assessment/Program.h"
#include "assessment/RecordScreenHelpers.h"
#include "assessment/TownFile.h"
#include "assessment/Unit4.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/RecordLine.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Printing.h"
#include "platform/TextFieldRule.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/TextFile.h"
#include "ui_TForm3.h"
#include "ui_TForm4.h"

using platform::fromAnsi;
using platform::toAnsi;

namespace {

constexpr int kLocationHelpContext = 3;
constexpr int kDuplicateHelpContext = 8;
constexpr int kTooManyTowns = 99;  // more listed towns than this get the warning

bool townIndexValid(std::int32_t i) { return i >= 0 && i < assessment::kMaxTowns; }
std::size_t at(std::int32_t i) { return static_cast<std::size_t>(i); }

// The coordinates of town entry `town` in their edits; empty for no entry.
void showCoordinates(Ui::TForm3Ui& u, const assessment::AssessmentState& s, std::int32_t town) {
    assessment::showText(u.latstr, townIndexValid(town) ? fromAnsi(s.town_lat[at(town)]) : QString());
    assessment::showText(u.longstr, townIndexValid(town) ? fromAnsi(s.town_long[at(town)]) : QString());
}

}  // namespace

TForm3::TForm3(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm3Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form3"));
    setHelpContext(kLocationHelpContext);
    centreOnScreen();
    for (const char* name : assessment::kPollutantNames) ui_->polbox->addItem(QString::fromLatin1(name));
    connectHandlers();
    platform::setTextFieldRule(ui_->agglom, assessment::townTextRule(assessment::kTownNameLength));
    platform::setTextFieldRule(ui_->latstr, assessment::townTextRule(assessment::kCoordinateLength));
    platform::setTextFieldRule(ui_->longstr, assessment::townTextRule(assessment::kCoordinateLength));
    platform::setTextFieldRule(ui_->netw_affl, assessment::recordTextRule());
    platform::setTextFieldRule(ui_->tech_body, assessment::recordTextRule());

    auto& s = aq();
    s.cur_town = 0;
    s.new_record = 0;
    s.tmp_name = s.work_dir + assessment::kTownFileName;
    if (runtime::fileExists(s.tmp_name)) platform::runGuarded([this] { load_towns(); });
    s.cur_record = 1;
}

TForm3::~TForm3() = default;

assessment::AssessmentState& TForm3::aq() { return program().aq; }

void TForm3::connectHandlers() {
    using platform::guarded;
    Ui::TForm3Ui& u = *ui_;
    connect(u.BitBtn1, &QPushButton::clicked, this, guarded([this] { BitBtn1Click(); }));
    connect(u.BitBtn3, &QPushButton::clicked, this, guarded([this] { BitBtn3Click(); }));
    connect(u.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(u.BitBtn4, &QPushButton::clicked, this, guarded([this] { BitBtn4Click(); }));
    connect(u.BitBtn5, &QPushButton::clicked, this, guarded([this] { BitBtn5Click(); }));
    connect(u.BitBtn6, &QPushButton::clicked, this, guarded([this] { BitBtn6Click(); }));
    connect(u.Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(u.Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(u.BitBtn2, &QPushButton::clicked, this, guarded([this] { BitBtn2Click(); }));
    // "&Close" is the cancel button: Escape presses it.
    setCancelButton(u.BitBtn1);

    connect(u.polbox, &QComboBox::activated, this, guarded([this] { polboxChange(); }));
    connect(u.agglom, &QComboBox::activated, this, guarded([this] { agglomChange(); }));
    connect(u.interval, &QComboBox::activated, this, guarded([this] { intervalChange(); }));
    makeEditable(u.agglom, &TForm3::agglomChange);
    makeEditable(u.interval, &TForm3::intervalChange);
    connect(u.year, &QLineEdit::textChanged, this, guarded([this] { yearChange(); }));
    connect(u.country, &QLineEdit::textChanged, this, guarded([this] { countryChange(); }));
    connect(u.exp_pop, &QLineEdit::textChanged, this, guarded([this] { exp_popChange(); }));
    connect(u.prof_stat, &QLineEdit::textChanged, this, guarded([this] { prof_statChange(); }));
    for (QLineEdit* edit : {u.latstr, u.longstr, u.netw_affl, u.tech_body})
        connect(edit, &QLineEdit::textChanged, this, guarded([this] { markChanged(); }));
}

// An editable box reacts to the user's typing and choosing only; the program's own settings of
// its text or selection run no handler. Typed names are not added to the list by the box itself.
// The box's edit is created anew each time the box becomes editable, so it is connected here.
void TForm3::makeEditable(QComboBox* box, void (TForm3::*handler)()) {
    box->setEditable(true);
    box->setInsertPolicy(QComboBox::NoInsert);
    box->setCompleter(nullptr);
    connect(box->lineEdit(), &QLineEdit::textEdited, this,
            platform::guarded([this, handler] { (this->*handler)(); }));
}

void TForm3::markChanged() { aq().aq_changed = -1; }

// The class-width box shows interval_index (nothing for a value outside its list).
void TForm3::showIntervalIndex() {
    const std::int32_t index = aq().interval_index;
    ui_->interval->setCurrentIndex(index >= 0 && index < ui_->interval->count() ? index : -1);
}

void TForm3::setNewLocationMode(bool on) {
    ui_->BitBtn2->setVisible(on);
    ui_->Button3->setVisible(on);
    for (QWidget* key : {static_cast<QWidget*>(ui_->polbox), static_cast<QWidget*>(ui_->interval),
                         static_cast<QWidget*>(ui_->agglom), static_cast<QWidget*>(ui_->year)})
        key->setEnabled(on);
}

void TForm3::load_towns() {
    auto& s = aq();
    try {
        assessment::readTownFile(s, s.tmp_name);
    } catch (...) {
        rebuildTownList();  // the lines before a bad one stay read
        throw;
    }
    rebuildTownList();
}

void TForm3::rebuildTownList() {
    auto& s = aq();
    ui_->agglom->clear();
    townIndices_ = assessment::listedTownIndices(s);
    for (int i : townIndices_) ui_->agglom->addItem(fromAnsi(s.town_names[at(i)]));
    ui_->agglom->setCurrentIndex(-1);
    s.town_count = ui_->agglom->count();
}

// ---- record operations ----

void TForm3::show_record(std::int32_t n) {
    auto& s = aq();
    if (n == 0) platform::showMessage(QStringLiteral("no records found."));
    try {
        assessment::showRecordFile(s, n);
    } catch (...) {
        // The record buttons still lead away from a line that cannot be read.
        try {
            s.record_count = static_cast<std::int32_t>(runtime::readAllLines(s.data_file).size());
        } catch (...) {}
        enableRecordButtons();
        throw;
    }
    if (n != 0) showFields();
    // The class width is taken after the record is shown: a pollutant change while showing it
    // builds the captions of the width in use before, and the screens' next make_label shows the
    // record's own width.
    const bool derived = assessment::takeRecordInterval(s);
    s.record_key = {s.cur_pollutant, s.interval_index};
    assessment::clearChanged(s);
    // The class width of an older record is derived from its pollutant and stored at once.
    if (derived) program().Form4->save_data(false);
    showIntervalIndex();
    assessment::clearChanged(s);
    ui_->BitBtn1->setEnabled(true);
    enableRecordButtons();
}

// "<" while a line comes before the record, ">" while one follows it, on both record screens.
void TForm3::enableRecordButtons() {
    auto& s = aq();
    const bool previous = s.cur_record > 1;
    const bool next = s.cur_record < s.record_count;
    ui_->BitBtn4->setEnabled(previous);
    ui_->BitBtn5->setEnabled(next);
    Ui::TForm4Ui& aqForm = program().Form4->controls();
    aqForm.BitBtn4->setEnabled(previous);
    aqForm.BitBtn5->setEnabled(next);
}

void TForm3::showFields() {
    auto& s = aq();
    const assessment::AqRecord& r = s.aq_record;
    const assessment::TailTexts tails = assessment::splitTail(r.text);
    const std::int32_t pollutant = r[assessment::kFieldPollutant];
    ui_->polbox->setCurrentIndex(pollutant >= 0 && pollutant < ui_->polbox->count() ? pollutant : -1);
    s.cur_pollutant = pollutant;
    assessment::showText(ui_->year, QString::number(r[assessment::kFieldYear]));
    const std::int32_t town = r[assessment::kFieldTown];
    ui_->agglom->setCurrentIndex(townPosition(town));
    s.cur_town = town;
    showCoordinates(*ui_, s, town);
    assessment::showText(ui_->exp_pop, QString::number(r[assessment::kFieldPopulation]));
    assessment::showText(ui_->prof_stat, QString::number(r[assessment::kFieldStations]));
    assessment::showText(ui_->netw_affl, fromAnsi(tails[assessment::kTailNetwork]));
    assessment::showText(ui_->tech_body, fromAnsi(tails[assessment::kTailAgency]));
    program().Form4->show_fields(tails);
}

std::int32_t TForm3::rec_exists() { return assessment::recordExists(aq().data_file, aq().aq_record); }

void TForm3::delete_record() {
    if (platform::confirm(QStringLiteral("Delete record?")) != platform::Button::Yes) return;
    auto& s = aq();
    ui_->BitBtn1->setEnabled(true);
    assessment::deleteRecordLine(s);
    if (s.record_count < 2)
        platform::showMessage(QStringLiteral("no more records"));
    else
        s.record_count -= 1;
    if (s.cur_record < 2)
        ui_->BitBtn4->setEnabled(false);
    else
        s.cur_record -= 1;
    ui_->BitBtn2->setVisible(false);
    if (s.cur_record < s.record_count) ui_->BitBtn5->setEnabled(true);
    show_record(s.cur_record);
}

void TForm3::fillnew() {
    auto& s = aq();
    s.new_record = -1;
    ui_->year->clear();
    ui_->polbox->setCurrentIndex(0);
    s.cur_pollutant = 0;
}

void TForm3::fill_data() {
    auto& s = aq();
    const QString name = ui_->agglom->currentText();
    if (townIndexValid(s.cur_town)) {
        const auto i = at(s.cur_town);
        s.town_lat[i] = toAnsi(ui_->latstr->text());
        s.town_long[i] = toAnsi(ui_->longstr->text());
        if (toAnsi(name) != s.town_names[i].str()) {
            // The current town takes the typed name; the list follows, still showing it.
            s.town_names[i] = toAnsi(name);
            const int keep = s.town_count;
            rebuildTownList();
            s.town_count = keep;
            ui_->agglom->setCurrentIndex(townPosition(s.cur_town));
            ui_->agglom->setEditText(name);
        }
    }
    s.aq_record[assessment::kFieldTown] = s.cur_town;
    s.aq_record[assessment::kFieldPollutant] = ui_->polbox->currentIndex();
    if (!ui_->year->text().isEmpty())
        s.aq_record[assessment::kFieldYear] = runtime::strToInt(toAnsi(ui_->year->text()));
    if (!ui_->exp_pop->text().isEmpty())
        s.aq_record[assessment::kFieldPopulation] = runtime::strToInt(toAnsi(ui_->exp_pop->text()));
    if (!ui_->prof_stat->text().isEmpty())
        s.aq_record[assessment::kFieldStations] = runtime::strToInt(toAnsi(ui_->prof_stat->text()));
    program().Form4->fill_data();
}

bool TForm3::save_data() { return program().Form4->save_data(aq().aq_typed); }

void TForm3::store_town() {
    auto& s = aq();
    if (!townIndexValid(s.cur_town)) return;
    const auto i = at(s.cur_town);
    s.town_lat[i] = toAnsi(ui_->latstr->text());
    s.town_long[i] = toAnsi(ui_->longstr->text());
    s.town_names[i] = toAnsi(ui_->agglom->currentText());
}

int TForm3::townPosition(std::int32_t town) const {
    for (std::size_t p = 0; p < townIndices_.size(); ++p)
        if (townIndices_[p] == town) return static_cast<int>(p);
    return -1;
}

// ---- activation and closing ----

void TForm3::FormActivate() {
    auto& s = aq();
    // A record marked changed keeps what was typed into it, here or on the air-quality screen
    // (the country shown below is no part of the record, though its change handler marks it).
    const bool keepTyping = s.aq_changed != 0;
    assessment::showOrganisation(ui_->Editorgan, s.supplier_org);
    ui_->country->setText(fromAnsi(s.supplier_country));
    // A new record being entered keeps its key controls open when the user comes back to it.
    setNewLocationMode(s.new_record != 0 || ui_->agglom->currentIndex() < 0);
    s.town_count = ui_->agglom->count();
    if (keepTyping)
        program().Form4->show_key();
    else
        show_record(s.cur_record);
}

bool TForm3::FormCloseQuery() {
    try {
        return saveAndCheck() == Saved::Go;
    } catch (const std::exception& error) {
        platform::showException(error);
        return false;
    }
}

void TForm3::warnDuplicate() {
    platform::messageDlg(platform::BoxKind::Warning, QStringLiteral("Record already exists."),
                         {platform::Button::Ok, platform::Button::Help}, kDuplicateHelpContext);
}

TForm3::Saved TForm3::saveAndCheck() {
    auto& s = aq();
    // The edit being typed in on the air-quality screen is left first, so that the one question
    // covers the typing of both screens.
    TForm4* airQuality = program().Form4;
    if (airQuality->isVisible() && !airQuality->leaveTyping(nullptr)) return Saved::Stop;
    if (s.aq_changed == 0) return Saved::Go;
    if (platform::confirm(QStringLiteral("Save changes?")) != platform::Button::Yes) {
        // The typing is given up: the next activation of a record screen shows the record afresh.
        assessment::clearChanged(s);
        return Saved::Go;
    }
    if (!save_data()) {
        airQuality->showFailedField();
        return Saved::Stop;
    }
    if (rec_exists() <= 1) return Saved::Go;
    warnDuplicate();
    s.aq_changed = -1;
    return Saved::Duplicate;
}

bool TForm3::pollutantUnchanged() const { return ui_->polbox->currentIndex() == program().aq.cur_pollutant; }

// ---- buttons ----

void TForm3::BitBtn1Click() { closeForm(); }

void TForm3::BitBtn4Click() { stepRecord(-1); }

void TForm3::BitBtn5Click() { stepRecord(+1); }

// The previous (-1) or next (+1) record, after the save-and-check; a duplicate skips the move.
void TForm3::stepRecord(int direction) {
    auto& s = aq();
    assessment::ValidAtEnd reset{s};
    if (saveAndCheck() != Saved::Go) return;  // a duplicate skips the move
    if (direction < 0 && s.cur_record > 1) s.cur_record -= 1;
    if (direction > 0 && s.cur_record < s.record_count) s.cur_record += 1;
    show_record(s.cur_record);
}

void TForm3::Button2Click() {
    auto& s = aq();
    // A duplicate warning holds only for this command; the next one starts valid again.
    assessment::ValidAtEnd reset{s};
    const Saved saved = saveAndCheck();
    if (saved == Saved::Stop) return;
    if (saved == Saved::Duplicate) s.aq_valid = 0;
    if (rec_exists() > 1000) {
        warnDuplicate();
        return;
    }
    // The new record is the line after the last one of the file. Counting from record_count alone
    // would leave a gap after a new record that was never saved (New twice, or New after the last
    // record was deleted): the record would be written as the next line but shown from the line
    // after it.
    s.record_count = static_cast<std::int32_t>(runtime::readAllLines(s.data_file).size()) + 1;
    s.cur_record = s.record_count;
    setNewLocationMode(true);
    fillnew();
    program().Form4->clear_data();
    show_record(s.cur_record);
    markChanged();
}

void TForm3::BitBtn6Click() { delete_record(); }

void TForm3::Button1Click() {
    if (!pollutantUnchanged()) return;
    if (saveAndCheck() != Saved::Go) return;
    hideForm();
    program().Form4->showForm();
}

void TForm3::BitBtn2Click() {
    if (!pollutantUnchanged()) return;
    if (!save_data()) {
        program().Form4->showFailedField();
        return;
    }
    if (aq().record_count > 1 && rec_exists() > 1) {
        warnDuplicate();
        markChanged();
        ui_->BitBtn1->setEnabled(false);
        return;
    }
    hideForm();
    program().Form4->showForm();
    ui_->BitBtn1->setEnabled(true);
}

void TForm3::Button3Click() {
    auto& s = aq();
    const QString name = ui_->agglom->currentText();
    if (name.isEmpty()) return;  // an entry without a name is a free entry; blanks are a name
    if (ui_->agglom->findText(name, Qt::MatchFixedString) >= 0) return;  // case-insensitive
    // An entry that no line filled: an unnamed entry read from the file keeps its place, since
    // records may name it.
    const int index = assessment::freeTownEntry(s);
    if (!townIndexValid(index)) {
        // Every entry of the tables is in use.
        platform::showMessage(QStringLiteral("too many towns"));
        return;
    }
    s.cur_town = index;
    s.max_town_id += 1;
    const auto i = at(index);
    s.town_ids[i] = s.max_town_id;
    s.town_names[i] = toAnsi(name);
    s.town_lat[i] = toAnsi(ui_->latstr->text());
    s.town_long[i] = toAnsi(ui_->longstr->text());
    rebuildTownList();
    s.town_count = s.cur_town;
    ui_->agglom->setCurrentIndex(townPosition(s.cur_town));
    if (ui_->agglom->count() > kTooManyTowns) platform::showMessage(QStringLiteral("too many towns"));
}

void TForm3::BitBtn3Click() {
    const bool saveVisible = !ui_->BitBtn2->isHidden();
    struct BoxStyle {
        QComboBox* box;
        bool editable;
        int index;
        QString text;
        QPalette palette;
    };
    BoxStyle styles[] = {{ui_->agglom, ui_->agglom->isEditable(), ui_->agglom->currentIndex(), ui_->agglom->currentText(),
                          ui_->agglom->palette()},
                         {ui_->interval, ui_->interval->isEditable(), ui_->interval->currentIndex(),
                          ui_->interval->currentText(), ui_->interval->palette()}};
    for (BoxStyle& style : styles) {
        style.box->setEditable(false);
        // A typed text that is no item of the list is printed as it stands, not as the item
        // that happens to be selected.
        if (style.index < 0 || style.box->itemText(style.index) != style.text) {
            QPalette plain = style.palette;
            plain.setColor(QPalette::PlaceholderText, plain.color(QPalette::ButtonText));
            style.box->setPalette(plain);
            style.box->setCurrentIndex(-1);
            style.box->setPlaceholderText(style.text);
        }
    }
    ui_->BitBtn2->setVisible(false);
    ui_->Panel1->setVisible(false);
    ui_->Label65->setVisible(true);
    ui_->Label66->setVisible(true);
    struct Restore {
        TForm3* form;
        bool saveVisible;
        BoxStyle* styles;
        ~Restore() {
            Ui::TForm3Ui& u = *form->ui_;
            u.Label65->setVisible(false);
            u.Label66->setVisible(false);
            u.Panel1->setVisible(true);
            u.BitBtn2->setVisible(saveVisible);
            if (styles[0].editable) form->makeEditable(u.agglom, &TForm3::agglomChange);
            if (styles[1].editable) form->makeEditable(u.interval, &TForm3::intervalChange);
            for (int k = 0; k < 2; ++k) {
                styles[k].box->setPlaceholderText(QString());
                styles[k].box->setPalette(styles[k].palette);
                styles[k].box->setCurrentIndex(styles[k].index);
                if (styles[k].editable) styles[k].box->setEditText(styles[k].text);
            }
        }
    } restore{this, saveVisible, styles};
    platform::printWidgetImage(this);
}

// ---- change handlers ----

void TForm3::yearChange() {
    markChanged();
    program().Form4->controls().year->setText(ui_->year->text());
}

void TForm3::countryChange() {
    markChanged();
    program().Form4->controls().country->setText(ui_->country->text());
}

void TForm3::exp_popChange() {
    markChanged();
    program().Form4->controls().exp_pop->setText(ui_->exp_pop->text());
}

void TForm3::prof_statChange() {
    markChanged();
    program().Form4->controls().pro_statnum->setText(ui_->prof_stat->text());
}

void TForm3::intervalChange() {
    markChanged();
    aq().interval_index = ui_->interval->currentIndex();
    aq().record_key.interval = aq().interval_index;
}

void TForm3::agglomChange() {
    markChanged();
    auto& s = aq();
    const int index = ui_->agglom->currentIndex();
    // A listed town is selected when the box shows the name of its current entry.
    if (index < 0 || ui_->agglom->currentText() != ui_->agglom->itemText(index)) return;
    s.cur_town = townIndices_[static_cast<std::size_t>(index)];
    showCoordinates(*ui_, s, s.cur_town);
}

void TForm3::polboxChange() {
    markChanged();
    auto& s = aq();
    s.cur_pollutant = ui_->polbox->currentIndex();
    s.record_key.pollutant = s.cur_pollutant;
    program().Form4->controls().editpol->setText(assessment::pollutantName(s.cur_pollutant));
    if (s.new_record != 0) {
        program().Form4->get_param();
        showIntervalIndex();
    }
}
