#include "assessment/Unit7.h"

#include <QCheckBox>
#include <QFont>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>

#include "assessment/ChartAxisChoice.h"
#include "assessment/Program.h"
#include "assessment/RecordScreenHelpers.h"
#include "assessment/Unit6.h"
#include "assessment/core/ImpactCalculation.h"
#include "platform/Ansi.h"
#include "platform/Guard.h"
#include "platform/Printing.h"
#include "platform/StringGrid.h"
#include "platform/chart/ChartControl.h"
#include "runtime/NumberText.h"
#include "ui_TForm6.h"
#include "ui_TForm7.h"

namespace {

constexpr int kDefaultColumn = 5;  // "Cum.#"
constexpr int kLastClassIndex = 24;

// Columns whose three series coincide or share one scale of percent show no series legend.
short legendWidthFor(int column) {
    return (column == 1 || column == 2 || column == 6 || column == 7) ? 0 : 80;
}

}  // namespace

TForm7::TForm7(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm7Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form7"));
    setHelpContext(7);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(724, 425);
    move(240, 257);

    connect(ui_->CheckBox1, &QCheckBox::clicked, this, platform::guarded([this] { CheckBox1Click(); }));
    connect(ui_->BitBtn1, &QPushButton::clicked, this, platform::guarded([this] { BitBtn1Click(); }));
    connect(ui_->Button1, &QPushButton::clicked, this, platform::guarded([this] { Button1Click(); }));
    setCancelButton(ui_->Button1);

    FormCreate();
}

TForm7::~TForm7() = default;

void TForm7::FormCreate() {
    chart_axis_titles = {"% Person*Days",
                         "Cummulative % of Person*Days",
                         "Relative Risk",
                         "# of Excess Cases",
                         "Cummulative # of Excess Cases",
                         "% of Excess Cases",
                         "Cummulative % of Excess Cases",
                         "Cummulative # of Excess Cases per 100 000 "};
}

void TForm7::FormActivate() { platform::runGuarded([this] { buildChart(); }); }

void TForm7::buildChart() {
    assessment::AssessmentState& aq = program().aq;
    platform::ChartControl& chart = *ui_->ChartFX1;
    const platform::StringGrid& table = *program().Form6->ui().StringGrid1;

    int last = 0;
    if (ui_->CheckBox1->isChecked()) {
        last = kLastClassIndex;
    } else {
        for (int k = 1; k <= assessment::kClassCount; ++k) {
            if (aq.impact.class_present[static_cast<std::size_t>(k)] != 0) last = k - 1;
        }
    }
    const int first = assessment::effectiveCutOff(aq.first_class);

    chart.ToolBar(true);
    assessment::showOrganisation(ui_->Editorgan, aq.supplier_org);
    if (aq.chart_column < 1 || aq.chart_column > 8) aq.chart_column = kDefaultColumn;
    const int column = aq.chart_column;

    for (int m = 0; m < kLastClassIndex; ++m) chart_class_names[static_cast<std::size_t>(m)] = aq.class_bounds[static_cast<std::size_t>(m + 1)].str();
    chart_class_names[kLastClassIndex] = ">";

    axis_max = static_cast<double>(aq.impact.chart_maxima[static_cast<std::size_t>(column)]);
    const assessment::ChartAxisChoice axis = assessment::chartAxisFor(column, axis_max);
    axis_step = axis.step;
    chart.Decimals(static_cast<short>(axis.decimals));
    chart.ChartAxisScale(0, axis.min);
    chart.ChartAxisScale(1, axis.max);
    chart.ChartAxisScale(2, axis.step);

    chart.ChartTitle(3, QStringLiteral("concentrations in ") + table.cell(0, 0));
    chart.ChartTitle(0, platform::fromAnsi(chart_axis_titles[static_cast<std::size_t>(column - 1)]));
    QString subject = platform::fromAnsi(aq.pollutant_text) + QStringLiteral("  ") + QString::number(aq.cur_year);
    if (column >= 3) subject += QStringLiteral("  ") + platform::fromAnsi(aq.endpoint_text);
    chart.ChartTitle(2, subject);

    chart.LegendWidth(legendWidthFor(column));
    chart.FixedGap(10);

    chart.ChartOpenData(1, 3, last - first + 1);
    for (short s = 0; s < 3; ++s) {
        chart.ThisSerie(s);
        chart.ChartSeriesLegend(s, table.cell(0, TForm6::kBlockTitleRows[s]));
        for (int m = first; m <= last; ++m) {
            // Class m + 1 of a block is the row m + 1 below the block's title.
            const QString text = table.cell(column, TForm6::kBlockTitleRows[s] + 1 + m);
            chart.ChartValue(static_cast<short>(m - first), static_cast<double>(runtime::strToFloat(platform::toAnsi(text))));
            if (s == 0) chart.ChartPointLegend(static_cast<short>(m - first), platform::fromAnsi(chart_class_names[static_cast<std::size_t>(m)]));
        }
    }
    chart.ChartCloseData(1);
    focusControl(ui_->BitBtn1);
}

void TForm7::CheckBox1Click() {
    closeForm();
    showForm();
}

void TForm7::BitBtn1Click() {
    platform::PrinterCanvas canvas;
    if (!canvas.beginDoc()) return;
    canvas.textOut(75, 0, platform::fromAnsi(program().aq.supplier_org));
    const int w = canvas.pageWidth();
    const int b = w * 273 / 493 + 75;
    canvas.paint([&](QPainter& device) { ui_->ChartFX1->ChartPaint(device, 0, 75, w, b, 1, 0); });
    QFont font = canvas.font();
    font.setItalic(true);
    font.setPointSize(8);
    canvas.setFont(font);
    canvas.textOut(75, b + 150, QStringLiteral("Zelk - Air quality and health impact assessment tool"));
    canvas.endDoc();
}

void TForm7::Button1Click() { closeForm(); }
