// Filling the grid's store headless: 250 columns by 150 rows, 37 500 data records with a
// year each, as the data-column view stores them.
#include <benchmark/benchmark.h>

#include <vector>

#include "table/TableData.h"

namespace {

constexpr int kColumns = 250;
constexpr int kRows = 150;

CellData DataRecord(int column, int row) {
    CellData record("CCellDataYear", CVariant::FromDouble(column * 1.5 + row));
    record.SetYear(2002);
    return record;
}

void BM_FillStore(benchmark::State& state) {
    CTableData table;
    for (auto _ : state) {
        table.Clear();
        table.AddRow(CellData("CRootData", CVariant::FromText(" ")), 48);
        for (int r = 1; r <= kRows; ++r) {
            table.AddRow(CellData("CRowHeadData", CVariant::FromText("Land"), r), 67);
        }
        for (int c = 1; c <= kColumns; ++c) {
            CellData header("CColHeadDataYear", CVariant::FromText("Datenfeld"), c);
            header.SetYear(2002);
            table.AddColumn(header, 220);
        }
        CellData record = DataRecord(0, 0);
        for (int c = 1; c <= kColumns; ++c) {
            for (int r = 1; r <= kRows; ++r) {
                record.value = CVariant::FromDouble(c * 1.5 + r);
                table.SetData(c, r, record);
            }
        }
        benchmark::DoNotOptimize(table.GetData(kColumns, kRows));
    }
    state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_FillStore)->Unit(benchmark::kMillisecond);

// Baseline: the same number of record copies into a plain vector.
void BM_CopyRecordsBaseline(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<CellData> records;
        records.reserve(kColumns * kRows);
        CellData record = DataRecord(0, 0);
        for (int c = 1; c <= kColumns; ++c) {
            for (int r = 1; r <= kRows; ++r) {
                record.value = CVariant::FromDouble(c * 1.5 + r);
                records.push_back(record);
            }
        }
        benchmark::DoNotOptimize(records.data());
    }
    state.SetItemsProcessed(state.iterations() * kColumns * kRows);
}
BENCHMARK(BM_CopyRecordsBaseline)->Unit(benchmark::kMillisecond);

// Sorting the filled table by a data column, both ways in turn.
void BM_SortColumn(benchmark::State& state) {
    CTableData table;
    table.AddRow(CellData("CRootData", CVariant::FromText(" ")), 48);
    for (int r = 1; r <= kRows; ++r) table.AddRow(CellData("CRowHeadData", CVariant(), r), 67);
    for (int c = 1; c <= kColumns; ++c) {
        table.AddColumn(CellData("CColHeadData", CVariant(), c), 220);
        for (int r = 1; r <= kRows; ++r) table.SetData(c, r, DataRecord(c, (r * 7919) % kRows));
    }
    bool ascending = true;
    for (auto _ : state) {
        table.SortByColumn(3, ascending);
        ascending = !ascending;
    }
}
BENCHMARK(BM_SortColumn)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
