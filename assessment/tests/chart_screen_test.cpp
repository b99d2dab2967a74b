#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRect>
#include <QStringList>

#include <cmath>

#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/tests/ImpactInputs.h"
#include "platform/StringGrid.h"
#include "platform/chart/ChartControl.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/PrintedPages.h"
#include "runtime/NumberText.h"
#include "ui_TForm6.h"
#include "ui_TForm7.h"

using platform::testing::DialogScript;
using platform::testing::PrintedPages;
using platform::testing::withUsersSeparator;

namespace {

class ChartScreen : public ResultScreens {
protected:
    // The results screen fills its table, then the chart screen shows `column`.
    const platform::ChartModel& chart(const PublishedInputs& in, int column) {
        Program& p = publish(in);
        p.Form6->showForm();
        p.Form6->hideForm();
        return showChart(column);
    }
    const platform::ChartModel& showChart(int column) {
        program->aq.chart_column = column;
        program->Form7->hideForm();
        program->Form7->showForm();
        return control().model();
    }
    platform::ChartControl& control() { return *program->Form7->ui().ChartFX1; }
    QString cell(int col, int row) { return program->Form6->ui().StringGrid1->cell(col, row); }
};

}  // namespace

TEST_F(ChartScreen, TwelveClassesWithDataGiveTwelvePointsLabelledByTheirUpperBounds) {
    const auto& m = chart(PublishedInputs::spreadOver(12), 5);
    ASSERT_EQ(m.seriesCount, 3);
    ASSERT_EQ(m.pointCount, 12);
    for (int p = 0; p < 12; ++p) EXPECT_EQ(m.pointLegend(p), QString::number(10 * (p + 1)));
    EXPECT_EQ(m.seriesLegend(0), withUsersSeparator(QStringLiteral("rr=1.0600")));
    EXPECT_EQ(m.seriesLegend(2), withUsersSeparator(QStringLiteral("rr=1.0800")));
    // The values are the table's numbers as shown.
    for (int s = 0; s < 3; ++s)
        for (int p = 0; p < 12; ++p)
            EXPECT_DOUBLE_EQ(m.value(s, p), static_cast<double>(runtime::strToFloat(cell(5, p + 2 + 27 * s).toStdString())));
    EXPECT_TRUE(control().ToolBar());
    EXPECT_EQ(program->Form7->ui().Editorgan->text(), QStringLiteral("Institute of Public Health"));
    EXPECT_EQ(m.titles[3], QStringLiteral("concentrations in \u00b5g/m3"));
    EXPECT_EQ(m.titles[0], QStringLiteral("Cummulative # of Excess Cases"));
    EXPECT_EQ(m.legendWidth, 80);
    EXPECT_EQ(m.fixedGap, 10);
}

TEST_F(ChartScreen, AllClassesRunsToTheOpenTopClassFromTheCutOff) {
    PublishedInputs in = PublishedInputs::spreadOver(12);
    in.cutOff = 3;
    const auto& m = chart(in, 4);
    EXPECT_EQ(m.pointCount, 12 - 3);
    EXPECT_EQ(m.pointLegend(0), QStringLiteral("40"));

    program->Form7->ui().CheckBox1->click();
    EXPECT_TRUE(program->Form7->isActiveForm());
    EXPECT_EQ(control().model().pointCount, 25 - 3);
    EXPECT_EQ(control().model().pointLegend(21), QStringLiteral(">"));
    EXPECT_EQ(control().model().pointLegend(20), QStringLiteral("400"));

    // A cut-off beyond the list starts the chart at the reference class of the table, class 24.
    in.cutOff = 30;
    const auto& top = chart(in, 3);
    ASSERT_EQ(top.pointCount, 2);
    EXPECT_EQ(top.pointLegend(0), QStringLiteral("400"));
    EXPECT_DOUBLE_EQ(top.value(0, 0), 1.0);
    EXPECT_DOUBLE_EQ(top.value(0, 1), 1.03);
}

TEST_F(ChartScreen, CasesOfTheLowerAndUpperEstimatesAreWholeNumbers) {
    PublishedInputs in = PublishedInputs::spreadOver(12);
    in.population = 1234;
    for (int column : {4, 5}) {
        const auto& m = chart(in, column);
        bool fraction0 = false;
        for (int p = 0; p < m.pointCount; ++p) {
            EXPECT_EQ(m.value(1, p), std::round(m.value(1, p)));
            EXPECT_EQ(m.value(2, p), std::round(m.value(2, p)));
            fraction0 = fraction0 || m.value(0, p) != std::round(m.value(0, p));
        }
        EXPECT_TRUE(fraction0) << "the central estimate keeps its decimal, column " << column;
    }
}

TEST_F(ChartScreen, SubjectLineNamesTheEndpointFromColumnThreeOn) {
    const PublishedInputs in = PublishedInputs::spreadOver(12);
    EXPECT_EQ(chart(in, 1).titles[2], QStringLiteral("PM10  2003"));
    EXPECT_EQ(showChart(2).titles[2], QStringLiteral("PM10  2003"));
    EXPECT_EQ(showChart(3).titles[2], QStringLiteral("PM10  2003  Total Mortality"));
    EXPECT_EQ(showChart(8).titles[2], QStringLiteral("PM10  2003  Total Mortality"));
    EXPECT_EQ(showChart(8).titles[0], QStringLiteral("Cummulative # of Excess Cases per 100 000 "));
}

TEST_F(ChartScreen, PercentColumnsUseTenStepsToOneHundredAndFiveWithoutLegend) {
    const PublishedInputs in = PublishedInputs::spreadOver(12);
    chart(in, 2);
    for (int column : {2, 6, 7}) {
        const auto& m = showChart(column);
        EXPECT_DOUBLE_EQ(m.axisMin, 0) << column;
        EXPECT_DOUBLE_EQ(m.axisMax, 105) << column;
        EXPECT_DOUBLE_EQ(m.axisStep, 10) << column;
        EXPECT_EQ(m.decimals, 0) << column;
        EXPECT_EQ(m.legendWidth, 0) << column;
    }
    EXPECT_EQ(showChart(1).legendWidth, 0);
}

TEST_F(ChartScreen, AxisFollowsTheColumnMaximum) {
    chart(PublishedInputs::spreadOver(12), 5);
    struct Case {
        long double largest;
        double max, step;
        int decimals;
    };
    for (const Case& c : {Case{100, 105, 10, 0}, Case{0.3L, 0.305, 0.01, 2}, Case{0.007L, 0.0075, 0.001, 3},
                          Case{20000, 20500, 1000, 0}, Case{1, 1.05, 0.1, 0}}) {
        program->aq.impact.chart_maxima[4] = c.largest;
        const auto& m = showChart(4);
        EXPECT_DOUBLE_EQ(m.axisMin, 0);
        EXPECT_NEAR(m.axisMax, c.max, 1e-12) << static_cast<double>(c.largest);
        EXPECT_DOUBLE_EQ(m.axisStep, c.step) << static_cast<double>(c.largest);
        EXPECT_EQ(m.decimals, c.decimals) << static_cast<double>(c.largest);
    }
}

TEST_F(ChartScreen, RelativeRiskColumnStartsAtOne) {
    PublishedInputs in = PublishedInputs::spreadOver(12);
    const auto& m = chart(in, 3);
    EXPECT_DOUBLE_EQ(m.axisMin, 1.0);
    EXPECT_DOUBLE_EQ(m.axisMax, static_cast<double>(program->aq.impact.chart_maxima[3]));
    EXPECT_DOUBLE_EQ(m.axisStep, 0.1);
    EXPECT_EQ(m.decimals, 2);
    EXPECT_DOUBLE_EQ(m.value(0, 0), 1.0);

    in.rr = {0, 1.0L, 1.0L, 1.0L};
    const auto& flat = chart(in, 3);
    EXPECT_DOUBLE_EQ(flat.axisMin, 1.0);
    EXPECT_DOUBLE_EQ(flat.axisMax, 1.0);
    EXPECT_FALSE(control().chartImage(QSize(723, 393)).isNull());
}

TEST_F(ChartScreen, OpenedFromTheParameterScreenShowsCumulativeCases) {
    chart(PublishedInputs::spreadOver(12), 0);
    EXPECT_EQ(program->aq.chart_column, 5);
    EXPECT_EQ(control().model().titles[0], QStringLiteral("Cummulative # of Excess Cases"));
}

TEST_F(ChartScreen, ReadsTheTableWithTheUserDecimalSeparator) {
    runtime::setDecimalSeparator(',');
    PublishedInputs in;
    in.counts[3] = 365;
    const auto& m = chart(in, 3);
    runtime::setDecimalSeparator('.');
    ASSERT_EQ(m.pointCount, 3);
    EXPECT_DOUBLE_EQ(m.value(0, 2), 1.09);
}

TEST_F(ChartScreen, NoClassWithDataGivesAnEmptyChart) {
    PublishedInputs in;
    const auto& m = chart(in, 5);
    EXPECT_EQ(m.pointCount, 1);  // class 1 is the last class while no class holds data

    PublishedInputs above;
    above.counts[2] = 100;
    above.cutOff = 5;
    EXPECT_EQ(chart(above, 5).pointCount, 0);
    EXPECT_FALSE(control().chartImage(QSize(723, 393)).isNull());
}

TEST_F(ChartScreen, PrintsOnePage) {
    chart(PublishedInputs::spreadOver(12), 5);
    const std::string pdf = workDir + "chart.pdf";
    PrintedPages printed;
    printed.printOnce(QString::fromStdString(pdf), [&] { program->Form7->ui().BitBtn1->click(); });
    EXPECT_EQ(DialogScript::lastPageCount(), 1);
    EXPECT_FALSE(readFile(pdf).empty());
    EXPECT_TRUE(DialogScript::boxes().empty());
    // The supplier line on top, the chart across the page below it (a band well inside the chart,
    // at 1200 dpi), and the program line.
    ASSERT_EQ(printed.canvasPageCount(), 1);
    EXPECT_EQ(printed.canvasPage(0).texts,
              QStringList({"Institute of Public Health", "Zelk - Air quality and health impact assessment tool"}));
    EXPECT_TRUE(printed.canvasShowsInk(0, QRect(0, 1000, 9000, 3000)));
    // The chart's top edge (y = 75) leaves the lower half of the supplier line readable.
    EXPECT_TRUE(printed.canvasShowsInk(0, QRect(75, 85, 1000, 40)));
}
