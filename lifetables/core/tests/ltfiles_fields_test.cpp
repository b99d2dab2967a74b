#include <gtest/gtest.h>

#include <limits>
#include <string>
#include <vector>

#include "lifetables/core/LTFileFields.h"
#include "runtime/Errors.h"
#include "runtime/NumberText.h"

namespace lifetables {
namespace {

std::string written(double value) {
    std::string line;
    ltAppendReal(line, value);
    return line;
}

class LTFileFieldsTest : public ::testing::Test {
protected:
    void TearDown() override { runtime::setDecimalSeparator('.'); }
};

struct Written {
    double value;
    const char* text;
};

void expectTexts(const std::vector<Written>& cases) {
    for (const Written& c : cases) EXPECT_EQ(written(c.value), c.text) << "value " << std::hexfloat << c.value;
}

TEST_F(LTFileFieldsTest, RealsKeepFifteenSignificantDigits) {
    expectTexts({
        {1.0 / 3.0, "0.333333333333333"},
        {2.0 / 3.0, "0.666666666666667"},
        {-2.0 / 3.0, "-0.666666666666667"},
        {100.0 / 7.0, "14.2857142857143"},
        {123456789012.34567, "123456789012.346"},
        {123456789012345.6, "123456789012346"},
        {1.23456789012345678e-3, "0.00123456789012346"},
        {0.30000000000000004, "0.3"},
        {0.99999999999999989, "1"},
        {1.0000000000000002, "1"},
        {65.123456789012344, "65.1234567890123"},
    });
}

TEST_F(LTFileFieldsTest, RealsDropTrailingZerosAndTheSeparatorOfWholeNumbers) {
    expectTexts({
        {0.0, "0"},
        {-0.0, "0"},
        {1.0, "1"},
        {-1.0, "-1"},
        {2004.0, "2004"},
        {100000.0, "100000"},
        {0.5, "0.5"},
        {2.5, "2.5"},
        {-3.5, "-3.5"},
        {120.12, "120.12"},
        {99999.75, "99999.75"},
        {0.1, "0.1"},
        {123.456, "123.456"},
    });
}

TEST_F(LTFileFieldsTest, RealsSwitchToTheExponentFormBelow1EMinus4AndBeyond15IntegerDigits) {
    expectTexts({
        // Small magnitudes: 0.0001 is the smallest plain one.
        {1e-4, "0.0001"},
        {-1e-4, "-0.0001"},
        {9.99999999999999999e-5, "0.0001"},  // rounds up to the plain range
        {0.0001234, "0.0001234"},
        {9e-5, "9E-5"},
        {9.99999999999999e-5, "9.99999999999999E-5"},
        {-0.00002, "-2E-5"},
        {1.5e-7, "1.5E-7"},
        {-1.5e-7, "-1.5E-7"},
        {1.25e-10, "1.25E-10"},
        {1e-300, "1E-300"},
        {2.2250738585072014e-308, "2.2250738585072E-308"},
        {4.9406564584124654e-324, "4.94065645841247E-324"},
        // Large magnitudes: fifteen integer digits are the most written plain.
        {1e14, "100000000000000"},
        {999999999999999.0, "999999999999999"},
        {-999999999999999.0, "-999999999999999"},
        {1e15, "1E15"},
        {-1e15, "-1E15"},
        {999999999999999.5, "1E15"},
        {1234567890123456.0, "1.23456789012346E15"},
        {2.5e20, "2.5E20"},
        {1e300, "1E300"},
        {1.7976931348623157e308, "1.79769313486232E308"},
        {std::numeric_limits<double>::infinity(), "INF"},
        {-std::numeric_limits<double>::infinity(), "-INF"},
        {std::numeric_limits<double>::quiet_NaN(), "NAN"},
    });
}

TEST_F(LTFileFieldsTest, RealsUseTheUserDecimalSeparator) {
    runtime::setDecimalSeparator(',');
    EXPECT_EQ(written(2.25), "2,25");
    EXPECT_EQ(written(-1.5e-7), "-1,5E-7");
    EXPECT_EQ(written(1e20), "1E20");
    EXPECT_EQ(written(42), "42");
    expectTexts({
        {1.0 / 7.0, "0,142857142857143"},
        {-1.0 / 3.0, "-0,333333333333333"},
        {1e-4, "0,0001"},
        {9.99999999999999e-5, "9,99999999999999E-5"},
        {999999999999999.0, "999999999999999"},
        {1234567890123456.0, "1,23456789012346E15"},
        {120.5, "120,5"},
    });
}

TEST_F(LTFileFieldsTest, FieldReaderConvertsEveryKind) {
    LTFieldReader f("12\t-3.5\t1.5E-7\t2e3\t259\t0\t-1\t7\ttext\t");
    EXPECT_EQ(f.integer(), 12);
    EXPECT_EQ(f.real(), -3.5);
    EXPECT_EQ(f.real(), 1.5e-7);
    EXPECT_EQ(f.real(), 2000.0);
    EXPECT_EQ(f.lowByte(), 3);
    EXPECT_FALSE(f.boolean());
    EXPECT_TRUE(f.boolean());
    EXPECT_TRUE(f.boolean());
    EXPECT_EQ(f.text(), "text");
    // Past the last field every number conversion fails.
    EXPECT_THROW(f.integer(), runtime::ConvertError);
    EXPECT_THROW(f.real(), runtime::ConvertError);
    EXPECT_THROW(f.boolean(), runtime::ConvertError);
}

TEST_F(LTFileFieldsTest, CauseIndexOutsideItsTablesIsRefused) {
    LTFieldReader f("0\t2\t3\t-1");
    EXPECT_EQ(f.cause(), 0);
    EXPECT_EQ(f.cause(), 2);
    EXPECT_THROW(f.cause(), runtime::ConvertError);
    EXPECT_THROW(f.cause(), runtime::ConvertError);
}

TEST_F(LTFileFieldsTest, NumbersBeyondTheRangeOfADoubleAreRefused) {
    LTFieldReader f("1E400\t-1E400\t1E-400");
    EXPECT_THROW(f.real(), runtime::ConvertError);
    EXPECT_THROW(f.real(), runtime::ConvertError);
    EXPECT_EQ(f.real(), 0.0);
}

}  // namespace
}  // namespace lifetables
