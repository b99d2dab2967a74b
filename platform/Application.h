#pragma once
// The application's identity: its name and the title of its message boxes. A window's title is
// its screen's caption alone; the window system adds nothing to it. A write past a file-size
// limit fails with an error instead of ending the program.
#include <QString>

namespace platform {

// Names the application `title` and gives message boxes that title; ignores the signal of the
// file-size limit (SIGXFSZ). Call once, after the QApplication exists and before the first window
// is shown.
void setUpApplication(const QString& title);

}  // namespace platform
