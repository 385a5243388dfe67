#include "map/MapLegend.h"

#include <QPainter>

namespace {

QColor Rgb(MapColor c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

}  // namespace

QImage DrawMapLegend(const CMapDisplay& display) {
    QImage image(kLegendWidth, kLegendHeight, QImage::Format_RGB32);
    image.setDotsPerMeterX(3780);
    image.setDotsPerMeterY(3780);
    image.fill(QColor(0x55, 0x58, 0x72));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    QFont font(QStringLiteral("Arial"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(9);
    font.setWeight(QFont::DemiBold);
    painter.setFont(font);
    const CMapClasses& classes = display.values.classes;
    for (int i = 0; i < kMapClassCount; ++i) {
        const QRect box(4, 24 * i + 4, 184, 20);
        if (classes.empty) {
            // No value at all: one box in the colour of countries without a value.
            if (i > 0) break;
            painter.fillRect(box, Rgb(display.colors.nodata));
            painter.setPen(QColor(0x30, 0x30, 0x38));
        } else {
            painter.fillRect(box, Rgb(display.colors.countries[i]));
            painter.setPen(Rgb(display.colors.text[i]));
        }
        painter.drawText(box.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                         QString::fromStdString(LegendText(classes, i)));
    }
    return image;
}

