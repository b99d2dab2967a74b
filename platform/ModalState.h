#pragma once
// Counts the modal boxes and dialogs shown (real or scripted), so that a leave handler that showed
// one can be told apart, and finds the window that owns a new modal box.
class QWidget;

namespace platform::detail {

unsigned modalSerial();
void noteModalShown();
// The window a modal box belongs to: the program's active form, else Qt's active window.
QWidget* modalOwner();

}  // namespace platform::detail
