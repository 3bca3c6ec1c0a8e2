#include "app/axis_labels.hpp"

#include <cmath>

namespace corvane::app {

namespace {
constexpr int steps[] = {1, 2, 5, 10, 15, 20, 30, 45, 60, 90, 180, 360};
constexpr double gap_fraction = 0.2;
}  // namespace

int label_step(double span, double length, double label_extent) {
    if (span <= 0 || length <= 0) return 0;
    for (int step : steps) {
        if (length * step / span >= label_extent * (1 + gap_fraction)) return step;
    }
    return 0;
}

std::vector<int> label_degrees(double first, double last, int step) {
    std::vector<int> degrees;
    if (step <= 0) return degrees;
    // Edges a rounding error inside a multiple still get its label.
    for (auto d = static_cast<int>(std::ceil(first / step - 1e-9)) * step; d <= last + 1e-9; d += step) degrees.push_back(d);
    return degrees;
}

}  // namespace corvane::app
