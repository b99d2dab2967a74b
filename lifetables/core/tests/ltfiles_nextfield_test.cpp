#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lifetables/core/LTNextField.h"

using lifetables::gl_LTnextField;

namespace {

// All fields of a line, read the way every reader of the life-table files reads them.
std::vector<std::string> splitAll(const std::string& line) {
    std::vector<std::string> fields;
    std::int32_t pos = 1;
    std::string field;
    while (pos > 0) {
        gl_LTnextField(line, pos, field);
        fields.push_back(field);
        if (fields.size() > line.size() + 1) break;  // never loop forever on a fault
    }
    return fields;
}

TEST(LTNextField, SplitsAtEveryTab) {
    EXPECT_EQ(splitAll("a\tbc\td"), (std::vector<std::string>{"a", "bc", "d"}));
    EXPECT_EQ(splitAll("single"), (std::vector<std::string>{"single"}));
}

TEST(LTNextField, TwoTabsGiveAnEmptyField) {
    EXPECT_EQ(splitAll("a\t\tb"), (std::vector<std::string>{"a", "", "b"}));
    EXPECT_EQ(splitAll("\tb"), (std::vector<std::string>{"", "b"}));
}

TEST(LTNextField, TabAtLineEndGivesNoFurtherField) {
    EXPECT_EQ(splitAll("1\t2\t"), (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(splitAll("1\t\t"), (std::vector<std::string>{"1", ""}));
    EXPECT_EQ(splitAll("\t"), (std::vector<std::string>{""}));
}

TEST(LTNextField, PositionsAdvanceAndEndAtMinusOne) {
    std::int32_t pos = 1;
    std::string field;
    gl_LTnextField("ab\tcd", pos, field);
    EXPECT_EQ(field, "ab");
    EXPECT_EQ(pos, 4);
    gl_LTnextField("ab\tcd", pos, field);
    EXPECT_EQ(field, "cd");
    EXPECT_EQ(pos, -1);
    // Every call after the last field gives the empty text and leaves the position.
    field = "stale";
    gl_LTnextField("ab\tcd", pos, field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(pos, -1);
}

TEST(LTNextField, EmptyLineLeavesPositionAlone) {
    std::int32_t pos = 1;
    std::string field = "stale";
    gl_LTnextField("", pos, field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(pos, 1);
}

TEST(LTNextField, PositionPastTheEndGivesEmptyField) {
    std::int32_t pos = 10;
    std::string field = "stale";
    gl_LTnextField("abc", pos, field);
    EXPECT_EQ(field, "");
    EXPECT_EQ(pos, -1);
}

TEST(LTNextField, LongFieldIsCutTo255) {
    const std::string longText(300, 'x');
    std::int32_t pos = 1;
    std::string field;
    gl_LTnextField(longText + "\tnext", pos, field);
    EXPECT_EQ(field, std::string(255, 'x'));
    gl_LTnextField(longText + "\tnext", pos, field);
    EXPECT_EQ(field, "next");
    EXPECT_EQ(pos, -1);
}

}  // namespace
