#pragma once
// Reading the fields of a result row into cells, by the kind each column's declared type
// reads as (see Database.h), and turning cells back into values.

#include <sqlite3.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "data/JetCondition.h"
#include "data/RowStore.h"
#include "data/TextArena.h"
#include "data/Variant.h"

namespace dbdetail {

enum class DeclKind : std::uint8_t { None, I4, I2, UI1, R8, R4, Text, Bool };

DeclKind KindOfDeclared(const char* declared);

// The declared kinds of the columns and what reading a row needs between rows.
struct RowReader {
    std::vector<DeclKind> kinds;
    // The last text of each column: a source note repeated down a column is stored once.
    std::vector<std::string_view> lastText;
    CTextArena* arena;

    Cell Read(sqlite3_stmt* stmt, int column);
    Cell ReadText(sqlite3_stmt* stmt, int column);
};

CVariant VariantOf(const Cell& cell);
CJetValue JetValueOf(const Cell& cell);

}  // namespace dbdetail
