// The main() of every GUI test: a QApplication (offscreen unless QT_QPA_PLATFORM says otherwise)
// with Qt settings of its own, the dialog script active before each test, and a failure for every
// box nobody answered and for every queued answer that no box used.
#include <gtest/gtest.h>

#include <QApplication>
#include <QByteArray>
#include <QSettings>
#include <QString>

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
    // What Qt remembers between dialogs (the file dialog's folder, view and column widths) stays
    // within this run: no test reads or writes the settings of whoever runs it.
    const runtime::testing::ScratchFolder qtSettings;
    for (const QSettings::Format format : {QSettings::NativeFormat, QSettings::IniFormat})
        for (const QSettings::Scope scope : {QSettings::UserScope, QSettings::SystemScope})
            QSettings::setPath(format, scope, QString::fromStdString(qtSettings.dir()));
    QApplication app(argc, argv);
    platform::setApplicationTitle(QStringLiteral("Zelk"));
    platform::testing::DialogScript::activate(failUnexpected);
    ::testing::UnitTest::GetInstance()->listeners().Append(new ScriptPerTest);
    return RUN_ALL_TESTS();
}
