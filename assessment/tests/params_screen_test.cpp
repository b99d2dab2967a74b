// The parameters screen driven through its controls: loading an endpoint's record, the checks and
// their messages, the conversion between class widths, the small result table and the buttons
// that lead to the impact and chart screens.
#include "assessment/Unit1.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/tests/params_fixture.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/PrintedPages.h"
#include "ui_TForm1.h"

#include <filesystem>

using platform::Button;
using platform::testing::DialogScript;
using namespace platform::testing;

TEST_F(ParamsScreen, ChoosingAnEndpointShowsTheFirstMatchingRecord) {
    // A second line of the same key follows; the last line carries class width 1.
    startWith(shippedParams() + paramLine(2, 2, 99, 1.5L, 1.4L, 1.6L, 0, 0, 0) + paramLine(7, 9, 1, 1, 1, 1, 0, 0, 1));
    publishRecord();
    open();
    EXPECT_EQ(u().endpoint->currentText(), QStringLiteral("Total Mortality"));
    EXPECT_EQ(u().editb_inc->text(), QStringLiteral("1000"));
    EXPECT_EQ(u().rr->text(), num("1.06"));
    EXPECT_EQ(u().strength->currentText(), QStringLiteral("HIGH"));
    EXPECT_EQ(u().int_label->text(), QStringLiteral("per 10 \u00b5g/m3"));
    EXPECT_EQ(u().no_imp->count(), 24);
    EXPECT_EQ(u().no_imp->itemText(0), QStringLiteral("10"));

    chooseComboItem(u().endpoint, 2);  // "Respiratory Mortality"
    EXPECT_EQ(u().editb_inc->text(), QStringLiteral("80"));
    EXPECT_EQ(u().rr->text(), num("1.013"));
    EXPECT_EQ(u().rr_l->text(), num("1.005"));
    EXPECT_EQ(u().rr_u->text(), num("1.02"));
    EXPECT_EQ(u().no_imp->currentIndex(), 4);
    EXPECT_EQ(u().strength->currentText(), QStringLiteral("MEDIUM"));

    // An endpoint without a record: empty edits, cut-off 0, "UNKNOWN"; the buffer passed every line,
    // and the screen goes on in its shown class width, not in that of the file's last record.
    chooseComboItem(u().endpoint, 5);
    for (QLineEdit* edit : {u().editb_inc, u().rr, u().rr_l, u().rr_u}) EXPECT_TRUE(edit->text().isEmpty());
    EXPECT_EQ(u().no_imp->currentIndex(), 0);
    EXPECT_EQ(u().strength->currentText(), QStringLiteral("UNKNOWN"));
    EXPECT_EQ(p->aq.rec_endpoint, 9);
    EXPECT_EQ(p->aq.interval_index, 0);
    EXPECT_EQ(u().int_label->text(), QStringLiteral("per 10 \u00b5g/m3"));
}

TEST_F(ParamsScreen, AddIsRefusedWhileTheEndpointFileCouldNotBeReadToItsEnd) {
    const std::string endpoints = "0 Mortality\r\n\r\n2 Asthma\r\n3x Bad\r\n4 After\r\n";
    writeFile(workDir + "endp.tab", endpoints);
    answerNextBox(Button::Ok);  // the start-up's read error
    startWith(shippedParams());
    open();
    u().endpoint->setEditText(QStringLiteral("Cough"));
    answerNextBox(Button::Ok);
    u().Button2->click();
    EXPECT_EQ(lastBoxText(),
              QStringLiteral("\"endp.tab\" could not be read at line 4 (Invalid numeric input). It is not changed."));
    EXPECT_EQ(readFile(workDir + "endp.tab"), endpoints);
}

TEST_F(ParamsScreen, RangeChecksShowTheirMessageAndPutTheFocusBack) {
    TForm5& form = openWithShippedParams();
    struct Case {
        QLineEdit* edit;
        const char* text;
        const char* message;
    };
    const Case failing[] = {
        {u().rr, "0.99", "Value out of range"},
        {u().rr, "2.051", "Value out of range"},
        {u().rr, "", "this field requires a number"},
        {u().rr_u, "abc", "this field requires a number"},
        {u().editb_inc, "-1", "Value out of range"},
        {u().editb_inc, "", "this field requires a number"},
        {u().editb_inc, "1e999", "this field requires a number"},
        {u().editb_inc, "4e38", "Value out of range"},  // beyond what the file's reader holds
        {u().rr_l, "-1e999", "this field requires a number"},
    };
    for (const Case& c : failing) {
        const QString before = c.edit->text();
        typeInto(c.edit, num(c.text));
        answerNextBox(Button::Ok);
        pressButton(u().BitBtn3);  // &Save
        EXPECT_EQ(lastBoxText(), QString::fromLatin1(c.message)) << c.text;
        EXPECT_EQ(form.activeControl(), c.edit) << c.text;
        EXPECT_EQ(form.params_error, -1);
        typeInto(c.edit, before);
    }
    // The limits pass, a lower risk above the central one too, and an incidence of 0.
    typeInto(u().rr, num("1"));
    typeInto(u().rr_l, num("2.05"));
    typeInto(u().rr_u, num("1.0"));
    typeInto(u().editb_inc, num("0"));
    answerNextBox(Button::No);
    pressButton(u().BitBtn3);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Save record?"));
    EXPECT_EQ(form.params_error, 0);
    EXPECT_FALSE(std::filesystem::exists(workDir + "params.tab"));
}

TEST_F(ParamsScreen, RisksAreShownInTheClassWidthOfTheCurrentRecord) {
    startWith(paramLine(2, 0, 1000, 1.2L, 1.1L, 1.3L, 0, 0, 2) + paramLine(6, 0, 1000, 1.06L, 1.04L, 1.08L, 0, 0, 0));
    publishRecord(2, 0);
    open();
    // 1.2 per 1 µg/m3 shown for classes per 10 µg/m3.
    EXPECT_EQ(u().rr->text(), num("3.00000"));
    EXPECT_EQ(u().rr_l->text(), num("2.00000"));
    EXPECT_EQ(u().rr_u->text(), num("4.00000"));
    EXPECT_EQ(u().int_label->text(), QStringLiteral("per 10 \u00b5g/m3"));
    EXPECT_EQ(p->aq.interval_index, 0);
    answerNextBox(Button::Ok);
    pressButton(u().Button3);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Value out of range"));
    EXPECT_EQ(p->Form5->activeControl(), u().rr);
    // Unconverted values count as loaded: closing asks nothing.
    pressButton(u().Button1);
    EXPECT_EQ(boxCount(), 1u);
    EXPECT_FALSE(p->Form5->isVisible());

    // 1.06 per 10 µg/m3 shown for classes per 5 µg/m3.
    publishRecord(6, 1);
    open();
    EXPECT_EQ(u().rr->text(), num("1.03000"));
    EXPECT_EQ(u().rr_l->text(), num("1.02000"));
    EXPECT_EQ(u().int_label->text(), QStringLiteral("per 5 \u00b5g/m3"));
}

TEST_F(ParamsScreen, ClassWidthLabelNamesTheWidthOfTheShownRisks) {
    // CO's records refer to classes per 1 µg/m3; the current record has classes per 10.
    startWith(shippedParams() + paramLine(9, 0, 10, 1.2L, 1.1L, 1.3L, 0, 0, 2) +
              paramLine(9, 2, 20, 1.01L, 1.005L, 1.02L, 0, 0, 2));
    publishRecord(2, 0);
    open();
    // A pollutant change shows its record as stored, in its own width.
    chooseComboItem(u().editpol, 9);
    EXPECT_EQ(u().rr->text(), num("1.2"));
    EXPECT_EQ(u().int_label->text(), QStringLiteral("per 1 \u00b5g/m3"));
    // Another endpoint is converted to the width of the current record, and the label says so.
    chooseComboItem(u().endpoint, 2);
    EXPECT_EQ(u().rr->text(), num("1.10000"));
    EXPECT_EQ(u().int_label->text(), QStringLiteral("per 10 \u00b5g/m3"));
    EXPECT_EQ(p->aq.interval_index, 0);
}

TEST_F(ParamsScreen, QuickEstimatesOfTheWorkedExample) {
    openWithShippedParams();
    EXPECT_TRUE(gridIsStale());
    EXPECT_EQ(cell(1, 0), QStringLiteral("Estimated"));
    EXPECT_EQ(cell(2, 1), QStringLiteral("of excess cases"));
    EXPECT_EQ(cell(0, 4), QStringLiteral("rr upper"));
    for (int press = 0; press < 2; ++press) {
        pressButton(u().Button3);
        EXPECT_EQ(cell(1, 2), num("8.2569"));
        EXPECT_EQ(cell(2, 2), num("82.6"));
        EXPECT_EQ(cell(1, 3), num("5.6604"));
        EXPECT_EQ(cell(2, 3), num("56.6"));
        EXPECT_EQ(cell(1, 4), num("10.7143"));
        EXPECT_EQ(cell(2, 4), num("107.1"));
        EXPECT_FALSE(gridIsStale());
    }
    EXPECT_NEAR(static_cast<double>(p->aq.impact.totalCases(1)), 82.5688, 1e-4);
    EXPECT_EQ(p->aq.rel_risk[1], 1.06L);
    EXPECT_EQ(p->aq.base_incidence, 1000.0L / 365);  // never divided twice
    EXPECT_EQ(p->aq.endpoint_text, "Total Mortality");

    // Typing in a value edit or choosing a cut-off makes the table stale.
    typeInto(u().editb_inc, QStringLiteral("900"));
    EXPECT_TRUE(gridIsStale());
    EXPECT_TRUE(cell(1, 2).isEmpty());
    EXPECT_TRUE(u().Button3->font().bold());
    pressButton(u().Button3);
    EXPECT_FALSE(u().Button3->font().bold());
    chooseComboItem(u().no_imp, 3);
    EXPECT_TRUE(gridIsStale());
    EXPECT_TRUE(cell(2, 4).isEmpty());
}

TEST_F(ParamsScreen, TablesAndChartPublishTheValuesAndShowTheirScreens) {
    TForm5& form = openWithShippedParams();
    typeInto(u().rr, num("1.5"));
    chooseComboItem(u().no_imp, 2);
    pressButton(u().BitBtn2);  // &Tables
    EXPECT_TRUE(p->Form6->isActiveForm());
    EXPECT_EQ(p->aq.rel_risk[1], 1.5L);
    EXPECT_EQ(p->aq.first_class, 2);
    EXPECT_EQ(p->aq.base_incidence, 1000.0L / 365);
    EXPECT_EQ(form.params_refresh, 0);
    // Coming back from the tables keeps the unsaved edit.
    open();
    EXPECT_EQ(u().rr->text(), num("1.5"));

    p->aq.chart_column = 4;
    pressButton(u().BitBtn1);  // Chart
    EXPECT_EQ(p->aq.chart_column, 5);  // 0, which the chart screen shows as "Cum.#"
    EXPECT_TRUE(p->Form7->isActiveForm());
    EXPECT_FALSE(p->Form6->isVisible());
    open();
    EXPECT_EQ(u().rr->text(), num("1.5"));

    // After another screen the stored values come back.
    EXPECT_TRUE(activateForm(p->Form6));
    open();
    EXPECT_EQ(u().rr->text(), num("1.06"));
}

TEST_F(ParamsScreen, PollutantChangeSetsUnitLabelAndInvalidatesTheRecord) {
    openWithShippedParams();
    EXPECT_TRUE(u().Button3->isEnabled());
    // Picking the pollutant already shown is no change: the record stays valid.
    chooseComboItem(u().editpol, 2);
    EXPECT_TRUE(p->aq.aq_filled);
    EXPECT_TRUE(u().Button3->isEnabled());
    chooseComboItem(u().editpol, 9);  // "CO"
    EXPECT_EQ(u().Label9->text(), QStringLiteral("mg/m3"));
    EXPECT_EQ(p->aq.cur_pollutant, 9);
    EXPECT_FALSE(p->aq.aq_filled);
    for (QPushButton* b : {u().BitBtn2, u().BitBtn1, u().Button3}) EXPECT_FALSE(b->isEnabled());
    chooseComboItem(u().editpol, 12);  // "PM10 long term"
    EXPECT_EQ(u().Label9->text(), QStringLiteral("\u00b5g/m3"));
    EXPECT_TRUE(p->aq.long_term);
    // A typed name counts once it names a list item.
    typeInto(u().editpol, QStringLiteral("O3 (8 hour avg)"));
    EXPECT_EQ(p->aq.cur_pollutant, 6);
    EXPECT_EQ(u().rr->text(), num("1.03"));
    typeInto(u().editpol, QStringLiteral("Radon"));
    EXPECT_EQ(p->aq.cur_pollutant, 6);
    // Unlike the air-quality screen, this screen shows B(a)P in micrograms.
    chooseComboItem(u().editpol, 11);  // "B(a)P"
    EXPECT_EQ(u().Label9->text(), QStringLiteral("\u00b5g/m3"));
}

TEST_F(ParamsScreen, CloseAsksOnlyAfterAnEditAndNoGivesTheLoadedTextsBack) {
    openWithShippedParams();
    pressButton(u().Button1);
    EXPECT_EQ(boxCount(), 0u);
    EXPECT_FALSE(p->Form5->isVisible());

    open();
    typeInto(u().rr_u, num("1.1"));
    answerNextBox(Button::No);
    pressButton(u().Button1);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Save record?"));
    EXPECT_EQ(u().rr_u->text(), num("1.08"));
    EXPECT_FALSE(p->Form5->isVisible());
    EXPECT_FALSE(std::filesystem::exists(workDir + "params.tab"));

    // Quit from the main screen asks the same; Yes saves.
    open();
    typeInto(u().rr_u, num("1.1"));
    ASSERT_TRUE(activateForm(p->Form1));
    answerNextBox(Button::Yes);
    p->Form1->controls().BitBtn1->click();
    EXPECT_EQ(lastBoxText(), QStringLiteral("Save record?"));
    EXPECT_NE(readFile(workDir + "params.tab").find("1.10000000000000E+0000"), std::string::npos);
    EXPECT_FALSE(p->Form1->isVisible());
}

TEST_F(ParamsScreen, PrintRestoresTheBoxesAndTheirTyping) {
    openWithShippedParams();
    const QString pdf = QString::fromStdString(workDir + "params.pdf");
    struct Page {
        bool pollutantEditable, endpointEditable, certaintyEditable, blankShown, buttonBarShown;
        QString pollutant, endpoint, certainty;
    };
    PrintedPages printed;
    const auto pages = printed.printOnce(pdf, [&] { pressButton(u().BitBtn4); }, [&](QWidget& screen) {
        return Page{u().editpol->isEditable(), u().endpoint->isEditable(), u().strength->isEditable(),
                    u().Panel_hideYearDropButton->isVisibleTo(&screen), u().Panel1->isVisibleTo(&screen),
                    u().editpol->currentText(), u().endpoint->currentText(), u().strength->currentText()};
    });
    // The page shows the three boxes as fixed lists with their choices, the blank panel over the
    // pollutant box's right end, and no button bar.
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_FALSE(pages[0].pollutantEditable);
    EXPECT_FALSE(pages[0].endpointEditable);
    EXPECT_FALSE(pages[0].certaintyEditable);
    EXPECT_TRUE(pages[0].blankShown);
    EXPECT_FALSE(pages[0].buttonBarShown);
    EXPECT_EQ(pages[0].pollutant, QStringLiteral("PM10"));
    EXPECT_EQ(pages[0].endpoint, QStringLiteral("Total Mortality"));
    EXPECT_EQ(pages[0].certainty, QStringLiteral("HIGH"));
    EXPECT_TRUE(std::filesystem::exists(pdf.toStdString()));
    EXPECT_FALSE(u().Panel1->isHidden());
    EXPECT_TRUE(u().Panel_hideYearDropButton->isHidden());
    EXPECT_EQ(u().editpol->currentText(), QStringLiteral("PM10"));
    EXPECT_EQ(u().endpoint->currentText(), QStringLiteral("Total Mortality"));
    EXPECT_EQ(u().strength->currentText(), QStringLiteral("HIGH"));
    // Typing in the boxes still runs the change handlers.
    typeInto(u().endpoint, QStringLiteral("Respiratory Mortality"));
    EXPECT_EQ(u().editb_inc->text(), QStringLiteral("80"));
    typeInto(u().editpol, QStringLiteral("CO"));
    EXPECT_EQ(u().Label9->text(), QStringLiteral("mg/m3"));
}
