#include "data/ColumnIndex.h"

#include "data/RowReader.h"
#include "data/ValueRoutines.h"

namespace dbdetail {

void ColumnIndex::Build(const CRowStore& rows, int column) {
    const long count = rows.Count();
    for (long r = 0; r < count; ++r) {
        const Cell& cell = rows.Row(r)[column];
        CJetValue value = JetValueOf(cell);
        if (value.kind == CJetValue::Number)
            numbers[NumberKey(value.number)].push_back(static_cast<std::uint32_t>(r));
        else if (value.kind == CJetValue::Text)
            texts[SortKey(std::string(value.text))].push_back(static_cast<std::uint32_t>(r));
    }
}

const std::vector<std::uint32_t>* ColumnIndex::Lookup(const CJetValue& literal) const {
    if (literal.kind == CJetValue::Number) {
        auto it = numbers.find(NumberKey(literal.number));
        return it == numbers.end() ? nullptr : &it->second;
    }
    if (literal.kind == CJetValue::Text) {
        auto it = texts.find(SortKey(std::string(literal.text)));
        return it == texts.end() ? nullptr : &it->second;
    }
    return nullptr;
}

}  // namespace dbdetail
