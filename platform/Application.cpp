#include "platform/Application.h"

#include <QApplication>
#include <QLocale>

#include <clocale>
#include <csignal>

#include "platform/Dialogs.h"
#include "runtime/CodePage.h"
#include "runtime/NumberText.h"

namespace platform {

void setUpApplication(const QString& title) {
    QApplication::setApplicationName(title);
    // No display name: on X11 Qt appends it to every window title ("Location — Zelk"), while each
    // screen's title must be its caption alone. Message boxes take the title from here instead.
    setApplicationTitle(title);
    // Under a file-size limit a write past it fails with an error, which the file layer reports
    // after putting the file back, instead of ending the program in the middle of the write.
    std::signal(SIGXFSZ, SIG_IGN);
    adoptUsersNumberFormat();
    runtime::setCodePageOfProcessLocale();  // the texts of every file, from the user's locale
}

void adoptUsersNumberFormat() {
    // Qt reads the separator from the environment (LC_ALL, LC_NUMERIC, LANG), whether or not the
    // C library has that locale installed. A separator outside ASCII has no byte in the files.
    const QString separator = QLocale::system().decimalPoint();
    runtime::setDecimalSeparator(separator.size() == 1 && separator.at(0).unicode() < 128
                                     ? static_cast<char>(separator.at(0).unicode())
                                     : '.');
    // Every conversion of the program is independent of it; this keeps libraries from being
    // surprised by "," in their own number texts.
    std::setlocale(LC_NUMERIC, "C");
}

}  // namespace platform
