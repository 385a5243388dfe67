#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "map/MapClasses.h"

namespace {

CMapClasses Bounds(const std::vector<double>& values) {
    const auto [lo, hi] = std::minmax_element(values.begin(), values.end());
    return ComputeClassBounds(values, *lo, *hi);
}

std::vector<double> Range(int from, int to) {
    std::vector<double> values;
    for (int v = from; v <= to; ++v) values.push_back(v);
    return values;
}

}  // namespace

TEST(MapClasses, FewValuesGiveEqualRangesFromZero) {
    // 10 to 30 in steps of 2: 11 distinct values, step 0.8, the minimum set to 0.
    std::vector<double> values;
    for (int v = 10; v <= 30; v += 2) values.push_back(v);
    const CMapClasses c = Bounds(values);
    EXPECT_DOUBLE_EQ(c.lower[0], 0.0);
    for (int j = 0; j < kMapClassCount; ++j) EXPECT_NEAR(c.upper[j], (j + 1) * 0.8, 1e-9) << j;
    // Positive data runs past the top bound: everything above 20 is in class 24.
    for (double v : values) {
        if (v > 20) {
            EXPECT_EQ(ClassOf(c, v), 24) << v;
        }
    }
    EXPECT_EQ(ClassOf(c, 10), 12);
    EXPECT_EQ(LegendText(c, 0), "< 0,8");
    EXPECT_EQ(LegendText(c, 1), "0,8 - 1,6");
    EXPECT_EQ(LegendText(c, 24), "> 19,2");
}

TEST(MapClasses, EqualValuesAllLandInTheTopClass) {
    const CMapClasses c = Bounds({7.5, 7.5, 7.5});
    for (int j = 0; j < kMapClassCount; ++j) {
        EXPECT_EQ(c.lower[j], 0.0);
        EXPECT_EQ(c.upper[j], 0.0);
    }
    EXPECT_EQ(ClassOf(c, 7.5), 24);
}

TEST(MapClasses, WideRangeRoundsMinimumAndStep) {
    // 0 to 100000 with 11 distinct values: step 4000 goes up to 4100.
    std::vector<double> values;
    for (int v = 0; v <= 100000; v += 10000) values.push_back(v);
    const CMapClasses c = Bounds(values);
    EXPECT_EQ(c.lower[0], 0.0);
    for (int j = 0; j < kMapClassCount; ++j) EXPECT_EQ(c.upper[j], (j + 1) * 4100.0);
    EXPECT_EQ(c.upper[24], 102500.0);
    EXPECT_EQ(ClassOf(c, 4100), 0);  // on a bound: the lower class
    EXPECT_EQ(ClassOf(c, 4101), 1);

    EXPECT_EQ(RoundClassStep(200), 210);
    EXPECT_EQ(RoundClassMinimum(-12345), -12000);
    EXPECT_EQ(RoundClassMinimum(57), 50);
}

TEST(MapClasses, RoundingBeyondThirtyTwoBitsKeepsTheRule) {
    // GDP in US$: a minimum and a step far beyond 2^31.
    EXPECT_EQ(RoundClassMinimum(-123456789012345.0), -120000000000000.0);
    EXPECT_EQ(RoundClassStep(4.0e12), 4.1e12);
    EXPECT_EQ(RoundClassStep(9.2e18), 9.3e18);
    std::vector<double> values{-1.0e10};
    for (int i = 1; i <= 10; ++i) values.push_back(i * 2.0e13);
    const CMapClasses c = Bounds(values);
    EXPECT_EQ(c.lower[0], -1.0e10);
    EXPECT_GT(c.upper[24], 2.0e14);  // step 8.0004e12 rounded up to 8.1e12
    EXPECT_EQ(c.upper[0], 8.1e12 - 1.0e10);
    for (int j = 1; j < kMapClassCount; ++j) EXPECT_GT(c.upper[j], c.upper[j - 1]);
}

TEST(MapClasses, QuantilesFromTwentySixDistinctValues) {
    const CMapClasses c = Bounds(Range(1, 26));
    EXPECT_EQ(c.lower[0], 1.0);
    for (int j = 0; j < kMapClassCount; ++j) EXPECT_EQ(c.upper[j], j + 2.0) << j;
    EXPECT_EQ(ClassOf(c, 1), 0);
    EXPECT_EQ(ClassOf(c, 2), 0);
    EXPECT_EQ(ClassOf(c, 3), 1);
    EXPECT_EQ(ClassOf(c, 26), 24);
}

TEST(MapClasses, QuantileIndexStaysInsideTheDistinctValues) {
    // 29 and 56 distinct values: (j + 1) x step rounds to one past the last index at j = 24.
    for (int n : {29, 56}) {
        const CMapClasses c = Bounds(Range(1, n));
        EXPECT_EQ(c.upper[24], double(n)) << n;
        EXPECT_EQ(ClassOf(c, n), 24) << n;
        for (int j = 1; j < kMapClassCount; ++j) EXPECT_EQ(c.lower[j], c.upper[j - 1]);
    }
}

TEST(MapClasses, NoValueGivesNoBounds) {
    const CMapClasses c = ComputeClassBounds({}, 2147483647.0, -2147483647.0);
    EXPECT_TRUE(c.empty);
    for (int j = 0; j < kMapClassCount; ++j) {
        EXPECT_EQ(c.upper[j], 0.0);
        EXPECT_EQ(LegendText(c, j), "(keine Angabe)");
    }
}

TEST(MapClasses, ValuesOutsideTheClasses) {
    CMapClasses c = Bounds(Range(1, 26));
    EXPECT_EQ(ClassOf(c, -5), 0);
    EXPECT_EQ(ClassOf(c, 1000), 24);
}
