#include "Globe.h"

#include <QPainter>
#include <QPainterPath>
#include <QRadialGradient>
#include <cmath>
#include <vector>

#include "SkinStyle.h"

namespace skin {
namespace {

#include "LandOutline.inc"

struct Ring {
    std::vector<QPointF> points;  // longitude, latitude
    double minX, maxX, minY, maxY;
};

const std::vector<Ring>& LandRings() {
    static const std::vector<Ring> rings = [] {
        std::vector<Ring> out;
        Ring ring{{}, 1e9, -1e9, 1e9, -1e9};
        const std::size_t count = sizeof(kLandOutline) / sizeof(kLandOutline[0]);
        for (std::size_t i = 0; i + 1 < count; i += 2) {
            const double x = kLandOutline[i], y = kLandOutline[i + 1];
            if (std::isnan(x)) {
                out.push_back(std::move(ring));
                ring = Ring{{}, 1e9, -1e9, 1e9, -1e9};
                continue;
            }
            ring.points.emplace_back(x, y);
            ring.minX = std::min(ring.minX, x);
            ring.maxX = std::max(ring.maxX, x);
            ring.minY = std::min(ring.minY, y);
            ring.maxY = std::max(ring.maxY, y);
        }
        return out;
    }();
    return rings;
}

// Even-odd test over all land rings.
bool OnLand(double lon, double lat) {
    bool inside = false;
    for (const Ring& ring : LandRings()) {
        if (lon < ring.minX || lon > ring.maxX || lat < ring.minY || lat > ring.maxY) continue;
        const auto& pts = ring.points;
        for (std::size_t i = 0, j = pts.size() - 1; i < pts.size(); j = i++) {
            if ((pts[i].y() > lat) != (pts[j].y() > lat)
                && lon < (pts[j].x() - pts[i].x()) * (lat - pts[i].y()) / (pts[j].y() - pts[i].y())
                             + pts[i].x())
                inside = !inside;
        }
    }
    return inside;
}

constexpr double kDeg = M_PI / 180.0;

struct Projection {
    double lon0, sinLat0, cosLat0;

    // Position on the unit disc and the cosine of the angle from the centre of view
    // (positive on the visible side).
    bool Project(double lon, double lat, double& x, double& y, double& depth) const {
        const double phi = lat * kDeg, dl = (lon - lon0) * kDeg;
        depth = sinLat0 * std::sin(phi) + cosLat0 * std::cos(phi) * std::cos(dl);
        x = std::cos(phi) * std::sin(dl);
        y = cosLat0 * std::sin(phi) - sinLat0 * std::cos(phi) * std::cos(dl);
        return depth > 0;
    }
};

}  // namespace

void PaintGlobe(QPainter& p, QPointF centre, qreal radius, double lon0, double lat0,
                const GlobeLook& look) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);

    if (look.glow.alpha() > 0) {
        QRadialGradient halo(centre, radius * 1.18);
        halo.setColorAt(0.80, WithAlpha(look.glow, 0));
        halo.setColorAt(0.85, look.glow);
        halo.setColorAt(1.0, WithAlpha(look.glow, 0));
        p.setBrush(halo);
        p.drawEllipse(centre, radius * 1.18, radius * 1.18);
    }

    // The sea: lit from the upper left, darker towards the rim
    QRadialGradient sea(centre, radius, centre + QPointF(-radius * 0.35, -radius * 0.4));
    sea.setColorAt(0, look.oceanLit);
    sea.setColorAt(1, look.oceanShade);
    p.setBrush(sea);
    p.drawEllipse(centre, radius, radius);

    const Projection proj{lon0, std::sin(lat0 * kDeg), std::cos(lat0 * kDeg)};

    // Meridians every 30 degrees, parallels every 30 degrees
    if (look.grid.alpha() > 0) {
        p.setBrush(Qt::NoBrush);
        p.setPen(QPen(look.grid, std::max(0.8, radius / 260.0)));
        const auto trace = [&](auto point, int steps) {
            QPainterPath path;
            bool open = false;
            for (int i = 0; i <= steps; ++i) {
                const auto [lon, lat] = point(i);
                double x, y, depth;
                if (proj.Project(lon, lat, x, y, depth)) {
                    const QPointF s(centre.x() + x * radius, centre.y() - y * radius);
                    open ? path.lineTo(s) : path.moveTo(s);
                    open = true;
                } else {
                    open = false;
                }
            }
            p.drawPath(path);
        };
        for (int lon = -180; lon < 180; lon += 30)
            trace([lon](int i) { return std::pair<double, double>(lon, -90.0 + i); }, 180);
        for (int lat = -60; lat <= 60; lat += 30)
            trace([lat](int i) { return std::pair<double, double>(-180.0 + i, lat); }, 360);
        p.setPen(Qt::NoPen);
    }

    // Land as dots, evenly spaced on the sphere
    const double step = look.dotStep;
    const qreal dotRadius = radius * step * kDeg * 0.36;
    for (double lat = -88 + step / 2; lat < 88; lat += step) {
        const double lonStep = step / std::max(0.05, std::cos(lat * kDeg));
        for (double lon = -180 + lonStep / 2; lon < 180; lon += lonStep) {
            double x, y, depth;
            if (!proj.Project(lon, lat, x, y, depth) || depth < 0.06) continue;
            if (!OnLand(lon, lat)) continue;
            // Light from the upper left and front
            const double light = std::clamp(0.45 * depth + 0.35 * (-x) + 0.45 * y + 0.25, 0.0, 1.0);
            QColor c = Mix(look.landShade, look.landLit, light);
            // Towards the rim the dots crowd together; let them fade and shrink there
            const double rim = std::clamp((depth - 0.08) / 0.55, 0.0, 1.0);
            c.setAlphaF(c.alphaF() * (0.15 + 0.85 * rim * rim * (3 - 2 * rim)));
            p.setBrush(c);
            const qreal r = dotRadius * (0.3 + 0.7 * depth);
            p.drawEllipse(QPointF(centre.x() + x * radius, centre.y() - y * radius), r, r);
        }
    }

    // A thin light rim on the lit side
    QPen rim(WithAlpha(look.landLit, 90), std::max(1.0, radius / 160.0));
    p.setPen(rim);
    p.setBrush(Qt::NoBrush);
    p.drawArc(QRectF(centre.x() - radius, centre.y() - radius, 2 * radius, 2 * radius), 60 * 16,
              120 * 16);
    p.restore();
}

GlobeLook IntroGlobeLook() {
    GlobeLook look;
    look.oceanLit = QColor(40, 76, 140);
    look.oceanShade = QColor(10, 20, 44);
    look.landLit = QColor(190, 214, 250);
    look.landShade = QColor(60, 100, 170);
    look.grid = QColor(120, 160, 230, 45);
    look.glow = QColor(110, 150, 230, 70);
    look.dotStep = 2.0;
    return look;
}

void PaintIntroSky(QPainter& p, const QRect& rect) {
    QRadialGradient sky(QPointF(0.5, 0.5), 0.5, QPointF(0.5, 0.4));
    sky.setCoordinateMode(QGradient::ObjectBoundingMode);
    sky.setColorAt(0, QColor(34, 58, 104));
    sky.setColorAt(0.5, QColor(14, 24, 46));
    sky.setColorAt(0.97, Qt::black);
    p.fillRect(rect, sky);
}

}  // namespace skin
