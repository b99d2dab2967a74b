// The life-table screen's frame: creation, the file commands with their questions, and the
// input tabs' edits and what their texts take.
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QTest>
#include <array>
#include <cmath>
#include <filesystem>

#include "assessment/Unit2.h"
#include "assessment/Unit8.h"
#include "lifetables/tests/lt_screen_fixture.h"
#include "platform/TextFieldRule.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"

TEST_F(LifeTableScreen, StartsEmptyWithCaptionsAndTheFirstAgeGroupsPrepared) {
    EXPECT_EQ(screen()->windowTitle(), QStringLiteral("Zelk Life-Table Simulation Version 2.2.3"));
    EXPECT_EQ(ui().TabPageControl->currentWidget(), ui().TabInfos);
    const QStringList tabs = {"Infos", "Data male", "Data female", "Data all", "Calc", "YoLL all", "YoLL lost male", "YoLL female"};
    for (int i = 0; i < tabs.size(); ++i) EXPECT_EQ(ui().TabPageControl->tabText(i), tabs[i]);
    for (platform::StringGrid* grid : {ui().TabE_maleStringGrid, ui().TabE_femaleStringGrid, ui().TabE_allStringGrid}) {
        expectCells(grid, {{0, 0, "from age..."}, {5, 0, "# d. LCA"},  // the headings
                           {0, 1, "0"}, {1, 1, "0"}, {0, 2, "1"}, {1, 2, ""}});
    }
    expectCells(ui().TabLTmaleStringGrid_lifeRemain, {{0, 1, "  0"}, {0, 2, "  5"}, {0, 120, "  595"}});
    EXPECT_EQ(ui().TabLTallComboBox_displayAgeInterval->currentText(), QStringLiteral("1"));
    EXPECT_EQ(ui().TabLTmaleComboBox_displayAgeInterval->currentText(), QStringLiteral("5"));
    EXPECT_EQ(ui().TabLTallLabel_IndicatorCauseOfDeath->text(), QStringLiteral("ALL causes of death"));
    EXPECT_EQ(ui().TabRRLabel_calcEndedDateTime->text(), QStringLiteral("- - - - - -"));
    EXPECT_FALSE(lt().LTchanged);
    EXPECT_TRUE(lt().LTmarkEnabled);
    EXPECT_EQ(lt().LTsectionNames[3], "[LT_empirical_data/male+female]");
    EXPECT_EQ(lt().LTRRsettings.birthSlope, 100.0);
    EXPECT_EQ(lt().LTRRsettings.weightYearsFromYear, -111111);
}

TEST_F(LifeTableScreen, TheDefaultsBoxFillsTheRiskRowsAndLocksTheCertainty) {
    showTab(ui().TabRR);
    ui().TabRRCheckBox_useTAVdefaults->click();
    platform::StringGrid* grid = ui().TabRRStringGrid_betaRR;
    expectCells(grid, {{0, 1, "30"},
                       {1, 3, "120"},
                       {2, 1, withUsersSeparator(QStringLiteral("0.0060200"))},
                       {2, 2, withUsersSeparator(QStringLiteral("0.0089330"))}});
    EXPECT_EQ(ui().TabRREdit_xlo->text(), withUsersSeparator(QStringLiteral("7.5")));
    EXPECT_EQ(ui().TabRREdit_xhi->text(), QStringLiteral("80"));
    EXPECT_EQ(ui().TabRRComboBox_certainty->currentText(), QStringLiteral("HIGH"));
    EXPECT_FALSE(ui().TabRRComboBox_certainty->isEnabled());

    // Another pollutant cannot use the defaults: the box goes off and the risk rows are emptied.
    platform::testing::chooseComboItem(ui().TabRRComboBox_pollutant, 1);
    EXPECT_FALSE(ui().TabRRCheckBox_useTAVdefaults->isChecked());
    EXPECT_FALSE(ui().TabRRCheckBox_useTAVdefaults->isEnabled());
    EXPECT_TRUE(grid->cell(2, 1).isEmpty());
    EXPECT_EQ(lt().LTRRvector[3][0], 0.0);
    EXPECT_EQ(ui().TabInfosComboBox_pollutant->currentIndex(), 1);
}

TEST_F(LifeTableScreen, OpenShowsTheFileAndSaveAsWritesTheSameBytes) {
    const std::string original = LTInputFileBytes{}.bytes();
    const std::string path = openFile("graz.txt", original);
    EXPECT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    EXPECT_FALSE(lt().LTchanged);
    EXPECT_EQ(lt().LTinputName, "graz.txt");

    EXPECT_EQ(ui().TabInfosEdit_country->text(), QStringLiteral("Austria"));
    EXPECT_EQ(ui().TabInfosEdit_exPop->text(), QStringLiteral("1500"));
    EXPECT_EQ(ui().TabInfosEdit_annualMeanAll->text(), withUsersSeparator(QStringLiteral("25.5")));
    EXPECT_EQ(ui().TabInfosEdit_hiStation->text(), QStringLiteral("High st"));
    EXPECT_EQ(ui().TabInfosComboBox_pollutant->currentText(), QStringLiteral("PM10 long term"));
    EXPECT_EQ(ui().TabRREdit_startYear->text(), QStringLiteral("2005"));
    EXPECT_EQ(ui().TabRREdit_xhi->text(), QStringLiteral("60"));
    EXPECT_EQ(ui().TabRRComboBox_certainty->currentText(), QStringLiteral("MEDIUM"));
    // The relative risks come with all their digits.
    expectCells(ui().TabRRStringGrid_betaRR, {{2, 3, withUsersSeparator(QStringLiteral("0.0127"))},
                                              {4, 1, withUsersSeparator(QStringLiteral("1.06183654654536"))}});
    EXPECT_TRUE(ui().TabRRCheckBox_all_causes->isChecked());
    EXPECT_FALSE(ui().TabRRCheckBox_cardio_causes->isEnabled());
    EXPECT_EQ(ui().TabE_femaleStringGrid->cell(2, 4), QStringLiteral("2000"));
    EXPECT_EQ(ui().TabE_femaleEdit_comment->text(), QStringLiteral("women of Graz"));
    EXPECT_EQ(ui().TabE_allEdit_YearOfData->text(), QStringLiteral("2004"));
    EXPECT_TRUE(ui().TabE_allStringGrid->cell(2, 1).isEmpty());

    const std::string copy = workDir + "copy.txt";
    answerNextFile(QString::fromStdString(copy));
    ui().MFileSaveInputas->trigger();
    EXPECT_EQ(readFile(copy), original);
    EXPECT_EQ(lt().LTinputName, "copy.txt");
    for (const auto& dialog : DialogScript::fileDialogs()) {
        EXPECT_EQ(dialog.options.filter, QStringLiteral("text data (*.txt)"));
        EXPECT_EQ(dialog.options.defaultExt, QStringLiteral("txt"));
    }

    // Opening the copy shows it again; Save then writes silently under its name.
    openFile("copy.txt", readFile(copy));
    EXPECT_EQ(ui().TabInfosEdit_agglom->text(), QStringLiteral("Graz"));
    std::filesystem::remove(copy);
    ui().MFileSaveinput->trigger();
    EXPECT_EQ(readFile(copy), original);
    EXPECT_EQ(DialogScript::fileDialogs().size(), 3u);
}

// The file's texts, typed and pasted: a field shows what the file stores, and opening the saved
// file shows it again.
TEST_F(LifeTableScreen, TextsHoldOnlyWhatTheFileStores) {
    struct Case {
        bool paste;
        QString input, shown;
        int beeps;  // per field
    };
    const Case cases[] = {
        {true,
         QString::fromUtf8("A\tB\r\nC\x01"
                           "D\u2028E\u2029F\nG\rH"),
         "A B C D E F G H", 0},
        {false, QString::fromUtf8("\u0141\u00f3d\u017a;|"), QString::fromUtf8("\u00f3d;|"), 2},
        {true, QString::fromUtf8("\u6771\u4eac Z\u00fcrich \u20ac"), QString::fromUtf8(" Z\u00fcrich \u20ac"), 0},
        {true, QString(300, QLatin1Char('t')), QString(255, QLatin1Char('t')), 0},
    };
    auto& u = ui();
    const std::pair<QWidget*, QLineEdit*> fields[] = {
        {u.TabInfos, u.TabInfosEdit_country},   {u.TabInfos, u.TabInfosEdit_agglom},
        {u.TabInfos, u.TabInfosEdit_loStation}, {u.TabInfos, u.TabInfosEdit_hiStation},
        {u.TabE_male, u.TabE_maleEdit_comment}, {u.TabE_female, u.TabE_femaleEdit_comment}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        openFile("graz.txt", LTInputFileBytes{}.bytes());
        for (const auto& [page, edit] : fields) {
            showTab(page);
            const int before = platform::refusedKeyCount();
            if (c.paste)
                pasteInto(edit, c.input);
            else
                typeInto(edit, c.input);
            EXPECT_EQ(platform::refusedKeyCount() - before, c.beeps) << edit->objectName().toStdString();
            EXPECT_EQ(edit->text(), c.shown) << edit->objectName().toStdString();
            pressTab(screen());
        }
        const std::string copy = workDir + "copy.txt";
        std::filesystem::remove(copy);
        answerNextFile(QString::fromStdString(copy));
        u.MFileSaveInputas->trigger();
        openFile("copy.txt", readFile(copy));
        EXPECT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
        for (const auto& [page, edit] : fields) EXPECT_EQ(edit->text(), c.shown) << edit->objectName().toStdString();
    }
}

TEST_F(LifeTableScreen, AWrongNumberKeepsTheOldValueAndTheFocus) {
    openFile("graz.txt", LTInputFileBytes{}.bytes());
    QLineEdit* population = ui().TabInfosEdit_exPop;
    platform::testing::typeInto(population, QStringLiteral("12a"));
    EXPECT_TRUE(lt().LTchanged);
    answerNextBox(Button::Ok);
    platform::testing::leaveField(screen(), ui().TabInfosEdit_country);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Wrong input'12a' in field exposed population"));
    EXPECT_EQ(DialogScript::boxes().back().buttons, std::vector<Button>{Button::Ok});
    EXPECT_EQ(lt().LTinfos.exPop, 1500);
    EXPECT_EQ(screen()->activeControl(), population);

    platform::testing::typeInto(population, QStringLiteral("1600"));
    platform::testing::leaveField(screen(), ui().TabInfosEdit_country);
    EXPECT_EQ(lt().LTinfos.exPop, 1600);

    // A click on another tab leaves the field first: a wrong value keeps its tab in view, with one
    // message; a right one is taken before the tab changes.
    QTabBar* tabs = ui().TabPageControl->tabBar();
    platform::testing::typeInto(population, QStringLiteral("16o0"));
    answerNextBox(Button::Ok);
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(4).center());
    platform::testing::processEvents();
    EXPECT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(ui().TabPageControl->currentWidget(), ui().TabInfos);
    EXPECT_EQ(screen()->activeControl(), population);
    platform::testing::typeInto(population, QStringLiteral("1700"));
    QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(4).center());
    platform::testing::processEvents();
    EXPECT_EQ(lt().LTinfos.exPop, 1700);
    EXPECT_EQ(ui().TabPageControl->currentWidget(), ui().TabRR);
    showTab(ui().TabInfos);

    // An emptied edit leaves the value as it was; the annual mean goes to the Calc tab too.
    platform::testing::typeInto(population, QString());
    platform::testing::leaveField(screen(), ui().TabInfosEdit_annualMeanAll);
    EXPECT_EQ(lt().LTinfos.exPop, 1700);
    platform::testing::typeInto(ui().TabInfosEdit_annualMeanAll, withUsersSeparator(QStringLiteral("31.25")));
    platform::testing::leaveField(screen(), ui().TabInfosEdit_country);
    EXPECT_EQ(lt().LTRRsettings.meanAnnualConc, 31.25);
    EXPECT_EQ(ui().TabRREdit_meanAnnualConc->text(), withUsersSeparator(QStringLiteral("31.25")));
    EXPECT_EQ(ui().TabRRLabel_calcEndedDateTime->text(), QStringLiteral("- - - - - -"));

    // A real beyond a double is no number; one too small for a double is 0.
    for (const QString typed : {QStringLiteral("1e999"), QStringLiteral("-1e999")}) {
        platform::testing::typeInto(ui().TabInfosEdit_annualMeanAll, typed);
        answerNextBox(Button::Ok);
        platform::testing::leaveField(screen(), ui().TabInfosEdit_country);
        EXPECT_EQ(lastBoxText(), QStringLiteral("Wrong input'") + typed + QStringLiteral("' in field annual mean"));
    }
    EXPECT_EQ(lt().LTRRsettings.meanAnnualConc, 31.25);
    platform::testing::typeInto(ui().TabInfosEdit_annualMeanAll, QStringLiteral("1e-400"));
    platform::testing::leaveField(screen(), ui().TabInfosEdit_country);
    EXPECT_EQ(lt().LTRRsettings.meanAnnualConc, 0.0);
}

TEST_F(LifeTableScreen, CancelInTheSaveQuestionAbandonsTheCommand) {
    openFile("graz.txt", LTInputFileBytes{}.bytes());
    platform::testing::typeInto(ui().TabInfosEdit_country, QStringLiteral("Italy"));

    answerNextBox(Button::Cancel);
    ui().MFileEnterNewInputData->trigger();
    EXPECT_EQ(lastBoxText(), QStringLiteral("Do you want to save your changes?"));
    EXPECT_EQ(DialogScript::boxes().back().kind, platform::BoxKind::Confirmation);
    EXPECT_EQ(DialogScript::boxes().back().buttons, (std::vector<Button>{Button::Yes, Button::No, Button::Cancel}));
    EXPECT_EQ(ui().TabInfosEdit_exPop->text(), QStringLiteral("1500"));
    EXPECT_TRUE(lt().LTchanged);

    // Yes, then Cancel in the overwrite question: nothing saved, nothing cleared.
    const std::string before = readFile(workDir + "graz.txt");
    lt().LTinputName.clear();
    answerNextBox(Button::Yes);
    answerNextFile(QString::fromStdString(workDir + "graz.txt"));
    answerNextBox(Button::Cancel);
    ui().MFileEnterNewInputData->trigger();
    EXPECT_EQ(lastBoxText(), QStringLiteral("File already exists. Do you want to overwrite it?"));
    EXPECT_EQ(readFile(workDir + "graz.txt"), before);
    EXPECT_EQ(ui().TabInfosEdit_exPop->text(), QStringLiteral("1500"));

    // Closing with Cancel keeps the screen; with No it hides, keeping the data and the question.
    answerNextBox(Button::Cancel);
    ui().MFileCloseWin->trigger();
    EXPECT_TRUE(screen()->isVisible());
    answerNextBox(Button::No);
    ui().MFileCloseWin->trigger();
    EXPECT_FALSE(screen()->isVisible());
    EXPECT_TRUE(lt().LTchanged);
    ASSERT_TRUE(platform::testing::activateForm(screen()));
    EXPECT_EQ(ui().TabInfosEdit_country->text(), QStringLiteral("Italy"));
    answerNextBox(Button::No);
    ui().MFileEnterNewInputData->trigger();
    EXPECT_TRUE(ui().TabInfosEdit_exPop->text().isEmpty());
    EXPECT_FALSE(lt().LTchanged);
    EXPECT_EQ(lt().LTinfos.exPop, 0);
    EXPECT_EQ(lt().LTlineCount[1], 0);
}

TEST_F(LifeTableScreen, AFileWithABadNumberIsNotTakenInPart) {
    std::string bytes = LTInputFileBytes{}.bytes();
    bytes.replace(bytes.find(withUsersSeparator(std::string("2003\t80.5"))), 4, "20x3");
    answerNextBox(Button::Ok);
    openFile("bad.txt", bytes);
    EXPECT_EQ(lastBoxText(), QStringLiteral("'20x3' is not a valid integer value"));
    EXPECT_TRUE(lt().LTinputName.empty());
    EXPECT_EQ(lt().LTlineCount[1], 0);
    EXPECT_TRUE(ui().TabE_maleStringGrid->cell(2, 1).isEmpty());
}

TEST_F(LifeTableScreen, AFileSavedAsUtf8WithItsMarkIsShownAndSavedInTheCodePage) {
    const std::string original = LTInputFileBytes{}.bytes();
    std::string utf8 = original;
    utf8.replace(utf8.find("Austria"), 7, "\xC3\x96sterreich \xE2\x82\xAC");  // "Österreich €"
    openFile("utf8.txt", "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    EXPECT_EQ(ui().TabInfosEdit_country->text(), QString::fromUtf8("\xC3\x96sterreich \xE2\x82\xAC"));
    ui().MFileSaveinput->trigger();
    std::string saved = original;
    saved.replace(saved.find("Austria"), 7, "\xD6sterreich \x80");
    EXPECT_EQ(readFile(workDir + "utf8.txt"), saved);

    // A character that the code page cannot hold stops the read; the file is not taken.
    utf8.replace(utf8.find("\xE2\x82\xAC"), 3, "\xE6\x9D\xB1");  // 東
    answerNextBox(Button::Ok);
    openFile("east.txt", "\xEF\xBB\xBF" + utf8);
    EXPECT_EQ(lastBoxText(),
              QStringLiteral("Line 18 of \"east.txt\" holds a character that code page 1252 cannot hold."));
    EXPECT_TRUE(lt().LTinputName.empty());
    EXPECT_TRUE(ui().TabInfosEdit_country->text().isEmpty());
}

TEST_F(LifeTableScreen, AFileThatGaveNothingCouldNotBeReadOrHadRowsBeyondTheTableIsNotSavedOver) {
    // The impact screen's results, opened by mistake: no section, so nothing is read.
    const std::string results = "Class\tDays\tAP\r\n> 0\t12\t0.5\r\n";
    answerNextBox(Button::Ok);
    const std::string path = openFile("results.txt", results);
    EXPECT_EQ(lastBoxText(), QStringLiteral("WARNING: No usable records found in input file: results.txt"));
    EXPECT_TRUE(lt().LTinputName.empty());
    // Save asks for a name; Cancel writes nothing.
    cancelNextFile();
    ui().MFileSaveinput->trigger();
    EXPECT_EQ(DialogScript::fileDialogs().size(), 2u);
    EXPECT_EQ(readFile(path), results);

    answerNextBox(Button::Ok);
    answerNextFile(QString::fromStdString(workDir + "gone.txt"));
    ui().MFileOpenInputData->trigger();
    EXPECT_EQ(lastBoxText(), QStringLiteral("Error on assigning file gone.txt"));
    EXPECT_TRUE(lt().LTinputName.empty());
    EXPECT_TRUE(lt().LTinputPath.empty());

    // 121 age groups: the first 120 are shown, and a save would cut the file.
    LTInputFileBytes tooLong;
    tooLong.groups = 121;
    answerNextBox(Button::Ok);
    answerNextBox(Button::Ok);
    const std::string longPath = openFile("long.txt", tooLong.bytes());
    EXPECT_EQ(lastBoxText(), QStringLiteral("WARNING: More than 120 lines in section [LT_empirical_data/female] of "
                                            "input file: long.txt. Only the first 120 are used."));
    EXPECT_EQ(lt().LTlineCount[1], 120);
    EXPECT_TRUE(lt().LTinputName.empty());
    cancelNextFile();
    ui().MFileSaveinput->trigger();
    EXPECT_EQ(DialogScript::fileDialogs().size(), 5u);
    EXPECT_TRUE(readFile(longPath) == tooLong.bytes());
}

TEST_F(LifeTableScreen, MenusShowTheSupplierScreenTheAboutBoxAndTheHelp) {
    ui().Screens1->trigger();
    EXPECT_TRUE(program_->Form2->isVisible());
    ui().MHelpAboutZelk->trigger();
    EXPECT_TRUE(program_->AboutBox->isVisible());
    ui().MHelpZelkLifeTables->trigger();
    ASSERT_FALSE(DialogScript::helpRequests().empty());
    EXPECT_TRUE(DialogScript::helpRequests().back().helpFile.endsWith(QStringLiteral("/zozezu.hlp")));
    EXPECT_EQ(DialogScript::helpRequests().back().topic, QStringLiteral("content"));
    // The help file built beside the program names the tabs by their captions, and no tab that the
    // screen does not have.
    const std::string help = readFile(runtime::executableFolder() + "zozezu.hlp");
    for (const char* tab :
         {"Infos", "Data male", "Data female", "Data all", "Calc", "YoLL all", "YoLL lost male", "YoLL female"})
        EXPECT_NE(help.find(std::string("<b>") + tab + "</b>"), std::string::npos) << tab;
    for (const char* tab : {"Information", "Calculation", "Data", "Results"})
        EXPECT_EQ(help.find(std::string("<b>") + tab + "</b>"), std::string::npos) << tab;
    EXPECT_NE(help.find("type its from age and until age"), std::string::npos);
}

TEST_F(LifeTableScreen, TheAnalysedCauseLineStaysCheckedAndAnIntervalOfItsOwnLeavesTheDefaults) {
    showTab(ui().TabRR);
    platform::testing::chooseComboItem(ui().TabRRComboBox_RReffect, 1);
    EXPECT_EQ(lt().LTinfos.effect, 1);
    EXPECT_FALSE(ui().TabRRCheckBox_all_causes->isEnabled());
    ui().TabRRCheckBox_cardio_causes->click();
    EXPECT_TRUE(ui().TabRRCheckBox_cardio_causes->isChecked());
    ui().TabRRCheckBox_LCA_causes->click();
    EXPECT_FALSE(ui().TabRRCheckBox_LCA_causes->isChecked());
    EXPECT_FALSE(lt().LTcauseChecked[2]);
    EXPECT_TRUE(lt().LTcauseChecked[1]);

    ui().TabRRCheckBox_useTAVdefaults->click();
    platform::testing::typeInto(ui().TabRREdit_xlo, QStringLiteral("5"));
    platform::testing::leaveField(screen(), ui().TabRREdit_inputLevel);
    EXPECT_EQ(lt().LTRRsettings.X_lo, 5.0);
    EXPECT_FALSE(lt().LTRRsettings.useTAVdefaults);
    EXPECT_FALSE(ui().TabRRCheckBox_useTAVdefaults->isChecked());
    EXPECT_EQ(ui().TabRRStringGrid_betaRR->cell(2, 1), withUsersSeparator(QStringLiteral("0.0060200")));
    EXPECT_FALSE(ui().TabRRComboBox_certainty->isEnabled());
}

TEST_F(LifeTableScreen, PrintPrintsTheScreenAfterThePrintDialog) {
    const std::string pdf = workDir + "screen.pdf";
    DialogScript::printToPdf(QString::fromStdString(pdf));
    DialogScript::answerPrintDialog(false);
    ui().MFilePrintactivetab->trigger();
    EXPECT_EQ(DialogScript::printJobCount(), 0);
    ui().MFilePrintactivetab->trigger();
    DialogScript::printToPdf(QString());
    EXPECT_EQ(DialogScript::printJobCount(), 1);
    EXPECT_TRUE(std::filesystem::exists(pdf));
}

TEST_F(LifeTableScreen, OpenEmptiesTheScreenEvenWhenTheDialogIsCancelled) {
    openFile("graz.txt", LTInputFileBytes{}.bytes());
    platform::testing::typeInto(ui().TabInfosEdit_country, QStringLiteral("Italy"));
    answerNextBox(Button::No);
    cancelNextFile();
    ui().MFileOpenInputData->trigger();
    EXPECT_TRUE(ui().TabInfosEdit_country->text().isEmpty());
    EXPECT_TRUE(ui().TabE_maleStringGrid->cell(2, 1).isEmpty());
    EXPECT_FALSE(lt().LTchanged);
    EXPECT_TRUE(lt().LTinputName.empty());
}

TEST_F(LifeTableScreen, AFileWithAdvancedSettingsAndAnotherEffectComesBackAsSaved) {
    std::string bytes = LTInputFileBytes{}.bytes();
    bytes.replace(bytes.find("\t1\t0\t2005"), 9, "\t0\t1\t2005");                  // PM2.5, cardiopulmonary
    bytes.replace(bytes.find("-1\t0\t0\t\r\n"), 9, "0\t-1\t0\t\r\n");            // the LCA line switched off
    bytes.replace(bytes.find("0\t2\t100\t-111111"), 15, "-1\t1\t120\t2000");      // advanced, certainty LOW
    openFile("advanced.txt", bytes);
    EXPECT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    EXPECT_FALSE(lt().LTchanged);
    EXPECT_EQ(ui().TabRRComboBox_RReffect->currentText(), QStringLiteral("cardiopulmonary"));
    EXPECT_FALSE(ui().TabRRCheckBox_all_causes->isChecked());
    EXPECT_FALSE(ui().TabRRCheckBox_all_causes->isEnabled());
    EXPECT_TRUE(ui().TabRRCheckBox_cardio_causes->isChecked());
    EXPECT_FALSE(ui().TabRRCheckBox_LCA_causes->isChecked());
    EXPECT_TRUE(ui().TabRRCheckBox_LCA_causes->isEnabled());
    EXPECT_EQ(lt().LTcauseChecked, (std::array<bool, 3>{false, true, false}));
    EXPECT_TRUE(ui().TabRRCheckBox_advanced->isChecked());
    EXPECT_TRUE(ui().TabRREdit_birthSlope->isEnabled());
    EXPECT_EQ(ui().TabRREdit_birthSlope->text(), QStringLiteral("120"));
    EXPECT_EQ(ui().TabRREdit_birthFromYear->text(), QStringLiteral("2000"));
    EXPECT_EQ(ui().TabRREdit_weightYearsUntilYear->text(), QStringLiteral("111111"));
    EXPECT_EQ(ui().TabRRComboBox_certainty->currentText(), QStringLiteral("LOW"));

    // With the defaults in use another effect takes the defaults again and checks its cause lines.
    showTab(ui().TabRR);
    ui().TabRRCheckBox_useTAVdefaults->click();
    ui().TabRRStringGrid_betaRR->setCell(3, 3, QStringLiteral("x"));
    platform::testing::chooseComboItem(ui().TabRRComboBox_RReffect, 2);
    EXPECT_TRUE(lt().LTRRsettings.useTAVdefaults);
    EXPECT_EQ(ui().TabRRStringGrid_betaRR->cell(3, 3), QString::fromStdString(runtime::formatFixed(lt().LTparamSet.values[4][2], 6, 7)));
    EXPECT_TRUE(ui().TabRRCheckBox_cardio_causes->isChecked());
    EXPECT_TRUE(ui().TabRRCheckBox_LCA_causes->isChecked());
    EXPECT_EQ(lt().LTcauseChecked, (std::array<bool, 3>{false, true, true}));
}

TEST_F(LifeTableScreen, OnlyTheResultTabsOfASexWithResultsNameTheirCause) {
    LTInputFileBytes file;
    file.effect = 1;  // male and female results computed for cardiopulmonary deaths
    openFile("cardio.txt", file.bytes());
    EXPECT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    EXPECT_EQ(lt().LTshownCause, 1);
    EXPECT_EQ(ui().TabLTmaleLabel_IndicatorCauseOfDeath->text(), QStringLiteral("cardiopulmonary"));
    EXPECT_EQ(ui().TabLTfemaleLabel_IndicatorCauseOfDeath->text(), QStringLiteral("cardiopulmonary"));
    EXPECT_EQ(ui().TabLTallLabel_IndicatorCauseOfDeath->text(), QStringLiteral("ALL causes of death"));

    // New puts the cause of no results back on every tab.
    ui().MFileEnterNewInputData->trigger();
    for (int sex = 1; sex <= 3; ++sex)
        EXPECT_EQ(screen()->resultTab(sex).cause->text(), QStringLiteral("ALL causes of death"));
}
