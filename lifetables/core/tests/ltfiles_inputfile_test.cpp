#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "lifetables/core/LTChecks.h"
#include "lifetables/core/LTInputFile.h"
#include "lifetables/core/tests/ltfiles_TestData.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/NumberText.h"
#include "runtime/testing/ReadOnlyFolder.h"

namespace lifetables::testing {
namespace {

class LTInputFileTest : public ::testing::Test {
protected:
    void TearDown() override { runtime::setDecimalSeparator('.'); }

    // Writes `bytes` as the input file and reads it into a fresh state.
    ReadResult readBytes(const std::string& bytes) {
        ReadResult result;
        folder.write("input.txt", bytes);
        result.state->LTinputPath = folder.dir();
        result.state->LTinputName = "input.txt";
        result.whole = proc_LTReadInputFile(*result.state, result.log.sink());
        return result;
    }

    // A state filled for `sexes`, to be saved as `name` in the folder over a file holding `previous`.
    std::unique_ptr<LTState> stateToSave(std::initializer_list<int> sexes, const std::string& name,
                                         const std::string& previous) {
        auto written = makeState();
        fillState(*written, sexes);
        written->LTinputPath = folder.dir();
        written->LTinputName = name;
        folder.write(name, previous);
        return written;
    }

    // Writes the state to "input.txt" and reads the file back into a fresh state.
    ReadResult roundTrip(LTState& written) {
        written.LTinputPath = folder.dir();
        written.LTinputName = "input.txt";
        proc_LTWriteInputFile(written);
        return readBytes(folder.read("input.txt"));
    }

    ScratchFolder folder;
};

const char kWarningNoRecords[] = "WARNING: No usable records found in input file: input.txt";

TEST_F(LTInputFileTest, WriteThenReadGivesBackEveryWrittenValue) {
    auto written = makeState();
    fillState(*written);
    ReadResult back = roundTrip(*written);
    const LTState& w = *written;
    const LTState& r = *back.state;
    EXPECT_TRUE(back.log.messages.empty());

    for (int s = 1; s <= 3; ++s) {
        EXPECT_EQ(r.LTlineCount[s], w.LTlineCount[s]);
        EXPECT_EQ(r.LTcomments[s], w.LTcomments[s]);
        EXPECT_TRUE(r.LTresultValid[s]);
        for (int row = 1; row <= w.LTlineCount[s]; ++row) {
            for (int c = 1; c <= 6; ++c) {
                EXPECT_EQ(r.LTempirical[row][c][s], asWritten(w.LTempirical[row][c][s])) << s << "/" << row << "/" << c;
            }
            // The rates are computed again from the counts and the population.
            const double pop = r.LTempirical[row][kLTPopulation][s];
            for (int c = kLTRateAll; c <= kLTRateLCA; ++c) {
                const double count = r.LTempirical[row][c - 3][s];
                EXPECT_EQ(r.LTempirical[row][c][s], count > 0 && pop != 0 ? count / pop : 0.0);
            }
        }
        for (int t = 0; t < kLTIndicatorCount; ++t) {
            for (int sc = 0; sc < 3; ++sc) EXPECT_EQ(r.LTsummary[t][sc][s], asWritten(w.LTsummary[t][sc][s]));
        }
        for (int a = 1; a <= kLTMaxRows; ++a) {
            for (int sc = 0; sc < 4; ++sc) {
                EXPECT_EQ(r.LTlifeExp[a][sc][s], asWritten(w.LTlifeExp[a][sc][s]));
                EXPECT_EQ(r.LTlifeExpDelta[a][sc][s], asWritten(w.LTlifeExpDelta[a][sc][s]));
            }
        }
    }
    EXPECT_EQ(r.LTyearOfData, 2004);
    EXPECT_EQ(r.LTshownCause, 2);
    EXPECT_EQ(r.LTcalcEnded, w.LTcalcEnded);

    const LTInfos& wi = w.LTinfos;
    const LTInfos& ri = r.LTinfos;
    EXPECT_EQ(ri.YofMeasurement, wi.YofMeasurement);
    EXPECT_EQ(ri.pollutant, wi.pollutant);
    EXPECT_EQ(ri.certainty, wi.certainty);
    EXPECT_EQ(ri.effect, wi.effect);
    EXPECT_EQ(ri.startYear, wi.startYear);
    EXPECT_EQ(ri.country, wi.country);
    EXPECT_EQ(ri.agglomeration, wi.agglomeration);
    EXPECT_EQ(ri.loStation, wi.loStation);
    EXPECT_EQ(ri.hiStation, wi.hiStation);
    EXPECT_EQ(ri.exPop, wi.exPop);
    EXPECT_EQ(ri.annualCapture, wi.annualCapture);
    EXPECT_EQ(ri.winterCapture, wi.winterCapture);
    EXPECT_EQ(ri.summerCapture, wi.summerCapture);
    EXPECT_EQ(ri.numberOfStations, wi.numberOfStations);
    EXPECT_EQ(ri.winterMaxAll, wi.winterMaxAll);
    EXPECT_EQ(ri.summerMeanAll, wi.summerMeanAll);
    EXPECT_EQ(ri.winterMeanAll, wi.winterMeanAll);
    EXPECT_EQ(ri.lo98percentile, wi.lo98percentile);
    EXPECT_EQ(ri.hi98percentile, wi.hi98percentile);
    EXPECT_EQ(ri.hiSummerMax, wi.hiSummerMax);
    EXPECT_EQ(ri.loAnnualMean, wi.loAnnualMean);

    const LTRRSettings& ws = w.LTRRsettings;
    const LTRRSettings& rs = r.LTRRsettings;
    EXPECT_EQ(r.LTparamSet.name, w.LTparamSet.name);
    EXPECT_EQ(rs.meanAnnualConc, ws.meanAnnualConc);
    EXPECT_EQ(rs.X_reference, ws.X_reference);
    EXPECT_EQ(rs.X_lo, ws.X_lo);
    EXPECT_EQ(rs.X_hi, ws.X_hi);
    EXPECT_EQ(rs.useTAVdefaults, ws.useTAVdefaults);
    EXPECT_TRUE(rs.advanced);
    EXPECT_EQ(rs.birthSlope, ws.birthSlope);
    EXPECT_EQ(rs.birthFromYear, ws.birthFromYear);
    EXPECT_EQ(rs.birthUntilYear, ws.birthUntilYear);
    EXPECT_EQ(rs.percPoll, ws.percPoll);
    EXPECT_EQ(rs.percPollFromYear, ws.percPollFromYear);
    EXPECT_EQ(rs.percPollUntilYear, ws.percPollUntilYear);
    EXPECT_EQ(rs.weightAge, ws.weightAge);
    EXPECT_EQ(rs.weightAgeFromAge, ws.weightAgeFromAge);
    EXPECT_EQ(rs.weightAgeUntilAge, ws.weightAgeUntilAge);
    EXPECT_EQ(rs.weightYears, ws.weightYears);
    EXPECT_EQ(rs.weightYearsFromYear, ws.weightYearsFromYear);
    EXPECT_EQ(rs.weightYearsUntilYear, ws.weightYearsUntilYear);
    EXPECT_EQ(r.LTcauseChecked, w.LTcauseChecked);
    for (int c = 0; c < kLTCauseCount; ++c) {
        for (int col = 0; col <= 4; ++col) EXPECT_EQ(r.LTRRvector[col][c], w.LTRRvector[col][c]);
    }
    // The relative risks per 10 units are computed again from beta and its standard error.
    auto expected = makeState();
    expected->LTRRvector = r.LTRRvector;
    for (int c = 0; c < kLTCauseCount; ++c) proc_LTComputeRRs(*expected, c);
    EXPECT_EQ(r.LTRRvector, expected->LTRRvector);
    EXPECT_GT(r.LTRRvector[5][0], 1.0);
}

TEST_F(LTInputFileTest, WriterProducesTheSectionsInOrderWithTheirTabs) {
    auto written = makeState();
    fillState(*written, {2});
    written->LTinputPath = folder.dir();
    written->LTinputName = "input.txt";
    proc_LTWriteInputFile(*written);
    const auto lines = crlfLines(folder.read("input.txt"));
    ASSERT_EQ(lines.size(), 1u + 2 + 5 + 1 + 3 + 5 + 1 + 3 + 120 + 1);
    EXPECT_EQ(lines[0], "[LT_empirical_data/female]");
    EXPECT_EQ(lines[1], "comment 2");
    EXPECT_EQ(lines[2], "2004");
    EXPECT_EQ(tabFields(lines[3]).size(), 10u);  // nine values, each followed by a TAB
    EXPECT_EQ(lines[3].back(), '\t');
    EXPECT_EQ(lines[8], "[END]");
    EXPECT_EQ(lines[9], "[LT_Infos]");
    const auto infos = tabFields(lines[10]);
    ASSERT_EQ(infos.size(), 34u);
    EXPECT_EQ(infos[0], "2003");
    EXPECT_EQ(infos[2], "1.5E-7");
    EXPECT_EQ(infos[3], "-2.25");
    EXPECT_EQ(infos[5], "2");
    EXPECT_EQ(infos[8], "Österreich");
    EXPECT_EQ(infos[13], "-1");
    EXPECT_EQ(infos[16], "22");
    EXPECT_EQ(infos[18], "Süd Ost");
    EXPECT_EQ(lines[11], "[END]");
    EXPECT_EQ(lines[12], "[LT_relative_risks]");
    EXPECT_EQ(lines[13], "Version_TAV_LT_01.00.00\t25.5\t7.5\t7.5\t80\t0\t12.03.2005 14:22:01");
    const auto risks = tabFields(lines[14]);
    ASSERT_EQ(risks.size(), 19u);
    EXPECT_EQ(risks[0], "0");
    EXPECT_EQ(risks[2], "2");
    EXPECT_EQ(risks[3], "30");
    EXPECT_EQ(risks[9], "0.006");
    EXPECT_EQ(risks[15], "0");
    EXPECT_EQ(risks[16], "-1");
    EXPECT_EQ(risks[18], "");
    EXPECT_EQ(lines[15], "-1\t3\t95.5\t2006\t2010\t99.25\t2005\t2030\t0.5\t60\t99\t0.97\t-111111\t111111\t");
    EXPECT_EQ(lines[16], "[END]");
    EXPECT_EQ(lines[17], "[YOLL_female]");
    EXPECT_EQ(tabFields(lines[18]).size(), 11u);
    EXPECT_EQ(tabFields(lines[18])[10], "2");
    EXPECT_EQ(tabFields(lines[21]).size(), 9u);
    EXPECT_EQ(lines[21].back(), '\t');
    EXPECT_EQ(lines.back(), "[END]");
}

TEST_F(LTInputFileTest, EmptyStateWritesOnlyInfosAndRelativeRisks) {
    auto written = makeState();
    ReadResult back = roundTrip(*written);
    const auto lines = crlfLines(folder.read("input.txt"));
    ASSERT_EQ(lines.size(), 8u);
    EXPECT_EQ(lines[1], "0\t0\t0\t0\t0\t0\t0\t0\t\t\t0\t0\t0\t0\t0\t0\t0\t\t\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0");
    EXPECT_EQ(lines[4], "\t0\t0\t0\t0\t0\t");
    EXPECT_TRUE(back.log.messages.empty());
    EXPECT_EQ(back.state->LTlineCount, (LTPerSex<std::int32_t>{}));
}

TEST_F(LTInputFileTest, AdvancedSettingsAreReadOnlyWhenAdvanced) {
    auto written = makeState();
    fillState(*written);
    written->LTRRsettings.advanced = false;
    written->LTRRsettings.useTAVdefaults = true;
    ReadResult back = roundTrip(*written);
    EXPECT_FALSE(back.state->LTRRsettings.advanced);
    EXPECT_TRUE(back.state->LTRRsettings.useTAVdefaults);
    EXPECT_EQ(back.state->LTinfos.certainty, 3);
    EXPECT_EQ(back.state->LTRRsettings.birthSlope, 0.0);
    EXPECT_EQ(back.state->LTRRsettings.weightYearsUntilYear, 0);
}

TEST_F(LTInputFileTest, DecimalCommaIsWrittenAndReadUnderItsLocale) {
    runtime::setDecimalSeparator(',');
    auto written = makeState();
    fillState(*written, {1});
    ReadResult back = roundTrip(*written);
    EXPECT_TRUE(back.log.messages.empty());
    EXPECT_NE(folder.read("input.txt").find("\t25,5\t7,5\t"), std::string::npos);
    EXPECT_EQ(back.state->LTRRsettings.meanAnnualConc, 25.5);
    EXPECT_EQ(back.state->LTinfos.winterMaxAll, 1.5e-7);
    EXPECT_EQ(back.state->LTempirical[5][2][1], asWritten(written->LTempirical[5][2][1]));
}

TEST_F(LTInputFileTest, FileOfAnotherSeparatorFailsAtTheFirstSeparatedReal) {
    auto written = makeState();
    fillState(*written, {1});
    written->LTinputPath = folder.dir();
    written->LTinputName = "input.txt";
    proc_LTWriteInputFile(*written);  // written with "."
    runtime::setDecimalSeparator(',');
    auto state = makeState();
    state->LTinputPath = folder.dir();
    state->LTinputName = "input.txt";
    MessageLog log;
    EXPECT_THROW(proc_LTReadInputFile(*state, log.sink()), runtime::ConvertError);
    // What was read before the first real with a separator stays.
    EXPECT_EQ(state->LTcomments[1], "comment 1");
    EXPECT_EQ(state->LTyearOfData, 2004);
    EXPECT_EQ(state->LTempirical[1][3][1], 1000.0);
}

TEST_F(LTInputFileTest, MisspeltBothSexesHeaderReadsAsTheCorrectOne) {
    ReadResult back = readBytes(
        "[LT_empiricla_data/male+female]\r\nold file\r\n1999\r\n0\t4\t100\t2\t1\t0\t\r\n[END]\r\n");
    EXPECT_EQ(back.state->LTlineCount[3], 1);
    EXPECT_EQ(back.state->LTcomments[3], "old file");
    EXPECT_TRUE(back.state->LTresultValid[3]);
    EXPECT_EQ(back.state->LTempirical[1][kLTRateAll][3], 0.02);
    EXPECT_EQ(back.state->LTempirical[1][kLTRateLCA][3], 0.0);
}

TEST_F(LTInputFileTest, HeaderAndEndFollowedByTabAndTextAreRecognised) {
    ReadResult back = readBytes(
        "[LT_empirical_data/male]\tremark\r\nc\r\n2000\r\n0\t0\t10\t1\t0\t0\r\n[END]\tdone\r\n");
    EXPECT_EQ(back.state->LTlineCount[1], 1);
    EXPECT_EQ(back.state->LTempirical[1][kLTRateAll][1], 0.1);
}

TEST_F(LTInputFileTest, LinesBeforeTheFirstHeaderAndAfterTheInfosLineAreIgnored) {
    ReadResult back = readBytes("free text\r\n1\t2\r\n[LT_Infos]\r\n"
                                "2001\t0\t0\t0\t0\t259\t0\t2005\tA\tB\t1\t0\t0\t0\t0\t0\t0\tlo\thi\t2"
                                "\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n[END]\r\nnot read\r\n");
    EXPECT_TRUE(back.log.messages.empty());
    EXPECT_EQ(back.state->LTinfos.YofMeasurement, 2001);
    EXPECT_EQ(back.state->LTinfos.pollutant, 3);  // the low 8 bits of 259
    EXPECT_EQ(back.state->LTinfos.startYear, 2005);
    EXPECT_EQ(back.state->LTinfos.hiStation.str(), "hi");
}

TEST_F(LTInputFileTest, EmptyOrHeadersOnlyFileGivesTheWarning) {
    EXPECT_EQ(readBytes("").log.messages, std::vector<std::string>{kWarningNoRecords});
    // Each header ends a section that has no "[END]".
    EXPECT_EQ(readBytes("[LT_Infos]\r\n[YOLL_male]\r\n[LT_relative_risks]\r\n").log.messages,
              (std::vector<std::string>{
                  "WARNING: Section [LT_Infos] of input file: input.txt has no [END] before line 2.",
                  "WARNING: Section [YOLL_male] of input file: input.txt has no [END] before line 3.",
                  "WARNING: Section [LT_relative_risks] of input file: input.txt has no [END] before the end of "
                  "the file.",
                  kWarningNoRecords}));
    EXPECT_EQ(readBytes("text before any header\r\n").log.messages, std::vector<std::string>{kWarningNoRecords});
}

TEST_F(LTInputFileTest, MissingFileGivesTheAssignMessageAndReturns) {
    auto state = makeState();
    state->LTinputPath = folder.dir();
    state->LTinputName = "absent.txt";
    MessageLog log;
    proc_LTReadInputFile(*state, log.sink());
    EXPECT_EQ(log.messages, std::vector<std::string>{"Error on assigning file absent.txt"});

    // A folder in place of the file is no file either.
    state->LTinputName.clear();
    log.messages.clear();
    proc_LTReadInputFile(*state, log.sink());
    EXPECT_EQ(log.messages, std::vector<std::string>{"Error on assigning file "});
}

TEST_F(LTInputFileTest, CommentIsReadUpToItsTabAndCutTo255) {
    auto written = makeState();
    fillState(*written, {1, 2, 3});
    written->LTcomments[1] = "before\tafter";
    written->LTcomments[2] = std::string(300, 'c');
    written->LTcomments[3] = "[LT_relative_risks]";  // read by its place, not as a header
    ReadResult back = roundTrip(*written);
    EXPECT_EQ(back.state->LTcomments[1], "before");
    EXPECT_EQ(back.state->LTcomments[2], std::string(255, 'c'));
    EXPECT_EQ(back.state->LTcomments[3], "[LT_relative_risks]");
    EXPECT_EQ(back.state->LTlineCount[2], written->LTlineCount[2]);
    EXPECT_EQ(back.state->LTlineCount[3], written->LTlineCount[3]);
    EXPECT_TRUE(back.whole);
    for (const std::string comment : {"", "[END]", "  "}) {
        written->LTcomments[1] = comment;
        ReadResult again = roundTrip(*written);
        EXPECT_EQ(again.state->LTcomments[1], comment);
        EXPECT_EQ(again.state->LTlineCount[1], written->LTlineCount[1]);
        EXPECT_TRUE(again.log.messages.empty()) << again.log.messages.front();
    }
}

// Files as a text editor leaves them: each is read as far as its sections go, and what the reader
// could not take as written is told, so that the file does not become the current file.
TEST_F(LTInputFileTest, HandEditedFiles) {
    const std::string row = "0\t4\t10\t1\t0\t0\t\r\n";
    const std::string male = "[LT_empirical_data/male]\r\nc\r\n2000\r\n" + row + "[END]\r\n";
    const std::string infosLine =
        "2001\t0\t0\t0\t0\t2\t0\t2005\tA\tB\t1\t0\t0\t0\t0\t0\t0\tlo\thi\t2"
        "\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n";
    const std::string infos = "[LT_Infos]\r\n" + infosLine + "[END]\r\n";
    std::string results = "[YOLL_male]\r\n";
    for (int k = 1; k <= 3; ++k) results += "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n";
    for (int a = 1; a <= 121; ++a) results += "70\t0\t0\t0\t0\t0\t0\t0\t\r\n";
    const std::string told = " of input file: input.txt";
    struct Case {
        const char* name;
        std::string bytes;
        std::vector<std::string> messages;
        std::string comment;     // of the male section, whose one row is read in every case
        std::int32_t infosYear;  // 2001 where the infos line was read
    };
    const Case cases[] = {
        {"blank lines and blanks after headers",
         "\r\n[LT_empirical_data/male]  \r\nc\r\n2000\r\n" + row + "[END] \r\n\r\n \t\r\n[LT_Infos] \r\n" + infosLine +
             "[END]\r\n\r\n\r\n",
         {},
         "c",
         2001},
        {"empty comment", "[LT_empirical_data/male]\r\n\r\n2000\r\n" + row + "[END]\r\n\r\n", {}, "", 0},
        {"comment that reads as a header",
         "[LT_empirical_data/male]\r\n[LT_Infos]\r\n2000\r\n" + row + "[END]\r\n",
         {},
         "[LT_Infos]",
         0},
        {"byte-order mark",
         "\xEF\xBB\xBF[LT_empirical_data/male]\r\nZ\xC3\xBCrich\r\n2000\r\n" + row + "[END]\r\n",
         {},
         "Z\xFCrich",
         0},
        {"unknown header",
         "[LT_Infox]\r\n" + infosLine + "[END]\r\n" + male,
         {"WARNING: [LT_Infox] in line 1" + told + " names no section. The lines up to the next section are not used."},
         "c",
         0},
        {"male [END] deleted",
         "[LT_empirical_data/male]\r\nc\r\n2000\r\n" + row + infos,
         {"WARNING: Section [LT_empirical_data/male]" + told + " has no [END] before line 5."},
         "c",
         2001},
        {"last [END] deleted, a blank line after",
         "[LT_empirical_data/male]\r\nc\r\n2000\r\n" + row + "\r\n",
         {"WARNING: Section [LT_empirical_data/male]" + told + " has no [END] before the end of the file."},
         "c",
         0},
        {"infos [END] deleted",
         "[LT_Infos]\r\n" + infosLine + male,
         {"WARNING: Section [LT_Infos]" + told + " has no [END] before line 3."},
         "c",
         2001},
        {"result section of 121 age lines",
         male + results + "[END]\r\n",
         {"WARNING: More than 120 lines in section [YOLL_male]" + told + ". Only the first 120 are used."},
         "c",
         0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ReadResult back = readBytes(c.bytes);
        EXPECT_EQ(back.log.messages, c.messages);
        EXPECT_EQ(back.whole, c.messages.empty());
        EXPECT_EQ(back.state->LTlineCount[1], 1);
        EXPECT_EQ(back.state->LTempirical[1][kLTRateAll][1], 0.1);
        EXPECT_EQ(back.state->LTcomments[1], c.comment);
        EXPECT_EQ(back.state->LTinfos.YofMeasurement, c.infosYear);
    }
}

TEST_F(LTInputFileTest, RowsAfterEndAreFurtherRowsOfTheSection) {
    const std::string head = "[LT_empirical_data/female]\r\nc\r\n2000\r\n0\t4\t10\t1\t0\t0\t\r\n[END]\r\n"
                             "5\t9\t20\t2\t0\t0\t\r\n";
    // Without another "[END]" the section ends at the end of the file: told, and the rows are kept.
    ReadResult noEnd = readBytes(head);
    EXPECT_EQ(noEnd.state->LTlineCount[2], 2);
    EXPECT_EQ(noEnd.state->LTempirical[2][kLTUntilAge][2], 9.0);
    EXPECT_EQ(noEnd.log.messages, std::vector<std::string>{"WARNING: Section [LT_empirical_data/female] of input "
                                                           "file: input.txt has no [END] before the end of the file."});
    EXPECT_FALSE(noEnd.whole);
    ReadResult withEnd = readBytes(head + "[END]\r\n");
    EXPECT_EQ(withEnd.state->LTlineCount[2], 2);
    EXPECT_EQ(withEnd.state->LTempirical[2][kLTRateAll][2], 0.1);
    EXPECT_TRUE(withEnd.whole);
}

TEST_F(LTInputFileTest, ResultSectionOfASexWithoutDataStaysInvalid) {
    std::string bytes = "[YOLL_female]\r\n";
    for (int k = 1; k <= 3; ++k) bytes += "1\t2\t3\t4\t5\t6\t7\t8\t9\t10\t1\r\n";
    bytes += "70.5\t0\t71\t0.5\t72\t1\t73\t1.5\t\r\n";
    ReadResult back = readBytes(bytes + "[END]\r\n");
    EXPECT_FALSE(back.state->LTresultValid[2]);
    EXPECT_EQ(back.state->LTsummary[9][2][2], 10.0);
    EXPECT_EQ(back.state->LTshownCause, 1);
    EXPECT_EQ(back.state->LTlifeExp[1][0][2], 70.5);
    EXPECT_EQ(back.state->LTlifeExp[2][0][2], 0.0);  // fewer than 120 age lines leave the rest
    EXPECT_TRUE(back.log.messages.empty());

    // Written again, the file has no result section for that sex.
    back.state->LTinputPath = folder.dir();
    back.state->LTinputName = "again.txt";
    proc_LTWriteInputFile(*back.state);
    EXPECT_EQ(folder.read("again.txt").find("[YOLL_"), std::string::npos);
}

TEST_F(LTInputFileTest, EmptyLineInsideRelativeRisks) {
    const std::string line1 = "name\t1\t2\t3\t4\t0\tended\r\n";
    const std::string line2 = "0\t1\t2\t30\t30\t30\t120\t120\t120\t0.01\t0\t0\t0.002\t0\t0\t-1\t0\t0\t\r\n";
    const std::string line3 = "0\t2\t\r\n";
    // As one of the three lines its empty fields fail the number conversion ...
    EXPECT_THROW(readBytes("[LT_relative_risks]\r\n" + line1 + "\r\n" + line3), runtime::ConvertError);
    // ... after the third line it is ignored.
    ReadResult back = readBytes("[LT_relative_risks]\r\n" + line1 + line2 + line3 + "\r\n[END]\r\n");
    EXPECT_TRUE(back.log.messages.empty());
    EXPECT_EQ(back.state->LTparamSet.name.str(), "name");
    EXPECT_EQ(back.state->LTcalcEnded, "ended");
    EXPECT_EQ(back.state->LTinfos.certainty, 2);
    EXPECT_EQ(back.state->LTRRvector[3][0], 0.01);
    EXPECT_DOUBLE_EQ(back.state->LTRRvector[5][0], std::exp(0.1));
    EXPECT_EQ(back.state->LTcauseChecked, (std::array<bool, 3>{true, false, false}));
}

TEST_F(LTInputFileTest, BooleansReadZeroAsFalseAndOtherNumbersAsTrue) {
    ReadResult back = readBytes("[LT_relative_risks]\r\nn\t0\t0\t0\t0\t7\tx\r\n"
                                "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t1\t-1\t\r\n");
    EXPECT_TRUE(back.state->LTRRsettings.useTAVdefaults);
    EXPECT_EQ(back.state->LTcauseChecked, (std::array<bool, 3>{false, true, true}));
    EXPECT_THROW(readBytes("[LT_relative_risks]\r\nn\t0\t0\t0\t0\tyes\tx\r\n"), runtime::ConvertError);
}

TEST_F(LTInputFileTest, RatesDivideEachPositiveCountByAnyPopulationButZero) {
    ReadResult back = readBytes("[LT_empirical_data/male]\r\nc\r\n2000\r\n"
                                "0\t4\t0\t3\t0\t1\t\r\n"          // no population: rates 0
                                "5\t9\t-100\t3\t0\t1\t\r\n"       // a negative one divides
                                "10\t14\t-100\t-2\t4\t0\t\r\n"    // a count of 0 or less: rate 0
                                "15\t19\t200\t-2\t4\t0\t\r\n[END]\r\n");
    const auto& data = back.state->LTempirical;
    EXPECT_EQ(data[1][kLTDeathsAll][1], 3.0);
    EXPECT_EQ(data[1][kLTRateAll][1], 0.0);
    EXPECT_EQ(data[1][kLTRateLCA][1], 0.0);
    EXPECT_EQ(data[2][kLTRateAll][1], -0.03);
    EXPECT_EQ(data[2][kLTRateCardio][1], 0.0);
    EXPECT_EQ(data[2][kLTRateLCA][1], -0.01);
    EXPECT_EQ(data[3][kLTRateAll][1], 0.0);
    EXPECT_EQ(data[3][kLTRateCardio][1], -0.04);
    EXPECT_EQ(data[4][kLTRateAll][1], 0.0);
    EXPECT_EQ(data[4][kLTRateCardio][1], 0.02);
}

TEST_F(LTInputFileTest, SectionReadTwiceKeepsTheLaterValues) {
    ReadResult back = readBytes("[LT_empirical_data/male]\r\nfirst\r\n2000\r\n0\t4\t10\t1\t0\t0\r\n"
                                "5\t9\t10\t1\t0\t0\r\n[END]\r\n"
                                "[LT_empirical_data/male]\r\nsecond\r\n2001\r\n0\t9\t50\t5\t0\t0\r\n[END]\r\n");
    EXPECT_EQ(back.state->LTcomments[1], "second");
    EXPECT_EQ(back.state->LTyearOfData, 2001);
    EXPECT_EQ(back.state->LTlineCount[1], 1);
    EXPECT_EQ(back.state->LTempirical[1][kLTUntilAge][1], 9.0);
}

TEST_F(LTInputFileTest, RowsBeyond120AreNotStoredAndTheUserIsTold) {
    std::string bytes = "[LT_empirical_data/male]\r\nc\r\n2000\r\n";
    for (int r = 1; r <= 125; ++r) bytes += std::to_string(r) + "\t" + std::to_string(r) + "\t10\t1\t0\t0\t\r\n";
    bytes += "[END]\r\n[YOLL_male]\r\n";
    for (int k = 1; k <= 3; ++k) bytes += "0\t0\t0\t0\t0\t0\t0\t0\t0\t0\t0\r\n";
    for (int a = 1; a <= 122; ++a) bytes += std::to_string(a) + "\t0\t0\t0\t0\t0\t0\t0\t\r\n";
    bytes += "[END]\r\n";
    ReadResult back = readBytes(bytes);
    EXPECT_EQ(back.state->LTlineCount[1], 120);
    EXPECT_EQ(back.state->LTempirical[120][kLTFromAge][1], 120.0);
    EXPECT_EQ(back.state->LTlifeExp[120][0][1], 120.0);
    ASSERT_EQ(back.log.messages.size(), 2u);
    EXPECT_NE(back.log.messages[0].find("[LT_empirical_data/male]"), std::string::npos);
    EXPECT_NE(back.log.messages[0].find("input.txt"), std::string::npos);
    EXPECT_NE(back.log.messages[1].find("[YOLL_male]"), std::string::npos);
}

TEST_F(LTInputFileTest, FailedSaveKeepsThePreviousFileAndReportsTheError) {
    auto written = stateToSave({1}, "input.txt", "previous contents\r\n");
    runtime::testing::failNextWriterClose();
    EXPECT_THROW(proc_LTWriteInputFile(*written), runtime::InOutError);
    EXPECT_EQ(folder.read("input.txt"), "previous contents\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"input.txt"});

    written->LTinputPath = folder.dir() + "no such folder/";
    EXPECT_THROW(proc_LTWriteInputFile(*written), runtime::InOutError);
}

TEST_F(LTInputFileTest, SaveLeavesAUserFileNamedLikeATemporaryAlone) {
    auto written = stateToSave({1}, "res.txt", "previous\r\n");
    folder.write("res.txt.tmp", "the user's own\r\n");
    proc_LTWriteInputFile(*written);
    EXPECT_EQ(folder.read("res.txt.tmp"), "the user's own\r\n");
    EXPECT_EQ(folder.read("res.txt").rfind("[LT_empirical_data/male]\r\ncomment 1\r\n", 0), 0u);
    EXPECT_EQ(folder.names(), (std::vector<std::string>{"res.txt", "res.txt.tmp"}));
}

TEST_F(LTInputFileTest, SaveIntoAReadOnlyFolderOverAWritableFile) {
    auto written = stateToSave({2}, "res.txt", "previous\r\n");
    if (!runtime::testing::ranInReadOnlyFolder(folder.dir(), [&] { proc_LTWriteInputFile(*written); }))
        GTEST_SKIP() << "no unprivileged user to run as";
    const std::string saved = folder.read("res.txt");
    EXPECT_EQ(saved.rfind("[LT_empirical_data/female]\r\ncomment 2\r\n2004\r\n", 0), 0u);
    EXPECT_EQ(saved.substr(saved.size() - 7), "[END]\r\n");
    EXPECT_EQ(folder.names(), std::vector<std::string>{"res.txt"});
}

}  // namespace
}  // namespace lifetables::testing
