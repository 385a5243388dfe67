#pragma once
// The grid's content without any window: one record per cell, the sizes of rows and
// columns, the value range of every column, the sort state and the selected cell.
// Row 0 is the header row and column 0 the header column; (0, 0) is the corner.

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "data/Variant.h"
#include "table/CellData.h"

class CTableData {
public:
    // The store has room for this many columns, the header column included.
    static constexpr int kMaxColumns = 2048;

    CTableData();
    CTableData(const CTableData&) = delete;
    CTableData& operator=(const CTableData&) = delete;

    // Frees every record, empties every column range and resets counts, totals, the sort
    // state (column -1) and the selection.
    void Clear();

    // Appends a row with `record` as its header and returns the new number of rows. The first
    // record of an empty table becomes the corner: it makes row 0 and column 0 at once and
    // its size is not counted in the totals.
    int AddRow(const CellData& record, int height);
    // The same for a column; its header is row 0 of the column. Beyond kMaxColumns nothing
    // is added and the count stays.
    int AddColumn(const CellData& record, int width);
    // Stores a deep copy of a data cell; false for column 0, row 0 and positions outside.
    bool SetData(int column, int row, const CellData& record);
    // Stores a deep copy at any position inside the store, replacing what was there and
    // widening the column's range for rows from 1 on; false when the position has no room.
    bool StoreData(int column, int row, const CellData& record);

    // The record at a position, or null; the table keeps ownership.
    const CellData* GetData(int column, int row) const;
    // Deep copy of the record at a position into `destination`; false when there is none.
    bool CopyData(int column, int row, CellData& destination) const;
    // The record's tag, 0 when there is no record.
    std::int32_t GetTag(int column, int row) const;

    // Smallest and largest value stored in the column's data rows so far (empty at first).
    CVariant GetColumnMin(int column) const;
    CVariant GetColumnMax(int column) const;
    void ClearColumnRange(int column);

    // Sorts rows 1 .. rows - 1 by the values of `column` and remembers column and direction;
    // false (nothing done) when the table is empty or the column does not exist.
    bool SortByColumn(int column, bool ascending);

    int GetColumnCount() const { return m_columnCount; }
    int GetRowCount() const { return m_rowCount; }
    // Sizes in pixels by index; 0 outside the table.
    int GetColumnWidth(int column) const;
    int GetRowHeight(int row) const;
    // Sets one size and adjusts the total of the data columns (rows).
    void SetColumnWidth(int column, int width);
    void SetRowHeight(int row, int height);
    // Total width of columns 1.. and total height of rows 1.., in pixels.
    int GetTotalWidth() const { return m_totalWidth; }
    int GetTotalHeight() const { return m_totalHeight; }

    int GetSortColumn() const { return m_sortColumn; }
    bool IsSortAscending() const { return m_sortAscending; }

    // (0, 0) means that no cell is selected.
    int GetSelectedColumn() const { return m_selectedColumn; }
    int GetSelectedRow() const { return m_selectedRow; }
    void SetSelection(int column, int row);

    // Called when a record cannot be allocated, before the store gives up on it; the window
    // layer tells the user and ends the program. The default shows the message box and
    // exits with -1.
    void SetOutOfMemoryHandler(std::function<void()> handler);

private:
    // The first record of an empty table: the corner cell, row 0 and column 0.
    void StartWithCorner(const CellData& record, int width, int height);
    using Column = std::vector<std::unique_ptr<CellData>>;

    bool IsInside(int column, int row) const;
    bool Before(const CVariant& value, const CVariant& pivot, bool ascending) const;
    void SwapRows(int a, int b);
    void Sort(int start, int end, int column, bool ascending);
    void WidenRange(int column, const CVariant& value);

    std::vector<Column> m_columns;
    std::vector<CVariant> m_columnMin;
    std::vector<CVariant> m_columnMax;
    std::vector<std::int32_t> m_rowHeights;
    std::vector<std::int32_t> m_columnWidths;
    int m_columnCount = 0;
    int m_rowCount = 0;
    int m_totalWidth = 0;
    int m_totalHeight = 0;
    int m_sortColumn = -1;
    bool m_sortAscending = false;
    int m_selectedColumn = 0;
    int m_selectedRow = 0;
    std::function<void()> m_outOfMemory;
};
