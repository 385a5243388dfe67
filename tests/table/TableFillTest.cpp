// Year functions, the filling of both views, the year refill and the HTML export, on the
// fixture almanac without any window.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "data/ErrorReporter.h"
#include "platform/AtomicFile.h"
#include "platform/TestFiles.h"
#include "table/CellKindHTML.h"
#include "table/TableAlmanac.h"
#include "table/TableData.h"
#include "table/TableFill.h"
#include "table/TableHTML.h"
#include "table/YearLogic.h"

using namespace fixture;

namespace {

class TableAlmanac : public testing::Test {
protected:
    TableAlmanac() {
        OpenTableAlmanac(db, CreateTableAlmanac(dir.Path()));
        ResetDBErrors();
    }

    CTempDir dir;
    CDatabase db;
    CTableData table;
};

// Counts the steps and cancels at step `cancelAt` (never with 0).
class CCountingProgress : public CFillProgress {
public:
    explicit CCountingProgress(int cancelAt = 0) : m_cancelAt(cancelAt) {}
    void Start(int total) override { announced = total; }
    bool Step() override { return ++steps != m_cancelAt; }

    int announced = -1;
    int steps = 0;

private:
    int m_cancelAt;
};

std::string Text(const CTableData& table, int column, int row) {
    const CellData* record = table.GetData(column, row);
    return record != nullptr ? CellText(*record) : "<none>";
}

std::int32_t Year(const CTableData& table, int column, int row) {
    std::int32_t year = -1;
    const CellData* record = table.GetData(column, row);
    if (record != nullptr) record->GetYear(year);
    return year;
}

// The cells of an HTML table, row by row: each "<TD...</TD>" fragment as written.
std::vector<std::vector<std::string>> Cells(const std::string& html) {
    std::vector<std::vector<std::string>> rows;
    std::size_t at = 0;
    while ((at = html.find("<TR>", at)) != std::string::npos) {
        const std::size_t end = html.find("</TR>", at);
        std::vector<std::string> cells;
        std::size_t cell = at;
        while ((cell = html.find("<TD", cell)) != std::string::npos && cell < end) {
            const std::size_t close = html.find("</TD>", cell) + 5;
            cells.push_back(html.substr(cell, close - cell));
            cell = close;
        }
        rows.push_back(cells);
        at = end;
    }
    return rows;
}

std::string Plain(const std::string& text) {
    return "<TD><FONT FACE='sans-serif' SIZE=-1>" + text + "</FONT></TD>";
}
std::string Bold(const std::string& text) {
    return "<TD><FONT FACE='sans-serif' SIZE=-1><B>" + text + "</B></FONT></TD>";
}
std::string Right(const std::string& text) {
    return "<TD ALIGN=RIGHT><FONT FACE='sans-serif' SIZE=-1>" + text + "</FONT></TD>";
}
std::string RightYear(const std::string& text, int year) {
    return "<TD ALIGN=RIGHT><FONT FACE='sans-serif' SIZE=-1>" + text + " <FONT SIZE=-2>("
           + std::to_string(year) + ")</FONT></FONT></TD>";
}

}  // namespace

TEST_F(TableAlmanac, FieldYearLists) {
    struct Case {
        long valId;
        bool has;
        bool collected;
        std::vector<unsigned> years;
        unsigned latest;
    };
    const Case cases[] = {
        {kEinwohner, true, true, {2002, 2000, 1998}, 2002},
        {kDichte, true, true, {2002, 2000}, 2002},
        // One year counts as having years, but gives no menu and the reference year.
        {kInflation, true, false, {2002}, 2002},
        // An empty list is one piece that converts to 0.
        {kWaehrung, false, false, {0}, 2002},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.valId);
        std::vector<unsigned> years{7};
        EXPECT_EQ(hasYears(&db, c.valId), c.has);
        EXPECT_EQ(CollectYears(&db, c.valId, years), c.collected);
        EXPECT_EQ(years, c.years);
        EXPECT_EQ(GetLatestYear(&db, c.valId), c.latest);
    }
    EXPECT_EQ(LastDBError().count, 0u);

    // Staatsform has no year list: a reported read failure and an empty list.
    std::vector<unsigned> years{7};
    EXPECT_FALSE(hasYears(&db, kStaatsform));
    EXPECT_EQ(LastDBError().count, 0u);
    EXPECT_FALSE(CollectYears(&db, kStaatsform, years));
    EXPECT_TRUE(years.empty());
    EXPECT_EQ(LastDBError().context, "CMainWnd::CollectYears(ValID)");
    EXPECT_EQ(GetLatestYear(&db, kStaatsform), 2002u);
    EXPECT_FALSE(hasYears(nullptr, kEinwohner));
}

TEST_F(TableAlmanac, CountryYearsMapAndValidIds) {
    std::vector<unsigned> years;
    EXPECT_TRUE(hasYears(&db, kDeutschland, kEinwohner));
    EXPECT_TRUE(CollectYears(&db, kDeutschland, kEinwohner, years));
    EXPECT_EQ(years, (std::vector<unsigned>{2002, 2000, 1998}));
    EXPECT_FALSE(CollectYears(&db, kDaenemark, kEinwohner, years));
    EXPECT_EQ(years, std::vector<unsigned>{2002});
    // Färöer's only value has no year; the newest row decides, and no list is made.
    EXPECT_FALSE(hasYears(&db, kFaeroeer, kEinwohner));
    EXPECT_FALSE(CollectYears(&db, kFaeroeer, kEinwohner, years));
    EXPECT_TRUE(years.empty());
    EXPECT_FALSE(hasYears(&db, kSchweiz, kEinwohner));

    EXPECT_TRUE(canShowMap(&db, kEinwohner));
    EXPECT_TRUE(canShowMap(&db, kInflation));
    EXPECT_FALSE(canShowMap(&db, kWaehrung));
    EXPECT_EQ(LastDBError().count, 0u);
    EXPECT_FALSE(canShowMap(&db, 999));
    EXPECT_EQ(LastDBError().context, "CMainWnd::canShowMap");

    IdList ids{kBevoelkerung, kEinwohner, 999, kStaatsform, kWaehrung, kDichte, kWirtschaft};
    EXPECT_TRUE(ValidateDataIDs(&db, ids));
    EXPECT_EQ(ids, (IdList{kEinwohner, kStaatsform, kWaehrung, kDichte}));
    IdList none{999, 998};
    EXPECT_TRUE(ValidateDataIDs(&db, none));
    EXPECT_TRUE(none.empty());
}

TEST_F(TableAlmanac, StaatenView) {
    CCountingProgress progress;
    const IdList countries{kDeutschland, kSchweiz, kAegypten};
    const IdList fields{kEinwohner, kWaehrung, kInflation, kStaatsform, 999};
    ASSERT_TRUE(FillStaaten(db, table, countries, fields, &progress));
    EXPECT_EQ(progress.announced, 5 + 3 * 5 + 3);
    EXPECT_EQ(progress.steps, progress.announced);

    ASSERT_EQ(table.GetColumnCount(), 4);
    ASSERT_EQ(table.GetRowCount(), 6);
    EXPECT_EQ(table.GetData(0, 0)->cellClass, cellkind::kRootLand);
    EXPECT_EQ(table.GetData(1, 0)->cellClass, cellkind::kColHeadLand);
    EXPECT_EQ(table.GetTag(3, 0), kAegypten);
    EXPECT_EQ(table.GetData(0, 1)->cellClass, cellkind::kRowHeadLand);
    EXPECT_EQ(table.GetTag(0, 2), kWaehrung);
    EXPECT_EQ(Text(table, 0, 3), "Inflation (%)");
    // An ID without a Val row gets an empty name, not the name of another field.
    EXPECT_EQ(Text(table, 0, 5), "");
    EXPECT_EQ(table.GetRowHeight(1), 67);
    EXPECT_EQ(table.GetColumnWidth(1), 300);

    struct Cell {
        int column, row;
        std::string text;
        std::int32_t year;
    };
    const Cell cells[] = {
        {1, 1, "82.440.000", 2002},
        {2, 1, "k.A.", 0},  // no Data row: no year either
        {3, 1, "66.400.000", 2002},
        {1, 2, "Euro", 2002},  // STRVAL before NUMVAL
        {3, 2, "Ägyptisches Pfund", 2002},
        {1, 3, "1,3", 2002},
        {3, 3, "k.A.", 2002},  // NUMVAL 0 is no value, but it has its year
        {1, 4, "Bundesrepublik", 0},
        {3, 4, "k.A.", 0},
        {1, 5, "k.A.", 0},
    };
    for (const Cell& c : cells) {
        SCOPED_TRACE(testing::Message() << c.column << "/" << c.row);
        EXPECT_EQ(table.GetData(c.column, c.row)->cellClass, cellkind::kCellLand);
        EXPECT_EQ(Text(table, c.column, c.row), c.text);
        EXPECT_EQ(Year(table, c.column, c.row), c.year);
    }
    // The view keeps the order of both lists.
    EXPECT_EQ(table.GetSortColumn(), -1);
    EXPECT_EQ(LastDBError().count, 0u);
}

TEST_F(TableAlmanac, DatenView) {
    CCountingProgress progress;
    const IdList countries{kDeutschland, kOesterreich, kAegypten, kSchweiz};
    const IdList fields{kEinwohner, kWaehrung, kInflation, kStaatsform};
    ASSERT_TRUE(FillDaten(db, table, countries, fields, &progress));
    EXPECT_EQ(progress.announced, 4 + 4 * 4 + 4);
    EXPECT_EQ(progress.steps, progress.announced);
    EXPECT_EQ(table.GetColumnWidth(1), 220);

    // Fields with a year list get year columns starting at their newest year; the single
    // year of Inflation still makes a year column, at the reference year.
    const char* kinds[] = {cellkind::kColHeadDataYear, cellkind::kColHeadData,
                           cellkind::kColHeadDataYear, cellkind::kColHeadData};
    for (int c = 1; c <= 4; ++c) {
        EXPECT_EQ(table.GetData(c, 0)->cellClass, kinds[c - 1]);
        EXPECT_EQ(Year(table, c, 0), 2002);
    }

    // Rows sorted by name, Ä as A and Ö as O.
    EXPECT_EQ(table.GetSortColumn(), 0);
    EXPECT_TRUE(table.IsSortAscending());
    const std::vector<std::string> names{"", "Ägypten", "Deutschland", "Österreich", "Schweiz"};
    for (int r = 1; r <= 4; ++r) EXPECT_EQ(Text(table, 0, r), names[r]);
    EXPECT_EQ(table.GetTag(0, 1), kAegypten);

    // Ägypten's Inflation is NUMVAL 0, kept as the number with its year; Schweiz has no
    // rows at all: the number 0, year 0.
    EXPECT_EQ(table.GetData(3, 1)->value, CVariant::FromDouble(0.0));
    EXPECT_EQ(Year(table, 3, 1), 2002);
    EXPECT_EQ(table.GetData(1, 4)->value, CVariant::FromDouble(0.0));
    EXPECT_EQ(Year(table, 1, 4), 0);
    EXPECT_EQ(table.GetData(2, 4)->cellClass, cellkind::kCellData);
    EXPECT_EQ(table.GetData(2, 4)->extraSize, 0u);
    EXPECT_EQ(table.GetData(1, 4)->cellClass, cellkind::kCellDataYear);
    EXPECT_EQ(Text(table, 2, 2), "Euro");
    EXPECT_EQ(Text(table, 4, 3), "Bundesstaat\nRepublik");
    // The zeros take part in the range.
    EXPECT_EQ(table.GetColumnMin(3), CVariant::FromDouble(0.0));
    EXPECT_EQ(table.GetColumnMax(3), CVariant::FromDouble(1.3));
}

TEST_F(TableAlmanac, ColYear) {
    const IdList countries{kDeutschland, kOesterreich, kAegypten, kSchweiz};
    ASSERT_TRUE(FillDaten(db, table, countries, {kEinwohner, kHandel}, nullptr));

    // Each country's newest value not after 1999, or 0 with year 0 before its oldest.
    CCountingProgress cancelled(1);
    FillColYear(db, table, 1, 1999, &cancelled);
    EXPECT_EQ(cancelled.announced, 5);
    EXPECT_EQ(cancelled.steps, 4);  // a cancel does not stop the refill
    EXPECT_EQ(Year(table, 1, 0), 1999);
    EXPECT_EQ(Text(table, 1, 1), "61.400.000");
    EXPECT_EQ(Year(table, 1, 1), 1998);
    EXPECT_EQ(Text(table, 1, 2), "82.037.000");
    EXPECT_EQ(Text(table, 1, 4), "0");
    EXPECT_EQ(Year(table, 1, 4), 0);
    // The range holds the new values only.
    EXPECT_EQ(table.GetColumnMax(1), CVariant::FromDouble(82037000.0));

    FillColYear(db, table, 1, 1990, nullptr);
    for (int r = 1; r <= 4; ++r) {
        EXPECT_EQ(table.GetData(1, r)->value, CVariant::FromDouble(0.0));
        EXPECT_EQ(Year(table, 1, r), 0);
    }
    EXPECT_EQ(table.GetColumnMax(1), CVariant::FromDouble(0.0));

    // On the sort column the rows are sorted again by the new values.
    table.SortByColumn(2, false);
    auto order = [&] {
        std::vector<std::string> names;
        for (int r = 1; r < table.GetRowCount(); ++r) names.push_back(Text(table, 0, r));
        return names;
    };
    EXPECT_EQ(order(),
              (std::vector<std::string>{"Deutschland", "Schweiz", "Österreich", "Ägypten"}));
    FillColYear(db, table, 2, 2000, nullptr);
    EXPECT_EQ(order(),
              (std::vector<std::string>{"Österreich", "Schweiz", "Deutschland", "Ägypten"}));
    EXPECT_EQ(table.GetSortColumn(), 2);
    EXPECT_FALSE(table.IsSortAscending());

    // Outside the data columns nothing happens.
    FillColYear(db, table, 0, 2000, nullptr);
    FillColYear(db, table, 3, 2000, nullptr);
    EXPECT_EQ(Text(table, 0, 1), "Österreich");
    EXPECT_EQ(LastDBError().count, 0u);
}

TEST_F(TableAlmanac, CancelEndsTheFillAtOnce) {
    const IdList countries{kDeutschland, kOesterreich, kAegypten};
    const IdList fields{kEinwohner, kBip};
    // Cancelled at the first data cell: the headers are stored, the rest is not.
    CCountingProgress staaten(2 + 3 + 1);
    EXPECT_FALSE(FillStaaten(db, table, countries, fields, &staaten));
    EXPECT_EQ(staaten.steps, 6);
    EXPECT_EQ(table.GetColumnCount(), 4);
    EXPECT_EQ(Text(table, 1, 1), "82.440.000");
    EXPECT_EQ(table.GetData(1, 2), nullptr);

    // Cancelled among the row headers, the data view is neither complete nor sorted.
    CCountingProgress daten(2);
    EXPECT_FALSE(FillDaten(db, table, countries, fields, &daten));
    EXPECT_EQ(daten.steps, 2);
    EXPECT_EQ(table.GetRowCount(), 3);
    EXPECT_EQ(table.GetColumnCount(), 1);
    EXPECT_EQ(table.GetSortColumn(), -1);
}

TEST(TableFill, DatabaseFailureIsReportedAndTheRunGoesOn) {
    CTempDir dir;
    CDatabase db;
    db.Create(dir / "broken.mdb");
    db.Execute("CREATE TABLE Land (ID LONG, Title TEXT)");
    db.Execute("INSERT INTO Land VALUES (276, 'Deutschland')");
    ResetDBErrors();
    CTableData table;
    // No Val table: the run ends at once with what it has, and counts as done.
    EXPECT_TRUE(FillStaaten(db, table, {276}, {101}, nullptr));
    EXPECT_EQ(LastDBError().context, "CTableWnd::DisplayStaaten");
    EXPECT_EQ(table.GetRowCount(), 1);
    EXPECT_TRUE(FillDaten(db, table, {276}, {101}, nullptr));
    EXPECT_EQ(LastDBError().context, "CTableWnd::DisplayDaten");
    EXPECT_EQ(Text(table, 0, 1), "Deutschland");
    FillColYear(db, table, 0, 2002, nullptr);
}

TEST_F(TableAlmanac, StaatenDocument) {
    ASSERT_TRUE(FillStaaten(db, table, {kDeutschland, kSchweiz, kAegypten},
                            {kEinwohner, kWaehrung, kInflation, kStaatsform}, nullptr));
    const std::string html = BuildHTML(table);
    EXPECT_EQ(html.rfind("<TABLE BORDER=1 CELLPADDING=4 CELLSPACING=0 BORDERCOLOR=#AAAAAA><TR>", 0),
              0u);
    EXPECT_EQ(html.substr(html.size() - 13), "</TR></TABLE>");
    const std::vector<std::vector<std::string>> expected{
        {Plain("&nbsp;"), Bold("Deutschland"), Bold("Schweiz"), Bold("Ägypten")},
        {Bold("Einwohner"), Plain("82.440.000"), Plain("k.A."), Plain("66.400.000")},
        {Bold("Währung"), Plain("Euro"), Plain("k.A."), Plain("Ägyptisches Pfund")},
        {Bold("Inflation (%)"), Plain("1,3"), Plain("k.A."), Plain("k.A.")},
        {Bold("Staatsform"), Plain("Bundesrepublik"), Plain("k.A."), Plain("k.A.")},
    };
    EXPECT_EQ(Cells(html), expected);
    // Nothing between the fragments.
    EXPECT_EQ(html.find('\n'), std::string::npos);
    EXPECT_NE(html.find("</TD><TD>"), std::string::npos);
}

TEST_F(TableAlmanac, DatenDocumentSortedDescending) {
    ASSERT_TRUE(FillDaten(db, table, {kDeutschland, kOesterreich, kAegypten, kSchweiz},
                          {kEinwohner, kWaehrung, kInflation, kStaatsform}, nullptr));
    table.SortByColumn(0, false);
    const std::vector<std::vector<std::string>> expected{
        {Plain("&nbsp;"), Bold("Einwohner"), Bold("Währung"), Bold("Inflation (%)"),
         Bold("Staatsform")},
        {Bold("Schweiz"), RightYear("0", 0), Right("0"), RightYear("0", 0), Right("0")},
        {Bold("Österreich"), RightYear("8.140.000", 2002), Right("Euro"), RightYear("0", 0),
         Right("Bundesstaat<BR>Republik")},
        {Bold("Deutschland"), RightYear("82.440.000", 2002), Right("Euro"), RightYear("1,3", 2002),
         Right("Bundesrepublik")},
        // A value of 0 exports as the number, where the screen shows "k.A.".
        {Bold("Ägypten"), RightYear("66.400.000", 2002), Right("Ägyptisches Pfund"),
         RightYear("0", 2002), Right("0")},
    };
    EXPECT_EQ(Cells(BuildHTML(table)), expected);

    // Empty texts: headers stay empty, data cells write a blank.
    CellData empty(cellkind::kCellDataYear, CVariant::Null());
    empty.SetYear(1998);
    EXPECT_EQ(CellKindHTML(empty), RightYear("&nbsp;", 1998));
    EXPECT_EQ(CellKindHTML(CellData(cellkind::kCellData, CVariant::FromText("  "))),
              Right("&nbsp;"));
    EXPECT_EQ(CellKindHTML(CellData(cellkind::kRowHeadData, CVariant::FromText(""))), Bold(""));
}

TEST_F(TableAlmanac, WriteReplacesTheFileWhole) {
    ASSERT_TRUE(FillDaten(db, table, {kOesterreich}, {kWaehrung}, nullptr));
    std::filesystem::create_directories(dir / "out");
    const std::string path = dir / "out/ZYB.htm";
    ASSERT_TRUE(WriteHTMLFile(table, path));
    const std::string document = ReadFile(path);
    EXPECT_EQ(document, HTMLDocument(table));
    // UTF-8 without a byte-order mark, and said so before the table, or a browser reads the
    // umlauts in its own code page ("Ã–sterreich").
    EXPECT_EQ(document.rfind("<HTML><HEAD>", 0), 0u);
    const std::size_t charset
        = document.find("<META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=utf-8\">");
    ASSERT_NE(charset, std::string::npos);
    EXPECT_LT(charset, document.find("</HEAD><BODY><TABLE "));
    EXPECT_EQ(document.substr(document.size() - 22), "</TABLE></BODY></HTML>");
    EXPECT_NE(document.find("\xC3\x96sterreich"), std::string::npos);

    // A write that fails at its last step leaves the old file.
    class CFailingRename : public IFileOps {
    public:
        int OpenForWriting(const std::string& p) override {
            return SystemFileOps().OpenForWriting(p);
        }
        ssize_t Write(int fd, const char* data, std::size_t size) override {
            return SystemFileOps().Write(fd, data, size);
        }
        int Sync(int fd) override { return SystemFileOps().Sync(fd); }
        int Close(int fd) override { return SystemFileOps().Close(fd); }
        int Rename(const std::string&, const std::string&) override { return -1; }
    } failing;
    ASSERT_TRUE(FillDaten(db, table, {kDeutschland}, {kEinwohner}, nullptr));
    EXPECT_FALSE(WriteHTMLFile(table, path, failing));
    EXPECT_EQ(ReadFile(path), document);
    EXPECT_FALSE(WriteHTMLFile(table, dir / "ZYB.htm/"));
}
