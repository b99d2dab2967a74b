// The main screen's commands: the way to the screens, the working directory and help.
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <map>
#include <vector>

#include "assessment/UNIT3.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit8.h"
#include "assessment/core/AqRecord.h"
#include "assessment/tests/main_fixture.h"
#include "lifetables/Unit_LifeTables.h"
#include "platform/Guard.h"
#include "platform/Help.h"
#include "platform/testing/GuiTest.h"
#include "runtime/Errors.h"
#include "ui_TAboutBox.h"
#include "ui_TForm1.h"
#include "ui_TForm2.h"
#include "ui_TForm3.h"
#include "ui_TForm4.h"
#include "ui_TForm5.h"
#include "ui_TPagesDlgLT.h"

namespace {

// A PM10 record of 365 days in three classes, 185 of them in summer, no winter days given.
std::map<int, long long> summerOnlyRecord() {
    using namespace assessment;
    return {{kFieldPollutant, 2},    {kFieldYear, 2001},      {classField(1), 100}, {classField(2), 200},
            {classField(3), 65},     {kFieldPopulation, 250}, {kFieldStations, 1},  {kFieldAnnualDays, 365},
            {kFieldSummerDays, 185}, {kFieldAnnualMean, 40}};
}

class MainScreen : public MainScreens {
protected:
    // Starts with `record` as the only line of the data file and the town Alpha.
    Program& startWithRecord(const std::map<int, long long>& record) {
        writeFile(workDir + "data_rec.dat", dataLine(record));
        writeFile(workDir + "town.tab", "0 1|1|Alpha\r\n");
        return startUp();
    }
    Ui::TForm1Ui& u1() { return f1->controls(); }
    QComboBox* towns() { return program().Form3->controls().agglom; }
    std::string otherDir() {
        const std::string dir = workDir.substr(0, workDir.size() - 1) + "_other";
        std::filesystem::create_directories(dir);
        return dir;  // without a trailing "/", as the chooser gives it
    }
};

TEST_F(MainScreen, WithoutAnOrganisationTheRecordScreensCannotBeOpened) {
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f1));
    EXPECT_TRUE(u1().BitBtn2->isEnabled());
    EXPECT_FALSE(u1().BitBtn3->isEnabled());
    EXPECT_FALSE(u1().BitBtn4->isEnabled());
    EXPECT_FALSE(u1().chars->isEnabled());
    EXPECT_FALSE(u1().data_menu->isEnabled());
    u1().chars->trigger();
    u1().data_menu->trigger();
    EXPECT_FALSE(p.Form3->isVisible());
    EXPECT_FALSE(p.Form4->isVisible());
    EXPECT_TRUE(DialogScript::boxes().empty());
    u1().agency->trigger();
    EXPECT_TRUE(f2->isVisible());
}

TEST_F(MainScreen, AnOrganisationReadAtStartOpensTheWay) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f1));
    EXPECT_EQ(u1().organ->text(), "Institute");
    EXPECT_TRUE(u1().data_menu->isEnabled());
    u1().BitBtn3->click();
    EXPECT_TRUE(p.Form3->isActiveForm());
}

TEST_F(MainScreen, NewDirectoryReloadsItsFilesAndKeepsTheDataFile) {
    writeFile(workDir + "town.tab", "0 1|1|Start Town\r\n");
    Program& p = startUp();
    const std::string dir = otherDir();
    writeFile(dir + "/data_sup.tab", tenLines({"Land", "Institute", "City", "Street"}));
    writeFile(dir + "/town.tab", "4 4 5 .5| 12 |New  Town \r\n9 1|2|\r\n7 3|3|Third\r\n");
    writeFile(dir + "/endp.tab", "0 Mortality\r\n3 Asthma attacks\r\n");
    writeFile(dir + "/params.tab", defaultParams());
    DialogScript::answer(Button::Ok);  // Exists: the start-up directory's town.tab
    DialogScript::answerFile(QString::fromStdString(dir));
    u1().NewDirectory1->trigger();

    ASSERT_EQ(DialogScript::fileDialogs().size(), 1u);
    EXPECT_EQ(DialogScript::fileDialogs()[0].kind, platform::testing::ShownFileDialog::Directory);
    EXPECT_TRUE(DialogScript::fileDialogs()[0].options.initialDir.isEmpty());
    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(DialogScript::boxes()[0].text, QString::fromStdString("Exists: " + workDir + "town.tab"));

    EXPECT_EQ(p.aq.work_dir, dir + "/");
    EXPECT_EQ(p.aq.data_file, workDir + "data_rec.dat");
    EXPECT_EQ(p.aq.cur_record, 1);
    EXPECT_EQ(p.aq.supplier_org, "Institute");
    EXPECT_EQ(p.aq.supplier_city, "City");
    EXPECT_EQ(f2->controls().street->text(), "Street");
    EXPECT_EQ(f2->controls().tel->text(), "");
    EXPECT_EQ(u1().organ->text(), "Institute");
    EXPECT_TRUE(u1().BitBtn3->isEnabled());
    EXPECT_TRUE(u1().BitBtn4->isEnabled());

    // Blanks dropped from latitude and longitude, kept in the name; a nameless town is not listed.
    EXPECT_EQ(p.aq.town_lat[0].str(), "45.5");
    EXPECT_EQ(p.aq.town_long[0].str(), "12");
    EXPECT_EQ(p.aq.town_names[0].str(), "New  Town ");
    EXPECT_EQ(p.aq.max_town_id, 9);
    ASSERT_EQ(towns()->count(), 2);
    EXPECT_EQ(towns()->itemText(1), "Third");

    ASSERT_EQ(p.aq.endpoints.size(), 2u);
    EXPECT_EQ(p.aq.endpoints.endpoint_codes[1], 3);
    EXPECT_EQ(p.aq.endpoints.endpoint_names[1], "Asthma attacks");
    QComboBox* list = p.Form5->ui().endpoint;
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->currentIndex(), 0);
    EXPECT_EQ(list->currentText(), "Mortality");
    EXPECT_EQ(p.aq.text_file3, dir + "/params.tab");
    EXPECT_EQ(p.aq.tmp_name, dir + "/town.tab");
}

TEST_F(MainScreen, NewDirectoryCancelledStillReloads) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    writeFile(workDir + "town.tab", "0 1|1|Start Town\r\n");
    Program& p = startUp();
    p.aq.supplier_org = "changed in memory";
    DialogScript::cancelFile();
    DialogScript::answer(Button::Ok);  // Exists:
    u1().NewDirectory1->trigger();
    EXPECT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(p.aq.work_dir, workDir);
    EXPECT_EQ(p.aq.supplier_org, "Institute");
    EXPECT_EQ(towns()->count(), 1);
}

TEST_F(MainScreen, NewDirectoryOnAnEmptyDirectoryCreatesEmptyFilesAndTakesNothingOfTheOldOne) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    writeFile(workDir + "town.tab", "0 1|1|Start Town\r\n");
    writeFile(workDir + "endp.tab", "0 Mortality\r\n");
    Program& p = startUp();
    p.aq.tmp_name.clear();
    ASSERT_TRUE(activateForm(f2));
    ASSERT_TRUE(activateForm(f1));
    const std::string dir = otherDir();
    DialogScript::answerFile(QString::fromStdString(dir));
    u1().NewDirectory1->trigger();
    EXPECT_TRUE(DialogScript::boxes().empty());
    EXPECT_EQ(readFile(dir + "/data_sup.tab"), "");
    EXPECT_EQ(readFile(dir + "/town.tab"), "");
    EXPECT_FALSE(std::filesystem::exists(dir + "/endp.tab"));
    EXPECT_EQ(p.aq.supplier_org, "");
    EXPECT_EQ(p.aq.supplier_country, "");
    EXPECT_EQ(f2->controls().organ->text(), "Institute");  // the edits keep what they held
    EXPECT_FALSE(u1().BitBtn3->isEnabled());
    EXPECT_TRUE(u1().BitBtn4->isEnabled());  // the start-up data file still holds its record
    // No town and no endpoint of the old directory can reach this one's files: the towns are
    // those of the empty file, the endpoints the built-in ones.
    EXPECT_EQ(towns()->count(), 0);
    EXPECT_EQ(p.aq.town_names[0].str(), "");
    EXPECT_EQ(p.aq.endpoints.size(), 18u);
    EXPECT_EQ(p.aq.text_file3, programDir + "params.tav");
}

TEST_F(MainScreen, NewDirectoryFirstClosesTheOpenScreensAsQuitDoes) {
    using assessment::kFieldWinterDays;
    std::map<int, long long> record = summerOnlyRecord();
    Program& p = startWithRecord(record);
    const std::string dir = otherDir();
    writeFile(dir + "/town.tab", "0 2|2|Beta\r\n");
    ASSERT_TRUE(activateForm(p.Form4));
    typeInto(p.Form4->controls().Editwin_days, QStringLiteral("170"));
    ASSERT_TRUE(activateForm(f1));
    // A failed check keeps the screen open, and the working directory stays.
    answerNextBox(Button::Yes);     // Save changes?
    answerNextBox(Button::Cancel);  // Data capture: Summer and Winter do not add up to Annual!
    u1().NewDirectory1->trigger();
    EXPECT_EQ(boxTexts().size(), 2u);
    EXPECT_TRUE(DialogScript::fileDialogs().empty());
    EXPECT_EQ(p.aq.work_dir, workDir);
    EXPECT_TRUE(p.Form4->isVisible());
    ASSERT_TRUE(activateForm(p.Form3));  // the refused close kept the mark, and so the typing
    EXPECT_EQ(p.Form4->controls().Editwin_days->text(), "170");

    ASSERT_TRUE(activateForm(p.Form4));
    typeInto(p.Form4->controls().Editwin_days, QStringLiteral("180"));
    ASSERT_TRUE(activateForm(f1));
    DialogScript::clearShown();
    answerNextBox(Button::Yes);  // Save changes?
    DialogScript::answerFile(QString::fromStdString(dir));
    u1().NewDirectory1->trigger();
    EXPECT_EQ(boxTexts(), std::vector<QString>{"Save changes?"});
    EXPECT_FALSE(p.Form4->isVisible());
    EXPECT_EQ(p.aq.work_dir, dir + "/");
    record[kFieldWinterDays] = 180;
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), dataLine(record));
    u1().BitBtn1->click();  // "&Quit": nothing left to ask, nothing written into the new directory
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_EQ(readFile(dir + "/town.tab"), "0 2|2|Beta\r\n");
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), dataLine(record));
}

TEST_F(MainScreen, BadEndpointLineEndsTheReloadWithTheEntriesReadBeforeIt) {
    writeFile(workDir + "town.tab", "0 1|1|Start Town\r\n");
    Program& p = startUp();
    ASSERT_EQ(p.aq.endpoints.size(), 18u);  // the built-ins of the start-up directory
    const std::string dir = otherDir();
    writeFile(dir + "/data_sup.tab", tenLines({"Land", "Institute"}));
    writeFile(dir + "/endp.tab", "0 Mortality\r\n3 Asthma attacks\r\nx Bad line\r\n4 After the bad line\r\n");
    writeFile(dir + "/town.tab", "0 2|2|Other Town\r\n");
    writeFile(dir + "/params.tab", defaultParams());
    DialogScript::answer(Button::Ok);  // Exists: the start-up directory's town.tab
    DialogScript::answer(Button::Ok);  // the error of the bad line
    DialogScript::answerFile(QString::fromStdString(dir));
    u1().NewDirectory1->trigger();

    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(DialogScript::boxes()[1].text, "Invalid numeric input");
    EXPECT_EQ(p.aq.supplier_org, "Institute");  // the step before stays done
    ASSERT_EQ(p.aq.endpoints.size(), 2u);
    EXPECT_EQ(p.aq.endpoints.endpoint_codes[1], 3);
    EXPECT_EQ(p.aq.endpoints.endpoint_names[1], "Asthma attacks");
    QComboBox* list = p.Form5->ui().endpoint;
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "Mortality");
    EXPECT_EQ(list->itemText(1), "Asthma attacks");
    EXPECT_EQ(list->currentIndex(), -1);
    // The steps after it do not run: the locations and the parameter file stay those of before.
    ASSERT_EQ(towns()->count(), 1);
    EXPECT_EQ(towns()->itemText(0), "Start Town");
    EXPECT_EQ(p.aq.text_file3, programDir + "params.tav");
    // A location save would write that "Start Town" into this directory's file: refused.
    DialogScript::answer(Button::Ok);  // no records found: the data file was not reloaded either
    ASSERT_TRUE(activateForm(p.Form3));
    p.Form3->controls().netw_affl->setText("net");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);
    p.Form3->controls().BitBtn1->click();
    EXPECT_EQ(DialogScript::boxes().back().text,
              "\"town.tab\" could not be read (the reload ended before it). It is not changed.");
    EXPECT_EQ(readFile(dir + "/town.tab"), "0 2|2|Other Town\r\n");

    // "Add" would write the endpoint file from the two entries: it is refused, and the file stays.
    QPushButton* add = p.Form5->ui().Button2;
    list->setEditText("Cough");
    DialogScript::answer(Button::Ok);
    add->click();
    EXPECT_EQ(DialogScript::boxes().back().text,
              "\"endp.tab\" could not be read at line 3 (Invalid numeric input). It is not changed.");
    EXPECT_EQ(readFile(dir + "/endp.tab"), "0 Mortality\r\n3 Asthma attacks\r\nx Bad line\r\n4 After the bad line\r\n");
    EXPECT_EQ(list->count(), 2);
    // Read whole again, the file takes the new endpoint.
    writeFile(dir + "/endp.tab", "0 Mortality\r\n");
    DialogScript::answer(Button::No);  // Save changes? on the location screen, still open
    DialogScript::answer(Button::Ok);  // Exists: the start-up directory's town.tab, still
    DialogScript::answerFile(QString::fromStdString(dir));
    u1().NewDirectory1->trigger();
    list->setEditText("Cough");
    add->click();
    EXPECT_EQ(readFile(dir + "/endp.tab"), "0 Mortality\r\n1 Cough\r\n");
}

TEST_F(MainScreen, ClearAllDataEmptiesTheWorkingFiles) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    writeFile(workDir + "town.tab", "0 1|1|Start Town\r\n");
    Program& p = startUp();
    ASSERT_EQ(towns()->count(), 1);
    p.aq.aq_changed = -1;  // typing in the record: the reload drops it with the record
    DialogScript::answer(Button::Yes);
    u1().ClearALLdata1->trigger();
    EXPECT_EQ(p.aq.aq_changed, 0);
    ASSERT_EQ(DialogScript::boxes().size(), 1u);  // no "Exists: "
    const auto& question = DialogScript::boxes()[0];
    EXPECT_EQ(question.text, "This operation will overwrite datafiles. Continue?");
    EXPECT_EQ(question.kind, platform::BoxKind::Information);
    EXPECT_EQ(question.buttons, (std::vector<Button>{Button::Yes, Button::No, Button::Help}));
    EXPECT_EQ(question.helpContext, 9);
    EXPECT_EQ(readFile(workDir + "data_sup.tab"), "");
    EXPECT_EQ(readFile(workDir + "town.tab"), "");
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), "");
    EXPECT_EQ(p.aq.cur_record, 0);
    EXPECT_EQ(p.aq.supplier_org, "");
    EXPECT_EQ(towns()->count(), 0);
    EXPECT_FALSE(u1().BitBtn4->isEnabled());
    // The cleared towns are gone from the tables too: nothing can bring them back into the file.
    EXPECT_EQ(p.aq.town_ids[0], -1);
    EXPECT_EQ(p.aq.town_names[0].str(), "");
    EXPECT_EQ(p.aq.max_town_id, -1);
}

TEST_F(MainScreen, ParametersOpenedByTheirAcceleratorSelectThePollutantBox) {
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f1));
    pressKey(f1, Qt::Key_P, Qt::AltModifier);  // "&Parameters", pressed a moment later
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.Form5->isActiveForm(); }, 1000));
    processEvents();
    QTest::keyClicks(QApplication::focusWidget(), "NO2");
    EXPECT_EQ(p.Form5->ui().editpol->currentText(), "NO2");
}

TEST_F(MainScreen, ClearAllDataAnsweredNoKeepsEverything) {
    writeFile(workDir + "town.tab", "0 1|1|Start Town\r\n");
    startUp();
    DialogScript::answer(Button::No);
    u1().ClearALLdata1->trigger();
    EXPECT_EQ(readFile(workDir + "town.tab"), "0 1|1|Start Town\r\n");
    EXPECT_EQ(towns()->count(), 1);
}

TEST_F(MainScreen, ClearAllDataFirstClosesTheOpenScreensAndOneThatStaysOpenKeepsTheFiles) {
    const std::map<int, long long> record = summerOnlyRecord();
    Program& p = startWithRecord(record);
    ASSERT_TRUE(activateForm(p.Form4));
    typeInto(p.Form4->controls().Editwin_days, QStringLiteral("170"));
    ASSERT_TRUE(activateForm(f1));
    answerNextBox(Button::Yes);     // This operation will overwrite datafiles. Continue?
    answerNextBox(Button::Yes);     // Save changes?
    answerNextBox(Button::Cancel);  // Data capture: Summer and Winter do not add up to Annual!
    u1().ClearALLdata1->trigger();
    EXPECT_TRUE(p.Form4->isVisible());
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), dataLine(record));
}

// Both record screens and the life-table screen open, typing pending on the air-quality screen:
// the record's question comes once, No gives the typing up, and only Quit closes the life tables.
TEST_F(MainScreen, CommandsThatCloseBothRecordScreensAskOnceAndLeaveTheLifeTableScreen) {
    Program& p = startWithRecord(summerOnlyRecord());
    const std::string data = readFile(workDir + "data_rec.dat");
    const std::string exists = "Exists: " + workDir + "town.tab";
    struct Row {
        QAction* command;
        std::vector<QString> boxes;  // each answered: Yes to the first of Load and Clear ALL, else No or OK
    };
    const Row rows[] = {
        {u1().NewDirectory1, {"Save changes?", QString::fromStdString(exists)}},
        {u1().Importdata1,
         {"This operation will overwrite datafiles. Continue?", "Save changes?", QString::fromStdString(exists)}},
        {u1().ClearALLdata1, {"This operation will overwrite datafiles. Continue?", "Save changes?"}},
        {u1().Quit2, {"Save changes?"}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.command->text().toStdString());
        writeFile(workDir + "data_rec.dat", data);  // again after Clear ALL
        p.aq.cur_record = 1;
        p.PagesDlgLT->showForm();
        ASSERT_TRUE(activateForm(p.Form3));
        ASSERT_TRUE(activateForm(p.Form4));
        typeInto(p.Form4->controls().Editwin_days, QStringLiteral("170"));
        ASSERT_TRUE(activateForm(f1));
        DialogScript::clearShown();
        for (const QString& box : row.boxes)
            answerNextBox(box.startsWith(QStringLiteral("This"))     ? Button::Yes
                          : box.startsWith(QStringLiteral("Exists")) ? Button::Ok
                                                                     : Button::No);
        if (row.command != u1().ClearALLdata1 && row.command != u1().Quit2) cancelNextFile();
        row.command->trigger();
        EXPECT_EQ(boxTexts(), row.boxes);
        EXPECT_FALSE(p.Form3->isVisible() || p.Form4->isVisible());
        EXPECT_EQ(p.PagesDlgLT->isVisible(), row.command != u1().Quit2);
        if (row.command != u1().ClearALLdata1) EXPECT_EQ(readFile(workDir + "data_rec.dat"), data);
    }
}

TEST_F(MainScreen, ClearAllDataReportsEveryFileItCannotDelete) {
    startUp();
    DialogScript::answer(Button::Yes);
    DialogScript::answer(Button::Ok);
    DialogScript::answer(Button::Ok);
    u1().ClearALLdata1->trigger();
    ASSERT_EQ(DialogScript::boxes().size(), 3u);
    EXPECT_EQ(DialogScript::boxes()[1].text, "Can not delete supplier file");
    EXPECT_EQ(DialogScript::boxes()[2].text, "Can not delete town file");
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), "");
}

TEST_F(MainScreen, ReloadWithoutAnyParameterFileEndsTheProgram) {
    Program& p = startUp();
    std::filesystem::remove(programDir + "params.tav");
    p.aq.tmp_name.clear();
    DialogScript::cancelFile();
    DialogScript::answer(Button::Ok);
    try {
        f1->NewDirectory1Click();
        ADD_FAILURE() << "the program went on";
    } catch (const runtime::ExitProgram& exit) {
        EXPECT_EQ(exit.code(), 2);
    }
    EXPECT_EQ(platform::testing::lastBoxText(), "File not found. Please reinstall the application.");
}

TEST_F(MainScreen, HelpCommandsOpenTheirFileAtTheirTopicAndKeepIt) {
    startUp();
    const struct {
        QAction* item;
        const char* file;
        const char* topic;
    } commands[] = {{u1().BackgroundReport1, "desc.HLP", "description"},
                    {u1().Example1, "ex.HLP", "How"},
                    {u1().ProvidedRiskRatios1, "desc.HLP", "Annexa"},
                    {u1().Conte1, "aq_oh.HLP", "contents"}};
    for (const auto& command : commands) {
        command.item->trigger();
        const QString file = QString::fromStdString(programDir + command.file);
        ASSERT_FALSE(DialogScript::helpRequests().empty());
        EXPECT_EQ(DialogScript::helpRequests().back().helpFile, file);
        EXPECT_EQ(DialogScript::helpRequests().back().topic, command.topic);
        EXPECT_EQ(platform::applicationHelpFile(), file);
    }
    EXPECT_EQ(DialogScript::helpRequests().size(), 4u);
}

TEST_F(MainScreen, SmallCommands) {
    Program& p = startUp();
    DialogScript::answer(Button::Ok);
    u1().datafile->trigger();
    EXPECT_EQ(platform::testing::lastBoxText(), QString::fromStdString(workDir + "data_rec.dat"));

    u1().Btn_LT_data->click();
    EXPECT_TRUE(p.PagesDlgLT->isVisible());

    u1().About1->trigger();
    ASSERT_TRUE(p.AboutBox->isVisible());
    EXPECT_EQ(p.AboutBox->controls().Version->text(), "Version 2.2");
    p.AboutBox->controls().OKButton->click();
    EXPECT_FALSE(p.AboutBox->isVisible());

    u1().PrinterSetup1->trigger();
    EXPECT_EQ(DialogScript::printDialogCount(), 1);
}

TEST_F(MainScreen, QuitClosesTheMainScreen) {
    startUp();
    ASSERT_TRUE(activateForm(f1));
    u1().BitBtn1->click();
    EXPECT_FALSE(f1->isVisible());
    EXPECT_EQ(platform::requestedExitCode(), 0);
}

TEST_F(MainScreen, QuitAsksEveryOpenScreenWithChangesAndCancelKeepsTheProgramRunning) {
    using assessment::kFieldWinterDays;
    std::map<int, long long> record = summerOnlyRecord();
    Program& p = startWithRecord(record);
    ASSERT_TRUE(activateForm(p.Form4));
    typeInto(p.Form4->controls().Editwin_days, QStringLiteral("180"));
    ASSERT_TRUE(activateForm(p.PagesDlgLT));
    typeInto(p.PagesDlgLT->ui().TabInfosEdit_country, QStringLiteral("Italy"));
    ASSERT_TRUE(activateForm(f1));

    // The life-table screen asks first; Cancel there abandons the quit.
    for (const auto quit :
         {+[](TForm1* f) { f->controls().BitBtn1->click(); }, +[](TForm1* f) { f->controls().Quit2->trigger(); }}) {
        answerNextBox(Button::Cancel);
        quit(f1);
        EXPECT_EQ(boxTexts(), std::vector<QString>{"Do you want to save your changes?"});
        EXPECT_TRUE(f1->isVisible() && p.PagesDlgLT->isVisible() && p.Form4->isVisible());
        EXPECT_FALSE(platform::requestedExitCode().has_value());
        DialogScript::clearShown();
    }

    // Closing the window: No keeps the life-table input unsaved; Yes saves the record.
    answerNextBox(Button::No);
    answerNextBox(Button::Yes);
    f1->close();
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"Do you want to save your changes?", "Save changes?"}));
    record[kFieldWinterDays] = 180;
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), dataLine(record));
    EXPECT_FALSE(f1->isVisible());
    EXPECT_EQ(platform::requestedExitCode(), 0);
}

}  // namespace
