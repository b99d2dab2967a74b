#include <gtest/gtest.h>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/RecordLine.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ScratchFolder.h"
#include "runtime/testing/SecondSave.h"

using namespace assessment;
using runtime::testing::ScratchFolder;

namespace {

AqRecord sampleRecord(std::int32_t seed) {
    AqRecord r;
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) r[i] = seed * 100 + i;
    r.text = "A;B;N;U";
    return r;
}

std::string lineOf(const AqRecord& r) { return formatRecordLine(r) + "\r\n"; }

}  // namespace

TEST(RecordLine, DefaultLineIsSixtyOneZerosAndThreeSemicolons) {
    const std::string line = defaultRecordLine();
    EXPECT_EQ(line.size(), 125u);
    std::string expected;
    for (int i = 0; i < 61; ++i) expected += "0 ";
    EXPECT_EQ(line, expected + ";;;");

    ScratchFolder dir;
    AqRecord r = sampleRecord(7);
    const auto count = readRecord(dir.write("data_rec.dat", line + "\r\n"), 1, r);
    ASSERT_TRUE(count);
    EXPECT_EQ(*count, 1);
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) EXPECT_EQ(r[i], 0) << "field " << i;
    const TailTexts tail = splitTail(r.text);
    for (const auto& t : tail) EXPECT_EQ(t, "");
}

TEST(RecordLine, TailAndNegativeFieldsSurviveRepeatedLoadAndSave) {
    ScratchFolder dir;
    AqRecord r = sampleRecord(1);
    r[kFieldYear] = -2004;
    r[AqRecord::kFieldCount] = std::numeric_limits<std::int32_t>::min();
    r[AqRecord::kFieldCount - 1] = std::numeric_limits<std::int32_t>::max();
    r.text = joinTail({"A", "B", "N", "U"});
    const std::string expected = lineOf(r);
    EXPECT_NE(expected.find("-2004 "), std::string::npos);
    EXPECT_NE(expected.find(" A;B;N;U\r\n"), std::string::npos);

    AssessmentState state;
    state.work_dir = dir.dir();
    state.data_file = dir.write("data_rec.dat", expected);
    state.cur_record = 1;
    for (int cycle = 0; cycle < 3; ++cycle) {
        state.aq_record = AqRecord{};
        showRecordFile(state, 1);
        saveRecordLine(state);
    }
    EXPECT_EQ(dir.read("data_rec.dat"), expected);
    EXPECT_EQ(splitTail(state.aq_record.text), (TailTexts{"A", "B", "N", "U"}));
    EXPECT_EQ(state.aq_record[kFieldYear], -2004);
    EXPECT_FALSE(dir.exists("rec.tmp"));
}

TEST(RecordLine, EachNamedFieldReadsItsPlaceInTheLine) {
    // Field i of this line holds 100 + i; every name must pick the number at its own place.
    std::string numbers;
    for (int i = 1; i <= 61; ++i) numbers += std::to_string(100 + i) + " ";
    ScratchFolder dir;
    AqRecord r;
    readRecord(dir.write("d", numbers + "Lo;Hi;Net;Ag\r\n"), 1, r);
    const std::pair<int, int> expected[] = {
        {kFieldTown, 101},           {kFieldPollutant, 102},      {kFieldYear, 103},
        {classField(1), 104},        {classField(25), 128},       {kFieldFirstClass, 104},
        {kFieldLastClass, 128},      {kFieldClassWidth, 129},     {kFieldPopulation, 130},
        {kFieldSpare1, 131},         {kFieldSpare2, 132},         {kFieldSpare3, 133},
        {kFieldStations, 134},       {kFieldAnnualDays, 135},     {kFieldWinterDays, 136},
        {kFieldSummerDays, 137},     {kFieldAnnualMean, 138},     {kFieldWinterMean, 139},
        {kFieldSummerMean, 140},     {kFieldAnnualP98, 141},      {kFieldAnnualMax, 142},
        {kFieldWinterMax, 143},      {kFieldSummerMax, 144},      {kFieldZero1, 145},
        {kFieldLowAnnualMean, 146},  {kFieldLowWinterMean, 147},  {kFieldLowSummerMean, 148},
        {kFieldLowAnnualMax, 149},   {kFieldLowWinterMax, 150},   {kFieldLowSummerMax, 151},
        {kFieldHighAnnualMean, 152}, {kFieldHighWinterMean, 153}, {kFieldHighSummerMean, 154},
        {kFieldHighAnnualMax, 155},  {kFieldHighWinterMax, 156},  {kFieldHighSummerMax, 157},
        {kFieldLowAnnualP98, 158},   {kFieldHighAnnualP98, 159},  {kFieldZero2, 160},
        {kFieldZero3, 161}};
    for (const auto& [field, value] : expected) EXPECT_EQ(r[field], value) << "field " << field;
    const TailTexts tail = splitTail(r.text);
    EXPECT_EQ(tail[kTailLowStation], "Lo");
    EXPECT_EQ(tail[kTailHighStation], "Hi");
    EXPECT_EQ(tail[kTailNetwork], "Net");
    EXPECT_EQ(tail[kTailAgency], "Ag");
}

TEST(RecordLine, TailSplitCutsTextsAndIgnoresAFifth) {
    EXPECT_EQ(splitTail("a;b"), (TailTexts{"a", "b", "", ""}));
    EXPECT_EQ(splitTail(";;;x;y;z"), (TailTexts{"", "", "", "x"}));
    const std::string longName(40, 'L');
    EXPECT_EQ(splitTail(longName + ";b;c;d")[0], std::string(35, 'L'));
    EXPECT_EQ(splitTail(""), (TailTexts{"", "", "", ""}));
}

TEST(RecordLine, ShortLineTakesMissingNumbersFromTheNextLine) {
    ScratchFolder dir;
    std::string first;
    for (int i = 1; i <= 60; ++i) first += std::to_string(i) + " ";
    const std::string path = dir.write("d", first + "\r\n61 x;y;z;w\r\nlast\r\n");
    AqRecord r;
    const auto count = readRecord(path, 1, r);
    EXPECT_EQ(r[AqRecord::kFieldCount - 1], 60);
    EXPECT_EQ(r[AqRecord::kFieldCount], 61);
    EXPECT_EQ(r.text, "x;y;z;w");
    EXPECT_EQ(*count, 2);  // the record's two lines count once, then the last line
}

TEST(DataFile, ShowRecordCountsLinesAndReadsPastTheEndAsZero) {
    ScratchFolder dir;
    const std::string path = dir.write("d", lineOf(sampleRecord(1)) + lineOf(sampleRecord(2)) + lineOf(sampleRecord(3)));
    AqRecord r;
    EXPECT_EQ(*readRecord(path, 2, r), 3);
    EXPECT_EQ(r[kFieldTown], 201);
    EXPECT_EQ(*readRecord(path, 4, r), 4);
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) EXPECT_EQ(r[i], 0);
    EXPECT_EQ(r.text, "");
    EXPECT_EQ(*readRecord(path, 1000000, r), 1000000);

    r = sampleRecord(9);
    EXPECT_FALSE(readRecord(path, 0, r));  // record 0: nothing read
    EXPECT_EQ(r[kFieldTown], 901);

    // A file without a final line end still counts its last line; an empty file shows record 1 of 1.
    EXPECT_EQ(*readRecord(dir.write("e", lineOf(sampleRecord(1)) + formatRecordLine(sampleRecord(2))), 1, r), 2);
    EXPECT_EQ(*readRecord(dir.write("f", ""), 1, r), 1);
}

TEST(DataFile, FieldsWrittenByNoScreenPassThroughAndDerivedIntervalIsStored) {
    ScratchFolder dir;
    AqRecord other = sampleRecord(3);
    other[kFieldPollutant] = 9;    // "CO"
    other[kFieldClassWidth] = -1;  // written by an earlier build
    AssessmentState state;
    state.work_dir = dir.dir();
    state.data_file = dir.write("data_rec.dat", lineOf(other));
    state.cur_record = 1;
    state.interval_index = 1;
    showRecordFile(state, 1);
    EXPECT_EQ(state.interval_index, 1);  // the class width is taken after the record is shown
    EXPECT_TRUE(takeRecordInterval(state));
    EXPECT_EQ(state.interval_index, 2);
    EXPECT_EQ(state.cur_pollutant, 9);
    EXPECT_EQ(state.record_count, 1);
    EXPECT_EQ(state.aq_record[kFieldSpare1], 331);
    EXPECT_EQ(state.aq_record[kFieldSpare3], 333);

    state.cur_pollutant = 12;
    showRecordFile(state, 0);  // record 0: the record in memory stays, its class width -1
    EXPECT_TRUE(takeRecordInterval(state));
    EXPECT_EQ(state.interval_index, 1);
    state.cur_pollutant = 1;
    EXPECT_TRUE(takeRecordInterval(state));
    EXPECT_EQ(state.interval_index, 0);
}

TEST(DataFile, RecordExistsCountsLinesWithTheKeyOnly) {
    ScratchFolder dir;
    AqRecord a = sampleRecord(1);
    AqRecord sameKey = a;
    sameKey[classField(1)] = 99;  // a class count is no part of the key
    sameKey[kFieldAnnualDays] = 1;
    AqRecord otherKey = a;
    otherKey[kFieldStations] = 0;  // number of stations is
    const std::string path = dir.write("d", lineOf(a) + lineOf(sameKey) + lineOf(otherKey) + lineOf(a));
    EXPECT_EQ(recordExists(path, a), 3);
    EXPECT_EQ(recordExists(path, AqRecord{}), 0);  // the final line end adds no all-zero line
    EXPECT_EQ(recordExists(dir.write("z", defaultRecordLine() + "\r\n"), AqRecord{}), 1);
    // A line that cannot be read matches no key; the lines after it still count.
    std::string bad = lineOf(a);
    bad.replace(bad.find(" 103 "), 5, " 1x3 ");
    EXPECT_EQ(recordExists(dir.write("b", lineOf(a) + bad + lineOf(a)), a), 2);
}

TEST(DataFile, ReplaceAndDeleteAddressLinesLikeTheRecordNumbers) {
    ScratchFolder dir;
    const std::string path = dir.file("d");
    const std::string tmp = dir.file("rec.tmp");
    dir.write("d", "one\r\ntwo\nthree\r\n");
    replaceLine(path, tmp, 2, "TWO");
    EXPECT_EQ(dir.read("d"), "one\r\nTWO\r\nthree\r\n");
    replaceLine(path, tmp, 0, "ONE");  // 0 addresses the first line
    EXPECT_EQ(dir.read("d"), "ONE\r\nTWO\r\nthree\r\n");
    replaceLine(path, tmp, 7, "four");  // past the end: appended
    EXPECT_EQ(dir.read("d"), "ONE\r\nTWO\r\nthree\r\nfour\r\n");

    deleteLine(path, tmp, 1);
    EXPECT_EQ(dir.read("d"), "TWO\r\nthree\r\nfour\r\n");
    deleteLine(path, tmp, 3);
    EXPECT_EQ(dir.read("d"), "TWO\r\nthree\r\n");
    deleteLine(path, tmp, 0);
    deleteLine(path, tmp, 1);
    EXPECT_EQ(dir.read("d"), "");  // the only record deleted: an empty file
    EXPECT_FALSE(dir.exists("rec.tmp"));

    AqRecord r = sampleRecord(4);
    EXPECT_EQ(*readRecord(path, 1, r), 1);
    EXPECT_EQ(r[kFieldTown], 0);  // then record 1 of 1, all zero
}

TEST(DataFile, FailedRewriteLeavesTheFileAsItWas) {
    ScratchFolder dir;
    const std::string original = "one\r\ntwo\r\n";
    const std::string path = dir.write("d", original);
    runtime::testing::failNextRename();
    EXPECT_THROW(replaceLine(path, dir.file("rec.tmp"), 1, "new"), runtime::InOutError);
    EXPECT_EQ(dir.read("d"), original);
    EXPECT_FALSE(dir.exists("rec.tmp"));
    EXPECT_THROW(deleteLine(dir.file("missing"), dir.file("rec.tmp"), 1), runtime::InOutError);
    EXPECT_FALSE(dir.exists("missing"));
    EXPECT_FALSE(dir.exists("rec.tmp"));
}

TEST(DataFile, TwoNewRecordsSavedAtOnceBothStay) {
    ScratchFolder dir;
    const std::string towns = dir.write("town.tab", "0 1|2|Town\r\n");
    AssessmentState s;
    s.work_dir = dir.dir();
    s.data_file = dir.write("data_rec.dat", lineOf(sampleRecord(1)));
    // Both users began a new record as line 2 of the file; each save rewrites the towns too.
    const auto saveNew = [&](std::int32_t seed) {
        s.aq_record = sampleRecord(seed);
        s.new_record = -1;
        s.cur_record = 2;
        saveRecordAndTowns(s, towns, [&] {
            const auto lines = runtime::readAllLines(towns);
            runtime::replaceFile(towns, dir.file("rec.tmp"), [&](runtime::TextWriter& out) {
                for (const std::string& line : lines) out.writeln(line);
            });
        });
    };
    runtime::testing::SecondSave second("write", [&] {
        saveNew(3);
        if (s.cur_record != 3 || s.new_record != 0) throw 0;
    });
    saveNew(2);
    EXPECT_TRUE(second.waitedAndSucceeded());
    EXPECT_EQ(s.cur_record, 2);
    EXPECT_EQ(dir.read("data_rec.dat"), lineOf(sampleRecord(1)) + lineOf(sampleRecord(2)) + lineOf(sampleRecord(3)));
    EXPECT_EQ(dir.read("town.tab"), "0 1|2|Town\r\n");
}
