#include "table/CellData.h"

#include <cstring>
#include <utility>

#include "data/ValueRoutines.h"

CellData::CellData(std::string kind, CVariant v, std::int32_t t)
    : cellClass(std::move(kind)), value(std::move(v)), tag(t) {}

CellData::CellData(const CellData& other)
    : cellClass(other.cellClass), value(other.value), tag(other.tag) {
    SetExtra(other.extra.get(), other.extraSize);
}

CellData& CellData::operator=(const CellData& other) {
    if (this != &other) {
        cellClass = other.cellClass;
        value = other.value;
        tag = other.tag;
        SetExtra(other.extra.get(), other.extraSize);
    }
    return *this;
}

void CellData::SetExtra(const void* bytes, std::uint32_t size) {
    if (size == 0 || bytes == nullptr) {
        extra.reset();
        extraSize = 0;
        return;
    }
    // Allocate before releasing the old block, so `bytes` may point into it.
    auto block = std::make_unique_for_overwrite<std::uint8_t[]>(size);
    std::memcpy(block.get(), bytes, size);
    extra = std::move(block);
    extraSize = size;
}

void CellData::SetYear(std::int32_t year) { SetExtra(&year, sizeof year); }

bool CellData::GetYear(std::int32_t& year) const {
    if (extraSize != sizeof year || !extra) return false;
    std::memcpy(&year, extra.get(), sizeof year);
    return true;
}

std::string CellText(const CellData& record) {
    double number = 0.0;
    std::string text = ToNumber(record.value, number) ? FormatNumber(number) : ToText(record.value);
    const char* blanks = " \t\r\n\v\f";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return {};
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

std::string CellHTML(const CellData& record) {
    std::string text = CellText(record);
    return "<TD><FONT FACE='sans-serif' SIZE=-1>" + (text.empty() ? std::string("&nbsp;") : text)
           + "</FONT></TD>";
}
