#include "table/TableData.h"

#include <algorithm>
#include <cstdlib>
#include <new>
#include <utility>

#include "data/ValueRoutines.h"
#include "platform/MessageBox.h"

namespace {

// Without an event loop to post the quit to, the program ends right after the box.
void ReportOutOfMemory() {
    ShowMessageBox("Memory overflow in CTable::StoreData", "");
    std::exit(-1);
}

}  // namespace

CTableData::CTableData() : m_outOfMemory(ReportOutOfMemory) {}

void CTableData::Clear() {
    m_columns.clear();
    m_columnMin.clear();
    m_columnMax.clear();
    m_rowHeights.clear();
    m_columnWidths.clear();
    m_columnCount = 0;
    m_rowCount = 0;
    m_totalWidth = 0;
    m_totalHeight = 0;
    m_sortColumn = -1;
    m_sortAscending = false;
    m_selectedColumn = 0;
    m_selectedRow = 0;
}

void CTableData::StartWithCorner(const CellData& record, int width, int height) {
    // The corner: row 0 and column 0 come into being together.
    Clear();
    m_columnCount = 1;
    m_rowCount = 1;
    m_columns.resize(1);
    m_columnMin.resize(1);
    m_columnMax.resize(1);
    m_columnWidths.assign(1, width);
    m_rowHeights.assign(1, height);
    StoreData(0, 0, record);
}

int CTableData::AddRow(const CellData& record, int height) {
    if (m_rowCount == 0 || m_columnCount == 0) {
        StartWithCorner(record, 0, height);
        return m_rowCount;
    }
    ++m_rowCount;
    m_rowHeights.push_back(height);
    m_totalHeight += height;
    StoreData(0, m_rowCount - 1, record);
    return m_rowCount;
}

int CTableData::AddColumn(const CellData& record, int width) {
    if (m_rowCount == 0 || m_columnCount == 0) {
        StartWithCorner(record, width, 0);
        return m_columnCount;
    }
    if (m_columnCount >= kMaxColumns) return m_columnCount;
    ++m_columnCount;
    m_columns.resize(m_columnCount);
    m_columnMin.resize(m_columnCount);
    m_columnMax.resize(m_columnCount);
    m_columnWidths.push_back(width);
    m_totalWidth += width;
    StoreData(m_columnCount - 1, 0, record);
    return m_columnCount;
}

bool CTableData::SetData(int column, int row, const CellData& record) {
    if (column < 1 || row < 1 || !IsInside(column, row)) return false;
    return StoreData(column, row, record);
}

bool CTableData::StoreData(int column, int row, const CellData& record) {
    if (!IsInside(column, row)) return false;
    Column& cells = m_columns[column];
    std::unique_ptr<CellData> copy;
    try {
        if (cells.size() <= static_cast<std::size_t>(row)) cells.resize(row + 1);
        copy = std::make_unique<CellData>(record);
    } catch (const std::bad_alloc&) {
        if (m_outOfMemory) m_outOfMemory();
        return false;
    }
    if (row >= 1) WidenRange(column, record.value);
    cells[row] = std::move(copy);
    return true;
}

const CellData* CTableData::GetData(int column, int row) const {
    if (!IsInside(column, row)) return nullptr;
    const Column& cells = m_columns[column];
    return static_cast<std::size_t>(row) < cells.size() ? cells[row].get() : nullptr;
}

bool CTableData::CopyData(int column, int row, CellData& destination) const {
    const CellData* record = GetData(column, row);
    if (record == nullptr) return false;
    destination = *record;
    return true;
}

std::int32_t CTableData::GetTag(int column, int row) const {
    const CellData* record = GetData(column, row);
    return record != nullptr ? record->tag : 0;
}

CVariant CTableData::GetColumnMin(int column) const {
    if (column < 0 || column >= m_columnCount) return {};
    return m_columnMin[column];
}

CVariant CTableData::GetColumnMax(int column) const {
    if (column < 0 || column >= m_columnCount) return {};
    return m_columnMax[column];
}

void CTableData::ClearColumnRange(int column) {
    if (column < 0 || column >= m_columnCount) return;
    m_columnMin[column] = CVariant();
    m_columnMax[column] = CVariant();
}

void CTableData::WidenRange(int column, const CVariant& value) {
    // The range only ever widens: a replaced value may leave a bound that no cell holds
    // any more, which is why a column that is refilled is cleared first.
    CVariant& low = m_columnMin[column];
    CVariant& high = m_columnMax[column];
    int order = 0;
    if (low.IsEmpty()) {
        low = value;
    } else if (CompareValues(value, low, order) && order < 0) {
        low = value;
    }
    if (high.IsEmpty()) {
        high = value;
    } else if (CompareValues(value, high, order) && order > 0) {
        high = value;
    }
}

bool CTableData::SortByColumn(int column, bool ascending) {
    if (m_columnCount == 0 || m_rowCount == 0) return false;
    if (column < 0 || column >= m_columnCount) return false;
    m_sortColumn = column;
    m_sortAscending = ascending;
    if (m_rowCount > 2) Sort(1, m_rowCount - 1, column, ascending);
    return true;
}

bool CTableData::Before(const CVariant& value, const CVariant& pivot, bool ascending) const {
    int order = 0;
    if (CompareValues(value, pivot, order)) return ascending ? order < 0 : order > 0;
    // CompareValues has no answer for a number against a text, so the order between them is
    // ours to choose: numbers go first in both directions, and texts such as "k.A." stay at
    // the end of the column whichever way it is sorted.
    double number = 0.0;
    return ToNumber(value, number);
}

void CTableData::SwapRows(int a, int b) {
    for (Column& cells : m_columns) {
        std::size_t needed = static_cast<std::size_t>(std::max(a, b)) + 1;
        if (cells.size() < needed) cells.resize(needed);
        std::swap(cells[a], cells[b]);
    }
    std::swap(m_rowHeights[a], m_rowHeights[b]);
    // The selection belongs to the record, not to the position.
    if (m_selectedRow == a) {
        m_selectedRow = b;
    } else if (m_selectedRow == b) {
        m_selectedRow = a;
    }
}

void CTableData::Sort(int start, int end, int column, bool ascending) {
    static const CVariant kEmpty;
    auto valueAt = [&](int row) -> const CVariant& {
        const CellData* record = GetData(column, row);
        return record != nullptr ? record->value : kEmpty;
    };
    // Quicksort around the middle row. The smaller part recurses and the larger one loops,
    // which keeps the stack shallow however the values lie.
    while (start < end) {
        const CVariant pivot = valueAt(start + (end - start) / 2);
        int i = start;
        int j = end;
        for (;;) {
            while (i < end && Before(valueAt(i), pivot, ascending)) ++i;
            while (j > start && Before(pivot, valueAt(j), ascending)) --j;
            if (j < i) break;
            SwapRows(i, j);
            ++i;
            --j;
            if (j < i) break;
        }
        if (j - start < end - i) {
            if (start < j) Sort(start, j, column, ascending);
            start = i;
        } else {
            if (i < end) Sort(i, end, column, ascending);
            end = j;
        }
    }
}

int CTableData::GetColumnWidth(int column) const {
    if (column < 0 || column >= static_cast<int>(m_columnWidths.size())) return 0;
    return m_columnWidths[column];
}

int CTableData::GetRowHeight(int row) const {
    if (row < 0 || row >= static_cast<int>(m_rowHeights.size())) return 0;
    return m_rowHeights[row];
}

void CTableData::SetColumnWidth(int column, int width) {
    if (column < 0 || column >= static_cast<int>(m_columnWidths.size())) return;
    if (column > 0) m_totalWidth += width - m_columnWidths[column];
    m_columnWidths[column] = width;
}

void CTableData::SetRowHeight(int row, int height) {
    if (row < 0 || row >= static_cast<int>(m_rowHeights.size())) return;
    if (row > 0) m_totalHeight += height - m_rowHeights[row];
    m_rowHeights[row] = height;
}

void CTableData::SetSelection(int column, int row) {
    m_selectedColumn = column;
    m_selectedRow = row;
}

void CTableData::SetOutOfMemoryHandler(std::function<void()> handler) {
    m_outOfMemory = std::move(handler);
}

bool CTableData::IsInside(int column, int row) const {
    return column >= 0 && row >= 0 && column < m_columnCount && row < m_rowCount;
}
