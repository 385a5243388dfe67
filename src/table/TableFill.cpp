#include "table/TableFill.h"

#include <string>
#include <vector>

#include "data/DataRow.h"
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

        const std::string findRow = std::string(view.rows.dataKey) + "=%li";
        for (std::size_t c = 0; c < columnIds.size(); ++c) {
            CRecordset data(&db);
            CDBBusyCursor busy;
            data.Open(SqlFormat("SELECT * FROM Data WHERE %s=%li ORDER BY Jahr DESC",
                                view.columns.dataKey,
                                long(static_cast<std::int32_t>(columnIds[c]))));
            const bool withYear = view.years == CTableView::Years::PerCell || yearColumn[c];
            const char* kind = yearColumn[c] ? view.cellYearKind : view.cellKind;
            for (std::size_t r = 0; r < rowIds.size(); ++r) {
                CellData cell(kind, view.noValueAsText ? CVariant::FromText(kNoValue)
                                                       : CVariant::FromDouble(0.0));
                std::int32_t year = 0;
                // The rows come newest first, so the first match is the newest value.
                if (data.FindFirst(
                        SqlFormat(findRow.c_str(), long(static_cast<std::int32_t>(rowIds[r]))))) {
                    year = DataYear(data);
                    CVariant value = DataValue(data);
                    double number = 0.0;
                    if (!view.noValueAsText || value.IsText()
                        || (ToNumber(value, number) && number != 0.0)) {
                        cell.value = std::move(value);
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
        CRecordset data(&db);
        CDBBusyCursor busy;
        data.Open(SqlFormat("SELECT * FROM Data WHERE ValID=%li ORDER BY Jahr DESC",
                            long(table.GetTag(column, 0))));
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
            if (data.FindFirst(
                    SqlFormat("LandID=%li AND Jahr<=%li", long(table.GetTag(0, r)), long(year)))) {
                cell.value = DataValue(data);
                found = DataYear(data);
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
