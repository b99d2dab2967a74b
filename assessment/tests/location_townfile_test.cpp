// The location file's line rules, without the screens.
#include <gtest/gtest.h>

#include "assessment/TownFile.h"
#include "assessment/core/AssessmentState.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/testing/ScratchFolder.h"

using assessment::splitTownText;
using runtime::testing::readFile;
using runtime::testing::writeFile;

TEST(TownLine, BlanksAreDroppedInTheCoordinatesAndKeptInTheName) {
    const auto town = splitTownText(3, " 45 .1 | 1 2 | Old  Town ");
    EXPECT_EQ(town.id, 3);
    EXPECT_EQ(town.lat, "45.1");
    EXPECT_EQ(town.lon, "12");
    EXPECT_EQ(town.name, " Old  Town ");
}

TEST(TownLine, TextAfterAThirdBarIsIgnoredAndMissingFieldsAreEmpty) {
    EXPECT_EQ(splitTownText(1, " 1|2|Name|extra|more").name, "Name");
    const auto shortLine = splitTownText(1, " 1");
    EXPECT_EQ(shortLine.lat, "1");
    EXPECT_EQ(shortLine.lon, "");
    EXPECT_EQ(shortLine.name, "");
    EXPECT_EQ(splitTownText(1, "").lat, "");
}

TEST(TownLine, FieldsAreCutToTheirLengths) {
    const std::string longName(40, 'n');
    // Blanks go before the cut, so 20 digits with blanks between still give 15 digits.
    const auto town = splitTownText(1, " 1 2 3 4 5 6 7 8 9 0 1 2 3 4 5 6 7 8 9 0|x|" + longName);
    EXPECT_EQ(town.lat, "123456789012345");
    EXPECT_EQ(town.name, std::string(35, 'n'));
}

TEST(TownLine, WrittenAsIdBlankLatitudeBarLongitudeBarName) {
    EXPECT_EQ(assessment::formatTownLine(-1, "1,5", "", "A b"), "-1 1,5||A b");
}

TEST(TownFile, WritingKeepsEveryEntrysPlaceUpToTheLastInUseAndAFailedRewriteKeepsTheOldFile) {
    const runtime::testing::ScratchFolder dir;
    const std::string path = dir.file("town.tab");
    assessment::AssessmentState state;
    state.town_ids[0] = 4;
    state.town_names[0] = "A";
    state.town_ids[2] = 9;
    state.town_names[2] = "C";
    state.town_lat[2] = "1";
    state.town_names[3] = "Last";
    assessment::writeTownFile(state, path);
    EXPECT_EQ(readFile(path), "4 ||A\r\n-1 ||\r\n9 1||C\r\n-1 ||Last\r\n");

    state.town_names[0] = "Changed";
    runtime::testing::failNextRename();
    EXPECT_THROW(assessment::writeTownFile(state, path), runtime::InOutError);
    EXPECT_EQ(readFile(path), "4 ||A\r\n-1 ||\r\n9 1||C\r\n-1 ||Last\r\n");
}

TEST(TownFile, ReadingFillsTheTablesFromIndexZeroAndTheLargestId) {
    const runtime::testing::ScratchFolder dir;
    const std::string path = dir.write("town.tab", "7 1|2|A\r\n2 3|4|B\n");
    assessment::AssessmentState state;
    EXPECT_EQ(assessment::readTownFile(state, path), 2);
    EXPECT_EQ(state.max_town_id, 7);
    EXPECT_EQ(state.town_ids[1], 2);
    EXPECT_EQ(state.town_names[1].str(), "B");
    EXPECT_EQ(state.town_ids[2], -1);
    EXPECT_EQ(assessment::listedTownNames(state), (std::vector<std::string>{"A", "B"}));

    // A shorter file read later (another working directory) leaves none of the earlier towns.
    writeFile(path, "3 5|6|C\r\n");
    EXPECT_EQ(assessment::readTownFile(state, path), 1);
    EXPECT_EQ(state.max_town_id, 3);
    EXPECT_EQ(state.town_ids[1], -1);
    EXPECT_EQ(state.town_lat[1].str(), "");
    EXPECT_EQ(assessment::listedTownNames(state), (std::vector<std::string>{"C"}));
}
