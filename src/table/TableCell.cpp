#include "table/TableCell.h"

#include <unordered_map>

#include <QCoreApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "platform/MessageBox.h"
#include "platform/StartupTrace.h"
#include "table/CellData.h"
#include "table/Table.h"

namespace {

// Width of a resize strip, and the length kept free at both of its ends.
constexpr int kZoneSize = 4;

std::unordered_map<std::string, CellFactory>& Factories() {
    static std::unordered_map<std::string, CellFactory> factories{
        {"CTableCell", []() -> CTableCell* { return new CTableCell; }},
    };
    return factories;
}

void FrameRect3d(QPainter& dc, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    dc.fillRect(r.left(), r.top(), r.width() - 1, 1, topLeft);
    dc.fillRect(r.left(), r.top(), 1, r.height() - 1, topLeft);
    dc.fillRect(r.left() + r.width() - 1, r.top(), 1, r.height(), bottomRight);
    dc.fillRect(r.left(), r.top() + r.height() - 1, r.width(), 1, bottomRight);
}

}  // namespace

void RegisterCellClass(const std::string& name, CellFactory factory) {
    Factories()[name] = factory;
}

CTableCell* CreateCellObject(const std::string& name) {
    const auto& factories = Factories();
    auto found = factories.find(name);
    return found != factories.end() ? found->second() : nullptr;
}

CTableCell::CTableCell() {
    // The cell paints every pixel itself, from an off-screen buffer the toolkit keeps.
    setAttribute(Qt::WA_OpaquePaintEvent);
    setAttribute(Qt::WA_NoSystemBackground);
    setMouseTracking(true);
}

bool CTableCell::Create(QWidget* parentPane, int left, int top, int right, int bottom,
                        CTable* table, int column, int row) {
    m_table = table;
    this->column = column;
    this->row = row;
    setParent(parentPane);
    setGeometry(left, top, right - left, bottom - top);
    if (!InitCell()) return false;
    show();
    return true;
}

bool CTableCell::InitCell() { return true; }

void CTableCell::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    dc.fillRect(rect, row % 2 != 0 ? QColor(170, 170, 255) : QColor(221, 221, 255));
    FrameRect3d(dc, rect, QColor(102, 102, 102), Qt::white);
    QString text = QStringLiteral("%1/%2: %3").arg(column).arg(row).arg(GetCellText(record));
    dc.setPen(Qt::black);
    dc.drawText(rect.adjusted(4, 0, -4, 0), Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                text);
}

void CTableCell::OnCellSize(int, int, int, int) {}

QString CTableCell::GetCellText(const CellData* record) const {
    return record != nullptr ? QString::fromStdString(CellText(*record)) : QString();
}

QString CTableCell::GetCellHTML(const CellData* record) const {
    return QString::fromStdString(CellHTML(record != nullptr ? *record : CellData()));
}

void CTableCell::ShowContextMenu(int, int) { ShowMessageBox("ShowContextMenu", ""); }

bool CTableCell::Reuse(int column, int row) {
    this->column = column;
    this->row = row;
    dragging = false;
    zone = NoZone;
    return true;
}

int CTableCell::ZoneAt(const QPoint& point) const {
    const int w = width();
    const int h = height();
    const int x = point.x();
    const int y = point.y();
    const bool alongY = y >= kZoneSize && y < h - kZoneSize;
    const bool alongX = x >= kZoneSize && x < w - kZoneSize;
    // Header column 0 and header row 0 keep their sizes; the left and top strips belong to
    // the column or row before, which must be a data column or row itself.
    if (alongY && column >= 2 && x >= 0 && x < kZoneSize) return LeftZone;
    if (alongY && column >= 1 && x >= w - kZoneSize && x < w) return RightZone;
    if (alongX && row >= 2 && y >= 0 && y < kZoneSize) return TopZone;
    if (alongX && row >= 1 && y >= h - kZoneSize && y < h) return BottomZone;
    return NoZone;
}

void CTableCell::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    const CellData* data = m_table != nullptr ? m_table->GetData(column, row) : nullptr;
    DrawCell(dc, rect(), data);
    // The cells of a filled table paint in one pass, which is on screen once this event is
    // done: the start-up benchmark's last mark comes at the next turn of the loop.
    static bool traced = false;
    if (!traced && data != nullptr && column >= 1 && row >= 1 && StartupTraceOn()) {
        traced = true;
        QTimer::singleShot(0, [] { StartupMark("table-painted"); });
    }
}

void CTableCell::resizeEvent(QResizeEvent*) { OnCellSize(0, 0, width(), height()); }

void CTableCell::mousePressEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    switch (event->button()) {
        case Qt::LeftButton:
            // The toolkit keeps the pointer with this cell until the button is released.
            setFocus();
            dragStart = point;
            dragging = true;
            zone = ZoneAt(point);
            if (zone == NoZone) Post(TWM_CELL_LBUTTONDOWN);
            break;
        case Qt::RightButton:
            setFocus();
            Post(TWM_CELL_RBUTTONDOWN);
            break;
        case Qt::MiddleButton:
            UpdateCursor(point);
            setFocus();
            break;
        default:
            QWidget::mousePressEvent(event);
            return;
    }
    event->accept();
}

void CTableCell::mouseDoubleClickEvent(QMouseEvent* event) {
    switch (event->button()) {
        case Qt::LeftButton:
            setFocus();
            if (ZoneAt(event->position().toPoint()) == NoZone) Post(TWM_CELL_LBUTTONDBLCLK);
            break;
        case Qt::RightButton:
            setFocus();
            Post(TWM_CELL_RBUTTONDBLCLK);
            break;
        case Qt::MiddleButton:
            UpdateCursor(event->position().toPoint());
            setFocus();
            break;
        default:
            QWidget::mouseDoubleClickEvent(event);
            return;
    }
    event->accept();
}

void CTableCell::mouseMoveEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    UpdateCursor(point);
    if (!dragging || zone == NoZone || m_table == nullptr) return;
    switch (zone) {
        case RightZone:
            // The point moves on only with an accepted size, so a drag that was stopped at
            // the minimum picks up again when the pointer comes back to the border.
            if (m_table->ResizeColumn(column, point.x() - dragStart.x())) dragStart = point;
            break;
        case LeftZone:
            // This cell moves with the column before it, so the point stays where it is.
            m_table->ResizeColumn(column - 1, point.x() - dragStart.x());
            break;
        case BottomZone:
            if (m_table->ResizeRow(row, point.y() - dragStart.y())) dragStart = point;
            break;
        case TopZone:
            m_table->ResizeRow(row - 1, point.y() - dragStart.y());
            break;
        default:
            break;
    }
}

void CTableCell::mouseReleaseEvent(QMouseEvent* event) {
    const QPoint point = event->position().toPoint();
    switch (event->button()) {
        case Qt::LeftButton: {
            const bool resized = dragging && zone != NoZone;
            dragging = false;
            zone = ZoneAt(point);
            // The end of a resize is no click on the cell, wherever the pointer stopped.
            if (zone == NoZone && !resized) Post(TWM_CELL_LBUTTONUP);
            if (m_table != nullptr) m_table->Relayout(true);
            break;
        }
        case Qt::RightButton:
            Post(TWM_CELL_RBUTTONUP);
            break;
        default:
            QWidget::mouseReleaseEvent(event);
            return;
    }
    event->accept();
}

void CTableCell::UpdateCursor(const QPoint& point) {
    int kind = ZoneAt(point);
    if (kind == TopZone || kind == BottomZone) kind = TopZone;
    if (kind == LeftZone || kind == RightZone) kind = LeftZone;
    if (kind == cursorZone) return;
    cursorZone = kind;
    if (kind == LeftZone) {
        setCursor(Qt::SizeHorCursor);
    } else if (kind == TopZone) {
        setCursor(Qt::SizeVerCursor);
    } else {
        unsetCursor();
    }
}

void CTableCell::Post(int message) const {
    if (m_table == nullptr) return;
    QWidget* target = m_table->parentWidget();
    if (target == nullptr) return;
    QCoreApplication::postEvent(target, new CTableEvent(message, column, row));
}
