#pragma once
// The page of the cell information window, composed from the templates "CIData.htm"
// (numeric fields: value, year, world rank, chart, source) and "CIText.htm" (text fields)
// of the template folder by placeholder replacement. The chart picture itself is drawn by
// the window; here it is described (series, range, bars) and named by a callback.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class CDatabase;

// One value of the country's series, newest first.
struct CCellSeriesEntry {
    double value = 0;
    unsigned year = 0;  // 0 for a value without a year
};

// What the chart shows: the series and its range.
struct CCellChart {
    std::vector<CCellSeriesEntry> series;
    double maximum = 0;
    double minimum = 0;
};

// The composed page and what it was made from.
struct CCellInfoPage {
    std::string html;
    bool numeric = false;
    // The world rank of the value for the year; 0 when there is none.
    int rank = 0;
    CCellChart chart;
};

// The chart's file in the user's temporary folder, replaced at every update.
inline constexpr const char* kCellChartFile = "ZYBCI.bmp";

// The series holds at most this many values.
inline constexpr std::size_t kMaxSeries = 64;

// Chart geometry, in pixels: one line of 16 per value; the year at the left, the bar from
// x 40 to the right edge, the value right-aligned at x 309.
inline constexpr int kChartWidth = 312;
inline constexpr int kChartLineHeight = 16;
inline constexpr int kChartBarLeft = 40;
inline constexpr int kChartValueRight = 309;

struct CChartColor {
    int r = 0, g = 0, b = 0;
    bool operator==(const CChartColor&) const = default;
};
inline constexpr CChartColor kChartBackground{221, 225, 234};
inline constexpr CChartColor kChartYearText{76, 96, 141};
inline constexpr CChartColor kChartBarTrack{238, 222, 192};
inline constexpr CChartColor kChartBarPositive{240, 190, 128};
inline constexpr CChartColor kChartBarNegative{234, 115, 83};
inline constexpr CChartColor kChartValueText{158, 112, 55};
inline constexpr CChartColor kChartNegativeText{171, 0, 0};

// The filled part of one bar: from x over width pixels (at least 1).
struct CChartBar {
    int x = 0;
    int width = 0;
    CChartColor color;
};

// The bar of value v in the track from left over width pixels, for a series whose largest
// value is maximum and smallest minimum: without negative values it grows from the left,
// otherwise from the middle (right for v > 0, left for v <= 0) on the larger of the two
// magnitudes.
CChartBar ChartBar(double v, double maximum, double minimum, int left, int width);

class CCellInfoPages {
public:
    // Names the chart picture of a numeric page: draws it and gives the image's address for
    // the page.
    using ChartWriter = std::function<std::string(const CCellChart& chart)>;

    // database must outlive the object; templateFolder ends with "/".
    CCellInfoPages(CDatabase* database, std::string templateFolder);

    // The country's name; "" when there is none or the database fails.
    std::string GetLandTitle(std::int32_t landId) const;
    // The data field's long name (NAME_LANG); "" as above.
    std::string GetDataTitle(std::int32_t valId) const;

    // Whether the value of the cell is a number: the newest value of the pair up to year
    // (values without a year count when there is no dated one) has a NUMVAL.
    bool IsNumeric(std::int32_t landId, std::int32_t valId, unsigned year) const;

    // The numeric page ("CIData.htm"); rank and chart are filled in when given.
    std::string GetValueHTML(std::int32_t landId, std::int32_t valId, unsigned year,
                             const ChartWriter& writeChart, int* rank = nullptr,
                             CCellChart* chart = nullptr) const;
    // The text page ("CIText.htm").
    std::string GetTextHTML(std::int32_t landId, std::int32_t valId) const;

    // The page the window shows for a cell: numeric or text as IsNumeric decides.
    CCellInfoPage Compose(std::int32_t landId, std::int32_t valId, unsigned year,
                          const ChartWriter& writeChart) const;

    // The world rank of the country's value for the data field and year: its position among
    // all values of that field and year, largest first (equal values in the order the
    // database gives them, so they rank one after the other); 0 when the country has none.
    int WorldRank(std::int32_t landId, std::int32_t valId, unsigned year) const;

private:
    std::string ReadTemplate(const char* file) const;

    CDatabase* m_db;
    std::string m_templateFolder;
};
