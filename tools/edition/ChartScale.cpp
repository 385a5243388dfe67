#include "ChartScale.h"

#include <algorithm>
#include <cmath>

#include "EditionGerman.h"

namespace chart {

namespace {

// The smallest count of decimals that writes value exactly (up to 8).
int DecimalsOf(double value) {
    for (int d = 0; d < 8; ++d) {
        const double scaled = value * std::pow(10.0, d);
        if (std::fabs(scaled - std::round(scaled)) < 1e-6 * std::max(1.0, std::fabs(scaled))) {
            return d;
        }
    }
    return 8;
}

// A multiple of step without the rounding noise of repeated addition.
double Snap(double value, double step) {
    const double snapped = std::round(value / step) * step;
    const int d = DecimalsOf(step);
    const double scale = std::pow(10.0, d);
    return std::round(snapped * scale) / scale;
}

}  // namespace

CAxisTicks LinearTicks(double min, double max, int target) {
    CAxisTicks ticks;
    if (!std::isfinite(min) || !std::isfinite(max)) {
        min = 0;
        max = 1;
    }
    if (max < min) std::swap(min, max);
    if (max == 0 && min == 0) max = 1;
    if (max == min) {
        const double pad = min == 0 ? 1 : std::fabs(min) * 0.1;
        min -= pad;
        max += pad;
        // An axis of one positive value starts at zero like any other.
        if (min > 0 && min < pad * 10) min = 0;
    }
    if (min > 0 && min < 0.35 * max) min = 0;
    if (max < 0 && max > 0.35 * min) max = 0;
    target = std::max(2, target);
    const double raw = (max - min) / target;
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    double step = 10 * magnitude;
    for (double factor : {1.0, 2.0, 2.5, 5.0, 10.0}) {
        if (factor * magnitude >= raw * 0.999) {
            step = factor * magnitude;
            break;
        }
    }
    ticks.lo = Snap(std::floor(min / step + 1e-9) * step, step);
    ticks.hi = Snap(std::ceil(max / step - 1e-9) * step, step);
    for (double v = ticks.lo; v <= ticks.hi + step * 0.5; v += step) {
        ticks.values.push_back(Snap(v, step));
    }
    ticks.hi = ticks.values.back();
    ticks.decimals = DecimalsOf(step);
    return ticks;
}

int SignificantDecimals(double value) {
    const double size = std::fabs(value);
    if (!(size > 0) || !std::isfinite(size)) return 0;
    return std::clamp(2 - int(std::floor(std::log10(size))), 0, 6);
}

CAxisTicks LogTicks(double min, double max) {
    CAxisTicks ticks;
    ticks.log = true;
    if (!(min > 0) || !(max > 0) || !std::isfinite(min) || !std::isfinite(max)) {
        min = 1;
        max = 10;
    }
    if (max < min) std::swap(min, max);
    const int first = int(std::floor(std::log10(min) + 1e-9));
    int last = int(std::ceil(std::log10(max) - 1e-9));
    if (last <= first) last = first + 1;
    ticks.lo = std::pow(10.0, first);
    ticks.hi = std::pow(10.0, last);
    const bool fewDecades = last - first <= 2;
    for (int e = first; e <= last; ++e) {
        const double decade = std::pow(10.0, e);
        ticks.values.push_back(decade);
        if (e == last) break;
        for (double factor : {2.0, 5.0}) {
            (fewDecades ? ticks.values : ticks.minor).push_back(decade * factor);
        }
    }
    for (double v : ticks.values) ticks.decimals = std::max(ticks.decimals, DecimalsOf(v));
    return ticks;
}

int LabelDecimals(const CAxisTicks& ticks, double value) {
    return ticks.log ? DecimalsOf(value) : ticks.decimals;
}

bool WantsLogScale(double min, double max) { return min > 0 && max / min > 1000.0; }

std::vector<int> YearTicks(int first, int last, int maxTicks) {
    if (last < first) std::swap(first, last);
    maxTicks = std::max(2, maxTicks);
    for (int step : {1, 2, 5, 10, 20, 25, 50, 100}) {
        std::vector<int> years;
        for (int y = (first + step - 1) / step * step; y <= last; y += step) years.push_back(y);
        if (int(years.size()) <= maxTicks) {
            if (years.empty()) years.push_back(first);
            return years;
        }
    }
    return {first, last};
}

QString ChartNumber(double value, int decimals) {
    QString text = edition::GermanNumber(value, decimals);
    if (text.startsWith('-')) text.replace(0, 1, QChar(0x2212));
    return text;
}

int ColumnDecimals(std::vector<double> values, int maxDecimals) {
    for (double& v : values) v = std::fabs(v);
    values.erase(std::remove_if(values.begin(), values.end(),
                                [](double v) { return !std::isfinite(v) || v == 0; }),
                 values.end());
    if (values.empty()) return 0;
    std::nth_element(values.begin(), values.begin() + values.size() / 2, values.end());
    const double median = values[values.size() / 2];
    const int decimals = 3 - int(std::floor(std::log10(median)));
    return std::clamp(decimals, 0, std::max(0, maxDecimals));
}

int SourceDecimals(const std::vector<double>& values, int limit) {
    int decimals = 0;
    for (double v : values) {
        if (std::isfinite(v)) decimals = std::max(decimals, std::min(DecimalsOf(v), limit));
    }
    return decimals;
}

}  // namespace chart
