#pragma once
// Axis scales of the edition's charts: tick values a reader can count in (steps of 1, 2,
// 2.5 and 5 times a power of ten, decades on a logarithmic axis, round years) and their
// labels in the German number format.

#include <QString>
#include <vector>

namespace chart {

struct CAxisTicks {
    double lo = 0, hi = 1;       // the axis runs from lo to hi (both ticks)
    std::vector<double> values;  // the labelled ticks, ascending, lo and hi among them
    std::vector<double> minor;   // unlabelled grid lines (logarithmic axes only)
    int decimals = 0;            // decimals that every label of a linear axis needs
    bool log = false;
};

// Ticks for a linear axis covering [min, max] in about target intervals. Positive data that
// lie close above zero get an axis from 0, so bars and lines are not exaggerated; an empty
// or degenerate range still gets a usable axis around its value.
CAxisTicks LinearTicks(double min, double max, int target = 5);

// Ticks for a logarithmic axis over [min, max] (both > 0): the powers of ten around them,
// with 2 and 5 between them labelled when the axis spans few decades.
CAxisTicks LogTicks(double min, double max);

// Decimals of one label: those of the axis, or on a logarithmic axis the label's own
// (0,001 and 1.000 on one axis).
int LabelDecimals(const CAxisTicks& ticks, double value);

// Whether a series of positive values is better shown on a logarithmic axis: when it
// spans more than three decades, a linear axis squashes all but the largest to its floor.
bool WantsLogScale(double min, double max);

// Labelled years of a time axis from first to last: round steps (1, 2, 5, 10, 20, 25, 50)
// with at most maxTicks labels, on multiples of the step.
std::vector<int> YearTicks(int first, int last, int maxTicks);

// A number as the charts print it: German grouping and decimal comma, and a real minus
// sign (U+2212) for negative values.
QString ChartNumber(double value, int decimals);

// Decimals that a column of values needs, one count for all so the commas align: four
// significant digits of its median size (zeros aside), at most maxDecimals.
int ColumnDecimals(std::vector<double> values, int maxDecimals = 2);

// Decimals for three significant digits of one value (on its own, as on a log scale).
int SignificantDecimals(double value);

// The decimals the values themselves have (as a source prints them), at most limit.
int SourceDecimals(const std::vector<double>& values, int limit = 3);

}  // namespace chart
