#pragma once
// The cell kinds of the two table views as they write themselves without a window: the HTML
// table cell of a record, chosen by the kind its record names. The export, the printout and
// kompendor-cli use it, and the kinds' windows answer GetCellHTML with it.

#include <string>

struct CellData;

// Names of the cell kinds, as records name them.
namespace cellkind {
inline constexpr const char* kCellLand = "CCellLand";
inline constexpr const char* kColHeadLand = "CColHeadLand";
inline constexpr const char* kRootLand = "CRootLand";
inline constexpr const char* kRowHeadLand = "CRowHeadLand";
inline constexpr const char* kCellData = "CCellData";
inline constexpr const char* kColHeadData = "CColHeadData";
inline constexpr const char* kRootData = "CRootData";
inline constexpr const char* kRowHeadData = "CRowHeadData";
inline constexpr const char* kCellDataYear = "CCellDataYear";
inline constexpr const char* kColHeadDataYear = "CColHeadDataYear";
}  // namespace cellkind

// The record's HTML table cell as its kind writes it; a kind without a form of its own
// (and an unknown one) writes the shared form. Texts are written as they are, not escaped.
std::string CellKindHTML(const CellData& record);
