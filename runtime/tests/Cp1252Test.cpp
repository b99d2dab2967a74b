#include <gtest/gtest.h>

#include "runtime/Cp1252.h"
#include "runtime/ShortText.h"

using namespace runtime;

TEST(Cp1252, RoundTripsEveryByteAndMarksForeignCharacters) {
    std::string all;
    for (int c = 1; c < 256; ++c) all += static_cast<char>(c);
    EXPECT_EQ(cp1252FromUtf8(utf8FromCp1252(all)), all);
    EXPECT_EQ(utf8FromCp1252("\x80"), "\xE2\x82\xAC");     // euro sign
    EXPECT_EQ(utf8FromCp1252("\xB5g/m3"), "\xC2\xB5g/m3");  // micro sign
    EXPECT_EQ(cp1252FromUtf8("\xE4\xB8\xAD"), "?");         // a character without a byte
    EXPECT_EQ(cp1252FromUtf8("a\xE2\x82"), "a?");           // truncated sequence
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
