// The help window as the user handles it: where it opens, Escape, "Back" and "Contents".
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>

#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/testing/DialogScript.h"
#include "runtime/testing/ScratchFolder.h"
#include "TestForms.h"

using namespace platform;
using platform::testing::DialogScript;

namespace {

void writeHelp(const QString& path, const QByteArray& html) {
    runtime::testing::writeFile(path.toStdString(), html.toStdString());
}

QPushButton* helpButton(const QString& text) {
    for (QPushButton* button : helpViewer().findChildren<QPushButton*>())
        if (button->text() == text) return button;
    ADD_FAILURE() << "the help window has no button " << text.toStdString();
    return nullptr;
}

QString shownTopic() {
    const QUrl source = helpViewer().browser()->source();
    return source.fileName() + QLatin1Char('#') + source.fragment();
}

// A help window closed by an earlier test is gone before the next one opens.
void forgetClosedHelp() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

// Closes the help window and lets it go.
void closeHelp() {
    QPointer<HelpViewer> viewer = &helpViewer();
    viewer->close();
    (void)QTest::qWaitFor([&] { return viewer.isNull(); }, 1000);
}

TEST(HelpWindow, OpensCentredOverTheActiveScreenAndEscapeClosesIt) {
    forgetClosedHelp();
    runtime::testing::ScratchFolder temp;
    const QString file = QString::fromStdString(temp.file("ex.HLP"));
    writeHelp(file, "<html><body><a name=\"How\"></a><p>How to</p></body></html>");
    QStringList log;
    LoggingForm screen(QStringLiteral("S"), &log);
    // Both small enough that neither the screen nor the help window needs the whole desktop.
    screen.setGeometry(80, 60, 240, 180);
    screen.showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&screen));
    helpViewer().resize(200, 160);
    DialogScript::deactivate();
    showHelpTopic(file, QStringLiteral("How"));
    ASSERT_TRUE(QTest::qWaitForWindowActive(&helpViewer()));
    const QPoint offset = helpViewer().frameGeometry().center() - screen.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 20) << offset.x() << ", " << offset.y();

    QPointer<HelpViewer> viewer = &helpViewer();
    QTest::keyClick(viewer->browser(), Qt::Key_Escape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.isNull() || !viewer->isVisible(); }, 1000));
    if (viewer) closeHelp();
}

TEST(HelpWindow, BackGoesToTheTopicBeforeAndContentsToTheContentsTopic) {
    forgetClosedHelp();
    runtime::testing::ScratchFolder temp;
    const QString online = QString::fromStdString(temp.file("aq_oh.HLP"));
    const QString lifeTables = QString::fromStdString(temp.file("zozezu.hlp"));
    const QString example = QString::fromStdString(temp.file("ex.HLP"));
    const QByteArray filler = QByteArray("<p>text</p>").repeated(200);
    writeHelp(online, "<html><body><h1>Help</h1>" + filler + "<a name=\"contents\"></a><p>Contents</p>" +
           filler + "<a name=\"context-4\"></a><p>Air quality data</p></body></html>");
    writeHelp(lifeTables, "<html><body>" + filler + "<a name=\"content\"></a><p>Life tables</p>" +
           filler + "<a name=\"calc\"></a><p>Calculation</p></body></html>");
    writeHelp(example, "<html><body><p>Example</p>" + filler + "<a name=\"How\"></a><p>How</p></body></html>");
    DialogScript::deactivate();

    showHelpContext(online, 4);
    QPushButton* back = helpButton(QStringLiteral("Back"));
    QPushButton* contents = helpButton(QStringLiteral("Contents"));
    ASSERT_TRUE(back && contents);
    EXPECT_FALSE(back->isEnabled());  // nothing shown before
    contents->click();
    EXPECT_EQ(shownTopic(), "aq_oh.HLP#contents");
    EXPECT_TRUE(back->isEnabled());
    back->click();
    EXPECT_EQ(shownTopic(), "aq_oh.HLP#context-4");
    EXPECT_FALSE(back->isEnabled());

    // Another file: "Contents" finds its "content" topic; "Back" returns to the first file.
    showHelpTopic(lifeTables, QStringLiteral("calc"));
    contents->click();
    EXPECT_EQ(shownTopic(), "zozezu.hlp#content");
    back->click();
    EXPECT_EQ(shownTopic(), "zozezu.hlp#calc");
    back->click();
    EXPECT_EQ(shownTopic(), "aq_oh.HLP#context-4");

    // A file with neither topic: its contents are its top.
    showHelpTopic(example, QStringLiteral("How"));
    contents->click();
    EXPECT_EQ(shownTopic(), "ex.HLP#");
    EXPECT_EQ(helpViewer().browser()->verticalScrollBar()->value(), 0);
    closeHelp();
}

}  // namespace
