#include <gtest/gtest.h>

#include <string>

#include "lifetables/core/LTCalculationsFile.h"
#include "lifetables/core/tests/ltfiles_TestData.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/testing/ReadOnlyFolder.h"

namespace lifetables::testing {
namespace {

class LTCalculationsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        state->LTcalcPath = folder.dir();
        state->LTcalcName = "calc.txt";
    }
    void TearDown() override { runtime::setDecimalSeparator('.'); }

    // Headers, years and ages as a run leaves them, and a value in every cell.
    void simulate(int sex, int ageCount) {
        state->LTresultValid[sex] = true;
        state->LTageCount[sex] = ageCount;
        for (int k = 0; k < kLTMatrixCount; ++k) {
            LTMatrix& m = state->LTmatrices.of(k, sex);
            for (int j = 1; j <= kLTMaxRows; ++j) m[0][j] = 2004 + j;
            for (int h = 1; h <= kLTMaxRows; ++h) {
                m[h][0] = 29 + h;
                for (int j = 1; j <= kLTMaxRows; ++j) m[h][j] = 1000 * k + h + j / 1000.0;
            }
        }
    }

    std::vector<std::string> writtenLines() {
        proc_LTWriteCalculations(*state);
        return crlfLines(folder.read("calc.txt"));
    }

    ScratchFolder folder;
    std::unique_ptr<LTState> state = makeState();
};

TEST_F(LTCalculationsFileTest, NoSexWithResultsGivesAnEmptyFile) {
    folder.write("calc.txt", "old\r\n");
    proc_LTWriteCalculations(*state);
    EXPECT_TRUE(folder.exists("calc.txt"));
    EXPECT_EQ(folder.read("calc.txt"), "");
}

TEST_F(LTCalculationsFileTest, EachSexHasItsNameLineAndSixteenSections) {
    simulate(1, 120);
    simulate(3, 7);
    const auto lines = writtenLines();
    ASSERT_EQ(lines.size(), 1u + 16 * (120 + 3) + 1 + 16 * (7 + 3));
    EXPECT_EQ(lines[0], "[Calculation:_male]");
    const std::size_t both = 1 + 16 * 123;
    EXPECT_EQ(lines[both], "[Calculation:_both_sexes]");

    const std::vector<std::string> headers = {
        "[Hazard_Matrix_empirical]",  "[Entries_Matrix_empirical]",  "[LY_Matrix_empirical]",
        "[Deaths_Matrix_empirical]",  "[Hazard_Matrix_RR_central]",  "[Entries_Matrix_RR_central]",
        "[LY_Matrix_RR_central]",     "[Deaths_Matrix_RR_central]",  "[Hazard_Matrix_RR_low]",
        "[Entries_Matrix_RR_low]",    "[LY_Matrix_RR_low]",          "[Deaths_Matrix_RR_low]",
        "[Hazard_Matrix_RR_high]",    "[Entries_Matrix_RR_high]",    "[LY_Matrix_RR_high]",
        "[Deaths_Matrix_RR_high]"};
    const std::vector<int> matrices = {0, 3, 2, 1, 4, 7, 6, 5, 8, 11, 10, 9, 12, 15, 14, 13};
    for (int i = 0; i < 16; ++i) {
        const std::size_t male = 1 + static_cast<std::size_t>(i) * 123;
        EXPECT_EQ(lines[male], headers[i]);
        EXPECT_EQ(lines[male + 122], "[END]");
        const std::size_t all = both + 1 + static_cast<std::size_t>(i) * 10;
        EXPECT_EQ(lines[all], headers[i]);
        EXPECT_EQ(lines[all + 9], "[END]");
        // Row 1 of the section shows the matrix it belongs to.
        const auto row1 = tabFields(lines[male + 2]);
        EXPECT_EQ(row1[1], runtime::formatGeneral(1000.0 * matrices[i] + 1.001, 15)) << headers[i];
    }
}

TEST_F(LTCalculationsFileTest, EveryValueLineHas121ValuesEachFollowedByATab) {
    simulate(2, 120);
    const auto lines = writtenLines();
    ASSERT_EQ(lines.size(), 1u + 16 * 123);
    for (std::size_t i = 1; i < lines.size(); ++i) {
        if (lines[i].front() == '[') continue;
        const auto fields = tabFields(lines[i]);
        ASSERT_EQ(fields.size(), 122u) << "line " << i;
        EXPECT_EQ(fields.back(), "");
    }
    const auto header = tabFields(lines[2]);
    EXPECT_EQ(header[0], "0");
    EXPECT_EQ(header[1], "2005");
    EXPECT_EQ(header[120], "2124");
    const auto last = tabFields(lines[2 + 120]);
    EXPECT_EQ(last[0], "149");
    EXPECT_EQ(last[120], "120.12");
}

TEST_F(LTCalculationsFileTest, RealsUseTheUserDecimalSeparator) {
    runtime::setDecimalSeparator(',');
    simulate(1, 1);
    state->LTmatrices(0, 1, 1, 1) = 1.5e-7;
    const auto lines = writtenLines();
    const auto row1 = tabFields(lines[3]);
    EXPECT_EQ(row1[1], "1,5E-7");
    EXPECT_EQ(row1[2], "1,002");
}

TEST_F(LTCalculationsFileTest, AgeCountOutsideTheTableNeverReadsBeyondIt) {
    state->LTresultValid[1] = true;
    state->LTageCount[1] = 0;  // results loaded from a file, no calculation in this run
    auto lines = writtenLines();
    ASSERT_EQ(lines.size(), 1u + 16 * 3);
    EXPECT_EQ(lines[3], "[END]");

    state->LTageCount[1] = -4;
    lines = writtenLines();
    ASSERT_EQ(lines.size(), 1u + 16 * 2);
    EXPECT_EQ(lines[1], "[Hazard_Matrix_empirical]");
    EXPECT_EQ(lines[2], "[END]");

    state->LTageCount[1] = 500;
    lines = writtenLines();
    EXPECT_EQ(lines.size(), 1u + 16 * 123);
}

TEST_F(LTCalculationsFileTest, FailedSaveKeepsThePreviousFile) {
    simulate(1, 10);
    folder.write("calc.txt", "previous\r\n");
    runtime::testing::failNextRename();
    EXPECT_THROW(proc_LTWriteCalculations(*state), runtime::InOutError);
    EXPECT_EQ(folder.read("calc.txt"), "previous\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"calc.txt"});
}

TEST_F(LTCalculationsFileTest, SaveLeavesAUserFileNamedLikeATemporaryAlone) {
    folder.write("calc.txt.tmp", "the user's own\r\n");
    EXPECT_EQ(writtenLines().size(), 0u);
    EXPECT_EQ(folder.read("calc.txt.tmp"), "the user's own\r\n");
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"calc.txt", "calc.txt.tmp"}));
}

TEST_F(LTCalculationsFileTest, SaveIntoAReadOnlyFolderOverAWritableFile) {
    simulate(3, 2);
    folder.write("calc.txt", "previous\r\n");
    if (!runtime::testing::ranInReadOnlyFolder(folder.dir(), [&] { proc_LTWriteCalculations(*state); }))
        GTEST_SKIP() << "no unprivileged user to run as";
    const auto lines = crlfLines(folder.read("calc.txt"));
    ASSERT_EQ(lines.size(), 1u + 16 * 5);
    EXPECT_EQ(lines[0], "[Calculation:_both_sexes]");
    EXPECT_EQ(lines[1], "[Hazard_Matrix_empirical]");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"calc.txt"});
}

}  // namespace
}  // namespace lifetables::testing
