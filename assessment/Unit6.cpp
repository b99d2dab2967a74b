#include "assessment/Unit6.h"

#include <QEvent>
#include <QFont>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QResizeEvent>
#include <algorithm>

#include "assessment/Program.h"
#include "assessment/ResultsGridText.h"
#include "assessment/ResultsPrinting.h"
#include "assessment/Unit4.h"
#include "assessment/Unit7.h"
#include "assessment/core/ImpactCalculation.h"
#include "assessment/core/PollutantRules.h"
#include "platform/Ansi.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/StringGrid.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/TextFile.h"
#include "ui_TForm4.h"
#include "ui_TForm6.h"

namespace {

constexpr int kPanelHeight = 44;
constexpr int kColumnWidths[TForm6::kCols] = {75, 99, 62, 81, 74, 61, 74, 64, 123};
constexpr int kRowHeight = 18;
constexpr int kChartColumnAtStart = 5;  // "Cum.#"
constexpr int kNumberPrecision = 7;
// Printing makes the screen and its grid 600 high; afterwards the screen is 540 high and the grid
// 470, which leaves a blank strip below the grid until the screen is resized.
constexpr int kPrintHeight = 600;
constexpr int kHeightAfterPrinting = 540;
constexpr int kGridHeightAfterPrinting = 470;

const char* const kColumnTitles[TForm6::kCols] = {
    nullptr, "% Person*Days", "Cum %", "Relative Risk", "# CASES", "Cum.#", "% CASES", "Cum. %",
    "Cum # per 100 000"};

}  // namespace

TForm6::TForm6(QWidget* parent) : platform::Form(parent), ui_(std::make_unique<Ui::TForm6Ui>()) {
    ui_->setupUi(this);
    setObjectName(QStringLiteral("Form6"));
    setHelpContext(6);
    move(-4, -4);

    connect(ui_->BitBtn1, &QPushButton::clicked, this, platform::guarded([this] { BitBtn1Click(); }));
    connect(ui_->Button1, &QPushButton::clicked, this, platform::guarded([this] { Button1Click(); }));
    connect(ui_->BitBtn2, &QPushButton::clicked, this, platform::guarded([this] { BitBtn2Click(); }));
    connect(ui_->BitBtn3, &QPushButton::clicked, this, platform::guarded([this] { BitBtn3Click(); }));
    connect(ui_->Clipb, &QPushButton::clicked, this, platform::guarded([this] { ClipbClick(); }));
    // "&Chart" is the default button (Enter), "&Close" the cancel button (Esc).
    setDefaultButton(ui_->BitBtn1);
    setCancelButton(ui_->Button1);
    ui_->StringGrid1->installEventFilter(this);

    FormCreate();
}

TForm6::~TForm6() = default;

void TForm6::FormCreate() {
    platform::StringGrid* grid = ui_->StringGrid1;
    grid->setColCount(kCols);
    grid->setRowCountTotal(kRows);
    grid->setFixedCols(1);
    grid->setFixedRows(1);
    grid->setEditable(false);
    grid->setSelectionMode(QAbstractItemView::ContiguousSelection);
    for (int col = 0; col < kCols; ++col) grid->setColumnWidth(col, kColumnWidths[col]);
    grid->setDefaultRowHeight(kRowHeight);
    for (int row = 0; row < kRows; ++row) grid->setRowHeight(row, kRowHeight);
    grid->setCurrentCell(1, kChartColumnAtStart);
    placeGrid();
}

void TForm6::calculate_impact() {
    assessment::AssessmentState& aq = program().aq;
    assessment::calculateImpact(assessment::impactInputsFrom(aq), aq.impact);
}

void TForm6::FormActivate() { fillTable(); }

void TForm6::fillTable() {
    assessment::AssessmentState& aq = program().aq;
    ui_->Label1->setText(platform::fromAnsi(aq.pollutant_text) + QStringLiteral("  ") + QString::number(aq.cur_year) +
                         QStringLiteral("  ") + platform::fromAnsi(aq.endpoint_text));
    ui_->Label2->setText(platform::fromAnsi(aq.supplier_org));
    ui_->StringGrid1->update();
    calculate_impact();
    for (int k = 1; k <= assessment::kClassCount; ++k) {
        aq.impact_class_captions[static_cast<std::size_t>(k)] = runtime::cutText(aq.class_captions[static_cast<std::size_t>(k)].str(), 8);
    }

    platform::StringGrid* grid = ui_->StringGrid1;
    grid->setCell(0, 0, unitTitle());
    for (int col = 1; col < kCols; ++col) {
        grid->setCell(col, 0, QString::fromLatin1(kColumnTitles[col]));
        alignCell(col, 0, Qt::AlignCenter);
    }
    for (int j = 1; j <= 3; ++j) fillBlock(j, kBlockTitleRows[j - 1]);
}

void TForm6::fillBlock(int j, int titleRow) {
    const assessment::AssessmentState& aq = program().aq;
    const assessment::ImpactResults& r = aq.impact;
    platform::StringGrid* grid = ui_->StringGrid1;
    const auto e = static_cast<std::size_t>(j);
    const int cutOff = assessment::effectiveCutOff(aq.first_class);
    const int casesDecimals = j == 1 ? 1 : 0;

    grid->setCell(0, titleRow, QStringLiteral("rr=") + QString::fromStdString(runtime::formatFixed(aq.rel_risk[e], kNumberPrecision, 4)));
    if (QTableWidgetItem* title = grid->item(titleRow, 0)) {
        QFont bold = grid->font();
        bold.setBold(true);
        title->setFont(bold);
    }
    for (int k = 1; k <= assessment::kClassCount; ++k) {
        const int row = titleRow + k;
        const auto i = static_cast<std::size_t>(assessment::classPosition(k));
        grid->setCell(0, row, platform::fromAnsi(aq.impact_class_captions[static_cast<std::size_t>(k)]));
        setNumber(1, row, r.pct_days[e][i], 2);
        setNumber(2, row, r.cum_pct_days[e][i], 2);
        if (k <= cutOff) {
            grid->setCell(3, row, QStringLiteral("no impact"));
            alignCell(3, row, Qt::AlignRight | Qt::AlignVCenter);
            for (int col = 4; col < kCols; ++col) grid->setCell(col, row, QString());
            continue;
        }
        setNumber(3, row, r.class_rr[e][i], 5);
        setNumber(4, row, r.class_cases[e][i], casesDecimals);
        setNumber(5, row, r.cumCases(j, assessment::classPosition(k)), casesDecimals);
        setNumber(6, row, r.pct_cases[e][i], 2);
        setNumber(7, row, r.cum_pct_cases[e][i], 2);
        setNumber(8, row, r.cumCasesPer100k(j, assessment::classPosition(k)), 1);
    }
}

void TForm6::setNumber(int col, int row, long double value, int decimals) {
    ui_->StringGrid1->setCell(col, row, QString::fromStdString(runtime::formatFixed(value, kNumberPrecision, decimals)));
    alignCell(col, row, Qt::AlignRight | Qt::AlignVCenter);
}

void TForm6::alignCell(int col, int row, Qt::Alignment alignment) {
    if (QTableWidgetItem* item = ui_->StringGrid1->item(row, col)) item->setTextAlignment(alignment);
}

// The caption of the air-quality screen's unit label; the same text from the pollutant while that
// screen has none.
QString TForm6::unitTitle() const {
    if (program().Form4 && !program().Form4->controls().Label62->text().isEmpty())
        return program().Form4->controls().Label62->text();
    return platform::fromAnsi(assessment::concentrationUnit(program().aq.pollutant_text));
}

void TForm6::BitBtn1Click() {
    const int col = ui_->StringGrid1->currentCol();
    program().aq.chart_column = (col >= 1 && col < kCols) ? col : 0;
    program().Form7->showForm();
}

void TForm6::Button1Click() { closeForm(); }

void TForm6::BitBtn2Click() { printPages(); }

void TForm6::printPages() {
    QPushButton* buttons[] = {ui_->Clipb, ui_->BitBtn3, ui_->BitBtn2, ui_->BitBtn1, ui_->Button1};
    platform::StringGrid* grid = ui_->StringGrid1;
    for (QPushButton* b : buttons) b->hide();
    ui_->Label2->show();
    ui_->Label4->show();
    struct Restore {
        TForm6* form;
        QPushButton* const* buttons;
        ~Restore() {
            form->resize(form->width(), kHeightAfterPrinting);
            form->placeGrid();
            platform::StringGrid* grid = form->ui_->StringGrid1;
            grid->resize(grid->width(), kGridHeightAfterPrinting);
            grid->setTopRow(1);
            form->ui_->Label2->hide();
            form->ui_->Label4->hide();
            for (int b = 0; b < 5; ++b) buttons[b]->show();
        }
    } restore{this, buttons};

    resize(width(), kPrintHeight);
    placeGrid();
    grid->resize(grid->width(), kPrintHeight);
    // One page for each block of the table.
    assessment::printScreenPages(this, [grid](int page) {
        if (page > 0) grid->setTopRow(kBlockTitleRows[page]);
    }, 3);
}

void TForm6::BitBtn3Click() {
    const std::optional<QString> chosen = platform::saveFileDialog(platform::FileDialogOptions{});
    if (!chosen) return;
    try {
        // A failed write keeps the file the user chose to replace.
        runtime::rewriteFile(platform::toFileName(*chosen), [this](runtime::TextWriter& file) {
            for (const QString& line : assessment::resultsLines(*ui_->StringGrid1)) file.writeln(platform::toAnsi(line));
        });
    } catch (const runtime::ContentsKeptError& e) {
        // The file could not be put back as it was: the user learns where its contents are.
        platform::showMessage(QStringLiteral("can't write to file.") +
                              platform::fromFileName(runtime::ContentsKeptError::note(e.keptIn())));
    } catch (const runtime::InOutError&) {
        platform::showMessage(QStringLiteral("can't write to file"));
    }
}

void TForm6::ClipbClick() {
    platform::setClipboardText(assessment::clipboardText(*ui_->StringGrid1, ui_->StringGrid1->selectionRect()));
}

void TForm6::Clipball() {
    platform::setClipboardText(assessment::clipboardText(*ui_->StringGrid1, QRect(QPoint(0, 0), QPoint(kCols - 1, kRows - 1))));
}

void TForm6::StringGrid1KeyUp(int key, Qt::KeyboardModifiers modifiers) {
    const bool onlyCtrl = (modifiers & ~Qt::KeypadModifier) == Qt::ControlModifier && QGuiApplication::mouseButtons() == Qt::NoButton;
    if (key == Qt::Key_C && onlyCtrl) ClipbClick();
    if (key == Qt::Key_A && onlyCtrl) Clipball();
}

bool TForm6::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->StringGrid1 && (event->type() == QEvent::KeyPress || event->type() == QEvent::KeyRelease)) {
        auto* key = static_cast<QKeyEvent*>(event);
        const bool copyKey = (key->key() == Qt::Key_C || key->key() == Qt::Key_A) && (key->modifiers() & Qt::ControlModifier);
        if (event->type() == QEvent::KeyRelease && !key->isAutoRepeat()) {
            const int code = key->key();
            const Qt::KeyboardModifiers modifiers = key->modifiers();
            platform::runGuarded([this, code, modifiers] { StringGrid1KeyUp(code, modifiers); });
        }
        // The grid's own Ctrl+C and Ctrl+A (copy the current cell, select all) give way to the
        // screen's copies on release.
        if (copyKey) return true;
    }
    return platform::Form::eventFilter(watched, event);
}

void TForm6::resizeEvent(QResizeEvent* event) {
    platform::Form::resizeEvent(event);
    placeGrid();
}

// The panel spans the top; the grid fills the rest of the screen.
void TForm6::placeGrid() {
    ui_->Panel1->setGeometry(0, 0, width(), kPanelHeight);
    ui_->StringGrid1->setGeometry(0, kPanelHeight, width(), std::max(0, height() - kPanelHeight));
}
