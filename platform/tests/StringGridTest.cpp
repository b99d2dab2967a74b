// The string grid: cells by (column, row), fixed cells, selection, top row, typing in a cell; the
// text-field rule on edits, boxes and grid cells.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "platform/StringGrid.h"
#include "platform/TextFieldRule.h"
#include "platform/testing/GuiTest.h"
#include "TestForms.h"

using namespace platform;
namespace pt = platform::testing;

namespace {

struct Grid {
    StringGrid grid;
    Grid() {
        grid.setColCount(6);
        grid.setRowCountTotal(121);
        grid.setFixedRows(1);
        grid.setFixedCols(0);
        grid.setDefaultRowHeight(14);
        grid.resize(505, 300);
    }
};

TEST(StringGrid, CellsAreAddressedColumnFirst) {
    Grid g;
    g.grid.setCell(2, 5, QStringLiteral("1000"));
    EXPECT_EQ(g.grid.cell(2, 5), "1000");
    EXPECT_EQ(g.grid.item(5, 2)->text(), "1000");
    EXPECT_EQ(g.grid.cell(5, 2), "");
    EXPECT_EQ(g.grid.cell(99, 99), "");
    g.grid.setCell(99, 99, QStringLiteral("ignored"));
    EXPECT_EQ(g.grid.colCount(), 6);
    EXPECT_EQ(g.grid.rowCountTotal(), 121);
}

TEST(StringGrid, FixedCellsCanBeNeitherSelectedNorEdited) {
    Grid g;
    g.grid.setEditable(true);
    EXPECT_FALSE(g.grid.item(0, 0)->flags() & Qt::ItemIsEditable);
    EXPECT_FALSE(g.grid.item(0, 3)->flags() & Qt::ItemIsSelectable);
    EXPECT_TRUE(g.grid.item(1, 0)->flags() & Qt::ItemIsEditable);
    g.grid.setEditable(false);
    EXPECT_FALSE(g.grid.item(1, 0)->flags() & Qt::ItemIsEditable);
    // Rows added later follow the grid's rules too.
    g.grid.setFixedCols(1);
    g.grid.setRowCountTotal(130);
    EXPECT_FALSE(g.grid.item(125, 0)->flags() & Qt::ItemIsSelectable);
    EXPECT_TRUE(g.grid.item(125, 1)->flags() & Qt::ItemIsSelectable);
    // The current cell never stays on a fixed cell.
    g.grid.setCurrentCell(0, 0);
    EXPECT_EQ(g.grid.currentRow(), 1);
    EXPECT_EQ(g.grid.currentCol(), 1);
}

TEST(StringGrid, SelectionRectangle) {
    Grid g;
    g.grid.setCurrentCell(3, 2);
    EXPECT_EQ(g.grid.selectionRect(), QRect(QPoint(2, 3), QPoint(2, 3)));
    g.grid.setSelectionRect(QRect(QPoint(1, 2), QPoint(3, 4)));
    const QRect r = g.grid.selectionRect();
    EXPECT_EQ(r.left(), 1);
    EXPECT_EQ(r.top(), 2);
    EXPECT_EQ(r.right(), 3);
    EXPECT_EQ(r.bottom(), 4);
    EXPECT_EQ(g.grid.currentCol(), 3);
    EXPECT_EQ(g.grid.currentRow(), 4);
}

TEST(StringGrid, TopRowCountsBelowTheFixedRows) {
    Grid g;
    g.grid.show();
    pt::processEvents();
    EXPECT_EQ(g.grid.topRow(), 1);
    g.grid.setTopRow(28);
    EXPECT_EQ(g.grid.topRow(), 28);
    // The fixed row stays over the scrolled rows.
    auto* fixedRows = g.grid.findChild<QTableView*>();
    ASSERT_NE(fixedRows, nullptr);
    EXPECT_TRUE(fixedRows->isVisible());
    EXPECT_EQ(fixedRows->geometry().top(), g.grid.viewport()->geometry().top());
    EXPECT_EQ(fixedRows->height(), 14);
    EXPECT_EQ(fixedRows->width(), g.grid.viewport()->width());
    // Moving up into the row hidden under the fixed row scrolls it into view.
    g.grid.setCurrentCell(28, 0);
    g.grid.setCurrentCell(27, 0);
    EXPECT_EQ(g.grid.topRow(), 27);
    g.grid.setTopRow(1);
    EXPECT_EQ(g.grid.topRow(), 1);
    // A row near the end comes to the top too, with blank space below the last row.
    g.grid.setTopRow(115);
    EXPECT_EQ(g.grid.topRow(), 115);
    EXPECT_EQ(g.grid.rowAt(14 * 5 + 1), 119);
    EXPECT_EQ(g.grid.rowAt(14 * 7 + 1), -1);
    // Scrolling up from there moves by one row.
    g.grid.verticalScrollBar()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    EXPECT_EQ(g.grid.topRow(), 114);
    g.grid.setTopRow(1);
    EXPECT_EQ(g.grid.topRow(), 1);
}

TEST(StringGrid, TypingInACellChangesItAtOnce) {
    QStringList log;
    LoggingForm form(QStringLiteral("LT"), &log);
    auto* grid = new StringGrid(&form);
    grid->setColCount(6);
    grid->setRowCountTotal(10);
    grid->setFixedRows(1);
    grid->setEditable(true);
    grid->resize(505, 200);
    QStringList typed;
    QObject::connect(grid, &StringGrid::editTextChanged, grid, [&](int col, int row, const QString& text) {
        typed.append(QStringLiteral("%1,%2:%3").arg(col).arg(row).arg(text));
        // A handler may reject what was typed.
        if (text.contains(QLatin1Char('x'))) grid->setCell(col, row, QString());
    });
    pt::activateForm(&form);
    grid->setFocus();
    grid->setCurrentCell(2, 1);
    grid->editItem(grid->item(2, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    QTest::keyClicks(editor, "12");
    EXPECT_EQ(grid->cell(1, 2), "12");
    // Announced once the editor has finished with the keys; a text typed over since is not.
    EXPECT_TRUE(typed.isEmpty());
    pt::processEvents();
    EXPECT_EQ(typed, (QStringList{"1,2:12"}));
    QTest::keyClicks(editor, "x");
    pt::processEvents();
    EXPECT_EQ(grid->cell(1, 2), "");
    EXPECT_EQ(editor->text(), "");
}

TEST(StringGrid, EditingACellDoesNotLeaveTheGrid) {
    QStringList log;
    LoggingForm form(QStringLiteral("LT"), &log);
    auto* layout = new QVBoxLayout(&form);
    auto* grid = new StringGrid(&form);
    auto* edit = new QLineEdit(&form);
    layout->addWidget(grid);
    layout->addWidget(edit);
    grid->setColCount(3);
    grid->setRowCountTotal(5);
    grid->setEditable(true);
    form.onLeave(grid, [&] { log.append("grid.leave"); });
    pt::activateForm(&form);
    form.focusControl(grid);
    grid->setCurrentCell(2, 1);
    grid->editItem(grid->item(2, 1));
    ASSERT_NE(QApplication::focusWidget(), grid);
    QTest::keyClicks(QApplication::focusWidget(), "7");
    EXPECT_TRUE(log.filter("leave").isEmpty());
    pt::clickOn(edit);
    EXPECT_EQ(log.filter("leave"), QStringList{"grid.leave"});
    EXPECT_EQ(grid->cell(1, 2), "7");
}

}  // namespace

// The text-field rule on an edit, a box whose edit is made anew and a grid cell: what typing and
// pasting leave in the field, what the program sets, and the beep of a refused key.
TEST(TextFieldRule, FieldsTakeOnlyWhatTheirFileHolds) {
    QStringList log;
    EditsForm form(QStringLiteral("F"), &log);
    auto* box = new QComboBox(&form);
    box->setEditable(true);
    form.layout()->addWidget(box);
    auto* grid = new StringGrid(&form);
    grid->setColCount(2);
    grid->setRowCountTotal(2);
    grid->setEditable(true);
    form.layout()->addWidget(grid);
    setTextFieldRule(form.e1, {QStringLiteral(";"), 8, QStringLiteral("EOF")});
    setTextFieldRule(box, {QStringLiteral("|"), 0, {}});
    grid->setCellTextRule({QStringLiteral("\t"), 0, {}});
    ASSERT_TRUE(pt::activateForm(&form));
    box->setEditable(false);  // as while printing
    box->setEditable(true);
    pt::processEvents();
    int changes = 0;
    QObject::connect(form.e1, &QLineEdit::textChanged, [&] { ++changes; });

    struct Case {
        QWidget* field;
        bool paste;
        QString text, shown;
        int beeps;
    };
    const QString lineBreaks = QString::fromUtf8("a\r\nb\rc\nd\u2028e\u2029f\tg\x01h");
    const Case cases[] = {
        {form.e1, false, QString::fromUtf8("a;b\u0141c"), "abc", 2},
        {form.e1, true, QString::fromUtf8("a;b\u0141c"), "abc", 0},
        {form.e1, true, QStringLiteral("123456789"), "12345678", 0},
        {form.e1, false, QStringLiteral("EOF"), "EO", 1},
        {form.e1, true, QStringLiteral("EOF"), "EO", 0},  // the paste is left out
        {form.e1, true, QStringLiteral("EOF;"), "EO", 0},
        {form.e1, false, QString::fromUtf8("Z\u00fcrich\u20ac"), QString::fromUtf8("Z\u00fcrich\u20ac"), 0},
        {form.e2, true, lineBreaks, "a b c d e f g h", 0},
        {form.e2, true, QString::fromUtf8("\u6771\u4eac;|\U0001F600"), ";|", 0},
        {box, false, QString::fromUtf8("a|b"), "ab", 1},
        {box, true, QString::fromUtf8("a|b\r\n"), "ab ", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const int beepsBefore = refusedKeyCount();
        if (c.paste)
            pt::pasteInto(c.field, c.text);
        else
            pt::typeInto(c.field, c.text);
        auto* combo = qobject_cast<QComboBox*>(c.field);
        EXPECT_EQ(combo ? combo->currentText() : static_cast<QLineEdit*>(c.field)->text(), c.shown);
        EXPECT_EQ(refusedKeyCount() - beepsBefore, c.beeps);
    }
    // The cursor stands after the pasted text, nothing selected, as after any paste.
    pt::pasteInto(form.e2, QStringLiteral("x\ny"));
    EXPECT_FALSE(form.e2->hasSelectedText()) << form.e2->selectedText().toStdString();
    EXPECT_EQ(form.e2->cursorPosition(), 3);
    // A key that the box passes to its edit is typed too.
    const int beepsBefore = refusedKeyCount();
    QTest::keyClicks(box, "c|");
    EXPECT_EQ(box->currentText(), "ab c");
    EXPECT_EQ(refusedKeyCount() - beepsBefore, 1);
    // A letter composed from several keys comes from the input method: it is typed too.
    for (const char* letter : {"\u017a", "\u00fc"}) {
        QInputMethodEvent composed;
        composed.setCommitString(QString::fromUtf8(letter));
        QApplication::sendEvent(form.e2, &composed);
    }
    EXPECT_EQ(form.e2->text(), QString::fromUtf8("x y\u00fc"));
    EXPECT_EQ(refusedKeyCount() - beepsBefore, 2);
    // A refused key changes nothing, so no change handler runs.
    form.e1->setText(QStringLiteral("ab"));
    changes = 0;
    QTest::keyClicks(form.e1, ";");
    EXPECT_EQ(changes, 0);
    // The program shows a text as it was read.
    form.e1->setText(QStringLiteral("EOF"));
    form.e2->setText(QString::fromUtf8("x;y\tz"));
    EXPECT_EQ(form.e1->text(), "EOF");
    EXPECT_EQ(form.e2->text(), QString::fromUtf8("x;y\tz"));
    // A grid cell: typed and pasted.
    grid->setCurrentCell(1, 1);
    grid->editItem(grid->item(1, 1));
    auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    ASSERT_NE(editor, nullptr);
    pt::pasteInto(editor, QStringLiteral("1\t2\r\n"));
    EXPECT_EQ(grid->cell(1, 1), "1 2 ");
    pt::typeKeys(editor, QString::fromUtf8("\u0141"));
    EXPECT_EQ(grid->cell(1, 1), "1 2 ");
}
