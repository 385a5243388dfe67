#include "table/TableFill.h"

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

bool FillStaaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
                 CFillProgress* progress) {
    const long long fields = static_cast<long long>(dataIds.size());
    const long long lands = static_cast<long long>(countries.size());
    Start(progress, fields + lands * fields + lands);
    table.Clear();
    table.AddRow(CellData(cellkind::kRootLand, CVariant::FromText(" ")), kTableCornerHeight);

    bool cancelled = false;
    DBGuard("CTableWnd::DisplayStaaten", [&] {
        CRecordset val(&db);
        val.Open("SELECT * FROM Val ORDER BY ID ASC");
        for (std::uint32_t id : dataIds) {
            table.AddRow(HeaderRecord(val, id, "NAME_MIDI", cellkind::kRowHeadLand),
                         kTableRowHeight);
            if (!Step(progress)) return void(cancelled = true);
        }
        val.Close();

        CRecordset land(&db);
        land.Open("SELECT * FROM Land ORDER BY ID ASC");
        for (std::uint32_t id : countries) {
            table.AddColumn(HeaderRecord(land, id, "Title", cellkind::kColHeadLand),
                            kStaatenColumnWidth);
            if (!Step(progress)) return void(cancelled = true);
        }
        land.Close();

        for (std::size_t c = 0; c < countries.size(); ++c) {
            CRecordset data(&db);
            CDBBusyCursor busy;
            data.Open(SqlFormat("SELECT * FROM Data WHERE LandID=%li ORDER BY Jahr DESC",
                                long(static_cast<std::int32_t>(countries[c]))));
            for (std::size_t r = 0; r < dataIds.size(); ++r) {
                CellData cell(cellkind::kCellLand, CVariant::FromText(kNoValue));
                std::int32_t year = 0;
                // The rows come newest first, so the first match is the newest value.
                if (data.FindFirst(
                        SqlFormat("ValID=%li", long(static_cast<std::int32_t>(dataIds[r]))))) {
                    year = DataYear(data);
                    CVariant value = DataValue(data);
                    double number = 0.0;
                    if (value.IsText() || (ToNumber(value, number) && number != 0.0)) {
                        cell.value = std::move(value);
                    }
                }
                cell.SetYear(year);
                table.SetData(static_cast<int>(c) + 1, static_cast<int>(r) + 1, cell);
                if (!Step(progress)) return void(cancelled = true);
            }
        }
    });
    return !cancelled;
}

bool FillDaten(CDatabase& db, CTableData& table, const IdList& countries, const IdList& dataIds,
               CFillProgress* progress) {
    const long long fields = static_cast<long long>(dataIds.size());
    const long long lands = static_cast<long long>(countries.size());
    Start(progress, fields + fields * lands + lands);
    table.Clear();
    table.AddRow(CellData(cellkind::kRootData, CVariant::FromText(" ")), kTableCornerHeight);

    bool cancelled = false;
    DBGuard("CTableWnd::DisplayDaten", [&] {
        CRecordset land(&db);
        land.Open("SELECT * FROM Land ORDER BY ID ASC");
        for (std::uint32_t id : countries) {
            table.AddRow(HeaderRecord(land, id, "Title", cellkind::kRowHeadData), kTableRowHeight);
            if (!Step(progress)) return void(cancelled = true);
        }
        land.Close();

        std::vector<bool> withYears;
        CRecordset val(&db);
        val.Open("SELECT * FROM Val ORDER BY ID ASC");
        for (std::uint32_t id : dataIds) {
            const auto valId = static_cast<std::int32_t>(id);
            const bool years = hasYears(&db, valId);
            withYears.push_back(years);
            CellData header = HeaderRecord(
                val, id, "NAME_MIDI", years ? cellkind::kColHeadDataYear : cellkind::kColHeadData);
            header.SetYear(
                static_cast<std::int32_t>(years ? GetLatestYear(&db, valId) : kReferenceYear));
            table.AddColumn(header, kDatenColumnWidth);
            if (!Step(progress)) return void(cancelled = true);
        }
        val.Close();

        for (std::size_t c = 0; c < dataIds.size(); ++c) {
            CRecordset data(&db);
            CDBBusyCursor busy;
            data.Open(SqlFormat("SELECT * FROM Data WHERE ValID=%li ORDER BY Jahr DESC",
                                long(static_cast<std::int32_t>(dataIds[c]))));
            for (std::size_t r = 0; r < countries.size(); ++r) {
                CellData cell(withYears[c] ? cellkind::kCellDataYear : cellkind::kCellData,
                              CVariant::FromDouble(0.0));
                std::int32_t year = 0;
                if (data.FindFirst(
                        SqlFormat("LandID=%li", long(static_cast<std::int32_t>(countries[r]))))) {
                    cell.value = DataValue(data);
                    year = DataYear(data);
                }
                if (withYears[c]) cell.SetYear(year);
                table.SetData(static_cast<int>(c) + 1, static_cast<int>(r) + 1, cell);
                if (!Step(progress)) return void(cancelled = true);
            }
        }
    });
    if (cancelled) return false;
    table.SortByColumn(0, true);
    return true;
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
