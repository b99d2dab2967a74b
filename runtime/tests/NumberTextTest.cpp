// Numbers to texts and back, once in the C locale and once with the C library in German, where
// its own conversions would take "," for the decimal point: the results must not differ.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "runtime/Errors.h"
#include "runtime/NumberText.h"

using namespace runtime;

class NumberText : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_NE(std::setlocale(LC_ALL, GetParam()), nullptr) << GetParam() << " is not installed";
        ASSERT_EQ(std::string(std::localeconv()->decimal_point), std::string(GetParam())[0] == 'd' ? "," : ".");
    }
    void TearDown() override { std::setlocale(LC_ALL, "C"); }
};
INSTANTIATE_TEST_SUITE_P(CAndGerman, NumberText, ::testing::Values("C", "de_DE.UTF-8"));

TEST_P(NumberText, ExponentFormOfTheParameterFiles) {
    EXPECT_EQ(formatExponent23(1.06L), " 1.06000000000000E+0000");
    EXPECT_EQ(formatExponent23(12.5L), " 1.25000000000000E+0001");
    EXPECT_EQ(formatExponent23(-0.5L), "-5.00000000000000E-0001");
    EXPECT_EQ(formatExponent23(0.0L), " 0.00000000000000E+0000");
    EXPECT_EQ(formatExponent23(1000.0L), " 1.00000000000000E+0003");
    // A value that passed through a 32-bit float keeps its single-precision digits.
    EXPECT_EQ(formatExponent23(static_cast<long double>(1.06f)), " 1.05999994277954E+0000");
    EXPECT_EQ(formatExponent23(9.999999999999999L), " 1.00000000000000E+0001");
    EXPECT_EQ(formatExponent23(1.006L).size(), 23u);
}

TEST_P(NumberText, FixedNotationRoundsToPrecisionThenDecimals) {
    EXPECT_EQ(formatFixed(2.5L, 6, 2, '.'), "2.50");
    EXPECT_EQ(formatFixed(77.456L, 6, 2, '.'), "77.46");
    EXPECT_EQ(formatFixed(0.09L, 7, 4, '.'), "0.0900");
    EXPECT_EQ(formatFixed(82.56880734L, 7, 1, '.'), "82.6");
    EXPECT_EQ(formatFixed(123.456789L, 7, 5, '.'), "123.45680");  // 7 significant digits, padded
    EXPECT_EQ(formatFixed(0.006L, 7, 2, '.'), "0.01");
    EXPECT_EQ(formatFixed(0.004L, 7, 2, '.'), "0.00");
    EXPECT_EQ(formatFixed(-0.004L, 7, 2, '.'), "0.00");  // no sign on a rounded zero
    EXPECT_EQ(formatFixed(-1.5L, 7, 1, ','), "-1,5");
    EXPECT_EQ(formatFixed(0.0L, 7, 3, '.'), "0.000");
    EXPECT_EQ(formatFixed(1.0L, 6, 0, '.'), "1");
    EXPECT_EQ(formatFixed(9999999.0L, 7, 1, '.'), "9999999.0");
    EXPECT_EQ(formatFixed(0.00602L, 6, 7, '.'), "0.0060200");
    // More integer digits than the precision: exponent form.
    EXPECT_EQ(formatFixed(12345678.0L, 7, 1, '.'), "1.234568E7");
    EXPECT_EQ(formatFixed(1234567.0L, 6, 2, '.'), "1.23457E6");
}

TEST_P(NumberText, GeneralNotation) {
    EXPECT_EQ(formatGeneral(1.06L, 5, '.'), "1.06");
    EXPECT_EQ(formatGeneral(12.5L, 5, '.'), "12.5");
    EXPECT_EQ(formatGeneral(100.0L, 15, '.'), "100");
    EXPECT_EQ(formatGeneral(0.0001L, 5, '.'), "0.0001");
    EXPECT_EQ(formatGeneral(99999.0L, 5, '.'), "99999");
    EXPECT_EQ(formatGeneral(100000.0L, 5, '.'), "1E5");
    EXPECT_EQ(formatGeneral(100000.0L, 5, '.', 3), "1E005");
    EXPECT_EQ(formatGeneral(0.00001L, 5, '.'), "1E-5");
    EXPECT_EQ(formatGeneral(1.5e-7L, 15, '.'), "1.5E-7");
    EXPECT_EQ(formatGeneral(-2.25L, 15, ','), "-2,25");
    EXPECT_EQ(formatGeneral(0.0L, 15, '.'), "0");
    EXPECT_EQ(formatGeneral(0.1L, 15, '.'), "0.1");
    EXPECT_EQ(formatGeneral(1.0L / 3.0L, 15, '.'), "0.333333333333333");
    EXPECT_EQ(formatGeneral(2.0L / 3.0L, 7, '.'), "0.6666667");
    EXPECT_EQ(formatGeneral(1e15L, 15, '.'), "1E15");
    EXPECT_EQ(formatGeneral(999999999999999.0L, 15, '.'), "999999999999999");
    EXPECT_EQ(formatGeneral(static_cast<long double>(1.06f), 15, '.'), "1.05999994277954");
}

TEST_P(NumberText, ConversionsAndTheirErrors) {
    EXPECT_EQ(strToInt("42"), 42);
    EXPECT_EQ(strToInt("  -7"), -7);
    EXPECT_EQ(strToInt("$1F"), 31);
    EXPECT_EQ(strToInt("-2147483648"), INT32_MIN);
    try {
        strToInt("12a");
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'12a' is not a valid integer value");
    }
    EXPECT_THROW(strToInt(""), ConvertError);
    EXPECT_THROW(strToInt("2147483648"), ConvertError);
    EXPECT_THROW(strToInt("12 "), ConvertError);
    EXPECT_DOUBLE_EQ(static_cast<double>(strToFloat(" 1,5 ", ',')), 1.5);
    EXPECT_DOUBLE_EQ(static_cast<double>(strToFloat("1.5E-7", '.')), 1.5e-7);
    EXPECT_DOUBLE_EQ(static_cast<double>(strToFloat(".5", '.')), 0.5);
    try {
        strToFloat("1.5", ',');
        FAIL();
    } catch (const ConvertError& e) {
        EXPECT_STREQ(e.what(), "'1.5' is not a valid floating point value");
    }
    EXPECT_THROW(strToFloat("1e", '.'), ConvertError);
    EXPECT_THROW(strToFloat("inf", '.'), ConvertError);
    EXPECT_THROW(strToFloat("1e99999", '.'), ConvertError);
    EXPECT_DOUBLE_EQ(static_cast<double>(strToFloat("7.5", '.')), 7.5);
    long double v = -1;
    EXPECT_TRUE(parseRealToken("1.006", v));
    EXPECT_EQ(v, 1.006L);
}

TEST_P(NumberText, RealsBeyondADoubleAreNoNumberAndTinyOnesZero) {
    long double v = -1;
    for (const char* text : {"1e999", "-1e999", "1.8e308", "1e5000", "0.00001e5000"})
        EXPECT_FALSE(tryStrToFloat(text, v, '.')) << text;
    for (const char* text : {"1e-400", "-1e-400", "1e-5000", "0e99999", "0.0000001e-4950"}) {
        v = -1;
        EXPECT_TRUE(tryStrToFloat(text, v, '.')) << text;
        EXPECT_EQ(v, 0.0L) << text;
    }
    EXPECT_TRUE(tryStrToFloat("-1.7976931348623157e308", v, '.'));
    EXPECT_EQ(static_cast<double>(v), -1.7976931348623157e308);
    EXPECT_EQ(formatGeneral(v, 15, '.'), "-1.79769313486232E308");  // as written, it reads again
    EXPECT_TRUE(tryStrToFloat("-1.79769313486232E308", v, '.'));
    EXPECT_EQ(static_cast<double>(v), -1.7976931348623157e308);
    EXPECT_FALSE(tryStrToFloat("1.79769313486233E308", v, '.'));
    EXPECT_TRUE(tryStrToFloat("2,5e-300", v, ','));
    EXPECT_EQ(static_cast<double>(v), 2.5e-300);
}
