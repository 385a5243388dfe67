#include "map/MapClasses.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "data/ValueRoutines.h"

namespace {

// x truncated toward zero into the 64-bit range.
std::int64_t Truncate64(double x) {
    constexpr double kLimit = 9223372036854774784.0;  // the largest double below 2^63
    if (std::isnan(x)) return 0;
    if (x >= kLimit) return std::numeric_limits<std::int64_t>::max();
    if (x <= -kLimit) return std::numeric_limits<std::int64_t>::min() + 1;
    return static_cast<std::int64_t>(x);
}

// Divides m by 10, 100, 1000, ... until the quotient is at most 100 in magnitude; returns
// the quotient and the power of ten it was divided by.
std::pair<std::int64_t, std::int64_t> LeadingDigits(std::int64_t m) {
    std::int64_t power = 10;
    std::int64_t q = m / power;
    while (q > 100 || q < -100) {
        power *= 10;
        q = m / power;
    }
    return {q, power};
}

}  // namespace

double RoundClassMinimum(double min) {
    const auto [q, power] = LeadingDigits(Truncate64(min));
    return double(q) * double(power);
}

double RoundClassStep(double step) {
    const auto [q, power] = LeadingDigits(Truncate64(step));
    // In double: (q + 1) x 10^k can pass the 64-bit range for the largest steps.
    return double(q + 1) * double(power);
}

CMapClasses ComputeClassBounds(std::vector<double> values, double min, double max) {
    CMapClasses classes;
    if (values.empty()) return classes;
    classes.empty = false;

    std::sort(values.begin(), values.end());
    std::vector<double> distinct{values.front()};
    for (double v : values) {
        if (v != distinct.back()) distinct.push_back(v);
    }
    const int last = int(distinct.size()) - 1;
    double step = last * 0.04;
    if (step >= 1.0) {
        classes.lower[0] = distinct[0];
        for (int j = 0; j < kMapClassCount; ++j) {
            // Rounding can carry (j + 1) x step one past the last distinct value (29 or 56
            // values): the top class then ends at the largest value.
            const int k = std::min(int(std::ceil((j + 1) * step)), last);
            classes.upper[j] = distinct[k];
            if (j > 0) classes.lower[j] = classes.upper[j - 1];
        }
        return classes;
    }

    step = (max - min) * 0.04;
    if (std::trunc(std::fabs(max - min)) > 1000) {
        min = RoundClassMinimum(min);
        step = RoundClassStep(step);
    }
    if (min > 0) min = 0;
    for (int j = 0; j < kMapClassCount; ++j) {
        if (step > 1) {
            classes.lower[0] = std::floor(min);
            classes.upper[j] = std::ceil((j + 1) * step + min);
        } else {
            classes.lower[0] = min;
            classes.upper[j] = (j + 1) * step + min;
        }
        if (j > 0) classes.lower[j] = classes.upper[j - 1];
    }
    return classes;
}

int ClassOf(const CMapClasses& classes, double x) {
    for (int j = 0; j < kMapClassCount; ++j) {
        if (classes.lower[j] <= x && x <= classes.upper[j]) return j;
    }
    return x >= classes.lower[kMapClassCount - 1] ? kMapClassCount - 1 : 0;
}

std::string LegendText(const CMapClasses& classes, int i) {
    if (classes.empty || i < 0 || i >= kMapClassCount) return kNoValueText;
    if (i == 0) return "< " + FormatNumber(classes.upper[0]);
    if (i == kMapClassCount - 1) return "> " + FormatNumber(classes.lower[kMapClassCount - 1]);
    return FormatNumber(classes.lower[i]) + " - " + FormatNumber(classes.upper[i]);
}
