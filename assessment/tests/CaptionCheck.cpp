#include "assessment/tests/CaptionCheck.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QLabel>
#include <QRadioButton>
#include <QScrollArea>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTableWidgetItem>
#include <QWidget>

#include <vector>

#include "platform/StringGrid.h"

namespace captions {

namespace {

// Panels and scroll boxes only hold other controls.
bool isContainer(const QWidget* w) {
    const QByteArray name = w->metaObject()->className();
    return name == "QWidget" || name == "QFrame" || name == "QScrollArea";
}

// The controls of the screen: widgets that lie in panels only (the parts of a list box or a grid
// belong to it and are not controls of their own).
std::vector<QWidget*> controlsOf(QWidget* screen) {
    std::vector<QWidget*> controls;
    for (QWidget* w : screen->findChildren<QWidget*>()) {
        if (w->isWindow()) continue;
        bool inPanels = true;
        for (QWidget* a = w->parentWidget(); a && a != screen; a = a->parentWidget()) inPanels = inPanels && isContainer(a);
        if (inPanels && !isContainer(w)) controls.push_back(w);
    }
    return controls;
}

// What scrolls together: the content of the scroll box the widget lies in, else the screen.
QWidget* scrollContext(QWidget* w, QWidget* screen) {
    for (QWidget* a = w->parentWidget(); a && a != screen; a = a->parentWidget()) {
        const QWidget* viewport = a->parentWidget();
        if (viewport && qobject_cast<QScrollArea*>(viewport->parentWidget()) &&
            static_cast<QScrollArea*>(viewport->parentWidget())->widget() == a)
            return a;
    }
    return screen;
}

// A caption as the user sees it: "&Print" reads "Print".
QString shown(QString caption) {
    caption.replace(QLatin1String("&&"), QLatin1String("\x01"));
    caption.remove(QLatin1Char('&'));
    return caption.replace(QLatin1Char('\x01'), QLatin1Char('&'));
}

// Where a one-line text lands when it is aligned in `room`: its advance across, its ink down.
QRect placed(const QFontMetrics& fm, const QRect& room, Qt::Alignment align, const QString& text) {
    const QRect line = fm.boundingRect(room, static_cast<int>(align), text);
    const QRect ink = fm.tightBoundingRect(text);
    const int baseline = line.top() + fm.ascent();
    return QRect(line.left(), baseline + ink.top(), fm.horizontalAdvance(text), ink.height());
}

struct Caption {
    QWidget* control = nullptr;
    QString text;
    QRect text_rect;  // in the control's coordinates
    QRect room;       // where the text must stay
};

bool captionOf(QWidget* w, Caption& c) {
    c.control = w;
    if (auto* label = qobject_cast<QLabel*>(w)) {
        c.text = label->buddy() ? shown(label->text()) : label->text();
        if (c.text.isEmpty()) return false;
        const QFontMetrics fm(label->font());
        QRect room = label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
        if (label->wordWrap()) {
            c.text_rect = fm.boundingRect(room, static_cast<int>(label->alignment()) | Qt::TextWordWrap, c.text);
        } else {
            c.text_rect = placed(fm, room, label->alignment(), c.text);
        }
        c.room = label->rect();
        return true;
    }
    auto* button = qobject_cast<QAbstractButton*>(w);
    if (!button || button->text().isEmpty()) return false;
    c.text = shown(button->text());
    QStyleOptionButton opt;
    opt.initFrom(button);
    opt.text = button->text();
    opt.icon = button->icon();
    opt.iconSize = button->iconSize();
    QStyle::SubElement contents = QStyle::SE_PushButtonContents;
    Qt::Alignment align = Qt::AlignCenter;
    if (qobject_cast<QCheckBox*>(button)) {
        contents = QStyle::SE_CheckBoxContents;
        align = Qt::AlignLeft | Qt::AlignVCenter;
    } else if (qobject_cast<QRadioButton*>(button)) {
        contents = QStyle::SE_RadioButtonContents;
        align = Qt::AlignLeft | Qt::AlignVCenter;
    }
    QRect room = button->style()->subElementRect(contents, &opt, button);
    // A push button's text keeps clear of its bevel.
    if (contents == QStyle::SE_PushButtonContents) {
        const int bevel = button->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &opt, button) + 2;
        room = QRect(bevel, 0, button->width() - 2 * bevel, button->height());
    }
    if (!button->icon().isNull()) room.setLeft(room.left() + button->iconSize().width() + 4);
    c.text_rect = placed(QFontMetrics(button->font()), room, align, c.text);
    c.room = QRect(room.left(), 0, room.width(), button->height());
    return true;
}

QString describe(const QWidget* w, const QString& text) {
    return w->objectName() + QLatin1String(" \"") + text + QLatin1String("\": ");
}

QString size(const QRect& r) { return QStringLiteral("%1x%2").arg(r.width()).arg(r.height()); }

// Items of a list box must fit the box's text field.
void checkItems(QComboBox* box, QStringList& cut) {
    QStyleOptionComboBox opt;
    opt.initFrom(box);
    opt.editable = box->isEditable();
    opt.frame = box->hasFrame();
    opt.subControls = QStyle::SC_All;
    const QRect field = box->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, box);
    const int room = field.width() - 4;  // the text field keeps a margin on each side
    const QFontMetrics fm(box->font());
    for (int i = 0; i < box->count(); ++i) {
        const int needed = fm.horizontalAdvance(box->itemText(i));
        if (needed > room)
            cut << describe(box, box->itemText(i)) + QStringLiteral("needs %1 px, the box shows %2").arg(needed).arg(room);
    }
}

// Cells of a grid must fit their column and row.
void checkCells(platform::StringGrid* grid, QStringList& cut) {
    const int margin = 2 * (grid->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, grid) + 1);
    for (int row = 0; row < grid->rowCount(); ++row) {
        for (int col = 0; col < grid->columnCount(); ++col) {
            const QTableWidgetItem* item = grid->item(row, col);
            if (!item || item->text().isEmpty() || grid->isColumnHidden(col)) continue;
            const QVariant font = item->data(Qt::FontRole);
            const QFontMetrics fm(font.isValid() ? font.value<QFont>() : grid->font());
            const int wide = fm.horizontalAdvance(item->text()) + margin;
            const int high = fm.tightBoundingRect(item->text()).height();
            if (wide > grid->columnWidth(col) || high > grid->rowHeight(row))
                cut << describe(grid, item->text()) +
                           QStringLiteral("needs %1x%2 in cell (%3, %4) of %5x%6")
                               .arg(wide).arg(high).arg(col).arg(row).arg(grid->columnWidth(col)).arg(grid->rowHeight(row));
        }
    }
}

}  // namespace

QStringList cutCaptions(QWidget* screen) {
    QStringList cut;
    const std::vector<QWidget*> controls = controlsOf(screen);
    std::vector<Caption> captions;
    for (QWidget* w : controls) {
        // A control placed outside its panel on purpose is never seen.
        if (!w->geometry().intersects(w->parentWidget()->rect())) continue;
        if (w->isVisibleTo(screen)) {
            if (auto* box = qobject_cast<QComboBox*>(w)) checkItems(box, cut);
            if (auto* grid = qobject_cast<platform::StringGrid*>(w)) checkCells(grid, cut);
        }
        Caption c;
        if (!captionOf(w, c)) continue;
        if (!c.room.contains(c.text_rect)) {
            cut << describe(w, c.text) + QStringLiteral("needs %1, has %2").arg(size(c.text_rect), size(c.room));
            continue;
        }
        // The panels it lies in must hold it.
        QWidget* context = scrollContext(w, screen);
        for (QWidget* a = w->parentWidget(); a; a = a->parentWidget()) {
            const QRect there = c.text_rect.translated(w->mapTo(a, QPoint(0, 0)));
            if (!a->rect().contains(there)) {
                cut << describe(w, c.text) + QStringLiteral("reaches outside %1").arg(a->objectName());
                break;
            }
            if (a == context) break;
        }
        if (w->isVisibleTo(screen)) captions.push_back(c);
    }
    // No other control may lie over a shown caption; a label covers only its own text.
    for (const Caption& c : captions) {
        QWidget* context = scrollContext(c.control, screen);
        const QRect text = c.text_rect.translated(c.control->mapTo(context, QPoint(0, 0)));
        for (QWidget* other : controls) {
            if (other == c.control || !other->isVisibleTo(screen) || scrollContext(other, screen) != context) continue;
            if (other->isAncestorOf(c.control) || c.control->isAncestorOf(other)) continue;
            QRect area = other->rect().translated(other->mapTo(context, QPoint(0, 0)));
            if (qobject_cast<QLabel*>(other)) {
                Caption o;
                if (!captionOf(other, o)) continue;
                area = o.text_rect.translated(other->mapTo(context, QPoint(0, 0)));
            }
            if (area.intersects(text)) cut << describe(c.control, c.text) + QStringLiteral("covered by %1").arg(other->objectName());
        }
    }
    return cut;
}

}  // namespace captions
