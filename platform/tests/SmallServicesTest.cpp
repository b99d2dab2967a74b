// Clipboard, the Windows-1252 screen edge, the operating-system version, the help requests and
// the application's titles and code page, and a file-size limit that fails a write instead of ending the program.
#include <gtest/gtest.h>

#include <QFile>
#include <QTextBrowser>
#include <qpa/qplatformwindow.h>

#include <cerrno>
#include <clocale>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/utsname.h>
#include <sys/wait.h>
#include <unistd.h>

#include "platform/Ansi.h"
#include "platform/Application.h"
#include "platform/Clipboard.h"
#include "platform/Dialogs.h"
#include "platform/Help.h"
#include "platform/HelpViewer.h"
#include "platform/OsVersion.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/DialogScript.h"
#include "RealBoxes.h"
#include "runtime/CodePage.h"
#include "runtime/testing/ScratchFolder.h"

using namespace platform;
using platform::testing::DialogScript;

namespace {

// setUpApplication takes the code page from the process locale (Windows-1250 under a Polish one):
// the tests that call it put back the code page the tests after them expect.
struct CodePageBack {
    int before = runtime::codePage();
    ~CodePageBack() { runtime::setCodePage(before); }
};

TEST(Clipboard, TextRoundTrip) {
    const QString table = QStringLiteral("a\tb\t\rc\td\t\r");
    setClipboardText(table);
    EXPECT_EQ(clipboardText(), table);
}

TEST(Ansi, ConvertsWindows1252BothWays) {
    EXPECT_EQ(fromAnsi("\xB5g/m3"), QString::fromUtf8("\u00B5g/m3"));
    EXPECT_EQ(fromAnsi("\x80"), QString::fromUtf8("\u20AC"));
    EXPECT_EQ(toAnsi(QString::fromUtf8("\u00B5g/m3 \u20AC")), "\xB5g/m3 \x80");
    EXPECT_EQ(toAnsi(QString::fromUtf8("\u4E2D")), "?");
    EXPECT_EQ(toAnsi(QString()), "");
}

TEST(OsVersion, IsTheKernelMajorVersion) {
    utsname info{};
    ASSERT_EQ(uname(&info), 0);
    const QString release = QString::fromLatin1(info.release);
    EXPECT_EQ(osMajorVersion(), release.section(QLatin1Char('.'), 0, 0));
}

TEST(Help, RequestsAreRecordedInTests) {
    showHelpTopic(QStringLiteral("/prog/desc.HLP"), QStringLiteral("Annexa"));
    setApplicationHelpFile(QStringLiteral("/prog/zozezu.hlp"));
    showHelpContext(7);
    ASSERT_EQ(DialogScript::helpRequests().size(), 2u);
    EXPECT_EQ(DialogScript::helpRequests()[0].helpFile, "/prog/desc.HLP");
    EXPECT_EQ(DialogScript::helpRequests()[0].topic, "Annexa");
    EXPECT_EQ(DialogScript::helpRequests()[1].helpFile, "/prog/zozezu.hlp");
    EXPECT_EQ(DialogScript::helpRequests()[1].context, 7);
}

TEST(Help, OpensTheFileAtTheTopicWhateverTheCaseOfItsName) {
    runtime::testing::ScratchFolder temp;
    temp.write("zozezu.hlp", "<html><body><a name=\"content\"></a><h1>Life tables</h1></body></html>");
    DialogScript::deactivate();
    showHelpTopic(QString::fromStdString(temp.file("Zozezu.hlp")), QStringLiteral("content"));
    ASSERT_TRUE(helpViewer().isVisible());
    EXPECT_EQ(helpViewer().browser()->source().fragment(), "content");
    EXPECT_TRUE(helpViewer().browser()->toPlainText().contains("Life tables"));
    helpViewer().close();
}

TEST(Help, MissingFileGivesAMessage) {
    DialogScript::deactivate();
    QString text;
    readAndCloseNextRealBox([&](const QMessageBox& box) { text = box.text(); });
    showHelpTopic(QStringLiteral("/nonexistent/ex.HLP"), QStringLiteral("How"));
    EXPECT_TRUE(text.contains("ex.HLP")) << text.toStdString();
}

// The title the window system gets for a window (on X11 Qt formats it so).
struct WindowSystemTitle : QPlatformWindow {
    using QPlatformWindow::formatWindowTitle;
};

TEST(Application, WindowTitlesAreTheCaptionsAloneAndBoxesAreTitledZelk) {
    const CodePageBack codePageBack;
    setUpApplication(QStringLiteral("Zelk"));
    const QString separator = QString::fromUtf8(" \u2014 ");
    EXPECT_EQ(WindowSystemTitle::formatWindowTitle(QStringLiteral("Zelk 2.2.3 Main Screen"), separator),
              "Zelk 2.2.3 Main Screen");
    EXPECT_EQ(WindowSystemTitle::formatWindowTitle(QStringLiteral("Zelk Life-Table Simulation Version 2.2.3"), separator),
              "Zelk Life-Table Simulation Version 2.2.3");
    EXPECT_EQ(WindowSystemTitle::formatWindowTitle(QStringLiteral("Location"), separator), "Location");

    DialogScript::deactivate();
    QString boxTitle;
    readAndCloseNextRealBox([&](const QMessageBox& box) { boxTitle = box.windowTitle(); });
    showMessage(QStringLiteral("Value out of range"));
    EXPECT_EQ(boxTitle, "Zelk");
    EXPECT_EQ(WindowSystemTitle::formatWindowTitle(boxTitle, separator), "Zelk");
}

// The program's start takes the code page from the locale that QApplication set from the user's
// environment, here as under LC_ALL=pl_PL.UTF-8.
TEST(Application, TheCodePageIsThatOfTheUsersLocale) {
    const std::string localeBefore = std::setlocale(LC_ALL, nullptr);
    const CodePageBack codePageBack;
    const QString lodz = QString::fromUtf8("\u0141\u00f3d\u017a");
    ASSERT_NE(std::setlocale(LC_ALL, "pl_PL.UTF-8"), nullptr) << "the Polish locale is not installed";
    ASSERT_STREQ(std::setlocale(LC_CTYPE, nullptr), "pl_PL.UTF-8");
    setUpApplication(QStringLiteral("Zelk"));
    EXPECT_EQ(toAnsi(lodz), "\xA3\xF3\x64\x9F");  // Windows-1250
    std::setlocale(LC_ALL, "C");
    setUpApplication(QStringLiteral("Zelk"));
    EXPECT_EQ(toAnsi(lodz), "?\xF3\x64?");  // Windows-1252
    std::setlocale(LC_ALL, localeBefore.c_str());
}

TEST(Application, AWritePastTheFileSizeLimitFailsInsteadOfEndingTheProgram) {
    const CodePageBack codePageBack;
    setUpApplication(QStringLiteral("Zelk"));
    runtime::testing::ScratchFolder dir;
    const std::string file = dir.write("data_rec.dat", "");
    const pid_t child = ::fork();
    if (child == 0) {
        const rlimit none{0, 0};
        const int fd = ::open(file.c_str(), O_WRONLY | O_CLOEXEC);
        ::_exit(::setrlimit(RLIMIT_FSIZE, &none) == 0 && ::write(fd, "x", 1) < 0 && errno == EFBIG ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "ended by signal " << WTERMSIG(status);
}

}  // namespace
