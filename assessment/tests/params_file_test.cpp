// The parameters screen's file commands: "&Save" into "params.tab", "&Default", "Add" of an
// endpoint and what the endpoint box takes, and the parameter file at creation.
#include <filesystem>

#include "assessment/tests/params_fixture.h"
#include "platform/TextFieldRule.h"
#include "runtime/Errors.h"

using platform::Button;
using platform::refusedKeyCount;
using namespace platform::testing;

TEST_F(ParamsScreen, SaveWritesParamsTabAndLeavesTheShippedFileAlone) {
    openWithShippedParams();
    // Only the incidence changed: the certainty stays.
    typeInto(u().editb_inc, QStringLiteral("1200"));
    answerNextBox(Button::Yes);
    pressButton(u().BitBtn3);
    EXPECT_EQ(lastBoxText(), QStringLiteral("Save record?"));
    EXPECT_EQ(readFile(programDir + "params.tav"), shippedParams());
    EXPECT_FALSE(std::filesystem::exists(workDir + "params.tav"));
    EXPECT_FALSE(std::filesystem::exists(workDir + "rec.tmp"));
    EXPECT_EQ(p->aq.text_file3, workDir + "params.tab");
    // The saved record at full precision, the others as read, at single precision.
    EXPECT_EQ(readFile(workDir + "params.tab"),
              paramLine(2, 0, 1200, 1.06L, 1.04L, 1.08L, 0, 3, 0) +
                  paramLine(2, 2, 80, 1.013f, 1.005f, 1.02f, 4, 2, 0) + paramLine(6, 0, 1000, 1.03f, 1.01f, 1.04f, 0, 3, 0));

    // A changed risk stores certainty 0; a new pair is appended.
    typeInto(u().rr, num("1.07"));
    chooseComboItem(u().no_imp, 1);
    answerNextBox(Button::Yes);
    pressButton(u().BitBtn3);
    EXPECT_EQ(u().strength->currentText(), QStringLiteral("UNKNOWN"));
    const std::string changed = paramLine(2, 0, 1200, 1.07L, 1.04L, 1.08L, 1, 0, 0);
    EXPECT_EQ(readFile(workDir + "params.tab").substr(0, changed.size()), changed);
    chooseComboItem(u().endpoint, 7);
    typeInto(u().editb_inc, QStringLiteral("50"));
    for (QLineEdit* edit : {u().rr, u().rr_l, u().rr_u}) typeInto(edit, num("1.1"));
    answerNextBox(Button::Yes);
    pressButton(u().BitBtn3);
    EXPECT_EQ(readFile(workDir + "params.tab"),
              paramLine(2, 0, 1200, 1.07f, 1.04f, 1.08f, 1, 0, 0) +
                  paramLine(2, 2, 80, 1.013f, 1.005f, 1.02f, 4, 2, 0) + paramLine(6, 0, 1000, 1.03f, 1.01f, 1.04f, 0, 3, 0) +
                  paramLine(2, 7, 50, 1.1L, 1.1L, 1.1L, 0, 0, 0));
    EXPECT_EQ(readFile(programDir + "params.tav"), shippedParams());
}

TEST_F(ParamsScreen, NewRecordIsSavedInTheShownClassWidth) {
    // The file's last record refers to classes per 5 µg/m3; the current record has classes per 10.
    startWith(shippedParams() + paramLine(7, 9, 1, 1, 1, 1, 0, 0, 1));
    publishRecord(2, 0);
    open();
    chooseComboItem(u().endpoint, 5);
    typeInto(u().editb_inc, QStringLiteral("40"));
    for (QLineEdit* edit : {u().rr, u().rr_l, u().rr_u}) typeInto(edit, num("1.02"));
    answerNextBox(Button::Yes);
    pressButton(u().BitBtn3);
    const std::string saved = readFile(workDir + "params.tab");
    const std::string added = paramLine(2, 5, 40, 1.02L, 1.02L, 1.02L, 0, 0, 0);
    ASSERT_GE(saved.size(), added.size());
    EXPECT_EQ(saved.substr(saved.size() - added.size()), added);

    // A certainty typed that names no item is stored as -1 and loads as an empty box.
    typeInto(u().strength, QStringLiteral("SURE"));
    typeInto(u().editb_inc, QStringLiteral("41"));
    answerNextBox(Button::Yes);
    pressButton(u().BitBtn3);
    const std::string typed = paramLine(2, 5, 41, 1.02L, 1.02L, 1.02L, 0, -1, 0);
    const std::string resaved = readFile(workDir + "params.tab");
    EXPECT_EQ(resaved.substr(resaved.size() - typed.size()), typed);
    chooseComboItem(u().endpoint, 0);
    chooseComboItem(u().endpoint, 5);
    EXPECT_EQ(u().editb_inc->text(), QStringLiteral("41"));
    EXPECT_TRUE(u().strength->currentText().isEmpty());
}

TEST_F(ParamsScreen, SaveNeedsAListedEndpoint) {
    TForm5& form = openWithShippedParams();
    typeInto(u().endpoint, QStringLiteral("Something else"));
    for (QLineEdit* edit : {u().rr, u().rr_l, u().rr_u}) typeInto(edit, num("1.1"));
    typeInto(u().editb_inc, QStringLiteral("10"));
    answerNextBox(Button::Ok);
    pressButton(u().BitBtn3);
    EXPECT_EQ(lastBoxText(), QString::fromLatin1(assessment::kNoEndpointMessage));
    EXPECT_EQ(form.activeControl(), u().endpoint);
    EXPECT_FALSE(std::filesystem::exists(workDir + "params.tab"));
}

TEST_F(ParamsScreen, DefaultRestoresTheShippedRecords) {
    openWithShippedParams();
    // Without "params.tab" the shipped record comes back without a question.
    typeInto(u().rr, num("1.5"));
    pressButton(u().Button5);
    EXPECT_EQ(boxCount(), 0u);
    EXPECT_EQ(u().rr->text(), num("1.06"));

    typeInto(u().rr, num("1.5"));
    answerNextBox(Button::Yes);
    pressButton(u().BitBtn3);
    const std::string saved = readFile(workDir + "params.tab");
    answerNextBox(Button::No);
    pressButton(u().Button5);
    EXPECT_EQ(lastBoxText(), QStringLiteral("All changes will be lost; Continue?"));
    EXPECT_EQ(readFile(workDir + "params.tab"), saved);
    EXPECT_EQ(u().rr->text(), num("1.5"));

    answerNextBox(Button::Yes);
    pressButton(u().Button5);
    EXPECT_EQ(readFile(workDir + "params.tab"), paramLine(2, 0, 1000, 1.06f, 1.04f, 1.08f, 0, 3, 0) +
                                                     paramLine(2, 2, 80, 1.013f, 1.005f, 1.02f, 4, 2, 0) +
                                                     paramLine(6, 0, 1000, 1.03f, 1.01f, 1.04f, 0, 3, 0));
    EXPECT_EQ(u().rr->text(), num("1.06"));
    EXPECT_EQ(u().strength->currentText(), QStringLiteral("HIGH"));
    EXPECT_TRUE(gridIsStale());

    // Without the shipped file the program cannot go on; the user's file stays as it was.
    const std::string restored = readFile(workDir + "params.tab");
    std::filesystem::remove(programDir + "params.tav");
    answerNextBox(Button::Yes);
    answerNextBox(Button::Ok);
    int code = 0;
    try {
        p->Form5->Button5Click();
    } catch (const runtime::ExitProgram& exit) {
        code = exit.code();
    }
    EXPECT_EQ(code, 2);
    EXPECT_EQ(lastBoxText(), QStringLiteral("File not found. Please reinstall the application."));
    EXPECT_EQ(readFile(workDir + "params.tab"), restored);
}

TEST_F(ParamsScreen, AddAppendsANewEndpointOnceWhateverTheCase) {
    openWithShippedParams();
    ASSERT_EQ(u().endpoint->count(), 18);
    EXPECT_EQ(u().endpoint->itemText(17), QStringLiteral("Asthma Attacks Adults"));
    const std::string builtins = readFile(workDir + "endp.tab");
    EXPECT_EQ(builtins.substr(0, 19), "0 Total Mortality\r\n");

    typeInto(u().endpoint, QStringLiteral("Lung Cancer"));
    pressButton(u().Button2);
    ASSERT_EQ(u().endpoint->count(), 19);
    EXPECT_EQ(u().endpoint->itemText(18), QStringLiteral("Lung Cancer"));
    EXPECT_EQ(u().endpoint->currentText(), QStringLiteral("Lung Cancer"));
    EXPECT_EQ(readFile(workDir + "endp.tab"), builtins + "18 Lung Cancer\r\n");

    typeInto(u().endpoint, QStringLiteral("LUNG cancer"));
    pressButton(u().Button2);
    EXPECT_EQ(u().endpoint->count(), 19);
    EXPECT_EQ(readFile(workDir + "endp.tab"), builtins + "18 Lung Cancer\r\n");

    // The new endpoint is chosen like any other; it has no record yet.
    chooseComboItem(u().endpoint, 18);
    EXPECT_TRUE(u().rr->text().isEmpty());
}

// A name is the rest of its line of "endp.tab": what the box shows after typing or pasting is what
// "Add" stores and a restart lists.
TEST_F(ParamsScreen, EndpointNamesHoldOnlyWhatTheEndpointFileStores) {
    struct Case {
        bool paste;
        QString input, shown;
        std::string bytes;
        int beeps;
    };
    const Case cases[] = {
        {true,
         QString::fromUtf8("Lung\r\nCancer\tA\x01"
                           "B\u2028C\u2029D;|"),
         "Lung Cancer A B C D;|", "Lung Cancer A B C D;|", 0},
        {false, QString::fromUtf8("\u0141\u00f3d\u017a"), QString::fromUtf8("\u00f3d"),
         "\xF3"
         "d",
         2},
        {true, QString::fromUtf8("\u6771\u4eac Z\u00fcrich \u20ac"), QString::fromUtf8(" Z\u00fcrich \u20ac"),
         " Z\xFCrich \x80", 0},
        {true, QString(60, QLatin1Char('e')), QString(49, QLatin1Char('e')), std::string(49, 'e'), 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.input.toStdString());
        std::filesystem::remove(workDir + "endp.tab");
        openWithShippedParams();
        const std::string builtins = readFile(workDir + "endp.tab");
        const int before = refusedKeyCount();
        if (c.paste)
            pasteInto(u().endpoint, c.input);
        else
            typeInto(u().endpoint, c.input);
        EXPECT_EQ(refusedKeyCount() - before, c.beeps);
        EXPECT_EQ(u().endpoint->currentText(), c.shown);
        pressButton(u().Button2);  // "Add"
        EXPECT_EQ(readFile(workDir + "endp.tab"), builtins + "18 " + c.bytes + "\r\n");

        p = &restart();
        ASSERT_EQ(u().endpoint->count(), 19);
        EXPECT_EQ(u().endpoint->itemText(18), c.shown);
    }
}

TEST_F(ParamsScreen, CreationWithoutAnyParameterFileEndsTheProgramWithCodeTwo) {
    startWith(shippedParams());
    std::filesystem::remove(programDir + "params.tav");
    answerNextBox(Button::Ok);
    int code = 0;
    try {
        TForm5 second;
    } catch (const runtime::ExitProgram& exit) {
        code = exit.code();
    }
    EXPECT_EQ(code, 2);
    EXPECT_EQ(lastBoxText(), QStringLiteral("File not found. Please reinstall the application."));

    // A "params.tab" in the working directory is enough.
    writeFile(workDir + "params.tab", shippedParams());
    TForm5 third;
    EXPECT_EQ(p->aq.text_file3, workDir + "params.tab");
}
