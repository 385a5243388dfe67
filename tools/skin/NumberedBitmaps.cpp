#include "NumberedBitmaps.h"

#include <QFontMetrics>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <algorithm>
#include <functional>

#include "Globe.h"
#include "IconTheme.h"
#include "SkinPaint.h"
#include "SkinStyle.h"

namespace skin {
namespace {

// Main window caption: its height is the frame's caption height; wide enough for any screen
// because the frame copies it unstretched.
constexpr int kCaptionWidth = 3840;
constexpr int kCaptionHeight = 28;
// Caption buttons: 16 px high so that they also fit the image window's plain 18 px caption
// at its 2 px offset.
constexpr QSize kCaptionButton(24, 16);
// Margin the main window keeps around a table; the frame pictures fill it.
constexpr int kTableMargin = 12;
// Corner cell of the tables: header column width by corner row height.
constexpr QSize kCorner(175, 48);
constexpr QSize kCornerButton(28, 28);
constexpr QSize kSortButton(16, 12);
constexpr QSize kMenuButton(14, 14);
constexpr int kHeadButtonHeight = 15;

const QColor kWhite(Qt::white);

// ---------------------------------------------------------------------------------------
// Glyphs drawn by hand where a theme icon would not stay sharp at the size.

void ChevronGlyph(QPainter& p, QPointF centre, qreal size, bool down, const QColor& color,
                  qreal width = 1.6) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    const qreal h = size / 2;
    QPainterPath path;
    if (down) {
        path.moveTo(centre + QPointF(-h, -h / 2));
        path.lineTo(centre + QPointF(0, h / 2));
        path.lineTo(centre + QPointF(h, -h / 2));
    } else {
        path.moveTo(centre + QPointF(-h / 2, -h));
        path.lineTo(centre + QPointF(h / 2, 0));
        path.lineTo(centre + QPointF(-h / 2, h));
    }
    p.drawPath(path);
    p.restore();
}

void TriangleGlyph(QPainter& p, QPointF centre, qreal half, bool up, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(color);
    QPainterPath path;
    const qreal h = half * 0.9;
    if (up) {
        path.moveTo(centre + QPointF(0, -h));
        path.lineTo(centre + QPointF(half, h));
        path.lineTo(centre + QPointF(-half, h));
    } else {
        path.moveTo(centre + QPointF(-half, -h));
        path.lineTo(centre + QPointF(half, -h));
        path.lineTo(centre + QPointF(0, h));
    }
    path.closeSubpath();
    p.drawPath(path);
    p.restore();
}

void TickGlyph(QPainter& p, const QRectF& box, const QColor& color, qreal width = 1.8) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    QPainterPath path;
    path.moveTo(box.left() + box.width() * 0.22, box.top() + box.height() * 0.52);
    path.lineTo(box.left() + box.width() * 0.42, box.top() + box.height() * 0.72);
    path.lineTo(box.left() + box.width() * 0.78, box.top() + box.height() * 0.28);
    p.drawPath(path);
    p.restore();
}

// A page with a folded corner, the leaf of the navigation trees.
void PageGlyph(QPainter& p, const QRect& r, const QColor& color) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(color, 1.0));
    p.setBrush(WithAlpha(color, 40));
    const qreal l = r.left() + 0.5, t = r.top() + 0.5, rr = r.right() + 0.5, b = r.bottom() + 0.5;
    const qreal fold = 3;
    QPainterPath page;
    page.moveTo(l, t);
    page.lineTo(rr - fold, t);
    page.lineTo(rr, t + fold);
    page.lineTo(rr, b);
    page.lineTo(l, b);
    page.closeSubpath();
    p.drawPath(page);
    p.drawLine(QPointF(rr - fold, t), QPointF(rr - fold, t + fold));
    p.drawLine(QPointF(rr - fold, t + fold), QPointF(rr, t + fold));
    // Lines of text
    p.setPen(QPen(WithAlpha(color, 170), 1.0));
    for (qreal y = t + 4; y < b - 1; y += 2) p.drawLine(QPointF(l + 2, y), QPointF(rr - 2, y));
    p.restore();
}

// ---------------------------------------------------------------------------------------
// Main window: caption, caption buttons, background, frame around the table.

QImage Caption() {
    QImage image = Canvas({kCaptionWidth, kCaptionHeight}, kFrame);
    QPainter p(&image);
    const QRect all = image.rect();
    FillGradient(p, all, kCaptionTop, kCaptionBottom);
    HLine(p, 0, all.right(), 0, Mix(kCaptionTop, kEdgeLight, 0.35));
    HLine(p, 0, all.right(), all.bottom(), kEdgeDark);
    Emblem(p, QRectF(9, 6, 16, 16), kOnDark);
    Text(p, QRect(33, 0, 600, kCaptionHeight - 1), Qt::AlignLeft | Qt::AlignVCenter,
         QStringLiteral("Varnholt Kompendor 2004"), UiFont(13, QFont::Bold), kOnDark);
    return image;
}

enum class CaptionGlyph { Minimise, Maximise, Restore, Close, Menu };

QImage CaptionButton(CaptionGlyph glyph, State state) {
    QImage image = TransparentCanvas(kCaptionButton);
    QPainter p(&image);
    const QRect r = image.rect();
    if (glyph == CaptionGlyph::Close && state != State::Normal) {
        // Closing is the one caption action shown in red, and only while aimed at
        const QColor red = state == State::Pressed ? QColor(150, 42, 38) : QColor(196, 62, 56);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        p.setBrush(red);
        p.drawPath(Rounded(r, kSmallRadius));
    } else {
        GhostFace(p, r, state, kSmallRadius);
    }
    const QColor ink = state == State::Normal ? kOnDark : kWhite;
    const int cx = r.width() / 2, cy = r.height() / 2;
    switch (glyph) {
        case CaptionGlyph::Minimise:
            p.fillRect(QRect(cx - 4, cy + 2, 8, 2), ink);
            break;
        case CaptionGlyph::Maximise:
            Frame(p, QRect(cx - 4, cy - 4, 9, 8), ink);
            HLine(p, cx - 4, cx + 4, cy - 3, ink);
            break;
        case CaptionGlyph::Restore:
            // The window behind, then the one in front
            HLine(p, cx - 2, cx + 4, cy - 5, ink);
            HLine(p, cx - 2, cx + 4, cy - 4, ink);
            VLine(p, cx + 4, cy - 5, cy + 1, ink);
            Frame(p, QRect(cx - 5, cy - 2, 7, 7), ink);
            HLine(p, cx - 5, cx + 1, cy - 1, ink);
            break;
        case CaptionGlyph::Close: {
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap));
            const QPointF c(cx, cy);
            p.drawLine(c + QPointF(-3.5, -3.5), c + QPointF(3.5, 3.5));
            p.drawLine(c + QPointF(-3.5, 3.5), c + QPointF(3.5, -3.5));
            break;
        }
        case CaptionGlyph::Menu: {
            // A chevron pointing down: the image window's menu opens below its caption
            p.setRenderHint(QPainter::Antialiasing);
            p.setPen(QPen(ink, 1.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            const QPointF c(cx, cy);
            p.drawPolyline(QPolygonF({c + QPointF(-4, -2), c + QPointF(0, 2), c + QPointF(4, -2)}));
            break;
        }
    }
    return image;
}

GlobeLook LightGlobe() {
    GlobeLook look;
    look.oceanLit = Mix(kBack, kWhite, 0.55);
    look.oceanShade = Mix(kBack, kWhite, 0.12);
    look.landLit = Mix(kFrame, kWhite, 0.25);
    look.landShade = Mix(kFrame, kBack, 0.35);
    look.grid = WithAlpha(kFrame, 40);
    look.glow = WithAlpha(kWhite, 70);
    look.dotStep = 1.8;
    return look;
}

// The picture the main window shows while no table is open, centred on kBack.
QImage Background() {
    QImage image = Canvas({960, 600}, kBack);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    PaintGlobe(p, QPointF(480, 262), 210, 12, 28, LightGlobe());
    Text(p, QRect(0, 500, 960, 44), Qt::AlignHCenter | Qt::AlignVCenter,
         QStringLiteral("Varnholt Kompendor 2004"), TitleFont(28, QFont::Bold),
         Mix(kFrame, kEdgeDark, 0.3));
    HLine(p, 420, 539, 548, WithAlpha(kFrame, 120));
    return image;
}

// The frame pictures around the table: a soft shadow falling on the window's background
// and a fine dark line against the table. Painted once around a small stand-in table and
// cut into corners and edges.
std::map<int, QImage> TableFrame() {
    const int m = kTableMargin, inner = 40, size = 2 * m + inner;
    QImage whole = Canvas({size, size}, kBack);
    {
        QPainter p(&whole);
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(Qt::NoPen);
        // Shadow: stacked rounded rects, fainter outwards, a little lower than the table
        for (int i = 7; i >= 1; --i) {
            p.setBrush(WithAlpha(kEdgeDark, 9));
            p.drawPath(Rounded(QRectF(m - i, m - i + 1.5, inner + 2 * i, inner + 2 * i), i + 1));
        }
        p.setRenderHint(QPainter::Antialiasing, false);
        Frame(p, QRect(m - 1, m - 1, inner + 2, inner + 2), Mix(kEdgeDark, kFrame, 0.35));
        p.fillRect(QRect(m, m, inner, inner), Qt::black);
    }
    const int far = m + inner;
    std::map<int, QImage> out;
    out[151] = whole.copy(0, 0, m, m);                     // top left
    out[154] = whole.copy(far, 0, m, m);                   // top right
    out[150] = whole.copy(0, far, m, m);                   // bottom left
    out[153] = whole.copy(far, far, m, m);                 // bottom right
    out[155] = whole.copy(m + inner / 2 - 8, 0, 16, m);    // top edge, stretched
    out[148] = whole.copy(m + inner / 2 - 8, far, 16, m);  // bottom edge
    out[149] = whole.copy(0, m + inner / 2 - 8, m, 16);    // left edge
    out[152] = whole.copy(far, m + inner / 2 - 8, m, 16);  // right edge
    return out;
}

// ---------------------------------------------------------------------------------------
// Trees: pictograms on the row colours the trees use (alpha, so hot and selected rows
// show through).

QImage TreeChevron(bool expanded, const QColor& ink) {
    QImage image = TransparentCanvas({16, 16});
    QPainter p(&image);
    ChevronGlyph(p, QPointF(8, 8), 8, expanded, ink, 1.7);
    return image;
}

QImage TreeCheck(bool checked, const QColor& border, const QColor& fill, const QColor& checkFill,
                 const QColor& tick) {
    QImage image = TransparentCanvas({16, 16});
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QRectF box(2, 2, 12, 12);
    p.setBrush(checked ? checkFill : border);
    p.drawPath(Rounded(box, 2.5));
    if (!checked) {
        p.setBrush(fill);
        p.drawPath(Rounded(box.adjusted(1, 1, -1, -1), 1.5));
    } else {
        TickGlyph(p, box, tick, 1.9);
    }
    return image;
}

QImage TreeLeaf(const QColor& ink) {
    QImage image = TransparentCanvas({16, 16});
    QPainter p(&image);
    PageGlyph(p, QRect(4, 2, 9, 12), ink);
    return image;
}

// ---------------------------------------------------------------------------------------
// List icons of the search results, by article kind.

QImage ListIcon(const CIconTheme& icons, const QString& name, const QColor& ink) {
    QImage image = TransparentCanvas({16, 16});
    QPainter p(&image);
    if (name == QLatin1String("globe")) {
        Emblem(p, QRectF(1, 1, 14, 14), ink);
    } else if (name == QLatin1String("glossary")) {
        // Entries from A to Z: a card with "A" and a line of text
        p.setRenderHint(QPainter::Antialiasing);
        p.setPen(QPen(ink, 1.0));
        p.setBrush(WithAlpha(ink, 40));
        p.drawRoundedRect(QRectF(1.5, 1.5, 13, 13), 2, 2);
        Text(p, QRect(2, 1, 8, 12), Qt::AlignCenter, QStringLiteral("A"), UiFont(11, QFont::Bold),
             ink);
        p.fillRect(QRect(10, 5, 3, 1), ink);
        p.fillRect(QRect(10, 8, 3, 1), ink);
        p.fillRect(QRect(4, 12, 9, 1), ink);
    } else {
        icons.Draw(p, name, QRect(0, 0, 16, 16), ink);
    }
    return image;
}

// ---------------------------------------------------------------------------------------
// Table cells: corner pictures and the small buttons of the header cells.

enum class CellSurface {
    Country,  // country column head, blue RGB(113,130,170)
    Beige,    // data-field heads, RGB(237,226,191)
    RowBlue,  // country row heads, RGB(131,145,180)
    Strip,    // the sort strip of a data-field head, RGB(232,213,176)
    Corner,   // the corner cells
};

// A small button face of a header cell, drawn on transparency so alternating row colours
// show through its rounded corners.
void CellFace(QPainter& p, const QRect& r, CellSurface surface, State state) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const qreal radius = kSmallRadius;
    struct Look {
        QColor border, fill;
    };
    Look look;
    switch (surface) {
        case CellSurface::Country:
        case CellSurface::RowBlue: {
            const Look looks[] = {{WithAlpha(kWhite, 120), WithAlpha(kWhite, 38)},
                                  {WithAlpha(kWhite, 220), WithAlpha(kWhite, 80)},
                                  {WithAlpha(kEdgeDark, 170), WithAlpha(kEdgeDark, 90)}};
            look = looks[static_cast<int>(state)];
            break;
        }
        case CellSurface::Beige:
        case CellSurface::Strip: {
            const Look looks[] = {{QColor(177, 163, 135), QColor(246, 239, 220)},
                                  {QColor(0, 45, 137), QColor(255, 251, 240)},
                                  {QColor(120, 108, 84), QColor(214, 198, 160)}};
            look = looks[static_cast<int>(state)];
            break;
        }
        case CellSurface::Corner:
            p.restore();
            ButtonFace(p, r, state, radius);
            return;
    }
    p.setBrush(look.border);
    p.drawPath(Rounded(r, radius));
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.setBrush(look.fill);
    p.drawPath(Rounded(QRectF(r).adjusted(1, 1, -1, -1), radius - 1));
    p.restore();
}

QColor CellInk(CellSurface surface, State state) {
    switch (surface) {
        case CellSurface::Country:
        case CellSurface::RowBlue:
            return state == State::Pressed ? QColor(214, 222, 240) : kWhite;
        case CellSurface::Beige:
        case CellSurface::Strip:
            return state == State::Hover ? QColor(0, 45, 137) : QColor(111, 102, 86);
        case CellSurface::Corner:
            return LightInk(state);
    }
    return kInk;
}

using Glyph = std::function<void(QPainter&, const QRect&, const QColor&)>;

// The three pictures (normal, under the mouse, pressed) of one cell button.
std::array<QImage, 3> CellButton(QSize size, CellSurface surface, const Glyph& glyph) {
    std::array<QImage, 3> out;
    const State states[] = {State::Normal, State::Hover, State::Pressed};
    for (int i = 0; i < 3; ++i) {
        QImage image = TransparentCanvas(size);
        QPainter p(&image);
        CellFace(p, image.rect(), surface, states[i]);
        const QRect content
            = states[i] == State::Pressed ? image.rect().translated(1, 1) : image.rect();
        glyph(p, content, CellInk(surface, states[i]));
        out[static_cast<std::size_t>(i)] = image;
    }
    return out;
}

// The picture a sort button shows while its direction is the table's sort.
QImage ActiveSortButton(CellSurface surface, bool ascending) {
    QImage image = TransparentCanvas(kSortButton);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    const QColor fill = surface == CellSurface::Strip ? QColor(0, 45, 137) : kAccent;
    p.setBrush(fill);
    p.drawPath(Rounded(image.rect(), kSmallRadius));
    TriangleGlyph(p, QPointF(8, 6), 3.5, ascending, kWhite);
    return image;
}

Glyph LabelGlyph(const QString& text) {
    return [text](QPainter& p, const QRect& r, const QColor& ink) {
        Text(p, r.adjusted(0, 0, 0, -1), Qt::AlignCenter, text, SmallFont(9, QFont::Bold), ink);
    };
}

Glyph ChevronDown() {
    return [](QPainter& p, const QRect& r, const QColor& ink) {
        ChevronGlyph(p, QRectF(r).center() + QPointF(0, 0.5), 6, true, ink, 1.5);
    };
}

Glyph Sort(bool ascending) {
    return [ascending](QPainter& p, const QRect& r, const QColor& ink) {
        TriangleGlyph(p, QRectF(r).center(), 3.5, ascending, ink);
    };
}

Glyph CountriesGlyph() {
    return [](QPainter& p, const QRect& r, const QColor& ink) {
        Emblem(p, QRectF(r.center().x() - 7, r.center().y() - 7, 15, 15), ink);
    };
}

Glyph DataFieldsGlyph(const CIconTheme& icons) {
    return [&icons](QPainter& p, const QRect& r, const QColor& ink) {
        icons.Draw(p, QStringLiteral("view-list"),
                   QRect(r.left() + (r.width() - 16) / 2, r.top() + (r.height() - 16) / 2, 16, 16),
                   ink);
    };
}

void Put(std::map<int, QImage>& out, std::initializer_list<int> ids,
         const std::array<QImage, 3>& pictures) {
    auto it = ids.begin();
    for (std::size_t i = 0; i < 3 && it != ids.end(); ++i, ++it) out[*it] = pictures[i];
}

// Corner of a table view: the view's name, what its columns hold, and (in the data-column
// view) a strip for the two sort buttons of the country names.
QImage CornerCell(const QString& view, const QString& columns, bool sortStrip) {
    QImage image = Canvas(kCorner, kHeader);
    QPainter p(&image);
    FillGradient(p, image.rect(), Mix(kHeader, kWhite, 0.35), kHeader);
    Text(p, QRect(7, 5, 104, 15), Qt::AlignLeft | Qt::AlignVCenter, view, UiFont(12, QFont::Bold),
         kInk);
    Text(p, QRect(7, 20, 104, 13), Qt::AlignLeft | Qt::AlignVCenter, columns, SmallFont(9),
         Mix(kInk, kHeader, 0.35));
    if (sortStrip) {
        const QRect strip(1, 34, kCorner.width() - 2, 13);
        p.fillRect(strip, Mix(kHeader, kFrame, 0.12));
        HLine(p, strip.left(), strip.right(), strip.top(), Mix(kHeader, kWhite, 0.5));
        Text(p, QRect(40, strip.top(), 120, strip.height()), Qt::AlignLeft | Qt::AlignVCenter,
             QStringLiteral("Länder sortieren"), SmallFont(9), Mix(kInk, kHeader, 0.3));
    }
    // Edges as the header cells draw theirs
    VLine(p, 0, 0, image.height() - 1, kWhite);
    VLine(p, image.width() - 1, 0, image.height() - 1, QColor(191, 191, 191));
    HLine(p, 0, image.width() - 1, image.height() - 1, Mix(kHeader, kEdgeDark, 0.45));
    return image;
}

// ---------------------------------------------------------------------------------------
// The intro picture, shown centred on a black screen.

QImage Intro() {
    QImage image = Canvas(kIntroSize, Qt::black);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    // No visible border: the sky falls off to the black of the screen
    PaintIntroSky(p, image.rect());
    PaintGlobe(p, kIntroGlobeCentre, kIntroGlobeRadius, kIntroLon, kIntroLat, IntroGlobeLook());

    QFont small = UiFont(15, QFont::Bold);
    small.setLetterSpacing(QFont::AbsoluteSpacing, 7);
    Text(p, QRect(0, 446, 800, 22), Qt::AlignHCenter | Qt::AlignVCenter, QStringLiteral("VARNHOLT"),
         small, QColor(150, 180, 230));
    Text(p, QRect(0, 470, 800, 56), Qt::AlignHCenter | Qt::AlignVCenter,
         QStringLiteral("Kompendor 2004"), TitleFont(40, QFont::Bold), QColor(240, 245, 252));
    p.fillRect(QRect(340, 536, 120, 2), kWarm);
    return image;
}

}  // namespace

const std::vector<int>& ProgramBitmapIds() {
    static const std::vector<int> ids = [] {
        std::vector<int> v
            = {133, 134, 135, 136, 137, 138, 139, 140, 141, 142, 143, 144, 145, 146, 148, 149, 150,
               151, 152, 153, 154, 155,
               // trees
               160, 163, 164, 166, 170, 173, 174, 175, 185, 186, 187,
               // search list
               190, 191, 192, 193, 194, 195, 270,
               // table cells
               208, 209, 210, 211, 212, 213, 214, 215, 216, 217, 218, 219, 220, 221, 222, 225, 228,
               229, 230, 231, 232, 233, 234, 235, 236, 237, 238, 239, 240, 241, 242, 243, 244, 245,
               246, 247, 248, 249, 250, 251, 252, 253, 254, 255, 257,
               // image window's menu button
               262, 263, 264,
               // intro
               268};
        std::sort(v.begin(), v.end());
        return v;
    }();
    return ids;
}

std::map<int, QImage> PaintNumberedBitmaps(const CIconTheme& icons) {
    std::map<int, QImage> out;

    // Main window
    out[134] = Caption();
    out[135] = Background();
    out.merge(TableFrame());
    const struct {
        CaptionGlyph glyph;
        int normal, hover, pressed;
    } captionButtons[] = {
        {CaptionGlyph::Minimise, 144, 143, 142}, {CaptionGlyph::Maximise, 141, 140, 139},
        {CaptionGlyph::Restore, 133, 146, 145},  {CaptionGlyph::Close, 138, 137, 136},
        {CaptionGlyph::Menu, 262, 263, 264},
    };
    for (const auto& b : captionButtons) {
        out[b.normal] = CaptionButton(b.glyph, State::Normal);
        out[b.hover] = CaptionButton(b.glyph, State::Hover);
        out[b.pressed] = CaptionButton(b.glyph, State::Pressed);
    }
    out[268] = Intro();

    // Country trees: white text on RGB(94,106,134)
    out[166] = TreeChevron(false, WithAlpha(kWhite, 230));
    out[160] = TreeChevron(true, WithAlpha(kWhite, 230));
    out[163] = TreeCheck(false, WithAlpha(kWhite, 200), WithAlpha(kWhite, 40), kWhite, kWhite);
    out[164] = TreeCheck(true, WithAlpha(kWhite, 200), WithAlpha(kWhite, 40), kWhite, kFrame);
    // Data-field trees: dark text on RGB(214,204,175)
    const QColor beigeInk(92, 82, 62);
    out[175] = TreeChevron(false, beigeInk);
    out[174] = TreeChevron(true, beigeInk);
    out[173] = TreeCheck(false, QColor(140, 124, 96), QColor(252, 249, 240), kAccent, kWhite);
    out[170] = TreeCheck(true, QColor(140, 124, 96), QColor(252, 249, 240), kAccent, kWhite);
    // Navigation and bookmark trees: light text on RGB(123,123,165)
    const QColor navInk(241, 246, 255);
    out[186] = TreeChevron(false, navInk);
    out[187] = TreeChevron(true, navInk);
    out[185] = TreeLeaf(navInk);

    // Search results by article kind, on RGB(86,96,116)
    out[191] = ListIcon(icons, QStringLiteral("globe"), Mix(BookmarkColor(1), kWhite, 0.5));
    out[192]
        = ListIcon(icons, QStringLiteral("avatar-default"), Mix(BookmarkColor(2), kWhite, 0.5));
    out[193]
        = ListIcon(icons, QStringLiteral("network-workgroup"), Mix(BookmarkColor(3), kWhite, 0.45));
    out[194] = ListIcon(icons, QStringLiteral("accessories-dictionary"),
                        Mix(BookmarkColor(5), kWhite, 0.5));
    out[195] = ListIcon(icons, QStringLiteral("glossary"), Mix(BookmarkColor(6), kWhite, 0.5));
    out[190] = ListIcon(icons, QStringLiteral("help-browser"), Mix(BookmarkColor(4), kWhite, 0.5));
    out[270] = ListIcon(icons, QStringLiteral("image-x-generic"), QColor(230, 232, 238));

    // Country column heads: article, map, menu
    Put(out, {228, 233, 232},
        CellButton({64, kHeadButtonHeight}, CellSurface::Country,
                   LabelGlyph(QStringLiteral("Länderinfo"))));
    Put(out, {231, 230, 229},
        CellButton({42, kHeadButtonHeight}, CellSurface::Country,
                   LabelGlyph(QStringLiteral("Karte"))));
    Put(out, {214, 213, 212},
        CellButton({kHeadButtonHeight, kHeadButtonHeight}, CellSurface::Country, ChevronDown()));
    // Menu buttons of the row and column heads
    Put(out, {217, 216, 215}, CellButton(kMenuButton, CellSurface::Beige, ChevronDown()));
    Put(out, {211, 210, 209}, CellButton(kMenuButton, CellSurface::RowBlue, ChevronDown()));
    // Sort buttons of the data-field heads
    Put(out, {246, 245, 244}, CellButton(kSortButton, CellSurface::Strip, Sort(true)));
    Put(out, {254, 253, 252}, CellButton(kSortButton, CellSurface::Strip, Sort(false)));
    out[243] = ActiveSortButton(CellSurface::Strip, true);
    out[251] = ActiveSortButton(CellSurface::Strip, false);

    // Corners: selection buttons (countries, data fields) and the country sort buttons
    out[240]
        = CornerCell(QStringLiteral("Länderdaten"), QStringLiteral("Länder in Spalten"), false);
    out[241]
        = CornerCell(QStringLiteral("Ländervergleich"), QStringLiteral("Daten in Spalten"), true);
    Put(out, {219, 218, 225},
        CellButton(kCornerButton, CellSurface::Corner, DataFieldsGlyph(icons)));
    Put(out, {234, 239, 238}, CellButton(kCornerButton, CellSurface::Corner, CountriesGlyph()));
    Put(out, {237, 236, 235}, CellButton(kCornerButton, CellSurface::Corner, CountriesGlyph()));
    Put(out, {222, 221, 220},
        CellButton(kCornerButton, CellSurface::Corner, DataFieldsGlyph(icons)));
    Put(out, {250, 249, 248}, CellButton(kSortButton, CellSurface::Corner, Sort(true)));
    Put(out, {208, 242, 257}, CellButton(kSortButton, CellSurface::Corner, Sort(false)));
    out[247] = ActiveSortButton(CellSurface::Corner, true);
    out[255] = ActiveSortButton(CellSurface::Corner, false);
    return out;
}

QImage PaintBookmarkPicture(int kind) {
    // A colour chip with a white ribbon; 24-bit, so the chip fills the whole picture.
    const QColor color = BookmarkColor(kind);
    QImage image = Canvas({15, 15}, color);
    QPainter p(&image);
    Frame(p, image.rect(), color.darker(135));
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(Qt::white);
    QPainterPath ribbon;
    ribbon.moveTo(4.5, 3);
    ribbon.lineTo(10.5, 3);
    ribbon.lineTo(10.5, 12);
    ribbon.lineTo(7.5, 9.5);
    ribbon.lineTo(4.5, 12);
    ribbon.closeSubpath();
    p.drawPath(ribbon);
    return image;
}

}  // namespace skin
