// The life-table screen as a user sees it: every grid caption, row label and value readable whole
// at the screen's font, grids without sideways scrolling, the Calc formula on one line, and the tab bar
// drawn by the style; Tab down the Infos tab, and the printout of that tab with all its rows.
#include <QApplication>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>
#include <QTabBar>
#include <QTest>
#include <QToolButton>
#include <vector>

#include "lifetables/tests/lt_screen_fixture.h"
#include "platform/testing/PrintedPages.h"

namespace {

// A column with the captions or labels it holds and the widest texts it shows in normal use.
struct ColumnTexts {
    platform::StringGrid* grid;
    int col;
    QStringList captions;
    QStringList widest;
};

QWidget* pageOf(QWidget* widget, QTabWidget* tabs) {
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->widget(i)->isAncestorOf(widget)) return tabs->widget(i);
    return nullptr;
}

}  // namespace

class LifeTableLayout : public LifeTableScreen {
protected:
    std::vector<ColumnTexts> columns() {
        std::vector<ColumnTexts> out;
        const QStringList counts = {"12345678.5", "3456789"};
        for (platform::StringGrid* grid : {ui().TabE_maleStringGrid, ui().TabE_femaleStringGrid, ui().TabE_allStringGrid}) {
            out.push_back({grid, 0, {"from age..."}, {"120"}});
            out.push_back({grid, 1, {"...until age"}, {"120"}});
            out.push_back({grid, 2, {"mid period pop"}, counts});
            out.push_back({grid, 3, {"# of all deaths"}, counts});
            out.push_back({grid, 4, {"# d. card.pulm"}, counts});
            out.push_back({grid, 5, {"# d. LCA"}, counts});
        }
        platform::StringGrid* rr = ui().TabRRStringGrid_betaRR;
        out.push_back({rr, 0, {"* from age..."}, {"120"}});
        out.push_back({rr, 1, {"* ...until age"}, {"120"}});
        out.push_back({rr, 2, {"* beta"}, {"0.0126730", "0.0022654"}});
        out.push_back({rr, 3, {"* se beta"}, {"0.0042600"}});
        out.push_back({rr, 4, {"RR"}, {"1.05971042353419", "1.0618365"}});
        out.push_back({rr, 5, {"RR lower"}, {"1.01592361068907"}});
        out.push_back({rr, 6, {"RR upper"}, {"1.23395690270634"}});
        const QStringList years = {"-999999.00", "-9.99999E6", "7.11619E6", "398035.00"};
        for (int sex = 1; sex <= 3; ++sex) {
            const auto t = screen()->resultTab(sex);
            out.push_back({t.deltaYear0, 0, {"", "all ages", "age < 65"}, {}});
            out.push_back({t.deltaYear0, 1, {"YoLL central"}, years});
            out.push_back({t.deltaYear0, 2, {"YoLL lower"}, years});
            out.push_back({t.deltaYear0, 3, {"YoLL upper"}, years});
            out.push_back({t.deltaYear0_norm, 0, {"all ages", "age < 65"}, {}});
            for (platform::StringGrid* grid : {t.zeroToTen, t.zeroToTen_norm, t.dueToDeath, t.dueToDeath_norm})
                out.push_back({grid, 0, {"all ages"}, {}});
            for (platform::StringGrid* grid :
                 {t.deltaYear0_norm, t.zeroToTen, t.zeroToTen_norm, t.dueToDeath, t.dueToDeath_norm})
                for (int col = 1; col <= 3; ++col) out.push_back({grid, col, {}, years});
            out.push_back({t.lifeRemain, 0, {"Age:"}, {"  595", "  1310"}});
            out.push_back({t.lifeRemain, 1, {"ex. life rem."}, {"120.00", "56.98"}});
            out.push_back({t.lifeRemain, 2, {"delta ELR central"}, {"-99.99"}});
            out.push_back({t.lifeRemain, 3, {"delta ELR lower"}, {"-99.99"}});
            out.push_back({t.lifeRemain, 4, {"delta ELR upper"}, {"-99.99"}});
        }
        return out;
    }

    // The width the grid's own view needs to draw `text` in column `col` without cutting it, as it
    // sizes a column to its contents: the text goes into the first row below the captions, which is
    // in view with the captions, and the column gets its width back afterwards.
    static int widthToShow(platform::StringGrid* grid, int col, const QString& text) {
        const int row = grid->rowCountTotal() > grid->fixedRows() ? grid->fixedRows() : 0;
        const QString before = grid->cell(col, row);
        const int width = grid->columnWidth(col);
        grid->setCell(col, row, text);
        grid->resizeColumnToContents(col);
        const int needed = grid->columnWidth(col);
        grid->setColumnWidth(col, width);
        grid->setCell(col, row, before);
        return needed;
    }
};

TEST_F(LifeTableLayout, EveryCaptionLabelAndWidestValueShowsWhole) {
    for (const ColumnTexts& c : columns()) {
        showTab(pageOf(c.grid, ui().TabPageControl));
        const std::string where = c.grid->objectName().toStdString() + " column " + std::to_string(c.col);
        for (int i = 0; i < c.captions.size(); ++i) {
            const int row = c.col < c.grid->fixedCols() ? i : 0;
            ASSERT_EQ(c.grid->cell(c.col, row), c.captions[i]) << where;
            EXPECT_LE(widthToShow(c.grid, c.col, c.captions[i]), c.grid->columnWidth(c.col))
                << where << ": \"" << c.captions[i].toStdString() << "\"";
        }
        for (const QString& text : c.widest)
            EXPECT_LE(widthToShow(c.grid, c.col, text), c.grid->columnWidth(c.col))
                << where << ": \"" << text.toStdString() << "\"";
    }
}

TEST_F(LifeTableLayout, GridsShowAllTheirColumnsAndScrollOnlyWhereTheirRowsNeedIt) {
    const auto row = [this](int sex) {
        const auto t = screen()->resultTab(sex);
        return std::vector<platform::StringGrid*>{t.deltaYear0, t.deltaYear0_norm, t.zeroToTen, t.zeroToTen_norm,
                                                  t.dueToDeath, t.dueToDeath_norm};
    };
    std::vector<platform::StringGrid*> fixedHeight = {ui().TabRRStringGrid_betaRR};
    std::vector<platform::StringGrid*> scrolling = {ui().TabE_maleStringGrid, ui().TabE_femaleStringGrid,
                                                    ui().TabE_allStringGrid};
    for (int sex = 1; sex <= 3; ++sex) {
        for (platform::StringGrid* grid : row(sex)) fixedHeight.push_back(grid);
        scrolling.push_back(screen()->resultTab(sex).lifeRemain);
    }
    auto check = [this](platform::StringGrid* grid, bool rowsScroll) {
        QWidget* page = pageOf(grid, ui().TabPageControl);
        showTab(page);
        const std::string name = grid->objectName().toStdString();
        EXPECT_EQ(grid->horizontalScrollBar()->maximum(), 0) << name;
        EXPECT_EQ(grid->verticalScrollBar()->maximum() > 0, rowsScroll) << name;
        const QRect onPage(grid->mapTo(page, QPoint(0, 0)), grid->size());
        EXPECT_TRUE(page->rect().contains(onPage)) << name;
    };
    for (platform::StringGrid* grid : fixedHeight) check(grid, false);
    for (platform::StringGrid* grid : scrolling) check(grid, true);

    // The screen grew for its grids, and fits a display of 1280 x 1024.
    EXPECT_GT(screen()->width(), 592);
    EXPECT_EQ(screen()->height(), 559);
    EXPECT_LE(screen()->frameGeometry().width(), 1280);
    EXPECT_LE(screen()->frameGeometry().height(), 1024);
    EXPECT_EQ(ui().TabPageControl->geometry().right(), screen()->width() - 6);
}

TEST_F(LifeTableLayout, TheTabBarIsTheStylesWithEveryTabInView) {
    QTabBar* bar = ui().TabPageControl->tabBar();
    EXPECT_TRUE(qApp->styleSheet().isEmpty());
    for (QWidget* w = bar; w; w = w->parentWidget())
        EXPECT_FALSE(w->styleSheet().contains(QStringLiteral("QTabBar"))) << w->objectName().toStdString();
    // No style sheet rule reaches the tab bar: it is drawn by the program's style itself.
    EXPECT_EQ(bar->style(), QApplication::style());
    EXPECT_EQ(bar->count(), 8);
    EXPECT_LE(bar->tabRect(bar->count() - 1).right(), bar->width());
    for (QToolButton* scroll : bar->findChildren<QToolButton*>()) EXPECT_FALSE(scroll->isVisible());
}

TEST_F(LifeTableLayout, TheCalcFormulaReadsOnOneLineInsideItsGroup) {
    showTab(ui().TabRR);
    const QLabel* formula = ui().Label_33;
    ASSERT_EQ(formula->text(),
              QStringLiteral("h_reference = h_annualMean / RR; RR = exp( beta*(X_annualMean-X_reference) )  "
                             "for [X_low, X_high]"));
    EXPECT_LE(QFontMetrics(formula->font()).horizontalAdvance(formula->text()), formula->contentsRect().width());
    EXPECT_TRUE(ui().TabRRGroupBox_control->contentsRect().contains(formula->geometry()));
}

TEST_F(LifeTableLayout, TabGoesDownTheInfosTabAndItsPrintoutShowsTheLastRow) {
    auto& u = ui();
    typeInto(u.TabInfosEdit_country, QStringLiteral("Austria"));
    for (const char* text : {"Graz", "2003", "2005", "1500"}) {
        pressTab(screen());
        QTest::keyClicks(QApplication::focusWidget(), QString::fromLatin1(text));
    }
    pressTab(screen());
    EXPECT_EQ(lt().LTinfos.agglomeration.str(), "Graz");
    EXPECT_EQ(lt().LTinfos.YofMeasurement, 2003);
    EXPECT_EQ(lt().LTinfos.startYear, 2005);
    EXPECT_EQ(lt().LTinfos.exPop, 1500);
    EXPECT_EQ(QApplication::focusWidget(), u.TabInfosEdit_annualCapture);
    for (int step = 0; step < 26; ++step) pressTab(screen());
    EXPECT_EQ(QApplication::focusWidget(), u.TabInfosEdit_hi98percentile);

    // The last row ends below the view; the printout shows it whole all the same.
    QLineEdit* last = u.TabInfosEdit_hi98percentile;
    QTest::keyClicks(last, QStringLiteral("75"));
    u.TabInfosScrollBox_allEntries->verticalScrollBar()->setValue(0);
    const int viewBottom = u.TabInfosScrollBox_allEntries->viewport()->height();
    const QRect belowView(0, viewBottom - last->y(), last->width(), last->height() - (viewBottom - last->y()));
    ASSERT_GT(belowView.height(), 0);
    platform::testing::PrintedPages printed;
    printed.printOnce(QString::fromStdString(workDir + "infos.pdf"), [&] { u.MFilePrintactivetab->trigger(); });
    ASSERT_EQ(printed.count(), 1);
    EXPECT_TRUE(printed.showsInk(0, *screen(), *last, belowView));
}
