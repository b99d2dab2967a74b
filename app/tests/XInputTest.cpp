// The program's screens under a real X server with a window manager, driven by real input
// (xdotool): what only a window system shows. Offscreen, or without xdotool, the tests skip;
// platform/tests/run_under_xvfb.sh runs them under Xvfb with openbox.
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTimer>

#include <filesystem>
#include <map>
#include <tuple>

#include "assessment/Unit1.h"
#include "assessment/Unit5.h"
#include "assessment/core/AqRecord.h"
#include "assessment/tests/location_fixture.h"
#include "lifetables/Unit_LifeTables.h"
#include "platform/Dialogs.h"
#include "platform/Guard.h"
#include "platform/HelpViewer.h"
#include "platform/tests/FileDialogColumns.h"
#include "platform/StringGrid.h"
#include "platform/TextFieldRule.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "ui_TForm1.h"
#include "ui_TForm5.h"
#include "ui_TPagesDlgLT.h"

namespace {

QString xdotoolPath() { return QStandardPaths::findExecutable(QStringLiteral("xdotool")); }

// Real input: keys and clicks go to the window that has the X focus.
void xdotool(const QStringList& arguments) {
    ASSERT_EQ(QProcess::execute(xdotoolPath(), arguments), 0) << arguments.join(QLatin1Char(' ')).toStdString();
}

// The title the window manager shows for the active window.
QString activeWindowTitle() {
    QProcess process;
    process.start(xdotoolPath(), {QStringLiteral("getactivewindow"), QStringLiteral("getwindowname")});
    process.waitForFinished(5000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
}

void realClick(QWidget* widget) {
    const QPoint p = widget->mapToGlobal(widget->rect().center());
    xdotool({QStringLiteral("mousemove"), QString::number(p.x()), QString::number(p.y()), QStringLiteral("click"),
             QStringLiteral("1")});
}

// Saves what the X screen shows when ZELK_X_SHOTS names a folder (for a look at the result).
void saveScreen(const QString& name) {
    const QString folder = qEnvironmentVariable("ZELK_X_SHOTS");
    if (folder.isEmpty() || !QGuiApplication::primaryScreen()) return;
    QDir().mkpath(folder);
    QGuiApplication::primaryScreen()->grabWindow(0).save(folder + QLatin1Char('/') + name + QStringLiteral(".png"));
}

// Waits (inside whatever modal loop runs) for a modal window of type T to be the active window,
// then hands it to `action`: once, or every time another such window comes (`times` counts them).
template <typename T>
class WhenActive {
public:
    explicit WhenActive(std::function<void(T*)> action, bool everyTime = false) : action_(std::move(action)) {
        QObject::connect(&timer_, &QTimer::timeout, [this, everyTime] {
            auto* window = qobject_cast<T*>(QApplication::activeModalWidget());
            if (!window || QApplication::activeWindow() != window || window == handled_) return;
            if (!everyTime) timer_.stop();
            handled_ = window;
            done = true;
            ++times;
            action_(window);
        });
        timer_.start(20);
    }
    bool done = false;
    int times = 0;

private:
    QTimer timer_;
    QPointer<T> handled_;
    std::function<void(T*)> action_;
};

class XInput : public RecordScreens {
protected:
    void SetUp() override {
        RecordScreens::SetUp();
        if (QGuiApplication::platformName() != QLatin1String("xcb") || xdotoolPath().isEmpty())
            GTEST_SKIP() << "needs an X server with a window manager and xdotool";
        DialogScript::deactivate();
    }
};

// The texts of the screen's edits by name.
std::map<QString, QString> editTexts(QWidget* screen) {
    std::map<QString, QString> texts;
    for (QLineEdit* edit : screen->findChildren<QLineEdit*>())
        if (!edit->objectName().isEmpty()) texts[edit->objectName()] = edit->text();
    return texts;
}

TEST_F(XInput, DigitTypedAfterAConversionErrorGoesToTheEditThatFailed) {
    Program& p = startWith(recordLine(validRecord(0, 2, 2001)), "0 1|1|Alpha\r\n");
    f4->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f4));
    QLineEdit* first = e4("edit1");
    realClick(first);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == first; }, 2000));

    QString boxText;
    QString boxTitle;
    WhenActive<QMessageBox> answer([&](QMessageBox* box) {
        boxText = box->text();
        boxTitle = activeWindowTitle();
        saveScreen(QStringLiteral("conversion-error"));
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});
    });
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("3x")});
    xdotool({QStringLiteral("key"), QStringLiteral("Tab")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done && !QApplication::activeModalWidget(); }, 5000))
        << "edit1 \"" << first->text().toStdString() << "\", modal " << QApplication::activeModalWidget()
        << ", active " << QApplication::activeWindow() << ", focus "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->objectName().toStdString() : "none");
    EXPECT_EQ(boxText, "'3x' is not a valid integer value");
    EXPECT_EQ(boxTitle, "Zelk");
    // The window manager gives the screen back its activation after the box.
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == f4; }, 2000));
    QTest::qWait(200);

    const std::map<QString, QString> before = editTexts(f4);
    xdotool({QStringLiteral("type"), QStringLiteral("7")});
    (void)QTest::qWaitFor([&] { return editTexts(f4) != before; }, 2000);
    QStringList changed;
    for (const auto& [name, text] : editTexts(f4))
        if (before.at(name) != text) changed.append(name + QStringLiteral(": ") + text);
    EXPECT_EQ(changed.join(QStringLiteral(", ")), "edit1: 3x7");  // the digit went to the failed edit alone
    EXPECT_EQ(f4->activeControl(), first);
    EXPECT_EQ(p.aq.aq_changed, 0);
}

TEST_F(XInput, AirQualityScreenOpensReadyToTypeOverWinterAndQuitAsksToSaveTheRecord) {
    auto record = validRecord(0, 2, 2001);
    record[assessment::kFieldWinterDays] = 0;
    writeFile(workDir + "data_sup.tab", "Land\r\nInstitute\r\n");
    Program& p = startWith(recordLine(record), "0 1|1|Alpha\r\n");
    p.Form1->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.Form1));
    realClick(p.Form1->controls().BitBtn4);  // "AQ &Data"
    QLineEdit* winter = e4("Editwin_days");
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == winter; }, 3000));
    QTest::qWait(200);
    saveScreen(QStringLiteral("aq-opened"));
    xdotool({QStringLiteral("type"), QStringLiteral("175")});
    (void)QTest::qWaitFor([&] { return winter->text().size() >= 3; }, 2000);
    EXPECT_EQ(winter->text(), "175");

    QString boxText;
    WhenActive<QMessageBox> answer([&](QMessageBox* box) {
        boxText = box->text();
        saveScreen(QStringLiteral("quit-question"));
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});  // Yes
    });
    // The user turns to the main screen (later than the window manager's catch-up after a screen
    // was shown, which the program answers by activating that screen again).
    QTest::qWait(600);
    const auto turnTo = [](QWidget* screen) {
        xdotool({QStringLiteral("windowactivate"), QStringLiteral("--sync"), QString::number(screen->winId())});
        return QTest::qWaitFor([&] { return QApplication::activeWindow() == screen; }, 2000);
    };
    // and back: the typing is still there, entered again, and typing replaces it.
    ASSERT_TRUE(turnTo(p.Form1));
    ASSERT_TRUE(turnTo(f4));
    EXPECT_EQ(winter->text(), "175");
    xdotool({QStringLiteral("type"), QStringLiteral("180")});
    (void)QTest::qWaitFor([&] { return winter->text().endsWith(QLatin1Char('0')); }, 2000);
    EXPECT_EQ(winter->text(), "180");
    ASSERT_TRUE(turnTo(p.Form1));
    realClick(p.Form1->controls().BitBtn1);  // "&Quit"
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done && !p.Form1->isVisible(); }, 5000));
    EXPECT_EQ(boxText, "Save changes?");
    record[assessment::kFieldWinterDays] = 180;
    EXPECT_EQ(dataFile(), recordLine(record));
    EXPECT_EQ(platform::requestedExitCode(), 0);
}

TEST_F(XInput, NewByItsAcceleratorSavesTheTypingIntoTheRecordShown) {
    const std::string rest = recordLine(validRecord(0, 2, 2002)) + recordLine(validRecord(0, 2, 2003));
    Program& p = startWith(recordLine(validRecord(0, 2, 2001)) + rest, "0 1|1|Alpha\r\n");
    f4->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f4));
    QLineEdit* mean = e4("Editann_mean");
    realClick(mean);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == mean; }, 2000));
    WhenActive<QMessageBox> answer(
        [&](QMessageBox*) {
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        },
        true);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("55")});
    xdotool({QStringLiteral("key"), QStringLiteral("alt+n")});  // the edit is not left
    ASSERT_TRUE(QTest::qWaitFor([&] { return p.aq.new_record != 0; }, 5000));
    QTest::qWait(300);  // a second box would come now
    auto saved = validRecord(0, 2, 2001);
    saved[assessment::kFieldAnnualMean] = 55;
    EXPECT_EQ(answer.times, 1);  // Save changes? Yes
    EXPECT_EQ(dataFile(), recordLine(saved) + rest);
}

TEST_F(XInput, TypingKeepsItsCursorWhenTheScreenIsClickedActiveAgain) {
    Program& p = startWith(recordLine(validRecord(0, 2, 2001)), "0 1|1|Alpha\r\n");
    p.Form1->move(700, 300);  // side by side
    f3->move(0, 0);
    p.Form1->showForm();
    f3->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f3));
    QTest::qWait(600);  // the window manager's catch-up after a screen was shown
    QLineEdit* network = e3("netw_affl");
    realClick(network);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == network; }, 2000));
    xdotool({QStringLiteral("type"), QStringLiteral("NAB")});
    const auto clickAt = [](QPoint at) {
        xdotool({QStringLiteral("mousemove"), QString::number(at.x()), QString::number(at.y()), QStringLiteral("click"),
                 QStringLiteral("1")});
    };
    clickAt(p.Form1->mapToGlobal(QPoint(3, p.Form1->height() - 3)));  // a bare spot of the main screen
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == p.Form1; }, 2000));
    clickAt({f3->geometry().center().x(), (f3->frameGeometry().top() + f3->geometry().top()) / 2});  // title bar
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == f3; }, 2000));
    xdotool({QStringLiteral("type"), QStringLiteral("C")});
    (void)QTest::qWaitFor([&] { return network->text().endsWith(QLatin1Char('C')); }, 2000);
    EXPECT_EQ(network->text(), "NABC");
}

TEST_F(XInput, ALineBreakPastedIntoAnEditIsABlankInTheFieldAndInTheFile) {
    const auto record = validRecord(0, 2, 2001);
    startWith(recordLine(record, {"Low", "High", "Net", "Agency"}), "0 1|1|Alpha\r\n");
    f3->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(f3));
    QLineEdit* network = e3("netw_affl");
    realClick(network);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == network; }, 2000));
    QGuiApplication::clipboard()->setText(QStringLiteral("Net\r\nWork"));
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+v")});
    (void)QTest::qWaitFor([&] { return network->text() != "Net"; }, 2000);
    QTest::qWait(200);  // painted
    saveScreen(QStringLiteral("pasted-line-break"));
    EXPECT_EQ(network->text(), "Net Work");
    // The data file's separator, typed, is refused with the beep.
    const int beeps = platform::refusedKeyCount();
    xdotool({QStringLiteral("type"), QStringLiteral(";")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return platform::refusedKeyCount() > beeps; }, 2000));
    EXPECT_EQ(network->text(), "Net Work");

    QString boxText;
    WhenActive<QMessageBox> answer([&](QMessageBox* box) {
        boxText = box->text();
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});  // Yes
    });
    realClick(b3("Button1"));  // "Next"
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done && f4->isVisible(); }, 5000));
    EXPECT_EQ(boxText, "Save changes?");
    EXPECT_EQ(dataFile(), recordLine(record, {"Low", "High", "Net Work", "Agency"}));
}

TEST_F(XInput, APollutantTypedIntoTheParametersScreenMeetsABadParameterLineOnceTheKeyIsDone) {
    writeFile(workDir + "params.tab", defaultParams());
    Program& p = startWith(recordLine(validRecord(0, 2, 2001)), "0 1|1|Alpha\r\n");
    // "CO" is looked up past the line of PM10, in a line that is no number.
    writeFile(workDir + "params.tab", defaultParams() + "x 0 1 1 1 1 0 3 0\r\n");
    p.Form5->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.Form5));
    QComboBox* pollutant = p.Form5->ui().editpol;
    realClick(pollutant->lineEdit());
    ASSERT_TRUE(QTest::qWaitFor([&] { return pollutant->hasFocus(); }, 2000));
    // Counts the key presses that the box is still handling.
    struct KeysInHand : QObject {
        QComboBox* box = nullptr;
        int depth = 0;
        bool eventFilter(QObject* target, QEvent* event) override {
            if (event->type() != QEvent::KeyPress || (target != box && target != box->lineEdit())) return false;
            ++depth;
            target->event(event);
            --depth;
            return true;
        }
    } keys;
    keys.box = pollutant;
    qApp->installEventFilter(&keys);
    QString boxText;
    int keysAtBox = -1;
    WhenActive<QMessageBox> answer(
        [&](QMessageBox* box) {
            boxText = box->text();
            keysAtBox = keys.depth;
            xdotool({QStringLiteral("key"), QStringLiteral("Return")});
        },
        true);
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("CO")});
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done && !QApplication::activeModalWidget(); }, 5000));
    QTest::qWait(300);  // a second box would come now
    EXPECT_EQ(answer.times, 1);
    EXPECT_EQ(boxText, "Invalid numeric input");
    EXPECT_EQ(keysAtBox, 0);  // the box came once the key was done with
    EXPECT_EQ(pollutant->currentText(), "CO");
    EXPECT_TRUE(p.Form5->isVisible());
}

TEST_F(XInput, ANonDigitTypedIntoAnAgeCellIsRefusedOnceAndTheProgramGoesOn) {
    Program& p = startWith(std::string());
    TPagesDlgLT* lt = p.PagesDlgLT;
    lt->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(lt));
    auto& u = lt->ui();
    // The until age of the risk grid and the from age of the male data.
    for (const auto& [page, grid, col, row] :
         {std::tuple{u.TabRR, u.TabRRStringGrid_betaRR, 1, 1}, std::tuple{u.TabE_male, u.TabE_maleStringGrid, 0, 3}}) {
        u.TabPageControl->setCurrentWidget(page);
        QTest::qWait(200);
        QString boxText;
        WhenActive<QMessageBox> answer(
            [&](QMessageBox* box) {
                boxText = box->text();
                saveScreen(QStringLiteral("age-cell-refused"));
                xdotool({QStringLiteral("key"), QStringLiteral("Return")});
            },
            true);
        const QPoint cell = grid->viewport()->mapToGlobal(grid->visualItemRect(grid->item(row, col)).center());
        xdotool({QStringLiteral("mousemove"), QString::number(cell.x()), QString::number(cell.y()),
                 QStringLiteral("click"), QStringLiteral("--repeat"), QStringLiteral("2"), QStringLiteral("1")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return qobject_cast<QLineEdit*>(QApplication::focusWidget()); }, 2000));
        xdotool({QStringLiteral("type"), QStringLiteral("x")});
        ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done && !QApplication::activeModalWidget(); }, 5000));
        QTest::qWait(300);  // a second box would come now
        EXPECT_EQ(answer.times, 1);
        EXPECT_EQ(boxText, "ERROR: Value must be a positive whole number!");
        EXPECT_EQ(grid->cell(col, row), "");
        EXPECT_TRUE(lt->isVisible());
    }
}

TEST_F(XInput, OnlineHelpOpensCentredOverTheMainScreenAndEscapeClosesIt) {
    for (const char* name : {"aq_oh.HLP", "desc.HLP", "ex.HLP", "zozezu.hlp"})
        std::filesystem::copy_file(runtime::executableFolder() + name, programDir + name);
    Program& p = startWith(std::string());
    QWidget* main = p.Form1;
    p.Form1->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(main));
    xdotool({QStringLiteral("key"), QStringLiteral("alt+h"), QStringLiteral("key"), QStringLiteral("o")});
    QPointer<platform::HelpViewer> viewer;
    ASSERT_TRUE(QTest::qWaitFor([&] {
        viewer = qobject_cast<platform::HelpViewer*>(QApplication::activeWindow());
        return viewer != nullptr;
    }, 3000));
    QTest::qWait(200);
    saveScreen(QStringLiteral("help"));
    EXPECT_EQ(viewer->browser()->source().fragment(), "contents");
    const QPoint offset = viewer->frameGeometry().center() - main->frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 40) << offset.x() << ", " << offset.y();

    xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
    EXPECT_TRUE(QTest::qWaitFor([&] { return viewer.isNull() || !viewer->isVisible(); }, 2000));
}

TEST_F(XInput, OpenAndSaveDialogsShowTheirColumnsWhole) {
    Program& p = startWith(recordLine(validRecord(0, 2, 2001)), "0 1|1|Alpha\r\n");
    p.Form1->showForm();
    for (const bool save : {false, true}) {
        plantListViewWithoutColumnWidths();
        QStringList unreadable{QStringLiteral("no file dialog")};
        WhenActive<QFileDialog> look([&](QFileDialog* dialog) {
            unreadable = unreadableFileColumns(dialog);
            saveScreen(save ? QStringLiteral("save-dialog") : QStringLiteral("open-dialog"));
            xdotool({QStringLiteral("key"), QStringLiteral("Escape")});
        });
        platform::FileDialogOptions options;
        options.title = save ? QStringLiteral("Save As") : QStringLiteral("Open");
        options.filter = QStringLiteral("All files (*)");
        options.initialDir = QString::fromStdString(workDir);
        EXPECT_FALSE(save ? platform::saveFileDialog(options) : platform::openFileDialog(options));
        EXPECT_TRUE(unreadable.isEmpty()) << options.title.toStdString() << ": "
                                          << unreadable.join(QStringLiteral("; ")).toStdString();
    }
}

// run_under_xvfb.sh runs this once more under LC_ALL=de_DE.UTF-8: no box at start, the risks shown
// with ",", and "1,008" typed with real keys saved with "." in the parameter file.
TEST_F(XInput, UnderAGermanLocaleTheRisksShowAndTakeADecimalComma) {
    if (runtime::decimalSeparator() != ',') GTEST_SKIP() << "runs under LC_ALL=de_DE.UTF-8";
    DialogScript::activate([](const QString& what) { ADD_FAILURE() << "a box at start: " << what.toStdString(); });
    Program& p = startWith(recordLine(validRecord(0, 2, 2001)), "0 1|1|Alpha\r\n");
    DialogScript::deactivate();
    p.Form5->showForm();
    ASSERT_TRUE(QTest::qWaitForWindowActive(p.Form5));
    auto& u = p.Form5->ui();
    EXPECT_EQ(u.rr->text(), "1,006");
    realClick(u.rr);
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::focusWidget() == u.rr; }, 2000));
    xdotool({QStringLiteral("key"), QStringLiteral("ctrl+a")});
    xdotool({QStringLiteral("type"), QStringLiteral("1,008")});
    (void)QTest::qWaitFor([&] { return u.rr->text() == QLatin1String("1,008"); }, 2000);
    EXPECT_EQ(u.rr->text(), "1,008");
    QString boxText;
    WhenActive<QMessageBox> answer([&](QMessageBox* box) {
        boxText = box->text();
        xdotool({QStringLiteral("key"), QStringLiteral("Return")});  // Yes
    });
    realClick(u.BitBtn3);  // "&Save"
    ASSERT_TRUE(QTest::qWaitFor([&] { return answer.done && !QApplication::activeModalWidget(); }, 5000));
    EXPECT_EQ(boxText, "Save record?");
    EXPECT_NE(readFile(workDir + "params.tab").find("  1.00800000000000E+0000 "), std::string::npos)
        << readFile(workDir + "params.tab");
}

}  // namespace
