#pragma once
// What a user cannot read in an open file dialog: the columns of its file list (name, size, type,
// date modified) whose title or entries are cut or lie outside the visible list; and the settings
// that an earlier dialog may have left against it.
#include <QAbstractItemModel>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QSettings>
#include <QStringList>
#include <QStyle>
#include <QTest>
#include <QTreeView>

// Leaves in the test program's own Qt settings what a user's earlier dialogs may have left: the
// list view, and no column widths, so that a dialog shows whatever it sets up itself.
inline void plantListViewWithoutColumnWidths() {
    QSettings settings(QSettings::UserScope, QStringLiteral("QtProject"));
    settings.beginGroup(QStringLiteral("FileDialog"));
    settings.setValue(QStringLiteral("viewMode"), QStringLiteral("List"));
    settings.remove(QStringLiteral("treeViewHeader"));
}

// Waits until the dialog lists the files of its folder, then names every column that cannot be
// read whole; an empty list when all four can.
inline QStringList unreadableFileColumns(QFileDialog* dialog) {
    auto* view = dialog->findChild<QTreeView*>(QStringLiteral("treeView"));
    if (!view || !view->isVisible()) return {QStringLiteral("the detailed file list is not shown")};
    QAbstractItemModel* model = view->model();
    (void)QTest::qWaitFor([&] { return model->rowCount(view->rootIndex()) > 0; }, 2000);
    QTest::qWait(100);  // sizes and dates arrive after the names
    QHeaderView* header = view->header();
    const int visibleWidth = view->viewport()->width();
    QStringList cut;
    for (int column = 0; column < 4; ++column) {
        const QString title = model->headerData(column, Qt::Horizontal).toString();
        const int left = header->sectionViewportPosition(column);
        const int width = header->sectionSize(column);
        if (header->isSectionHidden(column) || left < 0 || left + width > visibleWidth) {
            cut.append(QStringLiteral("%1: outside the list (%2 + %3 > %4)").arg(title).arg(left).arg(width).arg(visibleWidth));
            continue;
        }
        // The title with room for the sort arrow; each entry with the room of its icon and margins.
        if (QFontMetrics(header->font()).horizontalAdvance(title) + 24 > width)
            cut.append(QStringLiteral("%1: title cut at %2 pixels").arg(title).arg(width));
        const QFontMetrics metrics(view->font());
        for (int row = 0; row < model->rowCount(view->rootIndex()); ++row) {
            const QString text = model->index(row, column, view->rootIndex()).data().toString();
            const int needed = metrics.horizontalAdvance(text) + (column == 0 ? view->style()->pixelMetric(QStyle::PM_SmallIconSize) + 16 : 12);
            if (needed > width) {
                cut.append(QStringLiteral("%1: \"%2\" cut at %3 pixels").arg(title, text).arg(width));
                break;
            }
        }
    }
    return cut;
}
