#include "viewers/FlatScrollBar.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>

namespace {

// Held buttons repeat after a pause, as the toolkit's own bars do.
constexpr int kFirstRepeat = 300;
constexpr int kNextRepeat = 50;

}  // namespace

CFlatScrollBar::CFlatScrollBar(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_repeat.setTimerType(Qt::PreciseTimer);
    connect(&m_repeat, &QTimer::timeout, this, &CFlatScrollBar::Repeat);
}

void CFlatScrollBar::SetColours(const QColor& groove, const QColor& thumb, const QColor& arrows) {
    m_groove = groove;
    m_thumb = thumb;
    m_arrows = arrows;
    update();
}

void CFlatScrollBar::SetPosition(int position) {
    if (m_dragging) return;
    position = std::clamp(position, 0, kRange);
    if (position == m_position) return;
    m_position = position;
    update();
}

void CFlatScrollBar::SetThumbLength(int pixels) {
    if (pixels == m_thumbLength) return;
    m_thumbLength = pixels;
    update();
}

int CFlatScrollBar::ThumbLength() const {
    return std::clamp(m_thumbLength, std::min(10, Groove().height()), Groove().height());
}

int CFlatScrollBar::ArrowHeight() const { return std::min(width(), height() / 3); }

QRect CFlatScrollBar::Groove() const {
    const int arrow = ArrowHeight();
    return QRect(0, arrow, width(), std::max(0, height() - 2 * arrow));
}

QRect CFlatScrollBar::ThumbRect() const {
    const QRect groove = Groove();
    const int length = ThumbLength();
    const int travel = groove.height() - length;
    return QRect(0, groove.top() + travel * m_position / kRange, width(), length);
}

void CFlatScrollBar::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), m_groove);
    const QRect thumb = ThumbRect().adjusted(2, 0, -2, -1);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(isEnabled() ? m_thumb : m_groove.lighter(120));
    p.drawRoundedRect(thumb, 3, 3);
    // Two small triangles for the arrows.
    const int arrow = ArrowHeight();
    const qreal cx = width() / 2.0;
    const qreal half = std::max(2.0, width() / 4.0);
    p.setBrush(m_arrows);
    QPainterPath up;
    up.moveTo(cx - half, arrow * 0.65);
    up.lineTo(cx + half, arrow * 0.65);
    up.lineTo(cx, arrow * 0.3);
    up.closeSubpath();
    p.drawPath(up);
    QPainterPath down;
    const qreal bottom = height();
    down.moveTo(cx - half, bottom - arrow * 0.65);
    down.lineTo(cx + half, bottom - arrow * 0.65);
    down.lineTo(cx, bottom - arrow * 0.3);
    down.closeSubpath();
    p.drawPath(down);
}

void CFlatScrollBar::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    const int y = event->position().toPoint().y();
    const QRect thumb = ThumbRect();
    if (y < ArrowHeight()) {
        m_repeating = Action::LineUp;
    } else if (y >= height() - ArrowHeight()) {
        m_repeating = Action::LineDown;
    } else if (y < thumb.top()) {
        m_repeating = Action::PageUp;
    } else if (y > thumb.bottom()) {
        m_repeating = Action::PageDown;
    } else {
        m_dragging = true;
        m_dragOffset = y - thumb.top();
        return;
    }
    emit actionTriggered(m_repeating);
    m_repeat.start(kFirstRepeat);
}

void CFlatScrollBar::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) return;
    const QRect groove = Groove();
    const int travel = groove.height() - ThumbLength();
    if (travel <= 0) return;
    const int top = event->position().toPoint().y() - m_dragOffset - groove.top();
    const int position = std::clamp(top * kRange / travel, 0, kRange);
    if (position == m_position) return;
    m_position = position;
    update();
    emit thumbTracked(position);
}

void CFlatScrollBar::mouseReleaseEvent(QMouseEvent*) {
    m_repeat.stop();
    m_dragging = false;
}

void CFlatScrollBar::Repeat() {
    m_repeat.setInterval(kNextRepeat);
    // A page click repeats only while the thumb has not reached the pointer.
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    const QRect thumb = ThumbRect();
    if ((m_repeating == Action::PageUp && pointer.y() >= thumb.top())
        || (m_repeating == Action::PageDown && pointer.y() <= thumb.bottom())) {
        m_repeat.stop();
        return;
    }
    emit actionTriggered(m_repeating);
}
