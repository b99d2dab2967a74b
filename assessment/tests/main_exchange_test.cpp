// The data-exchange file from the main screen: writing, loading and converting.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include <filesystem>

#include "assessment/UNIT3.h"
#include "assessment/Unit4.h"
#include "assessment/core/AqRecord.h"
#include "assessment/tests/main_fixture.h"
#include "platform/testing/GuiTest.h"
#include "runtime/Errors.h"
#include "runtime/testing/ReadOnlyFolder.h"
#include "ui_TForm1.h"
#include "ui_TForm2.h"
#include "ui_TForm3.h"
#include "ui_TForm4.h"

namespace {

std::string record(int pollutant, const std::string& tail = ";;;") {
    return ProgramFixture::dataLine({{assessment::kFieldPollutant, pollutant}, {assessment::kFieldYear, 2001}}, tail);
}

const std::string kTowns = "0 45|12|Old Town\r\n";
const std::string kEndpoints = "0 Mortality\r\n1 Admissions\r\n";
const std::string kSupplier = "Land\r\nInstitute\r\nCity\r\n";
// The first line of a parameter file of the earlier version: ten blanks.
const std::string kEarlierParams = "2 0 1.0E+0003 1.006 1.004 1.008 0 3 0 x y\r\n";

class ExchangeFile : public MainScreens {
protected:
    Ui::TForm1Ui& u1() { return f1->controls(); }
    void writeWorkingFiles(const std::string& data) {
        writeFile(workDir + "town.tab", kTowns);
        writeFile(workDir + "endp.tab", kEndpoints);
        writeFile(workDir + "params.tab", defaultParams());
        writeFile(workDir + "data_sup.tab", kSupplier);
        writeFile(workDir + "data_rec.dat", data);
    }
    std::string exchangeFile(const std::string& params, const std::string& data) {
        return "h1\r\n" + kTowns + "EOF\r\nh2\r\n" + kEndpoints + "EOF\r\nh3\r\n" + params + "EOF\r\nh4\r\n" +
               kSupplier + "EOF\r\nh5\r\n" + data + "EOF\r\n";
    }
    std::string kdf() const { return workDir + "../data.kdf"; }
    // Answers the overwrite question, the open dialog and then the boxes of the load in order.
    void load(const std::string& path, std::initializer_list<Button> later = {}) {
        DialogScript::answer(Button::Yes);
        DialogScript::answerFile(QString::fromStdString(path));
        for (Button button : later) DialogScript::answer(button);
        u1().Importdata1->trigger();
    }
};

TEST_F(ExchangeFile, ExportWritesTheFiveFilesAsSections) {
    writeWorkingFiles(record(2));
    startUp();
    DialogScript::answerFile(QString::fromStdString(kdf()));
    u1().BitBtn6->click();
    ASSERT_EQ(DialogScript::fileDialogs().size(), 1u);
    const auto& dialog = DialogScript::fileDialogs()[0];
    EXPECT_EQ(dialog.kind, platform::testing::ShownFileDialog::Save);
    EXPECT_EQ(dialog.options.fileName, "data.kdf");
    EXPECT_EQ(dialog.options.defaultExt, "kdf");
    EXPECT_TRUE(dialog.options.overwritePrompt);
    EXPECT_TRUE(dialog.options.filter.contains("*.kdf"));
    EXPECT_EQ(readFile(kdf()), workDir + "town.tab\r\n" + kTowns + "EOF\r\n" + workDir + "endp.tab\r\n" + kEndpoints +
                                   "EOF\r\n" + workDir + "params.tab\r\n" + defaultParams() + "EOF\r\n" + workDir +
                                   "data_sup.tab\r\n" + kSupplier + "EOF\r\n" + workDir + "data_rec.dat\r\n" +
                                   record(2) + "EOF\r\n");
    EXPECT_TRUE(DialogScript::boxes().empty());
}

TEST_F(ExchangeFile, ExportWithoutSavedParametersCarriesTheDefaultsInUse) {
    writeWorkingFiles(record(2));
    std::filesystem::remove(workDir + "params.tab");
    Program& p = startUp();
    DialogScript::answerFile(QString::fromStdString(kdf()));
    u1().Export1->trigger();
    EXPECT_TRUE(DialogScript::boxes().empty());
    EXPECT_EQ(p.aq.tmp_name, workDir + "data_rec.dat");
    const std::string section = programDir + "params.tav\r\n" + defaultParams() + "EOF\r\n";
    EXPECT_NE(readFile(kdf()).find(workDir + "endp.tab\r\n" + kEndpoints + "EOF\r\n" + section), std::string::npos);

    // A source that is missing is reported, and an earlier exchange file stays as it was.
    std::filesystem::remove(workDir + "endp.tab");
    writeFile(kdf(), "older export\r\n");
    DialogScript::answerFile(QString::fromStdString(kdf()));
    DialogScript::answer(Button::Ok);
    u1().Export1->trigger();
    EXPECT_EQ(platform::testing::lastBoxText(), "File not found");
    EXPECT_EQ(readFile(kdf()), "older export\r\n");
    EXPECT_EQ(p.aq.tmp_name, workDir + "endp.tab");
}

TEST_F(ExchangeFile, LoadGivesBackEveryFileAndReloadsTheScreens) {
    writeWorkingFiles(record(2, "Low;High;Net;Body"));
    Program& p = startUp();
    DialogScript::answerFile(QString::fromStdString(kdf()));
    u1().Export1->trigger();
    const std::string exported = readFile(kdf());

    writeFile(workDir + "town.tab", "");
    writeFile(workDir + "endp.tab", "0 Other\r\n");
    writeFile(workDir + "params.tab", "");
    writeFile(workDir + "data_sup.tab", "Elsewhere\r\n");
    writeFile(workDir + "data_rec.dat", record(5));
    load(kdf(), {Button::Ok});  // Exists: the data file, named last by the load

    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(DialogScript::boxes()[0].helpContext, 8);
    EXPECT_EQ(DialogScript::boxes()[0].text, "This operation will overwrite datafiles. Continue?");
    EXPECT_EQ(DialogScript::boxes()[1].text, QString::fromStdString("Exists: " + workDir + "data_rec.dat"));
    const auto& dialog = DialogScript::fileDialogs().back();
    EXPECT_EQ(dialog.kind, platform::testing::ShownFileDialog::Open);
    EXPECT_TRUE(dialog.options.mustExist);
    EXPECT_EQ(readFile(workDir + "town.tab"), kTowns);
    EXPECT_EQ(readFile(workDir + "endp.tab"), kEndpoints);
    EXPECT_EQ(readFile(workDir + "params.tab"), defaultParams());
    EXPECT_EQ(readFile(workDir + "data_sup.tab"), kSupplier);
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), record(2, "Low;High;Net;Body"));
    EXPECT_EQ(readFile(kdf()), exported);
    EXPECT_FALSE(std::filesystem::exists(workDir + "rec.tmp"));
    EXPECT_EQ(p.aq.supplier_org, "Institute");
    EXPECT_EQ(f2->controls().country->text(), "Land");
    EXPECT_EQ(p.Form3->controls().agglom->itemText(0), "Old Town");
    EXPECT_EQ(p.aq.endpoints.endpoint_names.back(), "Admissions");
    EXPECT_EQ(p.aq.cur_record, 1);
}

TEST_F(ExchangeFile, LoadWithATargetThatCannotBeWrittenIsRefusedAndChangesNothing) {
    namespace fs = std::filesystem;
    writeWorkingFiles(record(2));
    startUp();
    writeFile(kdf(), exchangeFile(defaultParams(), record(4)));
    writeFile(workDir + "town.tab", "1 1|1|Kept\r\n");
    const auto refusal = [this](const std::string& name, const char* reason) {
        return QString::fromStdString("\"" + workDir + name + "\" cannot be written: " + reason +
                                      " No working file is changed.");
    };
    const auto unchanged = [this] {
        return readFile(workDir + "town.tab") == "1 1|1|Kept\r\n" && readFile(workDir + "endp.tab") == kEndpoints &&
               readFile(workDir + "data_rec.dat") == record(2);
    };
    // The supplier file, fourth of the five, is a folder: the first three are not replaced either.
    fs::remove(workDir + "data_sup.tab");
    fs::create_directory(workDir + "data_sup.tab");
    load(kdf(), {Button::Ok});
    EXPECT_EQ(
        platform::testing::lastBoxText(),
        refusal("data_sup.tab", ("File access denied. " + workDir + "data_sup.tab is not a regular file.").c_str()));
    EXPECT_TRUE(unchanged());

    // A write-protected supplier file, for a user without root's powers.
    fs::remove(workDir + "data_sup.tab");
    writeFile(workDir + "data_sup.tab", kSupplier);
    for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_rec.dat"})
        fs::permissions(workDir + name, static_cast<fs::perms>(0666));
    fs::permissions(workDir + "data_sup.tab", static_cast<fs::perms>(0444));
    fs::permissions(workDir, static_cast<fs::perms>(0777));
    DialogScript::clearShown();
    const auto run = runtime::testing::runUnprivileged(workDir, [&] {
        load(kdf(), {Button::Ok});
        return platform::testing::lastBoxText() == refusal("data_sup.tab", "File access denied.") && unchanged();
    });
    if (run == runtime::testing::ReadOnlyRun::CannotRun) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    EXPECT_TRUE(unchanged());
}

TEST_F(ExchangeFile, LoadFirstClosesTheOpenScreensSoThatNoEditLandsOnALoadedRecord) {
    writeWorkingFiles(record(2));
    Program& p = startUp();
    writeFile(kdf(), exchangeFile(defaultParams(), record(4)));
    ASSERT_TRUE(activateForm(p.Form4));
    typeInto(p.Form4->controls().Editwin_days, QStringLiteral("170"));
    ASSERT_TRUE(activateForm(f1));
    load(kdf(), {Button::No, Button::Ok});  // Save changes?; Exists: the data file
    EXPECT_EQ(DialogScript::boxes()[1].text, "Save changes?");
    EXPECT_FALSE(p.Form4->isVisible());
    u1().BitBtn1->click();  // "&Quit": nothing left to ask
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), record(4));
}

TEST_F(ExchangeFile, LoadAnsweredNoDoesNothing) {
    writeWorkingFiles(record(2));
    startUp();
    DialogScript::answer(Button::No);
    u1().Importdata1->trigger();
    EXPECT_TRUE(DialogScript::fileDialogs().empty());
    EXPECT_EQ(DialogScript::boxes().size(), 1u);
}

TEST_F(ExchangeFile, EarlierVersionReplacedParametersAndConvertedPollutants) {
    writeWorkingFiles(record(0));
    Program& p = startUp();
    writeFile(kdf(), exchangeFile(kEarlierParams, record(7, "a;b;c;d") + record(8) + record(14)));
    // The earlier-version note, Yes to replacing the parameter file, the note to copy params.tav.
    load(kdf(), {Button::Ok, Button::Yes, Button::Ok});
    ASSERT_EQ(DialogScript::boxes().size(), 4u);  // no "Exists: ": rec.tmp is gone
    EXPECT_EQ(DialogScript::boxes()[1].text,
              "The imported file is from an earlier version of Zelk; Please check data and create a new tav file");
    EXPECT_EQ(DialogScript::boxes()[2].text, "Replace parameter file with updated TAV file? (Recommended)");
    EXPECT_EQ(DialogScript::boxes()[2].helpContext, 9);
    EXPECT_EQ(DialogScript::boxes()[3].text,
              "Please copy file params.tav from the Zelk directory to current directory");
    EXPECT_FALSE(std::filesystem::exists(workDir + "params.tab"));
    EXPECT_EQ(p.aq.text_file3, programDir + "params.tav");
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), record(7, "a;b;c;d") + record(9) + record(15));
    EXPECT_FALSE(std::filesystem::exists(workDir + "rec.tmp"));
}

TEST_F(ExchangeFile, EarlierVersionKeptParametersButConvertedPollutants) {
    writeWorkingFiles(record(0));
    startUp();
    writeFile(kdf(), exchangeFile(kEarlierParams, record(8)));
    load(kdf(), {Button::Ok, Button::No});
    EXPECT_EQ(readFile(workDir + "params.tab"), kEarlierParams);
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), record(9));
}

TEST_F(ExchangeFile, FileEndingInsideASectionEndsTheProgramAndReplacesNothing) {
    writeWorkingFiles(record(2));
    startUp();
    std::string broken = exchangeFile(defaultParams(), record(4));
    broken.resize(broken.size() - std::string("EOF\r\n").size());
    writeFile(kdf(), broken);
    writeFile(workDir + "town.tab", "1 1|1|Kept\r\n");
    DialogScript::answer(Button::Yes);
    DialogScript::answerFile(QString::fromStdString(kdf()));
    DialogScript::answer(Button::Ok);
    try {
        f1->Importdata1Click();
        ADD_FAILURE() << "the program went on";
    } catch (const runtime::ExitProgram& exit) {
        EXPECT_EQ(exit.code(), 3);
    }
    EXPECT_EQ(platform::testing::lastBoxText(), "File cannot be loaded. Incorrect data.");
    EXPECT_EQ(readFile(workDir + "town.tab"), "1 1|1|Kept\r\n");
    EXPECT_EQ(readFile(workDir + "data_sup.tab"), kSupplier);
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), record(2));
}

}  // namespace
