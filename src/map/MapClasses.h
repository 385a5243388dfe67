#pragma once
// The world map's value classes: 25 classes with lower and upper bounds computed from the
// values shown, the class of a value and the texts of the legend. No window, no database.

#include <array>
#include <cstdint>
#include <string>
#include <vector>

inline constexpr int kMapClassCount = 25;

struct CMapClasses {
    std::array<double, kMapClassCount> lower{};
    std::array<double, kMapClassCount> upper{};
    // True when the bounds came from no value at all: every bound is 0 and the legend says
    // "(keine Angabe)".
    bool empty = true;
};

// The bounds for the collected values (in any order) with their smallest and largest value.
// 26 or more distinct values give quantile classes, fewer give equal ranges starting at 0 or
// below, rounded to two or three significant digits when the range is above 1000.
CMapClasses ComputeClassBounds(std::vector<double> values, double min, double max);

// The first class whose bounds hold x (a value on a bound belongs to the lower class); when
// none does, 24 for x at or above lower[24], else 0.
int ClassOf(const CMapClasses& classes, double x);

// The legend's text of class i: "< upper[0]", "lower - upper", "> lower[24]", the numbers in
// the German display form; "(keine Angabe)" for empty classes.
std::string LegendText(const CMapClasses& classes, int i);

// The rounding of the equal-range classes, on 64-bit integers: a minimum keeps its first two
// or three digits (the rest set to 0), a step goes up by one unit of its second or third
// digit (4000 -> 4100, 200 -> 210). Values beyond the 64-bit range are taken at its limit.
double RoundClassMinimum(double min);
double RoundClassStep(double step);

// The text "(keine Angabe)" of countries and classes without a value.
inline constexpr const char* kNoValueText = "(keine Angabe)";
