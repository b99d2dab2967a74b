// The calculation run of "Calculation: GO" and the three result tabs: years of life lost in the
// start year, over the first ten years and through the first year's deaths, and the remaining
// life expectancy by age in steps of 1, 5 or 10 years.
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QProgressBar>
#include <QPushButton>
#include <QTime>

#include "lifetables/Unit_LifeTables.h"
#include "lifetables/Unit_LifeTablesMessages.h"
#include "lifetables/core/LTCalculation.h"
#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTState.h"
#include "lifetables/core/LTTrunc.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/StringGrid.h"
#include "runtime/NumberText.h"
#include "ui_TPagesDlgLT.h"

using lifetables::LTState;

namespace {

const QString kNotRefreshedNote = QStringLiteral(
    "NOTE: Zelk's screen is not refreshed during calculations in order to increase the speed of computation: "
    "the program is in a \"Not responding\" state until computation has finished!");

QString resultText(double value) { return QString::fromStdString(runtime::formatFixed(value, 6, 2)); }

// The date and time a calculation ended, in the user's short date and long time formats.
std::string nowText() {
    const QLocale locale = QLocale::system();
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QLatin1Char('t'));
    const QString text = locale.toString(QDate::currentDate(), QLocale::ShortFormat) + QLatin1Char(' ') +
                         QTime::currentTime().toString(timeFormat.trimmed());
    return platform::toAnsi(text);
}

}  // namespace

void TPagesDlgLT::connectResultTabs() {
    auto& u = *ui_;
    connect(u.TabRRButton_Go, &QPushButton::clicked, this, platform::guarded([this] { TabRRButton_GoClick(); }));
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        QComboBox* combo = resultTab(sex).ageInterval;
        connect(combo, &QComboBox::activated, this,
                platform::guarded([this, combo] { TabLTComboBox_displayAgeIntervalSelect(combo); }));
    }
    // A result sheet is shown when its tab is chosen and when the screen comes up with it in front.
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) resultTab(sex).sheet->installEventFilter(this);
}

bool TPagesDlgLT::isResultSheet(const QObject* object) const {
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex)
        if (object == resultTab(sex).sheet) return true;
    return false;
}

void TPagesDlgLT::TabRRButton_GoClick() {
    LTState& s = lt();
    auto& u = *ui_;
    u.TabRRButton_Go->setCursor(Qt::WaitCursor);
    u.TabRRButton_Go->setEnabled(false);
    u.TabRRLabel_CalcFinished->hide();
    // Whatever happens, the screen returns to its idle state.
    struct Idle {
        Ui::TPagesDlgLTUi& u;
        ~Idle() {
            u.TabRRProgressBar_Calculation->hide();
            u.TabRRLabel_calculating->hide();
            u.TabRRButton_Go->unsetCursor();
            u.TabRRButton_Go->setEnabled(true);
        }
    };
    bool ok = false;
    {
        Idle idle{u};
        const bool showProgress = s.LTOSmajor == "4";
        if (showProgress)
            u.TabRRProgressBar_Calculation->show();
        else
            platform::showMessage(kNotRefreshedNote);
        if (!s.LTRRsettings.useTAVdefaults) TabRRButton_auxilComputeRRsClick();
        // The calculation starts the pollution change in the start year; the edit shows it.
        if (s.LTRRsettings.advanced)
            u.TabRREdit_percPollFromYear->setText(QString::fromStdString(runtime::floatToStr(s.LTinfos.startYear)));
        QProgressBar* bar = u.TabRRProgressBar_Calculation;
        QLabel* calculating = u.TabRRLabel_calculating;
        const lifetables::LTProgressStep step = [bar, calculating] {
            const int next = bar->value() + 1;
            bar->setValue(next > bar->maximum() ? bar->minimum() : next);
            calculating->setVisible(!calculating->isVisible());
            bar->repaint();
            calculating->repaint();
        };
        ok = lifetables::ltRunCalculation(s, ltMessageSink(), step);
        if (ok) {
            s.LTcalcEnded = nowText();
            proc_LTdisplayCalcEndedDateTime(s.LTcalcEnded);
            s.LTshownCause = s.LTinfos.effect;
            showCause();
            u.TabRRLabel_CalcFinished->show();
        } else {
            platform::showMessage(QStringLiteral("Error during calculation. Check values of input data!"));
        }
    }
    if (ok) {
        s.LTchanged = true;
        proc_LTDisplayResults();
    }
}

void TPagesDlgLT::proc_LTDisplayResults() {
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex)
        if (lt().LTresultValid[static_cast<std::size_t>(sex)]) fillLTtabs(sex);
}

void TPagesDlgLT::fillLTtabs(int sex) {
    const LTState& s = lt();
    const ResultTab t = resultTab(sex);
    const auto i = static_cast<std::size_t>(sex);
    auto put = [&](platform::StringGrid* grid, int row, int indicator) {
        for (int scenario = 0; scenario < 3; ++scenario)
            grid->setCell(scenario + 1, row, resultText(s.LTsummary[static_cast<std::size_t>(indicator)][static_cast<std::size_t>(scenario)][i]));
    };
    put(t.deltaYear0, 1, 0);
    put(t.deltaYear0, 2, 1);
    put(t.deltaYear0_norm, 0, 3);
    put(t.deltaYear0_norm, 1, 4);
    t.ageInterval->setCurrentIndex(1);
    proc_LTdisplayAgeIntervals(t.lifeRemain, lifetables::LTintervals[2], sex);
    put(t.zeroToTen, 0, 6);
    put(t.zeroToTen_norm, 0, 7);
    put(t.dueToDeath, 0, 8);
    put(t.dueToDeath_norm, 0, 9);
    // Only this sex's tab names the cause of its results; a tab without results keeps its label.
    t.cause->setText(causeText());
}

// Every step-th single age from the first age of the data, with the baseline life expectancy and
// the differences of the three scenarios.
void TPagesDlgLT::proc_LTdisplayAgeIntervals(platform::StringGrid* grid, int step, int sex) {
    const LTState& s = lt();
    const auto i = static_cast<std::size_t>(sex);
    const qint64 first = lifetables::gl_LTtrunc(s.LTempirical[1][lifetables::kLTFromAge][i]);
    for (int row = 1; row <= lifetables::kLTMaxRows; ++row) {
        grid->setCell(0, row, QStringLiteral("  ") + QString::number(first + qint64(row - 1) * step));
        for (int col = 1; col <= 4; ++col) grid->setCell(col, row, QString());
    }
    int k = 0;
    int next = 1;
    const int ages = lifetables::ltUsedAgeRows(s, sex);
    for (int a = 1; a <= ages; ++a) {
        if (a != next) continue;
        ++k;
        const auto& lifeExp = s.LTlifeExp[static_cast<std::size_t>(a)];
        const auto& delta = s.LTlifeExpDelta[static_cast<std::size_t>(a)];
        grid->setCell(1, k, resultText(lifeExp[0][i]));
        for (int scenario = 1; scenario <= 3; ++scenario)
            grid->setCell(scenario + 1, k, resultText(delta[static_cast<std::size_t>(scenario)][i]));
        next += step;
    }
}

void TPagesDlgLT::proc_LTdisplayCalcEndedDateTime(const std::string& text) {
    const QString caption = platform::fromAnsi(text);
    ui_->TabRRLabel_calcEndedDateTime->setText(caption);
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) resultTab(sex).calcEnded->setText(caption);
    ui_->TabRRLabel_CalcFinished->hide();
}

void TPagesDlgLT::TabLTComboBox_displayAgeIntervalSelect(QComboBox* sender) {
    const int index = sender->currentIndex();
    if (index < 0 || index > 2) return;
    const int step = lifetables::LTintervals[static_cast<std::size_t>(index + 1)];
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        const ResultTab t = resultTab(sex);
        if (t.ageInterval == sender) proc_LTdisplayAgeIntervals(t.lifeRemain, step, sex);
    }
}

void TPagesDlgLT::TabLTSheetShow() {
    const auto& rr = lt().LTRRsettings;
    const bool weighted = rr.advanced && (rr.weightAge != 1.0 || rr.weightYears != 1.0);
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) resultTab(sex).weightNote->setVisible(weighted);
}
