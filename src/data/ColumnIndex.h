#pragma once
// The rows of one column by value, for finding "field = literal" without a scan.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/JetCondition.h"
#include "data/RowStore.h"

namespace dbdetail {

struct ColumnIndex {
    struct NumberHash {
        size_t operator()(double v) const noexcept { return std::hash<double>()(v); }
    };
    std::unordered_map<double, std::vector<std::uint32_t>, NumberHash> numbers;
    std::unordered_map<std::string, std::vector<std::uint32_t>> texts;

    // Indexes column of every row of rows; the row numbers in each list ascend.
    void Build(const CRowStore& rows, int column);

    // -0 and 0 are equal, so they must hash alike.
    static double NumberKey(double v) { return v == 0.0 ? 0.0 : v; }

    // The rows holding literal (texts compared as the program sorts them); null for none.
    const std::vector<std::uint32_t>* Lookup(const CJetValue& literal) const;
};

}  // namespace dbdetail
