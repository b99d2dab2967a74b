#pragma once
// The air-quality data screen: the days per concentration class, the data capture, the annual and
// seasonal statistics and those of the lowest and the highest station of the current record.
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "assessment/core/RecordLine.h"
#include "platform/Form.h"

class QLabel;
class QLineEdit;
namespace Ui { class TForm4Ui; }
namespace assessment { struct AssessmentState; }

// Air Quality Data
class TForm4 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm4(QWidget* parent = nullptr);
    ~TForm4() override;

    // Moves the screen's edits into the record (empty numeric edits become "0" first).
    void fill_data();
    // Saves the record shown on both record screens: fills it from both, validates it when `check`
    // is set, then writes "town.tab" and line cur_record of the data file. False when a check or a
    // conversion failed (its message shown): nothing is written, the typing and the mark stay.
    bool save_data(bool check);
    // Validates the filled record; a failure clears aq_valid.
    void check_data();
    // Empties the numeric edits.
    void clear_data();
    // Builds the class captions and bounds for interval_index and shows the captions.
    void make_label();
    // Takes the current pollutant's class width from the parameter file into interval_index.
    void get_param();

    // Leaves the edit being typed in for `to` (the close button when null), as a click there would:
    // its leave handler compares it. False when its text is no number (the error is shown).
    bool leaveTyping(QWidget* to);
    // After a failed save: brings the screen to the front, with the focus in the first field whose
    // check or conversion failed.
    void showFailedField();
    // The record's own key back in cur_pollutant, interval_index, the pollutant shown and the class
    // captions, after another screen changed them.
    void show_key();

    // The screen's half of showing a record: every edit from the record, the two station names
    // from the record's tail.
    void show_fields(const assessment::TailTexts& tails);

    Ui::TForm4Ui& controls() { return *ui_; }

protected:
    void FormActivate() override;
    void FormDeactivate() override;
    bool FormCloseQuery() override;
    void resizeEvent(QResizeEvent* event) override;

private:
    struct FieldEdit {
        QLineEdit* edit;
        int field;
    };

    void connectHandlers();
    void addLeave(QLineEdit* edit, std::function<void()> handler);
    // The edits whose leave compares them with the record: the classes, the statistics and the
    // two station names.
    std::vector<QLineEdit*> entryEdits() const;
    // Whether an entry edit differs from its field of the record (or the name last loaded); a text
    // that is no number is an error, or with `quiet` a difference.
    bool differsFromRecord(QLineEdit* edit, bool quiet);
    void compareField(QLineEdit* edit);  // marks the record changed when the edit differs
    void arrangePanels();
    bool saveQuestion(QWidget* button);
    std::int32_t valueOf(QLineEdit* edit);  // its integer; a failed conversion names the edit
    void stepRecord(int direction);
    void EditpolChange();
    void Editsummer_maxExit();

    void BitBtn1Click();  // "CALC"
    void BitBtn2Click();  // "&Print"
    void BitBtn3Click();  // "DEL"
    void BitBtn4Click();  // "<"
    void BitBtn5Click();  // ">"
    void Button1Click();  // "&Close"
    void Button2Click();  // "&New"
    void Button3Click();  // "Import  ==>"
    void Button4Click();  // "Back"

    assessment::AssessmentState& aq();

    std::unique_ptr<Ui::TForm4Ui> ui_;
    std::array<QLabel*, 26> classLabels_{};    // [1..25]
    std::array<QLineEdit*, 26> classEdits_{};  // [1..25]
    std::vector<FieldEdit> statistics_;        // the statistic edits with their record fields
    std::vector<QLineEdit*> numericEdits_;     // every edit that fill_data defaults to "0"
    std::string lowName_;                      // the station names as last loaded or saved
    std::string highName_;
    bool leaveFailed_ = false;                 // a leave handler ended with an error
    QLineEdit* failedField_ = nullptr;         // the first field whose check or conversion failed
    bool annual_only_ = false;                 // the pollutant as last changed has annual statistics only
};
