#include "assessment/Program.h"

#include <QApplication>

#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/Unit8.h"
#include "assessment/core/ParameterFile.h"
#include "lifetables/Unit_LifeTables.h"
#include "lifetables/core/LTState.h"
#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Guard.h"
#include "platform/Help.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"

namespace {
Program* gProgram = nullptr;
}

Program& program() { return *gProgram; }

void exitForReinstall() {
    platform::showMessage(QString::fromLatin1(assessment::kReinstallMessage));
    throw runtime::ExitProgram(2);
}

Program::Program(const Options& options)
    : options_(options), lt_(std::make_unique<lifetables::LTState>()) {
    if (options_.programFolder.empty()) options_.programFolder = runtime::executableFolder();
    options_.programFolder = runtime::withTrailingSlash(options_.programFolder);
    if (options_.workDir.empty()) options_.workDir = runtime::currentDirectory();
    gProgram = this;
    try {
        // Context help asked for before any help command opens the life-table help of the
        // program folder.
        platform::setApplicationHelpFile(QString::fromStdString(options_.programFolder + "zozezu.hlp"));
        Form1 = new TForm1();
        platform::setMainForm(Form1);
        PagesDlgLT = new TPagesDlgLT();
        Form2 = new TForm2();
        Form3 = new TForm3();
        Form4 = new TForm4();
        Form5 = new TForm5();
        Form6 = new TForm6();
        Form7 = new TForm7();
        AboutBox = new TAboutBox();
        // The first record of the data file goes into the location and air-quality screens.
        // A data file that could not be created was reported by the main screen's creation; any
        // other error while loading is shown like a handler's error, and the program goes on.
        if (runtime::fileExists(aq.data_file)) platform::runGuarded([this] { Form3->show_record(1); });
    } catch (...) {
        destroyScreens();
        gProgram = nullptr;
        throw;
    }
}

Program::~Program() {
    destroyScreens();
    if (gProgram == this) gProgram = nullptr;
}

void Program::destroyScreens() {
    delete AboutBox;
    delete Form7;
    delete Form6;
    delete Form5;
    delete Form4;
    delete Form3;
    delete Form2;
    delete PagesDlgLT;
    platform::setMainForm(nullptr);
    delete Form1;
    AboutBox = nullptr;
    Form7 = nullptr;
    Form6 = nullptr;
    Form5 = nullptr;
    Form4 = nullptr;
    Form3 = nullptr;
    Form2 = nullptr;
    PagesDlgLT = nullptr;
    Form1 = nullptr;
}

int Program::run() {
    Form1->showForm();
    return QApplication::exec();
}
