#include "controls/NOXButtonText.h"

#include <QCursor>
#include <QMouseEvent>
#include <QPainter>

#include "controls/NOXButton.h"

namespace {

constexpr int kLeaveCheckMs = 25;

}  // namespace

CNOXButtonText::CNOXButtonText(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    m_colors[kNormal] = {QColor(QRgb(0xFFFFFF)), QColor(QRgb(0x444444)), QColor(QRgb(0xCCCCCC)),
                         QColor(QRgb(0x000000))};
    m_colors[kHover] = {QColor(QRgb(0xFFFFFF)), QColor(QRgb(0x444444)), QColor(QRgb(0xBBBBBB)),
                        QColor(QRgb(0x222222))};
    m_colors[kPressed] = {QColor(QRgb(0x444444)), QColor(QRgb(0x999999)), QColor(QRgb(0x999999)),
                          QColor(QRgb(0x444444))};
    m_font = font();
    hide();
}

bool CNOXButtonText::Create(int id, const QRect& rect, const QString& caption,
                            const QCursor* cursor) {
    m_id = id;
    m_caption = caption;
    setGeometry(rect);
    if (cursor)
        setCursor(*cursor);
    else
        setCursor(Qt::ArrowCursor);
    show();
    return true;
}

void CNOXButtonText::SetFont(const QString& face, double pointSize, int weight) {
    m_font = QFont(face);
    m_font.setPointSizeF(pointSize);
    m_font.setWeight(QFont::Weight(qBound(1, weight, 1000)));
    update();
}

void CNOXButtonText::SetColors(State state, const QColor& light, const QColor& dark,
                               const QColor& back, const QColor& text) {
    m_colors[state] = {light, dark, back, text};
    update();
}

void CNOXButtonText::SetCaption(const QString& caption) {
    m_caption = caption;
    update();
}

void CNOXButtonText::Enable(bool enable) {
    if (enable != m_disabled) return;
    m_disabled = !enable;
    m_leaveTimer.stop();
    SetState(kNormal);
}

void CNOXButtonText::SetState(State state) {
    m_state = state;
    repaint();
}

void CNOXButtonText::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const Colors& c = m_colors[m_state];
    const QRect r = rect();
    painter.fillRect(r, c.back);
    // One-pixel edges: light along the top and left, dark along the bottom and right.
    painter.fillRect(QRect(0, 0, r.width() - 1, 1), c.light);
    painter.fillRect(QRect(0, 0, 1, r.height() - 1), c.light);
    painter.fillRect(QRect(r.width() - 1, 0, 1, r.height()), c.dark);
    painter.fillRect(QRect(0, r.height() - 1, r.width(), 1), c.dark);
    painter.setFont(m_font);
    painter.setPen(c.text);
    const QRect textRect = m_state == kPressed ? r.translated(1, 1) : r;
    painter.drawText(textRect, Qt::AlignCenter | Qt::TextSingleLine, m_caption);
}

void CNOXButtonText::mouseMoveEvent(QMouseEvent*) {
    if (m_disabled || m_state != kNormal) return;
    SetState(kHover);
    m_leaveTimer.start(kLeaveCheckMs, this);
}

void CNOXButtonText::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || m_disabled) return;
    SetState(kPressed);
    m_leaveTimer.start(kLeaveCheckMs, this);
}

void CNOXButtonText::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || m_disabled) return;
    // A release away from the button is no click, although the toolkit still reports it here.
    if (!rect().contains(e->position().toPoint())) return;
    SetState(kHover);
    m_leaveTimer.start(kLeaveCheckMs, this);
    PostCommandToParent(this, m_id);
    // Last: a receiver of the signal may delete the button.
    emit command(m_id);
}

void CNOXButtonText::timerEvent(QTimerEvent* e) {
    if (e->timerId() != m_leaveTimer.timerId()) {
        QWidget::timerEvent(e);
        return;
    }
    if (IsUnderCursor(this)) return;
    m_leaveTimer.stop();
    SetState(kNormal);
}
