// The parameter-set file of the life tables and the built-in set.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <stdexcept>

#include "lifetables/core/LTParamFile.h"
#include "lifetables/core/LTParamRecord.h"
#include "lifetables/core/tests/ltengine_TestState.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/testing/ScratchFolder.h"

namespace lifetables {
namespace {

namespace fs = std::filesystem;
using testing::MessageLog;

class ParamFile : public ::testing::Test {
protected:
    std::string programFolder() const { return folder.dir(); }
    void writeFile(const std::string& bytes) { folder.write(kLTParamFileName, bytes); }
    static std::string recordBytes(const LTParamSet& set) {
        const LTParamRecord record = encodeLTParamRecord(set);
        return std::string(reinterpret_cast<const char*>(record.data()), record.size());
    }

    runtime::testing::ScratchFolder folder;
    std::unique_ptr<LTState> state = testing::makeState();
    MessageLog log;
};

TEST_F(ParamFile, MissingFileGivesTheBuiltInSetWithItsMessage) {
    state->LTparamSet.values[5][1] = 3.5;
    proc_LTLoadParamFile(*state, programFolder(), log.sink());
    EXPECT_EQ(log.messages, std::vector<std::string>{"No parameter file found! Program uses values of Zelk 2.0.4."});
    const LTParamSet& set = state->LTparamSet;
    EXPECT_EQ(set.name.str(), "Version_TAV_LT_01.00.00");
    for (int c = 0; c < 3; ++c) {
        EXPECT_EQ(set.values[0][c], 0);
        EXPECT_EQ(set.values[1][c], 30);
        EXPECT_EQ(set.values[2][c], 120);
    }
    EXPECT_EQ(set.values[3][0], 0.00602);
    EXPECT_EQ(set.values[4][0], 0.0022654);
    EXPECT_EQ(set.values[3][1], 0.008933);
    EXPECT_EQ(set.values[4][1], 0.002907);
    EXPECT_EQ(set.values[3][2], 0.012673);
    EXPECT_EQ(set.values[4][2], 0.00426);
    EXPECT_EQ(set.values[5][1], 3.5);  // unused columns are left alone
}

TEST_F(ParamFile, OnlyTheFirstRecordIsRead) {
    LTParamSet first;
    first.name = "Mine";
    for (int g = 0; g < 8; ++g) {
        for (int c = 0; c < 3; ++c) first.values[g][c] = g * 10 + c + 0.25;
    }
    LTParamSet second;
    second.name = "Second record";
    writeFile(recordBytes(first) + recordBytes(second));
    proc_LTLoadParamFile(*state, programFolder(), log.sink());
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(state->LTparamSet.name.str(), "Mine");
    EXPECT_EQ(state->LTparamSet.values, first.values);
}

TEST_F(ParamFile, RecordLayoutIsLittleEndianColumnByColumn) {
    LTParamSet set;
    set.name = "AB";
    set.values[2][1] = 1.0;  // 0x3FF0000000000000 at 24 + 8 * 7
    const LTParamRecord record = encodeLTParamRecord(set);
    EXPECT_EQ(record[0], 2);
    EXPECT_EQ(record[1], 'A');
    EXPECT_EQ(record[2], 'B');
    EXPECT_EQ(record[24 + 56 + 7], 0x3F);
    EXPECT_EQ(record[24 + 56 + 6], 0xF0);
    EXPECT_EQ(record[24 + 56], 0x00);
}

TEST_F(ParamFile, NameLengthDecidesAndIsCutAt23) {
    LTParamRecord record{};
    record[0] = 3;
    const std::string chars = "abcdefghijklmnopqrstuvwxyz";
    std::copy_n(chars.begin(), 23, record.begin() + 1);
    EXPECT_EQ(decodeLTParamRecord(record).name.str(), "abc");
    record[0] = 200;
    EXPECT_EQ(decodeLTParamRecord(record).name.str(), chars.substr(0, 23));
}

TEST_F(ParamFile, ShortFileFailsAndKeepsTheSet) {
    state->LTparamSet.name = "before";
    writeFile(std::string(100, '\x05'));
    EXPECT_THROW(proc_LTLoadParamFile(*state, programFolder(), log.sink()), runtime::InOutError);
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(state->LTparamSet.name.str(), "before");
}

TEST_F(ParamFile, UnreadableFileIsReportedWithItsPath) {
    fs::create_directory(folder.file(kLTParamFileName));  // exists, but cannot be read as a file
    EXPECT_THROW(proc_LTLoadParamFile(*state, programFolder(), log.sink()), runtime::InOutError);
    EXPECT_EQ(log.messages,
              std::vector<std::string>{"Error on assigning file " + programFolder() + "Zelk_LT-params.kpx"});
    EXPECT_TRUE(state->LTparamSet.name.empty());
}

TEST(ShippedParamFile, HoldsTheBuiltInSet) {
    // The build writes the file beside the programs, where the program looks for it.
    auto shipped = testing::makeState();
    MessageLog log;
    proc_LTLoadParamFile(*shipped, runtime::executableFolder(), log.sink());
    EXPECT_TRUE(log.messages.empty());
    EXPECT_EQ(fs::file_size(runtime::executableFolder() + kLTParamFileName), kLTParamRecordSize);
    auto builtIn = testing::makeState();
    proc_LTDefaultParams(*builtIn);
    EXPECT_EQ(shipped->LTparamSet.name, builtIn->LTparamSet.name);
    EXPECT_EQ(shipped->LTparamSet.values, builtIn->LTparamSet.values);
}

TEST(OsMajorVersion, TextOfTheQueryOrZero) {
    EXPECT_EQ(gl_LTosMajorVersion([] { return std::string("4"); }), "4");
    EXPECT_EQ(gl_LTosMajorVersion([] { return std::string("10"); }), "10");
    EXPECT_EQ(gl_LTosMajorVersion([] { return std::string(); }), "0");
    EXPECT_EQ(gl_LTosMajorVersion([]() -> std::string { throw std::runtime_error("no version"); }), "0");
    EXPECT_EQ(gl_LTosMajorVersion(nullptr), "0");
}

}  // namespace
}  // namespace lifetables
