// Every reader of the assessment files faced with truncated, binary and oversized input: an
// input/output error with its message, or a defined result; never a crash.
#include <gtest/gtest.h>

#include <functional>
#include <random>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/ConcentrationClasses.h"
#include "assessment/core/DataFile.h"
#include "assessment/core/EndpointFile.h"
#include "assessment/core/ParameterFile.h"
#include "assessment/core/RecordLine.h"
#include "runtime/Errors.h"
#include "runtime/testing/ScratchFolder.h"

using namespace assessment;
using runtime::testing::ScratchFolder;

namespace {

std::string binaryBytes(std::size_t n, unsigned seed) {
    std::mt19937 gen(seed);
    std::string bytes(n, '\0');
    for (char& c : bytes) c = static_cast<char>(gen() & 0xFF);
    bytes[0] = 'x';  // never a number at the start
    return bytes;
}

// Runs every reader on the file `content`, placed as each reader expects it.
using Reader = std::function<void(ScratchFolder&, AssessmentState&)>;

std::vector<std::pair<const char*, Reader>> allReaders() {
    return {
        {"show_record", [](ScratchFolder&, AssessmentState& s) { showRecordFile(s, 1); }},
        {"show_record 3", [](ScratchFolder&, AssessmentState& s) { showRecordFile(s, 3); }},
        {"get_param", [](ScratchFolder&, AssessmentState& s) { getParam(s.text_file3, 2, s.interval_index); }},
        {"get_data", [](ScratchFolder&, AssessmentState& s) { getData(s, 2, 0); }},
        {"save", [](ScratchFolder&, AssessmentState& s) { saveParameters(s, ParamLine{2, 0, 1, 1, 1, 1, 0, 0, 0}); }},
        {"default copy", [](ScratchFolder&, AssessmentState& s) { copyDefaultParameters(s); }},
        {"endpoints", [](ScratchFolder& d, AssessmentState&) { readEndpointFile(d.file("endp.tab")); }},
    };
}

// The content in every input file of a fresh working directory; each reader must throw the given
// code or, when `mayPass`, may also return normally. Files are left unchanged.
void feedToEveryReader(const std::string& content, int code, bool mayPass) {
    for (const auto& [name, reader] : allReaders()) {
        ScratchFolder dir;
        AssessmentState state;
        state.work_dir = state.start_dir = dir.dir();
        state.data_file = dir.write("data_rec.dat", content);
        state.text_file3 = dir.write("params.tab", content);
        dir.write("params.tav", content);
        dir.write("endp.tab", content);
        try {
            reader(dir, state);
            EXPECT_TRUE(mayPass) << name << " accepted malformed input";
        } catch (const runtime::InOutError& e) {
            EXPECT_EQ(e.code(), code) << name;
            EXPECT_EQ(std::string(e.what()), runtime::ioMessage(code)) << name;
            EXPECT_EQ(dir.read("params.tab"), content) << name;
            EXPECT_EQ(dir.read("data_rec.dat"), content) << name;
        }
        EXPECT_FALSE(dir.exists("rec.tmp")) << name;
    }
}

}  // namespace

TEST(MalformedInput, BinaryFilesGiveInvalidNumericInput) {
    for (unsigned seed = 1; seed <= 5; ++seed) feedToEveryReader(binaryBytes(4096, seed), runtime::kInvalidNumericInput, false);
}

TEST(MalformedInput, OversizedNumbersGiveInvalidNumericInput) {
    const std::string longNumber = std::string(100000, '9') + " 1 2 3\r\n";
    feedToEveryReader(longNumber + longNumber + longNumber, runtime::kInvalidNumericInput, false);
    const std::string beyond = "2147483648 0 1 1 1 1 0 0 0\r\n";
    feedToEveryReader(beyond + beyond + beyond, runtime::kInvalidNumericInput, false);
    // A real beyond the single-precision range in an otherwise sound parameter line.
    ScratchFolder dir;
    AssessmentState state;
    state.text_file3 = dir.write("params.tab", "2 0 1e39 1 1 1 0 0 0\r\n");
    EXPECT_THROW(getData(state, 2, 0), runtime::InOutError);
    state.text_file3 = dir.write("params.tab", "2 0 1 nan 1 1 0 0 0\r\n");
    EXPECT_THROW(getData(state, 2, 0), runtime::InOutError);
}

TEST(MalformedInput, OversizedTextsAreCut) {
    ScratchFolder dir;
    const std::string huge(1 << 20, 'T');
    std::string numbers;
    for (int i = 1; i <= 61; ++i) numbers += "1 ";
    AqRecord record;
    EXPECT_EQ(*readRecord(dir.write("d", numbers + huge + ";" + huge + "\r\n2\r\n"), 1, record), 2);
    const TailTexts tail = splitTail(record.text);
    EXPECT_EQ(tail[0], std::string(35, 'T'));
    EXPECT_EQ(tail[1], std::string(35, 'T'));
    EXPECT_EQ(tail[2], "");
    EXPECT_THROW(readRecord(dir.write("d", "1 2 3 " + huge + "\r\n"), 1, record), runtime::InOutError);

    const EndpointTables t = readEndpointFile(dir.write("endp.tab", "4 " + huge + "\r\n5 b\r\n"));
    EXPECT_EQ(t.endpoint_names, (std::vector<std::string>{std::string(49, 'T'), "b"}));
}

TEST(MalformedInput, TruncatedInputReadsMissingNumbersAsZero) {
    ScratchFolder dir;
    // A data line cut short: the missing fields are 0 and the tail is empty.
    AqRecord record;
    for (int i = 1; i <= AqRecord::kFieldCount; ++i) record[i] = 5;
    EXPECT_EQ(*readRecord(dir.write("d", "1 2 3"), 1, record), 1);
    EXPECT_EQ(record[kFieldYear], 3);
    EXPECT_EQ(record[classField(1)], 0);
    EXPECT_EQ(record[AqRecord::kFieldCount], 0);
    EXPECT_EQ(record.text, "");

    // A parameter line cut short: the missing fields are 0.
    AssessmentState state;
    state.text_file3 = dir.write("params.tab", "2 0 1000 1.0");
    EXPECT_TRUE(getData(state, 2, 0));
    EXPECT_EQ(state.param_record.rr, 1.0f);
    EXPECT_EQ(state.param_record.rr_upper, 0.0f);
    EXPECT_EQ(state.interval_index, 0);

    // Empty lines at the end add no record.
    state.text_file3 = dir.write("params.tab", "2 0 1 1 1 1 0 0 2\r\n\r\n\r\n");
    EXPECT_EQ(readParamFile(state.text_file3).size(), 1u);
    std::int32_t interval = -1;
    getParam(state.text_file3, 7, interval);
    EXPECT_EQ(interval, 2);

    // An endpoint line of only a code is not listed; a cut name is kept as it stands.
    const EndpointTables t = readEndpointFile(dir.write("endp.tab", "0 Total Mor"));
    EXPECT_EQ(t.endpoint_names, std::vector<std::string>{"Total Mor"});
    EXPECT_EQ(readEndpointFile(dir.write("endp.tab", "3")).size(), 0u);
}

TEST(MalformedInput, MissingFilesAreFileNotFound) {
    ScratchFolder dir;
    AssessmentState state;
    state.work_dir = state.start_dir = dir.dir();
    state.data_file = state.text_file3 = dir.file("none");
    AqRecord record;
    for (const auto& [name, reader] : allReaders()) {
        if (std::string(name) == "default copy") continue;  // reported to the caller, which ends the program
        try {
            reader(dir, state);
            ADD_FAILURE() << name;
        } catch (const runtime::InOutError& e) {
            EXPECT_EQ(std::string(e.what()), "File not found") << name;
        }
    }
    EXPECT_FALSE(copyDefaultParameters(state));
    EXPECT_FALSE(dir.exists("params.tab"));
}
