#include "CursorArt.h"

#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

#include "SkinStyle.h"

namespace skin {
namespace {

constexpr int kCursorSize = 32;

CCursorImage FromImage(const QImage& picture, int hotX, int hotY) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    CCursorImage image;
    image.width = argb.width();
    image.height = argb.height();
    image.hotX = hotX;
    image.hotY = hotY;
    image.pixels.reserve(static_cast<std::size_t>(argb.width()) * argb.height());
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        image.pixels.insert(image.pixels.end(), row, row + argb.width());
    }
    return image;
}

QPainterPath Finger(qreal x, qreal top, qreal width, qreal bottom) {
    QPainterPath path;
    path.addRoundedRect(QRectF(x, top, width, bottom - top), width / 2, width / 2);
    return path;
}

}  // namespace

CCursorImage PaintPointerCursor() {
    QImage picture(kCursorSize, kCursorSize, QImage::Format_ARGB32_Premultiplied);
    picture.fill(Qt::transparent);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);

    // Index finger raised, three fingers folded, thumb to the left, palm below
    QPainterPath hand = Finger(9.5, 1.5, 5, 18);
    hand = hand.united(Finger(14.5, 9.5, 4.5, 19));
    hand = hand.united(Finger(19, 10.5, 4.5, 19.5));
    hand = hand.united(Finger(23.5, 12, 4, 20));
    QPainterPath palm;
    palm.addRoundedRect(QRectF(9.5, 14, 18, 14.5), 4, 4);
    hand = hand.united(palm);
    QPainterPath thumb;
    thumb.addRoundedRect(QRectF(-2.5, -2.25, 11, 4.5), 2.25, 2.25);
    QTransform t;
    t.translate(7.5, 19.5);
    t.rotate(50);
    hand = hand.united(t.map(thumb));

    p.setPen(QPen(Qt::black, 1.4, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    p.setBrush(Qt::white);
    p.drawPath(hand.simplified());
    // Creases between the folded fingers
    p.setPen(QPen(QColor(0, 0, 0, 150), 1.0, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(14.5, 13), QPointF(14.5, 17));
    p.drawLine(QPointF(19, 13.5), QPointF(19, 17.5));
    p.drawLine(QPointF(23.5, 14.5), QPointF(23.5, 18));
    return FromImage(picture, 12, 2);
}

CCursorFile PaintWaitCursor() {
    constexpr int kFrames = 12;
    constexpr unsigned kDelayMs = 83;  // five ticks of 1/60 s: one turn per second
    CCursorFile cursor;
    for (int i = 0; i < kFrames; ++i) {
        QImage picture(kCursorSize, kCursorSize, QImage::Format_ARGB32_Premultiplied);
        picture.fill(Qt::transparent);
        QPainter p(&picture);
        p.setRenderHint(QPainter::Antialiasing);
        const QRectF ring(6.5, 6.5, 19, 19);
        // Dark outline and light track so the ring shows on any background
        p.setPen(QPen(QColor(0, 0, 0, 200), 6.5));
        p.drawEllipse(ring);
        p.setPen(QPen(QColor(236, 241, 250), 4.0));
        p.drawEllipse(ring);
        // The turning arc, with a tail fading out behind it
        const int head = -i * 30 * 16;
        for (int k = 0; k < 6; ++k) {
            QColor c = Mix(kFrame, QColor(236, 241, 250), k / 6.0);
            p.setPen(QPen(c, 4.0, Qt::SolidLine, k == 0 ? Qt::RoundCap : Qt::FlatCap));
            p.drawArc(ring, head + k * 22 * 16, 24 * 16);
        }
        p.end();
        cursor.images.push_back(FromImage(picture, 16, 16));
        cursor.steps.push_back({i, kDelayMs});
    }
    return cursor;
}

}  // namespace skin
