#pragma once
// A fresh program in temporary folders: a program folder with a "params.tav" and an empty
// working directory. Tests write the working files they need before start(). Also the texts the
// tests of every screen build their expectations from: data-file lines, numbers, shown boxes.
#include <gtest/gtest.h>

#include <QString>

#include <clocale>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "assessment/Program.h"
#include "assessment/core/AqRecord.h"
#include "platform/testing/DialogScript.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/testing/ScratchFolder.h"

using runtime::testing::readFile;
using runtime::testing::writeFile;

class ProgramFixture : public ::testing::Test {
protected:
    void SetUp() override {
        savedLocale_ = std::setlocale(LC_ALL, nullptr);
        savedSeparator_ = runtime::decimalSeparator();
        programDir = scratch_.subfolder("prog");
        workDir = scratch_.subfolder("work");
        writeFile(programDir + "params.tav", defaultParams());
        // The life-table parameter set built beside the test, so that the life-table screen
        // starts without its "no parameter file" note.
        const std::string ltParams = runtime::executableFolder() + "Zelk_LT-params.kpx";
        if (std::filesystem::exists(ltParams))
            std::filesystem::copy_file(ltParams, programDir + "Zelk_LT-params.kpx");
    }

    void TearDown() override {
        program_.reset();
        std::setlocale(LC_ALL, savedLocale_.c_str());
        runtime::setDecimalSeparator(savedSeparator_);
    }

    // The C library in German, as constructing the QApplication leaves it on a German desktop, and
    // the separator "," that the start-up takes there: a conversion through the C library would
    // read "7.5" as 7 now, and write "7,5" into a parameter file. Fails unless the C library's
    // decimal point really is ",". TearDown puts both back.
    void cLibraryInGerman() {
        ASSERT_NE(std::setlocale(LC_ALL, "de_DE.UTF-8"), nullptr) << "the locale de_DE.UTF-8 is not installed";
        ASSERT_STREQ(std::localeconv()->decimal_point, ",");
        runtime::setDecimalSeparator(',');
    }

    // The shipped defaults' first record, enough for a program folder.
    static std::string defaultParams() {
        return "2 0  1.00000000000000E+0003  1.00600000000000E+0000  1.00400000000000E+0000  "
               "1.00800000000000E+0000 0 3 0\r\n";
    }

public:
    // A data-file line: the given fields (all others 0), then the tail of station, network and
    // agency texts.
    static std::string dataLine(const std::map<int, long long>& fields, const std::string& tail = ";;;") {
        std::string line;
        for (int f = 1; f <= assessment::AqRecord::kFieldCount; ++f) {
            const auto it = fields.find(f);
            line += std::to_string(it == fields.end() ? 0 : it->second) + " ";
        }
        return line + tail + "\r\n";
    }

    // A number text with the user's decimal separator.
    static QString num(const char* text) {
        return QString::fromLatin1(text).replace(QLatin1Char('.'), QLatin1Char(runtime::decimalSeparator()));
    }

    // The texts of the boxes shown since the dialog script was last cleared.
    static std::vector<QString> boxTexts() {
        std::vector<QString> texts;
        for (const auto& box : platform::testing::DialogScript::boxes()) texts.push_back(box.text);
        return texts;
    }

protected:
    // A file in the temporary folder beside the program folder and the working directory, for
    // what a user keeps elsewhere (printed pages, imported counts); removed with the folders.
    std::string scratchFile(const std::string& name) const { return scratch_.file(name); }

    // Boxes nobody answered fail the test, except the life-table screen's note about its own
    // parameter-set file, which a program folder without that file shows at start.
    static void tolerateLifeTableNote() {
        platform::testing::DialogScript::setUnexpectedHandler([](const QString& what) {
            if (!what.contains(QStringLiteral("No parameter file found"))) ADD_FAILURE() << what.toStdString();
        });
    }

    // Starts the program; one that runs already ends first.
    Program& start() {
        program_.reset();
        program_ = std::make_unique<Program>(Program::Options{programDir, workDir});
        return *program_;
    }
    // The program ends and starts again on the same folders.
    Program& restart() { return start(); }

    std::string programDir;
    std::string workDir;

private:
    runtime::testing::ScratchFolder scratch_;  // removed after the program
    std::string savedLocale_;
    char savedSeparator_ = '.';
    std::unique_ptr<Program> program_;
};
