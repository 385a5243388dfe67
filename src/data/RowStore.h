#pragma once
// The rows a recordset holds: fixed-size cells in blocks.

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

namespace dbdetail {

// One stored field value: its variant kind and the value as SQLite gave it.
struct Cell {
    union {
        std::int64_t integer;
        double real;
        const char* text;
    };
    std::uint32_t length;  // of text
    std::uint16_t vt;
};
static_assert(sizeof(Cell) == 16);

// The rows of a recordset, in blocks of about 64 KB: filling never copies rows already
// read, and blocks of that size come from the heap rather than from fresh pages.
class CRowStore {
public:
    void Reset(int columns) noexcept {
        m_blocks.clear();
        m_columns = columns;
        m_rowsPerBlock = columns > 0 ? std::max(1, kBlockCells / columns) : 1;
        m_count = 0;
    }
    long Count() const noexcept { return m_count; }
    const Cell* Row(long r) const noexcept {
        return m_blocks[static_cast<size_t>(r / m_rowsPerBlock)].get()
               + static_cast<size_t>(r % m_rowsPerBlock) * m_columns;
    }
    Cell* Row(long r) noexcept { return const_cast<Cell*>(std::as_const(*this).Row(r)); }
    // Room for one more row at the end; its cells are the caller's to fill.
    Cell* Append() {
        if (m_count == static_cast<long>(m_blocks.size()) * m_rowsPerBlock) {
            // Left uninitialised: every cell is written before it is read.
            m_blocks.emplace_back(new Cell[static_cast<size_t>(m_rowsPerBlock) * m_columns]);
        }
        return Row(m_count++);
    }
    // Removes row r; the rows after it move up by one.
    void Erase(long r) noexcept {
        for (long i = r; i + 1 < m_count; ++i) std::copy_n(Row(i + 1), m_columns, Row(i));
        --m_count;
    }

private:
    static constexpr int kBlockCells = 4096;
    std::vector<std::unique_ptr<Cell[]>> m_blocks;
    int m_columns = 0;
    int m_rowsPerBlock = 1;
    long m_count = 0;
};

}  // namespace dbdetail
