#pragma once
// The grid behind both statistics views: a corner cell, a column-header pane, a row-header
// pane and a cell pane, with a scroll bar on the right and one at the bottom. The content
// lives in a CTableData; only the cells of the visible block have windows.

#include <array>
#include <cstdint>
#include <vector>

#include <QColor>
#include <QEvent>
#include <QWidget>

#include "table/CellData.h"
#include "table/TableData.h"

class QScrollBar;
class CTableChild;
class CTableCell;

// Messages of the grid and its cells to the grid's parent window.
inline constexpr QEvent::Type TWM_SELCHANGED = QEvent::Type(3525);          // sent
inline constexpr QEvent::Type TWM_CELL_LBUTTONDOWN = QEvent::Type(3526);    // posted
inline constexpr QEvent::Type TWM_CELL_LBUTTONUP = QEvent::Type(3527);      // posted
inline constexpr QEvent::Type TWM_CELL_LBUTTONDBLCLK = QEvent::Type(3528);  // posted
inline constexpr QEvent::Type TWM_CELL_RBUTTONDOWN = QEvent::Type(3529);    // posted
inline constexpr QEvent::Type TWM_CELL_RBUTTONUP = QEvent::Type(3530);      // posted
inline constexpr QEvent::Type TWM_CELL_RBUTTONDBLCLK = QEvent::Type(3531);  // posted

// A grid message: the table position (not the visible slot) it is about.
class CTableEvent : public QEvent {
public:
    CTableEvent(int message, int column, int row)
        : QEvent(QEvent::Type(message)), m_column(column), m_row(row) {}

    int Column() const { return m_column; }
    int Row() const { return m_row; }

private:
    int m_column;
    int m_row;
};

class CTable : public QWidget {
    Q_OBJECT
public:
    // Control ids of the scroll bars.
    static constexpr int kVerticalBarId = 101;
    static constexpr int kHorizontalBarId = 102;
    // Data columns with windows at once: slot 0 holds the header column.
    static constexpr int kMaxVisibleColumns = 63;

    explicit CTable(QWidget* parent = nullptr);
    ~CTable() override;

    // Puts the grid into `parent` at `rect` with the colours of the three panes and shows it.
    bool Create(QWidget* parent, const QRect& rect, const QColor& rowHeaderColour,
                const QColor& columnHeaderColour, const QColor& cellColour);

    // Filling. Records are copied; the caller keeps its own.
    void Clear();
    void SetHeaderSizes(int rowHeaderWidth, int columnHeaderHeight);
    int AddRow(const CellData& record, int height);
    int AddColumn(const CellData& record, int width);
    bool SetData(int column, int row, const CellData& record);
    bool StoreData(int column, int row, const CellData& record);
    const CellData* GetData(int column, int row) const;
    bool CopyData(int column, int row, CellData& destination) const;
    std::int32_t GetTag(int column, int row) const;
    CVariant GetColumnMin(int column) const;
    CVariant GetColumnMax(int column) const;
    void ClearColumnRange(int column);
    // The content without windows, for the export.
    const CTableData& GetTableData() const { return m_data; }
    // The content for the filling, which runs without windows: the caller clears the cell
    // windows before it changes the content (Clear) and rebuilds them after (RebuildVisible).
    CTableData& GetTableData() { return m_data; }

    // Layout and display.
    // Gives exactly the cells that meet the panes a window; without `afterScrolling` it only
    // adds windows (used while a border is dragged).
    void Relayout(bool afterScrolling);
    void RebuildVisible();
    void ResetVisible();
    void Invalidate(bool updateNow);
    void ScrollBy(int dx, int dy);
    void UpdateScrollBars();
    void EnsureVisible(int column, int row);
    void SetAllColumnWidths(int width, bool redraw);
    void SetAllRowHeights(int height, bool redraw);
    void SortByColumn(int column, bool ascending);
    void Resort(int column);
    void Select(int column, int row);
    void MoveSelection(int deltaColumn, int deltaRow);
    void ClearSelection(bool redraw);
    // The window of a table position, or null when the cell is not in the visible block.
    CTableCell* GetCellWindow(int column, int row) const;

    // Scrolling by whole cells.
    void NextColumn();
    void PreviousColumn();
    void NextRow();
    void PreviousRow();
    void PageRight();
    void PageLeft();
    void PageDown();
    void PageUp();

    // Resizing by a drag: false (and no change) when the size would fall below the minimum.
    bool ResizeColumn(int column, int delta);
    bool ResizeRow(int row, int delta);

    int GetRowHeaderWidth() const { return rowHeaderWidth; }
    int GetColumnHeaderHeight() const { return columnHeaderHeight; }
    int GetColumnCount() const { return m_data.GetColumnCount(); }
    int GetRowCount() const { return m_data.GetRowCount(); }
    int GetColumnWidth(int column) const { return m_data.GetColumnWidth(column); }
    int GetRowHeight(int row) const { return m_data.GetRowHeight(row); }
    int GetTotalWidth() const { return m_data.GetTotalWidth(); }
    int GetTotalHeight() const { return m_data.GetTotalHeight(); }
    int GetSortColumn() const { return m_data.GetSortColumn(); }
    bool IsSortAscending() const { return m_data.IsSortAscending(); }
    int GetSelectedColumn() const { return m_data.GetSelectedColumn(); }
    int GetSelectedRow() const { return m_data.GetSelectedRow(); }
    int GetScrollX() const { return scrollX; }
    int GetScrollY() const { return scrollY; }
    int GetFirstVisibleColumn() const { return firstVisibleColumn; }
    int GetFirstVisibleRow() const { return firstVisibleRow; }
    int GetVisibleColumnCount() const { return visibleColumns; }
    int GetVisibleRowCount() const { return visibleRows; }
    int GetKeyRepeat() const { return keyRepeat; }
    CTableChild* GetRowHeaderPane() const { return rowHeaderPane; }
    CTableChild* GetColumnHeaderPane() const { return columnHeaderPane; }
    CTableChild* GetCellPane() const { return cellPane; }
    QScrollBar* GetScrollBar(int id) const;

    // Line and page scrolling by whole cells (the default) or by pixels.
    void SetSnapToCells(bool snap) { snapToCells = snap; }
    bool SnapsToCells() const { return snapToCells; }
    // Pixels of a line and of a page step in pixel scrolling, and of a page step of the wheel;
    // a step below 1 pixel is taken as 1.
    void SetScrollSteps(int line, int page);
    int GetLineStep() const { return lineStep; }
    int GetPageStep() const { return pageStep; }
    // The smallest width and height a drag may give a data column or row (at least 1).
    void SetMinimumCellSize(int columnWidth, int rowHeight);
    int GetMinColumnWidth() const { return minColumnWidth; }
    int GetMinRowHeight() const { return minRowHeight; }

protected:
    friend class CTableChild;

    void resizeEvent(QResizeEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Span {
        int first = 1;
        int count = 0;
    };

    void LayoutPanes();
    void LayoutVisibleCells();
    // The phases of Relayout: the corner's window; the block that must have windows (grown
    // only, while a border is dragged); the windows that stay moved to their new slots, the
    // data cells that left returned as spares; windows made (or spares reused) for the
    // positions without; repaint, scroll bars and focus.
    void EnsureCorner();
    Span GrownSpan(Span need, bool columns) const;
    std::vector<CTableCell*> MoveToBlock(Span columns, Span rows);
    void FillBlock(std::vector<CTableCell*>& spare);
    void FinishRelayout(bool afterScrolling);
    void DestroyAllCells();
    void DestroyCell(CTableCell* cell);
    CTableCell* CreateCell(QWidget* pane, int column, int row, const QRect& rect);
    CTableCell* ReuseCell(std::vector<CTableCell*>& spare, int column, int row, const QRect& rect);
    Span NeededColumns() const;
    Span NeededRows() const;
    int ColumnLeft(int column) const;
    int RowTop(int row) const;
    int PaneWidth() const;
    int PaneHeight() const;
    bool CanScrollHorizontally() const;
    bool CanScrollVertically() const;
    int LastVisibleColumn() const { return firstVisibleColumn + visibleColumns - 1; }
    int LastVisibleRow() const { return firstVisibleRow + visibleRows - 1; }
    void OnScrollAction(QScrollBar* bar, int action);
    void SendSelectionChanged();

    CTableData m_data;

    int rowHeaderWidth = 150;
    int columnHeaderHeight = 60;
    int verticalBarWidth = 17;
    int horizontalBarHeight = 17;

    QScrollBar* horizontalBar = nullptr;
    QScrollBar* verticalBar = nullptr;
    CTableChild* rowHeaderPane = nullptr;
    CTableChild* columnHeaderPane = nullptr;
    CTableChild* cellPane = nullptr;
    QColor rowHeaderColour;
    QColor columnHeaderColour;
    QColor cellColour;

    // Slot 0: the corner at index 0 and the row headers below it. Slot c (1..63): the
    // header of visible column c at index 0 and its data cells below. Not owning: the
    // panes own the windows.
    std::array<std::vector<CTableCell*>, kMaxVisibleColumns + 1> visibleCells;
    int firstVisibleColumn = 1;
    int firstVisibleRow = 1;
    int visibleColumns = 0;
    int visibleRows = 0;

    bool snapToCells = true;
    int lineStep = 8;
    int pageStep = 64;
    int minColumnWidth = 64;
    int minRowHeight = 16;

    int scrollX = 0;
    int scrollY = 0;
    int keyRepeat = 0;
    int relayoutDepth = 0;
};
