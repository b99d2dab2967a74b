// The data-supplier screen: loading on activation, saving on deactivation, the organisation's
// hold on the main screen's way to the record screens, "&Next", printing, and what its fields take.
#include <QAction>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <clocale>

#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/tests/main_fixture.h"
#include "platform/TextFieldRule.h"
#include "runtime/CodePage.h"
#include "runtime/Files.h"
#include "runtime/testing/ReadOnlyFolder.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "platform/testing/PrintedPages.h"
#include "ui_TForm1.h"
#include "ui_TForm2.h"

namespace {

class SupplierScreen : public MainScreens {
protected:
    // The screen loses the activation to the main screen.
    void leaveToMainScreen() { ASSERT_TRUE(activateForm(f1)); }
    Ui::TForm2Ui& u2() { return f2->controls(); }
    Ui::TForm1Ui& u1() { return f1->controls(); }
    std::string supplierFile() { return readFile(workDir + "data_sup.tab"); }

};

// Each field is a whole line of the file: what it shows after typing or pasting is what a restart
// shows again, and no field becomes the exchange file's end mark "EOF".
TEST_F(SupplierScreen, FieldsHoldOnlyWhatTheirLinesStore) {
    struct Case {
        bool paste;
        QString input, shown;
        std::string bytes;
        int beeps;  // per field
    };
    const Case cases[] = {
        {true,
         QString::fromUtf8("Org\r\nDept\tA\x01"
                           "B\u2028C\u2029D\nE\rF"),
         "Org Dept A B C D E F", "Org Dept A B C D E F", 0},
        {false, QString::fromUtf8("\u0141\u00f3d\u017a;|"), QString::fromUtf8("\u00f3d;|"),
         "\xF3"
         "d;|",
         2},
        {true, QString::fromUtf8("\u6771\u4eac Z\u00fcrich \u20ac"), QString::fromUtf8(" Z\u00fcrich \u20ac"),
         " Z\xFCrich \x80", 0},
        {false, "EOF", "EO", "EO", 1},
        {true, "EOF", "Old", "Old", 0},  // the paste is left out
        {true, "EOF ", "EOF ", "EOF ", 0},
        // The byte-order mark's bytes as Windows-1252 letters: the file would be read as UTF-8.
        {false, QString::fromUtf8("\u00ef\u00bb\u00bfA"), QString::fromUtf8("\u00ef\u00bbA"),
         "\xEF\xBB"
         "A",
         1},
        {true, QString::fromUtf8("\u00ef\u00bb\u00bfLand"), "Old", "Old", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        writeFile(workDir + "data_sup.tab", tenLines(std::vector<std::string>(10, "Old")));
        startUp();
        ASSERT_TRUE(activateForm(f2));
        for (QLineEdit* edit : f2->findChildren<QLineEdit*>()) {
            const int before = platform::refusedKeyCount();
            if (c.paste)
                platform::testing::pasteInto(edit, c.input);
            else
                typeInto(edit, c.input);
            EXPECT_EQ(platform::refusedKeyCount() - before, c.beeps) << edit->objectName().toStdString();
        }
        if (c.shown != "Old") DialogScript::answer(Button::Yes);  // Save changes?
        leaveToMainScreen();
        EXPECT_EQ(supplierFile(), tenLines(std::vector<std::string>(10, c.bytes)));

        startUp();
        ASSERT_TRUE(activateForm(f2));
        for (QLineEdit* edit : f2->findChildren<QLineEdit*>())
            EXPECT_EQ(edit->text(), c.shown) << edit->objectName().toStdString();
    }
}

TEST_F(SupplierScreen, WithoutAFileLeavingWritesTenLinesWithoutAQuestion) {
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f1));
    EXPECT_FALSE(u1().BitBtn3->isEnabled());
    ASSERT_TRUE(activateForm(f2));
    EXPECT_EQ(f2->activeControl(), u2().country);
    EXPECT_FALSE(u2().Button1->isEnabled());
    typeInto(u2().country, "Land");
    typeInto(u2().organ, "Institute");
    EXPECT_TRUE(u2().Button1->isEnabled());
    EXPECT_EQ(u1().organ->text(), "Institute");
    typeInto(u2().city, "Town");
    typeInto(u2().resp_person, "A. Person");
    leaveToMainScreen();
    EXPECT_EQ(supplierFile(), tenLines({"Land", "Institute", "Town", "", "", "", "", "", "", "A. Person"}));
    EXPECT_TRUE(DialogScript::boxes().empty());
    EXPECT_EQ(p.aq.supplier_org, "Institute");
    EXPECT_EQ(p.aq.supplier_country, "Land");
    EXPECT_EQ(p.aq.supplier_city, "Town");
    EXPECT_TRUE(u1().BitBtn3->isEnabled());
    EXPECT_TRUE(u1().BitBtn4->isEnabled());
    EXPECT_TRUE(u1().chars->isEnabled());
    EXPECT_TRUE(u1().data_menu->isEnabled());
}

TEST_F(SupplierScreen, UnchangedScreenWritesNothing) {
    // A file of three lines with bare line ends: a rewrite would show.
    writeFile(workDir + "data_sup.tab", "Land\nInstitute\nTown\n");
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f2));
    EXPECT_EQ(u2().country->text(), "Land");
    EXPECT_EQ(u2().organ->text(), "Institute");
    EXPECT_EQ(u2().city->text(), "Town");
    EXPECT_EQ(u2().street->text(), "");
    EXPECT_EQ(u2().resp_person->text(), "");
    EXPECT_EQ(p.aq.supplier_changed, 0);
    EXPECT_TRUE(u2().Button1->isEnabled());
    leaveToMainScreen();
    EXPECT_EQ(supplierFile(), "Land\nInstitute\nTown\n");
    EXPECT_TRUE(DialogScript::boxes().empty());
}

TEST_F(SupplierScreen, AnsweringNoKeepsTheFileAndTheNextActivationBringsItsTextBack) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute", "Town", "", "", "", "", "123"}));
    startUp();
    ASSERT_TRUE(activateForm(f2));
    typeInto(u2().tel, "999");
    DialogScript::answer(Button::No);
    leaveToMainScreen();
    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(DialogScript::boxes()[0].text, "Save changes?");
    EXPECT_EQ(DialogScript::boxes()[0].kind, platform::BoxKind::Confirmation);
    EXPECT_EQ(supplierFile(), tenLines({"Land", "Institute", "Town", "", "", "", "", "123"}));
    EXPECT_EQ(u2().tel->text(), "999");
    ASSERT_TRUE(activateForm(f2));
    EXPECT_EQ(u2().tel->text(), "123");
}

TEST_F(SupplierScreen, EmptiedOrganisationSavedClosesTheWayToTheRecordScreens) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute", "Town"}));
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f1));
    EXPECT_TRUE(u1().BitBtn4->isEnabled());
    ASSERT_TRUE(activateForm(f2));
    typeInto(u2().organ, "");
    EXPECT_FALSE(u2().Button1->isEnabled());
    DialogScript::answer(Button::Yes);
    u2().BitBtn1->click();  // &Close hides the screen
    EXPECT_TRUE(f2->isHidden());
    EXPECT_EQ(supplierFile(), tenLines({"Land", "", "Town"}));
    EXPECT_EQ(p.aq.supplier_org, "");
    EXPECT_FALSE(u1().BitBtn3->isEnabled());
    EXPECT_FALSE(u1().BitBtn4->isEnabled());
    EXPECT_FALSE(u1().chars->isEnabled());
    EXPECT_FALSE(u1().data_menu->isEnabled());
}

TEST_F(SupplierScreen, NextHidesTheScreenAndShowsTheLocationScreen) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f2));
    typeInto(u2().email, "a@b.c");
    DialogScript::answer(Button::Yes);
    platform::testing::pressKey(u2().email, Qt::Key_Return);  // Enter presses "&Next"
    EXPECT_TRUE(f2->isHidden());
    EXPECT_TRUE(p.Form3->isVisible());
    EXPECT_TRUE(p.Form3->isActiveForm());
    EXPECT_EQ(supplierFile(), tenLines({"Land", "Institute", "", "", "", "", "a@b.c"}));
}

TEST_F(SupplierScreen, WriteFailureKeepsTheOldFileAndTheMainScreensState) {
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    Program& p = startUp();
    ASSERT_TRUE(activateForm(f1));
    ASSERT_TRUE(activateForm(f2));
    typeInto(u2().organ, "");
    runtime::testing::failNextRename();
    DialogScript::answer(Button::Yes);  // Save changes?
    DialogScript::answer(Button::Ok);   // the error
    leaveToMainScreen();
    EXPECT_EQ(supplierFile(), tenLines({"Land", "Institute"}));
    EXPECT_EQ(p.aq.supplier_org, "Institute");
    EXPECT_TRUE(u1().BitBtn3->isEnabled());
    EXPECT_EQ(DialogScript::boxes().size(), 2u);
}

TEST_F(SupplierScreen, AFileThatCouldNotBeReadIsNotRewritten) {
    // Writable but not readable for a user without root's powers, in a folder that takes new files.
    const std::string path = workDir + "data_sup.tab";
    writeFile(path, tenLines({"Land", "Institute"}));
    ::chmod(path.c_str(), 0222);
    ::chmod(workDir.c_str(), 0777);
    std::vector<QString> shown;
    const auto run = runtime::testing::runUnprivileged(workDir, [&] {
        DialogScript::answer(Button::Ok);  // the start-up's read of the file
        startUp();
        DialogScript::answer(Button::Ok);  // the activation's read
        if (!activateForm(f2)) return false;
        typeInto(u2().organ, "Other");
        DialogScript::answer(Button::Ok);  // the refusal
        leaveToMainScreen();
        return DialogScript::boxes().size() == 2 &&
               DialogScript::boxes()[1].text ==
                   QStringLiteral("\"data_sup.tab\" could not be read (File access denied). It is not changed.");
    });
    if (run == runtime::testing::ReadOnlyRun::CannotRun) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    EXPECT_EQ(supplierFile(), tenLines({"Land", "Institute"}));
}

TEST_F(SupplierScreen, UnderTheUsersLocaleItsLettersAreStoredInItsCodePageAndComeBack) {
    struct Case {
        const char* locale;
        int codePage;
        const char* typed;
        std::string stored;
    };
    const Case cases[] = {{"pl_PL.UTF-8", 1250, "\xC5\x81\xC3\xB3\x64\xC5\xBA", "\xA3\xF3\x64\x9F"},  // "Łódź"
                          {"de_DE.UTF-8", 1252, "Z\xC3\xBCrich", "Z\xFCrich"}};
    // The process locale as the program's start takes it; the locale and the code page put back afterwards.
    struct LocaleBack {
        std::string before = std::setlocale(LC_ALL, nullptr);
        int codePageBefore = runtime::codePage();
        ~LocaleBack() {
            std::setlocale(LC_ALL, before.c_str());
            runtime::setCodePage(codePageBefore);
        }
    } localeBack;
    writeFile(workDir + "data_sup.tab", tenLines({"Land", "Institute"}));
    startUp();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.locale);
        ASSERT_NE(std::setlocale(LC_ALL, c.locale), nullptr) << "the locale is not installed";
        ASSERT_STREQ(std::setlocale(LC_CTYPE, nullptr), c.locale);
        runtime::setCodePageOfProcessLocale();
        ASSERT_EQ(runtime::codePage(), c.codePage);
        ASSERT_TRUE(activateForm(f2));
        typeInto(u2().city, QString());
        for (const QChar ch : QString::fromUtf8(c.typed)) {  // letters beyond ASCII, key by key
            QTest::sendKeyEvent(QTest::Press, u2().city, Qt::Key_unknown, QString(ch), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, u2().city, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        DialogScript::answer(Button::Yes);  // Save changes?
        leaveToMainScreen();
        EXPECT_EQ(supplierFile(), tenLines({"Land", "Institute", c.stored}));
        ASSERT_TRUE(activateForm(f2));  // the activation reads the file again
        EXPECT_EQ(u2().city->text(), QString::fromUtf8(c.typed));
        leaveToMainScreen();
    }
}

TEST_F(SupplierScreen, AUtf8FileWithItsMarkIsWrittenBackInTheCodePageUnlessItHoldsOtherLetters) {
    const std::string mark = "\xEF\xBB\xBF";
    writeFile(workDir + "data_sup.tab", mark + tenLines({"Land", "Z\xC3\xBCrich"}));
    startUp();
    ASSERT_TRUE(activateForm(f2));
    EXPECT_EQ(u2().organ->text(), QString::fromUtf8("Z\xC3\xBCrich"));
    typeInto(u2().city, "Town");
    DialogScript::answer(Button::Yes);  // Save changes?
    leaveToMainScreen();
    EXPECT_EQ(supplierFile(), tenLines({"Land", "Z\xFCrich", "Town"}));

    // 東 has no byte in the code page: the read stops there, and the file is not rewritten.
    const std::string east = mark + tenLines({"Land", "\xE6\x9D\xB1"});
    writeFile(workDir + "data_sup.tab", east);
    DialogScript::clearShown();
    DialogScript::answer(Button::Ok);  // the activation's read
    ASSERT_TRUE(activateForm(f2));
    typeInto(u2().organ, "Other");
    DialogScript::answer(Button::Ok);  // the refusal
    leaveToMainScreen();
    const QString stop =
        QStringLiteral("Line 2 of \"data_sup.tab\" holds a character that code page 1252 cannot hold.");
    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(DialogScript::boxes()[0].text, stop);
    EXPECT_EQ(DialogScript::boxes()[1].text, "\"data_sup.tab\" could not be read (" + stop + "). It is not changed.");
    EXPECT_EQ(supplierFile(), east);
}

TEST_F(SupplierScreen, PrintShowsTheProgrammeLabelsOnlyWhilePrinting) {
    startUp();
    ASSERT_TRUE(activateForm(f2));
    EXPECT_TRUE(u2().Label65->isHidden());
    EXPECT_EQ(u2().Label66->text(), "Zelk Data collection programme");
    struct Page {
        bool programmeShown, issuerShown, panelShown;
    };
    const QString pdf = QString::fromStdString(scratchFile("supplier.pdf"));
    PrintedPages printed;
    const auto pages = printed.printOnce(pdf, [&] { u2().BitBtn2->click(); }, [&](QWidget& screen) {
        return Page{u2().Label66->isVisibleTo(&screen), u2().Label65->isVisibleTo(&screen),
                    u2().Panel1->isVisibleTo(&screen)};
    });
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_TRUE(pages[0].programmeShown);
    EXPECT_TRUE(pages[0].issuerShown);
    EXPECT_FALSE(pages[0].panelShown);
    EXPECT_TRUE(printed.showsInk(0, *f2, *u2().Label66));
    EXPECT_TRUE(printed.showsInk(0, *f2, *u2().Label65));
    EXPECT_TRUE(QFile::exists(pdf));
    EXPECT_TRUE(u2().Label65->isHidden());
    EXPECT_TRUE(u2().Label66->isHidden());
    EXPECT_FALSE(u2().Panel1->isHidden());
}

}  // namespace
