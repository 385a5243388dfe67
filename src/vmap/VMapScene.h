#pragma once
// The renderer's picture of the world: the outlines projected once into Equal Earth, kept as
// painter paths (the full outline for hit testing and one simplified outline per zoom level
// for drawing), a grid index for hit testing, and the view (centre, zoom level, size).

#include <QImage>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QSize>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vmap {

inline constexpr int kMinZoom = 1;
inline constexpr int kMaxZoom = 5;
inline constexpr int kNoCountry = 255;

// Equal Earth on the unit sphere; y grows to the north. Degrees in, projected units out.
QPointF Project(double lon, double lat);
// The inverse; longitude and latitude in degrees.
void Unproject(const QPointF& p, double& lon, double& lat);
// Half the width and half the height of the projected world.
double WorldHalfWidth();
double WorldHalfHeight();

struct CShapeRing {
    bool hole = false;
    std::vector<QPointF> points;  // projected
    QRectF box;
};

struct CShape {
    int mapId = 0;
    std::vector<CShapeRing> rings;
    QRectF bounds;      // projected, of all rings
    QRectF mainBounds;  // of the largest outer ring
    QPainterPath full;  // y flipped (screen orientation), all rings
    std::array<QPainterPath, kMaxZoom + 1> level;  // simplified per zoom level
};

// Reads a Laender.vmp file; false for a missing or damaged one (shapes stays empty).
bool ReadOutlineFile(const std::string& path, std::vector<CShape>& shapes);

class CMapScene {
public:
    bool Load(const std::string& path);
    bool IsLoaded() const { return !m_shapes.empty(); }
    const std::vector<CShape>& Shapes() const { return m_shapes; }

    // The view.
    void SetSize(const QSize& size);
    QSize Size() const { return m_size; }
    void SetView(double lon, double lat, int zoom);
    void GetView(double& lon, double& lat) const;
    int Zoom() const { return m_zoom; }
    // Moves the centre by a distance in pixels (dragging).
    void PanPixels(const QPointF& delta);
    // Changes the zoom level keeping the point at pixel anchor where it is.
    void ZoomAt(int zoom, const QPointF& anchor);
    // Centre of the country's largest part; false for an unknown MapID.
    bool CountryCentre(int mapId, double& lon, double& lat) const;

    // Pixels per projected unit at the current zoom level.
    double Scale() const;
    QPointF ToScreen(const QPointF& projected) const;
    QPointF FromScreen(const QPointF& screen) const;

    void SetColors(const std::uint32_t* colors);
    std::uint32_t Color(int mapId) const { return m_colors[mapId & 0xFF]; }

    // Draws the view into image (its size stands for the view's size).
    void Render(QImage& image);
    // The outline of one country drawn over a rendered view (the pointer's country).
    void PaintHighlight(class QPainter& painter, int mapId) const;

    // The MapID at a pixel, 255 for none. A small state counts as hit within a few pixels of
    // its centre, so it can be found at every zoom level.
    int HitTest(const QPointF& screen) const;

    // Distance in pixels within which a small state counts as hit.
    static constexpr double kMinHitRadius = 6.0;
    // A state smaller than this many pixels is drawn as a dot as well.
    static constexpr double kSmallState = 6.0;

private:
    void BuildLevels();
    void BuildIndex();
    double BaseScale() const;
    void ClampCentre();
    double ExtentPixels(const CShape& shape) const;

    std::vector<CShape> m_shapes;
    std::array<std::uint32_t, 256> m_colors{};
    QSize m_size{782, 390};
    QPointF m_centre{0, 0};  // projected
    int m_zoom = kMinZoom;
    double m_levelBase = 0;  // base scale the levels were simplified for

    // Grid index over the projected world: the shapes whose bounds meet each cell.
    static constexpr int kGridX = 96, kGridY = 48;
    std::vector<std::vector<int>> m_cells;
    QPainterPath m_sphere;  // the world's outline
    QPainterPath m_graticule;
};

}  // namespace vmap
