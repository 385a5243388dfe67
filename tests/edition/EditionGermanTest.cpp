// The builder's German and its readers of the calendar and CLDR files, on inputs that catch
// their faults: names with articles, sibilants and "und", rounding signs, entities inside
// text, continuation lines, deprecated groups, the stars of a marker-drawn flag.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <QTemporaryDir>

#include "EditionBuild.h"
#include "EditionGerman.h"
#include "EditionSources.h"
#include "PagePreview.h"

using namespace edition;

TEST(EditionGerman, NumbersInTheProgramsFormat) {
    EXPECT_EQ(GermanNumber(1234567.5, 1), "1.234.567,5");
    EXPECT_EQ(GermanNumber(1000, 0), "1.000");
    EXPECT_EQ(GermanNumber(-0.25, 2), "-0,25");
    // A negative value that rounds to zero has no sign.
    EXPECT_EQ(GermanNumber(-0.04, 1), "0,0");
    EXPECT_EQ(GermanNumber(999.96, 1), "1.000,0");
    EXPECT_EQ(GermanNumberAuto(0.000123), "0,000123");
    EXPECT_EQ(GermanPercent(3.44, true), "+3,4\u00a0%");
    EXPECT_EQ(GermanPercent(-1.25, true), "−1,3\u00a0%");
    EXPECT_EQ(GermanPercent(-0.01, true), "0,0\u00a0%");
}

TEST(EditionGerman, CountryNamesInTheirCases) {
    struct CCase {
        const char* iso3;
        const char* title;
        const char* genitive;
        const char* accusative;
        const char* in;
    };
    const CCase cases[] = {
        {"DEU", "Deutschland", "Deutschlands", "Deutschland", "in Deutschland"},
        {"CHE", "Schweiz", "der Schweiz", "die Schweiz", "in der Schweiz"},
        {"NLD", "Niederlande", "der Niederlande", "die Niederlande", "in den Niederlanden"},
        {"GBR", "Vereinigtes Königreich", "des Vereinigten Königreichs",
         "das Vereinigte Königreich", "im Vereinigten Königreich"},
        {"IRN", "Iran", "des Irans", "den Iran", "im Iran"},
        {"USA", "Vereinigte Staaten", "der Vereinigten Staaten", "die Vereinigten Staaten",
         "in den Vereinigten Staaten"},
        {"LAO", "Laos", "von Laos", "Laos", "in Laos"},
        {"VCT", "St. Vincent und die Grenadinen", "von St. Vincent und den Grenadinen",
         "St. Vincent und die Grenadinen", "in St. Vincent und den Grenadinen"},
    };
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.iso3);
        CCountryForms forms = CountryForms(c.iso3, QString::fromUtf8(c.title));
        EXPECT_EQ(forms.genitive, QString::fromUtf8(c.genitive));
        EXPECT_EQ(forms.accusative, QString::fromUtf8(c.accusative));
        EXPECT_EQ(InCountry(forms), QString::fromUtf8(c.in));
    }
    EXPECT_TRUE(CountryForms("USA", "Vereinigte Staaten").plural);
    EXPECT_EQ(Capitalised("die Schweiz"), "Die Schweiz");
}

TEST(EditionGerman, PlainTextOfAPage) {
    EXPECT_EQ(PlainText("<h2><a name=\"x\"></a>Lage</h2><p>A&amp;lt;b&nbsp;c</p>d&#228;"
                        "<td>1</td><td>2</td>"),
              "Lage A&lt;b c dä 1 2");
    EXPECT_EQ(PlainText("  <br>  "), "");
    // Text that merely looks like a tag stays: it is escaped in the page.
    EXPECT_EQ(PlainText("a &lt;b&gt; c"), "a <b> c");
}

TEST(EditionGerman, TemplateReplacementDoesNotRescanItsInsertions) {
    QString text = "%Title% und %Title%";
    ReplaceAllTokens(text, "%Title%", "[%Title%]");
    EXPECT_EQ(text, "[%Title%] und [%Title%]");
    QString empty = "a%Map%b%Map%";
    ReplaceAllTokens(empty, "%Map%", "");
    EXPECT_EQ(empty, "ab");
}

TEST(EditionSources, CalendarFilesWithContinuationsAndComments) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QFile file(dir.filePath("calendar.test"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "/*\n * 01/01 Kommentar, 1900\n */\n#include <x>\nLANG=UTF-8\n"
        "03/27\tAnnahme der Verfassung in der\n\tPaulskirche, 1849\n"
        "06\tAufstand der Weber, 1844\n"
        "07/03\tSchlacht ohne Jahr\n"
        "05/09   Friedrich von Schiller in Weimar gestorben, 1805\n");
    file.close();
    QList<CCalendarEntry> entries = ReadCalendarFile(file.fileName());
    ASSERT_EQ(entries.size(), 4);
    EXPECT_EQ(entries[0].text, "Annahme der Verfassung in der Paulskirche");
    EXPECT_EQ(entries[0].year, 1849);
    EXPECT_EQ(entries[1].day, 0);
    EXPECT_EQ(entries[1].month, 6);
    EXPECT_EQ(entries[2].year, 0);
    EXPECT_EQ(entries[3].text, "Friedrich von Schiller in Weimar gestorben");
    EXPECT_TRUE(ReadCalendarFile(dir.filePath("missing")).isEmpty());
}

TEST(EditionSources, CldrGroupsSkipDeprecatedVariants) {
    QTemporaryDir dir;
    QFile file(dir.filePath("supplementalData.xml"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(
        "<group type=\"EU\" contains=\"AT BE\" grouping=\"true\"/>\n"
        "<group type=\"EU\" contains=\"AT BE GB\" status=\"deprecated\"/>\n"
        "<group type=\"QO\" contains=\"AQ AC\" status=\"deprecated\"/>\n");
    file.close();
    QHash<QString, QStringList> groups = ReadCldrGroups(file.fileName());
    EXPECT_EQ(groups.value("EU"), (QStringList{"AT", "BE"}));
    EXPECT_FALSE(groups.contains("QO"));
}

namespace {

// Near-white pixels in the canton (upper left 364.8 x 258.5 of 640 x 480) of a US flag.
int WhiteInCanton(const QImage& image) {
    const int w = image.width() * 364 / 640, h = image.height() * 258 / 480;
    int white = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (qGray(image.pixel(x, y)) > 200) ++white;
        }
    }
    return white;
}

QImage Render(const QByteArray& svg) {
    QSvgRenderer renderer(svg);
    QImage image(320, 240, QImage::Format_RGB32);
    image.fill(Qt::black);
    QPainter painter(&image);
    renderer.render(&painter);
    return image;
}

}  // namespace

// The United States' flag draws its fifty stars as markers, which Qt's renderer skips; drawn
// out, the canton holds them all.
TEST(EditionFlags, MarkerStarsAreDrawn) {
    QFile file(QString(KOMPENDOR_TEST_SOURCE_DIR)
               + "/edition/node_modules/flag-icons/flags/4x3/us.svg");
    if (!file.open(QIODevice::ReadOnly)) GTEST_SKIP() << "edition/node_modules is missing";
    const QByteArray svg = file.readAll();
    const QByteArray expanded = ExpandSvgMarkers(svg);
    EXPECT_EQ(expanded.count("<g transform=\"translate("), 50);
    const int oneStar = WhiteInCanton(Render(svg));
    const int fifty = WhiteInCanton(Render(expanded));
    EXPECT_GT(fifty, oneStar + 1000) << oneStar << " " << fifty;
    // An SVG without markers is handed on unchanged.
    EXPECT_EQ(ExpandSvgMarkers("<svg><path d=\"M0 0h1\"/></svg>"),
              "<svg><path d=\"M0 0h1\"/></svg>");
}

// The facts the articles rank and compare: the newest value up to a year, the ranking year
// that a few early reporters cannot move, and ranks as the cell information counts them.
TEST(EditionFacts, LatestRankingYearAndRanks) {
    CFacts facts;
    // Field 1: ten countries in 2000, two of them also in 2010.
    for (int land = 1; land <= 10; ++land) facts.series[1][land][2000] = land;
    facts.series[1][3][2010] = 30;
    facts.series[1][4][2010] = 30;
    facts.timeless[2] = {{1, 5.0}, {2, 7.0}};
    EXPECT_EQ(facts.Latest(1, 3)->first, 2010);
    EXPECT_EQ(facts.Latest(1, 3, 2005)->second, 3);
    EXPECT_FALSE(facts.Latest(1, 3, 1999).has_value());
    EXPECT_FALSE(facts.Latest(1, 99).has_value());
    // Two of ten countries are fewer than a third: the ranking stays in 2000.
    EXPECT_EQ(facts.RankingYear(1), 2000);
    facts.series[1][5][2010] = 1;
    facts.series[1][6][2010] = 1;
    EXPECT_EQ(facts.RankingYear(1), 2010);
    // Equal values get consecutive ranks in country order.
    EXPECT_EQ(facts.Rank(1, 2010, 3), 1);
    EXPECT_EQ(facts.Rank(1, 2010, 4), 2);
    EXPECT_EQ(facts.Rank(1, 2010, 7), 0);
    EXPECT_EQ(facts.Rank(2, 0, 2), 1);
    EXPECT_EQ(facts.At(2, 1, 0), 5.0);
    EXPECT_FALSE(facts.At(1, 1, 1999).has_value());
}

// A page of an article that does not exist is empty, not a template with placeholders.
TEST(EditionPreview, MissingArticleGivesNoPage) {
    QTemporaryDir dir;
    EXPECT_TRUE(ComposeArticlePage(dir.path(), 10276).isEmpty());
    EXPECT_TRUE(ComposeCellPage(dir.path(), 276, 201).isEmpty());
}
