#pragma once
// Drawing primitives shared by every picture of the skin: surfaces, button faces in their
// states, wells, pictograms with labels, crisp text.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QPainterPath>
#include <QRect>
#include <QString>

#include "SkinStyle.h"

class QPainter;
class CIconTheme;

namespace skin {

// The states a skinned button is painted in.
enum class State { Normal, Hover, Pressed, Disabled };

// A new 24-bit-ready canvas (opaque, filled) or a transparent one for the numbered bitmaps.
QImage Canvas(QSize size, const QColor& fill);
QImage TransparentCanvas(QSize size);

// A vertical gradient over rect, top colour to bottom colour.
void FillGradient(QPainter& p, const QRect& rect, const QColor& top, const QColor& bottom);

// One-pixel lines on whole pixels.
void HLine(QPainter& p, int x1, int x2, int y, const QColor& color);
void VLine(QPainter& p, int x, int y1, int y2, const QColor& color);
// A one-pixel frame on the rect's outermost pixels.
void Frame(QPainter& p, const QRect& rect, const QColor& color);

// Rounded rectangle on pixel edges (rect given in whole pixels).
QPainterPath Rounded(const QRectF& rect, qreal radius);

// The dark blue surface of captions and bars: gradient, a light line on top, a dark line
// below.
void DarkSurface(QPainter& p, const QRect& rect, const QColor& top, const QColor& bottom);

// Face of a push button on a light surface.
void ButtonFace(QPainter& p, const QRect& rect, State state, qreal radius = kRadius);
// Face of a button on a dark surface: translucent, so the surface shows through.
void GhostFace(QPainter& p, const QRect& rect, State state, qreal radius = kRadius);
// The recessed frame around a plain control (edit field, tree, list, page) at rect.
void Well(QPainter& p, const QRect& controlRect, const QColor& inside);

// Ink of a label or pictogram on a light button, and on a dark one, for the state.
QColor LightInk(State state);
QColor DarkInk(State state);

// Draws a pictogram and a label, side by side (or the one alone), centred in rect; pressed
// buttons shift their content one pixel down and right. Unknown icons fall back to the
// label. Returns false when the icon was asked for and is missing.
bool Content(QPainter& p, const CIconTheme& icons, const QRect& rect, const QString& icon,
             const QString& label, const QFont& font, const QColor& ink, State state,
             int iconSize = 16);
// The same with the pictogram above the label.
bool StackedContent(QPainter& p, const CIconTheme& icons, const QRect& rect, const QString& icon,
                    const QString& label, const QFont& font, const QColor& ink, State state,
                    int iconSize);

// The font, made smaller a pixel at a time (down to 9 px) until text fits into width.
QFont FitFont(QFont font, const QString& text, int width);

// Text on one line, clipped to rect, on whole pixels.
void Text(QPainter& p, const QRect& rect, int flags, const QString& text, const QFont& font,
          const QColor& color);

// The product's emblem: a small globe with meridians and parallels, in color.
void Emblem(QPainter& p, const QRectF& rect, const QColor& color);

}  // namespace skin
