// The renderer object and its window.
#include "vmap/VMap.h"

#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QWheelEvent>
#include <QWidget>
#include <memory>

#include "vmap/VMapScene.h"

VMapNotifyable::~VMapNotifyable() = default;
CVMap::~CVMap() = default;

namespace vmap {

namespace {

class CVMapImpl;

// The renderer's child window: shows the rendered view (drawn again only when the view, the
// colours or the size change) and the outline of the country under the pointer.
class CVMapWnd : public QWidget {
public:
    CVMapWnd(CVMapImpl* owner, QWidget* parent);
    void Invalidate() {
        m_dirty = true;
        update();
    }

protected:
    void paintEvent(QPaintEvent*) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void wheelEvent(QWheelEvent* e) override;
    void leaveEvent(QEvent*) override;
    void keyPressEvent(QKeyEvent* e) override;

private:
    void Hover(const QPointF& pos);

    CVMapImpl* m_owner;
    QImage m_frame;
    bool m_dirty = true;
    bool m_dragging = false;
    QPointF m_dragFrom;
    int m_wheelRest = 0;
};

class CVMapImpl final : public CVMap {
public:
    ~CVMapImpl() override { delete m_wnd; }

    int Version() const override { return 1; }
    bool Init() override { return true; }
    bool Create(int x, int y, int width, int height, const char*, const char* mapDir,
                QWidget* parent) override {
        const bool loaded = Open(mapDir);
        delete m_wnd;
        m_wnd = new CVMapWnd(this, parent);
        m_wnd->setGeometry(x, y, width, height);
        m_scene.SetSize(QSize(width, height));
        m_wnd->show();
        return loaded;
    }
    bool Open(const char* mapDir) override {
        if (m_scene.IsLoaded()) return true;
        return m_scene.Load(std::string(mapDir ? mapDir : "") + "Laender.vmp");
    }
    QWidget* GetWindow() override { return m_wnd; }
    void SetNotify(VMapNotifyable* notify) override { m_notify = notify; }
    void SetView(double lon, double lat, int zoom) override {
        m_scene.SetView(lon, lat, zoom);
        Changed();
    }
    void GetView(double* lon, double* lat) override {
        double a = 0, b = 0;
        m_scene.GetView(a, b);
        if (lon) *lon = a;
        if (lat) *lat = b;
    }
    void Render(QImage* image) override {
        if (image && !image->isNull()) m_scene.Render(*image);
    }
    int HitTest(int x, int y) override { return m_scene.HitTest(QPointF(x + 0.5, y + 0.5)); }
    void ShowCountry(int mapId, int) override {
        double lon = 0, lat = 0;
        if (!m_scene.CountryCentre(mapId, lon, lat)) return;
        m_scene.SetView(lon, lat, m_scene.Zoom());
        Changed();
    }
    void SetColors(const std::uint32_t* colors) override {
        if (!colors) return;
        m_scene.SetColors(colors);
        Changed();
    }

    CMapScene& Scene() { return m_scene; }
    void Notify(std::intptr_t value, int code) {
        if (m_notify) m_notify->Notify(value, code);
    }
    // The pointer's country; code 1 only when it changes.
    void SetHover(int mapId) {
        if (mapId == m_hover) return;
        m_hover = mapId;
        if (m_wnd) m_wnd->update();
        Notify(mapId, 1);
    }
    int Hover() const { return m_hover; }
    void Changed() {
        if (m_wnd) m_wnd->Invalidate();
    }

private:
    CMapScene m_scene;
    CVMapWnd* m_wnd = nullptr;
    VMapNotifyable* m_notify = nullptr;
    int m_hover = kNoCountry;
};

CVMapWnd::CVMapWnd(CVMapImpl* owner, QWidget* parent) : QWidget(parent), m_owner(owner) {
    setObjectName(QStringLiteral("VMap"));
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::CrossCursor);
}

void CVMapWnd::paintEvent(QPaintEvent*) {
    const qreal dpr = devicePixelRatioF();
    const QSize pixels = size() * dpr;
    if (m_dirty || m_frame.size() != pixels) {
        m_owner->Scene().SetSize(size());
        QImage frame(size(), QImage::Format_ARGB32_Premultiplied);
        m_owner->Scene().Render(frame);
        m_frame = frame;
        m_dirty = false;
    }
    QPainter painter(this);
    painter.drawImage(0, 0, m_frame);
    if (m_owner->Hover() != kNoCountry) m_owner->Scene().PaintHighlight(painter, m_owner->Hover());
}

void CVMapWnd::Hover(const QPointF& pos) { m_owner->SetHover(m_owner->Scene().HitTest(pos)); }

void CVMapWnd::mouseMoveEvent(QMouseEvent* e) {
    if (m_dragging) {
        const QPointF delta = e->position() - m_dragFrom;
        m_dragFrom = e->position();
        m_owner->Scene().PanPixels(delta);
        Invalidate();
    }
    Hover(e->position());
}

void CVMapWnd::mousePressEvent(QMouseEvent* e) {
    setFocus();
    if (e->button() == Qt::LeftButton) {
        m_dragging = true;
        m_dragFrom = e->position();
        setCursor(Qt::ClosedHandCursor);
    }
}

void CVMapWnd::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && m_dragging) {
        m_dragging = false;
        setCursor(Qt::CrossCursor);
    }
}

void CVMapWnd::mouseDoubleClickEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const int id = m_owner->Scene().HitTest(e->position());
    if (id != kNoCountry) m_owner->Notify(id, 4);
}

void CVMapWnd::wheelEvent(QWheelEvent* e) {
    // One notch (120) is one zoom level, around the point under the pointer.
    m_wheelRest += e->angleDelta().y();
    int steps = m_wheelRest / 120;
    if (steps == 0) return;
    m_wheelRest -= steps * 120;
    CMapScene& scene = m_owner->Scene();
    const int zoom = std::clamp(scene.Zoom() + steps, kMinZoom, kMaxZoom);
    if (zoom == scene.Zoom()) return;
    scene.ZoomAt(zoom, e->position());
    Invalidate();
    m_owner->Notify(zoom, 2);
    Hover(e->position());
}

void CVMapWnd::leaveEvent(QEvent*) {
    if (!m_dragging) m_owner->SetHover(kNoCountry);
}

void CVMapWnd::keyPressEvent(QKeyEvent* e) {
    CMapScene& scene = m_owner->Scene();
    const double step = std::min(width(), height()) / 8.0;
    switch (e->key()) {
        case Qt::Key_Left: scene.PanPixels({step, 0}); break;
        case Qt::Key_Right: scene.PanPixels({-step, 0}); break;
        case Qt::Key_Up: scene.PanPixels({0, step}); break;
        case Qt::Key_Down: scene.PanPixels({0, -step}); break;
        case Qt::Key_Plus:
        case Qt::Key_Minus: {
            const int zoom = std::clamp(scene.Zoom() + (e->key() == Qt::Key_Plus ? 1 : -1),
                                        kMinZoom, kMaxZoom);
            if (zoom == scene.Zoom()) return;
            scene.ZoomAt(zoom, QPointF(width() / 2.0, height() / 2.0));
            m_owner->Notify(zoom, 2);
            break;
        }
        default: QWidget::keyPressEvent(e); return;
    }
    Invalidate();
}

}  // namespace

}  // namespace vmap

extern "C" {
CVMap* CreateVMap() { return new vmap::CVMapImpl(); }
void DestroyVMap(CVMap* map) { delete static_cast<vmap::CVMapImpl*>(map); }
}
