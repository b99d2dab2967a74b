#include "assessment/Unit5.h"

#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QFrame>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <limits>
#include <optional>

#include "assessment/Program.h"
#include "assessment/Unit4.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/core/EndpointFile.h"
#include "assessment/core/ImpactCalculation.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/core/PollutantRules.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Printing.h"
#include "platform/StringGrid.h"
#include "platform/TextFieldRule.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "ui_TForm5.h"

using platform::fromAnsi;
using platform::toAnsi;

namespace {

constexpr int kParametersHelpContext = 5;
constexpr int kWidth = 382;
constexpr int kHeight = 488;
constexpr int kGridCols = 8;
constexpr int kGridRows = 5;
constexpr int kFirstResultRow = 2;
constexpr int kShownColumnWidths[3] = {84, 118, 150};
constexpr int kNumberPrecision = 7;
constexpr int kShownDigits = 5;          // significant digits of a loaded value
constexpr int kShownExponentDigits = 3;
constexpr int kConvertedDecimals = 5;
constexpr int kEndpointTextLength = 45;
constexpr long double kLowestRisk = 1.0L;
constexpr long double kHighestRisk = 2.05L;
constexpr int kIncidence = 0;            // positions in the value edits and their snapshots
constexpr int kCentral = 1;
constexpr int kLower = 2;
constexpr int kUpper = 3;

const QString kRequiresNumber = QStringLiteral("this field requires a number");
const QString kOutOfRange = QStringLiteral("Value out of range");
const QString kSaveRecord = QStringLiteral("Save record?");
const QString kChangesLost = QStringLiteral("All changes will be lost; Continue?");

const QColor kStaleColour(0xC0, 0xC0, 0xC0);  // silver
const QColor kFreshColour(Qt::white);
const QColor kResultTextColour(0x80, 0x00, 0x00);  // maroon

const std::array<QString, 3> kIntervalCaptions = {QStringLiteral("per 10 \u00b5g/m3"), QStringLiteral("per 5 \u00b5g/m3"),
                                                  QStringLiteral("per 1 \u00b5g/m3")};

// The caption of a class-width index; an index outside 0..2 (files of earlier builds) has none.
QString intervalCaption(std::int32_t index) {
    if (index < 0 || index >= static_cast<std::int32_t>(kIntervalCaptions.size())) return QString();
    return kIntervalCaptions[static_cast<std::size_t>(index)];
}

// The factor that turns an excess risk per class width `from` into one per class width `to`
// (class widths 10, 5 and 1); 0 for a width outside 0..2.
float widthFactor(std::int32_t from, std::int32_t to) {
    static constexpr float kWidths[3] = {10.0f, 5.0f, 1.0f};
    if (from < 0 || from > 2 || to < 0 || to > 2) return 0.0f;
    return kWidths[to] / kWidths[from];
}

// The list position that a combo box stands for: the chosen item, or the item whose text was
// typed in full; -1 for typed text that is no item.
int chosenPosition(const QComboBox* box) {
    const int current = box->currentIndex();
    if (current >= 0 && box->itemText(current) == box->currentText()) return current;
    return box->findText(box->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
}

// Selects `position` when it is an item of the box, otherwise nothing.
void selectPosition(QComboBox* box, std::int32_t position) {
    box->setCurrentIndex(position >= 0 && position < box->count() ? position : -1);
}

// The background of the small result table: silver while stale, white once calculated.
void setGridBackground(platform::StringGrid* grid, const QColor& colour) {
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Base, colour);
    grid->setPalette(palette);
}

QString loadedValue(float value) {
    return fromAnsi(runtime::formatGeneral(value, kShownDigits, runtime::decimalSeparator(), kShownExponentDigits));
}

}  // namespace

TForm5::TForm5(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm5Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form5"));
    setHelpContext(kParametersHelpContext);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setFixedSize(kWidth, kHeight);
    centreOnScreen();
    valueEdits_ = {ui_->editb_inc, ui_->rr, ui_->rr_l, ui_->rr_u};
    // A name is the rest of its line of "endp.tab"; a read keeps 49 characters of it.
    platform::setTextFieldRule(ui_->endpoint, {{}, static_cast<int>(assessment::kEndpointNameLength), {}});
    connectHandlers();
    FormCreate();
}

TForm5::~TForm5() = default;

assessment::AssessmentState& TForm5::aq() { return program().aq; }

void TForm5::connectHandlers() {
    using platform::guarded;
    Ui::TForm5Ui& u = *ui_;
    connect(u.BitBtn2, &QPushButton::clicked, this, guarded([this] { BitBtn2Click(); }));
    connect(u.BitBtn1, &QPushButton::clicked, this, guarded([this] { BitBtn1Click(); }));
    connect(u.BitBtn3, &QPushButton::clicked, this, guarded([this] { BitBtn3Click(); }));
    connect(u.BitBtn4, &QPushButton::clicked, this, guarded([this] { BitBtn4Click(); }));
    connect(u.Button1, &QPushButton::clicked, this, guarded([this] { Button1Click(); }));
    connect(u.Button2, &QPushButton::clicked, this, guarded([this] { Button2Click(); }));
    connect(u.Button3, &QPushButton::clicked, this, guarded([this] { Button3Click(); }));
    connect(u.Button5, &QPushButton::clicked, this, guarded([this] { Button5Click(); }));
    // Only the user's choices are changes; a selection set by the program raises none. Picking the
    // pollutant already shown again changes nothing (the current record stays valid).
    connect(u.editpol, &QComboBox::activated, this, [this](int position) {
        platform::runGuarded([this, position] {
            if (position != aq().cur_pollutant) editpolChange();
        });
    });
    connect(u.endpoint, &QComboBox::activated, this, guarded([this] { endpointChange(); }));
    connect(u.no_imp, &QComboBox::activated, this, guarded([this] { no_impChange(); }));
    connectTyping();
    for (QLineEdit* edit : valueEdits_) edit->installEventFilter(this);
    // "&Tables" is the default button (Enter), "&Close" the cancel button (Escape).
    setDefaultButton(u.BitBtn2);
    setCancelButton(u.Button1);
}

// Typing in the pollutant and endpoint boxes; their edit fields are made anew when the print
// switches the boxes' style, so this runs again afterwards.
void TForm5::connectTyping() {
    using platform::guarded;
    Ui::TForm5Ui& u = *ui_;
    // The boxes take typed text as typed, without completing it from the list.
    for (QComboBox* box : {u.editpol, u.endpoint, u.strength})
        if (box->isEditable()) box->setCompleter(nullptr);
    // The reactions read the parameter file, whose errors come in a box: they run once the box's
    // edit has finished with the key, and take the text the box shows by then.
    if (QLineEdit* typed = u.editpol->lineEdit()) {
        // A typed pollutant name counts once it names a list item; until then nothing changes, so
        // the current pollutant always stays a table index.
        connect(typed, &QLineEdit::textEdited, this, [this] {
            platform::runGuardedAfterTyping(this, [this] {
                const int position =
                    ui_->editpol->findText(ui_->editpol->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
                if (position < 0 || position == ui_->editpol->currentIndex()) return;
                ui_->editpol->setCurrentIndex(position);
                editpolChange();
            });
        });
    }
    if (QLineEdit* typed = u.endpoint->lineEdit())
        connect(typed, &QLineEdit::textEdited, this,
                [this] { platform::runGuardedAfterTyping(this, [this] { endpointChange(); }); });
}

bool TForm5::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyRelease) {
        for (QLineEdit* edit : valueEdits_) {
            if (watched == edit) {
                platform::runGuarded([this] { editb_incKeyUp(); });
                break;
            }
        }
    }
    return platform::Form::eventFilter(watched, event);
}

// ---- creation ----

void TForm5::FormCreate() {
    Ui::TForm5Ui& u = *ui_;
    params_refresh = -1;
    u.editpol->clear();
    for (const auto& name : aq().pollutant_names) u.editpol->addItem(fromAnsi(name));
    u.editpol->setCurrentIndex(-1);

    platform::StringGrid* grid = u.StringGrid1;
    grid->setColCount(kGridCols);
    grid->setRowCountTotal(kGridRows);
    grid->setFixedCols(0);
    grid->setFixedRows(0);
    grid->setEditable(false);
    grid->horizontalHeader()->setVisible(false);
    grid->verticalHeader()->setVisible(false);
    // Columns 0 to 2 hold the table; the others take no room, so the grid never scrolls.
    for (int col = 0; col < kGridCols; ++col) grid->setColumnWidth(col, col < 3 ? kShownColumnWidths[col] : 0);
    for (int row = 0; row < kGridRows; ++row) grid->setRowHeight(row, 24);
    QPalette palette = grid->palette();
    palette.setColor(QPalette::Text, kResultTextColour);
    grid->setPalette(palette);
    setGridBackground(grid, kStaleColour);
    grid->setCell(1, 0, QStringLiteral("Estimated"));
    grid->setCell(2, 0, QStringLiteral("Estimated number"));
    grid->setCell(1, 1, QStringLiteral("AP percentage"));
    grid->setCell(2, 1, QStringLiteral("of excess cases"));
    grid->setCell(0, 2, QStringLiteral("rr central"));
    grid->setCell(0, 3, QStringLiteral("rr lower"));
    grid->setCell(0, 4, QStringLiteral("rr upper"));
    grid->setCurrentCell(0, kGridCols - 1);
    last_record = -1;

    loadEndpoints();
    auto& s = aq();
    if (!assessment::bindParameterFile(s)) exitForReinstall();
    // A parameter file that cannot be read is reported; start-up goes on.
    platform::runGuarded([this] { get_data(); });
}

// The endpoint list from "endp.tab", which is written with the built-in endpoints when missing.
// A file that cannot be read is reported and leaves the list empty; start-up goes on.
void TForm5::loadEndpoints() {
    platform::runGuarded([this] { assessment::loadOrCreateEndpoints(aq()); });
    fill_endpoint_list();
}

void TForm5::fill_endpoint_list() {
    QComboBox* box = ui_->endpoint;
    box->clear();
    for (const std::string& name : aq().endpoints.endpoint_names) box->addItem(fromAnsi(name));
    selectPosition(box, 0);
}

// ---- activation ----

void TForm5::FormActivate() {
    if (params_refresh == 0) return;
    auto& s = aq();
    shown_interval = s.interval_index;
    setCalculatingButtons(s.aq_filled);
    selectPosition(ui_->editpol, s.cur_pollutant);
    fillCutOffList();
    get_data();
    setIntervalLabel(shown_interval);
    if (s.interval_index != shown_interval) int_change();
    if (s.cur_record != last_record) clear_estimates();
}

void TForm5::FormDeactivate() {
    last_record = aq().cur_record;
    params_error = 0;
    params_refresh = -1;
}

void TForm5::fillCutOffList() {
    QComboBox* box = ui_->no_imp;
    box->clear();
    const auto& bounds = aq().class_bounds;
    for (int j = 1; j <= assessment::kClassCount - 1; ++j) box->addItem(fromAnsi(bounds[static_cast<std::size_t>(j)]));
}

void TForm5::setIntervalLabel(std::int32_t index) { ui_->int_label->setText(intervalCaption(index)); }

void TForm5::setCalculatingButtons(bool enabled) {
    ui_->BitBtn2->setEnabled(enabled);
    ui_->BitBtn1->setEnabled(enabled);
    ui_->Button3->setEnabled(enabled);
}

// ---- the record of the parameter file ----

void TForm5::get_data() {
    auto& s = aq();
    Ui::TForm5Ui& u = *ui_;
    for (QLineEdit* edit : valueEdits_) edit->clear();
    s.interval_index = 0;
    selectPosition(u.no_imp, 0);
    selectPosition(u.strength, 0);
    // Without a pollutant shown nothing matches, but every record still passes the buffer.
    const int pollutant = u.editpol->currentIndex();
    const std::optional<std::int32_t> code =
        pollutant >= 0 ? s.endpoints.codeAt(chosenPosition(u.endpoint)) : std::nullopt;
    if (assessment::getData(s, pollutant, code)) {
        const assessment::ParamRecord& r = s.param_record;
        u.editb_inc->setText(loadedValue(r.incidence));
        u.rr->setText(loadedValue(r.rr));
        u.rr_l->setText(loadedValue(r.rr_lower));
        u.rr_u->setText(loadedValue(r.rr_upper));
        selectPosition(u.no_imp, r.cut_off);
        selectPosition(u.strength, r.certainty);
    }
    takeSnapshots();
}

void TForm5::save_data() {
    auto& s = aq();
    Ui::TForm5Ui& u = *ui_;
    if (!endpointChosen()) return;
    if (riskEditsChanged()) selectPosition(u.strength, 0);
    if (u.no_imp->currentIndex() < 0) selectPosition(u.no_imp, 0);
    assessment::ParamLine saved;
    saved.pollutant = u.editpol->currentIndex();
    saved.endpoint = *s.endpoints.codeAt(chosenPosition(u.endpoint));
    saved.incidence = runtime::strToFloat(toAnsi(u.editb_inc->text()));
    saved.rr = runtime::strToFloat(toAnsi(u.rr->text()));
    saved.rr_lower = runtime::strToFloat(toAnsi(u.rr_l->text()));
    saved.rr_upper = runtime::strToFloat(toAnsi(u.rr_u->text()));
    saved.cut_off = u.no_imp->currentIndex();
    saved.certainty = chosenPosition(u.strength);
    saved.interval = s.interval_index;
    assessment::saveParameters(s, saved);
    takeSnapshots();
}

// A save needs the code of a listed endpoint; typed text that is no list item has none.
bool TForm5::endpointChosen() {
    if (aq().endpoints.codeAt(chosenPosition(ui_->endpoint))) return true;
    platform::showMessage(QString::fromLatin1(assessment::kNoEndpointMessage));
    focusControl(ui_->endpoint);
    return false;
}

void TForm5::takeSnapshots() {
    for (std::size_t i = 0; i < valueEdits_.size(); ++i) params_snapshot[i] = valueEdits_[i]->text();
}

bool TForm5::editsChanged() const {
    return valueEdits_[kIncidence]->text() != params_snapshot[kIncidence] || riskEditsChanged();
}

bool TForm5::riskEditsChanged() const {
    for (int i : {kCentral, kLower, kUpper})
        if (valueEdits_[static_cast<std::size_t>(i)]->text() != params_snapshot[static_cast<std::size_t>(i)]) return true;
    return false;
}

// ---- checks and conversion ----

void TForm5::check_data() {
    auto& s = aq();
    Ui::TForm5Ui& u = *ui_;
    params_error = 0;
    auto fail = [this](QWidget* control, const QString& message) {
        platform::showMessage(message);
        focusControl(control);
        params_error = -1;
    };
    for (int j = 1; j <= 3; ++j) {
        QLineEdit* edit = valueEdits_[static_cast<std::size_t>(j)];
        long double value = 0;
        if (!runtime::tryStrToFloat(toAnsi(edit->text()), value)) return fail(edit, kRequiresNumber);
        s.rel_risk[static_cast<std::size_t>(j)] = value;
        if (value < kLowestRisk || value > kHighestRisk) return fail(edit, kOutOfRange);
    }
    if (u.no_imp->currentIndex() < 0) selectPosition(u.no_imp, 0);
    s.first_class = u.no_imp->currentIndex();
    long double incidence = 0;
    if (!runtime::tryStrToFloat(toAnsi(u.editb_inc->text()), incidence)) return fail(u.editb_inc, kRequiresNumber);
    checked_incidence_ = incidence;
    // The parameter file's readers hold the reals as 32-bit floats: a larger incidence would be
    // saved into a file that cannot be read again.
    if (incidence < 0 || incidence > std::numeric_limits<float>::max()) return fail(u.editb_inc, kOutOfRange);
}

void TForm5::int_change() {
    auto& s = aq();
    Ui::TForm5Ui& u = *ui_;
    if (u.editpol->currentIndex() == s.cur_pollutant && shown_interval != s.interval_index) {
        std::array<float, 4> excess{};
        float factor = 0.0f;
        if (!u.rr->text().isEmpty()) {
            for (int j : {kCentral, kLower, kUpper}) {
                const QString text = valueEdits_[static_cast<std::size_t>(j)]->text();
                long double value = 1;
                if (!text.isEmpty() && runtime::tryStrToFloat(toAnsi(text), value))
                    excess[static_cast<std::size_t>(j)] = static_cast<float>(value - 1);
            }
            factor = widthFactor(s.interval_index, shown_interval);
        }
        if (factor > 0.0f) {
            for (int j : {kCentral, kLower, kUpper}) {
                const long double converted =
                    1.0L + static_cast<long double>(excess[static_cast<std::size_t>(j)]) * static_cast<long double>(factor);
                valueEdits_[static_cast<std::size_t>(j)]->setText(
                    fromAnsi(runtime::formatFixed(converted, kNumberPrecision, kConvertedDecimals)));
            }
        }
        // Also without a conversion (no record shown): what the screen shows, and a save then
        // writes, is in the shown class width.
        clear_estimates();
        s.interval_index = shown_interval;
    }
    for (int j : {kCentral, kLower, kUpper})
        params_snapshot[static_cast<std::size_t>(j)] = valueEdits_[static_cast<std::size_t>(j)]->text();
}

void TForm5::clear_estimates() {
    platform::StringGrid* grid = ui_->StringGrid1;
    setGridBackground(grid, kStaleColour);
    for (int row = kFirstResultRow; row < kGridRows; ++row) {
        grid->setCell(1, row, QString());
        grid->setCell(2, row, QString());
    }
}

// ---- changes ----

void TForm5::editpolChange() {
    auto& s = aq();
    Ui::TForm5Ui& u = *ui_;
    s.cur_pollutant = u.editpol->currentIndex();
    const QString name = u.editpol->currentText();
    const std::string pollutant = platform::toAnsi(name);
    s.long_term = assessment::isLongTerm(pollutant);
    u.Label9->setText(platform::fromAnsi(assessment::parametersScreenUnit(pollutant)));
    u.no_imp->clear();
    get_data();
    program().Form4->make_label();
    fillCutOffList();
    selectPosition(u.no_imp, s.param_record.cut_off);
    setIntervalLabel(s.interval_index);
    s.aq_filled = false;
    setCalculatingButtons(false);
    clear_estimates();
}

void TForm5::endpointChange() {
    get_data();
    if (aq().interval_index != shown_interval) int_change();
    clear_estimates();
    // After a pollutant change the label may still name the width of that pollutant's record;
    // it always names the width of the risks now shown.
    setIntervalLabel(aq().interval_index);
}

void TForm5::no_impChange() { clear_estimates(); }

void TForm5::editb_incKeyUp() {
    clear_estimates();
    QFont font = ui_->Button3->font();
    font.setBold(true);
    ui_->Button3->setFont(font);
}

// ---- calculating buttons ----

// The check, then the values the calculation needs: the incidence per counted day and the
// endpoint's name. False when the check failed.
bool TForm5::prepareCalculation() {
    check_data();
    if (params_error != 0) return false;
    auto& s = aq();
    s.base_incidence = assessment::incidencePerCountedDay(checked_incidence_, s.days_total);
    s.endpoint_text = runtime::cutText(toAnsi(ui_->endpoint->currentText()), kEndpointTextLength);
    return true;
}

void TForm5::BitBtn2Click() {
    if (!prepareCalculation()) return;
    program().Form6->showForm();
    params_refresh = 0;
}

void TForm5::BitBtn1Click() {
    aq().chart_column = 0;
    if (!prepareCalculation()) return;
    // The impact screen's activation fills the table that the chart reads.
    program().Form6->showForm();
    program().Form6->hideForm();
    program().Form7->showForm();
    params_refresh = 0;
}

void TForm5::Button3Click() {
    platform::StringGrid* grid = ui_->StringGrid1;
    setGridBackground(grid, kFreshColour);
    QFont font = ui_->Button3->font();
    font.setBold(false);
    ui_->Button3->setFont(font);
    if (!prepareCalculation()) return;
    auto& s = aq();
    if (s.aq_filled) program().Form6->calculate_impact();
    for (int j = 1; j <= 3; ++j) {
        const auto e = static_cast<std::size_t>(j);
        grid->setCell(1, j + 1, fromAnsi(runtime::formatFixed(s.impact.impact_ap[e] * 100, kNumberPrecision, 4)));
        grid->setCell(2, j + 1, fromAnsi(runtime::formatFixed(s.impact.totalCases(j), kNumberPrecision, 1)));
    }
}

// ---- save, close, print ----

void TForm5::BitBtn3Click() {
    check_data();
    if (params_error != 0) return;
    if (!endpointChosen()) return;
    if (platform::confirm(kSaveRecord) == platform::Button::Yes) save_data();
}

void TForm5::Button1Click() { closeForm(); }

// Closing, by "&Close" or when the program ends, offers to save edited values.
bool TForm5::FormCloseQuery() {
    if (!editsChanged()) return true;
    check_data();
    if (params_error != 0) return false;
    if (platform::confirm(kSaveRecord) == platform::Button::Yes) {
        if (!endpointChosen()) return false;
        save_data();
    } else {
        for (std::size_t i = 0; i < valueEdits_.size(); ++i) valueEdits_[i]->setText(params_snapshot[i]);
    }
    return true;
}

void TForm5::BitBtn4Click() {
    Ui::TForm5Ui& u = *ui_;
    // The boxes print as plain drop-down lists: without their edit fields, the pollutant box's
    // drop button covered.
    struct BoxState {
        QComboBox* box;
        int index;
        QString text;
    };
    std::array<BoxState, 3> boxes = {BoxState{u.editpol, u.editpol->currentIndex(), u.editpol->currentText()},
                                     BoxState{u.endpoint, u.endpoint->currentIndex(), u.endpoint->currentText()},
                                     BoxState{u.strength, u.strength->currentIndex(), u.strength->currentText()}};
    struct Restore {
        TForm5* form;
        std::array<BoxState, 3>& boxes;
        ~Restore() {
            Ui::TForm5Ui& u = *form->ui_;
            for (BoxState& b : boxes) {
                b.box->setEditable(true);
                b.box->setInsertPolicy(QComboBox::NoInsert);
                b.box->setCurrentIndex(b.index);
                b.box->setEditText(b.text);
            }
            form->connectTyping();
            u.Panel1->setVisible(true);
            u.Panel_hideYearDropButton->setVisible(false);
        }
    } restore{this, boxes};
    for (BoxState& b : boxes) b.box->setEditable(false);
    u.Panel_hideYearDropButton->setVisible(true);
    u.Panel_hideYearDropButton->raise();
    u.Panel1->setVisible(false);
    platform::printWidgetImage(this);
}

// ---- parameter and endpoint files ----

void TForm5::Button5Click() {
    auto& s = aq();
    const bool userFile = runtime::fileExists(runtime::withTrailingSlash(s.work_dir) + assessment::kUserParameterFile);
    if (userFile) {
        if (platform::confirm(kChangesLost) != platform::Button::Yes) return;
        clear_estimates();
        if (!assessment::copyDefaultParameters(s)) exitForReinstall();
    } else {
        clear_estimates();
    }
    get_data();
    if (s.interval_index != shown_interval) int_change();
    setIntervalLabel(shown_interval);
}

void TForm5::Button2Click() {
    QComboBox* box = ui_->endpoint;
    const QString name = box->currentText();
    if (!assessment::addEndpoint(aq(), toAnsi(name))) return;
    const QString typed = box->currentText();
    const int index = box->currentIndex();
    box->addItem(fromAnsi(aq().endpoints.endpoint_names.back()));
    // The selection and the text in the box stay as they were.
    box->setCurrentIndex(index);
    box->setEditText(typed);
}
