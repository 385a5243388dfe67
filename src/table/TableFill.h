#pragma once
// Filling the grid's store from the almanac in the two views, and refilling one column for a
// year. The same code runs behind the table window (with its progress window) and behind
// kompendor-cli (without one). The grid's windows are the caller's business: the window
// destroys its cell windows before a fill and rebuilds the visible block afterwards.

#include <cstdint>
#include <string>

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

// What one axis of a view lists: the countries (table Land) or the data fields (table Val).
struct CTableAxis {
    bool countries;         // takes the country list, else the data-field list
    const char* table;      // "Land", "Val"
    const char* nameField;  // the header's text: "Title", "NAME_MIDI"
    const char* dataKey;    // the axis' column in Data: "LandID", "ValID"
};
inline constexpr CTableAxis kLandAxis{true, "Land", "Title", "LandID"};
inline constexpr CTableAxis kValAxis{false, "Val", "NAME_MIDI", "ValID"};

// One of the two table views: what its rows and columns list, its cell kinds and sizes, and
// how a cell reads where the almanac has no value. One fill routine builds either view from
// its record.
struct CTableView {
    // Where the years of the values go.
    enum class Years {
        // Every data cell carries the year of its value (country columns).
        PerCell,
        // A data field with a year list gets the year kinds: its header carries the newest
        // year of the list, its cells the years of their values; every other field's header
        // carries the reference year and its cells no year (data-field columns).
        PerField,
    };

    const char* context;  // the fill's error context
    CTableAxis rows;
    CTableAxis columns;
    const char* cornerKind;
    const char* rowHeadKind;
    const char* columnHeadKind;
    const char* columnHeadYearKind;  // Years::PerField only
    const char* cellKind;
    const char* cellYearKind;  // Years::PerField only
    int columnWidth;
    Years years;
    // A missing value, and a value of 0, show the text "k.A."; otherwise a missing value is
    // the number 0 and a value stays as it is.
    bool noValueAsText;
    // The rows are sorted by their names (column 0, ascending) once filled.
    bool sortRows;
};

// Country columns and data-field rows (DisplayStaaten): each cell the newest value with its
// year, "k.A." where there is none; not sorted. Context "CTableWnd::DisplayStaaten".
extern const CTableView kStaatenView;
// Data-field columns and country rows (DisplayDaten), sorted by country name; each cell the
// newest value (the number 0 where there is none). Context "CTableWnd::DisplayDaten".
extern const CTableView kDatenView;

// The view whose corner is of that kind; null for any other kind.
const CTableView* ViewOfCorner(const std::string& cornerKind);

// Fills the store in a view: the corner, one row header per row ID and one column header per
// column ID (the lists of the view's axes, in the given order), then one data cell per pair.
// The store is cleared first. False when the run was cancelled: the store then keeps what was
// stored so far. A database failure is reported with the view's context and ends the run with
// true; progress may be null.
bool FillTable(const CTableView& view, CDatabase& db, CTableData& table, const IdList& countries,
               const IdList& dataIds, CFillProgress* progress);

// FillTable in the country-column and the data-column view.
bool FillStaaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
                 CFillProgress* progress);
bool FillDaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
               CFillProgress* progress);

// Refills data column `column` of the data-field view with each country's newest value not
// after `year` (the number 0 and year 0 where there is none), scales the column's range to
// the new values only, sets the header's year and sorts the rows again when the table is
// sorted by this column. A cancel does not stop it. Nothing happens for a column outside the
// data columns. Database failures are reported with the context "CTableWnd::SetColYear".
void FillColYear(CDatabase& db, CTableData& table, int column, unsigned year,
                 CFillProgress* progress);
