#include "lifetables/Unit_LifeTables.h"

#include <QAction>
#include <QComboBox>
#include <QCoreApplication>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>

#include "assessment/Program.h"
#include "assessment/Unit8.h"
#include "lifetables/Unit_LifeTablesInterfaceUnit2.h"
#include "lifetables/Unit_LifeTablesMessages.h"
#include "lifetables/core/LTCalculationsFile.h"
#include "lifetables/core/LTInputFile.h"
#include "lifetables/core/LTParamFile.h"
#include "lifetables/core/LTState.h"
#include "platform/Ansi.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/Help.h"
#include "platform/OsVersion.h"
#include "platform/Printing.h"
#include "platform/StringGrid.h"
#include "runtime/Errors.h"
#include "ui_TPagesDlgLT.h"

using lifetables::LTState;

namespace {

const QString kTextFilter = QStringLiteral("text data (*.txt)");
const QString kTextExtension = QStringLiteral("txt");

// Splits a full file name at its last "/" into the folder (with the "/") and the name.
void gl_LTfindPathAndFilename(const std::string& fullName, std::string& name, std::string& folder) {
    const auto slash = fullName.find_last_of('/');
    if (slash == std::string::npos) {
        folder.clear();
        name = fullName;
    } else {
        folder = fullName.substr(0, slash + 1);
        name = fullName.substr(slash + 1);
    }
}

// The user's ways of changing the tab: a click or wheel turn on the tabs, and Ctrl+Tab,
// Ctrl+Shift+Tab, Ctrl+Page Up and Ctrl+Page Down inside the pages.
bool changesTab(const QTabWidget* tabs, const QObject* watched, const QEvent* event) {
    if (watched == tabs->tabBar()) {
        if (event->type() == QEvent::Wheel) return true;
        return event->type() == QEvent::MouseButtonPress &&
               static_cast<const QMouseEvent*>(event)->button() == Qt::LeftButton;
    }
    if (watched != tabs || event->type() != QEvent::KeyPress) return false;
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (!(key->modifiers() & Qt::ControlModifier)) return false;
    switch (key->key()) {
        case Qt::Key_Tab:
        case Qt::Key_Backtab:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown: return true;
        default: return false;
    }
}

}  // namespace

TPagesDlgLT::TPagesDlgLT(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TPagesDlgLTUi>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("PagesDlgLT"));
    setWindowTitle(QStringLiteral("Zelk Life-Table Simulation Version 2.2.3"));
    connectFrame();
    connectInputTabs();
    connectDataTabs();
    connectResultTabs();
    FormCreate();
    // The grids' columns take their texts at the screen's font, and the screen makes room for them.
    fitScreenToGrids();
    centreOnScreen();
}

TPagesDlgLT::~TPagesDlgLT() = default;

LTState& TPagesDlgLT::lt() const { return program().lt(); }

TPagesDlgLT::DataTab TPagesDlgLT::dataTab(int sex) const {
    const auto& u = *ui_;
    switch (sex) {
        case 1: return {u.TabE_maleStringGrid, u.TabE_maleEdit_comment, u.TabE_maleEdit_YearOfData, u.TabE_maleLabel_manualHint};
        case 2: return {u.TabE_femaleStringGrid, u.TabE_femaleEdit_comment, u.TabE_femaleEdit_YearOfData, u.TabE_femaleLabel_manualHint};
        default: return {u.TabE_allStringGrid, u.TabE_allEdit_comment, u.TabE_allEdit_YearOfData, u.TabE_allLabel_manualHint};
    }
}

TPagesDlgLT::ResultTab TPagesDlgLT::resultTab(int sex) const {
    const auto& u = *ui_;
    switch (sex) {
        case 1:
            return {u.TabLTmaleSheet, u.TabLTmaleStringGrid_lifeRemain, u.TabLTmaleStringGrid_deltaYear0,
                    u.TabLTmaleStringGrid_deltaYear0_norm, u.TabLTmaleStringGrid_YLLZeroToTen,
                    u.TabLTmaleStringGrid_YllZeroToTen_norm, u.TABLTmaleStringGrid_YLL_due_to_death,
                    u.TabLTmaleStringGrid_YLL_due_to_death_norm, u.TabLTmaleComboBox_displayAgeInterval,
                    u.TabLTmaleLabel_IndicatorCauseOfDeath, u.TabLTmaleLabel_calcEndedDateTime, u.TabLTmaleLabel_weightNote};
        case 2:
            return {u.TabLTfemaleTabSheet, u.TabLTfemaleStringGrid_lifeRemain, u.TabLTfemaleStringGrid_deltaYear0,
                    u.TabLTfemaleStringGrid_deltaYear0_norm, u.TabLTfemaleStringGrid_YLLZeroToTen,
                    u.TabLTfemaleStringGrid_YLLZeroToTen_norm, u.TabLTfemaleStringGrid_YLL_due_to_death,
                    u.TabLTfemaleStringGrid_YLL_due_to_death_norm, u.TabLTfemaleComboBox_displayAgeInterval,
                    u.TabLTfemaleLabel_IndicatorCauseOfDeath, u.TabLTfemaleLabel_calcEndedDateTime,
                    u.TabLTfemaleLabel_weightNote};
        default:
            return {u.TabLTallSheet, u.TabLTallStringGrid_lifeRemain, u.TabLTallStringGrid_deltaYear0,
                    u.TabLTallStringGrid_deltaYear0_norm, u.TabLTallStringGrid_YLLZeroToTen,
                    u.TabLTallStringGrid_YLLZeroToTen_norm, u.TabLTallStringGrid_YLL_due_to_death,
                    u.TabLTallStringGrid_YLL_due_to_death_norm, u.TabLTallComboBox_displayAgeInterval,
                    u.TabLTallLabel_IndicatorCauseOfDeath, u.TabLTallLabel_calcEndedDateTime, u.TabLTallLabel_weightNote};
    }
}

void TPagesDlgLT::connectFrame() {
    const auto& u = *ui_;
    const std::pair<QAction*, void (TPagesDlgLT::*)()> commands[] = {
        {u.MFileEnterNewInputData, &TPagesDlgLT::MFileEnterNewInputDataClick},
        {u.MFileOpenInputData, &TPagesDlgLT::OnClick_OpenInputData},
        {u.MFileSaveinput, &TPagesDlgLT::MFileSaveinputClick},
        {u.MFileSaveInputas, &TPagesDlgLT::MFileSaveInputasClick},
        {u.MFileSaveCalculations, &TPagesDlgLT::MFileSaveCalculationsClick},
        {u.MFileSaveCalculationsas, &TPagesDlgLT::MFileSaveCalculationsasClick},
        {u.MFilePrinterSetup, &TPagesDlgLT::MFilePrinterSetupClick},
        {u.MFilePrintactivetab, &TPagesDlgLT::MFilePrintactivetabClick},
        {u.MFileCloseWin, &TPagesDlgLT::MFileCloseWinClick},
        {u.Screens1, &TPagesDlgLT::Screens1Click},
        {u.MHelpZelkLifeTables, &TPagesDlgLT::MHelpZelkLifeTablesClick},
        {u.MHelpAboutZelk, &TPagesDlgLT::MHelpAboutZelkClick},
    };
    for (const auto& [action, handler] : commands)
        connect(action, &QAction::triggered, this, platform::guarded([this, handler = handler] { (this->*handler)(); }));
    u.TabPageControl->installEventFilter(this);
    u.TabPageControl->tabBar()->installEventFilter(this);
}

bool TPagesDlgLT::eventFilter(QObject* watched, QEvent* event) {
    QTabWidget* tabs = ui_->TabPageControl;
    if (changesTab(tabs, watched, event)) {
        QTabBar* bar = tabs->tabBar();
        focusControl(bar);
        if (activeControl() != bar) return true;
    }
    if (event->type() == QEvent::Show && isResultSheet(watched)) platform::runGuarded([this] { TabLTSheetShow(); });
    return platform::Form::eventFilter(watched, event);
}

void TPagesDlgLT::FormCreate() {
    LTState& s = lt();
    const auto& u = *ui_;
    s.LTOSmajor = lifetables::gl_LTosMajorVersion([] { return platform::osMajorVersion().toStdString(); });
    // The program folder and the program's own file name: the parameter set and the help file lie
    // beside the program.
    s.LTexePath = program().options().programFolder;
    s.LTexeName = platform::toAnsi(QFileInfo(QCoreApplication::applicationFilePath()).fileName());
    s.LThelpFile = "zozezu.hlp";
    s.LTmarkEnabled = true;
    // A parameter-set file that cannot be read is reported; the screen is built all the same.
    platform::runGuarded([&s] { lifetables::proc_LTLoadParamFile(s, s.LTexePath, ltMessageSink()); });
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex)
        s.LTsectionNames[static_cast<std::size_t>(sex)] = lifetables::kLTEmpiricalHeaders[static_cast<std::size_t>(sex)];

    setUpGrids();

    u.TabInfosLabel_unit->setText(QStringLiteral("\u00b5g/m3"));
    for (const char* name : lifetables::LTpollutantNames) {
        u.TabInfosComboBox_pollutant->addItem(QString::fromLatin1(name));
        u.TabRRComboBox_pollutant->addItem(QString::fromLatin1(name));
    }
    u.TabRRLabel_unit->setText(QStringLiteral("\u00b5g/m3"));
    for (const char* name : lifetables::LTcauseNames) u.TabRRComboBox_RReffect->addItem(QString::fromLatin1(name));
    u.TabRRComboBox_RReffect->setCurrentIndex(0);
    s.LTshownCause = 0;
    showCause();
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        QComboBox* combo = resultTab(sex).ageInterval;
        for (int i = 1; i <= 3; ++i) combo->addItem(QString::fromLatin1(lifetables::LTintervalTexts[static_cast<std::size_t>(i)]));
        combo->setCurrentIndex(sex == 3 ? 0 : 1);
    }
    u.TabPageControl->setCurrentIndex(0);
    proc_LTClear();
}

void TPagesDlgLT::markChanges() {
    LTState& s = lt();
    if (!s.LTmarkEnabled) return;
    s.LTchanged = true;
    s.LTcalcEnded = lifetables::kLTNoCalcEnded;
    proc_LTdisplayCalcEndedDateTime(s.LTcalcEnded);
}

// ---- clearing ----

void TPagesDlgLT::proc_LTClear() {
    LTState& s = lt();
    s.LTinputPath.clear();
    s.LTinputName.clear();
    s.LTcalcPath.clear();
    s.LTcalcName.clear();
    s.LTcalcEnded = lifetables::kLTNoCalcEnded;
    proc_LTdisplayCalcEndedDateTime(s.LTcalcEnded);
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) proc_LTClearEmatrices(sex);
    gl_LT_RESETmanualInputCNTRL();
    proc_LTClearInfos();
    proc_LTClearRR();
    proc_LTClearResults();
    s.LTchanged = false;
}

void TPagesDlgLT::proc_LTClearEmatrices(int sex) {
    LTState& s = lt();
    const auto i = static_cast<std::size_t>(sex);
    const DataTab tab = dataTab(sex);
    s.LTresultValid[i] = false;
    s.LTlineCount[i] = 0;
    s.LTcomments[i].clear();
    tab.comment->clear();
    for (int row = 1; row <= lifetables::kLTMaxRows; ++row)
        for (int col = 1; col <= lifetables::kLTEmpiricalColumns; ++col)
            s.LTempirical[static_cast<std::size_t>(row)][static_cast<std::size_t>(col)][i] = 0;
    for (int row = 1; row <= lifetables::kLTMaxRows; ++row)
        for (int col = 0; col < 6; ++col) tab.grid->setCell(col, row, QString());
    tab.grid->setCell(0, 1, QStringLiteral("0"));
    tab.grid->setCell(1, 1, QStringLiteral("0"));
    tab.grid->setCell(0, 2, QStringLiteral("1"));
}

void TPagesDlgLT::proc_LTClearResults() {
    LTState& s = lt();
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        const ResultTab t = resultTab(sex);
        auto clearFrom = [](platform::StringGrid* grid, int firstRow) {
            for (int row = firstRow; row < grid->rowCountTotal(); ++row)
                for (int col = 1; col < grid->colCount(); ++col) grid->setCell(col, row, QString());
        };
        clearFrom(t.lifeRemain, 1);
        clearFrom(t.deltaYear0, 1);
        for (platform::StringGrid* grid : {t.deltaYear0_norm, t.zeroToTen, t.zeroToTen_norm, t.dueToDeath, t.dueToDeath_norm})
            clearFrom(grid, 0);
    }
    s.LTshownCause = s.LTinfos.effect;
    showCause();
    s.LTsummary = {};
    s.LTlifeExp = {};
    s.LTlifeExpDelta = {};
}

QString TPagesDlgLT::causeText() const {
    const LTState& s = lt();
    const int cause = s.LTshownCause >= 0 && s.LTshownCause < lifetables::kLTCauseCount ? s.LTshownCause : 0;
    return QString::fromLatin1(lifetables::LTcauseNames[static_cast<std::size_t>(cause)]);
}

void TPagesDlgLT::showCause() {
    const QString text = causeText();
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) resultTab(sex).cause->setText(text);
}

// ---- file commands ----

bool TPagesDlgLT::askToSaveChanges() {
    if (!lt().LTchanged) return true;
    const platform::Button answer =
        platform::messageDlg(platform::BoxKind::Confirmation, QStringLiteral("Do you want to save your changes?"),
                             {platform::Button::Yes, platform::Button::No, platform::Button::Cancel});
    if (answer == platform::Button::Yes) return saveInputFile(false);
    return answer == platform::Button::No;
}

bool TPagesDlgLT::gl_LTsaveAs(std::string& name, std::string& folder) {
    platform::FileDialogOptions options;
    options.filter = kTextFilter;
    options.defaultExt = kTextExtension;
    options.fileName = platform::fromFileName(name);
    options.initialDir = platform::fromFileName(folder);
    for (;;) {
        const std::optional<QString> chosen = platform::saveFileDialog(options);
        if (!chosen) return false;
        if (QFileInfo::exists(*chosen)) {
            const platform::Button answer = platform::messageDlg(
                platform::BoxKind::Confirmation, QStringLiteral("File already exists. Do you want to overwrite it?"),
                {platform::Button::Yes, platform::Button::No, platform::Button::Cancel});
            if (answer == platform::Button::No) continue;
            if (answer != platform::Button::Yes) return false;
        }
        gl_LTfindPathAndFilename(platform::toFileName(*chosen), name, folder);
        return true;
    }
}

bool TPagesDlgLT::saveInputFile(bool askName) {
    LTState& s = lt();
    if ((askName || s.LTinputName.empty()) && !gl_LTsaveAs(s.LTinputName, s.LTinputPath)) return false;
    lifetables::proc_LTWriteInputFile(s);
    s.LTchanged = false;
    return true;
}

bool TPagesDlgLT::saveCalculationsFile(bool askName) {
    LTState& s = lt();
    if ((askName || s.LTcalcName.empty()) && !gl_LTsaveAs(s.LTcalcName, s.LTcalcPath)) return false;
    lifetables::proc_LTWriteCalculations(s);
    return true;
}

void TPagesDlgLT::MFileEnterNewInputDataClick() {
    if (askToSaveChanges()) proc_LTClear();
}

void TPagesDlgLT::OnClick_OpenInputData() {
    if (!askToSaveChanges()) return;
    proc_LTClear();
    platform::FileDialogOptions options;
    options.filter = kTextFilter;
    options.defaultExt = kTextExtension;
    const std::optional<QString> chosen = platform::openFileDialog(options);
    if (!chosen) return;
    LTState& s = lt();
    gl_LTfindPathAndFilename(platform::toFileName(*chosen), s.LTinputName, s.LTinputPath);
    bool readWhole = false;
    try {
        readWhole = lifetables::proc_LTReadInputFile(s, ltMessageSink());
    } catch (const runtime::Error&) {
        // A file that is not readable to its end is not taken in part: otherwise a later save
        // would replace it with what was read before the bad line.
        proc_LTClear();
        throw;
    }
    if (!readWhole) {
        // A file that gave nothing, could not be read, or held more rows than the tables take does
        // not become the input/result file: "&Save input/result" asks for a name instead of
        // writing over it.
        s.LTinputName.clear();
        s.LTinputPath.clear();
    }
    s.LTmarkEnabled = false;
    proc_LTE_GlobalsToDisplay();
    proc_LTRR_GlobalsToDisplay();
    proc_LTInfosGlobalsToDisplay();
    proc_LTDisplayResults();
    s.LTchanged = false;
    s.LTmarkEnabled = true;
}

void TPagesDlgLT::MFileSaveinputClick() { saveInputFile(false); }
void TPagesDlgLT::MFileSaveInputasClick() { saveInputFile(true); }
void TPagesDlgLT::MFileSaveCalculationsClick() { saveCalculationsFile(false); }
void TPagesDlgLT::MFileSaveCalculationsasClick() { saveCalculationsFile(true); }

void TPagesDlgLT::MFilePrinterSetupClick() { platform::printerSetup(); }

void TPagesDlgLT::MFilePrintactivetabClick() {
    if (platform::printDialog()) platform::printWidgetImage(this);
}

void TPagesDlgLT::MFileCloseWinClick() { closeForm(); }

// Closing asks the save question; Cancel keeps the screen open.
bool TPagesDlgLT::FormCloseQuery() { return askToSaveChanges(); }

void TPagesDlgLT::Screens1Click() { ShowSupplierForm(); }

void TPagesDlgLT::MHelpZelkLifeTablesClick() {
    const QString helpFile = platform::fromFileName(lt().LTexePath + lt().LThelpFile);
    platform::setApplicationHelpFile(helpFile);
    platform::showHelpTopic(helpFile, QStringLiteral("content"));
}

void TPagesDlgLT::MHelpAboutZelkClick() { program().AboutBox->showForm(); }
