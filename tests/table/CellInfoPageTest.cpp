// The page of the cell information window on the fixture almanac: numeric and text pages,
// world ranks, the series and its chart bars; and kompendor-cli cellinfo, which prints it.
#include "table/CellInfoPage.h"

#include <gtest/gtest.h>

#include <set>

#include "data/ErrorReporter.h"
#include "support/CliRunner.h"
#include "table/CellInfoAlmanac.h"

using namespace fixture;

namespace {

class CellInfoPages : public testing::Test {
protected:
    CellInfoPages() {
        std::filesystem::create_directories(dir / "inst/Daten");
        WriteCellInfoTemplates(dir / "inst/HTML/");
        almanac = CreateCellInfoAlmanac(dir / "inst/Daten/");
        db.Open(almanac, false, true, kAlmanacConnect);
        ResetDBErrors();
    }

    CCellInfoPage Compose(long land, long val, unsigned year) {
        return pages.Compose(land, val, year, [this](const CCellChart& chart) {
            ++charts;
            return "chart" + std::to_string(chart.series.size()) + ".bmp";
        });
    }

    CTempDir dir;
    std::string almanac;
    CDatabase db;
    CCellInfoPages pages{&db, dir / "inst/HTML/"};
    int charts = 0;
};

}  // namespace

TEST_F(CellInfoPages, NumericPage) {
    CCellInfoPage page = Compose(kDeutschland, kEinwohner, 2002);
    EXPECT_TRUE(page.numeric);
    EXPECT_EQ(page.html,
              "<H2>Einwohner (Jahresmitte)</H2><IMG src='chart3.bmp'>82.440.000 (2002)|Weltrang: "
              "1|Quelle: UN Population Division|82.440.000");
    EXPECT_EQ(page.rank, 1);
    ASSERT_EQ(page.chart.series.size(), 3u);
    EXPECT_EQ(page.chart.series[0].year, 2002u);
    EXPECT_EQ(page.chart.series[2].year, 1998u);
    EXPECT_DOUBLE_EQ(page.chart.maximum, 82440000.0);
    EXPECT_DOUBLE_EQ(page.chart.minimum, 82037000.0);
    EXPECT_EQ(Compose(kOesterreich, kEinwohner, 2002).rank, 3);

    // A year the pair has no value for: no value, no year, no rank.
    page = Compose(kDeutschland, kEinwohner, 1999);
    EXPECT_EQ(page.html,
              "<H2>Einwohner (Jahresmitte)</H2><IMG src='chart3.bmp'>Keine Angabe ||Quelle: UN "
              "Population Division|Keine Angabe");
    EXPECT_EQ(page.rank, 0);

    // A value without a year is shown (the table shows it too), without year and rank: also
    // for the reference year, which the table asks with for a field without years.
    for (unsigned asked : {0u, 2002u}) {
        page = Compose(kFaeroeer, kEinwohner, asked);
        EXPECT_TRUE(page.numeric);
        EXPECT_EQ(page.html,
                  "<H2>Einwohner (Jahresmitte)</H2><IMG src='chart1.bmp'>47.000 ||Quelle: UN "
                  "Population Division|47.000")
            << asked;
        EXPECT_EQ(page.rank, 0);
    }

    // A text value beside a number: the number counts.
    page = Compose(kDeutschland, kWaehrung, 2002);
    EXPECT_TRUE(page.numeric);
    EXPECT_NE(page.html.find(">1,95583 (2002)|Weltrang: 1|"), std::string::npos) << page.html;
    EXPECT_EQ(LastDBError().count, 0u);
}

TEST_F(CellInfoPages, EqualValuesRankOneAfterTheOther) {
    const std::set<int> ranks{Compose(kDeutschland, kWald, 2002).rank,
                              Compose(kOesterreich, kWald, 2002).rank};
    EXPECT_EQ(ranks, (std::set<int>{1, 2}));
    EXPECT_EQ(Compose(kAegypten, kWald, 2002).rank, 3);
    EXPECT_EQ(pages.WorldRank(kSchweiz, kWald, 2002), 0);
}

TEST_F(CellInfoPages, TextPagesAndMissingValues) {
    struct Case {
        long land, val;
        unsigned year;
        std::string expected;
    };
    const Case cases[] = {
        {kOesterreich, kWaehrung, 2002, "<H2>Landeswährung</H2>Euro|Euro"},
        // The only value has no year.
        {kDeutschland, kStaatsform, 2002, "<H2>Staatsform</H2>Bundesrepublik|Bundesrepublik"},
        {kDaenemark, kWald, 2002, "<H2>Waldfläche (km²)</H2>k.A.|k.A."},
        {kSchweiz, kEinwohner, 2002, "<H2>Einwohner (Jahresmitte)</H2>Keine Angabe|Keine Angabe"},
    };
    for (const Case& c : cases) {
        const CCellInfoPage page = Compose(c.land, c.val, c.year);
        EXPECT_FALSE(page.numeric) << c.expected;
        EXPECT_EQ(page.html, c.expected);
        EXPECT_EQ(page.rank, 0);
    }
    // A field without numeric values: the placeholder picture, no chart drawn.
    EXPECT_EQ(pages.GetValueHTML(kSchweiz, kEinwohner, 2002,
                                 [this](const CCellChart&) {
                                     ++charts;
                                     return std::string("x");
                                 }),
              "<H2>Einwohner (Jahresmitte)</H2><IMG src='Dummy.gif'>Keine Angabe ||Quelle: UN "
              "Population Division|Keine Angabe");
    EXPECT_EQ(charts, 0);
    EXPECT_EQ(pages.GetLandTitle(kFaeroeer), "Färöer");
    EXPECT_EQ(pages.GetLandTitle(4711), "");
    EXPECT_EQ(pages.GetDataTitle(kDichte), "Bevölkerungsdichte (Einwohner je km²)");
}

TEST_F(CellInfoPages, SeriesAndChartBars) {
    // At most 64 values, newest first.
    const CCellInfoPage page = Compose(kDeutschland, kLangeReihe, 1969);
    ASSERT_EQ(page.chart.series.size(), kMaxSeries);
    EXPECT_EQ(page.chart.series.front().year, 1969u);
    EXPECT_EQ(page.chart.series.back().year, 1906u);

    const int left = kChartBarLeft, width = kChartWidth - kChartBarLeft, middle = left + width / 2;
    // All negative: every bar grows leftwards from the middle in the negative colour.
    const CCellChart deficit = Compose(kDeutschland, kDefizit, 2002).chart;
    ASSERT_EQ(deficit.series.size(), 3u);
    for (const CCellSeriesEntry& entry : deficit.series) {
        const CChartBar bar = ChartBar(entry.value, deficit.maximum, deficit.minimum, left, width);
        EXPECT_EQ(bar.color, kChartBarNegative) << entry.value;
        EXPECT_EQ(bar.x + bar.width, middle) << entry.value;
    }
    EXPECT_EQ(ChartBar(-10, -2.5, -10, left, width).width, width / 2);
    EXPECT_EQ(ChartBar(-2.5, -2.5, -10, left, width).width, width / 8);

    // Mixed signs: positive values from the middle to the right.
    CChartBar bar = ChartBar(150.5, 150.5, -5, left, width);
    EXPECT_EQ(bar.x, middle);
    EXPECT_EQ(bar.width, width / 2);
    EXPECT_EQ(bar.color, kChartBarPositive);
    bar = ChartBar(-5, 150.5, -5, left, width);
    EXPECT_EQ(bar.x + bar.width, middle);
    EXPECT_EQ(bar.width, 4);
    // No negative value: from the left over the whole track; tiny parts keep one pixel.
    bar = ChartBar(50, 100, 50, left, width);
    EXPECT_EQ(bar.x, left);
    EXPECT_EQ(bar.width, width / 2);
    EXPECT_EQ(ChartBar(0.001, 100, 0, left, width).width, 1);
    EXPECT_EQ(ChartBar(0, 100, -100, left, width).width, 1);
    // A series of zeros has no scale and must not divide by it.
    const CCellChart zeros = Compose(kDeutschland, kNullwerte, 2002).chart;
    bar = ChartBar(0, zeros.maximum, zeros.minimum, left, width);
    EXPECT_EQ(bar.x, left);
    EXPECT_EQ(bar.width, 1);
}

TEST_F(CellInfoPages, CommandLine) {
    WriteFile(dir / "inst/NOX.INI", "[Paths]\nMDB=Daten/Kompendor.mdb\nHTML=HTML/\n");
    CliRun run = RunKompendorCli(dir, {"--base", dir / "inst", "cellinfo", "276", "101", "2002"});
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string temp = std::filesystem::temp_directory_path().string();
    const std::string chart = temp + (temp.back() == '/' ? "" : "/") + kCellChartFile;
    const CCellInfoPage page
        = pages.Compose(kDeutschland, kEinwohner, 2002, [&](const CCellChart&) { return chart; });
    EXPECT_EQ(run.out, "rank=1\n" + page.html);

    run = RunKompendorCli(dir, {"--base", dir / "inst", "cellinfo", "40", "202", "2002"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "rank=0\n<H2>Landeswährung</H2>Euro|Euro");

    for (const std::vector<std::string>& words :
         {std::vector<std::string>{"cellinfo", "276", "101"},
          std::vector<std::string>{"cellinfo", "276", "x", "2002"},
          std::vector<std::string>{"cellinfo", "276", "101", "-1"}}) {
        std::vector<std::string> all{"--base", dir / "inst"};
        all.insert(all.end(), words.begin(), words.end());
        EXPECT_EQ(RunKompendorCli(dir, all).status, 2) << words.back();
    }
}
