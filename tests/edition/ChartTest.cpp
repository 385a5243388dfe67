// The chart module on its own: axis scales and German labels, the world's weighted average,
// the choice of a heat strip, drawing from empty inputs, and the picture archives as the
// program's archive reader sees them.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <cmath>

#include "ChartPainter.h"
#include "ChartScale.h"
#include "EditionCharts.h"
#include "GifWriter.h"
#include "PictureArchives.h"
#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"

using namespace chart;

namespace {

std::vector<double> Values(const CAxisTicks& t) { return t.values; }

}  // namespace

// Ticks are round numbers without the noise of repeated addition, cover the data, start at
// zero for data close above it, and keep a usable axis for degenerate ranges.
TEST(ChartScale, LinearTicks) {
    struct CCase {
        double min, max;
        std::vector<double> ticks;
        int decimals;
    };
    const CCase cases[] = {
        {0.3, 9.7, {0, 2, 4, 6, 8, 10}, 0},
        {30.5, 79.1, {30, 40, 50, 60, 70, 80}, 0},    // far from zero: not from zero
        {69.0, 1409.5, {0, 500, 1000, 1500}, 0},      // close above zero: from zero
        {-18.2, 24.3, {-20, -10, 0, 10, 20, 30}, 0},  // both signs: zero among the ticks
        {0.1, 0.7, {0, 0.2, 0.4, 0.6, 0.8}, 1},       // 0.30000000000000004 would show
        {1.16, 1.44, {1.1, 1.2, 1.3, 1.4, 1.5}, 1},
        {-5, -4, {-5, -4.8, -4.6, -4.4, -4.2, -4}, 1},
        {0, 0, {0, 0.2, 0.4, 0.6, 0.8, 1}, 1},  // nothing but zeros
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << ".." << c.max);
        const CAxisTicks t = LinearTicks(c.min, c.max, 5);
        EXPECT_EQ(Values(t), c.ticks);
        EXPECT_EQ(t.decimals, c.decimals);
        EXPECT_LE(t.lo, c.min);
        EXPECT_GE(t.hi, c.max);
    }
    // One value, and values given the wrong way round or not at all.
    CAxisTicks one = LinearTicks(82.1, 82.1, 5);
    EXPECT_LT(one.lo, 82.1);
    EXPECT_GT(one.hi, 82.1);
    EXPECT_EQ(Values(LinearTicks(9.7, 0.3, 5)), Values(LinearTicks(0.3, 9.7, 5)));
    CAxisTicks none = LinearTicks(NAN, INFINITY, 5);
    EXPECT_EQ(none.lo, 0);
    EXPECT_EQ(none.hi, 1);
}

// A logarithmic axis labels its decades, each with its own decimals; 2 and 5 between them
// are labelled only when there are few decades.
TEST(ChartScale, LogTicks) {
    const CAxisTicks wide = LogTicks(0.000176, 13389.41);
    EXPECT_EQ(wide.lo, 0.0001);
    EXPECT_EQ(wide.hi, 100000);
    EXPECT_EQ(wide.values.size(), 10u);
    EXPECT_FALSE(wide.minor.empty());
    EXPECT_EQ(ChartNumber(0.0001, LabelDecimals(wide, 0.0001)), "0,0001");
    EXPECT_EQ(ChartNumber(100000, LabelDecimals(wide, 100000)), "100.000");
    const CAxisTicks narrow = LogTicks(3, 70);
    EXPECT_EQ(narrow.values, (std::vector<double>{1, 2, 5, 10, 20, 50, 100}));
    EXPECT_TRUE(narrow.minor.empty());
    EXPECT_TRUE(WantsLogScale(0.000176, 13389.41));
    EXPECT_FALSE(WantsLogScale(28, 1409));
    EXPECT_FALSE(WantsLogScale(-1, 5000));
}

TEST(ChartScale, YearsAndNumbers) {
    EXPECT_EQ(YearTicks(1951, 2017, 12), (std::vector<int>{1960, 1970, 1980, 1990, 2000, 2010}));
    EXPECT_EQ(YearTicks(2000, 2017, 9),
              (std::vector<int>{2000, 2002, 2004, 2006, 2008, 2010, 2012, 2014, 2016}));
    EXPECT_EQ(YearTicks(2011, 2011, 5), (std::vector<int>{2011}));
    EXPECT_EQ(YearTicks(2011, 2013, 1).size(), 1u);  // never more labels than room

    EXPECT_EQ(ChartNumber(-1234.5, 1), "\u22121.234,5");
    EXPECT_EQ(ChartNumber(1409517.25, 0), "1.409.517");
    EXPECT_EQ(ChartNumber(-0.04, 1), "0,0");  // rounds to zero: no sign
    // One count of decimals per column: four digits of the median, capped; zeros aside.
    EXPECT_EQ(ColumnDecimals({1409.5, 1339.2, 324.5, 264.0, 209.3}, 1), 1);
    EXPECT_EQ(ColumnDecimals({56153, 13051, 6282}, 2), 0);
    EXPECT_EQ(ColumnDecimals({1.44, 2.43, 5.89}, 2), 2);
    EXPECT_EQ(ColumnDecimals({0, 0}, 2), 0);
    EXPECT_EQ(ColumnDecimals({}, 2), 0);
    EXPECT_EQ(SourceDecimals({1409.517, 2.5, 3}), 3);
    EXPECT_EQ(SourceDecimals({0.1 + 0.2}), 1);
}

// The world's average is weighted, leaves out years with too few countries or too little of
// the weight, and does not exist for totals.
TEST(ChartScale, WorldAverage) {
    using edition::CFacts;
    CFacts facts;
    // Life expectancy (301) weighted by population (201); three countries.
    facts.series[201] = {{1, {{2000, 100}, {2001, 100}}},
                         {2, {{2000, 300}, {2001, 300}}},
                         {3, {{2000, 600}, {2001, 600}}}};
    facts.series[301] = {{1, {{2000, 80}, {2001, 80}}},
                         {2, {{2000, 60}, {2001, 60}}},
                         {3, {{2000, 70}}}};  // the largest lacks 2001
    const std::map<int, double> world = edition::WorldAverage(facts, 301);
    ASSERT_EQ(world.count(2000), 1u);
    EXPECT_DOUBLE_EQ(world.at(2000), (100 * 80 + 300 * 60 + 600 * 70) / 1000.0);
    // 2001: the countries with values hold 40 % of the population, too little.
    EXPECT_EQ(world.count(2001), 0u);
    EXPECT_TRUE(edition::WorldAverage(facts, 201).empty());  // population is a total
    EXPECT_TRUE(edition::WorldAverage(facts, 999).empty());
    // A year in which too few of the field's countries have values is left out, however much
    // of the weight they hold.
    edition::CFacts few = facts;
    for (int land = 10; land < 19; ++land) {
        few.series[201][land] = {{2000, 1}, {2001, 1}};
        few.series[301][land] = {{2001, 70}};
    }
    EXPECT_EQ(edition::WorldAverage(few, 301).count(2000), 0u);  // 3 of 11 in the ranking year
    EXPECT_FALSE(edition::HasWorldAverage(410));  // exchange rates in national currencies
    EXPECT_TRUE(edition::HasWorldAverage(412));
    EXPECT_EQ(edition::UnitOf("BIP (Mrd. US-$, KKP)"), "Mrd. US-$, KKP");
    EXPECT_EQ(edition::UnitOf("Kinder je Frau"), "");
}

// Shown values keep the decimals they need: one for millions and percentages of one and
// more, but a small country's 0,037 Mio. or a growth of 0,02 % is not rounded to zero.
TEST(ChartScale, FieldDecimals) {
    const edition::CFieldDef population{201, 200, "Bevölkerung", "Bevölkerung (Mio.)",
                                        "",  1,   "pwt"};
    const edition::CFieldDef growth{204, 200, "Wachstum", "Bevölkerungswachstum (%)", "", 4, "wb"};
    const edition::CFieldDef perHead{404, 400, "BIP", "BIP je Einwohner (US-$, KKP)", "", 2, "pwt"};
    const edition::CFieldDef births{209, 200, "Geburtenziffer", "Kinder je Frau", "", 1, "gap"};
    EXPECT_EQ(edition::ValueDecimals(population, {1409.517, 324.459, 209.288}), 1);
    EXPECT_EQ(edition::ValueDecimals(population, {0.037}), 3);
    EXPECT_EQ(edition::ValueDecimals(growth, {1.23, 0.57, 2.51}), 1);
    EXPECT_EQ(edition::ValueDecimals(growth, {0.02}), 2);
    EXPECT_EQ(edition::ValueDecimals(perHead, {56153, 13051}), 0);
    EXPECT_EQ(edition::ValueDecimals(births, {1.44, 2.43, 5.89}), 2);
    EXPECT_EQ(edition::ValueDecimals(births, {2.0, 3.0}), 0);  // no decimals the values lack
}

// The graphs' countries are the most populous of the population field's ranking year, and
// a country without any yearly indicator gets a panel of facts.
TEST(ChartScale, CountriesOfTheGraphs) {
    edition::CFacts facts;
    facts.series[201] = {{1, {{2016, 50}, {2017, 10}}},
                         {2, {{2017, 30}}},
                         {3, {{2017, 20}}},
                         {4, {{2016, 90}}}};  // no value in the ranking year
    EXPECT_EQ(edition::LargestCountries(facts, 2), (std::vector<int>{2, 3}));
    EXPECT_EQ(edition::LargestCountries(facts, 10), (std::vector<int>{2, 3, 1}));
    EXPECT_TRUE(edition::HasIndicators(facts, 4));
    EXPECT_FALSE(edition::HasIndicators(facts, 5));
    facts.timeless[103] = {{5, 0.44}};
    EXPECT_EQ(edition::TableRankingField(facts, 100), 103);  // the first field with numbers
    EXPECT_EQ(edition::TableRankingField(facts, 200), 201);
    EXPECT_EQ(edition::TableRankingField(facts, 600), 0);  // texts only
}

// Growth rates that jump about become a heat strip; smooth series and series of one sign
// stay lines.
TEST(ChartPainter, HeatStripForJumpySeries) {
    CSeries smooth, jumpy, positive;
    for (int y = 1960; y < 2000; ++y) {
        smooth.values[y] = 2 + (y - 1960) * 0.05;
        jumpy.values[y] = (y % 2 ? 6.0 : -3.0) + (y % 7);
        positive.values[y] = (y % 2 ? 9.0 : 1.0);
    }
    EXPECT_FALSE(IsVolatile({smooth}));
    EXPECT_TRUE(IsVolatile({jumpy, smooth}));
    EXPECT_FALSE(IsVolatile({positive}));
    EXPECT_FALSE(IsVolatile({}));
}

// Empty inputs still give pictures of the asked size, never a crash or a null image.
TEST(ChartPainter, EmptyInputsStillDraw) {
    CLineChart empty;
    empty.title = "Leer";
    EXPECT_EQ(PaintLineChart(empty, {780, 480}).size(), QSize(780, 480));
    EXPECT_EQ(PaintHeatChart(empty, {780, 480}).size(), QSize(780, 480));
    EXPECT_EQ(PaintLinePreview(empty, {88, 56}).size(), QSize(88, 56));
    CLineChart single;
    single.series.push_back({"Land", SeriesColor(0), {{2017, 5.0}}, false});
    EXPECT_FALSE(PaintLineChart(single, {780, 480}).isNull());
    single.logScale = true;
    single.series[0].values[2016] = -1;  // not on a logarithmic axis: left out
    EXPECT_FALSE(PaintLineChart(single, {780, 480}).isNull());

    CTablePicture table;
    table.columns.push_back({"Fläche", "km²", "", true, true});
    QImage noRows = PaintTable(table, 600, 980);
    EXPECT_EQ(noRows.width(), 600);
    EXPECT_GT(noRows.height(), 0);
    table.rows.push_back({1, "Ein Land mit einem sehr langen Namen, der nicht passt", {}, {}, 1});
    EXPECT_FALSE(PaintTable(table, 600, 980).isNull());  // a row without its cells
    CPanel panel;
    EXPECT_EQ(PaintPanel(panel, {640, 420}).size(), QSize(640, 420));
    EXPECT_EQ(PaintPanelPreview(panel, {88, 58}).size(), QSize(88, 58));
}

// An antialiased chart of ten coloured lines survives the reduction to the GIF's 256
// colours with no visible change: the lines' edges and the text stay smooth.
TEST(ChartPainter, ChartsStayCleanInTheGifPalette) {
    CLineChart chart;
    chart.title = "Lebenserwartung";
    chart.subtitle = "Jahre\n1960–2016";
    chart.unit = "Jahre";
    chart.source = "Quelle: Test";
    for (int i = 0; i < 10; ++i) {
        CSeries s{QString("Land %1").arg(i), SeriesColor(i), {}, false};
        for (int y = 1960; y <= 2016; ++y)
            s.values[y] = 40 + i * 3 + (y - 1960) * 0.4 + (y % (3 + i));
        chart.series.push_back(s);
    }
    chart.series.push_back({"Welt", kReference, {{1960, 50}, {2016, 70}}, true});
    const QImage drawn = PaintLineChart(chart, {780, 480});
    const QImage reduced = QuantizeImage(drawn, 256).convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(reduced.size(), drawn.size());
    double error = 0;
    int worst = 0;
    for (int y = 0; y < drawn.height(); ++y) {
        for (int x = 0; x < drawn.width(); ++x) {
            const QRgb a = drawn.pixel(x, y), b = reduced.pixel(x, y);
            const int d = std::abs(qRed(a) - qRed(b)) + std::abs(qGreen(a) - qGreen(b))
                          + std::abs(qBlue(a) - qBlue(b));
            error += d;
            worst = std::max(worst, d);
        }
    }
    EXPECT_LT(error / (drawn.width() * drawn.height()), 1.5);
    EXPECT_LT(worst, 120);
    // The series' own colours come through exactly enough to tell them apart.
    EXPECT_GT(QuantizeImage(drawn, 256).colorCount(), 128);
}

// A table too wide for the picture leaves out its last columns, never the first.
TEST(ChartPainter, WideTablesDropTheirLastColumns) {
    CTablePicture table;
    for (int c = 0; c < 20; ++c) {
        table.columns.push_back({QString("Spalte Nummer %1").arg(c), "Mio.", "", true, c == 0});
    }
    CTableRow row{1, "Land", {}, {}, 1};
    for (int c = 0; c < 20; ++c) row.cells << "1.234.567,8";
    table.rows.push_back(row);
    const int fitting = FittingColumns(table, 980);
    EXPECT_GE(fitting, 1);
    EXPECT_LT(fitting, 20);
    EXPECT_LE(PaintTable(table, 600, 980).width(), 980);
}

// The archives open with the program's reader and password, members sorted by name so the
// reader finds them by bisection, each with its preview; a member added twice is refused.
TEST(PictureArchives, WrittenAsTheProgramReadsThem) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QImage picture(300, 200, QImage::Format_RGB32);
    picture.fill(QColor(51, 86, 153));
    CPictureArchives archives;
    EXPECT_TRUE(archives.Add("Graph.nox", "Grafik201.gif", picture));
    QImage preview(88, 40, QImage::Format_RGB32);
    preview.fill(Qt::white);
    EXPECT_TRUE(archives.Add("Graph.nox", "Anfang.gif", picture, preview));
    EXPECT_TRUE(archives.AddWithoutPreview("Geo.nox", "DEU.gif", picture));
    EXPECT_FALSE(archives.Add("Graph.nox", "Grafik201.gif", picture));
    EXPECT_FALSE(archives.Add("Graph.nox", "Leer.gif", QImage()));
    EXPECT_EQ(archives.Count("Graph.nox"), 2);
    EXPECT_EQ(archives.Count(kPreviewArchive), 2);
    EXPECT_TRUE(archives.Has("Geo.nox", "DEU.gif"));
    EXPECT_FALSE(archives.Has(kPreviewArchive, "DEU.gif"));
    QString error;
    ASSERT_TRUE(archives.Write(dir.path(), error)) << error.toStdString();

    CArchiveReader reader;
    reader.Open((dir.path() + "/Graph.nox").toStdString());
    ASSERT_EQ(reader.GetCount(), 2);
    EXPECT_EQ(reader.GetEntry(0).name, "Anfang.gif");
    for (const CArchiveEntry& entry : reader.GetEntries()) {
        EXPECT_TRUE(entry.flag & 1) << entry.name;  // encrypted
        // Deflate, or stored where deflate would not make the member smaller.
        EXPECT_TRUE(entry.method == 8 || entry.method == 0) << entry.name;
    }
    CMemoryBlock block;
    EXPECT_FALSE(reader.ExtractByName("grafik201.GIF", block));  // no password: refused
    reader.SetPassword(kArchivePassword);
    ASSERT_TRUE(reader.ExtractByName("grafik201.GIF", block));
    EXPECT_EQ(QImage::fromData(block.data(), int(block.size())).size(), QSize(300, 200));

    ASSERT_TRUE(ExtractFileToMemory((dir.path() + "/Previews.nox").toStdString(), "Grafik201.gif",
                                    block, kArchivePassword));
    EXPECT_EQ(QImage::fromData(block.data(), int(block.size())).width(), kPreviewWidth);
    ASSERT_TRUE(ExtractFileToMemory((dir.path() + "/Previews.nox").toStdString(), "Anfang.gif",
                                    block, kArchivePassword));
    EXPECT_EQ(QImage::fromData(block.data(), int(block.size())).size(), QSize(88, 40));
    EXPECT_TRUE(QFile::exists(dir.path() + "/Geo.nox"));
    EXPECT_FALSE(QFile::exists(dir.path() + "/.Graph.nox.staging"));
}
