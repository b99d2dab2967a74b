// The user's code page: the texts of the files to and from Unicode, through the system's iconv; and the
// short texts that are cut on assignment.
#include <gtest/gtest.h>

#include <clocale>

#include "runtime/CodePage.h"
#include "runtime/ShortText.h"
#include "runtime/TextFile.h"
#include "runtime/testing/ScratchFolder.h"

using namespace runtime;

namespace {
const std::string kLodzUtf8 = "\xC5\x81\xC3\xB3\x64\xC5\xBA";  // "Łódź"
const std::string kByteOrderMark = "\xEF\xBB\xBF";
}  // namespace

TEST(CodePage, Windows1252RoundTripsEveryByteAndMarksForeignCharacters) {
    ASSERT_EQ(codePage(), 1252);
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(ansiFromUtf8(utf8FromAnsi(all)), all);
    EXPECT_EQ(utf8FromAnsi("\x80"), "\xE2\x82\xAC");      // euro sign
    EXPECT_EQ(utf8FromAnsi("\xB5g/m3"), "\xC2\xB5g/m3");  // micro sign
    // The bytes without a letter read as the C1 controls of the same value.
    EXPECT_EQ(utf8FromAnsi("\x81\x8D\x8F\x90\x9D"), "\xC2\x81\xC2\x8D\xC2\x8F\xC2\x90\xC2\x9D");
    EXPECT_EQ(ansiFromUtf8("\xE4\xB8\xAD"), "?");            // a character without a byte
    EXPECT_EQ(ansiFromUtf8("a\xE2\x82"), "a?");              // truncated sequence
    EXPECT_TRUE(ansiCanHold("Z\xC3\xBCrich \xE2\x82\xAC"));  // "Zürich €"
    EXPECT_FALSE(ansiCanHold(kLodzUtf8));
    EXPECT_EQ(ansiUpperCase(0xFF), 0x9F);  // ÿ Ÿ
    EXPECT_EQ(ansiUpperCase(0xDF), 0xDF);  // ß has no capital of its own
}

TEST(CodePage, TheLanguageOfTheLocaleChoosesIt) {
    const std::pair<const char*, int> cases[] = {
        {"pl_PL.UTF-8", 1250}, {"sr_RS@latin", 1250}, {"sr_RS.UTF-8", 1251}, {"uk_UA.UTF-8", 1251},
        {"el_GR.UTF-8", 1253}, {"az_AZ.UTF-8", 1254}, {"he_IL.UTF-8", 1255}, {"fa_IR.UTF-8", 1256},
        {"lv_LV.UTF-8", 1257}, {"vi_VN", 1258},       {"th_TH.UTF-8", 874},  {"de_DE.UTF-8", 1252},
        {"C", 1252},           {"C.UTF-8", 1252},     {"POSIX", 1252},       {"", 1252}};
    for (const auto& [locale, expected] : cases) EXPECT_EQ(codePageOfLocale(locale), expected) << locale;
}

// The process runs under a Polish locale, as a user's program does once the locale is set.
class PolishLocale : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, "pl_PL.UTF-8"), nullptr) << "the Polish locale is not installed";
        ASSERT_EQ(std::string(std::setlocale(LC_CTYPE, nullptr)), "pl_PL.UTF-8");
        setCodePageOfProcessLocale();
        ASSERT_EQ(codePage(), 1250);
    }
    void TearDown() override {
        std::setlocale(LC_ALL, "C");
        setCodePageOfProcessLocale();
    }
};

TEST_F(PolishLocale, PolishLettersHaveTheirBytesAndUndefinedBytesComeBack) {
    EXPECT_EQ(ansiFromUtf8(kLodzUtf8), "\xA3\xF3\x64\x9F");
    EXPECT_EQ(utf8FromAnsi("\xA3\xF3\x64\x9F"), kLodzUtf8);
    EXPECT_EQ(ansiFromUtf8("\xE6\x9D\xB1"), "?");  // 東
    EXPECT_EQ(ansiUpperCase(0xB3), 0xA3);          // ł Ł
    EXPECT_EQ(ansiUpperCase(0x9F), 0x8F);          // ź Ź
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(ansiFromUtf8(utf8FromAnsi(all)), all);  // 0x81, 0x83, 0x88, 0x90 and 0x98 included
}

TEST_F(PolishLocale, AFileWithTheByteOrderMarkIsReadAsUtf8) {
    const runtime::testing::ScratchFolder folder;
    // "Łódź" in UTF-8 after the mark; a reader sees the code page's bytes.
    TextReader in(folder.write("town.tab", kByteOrderMark + "0 1|2|" + kLodzUtf8 + "\r\n"));
    EXPECT_EQ(in.readLine(), "0 1|2|\xA3\xF3\x64\x9F");
    EXPECT_EQ(readAllLines(folder.write("plain.tab", kByteOrderMark + "x\r\n")), std::vector<std::string>{"x"});
    // Without the mark, the same bytes are code-page bytes, whatever they look like.
    EXPECT_EQ(readAllLines(folder.write("plain.tab", "\xC5\x81\r\n")), std::vector<std::string>{"\xC5\x81"});

    // A character without a byte stops the read at its line; so does malformed UTF-8.
    const std::pair<std::string, std::string> failures[] = {
        {"a\r\nb\nc\xE6\x9D\xB1\r\n", "Line 3 of \"town.tab\" holds a character that code page 1250 cannot hold."},
        {"\xC5\x81\r\n\xC5\r\n",
         "Line 2 of \"town.tab\" is not UTF-8 text, as the file's byte-order mark says it is."}};
    for (const auto& [utf8, message] : failures) {
        try {
            TextReader failing(folder.write("town.tab", kByteOrderMark + utf8));
            ADD_FAILURE() << "read without error: " << utf8;
        } catch (const UnheldCharacterError& error) {
            EXPECT_EQ(error.what(), message);
        }
    }
}

TEST(ShortText, CutsSilentlyOnAssignment) {
    ShortText<9> caption = "20.0-24.99";
    EXPECT_EQ(caption.str(), "20.0-24.9");
    caption = "5";
    EXPECT_EQ(caption.str(), "5");
    EXPECT_TRUE(caption == "5");
    EXPECT_TRUE(caption == std::string("5"));
    EXPECT_FALSE(caption == ShortText<9>("6"));
}
