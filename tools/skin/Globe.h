#pragma once
// The dotted globe of the intro picture, the main window's background and the emblem: land
// as a field of dots on an orthographic sphere, lit from the upper left.

#include <QColor>
#include <QPointF>

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

}  // namespace skin
