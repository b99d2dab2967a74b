// The location screen driven through its controls: the location file, "Add", renaming, new
// records, the duplicate warning, closing, deleting and printing.
#include <filesystem>

#include "assessment/Unit1.h"
#include "assessment/core/AssessmentState.h"
#include "assessment/tests/location_fixture.h"
#include "platform/testing/PrintedPages.h"

using platform::testing::PrintedPages;

using namespace assessment;

namespace {

// A record of `pollutant` for town `town` in `year`, with a population of 250 and one station.
std::map<int, long long> keyed(int town, int pollutant, int year) {
    return {{kFieldTown, town}, {kFieldPollutant, pollutant}, {kFieldYear, year}, {kFieldPopulation, 250},
            {kFieldStations, 1}};
}

std::string threeRecords() {
    return RecordScreens::recordLine(keyed(0, 2, 2001)) + RecordScreens::recordLine(keyed(0, 2, 2002)) +
           RecordScreens::recordLine(keyed(0, 2, 2003));
}

std::string numberedTowns(int count, int firstId = 0) {
    std::string towns;
    for (int i = 0; i < count; ++i)
        towns += std::to_string(firstId + i) + " " + std::to_string(i) + "|" + std::to_string(-i) + "|Town" +
                 std::to_string(i) + "\r\n";
    return towns;
}

// The text a box shows: its current item's, or its placeholder when no item is current.
QString shownText(const QComboBox* box) {
    return box->currentIndex() < 0 && !box->isEditable() ? box->placeholderText() : box->currentText();
}

}  // namespace

using LocationScreen = RecordScreens;

TEST_F(LocationScreen, TownLineWithBlankInLatitudeIsReadWithoutItAndWrittenBackSo) {
    // Fields 31 to 33 belong to no screen and survive the save; 45, 60 and 61 are written as 0.
    Program& p = startWith(recordLine({{kFieldTown, 0}, {kFieldPollutant, 2}, {kFieldYear, 2001},
                                       {kFieldPopulation, 250}, {kFieldSpare1, 7}, {kFieldSpare2, -8},
                                       {kFieldSpare3, 9}, {kFieldStations, 1}, {kFieldZero1, 4}, {kFieldZero2, 5},
                                       {kFieldZero3, 6}},
                                      {"A", "B", "", ""}),
                           "3 45 .1|12|Old Town\r\n");
    EXPECT_EQ(p.aq.town_ids[0], 3);
    EXPECT_EQ(p.aq.town_lat[0].str(), "45.1");
    EXPECT_EQ(p.aq.town_long[0].str(), "12");
    EXPECT_EQ(p.aq.town_names[0].str(), "Old Town");
    EXPECT_EQ(p.aq.max_town_id, 3);
    EXPECT_EQ(box3("agglom")->currentText(), "Old Town");
    EXPECT_EQ(e3("latstr")->text(), "45.1");

    f3->showForm();
    e3("netw_affl")->setText("Net");
    DialogScript::answer(Button::Yes);  // Save changes?
    b3("BitBtn1")->click();  // &Close
    EXPECT_EQ(townFile(), "3 45.1|12|Old Town\r\n");
    EXPECT_EQ(dataFile(), recordLine({{kFieldTown, 0}, {kFieldPollutant, 2}, {kFieldYear, 2001},
                                      {kFieldPopulation, 250}, {kFieldSpare1, 7}, {kFieldSpare2, -8},
                                      {kFieldSpare3, 9}, {kFieldStations, 1}},
                                     {"A", "B", "Net", ""}));
    EXPECT_EQ(p.aq.aq_changed, 0);
}

TEST_F(LocationScreen, AddGivesTheNextIdAtTheNextIndexAndSaveWritesEveryTown) {
    Program& p = startWith(recordLine(keyed(0, 0, 2001)),
                           "0 1|1|Alpha\r\n1 2|2|Beta\r\n5 3|3|Gamma\r\n");
    f3->showForm();
    b3("Button2")->click();  // New
    EXPECT_FALSE(b3("Button3")->isHidden());

    typeInto(box3("agglom"), "Delta");
    e3("latstr")->setText("7");
    e3("longstr")->setText("8");
    b3("Button3")->click();
    EXPECT_EQ(p.aq.cur_town, 3);
    EXPECT_EQ(p.aq.town_ids[3], 6);
    EXPECT_EQ(p.aq.town_count, 3);

    typeInto(box3("agglom"), "delta");  // differs only in case: nothing happens
    b3("Button3")->click();
    EXPECT_EQ(box3("agglom")->count(), 4);

    typeInto(box3("agglom"), "Epsilon");
    e3("latstr")->setText("9 N");
    e3("longstr")->setText("10");
    b3("Button3")->click();
    EXPECT_EQ(p.aq.cur_town, 4);
    EXPECT_EQ(p.aq.town_ids[4], 7);
    EXPECT_EQ(box3("agglom")->count(), 5);
    EXPECT_EQ(readFile(workDir + "town.tab"), "0 1|1|Alpha\r\n1 2|2|Beta\r\n5 3|3|Gamma\r\n");  // not yet written

    e3("exp_pop")->setText("90");
    b3("BitBtn2")->click();  // Save and Go to Air Quality data
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\n1 2|2|Beta\r\n5 3|3|Gamma\r\n6 7|8|Delta\r\n7 9 N|10|Epsilon\r\n");
    EXPECT_EQ(dataFile(), recordLine(keyed(0, 0, 2001)) +
                              recordLine({{kFieldTown, 4}, {kFieldPopulation, 90}}, {"", "", "", ""}));
    EXPECT_TRUE(f3->isHidden());
    EXPECT_TRUE(f4->isVisible());
}

TEST_F(LocationScreen, AddRefusesOnlyAnEmptyNameAndKeepsANameOfBlanks) {
    Program& p = startWith(recordLine({{1, 0}, {2, 0}, {3, 2001}, {30, 250}, {34, 1}}),
                           "0 1|1|Alpha\r\n1 2|2|Beta\r\n5 3|3|Gamma\r\n");
    f3->showForm();
    b3("Button2")->click();  // New
    typeInto(box3("agglom"), "");
    b3("Button3")->click();
    EXPECT_EQ(box3("agglom")->count(), 3);
    EXPECT_EQ(p.aq.max_town_id, 5);

    typeInto(box3("agglom"), "   ");
    e3("latstr")->setText("7");
    e3("longstr")->setText("8");
    b3("Button3")->click();
    ASSERT_EQ(box3("agglom")->count(), 4);
    EXPECT_EQ(box3("agglom")->itemText(3), "   ");
    EXPECT_EQ(p.aq.cur_town, 3);
    EXPECT_EQ(p.aq.town_ids[3], 6);
    EXPECT_EQ(p.aq.town_names[3].str(), "   ");

    e3("year")->setText("2002");
    b3("BitBtn2")->click();  // Save and Go to Air Quality data
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\n1 2|2|Beta\r\n5 3|3|Gamma\r\n6 7|8|   \r\n");
    EXPECT_EQ(dataFile(), recordLine({{1, 0}, {2, 0}, {3, 2001}, {30, 250}, {34, 1}}) +
                              recordLine({{1, 3}, {3, 2002}}));
}

TEST_F(LocationScreen, RenamingTownTwelveOfTwentyKeepsEveryTownAndTheOldId) {
    Program& p = startWith(recordLine(keyed(12, 2, 2001)), numberedTowns(20, 100));
    f3->showForm();
    ASSERT_EQ(box3("agglom")->currentIndex(), 12);
    b3("Button2")->click();  // New: the town box can be edited
    pick(box3("agglom"), 12);
    EXPECT_EQ(e3("latstr")->text(), "12");
    typeInto(box3("agglom"), "New Name");
    EXPECT_EQ(p.aq.cur_town, 12);
    b3("BitBtn2")->click();

    std::string expected;
    for (int i = 0; i < 20; ++i)
        expected += std::to_string(100 + i) + " " + std::to_string(i) + "|" + std::to_string(-i) + "|" +
                    (i == 12 ? std::string("New Name") : "Town" + std::to_string(i)) + "\r\n";
    EXPECT_EQ(townFile(), expected);
    ASSERT_EQ(box3("agglom")->count(), 20);
    EXPECT_EQ(box3("agglom")->itemText(12), "New Name");
    EXPECT_EQ(p.aq.town_ids[12], 112);
    EXPECT_EQ(dataFile(), recordLine(keyed(12, 2, 2001)) + recordLine({{kFieldTown, 12}}));
}

TEST_F(LocationScreen, SavingWithoutAddWhenNoTownIsListedStoresEntryZeroWithIdMinusOne) {
    Program& p = startWith(recordLine({}));
    f3->showForm();
    EXPECT_FALSE(b3("BitBtn2")->isHidden());  // new-location mode: no town selected
    EXPECT_TRUE(box3("agglom")->isEnabled());
    typeInto(box3("agglom"), "Hamlet");
    e3("latstr")->setText("1,5");
    e3("longstr")->setText("3");
    e3("exp_pop")->setText("12");
    b3("BitBtn2")->click();
    EXPECT_EQ(townFile(), "-1 1,5|3|Hamlet\r\n");
    EXPECT_EQ(dataFile(), recordLine({{kFieldPopulation, 12}}));
    EXPECT_EQ(p.aq.aq_record[kFieldTown], 0);
    EXPECT_EQ(box3("agglom")->count(), 1);
    EXPECT_TRUE(f4->isVisible());
}

TEST_F(LocationScreen, NewOnThreeRecordsShowsRecordFourOfFourInNewLocationMode) {
    writeFile(workDir + "params.tab", "9 0  1.00000000000000E+0003  1.00600000000000E+0000  1.00400000000000E+0000  "
                                      "1.00800000000000E+0000 0 3 2\r\n");
    Program& p = startWith(threeRecords(), "0 1|1|Alpha\r\n");
    f3->showForm();
    EXPECT_TRUE(b3("BitBtn2")->isHidden());
    EXPECT_FALSE(box3("polbox")->isEnabled());
    b3("Button2")->click();
    EXPECT_EQ(p.aq.cur_record, 4);
    EXPECT_EQ(p.aq.record_count, 4);
    EXPECT_EQ(e3("year")->text(), "0");
    EXPECT_EQ(box3("polbox")->currentIndex(), 0);
    EXPECT_EQ(e4("edit1")->text(), "0");
    EXPECT_FALSE(b3("BitBtn2")->isHidden());
    EXPECT_FALSE(b3("Button3")->isHidden());
    EXPECT_TRUE(box3("polbox")->isEnabled());
    EXPECT_TRUE(e3("year")->isEnabled());
    EXPECT_FALSE(b3("BitBtn5")->isEnabled());
    EXPECT_TRUE(b3("BitBtn4")->isEnabled());
    EXPECT_EQ(p.aq.new_record, -1);
    EXPECT_EQ(p.aq.aq_changed, -1);
    EXPECT_EQ(dataFile(), threeRecords());

    // While the record is new, a pollutant takes its class width from the parameter file.
    pick(box3("polbox"), 9);
    EXPECT_EQ(p.aq.cur_pollutant, 9);
    EXPECT_EQ(e4("editpol")->text(), "CO");
    EXPECT_EQ(p.aq.interval_index, 2);
    EXPECT_EQ(box3("interval")->currentIndex(), 2);
    platform::testing::activateForm(p.Form1);  // back to the new record: its key stays open
    platform::testing::activateForm(f3);
    EXPECT_TRUE(box3("polbox")->isEnabled());

    // New again without saving the first new record: the record is still the one after the last line.
    DialogScript::answer(Button::No);  // Save changes?
    b3("Button2")->click();
    EXPECT_EQ(p.aq.cur_record, 4);
    EXPECT_EQ(p.aq.record_count, 4);
    EXPECT_EQ(dataFile(), threeRecords());

    // Given up for the last record: a save of that record rewrites its line.
    DialogScript::answer(Button::No);  // Save changes?
    b3("BitBtn4")->click();            // "<"
    e3("tech_body")->setText("Agency");
    DialogScript::answer(Button::Yes);  // Save changes?
    b3("BitBtn1")->click();             // "&Close"
    EXPECT_EQ(dataFile(), recordLine(keyed(0, 2, 2001)) + recordLine(keyed(0, 2, 2002)) +
                              recordLine(keyed(0, 2, 2003), {"", "", "", "Agency"}));
}

TEST_F(LocationScreen, DuplicateKeyKeepsTheScreenAndDisablesCloseUntilTheNextRecordIsShown) {
    const std::string two = recordLine(keyed(0, 2, 2001)) + recordLine(keyed(0, 2, 2002));
    Program& p = startWith(two, "0 1|1|Alpha\r\n");
    f3->showForm();
    b3("Button2")->click();
    pick(box3("polbox"), 2);
    EXPECT_EQ(p.aq.cur_pollutant, 2);
    e3("year")->setText("2001");
    e3("exp_pop")->setText("250");
    e3("prof_stat")->setText("1");
    DialogScript::answer(Button::Ok);
    b3("BitBtn2")->click();

    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    const auto& warning = DialogScript::boxes()[0];
    EXPECT_EQ(warning.text, "Record already exists.");
    EXPECT_EQ(warning.kind, platform::BoxKind::Warning);
    EXPECT_EQ(warning.buttons, (std::vector<Button>{Button::Ok, Button::Help}));
    EXPECT_EQ(warning.helpContext, 8);
    EXPECT_TRUE(f3->isVisible());
    EXPECT_FALSE(f4->isVisible());
    EXPECT_FALSE(b3("BitBtn1")->isEnabled());
    EXPECT_EQ(p.aq.aq_changed, -1);
    // The duplicate stays in the file.
    EXPECT_EQ(dataFile(), two + recordLine(keyed(0, 2, 2001)));

    DialogScript::answer(Button::No);  // Save changes?
    b3("BitBtn4")->click();
    EXPECT_EQ(p.aq.cur_record, 2);
    EXPECT_TRUE(b3("BitBtn1")->isEnabled());
    EXPECT_EQ(e3("year")->text(), "2002");
}

TEST_F(LocationScreen, RecordButtonsSkipTheMoveAfterADuplicateAndGoOnAfterwards) {
    const std::string two = recordLine(keyed(0, 2, 2001)) + recordLine(keyed(0, 2, 2002));
    Program& p = startWith(two, "0 1|1|Alpha\r\n");
    f3->showForm();
    p.aq.cur_record = 2;
    f3->show_record(2);
    // The key controls are locked outside new-location mode; the program's own change makes the
    // second record a duplicate of the first.
    e3("year")->setText("2001");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // Record already exists.
    b3("BitBtn4")->click();
    EXPECT_EQ(p.aq.cur_record, 2);
    EXPECT_EQ(p.aq.aq_valid, -1);
    EXPECT_EQ(dataFile(), recordLine(keyed(0, 2, 2001)) + recordLine(keyed(0, 2, 2001)));
    DialogScript::answer(Button::No);
    b3("BitBtn4")->click();
    EXPECT_EQ(p.aq.cur_record, 1);
}

TEST_F(LocationScreen, NextDoesNothingWhileThePollutantSelectionDiffers) {
    Program& p = startWith(recordLine({{kFieldTown, 0}, {kFieldPollutant, 2}, {kFieldYear, 2001}}), "0 1|1|Alpha\r\n");
    f3->showForm();
    p.aq.cur_pollutant = 5;  // changed elsewhere, the list still shows PM10
    b3("Button1")->click();
    EXPECT_TRUE(f3->isVisible());
    EXPECT_FALSE(f4->isVisible());
    p.aq.cur_pollutant = 2;
    b3("Button1")->click();
    EXPECT_TRUE(f3->isHidden());
    EXPECT_TRUE(f4->isVisible());
}

TEST_F(LocationScreen, TheHundredthTownIsListedWithAWarningAndAFullTableTakesNoMore) {
    Program& p = startWith(recordLine({}), numberedTowns(99));
    f3->showForm();
    b3("Button2")->click();
    typeInto(box3("agglom"), "Town 100");
    DialogScript::answer(Button::Ok);
    b3("Button3")->click();
    EXPECT_EQ(boxTexts(), std::vector<QString>{"too many towns"});
    EXPECT_EQ(box3("agglom")->count(), 100);
    EXPECT_EQ(p.aq.town_names[99].str(), "Town 100");

    typeInto(box3("agglom"), "Town 101");
    DialogScript::answer(Button::Ok);
    b3("Button3")->click();
    EXPECT_EQ(box3("agglom")->count(), 101);
    typeInto(box3("agglom"), "Town 102");
    DialogScript::answer(Button::Ok);
    b3("Button3")->click();  // every entry is in use
    EXPECT_EQ(box3("agglom")->count(), 101);
    EXPECT_EQ(p.aq.max_town_id, 100);
}

TEST_F(LocationScreen, LinesPastTheTablesAreKeptInTheLocationFile) {
    const std::string towns = numberedTowns(103);
    Program& p = startWith(recordLine({}), towns);
    EXPECT_EQ(box3("agglom")->count(), 101);
    EXPECT_EQ(p.aq.max_town_id, 100);
    f3->showForm();
    e3("netw_affl")->setText("n");
    DialogScript::answer(Button::Yes);
    b3("BitBtn1")->click();  // &Close
    EXPECT_EQ(townFile(), towns);
}

TEST_F(LocationScreen, UnnamedAndEmptyLinesLoseNoTownAndWriteNoneTwice) {
    // Two unnamed lines before Delta and Echo: every line keeps its place, and "Add" takes a free entry.
    Program& p = startWith(recordLine({}), "0 1|1|Alpha\r\n1 ||\r\n2 ||\r\n3 4|4|Delta\r\n4 5|5|Echo\r\n");
    f3->showForm();
    b3("Button2")->click();  // New
    typeInto(box3("agglom"), "Foxtrot");
    b3("Button3")->click();  // Add
    EXPECT_EQ(p.aq.cur_town, 5);
    EXPECT_EQ(box3("agglom")->currentText(), "Foxtrot");
    DialogScript::answer(Button::Yes);  // Save changes?
    b3("BitBtn1")->click();             // &Close
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\n1 ||\r\n2 ||\r\n3 4|4|Delta\r\n4 5|5|Echo\r\n5 1|1|Foxtrot\r\n");

    // An empty line among the first 101: the lines after the 101 towns read follow once each.
    writeFile(workDir + "town.tab", "0 1|1|Alpha\r\n\r\n" + numberedTowns(102, 1));
    p.Form1->init_all();
    f3->showForm();
    e3("netw_affl")->setText("m");
    DialogScript::answer(Button::Yes);  // Save changes?
    b3("BitBtn1")->click();             // &Close
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\n" + numberedTowns(102, 1));
}

TEST_F(LocationScreen, ReloadOfAnotherDirectoryListsAndWritesOnlyItsOwnTowns) {
    Program& p = startWith(recordLine({{kFieldTown, 0}, {kFieldPollutant, 2}, {kFieldYear, 2001}}),
                           "0 1|1|Alpha\r\n1 2|2|Beta\r\n2 3|3|Gamma\r\n");
    const std::string other = workDir + "other/";
    std::filesystem::create_directories(other);
    writeFile(other + "town.tab", "4 9|9|Delta\r\n");
    p.aq.work_dir = other;
    DialogScript::answer(Button::Ok);  // Exists: the start-up directory's town.tab
    p.Form1->init_all();
    ASSERT_EQ(box3("agglom")->count(), 1);
    EXPECT_EQ(box3("agglom")->itemText(0), "Delta");
    EXPECT_EQ(p.aq.town_names[1].str(), "");

    f3->showForm();
    e3("netw_affl")->setText("n");
    DialogScript::answer(Button::Yes);  // Save changes?
    b3("BitBtn1")->click();
    EXPECT_EQ(readFile(other + "town.tab"), "4 9|9|Delta\r\n");
}

TEST_F(LocationScreen, BadLocationLineStopsTheReadingWithTheLinesBeforeItListed) {
    writeFile(workDir + "town.tab", "0 1|1|Alpha\r\nx 2|2|Beta\r\n");
    DialogScript::answer(Button::Ok);
    Program& p = startWith(recordLine({}));
    EXPECT_EQ(boxTexts(), std::vector<QString>{"Invalid numeric input"});
    EXPECT_EQ(box3("agglom")->count(), 1);
    EXPECT_EQ(p.aq.town_names[0].str(), "Alpha");

    // A save would write the location file from "Alpha" alone: it is refused, and nothing is written.
    const std::string data = dataFile();
    f3->showForm();
    e3("netw_affl")->setText("n");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);
    b3("BitBtn1")->click();
    EXPECT_EQ(boxTexts().back(),
              "\"town.tab\" could not be read at line 2 (Invalid numeric input). It is not changed.");
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\nx 2|2|Beta\r\n");
    EXPECT_EQ(dataFile(), data);
    EXPECT_TRUE(f3->isVisible());
}

TEST_F(LocationScreen, ClosingWithUnsavedChangesAndNoHidesTheScreenAndWritesNothing) {
    const std::string data = recordLine({{kFieldTown, 0}, {kFieldPollutant, 2}, {kFieldYear, 2001}});
    Program& p = startWith(data, "0 1|1|Alpha\r\n");
    f3->showForm();
    e3("tech_body")->setText("Agency");
    EXPECT_EQ(p.aq.aq_changed, -1);
    DialogScript::answer(Button::No);
    b3("BitBtn1")->click();
    EXPECT_TRUE(f3->isHidden());
    EXPECT_EQ(dataFile(), data);
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\n");
    // The typing was given up: the screen shows the record afresh when it is opened again.
    f3->showForm();
    EXPECT_EQ(e3("tech_body")->text(), "");
    EXPECT_EQ(p.aq.aq_changed, 0);
}

TEST_F(LocationScreen, NewLeavesTheLatitudeReadyToTypeOver) {
    startWith(recordLine(keyed(1, 2, 2001)), "0 47.07|15.44|Graz\r\n1 48.2|16.37|Wien\r\n");
    ASSERT_TRUE(platform::testing::activateForm(f3));
    ASSERT_EQ(f3->focusWidget(), e3("latstr"));
    b3("Button2")->click();  // "&New": an empty record of the first town
    QTest::keyClicks(e3("latstr"), "46.5");
    EXPECT_EQ(e3("latstr")->text(), "46.5");
}

TEST_F(LocationScreen, NewForTheSameTownSelectsTheLatitudeThatStaysTheSame) {
    startWith(recordLine(keyed(0, 2, 2001)), "0 47.07|15.44|Graz\r\n");
    ASSERT_TRUE(platform::testing::activateForm(f3));
    QTest::keyClick(e3("latstr"), Qt::Key_End);
    b3("Button2")->click();
    QTest::keyClicks(e3("latstr"), "46.5");
    EXPECT_EQ(e3("latstr")->text(), "46.5");
}

TEST_F(LocationScreen, TypingThatKeepsTheFocusThroughAnActivationKeepsItsCursor) {
    Program& p = startWith(recordLine(keyed(0, 2, 2001)), "0 47.07|15.44|Graz\r\n");
    ASSERT_TRUE(platform::testing::activateForm(f3));
    QLineEdit* network = e3("netw_affl");
    platform::testing::clickOn(network);
    QTest::keyClicks(network, "NAB");
    platform::testing::activateForm(p.Form1);
    platform::testing::activateForm(f3);
    QTest::keyClicks(network, "C");
    EXPECT_EQ(network->text(), "NABC");
}

TEST_F(LocationScreen, UnnamedLineBeforeATownKeepsEveryRecordsTownAndAddTakesAFreeEntry) {
    Program& p = startWith(recordLine(keyed(2, 2, 2001)), "0 1|1|Alpha\r\n1 ||\r\n2 3|3|Gamma\r\n");
    f3->showForm();
    EXPECT_EQ(box3("agglom")->currentText(), "Gamma");
    EXPECT_EQ(e3("latstr")->text(), "3");
    b3("Button2")->click();  // "&New"
    typeInto(box3("agglom"), "Delta");
    b3("Button3")->click();  // "Add"
    b3("BitBtn2")->click();  // "Save and Go to Air Quality data"
    EXPECT_EQ(townFile(), "0 1|1|Alpha\r\n1 ||\r\n2 3|3|Gamma\r\n3 1|1|Delta\r\n");
    EXPECT_EQ(p.aq.aq_record[kFieldTown], 3);
    p.aq.cur_record = 1;
    f3->show_record(1);
    EXPECT_EQ(box3("agglom")->currentText(), "Gamma");
}

TEST_F(LocationScreen, ChangeHandlersCopyToTheAirQualityScreen) {
    Program& p = startWith(recordLine(keyed(0, 2, 2001)), "0 1|1|Alpha\r\n");
    EXPECT_EQ(e4("year")->text(), "2001");
    EXPECT_EQ(e4("agglom")->text(), "Alpha");
    EXPECT_EQ(p.aq.aq_changed, 0);
    e3("year")->setText("1999");
    e3("exp_pop")->setText("7");
    e3("prof_stat")->setText("4");
    EXPECT_EQ(e4("year")->text(), "1999");
    EXPECT_EQ(e4("exp_pop")->text(), "7");
    EXPECT_EQ(e4("pro_statnum")->text(), "4");
    EXPECT_EQ(p.aq.aq_changed, -1);
    pick(box3("interval"), 2);
    EXPECT_EQ(p.aq.interval_index, 2);
}

TEST_F(LocationScreen, NonNumericYearIsAConversionErrorAndNothingIsWritten) {
    const std::string data = recordLine({{kFieldTown, 0}, {kFieldPollutant, 2}, {kFieldYear, 2001}});
    startWith(data, "0 1|1|Alpha\r\n");
    f3->showForm();
    e3("year")->setText("20x1");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // the error
    b3("BitBtn1")->click();  // &Close
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"Save changes?", "'20x1' is not a valid integer value"}));
    EXPECT_EQ(dataFile(), data);
}

TEST_F(LocationScreen, DeletingRecordsShowsTheNeighbourAndFinallyAnEmptyRecord) {
    Program& p = startWith(threeRecords(), "0 1|1|Alpha\r\n");
    f3->showForm();
    DialogScript::answer(Button::Yes);
    b3("BitBtn6")->click();
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(e3("year")->text(), "2002");
    EXPECT_EQ(dataFile(), recordLine(keyed(0, 2, 2002)) + recordLine(keyed(0, 2, 2003)));

    b3("BitBtn5")->click();
    EXPECT_EQ(p.aq.cur_record, 2);
    DialogScript::answer(Button::Yes);
    b3("BitBtn6")->click();
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.record_count, 1);
    EXPECT_FALSE(b3("BitBtn5")->isEnabled());
    EXPECT_FALSE(b3("BitBtn4")->isEnabled());
    EXPECT_FALSE(b4("BitBtn5")->isEnabled());
    EXPECT_FALSE(b4("BitBtn4")->isEnabled());
    EXPECT_TRUE(b3("BitBtn2")->isHidden());
    EXPECT_EQ(dataFile(), recordLine(keyed(0, 2, 2002)));

    DialogScript::answer(Button::No);  // Delete record? No: nothing changes
    b3("BitBtn6")->click();
    EXPECT_EQ(dataFile(), recordLine(keyed(0, 2, 2002)));

    DialogScript::clearShown();
    DialogScript::answer(Button::Yes);
    DialogScript::answer(Button::Ok);  // no more records
    b3("BitBtn6")->click();
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"Delete record?", "no more records"}));
    EXPECT_EQ(dataFile(), "");
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.record_count, 1);
    EXPECT_EQ(e3("year")->text(), "0");

    // A new record in the emptied file is its first line, and the air-quality screen shows it.
    b3("Button2")->click();
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.record_count, 1);
    e3("year")->setText("2007");
    b3("BitBtn2")->click();
    EXPECT_EQ(dataFile(), recordLine({{kFieldYear, 2007}}));
    EXPECT_TRUE(f4->isVisible());
    EXPECT_EQ(e4("year")->text(), "2007");
}

TEST_F(LocationScreen, OlderRecordWithoutClassWidthGetsItFromThePollutantAndIsStoredAtOnce) {
    const std::string towns = "0 1|1|Alpha\r\n1 2|2|Beta\r\n2 3|3|Gamma\r\n";
    const std::map<int, long long> fields = {{kFieldTown, 1}, {kFieldPollutant, 9}, {kFieldYear, 2001},
                                             {kFieldClassWidth, -1}};
    Program& p = startWith(recordLine(fields, {"L", "H", "N", "U"}), towns);
    EXPECT_EQ(p.aq.interval_index, 2);
    EXPECT_EQ(box3("interval")->currentIndex(), 2);
    EXPECT_EQ(dataFile(), recordLine({{kFieldTown, 1}, {kFieldPollutant, 9}, {kFieldYear, 2001}, {kFieldClassWidth, 2}},
                                     {"L", "H", "N", "U"}));
    // Storing it before the screen was ever shown keeps every town of the location file.
    EXPECT_EQ(townFile(), towns);
    EXPECT_EQ(p.aq.aq_changed, 0);
}

TEST_F(LocationScreen, PrintingShowsTheFooterOnlyWhilePrintingAndKeepsTheTypedTown) {
    startWith(recordLine({}), "0 1|1|Alpha\r\n");
    f3->showForm();
    b3("Button2")->click();
    typeInto(box3("agglom"), "Typed");
    QLabel* heading = f3->findChild<QLabel*>("Label66");
    QLabel* issuer = f3->findChild<QLabel*>("Label65");
    struct Page {
        bool headingShown, issuerShown, panelShown, saveShown, agglomEditable, intervalEditable;
        QString town;
    };
    const QString pdf = QString::fromStdString(scratchFile("location.pdf"));
    PrintedPages printed;
    const auto pages = printed.printOnce(pdf, [&] { b3("BitBtn3")->click(); }, [&](QWidget& screen) {
        return Page{heading->isVisibleTo(&screen), issuer->isVisibleTo(&screen),
                    f3->findChild<QWidget*>("Panel1")->isVisibleTo(&screen), b3("BitBtn2")->isVisibleTo(&screen),
                    box3("agglom")->isEditable(), box3("interval")->isEditable(), shownText(box3("agglom"))};
    });
    // The page shows the footer and the typed town in fixed lists, without the top panel and the
    // save button.
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].headingShown);
    EXPECT_TRUE(pages[0].issuerShown);
    EXPECT_TRUE(printed.showsInk(0, *f3, *heading));
    EXPECT_TRUE(printed.showsInk(0, *f3, *issuer));
    EXPECT_FALSE(pages[0].panelShown);
    EXPECT_FALSE(pages[0].saveShown);
    EXPECT_FALSE(pages[0].agglomEditable);
    EXPECT_FALSE(pages[0].intervalEditable);
    EXPECT_EQ(pages[0].town, "Typed");
    EXPECT_TRUE(std::filesystem::exists(pdf.toStdString()));
    EXPECT_TRUE(f3->findChild<QLabel*>("Label65")->isHidden());
    EXPECT_TRUE(f3->findChild<QLabel*>("Label66")->isHidden());
    EXPECT_FALSE(b3("BitBtn2")->isHidden());
    EXPECT_TRUE(box3("agglom")->isEditable());
    EXPECT_EQ(box3("agglom")->currentText(), "Typed");
    // The box still reacts to typing after it was editable again.
    e3("latstr")->setText("zz");
    typeInto(box3("agglom"), "Alpha");
    EXPECT_EQ(e3("latstr")->text(), "1");
}

TEST_F(LocationScreen, StartUpShowsTheFirstRecordOnBothScreens) {
    writeFile(workDir + "data_rec.dat", threeRecords());
    writeFile(workDir + "town.tab", "0 1|1|Alpha\r\n");
    Program& p = start();
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.record_count, 3);
    EXPECT_EQ(p.Form3->findChild<QLineEdit*>("year")->text(), "2001");
    EXPECT_EQ(p.Form4->findChild<QLineEdit*>("editpol")->text(), "PM10");
    EXPECT_EQ(p.Form4->findChild<QLineEdit*>("agglom")->text(), "Alpha");
    EXPECT_EQ(p.aq.aq_changed, 0);
    EXPECT_TRUE(DialogScript::boxes().empty());

    // Record number 0 addresses no record: a message, and the screens keep what they show.
    f3 = p.Form3;
    e3("year")->setText("1999");
    DialogScript::answer(Button::Ok);
    f3->show_record(0);
    EXPECT_EQ(boxTexts(), std::vector<QString>{"no records found."});
    EXPECT_EQ(e3("year")->text(), "1999");
    EXPECT_EQ(p.aq.aq_record[kFieldYear], 2001);
    EXPECT_EQ(p.aq.record_count, 3);
    EXPECT_EQ(p.aq.aq_changed, 0);
}
