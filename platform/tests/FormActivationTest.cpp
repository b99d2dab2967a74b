// The program's active form: activation and deactivation only when the active screen changes.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "platform/Dialogs.h"
#include "platform/Form.h"
#include "platform/Guard.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "RealBoxes.h"
#include "TestForms.h"

using namespace platform;
using platform::testing::DialogScript;
namespace pt = platform::testing;

namespace {

struct Screens {
    QStringList log;
    LoggingForm a{QStringLiteral("A"), &log};
    LoggingForm b{QStringLiteral("B"), &log};
    LoggingForm c{QStringLiteral("C"), &log};
};

TEST(FormActivation, FiresOnlyWhenTheActiveScreenChanges) {
    Screens s;
    ASSERT_TRUE(pt::activateForm(&s.a));
    EXPECT_EQ(s.log, QStringList{"A.activate"});
    EXPECT_EQ(activeForm(), &s.a);

    pt::activateForm(&s.b);
    EXPECT_EQ(s.log, (QStringList{"A.activate", "A.deactivate", "B.activate"}));

    // Showing the active screen again, and late activation events of the window system, change nothing.
    s.b.showForm();
    pt::processEvents();
    QTest::qWait(50);
    EXPECT_EQ(s.log.size(), 3);
    EXPECT_TRUE(s.b.isActiveForm());
    EXPECT_FALSE(s.a.isActiveForm());
}

TEST(FormActivation, ShowingScreensQuicklyEndsWithTheLastOne) {
    Screens s;
    pt::activateForm(&s.a);
    s.b.showForm();
    s.c.showForm();
    QTest::qWait(50);
    EXPECT_EQ(activeForm(), &s.c);
    EXPECT_EQ(s.log, (QStringList{"A.activate", "A.deactivate", "B.activate", "B.deactivate", "C.activate"}));
}

TEST(FormActivation, ScriptedMessageBoxNeitherDeactivatesNorReactivates) {
    Screens s;
    pt::activateForm(&s.a);
    s.log.clear();
    DialogScript::answer(Button::Ok);
    showMessage(QStringLiteral("Hello"));
    pt::processEvents();
    EXPECT_TRUE(s.log.isEmpty());
    EXPECT_EQ(activeForm(), &s.a);
}

TEST(FormActivation, RealMessageBoxNeitherDeactivatesNorReactivates) {
    Screens s;
    pt::activateForm(&s.a);
    s.log.clear();
    DialogScript::deactivate();
    pressInNextRealBox(QMessageBox::Yes);
    Button answer = confirm(QStringLiteral("Save changes?"));
    EXPECT_EQ(answer, Button::Yes);
    // The owner gets the window system's activation back, without a FormActivate.
    EXPECT_TRUE(QTest::qWaitForWindowActive(&s.a, 1000));
    QTest::qWait(20);
    EXPECT_TRUE(s.log.isEmpty());
    EXPECT_EQ(activeForm(), &s.a);
}

TEST(FormActivation, BoxInDeactivationHandlerKeepsTheNewScreenActive) {
    Screens s;
    pt::activateForm(&s.a);
    s.a.onDeactivate = [] { confirm(QStringLiteral("Save changes?")); };
    DialogScript::deactivate();
    pressInNextRealBox(QMessageBox::No);
    s.b.showForm();
    QTest::qWait(50);
    EXPECT_EQ(activeForm(), &s.b);
    EXPECT_EQ(s.log, (QStringList{"A.activate", "A.deactivate", "B.activate"}));
    EXPECT_TRUE(QTest::qWaitForWindowActive(&s.b, 1000));
}

TEST(FormActivation, HidingTheActiveScreenActivatesTheMostRecentVisibleOne) {
    Screens s;
    pt::activateForm(&s.a);
    pt::activateForm(&s.b);
    pt::activateForm(&s.c);
    s.b.hideForm();  // not active: nothing fires
    s.log.clear();
    s.c.hideForm();
    EXPECT_EQ(s.log, QStringList{"C.deactivate"});
    EXPECT_EQ(activeForm(), nullptr);
    pt::processEvents();
    EXPECT_EQ(s.log, (QStringList{"C.deactivate", "A.activate"}));
    EXPECT_EQ(activeForm(), &s.a);
    EXPECT_TRUE(QTest::qWaitForWindowActive(&s.a, 1000));
    s.log.clear();
    s.a.hideForm();
    pt::processEvents();
    EXPECT_EQ(s.log, QStringList{"A.deactivate"});
    EXPECT_EQ(activeForm(), nullptr);
}

TEST(FormActivation, HidingAndShowingTheNextScreenActivatesNoThirdOne) {
    Screens s;
    pt::activateForm(&s.a);
    pt::activateForm(&s.b);
    s.log.clear();
    // A "Next" button: the screen hides itself and shows the next one.
    s.b.hideForm();
    s.c.showForm();
    pt::processEvents();
    QTest::qWait(20);
    EXPECT_EQ(s.log, (QStringList{"B.deactivate", "C.activate"}));
    EXPECT_EQ(activeForm(), &s.c);
}

TEST(FormActivation, ActivationHandlerShowingAnotherScreenRunsAfterTheSwitch) {
    Screens s;
    pt::activateForm(&s.a);
    s.b.onActivate = [&] { s.c.showForm(); };
    s.b.showForm();
    EXPECT_EQ(s.log, (QStringList{"A.activate", "A.deactivate", "B.activate", "B.deactivate", "C.activate"}));
    EXPECT_EQ(activeForm(), &s.c);
}

TEST(FormClose, CloseQueryDecides) {
    Screens s;
    pt::activateForm(&s.a);
    pt::activateForm(&s.b);
    bool allow = false;
    s.b.closeQuery = [&] { return allow; };
    s.log.clear();
    EXPECT_FALSE(s.b.closeForm());
    EXPECT_TRUE(s.b.isVisible());
    EXPECT_EQ(s.log, QStringList{"B.closeQuery"});
    allow = true;
    s.log.clear();
    // The window's own close button takes the same way.
    s.b.close();
    pt::processEvents();
    EXPECT_FALSE(s.b.isVisible());
    EXPECT_EQ(s.log, (QStringList{"B.closeQuery", "B.close", "B.deactivate", "A.activate"}));
    EXPECT_FALSE(requestedExitCode().has_value());
}

TEST(FormClose, ClosingTheMainFormEndsTheEventLoop) {
    Screens s;
    setMainForm(&s.a);
    pt::activateForm(&s.b);
    pt::activateForm(&s.a);
    s.log.clear();
    QTimer::singleShot(0, [&] { s.a.close(); });
    QTimer::singleShot(3000, [] { QCoreApplication::exit(99); });
    EXPECT_EQ(QApplication::exec(), 0);
    EXPECT_FALSE(s.a.isVisible());
    EXPECT_EQ(requestedExitCode(), 0);
    // The other open screen is closed first; no other screen becomes active while the program ends.
    pt::processEvents();
    EXPECT_EQ(s.log, (QStringList{"B.closeQuery", "B.close", "A.closeQuery", "A.close", "A.deactivate"}));
    EXPECT_EQ(activeForm(), nullptr);
    setMainForm(nullptr);
}

TEST(FormActivation, AnEditThatTheActivationEntersShowsItsWholeText) {
    QStringList log;
    EditsForm f(QStringLiteral("F"), &log);
    QString loaded = QStringLiteral("0");
    f.onActivate = [&] {
        f.focusControl(f.e2);
        f.e2->setText(loaded);
    };
    ASSERT_TRUE(pt::activateForm(&f));
    QTest::keyClicks(f.e2, "180");
    EXPECT_EQ(f.e2->text(), "180");

    // A screen's first activation enters its first edit.
    EditsForm g(QStringLiteral("G"), &log);
    g.e1->setText(QStringLiteral("12"));
    ASSERT_TRUE(pt::activateForm(&g));
    QTest::keyClicks(g.e1, "3");
    EXPECT_EQ(g.e1->text(), "3");
    // Back to a screen in the edit it had: the edit is entered again.
    loaded = QStringLiteral("180");
    ASSERT_TRUE(pt::activateForm(&f));
    QTest::keyClicks(f.e2, "5");
    EXPECT_EQ(f.e2->text(), "5");
}

TEST(FormClose, DestroyedScreenLeavesNoActiveForm) {
    QStringList log;
    {
        LoggingForm a(QStringLiteral("A"), &log);
        pt::activateForm(&a);
        setMainForm(&a);
    }
    EXPECT_EQ(activeForm(), nullptr);
    EXPECT_EQ(mainForm(), nullptr);
}

TEST(FormHelp, F1OpensTheHelpAtTheScreensContext) {
    Screens s;
    s.a.setHelpContext(4);
    auto* edit = new QLineEdit(&s.a);
    pt::activateForm(&s.a);
    s.a.focusControl(edit);
    pt::pressKey(edit, Qt::Key_F1);
    ASSERT_EQ(DialogScript::helpRequests().size(), 1u);
    EXPECT_EQ(DialogScript::helpRequests()[0].context, 4);
}

TEST(FormPosition, CentreOnScreenPutsTheScreenInTheMiddleOfTheWorkArea) {
    Form form;
    form.resize(200, 100);
    form.move(0, 0);
    form.centreOnScreen();
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    EXPECT_EQ(form.pos(), QPoint(area.x() + (area.width() - 200) / 2, area.y() + (area.height() - 100) / 2));
}

}  // namespace
