#include <gtest/gtest.h>

#include "assessment/ChartAxisChoice.h"

using assessment::chartAxisFor;

TEST(ChartAxisChoice, StepAndDecimalsFollowTheLargestValue) {
    struct Case {
        double largest, step;
        int decimals;
    };
    const Case cases[] = {{20000, 1000, 0}, {10000, 100, 0}, {600, 100, 0}, {500, 50, 0}, {100, 10, 0},
                          {50, 5, 0},       {10, 1, 0},      {1.5, 1, 0},   {1, 0.1, 0},  {0.7, 0.1, 1},
                          {0.5, 0.01, 2},   {0.3, 0.01, 2},  {0.01, 0.001, 3}, {0.007, 0.001, 3},
                          {0.005, 0.0001, 4}, {0.0001, 0.00001, 5}, {0, 0.00001, 5}};
    for (const Case& c : cases) {
        const auto axis = chartAxisFor(5, c.largest);
        EXPECT_DOUBLE_EQ(axis.step, c.step) << c.largest;
        EXPECT_EQ(axis.decimals, c.decimals) << c.largest;
        EXPECT_DOUBLE_EQ(axis.min, 0) << c.largest;
        EXPECT_DOUBLE_EQ(axis.max, c.largest + c.step / 2) << c.largest;
    }
}

TEST(ChartAxisChoice, RelativeRiskColumnStartsAtOne) {
    const auto axis = chartAxisFor(3, 1.09);
    EXPECT_DOUBLE_EQ(axis.min, 1.0);
    EXPECT_DOUBLE_EQ(axis.max, 1.09);
    EXPECT_DOUBLE_EQ(axis.step, 0.1);
    EXPECT_EQ(axis.decimals, 2);
}
