// One assessment the way a user goes through it: the data supplier, a new location, the class
// counts and statistics, the parameters of an endpoint, the quick estimates, the table and the
// chart; then the same data set carried to another working directory by the data-exchange file.
#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "assessment/Program.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "lifetables/Unit_LifeTables.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/StringGrid.h"
#include "platform/chart/ChartControl.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "runtime/NumberText.h"
#include "ui_TForm1.h"
#include "ui_TForm2.h"
#include "ui_TForm3.h"
#include "ui_TForm4.h"
#include "ui_TForm5.h"
#include "ui_TForm6.h"
#include "ui_TForm7.h"
#include "ui_TPagesDlgLT.h"

using namespace assessment;
using platform::Button;
using platform::testing::DialogScript;
using platform::testing::activateForm;
using platform::testing::chooseComboItem;
using platform::testing::pressButton;
using platform::testing::typeInto;

namespace {

// The shipped defaults: PM10 for total mortality, ozone for total mortality.
const std::string kShippedParams =
    "2 0  1.00000000000000E+0003  1.00600000000000E+0000  1.00400000000000E+0000  1.00800000000000E+0000 0 3 0\r\n"
    "6 0  1.00000000000000E+0003  1.06000000000000E+0000  1.04000000000000E+0000  1.08000000000000E+0000 0 3 0\r\n";

// The supplier as the user types it, in the file's line order.
const std::vector<std::string> kSupplier = {"Land",    "Institute", "Zürich",  "Main Street 1", "PO 7",
                                            "1000",    "a@b.c",     "123",     "456",           "A. Person"};

// What the road leaves in the working directory.
const std::map<int, long long> kRecordFields = {
    {kFieldTown, 0},         {kFieldPollutant, 2},   {kFieldYear, 2001},      {classField(3), 365},
    {kFieldPopulation, 100}, {kFieldStations, 1},    {kFieldAnnualDays, 365}, {kFieldWinterDays, 180},
    {kFieldSummerDays, 185}, {kFieldAnnualMean, 40}, {kFieldAnnualP98, 90},   {kFieldAnnualMax, 120},
    {kFieldWinterMax, 110}};
const std::string kTail = "Low;High;Net;Ag\xE8ncia";
const std::string kRecord = ProgramFixture::dataLine(kRecordFields, kTail);
const std::string kTowns = "0 45.1|12.5|Old Town\r\n";
const std::string kParams =
    "2 0  1.00000000000000E+0003  1.06000000000000E+0000  1.04000000000000E+0000  1.08000000000000E+0000 0 0 0\r\n"
    "6 0  1.00000000000000E+0003  1.05999994277954E+0000  1.03999996185303E+0000  1.08000004291534E+0000 0 3 0\r\n";

// The supplier file holds the texts in the single-byte code page.
std::string supplierFile() {
    std::string bytes;
    for (const auto& line : kSupplier) bytes += QString::fromStdString(line).toLatin1().toStdString() + "\r\n";
    return bytes;
}

class AssessmentRoad : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        writeFile(programDir + "params.tav", kShippedParams);
        tolerateLifeTableNote();
        p = &start();
        DialogScript::clearShown();
    }

    // The screen that a button showed has become the active window.
    static bool becameActive(platform::Form* form) {
        const bool active = QTest::qWaitForWindowActive(form, 1000);
        platform::testing::processEvents();
        return active;
    }
    // Types `text` over the edit's text as typeInto does, letters outside ASCII included.
    static void typeText(QLineEdit* edit, const QString& text) {
        typeInto(edit, QString());
        for (const QChar ch : text) {
            QTest::sendKeyEvent(QTest::Press, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, edit, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        platform::testing::processEvents();
    }
    static void typeAll(const std::vector<std::pair<QLineEdit*, QString>>& entries) {
        for (const auto& [edit, text] : entries) typeText(edit, text);
    }

    Ui::TForm1Ui& u1() { return p->Form1->controls(); }
    Ui::TForm2Ui& u2() { return p->Form2->controls(); }
    Ui::TForm3Ui& u3() { return p->Form3->controls(); }
    Ui::TForm4Ui& u4() { return p->Form4->controls(); }
    Ui::TForm5Ui& u5() { return p->Form5->ui(); }
    Ui::TForm6Ui& u6() { return p->Form6->ui(); }
    Ui::TForm7Ui& u7() { return p->Form7->ui(); }

    // From the main screen through the supplier, location and air-quality screens to the
    // parameters screen, entering the data of one record on the way. `answers` answer the boxes
    // before the air-quality screen. `emptyScreens`: the air-quality screen holds no earlier values.
    void enterRecord(std::initializer_list<Button> answers = {}, bool emptyScreens = true) {
        for (Button answer : answers) DialogScript::answer(answer);
        ASSERT_TRUE(activateForm(p->Form1));
        EXPECT_FALSE(u1().BitBtn3->isEnabled());  // no supplier yet: no way to the location screen

        pressButton(u1().BitBtn2);  // "Zelk User"
        ASSERT_TRUE(becameActive(p->Form2));
        const auto& edits = p->Form2->fileOrderEdits();
        for (std::size_t i = 0; i < edits.size(); ++i) typeText(edits[i], QString::fromStdString(kSupplier[i]));
        pressButton(u2().Button1);  // "&Next": leaving the screen writes the file without a question
        EXPECT_TRUE(p->Form2->isHidden());
        EXPECT_EQ(readFile(workDir + "data_sup.tab"), supplierFile());
        EXPECT_EQ(p->aq.supplier_org, "Institute");
        EXPECT_TRUE(u1().BitBtn3->isEnabled());

        ASSERT_TRUE(becameActive(p->Form3));
        EXPECT_EQ(u3().Editorgan->text(), "Institute");
        EXPECT_EQ(u3().Editorgan->cursorPosition(), 0);  // the top panel shows the name from its start
        EXPECT_EQ(u3().country->text(), "Land");
        ASSERT_TRUE(u3().Button3->isVisible());  // no town yet: a new location is entered
        typeInto(u3().agglom, "Old Town");
        typeAll({{u3().latstr, "45.1"}, {u3().longstr, "12.5"}});
        pressButton(u3().Button3);  // "Add"
        EXPECT_EQ(u3().agglom->count(), 1);
        chooseComboItem(u3().polbox, 2);  // PM10
        chooseComboItem(u3().interval, 0);
        typeAll({{u3().year, "2001"}, {u3().exp_pop, "100"}, {u3().prof_stat, "1"}, {u3().netw_affl, "Net"},
                 {u3().tech_body, QString::fromUtf8("Agència")}});
        EXPECT_EQ(u4().year->text(), "2001");
        EXPECT_EQ(u4().exp_pop->text(), "100");
        ASSERT_TRUE(u3().BitBtn2->isVisible());
        pressButton(u3().BitBtn2);  // "Save and Go to Air Quality data"
        EXPECT_TRUE(p->Form3->isHidden());
        if (emptyScreens) {
            EXPECT_EQ(readFile(workDir + "town.tab"), kTowns);
            EXPECT_EQ(readFile(workDir + "data_rec.dat"),
                      dataLine({{kFieldPollutant, 2}, {kFieldYear, 2001}, {kFieldPopulation, 100}, {kFieldStations, 1}},
                               ";;Net;Ag\xE8ncia"));
        }

        ASSERT_TRUE(becameActive(p->Form4));
        EXPECT_EQ(DialogScript::pendingAnswers(), 0u);
        DialogScript::clearShown();
        EXPECT_EQ(u4().editpol->text(), "PM10");
        EXPECT_EQ(u4().Editorgan->cursorPosition(), 0);
        EXPECT_EQ(u4().agglom->text(), "Old Town");
        typeAll({{u4().Editwin_days, "180"}, {u4().Editsum_days, "185"}, {u4().edit3, "365"},
                 {u4().Editann_mean, "40"}, {u4().Editann_p, "90"}, {u4().Editann_max, "120"},
                 {u4().Editwinter_max, "110"}, {u4().Editlow_name, "Low"}, {u4().Edithigh_name, "High"}});
        if (emptyScreens) DialogScript::answer(Button::Yes);  // Save changes?
        pressButton(u4().BitBtn1);                            // "CALC"
        EXPECT_EQ(boxTexts().size(), emptyScreens ? 1u : 0u);
        EXPECT_EQ(u4().Editann_days->text(), "365");
        EXPECT_EQ(readFile(workDir + "data_rec.dat"), kRecord);
        EXPECT_EQ(p->aq.exposed_pop, 100);
        EXPECT_EQ(p->aq.days_total, 365);
        DialogScript::clearShown();
        ASSERT_TRUE(becameActive(p->Form5));
    }

    // On the parameters screen: the endpoint, a baseline of 1000 and the risks 1.06, 1.04 and 1.08
    // per 10 µg/m3, saved.
    void enterParameters() {
        EXPECT_EQ(u5().editpol->currentIndex(), 2);
        ASSERT_TRUE(u5().Button3->isEnabled());
        chooseComboItem(u5().endpoint, 2);  // another endpoint first: no record for it
        EXPECT_EQ(u5().rr->text(), "");
        chooseComboItem(u5().endpoint, 0);  // "Total Mortality"
        EXPECT_EQ(u5().endpoint->currentText(), "Total Mortality");
        EXPECT_EQ(u5().rr->text(), num("1.006"));
        typeAll({{u5().editb_inc, "1000"}, {u5().rr, num("1.06")}, {u5().rr_l, num("1.04")}, {u5().rr_u, num("1.08")}});
        chooseComboItem(u5().no_imp, 0);
        DialogScript::answer(Button::Yes);  // Save record?
        pressButton(u5().BitBtn3);          // "&Save"
        EXPECT_EQ(boxTexts(), std::vector<QString>{"Save record?"});
        EXPECT_EQ(readFile(workDir + "params.tab"), kParams);
        DialogScript::clearShown();
    }

    // "Import  ==>" on the air-quality screen, choosing a file of class counts that holds `bytes`.
    void importCounts(const std::string& bytes) {
        const std::string counts = scratchFile("counts.txt");
        writeFile(counts, bytes);
        DialogScript::answerFile(QString::fromStdString(counts));
        pressButton(u4().Button3);  // "Import  ==>"
    }

    void roadToChart();

    QAction* ltSupplierMenu() { return p->PagesDlgLT->ui().Screens1; }

    Program* p = nullptr;
};

// The whole road from the supplier to the chart. All 365 days in class 3 with a cut-off at class 1:
// class 3 has the risk 1.09, AP = 0.09 / 1.09, and 100 thousand people give 82.5688 excess cases.
void AssessmentRoad::roadToChart() {
    enterRecord();
    if (HasFatalFailure()) return;
    enterParameters();

    // The quick estimates: AP in percent and the excess cases of the three risks.
    pressButton(u5().Button3);  // "Click for impact estimates"
    const platform::StringGrid* quick = u5().StringGrid1;
    EXPECT_EQ(quick->cell(1, 2), num("8.2569"));
    EXPECT_EQ(quick->cell(2, 2), num("82.6"));
    EXPECT_EQ(quick->cell(1, 3), num("5.6604"));
    EXPECT_EQ(quick->cell(2, 3), num("56.6"));
    EXPECT_EQ(quick->cell(1, 4), num("10.7143"));
    EXPECT_EQ(quick->cell(2, 4), num("107.1"));
    const auto& impact = p->aq.impact;
    EXPECT_NEAR(static_cast<double>(impact.impact_ap[1]), 0.09 / 1.09, 1e-12);
    EXPECT_NEAR(static_cast<double>(impact.totalCases(1)), 82.5688, 5e-5);

    // The table: class 3 holds all days and all cases of each block.
    pressButton(u5().BitBtn2);  // "&Tables"
    ASSERT_TRUE(becameActive(p->Form6));
    const platform::StringGrid* grid = u6().StringGrid1;
    EXPECT_EQ(u6().Label1->text(), "PM10  2001  Total Mortality");
    EXPECT_EQ(grid->cell(0, 1), num("rr=1.0600"));
    EXPECT_EQ(grid->cell(3, 2), num("1.00000"));  // class 1 is the reference class
    EXPECT_EQ(grid->cell(3, 3), num("1.03000"));
    const QStringList central = {num("100.00"), num("100.00"), num("1.09000"), num("82.6"),
                                 num("82.6"),   num("100.00"), num("100.00"),  num("82.6")};
    for (int col = 1; col <= 8; ++col) EXPECT_EQ(grid->cell(col, 4), central[col - 1]) << "column " << col;
    EXPECT_EQ(grid->cell(4, 31), "57");   // lower risk: whole cases
    EXPECT_EQ(grid->cell(5, 58), "107");  // upper risk
    EXPECT_EQ(grid->cell(8, 58), num("107.1"));
    EXPECT_EQ(grid->cell(5, 26), num("82.6"));  // the running sum reaches class 25 unchanged

    // The chart of the table's current column, "Cum.#".
    pressButton(u6().BitBtn1);  // "&Chart"
    ASSERT_TRUE(becameActive(p->Form7));
    const platform::ChartModel& chart = u7().ChartFX1->model();
    EXPECT_EQ(p->aq.chart_column, 5);
    ASSERT_EQ(chart.seriesCount, 3);
    ASSERT_EQ(chart.pointCount, 3);  // classes 1 to 3, the last with days
    EXPECT_EQ(chart.pointLegends, (std::vector<QString>{"10", "20", "30"}));
    const double expected[3] = {82.6, 57, 107};
    for (int s = 0; s < 3; ++s) {
        EXPECT_DOUBLE_EQ(chart.value(s, 0), 0) << "series " << s;
        EXPECT_DOUBLE_EQ(chart.value(s, 2), expected[s]) << "series " << s;
    }
    EXPECT_EQ(chart.seriesLegend(0), num("rr=1.0600"));
    EXPECT_EQ(chart.titles[0], "Cummulative # of Excess Cases");
    EXPECT_EQ(chart.titles[2], "PM10  2001  Total Mortality");
    EXPECT_EQ(chart.titles[3], QString::fromUtf8("concentrations in µg/m3"));
    EXPECT_DOUBLE_EQ(chart.axisStep, 50);
    EXPECT_NEAR(chart.axisMax, 107.142857 + 25, 1e-5);
    EXPECT_EQ(u7().Editorgan->text(), "Institute");
    EXPECT_EQ(u7().Editorgan->cursorPosition(), 0);
    u7().CheckBox1->click();  // "All Classes"
    ASSERT_TRUE(becameActive(p->Form7));
    ASSERT_EQ(chart.pointCount, 25);
    EXPECT_EQ(chart.pointLegend(24), ">");
    EXPECT_DOUBLE_EQ(chart.value(0, 24), 82.6);

    // The table saved as text: the row of class 3 as the screen shows it.
    ASSERT_TRUE(activateForm(p->Form6));
    const std::string results = workDir + "results.txt";
    DialogScript::answerFile(QString::fromStdString(results));
    pressButton(u6().BitBtn3);  // "&Save"
    const std::string saved = readFile(results);
    std::string classThree = grid->cell(0, 4).toStdString();
    for (int col = 1; col <= 8; ++col) classThree += "\t" + grid->cell(col, 4).toStdString();
    EXPECT_NE(saved.find("\r\n" + classThree + "\r\n"), std::string::npos) << classThree;
    std::filesystem::remove(results);

    // Back on the parameters screen a changed risk goes straight to the chart ("Chart").
    ASSERT_TRUE(activateForm(p->Form5));
    EXPECT_EQ(u5().rr->text(), num("1.06"));  // coming back from the table keeps the screen
    typeInto(u5().rr, num("1.08"));
    pressButton(u5().BitBtn1);  // "Chart"
    ASSERT_TRUE(becameActive(p->Form7));
    EXPECT_EQ(p->aq.chart_column, 5);
    EXPECT_TRUE(p->Form6->isHidden());
    EXPECT_DOUBLE_EQ(u7().ChartFX1->model().value(0, 2), 107.1);
    EXPECT_EQ(u7().ChartFX1->model().seriesLegend(0), num("rr=1.0800"));

    // Nothing on the way after the saves changed a working file.
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), kRecord);
    EXPECT_EQ(readFile(workDir + "town.tab"), kTowns);
    EXPECT_EQ(readFile(workDir + "data_sup.tab"), supplierFile());
    EXPECT_EQ(readFile(workDir + "params.tab"), kParams);
    const std::string endpoints = readFile(workDir + "endp.tab");
    EXPECT_EQ(endpoints.rfind("0 Total Mortality\r\n1 Cardiovascular Mortality\r\n", 0), 0u);
    EXPECT_EQ(endpoints.size() - endpoints.rfind("17 Asthma Attacks Adults\r\n"), 26u);
    EXPECT_FALSE(std::filesystem::exists(workDir + "rec.tmp"));
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(AssessmentRoad, OneRecordFromTheSupplierToTheChart) { roadToChart(); }

// With the C library in German the texts carry ",", the parameter file keeps ".", and neither a
// "." nor a value beyond a double is a number.
TEST_F(AssessmentRoad, OneRecordUnderAGermanLocale) {
    ASSERT_NO_FATAL_FAILURE(cLibraryInGerman());
    roadToChart();
    if (HasFatalFailure()) return;
    EXPECT_EQ(u5().rr->text(), "1,08");
    EXPECT_EQ(u6().StringGrid1->cell(3, 3), "1,04000");
    for (const char* typed : {"1.006", "1e999", "-1e999"}) {
        typeInto(u5().rr, typed);
        DialogScript::answer(Button::Ok);
        pressButton(u5().BitBtn3);  // "&Save"
        EXPECT_EQ(boxTexts(), std::vector<QString>{"this field requires a number"}) << typed;
        DialogScript::clearShown();
    }
    typeInto(u5().rr, "1,008");
    DialogScript::answer(Button::Yes);  // Save record?
    pressButton(u5().BitBtn3);
    EXPECT_EQ(readFile(workDir + "params.tab").substr(0, 105),
              "2 0  1.00000000000000E+0003  1.00800000000000E+0000  1.04000000000000E+0000  1.08000000000000E+0000 0 0 0");
    chooseComboItem(u5().endpoint, 1);
    chooseComboItem(u5().endpoint, 0);
    EXPECT_EQ(u5().rr->text(), "1,008");
    EXPECT_EQ(u5().rr_l->text(), "1,04");
}

TEST_F(AssessmentRoad, TheDataSetTravelsToAnotherWorkingDirectoryByTheExchangeFile) {
    enterRecord();
    if (HasFatalFailure()) return;
    enterParameters();

    ASSERT_TRUE(activateForm(p->Form1));
    const std::string kdf = workDir + "../data.kdf";
    DialogScript::answerFile(QString::fromStdString(kdf));
    pressButton(u1().BitBtn6);  // "&Create TAV file"
    const std::string sections[5] = {kTowns, readFile(workDir + "endp.tab"), kParams, supplierFile(), kRecord};
    const std::string names[5] = {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"};
    std::string exported;
    for (int s = 0; s < 5; ++s) exported += workDir + names[s] + "\r\n" + sections[s] + "EOF\r\n";
    EXPECT_EQ(readFile(kdf), exported);

    // A fresh working directory: "New directory", then the exchange file loaded there.
    const std::string other = workDir + "../other/";
    std::filesystem::create_directories(other);
    DialogScript::answerFile(QString::fromStdString(other.substr(0, other.size() - 1)));
    DialogScript::answer(Button::Ok);  // Exists: the data file, named last by the export
    u1().NewDirectory1->trigger();
    EXPECT_EQ(boxTexts(), std::vector<QString>{QString::fromStdString("Exists: " + workDir + "data_rec.dat")});
    EXPECT_EQ(p->aq.work_dir, other);
    EXPECT_EQ(p->aq.supplier_org, "");
    DialogScript::clearShown();

    DialogScript::answer(Button::Yes);  // This operation will overwrite datafiles. Continue?
    DialogScript::answerFile(QString::fromStdString(kdf));
    DialogScript::answer(Button::Ok);  // Exists: the data file
    u1().Importdata1->trigger();
    EXPECT_EQ(boxTexts().size(), 2u);
    for (int s = 0; s < 4; ++s) EXPECT_EQ(readFile(other + names[s]), sections[s]) << names[s];
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), kRecord);  // the data file stays the one of the start
    EXPECT_EQ(p->aq.supplier_org, "Institute");
    EXPECT_EQ(p->aq.text_file3, other + "params.tab");
    DialogScript::clearShown();

    // The screens show the same record.
    ASSERT_TRUE(activateForm(p->Form1));
    EXPECT_TRUE(u1().BitBtn3->isEnabled());
    pressButton(u1().Btn_LT_data);  // the life-table screen leads to the supplier too
    ASSERT_TRUE(becameActive(p->PagesDlgLT));
    ltSupplierMenu()->trigger();
    ASSERT_TRUE(becameActive(p->Form2));
    const auto& edits = p->Form2->fileOrderEdits();
    for (std::size_t i = 0; i < edits.size(); ++i) EXPECT_EQ(edits[i]->text().toStdString(), kSupplier[i]);
    pressButton(u1().BitBtn3);  // "&Location"
    ASSERT_TRUE(becameActive(p->Form3));
    EXPECT_EQ(u3().agglom->currentText(), "Old Town");
    EXPECT_EQ(u3().latstr->text(), "45.1");
    EXPECT_EQ(u3().longstr->text(), "12.5");
    EXPECT_EQ(u3().polbox->currentText(), "PM10");
    EXPECT_EQ(u3().year->text(), "2001");
    EXPECT_EQ(u3().exp_pop->text(), "100");
    EXPECT_EQ(u3().netw_affl->text(), "Net");
    EXPECT_EQ(u3().tech_body->text(), QString::fromUtf8("Agència"));
    pressButton(u3().Button1);  // "Next"
    ASSERT_TRUE(becameActive(p->Form4));
    EXPECT_EQ(u4().edit3->text(), "365");
    EXPECT_EQ(u4().Editann_days->text(), "365");
    EXPECT_EQ(u4().Editann_mean->text(), "40");
    EXPECT_EQ(u4().Editlow_name->text(), "Low");
    EXPECT_EQ(u4().Edithigh_name->text(), "High");
    pressButton(u4().BitBtn1);  // "CALC": nothing changed, no question
    ASSERT_TRUE(becameActive(p->Form5));
    EXPECT_EQ(u5().endpoint->currentText(), "Total Mortality");
    EXPECT_EQ(u5().editb_inc->text(), "1000");
    EXPECT_EQ(u5().rr->text(), num("1.06"));
    EXPECT_EQ(u5().rr_u->text(), num("1.08"));
    pressButton(u5().Button3);
    EXPECT_EQ(u5().StringGrid1->cell(2, 2), num("82.6"));
    EXPECT_TRUE(boxTexts().empty());

    // A second export from there carries the same lines.
    ASSERT_TRUE(activateForm(p->Form1));
    const std::string again = other + "again.kdf";
    DialogScript::answerFile(QString::fromStdString(again));
    u1().Export1->trigger();
    std::string expected;
    for (int s = 0; s < 5; ++s)
        expected += (s < 4 ? other + names[s] : workDir + names[s]) + "\r\n" + sections[s] + "EOF\r\n";
    EXPECT_EQ(readFile(again), expected);
}

TEST_F(AssessmentRoad, AWorkingDirectoryAndExchangeFileWithLettersBeyondAscii) {
    enterRecord();
    if (HasFatalFailure()) return;
    ASSERT_TRUE(activateForm(p->Form1));
    const std::string kdf = workDir + "../Daten Zürich.kdf";
    DialogScript::answerFile(QString::fromStdString(kdf));
    u1().Export1->trigger();
    EXPECT_TRUE(std::filesystem::exists(kdf));

    const std::string other = workDir + "../Zürich andere/";
    std::filesystem::create_directories(other);
    DialogScript::answerFile(QString::fromStdString(other.substr(0, other.size() - 1)));
    DialogScript::answer(Button::Ok);  // Exists: the data file, named last by the export
    u1().NewDirectory1->trigger();
    EXPECT_EQ(boxTexts().size(), 1u);
    EXPECT_TRUE(std::filesystem::exists(other + "data_sup.tab"));
    EXPECT_TRUE(std::filesystem::exists(other + "town.tab"));
    DialogScript::clearShown();

    DialogScript::answer(Button::Yes);  // This operation will overwrite datafiles. Continue?
    DialogScript::answerFile(QString::fromStdString(kdf));
    DialogScript::answer(Button::Ok);  // Exists: the data file
    u1().Importdata1->trigger();
    EXPECT_EQ(boxTexts().size(), 2u);
    EXPECT_EQ(readFile(other + "town.tab"), kTowns);
    EXPECT_EQ(readFile(other + "data_sup.tab"), supplierFile());
    EXPECT_EQ(p->aq.supplier_org, "Institute");
}

TEST_F(AssessmentRoad, AfterClearAllDataTheSameRoadGivesTheSameFiles) {
    enterRecord();
    if (HasFatalFailure()) return;
    enterParameters();

    ASSERT_TRUE(activateForm(p->Form1));
    DialogScript::answer(Button::Yes);  // This operation will overwrite datafiles. Continue?
    u1().ClearALLdata1->trigger();
    EXPECT_EQ(boxTexts(), std::vector<QString>{"This operation will overwrite datafiles. Continue?"});
    for (const char* name : {"data_sup.tab", "town.tab", "data_rec.dat"}) EXPECT_EQ(readFile(workDir + name), "") << name;
    EXPECT_EQ(p->aq.cur_record, 0);
    EXPECT_FALSE(u1().BitBtn4->isEnabled());
    DialogScript::clearShown();

    // The supplier file exists now, empty: leaving the supplier screen asks; the location screen
    // finds no record, and the air-quality screen still shows the values entered before, which
    // the location screen's save stores at once.
    enterRecord({Button::Yes, Button::Ok}, false);
    if (HasFatalFailure()) return;
    EXPECT_EQ(u5().rr->text(), num("1.06"));  // the parameters saved before stay
    pressButton(u5().Button3);
    EXPECT_EQ(u5().StringGrid1->cell(2, 2), num("82.6"));
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), kRecord);
    const std::string towns = readFile(workDir + "town.tab");  // one town; its id is the program's choice
    EXPECT_EQ(towns.substr(towns.find(' ')), " 45.1|12.5|Old Town\r\n");
    EXPECT_EQ(readFile(workDir + "data_sup.tab"), supplierFile());
    EXPECT_EQ(readFile(workDir + "params.tab"), kParams);
}

TEST_F(AssessmentRoad, ImportedCountsOfNarrowerClassesConvertTheRisksOfTheParameters) {
    enterRecord();
    if (HasFatalFailure()) return;
    enterParameters();

    // Back on the air-quality screen, counts per 5 µg/m3 from a file.
    ASSERT_TRUE(activateForm(p->Form4));
    importCounts("0 0 365\r\n0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0 0\r\n1\r\n");
    EXPECT_EQ(u4().edit3->text(), "365");
    EXPECT_EQ(p->aq.interval_index, 1);
    DialogScript::answer(Button::Yes);  // Save changes?
    pressButton(u4().BitBtn1);          // "CALC"
    auto fields = kRecordFields;
    fields[kFieldClassWidth] = 1;  // the class width of the import
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), dataLine(fields, kTail));

    ASSERT_TRUE(becameActive(p->Form5));
    EXPECT_EQ(u5().int_label->text(), QString::fromUtf8("per 5 µg/m3"));
    EXPECT_EQ(u5().rr->text(), num("1.03000"));
    EXPECT_EQ(u5().rr_l->text(), num("1.02000"));
    EXPECT_EQ(u5().rr_u->text(), num("1.04000"));
    pressButton(u5().Button3);  // "Click for impact estimates"
    const platform::StringGrid* quick = u5().StringGrid1;
    EXPECT_EQ(quick->cell(1, 2), num("4.3062"));
    EXPECT_EQ(quick->cell(2, 2), num("43.1"));
    EXPECT_EQ(quick->cell(2, 3), num("29.1"));
    EXPECT_EQ(quick->cell(2, 4), num("56.6"));
    EXPECT_EQ(readFile(workDir + "params.tab"), kParams);  // the conversion is not saved
}

TEST_F(AssessmentRoad, ARecordWithoutCountedDaysGivesNoImpactAndAnEmptyChart) {
    enterRecord();
    if (HasFatalFailure()) return;
    enterParameters();

    ASSERT_TRUE(activateForm(p->Form4));
    importCounts("0\r\n");
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // Data capture: Summer and Winter do not add up to Annual!
    pressButton(u4().BitBtn1);          // "CALC"
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"Save changes?", "Data capture: Summer and Winter do not add up to Annual!"}));
    DialogScript::clearShown();
    EXPECT_EQ(p->aq.days_total, 0);

    ASSERT_TRUE(becameActive(p->Form5));
    pressButton(u5().Button3);  // "Click for impact estimates"
    for (int row = 2; row <= 4; ++row) {
        EXPECT_EQ(u5().StringGrid1->cell(1, row), num("0.0000"));
        EXPECT_EQ(u5().StringGrid1->cell(2, row), num("0.0"));
    }
    pressButton(u5().BitBtn2);  // "&Tables"
    ASSERT_TRUE(becameActive(p->Form6));
    for (int row = 2; row <= 26; ++row)
        for (int col = 1; col <= 8; ++col) {
            const QString text = u6().StringGrid1->cell(col, row);
            EXPECT_FALSE(text.contains("NAN") || text.contains("INF")) << "row " << row << " column " << col << ": " << text.toStdString();
        }
    pressButton(u6().BitBtn1);  // "&Chart"
    ASSERT_TRUE(becameActive(p->Form7));
    EXPECT_EQ(u7().ChartFX1->model().pointCount, 1);  // the reference class alone
    u7().CheckBox1->click();                             // "All Classes"
    EXPECT_EQ(u7().ChartFX1->model().pointCount, 25);
    EXPECT_DOUBLE_EQ(u7().ChartFX1->model().value(0, 24), 0);
    EXPECT_TRUE(boxTexts().empty());
}

TEST_F(AssessmentRoad, ASecondRecordFromTheAirQualityScreenTakesItsOwnParameters) {
    enterRecord();
    if (HasFatalFailure()) return;
    enterParameters();

    // "&New" on the air-quality screen leads to a new record on the location screen.
    ASSERT_TRUE(activateForm(p->Form4));
    pressButton(u4().Button2);  // "&New"
    ASSERT_TRUE(becameActive(p->Form3));
    EXPECT_TRUE(p->Form4->isHidden());
    EXPECT_EQ(p->aq.cur_record, 2);
    EXPECT_EQ(p->aq.record_count, 2);
    ASSERT_TRUE(u3().BitBtn2->isVisible());
    chooseComboItem(u3().agglom, 0);  // the town entered before
    EXPECT_EQ(u3().latstr->text(), "45.1");
    chooseComboItem(u3().polbox, 6);  // O3 (8 hour avg): its class width from the parameter file
    EXPECT_EQ(u3().interval->currentIndex(), 0);
    typeAll({{u3().year, "2002"}, {u3().exp_pop, "200"}, {u3().prof_stat, "2"}});
    pressButton(u3().BitBtn2);  // "Save and Go to Air Quality data"
    EXPECT_TRUE(boxTexts().empty());  // no duplicate

    ASSERT_TRUE(becameActive(p->Form4));
    EXPECT_EQ(u4().editpol->text(), "O3 (8 hour avg)");
    EXPECT_EQ(u4().infolabel->text(), "Max 8 hour mean");
    EXPECT_EQ(u4().Label26->text(), "Max annual 8 hr avg");
    typeAll({{u4().Editwin_days, "180"}, {u4().Editsum_days, "185"}, {u4().edit3, "365"}, {u4().Editann_mean, "60"}});
    DialogScript::answer(Button::Yes);  // Save changes?
    pressButton(u4().BitBtn1);          // "CALC"
    const std::string second =
        dataLine({{kFieldPollutant, 6}, {kFieldYear, 2002}, {classField(3), 365}, {kFieldPopulation, 200},
                  {kFieldStations, 2}, {kFieldAnnualDays, 365}, {kFieldWinterDays, 180}, {kFieldSummerDays, 185},
                  {kFieldAnnualMean, 60}},
                 ";;;");
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), kRecord + second);
    EXPECT_EQ(readFile(workDir + "town.tab"), kTowns);
    DialogScript::clearShown();

    // The parameters of ozone, stored in single precision, for twice the population.
    ASSERT_TRUE(becameActive(p->Form5));
    EXPECT_EQ(u5().editpol->currentText(), "O3 (8 hour avg)");
    EXPECT_EQ(u5().endpoint->currentText(), "Total Mortality");
    EXPECT_EQ(u5().rr->text(), num("1.06"));
    pressButton(u5().Button3);  // "Click for impact estimates"
    const platform::StringGrid* quick = u5().StringGrid1;
    EXPECT_EQ(quick->cell(1, 2), num("8.2569"));
    EXPECT_EQ(quick->cell(2, 2), num("165.1"));
    EXPECT_EQ(quick->cell(2, 3), num("113.2"));
    EXPECT_EQ(quick->cell(2, 4), num("214.3"));
    pressButton(u5().BitBtn2);  // "&Tables"
    ASSERT_TRUE(becameActive(p->Form6));
    EXPECT_EQ(u6().Label1->text(), "O3 (8 hour avg)  2002  Total Mortality");
    EXPECT_EQ(u6().StringGrid1->cell(4, 4), num("165.1"));

    // Back to the first record from the air-quality screen.
    ASSERT_TRUE(activateForm(p->Form4));
    pressButton(u4().BitBtn4);  // previous record
    EXPECT_EQ(p->aq.cur_record, 1);
    EXPECT_EQ(u4().editpol->text(), "PM10");
    EXPECT_EQ(u4().year->text(), "2001");
    EXPECT_EQ(u4().Editann_mean->text(), "40");
    EXPECT_EQ(u4().Editlow_name->text(), "Low");
    ASSERT_TRUE(activateForm(p->Form3));
    EXPECT_EQ(u3().polbox->currentText(), "PM10");
    EXPECT_EQ(u3().exp_pop->text(), "100");
    EXPECT_EQ(u3().netw_affl->text(), "Net");
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), kRecord + second);
    EXPECT_TRUE(boxTexts().empty());
}

}  // namespace
