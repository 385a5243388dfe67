#pragma once
// The dotted globe of the intro picture, the main window's background and the emblem: land
// as a field of dots on an orthographic sphere, lit from the upper left.

#include <QColor>
#include <QPointF>
#include <QRect>

class QPainter;

namespace skin {

struct GlobeLook {
    QColor oceanLit;      // the sphere where the light falls
    QColor oceanShade;    // the sphere at its far edge
    QColor landLit;       // dots facing the light
    QColor landShade;     // dots turned away
    QColor grid;          // meridians and parallels (with alpha)
    QColor glow;          // halo around the rim (with alpha; transparent for none)
    qreal dotStep = 2.0;  // degrees between dots
};

// Paints the globe centred at centre, seen from longitude lon0, latitude lat0 (degrees).
void PaintGlobe(QPainter& p, QPointF centre, qreal radius, double lon0, double lat0,
                const GlobeLook& look);

// The intro picture (bitmap 268) and the intro film, whose globe turns into the picture's
// place: the picture's size, the globe's position, size and view, its look and the sky
// behind it.
inline constexpr QSize kIntroSize(800, 600);
inline constexpr QPointF kIntroGlobeCentre(400, 236);
inline constexpr qreal kIntroGlobeRadius = 178;
inline constexpr double kIntroLon = 14, kIntroLat = 24;
GlobeLook IntroGlobeLook();
// Deep blue light from behind the globe, falling off to black by every edge of rect.
void PaintIntroSky(QPainter& p, const QRect& rect);

}  // namespace skin
