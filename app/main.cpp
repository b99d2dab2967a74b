// The program body: initialise the application, create the screens in their fixed order, load the
// first record and run the event loop until the main screen is closed.
#include <QApplication>
#include <QLocale>

#include "assessment/Program.h"
#include "platform/Application.h"
#include "runtime/CodePage.h"
#include "runtime/Errors.h"
#include "runtime/NumberText.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::setUpApplication(QStringLiteral("Zelk"));
    runtime::setCodePageOfProcessLocale();  // the texts of every file, from the user's locale
    const QString separator = QLocale::system().decimalPoint();
    if (separator.size() == 1 && separator.at(0).unicode() < 128)
        runtime::setDecimalSeparator(static_cast<char>(separator.at(0).unicode()));
    try {
        Program program(Program::Options{});
        return program.run();
    } catch (const runtime::ExitProgram& exit) {
        return exit.code();
    }
}
