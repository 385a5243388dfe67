#pragma once
// Filling the grid's store from the almanac in the two views, and refilling one column for a
// year. The same code runs behind the table window (with its progress window) and behind
// kompendor-cli (without one). The grid's windows are the caller's business: the window
// destroys its cell windows before a fill and rebuilds the visible block afterwards.

#include <cstdint>

#include "table/TableHost.h"

class CDatabase;
class CTableData;

// Sizes of the two views, in pixels.
inline constexpr int kTableRowHeaderWidth = 175;
inline constexpr int kTableColumnHeaderHeight = 50;
inline constexpr int kTableCornerHeight = 48;
inline constexpr int kTableRowHeight = 67;
inline constexpr int kStaatenColumnWidth = 300;
inline constexpr int kDatenColumnWidth = 220;

// The progress of one filling run.
class CFillProgress {
public:
    virtual ~CFillProgress() = default;
    // Announces the number of steps before the first one.
    virtual void Start(int total) = 0;
    // Reports one stored record; false once the user has cancelled the run.
    virtual bool Step() = 0;
};

// Country columns and data-field rows: the corner, one row header per data field, one column
// header per country and one data cell per pair, each the newest value with its year ("k.A."
// where there is none). The store is cleared first. False when the run was cancelled: the
// store then keeps what was stored so far. A database failure is reported with the context
// "CTableWnd::DisplayStaaten" and ends the run with true; progress may be null.
bool FillStaaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
                 CFillProgress* progress);

// Data-field columns and country rows, sorted by country name: one column header per field
// (with its newest year when the field has years, else the reference year), one data cell
// per pair with the newest value (the number 0 where there is none). Otherwise as
// FillStaaten; context "CTableWnd::DisplayDaten".
bool FillDaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
               CFillProgress* progress);

// Refills data column `column` of the data-field view with each country's newest value not
// after `year` (the number 0 and year 0 where there is none), scales the column's range to
// the new values only, sets the header's year and sorts the rows again when the table is
// sorted by this column. A cancel does not stop it. Nothing happens for a column outside the
// data columns. Database failures are reported with the context "CTableWnd::SetColYear".
void FillColYear(CDatabase& db, CTableData& table, int column, unsigned year,
                 CFillProgress* progress);
