#include <QAction>
#include <QTimer>

#include <filesystem>

#include <sys/stat.h>

#include "assessment/Unit1.h"
#include "assessment/tests/ProgramFixture.h"
#include "platform/Form.h"
#include "platform/testing/DialogScript.h"
#include "runtime/Errors.h"
#include "ui_TForm1.h"

using platform::testing::DialogScript;

using StartUp = ProgramFixture;

TEST_F(StartUp, EmptyWorkingDirectoryGetsTheDefaultDataLineAndNoSupplierFile) {
    Program& p = start();
    EXPECT_EQ(p.aq.start_dir, programDir);
    EXPECT_EQ(p.aq.work_dir, workDir);
    EXPECT_EQ(p.aq.data_file, workDir + "data_rec.dat");
    const std::string data = readFile(workDir + "data_rec.dat");
    EXPECT_EQ(data, dataLine({}));
    EXPECT_EQ(data.size(), 125u + 2u);
    EXPECT_FALSE(std::filesystem::exists(workDir + "data_sup.tab"));
    EXPECT_EQ(p.aq.supplier_country, "");
    EXPECT_EQ(p.aq.supplier_org, "");
    EXPECT_EQ(p.aq.supplier_city, "");
    EXPECT_EQ(p.aq.pollutant_names[7].str(), "NO2 (1 hour avg)");
    EXPECT_EQ(p.aq.pollutant_names[15].str(), "TSP long term");
    EXPECT_EQ(p.aq.text_file3, programDir + "params.tav");
    EXPECT_TRUE(DialogScript::boxes().empty());
}

TEST_F(StartUp, ExistingEmptyDataFileStaysEmpty) {
    writeFile(workDir + "data_rec.dat", "");
    start();
    EXPECT_EQ(readFile(workDir + "data_rec.dat"), "");
}

TEST_F(StartUp, SupplierLinesAreTakenCompleteWithTheirBlanks) {
    writeFile(workDir + "data_sup.tab", "  Land of Lakes \r\n");
    Program& one = start();
    EXPECT_EQ(one.aq.supplier_country, "  Land of Lakes ");
    EXPECT_EQ(one.aq.supplier_org, "");
    EXPECT_EQ(one.aq.supplier_city, "");
}

TEST_F(StartUp, SupplierFileOfThreeLinesAndMore) {
    writeFile(workDir + "data_sup.tab", "Country\r\nInstitute of Air \r\nCity\r\nStreet 1\r\n");
    Program& p = start();
    EXPECT_EQ(p.aq.supplier_country, "Country");
    EXPECT_EQ(p.aq.supplier_org, "Institute of Air ");
    EXPECT_EQ(p.aq.supplier_city, "City");
}

TEST_F(StartUp, MissingDefaultParameterFileEndsWithExitCode2) {
    std::filesystem::remove(programDir + "params.tav");
    DialogScript::answer(platform::Button::Ok);
    try {
        start();
        FAIL() << "the program started without its default parameter file";
    } catch (const runtime::ExitProgram& exit) {
        EXPECT_EQ(exit.code(), 2);
    }
    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(DialogScript::boxes()[0].text, "File not found. Please reinstall the application.");
    EXPECT_FALSE(std::filesystem::exists(workDir + "data_rec.dat"));
}

TEST_F(StartUp, UnwritableDataFileIsShownAndStartUpGoesOn) {
    // A directory in the place of the data file cannot be read as a file nor created.
    std::filesystem::create_directories(workDir + "data_rec.dat");
    writeFile(workDir + "data_sup.tab", "Country\r\n");
    DialogScript::answer(platform::Button::Ok);
    Program& p = start();
    EXPECT_EQ(p.aq.supplier_country, "Country");  // read in the step before
    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(DialogScript::boxes()[0].text,
              QString::fromStdString("File access denied. " + workDir + "data_rec.dat is not a regular file."));
    EXPECT_EQ(DialogScript::boxes()[0].buttons, std::vector<platform::Button>{platform::Button::Ok});
    EXPECT_NE(p.Form1, nullptr);
    EXPECT_NE(p.AboutBox, nullptr);
}

TEST_F(StartUp, AFifoUnderAWorkingFileNameIsLeftAsItIsAndNotWaitedFor) {
    const std::string data = workDir + "data_rec.dat";
    const std::string other = workDir + "other";
    std::filesystem::create_directory(other);
    ASSERT_EQ(::mkfifo(data.c_str(), 0666), 0);
    ASSERT_EQ(::mkfifo((other + "/town.tab").c_str(), 0666), 0);
    DialogScript::answer(platform::Button::Ok);
    Program& p = start();
    ASSERT_EQ(DialogScript::boxes().size(), 1u);
    EXPECT_EQ(DialogScript::boxes()[0].text,
              QString::fromStdString("File access denied. " + data + " is not a regular file."));
    EXPECT_TRUE(std::filesystem::is_fifo(data));
    // "New directory": the missing supplier file is made, the FIFO named "town.tab" stays and is
    // reported when the reload reads it.
    std::filesystem::remove(data);
    writeFile(data, "");
    DialogScript::answerFile(QString::fromStdString(other));
    DialogScript::answer(platform::Button::Ok);
    p.Form1->controls().NewDirectory1->trigger();
    EXPECT_TRUE(std::filesystem::is_fifo(other + "/town.tab"));
    EXPECT_EQ(readFile(other + "/data_sup.tab"), "");
    ASSERT_EQ(DialogScript::boxes().size(), 2u);
    EXPECT_EQ(DialogScript::boxes()[1].text,
              QString::fromStdString("File access denied. " + other + "/town.tab is not a regular file."));
}

TEST_F(StartUp, MainScreenRunsAndQuitsWithExitCode0) {
    Program& p = start();
    QTimer::singleShot(0, [&p] { p.Form1->closeForm(); });
    EXPECT_EQ(p.run(), 0);
}
