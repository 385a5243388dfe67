#include "noxctrls/ProgressCtrl.h"

#include <QPainter>

CProgressCtrl::CProgressCtrl(QWidget* parent) : CNoxCtrl(parent) {}

QStringList CProgressCtrl::LoadBitmaps(const QString& base) {
    QStringList missing;
    m_base = base;
    LoadInto(base + QLatin1String("_n.bmp"), m_track, missing);
    LoadInto(base + QLatin1String("_a.bmp"), m_active, missing);
    LoadInto(base + QLatin1String("_0.bmp"), m_disabled, missing);
    update();
    return missing;
}

void CProgressCtrl::SetValue(int percent) {
    const int value = qBound(0, percent, 100);
    if (value == m_value) return;
    m_value = value;
    update();
}

void CProgressCtrl::SetTextColor(const QColor& color) {
    m_textColor = color;
    update();
}

void CProgressCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!isEnabled()) {
        if (m_disabled.isNull())
            DrawMissingBitmap(painter, rect(), m_base + QLatin1String("_0.bmp"));
        else
            painter.drawPixmap(rect(), m_disabled);
        return;
    }
    if (m_track.isNull())
        DrawMissingBitmap(painter, rect(), m_base + QLatin1String("_n.bmp"));
    else
        painter.drawPixmap(rect(), m_track);

    const int filled = width() * m_value / 100;
    if (filled > 0) {
        const QRect part(0, 0, filled, height());
        if (m_active.isNull()) {
            DrawMissingBitmap(painter, part, m_base + QLatin1String("_a.bmp"));
        } else {
            // The filled part shows the left part of the picture, not a squeezed whole one.
            const qreal sx = qreal(m_active.width()) / width();
            const qreal sy = qreal(m_active.height()) / height();
            painter.drawPixmap(QRectF(part), m_active, QRectF(0, 0, filled * sx, height() * sy));
        }
    }
    painter.setFont(font());
    painter.setPen(m_textColor);
    painter.drawText(rect(), Qt::AlignCenter, QStringLiteral("%1 %").arg(m_value));
}
