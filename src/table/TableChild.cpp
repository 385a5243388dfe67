#include "table/TableChild.h"

#include <QKeyEvent>
#include <QWheelEvent>

#include "table/Table.h"

CTableChild::CTableChild(CTable* table, QWidget* parent, const QColor& colour)
    : QWidget(parent), m_table(table) {
    if (colour.isValid()) SetColour(colour);
}

void CTableChild::SetColour(const QColor& colour) {
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, colour);
    setPalette(palette);
    setAutoFillBackground(true);
}

void CTableChild::keyPressEvent(QKeyEvent* event) {
    if (m_table != nullptr) {
        m_table->keyPressEvent(event);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void CTableChild::keyReleaseEvent(QKeyEvent* event) {
    if (m_table != nullptr) {
        m_table->keyReleaseEvent(event);
    } else {
        QWidget::keyReleaseEvent(event);
    }
}

void CTableChild::wheelEvent(QWheelEvent* event) {
    if (m_table != nullptr) {
        m_table->wheelEvent(event);
    } else {
        QWidget::wheelEvent(event);
    }
}
