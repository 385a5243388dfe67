#include "vmap/VMapScene.h"

#include <QFile>
#include <QPainter>
#include <QtEndian>
#include <algorithm>
#include <cmath>
#include <cstring>

namespace vmap {

namespace {

constexpr double kA1 = 1.340264, kA2 = -0.081106, kA3 = 0.000893, kA4 = 0.003796;
const double kM = std::sqrt(3.0) / 2.0;
constexpr double kDegree = M_PI / 180.0;

// Margin around the world at zoom level 1, as a share of its size.
constexpr double kWorldMargin = 1.03;

QColor Rgb(std::uint32_t c) { return QColor((c >> 16) & 0xFF, (c >> 8) & 0xFF, c & 0xFF); }

QColor Mix(const QColor& a, const QColor& b, double t) {
    return QColor(int(a.red() + (b.red() - a.red()) * t), int(a.green() + (b.green() - a.green()) * t),
                  int(a.blue() + (b.blue() - a.blue()) * t));
}

double SegmentDistance(const QPointF& p, const QPointF& a, const QPointF& b) {
    const double dx = b.x() - a.x(), dy = b.y() - a.y();
    const double len = dx * dx + dy * dy;
    double t = len > 0 ? ((p.x() - a.x()) * dx + (p.y() - a.y()) * dy) / len : 0;
    t = std::clamp(t, 0.0, 1.0);
    const double ex = a.x() + t * dx - p.x(), ey = a.y() + t * dy - p.y();
    return std::sqrt(ex * ex + ey * ey);
}

// Douglas-Peucker over points[first..last], marking the points to keep.
void Simplify(const std::vector<QPointF>& points, std::size_t first, std::size_t last,
              double tolerance, std::vector<char>& keep) {
    std::vector<std::pair<std::size_t, std::size_t>> stack{{first, last}};
    while (!stack.empty()) {
        auto [a, b] = stack.back();
        stack.pop_back();
        double worst = 0;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const double d = SegmentDistance(points[i], points[a], points[b]);
            if (d > worst) {
                worst = d;
                at = i;
            }
        }
        if (worst > tolerance) {
            keep[at] = 1;
            stack.push_back({a, at});
            stack.push_back({at, b});
        }
    }
}

void AddRing(QPainterPath& path, const std::vector<QPointF>& points) {
    if (points.size() < 3) return;
    path.moveTo(points[0].x(), -points[0].y());
    for (std::size_t i = 1; i < points.size(); ++i) path.lineTo(points[i].x(), -points[i].y());
    path.closeSubpath();
}

std::vector<QPointF> SimplifiedRing(const std::vector<QPointF>& ring, double tolerance) {
    const std::size_t n = ring.size();
    if (n < 4) return ring;
    // Split the ring at its first point and the point farthest from it.
    std::size_t far = 0;
    double worst = -1;
    for (std::size_t i = 1; i < n; ++i) {
        const double d = std::hypot(ring[i].x() - ring[0].x(), ring[i].y() - ring[0].y());
        if (d > worst) {
            worst = d;
            far = i;
        }
    }
    std::vector<QPointF> closed(ring);
    closed.push_back(ring[0]);
    std::vector<char> keep(closed.size(), 0);
    keep[0] = keep[far] = keep[closed.size() - 1] = 1;
    Simplify(closed, 0, far, tolerance, keep);
    Simplify(closed, far, closed.size() - 1, tolerance, keep);
    std::vector<QPointF> out;
    for (std::size_t i = 0; i + 1 < closed.size(); ++i)
        if (keep[i]) out.push_back(closed[i]);
    return out;
}

template <class T>
T Read(const char* p) {
    T value;
    std::memcpy(&value, p, sizeof value);
    return qFromLittleEndian(value);
}

}  // namespace

QPointF Project(double lon, double lat) {
    const double lambda = lon * kDegree;
    const double theta = std::asin(kM * std::sin(lat * kDegree));
    const double t2 = theta * theta, t6 = t2 * t2 * t2;
    const double x = 2 * std::sqrt(3.0) * lambda * std::cos(theta)
                     / (3 * (9 * kA4 * t6 * t2 + 7 * kA3 * t6 + 3 * kA2 * t2 + kA1));
    const double y = theta * (kA1 + kA2 * t2 + t6 * (kA3 + kA4 * t2));
    return {x, y};
}

void Unproject(const QPointF& p, double& lon, double& lat) {
    double theta = p.y() / kA1;
    for (int i = 0; i < 12; ++i) {
        const double t2 = theta * theta, t6 = t2 * t2 * t2;
        const double f = theta * (kA1 + kA2 * t2 + t6 * (kA3 + kA4 * t2)) - p.y();
        const double df = kA1 + 3 * kA2 * t2 + t6 * (7 * kA3 + 9 * kA4 * t2);
        const double d = f / df;
        theta -= d;
        if (std::fabs(d) < 1e-12) break;
    }
    const double t2 = theta * theta, t6 = t2 * t2 * t2;
    const double df = kA1 + 3 * kA2 * t2 + t6 * (7 * kA3 + 9 * kA4 * t2);
    lon = 3 * p.x() * df / (2 * std::sqrt(3.0) * std::cos(theta)) / kDegree;
    lat = std::asin(std::clamp(std::sin(theta) / kM, -1.0, 1.0)) / kDegree;
}

double WorldHalfWidth() { return Project(180, 0).x(); }
double WorldHalfHeight() { return Project(0, 90).y(); }

bool ReadOutlineFile(const std::string& path, std::vector<CShape>& shapes) {
    shapes.clear();
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly)) return false;
    const QByteArray bytes = file.readAll();
    if (bytes.size() < 20 || std::memcmp(bytes.constData(), "KVMP", 4) != 0) return false;
    const char* p = bytes.constData();
    const std::uint32_t version = Read<std::uint32_t>(p + 4);
    const std::uint64_t s = Read<std::uint32_t>(p + 8), r = Read<std::uint32_t>(p + 12),
                        n = Read<std::uint32_t>(p + 16);
    if (version != 1 || 20 + 28 * s + 12 * r + 8 * n != std::uint64_t(bytes.size())) return false;
    const char* shapeTable = p + 20;
    const char* ringTable = shapeTable + 28 * s;
    const char* pointTable = ringTable + 12 * r;
    std::vector<CShape> read(s);
    for (std::uint64_t i = 0; i < s; ++i) {
        const char* e = shapeTable + 28 * i;
        CShape& shape = read[i];
        shape.mapId = int(Read<std::uint32_t>(e));
        const std::uint64_t firstRing = Read<std::uint32_t>(e + 20), rings = Read<std::uint32_t>(e + 24);
        if (shape.mapId < 1 || shape.mapId > 254 || firstRing + rings > r) return false;
        double mainArea = -1;
        for (std::uint64_t k = firstRing; k < firstRing + rings; ++k) {
            const char* re = ringTable + 12 * k;
            const std::uint64_t first = Read<std::uint32_t>(re), count = Read<std::uint32_t>(re + 4);
            if (first + count > n) return false;
            CShapeRing ring;
            ring.hole = Read<std::uint32_t>(re + 8) != 0;
            ring.points.reserve(count);
            for (std::uint64_t j = first; j < first + count; ++j) {
                const char* pe = pointTable + 8 * j;
                ring.points.push_back(Project(Read<float>(pe), Read<float>(pe + 4)));
            }
            if (ring.points.size() < 3) continue;
            double minX = ring.points[0].x(), maxX = minX, minY = ring.points[0].y(), maxY = minY;
            double area = 0;
            for (std::size_t j = 0; j < ring.points.size(); ++j) {
                const QPointF& a = ring.points[j];
                const QPointF& b = ring.points[(j + 1) % ring.points.size()];
                area += a.x() * b.y() - b.x() * a.y();
                minX = std::min(minX, a.x());
                maxX = std::max(maxX, a.x());
                minY = std::min(minY, a.y());
                maxY = std::max(maxY, a.y());
            }
            const QRectF box(QPointF(minX, minY), QPointF(maxX, maxY));
            ring.box = box;
            shape.bounds = shape.bounds.isNull() ? box : shape.bounds.united(box);
            if (!ring.hole && std::fabs(area) > mainArea) {
                mainArea = std::fabs(area);
                shape.mainBounds = box;
            }
            AddRing(shape.full, ring.points);
            shape.rings.push_back(std::move(ring));
        }
    }
    shapes = std::move(read);
    return true;
}

bool CMapScene::Load(const std::string& path) {
    if (!ReadOutlineFile(path, m_shapes)) return false;
    m_levelBase = 0;
    BuildLevels();
    BuildIndex();
    return true;
}

void CMapScene::BuildLevels() {
    m_levelBase = BaseScale();
    for (CShape& shape : m_shapes) {
        for (int z = kMinZoom; z <= kMaxZoom; ++z) {
            // Outlines kept to within 0.6 pixels at that level (antialiasing hides the rest);
            // rings smaller than a pixel are left out.
            const double pixel = 1.0 / (m_levelBase * double(1 << (z - 1)));
            QPainterPath path;
            for (const CShapeRing& ring : shape.rings) {
                // A small state keeps its largest ring whatever its size (its dot marks it).
                const QRectF& box = ring.box;
                const bool main = !ring.hole && box == shape.mainBounds;
                if (!main && std::max(box.width(), box.height()) < pixel) continue;
                AddRing(path, SimplifiedRing(ring.points, pixel * 0.6));
            }
            shape.level[z] = path;
        }
    }
    // The world's outline (the meridians ±180) and a graticule every 30 degrees.
    m_sphere = QPainterPath();
    std::vector<QPointF> edge;
    for (int lat = -90; lat <= 90; ++lat) edge.push_back(Project(180, lat));
    for (int lat = 90; lat >= -90; --lat) edge.push_back(Project(-180, lat));
    AddRing(m_sphere, edge);
    m_graticule = QPainterPath();
    for (int lon = -150; lon <= 150; lon += 30) {
        QPointF a = Project(lon, -90);
        m_graticule.moveTo(a.x(), -a.y());
        for (int lat = -88; lat <= 90; lat += 2) {
            const QPointF q = Project(lon, lat);
            m_graticule.lineTo(q.x(), -q.y());
        }
    }
    for (int lat = -60; lat <= 60; lat += 30) {
        QPointF a = Project(-180, lat);
        m_graticule.moveTo(a.x(), -a.y());
        for (int lon = -176; lon <= 180; lon += 4) {
            const QPointF q = Project(lon, lat);
            m_graticule.lineTo(q.x(), -q.y());
        }
    }
}

void CMapScene::BuildIndex() {
    m_cells.assign(kGridX * kGridY, {});
    const double w = WorldHalfWidth(), h = WorldHalfHeight();
    auto cellX = [&](double x) { return std::clamp(int((x + w) / (2 * w) * kGridX), 0, kGridX - 1); };
    auto cellY = [&](double y) { return std::clamp(int((y + h) / (2 * h) * kGridY), 0, kGridY - 1); };
    for (int i = 0; i < int(m_shapes.size()); ++i) {
        const QRectF& b = m_shapes[i].bounds;
        // The bounds grow by the minimum hit radius at level 1, so small states are in
        // every cell where they can be hit.
        const double pad = kMinHitRadius / BaseScale();
        for (int cy = cellY(b.top() - pad); cy <= cellY(b.bottom() + pad); ++cy)
            for (int cx = cellX(b.left() - pad); cx <= cellX(b.right() + pad); ++cx)
                m_cells[cy * kGridX + cx].push_back(i);
    }
}

double CMapScene::BaseScale() const {
    const double sx = m_size.width() / (2 * WorldHalfWidth() * kWorldMargin);
    const double sy = m_size.height() / (2 * WorldHalfHeight() * kWorldMargin);
    return std::max(1e-6, std::min(sx, sy));
}

double CMapScene::Scale() const { return BaseScale() * double(1 << (m_zoom - 1)); }

void CMapScene::SetSize(const QSize& size) {
    if (size.isEmpty() || size == m_size) return;
    m_size = size;
    // Outlines simplified for a very different size would look coarse or waste time.
    const double base = BaseScale();
    if (IsLoaded() && (base > m_levelBase * 1.3 || base < m_levelBase / 1.3)) {
        BuildLevels();
        BuildIndex();
    }
}

void CMapScene::ClampCentre() {
    // In degrees: the world is narrower towards the poles.
    double lon = 0, lat = 0;
    const double south = Project(0, -90).y(), north = Project(0, 90).y();
    m_centre.setY(std::clamp(m_centre.y(), south, north));
    Unproject(m_centre, lon, lat);
    if (lon < -180 || lon > 180) m_centre.setX(Project(std::clamp(lon, -180.0, 180.0), lat).x());
}

void CMapScene::SetView(double lon, double lat, int zoom) {
    m_zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const double la = std::clamp(lat, -90.0, 90.0);
    // The centre's x runs to the edge of the world at its latitude; the widest is at 0.
    const double x = Project(std::clamp(lon, -180.0, 180.0), la).x();
    m_centre = QPointF(x, Project(0, la).y());
    ClampCentre();
}

void CMapScene::GetView(double& lon, double& lat) const { Unproject(m_centre, lon, lat); }

void CMapScene::PanPixels(const QPointF& delta) {
    const double s = Scale();
    m_centre -= QPointF(delta.x() / s, -delta.y() / s);
    ClampCentre();
}

void CMapScene::ZoomAt(int zoom, const QPointF& anchor) {
    zoom = std::clamp(zoom, kMinZoom, kMaxZoom);
    const QPointF fixed = FromScreen(anchor);
    m_zoom = zoom;
    const QPointF moved = FromScreen(anchor);
    m_centre += fixed - moved;
    ClampCentre();
}

bool CMapScene::CountryCentre(int mapId, double& lon, double& lat) const {
    for (const CShape& shape : m_shapes) {
        if (shape.mapId != mapId) continue;
        Unproject(shape.mainBounds.center(), lon, lat);
        return true;
    }
    return false;
}

QPointF CMapScene::ToScreen(const QPointF& p) const {
    const double s = Scale();
    return {(p.x() - m_centre.x()) * s + m_size.width() / 2.0,
            m_size.height() / 2.0 - (p.y() - m_centre.y()) * s};
}

QPointF CMapScene::FromScreen(const QPointF& q) const {
    const double s = Scale();
    return {(q.x() - m_size.width() / 2.0) / s + m_centre.x(),
            (m_size.height() / 2.0 - q.y()) / s + m_centre.y()};
}

void CMapScene::SetColors(const std::uint32_t* colors) {
    std::copy(colors, colors + 256, m_colors.begin());
}

double CMapScene::ExtentPixels(const CShape& shape) const {
    return std::max(shape.mainBounds.width(), shape.mainBounds.height()) * Scale();
}

void CMapScene::Render(QImage& image) {
    SetSize(image.size());
    const QColor sea = Rgb(m_colors[kNoCountry]);
    // Around the world a paler tone of the sea, so the globe's edge reads.
    image.fill(Mix(sea, Qt::white, 0.6));
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    const double s = Scale();
    const QTransform transform(s, 0, 0, s, m_size.width() / 2.0 - m_centre.x() * s,
                               m_size.height() / 2.0 + m_centre.y() * s);
    painter.setTransform(transform);
    painter.setPen(Qt::NoPen);
    painter.setBrush(sea);
    painter.drawPath(m_sphere);
    QPen grid(QColor(255, 255, 255, 90), 0.7);
    grid.setCosmetic(true);
    painter.setPen(grid);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(m_graticule);

    const QRectF visible = transform.inverted().mapRect(QRectF(image.rect()));
    const int z = m_zoom;
    QPen border(QColor(45, 45, 50, 120), z >= 4 ? 0.8 : 0.55);
    border.setCosmetic(true);
    border.setJoinStyle(Qt::RoundJoin);
    // Fills without antialiasing, then the borders antialiased over their edges: the borders
    // hide the fills' steps, and no light seams open between neighbours.
    std::vector<const CShape*> visibleShapes, dots;
    for (const CShape& shape : m_shapes) {
        const QRectF box(shape.bounds.left(), -shape.bounds.bottom(), shape.bounds.width(),
                         shape.bounds.height());
        if (box.intersects(visible)) visibleShapes.push_back(&shape);
    }
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(Qt::NoPen);
    for (const CShape* shape : visibleShapes) {
        painter.setBrush(Rgb(m_colors[shape->mapId & 0xFF]));
        painter.drawPath(shape->level[z]);
        if (ExtentPixels(*shape) < kSmallState) dots.push_back(shape);
    }
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(border);
    painter.setBrush(Qt::NoBrush);
    for (const CShape* shape : visibleShapes) painter.drawPath(shape->level[z]);
    // Small states as dots in their colour, so they can be seen and pointed at.
    painter.resetTransform();
    QPen ring(QColor(45, 45, 50, 170), 0.8);
    painter.setPen(ring);
    for (const CShape* shape : dots) {
        painter.setBrush(Rgb(m_colors[shape->mapId & 0xFF]));
        painter.drawEllipse(ToScreen(shape->mainBounds.center()), 2.6, 2.6);
    }
    painter.setTransform(transform);
    QPen outline(QColor(60, 70, 90, 110), 1.0);
    outline.setCosmetic(true);
    painter.setPen(outline);
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(m_sphere);
}

void CMapScene::PaintHighlight(QPainter& painter, int mapId) const {
    for (const CShape& shape : m_shapes) {
        if (shape.mapId != mapId) continue;
        const double s = Scale();
        painter.save();
        painter.setRenderHint(QPainter::Antialiasing);
        painter.setTransform(QTransform(s, 0, 0, s, m_size.width() / 2.0 - m_centre.x() * s,
                                        m_size.height() / 2.0 + m_centre.y() * s));
        QPen pen(QColor(255, 255, 255, 230), 2.0);
        pen.setCosmetic(true);
        pen.setJoinStyle(Qt::RoundJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawPath(shape.level[m_zoom]);
        QPen inner(QColor(20, 20, 30, 200), 0.8);
        inner.setCosmetic(true);
        painter.setPen(inner);
        painter.drawPath(shape.level[m_zoom]);
        painter.resetTransform();
        if (ExtentPixels(shape) < kSmallState) {
            painter.setPen(QPen(QColor(20, 20, 30), 1.5));
            painter.drawEllipse(ToScreen(shape.mainBounds.center()), 4.5, 4.5);
        }
        painter.restore();
        return;
    }
}

int CMapScene::HitTest(const QPointF& screen) const {
    if (m_cells.empty()) return kNoCountry;
    const QPointF p = FromScreen(screen);
    const double w = WorldHalfWidth(), h = WorldHalfHeight();
    const int cx = int(std::floor((p.x() + w) / (2 * w) * kGridX));
    const int cy = int(std::floor((p.y() + h) / (2 * h) * kGridY));
    if (cx < 0 || cy < 0 || cx >= kGridX || cy >= kGridY) return kNoCountry;
    const std::vector<int>& candidates = m_cells[cy * kGridX + cx];
    // Small states first: within their minimum hit radius they win over the neighbour
    // whose outline surrounds them.
    const double s = Scale();
    int best = -1;
    double bestDistance = kMinHitRadius;
    for (int i : candidates) {
        const CShape& shape = m_shapes[i];
        if (ExtentPixels(shape) >= 2 * kMinHitRadius) continue;
        const QPointF c = shape.mainBounds.center();
        const double d = std::hypot(c.x() - p.x(), c.y() - p.y()) * s;
        if (d <= bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    if (best >= 0) return m_shapes[best].mapId;
    const QPointF flipped(p.x(), -p.y());
    for (int i : candidates) {
        const CShape& shape = m_shapes[i];
        if (!shape.bounds.contains(p)) continue;
        if (shape.full.contains(flipped)) return shape.mapId;
    }
    return kNoCountry;
}

}  // namespace vmap
