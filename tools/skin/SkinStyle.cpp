#include "SkinStyle.h"

#include <array>

namespace skin {

QColor BookmarkColor(int kind) {
    // Muted, clearly distinct hues that stay readable behind dark text
    static const std::array<QColor, 6> kinds = {
        QColor(74, 128, 206),  // blue
        QColor(76, 160, 96),   // green
        QColor(226, 160, 40),  // amber
        QColor(206, 84, 74),   // red
        QColor(142, 98, 186),  // violet
        QColor(46, 160, 168),  // teal
    };
    return kinds[static_cast<std::size_t>(std::clamp(kind, 1, 6) - 1)];
}

namespace {

QFont MakeFont(const char* family, int pixelSize, QFont::Weight weight) {
    QFont font(QString::fromLatin1(family));
    font.setPixelSize(pixelSize);
    font.setWeight(weight);
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

}  // namespace

QFont UiFont(int pixelSize, QFont::Weight weight) {
    return MakeFont("Liberation Sans", pixelSize, weight);
}

QFont SmallFont(int pixelSize, QFont::Weight weight) {
    return MakeFont("DejaVu Sans", pixelSize, weight);
}

QFont TitleFont(int pixelSize, QFont::Weight weight) {
    return MakeFont("DejaVu Sans", pixelSize, weight);
}

QColor Mix(const QColor& a, const QColor& b, qreal t) {
    const auto channel = [t](int x, int y) { return qRound(x + (y - x) * t); };
    return QColor(channel(a.red(), b.red()), channel(a.green(), b.green()),
                  channel(a.blue(), b.blue()), channel(a.alpha(), b.alpha()));
}

QColor WithAlpha(QColor color, int alpha) {
    color.setAlpha(alpha);
    return color;
}

}  // namespace skin
