#pragma once
// The program: owns the program-wide state of both subsystems and the nine screens, created in
// their fixed order. A test builds a fresh Program with its own program folder and working
// directory; the program body builds one from the executable's folder and the current directory.
#include <memory>
#include <string>

#include "assessment/core/AssessmentState.h"

namespace lifetables { struct LTState; }

class TForm1;
class TPagesDlgLT;
class TForm2;
class TForm3;
class TForm4;
class TForm5;
class TForm6;
class TForm7;
class TAboutBox;

class Program {
public:
    struct Options {
        std::string programFolder;  // ends in "/"; empty: the folder of the running executable
        std::string workDir;        // empty: the current directory of the process
    };

    // Runs the program body up to the event loop: creates the screens in their fixed order
    // (their creation handlers run at once) and loads the first record. Throws
    // runtime::ExitProgram(2) when the default parameter file is missing.
    explicit Program(const Options& options);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Shows the main screen and runs the event loop until it is closed; the exit code.
    int run();

    const Options& options() const { return options_; }

    assessment::AssessmentState aq;   // the health impact assessment's program-wide state
    lifetables::LTState& lt() { return *lt_; }  // the life-table state, allocated once

    // The screens, in creation order. Owned by the program, never destroyed before it ends.
    TForm1* Form1 = nullptr;
    TPagesDlgLT* PagesDlgLT = nullptr;
    TForm2* Form2 = nullptr;
    TForm3* Form3 = nullptr;
    TForm4* Form4 = nullptr;
    TForm5* Form5 = nullptr;
    TForm6* Form6 = nullptr;
    TForm7* Form7 = nullptr;
    TAboutBox* AboutBox = nullptr;

private:
    void destroyScreens();
    Options options_;
    std::unique_ptr<lifetables::LTState> lt_;
};

// The running program (the one most recently built and not yet destroyed).
Program& program();

// Without the default parameter file nothing can be assessed: tells the user to reinstall and
// ends the program with exit code 2 (throws runtime::ExitProgram(2)).
[[noreturn]] void exitForReinstall();
