#include "assessment/ChartAxisChoice.h"

namespace assessment {

namespace {

// Each test that holds overrides the earlier ones.
double stepFor(double v) {
    double step = 0;
    if (v <= 10) step = 1;
    if (v > 10 && v <= 50) step = 5;
    if (v > 50 && v <= 100) step = 10;
    if (v > 100 && v <= 500) step = 50;
    if (v > 500) step = 100;
    if (v > 10000) step = 1000;
    if (v <= 1) step = 0.1;
    if (v <= 0.5) step = 0.01;
    if (v <= 0.01) step = 0.001;
    if (v <= 0.005) step = 0.0001;
    if (v <= 0.0001) step = 0.00001;
    return step;
}

int decimalsFor(double v) {
    if (v >= 1) return 0;
    int decimals = 1;
    if (v <= 0.5) decimals = 2;
    if (v <= 0.01) decimals = 3;
    if (v <= 0.005) decimals = 4;
    if (v <= 0.0001) decimals = 5;
    return decimals;
}

}  // namespace

ChartAxisChoice chartAxisFor(int column, double largest) {
    ChartAxisChoice axis;
    axis.step = stepFor(largest);
    axis.decimals = decimalsFor(largest);
    axis.min = 0;
    axis.max = largest + axis.step / 2;
    if (column == kRelativeRiskColumn) {
        axis.max = largest;
        axis.step = 0.1;
        axis.min = 1.0;
        axis.decimals = 2;
    }
    return axis;
}

}  // namespace assessment
