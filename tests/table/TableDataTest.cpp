// The grid's content without windows: filling, ranges and sorting.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data/ValueRoutines.h"
#include "table/CellData.h"
#include "table/TableData.h"

namespace {

CellData Cell(CVariant value, std::int32_t tag = 0) {
    return CellData("CTableCell", std::move(value), tag);
}

CVariant Num(double v) { return CVariant::FromDouble(v); }
CVariant Text(const char* t) { return CVariant::FromText(t); }

// A table of one data column: the header row and one row per value, each row header
// tagged with its original position.
void FillColumn(CTableData& table, const std::vector<CVariant>& values) {
    table.AddRow(Cell(Text(" ")), 48);
    table.AddColumn(Cell(Text("Wert")), 220);
    for (std::size_t i = 0; i < values.size(); ++i) {
        const int row = table.AddRow(Cell(Text("Land"), static_cast<int>(i) + 1), 60 + i) - 1;
        ASSERT_TRUE(table.SetData(1, row, Cell(values[i], static_cast<int>(i) + 1)));
    }
}

std::vector<std::int32_t> TagsOfColumn(const CTableData& table, int column) {
    std::vector<std::int32_t> tags;
    for (int row = 1; row < table.GetRowCount(); ++row) tags.push_back(table.GetTag(column, row));
    return tags;
}

}  // namespace

TEST(TableData, FirstRecordBecomesTheCornerAndLaterOnesCount) {
    CTableData table;
    EXPECT_EQ(table.AddRow(Cell(Text(" ")), 48), 1);
    EXPECT_EQ(table.GetRowCount(), 1);
    EXPECT_EQ(table.GetColumnCount(), 1);
    EXPECT_EQ(table.GetTotalHeight(), 0);
    EXPECT_EQ(table.GetTotalWidth(), 0);
    ASSERT_NE(table.GetData(0, 0), nullptr);

    EXPECT_EQ(table.AddRow(Cell(Text("Fläche"), 7), 67), 2);
    EXPECT_EQ(table.AddColumn(Cell(Text("Deutschland"), 3), 300), 2);
    EXPECT_EQ(table.AddColumn(Cell(Text("Frankreich"), 4), 300), 3);
    EXPECT_EQ(table.GetTotalHeight(), 67);
    EXPECT_EQ(table.GetTotalWidth(), 600);
    EXPECT_EQ(table.GetTag(0, 1), 7);
    EXPECT_EQ(table.GetTag(2, 0), 4);

    // The same when a column comes first.
    CTableData byColumn;
    EXPECT_EQ(byColumn.AddColumn(Cell(Text(" ")), 175), 1);
    EXPECT_EQ(byColumn.GetRowCount(), 1);
    EXPECT_EQ(byColumn.GetTotalWidth(), 0);

    table.SetSelection(1, 1);
    table.SortByColumn(1, true);
    table.Clear();
    EXPECT_EQ(table.GetRowCount(), 0);
    EXPECT_EQ(table.GetColumnCount(), 0);
    EXPECT_EQ(table.GetSortColumn(), -1);
    EXPECT_EQ(table.GetSelectedRow(), 0);
    EXPECT_EQ(table.GetData(0, 0), nullptr);
}

TEST(TableData, SetDataRefusesHeadersAndOutsideAndStoresDeepCopies) {
    CTableData table;
    table.AddRow(Cell(Text(" ")), 48);
    table.AddRow(Cell(Text("Einwohner")), 67);
    table.AddColumn(Cell(Text("Polen")), 300);

    EXPECT_FALSE(table.SetData(0, 1, Cell(Num(1))));
    EXPECT_FALSE(table.SetData(1, 0, Cell(Num(1))));
    EXPECT_FALSE(table.SetData(2, 1, Cell(Num(1))));
    EXPECT_FALSE(table.SetData(1, 2, Cell(Num(1))));
    EXPECT_FALSE(table.SetData(-1, 1, Cell(Num(1))));
    EXPECT_EQ(table.GetData(5, 5), nullptr);

    CellData original = Cell(Num(38.2));
    original.SetYear(2002);
    ASSERT_TRUE(table.SetData(1, 1, original));
    original.SetYear(1999);
    original.value = Text("geändert");

    const CellData* stored = table.GetData(1, 1);
    ASSERT_NE(stored, nullptr);
    std::int32_t year = 0;
    ASSERT_TRUE(stored->GetYear(year));
    EXPECT_EQ(year, 2002);
    EXPECT_NE(stored->extra.get(), original.extra.get());

    CellData copy;
    ASSERT_TRUE(table.CopyData(1, 1, copy));
    EXPECT_EQ(copy.value, Num(38.2));
    EXPECT_NE(copy.extra.get(), stored->extra.get());
    EXPECT_FALSE(table.CopyData(0, 5, copy));

    // Replacing keeps one record per position.
    ASSERT_TRUE(table.SetData(1, 1, Cell(Text("k.A."))));
    EXPECT_FALSE(table.GetData(1, 1)->GetYear(year));
}

TEST(TableData, ColumnRangeIgnoresHeaderRowAndIncomparableValuesAndOnlyWidens) {
    CTableData table;
    FillColumn(table, {Num(5), Num(-2), Text("k.A."), Num(12)});
    EXPECT_EQ(table.GetColumnMin(1), Num(-2));
    EXPECT_EQ(table.GetColumnMax(1), Num(12));

    // A header stored at row 0 is no value of the column.
    table.StoreData(1, 0, Cell(Num(1000)));
    EXPECT_EQ(table.GetColumnMax(1), Num(12));

    // Replacing the maximum by a smaller value leaves the bound where it was.
    table.SetData(1, 4, Cell(Num(3)));
    EXPECT_EQ(table.GetColumnMax(1), Num(12));

    table.ClearColumnRange(1);
    EXPECT_TRUE(table.GetColumnMin(1).IsEmpty());
    EXPECT_TRUE(table.GetColumnMax(1).IsEmpty());
    table.SetData(1, 1, Cell(Num(7)));
    EXPECT_EQ(table.GetColumnMin(1), Num(7));
    EXPECT_EQ(table.GetColumnMax(1), Num(7));
    EXPECT_TRUE(table.GetColumnMin(9).IsEmpty());
}

TEST(TableData, SortingEqualValuesKeepsTheSelectionOnItsRecord) {
    CTableData table;
    FillColumn(table, std::vector<CVariant>(9, Num(4)));
    table.SetSelection(1, 3);
    const int heightOfSelected = table.GetRowHeight(3);
    for (bool ascending : {true, false, true}) {
        ASSERT_TRUE(table.SortByColumn(1, ascending));
        const int row = table.GetSelectedRow();
        EXPECT_EQ(table.GetTag(1, row), 3);
        EXPECT_EQ(table.GetTag(0, row), 3);
        EXPECT_EQ(table.GetRowHeight(row), heightOfSelected);
    }
    EXPECT_EQ(table.GetSortColumn(), 1);
    EXPECT_TRUE(table.IsSortAscending());
}

TEST(TableData, SortingPutsTextsAfterNumbersInBothDirections) {
    CTableData table;
    FillColumn(table, {Text("k.A."), Num(3), Num(-1), Text("Ödland"), CVariant(), Num(10),
                       Text("Anmerkung"), Num(3)});
    ASSERT_TRUE(table.SortByColumn(1, true));
    std::vector<CVariant> values;
    for (int row = 1; row < table.GetRowCount(); ++row)
        values.push_back(table.GetData(1, row)->value);
    EXPECT_EQ(values, (std::vector<CVariant>{Num(-1), Num(3), Num(3), Num(10), CVariant(),
                                             Text("Anmerkung"), Text("k.A."), Text("Ödland")}));

    ASSERT_TRUE(table.SortByColumn(1, false));
    values.clear();
    for (int row = 1; row < table.GetRowCount(); ++row)
        values.push_back(table.GetData(1, row)->value);
    EXPECT_EQ(values, (std::vector<CVariant>{Num(10), Num(3), Num(3), Num(-1), Text("Ödland"),
                                             Text("k.A."), Text("Anmerkung"), CVariant()}));
    // Every row moved whole: header and data cell still belong together.
    for (int row = 1; row < table.GetRowCount(); ++row) {
        EXPECT_EQ(table.GetTag(0, row), table.GetTag(1, row));
    }
}

TEST(TableData, SortingOrdersLikeAStableSortByTheSameComparison) {
    // Many duplicates and mixed kinds, in several sizes, against std::stable_sort.
    std::mt19937 random(2004);
    for (int size : {1, 2, 3, 17, 200, 1000}) {
        std::vector<CVariant> values;
        for (int i = 0; i < size; ++i) {
            switch (random() % 4) {
                case 0:
                    values.push_back(Text(i % 2 ? "Ägypten" : "Zypern"));
                    break;
                case 1:
                    values.push_back(CVariant::FromLong(static_cast<int>(random() % 7)));
                    break;
                default:
                    values.push_back(Num(static_cast<double>(random() % 50) / 4.0));
            }
        }
        CTableData table;
        FillColumn(table, values);
        ASSERT_TRUE(table.SortByColumn(1, true));
        // Compared by the shown text, since 3 and 3.0 are equal but written differently.
        std::vector<std::string> got;
        for (int row = 1; row < table.GetRowCount(); ++row) {
            got.push_back(CellText(*table.GetData(1, row)));
        }
        auto before = [](const CVariant& a, const CVariant& b) {
            double x = 0.0;
            double y = 0.0;
            const bool an = ToNumber(a, x);
            const bool bn = ToNumber(b, y);
            if (an != bn) return an;
            int order = 0;
            CompareValues(a, b, order);
            return order < 0;
        };
        std::stable_sort(values.begin(), values.end(), before);
        std::vector<std::string> expected;
        for (const CVariant& v : values) expected.push_back(CellText(Cell(v)));
        EXPECT_EQ(got, expected) << "size " << size;
        std::vector<std::int32_t> tags = TagsOfColumn(table, 1);
        std::sort(tags.begin(), tags.end());
        for (int i = 0; i < size; ++i) ASSERT_EQ(tags[i], i + 1);
    }
}

TEST(TableData, SortingTheHeaderColumnUsesSortKeys) {
    CTableData table;
    table.AddRow(Cell(Text(" ")), 48);
    table.AddColumn(Cell(Text("Fläche")), 220);
    for (const char* name : {"Österreich", "Oman", "Dänemark", "Deutschland", "Äthiopien"}) {
        table.AddRow(Cell(Text(name)), 67);
    }
    ASSERT_TRUE(table.SortByColumn(0, true));
    std::vector<std::string> names;
    for (int row = 1; row < table.GetRowCount(); ++row) {
        names.push_back(table.GetData(0, row)->value.Text());
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Äthiopien", "Dänemark", "Deutschland", "Oman",
                                               "Österreich"}));
    EXPECT_EQ(table.GetData(0, 0)->value, Text(" "));
    EXPECT_FALSE(table.SortByColumn(5, true));
    CTableData empty;
    EXPECT_FALSE(empty.SortByColumn(0, true));
}

TEST(TableData, ColumnsStopAtTheStoresLimit) {
    CTableData table;
    table.AddRow(Cell(Text(" ")), 48);
    for (int c = 1; c < CTableData::kMaxColumns; ++c) table.AddColumn(Cell(Num(c)), 10);
    EXPECT_EQ(table.GetColumnCount(), CTableData::kMaxColumns);
    EXPECT_EQ(table.AddColumn(Cell(Num(0)), 10), CTableData::kMaxColumns);
    EXPECT_EQ(table.GetTotalWidth(), (CTableData::kMaxColumns - 1) * 10);
}

TEST(CellData, TextAndHtmlOfTheBaseCell) {
    EXPECT_EQ(CellText(Cell(Num(1234567.5))), "1.234.567,5");
    EXPECT_EQ(CellText(Cell(CVariant::FromShort(-12))), "-12");
    EXPECT_EQ(CellText(Cell(Text("  k.A.\n"))), "k.A.");
    EXPECT_EQ(CellHTML(Cell(Text(" "))), "<TD><FONT FACE='sans-serif' SIZE=-1>&nbsp;</FONT></TD>");
    EXPECT_EQ(CellHTML(Cell(Num(0.25))), "<TD><FONT FACE='sans-serif' SIZE=-1>0,25</FONT></TD>");
}
