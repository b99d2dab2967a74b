#pragma once
// The location screen: the town, its coordinates, the pollutant, year, class width, exposed
// population, station count and the two descriptive texts of the current record. It owns the
// location tables and "town.tab", and the record operations that every assessment screen uses.
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/Form.h"

class QComboBox;
namespace Ui { class TForm3Ui; }
namespace assessment { struct AssessmentState; }

// Location
class TForm3 : public platform::Form {
    Q_OBJECT
public:
    explicit TForm3(QWidget* parent = nullptr);
    ~TForm3() override;

    // Record operations.
    // Loads record n of the data file into the record and both record screens (n = 0: a message,
    // the record stays). cur_record is set by the caller.
    void show_record(std::int32_t n);
    // The number of lines of the data file with the current record's key.
    std::int32_t rec_exists();
    // Asks, then drops line cur_record of the data file and shows the neighbouring record.
    void delete_record();
    // Prepares the screen for a new record.
    void fillnew();

    // Copies the screen into the location tables and the record, then the air-quality screen.
    void fill_data();
    // Saves the record through the air-quality screen's save, with its checks only while that
    // screen holds typing of its own. False when a check failed: nothing was written.
    bool save_data();
    // The current town's entry takes the name and coordinates shown.
    void store_town();

    // Reads "town.tab" of the working directory into the location tables and the town list.
    void load_towns();

    // "&New": offers to save, then prepares a new record past the last line.
    void Button2Click();

    // The controls, for the screens that read and write them.
    Ui::TForm3Ui& controls() { return *ui_; }

protected:
    void FormActivate() override;
    bool FormCloseQuery() override;

private:
    void connectHandlers();
    void makeEditable(QComboBox* box, void (TForm3::*handler)());
    void setNewLocationMode(bool on);
    void markChanged();
    void showIntervalIndex();
    void stepRecord(int direction);
    void showFields();
    void rebuildTownList();
    enum class Saved { Go, Duplicate, Stop };
    // Offers to save a changed record and checks its key: Go on, a Duplicate key, or Stop (the
    // typing could not be taken or a check failed; nothing was written).
    Saved saveAndCheck();
    void enableRecordButtons();
    int townPosition(std::int32_t town) const;  // the town list's position of entry `town`, or -1
    void warnDuplicate();
    bool pollutantUnchanged() const;

    void BitBtn1Click();  // "&Close"
    void BitBtn3Click();  // "&Print"
    void BitBtn4Click();  // "<"
    void BitBtn5Click();  // ">"
    void BitBtn6Click();  // "DEL"
    void Button1Click();  // "Next"
    void Button3Click();  // "Add"
    void BitBtn2Click();  // "Save and Go to Air Quality data"
    void polboxChange();
    void agglomChange();
    void intervalChange();
    void yearChange();
    void countryChange();
    void exp_popChange();
    void prof_statChange();

    assessment::AssessmentState& aq();

    std::unique_ptr<Ui::TForm3Ui> ui_;
    std::vector<int> townIndices_;  // the table index of each position of the town list
};
