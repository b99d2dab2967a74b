// The "Infos" and "Calc" tabs: the edits that hand their values to the life-table state when
// they are left, the pollutant, certainty and effect choices, the cause boxes, the defaults and
// advanced boxes, and the beta / relative-risk grid.
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <algorithm>
#include <array>

#include "lifetables/Unit_LifeTables.h"
#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTState.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/StringGrid.h"
#include "platform/TextFieldRule.h"
#include "runtime/NumberText.h"
#include "runtime/ShortText.h"
#include "ui_TPagesDlgLT.h"

using lifetables::LTState;
using Text255 = runtime::ShortText<255>;

namespace {

constexpr double kTAVXLow = 7.5;
constexpr double kTAVXHigh = 80.0;
constexpr int kCertaintyHigh = 3;

QString realText(double value) { return QString::fromStdString(runtime::floatToStr(value)); }
QString intText(std::int32_t value) { return QString::number(value); }

// Shows the value that an edit stores when it is left.
void showEditField(const TPagesDlgLT::EditField& f) {
    using Field = TPagesDlgLT::EditField;
    switch (f.kind) {
        case Field::Integer: f.edit->setText(intText(*static_cast<const std::int32_t*>(f.field))); break;
        case Field::Real: f.edit->setText(realText(*static_cast<const double*>(f.field))); break;
        case Field::Text: f.edit->setText(platform::fromAnsi(static_cast<const Text255*>(f.field)->str())); break;
    }
}

}  // namespace

void TPagesDlgLT::bindEditFields() {
    LTState& s = lt();
    auto& u = *ui_;
    auto& in = s.LTinfos;
    auto& rr = s.LTRRsettings;
    using F = EditField;
    editFields_ = {
        {u.TabInfosEdit_YofMeasurement, F::Integer, "annual Year of (pollution) measurement", &in.YofMeasurement},
        {u.TabInfosEdit_country, F::Text, {}, &in.country},
        {u.TabInfosEdit_agglom, F::Text, {}, &in.agglomeration},
        {u.TabInfosEdit_startYear, F::Integer, "startYear", &in.startYear, nullptr, u.TabRREdit_startYear},
        {u.TabRREdit_startYear, F::Integer, "startYear", &in.startYear, nullptr, u.TabInfosEdit_startYear},
        {u.TabInfosEdit_exPop, F::Integer, "exposed population", &in.exPop},
        {u.TabInfosEdit_annualCapture, F::Integer, "captured- annual", &in.annualCapture},
        {u.TabInfosEdit_winterCapture, F::Integer, "captured- winter", &in.winterCapture},
        {u.TabInfosEdit_summerCapture, F::Integer, "captured- summer", &in.summerCapture},
        {u.TabInfosEdit_annualMeanAll, F::Real, "annual mean", &in.annualMeanAll, &rr.meanAnnualConc, u.TabRREdit_meanAnnualConc},
        {u.TabRREdit_meanAnnualConc, F::Real, "annual mean", &in.annualMeanAll, &rr.meanAnnualConc, u.TabInfosEdit_annualMeanAll},
        {u.TabInfosEdit_winterMeanAll, F::Real, "winter mean", &in.winterMeanAll},
        {u.TabInfosEdit_summerMeanAll, F::Real, "summer mean", &in.summerMeanAll},
        {u.TabInfosEdit_annualMaxAll, F::Real, "annual max ALL", &in.annualMaxAll},
        {u.TabInfosEdit_winterMaxAll, F::Real, "annual max winter", &in.winterMaxAll},
        {u.TabInfosEdit_summerMaxAll, F::Real, "annual max summer", &in.summerMaxAll},
        {u.TabInfosEdit_All98percentile, F::Real, "annual 98 percentile ALL", &in.All98percentile},
        {u.TabInfosEdit_numberOfStations, F::Integer, "number of stations", &in.numberOfStations},
        {u.TabInfosEdit_loStation, F::Text, {}, &in.loStation},
        {u.TabInfosEdit_loAnnualMean, F::Real, "station (low): annual mean", &in.loAnnualMean},
        {u.TabInfosEdit_loWinterMean, F::Real, "station (low): winter mean", &in.loWinterMean},
        {u.TabInfosEdit_loSummerMean, F::Real, "station (low): summer mean", &in.loSummerMean},
        {u.TabInfosEdit_loAnnualMax, F::Real, "station (low): annual max", &in.loAnnualMax},
        {u.TabInfosEdit_loWinterMax, F::Real, "station (low): winter max", &in.loWinterMax},
        {u.TabInfosEdit_loSummerMax, F::Real, "station (low): summer max", &in.loSummerMax},
        {u.TabInfosEdit_lo98percentile, F::Real, "station (low): 98 percentile", &in.lo98percentile},
        {u.TabInfosEdit_hiStation, F::Text, {}, &in.hiStation},
        {u.TabInfosEdit_hiAnnualMean, F::Real, "station (high): annual mean", &in.hiAnnualMean},
        {u.TabInfosEdit_hiWinterMean, F::Real, "station (high): winter mean", &in.hiWinterMean},
        {u.TabInfosEdit_hiSummerMean, F::Real, "station (high): summer mean", &in.hiSummerMean},
        {u.TabInfosEdit_hiAnnualMax, F::Real, "station (high): annual max", &in.hiAnnualMax},
        {u.TabInfosEdit_hiWinterMax, F::Real, "station (high): winter max", &in.hiWinterMax},
        {u.TabInfosEdit_hiSummerMax, F::Real, "station (high): summer max", &in.hiSummerMax},
        {u.TabInfosEdit_hi98percentile, F::Real, "station (high): 98 percentile", &in.hi98percentile},
        {u.TabRREdit_xlo, F::Real, "X low", &rr.X_lo},
        {u.TabRREdit_xhi, F::Real, "X high", &rr.X_hi},
        {u.TabRREdit_inputLevel, F::Real, "input level (X 0)", &rr.X_reference},
        {u.TabRREdit_birthSlope, F::Real, "+increase/-decrease", &rr.birthSlope},
        {u.TabRREdit_birthFromYear, F::Integer, "from year", &rr.birthFromYear},
        {u.TabRREdit_birthUntilYear, F::Integer, "until year", &rr.birthUntilYear},
        {u.TabRREdit_percPoll, F::Real, "Advanced field", &rr.percPoll},
        {u.TabRREdit_percPollFromYear, F::Integer, "Advanced field", &rr.percPollFromYear},
        {u.TabRREdit_percPollUntilYear, F::Integer, "Advanced field", &rr.percPollUntilYear},
        {u.TabRREdit_weightAge, F::Real, "Advanced field", &rr.weightAge},
        {u.TabRREdit_weightAgeFromAge, F::Integer, "Advanced field", &rr.weightAgeFromAge},
        {u.TabRREdit_weightAgeUntilAge, F::Integer, "Advanced field", &rr.weightAgeUntilAge},
        {u.TabRREdit_weightYears, F::Real, "Advanced field", &rr.weightYears},
        {u.TabRREdit_weightYearsFromYear, F::Integer, "Advanced field", &rr.weightYearsFromYear},
        {u.TabRREdit_weightYearsUntilYear, F::Integer, "Advanced field", &rr.weightYearsUntilYear},
    };
    advancedEdits_ = {u.TabRREdit_birthSlope,      u.TabRREdit_birthFromYear,     u.TabRREdit_birthUntilYear,
                      u.TabRREdit_percPoll,        u.TabRREdit_percPollFromYear,  u.TabRREdit_percPollUntilYear,
                      u.TabRREdit_weightAge,       u.TabRREdit_weightAgeFromAge,  u.TabRREdit_weightAgeUntilAge,
                      u.TabRREdit_weightYears,     u.TabRREdit_weightYearsFromYear, u.TabRREdit_weightYearsUntilYear};
}

void TPagesDlgLT::connectInputTabs() {
    bindEditFields();
    auto& u = *ui_;
    for (const EditField& field : editFields_) {
        connect(field.edit, &QLineEdit::textChanged, this, platform::guarded([this] { markChanges(); }));
        QLineEdit* edit = field.edit;
        if (field.kind == EditField::Text) platform::setTextFieldRule(edit, lifeTableTextRule());
        onLeave(edit, [this, edit] {
            const auto it = std::find_if(editFields_.begin(), editFields_.end(), [edit](const EditField& f) { return f.edit == edit; });
            if (it != editFields_.end()) leaveEditField(*it);
        });
    }
    for (QComboBox* combo : {u.TabInfosComboBox_pollutant, u.TabRRComboBox_pollutant})
        connect(combo, &QComboBox::activated, this, platform::guarded([this, combo] { ComboBoxes_pollutantSelect(combo); }));
    connect(u.TabRRComboBox_certainty, &QComboBox::activated, this, platform::guarded([this] { TabRRComboBox_certaintySelect(); }));
    connect(u.TabRRComboBox_RReffect, &QComboBox::activated, this, platform::guarded([this] { TabRRComboBox_RReffectSelect(); }));
    for (QCheckBox* box : {u.TabRRCheckBox_all_causes, u.TabRRCheckBox_cardio_causes, u.TabRRCheckBox_LCA_causes})
        connect(box, &QCheckBox::toggled, this, platform::guarded([this, box] { TabRRCheckBox_ParameterLogicClick(box); }));
    connect(u.TabRRCheckBox_useTAVdefaults, &QCheckBox::toggled, this, platform::guarded([this] { TabRRCheckBox_useTAVdefaultsClick(); }));
    connect(u.TabRRCheckBox_advanced, &QCheckBox::toggled, this, platform::guarded([this] { TabRRCheckBox_advancedClick(); }));
    u.TabRRStringGrid_betaRR->setCellTextRule(lifeTableTextRule());
    connect(u.TabRRStringGrid_betaRR, &platform::StringGrid::editTextChanged, this,
            [this](int col, int row, const QString& text) {
                platform::runGuarded([&] { TabRRStringGrid_betaRRSetEditText(col, row, text); });
            });
    connect(u.TabRRButton_auxilComputeRRs, &QPushButton::clicked, this, platform::guarded([this] { TabRRButton_auxilComputeRRsClick(); }));
}

// A value reaches the state only when its edit is left while the inputs are marked changed; an
// empty edit leaves the value as it was.
void TPagesDlgLT::leaveEditField(const EditField& f) {
    LTState& s = lt();
    if (!s.LTchanged) return;
    const QString text = f.edit->text();
    const std::string bytes = platform::toAnsi(text);
    if (f.kind == EditField::Text) {
        *static_cast<Text255*>(f.field) = bytes;
        return;
    }
    if (text.isEmpty()) return;
    if (f.kind == EditField::Integer) {
        std::int32_t value = 0;
        if (!runtime::tryStrToInt(bytes, value)) return proc_LTWrongInput(f.label, text, f.edit);
        *static_cast<std::int32_t*>(f.field) = value;
    } else {
        long double value = 0;
        if (!runtime::tryStrToFloat(bytes, value)) return proc_LTWrongInput(f.label, text, f.edit);
        *static_cast<double*>(f.field) = static_cast<double>(value);
        if (f.alsoReal) *f.alsoReal = static_cast<double>(value);
    }
    if (f.mirror) f.mirror->setText(text);

    // A concentration interval other than the defaults' no longer uses the defaults.
    auto& rr = s.LTRRsettings;
    const bool leftDefaults = (f.edit == ui_->TabRREdit_xlo && rr.X_lo != kTAVXLow) ||
                              (f.edit == ui_->TabRREdit_xhi && rr.X_hi != kTAVXHigh);
    if (leftDefaults && rr.useTAVdefaults) {
        rr.useTAVdefaults = false;
        ui_->TabRRCheckBox_useTAVdefaults->setChecked(false);
    }
}

void TPagesDlgLT::proc_LTWrongInput(const QString& label, const QString& value, QLineEdit* edit) {
    platform::showMessage(QStringLiteral("Wrong input'") + value + QStringLiteral("' in field ") + label);
    focusControl(edit);
}

// ---- selections and check boxes ----

void TPagesDlgLT::ComboBoxes_pollutantSelect(QComboBox* sender) {
    markChanges();
    LTState& s = lt();
    auto& u = *ui_;
    const int index = sender->currentIndex();
    s.LTinfos.pollutant = static_cast<std::uint8_t>(index < 0 ? 0 : index);
    QComboBox* other = sender == u.TabInfosComboBox_pollutant ? u.TabRRComboBox_pollutant : u.TabInfosComboBox_pollutant;
    other->setCurrentIndex(index);
    QCheckBox* defaults = u.TabRRCheckBox_useTAVdefaults;
    if (index == 0) {
        defaults->setEnabled(true);
        return;
    }
    defaults->setEnabled(false);
    if (defaults->isChecked()) {
        defaults->setChecked(false);
        s.LTRRsettings.useTAVdefaults = false;
        proc_resetRRvector();
    }
}

void TPagesDlgLT::TabRRComboBox_certaintySelect() {
    markChanges();
    const int index = ui_->TabRRComboBox_certainty->currentIndex();
    lt().LTinfos.certainty = static_cast<std::uint8_t>(index < 0 ? 0 : index);
}

void TPagesDlgLT::TabRRComboBox_RReffectSelect() {
    markChanges();
    LTState& s = lt();
    const int index = ui_->TabRRComboBox_RReffect->currentIndex();
    s.LTinfos.effect = index < 0 ? 0 : index;
    if (s.LTRRsettings.useTAVdefaults) TabRRCheckBox_useTAVdefaultsClick();
    TabRR_collective_CheckBoxes_ParameterUsage();
}

void TPagesDlgLT::TabRR_collective_CheckBoxes_ParameterUsage() {
    auto& u = *ui_;
    const bool allCauses = lt().LTinfos.effect == 0;
    u.TabRRCheckBox_all_causes->setEnabled(allCauses);
    u.TabRRCheckBox_all_causes->setChecked(allCauses);
    for (QCheckBox* box : {u.TabRRCheckBox_cardio_causes, u.TabRRCheckBox_LCA_causes}) {
        box->setEnabled(!allCauses);
        box->setChecked(!allCauses);
    }
    auto& checked = lt().LTcauseChecked;
    checked[0] = u.TabRRCheckBox_all_causes->isChecked();
    checked[1] = u.TabRRCheckBox_cardio_causes->isChecked();
    checked[2] = u.TabRRCheckBox_LCA_causes->isChecked();
}

// The line of the analysed cause is always used; the other enabled line may be switched.
void TPagesDlgLT::TabRRCheckBox_ParameterLogicClick(QCheckBox* sender) {
    auto& u = *ui_;
    QCheckBox* const boxes[] = {u.TabRRCheckBox_all_causes, u.TabRRCheckBox_cardio_causes, u.TabRRCheckBox_LCA_causes};
    const int index = static_cast<int>(std::find(std::begin(boxes), std::end(boxes), sender) - std::begin(boxes));
    if (index >= 3) return;
    const int effect = lt().LTinfos.effect;
    const int own = effect >= 0 && effect < 3 ? effect : 0;
    if (index == own) {
        if (!sender->isChecked()) sender->setChecked(true);
    } else if (sender->isEnabled()) {
        markChanges();
    }
    lt().LTcauseChecked[static_cast<std::size_t>(index)] = sender->isChecked();
}

void TPagesDlgLT::TabRRCheckBox_useTAVdefaultsClick() {
    LTState& s = lt();
    auto& u = *ui_;
    s.LTRRsettings.useTAVdefaults = u.TabRRCheckBox_useTAVdefaults->isChecked();
    if (!s.LTRRsettings.useTAVdefaults) return;
    for (int c = 0; c < lifetables::kLTCauseCount; ++c) {
        const auto cause = static_cast<std::size_t>(c);
        for (std::size_t col = 0; col <= 4; ++col) s.LTRRvector[col][cause] = s.LTparamSet.values[col][cause];
        lifetables::proc_LTComputeRRs(s, c);
        setRRCells(c, 0, 6, 6, 0, 7);
    }
    s.LTRRsettings.X_lo = kTAVXLow;
    s.LTRRsettings.X_hi = kTAVXHigh;
    u.TabRREdit_xlo->setText(realText(kTAVXLow));
    u.TabRREdit_xhi->setText(realText(kTAVXHigh));
    u.TabRRComboBox_certainty->setCurrentIndex(kCertaintyHigh);
    s.LTinfos.certainty = kCertaintyHigh;
    u.TabRRComboBox_certainty->setEnabled(false);
}

// Grid row cause + 1, columns firstCol..lastCol: the risk table's columns 1..7 in fixed notation,
// the two ages with `ageDecimals` decimals, the others with `decimals`.
void TPagesDlgLT::setRRCells(int cause, int firstCol, int lastCol, int precision, int ageDecimals, int decimals) {
    const LTState& s = lt();
    for (int col = firstCol; col <= lastCol; ++col) {
        const double value = s.LTRRvector[static_cast<std::size_t>(col + 1)][static_cast<std::size_t>(cause)];
        ui_->TabRRStringGrid_betaRR->setCell(
            col, cause + 1, QString::fromStdString(runtime::formatFixed(value, precision, col <= 1 ? ageDecimals : decimals)));
    }
}

void TPagesDlgLT::TabRRCheckBox_advancedClick() {
    LTState& s = lt();
    auto& u = *ui_;
    auto& rr = s.LTRRsettings;
    rr.advanced = u.TabRRCheckBox_advanced->isChecked();
    for (QLineEdit* edit : advancedEdits_) edit->setEnabled(rr.advanced);
    if (rr.advanced) return;
    lifetables::ltSetNeutralAdvanced(rr);
    u.TabRREdit_birthSlope->setText(QStringLiteral("100"));
    u.TabRREdit_percPoll->setText(QStringLiteral("100"));
    u.TabRREdit_weightAge->setText(QStringLiteral("1"));
    u.TabRREdit_weightYears->setText(QStringLiteral("1"));
    for (QLineEdit* edit : {u.TabRREdit_birthFromYear, u.TabRREdit_birthUntilYear, u.TabRREdit_percPollFromYear,
                            u.TabRREdit_percPollUntilYear, u.TabRREdit_weightAgeFromAge, u.TabRREdit_weightAgeUntilAge,
                            u.TabRREdit_weightYearsFromYear, u.TabRREdit_weightYearsUntilYear})
        edit->clear();
}

// ---- the beta / relative-risk grid ----

void TPagesDlgLT::TabRRStringGrid_betaRRSetEditText(int col, int row, const QString& text) {
    platform::StringGrid* grid = ui_->TabRRStringGrid_betaRR;
    if (col >= 4) {
        platform::showMessage(QStringLiteral("Values for relative risks cannot be entered. They're always calculated from beta!"));
        grid->setCell(col, row, QString());
        return;
    }
    markChanges();
    refuseAgeNotWhole(grid, col, row, text);
    for (int c = 4; c <= 6; ++c) grid->setCell(c, row, QString());
    LTState& s = lt();
    if (s.LTRRsettings.useTAVdefaults) {
        s.LTRRsettings.useTAVdefaults = false;
        ui_->TabRRCheckBox_useTAVdefaults->setChecked(false);
        ui_->TabRRComboBox_certainty->setEnabled(true);
    }
}

void TPagesDlgLT::TabRRButton_auxilComputeRRsClick() {
    LTState& s = lt();
    if (!s.LTchanged) return;
    const bool defaults = ui_->TabRRCheckBox_useTAVdefaults->isChecked();
    for (int c = 0; c < lifetables::kLTCauseCount; ++c) {
        const auto cause = static_cast<std::size_t>(c);
        s.LTRRvector[0][cause] = c;
        if (!defaults) {
            std::array<long double, 4> values{};
            for (int col = 0; col < 4; ++col) {
                const std::string cell = platform::toAnsi(ui_->TabRRStringGrid_betaRR->cell(col, c + 1));
                if (!runtime::tryStrToFloat(cell, values[static_cast<std::size_t>(col)])) {
                    platform::showMessage(QStringLiteral("Error on filling betas: you must enter numbers for the first four columns!"));
                    return;
                }
            }
            for (std::size_t col = 0; col < 4; ++col) s.LTRRvector[col + 1][cause] = static_cast<double>(values[col]);
        }
        lifetables::proc_LTComputeRRs(s, c);
        setRRCells(c, 4, 6, 10, 7, 7);
    }
}

void TPagesDlgLT::proc_resetRRvector() {
    LTState& s = lt();
    for (int c = 0; c < lifetables::kLTCauseCount; ++c) {
        for (auto& column : s.LTRRvector) column[static_cast<std::size_t>(c)] = 0;
        for (int col = 0; col < 7; ++col) ui_->TabRRStringGrid_betaRR->setCell(col, c + 1, QString());
    }
}

// ---- clearing ----

void TPagesDlgLT::proc_LTClearInfos() {
    LTState& s = lt();
    auto& u = *ui_;
    u.TabInfosComboBox_pollutant->setCurrentIndex(0);
    u.TabRRComboBox_pollutant->setCurrentIndex(0);
    u.TabRRComboBox_certainty->setCurrentIndex(-1);
    u.TabRREdit_startYear->clear();
    for (QLineEdit* edit : u.TabInfosScrollBox_contents->findChildren<QLineEdit*>()) edit->clear();
    const std::int32_t effect = s.LTinfos.effect;
    s.LTinfos = lifetables::LTInfos{};
    s.LTinfos.effect = effect;
}

void TPagesDlgLT::proc_LTClearRR() {
    LTState& s = lt();
    auto& u = *ui_;
    u.TabRRCheckBox_useTAVdefaults->setEnabled(true);
    u.TabRRCheckBox_useTAVdefaults->setChecked(false);
    s.LTRRsettings.useTAVdefaults = false;
    u.TabRRComboBox_RReffect->setCurrentIndex(0);
    s.LTinfos.effect = 0;
    TabRR_collective_CheckBoxes_ParameterUsage();
    s.LTRRsettings.meanAnnualConc = 0;
    s.LTRRsettings.X_reference = 0;
    s.LTRRsettings.X_lo = 0;
    s.LTRRsettings.X_hi = 0;
    proc_resetRRvector();
    for (QLineEdit* edit : {u.TabRREdit_meanAnnualConc, u.TabRREdit_inputLevel, u.TabRREdit_xlo, u.TabRREdit_xhi}) edit->clear();
    {
        const QSignalBlocker quiet(u.TabRRCheckBox_advanced);
        u.TabRRCheckBox_advanced->setChecked(false);
    }
    TabRRCheckBox_advancedClick();
}

// ---- a loaded file's values into the controls ----

void TPagesDlgLT::proc_LTInfosGlobalsToDisplay() {
    const auto& in = lt().LTinfos;
    auto& u = *ui_;
    u.TabInfosComboBox_pollutant->setCurrentIndex(in.pollutant);
    u.TabRRComboBox_pollutant->setCurrentIndex(in.pollutant);
    u.TabRRComboBox_certainty->setCurrentIndex(in.certainty);
    u.TabInfosEdit_startYear->setText(intText(in.startYear));
    u.TabRREdit_startYear->setText(intText(in.startYear));
    for (const EditField& f : editFields_)
        if (f.edit->parentWidget() == u.TabInfosScrollBox_contents) showEditField(f);
}

void TPagesDlgLT::proc_LTRR_GlobalsToDisplay() {
    LTState& s = lt();
    auto& u = *ui_;
    const auto& rr = s.LTRRsettings;
    u.TabRRComboBox_RReffect->setCurrentIndex(s.LTinfos.effect);
    QCheckBox* const boxes[] = {u.TabRRCheckBox_all_causes, u.TabRRCheckBox_cardio_causes, u.TabRRCheckBox_LCA_causes};
    const std::array<bool, lifetables::kLTCauseCount> checked = s.LTcauseChecked;
    for (std::size_t c = 0; c < 3; ++c) boxes[c]->setChecked(checked[c]);
    const bool allCauses = s.LTinfos.effect == 0;
    boxes[0]->setEnabled(allCauses);
    boxes[1]->setEnabled(!allCauses);
    boxes[2]->setEnabled(!allCauses);
    u.TabRREdit_meanAnnualConc->setText(realText(rr.meanAnnualConc));
    u.TabRREdit_inputLevel->setText(realText(rr.X_reference));
    u.TabRREdit_xlo->setText(realText(rr.X_lo));
    u.TabRREdit_xhi->setText(realText(rr.X_hi));
    u.TabRRCheckBox_useTAVdefaults->setChecked(rr.useTAVdefaults);
    {
        const QSignalBlocker quiet(u.TabRRCheckBox_advanced);
        u.TabRRCheckBox_advanced->setChecked(rr.advanced);
    }
    TabRRCheckBox_advancedClick();
    if (rr.advanced) {
        for (const EditField& f : editFields_)
            if (std::count(advancedEdits_.begin(), advancedEdits_.end(), f.edit) > 0) showEditField(f);
    }
    for (int c = 0; c < lifetables::kLTCauseCount; ++c)
        for (int col = 0; col < 7; ++col)
            u.TabRRStringGrid_betaRR->setCell(
                col, c + 1, realText(s.LTRRvector[static_cast<std::size_t>(col + 1)][static_cast<std::size_t>(c)]));
    proc_LTdisplayCalcEndedDateTime(s.LTcalcEnded);
}
