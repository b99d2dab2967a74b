// The life-table screen's data grids, the calculation run, the result tabs and the calculations file.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <cmath>

#include "lifetables/tests/lt_screen_fixture.h"
#include "runtime/NumberText.h"

namespace {

QString fixed2(double value) { return QString::fromStdString(runtime::formatFixed(value, 6, 2)); }

const QString kNote = QStringLiteral(
    "NOTE: Zelk's screen is not refreshed during calculations in order to increase the speed of computation: "
    "the program is in a \"Not responding\" state until computation has finished!");

}  // namespace

class LifeTableRun : public LifeTableScreen {
protected:
    // Opens fourteen age groups from 30 to 99 of men and women with the built-in risks.
    void openDataSet() {
        LTInputFileBytes file;
        file.groups = 14;
        file.useDefaults = true;
        openFile("run.txt", file.bytes());
        ASSERT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    }

    void go() {
        ui().TabRRButton_Go->click();
        platform::testing::processEvents();
    }

    // Types `text` into a cell of a data grid as a user does, key by key, each key coming from the
    // event loop after the reactions to the one before.
    void typeInCell(platform::StringGrid* grid, int col, int row, const QString& text) {
        platform::testing::clickOn(grid);
        grid->setCurrentCell(row, col);
        grid->editItem(grid->item(row, col));
        platform::testing::processEvents();
        QWidget* editor = QApplication::focusWidget();
        ASSERT_TRUE(editor && editor != grid);
        if (auto* line = qobject_cast<QLineEdit*>(editor)) line->selectAll();
        for (const QChar key : text) {
            QTest::keyClicks(editor, key);
            platform::testing::processEvents();
        }
    }

    double summary(int indicator, int scenario, int sex) {
        return lt().LTsummary[static_cast<std::size_t>(indicator)][static_cast<std::size_t>(scenario)][static_cast<std::size_t>(sex)];
    }
};

TEST_F(LifeTableRun, ACalculationFillsTheResultTabsOfTheSexesWithData) {
    openDataSet();
    lt().LTOSmajor = "6";
    answerNextBox(Button::Ok);
    go();
    ASSERT_EQ(DialogScript::boxes().size(), 1u) << lastBoxText().toStdString();
    EXPECT_EQ(lastBoxText(), kNote);
    EXPECT_TRUE(lt().LTresultValid[1]);
    EXPECT_TRUE(lt().LTresultValid[2]);
    EXPECT_FALSE(lt().LTresultValid[3]);
    EXPECT_TRUE(lt().LTchanged);
    EXPECT_NE(summary(0, 0, 1), 0.0);

    const auto male = screen()->resultTab(1);
    EXPECT_EQ(male.deltaYear0->cell(1, 1), fixed2(summary(0, 0, 1)));
    EXPECT_EQ(male.deltaYear0->cell(3, 2), fixed2(summary(1, 2, 1)));
    EXPECT_EQ(male.deltaYear0_norm->cell(2, 1), fixed2(summary(4, 1, 1)));
    EXPECT_EQ(male.zeroToTen->cell(1, 0), fixed2(summary(6, 0, 1)));
    EXPECT_EQ(male.zeroToTen_norm->cell(1, 0), fixed2(summary(7, 0, 1)));
    EXPECT_EQ(male.dueToDeath->cell(2, 0), fixed2(summary(8, 1, 1)));
    EXPECT_EQ(male.dueToDeath_norm->cell(3, 0), fixed2(summary(9, 2, 1)));
    const auto female = screen()->resultTab(2);
    EXPECT_EQ(female.deltaYear0->cell(1, 1), fixed2(summary(0, 0, 2)));
    EXPECT_TRUE(screen()->resultTab(3).deltaYear0->cell(1, 1).isEmpty());
    // The texts themselves: two decimals, zeros kept, no grouping.
    EXPECT_EQ(male.deltaYear0->cell(1, 1), withUsersSeparator(QStringLiteral("41.69")));
    EXPECT_EQ(male.deltaYear0->cell(3, 2), withUsersSeparator(QStringLiteral("18.91")));
    EXPECT_EQ(male.deltaYear0_norm->cell(2, 1), withUsersSeparator(QStringLiteral("43.31")));
    EXPECT_EQ(male.zeroToTen->cell(1, 0), withUsersSeparator(QStringLiteral("2649.35")));
    EXPECT_EQ(male.zeroToTen_norm->cell(1, 0), withUsersSeparator(QStringLiteral("18372.70")));
    EXPECT_EQ(male.dueToDeath_norm->cell(3, 0), withUsersSeparator(QStringLiteral("11005.60")));
    EXPECT_EQ(female.deltaYear0->cell(1, 1), withUsersSeparator(QStringLiteral("83.38")));

    // Life expectancy every fifth age from the first age of the data.
    const auto& lifeExp = lt().LTlifeExp;
    const auto& delta = lt().LTlifeExpDelta;
    EXPECT_EQ(male.ageInterval->currentText(), QStringLiteral("5"));
    EXPECT_EQ(male.lifeRemain->cell(0, 1), QStringLiteral("  30"));
    EXPECT_EQ(male.lifeRemain->cell(0, 2), QStringLiteral("  35"));
    EXPECT_EQ(male.lifeRemain->cell(1, 1), fixed2(lifeExp[1][0][1]));
    EXPECT_EQ(male.lifeRemain->cell(1, 2), fixed2(lifeExp[6][0][1]));
    EXPECT_EQ(male.lifeRemain->cell(2, 2), fixed2(delta[6][1][1]));
    EXPECT_EQ(male.lifeRemain->cell(4, 14), fixed2(delta[66][3][1]));
    EXPECT_EQ(male.lifeRemain->cell(1, 1), withUsersSeparator(QStringLiteral("28.77")));
    EXPECT_EQ(male.lifeRemain->cell(2, 2), withUsersSeparator(QStringLiteral("1.61")));
    EXPECT_EQ(male.lifeRemain->cell(3, 3), withUsersSeparator(QStringLiteral("0.40")));
    EXPECT_TRUE(male.lifeRemain->cell(1, 15).isEmpty());
    platform::testing::chooseComboItem(male.ageInterval, 0);
    EXPECT_EQ(male.lifeRemain->cell(0, 2), QStringLiteral("  31"));
    EXPECT_EQ(male.lifeRemain->cell(1, 2), fixed2(lifeExp[2][0][1]));
    EXPECT_EQ(male.lifeRemain->cell(1, 70), fixed2(lifeExp[70][0][1]));
    platform::testing::chooseComboItem(male.ageInterval, 2);
    EXPECT_EQ(male.lifeRemain->cell(0, 2), QStringLiteral("  40"));
    EXPECT_EQ(male.lifeRemain->cell(3, 2), fixed2(delta[11][2][1]));

    const QString stamp = ui().TabRRLabel_calcEndedDateTime->text();
    EXPECT_NE(stamp, QStringLiteral("- - - - - -"));
    EXPECT_EQ(male.calcEnded->text(), stamp);
    EXPECT_TRUE(ui().TabRRLabel_CalcFinished->isVisibleTo(ui().TabRR));
    EXPECT_TRUE(ui().TabRRButton_Go->isEnabled());
    EXPECT_FALSE(ui().TabRRProgressBar_Calculation->isVisibleTo(ui().TabRR));

    // Any change of an input makes the result stale.
    platform::testing::typeInto(ui().TabRREdit_inputLevel, QStringLiteral("8"));
    EXPECT_EQ(male.calcEnded->text(), QStringLiteral("- - - - - -"));
    EXPECT_FALSE(ui().TabRRLabel_CalcFinished->isVisibleTo(ui().TabRR));
}

TEST_F(LifeTableRun, TheAdvancedSettingsStartThePollutionChangeInTheStartYear) {
    openDataSet();
    lt().LTOSmajor = "4";
    showTab(ui().TabRR);
    ui().TabRRCheckBox_advanced->click();
    EXPECT_TRUE(ui().TabRREdit_weightYears->isEnabled());
    platform::testing::typeInto(ui().TabRREdit_weightYears, withUsersSeparator(QStringLiteral("0.5")));
    platform::testing::leaveField(screen(), ui().TabRREdit_weightAge);
    EXPECT_EQ(lt().LTRRsettings.weightYears, 0.5);
    go();
    EXPECT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    EXPECT_EQ(ui().TabRREdit_percPollFromYear->text(), QStringLiteral("2005"));
    EXPECT_EQ(lt().LTRRsettings.percPollFromYear, 2005);
    EXPECT_FALSE(ui().TabRRProgressBar_Calculation->isVisibleTo(ui().TabRR));
    EXPECT_FALSE(ui().TabRRLabel_calculating->isVisibleTo(ui().TabRR));
    showTab(ui().TabLTfemaleTabSheet);
    EXPECT_TRUE(ui().TabLTallLabel_weightNote->isVisibleTo(ui().TabLTallSheet));
    EXPECT_TRUE(ui().TabLTfemaleLabel_weightNote->isVisible());

    // Without the advanced settings the weights are neutral again and the note goes.
    ui().TabRRCheckBox_advanced->click();
    EXPECT_EQ(ui().TabRREdit_weightYears->text(), QStringLiteral("1"));
    EXPECT_EQ(lt().LTRRsettings.weightYearsFromYear, -111111);
    showTab(ui().TabLTmaleSheet);
    EXPECT_FALSE(ui().TabLTmaleLabel_weightNote->isVisible());

    // A file with weighted years opened from the result tab: the note comes when the screen is
    // shown again with that tab in front.
    std::string bytes = LTInputFileBytes{}.bytes();
    bytes.replace(bytes.find("0\t2\t100\t-111111"), 1, "-1");
    bytes.replace(bytes.find("\t1\t-111111\t111111\t\r\n"), 2, withUsersSeparator(std::string("\t0.5")));
    answerNextBox(Button::No);
    openFile("weighted.txt", bytes);
    EXPECT_EQ(lt().LTRRsettings.weightYears, 0.5);
    screen()->hideForm();
    ASSERT_TRUE(platform::testing::activateForm(screen()));
    EXPECT_EQ(ui().TabPageControl->currentWidget(), ui().TabLTmaleSheet);
    EXPECT_TRUE(ui().TabLTmaleLabel_weightNote->isVisible());
}

TEST_F(LifeTableRun, AFailingCheckEndsTheRunWithItsMessages) {
    lt().LTOSmajor = "4";
    showTab(ui().TabRR);
    ui().TabRRCheckBox_useTAVdefaults->click();
    answerNextBox(Button::Ok);
    answerNextBox(Button::Ok);
    go();
    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(DialogScript::boxes()[0].text, QStringLiteral("ERROR: reference level 0 not in [X_lo, X_hi] interval!"));
    EXPECT_EQ(lastBoxText(), QStringLiteral("Error during calculation. Check values of input data!"));
    EXPECT_TRUE(ui().TabRRButton_Go->isEnabled());
    EXPECT_FALSE(ui().TabRRLabel_CalcFinished->isVisibleTo(ui().TabRR));
    EXPECT_EQ(ui().TabRRLabel_calcEndedDateTime->text(), QStringLiteral("- - - - - -"));
}

// The tab of both sexes gets no results from this data set: only the run itself names the cause there.
TEST_F(LifeTableRun, TheRunNamesTheAnalysedCauseOnAllThreeResultTabs) {
    openDataSet();
    lt().LTOSmajor = "4";
    platform::testing::chooseComboItem(ui().TabRRComboBox_RReffect, 2);
    go();
    ASSERT_TRUE(ui().TabRRLabel_CalcFinished->isVisibleTo(ui().TabRR)) << lastBoxText().toStdString();
    for (QLabel* label : {ui().TabLTallLabel_IndicatorCauseOfDeath, ui().TabLTmaleLabel_IndicatorCauseOfDeath,
                          ui().TabLTfemaleLabel_IndicatorCauseOfDeath})
        EXPECT_EQ(label->text(), QStringLiteral("LCA")) << label->objectName().toStdString();
}

TEST_F(LifeTableRun, SaveCalculationsWritesTheMatricesOfTheSexesWithResults) {
    openDataSet();
    lt().LTOSmajor = "4";
    go();
    const std::string path = workDir + "matrices.txt";
    answerNextFile(QString::fromStdString(path));
    ui().MFileSaveCalculations->trigger();
    const std::string bytes = readFile(path);
    EXPECT_EQ(bytes.rfind("[Calculation:_male]\r\n[Hazard_Matrix_empirical]\r\n0\t2005\t2006\t", 0), 0u);
    EXPECT_NE(bytes.find("[Calculation:_female]\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find("[Calculation:_both_sexes]"), std::string::npos);
    EXPECT_TRUE(lt().LTchanged);
    EXPECT_EQ(lt().LTcalcName, "matrices.txt");

    // The second time the file is written under its name without a question.
    ui().MFileSaveCalculations->trigger();
    EXPECT_EQ(DialogScript::fileDialogs().size(), 2u);
    EXPECT_EQ(readFile(path), bytes);
}

TEST_F(LifeTableRun, TypingInASingleSexGridLocksTheBothSexesGridAndMalePlusFemaleSums) {
    openDataSet();
    showTab(ui().TabE_male);
    platform::StringGrid* male = ui().TabE_maleStringGrid;
    typeInCell(male, 2, 1, QStringLiteral("1500"));
    EXPECT_TRUE(lt().LTchanged);
    EXPECT_FALSE(ui().TabE_allStringGrid->isEnabled());
    EXPECT_EQ(ui().TabE_allLabel_manualHint->text(), QStringLiteral("Manual data input disabled"));
    EXPECT_TRUE(ui().TabE_all_Button_fillcells->isEnabled());
    EXPECT_TRUE(ui().TabE_femaleStringGrid->isEnabled());

    answerNextBox(Button::Ok);
    typeInCell(male, 0, 3, QStringLiteral("4a"));
    EXPECT_EQ(lastBoxText(), QStringLiteral("ERROR: Value must be a positive whole number!"));
    EXPECT_TRUE(male->cell(0, 3).isEmpty());
    answerNextBox(Button::Ok);
    typeInCell(male, 1, 3, withUsersSeparator(QStringLiteral("4.")));  // the until age as well
    EXPECT_EQ(boxCount(), 2u);
    EXPECT_TRUE(male->cell(1, 3).isEmpty());
    typeInCell(male, 1, 3, QStringLiteral("44"));
    typeInCell(male, 0, 3, QStringLiteral("40"));
    typeInCell(male, 5, 2, QString());
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backspace);

    platform::testing::leaveField(screen(), ui().TabE_maleEdit_comment);
    const auto& e = lt().LTempirical;
    EXPECT_EQ(lt().LTlineCount[1], 14);
    EXPECT_EQ(e[1][3][1], 1500.0);
    EXPECT_DOUBLE_EQ(e[1][7][1], 8.0 / 1500.0);
    EXPECT_EQ(male->cell(5, 2), QStringLiteral("0"));
    EXPECT_EQ(e[2][9][1], 0.0);

    showTab(ui().TabE_all);
    ui().TabE_all_Button_fillcells->click();
    platform::StringGrid* all = ui().TabE_allStringGrid;
    EXPECT_EQ(lt().LTlineCount[3], 14);
    EXPECT_EQ(all->cell(0, 14), QStringLiteral("95"));
    EXPECT_EQ(all->cell(2, 1), QStringLiteral("3500"));
    EXPECT_EQ(all->cell(3, 1), QStringLiteral("24"));
    EXPECT_EQ(all->cell(5, 2), QStringLiteral("4"));   // LCA: 0 men + 4 women
    EXPECT_DOUBLE_EQ(e[1][7][3], 24.0 / 3500.0);
    EXPECT_DOUBLE_EQ(e[14][8][3], (56.0 + 112.0) / 3000.0);
    EXPECT_EQ(lt().LTageCount[3], 70);

    lt().LTlineCount[2] = 13;
    answerNextBox(Button::Ok);
    ui().TabE_all_Button_fillcells->click();
    EXPECT_EQ(lastBoxText(),
              QStringLiteral("No male or female data available or data doesn't match! Cannot compute Data_All matrix."));

    // A population that is no number stops the transfer at its cell: the cells before it are taken
    // over, the rest keeps the values it had.
    showTab(ui().TabE_male);
    typeInCell(male, 2, 1, QStringLiteral("1600"));
    typeInCell(male, 2, 2, QStringLiteral("x"));
    answerNextBox(Button::Ok);
    platform::testing::leaveField(screen(), ui().TabE_maleEdit_comment);
    EXPECT_EQ(lastBoxText(), QStringLiteral("'x' is not a valid floating point value"));
    EXPECT_EQ(e[1][3][1], 1600.0);
    EXPECT_EQ(e[2][3][1], 1000.0);
    EXPECT_DOUBLE_EQ(e[1][7][1], 8.0 / 1500.0);
    EXPECT_EQ(lt().LTlineCount[1], 14);
}

TEST_F(LifeTableRun, TheYearOfDataIsSharedByTheThreeTabs) {
    showTab(ui().TabE_male);
    platform::testing::typeInto(ui().TabE_maleEdit_YearOfData, QStringLiteral("2006"));
    platform::testing::leaveField(screen(), ui().TabE_maleEdit_comment);
    EXPECT_EQ(ui().TabE_femaleEdit_YearOfData->text(), QStringLiteral("2006"));
    EXPECT_EQ(ui().TabE_allEdit_YearOfData->text(), QStringLiteral("2006"));
    EXPECT_EQ(lt().LTyearOfData, 2006);

    platform::testing::typeInto(ui().TabE_maleEdit_YearOfData, QStringLiteral("20o6"));
    answerNextBox(Button::Ok);
    platform::testing::leaveField(screen(), ui().TabE_maleEdit_comment);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Wrong input'20o6' in field Year/Data"));
    EXPECT_EQ(lt().LTyearOfData, 2006);
}

TEST_F(LifeTableRun, TypingInTheBothSexesGridFirstLocksTheSingleSexGrids) {
    showTab(ui().TabE_all);
    typeInCell(ui().TabE_allStringGrid, 1, 2, QStringLiteral("4"));
    EXPECT_FALSE(ui().TabE_maleStringGrid->isEnabled());
    EXPECT_FALSE(ui().TabE_femaleStringGrid->isEnabled());
    EXPECT_EQ(ui().TabE_femaleLabel_manualHint->text(), QStringLiteral("Manual data input disabled"));
    EXPECT_TRUE(ui().TabE_allStringGrid->isEnabled());
    EXPECT_FALSE(ui().TabE_all_Button_fillcells->isVisibleTo(ui().TabE_all));

    // New releases the lock.
    answerNextBox(Button::No);
    ui().MFileEnterNewInputData->trigger();
    EXPECT_TRUE(ui().TabE_maleStringGrid->isEnabled());
    EXPECT_EQ(ui().TabE_maleLabel_manualHint->text(), QStringLiteral("Manual data input enabled"));
    EXPECT_FALSE(lt().LTmanualLock);
}

TEST_F(LifeTableRun, TheRiskGridTakesWholeAgesAndNoTypedRisks) {
    showTab(ui().TabRR);
    platform::StringGrid* grid = ui().TabRRStringGrid_betaRR;
    answerNextBox(Button::Ok);
    typeInCell(grid, 0, 1, withUsersSeparator(QStringLiteral("3.5")));
    EXPECT_EQ(lastBoxText(), QStringLiteral("ERROR: Value must be a positive whole number!"));
    EXPECT_EQ(grid->cell(0, 1), QStringLiteral("5"));  // emptied at the point, then the 5 typed after it
    answerNextBox(Button::Ok);
    typeInCell(grid, 1, 1, QStringLiteral("-"));
    EXPECT_EQ(boxCount(), 2u);
    EXPECT_TRUE(grid->cell(1, 1).isEmpty());
    answerNextBox(Button::Ok);
    typeInCell(grid, 5, 2, QStringLiteral("2"));
    EXPECT_EQ(lastBoxText(), QStringLiteral("Values for relative risks cannot be entered. They're always calculated from beta!"));
    EXPECT_TRUE(grid->cell(5, 2).isEmpty());

    // "compute RRs" takes the rows in turn and stops at the first one without numbers.
    typeInCell(grid, 0, 1, QStringLiteral("30"));
    typeInCell(grid, 1, 1, QStringLiteral("120"));
    typeInCell(grid, 2, 1, withUsersSeparator(QStringLiteral("0.01")));
    typeInCell(grid, 3, 1, QStringLiteral("0"));
    answerNextBox(Button::Ok);
    ui().TabRRButton_auxilComputeRRs->click();
    EXPECT_EQ(lastBoxText(), QStringLiteral("Error on filling betas: you must enter numbers for the first four columns!"));
    EXPECT_EQ(lt().LTRRvector[3][0], 0.01);
    EXPECT_EQ(grid->cell(4, 1), QString::fromStdString(runtime::formatFixed(std::exp(0.1), 10, 7)));
    EXPECT_EQ(grid->cell(6, 1), grid->cell(4, 1));
    EXPECT_TRUE(grid->cell(4, 2).isEmpty());

    // A beta beyond a double is no number either.
    typeInCell(grid, 2, 1, QStringLiteral("1e999"));
    answerNextBox(Button::Ok);
    ui().TabRRButton_auxilComputeRRs->click();
    EXPECT_EQ(lastBoxText(),
              QStringLiteral("Error on filling betas: you must enter numbers for the first four columns!"));
    EXPECT_EQ(lt().LTRRvector[3][0], 0.01);
}

// A beta of 100 makes the relative risks per 10 units infinite: the run stops before the
// simulation with messages that name them, and nothing infinite reaches the file.
TEST_F(LifeTableRun, ABetaTooLargeForARiskStopsTheRunBeforeTheSimulation) {
    openDataSet();
    lt().LTOSmajor = "4";
    showTab(ui().TabRR);
    typeInCell(ui().TabRRStringGrid_betaRR, 2, 1, QStringLiteral("100"));
    platform::testing::typeInto(ui().TabRREdit_inputLevel,
                                withUsersSeparator(QStringLiteral("25.5")));  // the mean: risks 1 there
    platform::testing::leaveField(screen(), ui().TabRREdit_xlo);
    for (int i = 0; i < 4; ++i) answerNextBox(Button::Ok);
    go();
    ASSERT_EQ(DialogScript::boxes().size(), 4u) << lastBoxText().toStdString();
    EXPECT_EQ(DialogScript::boxes()[0].text,
              "CALCULATION IMPOSSIBLE: RR of ALL causes of death per 10 units is not a finite number: beta or se beta "
              "is too large!");
    EXPECT_EQ(lastBoxText(), QStringLiteral("Error during calculation. Check values of input data!"));
    EXPECT_FALSE(ui().TabRRLabel_CalcFinished->isVisibleTo(ui().TabRR));
    const std::string path = workDir + "saved.txt";
    answerNextFile(QString::fromStdString(path));
    ui().MFileSaveInputas->trigger();
    const std::string bytes = readFile(path);
    EXPECT_EQ(bytes.find("INF"), std::string::npos);
    EXPECT_EQ(bytes.find("NAN"), std::string::npos);
}

// Male + female populations whose sum a double cannot hold do not reach the file, which could not
// be opened again: the save names the data line and leaves the file as it was.
TEST_F(LifeTableRun, DataThatADoubleCannotHoldIsNotSaved) {
    openDataSet();
    const std::string before = readFile(workDir + "run.txt");
    showTab(ui().TabE_male);
    typeInCell(ui().TabE_maleStringGrid, 2, 1, QStringLiteral("1e308"));
    showTab(ui().TabE_female);
    typeInCell(ui().TabE_femaleStringGrid, 2, 1, QStringLiteral("1e308"));
    platform::testing::leaveField(screen(), ui().TabE_femaleEdit_comment);
    showTab(ui().TabE_all);
    ui().TabE_all_Button_fillcells->click();
    answerNextBox(Button::Ok);
    ui().MFileSaveinput->trigger();
    EXPECT_EQ(lastBoxText(), QStringLiteral("Cannot save: a value in matrix # 3 line # 1 is not a finite number!"));
    EXPECT_EQ(readFile(workDir + "run.txt"), before);
    EXPECT_TRUE(lt().LTchanged);
}

// Under a German locale the file holds "7,5": it opens, the run works, and what the screen
// saves opens again with the same values.
TEST_F(LifeTableRun, ARunUnderAGermanLocaleIsSavedAndOpenedAgain) {
    ASSERT_NO_FATAL_FAILURE(cLibraryInGerman());
    LTInputFileBytes file;
    file.groups = 14;
    file.useDefaults = true;
    openFile("run.txt", file.bytes());  // with "," now
    ASSERT_EQ(DialogScript::boxes().size(), 0u) << lastBoxText().toStdString();
    EXPECT_EQ(ui().TabRREdit_xlo->text(), QStringLiteral("7,5"));
    expectCells(ui().TabRRStringGrid_betaRR, {{2, 1, "0,00602"}});
    answerNextBox(Button::Ok);
    platform::testing::typeInto(ui().TabRREdit_inputLevel, QStringLiteral("7.5"));
    platform::testing::leaveField(screen(), ui().TabRREdit_xlo);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Wrong input'7.5' in field input level (X 0)"));
    platform::testing::typeInto(ui().TabRREdit_inputLevel, QStringLiteral("7,5"));
    platform::testing::leaveField(screen(), ui().TabRREdit_xlo);
    EXPECT_EQ(lt().LTRRsettings.X_reference, 7.5);

    lt().LTOSmajor = "4";
    go();
    ASSERT_EQ(DialogScript::boxes().size(), 1u) << lastBoxText().toStdString();
    EXPECT_EQ(screen()->resultTab(1).deltaYear0->cell(1, 1), QStringLiteral("41,69"));
    const std::string path = workDir + "german.txt";
    answerNextFile(QString::fromStdString(path));
    ui().MFileSaveInputas->trigger();
    const std::string saved = readFile(path);
    EXPECT_NE(saved.find("\t25,5\t7,5\t7,5\t80\t-1\t"), std::string::npos);
    EXPECT_NE(saved.find("\t0,00602\t"), std::string::npos);

    const double delta = summary(0, 0, 1);
    openFile("german.txt", saved);
    EXPECT_EQ(DialogScript::boxes().size(), 1u) << lastBoxText().toStdString();
    EXPECT_EQ(ui().TabRREdit_inputLevel->text(), QStringLiteral("7,5"));
    EXPECT_NEAR(summary(0, 0, 1), delta, 1e-12);  // the 15 digits written
    EXPECT_EQ(screen()->resultTab(1).deltaYear0->cell(1, 1), QStringLiteral("41,69"));
    const std::string again = workDir + "again.txt";
    answerNextFile(QString::fromStdString(again));
    ui().MFileSaveInputas->trigger();
    EXPECT_EQ(readFile(again), saved);

    // A population cell takes "12,5"; "1e999" is no number there.
    showTab(ui().TabE_male);
    typeInCell(ui().TabE_maleStringGrid, 2, 1, QStringLiteral("12,5"));
    typeInCell(ui().TabE_maleStringGrid, 2, 2, QStringLiteral("1e999"));
    answerNextBox(Button::Ok);
    platform::testing::leaveField(screen(), ui().TabE_maleEdit_comment);
    EXPECT_EQ(lastBoxText(), QStringLiteral("'1e999' is not a valid floating point value"));
    EXPECT_EQ(lt().LTempirical[1][3][1], 12.5);

    // A file written with "." fails at its first real with a separator.
    answerNextBox(Button::No);  // Do you want to save your changes?
    answerNextBox(Button::Ok);
    file.dotted = true;
    openFile("dotted.txt", file.bytes());
    EXPECT_EQ(lastBoxText(), QStringLiteral("'80.5' is not a valid floating point value"));
}
