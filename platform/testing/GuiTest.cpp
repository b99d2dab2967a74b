#include "platform/testing/GuiTest.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMetaObject>
#include <QTest>
#include <QWidget>
#include <algorithm>

#include "platform/Clipboard.h"
#include "platform/Form.h"
#include "runtime/NumberText.h"

namespace platform::testing {

bool activateForm(Form* form) {
    form->showForm();
    const bool active = QTest::qWaitForWindowActive(form, 1000);
    processEvents();
    return active;
}

void clickOn(QWidget* widget) {
    QTest::mouseClick(widget, Qt::LeftButton, Qt::NoModifier, widget->rect().center());
    processEvents();
}

void pressButton(QAbstractButton* button) { clickOn(button); }

void typeKeys(QWidget* target, const QString& text) {
    for (qsizetype i = 0; i < text.size(); ++i) {
        const qsizetype length = text[i].isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
        const QChar c = text[i];
        if (c.unicode() >= 0x20 && c.unicode() < 0x7f)
            QTest::keyClick(target, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, text.mid(i, length), Qt::NoModifier);
        i += length - 1;
    }
}

void typeInto(QWidget* edit, const QString& text) {
    QWidget* target = edit;
    if (auto* combo = qobject_cast<QComboBox*>(edit); combo && combo->lineEdit()) target = combo->lineEdit();
    clickOn(edit);
    if (target->metaObject()->indexOfMethod("selectAll()") >= 0) QMetaObject::invokeMethod(target, "selectAll");
    if (text.isEmpty())
        QTest::keyClick(target, Qt::Key_Delete);
    else
        typeKeys(target, text);
    processEvents();
}

void pasteInto(QWidget* edit, const QString& text) {
    QWidget* target = edit;
    if (auto* combo = qobject_cast<QComboBox*>(edit); combo && combo->lineEdit()) target = combo->lineEdit();
    clickOn(edit);
    if (target->metaObject()->indexOfMethod("selectAll()") >= 0) QMetaObject::invokeMethod(target, "selectAll");
    setClipboardText(text);
    QTest::keyClick(target, Qt::Key_V, Qt::ControlModifier);
    processEvents();
}

void pressTab(Form* form, bool backwards) {
    QWidget* focused = form->focusWidget();
    QTest::keyClick(focused ? focused : form, backwards ? Qt::Key_Backtab : Qt::Key_Tab,
                    backwards ? Qt::ShiftModifier : Qt::NoModifier);
    processEvents();
}

void leaveField(Form* form, QWidget* next) {
    if (next)
        clickOn(next);
    else
        pressTab(form);
}

void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers) {
    QTest::keyClick(widget, key, modifiers);
    processEvents();
}

void chooseComboItem(QComboBox* combo, int index) {
    combo->setCurrentIndex(index);
    emit combo->activated(index);
    emit combo->textActivated(combo->itemText(index));
    processEvents();
}

std::size_t boxCount() { return DialogScript::boxes().size(); }

QString lastBoxText() {
    const auto& boxes = DialogScript::boxes();
    return boxes.empty() ? QString() : boxes.back().text;
}

void processEvents() {
    QApplication::processEvents();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

QString withUsersSeparator(QString text) { return text.replace(u'.', QChar(runtime::decimalSeparator())); }

std::string withUsersSeparator(std::string text) {
    std::replace(text.begin(), text.end(), '.', runtime::decimalSeparator());
    return text;
}

}  // namespace platform::testing
