#include <gtest/gtest.h>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/ParameterFile.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ScratchFolder.h"

using namespace assessment;
using runtime::testing::ScratchFolder;

namespace {

ParamLine record(int pollutant, int endpoint, long double rr, int interval = 0) {
    return ParamLine{pollutant, endpoint, 1000, rr, 1.0L, 1.1L, 2, 3, interval};
}

std::string fileOf(std::initializer_list<ParamLine> lines) {
    std::string text;
    for (const ParamLine& l : lines) text += formatParamLine(l) + "\r\n";
    return text;
}

// A working directory and a program folder, with the parameter file bound as at start-up.
struct Folders {
    ScratchFolder work;
    ScratchFolder program;
    AssessmentState state;
    Folders() {
        state.work_dir = work.dir();
        state.start_dir = program.dir();
    }
    void bind() { ASSERT_TRUE(bindParameterFile(state)); }
};

}  // namespace

TEST(ParameterFile, LineFormatHasTwoBlanksBeforeEachNonNegativeReal) {
    const std::string line = formatParamLine(ParamLine{2, 0, 12.5L, 1.06L, -0.5L, 1, 0, 3, 0});
    EXPECT_EQ(line,
              "2 0  1.25000000000000E+0001  1.06000000000000E+0000 -5.00000000000000E-0001 "
              " 1.00000000000000E+0000 0 3 0");
    EXPECT_EQ(std::count(line.begin(), line.end(), ' '), 11);
    const std::string positive = formatParamLine(record(-1, 17, 1.5L));
    EXPECT_EQ(std::count(positive.begin(), positive.end(), ' '), 12);
    EXPECT_EQ(positive.substr(0, 6), "-1 17 ");
}

TEST(ParameterFile, ReaderTakesAnyDecimalNotationAndHoldsSinglePrecision) {
    ScratchFolder dir;
    runtime::TextReader in(dir.write("p", "3\t10 1000 1.06 .5e1 1.1E+0000 4 2 1 trailing text\r\n7 1 2 3 4 5 6 7 8"));
    const ParamFileRecord a = readParamRecord(in);
    EXPECT_EQ(a.pollutant, 3);
    EXPECT_EQ(a.endpoint, 10);
    EXPECT_EQ(a.values.incidence, 1000.0f);
    EXPECT_EQ(a.values.rr, 1.06f);
    EXPECT_EQ(a.values.rr_lower, 5.0f);
    EXPECT_EQ(a.values.cut_off, 4);
    EXPECT_EQ(a.values.certainty, 2);
    EXPECT_EQ(a.interval, 1);
    // Passed through unchanged, 1.06 comes back at single precision.
    EXPECT_NE(formatParamLine(a.line()).find("  1.05999994277954E+0000 "), std::string::npos);
    const ParamFileRecord b = readParamRecord(in);
    EXPECT_EQ(b.pollutant, 7);
    EXPECT_EQ(b.interval, 8);
    EXPECT_TRUE(in.eof());
}

TEST(ParameterFile, BindingPrefersTheWorkingDirectory) {
    Folders f;
    EXPECT_FALSE(boundParameterFile(f.state.work_dir, f.state.start_dir));
    f.state.text_file3 = "kept";
    EXPECT_FALSE(bindParameterFile(f.state));
    EXPECT_EQ(f.state.text_file3, "kept");
    f.program.write("params.tav", "");
    EXPECT_EQ(*boundParameterFile(f.state.work_dir, f.state.start_dir), f.program.file("params.tav"));
    f.work.write("params.tab", "");
    EXPECT_EQ(*boundParameterFile(f.state.work_dir, f.state.start_dir), f.work.file("params.tab"));
}

TEST(ParameterFile, GetDataTakesTheFirstMatchAndOtherwiseTheLastRecord) {
    Folders f;
    f.program.write("params.tav", fileOf({record(2, 0, 1.06L, 1), record(2, 5, 1.2L, 0), record(2, 5, 1.3L, 2),
                                          record(6, 0, 1.04L, 2)}));
    f.bind();
    EXPECT_TRUE(getData(f.state, 2, 5));
    EXPECT_EQ(f.state.param_record.rr, 1.2f);
    EXPECT_EQ(f.state.rec_endpoint, 5);
    EXPECT_EQ(f.state.interval_index, 0);

    EXPECT_FALSE(getData(f.state, 3, 0));  // no such key: the last record's values
    EXPECT_EQ(f.state.param_record.rr, 1.04f);
    EXPECT_EQ(f.state.interval_index, 2);
    EXPECT_FALSE(getData(f.state, 2, std::nullopt));  // no endpoint selected: nothing matches

    f.program.write("params.tav", "");
    EXPECT_FALSE(getData(f.state, 2, 5));
    EXPECT_EQ(f.state.interval_index, 0);
}

TEST(ParameterFile, SaveReplacesEveryLineOfTheKeyInPlace) {
    Folders f;
    f.work.write("params.tab", fileOf({record(2, 0, 1.06L), record(2, 5, 1.2L), record(6, 1, 1.3L), record(2, 5, 1.4L)}));
    f.bind();
    f.state.interval_index = 1;
    saveParameters(f.state, record(2, 5, 1.5L, 1));
    const ParamLine otherA = ParamFileRecord{2, 0, {1000, 1.06f, 1, 1.1f, 2, 3}, 0}.line();
    const ParamLine otherB = ParamFileRecord{6, 1, {1000, 1.3f, 1, 1.1f, 2, 3}, 0}.line();
    EXPECT_EQ(f.work.read("params.tab"), fileOf({otherA, record(2, 5, 1.5L, 1), otherB, record(2, 5, 1.5L, 1)}));
    EXPECT_EQ(f.state.interval_index, 1);  // a save leaves the class width as it found it
    EXPECT_FALSE(f.work.exists("rec.tmp"));

    saveParameters(f.state, record(7, 3, 1.01L));  // a new key is appended
    const ParamLine savedAtSingle = ParamFileRecord{2, 5, {1000, 1.5f, 1, 1.1f, 2, 3}, 1}.line();
    EXPECT_EQ(f.work.read("params.tab"), fileOf({otherA, savedAtSingle, otherB, savedAtSingle, record(7, 3, 1.01L)}));
}

TEST(ParameterFile, FirstSaveCreatesTheUserFileAndLeavesTheDefaultsAlone) {
    Folders f;
    const std::string shipped = fileOf({record(2, 0, 1.06L), record(3, 0, 1.0123L)}) + "\r\n";
    f.program.write("params.tav", shipped.substr(0, shipped.size() - 2));
    f.bind();
    saveParameters(f.state, record(3, 0, 1.02L));
    EXPECT_EQ(f.program.read("params.tav"), shipped.substr(0, shipped.size() - 2));
    const std::string written = f.work.read("params.tab");
    EXPECT_EQ(written.substr(0, written.find("\r\n")),
              "2 0  1.00000000000000E+0003  1.05999994277954E+0000  1.00000000000000E+0000 "
              " 1.10000002384186E+0000 2 3 0");
    EXPECT_NE(written.find(" 1.02000000000000E+0000"), std::string::npos);
    EXPECT_EQ(f.state.text_file3, f.work.file("params.tab"));
}

TEST(ParameterFile, SaveLeavesAUserFileThatIsNotTheBoundOne) {
    Folders f;
    f.program.write("params.tav", fileOf({record(2, 0, 1.06L)}));
    f.bind();
    // Loaded after the binding: a reload that ended early did not bind it.
    const std::string user = fileOf({record(5, 1, 1.2L)});
    f.work.write("params.tab", user);
    try {
        saveParameters(f.state, record(2, 0, 1.5L));
        ADD_FAILURE() << "saved over a file that is not bound";
    } catch (const runtime::Error& error) {
        EXPECT_STREQ(error.what(), "\"params.tab\" could not be read (the reload ended before it). It is not changed.");
    }
    EXPECT_EQ(f.work.read("params.tab"), user);
}

TEST(ParameterFile, FailedSaveChangesNothing) {
    Folders f;
    const std::string bad = fileOf({record(2, 0, 1.06L)}) + "2 1 1000 abc 1 1 0 0 0\r\n";
    f.work.write("params.tab", bad);
    f.bind();
    EXPECT_THROW(saveParameters(f.state, record(2, 0, 1.5L)), runtime::InOutError);
    EXPECT_EQ(f.work.read("params.tab"), bad);
    EXPECT_FALSE(f.work.exists("rec.tmp"));

    f.work.write("params.tab", fileOf({record(2, 0, 1.06L)}));
    runtime::testing::failNextRename();
    EXPECT_THROW(saveParameters(f.state, record(2, 0, 1.5L)), runtime::InOutError);
    EXPECT_EQ(f.work.read("params.tab"), fileOf({record(2, 0, 1.06L)}));
}

TEST(ParameterFile, DefaultCopyRewritesTheUserFileAtSinglePrecision) {
    Folders f;
    EXPECT_FALSE(copyDefaultParameters(f.state));  // no defaults: the caller ends the program
    f.work.write("params.tab", "old\r\n");
    f.program.write("params.tav", fileOf({record(2, 0, 1.06L, 1), record(6, 0, 1.5L, 2)}));
    ASSERT_TRUE(copyDefaultParameters(f.state));
    EXPECT_EQ(f.work.read("params.tab"), fileOf({ParamFileRecord{2, 0, {1000, 1.06f, 1, 1.1f, 2, 3}, 1}.line(),
                                                 ParamFileRecord{6, 0, {1000, 1.5f, 1, 1.1f, 2, 3}, 2}.line()}));

    f.program.write("params.tav", "2 0 1 1 1 1 0 0 0\r\nbroken\r\n");
    const std::string before = f.work.read("params.tab");
    EXPECT_THROW(copyDefaultParameters(f.state), runtime::InOutError);
    EXPECT_EQ(f.work.read("params.tab"), before);
}
