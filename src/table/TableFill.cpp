#include "table/TableFill.h"

#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "data/DataRow.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "table/CellKindHTML.h"
#include "table/TableData.h"
#include "table/YearLogic.h"

namespace {

// What a cell shows where the almanac has no value for it.
constexpr const char* kNoValue = "k.A.";

void Start(CFillProgress* progress, long long total) {
    if (progress != nullptr) progress->Start(static_cast<int>(total));
}

bool Step(CFillProgress* progress) { return progress == nullptr || progress->Step(); }

// A header record from the current row of a recordset found by ID; an ID without a row gets
// an empty name rather than the name of whatever row the recordset stood on.
CellData HeaderRecord(CRecordset& rs, std::uint32_t id, const char* field, const char* kind) {
    CellData record(kind, CVariant::FromText(std::string()), static_cast<std::int32_t>(id));
    if (rs.FindFirst(SqlFormat("ID=%li", long(static_cast<std::int32_t>(id))))) {
        record.value = rs.GetFieldValue(field);
    }
    return record;
}

// The rows of a table by the ID in their header, for placing values as they are read.
class CRowsById {
public:
    explicit CRowsById(const IdList& ids) : m_count(ids.size()) {
        for (std::size_t r = 0; r < ids.size(); ++r)
            m_rows[static_cast<std::int32_t>(ids[r])].push_back(r);
    }
    std::size_t Count() const { return m_count; }
    // The rows whose ID equals value (a number, as a Jet condition "key=ID" compares it).
    const std::vector<std::size_t>* Find(const CVariant& value) const {
        double number = 0.0;
        if (!ToNumber(value, number)) return nullptr;
        const auto id = static_cast<std::int32_t>(number);
        if (static_cast<double>(id) != number) return nullptr;
        auto it = m_rows.find(id);
        return it == m_rows.end() ? nullptr : &it->second;
    }

private:
    std::unordered_map<std::int32_t, std::vector<std::size_t>> m_rows;
    std::size_t m_count;
};

// The newest value of one table row, when the almanac has one.
struct CNewest {
    bool found = false;
    CVariant value;
    std::int32_t year = 0;
};

// Reads the Data rows of sql (newest first) once, forward only, and keeps for every table row
// the first whose key column holds the row's ID, and, with upToYear, whose year is not after
// it: the value FindFirst("key=ID [AND Jahr<=year]") would find, without holding all rows.
std::vector<CNewest> NewestValues(CDatabase& db, const std::string& sql, const char* key,
                                  const CRowsById& rows, std::optional<double> upToYear) {
    std::vector<CNewest> newest(rows.Count());
    std::size_t left = rows.Count();
    CRecordset data(&db);
    data.Open(sql, RecordsetType::ForwardOnly);
    const int keyField = data.GetFieldIndex(key);
    const int yearField = data.GetFieldIndex("Jahr");
    for (; left > 0 && !data.IsEOF(); data.MoveNext()) {
        const std::vector<std::size_t>* matches = rows.Find(data.GetFieldValue(keyField));
        if (matches == nullptr) continue;
        if (upToYear) {
            double year = 0.0;
            if (!ToNumber(data.GetFieldValue(yearField), year) || year > *upToYear) continue;
        }
        for (std::size_t r : *matches) {
            if (newest[r].found) continue;
            newest[r].found = true;
            newest[r].value = DataValue(data);
            newest[r].year = DataYear(data);
            --left;
        }
    }
    return newest;
}

}  // namespace

const CTableView kStaatenView{
    "CTableWnd::DisplayStaaten",
    kValAxis,
    kLandAxis,
    cellkind::kRootLand,
    cellkind::kRowHeadLand,
    cellkind::kColHeadLand,
    nullptr,
    cellkind::kCellLand,
    nullptr,
    kStaatenColumnWidth,
    CTableView::Years::PerCell,
    true,
    false,
};

const CTableView kDatenView{
    "CTableWnd::DisplayDaten",
    kLandAxis,
    kValAxis,
    cellkind::kRootData,
    cellkind::kRowHeadData,
    cellkind::kColHeadData,
    cellkind::kColHeadDataYear,
    cellkind::kCellData,
    cellkind::kCellDataYear,
    kDatenColumnWidth,
    CTableView::Years::PerField,
    false,
    true,
};

const CTableView* ViewOfCorner(const std::string& cornerKind) {
    for (const CTableView* view : {&kStaatenView, &kDatenView}) {
        if (cornerKind == view->cornerKind) return view;
    }
    return nullptr;
}

bool FillTable(const CTableView& view, CDatabase& db, CTableData& table, const IdList& countries,
               const IdList& dataIds, CFillProgress* progress) {
    const IdList& rowIds = view.rows.countries ? countries : dataIds;
    const IdList& columnIds = view.columns.countries ? countries : dataIds;
    const long long rows = static_cast<long long>(rowIds.size());
    const long long columns = static_cast<long long>(columnIds.size());
    Start(progress, rows + columns * rows + columns);
    table.Clear();
    table.AddRow(CellData(view.cornerKind, CVariant::FromText(" ")), kTableCornerHeight);

    bool cancelled = false;
    DBGuard(view.context, [&] {
        CRecordset heads(&db);
        heads.Open(SqlFormat("SELECT * FROM %s ORDER BY ID ASC", view.rows.table));
        for (std::uint32_t id : rowIds) {
            table.AddRow(HeaderRecord(heads, id, view.rows.nameField, view.rowHeadKind),
                         kTableRowHeight);
            if (!Step(progress)) return void(cancelled = true);
        }
        heads.Close();

        // Which columns are fields with years, and so carry the year kinds.
        std::vector<bool> yearColumn;
        heads.Open(SqlFormat("SELECT * FROM %s ORDER BY ID ASC", view.columns.table));
        for (std::uint32_t id : columnIds) {
            const bool years = view.years == CTableView::Years::PerField
                               && hasYears(&db, static_cast<std::int32_t>(id));
            yearColumn.push_back(years);
            CellData header = HeaderRecord(heads, id, view.columns.nameField,
                                           years ? view.columnHeadYearKind : view.columnHeadKind);
            if (view.years == CTableView::Years::PerField) {
                header.SetYear(static_cast<std::int32_t>(
                    years ? GetLatestYear(&db, static_cast<std::int32_t>(id)) : ReferenceYear()));
            }
            table.AddColumn(header, view.columnWidth);
            if (!Step(progress)) return void(cancelled = true);
        }
        heads.Close();

        const CRowsById rowsById(rowIds);
        for (std::size_t c = 0; c < columnIds.size(); ++c) {
            CDBBusyCursor busy;
            const std::vector<CNewest> newest = NewestValues(
                db,
                SqlFormat("SELECT * FROM Data WHERE %s=%li ORDER BY Jahr DESC",
                          view.columns.dataKey, long(static_cast<std::int32_t>(columnIds[c]))),
                view.rows.dataKey, rowsById, std::nullopt);
            const bool withYear = view.years == CTableView::Years::PerCell || yearColumn[c];
            const char* kind = yearColumn[c] ? view.cellYearKind : view.cellKind;
            for (std::size_t r = 0; r < rowIds.size(); ++r) {
                CellData cell(kind, view.noValueAsText ? CVariant::FromText(kNoValue)
                                                       : CVariant::FromDouble(0.0));
                std::int32_t year = 0;
                if (newest[r].found) {
                    year = newest[r].year;
                    const CVariant& value = newest[r].value;
                    double number = 0.0;
                    if (!view.noValueAsText || value.IsText()
                        || (ToNumber(value, number) && number != 0.0)) {
                        cell.value = value;
                    }
                }
                if (withYear) cell.SetYear(year);
                table.SetData(static_cast<int>(c) + 1, static_cast<int>(r) + 1, cell);
                if (!Step(progress)) return void(cancelled = true);
            }
        }
    });
    if (cancelled) return false;
    if (view.sortRows) table.SortByColumn(0, true);
    return true;
}

bool FillStaaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
                 CFillProgress* progress) {
    return FillTable(kStaatenView, db, table, countries, dataIds, progress);
}

bool FillDaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
               CFillProgress* progress) {
    return FillTable(kDatenView, db, table, countries, dataIds, progress);
}

void FillColYear(CDatabase& db, CTableData& table, int column, unsigned year,
                 CFillProgress* progress) {
    if (column < 1 || column >= table.GetColumnCount()) return;
    Start(progress, table.GetRowCount());
    table.ClearColumnRange(column);

    DBGuard("CTableWnd::SetColYear", [&] {
        CDBBusyCursor busy;
        IdList rowIds;
        for (int r = 1; r < table.GetRowCount(); ++r)
            rowIds.push_back(static_cast<std::uint32_t>(table.GetTag(0, r)));
        const std::vector<CNewest> newest
            = NewestValues(db,
                           SqlFormat("SELECT * FROM Data WHERE ValID=%li ORDER BY Jahr DESC",
                                     long(table.GetTag(column, 0))),
                           "LandID", CRowsById(rowIds), static_cast<double>(year));
        const CellData* header = table.GetData(column, 0);
        const bool yearColumn
            = header != nullptr && header->cellClass == cellkind::kColHeadDataYear;
        for (int r = 1; r < table.GetRowCount(); ++r) {
            CellData cell;
            if (!table.CopyData(column, r, cell)) {
                cell.cellClass = yearColumn ? cellkind::kCellDataYear : cellkind::kCellData;
            }
            cell.value = CVariant::FromDouble(0.0);
            std::int32_t found = 0;
            if (newest[r - 1].found) {
                cell.value = newest[r - 1].value;
                found = newest[r - 1].year;
            }
            cell.SetYear(found);
            table.SetData(column, r, cell);
            // This run is short and the column half refilled is worth less than waiting.
            Step(progress);
        }
        CellData head;
        if (table.CopyData(column, 0, head)) {
            head.SetYear(static_cast<std::int32_t>(year));
            table.StoreData(column, 0, head);
        }
    });

    if (column == table.GetSortColumn()) table.SortByColumn(column, table.IsSortAscending());
}
