#pragma once
// The application's identity: its name and the title of its message boxes. A window's title is
// its screen's caption alone; the window system adds nothing to it. A write past a file-size
// limit fails with an error instead of ending the program. Numbers are shown and read with the
// user's decimal separator, while the C library stays in the "C" locale for numbers; the files'
// texts are in the code page of the user's language.
#include <QString>

namespace platform {

// Names the application `title` and gives message boxes that title; ignores the signal of the
// file-size limit (SIGXFSZ); takes the user's number format and code page. Call once, after the QApplication exists and before the first window
// is shown.
void setUpApplication(const QString& title);

// Takes the decimal separator of the user's locale for the number texts (runtime/NumberText.h) and
// sets the C library's LC_NUMERIC back to "C", which constructing the QApplication changed to the
// user's locale. Part of setUpApplication; the GUI tests call it alone.
void adoptUsersNumberFormat();

}  // namespace platform
