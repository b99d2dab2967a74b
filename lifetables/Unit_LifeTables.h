#pragma once
// The life-table screen: the information and calculation tabs, the empirical data of each sex,
// the calculation run and the years-of-life results, with the file, screen and help menus.
// Every value lives in the program's life-table state (program().lt()); the screen copies values
// into it when a field is left and shows them again after a file was opened.
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/Form.h"

namespace Ui { class TPagesDlgLTUi; }
namespace lifetables { struct LTState; }
namespace platform {
class StringGrid;
struct TextFieldRule;
}  // namespace platform
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class TPagesDlgLT : public platform::Form {
    Q_OBJECT
public:
    explicit TPagesDlgLT(QWidget* parent = nullptr);
    ~TPagesDlgLT() override;

    Ui::TPagesDlgLTUi& ui() const { return *ui_; }

    // ---- frame and file commands ----
    // The change handler of every edit: marks the inputs changed and the last result stale.
    void markChanges();
    // Empties the whole screen and the life-table inputs and results.
    void proc_LTClear();
    void proc_resetRRvector();
    // The save dialog loop: true with the chosen name and folder; false when abandoned.
    bool gl_LTsaveAs(std::string& name, std::string& folder);

    void MFileEnterNewInputDataClick();   // "&New"
    void OnClick_OpenInputData();         // "&Open input/result data"
    void MFileSaveinputClick();           // "&Save input/result"
    void MFileSaveInputasClick();         // "S&ave input/result as..."
    void MFileSaveCalculationsClick();    // "Save &Calculations"
    void MFileSaveCalculationsasClick();  // "Save Ca&lculations as..."
    void MFilePrinterSetupClick();        // "Printer Set&up"
    void MFilePrintactivetabClick();      // "&Print"
    void MFileCloseWinClick();            // "Close LT &Window"
    void Screens1Click();                 // "Data &Supplier"
    void MHelpZelkLifeTablesClick();      // "Zelk &Life-Tables"
    void MHelpAboutZelkClick();           // "&About Zelk"

    // ---- information and calculation tabs ----
    void proc_LTWrongInput(const QString& label, const QString& value, QLineEdit* edit);
    void proc_LTInfosGlobalsToDisplay();
    void proc_LTRR_GlobalsToDisplay();
    void ComboBoxes_pollutantSelect(QComboBox* sender);
    void TabRRComboBox_certaintySelect();
    void TabRRComboBox_RReffectSelect();
    void TabRR_collective_CheckBoxes_ParameterUsage();
    void TabRRCheckBox_ParameterLogicClick(QCheckBox* sender);
    void TabRRCheckBox_useTAVdefaultsClick();  // "use TAV defaults"
    void TabRRCheckBox_advancedClick();        // "advanced"
    void TabRRStringGrid_betaRRSetEditText(int col, int row, const QString& text);
    void TabRRButton_auxilComputeRRsClick();  // "compute RRs"

    // ---- empirical data tabs ----
    void TabE_StringGridSetEditText(platform::StringGrid* grid, int col, int row, const QString& text);
    void TabE_StringGridExit(platform::StringGrid* grid);
    void gl_LTmanualInputCNTRL(platform::StringGrid* grid);
    void gl_LT_RESETmanualInputCNTRL();
    int gl_LTStringGridNumberOfLines(platform::StringGrid* grid) const;
    void proc_LTStringGrid_EToGlobal(platform::StringGrid* grid, int sex);
    void proc_LTGlobalsToStringGrid(platform::StringGrid* grid, QLineEdit* comment, int sex);
    void proc_LTE_GlobalsToDisplay();
    void TabE_all_Button_fillcellsClick();  // "male + female"
    void TabE_commentExit(int sex);
    void TabE_maleEdit_YearOfDataExit(QLineEdit* sender);

    // ---- calculation run and results ----
    void TabRRButton_GoClick();  // "Calculation: GO"
    void proc_LTDisplayResults();
    void fillLTtabs(int sex);
    void proc_LTdisplayAgeIntervals(platform::StringGrid* grid, int step, int sex);
    void proc_LTdisplayCalcEndedDateTime(const std::string& text);
    void TabLTComboBox_displayAgeIntervalSelect(QComboBox* sender);
    void TabLTSheetShow();

    // The controls of one sex's data tab and result tab (sex 1 male, 2 female, 3 male + female).
    struct DataTab {
        platform::StringGrid* grid;
        QLineEdit* comment;
        QLineEdit* yearOfData;
        QLabel* hint;
    };
    struct ResultTab {
        QWidget* sheet;
        platform::StringGrid* lifeRemain;
        platform::StringGrid* deltaYear0;
        platform::StringGrid* deltaYear0_norm;
        platform::StringGrid* zeroToTen;
        platform::StringGrid* zeroToTen_norm;
        platform::StringGrid* dueToDeath;
        platform::StringGrid* dueToDeath_norm;
        QComboBox* ageInterval;
        QLabel* cause;
        QLabel* calcEnded;
        QLabel* weightNote;
    };
    DataTab dataTab(int sex) const;
    ResultTab resultTab(int sex) const;

    // What a numeric or text edit of the two input tabs stores when it is left.
    struct EditField {
        enum Kind { Integer, Real, Text };
        QLineEdit* edit = nullptr;
        Kind kind = Integer;
        QString label;              // named by the wrong-input message
        void* field = nullptr;      // std::int32_t, double or the short text, by kind
        double* alsoReal = nullptr; // a second value that takes the same real
        QLineEdit* mirror = nullptr;
    };

protected:
    bool FormCloseQuery() override;
    // A click, wheel turn or key that changes the tab first takes the focus off the page, so that
    // the field being left is checked while its page is in view; a field that takes the focus
    // back (wrong input) keeps its page.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    lifetables::LTState& lt() const;
    void FormCreate();
    void connectFrame();
    void connectInputTabs();
    void connectDataTabs();
    void connectResultTabs();
    // What the input/result file keeps of a text or a cell: it splits its lines at TAB and keeps 255
    // characters of a field.
    static platform::TextFieldRule lifeTableTextRule();
    bool isResultSheet(const QObject* object) const;
    void setUpGrids();
    // Widens the grids' columns for their texts and the screen for its grids.
    void fitScreenToGrids();
    void bindEditFields();

    // The save question of New, Open and closing: false when the command is abandoned.
    bool askToSaveChanges();
    // Writes the input/result file under its name (asking for one when `askName` or there is none).
    bool saveInputFile(bool askName);
    bool saveCalculationsFile(bool askName);

    void proc_LTClearEmatrices(int sex);
    void proc_LTClearInfos();
    void proc_LTClearRR();
    void proc_LTClearResults();
    // The name of the cause the shown results were computed for; showCause() puts it on all three tabs.
    QString causeText() const;
    void showCause();

    void leaveEditField(const EditField& field);
    // The age columns (0 and 1) of the data grids and the risk grid take whole numbers only: a
    // typed text with any other character is refused with a message and its cell emptied.
    void refuseAgeNotWhole(platform::StringGrid* grid, int col, int row, const QString& text);
    void setRRCells(int cause, int firstCol, int lastCol, int precision, int ageDecimals, int decimals);

    std::unique_ptr<Ui::TPagesDlgLTUi> ui_;
    std::vector<EditField> editFields_;
    std::array<QLineEdit*, 12> advancedEdits_{};
};
