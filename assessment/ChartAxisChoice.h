#pragma once
// The value axis of the chart for one results column: its step, decimals and range, chosen from
// the column's largest value.
namespace assessment {

struct ChartAxisChoice {
    double min = 0;
    double max = 0;
    double step = 0;
    int decimals = 0;
};

constexpr int kRelativeRiskColumn = 3;

// `column` is the results column 1..8, `largest` its largest value over the three estimates.
ChartAxisChoice chartAxisFor(int column, double largest);

}  // namespace assessment
