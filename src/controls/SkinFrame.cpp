#include "controls/SkinFrame.h"

#include <QChildEvent>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QWindow>
#include <QWindowStateChangeEvent>

#include "controls/BitmapResource.h"

namespace {

// Size of the corner squares that resize in two directions at once.
constexpr int kCornerSize = 16;

// A rectangle given by its edges, right and bottom exclusive.
QRect Edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

// One-pixel 3-D rectangle: top and left in topLeft, right and bottom in bottomRight.
void Draw3dRect(QPainter& painter, const QRect& r, const QColor& topLeft,
                const QColor& bottomRight) {
    if (r.width() <= 0 || r.height() <= 0) return;
    painter.fillRect(QRect(r.x(), r.y(), r.width() - 1, 1), topLeft);
    painter.fillRect(QRect(r.x(), r.y(), 1, r.height() - 1), topLeft);
    painter.fillRect(QRect(r.x() + r.width() - 1, r.y(), 1, r.height()), bottomRight);
    painter.fillRect(QRect(r.x(), r.y() + r.height() - 1, r.width(), 1), bottomRight);
}

bool IsSizing(CSkinFrame::Hit hit) {
    return hit != CSkinFrame::Hit::Nowhere && hit != CSkinFrame::Hit::Client
           && hit != CSkinFrame::Hit::Caption;
}

Qt::Edges EdgesOf(CSkinFrame::Hit hit) {
    using Hit = CSkinFrame::Hit;
    switch (hit) {
        case Hit::Left:
            return Qt::LeftEdge;
        case Hit::Right:
            return Qt::RightEdge;
        case Hit::Top:
            return Qt::TopEdge;
        case Hit::Bottom:
            return Qt::BottomEdge;
        case Hit::TopLeft:
            return Qt::TopEdge | Qt::LeftEdge;
        case Hit::TopRight:
            return Qt::TopEdge | Qt::RightEdge;
        case Hit::BottomLeft:
            return Qt::BottomEdge | Qt::LeftEdge;
        case Hit::BottomRight:
            return Qt::BottomEdge | Qt::RightEdge;
        default:
            return {};
    }
}

}  // namespace

CSkinFrame::CSkinFrame(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::FramelessWindowHint),
      // Until configured, the frame wears the program's own blue, as the main window does.
      m_light(QColor(145, 164, 200)),
      m_dark(QColor(22, 37, 65)),
      m_border(QColor(51, 86, 153)),
      m_activeCaption(QColor(51, 86, 153)),
      m_inactiveCaption(QColor(51, 86, 153)) {
    setMouseTracking(true);
    setMinimumSize(m_minTrackSize);
    RecalcLayout();
}

void CSkinFrame::SetFrameColors(const QColor& light, const QColor& dark, const QColor& border,
                                const QColor& activeCaption, const QColor& inactiveCaption) {
    m_light = light;
    m_dark = dark;
    m_border = border;
    m_activeCaption = activeCaption;
    m_inactiveCaption = inactiveCaption;
    update();
}

void CSkinFrame::SetCaptionBitmaps(const QPixmap& main, const QPixmap& rightEnd) {
    m_captionBitmap = main;
    m_captionRightBitmap = rightEnd;
    if (!main.isNull()) m_captionHeight = main.height();
    RecalcLayout();
    update();
}

void CSkinFrame::SetCaptionBitmap(int resourceId) {
    SetCaptionBitmaps(LoadBitmapResource(resourceId));
}

void CSkinFrame::SetCaptionButtonBitmaps(const std::array<int, 12>& resourceIds, int gap) {
    for (int set = 0; set < 4; ++set) {
        for (int state = 0; state < 3; ++state) {
            const int id = resourceIds[set * 3 + state];
            m_buttonBitmaps[set][state] = id > 0 ? LoadBitmapResource(id) : QPixmap();
        }
    }
    m_buttonGap = gap;
    RecalcLayout();
    update();
}

void CSkinFrame::SetCaptionButtonBitmaps(CaptionBitmaps set, const QPixmap& normal,
                                         const QPixmap& hover, const QPixmap& pressed) {
    m_buttonBitmaps[set] = {normal, hover, pressed};
    RecalcLayout();
    update();
}

void CSkinFrame::SetCaptionButtonGap(int gap) {
    m_buttonGap = gap;
    RecalcLayout();
    update();
}

void CSkinFrame::SetCaptionButtonOffsets(int right, int top) {
    m_buttonOffsetRight = right;
    m_buttonOffsetTop = top;
    RecalcLayout();
    update();
}

void CSkinFrame::SetBorderWidth(int width) {
    m_borderWidth = qMax(0, width);
    RecalcLayout();
    update();
}

void CSkinFrame::SetCaptionHeight(int height) {
    m_captionHeight = qMax(0, height);
    RecalcLayout();
    update();
}

void CSkinFrame::SetInnerMargin(int margin) {
    m_innerMargin = qMax(0, margin);
    RecalcLayout();
    update();
}

void CSkinFrame::SetMinTrackSize(const QSize& size) {
    m_minTrackSize = size;
    setMinimumSize(size);
}

void CSkinFrame::SetMaximizedSize(const QSize& size) {
    m_maximizedSize = size;
    if (m_maximized) setGeometry(MaximizedGeometry());
}

QRect CSkinFrame::ClientRect() const {
    const int b = m_borderWidth;
    int inset = 0;
    if (b > 3)
        inset = b + m_innerMargin;
    else if (b == 1)
        inset = 1;
    QRect r = rect().adjusted(inset, inset, -inset, -inset);
    r.setTop(r.top() + m_captionHeight);
    return r;
}

CSkinFrame::Layout CSkinFrame::ComputeLayout(const QSize& size, int b, int m, int c) {
    const int w = size.width();
    const int h = size.height();
    Layout l;
    l.client = Edges(b + m, b + m + c, w - b - m, h - b - m);
    if (b < 3) {
        l.caption = Edges(1, 1, w - 1, c);
        return l;
    }
    l.caption = Edges(b, b, w - b, b + c);
    l.top = Edges(kCornerSize, 0, w - kCornerSize, b);
    l.bottom = Edges(kCornerSize, h - b, w - kCornerSize, h);
    l.left = Edges(0, kCornerSize, b, h - kCornerSize);
    l.right = Edges(w - b, kCornerSize, w, h - kCornerSize);
    l.topLeft = Edges(0, 0, kCornerSize, kCornerSize);
    l.topRight = Edges(w - kCornerSize, 0, w, kCornerSize);
    l.bottomLeft = Edges(0, h - kCornerSize, kCornerSize, h);
    l.bottomRight = Edges(w - kCornerSize, h - kCornerSize, w, h);
    return l;
}

const CSkinFrame::Layout& CSkinFrame::FrameLayout() const {
    if (m_layoutSize != size()) RecalcLayout();
    return m_layout;
}

QRect CSkinFrame::CaptionButtonRect(CaptionButton button) const {
    if (m_layoutSize != size()) RecalcLayout();
    return m_buttonRects[button];
}

void CSkinFrame::RecalcLayout() const {
    m_layoutSize = size();
    m_layout = ComputeLayout(size(), m_borderWidth, m_innerMargin, m_captionHeight);
    // The buttons line up from the right: close, then maximise or restore, then minimise,
    // each the gap to the left of the previous one. A button without pictures takes no room.
    int right = m_layout.caption.x() + m_layout.caption.width() + m_buttonOffsetRight;
    const int top = m_layout.caption.y() + m_buttonOffsetTop;
    for (CaptionButton button : {kCloseButton, kMaximizeButton, kMinimizeButton}) {
        const QPixmap* bitmap = ButtonBitmap(button, kButtonNormal);
        if (!bitmap || m_captionHeight <= 0) {
            m_buttonRects[button] = QRect();
            continue;
        }
        m_buttonRects[button] = QRect(QPoint(right - bitmap->width(), top), bitmap->size());
        right -= bitmap->width() + m_buttonGap;
    }
}

const QPixmap* CSkinFrame::ButtonBitmap(CaptionButton button, ButtonState state) const {
    int set = kCloseBitmaps;
    if (button == kMinimizeButton)
        set = kMinimizeBitmaps;
    else if (button == kMaximizeButton)
        set = m_maximized ? kRestoreBitmaps : kMaximizeBitmaps;
    const auto& bitmaps = m_buttonBitmaps[set];
    if (bitmaps[kButtonNormal].isNull()) return nullptr;
    // A state without its own picture shows the normal one.
    return bitmaps[state].isNull() ? &bitmaps[kButtonNormal] : &bitmaps[state];
}

QRect CSkinFrame::MaximizedGeometry() const {
    const QScreen* s = screen();
    const QRect work = s ? s->availableGeometry() : QRect(0, 0, 1024, 768);
    if (m_maximizedSize.isEmpty()) {
        // The border lies outside the work area, so a maximised window shows none.
        const int b = m_borderWidth;
        return QRect(work.x() - b, work.y() - b, work.width() + 2 * b + 1,
                     work.height() + 2 * b + 1);
    }
    const QSize sz = m_maximizedSize.boundedTo(work.size());
    return QRect(work.x() + (work.width() - sz.width()) / 2,
                 work.y() + (work.height() - sz.height()) / 2, sz.width(), sz.height());
}

void CSkinFrame::ShowMaximized() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    if (!m_maximized) m_restoreGeometry = geometry();
    m_maximized = true;
    setGeometry(MaximizedGeometry());
    RecalcLayout();
    show();
    update();
}

void CSkinFrame::ShowRestored() {
    if (isMinimized()) setWindowState(windowState() & ~Qt::WindowMinimized);
    if (m_maximized) {
        m_maximized = false;
        if (m_restoreGeometry.isValid()) setGeometry(m_restoreGeometry);
    }
    RecalcLayout();
    show();
    update();
}

CSkinFrame::Hit CSkinFrame::HitTest(const QPoint& pos) {
    if (m_layoutSize != size()) RecalcLayout();
    for (CaptionButton button : {kMinimizeButton, kMaximizeButton, kCloseButton}) {
        if (m_buttonRects[button].contains(pos) && m_buttonStates[button] == kButtonNormal) {
            m_buttonStates[button] = kButtonHover;
            update(m_layout.caption);
            m_buttonTimer.start(1, Qt::PreciseTimer, this);
            return Hit::Caption;
        }
    }

    if (!m_layout.caption.contains(pos)) {
        Hit hit = Hit::Nowhere;
        if (m_layout.top.contains(pos))
            hit = Hit::Top;
        else if (m_layout.bottom.contains(pos))
            hit = Hit::Bottom;
        else if (m_layout.left.contains(pos))
            hit = Hit::Left;
        else if (m_layout.right.contains(pos))
            hit = Hit::Right;
        else if (m_layout.topLeft.contains(pos))
            hit = Hit::TopLeft;
        else if (m_layout.topRight.contains(pos))
            hit = Hit::TopRight;
        else if (m_layout.bottomLeft.contains(pos))
            hit = Hit::BottomLeft;
        else if (m_layout.bottomRight.contains(pos))
            hit = Hit::BottomRight;
        // A maximised window cannot be resized through its frame.
        if (IsSizing(hit)) return m_maximized ? Hit::Nowhere : hit;
        if (m_layout.client.contains(pos)) return Hit::Client;
        return Hit::Nowhere;
    }

    if (!isActiveWindow()) {
        raise();
        activateWindow();
    }
    for (const QRect& r : m_buttonRects) {
        if (r.contains(pos)) return Hit::Caption;
    }
    // Nor can it be dragged by its caption.
    return m_maximized ? Hit::Nowhere : Hit::Caption;
}

bool CSkinFrame::event(QEvent* e) {
    if (e->type() == QEvent::ChildAdded) {
        // A child without a cursor of its own would inherit a sizing cursor left on the
        // frame when the mouse slips from the border straight onto it.
        auto* child = static_cast<QChildEvent*>(e)->child();
        if (child->isWidgetType()) child->installEventFilter(this);
    } else if (e->type() == QEvent::ChildRemoved) {
        static_cast<QChildEvent*>(e)->child()->removeEventFilter(this);
    } else if (e->type() == QEvent::WindowTitleChange) {
        update(m_layout.caption);
    }
    return QWidget::event(e);
}

bool CSkinFrame::eventFilter(QObject* watched, QEvent* e) {
    if (e->type() == QEvent::Enter && m_sizingCursor && m_drag == Drag::None) {
        unsetCursor();
        m_sizingCursor = false;
    }
    return QWidget::eventFilter(watched, e);
}

void CSkinFrame::changeEvent(QEvent* e) {
    if (e->type() == QEvent::ActivationChange) {
        m_active = isActiveWindow();
        RecalcLayout();
        update();
    } else if (e->type() == QEvent::WindowStateChange) {
        // A maximise asked of the window manager (a keyboard shortcut, say) becomes the
        // frame's own, with the border outside the work area.
        if (windowState() & Qt::WindowMaximized) {
            setWindowState(windowState() & ~Qt::WindowMaximized);
            ShowMaximized();
        }
    }
    QWidget::changeEvent(e);
}

void CSkinFrame::resizeEvent(QResizeEvent* e) {
    RecalcLayout();
    QWidget::resizeEvent(e);
}

void CSkinFrame::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintFrame(painter);
}

void CSkinFrame::PaintFrame(QPainter& painter) {
    if (m_layoutSize != size()) RecalcLayout();
    if (m_borderWidth > 0) PaintBorder(painter);
    if (m_captionHeight > 0) PaintCaption(painter);
}

void CSkinFrame::PaintBorder(QPainter& painter) {
    const int b = m_borderWidth;
    const QRect all = rect();
    if (b < 4) {
        const QRect& cap = m_layout.caption;
        Draw3dRect(painter, QRect(cap.x() - 1, cap.y() - 1, cap.width() + 2, m_captionHeight + 1),
                   m_light, m_dark);
        Draw3dRect(painter, all, m_light, m_dark);
        return;
    }
    Draw3dRect(painter, all, m_border, Qt::black);
    if (m_innerMargin > 0)
        Draw3dRect(painter, m_layout.client.adjusted(-1, -1, 1, 1), Qt::black, m_border);
    // A sunken line along the inner edge, a raised one along the outer edge, filled between.
    Draw3dRect(painter, all.adjusted(b - 1, b - 1, -(b - 1), -(b - 1)), m_dark, m_light);
    Draw3dRect(painter, all.adjusted(1, 1, -1, -1), m_light, m_dark);
    const int w = all.width();
    const int h = all.height();
    const int band = b - 3;
    if (band > 0) {
        painter.fillRect(QRect(2, 2, w - 4, band), m_border);
        painter.fillRect(QRect(2, h - 2 - band, w - 4, band), m_border);
        painter.fillRect(QRect(2, 2, band, h - 4), m_border);
        painter.fillRect(QRect(w - 2 - band, 2, band, h - 4), m_border);
    }
}

void CSkinFrame::PaintCaption(QPainter& painter) {
    const QRect& cap = m_layout.caption;
    painter.save();
    painter.setClipRect(cap);
    painter.fillRect(cap, m_active ? m_activeCaption : m_inactiveCaption);
    if (!m_captionBitmap.isNull()) {
        if (!m_captionRightBitmap.isNull()) {
            const int rightWidth = m_captionRightBitmap.width();
            painter.drawPixmap(
                QRect(cap.x(), cap.y(), cap.width() - rightWidth, m_captionBitmap.height()),
                m_captionBitmap);
            painter.drawPixmap(cap.x() + cap.width() - rightWidth, cap.y(), m_captionRightBitmap);
        } else {
            painter.drawPixmap(cap.topLeft(), m_captionBitmap);
        }
    } else {
        QFont font(QStringLiteral("MS Sans Serif"));
        font.setPointSize(8);
        font.setBold(true);
        painter.setFont(font);
        painter.setPen(m_active ? QColor(159, 235, 255) : QColor(91, 170, 187));
        painter.drawText(cap.adjusted(2, 0, 0, 0),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, windowTitle());
    }
    painter.restore();

    for (CaptionButton button : {kCloseButton, kMaximizeButton, kMinimizeButton}) {
        if (const QPixmap* bitmap = ButtonBitmap(button, m_buttonStates[button]))
            painter.drawPixmap(m_buttonRects[button].topLeft(), *bitmap);
    }
}

void CSkinFrame::UpdateCursor(Hit hit) {
    Qt::CursorShape shape = Qt::ArrowCursor;
    switch (hit) {
        case Hit::Left:
        case Hit::Right:
            shape = Qt::SizeHorCursor;
            break;
        case Hit::Top:
        case Hit::Bottom:
            shape = Qt::SizeVerCursor;
            break;
        case Hit::TopLeft:
        case Hit::BottomRight:
            shape = Qt::SizeFDiagCursor;
            break;
        case Hit::TopRight:
        case Hit::BottomLeft:
            shape = Qt::SizeBDiagCursor;
            break;
        default:
            if (m_sizingCursor) unsetCursor();
            m_sizingCursor = false;
            return;
    }
    setCursor(shape);
    m_sizingCursor = true;
}

void CSkinFrame::BeginDrag(Hit hit, const QPointF& globalPos) {
    QWindow* window = windowHandle();
    if (hit == Hit::Caption) {
        if (window && window->startSystemMove()) return;
        m_drag = Drag::Move;
    } else {
        if (window && window->startSystemResize(EdgesOf(hit))) return;
        m_drag = Drag::Resize;
        m_dragEdges = EdgesOf(hit);
    }
    m_dragStart = globalPos;
    m_dragGeometry = geometry();
}

void CSkinFrame::mouseMoveEvent(QMouseEvent* e) {
    if (m_drag != Drag::None) {
        const QPoint delta = (e->globalPosition() - m_dragStart).toPoint();
        if (m_drag == Drag::Move) {
            move(m_dragGeometry.topLeft() + delta);
            return;
        }
        QRect g = m_dragGeometry;
        const QSize min = minimumSize();
        if (m_dragEdges & Qt::LeftEdge)
            g.setLeft(qMin(g.left() + delta.x(), g.right() - min.width() + 1));
        if (m_dragEdges & Qt::RightEdge) g.setRight(g.right() + delta.x());
        if (m_dragEdges & Qt::TopEdge)
            g.setTop(qMin(g.top() + delta.y(), g.bottom() - min.height() + 1));
        if (m_dragEdges & Qt::BottomEdge) g.setBottom(g.bottom() + delta.y());
        setGeometry(g);
        return;
    }
    UpdateCursor(HitTest(e->position().toPoint()));
}

void CSkinFrame::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const Hit hit = HitTest(e->position().toPoint());
    if (hit == Hit::Caption) {
        raise();
        activateWindow();
        bool pressed = false;
        for (ButtonState& state : m_buttonStates) {
            if (state == kButtonHover) {
                state = kButtonPressed;
                pressed = true;
            }
        }
        if (pressed) {
            update(m_layout.caption);
            return;
        }
        BeginDrag(hit, e->globalPosition());
    } else if (IsSizing(hit)) {
        BeginDrag(hit, e->globalPosition());
    }
}

void CSkinFrame::mouseReleaseEvent(QMouseEvent* e) {
    if (m_drag != Drag::None) {
        m_drag = Drag::None;
        return;
    }
    if (e->button() != Qt::LeftButton) return;
    // The pressed button acts on a release anywhere over the caption, not only over itself.
    if (!m_layout.caption.contains(e->position().toPoint())) return;
    m_buttonTimer.stop();
    int pressed = -1;
    for (int button = 0; button < 3; ++button) {
        if (m_buttonStates[button] == kButtonPressed) {
            m_buttonStates[button] = kButtonNormal;
            pressed = button;
        }
    }
    update(m_layout.caption);
    switch (pressed) {
        case kMinimizeButton:
            showMinimized();
            break;
        case kMaximizeButton:
            if (m_maximized)
                ShowRestored();
            else
                ShowMaximized();
            break;
        case kCloseButton:
            close();
            break;
        default:
            break;
    }
}

void CSkinFrame::mouseDoubleClickEvent(QMouseEvent* e) {
    // As on the platform's own caption: a double click on a free part maximises.
    if (e->button() != Qt::LeftButton) return;
    const QPoint pos = e->position().toPoint();
    if (HitTest(pos) != Hit::Caption) return;
    for (const QRect& r : m_buttonRects) {
        if (r.contains(pos)) return;
    }
    ShowMaximized();
}

void CSkinFrame::timerEvent(QTimerEvent* e) {
    if (e->timerId() != m_buttonTimer.timerId()) {
        QWidget::timerEvent(e);
        return;
    }
    const QPoint pos = mapFromGlobal(QCursor::pos());
    bool changed = false;
    bool active = false;
    for (int button = 0; button < 3; ++button) {
        if (m_buttonStates[button] != kButtonNormal && !m_buttonRects[button].contains(pos)) {
            m_buttonStates[button] = kButtonNormal;
            changed = true;
        }
        if (m_buttonStates[button] != kButtonNormal) active = true;
    }
    if (changed) update(m_layout.caption);
    if (!active) m_buttonTimer.stop();
}
