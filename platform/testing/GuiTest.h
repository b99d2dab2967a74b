#pragma once
// Helpers for GUI tests: drive a screen the way a user does and answer its boxes.
// The test main (zelk_gui_test_main) runs every test offscreen with the dialog script active;
// a message box without a queued answer fails the test, and so does an answer that no box used.
#include <QString>
#include <Qt>
#include <cstddef>
#include <string>

#include "platform/Dialogs.h"
#include "platform/testing/DialogScript.h"

class QAbstractButton;
class QComboBox;
class QWidget;

namespace platform {
class Form;
}

namespace platform::testing {

// Shows the screen as the program does (showForm) and waits until the window is active.
// Returns false when the window system did not activate it within a second.
bool activateForm(Form* form);

// A mouse click in the middle of `widget`: the focus moves there first (the leave handler of the
// control that had it runs), then the click arrives, unless that handler moved the focus or
// showed a box.
void clickOn(QWidget* widget);

// Clicks a button with the mouse (see clickOn).
void pressButton(QAbstractButton* button);

// Clicks into the edit (line edit, editable combo box, text edit), selects its whole text and
// types `text` over it, key by key (the change handlers run as for a user).
void typeInto(QWidget* edit, const QString& text);

// Types `text` into `widget` key by key, at its cursor; a character that no key of the test
// keyboard has (a letter outside ASCII, a control character) arrives as the text of its key press.
void typeKeys(QWidget* widget, const QString& text);

// Clicks into the edit (line edit, editable combo box), selects its whole text and pastes `text`
// over it with Ctrl+V from the clipboard.
void pasteInto(QWidget* edit, const QString& text);

// Presses Tab (Shift+Tab when `backwards`) in the widget that has the focus on the screen: the
// focus moves to the next control and the leave handler of the one left runs.
void pressTab(Form* form, bool backwards = false);

// Leaves the control that has the focus by clicking `next`, or by Tab when `next` is null.
void leaveField(Form* form, QWidget* next = nullptr);

// A key press and release in `widget`.
void pressKey(QWidget* widget, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier);

// Picks item `index` of a combo box as a user does (the activated signal fires).
void chooseComboItem(QComboBox* combo, int index);

// Queues the answer of the next message box / file dialog (shorthands for DialogScript).
inline void answerNextBox(Button button) { DialogScript::answer(button); }
inline void answerNextFile(const QString& path) { DialogScript::answerFile(path); }
inline void cancelNextFile() { DialogScript::cancelFile(); }

// What was shown: the number of boxes, and the text of the last one ("" when none).
std::size_t boxCount();
QString lastBoxText();

// Lets queued events run (window activation, deferred deletes, timers due).
void processEvents();

// `text` with each "." written as the user's decimal separator, as the screens and the life-table
// files show numbers: a test's literal "7.5" is "7,5" under a German locale.
QString withUsersSeparator(QString text);
std::string withUsersSeparator(std::string text);

}  // namespace platform::testing

// Readable Qt texts in test failure messages.
#include <QStringList>
#include <ostream>

inline void PrintTo(const QString& text, std::ostream* os) { *os << '"' << text.toStdString() << '"'; }
inline void PrintTo(const QStringList& texts, std::ostream* os) {
    *os << '{';
    for (qsizetype i = 0; i < texts.size(); ++i) *os << (i ? ", \"" : "\"") << texts[i].toStdString() << '"';
    *os << '}';
}
