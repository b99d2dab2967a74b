// The air-quality data screen driven through its controls: leave handlers, the checks before a
// save, the import of class counts, "CALC", the pollutant-dependent layout and printing.
#include <QScrollArea>

#include "assessment/Unit1.h"
#include "assessment/Unit5.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/tests/location_fixture.h"
#include "platform/testing/PrintedPages.h"
#include "ui_TForm5.h"

using namespace assessment;

namespace {

constexpr int kPM10 = 2;
constexpr int kPb = 4;
constexpr int kO3OneHour = 5;
constexpr int kO3EightHour = 6;
constexpr int kCO = 9;
constexpr int kBaP = 11;
constexpr int kPM10LongTerm = 12;

}  // namespace

class AirQualityScreen : public RecordScreens {
protected:
    // Starts with one record and shows the air-quality screen.
    Program& open(const std::map<int, long long>& fields, const std::vector<std::string>& tails = {"", "", "", ""}) {
        return openLines(recordLine(fields, tails));
    }
    // Starts with the PM10 records of 2001 and 2002 and shows the first on the air-quality screen.
    Program& openTwoYears() {
        return openLines(recordLine(validRecord(0, kPM10, 2001)) + recordLine(validRecord(0, kPM10, 2002)));
    }
    Program& openLines(const std::string& lines) {
        data = lines;
        Program& p = startWith(data, "0 1|1|Alpha\r\n");
        f4->showForm();
        return p;
    }
    // The user saves through "&Close" and answers "Save changes?" with Yes.
    void closeAndSave() {
        DialogScript::answer(Button::Yes);
        b4("Button1")->click();
    }
    // A file of two equal records with the first one on the screens; its line.
    std::string showFirstOfTwo(const std::map<int, long long>& fields) {
        const std::string line = recordLine(fields);
        writeFile(workDir + "data_rec.dat", line + line);
        program().aq.cur_record = 1;
        program().aq.cur_pollutant = static_cast<std::int32_t>(fields.at(kFieldPollutant));
        f3->show_record(1);
        DialogScript::clearShown();
        return line;
    }
    std::string data;
};

TEST_F(AirQualityScreen, LeavingAClassEditMarksTheRecordOnlyWhenItDiffersFromItsField) {
    Program& p = open(validRecord(0, kPM10, 2001));
    ASSERT_EQ(e4("edit3")->text(), "65");
    EXPECT_EQ(p.aq.aq_changed, 0);
    for (int k = 1; k <= 25; ++k) {
        QLineEdit* edit = e4(QStringLiteral("edit%1").arg(k).toLatin1().constData());
        enterAndLeave(f4, edit, edit->text(), e4("Editann_mean"));
    }
    EXPECT_EQ(p.aq.aq_changed, 0);
    enterAndLeave(f4, e4("edit3"), "66", e4("edit4"));
    EXPECT_EQ(p.aq.aq_changed, -1);
    EXPECT_EQ(dataFile(), data);  // leaving writes nothing
}

TEST_F(AirQualityScreen, StationNamesCompareWithTheNamesLastLoaded) {
    Program& p = open(validRecord(0, kPM10, 2001), {"Low", "High", "", ""});
    enterAndLeave(f4, e4("Editlow_name"), "Low", e4("Edithigh_name"));
    enterAndLeave(f4, e4("Edithigh_name"), "High", e4("Editlow_name"));
    EXPECT_EQ(p.aq.aq_changed, 0);
    enterAndLeave(f4, e4("Editlow_name"), "Lox", e4("Edithigh_name"));
    EXPECT_EQ(p.aq.aq_changed, -1);
}

TEST_F(AirQualityScreen, EmptyClassEditIsAConversionErrorWhileEmptyWinterDaysIsNot) {
    Program& p = open(validRecord(0, kPM10, 2001));
    DialogScript::answer(Button::Ok);
    enterAndLeave(f4, e4("edit5"), "", e4("edit6"));
    EXPECT_EQ(boxTexts(), std::vector<QString>{"'' is not a valid integer value"});
    EXPECT_EQ(f4->activeControl(), e4("edit5"));  // the focus stays in the edit
    EXPECT_EQ(p.aq.aq_changed, 0);

    DialogScript::clearShown();
    e4("edit5")->setText("0");
    enterAndLeave(f4, e4("Editwin_days"), "", e4("Editsum_days"));
    EXPECT_TRUE(DialogScript::boxes().empty());
    EXPECT_EQ(p.aq.aq_changed, 0);
}

TEST_F(AirQualityScreen, LeavingSummerMaximumMovesTheFocusByTheStationCount) {
    auto fields = validRecord(0, kPM10, 2001);
    open(fields);
    f4->focusControl(e4("Editsummer_max"));
    f4->focusControl(e4("Editann_mean"));
    EXPECT_EQ(f4->activeControl(), e4("Editwin_days"));

    fields[kFieldStations] = 3;
    data = recordLine(fields);
    writeFile(workDir + "data_rec.dat", data);
    f3->show_record(1);
    f4->focusControl(e4("Editsummer_max"));
    f4->focusControl(e4("Editann_mean"));
    EXPECT_EQ(f4->activeControl(), e4("Editlow_name"));
}

TEST_F(AirQualityScreen, WinterAndSummerThatDoNotAddUpAskAndOkSaves) {
    Program& p = open(validRecord(0, kPM10, 2001));
    enterAndLeave(f4, e4("Editsum_days"), "180", e4("Editann_mean"));
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // Data capture: ...
    b4("Button1")->click();
    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    const auto& capture = DialogScript::boxes()[1];
    EXPECT_EQ(capture.text, "Data capture: Summer and Winter do not add up to Annual!");
    EXPECT_EQ(capture.caption, "zelk");
    EXPECT_EQ(capture.buttons, (std::vector<Button>{Button::Ok, Button::Cancel}));
    auto saved = validRecord(0, kPM10, 2001);
    saved[kFieldSummerDays] = 180;
    EXPECT_EQ(dataFile(), recordLine(saved));
    EXPECT_TRUE(f4->isHidden());
    EXPECT_EQ(p.aq.aq_changed, 0);
}

TEST_F(AirQualityScreen, WinterAndSummerThatDoNotAddUpAndCancelKeepTheRecordUnsaved) {
    Program& p = open(validRecord(0, kPM10, 2001));
    const std::string line = showFirstOfTwo(validRecord(0, kPM10, 2001));  // "next record" asks
    enterAndLeave(f4, e4("Editsum_days"), "180", e4("Editann_mean"));
    DialogScript::answer(Button::Yes);     // Save changes?
    DialogScript::answer(Button::Cancel);  // Data capture: ...
    b4("BitBtn5")->click();
    EXPECT_EQ(boxTexts(),
              (std::vector<QString>{"Save changes?", "Data capture: Summer and Winter do not add up to Annual!"}));
    EXPECT_EQ(dataFile(), line + line);
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.aq_changed, -1);
    EXPECT_EQ(p.aq.aq_valid, -1);
    EXPECT_EQ(e4("Editsum_days")->text(), "180");
}

TEST_F(AirQualityScreen, MoreThan366DaysStopTheSaveForDailyPollutantsOnly) {
    auto fields = validRecord(0, kPM10, 2001);
    fields[classField(3)] = 67;  // 367 days, winter 180 and summer 187
    fields[kFieldSummerDays] = 187;
    open(fields);
    for (int pollutant : {kPM10, kCO, kPM10LongTerm, kPb, kBaP}) {
        SCOPED_TRACE(pollutant);
        fields[kFieldPollutant] = pollutant;
        const std::string line = showFirstOfTwo(fields);
        enterAndLeave(f4, e4("Editann_mean"), "41", e4("Editwinter_mean"));
        DialogScript::answer(Button::Yes);
        if (pollutant == kPM10) {
            DialogScript::answer(Button::Ok);
            b4("BitBtn5")->click();
            EXPECT_EQ(boxTexts(), (std::vector<QString>{"Save changes?", "Total number of days > 366!"}));
            EXPECT_EQ(dataFile(), line + line);
            EXPECT_EQ(program().aq.cur_record, 1);
            continue;
        }
        b4("BitBtn5")->click();
        EXPECT_EQ(boxTexts(), std::vector<QString>{"Save changes?"});
        auto saved = fields;
        saved[kFieldAnnualMean] = 41;
        saved[kFieldAnnualDays] = 367;
        EXPECT_EQ(dataFile(), recordLine(saved) + line);
        EXPECT_EQ(program().aq.cur_record, 2);
    }
}

TEST_F(AirQualityScreen, AnnualMeanMustBePositiveUnderThePollutantsOwnCaption) {
    const std::pair<int, const char*> cases[] = {{kPM10, "Annual mean must be > 0!"},
                                                 {kPb, "Annual mean must be > 0!"},
                                                 {kO3OneHour, "Max annual 1 hr avg must be > 0!"},
                                                 {kO3EightHour, "Max annual 8 hr avg must be > 0!"}};
    open(validRecord(0, kPM10, 2001));
    for (const auto& [pollutant, message] : cases) {
        SCOPED_TRACE(message);
        const std::string line = showFirstOfTwo(validRecord(0, pollutant, 2001));
        enterAndLeave(f4, e4("Editann_mean"), "0", e4("Editwinter_mean"));
        DialogScript::answer(Button::Yes);
        DialogScript::answer(Button::Ok);
        b4("BitBtn5")->click();
        EXPECT_EQ(boxTexts(), (std::vector<QString>{"Save changes?", message}));
        EXPECT_EQ(dataFile(), line + line);
    }
}

TEST_F(AirQualityScreen, ImportOfTwentyFiveCountsAndTheClassWidth) {
    Program& p = open(validRecord(0, kPM10, 2001));
    const std::string path = scratchFile("classes.txt");
    std::string numbers;
    for (int i = 1; i <= 25; ++i) numbers += std::to_string(i) + (i % 5 ? " " : "\r\n");
    writeFile(path, numbers + "\t1\r\n99\r\n");
    DialogScript::answerFile(QString::fromStdString(path));
    b4("Button3")->click();
    ASSERT_EQ(DialogScript::fileDialogs().size(), 1u);
    EXPECT_EQ(DialogScript::fileDialogs()[0].options.defaultExt, "txt");
    EXPECT_EQ(DialogScript::fileDialogs()[0].options.filter, "Text files  (*.txt)");
    for (int k = 1; k <= 25; ++k) EXPECT_EQ(e4(QStringLiteral("edit%1").arg(k).toLatin1().constData())->text(), QString::number(k));
    EXPECT_EQ(e4("Editann_days")->text(), "325");
    EXPECT_EQ(p.aq.interval_index, 1);
    EXPECT_EQ(p.aq.aq_changed, -1);
    EXPECT_EQ(p.aq.file_name, path);
    EXPECT_EQ(dataFile(), data);
}

TEST_F(AirQualityScreen, ImportOfTenCountsGivesZerosForTheRest) {
    Program& p = open(validRecord(0, kPM10, 2001));
    const std::string path = scratchFile("ten.txt");
    writeFile(path, "1 2 3 4 5 6 7 8 9 10");
    DialogScript::answerFile(QString::fromStdString(path));
    b4("Button3")->click();
    EXPECT_EQ(e4("edit10")->text(), "10");
    for (int k = 11; k <= 25; ++k) EXPECT_EQ(e4(QStringLiteral("edit%1").arg(k).toLatin1().constData())->text(), "0");
    EXPECT_EQ(e4("Editann_days")->text(), "55");
    EXPECT_EQ(p.aq.interval_index, 0);
}

TEST_F(AirQualityScreen, ImportOfABadFileOrACancelChangesNothing) {
    Program& p = open(validRecord(0, kPM10, 2001));
    const std::string path = scratchFile("bad.txt");
    writeFile(path, "1 2 three 4");
    DialogScript::answerFile(QString::fromStdString(path));
    DialogScript::answer(Button::Ok);
    b4("Button3")->click();
    EXPECT_EQ(boxTexts(), std::vector<QString>{"Invalid numeric input"});
    EXPECT_EQ(e4("edit1")->text(), "100");
    EXPECT_EQ(p.aq.aq_record[classField(1)], 100);
    EXPECT_EQ(p.aq.aq_changed, 0);
    DialogScript::cancelFile();
    b4("Button3")->click();
    EXPECT_EQ(e4("edit1")->text(), "100");
}

TEST_F(AirQualityScreen, CalcDoesNothingWithAnEmptyFirstClass) {
    Program& p = open(validRecord(0, kPM10, 2001));
    enterAndLeave(f4, e4("edit2"), "201", e4("edit3"));
    e4("edit1")->setText("");
    b4("BitBtn1")->click();
    EXPECT_TRUE(DialogScript::boxes().empty());
    EXPECT_FALSE(p.Form5->isVisible());
    EXPECT_EQ(p.aq.aq_changed, -1);
}

TEST_F(AirQualityScreen, CalcAfterNoUsesTheEditedValuesAndKeepsTheFile) {
    Program& p = open(validRecord(0, kPM10, 2001));
    enterAndLeave(f4, e4("edit1"), "150", e4("edit2"));
    DialogScript::answer(Button::No);
    b4("BitBtn1")->click();
    EXPECT_EQ(p.aq.days_total, 415);
    EXPECT_EQ(p.aq.exposed_pop, 250);
    EXPECT_EQ(p.aq.pollutant_text, "PM10");
    EXPECT_EQ(p.aq.aq_record[classField(1)], 150);
    EXPECT_EQ(p.aq.aq_changed, 0);
    EXPECT_TRUE(p.Form5->isVisible());
    EXPECT_EQ(dataFile(), data);
}

TEST_F(AirQualityScreen, FailedCheckAtCalcStopsOnlyThatCommand) {
    Program& p = openTwoYears();
    enterAndLeave(f4, e4("Editann_mean"), "0", e4("Editwinter_mean"));
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // Annual mean must be > 0!
    b4("BitBtn1")->click();
    EXPECT_FALSE(p.Form5->isVisible());
    EXPECT_EQ(p.aq.aq_changed, -1);  // the typing stays marked
    EXPECT_EQ(p.aq.aq_valid, -1);
    EXPECT_EQ(dataFile(), data);
    DialogScript::answer(Button::No);  // Save changes?
    b4("BitBtn5")->click();  // the next command is not held up by the failed check
    EXPECT_EQ(p.aq.cur_record, 2);
    EXPECT_EQ(e4("year")->text(), "2002");
}

TEST_F(AirQualityScreen, LeadHidesTheClassesAndStoresZerosForEmptyEdits) {
    Program& p = open(validRecord(0, kPb, 2001));
    EXPECT_TRUE(e4("edit1")->isHidden());
    EXPECT_TRUE(e4("edit25")->isHidden());
    EXPECT_TRUE(l4("Label1")->isHidden());
    EXPECT_TRUE(l4("Label60")->isHidden());
    EXPECT_FALSE(b4("BitBtn1")->isEnabled());
    EXPECT_FALSE(b4("Button3")->isEnabled());
    EXPECT_TRUE(e4("Editann_p")->isHidden());
    EXPECT_TRUE(e4("Editann_max")->isHidden());
    f4->clear_data();
    enterAndLeave(f4, e4("Editann_mean"), "5", e4("Editlow_name"));
    EXPECT_EQ(p.aq.aq_changed, -1);
    closeAndSave();
    EXPECT_EQ(dataFile(),
              recordLine({{kFieldTown, 0}, {kFieldPollutant, kPb}, {kFieldYear, 2001}, {kFieldAnnualMean, 5}}));
}

TEST_F(AirQualityScreen, PollutantDecidesUnitsCaptionsAndVisibility) {
    struct Case {
        int pollutant;
        const char* countUnit;
        const char* classUnit;
        const char* info;
        const char* concentration;
        bool classes, percentiles, maxima;
        const char* meanCaption;
    };
    const Case cases[] = {
        {kPM10, "days", "days", "daily mean", "\u00b5g/m3", true, true, true, "Annual mean"},
        {kPb, "days", " \u2030population", "annual mean", "\u00b5g/m3", false, false, false, "Annual mean"},
        {kBaP, "days", " \u2030population", "annual mean", "ng/m3", false, false, false, "Annual mean"},
        {kO3OneHour, "days", "days", "Max 1 hour mean", "\u00b5g/m3", true, true, false, "Max annual 1 hr avg"},
        {kO3EightHour, "days", "days", "Max 8 hour mean", "\u00b5g/m3", true, true, false, "Max annual 8 hr avg"},
        {kCO, "hours", "hours", "1 hour mean", "mg/m3", true, true, false, "Annual mean"},
        {kPM10LongTerm, "days", " \u2030population", "annual mean", "\u00b5g/m3", true, false, false, "Annual mean"},
    };
    Program& p = open(validRecord(0, kPM10, 2001));
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pollutant);
        p.aq.cur_pollutant = c.pollutant;
        e4("editpol")->setText(QString());
        EXPECT_EQ(e4("editpol")->text(), QString::fromLatin1(assessment::kPollutantNames[c.pollutant]));
        EXPECT_EQ(l4("Label59")->text(), c.countUnit);
        EXPECT_EQ(l4("Label60")->text(), QString::fromUtf8(c.classUnit));
        EXPECT_EQ(l4("Label61")->text(), QString::fromUtf8(c.classUnit));
        EXPECT_EQ(l4("infolabel")->text(), c.info);
        EXPECT_EQ(l4("Label62")->text(), QString::fromUtf8(c.concentration));
        EXPECT_EQ(l4("Label80")->text(), QString::fromUtf8(c.concentration));
        EXPECT_EQ(!e4("edit13")->isHidden(), c.classes);
        EXPECT_EQ(b4("BitBtn1")->isEnabled(), c.classes);
        EXPECT_EQ(!e4("ann98high")->isHidden(), c.percentiles);
        EXPECT_EQ(!e4("Edithigh_summer_max")->isHidden(), c.maxima);
        EXPECT_EQ(l4("Label26")->text(), c.meanCaption);
        EXPECT_EQ(l4("Label41")->text(), c.meanCaption);
        EXPECT_EQ(p.aq.long_term, c.pollutant == kPM10LongTerm);
    }
}

TEST_F(AirQualityScreen, ClassCaptionsFollowTheClassWidth) {
    Program& p = open(validRecord(0, kPM10, 2001));
    EXPECT_EQ(l4("Label2")->text(), "10-19");
    p.aq.interval_index = 1;
    f4->make_label();
    EXPECT_EQ(l4("Label2")->text(), " 5 - 9");
    EXPECT_EQ(l4("Label25")->text(), ">=200");
}

// A record's class width reaches the captions only at the next make_label: loading the record
// builds them, through the pollutant it shows, for the width in use before.
TEST_F(AirQualityScreen, StartUpRecordKeepsTheCaptionsOfTheWidthInUseBefore) {
    // The parameter file's last line leaves the class width 2 (per 1) before the first record.
    writeFile(workDir + "params.tab", defaultParams() + "0 0  1.00000000000000E+0003  1.00600000000000E+0000  "
                                                        "1.00400000000000E+0000  1.00800000000000E+0000 0 3 2\r\n");
    auto pm10PerFive = validRecord(0, kPM10, 2001);
    pm10PerFive[29] = 1;
    Program& p = startWith(recordLine(pm10PerFive), "0 1|1|Alpha\r\n");
    EXPECT_EQ(p.aq.interval_index, 1);
    EXPECT_EQ(p.aq.class_bounds[1].str(), "1.0");
    EXPECT_EQ(p.aq.class_bounds[24].str(), "40.");
    EXPECT_EQ(p.aq.class_captions[2].str(), "1.0-1.9");
    EXPECT_EQ(l4("Label2")->text(), "1.0-1.9");
    EXPECT_EQ(l4("Label25")->text(), ">=40.0");
    EXPECT_EQ(box3("interval")->currentIndex(), 1);
    // Activation shows the record again and then builds the captions of its width.
    ASSERT_TRUE(platform::testing::activateForm(f4));
    EXPECT_EQ(l4("Label2")->text(), " 5 - 9");
    EXPECT_EQ(p.aq.class_bounds[1].str(), " 5 ");
}

TEST_F(AirQualityScreen, RecordOfAnotherPollutantShownFromTheLocationScreenKeepsTheCaptions) {
    auto so2PerOne = validRecord(0, 1, 2002);
    so2PerOne[29] = 2;
    Program& p = startWith(recordLine(validRecord(0, kPM10, 2001)) + recordLine(so2PerOne), "0 1|1|Alpha\r\n");
    ASSERT_TRUE(platform::testing::activateForm(f4));
    ASSERT_EQ(l4("Label2")->text(), "10-19");
    ASSERT_TRUE(platform::testing::activateForm(f3));
    b3("BitBtn5")->click();  // next record
    EXPECT_EQ(p.aq.cur_record, 2);
    EXPECT_EQ(e4("editpol")->text(), "SO2");
    EXPECT_EQ(p.aq.interval_index, 2);
    EXPECT_EQ(box3("interval")->currentIndex(), 2);
    EXPECT_EQ(l4("Label2")->text(), "10-19");
    EXPECT_EQ(l4("Label25")->text(), ">=400");
    EXPECT_EQ(p.aq.class_bounds[1].str(), "10");
    f4->make_label();
    EXPECT_EQ(l4("Label2")->text(), "1.0-1.9");

    // The air-quality screen's record buttons build the captions after the record is shown.
    ASSERT_TRUE(platform::testing::activateForm(f4));
    EXPECT_EQ(l4("Label2")->text(), "1.0-1.9");
    b4("BitBtn4")->click();  // previous record: PM10 per 10
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(e4("editpol")->text(), "PM10");
    EXPECT_EQ(l4("Label2")->text(), "10-19");
    EXPECT_EQ(p.aq.class_bounds[24].str(), "400");
}

TEST_F(AirQualityScreen, RecordButtonsMoveAfterASaveAndStayAfterAFailedCheck) {
    Program& p = openTwoYears();
    EXPECT_FALSE(b4("BitBtn4")->isEnabled());
    EXPECT_TRUE(b4("BitBtn5")->isEnabled());
    enterAndLeave(f4, e4("Editann_mean"), "0", e4("Editwinter_mean"));
    DialogScript::answer(Button::Yes);
    DialogScript::answer(Button::Ok);
    b4("BitBtn5")->click();
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.aq_changed, -1);
    enterAndLeave(f4, e4("Editann_mean"), "45", e4("Editwinter_mean"));
    DialogScript::answer(Button::Yes);
    b4("BitBtn5")->click();
    EXPECT_EQ(p.aq.cur_record, 2);
    EXPECT_EQ(e4("year")->text(), "2002");
    auto first = validRecord(0, kPM10, 2001);
    first[kFieldAnnualMean] = 45;
    EXPECT_EQ(dataFile(), recordLine(first) + recordLine(validRecord(0, kPM10, 2002)));
    EXPECT_TRUE(b4("BitBtn4")->isEnabled());
    EXPECT_FALSE(b4("BitBtn5")->isEnabled());
    // Leaving a record button keeps the mark.
    enterAndLeave(f4, e4("edit1"), "7", b4("BitBtn4"));
    EXPECT_EQ(p.aq.aq_changed, -1);
    f4->focusControl(e4("edit2"));
    EXPECT_EQ(p.aq.aq_changed, -1);
}

TEST_F(AirQualityScreen, ALineThatCannotBeReadIsNeverOverwrittenAndTheButtonsPassIt) {
    std::string bad = recordLine(validRecord(0, kPM10, 2002));
    bad.replace(bad.find(" 2002 "), 6, " 20x2 ");
    const std::string first = recordLine(validRecord(0, kPM10, 2001));
    Program& p = openLines(first + bad + recordLine(validRecord(0, kPM10, 2003)));
    DialogScript::answer(Button::Ok);
    b4("BitBtn5")->click();  // the error; the screen still shows 2001
    EXPECT_EQ(p.aq.cur_record, 2);
    enterAndLeave(f4, e4("Editlow_name"), "note", e4("Edithigh_name"));
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);
    b4("Button1")->click();
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"Invalid numeric input", "Save changes?",
                                                "\"data_rec.dat\" could not be read at line 2 (Invalid numeric "
                                                "input). It is not changed."}));
    EXPECT_EQ(dataFile(), data);
    DialogScript::answer(Button::Yes);  // "Delete record?" is refused alike
    DialogScript::answer(Button::Ok);
    b4("BitBtn3")->click();
    EXPECT_EQ(dataFile(), data);

    DialogScript::answer(Button::No);  // Save changes?
    b4("BitBtn5")->click();            // past the bad line, where saving works again
    EXPECT_EQ(e4("year")->text(), "2003");
    enterAndLeave(f4, e4("Editlow_name"), "low", e4("Edithigh_name"));
    closeAndSave();
    EXPECT_EQ(dataFile(), first + bad + recordLine(validRecord(0, kPM10, 2003), {"low", "", "", ""}));
}

TEST_F(AirQualityScreen, DeleteFromTheAirQualityScreen) {
    Program& p = openTwoYears();
    DialogScript::answer(Button::Yes);
    b4("BitBtn3")->click();
    EXPECT_EQ(dataFile(), recordLine(validRecord(0, kPM10, 2002)));
    EXPECT_EQ(e4("year")->text(), "2002");
    EXPECT_EQ(p.aq.record_count, 1);
}

TEST_F(AirQualityScreen, NewGoesToTheLocationScreenWithANewRecord) {
    Program& p = open(validRecord(0, kPM10, 2001));
    b4("Button2")->click();
    EXPECT_TRUE(f4->isHidden());
    EXPECT_TRUE(f3->isVisible());
    EXPECT_EQ(p.aq.cur_record, 2);
    EXPECT_EQ(p.aq.record_count, 2);
    EXPECT_FALSE(b3("BitBtn2")->isHidden());
    EXPECT_EQ(p.aq.aq_valid, -1);
    EXPECT_EQ(dataFile(), data);
}

TEST_F(AirQualityScreen, NewByItsAcceleratorFirstLeavesTheEditAndSavesTheRecordShown) {
    const std::string rest = recordLine(validRecord(0, kPM10, 2002)) + recordLine(validRecord(0, kPM10, 2003));
    Program& p = openLines(recordLine(validRecord(0, kPM10, 2001)) + rest);
    f4->focusControl(e4("Editann_mean"));
    e4("Editann_mean")->setText("55");  // not left: the accelerator moves no focus
    DialogScript::answer(Button::Yes);  // Save changes?
    b4("Button2")->click();
    auto saved = validRecord(0, kPM10, 2001);
    saved[kFieldAnnualMean] = 55;
    EXPECT_EQ(boxTexts(), std::vector<QString>{"Save changes?"});
    EXPECT_EQ(dataFile(), recordLine(saved) + rest);
    EXPECT_EQ(p.aq.cur_record, 4);
}

TEST_F(AirQualityScreen, SecondCloseAfterAFailedCheckAsksAgainAndNoCloses) {
    Program& p = open(validRecord(0, kPM10, 2001));
    enterAndLeave(f4, e4("Editann_mean"), "-1", e4("Editwinter_mean"));
    DialogScript::answer(Button::Yes);
    DialogScript::answer(Button::Ok);
    b4("Button1")->click();
    EXPECT_TRUE(f4->isVisible());
    EXPECT_EQ(f4->activeControl(), e4("Editann_mean"));  // the field that failed
    DialogScript::answer(Button::No);
    b4("Button1")->click();
    EXPECT_TRUE(f4->isHidden());
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"Save changes?", "Annual mean must be > 0!", "Save changes?"}));
    EXPECT_EQ(dataFile(), data);
    EXPECT_EQ(p.aq.aq_record[kFieldAnnualMean], -1);
}

TEST_F(AirQualityScreen, PrintingLeavesTheForm410High) {
    open(validRecord(0, kPM10, 2001));
    f4->resize(719, 600);
    platform::testing::PrintedPages().printOnce(QString::fromStdString(scratchFile("aq.pdf")),
                                                [&] { b4("BitBtn2")->click(); }, [](QWidget&) { return true; });
    EXPECT_EQ(f4->height(), 410);
    EXPECT_EQ(f4->findChild<QScrollArea*>("ScrollBox")->height(), 351);
    EXPECT_FALSE(f4->findChild<QWidget*>("Panel1")->isHidden());
}

TEST_F(AirQualityScreen, TabFollowsTheEntryOrderAndLeavingByTabMarksTheRecord) {
    Program& p = open(validRecord(0, kPM10, 2001));
    ASSERT_TRUE(QTest::qWaitForWindowActive(f4));
    QLineEdit* winter = e4("Editwin_days");
    ASSERT_TRUE(winter->hasFocus());
    QTest::keyClick(winter, Qt::Key_Tab);
    EXPECT_TRUE(e4("Editsum_days")->hasFocus());
    QTest::keyClick(e4("Editsum_days"), Qt::Key_Tab);
    QLineEdit* first = e4("edit1");
    ASSERT_TRUE(first->hasFocus());
    EXPECT_EQ(p.aq.aq_changed, 0);
    first->selectAll();
    QTest::keyClicks(first, "101");
    QTest::keyClick(first, Qt::Key_Tab);
    EXPECT_TRUE(e4("edit2")->hasFocus());
    EXPECT_EQ(p.aq.aq_changed, -1);
}

TEST_F(AirQualityScreen, ClickingARecordButtonFromABadNumberShowsTheErrorAndStays) {
    Program& p = openTwoYears();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f4));
    f4->focusControl(e4("edit3"));
    e4("edit3")->setText("6x");
    DialogScript::answer(Button::Ok);
    QTest::mouseClick(b4("BitBtn5"), Qt::LeftButton);
    EXPECT_EQ(boxTexts(), std::vector<QString>{"'6x' is not a valid integer value"});
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(f4->activeControl(), e4("edit3"));
    EXPECT_EQ(dataFile(), data);
}

TEST_F(AirQualityScreen, TypingHereOrOnTheLocationScreenSurvivesAnotherScreenAndTheNextActivationSelects) {
    Program& p = openTwoYears();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f4));
    QLineEdit* winter = e4("Editwin_days");
    QTest::keyClicks(winter, "175");
    platform::testing::activateForm(p.Form1);
    platform::testing::activateForm(f4);
    EXPECT_EQ(winter->text(), "175");
    EXPECT_EQ(p.aq.aq_changed, -1);
    QTest::keyClicks(winter, "170");  // back in "winter", typing replaces its text
    EXPECT_EQ(winter->text(), "170");

    // Typed on the location screen, which shares the record: kept on both screens.
    platform::testing::activateForm(f3);
    e3("exp_pop")->setText("300");
    platform::testing::activateForm(f4);
    platform::testing::activateForm(f3);
    EXPECT_EQ(e3("exp_pop")->text(), "300");
    EXPECT_EQ(e4("exp_pop")->text(), "300");
    EXPECT_EQ(winter->text(), "170");
    DialogScript::answer(Button::No);  // Save changes? The next record is shown, afresh on both screens.
    b3("BitBtn5")->click();
    platform::testing::activateForm(f4);
    EXPECT_EQ(e4("year")->text(), "2002");
    EXPECT_EQ(winter->text(), "180");
    EXPECT_EQ(e4("exp_pop")->text(), "250");
    EXPECT_EQ(dataFile(), data);
}

TEST_F(AirQualityScreen, TheEndpointBoxEnteredAgainAfterCalcSelectsItsText) {
    Program& p = open(validRecord(0, kPM10, 2001));
    b4("BitBtn1")->click();  // "CALC"
    QComboBox* endpoint = p.Form5->ui().endpoint;
    platform::testing::clickOn(endpoint->lineEdit());
    platform::testing::activateForm(f4);
    b4("BitBtn1")->click();
    QTest::keyClicks(endpoint, "Asthma");
    EXPECT_EQ(endpoint->currentText(), "Asthma");
}
