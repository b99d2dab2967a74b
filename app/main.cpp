// The program body: initialise the application, create the screens in their fixed order, load the
// first record and run the event loop until the main screen is closed.
#include <QApplication>

#include "assessment/Program.h"
#include "platform/Application.h"
#include "runtime/Errors.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    platform::setUpApplication(QStringLiteral("Zelk"));  // also the user's decimal separator and code page
    try {
        Program program(Program::Options{});
        return program.run();
    } catch (const runtime::ExitProgram& exit) {
        return exit.code();
    }
}
