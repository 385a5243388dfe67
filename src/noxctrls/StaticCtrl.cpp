#include "noxctrls/StaticCtrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

CStaticCtrl::CStaticCtrl(QWidget* parent) : CNoxCtrl(parent) {
    SetCursorName(QStringLiteral("Arrow"));
}

void CStaticCtrl::SetText(const QString& text) {
    if (m_text == text) return;
    m_text = text;
    update();
}

void CStaticCtrl::SetColors(const QColor& normal, const QColor& hover, const QColor& disabled) {
    m_normal = normal;
    m_hover = hover;
    m_disabled = disabled;
    update();
}

bool CStaticCtrl::SetTextColor(const QString& rrggbb) {
    QColor color;
    if (!ParseColorText(rrggbb, color)) return false;
    m_normal = color;
    m_hover = color;
    update();
    return true;
}

bool CStaticCtrl::SetBackColor(const QString& rrggbb) {
    QColor color;
    if (!ParseColorText(rrggbb, color)) return false;
    SetBackground(color);
    return true;
}

void CStaticCtrl::SetBackground(const QColor& color) {
    m_back = color;
    m_hasBack = true;
    update();
}

void CStaticCtrl::ClearBackColor() {
    m_hasBack = false;
    update();
}

void CStaticCtrl::SetAlignment(Qt::Alignment alignment) {
    m_alignment = alignment;
    update();
}

QColor CStaticCtrl::CurrentTextColor() const {
    if (!isEnabled()) return m_disabled;
    return m_mouseInside ? m_hover : m_normal;
}

bool CStaticCtrl::IsClickable() const {
    return CursorName().compare(QLatin1String("Pointer"), Qt::CaseInsensitive) == 0;
}

void CStaticCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_hasBack) painter.fillRect(rect(), m_back);
    painter.setFont(font());
    painter.setPen(CurrentTextColor());
    // A little room at the sides, so text on a coloured background does not touch its edge.
    const QRect area = rect().adjusted(3, 0, -3, 0);
    const QString shown = painter.fontMetrics().elidedText(m_text, Qt::ElideRight, area.width());
    painter.drawText(area, int(m_alignment) | Qt::TextSingleLine, shown);
}

void CStaticCtrl::mousePressEvent(QMouseEvent* event) {
    if (!IsClickable() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_buttonDown = true;
}

void CStaticCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_buttonDown || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    m_buttonDown = false;
    if (rect().contains(event->position().toPoint())) emit command(Id());
}

void CStaticCtrl::enterEvent(QEnterEvent*) {
    m_mouseInside = true;
    update();
}

void CStaticCtrl::leaveEvent(QEvent*) {
    m_mouseInside = false;
    update();
}

void CStaticCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        m_buttonDown = false;
        update();
    }
    CNoxCtrl::changeEvent(event);
}
