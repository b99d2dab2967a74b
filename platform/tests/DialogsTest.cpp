// Message boxes and file dialogs through the one seam: queued answers, the record of what was
// shown, unanswered boxes, Help, and the real boxes.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextBrowser>

#include <pwd.h>
#include <unistd.h>

#include "platform/Dialogs.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "FileDialogColumns.h"
#include "RealBoxes.h"
#include "runtime/testing/ScratchFolder.h"

using namespace platform;
using platform::testing::DialogScript;

namespace {

// Collects what the script reports as unexpected instead of failing the test.
struct UnexpectedCollector {
    QStringList reports;
    UnexpectedCollector() {
        DialogScript::setUnexpectedHandler([this](const QString& what) { reports.append(what); });
    }
    ~UnexpectedCollector() {
        DialogScript::setUnexpectedHandler([](const QString& what) { ADD_FAILURE() << what.toStdString(); });
    }
};

TEST(DialogScriptBoxes, QueuedAnswersAndTheRecordOfEveryBox) {
    DialogScript::answer(Button::Yes);
    DialogScript::answer(Button::No);
    DialogScript::answer(Button::Cancel);
    DialogScript::answer(Button::Ok);
    EXPECT_EQ(DialogScript::pendingAnswers(), 4u);
    EXPECT_EQ(confirm(QStringLiteral("Save changes?")), Button::Yes);
    EXPECT_EQ(messageDlg(BoxKind::Information, QStringLiteral("Continue?"), {Button::Yes, Button::No, Button::Help}, 9),
              Button::No);
    EXPECT_EQ(messageBox(QStringLiteral("Overwrite?"), QStringLiteral("Save"), {Button::Yes, Button::No, Button::Cancel}),
              Button::Cancel);
    showMessage(QStringLiteral("Done"));
    EXPECT_EQ(DialogScript::pendingAnswers(), 0u);

    const auto& boxes = DialogScript::boxes();
    ASSERT_EQ(boxes.size(), 4u);
    EXPECT_EQ(boxes[0].kind, BoxKind::Confirmation);
    EXPECT_EQ(boxes[0].caption, "Zelk");
    EXPECT_EQ(boxes[0].buttons, (std::vector<Button>{Button::Yes, Button::No}));
    EXPECT_EQ(boxes[1].helpContext, 9);
    EXPECT_EQ(boxes[1].kind, BoxKind::Information);
    EXPECT_EQ(boxes[2].caption, "Save");
    EXPECT_EQ(boxes[3].kind, BoxKind::Plain);
    EXPECT_EQ(boxes[3].text, "Done");
    EXPECT_EQ(boxes[3].buttons, std::vector<Button>{Button::Ok});
    DialogScript::clearShown();
    EXPECT_TRUE(DialogScript::boxes().empty());
}

TEST(DialogScriptBoxes, UnansweredBoxIsReportedAndGetsItsSafeAnswer) {
    UnexpectedCollector collector;
    showMessage(QStringLiteral("Nobody expects me"));
    EXPECT_EQ(confirm(QStringLiteral("Delete record?")), Button::No);
    EXPECT_EQ(messageBox(QStringLiteral("Save?"), QString(), {Button::Yes, Button::No, Button::Cancel}), Button::Cancel);
    ASSERT_EQ(collector.reports.size(), 3);
    EXPECT_TRUE(collector.reports[0].contains("Nobody expects me"));
    // A box's caption defaults to the application title.
    EXPECT_EQ(DialogScript::boxes().back().caption, "Zelk");
}

TEST(DialogScriptBoxes, AnswerThatIsNoButtonOfTheBoxIsReported) {
    UnexpectedCollector collector;
    DialogScript::answer(Button::Yes);
    showMessage(QStringLiteral("Only OK here"));
    EXPECT_EQ(collector.reports.size(), 1);
    EXPECT_EQ(DialogScript::pendingAnswers(), 0u);
}

// Run on its own by the next test, in a child process: it queues an answer that no box uses.
TEST(DialogScriptBoxes, DISABLED_LeavesAnAnswerUnused) { DialogScript::answer(Button::Yes); }

TEST(DialogScriptBoxes, AnAnswerThatNoBoxUsedFailsTheTest) {
    QProcess child;
    child.start(QCoreApplication::applicationFilePath(),
                {QStringLiteral("--gtest_also_run_disabled_tests"),
                 QStringLiteral("--gtest_filter=DialogScriptBoxes.DISABLED_LeavesAnAnswerUnused")});
    ASSERT_TRUE(child.waitForFinished(60000));
    const std::string out = child.readAllStandardOutput().toStdString();
    EXPECT_NE(child.exitCode(), 0) << out;
    EXPECT_NE(out.find("DISABLED_LeavesAnAnswerUnused left 1 queued answer(s) unused"), std::string::npos) << out;
    EXPECT_NE(out.find("[  FAILED  ] DialogScriptBoxes.DISABLED_LeavesAnAnswerUnused"), std::string::npos) << out;
}

TEST(DialogScriptBoxes, HelpOpensTheHelpAndKeepsTheBoxOpen) {
    setApplicationHelpFile(QStringLiteral("/prog/aq_oh.HLP"));
    DialogScript::answer(Button::Help);
    DialogScript::answer(Button::Yes);
    EXPECT_EQ(messageDlg(BoxKind::Information, QStringLiteral("This operation will overwrite datafiles. Continue?"),
                         {Button::Yes, Button::No, Button::Help}, 9),
              Button::Yes);
    EXPECT_EQ(DialogScript::boxes().size(), 1u);
    ASSERT_EQ(DialogScript::helpRequests().size(), 1u);
    EXPECT_EQ(DialogScript::helpRequests()[0].helpFile, "/prog/aq_oh.HLP");
    EXPECT_EQ(DialogScript::helpRequests()[0].context, 9);
    EXPECT_TRUE(DialogScript::helpRequests()[0].topic.isEmpty());
}

TEST(DialogScriptFiles, AnswersCancelsAndDefaultExtension) {
    FileDialogOptions options;
    options.title = QStringLiteral("Save as");
    options.filter = QStringLiteral("Data exchange files (*.kdf)");
    options.defaultExt = QStringLiteral("kdf");
    DialogScript::answerFile(QStringLiteral("/tmp/data"));
    DialogScript::cancelFile();
    DialogScript::answerFile(QStringLiteral("/tmp/data.txt"));
    EXPECT_EQ(saveFileDialog(options), QStringLiteral("/tmp/data.kdf"));
    EXPECT_EQ(openFileDialog(options), std::nullopt);
    EXPECT_EQ(openFileDialog(options), QStringLiteral("/tmp/data.txt"));
    const auto& shown = DialogScript::fileDialogs();
    ASSERT_EQ(shown.size(), 3u);
    EXPECT_EQ(shown[0].kind, platform::testing::ShownFileDialog::Save);
    EXPECT_EQ(shown[1].kind, platform::testing::ShownFileDialog::Open);
    EXPECT_EQ(shown[0].options.filter, options.filter);

    UnexpectedCollector collector;
    EXPECT_EQ(openFileDialog(options), std::nullopt);
    EXPECT_EQ(collector.reports.size(), 1);
}

TEST(DialogScriptFiles, DirectoryChooserCreatesTheNamedFolder) {
    QTemporaryDir temp;
    const QString folder = temp.filePath(QStringLiteral("new/work"));
    DialogScript::answerFile(folder);
    EXPECT_EQ(selectDirectory(QStringLiteral("Working directory"), QString()), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_EQ(DialogScript::fileDialogs().back().kind, platform::testing::ShownFileDialog::Directory);
}

TEST(RealDialogs, DirectoryChooserAsksAndCreatesANewFolder) {
    QTemporaryDir temp;
    const QString folder = temp.filePath(QStringLiteral("newwork"));
    DialogScript::deactivate();
    QString question;
    QTimer::singleShot(0, [&] {
        auto* dialog = nextModal<QFileDialog>();
        if (!dialog) return;
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (!name) return;
        name->setText(folder);
        QTimer::singleShot(0, [&] {
            if (auto* box = nextModal<QMessageBox>()) {
                question = box->text();
                box->button(QMessageBox::Yes)->click();
            }
        });
        QMetaObject::invokeMethod(dialog, "accept");
    });
    EXPECT_EQ(selectDirectory(QStringLiteral("Working directory"), temp.path()), folder);
    EXPECT_TRUE(QFileInfo(folder).isDir());
    EXPECT_TRUE(question.contains("does not exist")) << question.toStdString();
}

// A test program keeps Qt's settings, font configuration and caches in a home of its own: the home
// of whoever runs it (~/.config/QtProject.conf among its files) stays untouched.
TEST(RealDialogs, TheTestsKeepQtSettingsOfTheirOwn) {
    const QString usersHome = QString::fromLocal8Bit(::getpwuid(::getuid())->pw_dir);
    const QString file = QSettings(QSettings::UserScope, QStringLiteral("QtProject")).fileName();
    for (const QString& path : {file, QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                                QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation)})
        EXPECT_FALSE(path.startsWith(usersHome + QLatin1Char('/'))) << path.toStdString();
}

// The open and save dialogs as they open: every column of the file list can be read whole, whatever
// view and widths an earlier dialog left.
TEST(RealDialogs, OpenAndSaveShowNameSizeTypeAndDateWhole) {
    runtime::testing::ScratchFolder temp;
    for (const char* name : {"data_rec.dat", "town.tab", "endp.tab", "params.tab", "data_sup.tab", "data.kdf"})
        temp.write(name, std::string(123456, 'x'));
    temp.subfolder("exchange files");
    DialogScript::deactivate();
    FileDialogOptions options;
    options.initialDir = QString::fromStdString(temp.dir());
    options.filter = QStringLiteral("All files (*)");
    for (const bool save : {false, true}) {
        plantListViewWithoutColumnWidths();
        QStringList unreadable{QStringLiteral("no file dialog")};
        QTimer::singleShot(0, [&] {
            auto* dialog = nextModal<QFileDialog>();
            if (!dialog) return;
            unreadable = unreadableFileColumns(dialog);
            dialog->reject();
        });
        options.title = save ? QStringLiteral("Save As") : QStringLiteral("Open");
        EXPECT_FALSE(save ? saveFileDialog(options) : openFileDialog(options));
        EXPECT_TRUE(unreadable.isEmpty()) << options.title.toStdString() << ": " << unreadable.join(QStringLiteral("; ")).toStdString();
    }
}

TEST(RealBoxes, AnswerComesFromTheButtonPressed) {
    DialogScript::deactivate();
    pressInNextRealBox(QMessageBox::No);
    EXPECT_EQ(confirm(QStringLiteral("Save record?")), Button::No);
    pressInNextRealBox(QMessageBox::Ok);
    showMessage(QStringLiteral("Saved"));
}

TEST(RealBoxes, EscapeGivesCancelOrNo) {
    DialogScript::deactivate();
    QTimer::singleShot(0, [] {
        QTest::keyClick(nextModal(), Qt::Key_Escape);
    });
    EXPECT_EQ(confirm(QStringLiteral("Delete record?")), Button::No);
}

// Counts whether a window is blocked by a modal box (+1 blocked, -1 unblocked).
struct BlockWatch : QObject {
    int* count;
    explicit BlockWatch(int* c) : count(c) {}
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::WindowBlocked) ++*count;
        if (e->type() == QEvent::WindowUnblocked) --*count;
        return false;
    }
};

TEST(RealBoxes, HelpWindowOpenBeforeTheBoxIsFreedByHelp) {
    runtime::testing::ScratchFolder temp;
    const QString file = QString::fromStdString(temp.write(
        "desc.HLP", "<html><body><a name=\"description\"></a>Description<a name=\"context-9\"></a></body></html>"));
    setApplicationHelpFile(file);
    DialogScript::deactivate();
    showHelpTopic(file, QStringLiteral("description"));
    ASSERT_TRUE(helpViewer().isVisible());
    int blocked = 0;
    BlockWatch watch(&blocked);
    helpViewer().installEventFilter(&watch);
    int blockedWithBox = -1;
    int blockedAfterHelp = -1;
    QTimer::singleShot(0, [&] {
        auto* box = nextModal<QMessageBox>();
        if (!box) return;
        blockedWithBox = blocked;
        box->button(QMessageBox::Help)->click();
        QTest::qWait(20);
        blockedAfterHelp = blocked;
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(messageDlg(BoxKind::Information, QStringLiteral("Continue?"), {Button::Yes, Button::No, Button::Help}, 9),
              Button::No);
    EXPECT_EQ(blockedWithBox, 1);
    EXPECT_EQ(blockedAfterHelp, 0);
    helpViewer().removeEventFilter(&watch);
    helpViewer().close();
}

TEST(RealBoxes, HelpButtonOpensTheHelpAndKeepsTheBoxOpen) {
    runtime::testing::ScratchFolder temp;
    const QString file = QString::fromStdString(temp.write(
        "aq_oh.HLP", "<html><body><h1>Contents</h1><a name=\"context-8\"></a><p>Duplicate records</p></body></html>"));
    setApplicationHelpFile(file);
    DialogScript::deactivate();

    // The help window stays usable while the box is open.
    int blocked = 0;
    BlockWatch watch(&blocked);
    helpViewer().installEventFilter(&watch);
    bool stayedOpen = false;
    QString shownHelp;
    QTimer::singleShot(0, [&] {
        auto* box = nextModal<QMessageBox>();
        if (!box) return;
        box->button(QMessageBox::Help)->click();
        QTest::qWait(20);
        stayedOpen = box->isVisible() && QApplication::activeModalWidget() == box;
        shownHelp = helpViewer().browser()->source().toString();
        box->button(QMessageBox::Ok)->click();
    });
    EXPECT_EQ(messageDlg(BoxKind::Warning, QStringLiteral("Record already exists."), {Button::Ok, Button::Help}, 8),
              Button::Ok);
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(shownHelp.endsWith("aq_oh.HLP#context-8")) << shownHelp.toStdString();
    EXPECT_TRUE(helpViewer().isVisible());
    EXPECT_EQ(blocked, 0);
    helpViewer().removeEventFilter(&watch);
    helpViewer().close();
}

}  // namespace
