#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <random>
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

// The files' reals are the run-time library's general form with 15 digits, character for character.
void expectGeneralForm(double value, char separator) {
    ASSERT_EQ(written(value), runtime::formatGeneral(value, 15, separator))
        << "value " << std::hexfloat << value;
}

class LTFileFieldsTest : public ::testing::Test {
protected:
    void TearDown() override { runtime::setDecimalSeparator('.'); }
};

TEST_F(LTFileFieldsTest, RealsMatchTheGeneralFormAtItsEdges) {
    const std::vector<double> edges = {
        0.0, -0.0, 1.0, -1.0, 0.1, 0.5, 2.5, 1e-4, 9.99999999999999e-5, 0.0001234, 1e-5, 1.5e-7,
        123456789012345.0, 999999999999999.0, 999999999999999.5, 1e15, 1e16, 1234567890123456.0,
        0.999999999999999949, 9.9999999999999995, 99.999999999999999, 0.30000000000000004,
        1.0 / 3.0, 2.0 / 3.0, -2.0 / 3.0, 1e300, -1e-300, 4.9e-324, std::numeric_limits<double>::max(),
        std::numeric_limits<double>::min(), 2004.0, 120.12, 0.000999999999999999, 5e-5,
        std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity(),
        std::numeric_limits<double>::quiet_NaN()};
    for (double v : edges) {
        expectGeneralForm(v, '.');
        expectGeneralForm(-v, '.');
    }
}

TEST_F(LTFileFieldsTest, RealsMatchTheGeneralFormForRandomValues) {
    std::mt19937_64 random(20050312);
    std::uniform_int_distribution<int> exponent(-30, 30);
    std::uniform_real_distribution<double> mantissa(-10.0, 10.0);
    for (int i = 0; i < 200000; ++i) {
        double v = 0;
        switch (i % 4) {
            case 0: {  // any bit pattern
                const std::uint64_t bits = random();
                std::memcpy(&v, &bits, sizeof v);
                break;
            }
            case 1: v = mantissa(random) * std::pow(10.0, exponent(random)); break;
            case 2: v = std::round(mantissa(random) * 1e6) / 1e3; break;  // few decimals
            default: v = static_cast<double>(static_cast<std::int64_t>(random() >> 12)) / 1e6; break;
        }
        expectGeneralForm(v, '.');
        if (HasFatalFailure()) return;
    }
}

TEST_F(LTFileFieldsTest, RealsUseTheUserDecimalSeparator) {
    runtime::setDecimalSeparator(',');
    EXPECT_EQ(written(2.25), "2,25");
    EXPECT_EQ(written(-1.5e-7), "-1,5E-7");
    EXPECT_EQ(written(1e20), "1E20");
    EXPECT_EQ(written(42), "42");
    expectGeneralForm(1.0 / 7.0, ',');
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
