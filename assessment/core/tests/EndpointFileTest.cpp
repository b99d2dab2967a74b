#include <gtest/gtest.h>

#include "assessment/core/AssessmentState.h"
#include "assessment/core/EndpointFile.h"
#include "runtime/CodePage.h"
#include "runtime/Errors.h"
#include "runtime/Files.h"
#include "runtime/testing/ScratchFolder.h"

using namespace assessment;
using runtime::testing::ScratchFolder;

TEST(EndpointFile, MissingFileIsCreatedWithTheBuiltIns) {
    ScratchFolder dir;
    const EndpointTables t = loadOrCreateEndpoints(dir.file("endp.tab"), dir.file("rec.tmp"));
    ASSERT_EQ(t.size(), 18u);
    EXPECT_EQ(t.endpoint_names[2], "Respiratory Mortality");
    EXPECT_EQ(t.codeAt(2), 2);
    const std::string text = dir.read("endp.tab");
    EXPECT_EQ(text.substr(0, 17), "0 Total Mortality");
    EXPECT_EQ(text.substr(text.size() - 26), "17 Asthma Attacks Adults\r\n");
    EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 18);
    EXPECT_EQ(readEndpointFile(dir.file("endp.tab")).endpoint_names, t.endpoint_names);
}

TEST(EndpointFile, ReaderDropsTheBlankAndKeepsFortyNineCharacters) {
    ScratchFolder dir;
    const std::string sixty(60, 'n');
    const EndpointTables t = readEndpointFile(dir.write("endp.tab", "5 Name with  blanks \r\n  7 " + sixty + "\r\n9\r\n12 x"));
    ASSERT_EQ(t.size(), 3u);  // the line without a name is not listed
    EXPECT_EQ(t.endpoint_codes, (std::vector<std::int32_t>{5, 7, 12}));
    EXPECT_EQ(t.endpoint_names[0], "Name with  blanks ");
    EXPECT_EQ(t.endpoint_names[1], std::string(49, 'n'));
    EXPECT_EQ(t.endpoint_names[2], "x");
    EXPECT_EQ(t.codeAt(3), std::nullopt);
    EXPECT_EQ(t.codeAt(-1), std::nullopt);
}

TEST(EndpointFile, MoreThanTwentySixEndpointsAreKept) {
    ScratchFolder dir;
    std::string text;
    for (int k = 0; k < 40; ++k) text += std::to_string(k) + " endpoint " + std::to_string(k) + "\r\n";
    const EndpointTables t = readEndpointFile(dir.write("endp.tab", text));
    ASSERT_EQ(t.size(), 40u);
    EXPECT_EQ(t.codeAt(39), 39);
}

TEST(EndpointFile, AddAppendsANewNameOnceAndKeepsCodes) {
    ScratchFolder dir;
    const std::string path = dir.file("endp.tab");
    const std::string tmp = dir.file("rec.tmp");
    EndpointTables t = loadOrCreateEndpoints(path, dir.file("rec.tmp"));
    EXPECT_FALSE(addEndpoint(t, "total MORTALITY", path, tmp));
    EXPECT_FALSE(addEndpoint(t, "", path, tmp));
    EXPECT_TRUE(addEndpoint(t, "Restricted Activity Days", path, tmp));
    EXPECT_EQ(t.size(), 19u);
    EXPECT_EQ(t.codeAt(18), 18);
    const std::string text = dir.read("endp.tab");
    EXPECT_EQ(text.substr(text.size() - 29), "18 Restricted Activity Days\r\n");
    EXPECT_FALSE(addEndpoint(t, "restricted activity days", path, tmp));
    // Letters of the user's code page are compared without their case: "ŁÓDŹ" is "Łódź" in 1250.
    ASSERT_TRUE(runtime::setCodePage(1250));
    EXPECT_TRUE(addEndpoint(t, "\xA3\xF3\x64\x9F", path, tmp));
    EXPECT_FALSE(addEndpoint(t, "\xA3\xD3\x44\x8F", path, tmp));
    runtime::setCodePage(1252);

    // A hand-edited file with a gap keeps its codes; the new entry takes an unused one.
    t = readEndpointFile(dir.write("endp.tab", "0 A\r\n1\r\n2 C\r\n"));
    EXPECT_TRUE(addEndpoint(t, std::string(60, 'z'), path, tmp));
    EXPECT_EQ(dir.read("endp.tab"), "0 A\r\n2 C\r\n3 " + std::string(49, 'z') + "\r\n");
    EXPECT_EQ(t.endpoint_names[2], std::string(49, 'z'));
}

TEST(EndpointFile, StateTablesFollowTheWorkingDirectory) {
    ScratchFolder dir;
    AssessmentState state;
    state.work_dir = dir.dir();
    loadOrCreateEndpoints(state);
    EXPECT_EQ(state.endpoints.size(), 18u);
    EXPECT_TRUE(addEndpoint(state, "Work Loss Days"));
    EXPECT_EQ(readEndpointFile(dir.file("endp.tab")).endpoint_names.back(), "Work Loss Days");
    EXPECT_FALSE(dir.exists("rec.tmp"));
}

TEST(EndpointFile, FailedAddChangesNeitherFileNorTables) {
    ScratchFolder dir;
    const std::string path = dir.file("endp.tab");
    EndpointTables t = loadOrCreateEndpoints(path, dir.file("rec.tmp"));
    const std::string before = dir.read("endp.tab");
    runtime::testing::failNextRename();
    EXPECT_THROW(addEndpoint(t, "New", path, dir.file("rec.tmp")), runtime::InOutError);
    EXPECT_EQ(t.size(), 18u);
    EXPECT_EQ(dir.read("endp.tab"), before);
}
