// The main() of every GUI test: a QApplication (offscreen unless QT_QPA_PLATFORM says otherwise)
// in a home folder of its own, the dialog script active before each test, and a failure for every
// box nobody answered and for every queued answer that no box used.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include <QApplication>
#include <QByteArray>

#include "platform/Application.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/testing/DialogScript.h"
#include "runtime/testing/ScratchFolder.h"

namespace {

void failUnexpected(const QString& what) { ADD_FAILURE() << what.toStdString(); }

class ScriptPerTest : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override {
        platform::testing::DialogScript::activate(failUnexpected);
        platform::clearRequestedExitCode();
    }
    // An answer queued for a box that never came means the box the test expected was not shown:
    // the test fails. (The result printer reports after this listener, so it shows the failure.)
    void OnTestEnd(const ::testing::TestInfo& test) override {
        using platform::testing::DialogScript;
        if (DialogScript::active() && DialogScript::pendingAnswers() != 0)
            ADD_FAILURE() << test.test_suite_name() << '.' << test.name() << " left " << DialogScript::pendingAnswers()
                          << " queued answer(s) unused: a box or dialog it expected was not shown";
    }
};

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
    // What Qt and the libraries under it keep per user (settings, among them the file dialog's view
    // and column widths; font configuration; caches) stays within this run: no test reads or writes
    // the home of whoever runs it. Only the X server's key is still taken from there.
    const runtime::testing::ScratchFolder home;
    if (const char* realHome = std::getenv("HOME"); realHome && !std::getenv("XAUTHORITY"))
        ::setenv("XAUTHORITY", (std::string(realHome) + "/.Xauthority").c_str(), 1);
    ::setenv("HOME", home.dir().c_str(), 1);
    for (const char* name : {"XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME", "XDG_STATE_HOME"}) ::unsetenv(name);
    QApplication app(argc, argv);
    platform::setApplicationTitle(QStringLiteral("Zelk"));
    platform::adoptUsersNumberFormat();  // as the program's start-up: "," under a German locale
    platform::testing::DialogScript::activate(failUnexpected);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptPerTest);
    return RUN_ALL_TESTS();
}
