#pragma once
// A fresh program for the main-screen and supplier-screen tests, with short ways to their controls.
#include <QString>

#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"

// The test support every test of these two screens uses.
using platform::Button;
using namespace platform::testing;

class MainScreens : public ProgramFixture {
protected:
    // Starts the program. The life-table screen's note about its own parameter-set file is no
    // concern of these tests.
    Program& startUp() {
        tolerateLifeTableNote();
        Program& p = start();
        DialogScript::clearShown();
        f1 = p.Form1;
        f2 = p.Form2;
        return p;
    }
    static std::string tenLines(const std::vector<std::string>& first) {
        std::string bytes;
        for (std::size_t i = 0; i < 10; ++i) bytes += (i < first.size() ? first[i] : std::string()) + "\r\n";
        return bytes;
    }

    TForm1* f1 = nullptr;
    TForm2* f2 = nullptr;
};
