// Start-ups in working directories with malformed files: every start shows what is wrong in a box
// (or nothing, where the reading rules accept the file), never ends the program, leaves every
// working file as it was while the user only looks through the screens, and the screens still
// come up. Also the load of a truncated and of a garbage data-exchange file.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTimer>

#include <algorithm>
#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "assessment/Program.h"
#include "assessment/UNIT3.h"
#include "assessment/Unit1.h"
#include "assessment/Unit2.h"
#include "assessment/Unit4.h"
#include "assessment/Unit5.h"
#include "assessment/Unit6.h"
#include "assessment/Unit7.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/Form.h"
#include "platform/Guard.h"
#include "platform/testing/DialogScript.h"
#include "platform/testing/GuiTest.h"
#include "ui_TForm1.h"
#include "ui_TForm3.h"
#include "ui_TForm4.h"
#include "ui_TForm5.h"

using namespace assessment;
using platform::Button;
using platform::testing::DialogScript;
using platform::testing::activateForm;

namespace {

std::string goodRecord(const std::string& year = "2001", const std::string& tail = "Low;High;Net;Agency") {
    std::string line = "0 2 " + year + " ";
    for (int f = classField(1); f <= AqRecord::kFieldCount; ++f) {
        line += (f == classField(3) || f == kFieldAnnualDays ? "365"
                 : f == kFieldPopulation                      ? "100"
                 : f == kFieldStations                        ? "1"
                                                              : "0") +
                std::string(" ");
    }
    return line + tail + "\r\n";
}

// A data line with the given fields set over a complete record of PM10.
std::string recordWith(const std::map<int, std::string>& fields, const std::string& tail = ";;;") {
    std::string line;
    for (int f = 1; f <= AqRecord::kFieldCount; ++f) {
        const auto it = fields.find(f);
        line += (it != fields.end()                           ? it->second
                 : f == kFieldPollutant                       ? std::string("2")
                 : f == kFieldYear                            ? std::string("2001")
                 : f == classField(3) || f == kFieldAnnualDays ? std::string("365")
                 : f == kFieldPopulation                      ? std::string("100")
                 : f == kFieldStations                        ? std::string("1")
                                                              : std::string("0")) +
                " ";
    }
    return line + tail + "\r\n";
}

std::string binaryBlob(std::size_t size) {
    std::string bytes;
    unsigned state = 12345;
    for (std::size_t i = 0; i < size; ++i) {
        state = state * 1103515245u + 12345u;
        bytes += static_cast<char>((state >> 16) & 0xFF);
    }
    return bytes;
}

const std::map<std::string, std::string> kGoodFiles = {
    {"data_rec.dat", goodRecord()},
    {"town.tab", "0 45.1|12.5|Old Town\r\n1 50|8|New Town\r\n"},
    {"endp.tab", "0 Total Mortality\r\n1 Cardiovascular Mortality\r\n2 Respiratory Mortality\r\n"},
    {"params.tab",
     "2 0  1.00000000000000E+0003  1.06000000000000E+0000  1.04000000000000E+0000  1.08000000000000E+0000 0 3 0\r\n"},
    {"data_sup.tab", "Land\r\nInstitute\r\nCapital\r\n\r\n\r\n\r\n\r\n\r\n\r\nA. Person\r\n"},
};

struct Malformed {
    const char* name;   // the test's name
    const char* file;   // the working file replaced
    std::string bytes;  // its malformed content
    const char* message;  // the box every start and browse may show; "" when none is due, "?" any
};

void PrintTo(const Malformed& c, std::ostream* os) { *os << c.name; }

class MalformedFiles : public ProgramFixture {
protected:
    void SetUp() override {
        ProgramFixture::SetUp();
        for (const auto& [name, bytes] : kGoodFiles) writeFile(workDir + name, bytes);
        // Boxes nobody answered are taken as shown (and answered with their default); the test
        // checks their texts afterwards.
        DialogScript::setUnexpectedHandler([](const QString&) {});
    }

    std::map<std::string, std::string> workingFiles() const {
        std::map<std::string, std::string> files;
        for (const auto& entry : std::filesystem::directory_iterator(workDir))
            files[entry.path().filename().string()] = readFile(entry.path().string());
        return files;
    }

    static std::vector<QString> boxTexts() {
        std::vector<QString> texts;
        for (const auto& box : DialogScript::boxes())
            if (!box.text.contains(QStringLiteral("No parameter file found"))) texts.push_back(box.text);
        return texts;
    }

    // Starts the program and looks through its screens from the main screen on, as a user who
    // changes nothing. Every screen must come up.
    Program& startAndBrowse() {
        Program& p = start();
        for (platform::Form* form : std::initializer_list<platform::Form*>{
                 p.Form1, p.Form2, p.Form3, p.Form4, p.Form5, p.Form6, p.Form7, p.Form1}) {
            EXPECT_TRUE(activateForm(form)) << form->objectName().toStdString();
            EXPECT_TRUE(form->isVisible()) << form->objectName().toStdString();
        }
        return p;
    }
};

class MalformedStart : public MalformedFiles, public ::testing::WithParamInterface<Malformed> {};

TEST_P(MalformedStart, ShowsWhatIsWrongChangesNoFileAndShowsTheScreens) {
    const Malformed& c = GetParam();
    writeFile(workDir + c.file, c.bytes);
    const auto before = workingFiles();
    Program& p = startAndBrowse();
    const bool anyBox = std::string(c.message) == "?";
    for (const QString& text : boxTexts()) {
        if (!anyBox) {
            EXPECT_EQ(text.toStdString(), c.message) << c.file;
        }
    }
    if (*c.message && !anyBox) {
        EXPECT_FALSE(boxTexts().empty()) << "no box for a malformed " << c.file;
    }
    EXPECT_EQ(workingFiles(), before);
    // The screens keep their fixed contents.
    EXPECT_EQ(p.Form3->controls().polbox->count(), 16);
    EXPECT_EQ(p.Form5->ui().editpol->count(), 16);
    EXPECT_LE(p.Form3->controls().agglom->count(), 101);
}

std::string townLines(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += std::to_string(i) + " 1|2|Town " + std::to_string(i) + "\r\n";
    return bytes;
}

std::string endpointLines(int count) {
    std::string bytes;
    for (int i = 0; i < count; ++i) bytes += std::to_string(i) + " Endpoint " + std::to_string(i) + "\r\n";
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    WorkingFiles, MalformedStart,
    ::testing::Values(
        Malformed{"GoodFiles", "town.tab", kGoodFiles.at("town.tab"), ""},
        Malformed{"DataEmpty", "data_rec.dat", "", ""},
        Malformed{"TownEmpty", "town.tab", "", ""},
        Malformed{"EndpointsEmpty", "endp.tab", "", ""},
        Malformed{"ParamsEmpty", "params.tab", "", ""},
        Malformed{"SupplierEmpty", "data_sup.tab", "", ""},
        Malformed{"DataShortLine", "data_rec.dat", "0 2 2001 0 0 365\r\n", ""},
        Malformed{"DataLetterInANumber", "data_rec.dat", goodRecord("20x1"), "Invalid numeric input"},
        Malformed{"DataBinary", "data_rec.dat", binaryBlob(4096), "Invalid numeric input"},
        Malformed{"DataLongNumber", "data_rec.dat", std::string(100000, '7') + "\r\n", "Invalid numeric input"},
        Malformed{"DataLongTail", "data_rec.dat", goodRecord("2001", std::string(100000, 'x')), ""},
        Malformed{"DataIndexesOutOfRange", "data_rec.dat",
                  recordWith({{kFieldTown, "5000"}, {kFieldPollutant, "99"}, {kFieldClassWidth, "7"}}), "?"},
        Malformed{"DataNegativeIndexes", "data_rec.dat",
                  recordWith({{kFieldTown, "-1"}, {kFieldPollutant, "-3"}, {kFieldClassWidth, "-2"}}), "?"},
        Malformed{"TownBadFirstNumber", "town.tab", "x 45|12|Old Town\r\n", "Invalid numeric input"},
        Malformed{"Town150Lines", "town.tab", townLines(150), ""},
        Malformed{"TownLongLine", "town.tab", "0 " + std::string(100000, '4') + "|1|" + std::string(100000, 'n') + "|x|y\r\n", ""},
        Malformed{"EndpointsGarbage", "endp.tab", "garbage\r\nmore garbage\r\n", "Invalid numeric input"},
        Malformed{"Endpoints40Lines", "endp.tab", endpointLines(40), ""},
        Malformed{"ParamsGarbage", "params.tab", "2 0 lots of garbage here\r\n", "Invalid numeric input"},
        Malformed{"ParamsOutOfRange", "params.tab",
                  "2 0 1000 1.06 1.04 1.08 99 50 7\r\n2 1 1000 1.06 1.04 1.08 -1 -1 -1\r\n", "?"},
        Malformed{"SupplierBinary", "data_sup.tab", binaryBlob(4096), ""},
        // Saved as UTF-8 by an editor that writes the byte-order mark.
        Malformed{"DataByteOrderMark", "data_rec.dat", "\xEF\xBB\xBF" + goodRecord(), ""},
        Malformed{"TownByteOrderMark", "town.tab", "\xEF\xBB\xBF\x30 45.1|12.5|Z\xC3\xBCrich\r\n", ""},
        Malformed{"TownUtf8BeyondTheCodePage", "town.tab", "\xEF\xBB\xBF\x30 1|2|A\r\n1 1|2|\xE6\x9D\xB1\r\n",
                  "Line 2 of \"town.tab\" holds a character that code page 1252 cannot hold."}),
    [](const ::testing::TestParamInfo<Malformed>& info) { return std::string(info.param.name); });

// CI runs these tests a second time under LC_ALL=de_DE.UTF-8. The start-up, the program's own,
// then took "," from the environment and put the C library's numbers back into "C": the files
// with "." start without a box, and the risks show with ",".
TEST_F(MalformedFiles, UnderAGermanEnvironmentTheGoodFilesStartWithoutABox) {
    const char* all = std::getenv("LC_ALL");
    if (!all || std::string(all) != "de_DE.UTF-8") GTEST_SKIP() << "runs under LC_ALL=de_DE.UTF-8";
    EXPECT_STREQ(std::setlocale(LC_CTYPE, nullptr), "de_DE.UTF-8");  // as the QApplication set it
    EXPECT_STREQ(std::localeconv()->decimal_point, ".");
    EXPECT_EQ(runtime::decimalSeparator(), ',');
    Program& p = startAndBrowse();
    EXPECT_TRUE(boxTexts().empty()) << boxTexts().front().toStdString();
    ASSERT_TRUE(activateForm(p.Form5));
    EXPECT_EQ(p.Form5->ui().rr->text(), "1,06");
}

TEST_F(MalformedFiles, ShortDataLineShowsTheNumbersItHolds) {
    writeFile(workDir + "data_rec.dat", "0 2 2001 0 0 365\r\n");
    Program& p = startAndBrowse();
    EXPECT_EQ(p.Form4->controls().edit3->text(), "365");
    EXPECT_EQ(p.Form4->controls().edit4->text(), "0");
    EXPECT_EQ(p.Form3->controls().year->text(), "2001");
}

TEST_F(MalformedFiles, LongTailIsCutToItsFieldLength) {
    writeFile(workDir + "data_rec.dat", goodRecord("2001", std::string(100000, 'x')));
    Program& p = startAndBrowse();
    EXPECT_EQ(p.Form4->controls().Editlow_name->text(), QString(35, QLatin1Char('x')));
    EXPECT_EQ(p.Form3->controls().netw_affl->text(), "");
}

TEST_F(MalformedFiles, ParametersOutOfTheirListsLoadWithoutHarm) {
    writeFile(workDir + "params.tab", "2 0 1000 1.06 1.04 1.08 99 50 7\r\n2 1 1000 1.06 1.04 1.08 -1 -1 -1\r\n");
    const auto before = workingFiles();
    Program& p = startAndBrowse();
    auto& u = p.Form5->ui();
    ASSERT_TRUE(activateForm(p.Form5));
    for (int endpoint : {1, 0, 2, 1}) platform::testing::chooseComboItem(u.endpoint, endpoint);
    platform::testing::chooseComboItem(u.editpol, 2);  // the pollutant change rebuilds the classes
    platform::testing::chooseComboItem(u.endpoint, 0);
    platform::testing::chooseComboItem(u.editpol, 9);
    EXPECT_EQ(u.no_imp->count(), 24);
    EXPECT_EQ(workingFiles(), before);
}

TEST_F(MalformedFiles, HugeClassCountsReachTheCalculationWithoutOverflow) {
    writeFile(workDir + "data_rec.dat",
              recordWith({{classField(1), "2147483647"}, {classField(2), "2147483647"}, {classField(3), "2147483647"},
                          {kFieldPopulation, "2147483647"}, {kFieldAnnualDays, "0"}}));
    Program& p = startAndBrowse();
    ASSERT_TRUE(activateForm(p.Form4));
    DialogScript::clearShown();
    p.Form4->controls().BitBtn1->click();  // "CALC": the days do not fit a record field
    EXPECT_EQ(DialogScript::boxes().size(), 1u);
    ASSERT_TRUE(activateForm(p.Form5));
    p.Form5->ui().Button3->click();  // "Click for impact estimates"
    p.Form5->ui().BitBtn2->click();  // "&Tables"
    ASSERT_TRUE(activateForm(p.Form7));
}

TEST_F(MalformedFiles, BytesWithoutALetterInTheCodePageSurviveASaveOfTheRecord) {
    const std::map<int, std::string> fields = {
        {kFieldWinterDays, "180"}, {kFieldSummerDays, "185"}, {kFieldAnnualMean, "40"}};
    const std::string tail = "St\x81tion;\x8D\xA0x;N\x90t;A\x9D\xFF";
    writeFile(workDir + "data_rec.dat", recordWith(fields, tail) + goodRecord());
    Program& p = startAndBrowse();
    ASSERT_TRUE(activateForm(p.Form4));
    DialogScript::clearShown();
    platform::testing::typeInto(p.Form4->controls().Editann_mean, "41");
    DialogScript::answer(Button::Yes);  // Save changes?
    platform::testing::pressButton(p.Form4->controls().Button1);  // "&Close"
    EXPECT_EQ(boxTexts(), std::vector<QString>{"Save changes?"});
    auto saved = fields;
    saved[kFieldAnnualMean] = "41";
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), recordWith(saved, tail) + goodRecord());
}

TEST_F(MalformedFiles, LinesEndedByLineFeedsAloneAreRecords) {
    std::string first = goodRecord();
    first.erase(first.size() - 2, 1);  // the CR
    writeFile(workDir + "data_rec.dat", first + goodRecord("2002"));
    Program& p = startAndBrowse();
    ASSERT_TRUE(activateForm(p.Form4));
    EXPECT_EQ(p.aq.record_count, 2);
    EXPECT_EQ(p.Form4->controls().Editlow_name->text(), "Low");
    EXPECT_EQ(p.Form4->controls().Edithigh_name->text(), "High");
    p.Form4->controls().BitBtn5->click();  // next record
    EXPECT_EQ(p.Form4->controls().year->text(), "2002");
}

TEST_F(MalformedFiles, SavingARecordKeepsEveryLocationOfALongLocationFile) {
    writeFile(workDir + "town.tab", townLines(150));
    Program& p = startAndBrowse();
    ASSERT_TRUE(activateForm(p.Form3));
    DialogScript::clearShown();
    platform::testing::typeInto(p.Form3->controls().netw_affl, "Other network");
    DialogScript::answer(Button::Yes);  // Save changes?
    platform::testing::pressButton(p.Form3->controls().Button1);  // "Next"
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), goodRecord("2001", "Low;High;Other network;Agency"));
    const std::string towns = readFile(workDir + "town.tab");
    EXPECT_NE(towns.find("149 1|2|Town 149\r\n"), std::string::npos) << "locations lost from town.tab";
}

TEST_F(MalformedFiles, GarbageDefaultParametersAreReportedWhereTheyAreRead) {
    std::filesystem::remove(workDir + "params.tab");
    writeFile(programDir + "params.tav", "2 0 1000 " + binaryBlob(2048));
    const auto before = workingFiles();
    Program& p = startAndBrowse();
    for (const QString& text : boxTexts()) EXPECT_EQ(text, "Invalid numeric input");
    EXPECT_FALSE(boxTexts().empty());
    EXPECT_EQ(workingFiles(), before);
    EXPECT_EQ(p.Form5->ui().rr->text(), "");
}

TEST_F(MalformedFiles, WorkingFilesThatAreDirectoriesAreReported) {
    for (const char* name : {"data_rec.dat", "town.tab", "data_sup.tab"}) {
        std::filesystem::remove(workDir + name);
        std::filesystem::create_directory(workDir + name);
    }
    Program& p = startAndBrowse();
    EXPECT_FALSE(boxTexts().empty());
    for (const QString& text : boxTexts()) EXPECT_FALSE(text.isEmpty());
    EXPECT_EQ(p.Form3->controls().polbox->count(), 16);
    for (const char* name : {"data_rec.dat", "town.tab", "data_sup.tab"})
        EXPECT_TRUE(std::filesystem::is_directory(workDir + name)) << name;
}

// Loads `kdf` from the main screen's menu while the program's event loop runs; the exit code.
int loadWhileRunning(Program& p, const std::string& kdf) {
    DialogScript::answer(Button::Yes);  // This operation will overwrite datafiles. Continue?
    DialogScript::answerFile(QString::fromStdString(kdf));
    QTimer::singleShot(0, p.Form1, [&p] { p.Form1->controls().Importdata1->trigger(); });
    // Should the load not end the program, the user quits it.
    QTimer::singleShot(5000, p.Form1, [&p] { p.Form1->controls().BitBtn1->click(); });
    return p.run();
}

TEST_F(MalformedFiles, TruncatedExchangeFileEndsTheProgramWithItsMessage) {
    const std::string kdf = workDir + "../truncated.kdf";
    writeFile(kdf, "h1\r\n1 1|1|Loaded\r\nEOF\r\nh2\r\n0 Loaded endpoint\r\n");
    Program& p = start();
    DialogScript::clearShown();
    EXPECT_EQ(loadWhileRunning(p, kdf), 3);
    EXPECT_EQ(boxTexts(), (std::vector<QString>{"This operation will overwrite datafiles. Continue?",
                                                "File cannot be loaded. Incorrect data."}));
    // Nothing of the incomplete data set replaces a working file.
    for (const auto& [name, bytes] : kGoodFiles) EXPECT_EQ(readFile(workDir + name), bytes) << name;
}

TEST_F(MalformedFiles, BinaryExchangeFileEndsTheProgramWithItsMessage) {
    const std::string kdf = workDir + "../garbage.kdf";
    writeFile(kdf, binaryBlob(8192));
    Program& p = start();
    DialogScript::clearShown();
    EXPECT_EQ(loadWhileRunning(p, kdf), 3);
    EXPECT_EQ(boxTexts().back(), "File cannot be loaded. Incorrect data.");
    for (const auto& [name, bytes] : kGoodFiles) EXPECT_EQ(readFile(workDir + name), bytes) << name;
}

TEST_F(MalformedFiles, ExchangeFileOfGarbageSectionsIsReportedAndTheProgramGoesOn) {
    const std::string kdf = workDir + "../sections.kdf";
    std::string bytes;
    for (int s = 0; s < 5; ++s) bytes += "header\r\nnot a number |||\r\n" + binaryBlob(64) + "\r\nEOF\r\n";
    writeFile(kdf, bytes);
    Program& p = start();
    DialogScript::clearShown();
    DialogScript::answer(Button::Yes);
    DialogScript::answerFile(QString::fromStdString(kdf));
    p.Form1->controls().Importdata1->trigger();
    const auto shown = boxTexts();
    EXPECT_NE(std::find(shown.begin(), shown.end(), QString("Invalid numeric input")), shown.end());
    EXPECT_FALSE(platform::requestedExitCode().has_value());
    for (platform::Form* form : std::initializer_list<platform::Form*>{p.Form1, p.Form2, p.Form3, p.Form4, p.Form5})
        EXPECT_TRUE(activateForm(form)) << form->objectName().toStdString();
}

}  // namespace
