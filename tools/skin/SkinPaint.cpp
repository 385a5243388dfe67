#include "SkinPaint.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>

#include "IconTheme.h"

namespace skin {

QImage Canvas(QSize size, const QColor& fill) {
    QImage image(size, QImage::Format_RGB32);
    image.fill(fill);
    return image;
}

QImage TransparentCanvas(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    return image;
}

void FillGradient(QPainter& p, const QRect& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient g(0, rect.top(), 0, rect.bottom() + 1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    p.fillRect(rect, g);
}

void HLine(QPainter& p, int x1, int x2, int y, const QColor& color) {
    if (x2 >= x1) p.fillRect(QRect(x1, y, x2 - x1 + 1, 1), color);
}

void VLine(QPainter& p, int x, int y1, int y2, const QColor& color) {
    if (y2 >= y1) p.fillRect(QRect(x, y1, 1, y2 - y1 + 1), color);
}

void Frame(QPainter& p, const QRect& r, const QColor& color) {
    HLine(p, r.left(), r.right(), r.top(), color);
    HLine(p, r.left(), r.right(), r.bottom(), color);
    VLine(p, r.left(), r.top() + 1, r.bottom() - 1, color);
    VLine(p, r.right(), r.top() + 1, r.bottom() - 1, color);
}

QPainterPath Rounded(const QRectF& rect, qreal radius) {
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    return path;
}

void DarkSurface(QPainter& p, const QRect& rect, const QColor& top, const QColor& bottom) {
    FillGradient(p, rect, top, bottom);
    HLine(p, rect.left(), rect.right(), rect.top(), Mix(top, kEdgeLight, 0.45));
    HLine(p, rect.left(), rect.right(), rect.bottom(), kEdgeDark);
}

namespace {

// A face in two layers: the border colour over the whole rounded rect, the fill one pixel
// inside it. The border stays exactly one pixel wide and only the corners are smoothed.
void TwoLayerFace(QPainter& p, const QRect& rect, qreal radius, const QBrush& border,
                  const QBrush& fill) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(border);
    p.drawPath(Rounded(QRectF(rect.x(), rect.y(), rect.width(), rect.height()), radius));
    p.setBrush(fill);
    p.drawPath(Rounded(QRectF(rect.x() + 1, rect.y() + 1, rect.width() - 2, rect.height() - 2),
                       std::max<qreal>(radius - 1, 0)));
    p.restore();
}

QBrush Vertical(const QRect& rect, const QColor& top, const QColor& bottom) {
    QLinearGradient g(0, rect.top(), 0, rect.bottom() + 1);
    g.setColorAt(0, top);
    g.setColorAt(1, bottom);
    return g;
}

}  // namespace

void ButtonFace(QPainter& p, const QRect& rect, State state, qreal radius) {
    const int r = qCeil(radius);
    switch (state) {
        case State::Normal:
            TwoLayerFace(p, rect, radius, kButtonBorder, Vertical(rect, kButtonTop, kButtonBottom));
            HLine(p, rect.left() + r, rect.right() - r, rect.top() + 1, Qt::white);
            break;
        case State::Hover:
            TwoLayerFace(p, rect, radius, kAccent,
                         Vertical(rect, kButtonHoverTop, kButtonHoverBottom));
            HLine(p, rect.left() + r, rect.right() - r, rect.top() + 1, Qt::white);
            HLine(p, rect.left() + r, rect.right() - r, rect.bottom() - 1,
                  Mix(kButtonHoverBottom, kAccent, 0.25));
            break;
        case State::Pressed:
            TwoLayerFace(p, rect, radius, Mix(kAccent, kEdgeDark, 0.4),
                         Vertical(rect, kButtonPressedTop, kButtonPressedBottom));
            // Shadow under the upper edge: the face lies lower than its frame
            HLine(p, rect.left() + r, rect.right() - r, rect.top() + 1,
                  Mix(kButtonPressedTop, kEdgeDark, 0.2));
            break;
        case State::Disabled:
            TwoLayerFace(p, rect, radius, kButtonDisabledBorder, kButtonDisabled);
            break;
    }
}

void GhostFace(QPainter& p, const QRect& rect, State state, qreal radius) {
    switch (state) {
        case State::Normal:
            TwoLayerFace(p, rect, radius, WithAlpha(Qt::white, 40), WithAlpha(Qt::white, 22));
            break;
        case State::Hover:
            TwoLayerFace(p, rect, radius, WithAlpha(Qt::white, 110),
                         Vertical(rect, WithAlpha(Qt::white, 70), WithAlpha(Qt::white, 38)));
            break;
        case State::Pressed:
            TwoLayerFace(p, rect, radius, WithAlpha(kEdgeDark, 150),
                         Vertical(rect, WithAlpha(kEdgeDark, 110), WithAlpha(kEdgeDark, 60)));
            break;
        case State::Disabled:
            TwoLayerFace(p, rect, radius, WithAlpha(Qt::white, 18), WithAlpha(Qt::white, 8));
            break;
    }
}

void Well(QPainter& p, const QRect& controlRect, const QColor& inside) {
    const QRect outer = controlRect.adjusted(-1, -1, 1, 1);
    p.fillRect(controlRect, inside);
    Frame(p, outer, Mix(kWellShadow, kBack, 0.25));
    HLine(p, outer.left(), outer.right(), outer.top(), kWellShadow);
    // A lip of light under the well makes it read as set into the surface
    HLine(p, outer.left(), outer.right(), outer.bottom() + 1, kWellLight);
}

QColor LightInk(State state) {
    switch (state) {
        case State::Hover:
            return kAccent;
        case State::Disabled:
            return kMuted;
        default:
            return kInk;
    }
}

QColor DarkInk(State state) {
    switch (state) {
        case State::Hover:
            return Qt::white;
        case State::Disabled:
            return WithAlpha(kOnDarkMuted, 140);
        default:
            return kOnDark;
    }
}

QFont FitFont(QFont font, const QString& text, int width) {
    while (font.pixelSize() > 9 && QFontMetrics(font).horizontalAdvance(text) > width)
        font.setPixelSize(font.pixelSize() - 1);
    return font;
}

void Text(QPainter& p, const QRect& rect, int flags, const QString& text, const QFont& font,
          const QColor& color) {
    p.save();
    p.setFont(font);
    p.setPen(color);
    p.drawText(rect, flags, text);
    p.restore();
}

bool Content(QPainter& p, const CIconTheme& icons, const QRect& rect, const QString& icon,
             const QString& label, const QFont& font, const QColor& ink, State state,
             int iconSize) {
    const QRect area = state == State::Pressed ? rect.translated(1, 1) : rect;
    const bool hasIcon = !icon.isEmpty() && icons.Has(icon);
    const QString text
        = label.isEmpty() && !icon.isEmpty() && !hasIcon ? icon.left(1).toUpper() : label;
    const int gap = hasIcon && !text.isEmpty() ? 6 : 0;
    const QFont fitted = FitFont(font, text, area.width() - 8 - (hasIcon ? iconSize + gap : 0));
    const int textWidth = text.isEmpty() ? 0 : QFontMetrics(fitted).horizontalAdvance(text);
    const int width = (hasIcon ? iconSize : 0) + gap + textWidth;
    int x = area.left() + (area.width() - width) / 2;
    if (hasIcon) {
        const QRect iconRect(x, area.top() + (area.height() - iconSize) / 2, iconSize, iconSize);
        icons.Draw(p, icon, iconRect, ink);
        x += iconSize + gap;
    }
    if (!text.isEmpty())
        Text(p, QRect(x, area.top(), area.right() - x + 1, area.height()),
             Qt::AlignLeft | Qt::AlignVCenter, text, fitted, ink);
    return icon.isEmpty() || hasIcon;
}

bool StackedContent(QPainter& p, const CIconTheme& icons, const QRect& rect, const QString& icon,
                    const QString& label, const QFont& font, const QColor& ink, State state,
                    int iconSize) {
    const QRect area = state == State::Pressed ? rect.translated(1, 1) : rect;
    const bool hasIcon = !icon.isEmpty() && icons.Has(icon);
    const QFontMetrics metrics(font);
    const int gap = 3;
    const int height = (hasIcon ? iconSize + gap : 0) + metrics.height();
    int y = area.top() + (area.height() - height) / 2;
    if (hasIcon) {
        icons.Draw(p, icon,
                   QRect(area.left() + (area.width() - iconSize) / 2, y, iconSize, iconSize), ink);
        y += iconSize + gap;
    }
    Text(p, QRect(area.left(), y, area.width(), metrics.height()), Qt::AlignHCenter | Qt::AlignTop,
         label, font, ink);
    return icon.isEmpty() || hasIcon;
}

void Emblem(QPainter& p, const QRectF& rect, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const qreal w = std::max<qreal>(1.0, rect.width() / 14.0);
    QPen pen(color, w);
    p.setPen(pen);
    p.setBrush(Qt::NoBrush);
    const QRectF r = rect.adjusted(w / 2, w / 2, -w / 2, -w / 2);
    p.drawEllipse(r);
    // Two meridians and the equator with two parallels
    p.drawEllipse(QRectF(r.center().x() - r.width() * 0.22, r.top(), r.width() * 0.44, r.height()));
    p.drawLine(QPointF(r.left(), r.center().y()), QPointF(r.right(), r.center().y()));
    const qreal dy = r.height() * 0.27;
    const qreal dx = r.width() / 2 * std::sqrt(1 - (2 * dy / r.height()) * (2 * dy / r.height()));
    p.drawLine(QPointF(r.center().x() - dx, r.center().y() - dy),
               QPointF(r.center().x() + dx, r.center().y() - dy));
    p.drawLine(QPointF(r.center().x() - dx, r.center().y() + dy),
               QPointF(r.center().x() + dx, r.center().y() + dy));
    p.restore();
}

}  // namespace skin
