// Truncated, mutated and random input/result files: the reader ends with a message or a conversion
// error, never with a crash or a write outside its tables (the sanitizer build checks the latter).
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "lifetables/core/LTInputFile.h"
#include "lifetables/core/tests/ltfiles_TestData.h"
#include "runtime/Errors.h"

namespace lifetables::testing {
namespace {

class LTInputFileRobustnessTest : public ::testing::Test {
protected:
    void SetUp() override {
        auto written = makeState();
        fillState(*written);
        written->LTinputPath = folder.dir();
        written->LTinputName = "valid.txt";
        proc_LTWriteInputFile(*written);
        valid = folder.read("valid.txt");
        state->LTinputPath = folder.dir();
        state->LTinputName = "input.txt";
    }

    // Reads the bytes; only the reader's own outcomes are allowed.
    void feed(const std::string& bytes) {
        folder.write("input.txt", bytes);
        try {
            proc_LTReadInputFile(*state, log.sink());
        } catch (const runtime::ConvertError&) {
            ++conversionErrors;
        }
        for (int s = 1; s <= kLTSexCount; ++s) {
            ASSERT_GE(state->LTlineCount[s], 0);
            ASSERT_LE(state->LTlineCount[s], kLTMaxRows);
        }
    }

    static std::string join(const std::vector<std::string>& parts) {
        std::string bytes;
        for (const auto& p : parts) bytes += p + "\r\n";
        return bytes;
    }

    ScratchFolder folder;
    std::unique_ptr<LTState> state = makeState();  // reused: a read needs no cleared state here
    MessageLog log;
    std::string valid;
    int conversionErrors = 0;
};

TEST_F(LTInputFileRobustnessTest, TruncatedFiles) {
    for (std::size_t length = 0; length < valid.size(); length += 13) {
        feed(valid.substr(0, length));
        if (HasFatalFailure()) return;
    }
    EXPECT_GT(conversionErrors, 0);
}

TEST_F(LTInputFileRobustnessTest, MutatedFiles) {
    std::mt19937 random(7);
    const std::vector<std::string> original = crlfLines(valid);
    const std::vector<std::string> specials = {"[END]", "[LT_Infos]", "[LT_relative_risks]", "[YOLL_all]",
                                               "[LT_empirical_data/male]", "[LT_empiricla_data/male+female]",
                                               "", "\t", "[END]\tx", "1E400\t-5\t\t"};
    for (int round = 0; round < 400; ++round) {
        std::vector<std::string> parts = original;
        const int edits = 1 + static_cast<int>(random() % 8);
        for (int e = 0; e < edits && !parts.empty(); ++e) {
            const std::size_t at = random() % parts.size();
            switch (random() % 5) {
                case 0: parts.erase(parts.begin() + static_cast<long>(at)); break;
                case 1:  // many copies of one line, past the 120 rows of a section
                    parts.insert(parts.begin() + static_cast<long>(at), 130, parts[at]);
                    break;
                case 2: parts.insert(parts.begin() + static_cast<long>(at), specials[random() % specials.size()]); break;
                case 3:
                    if (!parts[at].empty()) parts[at][random() % parts[at].size()] = static_cast<char>(random());
                    break;
                default: parts[at] = parts[at].substr(0, random() % (parts[at].size() + 1)); break;
            }
        }
        feed(join(parts));
        if (HasFatalFailure()) return;
    }
}

TEST_F(LTInputFileRobustnessTest, RandomBytesAndRandomFields) {
    std::mt19937 random(11);
    const std::string alphabet = "0123456789-.,E\t\r\n[]END_LTYOLabc ";
    for (int round = 0; round < 300; ++round) {
        std::string bytes;
        const std::size_t size = random() % 4000;
        const bool anyByte = round % 2 == 0;
        for (std::size_t i = 0; i < size; ++i) {
            bytes += anyByte ? static_cast<char>(random()) : alphabet[random() % alphabet.size()];
        }
        // Give the structured half a section to fall into.
        if (!anyByte) bytes = std::string(round % 4 == 1 ? "[YOLL_male]\r\n" : "[LT_empirical_data/female]\r\n") + bytes;
        feed(bytes);
        if (HasFatalFailure()) return;
    }
}

}  // namespace
}  // namespace lifetables::testing
