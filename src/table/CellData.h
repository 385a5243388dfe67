#pragma once
// The record the grid stores per cell: which kind of cell shows it, its value, the database
// tag of a header, and a few extra bytes (the year of a value in this program).

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "data/Variant.h"

struct CellData {
    // Name of the cell kind that displays the record ("CCellLand", "CRootData", ...); the
    // grid creates the cell's window, and temporary cells for text and HTML, from it.
    std::string cellClass;
    // A number, a text or empty.
    CVariant value;
    // Database ID of the country or data field for header cells, 0 for data cells.
    std::int32_t tag = 0;
    // Number of bytes behind `extra`; 0 when the record has none.
    std::uint32_t extraSize = 0;
    // Owned extra bytes, null when extraSize is 0.
    std::unique_ptr<std::uint8_t[]> extra;

    CellData() = default;
    CellData(std::string kind, CVariant v, std::int32_t t = 0);
    // Copies are deep: the variant and a new block of the extra bytes.
    CellData(const CellData& other);
    CellData& operator=(const CellData& other);
    CellData(CellData&&) noexcept = default;
    CellData& operator=(CellData&&) noexcept = default;
    ~CellData() = default;

    // Replaces the extra bytes with a copy of `size` bytes at `bytes`; size 0 removes them.
    void SetExtra(const void* bytes, std::uint32_t size);
    // Stores a year as the 4 extra bytes.
    void SetYear(std::int32_t year);
    // The year in the 4 extra bytes; false (and `year` untouched) when the record has none.
    bool GetYear(std::int32_t& year) const;
};

// The text a cell shows for its record: numbers in German notation (FormatNumber), other
// values as their text, with white space trimmed at both ends.
std::string CellText(const CellData& record);

// One HTML table cell with the record's text ("&nbsp;" when the text is empty), the form
// every cell kind writes unless it has one of its own.
std::string CellHTML(const CellData& record);
