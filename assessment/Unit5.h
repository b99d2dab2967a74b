#pragma once
// Parameters: for one pollutant and one health endpoint the baseline incidence, the three relative
// risks and the class width they refer to, the certainty of the risks and the cut-off class; the
// values are checked, saved to "params.tab", published for the impact calculation, and a small
// table shows the attributable proportion and the excess cases of the three risks.
#include <QString>
#include <array>
#include <cstdint>
#include <memory>

#include "platform/Form.h"

class QEvent;
class QLineEdit;
namespace Ui { class TForm5Ui; }
namespace assessment { struct AssessmentState; }

class TForm5 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm5(QWidget* parent = nullptr);
    ~TForm5() override;

    // Loads the record of the shown pollutant and endpoint from the bound parameter file.
    void get_data();
    // Writes the screen's record into "params.tab" (callers check first and ask).
    void save_data();
    // Checks the risks, the cut-off and the incidence; a failure shows its message, puts the focus
    // into the failing control and sets params_error to -1.
    void check_data();
    // Converts the shown risks from the class width interval_index to shown_interval.
    void int_change();
    // The small result table becomes stale: silver, its result cells empty.
    void clear_estimates();
    // Refills the endpoint list from the program-wide endpoint tables and selects the first item
    // (the reload of a working directory uses it).
    void fill_endpoint_list();

    // Handlers.
    void editpolChange();
    void endpointChange();
    void no_impChange();
    void editb_incKeyUp();
    void BitBtn2Click();  // "&Tables"
    void BitBtn1Click();  // "Chart"
    void Button3Click();  // "Click for impact estimates"
    void BitBtn3Click();  // "&Save"
    void Button1Click();  // "&Close"
    void BitBtn4Click();  // "&Print"
    void Button5Click();  // "&Default"
    void Button2Click();  // "Add"

    Ui::TForm5Ui& ui() const { return *ui_; }

    std::int32_t params_refresh = -1;  // non-zero: the next activation reloads the screen
    std::int32_t params_error = 0;     // result of the last check: 0 passed, -1 failed
    std::int32_t shown_interval = 0;   // the class width in which the screen shows the risks
    std::int32_t last_record = -1;     // cur_record at the last deactivation

protected:
    void FormActivate() override;
    void FormDeactivate() override;
    bool FormCloseQuery() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate();
    void connectHandlers();
    void connectTyping();
    void loadEndpoints();
    void fillCutOffList();
    void setIntervalLabel(std::int32_t index);
    void setCalculatingButtons(bool enabled);
    void takeSnapshots();
    bool editsChanged() const;
    bool riskEditsChanged() const;
    bool endpointChosen();
    bool prepareCalculation();
    void showQuickEstimates();

    assessment::AssessmentState& aq();

    std::unique_ptr<Ui::TForm5Ui> ui_;
    std::array<QLineEdit*, 4> valueEdits_{};   // editb_inc, rr, rr_l, rr_u
    std::array<QString, 4> params_snapshot;    // their texts as last loaded, saved or converted
    long double checked_incidence_ = 0;        // the yearly incidence that the last check read
};
