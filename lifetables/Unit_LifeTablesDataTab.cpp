// The data tabs: population and deaths by age group of each sex, the manual-input lock between
// the single-sex grids and the male + female grid, and the male + female table built from both.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "lifetables/Unit_LifeTables.h"
#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTNextField.h"
#include "lifetables/core/LTState.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/StringGrid.h"
#include "platform/TextFieldRule.h"
#include "runtime/NumberText.h"
#include "ui_TPagesDlgLT.h"

using lifetables::LTState;

namespace {

const QString kInputDisabled = QStringLiteral("Manual data input disabled");
const QString kInputEnabled = QStringLiteral("Manual data input enabled");
const QString kRed = QStringLiteral("color: rgb(255, 0, 0);");

double& empirical(LTState& s, int row, int col, int sex) {
    return s.LTempirical[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)][static_cast<std::size_t>(sex)];
}

// The rate of a death count in a population; 0 when the population is not above 0.
double rateOf(double deaths, double population) { return population > 0 ? deaths / population : 0; }

}  // namespace

platform::TextFieldRule TPagesDlgLT::lifeTableTextRule() {
    return {QStringLiteral("\t"), static_cast<int>(lifetables::kLTfieldMax), {}};
}

void TPagesDlgLT::connectDataTabs() {
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        const DataTab tab = dataTab(sex);
        platform::StringGrid* grid = tab.grid;
        grid->setCellTextRule(lifeTableTextRule());
        platform::setTextFieldRule(tab.comment, lifeTableTextRule());
        connect(grid, &platform::StringGrid::editTextChanged, this, [this, grid](int col, int row, const QString& text) {
            platform::runGuarded([&] { TabE_StringGridSetEditText(grid, col, row, text); });
        });
        onLeave(grid, [this, grid] { TabE_StringGridExit(grid); });
        connect(tab.comment, &QLineEdit::textChanged, this, platform::guarded([this] { markChanges(); }));
        onLeave(tab.comment, [this, sex] { TabE_commentExit(sex); });
        QLineEdit* year = tab.yearOfData;
        connect(year, &QLineEdit::textChanged, this, platform::guarded([this] { markChanges(); }));
        onLeave(year, [this, year] { TabE_maleEdit_YearOfDataExit(year); });
    }
    connect(ui_->TabE_all_Button_fillcells, &QPushButton::clicked, this,
            platform::guarded([this] { TabE_all_Button_fillcellsClick(); }));
}

void TPagesDlgLT::TabE_StringGridSetEditText(platform::StringGrid* grid, int col, int row, const QString& text) {
    LTState& s = lt();
    s.LTchanged = true;
    if (!s.LTmanualLock) gl_LTmanualInputCNTRL(grid);
    refuseAgeNotWhole(grid, col, row, text);
}

void TPagesDlgLT::refuseAgeNotWhole(platform::StringGrid* grid, int col, int row, const QString& text) {
    if (col > 1 || !lifetables::gl_LTnotDigitsOnly(platform::toAnsi(text))) return;
    platform::showMessage(QStringLiteral("ERROR: Value must be a positive whole number!"));
    grid->setCell(col, row, QString());
}

void TPagesDlgLT::gl_LTmanualInputCNTRL(platform::StringGrid* grid) {
    const DataTab all = dataTab(3);
    if (grid == all.grid) {
        for (int sex = 1; sex <= 2; ++sex) {
            const DataTab tab = dataTab(sex);
            tab.hint->setText(kInputDisabled);
            tab.hint->setStyleSheet(kRed);
            tab.grid->setEnabled(false);
        }
    } else {
        all.hint->setText(kInputDisabled);
        all.hint->setStyleSheet(kRed);
        ui_->TabE_all_Button_fillcells->setEnabled(true);
        ui_->TabE_all_Button_fillcells->setVisible(true);
        all.grid->setEnabled(false);
    }
    lt().LTmanualLock = true;
}

void TPagesDlgLT::gl_LT_RESETmanualInputCNTRL() {
    LTState& s = lt();
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        const DataTab tab = dataTab(sex);
        tab.hint->setText(kInputEnabled);
        tab.hint->setStyleSheet(QString());
        tab.grid->setEnabled(true);
    }
    ui_->TabE_all_Button_fillcells->setEnabled(false);
    ui_->TabE_all_Button_fillcells->setVisible(false);
    s.LTmanualLock = false;
    s.LTyearOfData = 0;
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) dataTab(sex).yearOfData->clear();
}

void TPagesDlgLT::TabE_StringGridExit(platform::StringGrid* grid) {
    if (!lt().LTchanged) return;
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex)
        if (dataTab(sex).grid == grid) proc_LTStringGrid_EToGlobal(grid, sex);
}

// The rows from row 1 down that hold a number in the from-age column.
int TPagesDlgLT::gl_LTStringGridNumberOfLines(platform::StringGrid* grid) const {
    int lines = 0;
    long double value = 0;
    while (lines < lifetables::kLTMaxRows && runtime::tryStrToFloat(platform::toAnsi(grid->cell(0, lines + 1)), value)) ++lines;
    return lines;
}

// Column by column; a cell without a number stops the transfer with the conversion error and
// what was taken over before it stays.
void TPagesDlgLT::proc_LTStringGrid_EToGlobal(platform::StringGrid* grid, int sex) {
    LTState& s = lt();
    const int lines = gl_LTStringGridNumberOfLines(grid);
    s.LTlineCount[static_cast<std::size_t>(sex)] = lines;
    auto number = [grid](int col, int row) { return static_cast<double>(runtime::strToFloat(platform::toAnsi(grid->cell(col, row)))); };
    for (int k = lifetables::kLTFromAge; k <= lifetables::kLTRateLCA; ++k) {
        for (int r = 1; r <= lines; ++r) {
            if (k <= lifetables::kLTDeathsLCA) {
                if ((k == lifetables::kLTDeathsCardio || k == lifetables::kLTDeathsLCA) && grid->cell(k - 1, r).isEmpty())
                    grid->setCell(k - 1, r, QStringLiteral("0"));
                empirical(s, r, k, sex) = number(k - 1, r);
            } else {
                empirical(s, r, k, sex) = rateOf(number(k - 4, r), number(2, r));
            }
        }
    }
}

void TPagesDlgLT::proc_LTGlobalsToStringGrid(platform::StringGrid* grid, QLineEdit* comment, int sex) {
    LTState& s = lt();
    const auto i = static_cast<std::size_t>(sex);
    const int lines = lifetables::ltUsedLines(s, sex);
    if (lines < 1) return;
    const std::int64_t ages = lifetables::ltDataAgeSpan(s, sex);
    s.LTageCount[i] = static_cast<std::int32_t>(std::clamp<std::int64_t>(ages, -1, lifetables::kLTMaxRows));
    comment->setText(platform::fromAnsi(s.LTcomments[i]));
    for (int r = 1; r <= lines; ++r)
        for (int col = 0; col < 6; ++col)
            grid->setCell(col, r, QString::fromStdString(runtime::floatToStr(empirical(s, r, col + 1, sex))));
}

void TPagesDlgLT::proc_LTE_GlobalsToDisplay() {
    const LTState& s = lt();
    bool anyRows = false;
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        if (s.LTlineCount[static_cast<std::size_t>(sex)] <= 0) continue;
        anyRows = true;
        const DataTab tab = dataTab(sex);
        proc_LTGlobalsToStringGrid(tab.grid, tab.comment, sex);
    }
    if (!anyRows) return;
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) dataTab(sex).yearOfData->setText(QString::number(s.LTyearOfData));
}

void TPagesDlgLT::TabE_all_Button_fillcellsClick() {
    LTState& s = lt();
    const int m = s.LTlineCount[1];
    const int f = s.LTlineCount[2];
    if (m != f || m < 1 || m > lifetables::kLTMaxRows) {
        platform::showMessage(QStringLiteral("No male or female data available or data doesn't match! Cannot compute Data_All matrix."));
        return;
    }
    for (int r = 1; r <= m; ++r) {
        for (int k = lifetables::kLTFromAge; k <= lifetables::kLTUntilAge; ++k) empirical(s, r, k, 3) = empirical(s, r, k, 1);
        for (int k = lifetables::kLTPopulation; k <= lifetables::kLTDeathsLCA; ++k)
            empirical(s, r, k, 3) = empirical(s, r, k, 1) + empirical(s, r, k, 2);
        for (int k = lifetables::kLTRateAll; k <= lifetables::kLTRateLCA; ++k)
            empirical(s, r, k, 3) = rateOf(empirical(s, r, k - 3, 3), empirical(s, r, lifetables::kLTPopulation, 3));
    }
    s.LTlineCount[3] = m;
    const DataTab all = dataTab(3);
    proc_LTGlobalsToStringGrid(all.grid, all.comment, 3);
}

void TPagesDlgLT::TabE_commentExit(int sex) {
    lt().LTcomments[static_cast<std::size_t>(sex)] = platform::toAnsi(dataTab(sex).comment->text());
}

// The year of the population data is one for all three tabs.
void TPagesDlgLT::TabE_maleEdit_YearOfDataExit(QLineEdit* sender) {
    const QString text = sender->text();
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        QLineEdit* year = dataTab(sex).yearOfData;
        if (year != sender) year->setText(text);
    }
    LTState& s = lt();
    const QString allText = dataTab(3).yearOfData->text();
    if (!s.LTchanged || allText.isEmpty()) return;
    std::int32_t year = 0;
    if (runtime::tryStrToInt(platform::toAnsi(allText), year))
        s.LTyearOfData = year;
    else
        proc_LTWrongInput(QStringLiteral("Year/Data"), allText, sender);
}
