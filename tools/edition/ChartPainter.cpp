#include "ChartPainter.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "ChartScale.h"

namespace chart {

namespace {

constexpr int kMargin = 20;
const QString kBrand = QStringLiteral("Varnholt Kompendor 2004");

void Text(QPainter& p, const QRectF& rect, int flags, const QString& text, const QFont& font,
          const QColor& color) {
    p.setFont(font);
    p.setPen(color);
    p.drawText(rect, flags, text);
}

QString Elided(const QString& text, const QFont& font, qreal width) {
    return QFontMetricsF(font).elidedText(text, Qt::ElideRight, width);
}

qreal TextWidth(const QString& text, const QFont& font) {
    return QFontMetricsF(font).horizontalAdvance(text);
}

// A one-pixel line on whole pixels, without antialiasing.
void HLine(QPainter& p, qreal x1, qreal x2, qreal y, const QColor& color, int width = 1) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(x1, std::floor(y), x2 - x1, width), color);
    p.restore();
}

void VLine(QPainter& p, qreal x, qreal y1, qreal y2, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing, false);
    p.fillRect(QRectF(std::floor(x), y1, 1, y2 - y1), color);
    p.restore();
}

QImage Canvas(QSize size, const QColor& fill = Qt::white) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

void Begin(QPainter& p) {
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    p.setRenderHint(QPainter::SmoothPixmapTransform);
}

// The head of every large picture: the blue rule along the top edge, the headline with
// the name of the work at the right, and below them the subtitle, one line per "\n".
// Returns the first free y.
int PaintHead(QPainter& p, int width, const QString& title, const QString& subtitle) {
    p.fillRect(QRect(0, 0, width, 4), kAccent);
    const QFont brandFont = ChartFont(10, QFont::Bold);
    const qreal brandWidth = TextWidth(kBrand, brandFont);
    Text(p, QRectF(width - kMargin - brandWidth, 14, brandWidth, 26),
         Qt::AlignRight | Qt::AlignVCenter, kBrand, brandFont, kAccent);
    const QFont titleFont = ChartFont(19, QFont::Bold);
    const qreal titleWidth = width - 2 * kMargin - brandWidth - 16;
    Text(p, QRectF(kMargin, 14, titleWidth, 26), Qt::AlignLeft | Qt::AlignVCenter,
         Elided(title, titleFont, titleWidth), titleFont, kInk);
    const QFont subFont = ChartFont(12);
    int y = 40;
    for (const QString& line : subtitle.split('\n', Qt::SkipEmptyParts)) {
        Text(p, QRectF(kMargin, y, width - 2 * kMargin, 17), Qt::AlignLeft | Qt::AlignVCenter,
             Elided(line, subFont, width - 2 * kMargin), subFont, kMuted);
        y += 16;
    }
    return y + 6;
}

// How many lines the source needs at the foot (one or two).
int FootLines(const QString& source, int width) {
    return TextWidth(source, ChartFont(10)) > width - 2 * kMargin ? 2 : 1;
}

// The foot: a rule and the source below it. Returns the y of the rule.
int PaintFoot(QPainter& p, QSize size, const QString& source) {
    const QFont font = ChartFont(10);
    const int lines = FootLines(source, size.width());
    const int top = size.height() - 12 - lines * 14;
    HLine(p, kMargin, size.width() - kMargin, top, kGrid);
    p.setFont(font);
    p.setPen(kMuted);
    const QRectF rect(kMargin, top + 5, size.width() - 2 * kMargin, lines * 14);
    if (lines == 1) {
        p.drawText(rect, Qt::AlignLeft | Qt::AlignTop, source);
    } else {
        p.drawText(rect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, source);
    }
    return top;
}

// The value range of series, with the years they cover.
struct CRange {
    double min = 0, max = 0;
    int first = 0, last = 0;
    bool any = false;
};

CRange RangeOf(const std::vector<CSeries>& series, bool positiveOnly) {
    CRange r;
    for (const CSeries& s : series) {
        for (const auto& [year, value] : s.values) {
            if (!std::isfinite(value) || (positiveOnly && value <= 0)) continue;
            if (!r.any) {
                r = {value, value, year, year, true};
                continue;
            }
            r.min = std::min(r.min, value);
            r.max = std::max(r.max, value);
            r.first = std::min(r.first, year);
            r.last = std::max(r.last, year);
        }
    }
    return r;
}

// The runs of consecutive years of a series as polylines.
std::vector<QPolygonF> Runs(const std::map<int, double>& values, auto&& point) {
    std::vector<QPolygonF> runs;
    int previous = 0;
    for (const auto& [year, value] : values) {
        std::optional<QPointF> at = point(year, value);
        if (!at) {
            previous = 0;
            continue;
        }
        if (runs.empty() || previous == 0 || year != previous + 1) runs.emplace_back();
        runs.back() << *at;
        previous = year;
    }
    return runs;
}

QPen SeriesPen(const CSeries& s, qreal width) {
    QPen pen(s.color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
    if (s.reference) {
        pen.setCapStyle(Qt::FlatCap);
        pen.setDashPattern({3.0, 2.2});
    }
    return pen;
}

}  // namespace

QColor SeriesColor(int index) {
    // Ordered so that neighbours in the order of population differ most; deep blue first,
    // the skin's colour.
    static const QColor colors[] = {
        QColor(31, 78, 156),  QColor(230, 126, 34), QColor(52, 160, 214), QColor(192, 57, 43),
        QColor(39, 158, 106), QColor(125, 91, 166), QColor(140, 98, 57),  QColor(214, 163, 20),
        QColor(212, 93, 154), QColor(96, 112, 138),
    };
    return colors[((index % 10) + 10) % 10];
}

QFont ChartFont(int pixelSize, QFont::Weight weight, bool narrow) {
    QFont font(narrow ? QStringLiteral("Liberation Sans Narrow")
                      : QStringLiteral("Liberation Sans"));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

bool ChartFontsPresent() {
    return QFontInfo(ChartFont(12)).family() == "Liberation Sans"
           && QFontInfo(ChartFont(12, QFont::Bold, true)).family() == "Liberation Sans Narrow";
}

// ---------------------------------------------------------------------------------------
// Line charts

QImage PaintLineChart(const CLineChart& chart, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    Begin(p);
    const int width = size.width();
    const int top = PaintHead(p, width, chart.title, chart.subtitle);
    const int footTop = PaintFoot(p, size, chart.source);

    const CRange range = RangeOf(chart.series, chart.logScale);
    if (!range.any) {
        Text(p, QRectF(0, top, width, footTop - top), Qt::AlignCenter, "Keine Angaben",
             ChartFont(14), kMuted);
        return image;
    }
    const CAxisTicks ticks
        = chart.logScale ? LogTicks(range.min, range.max) : LinearTicks(range.min, range.max, 5);
    const QFont labelFont = ChartFont(11);
    qreal labelWidth = TextWidth(chart.unit, labelFont) - 8;
    for (double v : ticks.values) {
        labelWidth
            = std::max(labelWidth, TextWidth(ChartNumber(v, LabelDecimals(ticks, v)), labelFont));
    }

    // The legend: a column at the right, the series ordered by their newest value.
    const int legendWidth = 196;
    const int legendLeft = width - kMargin - legendWidth;
    const qreal plotLeft = kMargin + std::ceil(labelWidth) + 10;
    const qreal plotRight = legendLeft - 28;
    const qreal plotTop = top + 34;
    const qreal plotBottom = footTop - 34;

    auto yOf = [&](double v) {
        double t = chart.logScale ? (std::log10(v) - std::log10(ticks.lo))
                                        / (std::log10(ticks.hi) - std::log10(ticks.lo))
                                  : (v - ticks.lo) / (ticks.hi - ticks.lo);
        return plotBottom - t * (plotBottom - plotTop);
    };
    const int first = range.first, last = std::max(range.last, range.first + 1);
    auto xOf = [&](double year) {
        return plotLeft + (year - first) / double(last - first) * (plotRight - plotLeft);
    };

    // Grid, value labels and the unit above them.
    for (double v : ticks.minor) HLine(p, plotLeft, plotRight, yOf(v), kZebra);
    for (double v : ticks.values) {
        const qreal y = yOf(v);
        const bool zero = !chart.logScale && v == 0 && ticks.lo < 0;
        HLine(p, plotLeft, plotRight, y, zero ? kAxis : kGrid);
        Text(p, QRectF(kMargin, y - 8, plotLeft - 10 - kMargin, 16),
             Qt::AlignRight | Qt::AlignVCenter, ChartNumber(v, LabelDecimals(ticks, v)), labelFont,
             kMuted);
    }
    if (!chart.unit.isEmpty()) {
        Text(p, QRectF(kMargin, plotTop - 26, plotRight - kMargin, 16),
             Qt::AlignLeft | Qt::AlignVCenter, chart.unit, ChartFont(11, QFont::DemiBold), kMuted);
    }
    // Years along the foot of the plot.
    HLine(p, plotLeft, plotRight, plotBottom, kAxis);
    const int maxYearLabels = std::max(2, int((plotRight - plotLeft) / 52));
    for (int year : YearTicks(first, last, maxYearLabels)) {
        const qreal x = xOf(year);
        VLine(p, x, plotBottom, plotBottom + 4, kAxis);
        Text(p, QRectF(x - 30, plotBottom + 6, 60, 16), Qt::AlignHCenter | Qt::AlignTop,
             QString::number(year), labelFont, kMuted);
    }

    // The lines: the reference first, then the series from the last to the first, so that
    // the first lies on top.
    p.save();
    p.setClipRect(
        QRectF(plotLeft - 4, plotTop - 6, plotRight - plotLeft + 8, plotBottom - plotTop + 10));
    auto point = [&](int year, double value) -> std::optional<QPointF> {
        if (!std::isfinite(value) || (chart.logScale && value <= 0)) return std::nullopt;
        return QPointF(xOf(year), yOf(value));
    };
    std::vector<const CSeries*> order;
    for (const CSeries& s : chart.series) {
        if (s.reference) order.push_back(&s);
    }
    for (auto it = chart.series.rbegin(); it != chart.series.rend(); ++it) {
        if (!it->reference) order.push_back(&*it);
    }
    for (const CSeries* s : order) {
        p.setBrush(Qt::NoBrush);
        p.setPen(SeriesPen(*s, s->reference ? 1.7 : 2.0));
        for (const QPolygonF& run : Runs(s->values, point)) {
            if (run.size() == 1) {
                p.setPen(Qt::NoPen);
                p.setBrush(s->color);
                p.drawEllipse(run[0], 2.2, 2.2);
                p.setPen(SeriesPen(*s, s->reference ? 1.7 : 2.0));
                p.setBrush(Qt::NoBrush);
            } else {
                p.drawPolyline(run);
            }
        }
        // The newest value marked, where the legend's number belongs.
        if (!s->reference && !s->values.empty()) {
            if (auto end = point(s->values.rbegin()->first, s->values.rbegin()->second)) {
                p.setPen(QPen(Qt::white, 1.2));
                p.setBrush(s->color);
                p.drawEllipse(*end, 3.2, 3.2);
            }
        }
    }
    p.restore();

    // Legend rows, largest newest value first.
    std::vector<const CSeries*> rows;
    for (const CSeries& s : chart.series) {
        if (!s.values.empty()) rows.push_back(&s);
    }
    std::stable_sort(rows.begin(), rows.end(), [](const CSeries* a, const CSeries* b) {
        return a->values.rbegin()->second > b->values.rbegin()->second;
    });
    const QFont headFont = ChartFont(10, QFont::Bold);
    const qreal legendTop = plotTop - 26;
    Text(p, QRectF(legendLeft, legendTop, legendWidth, 16), Qt::AlignLeft | Qt::AlignVCenter,
         "LAND", headFont, kMuted);
    Text(p, QRectF(legendLeft, legendTop, legendWidth, 16), Qt::AlignRight | Qt::AlignVCenter,
         QString("NEUESTER WERT"), headFont, kMuted);
    HLine(p, legendLeft, legendLeft + legendWidth, legendTop + 19, kAxis);
    const qreal rowHeight
        = std::min(24.0, (plotBottom - legendTop - 24) / std::max<std::size_t>(rows.size(), 1));
    const QFont nameFont = ChartFont(12);
    const QFont valueFont = ChartFont(12, QFont::Bold);
    const QFont yearFont = ChartFont(10);
    qreal y = legendTop + 23;
    for (const CSeries* s : rows) {
        const qreal mid = y + rowHeight / 2;
        p.setPen(SeriesPen(*s, 3.0));
        p.drawLine(QPointF(legendLeft + 1, mid), QPointF(legendLeft + 17, mid));
        const int year = s->values.rbegin()->first;
        const double newest = s->values.rbegin()->second;
        QString value
            = ChartNumber(newest, chart.logScale ? SignificantDecimals(newest) : chart.decimals);
        qreal valueWidth = TextWidth(value, valueFont);
        Text(p, QRectF(legendLeft, y, legendWidth, rowHeight), Qt::AlignRight | Qt::AlignVCenter,
             value, valueFont, kInk);
        // A value older than the chart's last year says its year.
        if (year != range.last) {
            const QString when = QString("(%1)").arg(year);
            Text(p, QRectF(legendLeft, y, legendWidth - valueWidth - 5, rowHeight),
                 Qt::AlignRight | Qt::AlignVCenter, when, yearFont, kMuted);
            valueWidth += TextWidth(when, yearFont) + 5;
        }
        const qreal nameWidth = legendWidth - 24 - valueWidth - 6;
        Text(p, QRectF(legendLeft + 24, y, nameWidth, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
             Elided(s->name, nameFont, nameWidth), nameFont, s->reference ? kMuted : kInk);
        y += rowHeight;
    }
    return image;
}

QImage PaintLinePreview(const CLineChart& chart, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    Begin(p);
    p.fillRect(QRect(0, 0, size.width(), 3), kAccent);
    const QRectF plot(6, 9, size.width() - 12, size.height() - 15);
    for (int i = 0; i <= 3; ++i)
        HLine(p, plot.left(), plot.right(), plot.top() + i * plot.height() / 3, kGrid);
    const CRange range = RangeOf(chart.series, chart.logScale);
    if (range.any) {
        const CAxisTicks ticks = chart.logScale ? LogTicks(range.min, range.max)
                                                : LinearTicks(range.min, range.max, 3);
        const int last = std::max(range.last, range.first + 1);
        auto point = [&](int year, double value) -> std::optional<QPointF> {
            if (!std::isfinite(value) || (chart.logScale && value <= 0)) return std::nullopt;
            double t = chart.logScale ? (std::log10(value) - std::log10(ticks.lo))
                                            / (std::log10(ticks.hi) - std::log10(ticks.lo))
                                      : (value - ticks.lo) / (ticks.hi - ticks.lo);
            return QPointF(
                plot.left() + (year - range.first) / double(last - range.first) * plot.width(),
                plot.bottom() - t * plot.height());
        };
        for (auto it = chart.series.rbegin(); it != chart.series.rend(); ++it) {
            if (it->reference) continue;
            p.setPen(QPen(it->color, 1.3, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            for (const QPolygonF& run : Runs(it->values, point)) p.drawPolyline(run);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kAxis);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return image;
}

// ---------------------------------------------------------------------------------------
// Heat strips

namespace {

// Red through white to blue, as the world map's scheme for growth rates.
QColor Diverging(double t) {
    static const QColor stops[]
        = {QColor(0xB2182B), QColor(0xEF8A62), QColor(0xFDDBC7), QColor(0xF7F7F7),
           QColor(0xD1E5F0), QColor(0x67A9CF), QColor(0x2166AC)};
    const double pos = (std::clamp(t, -1.0, 1.0) + 1) / 2 * 6;
    const int i = std::min(int(pos), 5);
    const double f = pos - i;
    const QColor& a = stops[i];
    const QColor& b = stops[i + 1];
    return QColor(int(std::lround(a.red() + (b.red() - a.red()) * f)),
                  int(std::lround(a.green() + (b.green() - a.green()) * f)),
                  int(std::lround(a.blue() + (b.blue() - a.blue()) * f)));
}

const QColor kNoValue(236, 238, 243);

// A cell without a value: light grey, hatched, so it never reads as a value near zero.
void PaintNoValue(QPainter& p, const QRectF& box) {
    p.fillRect(box, kNoValue);
    p.fillRect(box, QBrush(QColor(196, 202, 214), Qt::BDiagPattern));
}

// The largest value the colour scale shows in full: a round number at or above nine
// tenths of the values' sizes.
double HeatLimit(const std::vector<CSeries>& series) {
    std::vector<double> sizes;
    for (const CSeries& s : series) {
        for (const auto& [year, value] : s.values) sizes.push_back(std::fabs(value));
    }
    if (sizes.empty()) return 1;
    std::sort(sizes.begin(), sizes.end());
    const double p90 = sizes[std::min(sizes.size() - 1, sizes.size() * 9 / 10)];
    const CAxisTicks ticks = LinearTicks(0, std::max(p90, 1e-9), 2);
    return ticks.hi;
}

}  // namespace

bool IsVolatile(const std::vector<CSeries>& series) {
    std::vector<double> all;
    double change = 0;
    int changes = 0;
    for (const CSeries& s : series) {
        if (s.reference) continue;
        int previousYear = 0;
        double previous = 0;
        for (const auto& [year, value] : s.values) {
            all.push_back(value);
            if (previousYear && year == previousYear + 1) {
                change += std::fabs(value - previous);
                ++changes;
            }
            previousYear = year;
            previous = value;
        }
    }
    if (changes < 10 || all.size() < 10) return false;
    std::sort(all.begin(), all.end());
    // The strip's colours part below and above zero: values of one sign stay lines.
    if (all.front() >= 0 || all.back() <= 0) return false;
    const double spread = all[all.size() * 9 / 10] - all[all.size() / 10];
    return spread > 0 && change / changes > spread / 6;
}

QImage PaintHeatChart(const CLineChart& chart, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    Begin(p);
    const int width = size.width();
    const int top = PaintHead(p, width, chart.title, chart.subtitle);
    const int footTop = PaintFoot(p, size, chart.source);
    const CRange range = RangeOf(chart.series, false);
    if (!range.any) {
        Text(p, QRectF(0, top, width, footTop - top), Qt::AlignCenter, "Keine Angaben",
             ChartFont(14), kMuted);
        return image;
    }
    std::vector<const CSeries*> rows;
    const CSeries* world = nullptr;
    for (const CSeries& s : chart.series) {
        if (s.reference) {
            world = &s;
        } else {
            rows.push_back(&s);
        }
    }
    if (world) rows.push_back(world);

    const double limit = HeatLimit(chart.series);
    const QFont nameFont = ChartFont(12);
    const QFont valueFont = ChartFont(12, QFont::Bold);
    const QFont labelFont = ChartFont(11);
    const QFont headFont = ChartFont(10, QFont::Bold);
    qreal nameWidth = 0;
    for (const CSeries* s : rows) nameWidth = std::max(nameWidth, TextWidth(s->name, nameFont));
    const qreal gridLeft = kMargin + std::ceil(nameWidth) + 12;
    const qreal valueWidth = 64;
    const qreal gridRight = width - kMargin - valueWidth - 10;
    const qreal gridTop = top + 30;
    const qreal scaleHeight = 44;
    const qreal worldGap = world ? 8 : 0;
    const qreal rowHeight
        = std::min<qreal>(26, (footTop - 16 - scaleHeight - 22 - gridTop - worldGap)
                                  / std::max<std::size_t>(rows.size(), 1));
    const int years = range.last - range.first + 1;
    const qreal cell = (gridRight - gridLeft) / years;

    Text(p, QRectF(gridRight + 10, gridTop - 22, valueWidth, 16), Qt::AlignRight | Qt::AlignVCenter,
         QString("%1").arg(range.last), headFont, kMuted);
    qreal y = gridTop;
    for (const CSeries* s : rows) {
        if (s == world) y += worldGap;
        Text(p, QRectF(kMargin, y, gridLeft - kMargin - 12, rowHeight),
             Qt::AlignLeft | Qt::AlignVCenter, s->name, nameFont, s == world ? kMuted : kInk);
        p.save();
        p.setRenderHint(QPainter::Antialiasing, false);
        for (int i = 0; i < years; ++i) {
            const int year = range.first + i;
            auto v = s->values.find(year);
            const qreal x0 = std::round(gridLeft + i * cell),
                        x1 = std::round(gridLeft + (i + 1) * cell);
            const QRectF box(x0, y + 1, std::max<qreal>(1, x1 - x0 - (cell >= 5 ? 1 : 0)),
                             rowHeight - 2);
            if (v == s->values.end()) {
                PaintNoValue(p, box);
            } else {
                p.fillRect(box, Diverging(v->second / limit));
            }
        }
        p.restore();
        if (!s->values.empty()) {
            const int year = s->values.rbegin()->first;
            const QString value = ChartNumber(s->values.rbegin()->second, chart.decimals);
            Text(p, QRectF(gridRight + 10, y, valueWidth, rowHeight),
                 Qt::AlignRight | Qt::AlignVCenter,
                 year == range.last ? value : QString("(%1) %2").arg(year).arg(value),
                 year == range.last ? valueFont : labelFont, kInk);
        }
        y += rowHeight;
    }
    // Years below the cells.
    const qreal yearsTop = y + 4;
    const int maxYearLabels = std::max(2, int((gridRight - gridLeft) / 52));
    for (int year : YearTicks(range.first, range.last, maxYearLabels)) {
        const qreal x = gridLeft + (year - range.first + 0.5) * cell;
        VLine(p, x, yearsTop - 3, yearsTop + 1, kAxis);
        Text(p, QRectF(x - 30, yearsTop + 2, 60, 16), Qt::AlignHCenter | Qt::AlignTop,
             QString::number(year), labelFont, kMuted);
    }
    // The colour scale.
    const qreal scaleTop = footTop - 12 - 30;
    const qreal scaleLeft = gridLeft, scaleWidth = std::min<qreal>(300, gridRight - gridLeft);
    QLinearGradient bar(scaleLeft, 0, scaleLeft + scaleWidth, 0);
    for (int i = 0; i <= 12; ++i) bar.setColorAt(i / 12.0, Diverging(i / 6.0 - 1));
    p.fillRect(QRectF(scaleLeft, scaleTop, scaleWidth, 10), bar);
    for (int i = 0; i <= 4; ++i) {
        const double v = -limit + i * limit / 2;
        const qreal x = scaleLeft + i * scaleWidth / 4;
        VLine(p, x, scaleTop + 10, scaleTop + 14, kAxis);
        QString label = ChartNumber(v, LinearTicks(0, limit, 2).decimals);
        if (i == 0) label = "≤ " + label;
        if (i == 4) label = "≥ " + label;
        Text(p, QRectF(x - 40, scaleTop + 14, 80, 14), Qt::AlignHCenter | Qt::AlignTop, label,
             labelFont, kMuted);
    }
    const qreal noneLeft = scaleLeft + scaleWidth + 40;
    PaintNoValue(p, QRectF(noneLeft, scaleTop, 18, 10));
    Text(p, QRectF(noneLeft + 24, scaleTop - 3, 120, 16), Qt::AlignLeft | Qt::AlignVCenter,
         "keine Angabe", labelFont, kMuted);
    Text(p, QRectF(kMargin, scaleTop - 3, scaleLeft - kMargin - 8, 16),
         Qt::AlignLeft | Qt::AlignVCenter, chart.unit.isEmpty() ? QString() : chart.unit, labelFont,
         kMuted);
    return image;
}

QImage PaintHeatPreview(const CLineChart& chart, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    p.fillRect(QRect(0, 0, size.width(), 3), kAccent);
    const CRange range = RangeOf(chart.series, false);
    if (range.any) {
        const double limit = HeatLimit(chart.series);
        std::vector<const CSeries*> rows;
        for (const CSeries& s : chart.series) {
            if (!s.reference) rows.push_back(&s);
        }
        const QRectF grid(5, 8, size.width() - 10, size.height() - 13);
        const qreal rowHeight = grid.height() / std::max<std::size_t>(rows.size(), 1);
        const int years = range.last - range.first + 1;
        for (std::size_t r = 0; r < rows.size(); ++r) {
            for (int i = 0; i < years; ++i) {
                auto v = rows[r]->values.find(range.first + i);
                const QColor color
                    = v == rows[r]->values.end() ? kNoValue : Diverging(v->second / limit);
                const qreal x0 = grid.left() + i * grid.width() / years;
                p.fillRect(QRectF(x0, grid.top() + r * rowHeight, grid.width() / years + 0.5,
                                  rowHeight - 0.6),
                           color);
            }
        }
    }
    p.setPen(kAxis);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return image;
}

// ---------------------------------------------------------------------------------------
// Ranked tables

namespace {

constexpr int kRankWidth = 30;
constexpr int kFlagWidth = 22;
constexpr int kRowHeight = 22;
constexpr int kCellPad = 14;
constexpr int kBarWidth = 56;

// The line below a column's head: its unit, and its year where it differs from the table's.
QString UnitLine(const CTableColumn& column) {
    if (column.year.isEmpty()) return column.unit;
    return column.unit.isEmpty() ? column.year : column.unit + ", " + column.year;
}

struct CTableLayout {
    qreal nameWidth = 0;
    std::vector<qreal> widths;       // per column
    std::vector<QStringList> heads;  // the head of each column in lines
    int headLines = 1;
};

// Breaks a head into lines of at most width (words that do not fit stand alone).
QStringList BreakHead(const QString& head, const QFont& font, qreal width) {
    QStringList lines;
    for (const QString& word : head.split(' ', Qt::SkipEmptyParts)) {
        if (!lines.isEmpty() && TextWidth(lines.last() + ' ' + word, font) <= width) {
            lines.last() += ' ' + word;
        } else {
            lines << word;
        }
    }
    return lines;
}

CTableLayout LayOut(const CTablePicture& table, int columns) {
    CTableLayout layout;
    const QFont cellFont = ChartFont(12);
    const QFont headFont = ChartFont(12, QFont::Bold, true);
    const QFont unitFont = ChartFont(11, QFont::Normal, true);
    for (const CTableRow& row : table.rows) {
        layout.nameWidth = std::max(layout.nameWidth, TextWidth(row.name, cellFont));
    }
    layout.nameWidth = std::min<qreal>(std::max<qreal>(layout.nameWidth, 110), 180) + kCellPad;
    for (int c = 0; c < columns; ++c) {
        const CTableColumn& column = table.columns[c];
        qreal cells = 0;
        for (const CTableRow& row : table.rows) {
            cells = std::max(cells, TextWidth(row.cells.value(c), cellFont));
        }
        if (column.sortKey) cells += kBarWidth + 8;
        // Heads take up to three lines, but never force a number column wider than twice its
        // numbers.
        qreal longestWord = 0;
        for (const QString& word : column.head.split(' ')) {
            longestWord = std::max(longestWord, TextWidth(word, headFont));
        }
        qreal w = std::max({cells, longestWord, TextWidth(UnitLine(column), unitFont), 44.0});
        QStringList lines = BreakHead(column.head, headFont, w);
        while (lines.size() > 3 && w < 220) {
            w += 8;
            lines = BreakHead(column.head, headFont, w);
        }
        layout.widths.push_back(std::ceil(w) + kCellPad);
        layout.heads.push_back(lines);
        layout.headLines = std::max<int>(layout.headLines, lines.size());
    }
    return layout;
}

qreal NaturalWidth(const CTableLayout& layout) {
    qreal w = 2 * kMargin + kRankWidth + kFlagWidth + layout.nameWidth;
    for (qreal c : layout.widths) w += c;
    return w;
}

}  // namespace

int FittingColumns(const CTablePicture& table, int maxWidth) {
    int columns = int(table.columns.size());
    while (columns > 1 && NaturalWidth(LayOut(table, columns)) > maxWidth) --columns;
    return columns;
}

QImage PaintTable(const CTablePicture& table, int minWidth, int maxWidth) {
    const int columns = FittingColumns(table, maxWidth);
    CTableLayout layout = LayOut(table, columns);
    const int width = std::clamp(int(std::ceil(NaturalWidth(layout))), minWidth, maxWidth);
    // Spare width goes to the value columns, so the table fills the picture evenly.
    const qreal spare = width - NaturalWidth(layout);
    if (spare > 0 && columns > 0) {
        for (qreal& w : layout.widths) w += spare / columns;
    }
    const int headHeight = 14 + layout.headLines * 15 + 30;
    const int rowsHeight = int(table.rows.size()) * kRowHeight;
    const QString foot = table.note.isEmpty() ? table.source : table.source + " " + table.note;
    const int footLines = FootLines(foot, width);
    const int height = 70 + headHeight + rowsHeight + 18 + footLines * 14 + 12;

    QImage image = Canvas(QSize(width, height));
    QPainter p(&image);
    Begin(p);
    const int top = PaintHead(p, width, table.title, table.subtitle) + 8;
    const QRectF area(kMargin, top, width - 2 * kMargin, headHeight + rowsHeight);

    // Where each column starts.
    std::vector<qreal> x(columns + 1);
    x[0] = area.left() + kRankWidth + kFlagWidth + layout.nameWidth;
    for (int c = 0; c < columns; ++c) x[c + 1] = x[c] + layout.widths[c];

    // Head: the skin's dark blue, the heads bottom-aligned above their unit and year.
    QLinearGradient headFill(0, top, 0, top + headHeight);
    headFill.setColorAt(0, kHeadTop);
    headFill.setColorAt(1, kHeadBottom);
    p.fillRect(QRectF(area.left(), top, area.width(), headHeight), headFill);
    const QFont headFont = ChartFont(12, QFont::Bold, true);
    const QFont unitFont = ChartFont(11, QFont::Normal, true);
    const qreal headBottom = top + headHeight - 32;
    Text(p, QRectF(area.left() + kRankWidth + kFlagWidth, headBottom - 15, layout.nameWidth, 15),
         Qt::AlignLeft | Qt::AlignBottom, "Land", headFont, kOnDark);
    for (int c = 0; c < columns; ++c) {
        const CTableColumn& column = table.columns[c];
        const int align = (column.numeric ? Qt::AlignRight : Qt::AlignLeft);
        const QRectF cell(x[c] + kCellPad / 2.0, 0, layout.widths[c] - kCellPad, 0);
        const QStringList& lines = layout.heads[c];
        for (int i = 0; i < lines.size(); ++i) {
            const qreal y = headBottom - (lines.size() - i) * 15;
            Text(p, QRectF(cell.left(), y, cell.width(), 15), align | Qt::AlignBottom, lines[i],
                 headFont, kOnDark);
        }
        Text(p, QRectF(cell.left(), headBottom + 2, cell.width(), 14), align | Qt::AlignVCenter,
             UnitLine(column), unitFont, kOnDarkMuted);
        if (column.sortKey) {
            // A small mark under the head of the ranking column.
            const qreal markX = column.numeric ? cell.right() - 10 : cell.left();
            p.setPen(Qt::NoPen);
            p.setBrush(QColor(255, 190, 90));
            const qreal my = headBottom + 19;
            p.drawPolygon(QPolygonF(
                {QPointF(markX, my), QPointF(markX + 10, my), QPointF(markX + 5, my + 5)}));
        }
    }

    // Rows: zebra, the ranking column tinted, its value with a bar.
    const QFont cellFont = ChartFont(12);
    const QFont rankFont = ChartFont(11);
    const QFont strongFont = ChartFont(12, QFont::Bold);
    qreal y = top + headHeight;
    for (std::size_t r = 0; r < table.rows.size(); ++r) {
        const CTableRow& row = table.rows[r];
        const QRectF line(area.left(), y, area.width(), kRowHeight);
        if (r % 2 == 1) p.fillRect(line, kZebra);
        for (int c = 0; c < columns; ++c) {
            if (table.columns[c].sortKey) {
                p.fillRect(QRectF(x[c], y, layout.widths[c], kRowHeight),
                           r % 2 ? QColor(223, 231, 244) : QColor(233, 239, 249));
            }
        }
        Text(p, QRectF(area.left(), y, kRankWidth - 6, kRowHeight),
             Qt::AlignRight | Qt::AlignVCenter, QString("%1.").arg(row.rank), rankFont, kMuted);
        const qreal flagLeft = area.left() + kRankWidth;
        if (!row.flag.isNull()) {
            const QRectF flagRect(flagLeft, y + (kRowHeight - 12) / 2.0, 16, 12);
            p.drawImage(flagRect, row.flag);
            p.setRenderHint(QPainter::Antialiasing, false);
            p.setPen(QColor(0, 0, 0, 40));
            p.setBrush(Qt::NoBrush);
            p.drawRect(flagRect.adjusted(0, 0, -1, -1));
            p.setRenderHint(QPainter::Antialiasing, true);
        }
        Text(p, QRectF(flagLeft + kFlagWidth, y, layout.nameWidth - 4, kRowHeight),
             Qt::AlignLeft | Qt::AlignVCenter, Elided(row.name, cellFont, layout.nameWidth - 4),
             cellFont, kInk);
        for (int c = 0; c < columns; ++c) {
            const CTableColumn& column = table.columns[c];
            const QRectF cell(x[c] + kCellPad / 2.0, y, layout.widths[c] - kCellPad, kRowHeight);
            const QString text = row.cells.value(c);
            if (column.sortKey && column.numeric && row.bar > 0) {
                const qreal barWidth = std::clamp(row.bar, 0.0, 1.0) * kBarWidth;
                p.setPen(Qt::NoPen);
                p.setBrush(kAccent);
                p.drawRoundedRect(QRectF(cell.left(), y + 8, std::max(barWidth, 1.5), 6), 1.5, 1.5);
            }
            const bool missing = text == QStringLiteral("–");
            Text(p, cell, (column.numeric ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter,
                 Elided(text, cellFont, cell.width()), column.sortKey ? strongFont : cellFont,
                 missing ? kAxis : kInk);
        }
        y += kRowHeight;
    }
    HLine(p, area.left(), area.right(), y, kAccent, 2);
    PaintFoot(p, image.size(), foot);
    return image;
}

QImage PaintTablePreview(const CTablePicture& table, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    Begin(p);
    p.fillRect(QRect(0, 0, size.width(), 3), kAccent);
    const QRectF area(5, 8, size.width() - 10, size.height() - 13);
    QLinearGradient headFill(0, area.top(), 0, area.top() + 8);
    headFill.setColorAt(0, kHeadTop);
    headFill.setColorAt(1, kHeadBottom);
    p.fillRect(QRectF(area.left(), area.top(), area.width(), 8), headFill);
    const int rows = std::min<int>(int(table.rows.size()), 9);
    const qreal rowHeight = (area.height() - 8) / std::max(rows, 1);
    const qreal nameRight = area.left() + area.width() * 0.42;
    for (int r = 0; r < rows; ++r) {
        const qreal y = area.top() + 8 + r * rowHeight;
        if (r % 2 == 1) p.fillRect(QRectF(area.left(), y, area.width(), rowHeight), kZebra);
        // The name as a grey stroke of its length, the bar of the ranking column in blue.
        const qreal nameLength
            = std::min<qreal>(nameRight - area.left() - 4, 6 + table.rows[r].name.size() * 1.6);
        p.fillRect(QRectF(area.left() + 2, y + rowHeight / 2 - 1, nameLength, 2), kAxis);
        const qreal barWidth
            = std::clamp(table.rows[r].bar, 0.02, 1.0) * (area.right() - nameRight - 4);
        p.fillRect(QRectF(nameRight, y + rowHeight / 2 - 1.5, barWidth, 3), kAccent);
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kAxis);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return image;
}

// ---------------------------------------------------------------------------------------
// Country panels

namespace {

// The scale of a tile's line: at least a tenth of the values' size high, so the rounding of
// a source (a population given to the thousand) does not show as jumps.
CAxisTicks SparkTicks(const CRange& range) {
    double lo = range.min, hi = range.max;
    const double least = 0.1 * std::max(std::fabs(lo), std::fabs(hi));
    if (hi - lo < least) {
        const double mid = (lo + hi) / 2;
        lo = mid - least / 2;
        hi = mid + least / 2;
        if (range.min >= 0) lo = std::max(lo, 0.0);
    }
    return LinearTicks(lo, hi, 3);
}

// A tile's line over the years, with the world's dashed where there is one.
void PaintSparkline(QPainter& p, const QRectF& box, const CPanelTile& tile, bool labels) {
    std::vector<CSeries> both(2);
    both[0].values = tile.series;
    both[1].values = tile.world;
    const CRange range = RangeOf(both, false);
    if (!range.any) return;
    const CAxisTicks ticks = SparkTicks(range);
    const int first = tile.series.empty() ? range.first : tile.series.begin()->first;
    const int last
        = std::max(tile.series.empty() ? range.last : tile.series.rbegin()->first, first + 1);
    auto point = [&](int year, double value) -> std::optional<QPointF> {
        if (year < first || year > last || !std::isfinite(value)) return std::nullopt;
        return QPointF(box.left() + (year - first) / double(last - first) * box.width(),
                       box.bottom() - (value - ticks.lo) / (ticks.hi - ticks.lo) * box.height());
    };
    if (labels) {
        for (double v : {ticks.lo, ticks.hi}) {
            const qreal y = box.bottom() - (v - ticks.lo) / (ticks.hi - ticks.lo) * box.height();
            HLine(p, box.left(), box.right(), y, v == ticks.lo ? kAxis : kGrid);
        }
    }
    // The area under the country's line where the scale starts at zero (else the area would
    // exaggerate), then the world's line, then the country's.
    for (const QPolygonF& run : Runs(tile.series, point)) {
        if (run.size() < 2 || ticks.lo != 0) continue;
        QPolygonF area = run;
        area << QPointF(run.last().x(), box.bottom()) << QPointF(run.first().x(), box.bottom());
        QLinearGradient fill(0, box.top(), 0, box.bottom());
        fill.setColorAt(0, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 70));
        fill.setColorAt(1, QColor(kAccent.red(), kAccent.green(), kAccent.blue(), 12));
        p.setPen(Qt::NoPen);
        p.setBrush(fill);
        p.drawPolygon(area);
    }
    CSeries world;
    world.reference = true;
    world.color = kReference;
    p.setBrush(Qt::NoBrush);
    p.setPen(SeriesPen(world, labels ? 1.3 : 0.9));
    for (const QPolygonF& run : Runs(tile.world, point)) p.drawPolyline(run);
    p.setPen(QPen(kAccent, labels ? 1.8 : 1.1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    for (const QPolygonF& run : Runs(tile.series, point)) {
        if (run.size() == 1) {
            p.setBrush(kAccent);
            p.drawEllipse(run[0], 1.8, 1.8);
            p.setBrush(Qt::NoBrush);
        } else {
            p.drawPolyline(run);
        }
    }
    if (labels && !tile.series.empty()) {
        const QFont yearFont = ChartFont(10);
        Text(p, QRectF(box.left(), box.bottom() + 2, 60, 13), Qt::AlignLeft | Qt::AlignTop,
             QString::number(first), yearFont, kMuted);
        Text(p, QRectF(box.right() - 60, box.bottom() + 2, 60, 13), Qt::AlignRight | Qt::AlignTop,
             QString::number(tile.series.rbegin()->first), yearFont, kMuted);
        // The scale's two ends right of the box, beside their lines.
        const QFont scaleFont = ChartFont(10);
        for (double v : {ticks.lo, ticks.hi}) {
            const qreal y = box.bottom() - (v - ticks.lo) / (ticks.hi - ticks.lo) * box.height();
            Text(p, QRectF(box.right() + 4, y - 7, 40, 14), Qt::AlignLeft | Qt::AlignVCenter,
                 ChartNumber(v, ticks.decimals), scaleFont, kMuted);
        }
    }
}

// Rows and columns of the tile grid for a count of tiles.
QSize TileGrid(int tiles) {
    if (tiles <= 3) return QSize(std::max(tiles, 1), 1);
    if (tiles == 4) return QSize(2, 2);
    return QSize(3, 2);
}

void PaintPanelHead(QPainter& p, const CPanel& panel, int width, int height) {
    QLinearGradient fill(0, 0, 0, height);
    fill.setColorAt(0, kHeadTop);
    fill.setColorAt(1, kHeadBottom);
    p.fillRect(QRect(0, 0, width, height), fill);
    qreal textLeft = kMargin;
    if (!panel.flag.isNull()) {
        const QSizeF flagSize(56, 42);
        const QRectF flagRect(kMargin, (height - flagSize.height()) / 2, flagSize.width(),
                              flagSize.height());
        p.drawImage(flagRect, panel.flag);
        p.setRenderHint(QPainter::Antialiasing, false);
        p.setPen(QColor(255, 255, 255, 110));
        p.setBrush(Qt::NoBrush);
        p.drawRect(flagRect.adjusted(-1, -1, 0, 0));
        p.setRenderHint(QPainter::Antialiasing, true);
        textLeft = flagRect.right() + 16;
    }
    const QFont brandFont = ChartFont(10, QFont::Bold);
    const qreal brandWidth = TextWidth(kBrand, brandFont);
    Text(p, QRectF(width - kMargin - brandWidth, 12, brandWidth, 28),
         Qt::AlignRight | Qt::AlignVCenter, kBrand, brandFont, kOnDarkMuted);
    const QFont nameFont = ChartFont(22, QFont::Bold);
    const qreal room = width - textLeft - kMargin - brandWidth - 12;
    Text(p, QRectF(textLeft, 12, room, 28), Qt::AlignLeft | Qt::AlignVCenter,
         Elided(panel.name, nameFont, room), nameFont, Qt::white);
    const QFont factFont = ChartFont(12);
    const qreal factRoom = width - textLeft - kMargin;
    Text(p, QRectF(textLeft, 42, factRoom, 18), Qt::AlignLeft | Qt::AlignVCenter,
         Elided(panel.facts, factFont, factRoom), factFont, kOnDarkMuted);
}

}  // namespace

QImage PaintPanel(const CPanel& panel, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    Begin(p);
    const int width = size.width();
    const int headHeight = 72;
    PaintPanelHead(p, panel, width, headHeight);
    const int footTop = PaintFoot(p, size, panel.source);
    const QRectF body(kMargin, headHeight + 16, width - 2 * kMargin, footTop - headHeight - 28);

    if (panel.tiles.empty()) {
        // No series: the country's facts as a list.
        const QFont labelFont = ChartFont(12);
        const QFont valueFont = ChartFont(14);
        const int rows = int(panel.factList.size());
        const qreal rowHeight = std::min<qreal>(30, body.height() / std::max(rows, 1));
        for (int i = 0; i < rows; ++i) {
            const qreal y = body.top() + i * rowHeight;
            if (i % 2 == 1) p.fillRect(QRectF(body.left(), y, body.width(), rowHeight), kZebra);
            Text(p, QRectF(body.left() + 10, y, 170, rowHeight), Qt::AlignLeft | Qt::AlignVCenter,
                 panel.factList[i].first, labelFont, kMuted);
            Text(p, QRectF(body.left() + 190, y, body.width() - 200, rowHeight),
                 Qt::AlignLeft | Qt::AlignVCenter,
                 Elided(panel.factList[i].second, valueFont, body.width() - 200), valueFont, kInk);
        }
        return image;
    }

    const QSize grid = TileGrid(int(panel.tiles.size()));
    const qreal gap = 12;
    const qreal tileWidth = (body.width() - gap * (grid.width() - 1)) / grid.width();
    const qreal tileHeight = (body.height() - gap * (grid.height() - 1)) / grid.height();
    const QFont titleFont = ChartFont(12, QFont::Bold);
    const QFont valueFont = ChartFont(24, QFont::Bold);
    const QFont unitFont = ChartFont(12);
    const QFont detailFont = ChartFont(11);
    for (std::size_t i = 0; i < panel.tiles.size() && int(i) < grid.width() * grid.height(); ++i) {
        const CPanelTile& tile = panel.tiles[i];
        const int column = int(i) % grid.width(), row = int(i) / grid.width();
        const QRectF box(body.left() + column * (tileWidth + gap),
                         body.top() + row * (tileHeight + gap), tileWidth, tileHeight);
        p.setPen(QPen(QColor(214, 222, 235), 1));
        p.setBrush(QColor(247, 249, 252));
        p.drawRoundedRect(box.adjusted(0.5, 0.5, -0.5, -0.5), 4, 4);
        p.fillRect(QRectF(box.left() + 1, box.top() + 1, 3, 20), kAccent);
        const qreal inner = box.width() - 24;
        Text(p, QRectF(box.left() + 12, box.top() + 6, inner, 18), Qt::AlignLeft | Qt::AlignVCenter,
             Elided(tile.title, titleFont, inner), titleFont, kInk);
        const qreal valueWidth = TextWidth(tile.value, valueFont);
        Text(p, QRectF(box.left() + 12, box.top() + 26, inner, 30),
             Qt::AlignLeft | Qt::AlignVCenter, tile.value, valueFont, kAccentDark);
        Text(p,
             QRectF(box.left() + 12 + valueWidth + 5, box.top() + 34, inner - valueWidth - 5, 20),
             Qt::AlignLeft | Qt::AlignVCenter, Elided(tile.unit, unitFont, inner - valueWidth - 5),
             unitFont, kMuted);
        Text(p, QRectF(box.left() + 12, box.top() + 56, inner, 16),
             Qt::AlignLeft | Qt::AlignVCenter, Elided(tile.detail, detailFont, inner), detailFont,
             kMuted);
        // Room at the right for the scale's labels.
        std::vector<chart::CSeries> both(2);
        both[0].values = tile.series;
        both[1].values = tile.world;
        const CRange range = RangeOf(both, false);
        qreal scaleWidth = 0;
        if (range.any) {
            const CAxisTicks ticks = SparkTicks(range);
            for (double v : {ticks.lo, ticks.hi}) {
                scaleWidth = std::max(scaleWidth,
                                      TextWidth(ChartNumber(v, ticks.decimals), ChartFont(10)));
            }
        }
        const QRectF spark(box.left() + 12, box.top() + 88, inner - scaleWidth - 4,
                           box.height() - 88 - 22);
        if (spark.height() > 16) PaintSparkline(p, spark, tile, true);
    }
    return image;
}

QImage PaintPanelPreview(const CPanel& panel, QSize size) {
    QImage image = Canvas(size);
    QPainter p(&image);
    Begin(p);
    const int headHeight = 18;
    QLinearGradient fill(0, 0, 0, headHeight);
    fill.setColorAt(0, kHeadTop);
    fill.setColorAt(1, kHeadBottom);
    p.fillRect(QRect(0, 0, size.width(), headHeight), fill);
    if (!panel.flag.isNull()) {
        p.drawImage(QRectF(4, 3, 16, 12), panel.flag);
    }
    // The name as a light stroke in the head.
    p.fillRect(QRectF(24, 7, std::min<qreal>(size.width() - 30, 8 + panel.name.size() * 2.2), 3),
               kOnDarkMuted);
    const QRectF body(4, headHeight + 4, size.width() - 8, size.height() - headHeight - 8);
    if (panel.tiles.empty()) {
        for (int i = 0; i < 4; ++i) {
            const qreal y = body.top() + 3 + i * body.height() / 4;
            p.fillRect(QRectF(body.left() + 2, y, 18, 2), kAxis);
            p.fillRect(QRectF(body.left() + 26, y, 30 + (i * 7) % 20, 2), kInk);
        }
    } else {
        const QSize grid = TileGrid(int(panel.tiles.size()));
        const qreal gap = 3;
        const qreal w = (body.width() - gap * (grid.width() - 1)) / grid.width();
        const qreal h = (body.height() - gap * (grid.height() - 1)) / grid.height();
        for (std::size_t i = 0; i < panel.tiles.size() && int(i) < grid.width() * grid.height();
             ++i) {
            const QRectF box(body.left() + (int(i) % grid.width()) * (w + gap),
                             body.top() + (int(i) / grid.width()) * (h + gap), w, h);
            p.setPen(QPen(QColor(214, 222, 235), 1));
            p.setBrush(QColor(247, 249, 252));
            p.drawRect(box.adjusted(0.5, 0.5, -0.5, -0.5));
            CPanelTile line = panel.tiles[i];
            line.world.clear();
            PaintSparkline(p, box.adjusted(2, 3, -2, -2), line, false);
        }
    }
    p.setRenderHint(QPainter::Antialiasing, false);
    p.setPen(kAxis);
    p.setBrush(Qt::NoBrush);
    p.drawRect(QRect(0, 0, size.width() - 1, size.height() - 1));
    return image;
}

}  // namespace chart
