#include <QLabel>
#include <QPushButton>
#include <QStringList>
#include <QTest>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <filesystem>

#include <sys/resource.h>

#include "assessment/Unit4.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/tests/ImpactInputs.h"
#include "platform/Clipboard.h"
#include "platform/StringGrid.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/PrintedPages.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "ui_TForm4.h"
#include "ui_TForm6.h"

using platform::testing::DialogScript;
using platform::testing::PrintedPages;
using platform::testing::withUsersSeparator;

namespace {

class ImpactScreen : public ResultScreens {
protected:
    TForm6& show(const PublishedInputs& in) {
        Program& p = publish(in);
        p.Form6->showForm();
        return *p.Form6;
    }
    platform::StringGrid& grid() { return *program->Form6->ui().StringGrid1; }
    QString cell(int col, int row) { return grid().cell(col, row); }
};

int decimalsOf(const QString& number) {
    const int dot = number.indexOf(QLatin1Char(runtime::decimalSeparator()));
    return dot < 0 ? 0 : static_cast<int>(number.size() - dot - 1);
}

constexpr int kBlockTitles[3] = {1, 28, 55};

}  // namespace

TEST_F(ImpactScreen, CutOffZeroMakesClassOneTheReferenceClassInEveryBlock) {
    show(PublishedInputs::spreadOver(12));
    for (int t : kBlockTitles) {
        EXPECT_EQ(cell(3, t + 1), withUsersSeparator(QStringLiteral("1.00000"))) << "block at row " << t;
        for (int k = 1; k <= 25; ++k) EXPECT_NE(cell(3, t + k), QStringLiteral("no impact"));
    }
    EXPECT_EQ(cell(0, 1), withUsersSeparator(QStringLiteral("rr=1.0600")));
    EXPECT_EQ(cell(0, 28), withUsersSeparator(QStringLiteral("rr=1.0400")));
    EXPECT_EQ(cell(0, 55), withUsersSeparator(QStringLiteral("rr=1.0800")));
    EXPECT_EQ(cell(0, 0), QStringLiteral("\u00b5g/m3"));
    const QStringList titles = {"% Person*Days", "Cum %", "Relative Risk", "# CASES", "Cum.#", "% CASES", "Cum. %",
                                "Cum # per 100 000"};
    for (int col = 1; col <= 8; ++col) EXPECT_EQ(cell(col, 0), titles[col - 1]);
    EXPECT_EQ(program->Form6->ui().Label1->text(), QStringLiteral("PM10  2003  Total Mortality"));
}

TEST_F(ImpactScreen, CutOffFiveShowsNoImpactBelowTheReferenceClass) {
    PublishedInputs in = PublishedInputs::spreadOver(12);
    in.cutOff = 5;
    show(in);
    for (int t : kBlockTitles) {
        for (int k = 1; k <= 5; ++k) {
            const int row = t + k;
            EXPECT_FALSE(cell(1, row).isEmpty());
            EXPECT_FALSE(cell(2, row).isEmpty());
            EXPECT_EQ(cell(3, row), QStringLiteral("no impact"));
            for (int col = 4; col <= 8; ++col) EXPECT_TRUE(cell(col, row).isEmpty()) << col << "," << row;
        }
        EXPECT_EQ(cell(3, t + 6), withUsersSeparator(QStringLiteral("1.00000")));
        EXPECT_EQ(cell(4, t + 6), t == 1 ? withUsersSeparator(QStringLiteral("0.0")) : QStringLiteral("0"));
    }
    // Lowering the cut-off again rewrites the rows that said "no impact".
    in.cutOff = 0;
    program->Form6->hideForm();
    show(in);
    EXPECT_EQ(cell(3, 2), withUsersSeparator(QStringLiteral("1.00000")));
    EXPECT_EQ(cell(4, 2), withUsersSeparator(QStringLiteral("0.0")));

    // A cut-off beyond the list is held to its last item: class 24 is the reference class in the
    // table as in the calculation.
    in.cutOff = 30;
    program->Form6->hideForm();
    show(in);
    EXPECT_EQ(cell(3, 24), QStringLiteral("no impact"));
    EXPECT_EQ(cell(3, 25), withUsersSeparator(QStringLiteral("1.00000")));
    EXPECT_EQ(cell(3, 26), withUsersSeparator(QStringLiteral("1.03000")));
}

TEST_F(ImpactScreen, AllDaysInOneClassGiveTheExpectedCasesAndDecimalsPerBlock) {
    PublishedInputs in;
    in.counts[3] = 365;
    show(in);
    EXPECT_EQ(cell(1, 4), withUsersSeparator(QStringLiteral("100.00")));
    EXPECT_EQ(cell(3, 4), withUsersSeparator(QStringLiteral("1.09000")));
    // 0.09 / 1.09 of 1000 per 100 000 in 100 000 people
    EXPECT_EQ(cell(4, 4), withUsersSeparator(QStringLiteral("82.6")));
    EXPECT_EQ(cell(5, 4), withUsersSeparator(QStringLiteral("82.6")));
    EXPECT_EQ(cell(8, 4), withUsersSeparator(QStringLiteral("82.6")));
    EXPECT_EQ(cell(7, 25), withUsersSeparator(QStringLiteral("100.00")));
    for (int t : kBlockTitles) {
        const int row = t + 3;
        EXPECT_EQ(decimalsOf(cell(1, row)), 2);
        EXPECT_EQ(decimalsOf(cell(2, row)), 2);
        EXPECT_EQ(decimalsOf(cell(3, row)), 5);
        EXPECT_EQ(decimalsOf(cell(4, row)), t == 1 ? 1 : 0);
        EXPECT_EQ(decimalsOf(cell(5, row)), t == 1 ? 1 : 0);
        EXPECT_EQ(decimalsOf(cell(6, row)), 2);
        EXPECT_EQ(decimalsOf(cell(7, row)), 2);
        EXPECT_EQ(decimalsOf(cell(8, row)), 1);
    }
}

TEST_F(ImpactScreen, NumbersUseTheUserDecimalSeparatorAndAPopulationOfZeroShowsZero) {
    runtime::setDecimalSeparator(',');
    PublishedInputs in;
    in.counts[3] = 365;
    in.population = 0;
    show(in);
    runtime::setDecimalSeparator('.');
    EXPECT_EQ(cell(3, 4), QStringLiteral("1,09000"));
    EXPECT_EQ(cell(0, 1), QStringLiteral("rr=1,0600"));
    EXPECT_EQ(cell(8, 4), QStringLiteral("0,0"));
    EXPECT_EQ(cell(4, 4), QStringLiteral("0,0"));
}

TEST_F(ImpactScreen, ClassCaptionsAreCutToEightCharactersAndUnitsFollowThePollutant) {
    PublishedInputs in = PublishedInputs::spreadOver(12);
    in.interval = 2;
    in.pollutant = "CO";
    // The air-quality screen shows a CO record: its unit label reads "mg/m3".
    program = &start();
    program->aq.cur_pollutant = 9;
    program->Form4->controls().editpol->setText(QStringLiteral("CO"));
    show(in);
    EXPECT_EQ(program->aq.class_captions[21].str(), "20.0-24.9");
    EXPECT_EQ(cell(0, 22), QStringLiteral("20.0-24."));
    EXPECT_EQ(cell(0, 12), QStringLiteral("10.0-10."));
    EXPECT_EQ(cell(0, 2 + 27), QStringLiteral("<1"));
    EXPECT_EQ(program->aq.impact_class_captions[21], "20.0-24.");
    EXPECT_EQ(cell(0, 0), QStringLiteral("mg/m3"));
}

TEST_F(ImpactScreen, SavedFileHoldsEightyFiveLinesOfNineFields) {
    show(PublishedInputs::spreadOver(12));
    const std::string path = workDir + "results.txt";
    DialogScript::answerFile(QString::fromStdString(path));
    program->Form6->ui().BitBtn3->click();
    const std::string bytes = readFile(path);
    ASSERT_FALSE(bytes.empty());
    ASSERT_EQ(bytes.substr(bytes.size() - 2), "\r\n");
    std::vector<std::string> lines;
    std::size_t from = 0;
    for (std::size_t at; (at = bytes.find("\r\n", from)) != std::string::npos; from = at + 2)
        lines.push_back(bytes.substr(from, at - from));
    ASSERT_EQ(lines.size(), 85u);
    for (const std::string& line : lines) EXPECT_EQ(std::count(line.begin(), line.end(), '\t'), 8) << line;
    for (int row : {27, 54, 81, 82, 83, 84}) EXPECT_EQ(lines[static_cast<std::size_t>(row)], "\t\t\t\t\t\t\t\t");
    EXPECT_EQ(lines[0].substr(0, 7), "\xb5g/m3\t%");  // Windows-1252 micro sign
    EXPECT_EQ(lines[1], withUsersSeparator(std::string("rr=1.0600\t\t\t\t\t\t\t\t")));
}

TEST_F(ImpactScreen, SaveErrorsAndCancelLeaveTheTable) {
    show(PublishedInputs::spreadOver(12));
    DialogScript::cancelFile();
    program->Form6->ui().BitBtn3->click();
    EXPECT_TRUE(DialogScript::boxes().empty());

    DialogScript::answerFile(QString::fromStdString(workDir + "no such folder/results.txt"));
    DialogScript::answer(platform::Button::Ok);
    program->Form6->ui().BitBtn3->click();
    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(DialogScript::boxes()[0].text, QStringLiteral("can't write to file"));
    EXPECT_EQ(cell(0, 1), withUsersSeparator(QStringLiteral("rr=1.0600")));

    // A write that fails half-way keeps the file the user chose to replace, byte for byte.
    const std::string previous = workDir + "previous.txt";
    writeFile(previous, "earlier results\r\n");
    DialogScript::answerFile(QString::fromStdString(previous));
    DialogScript::answer(platform::Button::Ok);
    runtime::testing::failNextWriterClose();
    program->Form6->ui().BitBtn3->click();
    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(DialogScript::boxes()[1].text, QStringLiteral("can't write to file"));
    EXPECT_EQ(readFile(previous), "earlier results\r\n");

    // Written in place, a file that cannot be put back either: the message names the copy of its bytes.
    const std::string keep = workDir + "keep/";
    std::filesystem::create_directory(keep);
    ::setenv("TMPDIR", keep.c_str(), 1);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    ::getrlimit(RLIMIT_FSIZE, &limit);
    const rlimit small{8, limit.rlim_max};  // once the copy is made, no file grows past 8 bytes
    runtime::testing::onFileStep([&](const std::string& step) {
        if (step == "write") ::setrlimit(RLIMIT_FSIZE, &small);
    });
    runtime::testing::failNextTempCreate();
    DialogScript::answerFile(QString::fromStdString(previous));
    DialogScript::answer(platform::Button::Ok);
    program->Form6->ui().BitBtn3->click();
    ::setrlimit(RLIMIT_FSIZE, &limit);
    runtime::testing::onFileStep({});
    ::unsetenv("TMPDIR");
    ASSERT_EQ(DialogScript::boxes().size(), 3u);
    ASSERT_FALSE(std::filesystem::is_empty(keep));
    const auto kept = std::filesystem::directory_iterator(keep)->path().string();
    EXPECT_EQ(DialogScript::boxes()[2].text,
              QString::fromStdString("can't write to file. The previous contents are kept in " + kept + "."));
    EXPECT_EQ(readFile(kept), "earlier results\r\n");
}

TEST_F(ImpactScreen, CopiesTheSelectionOrEverythingFromTheButtonAndTheKeys) {
    show(PublishedInputs::spreadOver(12));
    grid().setSelectionRect(QRect(QPoint(1, 2), QPoint(2, 3)));
    platform::setClipboardText(QString());
    program->Form6->ui().Clipb->click();
    const QString pair = cell(1, 2) + "\t" + cell(2, 2) + "\t\r" + cell(1, 3) + "\t" + cell(2, 3) + "\t\r";
    EXPECT_EQ(platform::clipboardText(), pair);

    platform::setClipboardText(QString());
    QTest::keyClick(&grid(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(platform::clipboardText(), pair);

    QTest::keyClick(&grid(), Qt::Key_A, Qt::ControlModifier);
    const QString all = platform::clipboardText();
    EXPECT_EQ(all.count(QLatin1Char('\r')), 85);
    EXPECT_EQ(all.count(QLatin1Char('\t')), 85 * 9);
    EXPECT_FALSE(all.contains(QLatin1Char('\n')));
    EXPECT_TRUE(all.startsWith(cell(0, 0) + "\t" + cell(1, 0) + "\t"));
    EXPECT_EQ(grid().selectionRect(), QRect(QPoint(1, 2), QPoint(2, 3)));  // the selection stays

    // With Shift also held, neither key copies.
    platform::setClipboardText(QStringLiteral("kept"));
    QTest::keyClick(&grid(), Qt::Key_C, Qt::ControlModifier | Qt::ShiftModifier);
    QTest::keyClick(&grid(), Qt::Key_A, Qt::ControlModifier | Qt::AltModifier);
    EXPECT_EQ(platform::clipboardText(), QStringLiteral("kept"));
}

TEST_F(ImpactScreen, PrintsThreePagesAndRestoresTheScreen) {
    show(PublishedInputs::spreadOver(12));
    auto& ui = program->Form6->ui();
    QPushButton* const buttons[] = {ui.Clipb, ui.BitBtn3, ui.BitBtn2, ui.BitBtn1, ui.Button1};
    struct Page {
        int topRow, screenHeight, gridHeight;
        bool supplierShown, programLineShown, anyButtonShown;
    };
    const QString pdf = QString::fromStdString(workDir + "table.pdf");
    grid().setTopRow(40);
    PrintedPages printed;
    const auto pages = printed.printOnce(pdf, [&] { ui.BitBtn2->click(); }, [&](QWidget& screen) {
        bool anyButton = false;
        for (QPushButton* b : buttons) anyButton = anyButton || b->isVisibleTo(&screen);
        return Page{grid().topRow(), screen.height(), grid().height(), ui.Label2->isVisibleTo(&screen),
                    ui.Label4->isVisibleTo(&screen), anyButton};
    });
    EXPECT_EQ(DialogScript::lastPageCount(), 3);
    EXPECT_FALSE(readFile(pdf.toStdString()).empty());

    // The first page shows the grid where the user left it, the next two the lower and upper blocks;
    // every page carries the supplier and the program line and no button.
    ASSERT_EQ(pages.size(), 3u);
    const int topRows[3] = {40, 28, 55};
    for (int page = 0; page < 3; ++page) {
        SCOPED_TRACE(page);
        EXPECT_EQ(pages[page].topRow, topRows[page]);
        EXPECT_EQ(pages[page].screenHeight, 600);
        EXPECT_EQ(pages[page].gridHeight, 600);
        EXPECT_TRUE(pages[page].supplierShown);
        EXPECT_TRUE(pages[page].programLineShown);
        EXPECT_FALSE(pages[page].anyButtonShown);
        EXPECT_TRUE(printed.showsInk(page, *program->Form6, *ui.Label2));
        EXPECT_TRUE(printed.showsInk(page, *program->Form6, *ui.Label4));
    }
    EXPECT_TRUE(printed.image(0) != printed.image(1));
    EXPECT_TRUE(printed.image(1) != printed.image(2));

    // Afterwards: the screen 540 high with a grid of 470 at row 1, the labels hidden, the buttons back.
    EXPECT_EQ(grid().topRow(), 1);
    EXPECT_EQ(program->Form6->height(), 540);
    EXPECT_EQ(grid().height(), 470);
    EXPECT_EQ(grid().y(), 44);
    EXPECT_TRUE(ui.Label2->isHidden());
    EXPECT_TRUE(ui.Label4->isHidden());
    for (QPushButton* b : buttons) EXPECT_FALSE(b->isHidden());
    EXPECT_EQ(ui.Label2->text(), QStringLiteral("Institute of Public Health"));
}

TEST_F(ImpactScreen, ChartButtonChartsTheCurrentColumn) {
    show(PublishedInputs::spreadOver(12));
    EXPECT_EQ(grid().currentCol(), 5);
    grid().setCurrentCell(10, 4);
    program->Form6->ui().BitBtn1->click();
    EXPECT_EQ(program->aq.chart_column, 4);
    EXPECT_TRUE(program->Form7->isActiveForm());

    program->Form6->ui().Button1->click();
    EXPECT_FALSE(program->Form6->isVisible());
}

TEST_F(ImpactScreen, EnterChartsAndEscapeCloses) {
    show(PublishedInputs::spreadOver(12));
    ASSERT_TRUE(platform::testing::activateForm(program->Form6));
    program->Form6->focusControl(&grid());
    QTest::keyClick(&grid(), Qt::Key_Return);
    EXPECT_EQ(program->aq.chart_column, 5);
    EXPECT_TRUE(program->Form7->isVisible());
    ASSERT_TRUE(platform::testing::activateForm(program->Form7));
    QTest::keyClick(program->Form7, Qt::Key_Escape);
    EXPECT_FALSE(program->Form7->isVisible());
    ASSERT_TRUE(platform::testing::activateForm(program->Form6));
    QTest::keyClick(&grid(), Qt::Key_Escape);
    EXPECT_FALSE(program->Form6->isVisible());
}

TEST_F(ImpactScreen, EnterOnAFocusedButtonPressesThatButton) {
    show(PublishedInputs::spreadOver(12));
    ASSERT_TRUE(platform::testing::activateForm(program->Form6));
    program->Form6->focusControl(program->Form6->ui().Clipb);
    platform::setClipboardText(QString());
    QTest::keyClick(program->Form6->ui().Clipb, Qt::Key_Return);
    EXPECT_FALSE(platform::clipboardText().isEmpty());  // copied, not charted
    EXPECT_FALSE(program->Form7->isVisible());
}
