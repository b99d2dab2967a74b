// The data-exchange file: its exact bytes, reading it back section by section, the marks and the
// conversion of a data set of the earlier version.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <unistd.h>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/ExchangeFile.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/testing/ReadOnlyFolder.h"
#include "runtime/testing/ScratchFolder.h"

namespace assessment {
namespace {

using runtime::testing::ScratchFolder;

std::string recordLine(std::int32_t pollutant, const std::string& tail) {
    AqRecord record;
    record[kFieldTown] = 3;
    record[kFieldPollutant] = pollutant;
    record[kFieldYear] = 1999;
    record[kFieldPopulation] = -250;
    std::string line;
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) line += std::to_string(record[i]) + " ";
    return line + tail;
}

struct WorkingDirectory {
    ScratchFolder folder;
    AssessmentState state;
    WorkingDirectory() {
        state.work_dir = folder.dir();
        state.data_file = folder.file("data_rec.dat");
    }
};

TEST(ExchangeFileWrite, SectionsInTheirOrderWithHeadersAndEndMarks) {
    WorkingDirectory w;
    w.folder.write("town.tab", "0 45|12|Old Town\r\n1 1|2|B\r\n");
    w.folder.write("endp.tab", "0 Mortality\r\n");
    w.folder.write("params.tab", "2 0  1.0E+0003\r\n");
    w.folder.write("params.tav", "ignored when params.tab exists\r\n");
    w.folder.write("data_sup.tab", "");
    w.folder.write("data_rec.dat", "1 2 3 ;;;");  // a last line without its line end
    const std::string d = w.folder.dir();

    writeExchangeFile(w.folder.file("out.kdf"), exchangeSources(w.state));

    EXPECT_EQ(w.folder.read("out.kdf"),
              d + "town.tab\r\n0 45|12|Old Town\r\n1 1|2|B\r\nEOF\r\n" +
              d + "endp.tab\r\n0 Mortality\r\nEOF\r\n" +
              d + "params.tab\r\n2 0  1.0E+0003\r\nEOF\r\n" +
              d + "data_sup.tab\r\nEOF\r\n" +
              d + "data_rec.dat\r\n1 2 3 ;;;\r\nEOF\r\n");
    EXPECT_FALSE(w.folder.exists("out.kdf.tmp"));
}

// A working directory with its five files and an export folder "out" beside them.
struct ExportSetUp : WorkingDirectory {
    ExportSetUp() {
        for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"})
            folder.write(name, std::string(name) + "\r\n");
        folder.subfolder("out");
        folder.write("out/data.kdf", "earlier export\r\n");
    }
    std::string expected() const {
        std::string bytes;
        for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"})
            bytes += folder.file(name) + "\r\n" + name + "\r\nEOF\r\n";
        return bytes;
    }
    std::vector<std::string> exportNames() const {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(folder.file("out")))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST(ExchangeFileWrite, ExportLeavesAUserFileNamedLikeATemporaryAlone) {
    ExportSetUp w;
    w.folder.write("out/data.kdf.tmp", "the user's own\r\n");
    writeExchangeFile(w.folder.file("out/data.kdf"), exchangeSources(w.state));
    EXPECT_EQ(w.folder.read("out/data.kdf"), w.expected());
    EXPECT_EQ(w.folder.read("out/data.kdf.tmp"), "the user's own\r\n");
    EXPECT_EQ(w.exportNames(), (std::vector<std::string>{"data.kdf", "data.kdf.tmp"}));
}

TEST(ExchangeFileWrite, ExportIntoAReadOnlyFolderOverAWritableFile) {
    ExportSetUp w;
    if (!runtime::testing::ranInReadOnlyFolder(w.folder.file("out"), [&] { writeExchangeFile(w.folder.file("out/data.kdf"), exchangeSources(w.state)); }))
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(w.folder.read("out/data.kdf"), w.expected());
    EXPECT_EQ(w.exportNames(), std::vector<std::string>{"data.kdf"});
}

TEST(ExchangeFileWrite, FailedExportLeavesTheEarlierFileByteForByte) {
    ExportSetUp w;
    const char raw[] = "earlier\nexport\0\xfe";
    const std::string earlier(raw, sizeof raw - 1);
    w.folder.write("out/data.kdf", earlier);
    runtime::testing::failNextWriterClose();
    EXPECT_THROW(writeExchangeFile(w.folder.file("out/data.kdf"), exchangeSources(w.state)), runtime::InOutError);
    EXPECT_EQ(w.folder.read("out/data.kdf"), earlier);
    EXPECT_EQ(w.exportNames(), std::vector<std::string>{"data.kdf"});
}

TEST(ExchangeFileWrite, ParameterSectionFallsBackToTheDefaults) {
    WorkingDirectory w;
    w.folder.subfolder("prog");
    w.state.start_dir = w.folder.file("prog");  // as the program folder, without a trailing "/"
    w.folder.write("prog/params.tav", "shipped\r\n");
    // Neither parameter file in the working directory: the program folder's defaults.
    EXPECT_EQ(exchangeSources(w.state)[2], w.folder.file("prog/params.tav"));
    w.folder.write("params.tav", "x\r\n");
    EXPECT_EQ(exchangeSources(w.state)[2], w.folder.file("params.tav"));
    w.folder.write("params.tab", "y\r\n");
    EXPECT_EQ(exchangeSources(w.state)[2], w.folder.file("params.tab"));
    EXPECT_EQ(exchangeTargets(w.state)[2], w.folder.file("params.tab"));
}

TEST(ExchangeFileWrite, MissingSourceLeavesAnEarlierExchangeFileUntouched) {
    WorkingDirectory w;
    w.folder.write("town.tab", "0 1|2|A\r\n");
    w.folder.write("old.kdf", "earlier export\r\n");
    // No "endp.tab" and no parameter file.
    try {
        writeExchangeFile(w.folder.file("old.kdf"), exchangeSources(w.state));
        ADD_FAILURE() << "no error";
    } catch (const runtime::InOutError& error) {
        EXPECT_STREQ(error.what(), "File not found");
    }
    EXPECT_EQ(w.folder.read("old.kdf"), "earlier export\r\n");
}

TEST(ExchangeFileRead, RoundTripGivesBackEveryFileLineForLine) {
    WorkingDirectory w;
    const std::string town = "0 45|12|Old  Town\r\n";
    const std::string endp = "0 Mortality\r\n1 Hospital admissions\r\n";
    const std::string params = "2 0  1.00000000000000E+0003 0 3 0\r\n";
    const std::string supplier = "Land\r\n\r\nCity\r\n";
    const std::string data = recordLine(4, "Low;High;Net;Body") + "\r\n";
    w.folder.write("town.tab", town);
    w.folder.write("endp.tab", endp);
    w.folder.write("params.tab", params);
    w.folder.write("data_sup.tab", supplier);
    w.folder.write("data_rec.dat", data);
    writeExchangeFile(w.folder.file("data.kdf"), exchangeSources(w.state));

    const auto sections = readExchangeFile(w.folder.file("data.kdf"));
    ASSERT_TRUE(sections.has_value());
    const ExchangePaths targets = exchangeTargets(w.state);
    for (std::size_t i = 0; i < kExchangeSectionCount; ++i) writeSectionFile(targets[i], (*sections)[i]);
    EXPECT_EQ(w.folder.read("town.tab"), town);
    EXPECT_EQ(w.folder.read("endp.tab"), endp);
    EXPECT_EQ(w.folder.read("params.tab"), params);
    EXPECT_EQ(w.folder.read("data_sup.tab"), supplier);
    EXPECT_EQ(w.folder.read("data_rec.dat"), data);
    EXPECT_FALSE(w.folder.exists("rec.tmp"));
}

TEST(ExchangeFileLoad, AFailureBeforeTheFirstReplacementChangesNoWorkingFile) {
    WorkingDirectory w;
    for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"})
        w.folder.write(name, "old\r\n");
    const std::array<SectionLines, kExchangeSectionCount> sections{
        SectionLines{"t"}, SectionLines{"e"}, SectionLines{"p"}, SectionLines{"s"}, SectionLines{"d"}};
    int written = 0;
    runtime::testing::onFileStep([&](const std::string& step) {
        if (step == "sync" && ++written == 5) throw runtime::InOutError(runtime::kDiskFull);  // the last file
    });
    EXPECT_THROW(loadExchangeSections(exchangeTargets(w.state), sections), runtime::InOutError);
    runtime::testing::onFileStep({});
    for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"})
        EXPECT_EQ(w.folder.read(name), "old\r\n") << name;
    EXPECT_EQ(w.folder.names().size(), 5u);
    loadExchangeSections(exchangeTargets(w.state), sections);
    EXPECT_EQ(w.folder.read("data_rec.dat"), "d\r\n");
    EXPECT_EQ(w.folder.read("town.tab"), "t\r\n");
}

TEST(ExchangeFileLoad, TargetsInAFolderThatTakesNoNewFileAreWrittenInPlace) {
    WorkingDirectory w;
    for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"})
        w.folder.write(name, "old\r\n");
    const std::array<SectionLines, kExchangeSectionCount> sections{
        SectionLines{"t"}, SectionLines{"e"}, SectionLines{"p"}, SectionLines{"s"}, SectionLines{"d"}};
    if (!runtime::testing::ranInReadOnlyFolder(w.folder.dir(),
                                               [&] { loadExchangeSections(exchangeTargets(w.state), sections); }))
        GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(w.folder.read("town.tab"), "t\r\n");
    EXPECT_EQ(w.folder.read("data_rec.dat"), "d\r\n");
    EXPECT_EQ(w.folder.names().size(), 5u);
}

TEST(ExchangeFileLoad, TargetsWrittenInPlaceComeAfterEveryNewFileIsInPlace) {
    WorkingDirectory w;
    for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab"}) w.folder.write(name, "old\r\n");
    // The data file lies in a folder of its own that takes new files; the working directory does not.
    const std::string dataFolder = w.folder.subfolder("data");
    w.state.data_file = w.folder.write("data/data_rec.dat", "old\r\n");
    ::chmod(dataFolder.c_str(), 0777);
    if (::geteuid() == 0) ::chown(w.state.data_file.c_str(), runtime::testing::kNobody, runtime::testing::kNobody);
    const std::array<SectionLines, kExchangeSectionCount> sections{
        SectionLines{"t"}, SectionLines{"e"}, SectionLines{"p"}, SectionLines{"s"}, SectionLines{"d"}};
    const auto run = runtime::testing::runInReadOnlyFolder(w.folder.dir(), [&] {
        std::string dataAtFirstInPlaceWrite;
        runtime::testing::onFileStep([&](const std::string& step) {
            if (step == "save recovery" && dataAtFirstInPlaceWrite.empty())
                dataAtFirstInPlaceWrite = runtime::testing::readFile(w.state.data_file);
        });
        loadExchangeSections(exchangeTargets(w.state), sections);
        return dataAtFirstInPlaceWrite == "d\r\n";
    });
    runtime::testing::onFileStep({});
    if (run == runtime::testing::ReadOnlyRun::CannotRun) GTEST_SKIP() << "no unprivileged user to run as";
    EXPECT_EQ(run, runtime::testing::ReadOnlyRun::Succeeded);
    EXPECT_EQ(w.folder.read("town.tab"), "t\r\n");
    EXPECT_EQ(w.folder.read("data/data_rec.dat"), "d\r\n");
}

TEST(ExchangeFileRead, SectionsEndAtTheFirstExactEndMark) {
    ScratchFolder f;
    // Section 1 carries a line "EOF" that ends it early; "eof" and "EOF " are ordinary lines; a
    // header "EOF" ends its section at once; a sixth section is not read.
    f.write("a.kdf",
            "h1\r\nline\r\nEOF\r\nlost\r\nEOF\r\n"
            "h3\r\neof\r\nEOF \r\nEOF\r\n"
            "EOF\r\n"
            "h5\r\nEOF\r\n"
            "h6\nunix line\nEOF\n"
            "h7\r\nnever ends");
    const auto sections = readExchangeFile(f.file("a.kdf"));
    ASSERT_TRUE(sections.has_value());
    EXPECT_EQ((*sections)[0], SectionLines({"line"}));
    EXPECT_EQ((*sections)[1], SectionLines({}));  // "lost" was its header
    EXPECT_EQ((*sections)[2], SectionLines({"eof", "EOF "}));
    EXPECT_EQ((*sections)[3], SectionLines({}));
    EXPECT_EQ((*sections)[4], SectionLines({}));
}

TEST(ExchangeFileRead, FileEndingInsideASectionIsRefused) {
    ScratchFolder f;
    const std::string four = "a\r\nEOF\r\nb\r\nEOF\r\nc\r\nEOF\r\nd\r\nEOF\r\n";
    f.write("short.kdf", four + "e\r\n1 2 3\r\n");
    f.write("header_only.kdf", four + "e\r\n");
    f.write("nothing.kdf", four);
    f.write("empty.kdf", "");
    f.write("complete.kdf", four + "e\r\nEOF");  // the last end mark without its line end
    EXPECT_FALSE(readExchangeFile(f.file("short.kdf")).has_value());
    EXPECT_FALSE(readExchangeFile(f.file("header_only.kdf")).has_value());
    EXPECT_FALSE(readExchangeFile(f.file("nothing.kdf")).has_value());
    EXPECT_FALSE(readExchangeFile(f.file("empty.kdf")).has_value());
    EXPECT_TRUE(readExchangeFile(f.file("complete.kdf")).has_value());
    EXPECT_THROW(readExchangeFile(f.file("missing.kdf")), runtime::InOutError);
}

TEST(ExchangeFileRead, LongLinesTravelComplete) {
    WorkingDirectory w;
    const std::string longLine(600, 'x');
    for (const char* name : {"town.tab", "endp.tab", "params.tab", "data_sup.tab", "data_rec.dat"})
        w.folder.write(name, longLine + "\r\n");
    writeExchangeFile(w.folder.file("data.kdf"), exchangeSources(w.state));
    const auto sections = readExchangeFile(w.folder.file("data.kdf"));
    ASSERT_TRUE(sections.has_value());
    EXPECT_EQ((*sections)[4], SectionLines({longLine}));
}

TEST(EarlierVersion, ExactlyTenBlanksAnywhereInTheFirstLine) {
    EXPECT_TRUE(isEarlierVersionParameters({"1 2 3 4 5 6 7 8 9 10 11", "x"}));
    EXPECT_TRUE(isEarlierVersionParameters({"          "}));
    EXPECT_FALSE(isEarlierVersionParameters({"         "}));    // 9
    EXPECT_FALSE(isEarlierVersionParameters({"           "}));  // 11
    EXPECT_FALSE(isEarlierVersionParameters({"\t\t\t\t\t\t\t\t\t\t"}));
    EXPECT_FALSE(isEarlierVersionParameters({}));
    EXPECT_FALSE(isEarlierVersionParameters({"", "          "}));
}

TEST(EarlierVersion, PollutantsFromNo2OnMoveUpByOne) {
    EXPECT_EQ(convertEarlierPollutant(0), 0);
    EXPECT_EQ(convertEarlierPollutant(7), 7);
    EXPECT_EQ(convertEarlierPollutant(8), 9);
    EXPECT_EQ(convertEarlierPollutant(14), 15);
}

TEST(EarlierVersion, DataFileConversionKeepsTheTextsAndEveryOtherField) {
    ScratchFolder f;
    f.write("data_rec.dat", recordLine(7, "Low st;High st;Net;Agency") + "\r\n" +
                                recordLine(8, ";;;") + "\r\n" + recordLine(2, "a b;;;") + "\n");
    convertEarlierDataFile(f.file("data_rec.dat"), f.file("rec.tmp"));
    EXPECT_EQ(f.read("data_rec.dat"), recordLine(7, "Low st;High st;Net;Agency") + "\r\n" +
                                          recordLine(9, ";;;") + "\r\n" + recordLine(2, "a b;;;") + "\r\n");
    EXPECT_FALSE(f.exists("rec.tmp"));
}

TEST(EarlierVersion, DataFileThatCannotBeReadStaysAsItWas) {
    ScratchFolder f;
    const std::string bytes = recordLine(9, ";;;") + "\r\n1 x 3\r\n";
    f.write("data_rec.dat", bytes);
    EXPECT_THROW(convertEarlierDataFile(f.file("data_rec.dat"), f.file("rec.tmp")), runtime::InOutError);
    EXPECT_EQ(f.read("data_rec.dat"), bytes);
    EXPECT_FALSE(f.exists("rec.tmp"));
}

}  // namespace
}  // namespace assessment
