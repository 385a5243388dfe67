#pragma once
// The skin's palette and metrics: every picture the painter makes takes its colours, radii
// and fonts from here, so the windows, buttons, cells and frame read as one product.

#include <QColor>
#include <QFont>

namespace skin {

// Colours the program itself draws with; the skin is built around them.
inline const QColor kFrame(51, 86, 153);        // frame fill, captions
inline const QColor kEdgeLight(145, 164, 200);  // light edge of the frame
inline const QColor kEdgeDark(22, 37, 65);      // dark edge of the frame
inline const QColor kBack(173, 186, 206);       // main window and dialog body
inline const QColor kBodyTop(186, 198, 216);    // top of a dialog's body, fading to kBack
inline const QColor kCell(187, 198, 214);       // grid cells
inline const QColor kHeader(173, 186, 206);     // grid headers
inline const QColor kMenu(112, 112, 112);       // flat menu background
inline const QColor kMenuHighlight(79, 89, 119);

// Text on light surfaces, its hover accent and its disabled form (the templates' static
// texts use the same three).
inline const QColor kInk(30, 42, 68);
inline const QColor kAccent(51, 86, 153);
inline const QColor kMuted(135, 144, 163);
// Text and pictograms on the dark blue surfaces.
inline const QColor kOnDark(238, 242, 249);
inline const QColor kOnDarkMuted(150, 170, 205);
// The warm accent the grid uses for its selected cell; used sparingly for "in use".
inline const QColor kWarm(255, 138, 14);

// Dark surfaces: captions, command bar, table bar.
inline const QColor kCaptionTop(60, 98, 170);
inline const QColor kCaptionBottom(43, 74, 135);
inline const QColor kBarTop(70, 106, 174);
inline const QColor kBarBottom(45, 76, 138);

// Push buttons on light surfaces, per state: face top, face bottom, border.
inline const QColor kButtonTop(246, 248, 252);
inline const QColor kButtonBottom(219, 226, 238);
inline const QColor kButtonBorder(108, 126, 162);
inline const QColor kButtonHoverTop(255, 255, 255);
inline const QColor kButtonHoverBottom(229, 236, 248);
inline const QColor kButtonPressedTop(187, 200, 222);
inline const QColor kButtonPressedBottom(205, 215, 232);
inline const QColor kButtonDisabled(196, 205, 220);
inline const QColor kButtonDisabledBorder(152, 164, 187);

// Wells around edit fields, trees, lists and page areas: the edge above and left is the
// shadow, below and right the light.
inline const QColor kWellShadow(96, 113, 148);
inline const QColor kWellLight(214, 222, 235);

// The six bookmark kinds: the pictures BM1..BM6, the type buttons and the page markup
// (class Bookmark1..6) share these.
QColor BookmarkColor(int kind);

// Corner radius of buttons, of small buttons (cells, caption) and of wells.
inline constexpr qreal kRadius = 4.0;
inline constexpr qreal kSmallRadius = 3.0;

// Fonts at pixel sizes (96 dpi): Liberation Sans stands for Arial, DejaVu Sans for the
// small fonts. Full hinting keeps stems on whole pixels.
QFont UiFont(int pixelSize, QFont::Weight weight = QFont::Normal);
QFont SmallFont(int pixelSize, QFont::Weight weight = QFont::Normal);
QFont TitleFont(int pixelSize, QFont::Weight weight = QFont::Bold);

// Colour a of weight 1-t mixed with b of weight t.
QColor Mix(const QColor& a, const QColor& b, qreal t);
// The colour with the given alpha (0..255).
QColor WithAlpha(QColor color, int alpha);

}  // namespace skin
