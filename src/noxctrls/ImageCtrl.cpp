#include "noxctrls/ImageCtrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QWindow>

CImageCtrl::CImageCtrl(QWidget* parent) : CNoxCtrl(parent) {}

QStringList CImageCtrl::LoadBitmap(const QString& file) {
    QStringList missing;
    m_file = file;
    LoadInto(file, m_pixmap, missing);
    update();
    return missing;
}

bool CImageCtrl::MovesWindow() const {
    return CursorName().compare(QLatin1String("Move"), Qt::CaseInsensitive) == 0;
}

void CImageCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (m_pixmap.isNull()) {
        DrawMissingBitmap(painter, rect(), m_file);
        return;
    }
    if (m_pixmap.size() == size())
        painter.drawPixmap(0, 0, m_pixmap);
    else
        painter.drawPixmap(rect(), m_pixmap);
}

void CImageCtrl::mousePressEvent(QMouseEvent* event) {
    if (!MovesWindow() || event->button() != Qt::LeftButton) {
        event->ignore();
        return;
    }
    QWidget* top = window();
    // The window manager moves the window itself where it can (Wayland allows nothing else);
    // elsewhere the window follows the pointer.
    if (QWindow* handle = top->windowHandle(); handle && handle->startSystemMove()) return;
    m_dragging = true;
    m_dragOffset = event->globalPosition().toPoint() - top->pos();
}

void CImageCtrl::mouseMoveEvent(QMouseEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    window()->move(event->globalPosition().toPoint() - m_dragOffset);
}

void CImageCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (!m_dragging) {
        event->ignore();
        return;
    }
    m_dragging = false;
}
