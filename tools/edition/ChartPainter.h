#pragma once
// Draws the edition's information graphics with Qt's painter: line charts of series over
// the years, ranked tables, country panels of small multiples, and a small drawn preview
// of each for the graph gallery. Everything here paints into a QImage and may run on any
// thread; what the pictures say is decided by the caller.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>
#include <QStringList>
#include <map>
#include <vector>

namespace chart {

// The palette: the skin's blues for the frame of every picture, and ten distinct hues for
// the series, so a country keeps its colour from chart to chart.
inline const QColor kInk(30, 42, 68);
inline const QColor kMuted(98, 110, 135);
inline const QColor kAccent(51, 86, 153);
inline const QColor kAccentDark(34, 60, 112);
inline const QColor kGrid(226, 231, 240);
inline const QColor kAxis(150, 162, 185);
inline const QColor kZebra(241, 244, 250);
inline const QColor kHeadTop(60, 98, 170);
inline const QColor kHeadBottom(43, 74, 135);
inline const QColor kOnDark(238, 242, 249);
inline const QColor kOnDarkMuted(176, 194, 226);
inline const QColor kReference(70, 78, 96);  // the world's line
QColor SeriesColor(int index);

// Liberation Sans (Arial's metrics) at a pixel size; narrow for the table heads.
QFont ChartFont(int pixelSize, QFont::Weight weight = QFont::Normal, bool narrow = false);
// False when the fonts are missing, so the pictures would silently fall back to another.
bool ChartFontsPresent();

// Size of a preview in the gallery: the list's preview column is 92 pixels wide.
inline constexpr int kPreviewWidth = 88;

// ---------------------------------------------------------------------------------------
// Line charts

struct CSeries {
    QString name;
    QColor color;
    std::map<int, double> values;  // by year; a missing year breaks the line
    bool reference = false;        // drawn dashed, below the others (the world)
};

struct CLineChart {
    QString title;     // the headline
    QString subtitle;  // what is shown, the years, whose series
    QString unit;      // above the value axis ("Mio.", "%")
    QString source;    // the footer
    std::vector<CSeries> series;
    bool logScale = false;
    int decimals = 1;  // of the values in the legend
};

QImage PaintLineChart(const CLineChart& chart, QSize size);
QImage PaintLinePreview(const CLineChart& chart, QSize size);

// Whether the series jump from year to year so much that their lines would tangle (growth
// rates): their values lie on both sides of zero and the mean change between neighbouring
// years is more than a sixth of the spread of all values (the middle 80 %).
bool IsVolatile(const std::vector<CSeries>& series);

// The same series as a heat strip: a row per series, a cell per year, coloured from red
// (below zero) through white to blue (above), with the colour scale and the newest values.
QImage PaintHeatChart(const CLineChart& chart, QSize size);
QImage PaintHeatPreview(const CLineChart& chart, QSize size);

// ---------------------------------------------------------------------------------------
// Ranked tables

struct CTableColumn {
    QString head;  // broken into lines where it does not fit
    QString unit;  // below the head
    QString year;
    bool numeric = true;
    bool sortKey = false;  // the rows are ranked by it: tinted, with a bar beside the value
};

struct CTableRow {
    int rank = 0;
    QString name;
    QImage flag;        // null: none
    QStringList cells;  // one per column
    double bar = 0;     // the sort column's value as a share of the largest (0..1); 0: none
};

struct CTablePicture {
    QString title, subtitle, source, note;
    std::vector<CTableColumn> columns;
    std::vector<CTableRow> rows;
};

// The table at least minWidth wide; columns that do not fit into maxWidth are left out from
// the last one on (the caller orders them by importance). The height follows the rows.
QImage PaintTable(const CTablePicture& table, int minWidth, int maxWidth);
QImage PaintTablePreview(const CTablePicture& table, QSize size);
// How many of the table's columns fit into maxWidth (at least one).
int FittingColumns(const CTablePicture& table, int maxWidth);

// ---------------------------------------------------------------------------------------
// Country panels

struct CPanelTile {
    QString title;   // "Lebenserwartung"
    QString value;   // "81,2"
    QString unit;    // "Jahre"
    QString detail;  // "2016 · Rang 24 von 184"
    std::map<int, double> series, world;
};

struct CPanel {
    QString name;
    QString facts;  // one line below the name
    QImage flag;
    std::vector<CPanelTile> tiles;                      // up to six
    std::vector<std::pair<QString, QString>> factList;  // shown when there are no tiles
    QString source;
};

QImage PaintPanel(const CPanel& panel, QSize size);
QImage PaintPanelPreview(const CPanel& panel, QSize size);

}  // namespace chart
