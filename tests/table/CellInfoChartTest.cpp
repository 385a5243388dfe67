// The chart picture of the cell information: its size, and the bars as they are drawn.
#include <gtest/gtest.h>

#include "table/CellInfoDlg.h"

namespace {

QColor Colour(const CChartColor& c) { return QColor(c.r, c.g, c.b); }

}  // namespace

TEST(CellInfoChart, BarsAsDrawn) {
    // All negative: every bar from the middle to the left, nothing right of the middle.
    CCellChart chart;
    chart.series = {{-2.5, 2002}, {-10, 2000}, {-5, 1998}};
    chart.maximum = -2.5;
    chart.minimum = -10;
    QImage image = DrawCellChart(chart);
    ASSERT_EQ(image.size(), QSize(312, 48));
    const int middle = kChartBarLeft + (kChartWidth - kChartBarLeft) / 2;
    for (int line = 0; line < 3; ++line) {
        const int y = line * kChartLineHeight + 7;
        EXPECT_EQ(image.pixelColor(middle - 1, y), Colour(kChartBarNegative)) << line;
        EXPECT_EQ(image.pixelColor(middle + 1, y), Colour(kChartBarTrack)) << line;
    }
    // The largest magnitude fills its half; -2.5 a quarter of that.
    EXPECT_EQ(image.pixelColor(kChartBarLeft + 1, kChartLineHeight + 7), Colour(kChartBarNegative));
    EXPECT_EQ(image.pixelColor(kChartBarLeft + 1, 7), Colour(kChartBarTrack));
    // The line between two bars is the background.
    EXPECT_EQ(image.pixelColor(middle - 1, kChartLineHeight - 1), Colour(kChartBackground));

    // Without negative values the bars grow from the left.
    chart.series = {{100, 2002}, {50, 2000}};
    chart.maximum = 100;
    chart.minimum = 50;
    image = DrawCellChart(chart);
    ASSERT_EQ(image.height(), 32);
    EXPECT_EQ(image.pixelColor(kChartBarLeft + 1, kChartLineHeight + 7), Colour(kChartBarPositive));
    EXPECT_EQ(image.pixelColor(middle + 5, kChartLineHeight + 7), Colour(kChartBarTrack));
    EXPECT_EQ(image.pixelColor(middle + 5, 7), Colour(kChartBarPositive));
}
