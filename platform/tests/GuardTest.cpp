// The default error handler: errors of a handler are shown and the program goes on; an exit
// request ends the event loop, or passes on when none runs.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPushButton>
#include <QTimer>
#include <stdexcept>
#include <string>

#include "platform/Guard.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "runtime/CodePage.h"
#include "runtime/Errors.h"

using namespace platform;
using platform::testing::DialogScript;
namespace pt = platform::testing;

namespace {

TEST(Guard, ErrorIsShownWithItsMessageAndTheCallerGoesOn) {
    DialogScript::answer(Button::Ok);
    DialogScript::answer(Button::Ok);
    bool after = false;
    runGuarded([] { throw runtime::InOutError(runtime::kFileNotFound, "File not found"); });
    // Messages are program text in Windows-1252.
    runGuarded([] { throw runtime::ConvertError(std::string("'5\xB5' is not a valid integer value")); });
    // The messages of the file layer name files as the file system does, in UTF-8.
    DialogScript::answer(Button::Ok);
    runGuarded([] {
        throw runtime::InOutError(runtime::kAccessDenied,
                                  "/home/j\xC3\xBCrgen/town.tab is being saved by another program");
    });
    DialogScript::answer(Button::Ok);
    runGuarded([] { throw runtime::UnheldCharacterError("/data/\xC5\x81\xC3\xB3" "d\xC5\xBA.txt", 3, false); });
    after = true;
    EXPECT_TRUE(after);
    ASSERT_EQ(DialogScript::boxes().size(), 4u);
    EXPECT_EQ(DialogScript::boxes()[2].text,
              QString::fromUtf8("/home/j\u00FCrgen/town.tab is being saved by another program"));
    EXPECT_EQ(DialogScript::boxes()[3].text,
              QString::fromUtf8("Line 3 of \"\u0141\u00F3d\u017A.txt\" holds a character that code page 1252 cannot hold."));
    EXPECT_EQ(DialogScript::boxes()[0].text, "File not found");
    EXPECT_EQ(DialogScript::boxes()[0].kind, BoxKind::Plain);
    EXPECT_EQ(DialogScript::boxes()[1].text, QString::fromUtf8("'5\u00B5' is not a valid integer value"));
}

TEST(Guard, GuardedWrapperServesConnect) {
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, &button, guarded([] { throw std::runtime_error("Disk full"); }));
    DialogScript::answer(Button::Ok);
    button.click();
    EXPECT_EQ(pt::lastBoxText(), "Disk full");
}

TEST(Guard, ExitWithoutEventLoopPassesOn) {
    try {
        runGuarded([] { throw runtime::ExitProgram(2); });
        ADD_FAILURE() << "ExitProgram did not pass on";
    } catch (const runtime::ExitProgram& exit) {
        EXPECT_EQ(exit.code(), 2);
    }
    EXPECT_EQ(requestedExitCode(), 2);
    EXPECT_TRUE(DialogScript::boxes().empty());
}

TEST(Guard, ExitInsideTheEventLoopEndsItWithTheCode) {
    bool after = false;
    QTimer::singleShot(0, [&] {
        runGuarded([] { throw runtime::ExitProgram(3); });
        after = true;
    });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 3);
    EXPECT_TRUE(after);
    EXPECT_EQ(requestedExitCode(), 3);
}

}  // namespace
