#include "table/Table.h"

#include <algorithm>
#include <utility>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/MessageBox.h"
#include "table/TableCell.h"
#include "table/TableChild.h"

namespace {

// Repeated arrow and page keys speed up pixel scrolling up to this count.
constexpr int kMaxKeyRepeat = 50;

}  // namespace

CTable::CTable(QWidget* parent)
    : QWidget(parent),
      rowHeaderColour(173, 186, 206),
      columnHeaderColour(173, 186, 206),
      cellColour(187, 198, 214) {
    setObjectName(QStringLiteral("CTable"));
    setCursor(Qt::ArrowCursor);
    setFocusPolicy(Qt::StrongFocus);

    rowHeaderPane = new CTableChild(this, this, rowHeaderColour);
    columnHeaderPane = new CTableChild(this, this, columnHeaderColour);
    cellPane = new CTableChild(this, this, cellColour);

    verticalBar = new QScrollBar(Qt::Vertical, this);
    horizontalBar = new QScrollBar(Qt::Horizontal, this);
    for (QScrollBar* bar : {verticalBar, horizontalBar}) {
        bar->setFocusPolicy(Qt::NoFocus);
        bar->setEnabled(false);
        // The wheel scrolls the grid by its own step, also over a bar.
        bar->installEventFilter(this);
        connect(bar, &QScrollBar::actionTriggered, this,
                [this, bar](int action) { OnScrollAction(bar, action); });
    }

    m_data.SetOutOfMemoryHandler([] {
        ShowMessageBox("Memory overflow in CTable::StoreData", "");
        QCoreApplication::exit(-1);
    });
    LayoutPanes();
}

CTable::~CTable() = default;

bool CTable::Create(QWidget* parent, const QRect& rect, const QColor& rowHeaderColour,
                    const QColor& columnHeaderColour, const QColor& cellColour) {
    this->rowHeaderColour = rowHeaderColour;
    this->columnHeaderColour = columnHeaderColour;
    this->cellColour = cellColour;
    rowHeaderPane->SetColour(rowHeaderColour);
    columnHeaderPane->SetColour(columnHeaderColour);
    cellPane->SetColour(cellColour);
    setParent(parent);
    setGeometry(rect);
    show();
    return true;
}

// ---- Filling ----

void CTable::Clear() {
    DestroyAllCells();
    m_data.Clear();
    scrollX = 0;
    scrollY = 0;
}

void CTable::SetHeaderSizes(int rowHeaderWidth, int columnHeaderHeight) {
    this->rowHeaderWidth = rowHeaderWidth;
    this->columnHeaderHeight = columnHeaderHeight;
    // The panes start where the headers end, so they move with the new sizes.
    LayoutPanes();
    LayoutVisibleCells();
}

int CTable::AddRow(const CellData& record, int height) { return m_data.AddRow(record, height); }

int CTable::AddColumn(const CellData& record, int width) { return m_data.AddColumn(record, width); }

bool CTable::SetData(int column, int row, const CellData& record) {
    return m_data.SetData(column, row, record);
}

bool CTable::StoreData(int column, int row, const CellData& record) {
    return m_data.StoreData(column, row, record);
}

const CellData* CTable::GetData(int column, int row) const { return m_data.GetData(column, row); }

bool CTable::CopyData(int column, int row, CellData& destination) const {
    return m_data.CopyData(column, row, destination);
}

std::int32_t CTable::GetTag(int column, int row) const { return m_data.GetTag(column, row); }

CVariant CTable::GetColumnMin(int column) const { return m_data.GetColumnMin(column); }

CVariant CTable::GetColumnMax(int column) const { return m_data.GetColumnMax(column); }

void CTable::ClearColumnRange(int column) { m_data.ClearColumnRange(column); }

// ---- Geometry ----

int CTable::PaneWidth() const { return cellPane->width(); }

int CTable::PaneHeight() const { return cellPane->height(); }

int CTable::ColumnLeft(int column) const {
    int x = -scrollX;
    for (int c = 1; c < column; ++c) x += m_data.GetColumnWidth(c);
    return x;
}

int CTable::RowTop(int row) const {
    int y = -scrollY;
    for (int r = 1; r < row; ++r) y += m_data.GetRowHeight(r);
    return y;
}

bool CTable::CanScrollHorizontally() const { return scrollX != 0 || PaneWidth() < GetTotalWidth(); }

bool CTable::CanScrollVertically() const { return scrollY != 0 || PaneHeight() < GetTotalHeight(); }

CTable::Span CTable::NeededColumns() const {
    const int count = GetColumnCount();
    const int paneWidth = PaneWidth();
    if (paneWidth <= 0) return {};
    int x = -scrollX;
    int c = 1;
    while (c < count && x + m_data.GetColumnWidth(c) <= 0) x += m_data.GetColumnWidth(c++);
    const int first = c;
    while (c < count && x < paneWidth) x += m_data.GetColumnWidth(c++);
    if (c == first) return {};
    return {first, std::min(c - first, kMaxVisibleColumns)};
}

CTable::Span CTable::NeededRows() const {
    const int count = GetRowCount();
    const int paneHeight = PaneHeight();
    if (paneHeight <= 0) return {};
    int y = -scrollY;
    int r = 1;
    while (r < count && y + m_data.GetRowHeight(r) <= 0) y += m_data.GetRowHeight(r++);
    const int first = r;
    while (r < count && y < paneHeight) y += m_data.GetRowHeight(r++);
    if (r == first) return {};
    return {first, r - first};
}

void CTable::LayoutPanes() {
    const int w = width();
    const int h = height();
    const int vw = verticalBarWidth;
    const int hh = horizontalBarHeight;
    const int paneWidth = std::max(0, w - vw - rowHeaderWidth);
    const int paneHeight = std::max(0, h - hh - columnHeaderHeight);
    columnHeaderPane->setGeometry(rowHeaderWidth, 0, paneWidth, columnHeaderHeight);
    rowHeaderPane->setGeometry(0, columnHeaderHeight, rowHeaderWidth, paneHeight);
    cellPane->setGeometry(rowHeaderWidth, columnHeaderHeight, paneWidth, paneHeight);
    verticalBar->setGeometry(w - vw, columnHeaderHeight, vw, paneHeight);
    horizontalBar->setGeometry(rowHeaderWidth, h - hh, paneWidth, hh);
}

void CTable::LayoutVisibleCells() {
    if (!visibleCells[0].empty() && visibleCells[0][0] != nullptr) {
        visibleCells[0][0]->setGeometry(0, 0, rowHeaderWidth, columnHeaderHeight);
    }
    std::vector<int> tops(visibleRows + 1, 0);
    if (visibleRows > 0) tops[1] = RowTop(firstVisibleRow);
    for (int i = 2; i <= visibleRows; ++i) {
        tops[i] = tops[i - 1] + m_data.GetRowHeight(firstVisibleRow + i - 2);
    }
    int left = ColumnLeft(firstVisibleColumn);
    for (int s = 0; s <= visibleColumns; ++s) {
        const int column = s == 0 ? 0 : firstVisibleColumn + s - 1;
        const int x = s == 0 ? 0 : left;
        const int w = s == 0 ? rowHeaderWidth : m_data.GetColumnWidth(column);
        const std::vector<CTableCell*>& cells = visibleCells[s];
        for (std::size_t i = 0; i < cells.size(); ++i) {
            if (cells[i] == nullptr || (s == 0 && i == 0)) continue;
            const int row = i == 0 ? 0 : firstVisibleRow + static_cast<int>(i) - 1;
            const int y = i == 0 ? 0 : tops[i];
            const int h = i == 0 ? columnHeaderHeight : m_data.GetRowHeight(row);
            cells[i]->setGeometry(x, y, w, h);
        }
        if (s > 0) left += w;
    }
}

// ---- Cell windows ----

CTableCell* CTable::CreateCell(QWidget* pane, int column, int row, const QRect& rect) {
    const CellData* record = m_data.GetData(column, row);
    if (record == nullptr) return nullptr;
    CTableCell* cell = CreateCellObject(record->cellClass);
    if (cell == nullptr) return nullptr;
    cell->cellClass = record->cellClass;
    if (!cell->Create(pane, rect.left(), rect.top(), rect.left() + rect.width(),
                      rect.top() + rect.height(), this, column, row)) {
        delete cell;
        return nullptr;
    }
    return cell;
}

CTableCell* CTable::ReuseCell(std::vector<CTableCell*>& spare, int column, int row,
                              const QRect& rect) {
    const CellData* record = m_data.GetData(column, row);
    if (record == nullptr) return nullptr;
    // Most blocks hold one or two kinds, so the search from the back is short.
    for (std::size_t i = spare.size(); i-- > 0;) {
        CTableCell* cell = spare[i];
        if (cell->cellClass != record->cellClass) continue;
        spare[i] = spare.back();
        spare.pop_back();
        if (!cell->Reuse(column, row)) {
            DestroyCell(cell);
            return nullptr;
        }
        cell->setGeometry(rect);
        cell->update();
        return cell;
    }
    return nullptr;
}

void CTable::DestroyCell(CTableCell* cell) {
    // A cell is often destroyed from inside its own handlers (a sort button, a menu
    // command, a key it passed on), so it goes when control is back in the event loop.
    cell->hide();
    cell->deleteLater();
}

void CTable::DestroyAllCells() {
    for (std::vector<CTableCell*>& cells : visibleCells) {
        for (CTableCell* cell : cells) {
            if (cell != nullptr) DestroyCell(cell);
        }
        cells.clear();
    }
    visibleColumns = 0;
    visibleRows = 0;
}

void CTable::Relayout(bool afterScrolling) {
    if (GetColumnCount() == 0 || GetRowCount() == 0) return;
    EnsureCorner();
    const Span columns = afterScrolling ? NeededColumns() : GrownSpan(NeededColumns(), true);
    const Span rows = afterScrolling ? NeededRows() : GrownSpan(NeededRows(), false);
    std::vector<CTableCell*> spare = MoveToBlock(columns, rows);
    FillBlock(spare);
    for (CTableCell* cell : spare) DestroyCell(cell);
    FinishRelayout(afterScrolling);
}

void CTable::EnsureCorner() {
    if (visibleCells[0].empty()) visibleCells[0].push_back(nullptr);
    if (visibleCells[0][0] == nullptr) {
        visibleCells[0][0]
            = CreateCell(this, 0, 0, QRect(0, 0, rowHeaderWidth, columnHeaderHeight));
    }
}

CTable::Span CTable::GrownSpan(Span need, bool columns) const {
    // While a border is dragged the block only grows; cells that left the panes go when the
    // button is released.
    const int first = columns ? firstVisibleColumn : firstVisibleRow;
    const int count = columns ? visibleColumns : visibleRows;
    Span span = need;
    if (count != 0) {
        if (need.count == 0) {
            span = Span{first, count};
        } else {
            const int from = std::min(need.first, first);
            const int to = std::max(need.first + need.count, first + count);
            span = Span{from, to - from};
        }
    }
    if (columns) span.count = std::min(span.count, kMaxVisibleColumns);
    return span;
}

std::vector<CTableCell*> CTable::MoveToBlock(Span columns, Span rows) {
    // Windows that stay in the block move to their new slots. Data cells that leave are kept
    // aside for the positions that enter, since a page step replaces the whole block and
    // moving a window costs far less than making one; header cells that leave go.
    std::vector<CTableCell*> spare;
    std::array<std::vector<CTableCell*>, kMaxVisibleColumns + 1> next;
    for (int s = 0; s <= columns.count; ++s) next[s].assign(rows.count + 1, nullptr);
    next[0][0] = visibleCells[0][0];
    for (int s = 0; s <= visibleColumns; ++s) {
        std::vector<CTableCell*>& cells = visibleCells[s];
        for (std::size_t i = 0; i < cells.size(); ++i) {
            CTableCell* cell = cells[i];
            if (cell == nullptr || (s == 0 && i == 0)) continue;
            const int column = s == 0 ? 0 : firstVisibleColumn + s - 1;
            const int row = i == 0 ? 0 : firstVisibleRow + static_cast<int>(i) - 1;
            const int slot = column == 0 ? 0 : column - columns.first + 1;
            const int index = row == 0 ? 0 : row - rows.first + 1;
            const bool columnStays = column == 0 || (slot >= 1 && slot <= columns.count);
            const bool rowStays = row == 0 || (index >= 1 && index <= rows.count);
            if (columnStays && rowStays) {
                next[slot][index] = cell;
            } else if (column != 0 && row != 0) {
                spare.push_back(cell);
            } else {
                DestroyCell(cell);
            }
        }
    }
    visibleCells = std::move(next);
    firstVisibleColumn = columns.first;
    visibleColumns = columns.count;
    firstVisibleRow = rows.first;
    visibleRows = rows.count;
    return spare;
}

void CTable::FillBlock(std::vector<CTableCell*>& spare) {
    std::vector<int> lefts(visibleColumns + 1, 0);
    std::vector<int> tops(visibleRows + 1, 0);
    if (visibleColumns > 0) lefts[1] = ColumnLeft(firstVisibleColumn);
    for (int s = 2; s <= visibleColumns; ++s) {
        lefts[s] = lefts[s - 1] + m_data.GetColumnWidth(firstVisibleColumn + s - 2);
    }
    if (visibleRows > 0) tops[1] = RowTop(firstVisibleRow);
    for (int i = 2; i <= visibleRows; ++i) {
        tops[i] = tops[i - 1] + m_data.GetRowHeight(firstVisibleRow + i - 2);
    }
    for (int i = 1; i <= visibleRows; ++i) {
        const int row = firstVisibleRow + i - 1;
        if (visibleCells[0][i] == nullptr) {
            visibleCells[0][i] = CreateCell(
                rowHeaderPane, 0, row, QRect(0, tops[i], rowHeaderWidth, m_data.GetRowHeight(row)));
        }
    }
    for (int s = 1; s <= visibleColumns; ++s) {
        const int column = firstVisibleColumn + s - 1;
        const int w = m_data.GetColumnWidth(column);
        std::vector<CTableCell*>& cells = visibleCells[s];
        if (cells[0] == nullptr) {
            cells[0] = CreateCell(columnHeaderPane, column, 0,
                                  QRect(lefts[s], 0, w, columnHeaderHeight));
        }
        for (int i = 1; i <= visibleRows; ++i) {
            if (cells[i] != nullptr) continue;
            const int row = firstVisibleRow + i - 1;
            const QRect rect(lefts[s], tops[i], w, m_data.GetRowHeight(row));
            cells[i] = ReuseCell(spare, column, row, rect);
            if (cells[i] == nullptr) cells[i] = CreateCell(cellPane, column, row, rect);
        }
    }
}

void CTable::FinishRelayout(bool afterScrolling) {
    Invalidate(false);
    if (afterScrolling) UpdateScrollBars();
    m_data.SetColumnWidth(0, rowHeaderWidth);
    m_data.SetRowHeight(0, columnHeaderHeight);
    setFocus();
}

void CTable::RebuildVisible() {
    DestroyAllCells();
    Relayout(true);
}

void CTable::ResetVisible() {
    DestroyAllCells();
    scrollX = 0;
    scrollY = 0;
}

void CTable::Invalidate(bool updateNow) {
    update();
    for (int s = 0; s <= visibleColumns; ++s) {
        for (CTableCell* cell : visibleCells[s]) {
            if (cell != nullptr) cell->update();
        }
    }
    if (updateNow) repaint();
}

CTableCell* CTable::GetCellWindow(int column, int row) const {
    const int slot = column == 0 ? 0 : column - firstVisibleColumn + 1;
    const int index = row == 0 ? 0 : row - firstVisibleRow + 1;
    if (column < 0 || row < 0) return nullptr;
    if (column != 0 && (slot < 1 || slot > visibleColumns)) return nullptr;
    if (row != 0 && (index < 1 || index > visibleRows)) return nullptr;
    const std::vector<CTableCell*>& cells = visibleCells[slot];
    return static_cast<std::size_t>(index) < cells.size() ? cells[index] : nullptr;
}

// ---- Scrolling ----

void CTable::ScrollBy(int dx, int dy) {
    if (dx != 0) {
        if (!CanScrollHorizontally()) return;
        if (dy != 0 && !CanScrollVertically()) return;
    } else if (dy == 0 || !CanScrollVertically()) {
        return;
    }
    const int maxX = std::max(0, GetTotalWidth() - PaneWidth());
    const int maxY = std::max(0, GetTotalHeight() - PaneHeight());
    if (scrollX + dx < 0) {
        dx = -scrollX;
    } else if (scrollX + dx > maxX) {
        dx = maxX - scrollX;
    }
    if (scrollY + dy < 0) {
        dy = -scrollY;
    } else if (scrollY + dy > maxY) {
        dy = maxY - scrollY;
    }
    scrollX += dx;
    scrollY += dy;
    if (dy != 0) rowHeaderPane->scroll(0, -dy);
    if (dx != 0) columnHeaderPane->scroll(-dx, 0);
    if (dx != 0 || dy != 0) cellPane->scroll(-dx, -dy);
    Relayout(true);
}

void CTable::UpdateScrollBars() {
    const int paneWidth = PaneWidth();
    const int paneHeight = PaneHeight();
    int backX = 0;
    int backY = 0;
    // After a resize or a narrowing the last column or row ends at the pane's edge again.
    if (CanScrollHorizontally() && GetTotalWidth() < scrollX + paneWidth) {
        backX = -std::min(scrollX, scrollX + paneWidth - GetTotalWidth());
    }
    if (CanScrollVertically() && GetTotalHeight() < scrollY + paneHeight) {
        backY = -std::min(scrollY, scrollY + paneHeight - GetTotalHeight());
    }
    if ((backX != 0 || backY != 0) && relayoutDepth == 0) {
        ++relayoutDepth;
        ScrollBy(backX, backY);
        --relayoutDepth;
        return;
    }

    const bool horizontal = CanScrollHorizontally();
    horizontalBar->setEnabled(horizontal);
    horizontalBar->setRange(0, horizontal ? std::max(0, GetTotalWidth() - paneWidth) : 0);
    horizontalBar->setPageStep(std::max(1, paneWidth));
    horizontalBar->setSingleStep(lineStep);
    horizontalBar->setValue(scrollX);

    const bool vertical = CanScrollVertically();
    verticalBar->setEnabled(vertical);
    verticalBar->setRange(0, vertical ? std::max(0, GetTotalHeight() - paneHeight) : 0);
    verticalBar->setPageStep(std::max(1, paneHeight));
    verticalBar->setSingleStep(lineStep);
    verticalBar->setValue(scrollY);
}

void CTable::EnsureVisible(int column, int row) {
    if (column < 1 || row < 1 || column >= GetColumnCount() || row >= GetRowCount()) return;
    // Bring the cell whole into the pane; a cell larger than the pane shows its left or
    // top edge.
    int dx = 0;
    const int left = ColumnLeft(column);
    const int right = left + m_data.GetColumnWidth(column);
    if (left < 0) {
        dx = left;
    } else if (right > PaneWidth()) {
        dx = std::min(right - PaneWidth(), left);
    }
    int dy = 0;
    const int top = RowTop(row);
    const int bottom = top + m_data.GetRowHeight(row);
    if (top < 0) {
        dy = top;
    } else if (bottom > PaneHeight()) {
        dy = std::min(bottom - PaneHeight(), top);
    }
    if (dx != 0 || dy != 0) ScrollBy(dx, dy);
}

void CTable::NextColumn() {
    if (visibleColumns == 0) return;
    const int first = firstVisibleColumn;
    const int right = ColumnLeft(first) + m_data.GetColumnWidth(first);
    if (right > 0) {
        ScrollBy(right, 0);
    } else if (first + 1 < GetColumnCount()) {
        ScrollBy(m_data.GetColumnWidth(first + 1), 0);
    }
}

void CTable::PreviousColumn() {
    if (visibleColumns == 0) return;
    const int first = firstVisibleColumn;
    const int left = ColumnLeft(first);
    if (left < 0) {
        ScrollBy(left, 0);
    } else if (first > 1) {
        ScrollBy(-m_data.GetColumnWidth(first - 1), 0);
    }
}

void CTable::NextRow() {
    if (visibleRows == 0) return;
    const int first = firstVisibleRow;
    const int bottom = RowTop(first) + m_data.GetRowHeight(first);
    if (bottom > 0) {
        ScrollBy(0, bottom);
    } else if (first + 1 < GetRowCount()) {
        ScrollBy(0, m_data.GetRowHeight(first + 1));
    }
}

void CTable::PreviousRow() {
    if (visibleRows == 0) return;
    const int first = firstVisibleRow;
    const int top = RowTop(first);
    if (top < 0) {
        ScrollBy(0, top);
    } else if (first > 1) {
        ScrollBy(0, -m_data.GetRowHeight(first - 1));
    }
}

void CTable::PageRight() {
    if (visibleColumns == 0) return;
    const int left = ColumnLeft(LastVisibleColumn());
    // A single column wider than the pane is its own last column; step on by one instead
    // of standing still or going back.
    if (left > 0) {
        ScrollBy(left, 0);
    } else {
        NextColumn();
    }
}

void CTable::PageDown() {
    if (visibleRows == 0) return;
    const int last = LastVisibleRow();
    ScrollBy(0, RowTop(last) + m_data.GetRowHeight(last));
}

void CTable::PageLeft() {
    if (visibleColumns == 0) return;
    const int first = firstVisibleColumn;
    const int firstWidth = m_data.GetColumnWidth(first);
    int sum = 0;
    for (int c = first - 1; c >= 1; --c) {
        if (firstWidth + sum + m_data.GetColumnWidth(c) >= PaneWidth()) break;
        sum += m_data.GetColumnWidth(c);
    }
    // When not even the column before fits beside the first one, go back by one column
    // rather than stand still.
    if (sum == 0 && ColumnLeft(first) >= 0) {
        PreviousColumn();
        return;
    }
    if (sum != 0) ScrollBy(-sum, 0);
    EnsureVisible(firstVisibleColumn, firstVisibleRow);
}

void CTable::PageUp() {
    if (visibleRows == 0) return;
    const int first = firstVisibleRow;
    const int firstHeight = m_data.GetRowHeight(first);
    int sum = 0;
    for (int r = first - 1; r >= 1; --r) {
        if (firstHeight + sum + m_data.GetRowHeight(r) >= PaneHeight()) break;
        sum += m_data.GetRowHeight(r);
    }
    if (sum == 0 && RowTop(first) >= 0) {
        PreviousRow();
        return;
    }
    if (sum != 0) ScrollBy(0, -sum);
    EnsureVisible(firstVisibleColumn, firstVisibleRow);
}

void CTable::OnScrollAction(QScrollBar* bar, int action) {
    const bool vertical = bar == verticalBar;
    const bool cells = snapToCells;
    switch (action) {
        case QAbstractSlider::SliderSingleStepSub:
            if (vertical) {
                cells ? PreviousRow() : ScrollBy(0, -lineStep);
            } else {
                cells ? PreviousColumn() : ScrollBy(-lineStep, 0);
            }
            break;
        case QAbstractSlider::SliderSingleStepAdd:
            if (vertical) {
                cells ? NextRow() : ScrollBy(0, lineStep);
            } else {
                cells ? NextColumn() : ScrollBy(lineStep, 0);
            }
            break;
        case QAbstractSlider::SliderPageStepSub:
            if (vertical) {
                cells ? PageUp() : ScrollBy(0, -pageStep);
            } else {
                cells ? PageLeft() : ScrollBy(-pageStep, 0);
            }
            break;
        case QAbstractSlider::SliderPageStepAdd:
            if (vertical) {
                cells ? PageDown() : ScrollBy(0, pageStep);
            } else {
                cells ? PageRight() : ScrollBy(pageStep, 0);
            }
            break;
        case QAbstractSlider::SliderMove:
        case QAbstractSlider::SliderToMinimum:
        case QAbstractSlider::SliderToMaximum:
            if (vertical) {
                ScrollBy(0, bar->sliderPosition() - scrollY);
            } else {
                ScrollBy(bar->sliderPosition() - scrollX, 0);
            }
            break;
        default:
            break;
    }
    // The bar shows where the grid went, not where its own step would have taken it.
    bar->setSliderPosition(vertical ? scrollY : scrollX);
}

// ---- Sizes ----

void CTable::SetScrollSteps(int line, int page) {
    lineStep = std::max(1, line);
    pageStep = std::max(1, page);
    UpdateScrollBars();
}

void CTable::SetMinimumCellSize(int columnWidth, int rowHeight) {
    minColumnWidth = std::max(1, columnWidth);
    minRowHeight = std::max(1, rowHeight);
}

bool CTable::ResizeColumn(int column, int delta) {
    if (column < 1 || column >= GetColumnCount()) return false;
    const int width = m_data.GetColumnWidth(column) + delta;
    if (width < minColumnWidth) return false;
    if (delta == 0) return true;
    m_data.SetColumnWidth(column, width);
    LayoutVisibleCells();
    Relayout(false);
    return true;
}

bool CTable::ResizeRow(int row, int delta) {
    if (row < 1 || row >= GetRowCount()) return false;
    const int height = m_data.GetRowHeight(row) + delta;
    if (height < minRowHeight) return false;
    if (delta == 0) return true;
    m_data.SetRowHeight(row, height);
    LayoutVisibleCells();
    Relayout(false);
    return true;
}

void CTable::SetAllColumnWidths(int width, bool redraw) {
    // No minimum here, but a column needs at least one pixel to be a column at all.
    if (width < 1) return;
    for (int c = 1; c < GetColumnCount(); ++c) m_data.SetColumnWidth(c, width);
    LayoutVisibleCells();
    if (redraw) {
        ResetVisible();
        Relayout(true);
    }
}

void CTable::SetAllRowHeights(int height, bool redraw) {
    if (height < 1) return;
    for (int r = 1; r < GetRowCount(); ++r) m_data.SetRowHeight(r, height);
    LayoutVisibleCells();
    if (redraw) {
        ResetVisible();
        Relayout(true);
    }
}

// ---- Sorting and selection ----

void CTable::SortByColumn(int column, bool ascending) {
    if (!m_data.SortByColumn(column, ascending)) return;
    RebuildVisible();
    EnsureVisible(GetSelectedColumn(), GetSelectedRow());
}

void CTable::Resort(int column) {
    if (column == GetSortColumn()) {
        SortByColumn(column, IsSortAscending());
    } else {
        RebuildVisible();
    }
}

void CTable::Select(int column, int row) {
    if (column < 1 || row < 1 || column >= GetColumnCount() || row >= GetRowCount()) return;
    m_data.SetSelection(0, 0);
    Invalidate(true);
    EnsureVisible(column, row);
    m_data.SetSelection(column, row);
    Invalidate(true);
    SendSelectionChanged();
}

void CTable::MoveSelection(int deltaColumn, int deltaRow) {
    Select(GetSelectedColumn() + deltaColumn, GetSelectedRow() + deltaRow);
}

void CTable::ClearSelection(bool redraw) {
    m_data.SetSelection(0, 0);
    if (redraw) Invalidate(true);
}

void CTable::SendSelectionChanged() {
    QWidget* target = parentWidget();
    if (target == nullptr) return;
    CTableEvent event(TWM_SELCHANGED, GetSelectedColumn(), GetSelectedRow());
    QCoreApplication::sendEvent(target, &event);
}

QScrollBar* CTable::GetScrollBar(int id) const {
    if (id == kVerticalBarId) return verticalBar;
    if (id == kHorizontalBarId) return horizontalBar;
    return nullptr;
}

// ---- Events ----

void CTable::resizeEvent(QResizeEvent*) {
    LayoutPanes();
    Relayout(true);
}

void CTable::paintEvent(QPaintEvent*) {
    // The three corners that neither a pane nor a bar covers, and the corner cell's place
    // until the cell has a window (while the grid is filled, the parent's black showed).
    QPainter dc(this);
    const int w = width();
    const int h = height();
    const int vw = verticalBarWidth;
    const int hh = horizontalBarHeight;
    if (GetCellWindow(0, 0) == nullptr)
        dc.fillRect(0, 0, rowHeaderWidth, columnHeaderHeight, columnHeaderColour);
    dc.fillRect(w - vw, 0, vw, columnHeaderHeight, columnHeaderColour);
    dc.fillRect(w - vw, h - hh, vw, hh, cellColour);
    dc.fillRect(0, h - hh, rowHeaderWidth, hh, rowHeaderColour);
}

void CTable::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key != Qt::Key_Left && key != Qt::Key_Right && key != Qt::Key_Up && key != Qt::Key_Down
        && key != Qt::Key_PageUp && key != Qt::Key_PageDown) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (keyRepeat < kMaxKeyRepeat) ++keyRepeat;
    const bool shift = event->modifiers().testFlag(Qt::ShiftModifier);
    if (snapToCells) {
        switch (key) {
            case Qt::Key_Left:
                shift ? PageLeft() : PreviousColumn();
                break;
            case Qt::Key_Right:
                shift ? PageRight() : NextColumn();
                break;
            case Qt::Key_Up:
                shift ? PageUp() : PreviousRow();
                break;
            case Qt::Key_Down:
                shift ? PageDown() : NextRow();
                break;
            case Qt::Key_PageUp:
                shift ? PageLeft() : PageUp();
                break;
            case Qt::Key_PageDown:
                shift ? PageRight() : PageDown();
                break;
        }
        return;
    }
    const int step = (shift ? pageStep : lineStep) + keyRepeat / 2;
    switch (key) {
        case Qt::Key_Left:
            ScrollBy(-step, 0);
            break;
        case Qt::Key_Right:
            ScrollBy(step, 0);
            break;
        case Qt::Key_Up:
            ScrollBy(0, -step);
            break;
        case Qt::Key_Down:
            ScrollBy(0, step);
            break;
        case Qt::Key_PageUp:
            shift ? ScrollBy(-pageStep, 0) : ScrollBy(0, -pageStep);
            break;
        case Qt::Key_PageDown:
            shift ? ScrollBy(pageStep, 0) : ScrollBy(0, pageStep);
            break;
    }
}

void CTable::keyReleaseEvent(QKeyEvent* event) {
    // A held key repeats as release and press pairs here; only a real release ends it.
    if (!event->isAutoRepeat()) keyRepeat = 0;
    QWidget::keyReleaseEvent(event);
}

void CTable::wheelEvent(QWheelEvent* event) {
    const QPoint delta = event->angleDelta();
    const int amount = delta.y() != 0 ? delta.y() : delta.x();
    if (amount == 0) {
        event->ignore();
        return;
    }
    event->accept();
    const int step = amount > 0 ? -pageStep : pageStep;
    if (event->modifiers().testFlag(Qt::ShiftModifier) || delta.y() == 0) {
        ScrollBy(step, 0);
    } else {
        ScrollBy(0, step);
    }
}

bool CTable::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Wheel && (watched == verticalBar || watched == horizontalBar)) {
        wheelEvent(static_cast<QWheelEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}
