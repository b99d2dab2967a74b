#pragma once
// A text field holds only what the file behind it can store. One rule serves every one-line edit,
// editable box and grid cell of the screens:
// - a line break (CR, LF, CR LF as one, U+2028, U+2029), a TAB or another control character that
//   the user types or pastes becomes a blank, as the edit shows it;
// - a character that the field's file cannot hold (outside the code page, or one of the file's own
//   separators in this field) does not enter: a typed one is refused with the system's beep, a
//   pasted one is left out of the pasted text;
// - the field takes no more characters than its file keeps, and never becomes a whole text that
//   would read as a mark of its file, nor one that begins as the UTF-8 byte-order mark in the code
//   page (typed: refused with the beep; pasted: the paste is left out).
// A text that the program sets (one read from a file) is shown as it was read. No box is shown.
#include <QString>

class QComboBox;
class QLineEdit;
class QWidget;

namespace platform {

// What a field's file cannot take.
struct TextFieldRule {
    QString separators;   // the file's own separators in this field
    int maxLength = 0;    // the most characters the file keeps of the field; 0: none of its own
    QString refusedText;  // a whole text that would read as a mark of the file; empty: none
};

// The rule of one field. A box keeps its rule when its edit is made anew (a box that stops being
// editable and becomes editable again).
void setTextFieldRule(QLineEdit* edit, const TextFieldRule& rule);
void setTextFieldRule(QComboBox* box, const TextFieldRule& rule);

// Every one-line edit and box of `screen` that has no rule of its own takes the plain rule (no
// separators, no length of its own). A screen does this when it is first shown; the string grid's
// cells have the rule of their grid.
void keepFieldsStorable(QWidget* screen);

// The keys refused with the beep since the program started (the tests read it).
int refusedKeyCount();

}  // namespace platform
