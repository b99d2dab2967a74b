// The grids of the life-table screen: their captions, row labels and column widths, and the room
// the screen gives them. Every column is wide enough for its captions and for the widest text it
// shows in normal use, at the screen's font, and never narrower than in the screen's original
// layout. A grid that needs more room grows to the right, the controls on its right move along, and
// the window widens by what its widest tab needs. Texts are shown on one line.
#include <QMenuBar>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <algorithm>
#include <map>
#include <vector>

#include "lifetables/Unit_LifeTables.h"
#include "lifetables/core/LTState.h"
#include "platform/StringGrid.h"
#include "ui_TPagesDlgLT.h"

namespace {

// The widest texts shown in normal use, besides the captions and row labels that the grids hold:
// ages to 120; population and death counts of a whole country; betas with seven decimals; relative
// risks with all fifteen digits (as an opened file shows them); years of life lost in the millions
// (two decimals, or the exponent form beyond six digits); remaining life expectancies and their
// changes; the age labels of a life expectancy grid, up to the first age 120 plus 119 steps of 10.
const QStringList kAgeTexts = {QStringLiteral("120")};
const QStringList kCountTexts = {QStringLiteral("12345678.5")};
const QStringList kBetaTexts = {QStringLiteral("0.0126730")};
const QStringList kRiskTexts = {QStringLiteral("1.06183654654536")};
const QStringList kYearsOfLifeTexts = {QStringLiteral("-999999.00"), QStringLiteral("-9.99999E6")};
const QStringList kLifeExpectancyTexts = {QStringLiteral("120.00"), QStringLiteral("-99.99")};
const QStringList kAgeLabelTexts = {QStringLiteral("  1310")};

// Columns that share one width: the same columns of grids that stand together. The widths they
// were given when the grids were set up are those of the original layout.
struct ColumnGroup {
    std::vector<platform::StringGrid*> grids;
    int firstCol;
    int lastCol;
    QStringList widest;
};

// The width a column needs to show `text` whole: the view keeps a margin on both sides of a cell's
// text and the grid line takes a pixel; two more pixels allow for rounding of the text's width.
int widthFor(const platform::StringGrid* grid, const QString& text) {
    const int margin = grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1;
    return grid->fontMetrics().horizontalAdvance(text) + 2 * margin + 1 + 2;
}

void fitColumns(const ColumnGroup& group) {
    for (int col = group.firstCol; col <= group.lastCol; ++col) {
        int width = 0;
        for (platform::StringGrid* grid : group.grids) {
            width = std::max(width, grid->columnWidth(col));
            for (const QString& text : group.widest) width = std::max(width, widthFor(grid, text));
            // The captions of the fixed rows, and every row label of a fixed column.
            const int rows = col < grid->fixedCols() ? grid->rowCountTotal() : grid->fixedRows();
            for (int row = 0; row < rows; ++row) width = std::max(width, widthFor(grid, grid->cell(col, row)));
        }
        for (platform::StringGrid* grid : group.grids) grid->setColumnWidth(col, width);
    }
}

// The width a grid needs for all its columns, with a vertical scroll bar where its rows need one.
int neededWidth(const platform::StringGrid* grid) {
    int width = 2 * grid->frameWidth();
    for (int col = 0; col < grid->colCount(); ++col) width += grid->columnWidth(col);
    int rowsHeight = 0;
    for (int row = 0; row < grid->rowCountTotal(); ++row) rowsHeight += grid->rowHeight(row);
    if (rowsHeight > grid->maximumViewportSize().height()) width += grid->verticalScrollBar()->sizeHint().width();
    return width;
}

// Gives the children of `container` the growth they need: a growing child pushes everything that
// lies wholly to its right by as much, and widens what reaches across its right edge. Group boxes
// grow with their contents. Returns how far the contents now reach beyond their old right edge.
int makeRoom(QWidget* container, const std::map<const QWidget*, int>& growth) {
    const QList<QWidget*> children = container->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    std::map<const QWidget*, int> grows;
    std::map<int, int> cuts;  // old right edge -> growth
    for (QWidget* child : children) {
        int by = 0;
        if (const auto it = growth.find(child); it != growth.end()) by = it->second;
        else if (child->inherits("QGroupBox")) by = makeRoom(child, growth);
        if (by <= 0) continue;
        grows[child] = by;
        int& cut = cuts[child->x() + child->width()];
        cut = std::max(cut, by);
    }
    if (cuts.empty()) return 0;
    int oldRight = 0;
    int newRight = 0;
    for (QWidget* child : children) {
        const QRect old = child->geometry();
        int shift = 0;
        int widen = 0;
        for (const auto& [at, by] : cuts) {
            if (at <= old.x()) shift += by;
            else if (at < old.x() + old.width()) widen += by;
        }
        if (const auto it = grows.find(child); it != grows.end()) widen += it->second;
        child->setGeometry(old.x() + shift, old.y(), old.width() + widen, old.height());
        oldRight = std::max(oldRight, old.x() + old.width());
        newRight = std::max(newRight, old.x() + shift + old.width() + widen);
    }
    return std::max(0, newRight - oldRight);
}

}  // namespace

void TPagesDlgLT::setUpGrids() {
    static const char* const kDataCaptions[] = {"from age...", "...until age", "mid period pop",
                                                "# of all deaths", "# d. card.pulm", "# d. LCA"};
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        platform::StringGrid* grid = dataTab(sex).grid;
        grid->setColCount(6);
        grid->setRowCountTotal(lifetables::kLTMaxRows + 1);
        grid->setFixedRows(1);
        grid->setFixedCols(0);
        grid->setDefaultColWidth(80);
        grid->setDefaultRowHeight(17);
        grid->setEditable(true);
        grid->setWordWrap(false);
        for (int col = 0; col < 6; ++col) grid->setCell(col, 0, QString::fromLatin1(kDataCaptions[col]));
    }

    auto setUpResultGrid = [](platform::StringGrid* grid, int cols, int rows, int fixedRows, int firstColWidth, int colWidth) {
        grid->setColCount(cols);
        grid->setRowCountTotal(rows);
        grid->setFixedRows(fixedRows);
        grid->setFixedCols(1);
        grid->setEditable(false);
        grid->setWordWrap(false);
        grid->setDefaultRowHeight(18);
        grid->setColumnWidth(0, firstColWidth);
        for (int col = 1; col < cols; ++col) grid->setColumnWidth(col, colWidth);
    };
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        const ResultTab t = resultTab(sex);
        setUpResultGrid(t.deltaYear0, 4, 3, 1, 60, 76);
        t.deltaYear0->setCell(1, 0, QStringLiteral("YoLL central"));
        t.deltaYear0->setCell(2, 0, QStringLiteral("YoLL lower"));
        t.deltaYear0->setCell(3, 0, QStringLiteral("YoLL upper"));
        t.deltaYear0->setCell(0, 1, QStringLiteral("all ages"));
        t.deltaYear0->setCell(0, 2, QStringLiteral("age < 65"));
        setUpResultGrid(t.deltaYear0_norm, 4, 2, 0, 60, 76);
        t.deltaYear0_norm->setCell(0, 0, QStringLiteral("all ages"));
        t.deltaYear0_norm->setCell(0, 1, QStringLiteral("age < 65"));
        for (platform::StringGrid* grid : {t.dueToDeath, t.dueToDeath_norm, t.zeroToTen, t.zeroToTen_norm}) {
            setUpResultGrid(grid, 4, 1, 0, 60, 76);
            grid->setCell(0, 0, QStringLiteral("all ages"));
        }
        static const char* const kLifeCaptions[] = {"Age:", "ex. life rem.", "delta ELR central", "delta ELR lower",
                                                    "delta ELR upper"};
        // The age column holds up to "  595".
        setUpResultGrid(t.lifeRemain, 5, lifetables::kLTMaxRows + 1, 1, 44, 54);
        for (int col = 0; col < 5; ++col) t.lifeRemain->setCell(col, 0, QString::fromLatin1(kLifeCaptions[col]));
        const int step = lifetables::LTintervals[2];
        for (int row = 1; row <= lifetables::kLTMaxRows; ++row)
            t.lifeRemain->setCell(0, row, QStringLiteral("  ") + QString::number((row - 1) * step));
    }

    static const char* const kRRCaptions[] = {"* from age...", "* ...until age", "* beta", "* se beta", "RR", "RR lower", "RR upper"};
    platform::StringGrid* rr = ui_->TabRRStringGrid_betaRR;
    rr->setColCount(7);
    rr->setRowCountTotal(4);
    rr->setFixedRows(1);
    rr->setFixedCols(0);
    rr->setColumnWidth(0, 44);
    rr->setColumnWidth(1, 44);
    for (int col = 2; col < 7; ++col) rr->setColumnWidth(col, 76);
    rr->setDefaultRowHeight(20);
    rr->setEditable(true);
    rr->setWordWrap(false);
    for (int col = 0; col < 7; ++col) rr->setCell(col, 0, QString::fromLatin1(kRRCaptions[col]));
}

void TPagesDlgLT::fitScreenToGrids() {
    auto& u = *ui_;
    std::vector<platform::StringGrid*> data;
    std::vector<platform::StringGrid*> results;
    std::vector<platform::StringGrid*> lifeRemain;
    for (int sex = 1; sex <= lifetables::kLTSexCount; ++sex) {
        data.push_back(dataTab(sex).grid);
        const ResultTab t = resultTab(sex);
        results.insert(results.end(), {t.deltaYear0, t.deltaYear0_norm, t.zeroToTen, t.zeroToTen_norm, t.dueToDeath,
                                       t.dueToDeath_norm});
        lifeRemain.push_back(t.lifeRemain);
    }
    platform::StringGrid* rr = u.TabRRStringGrid_betaRR;
    const ColumnGroup groups[] = {
        {data, 0, 1, kAgeTexts},
        {data, 2, 5, kCountTexts},
        {{rr}, 0, 1, kAgeTexts},
        {{rr}, 2, 3, kBetaTexts},
        {{rr}, 4, 6, kRiskTexts},
        {results, 0, 0, {}},
        {results, 1, 3, kYearsOfLifeTexts},
        {lifeRemain, 0, 0, kAgeLabelTexts},
        {lifeRemain, 1, 4, kLifeExpectancyTexts},
    };
    for (const ColumnGroup& group : groups) fitColumns(group);

    std::map<const QWidget*, int> growth;
    for (const auto* grids : {&data, &results, &lifeRemain})
        for (platform::StringGrid* grid : *grids) growth[grid] = neededWidth(grid) - grid->width();
    growth[rr] = neededWidth(rr) - rr->width();

    // The window widens by what the widest tab needs, and at least so far that every tab shows.
    QTabWidget* tabs = u.TabPageControl;
    int wider = std::max(0, tabs->tabBar()->sizeHint().width() - tabs->width());
    for (int page = 0; page < tabs->count(); ++page) wider = std::max(wider, makeRoom(tabs->widget(page), growth));
    // The frame, the tabs and the Infos tab's scroll box fill the wider window.
    for (QWidget* frame : {static_cast<QWidget*>(u.MainMenu), static_cast<QWidget*>(u.PanelTabs),
                           static_cast<QWidget*>(tabs), static_cast<QWidget*>(u.TabInfosScrollBox_allEntries)})
        frame->resize(frame->width() + wider, frame->height());
    // The window's size is still the one of the original layout; it widens where the grids need the room.
    setFixedSize(width() + wider, height());
}
