// One record on both record screens: a save from either screen writes the record shown, with both
// screens' typing, under the record's own key, after the checks of the air-quality typing; a save
// that is refused writes neither file.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include "assessment/Unit5.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/tests/location_fixture.h"
#include "ui_TForm5.h"

using namespace assessment;
using platform::testing::activateForm;

namespace {

constexpr int kSO2 = 1;
constexpr int kPM10 = 2;

class BothRecordScreens : public RecordScreens {
protected:
    Program& openBoth(const std::string& data) {
        Program& p = startWith(data, "0 47.07|15.44|Alpha\r\n");
        activateForm(f3);
        activateForm(f4);
        return p;
    }
};

TEST_F(BothRecordScreens, ASaveFromEitherScreenTakesBothScreensTypingUnderTheRecordsOwnKey) {
    // The parameter file gives SO2 the class width per 1.
    writeFile(workDir + "params.tab", defaultParams() +
                                          "1 0  1.00000000000000E+0003  1.00600000000000E+0000  "
                                          "1.00400000000000E+0000  1.00800000000000E+0000 0 3 2\r\n");
    std::string lines[] = {recordLine(validRecord(0, kPM10, 2001)), recordLine(validRecord(0, kPM10, 2002))};
    Program& p = openBoth(lines[0] + lines[1]);
    // From the location screen's ">" on record 1, then from the air-quality screen's "<" on record 2.
    for (int row : {0, 1}) {
        SCOPED_TRACE(row);
        activateForm(f3);
        e3("latstr")->setText(row ? "48.5" : "47.5");
        e3("tech_body")->setText("Agency");
        activateForm(f4);
        f4->focusControl(e4("Editann_mean"));
        e4("Editann_mean")->setText("55");  // not left
        activateForm(p.Form5);              // the parameters screen shows SO2, per 1
        pick(p.Form5->ui().editpol, kSO2);
        DialogScript::answer(Button::Yes);  // Save changes?
        (row ? b4("BitBtn4") : b3("BitBtn5"))->click();
        auto saved = validRecord(0, kPM10, 2001 + row);
        saved[kFieldAnnualMean] = 55;
        lines[row] = recordLine(saved, {"", "", "", "Agency"});
        EXPECT_EQ(dataFile(), lines[0] + lines[1]);
        EXPECT_EQ(townFile(), row ? "0 48.5|15.44|Alpha\r\n" : "0 47.5|15.44|Alpha\r\n");
    }
    // Coming back to typing in the record puts its own pollutant and class width back.
    enterAndLeave(f4, e4("Editann_mean"), "56", e4("Editwinter_mean"));
    activateForm(p.Form5);
    pick(p.Form5->ui().editpol, kSO2);
    activateForm(f4);
    EXPECT_EQ(p.aq.cur_pollutant, kPM10);
    EXPECT_EQ(e4("editpol")->text(), "PM10");
    EXPECT_EQ(l4("Label2")->text(), "10-19");
}

TEST_F(BothRecordScreens, AirQualityTypingSavedFromTheLocationScreenPassesItsChecksFirst) {
    const std::string data = recordLine(validRecord(0, kPM10, 2001)) + recordLine(validRecord(0, kPM10, 2002));
    Program& p = openBoth(data);
    enterAndLeave(f4, e4("edit1"), "900", e4("Editann_mean"));
    e4("Editann_mean")->setText("0");
    activateForm(f3);
    e3("latstr")->setText("47.5");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // Data capture: ...
    DialogScript::answer(Button::Ok);   // Total number of days > 366!
    DialogScript::answer(Button::Ok);   // Annual mean must be > 0!
    b3("BitBtn5")->click();
    EXPECT_EQ(boxTexts(),
              (std::vector<QString>{"Save changes?", "Data capture: Summer and Winter do not add up to Annual!",
                                    "Total number of days > 366!", "Annual mean must be > 0!"}));
    EXPECT_EQ(dataFile(), data);
    EXPECT_EQ(townFile(), "0 47.07|15.44|Alpha\r\n");
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_TRUE(f4->isActiveForm());
    EXPECT_EQ(f4->activeControl(), e4("edit1"));  // the first field that failed
}

TEST_F(BothRecordScreens, ALineThatCannotBeReadHoldsUpNeitherTheButtonsNorNewAndARefusedSaveWritesNoFile) {
    std::string bad = recordLine(validRecord(0, kPM10, 2002));
    bad.replace(bad.find(" 2002 "), 6, " 20x2 ");
    const std::string data = recordLine(validRecord(0, kPM10, 2001)) + bad + recordLine(validRecord(0, kPM10, 2003));
    Program& p = openBoth(data);
    activateForm(f3);
    DialogScript::answer(Button::Ok);  // Invalid numeric input
    b3("BitBtn5")->click();
    EXPECT_EQ(p.aq.cur_record, 2);
    for (const char* button : {"BitBtn4", "BitBtn5"}) {
        EXPECT_TRUE(b3(button)->isEnabled()) << button;
        EXPECT_TRUE(b4(button)->isEnabled()) << button;
    }
    e3("latstr")->setText("47.5");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);
    b3("BitBtn1")->click();  // "&Close"
    EXPECT_EQ(platform::testing::lastBoxText(),
              "\"data_rec.dat\" could not be read at line 2 (Invalid numeric input). It is not changed.");
    EXPECT_EQ(townFile(), "0 47.07|15.44|Alpha\r\n");
    EXPECT_EQ(dataFile(), data);
    DialogScript::answer(Button::No);  // Save changes?
    b3("Button2")->click();            // "&New" counts the key past the line
    EXPECT_EQ(p.aq.cur_record, 4);
}

TEST_F(BothRecordScreens, ASaveThatTheDataFileRefusesWritesNoFileAndKeepsTheTyping) {
    const std::string data = recordLine(validRecord(0, kPM10, 2001)) + recordLine(validRecord(0, kPM10, 2002));
    const std::string path = workDir + "data_rec.dat";
    struct Row {
        std::string contents;  // the data file as another program left it
        bool lock;             // another program holds the data file's lock
        std::string refusal;
    };
    const Row rows[] = {{data, true, path + " is being saved by another program"},
                        {"\xEF\xBB\xBF" + data + "\xFF\r\n", false,
                         "Line 3 of \"data_rec.dat\" is not UTF-8 text, as the file's byte-order mark says it is."}};
    Program& p = openBoth(data);
    activateForm(f3);
    e3("latstr")->setText("47.5");
    for (const Row& row : rows) {
        SCOPED_TRACE(row.refusal);
        writeFile(path, row.contents);
        const int other = ::open(path.c_str(), O_RDONLY);
        if (row.lock) {
            ASSERT_EQ(::flock(other, LOCK_EX), 0);
        }
        DialogScript::answer(Button::Yes);  // Save changes?
        DialogScript::answer(Button::Ok);   // the refusal
        b3("BitBtn5")->click();             // ">"
        ::close(other);
        EXPECT_EQ(platform::testing::lastBoxText().toStdString(), row.refusal);
        EXPECT_EQ(p.aq.cur_record, 1);
        EXPECT_EQ(p.aq.aq_changed, -1);
        EXPECT_EQ(townFile(), "0 47.07|15.44|Alpha\r\n");
        EXPECT_EQ(dataFile(), row.contents);
    }
}

}  // namespace
