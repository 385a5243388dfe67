#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <vector>

#include "data/DataRow.h"
#include "data/Database.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"

namespace {

class Database : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = MakeTestDirectory("database");
        m_path = CreateFixtureAlmanac(m_dir);
        m_db.Open(m_path, true, true, kAlmanacConnect);
    }
    void TearDown() override {
        m_db.Close();
        std::filesystem::remove_all(m_dir);
    }

    std::string m_dir;
    std::string m_path;
    CDatabase m_db;
};

std::string OpenError(const std::string& path, std::string_view connect, bool readOnly = true) {
    CDatabase db;
    try {
        db.Open(path, false, readOnly, connect);
    } catch (const CDBException& e) {
        EXPECT_FALSE(db.IsOpen());
        return e.what();
    }
    return "";
}

}  // namespace

TEST_F(Database, FieldKindsFollowDeclaredTypes) {
    struct Case {
        const char* sql;
        const char* field;
        std::uint16_t vt;
    };
    const Case cases[] = {
        {"SELECT * FROM Land WHERE ID=276", "ID", VT_I4},
        {"SELECT * FROM Land WHERE ID=276", "LandTyp", VT_I2},
        {"SELECT * FROM Land WHERE ID=276", "title", VT_BSTR},
        {"SELECT * FROM Data WHERE LandID=276 AND ValID=101 AND Jahr=2002", "Jahr", VT_I2},
        {"SELECT * FROM Data WHERE LandID=276 AND ValID=101 AND Jahr=2002", "NumVal", VT_R8},
        {"SELECT * FROM Data WHERE LandID=276 AND ValID=101 AND Jahr=2002", "STRVAL", VT_NULL},
        {"SELECT * FROM HTML WHERE ID=1004", "Typ", VT_UI1},
        {"SELECT * FROM HTML WHERE ID=1004", "Content", VT_NULL},
        {"SELECT * FROM HTML WHERE ID=1001", "CONTENT", VT_BSTR},
        {"SELECT count(*) AS N FROM Land", "N", VT_I4},
        {"SELECT 4000000000 AS Big", "Big", VT_R8},
        {"SELECT 2.5 AS R", "R", VT_R8},
    };
    for (const Case& c : cases) {
        CRecordset rs(&m_db);
        rs.Open(c.sql);
        ASSERT_FALSE(rs.IsEOF()) << c.sql;
        EXPECT_EQ(rs.GetFieldValue(c.field).Type(), c.vt) << c.sql << " / " << c.field;
    }
}

TEST_F(Database, StoredValuesThatDoNotFitTheirKindAreKeptWhole) {
    std::string path = m_dir + "/odd.db";
    CDatabase db;
    db.Create(path);
    db.Execute("CREATE TABLE T (L LONG, B BYTE, S SHORT, D DOUBLE, X TEXT, F BIT)");
    db.Execute("INSERT INTO T VALUES ('zwölf', 300, 70000, 3, 42, 1)");
    CRecordset rs(&db);
    rs.Open("SELECT * FROM T");
    EXPECT_EQ(rs.GetFieldValue("L"), CVariant::FromText("zwölf"));
    EXPECT_EQ(rs.GetFieldValue("B"), CVariant::FromLong(300));
    EXPECT_EQ(rs.GetFieldValue("S"), CVariant::FromLong(70000));
    EXPECT_EQ(rs.GetFieldValue("D"), CVariant::FromDouble(3.0));
    EXPECT_EQ(rs.GetFieldValue("X"), CVariant::FromText("42"));
    EXPECT_EQ(rs.GetFieldValue("F"), CVariant::FromBool(true));
}

TEST_F(Database, DataRowValueRuleAndYear) {
    struct Case {
        long land;
        long val;
        const char* text;  // ToText of the value
        std::int16_t year;
        bool noValue;
    };
    const Case cases[] = {
        // STRVAL wins over a NUMVAL that is not 0.
        {fixture::kDeutschland, fixture::kWaehrung, "Euro", 2002, false},
        {fixture::kAegypten, fixture::kWaehrung, "Ägyptisches Pfund", 2002, false},
        // A NUMVAL of 0 is no value.
        {fixture::kAegypten, fixture::kInflation, "0.000000", 2002, true},
        // A NULL year reads as 0.
        {fixture::kFaeroeer, fixture::kEinwohner, "47000.000000", 0, false},
        {fixture::kDeutschland, fixture::kStaatsform, "Bundesrepublik", 0, false},
        // Newest first.
        {fixture::kDeutschland, fixture::kEinwohner, "82440000.000000", 2002, false},
    };
    for (const Case& c : cases) {
        CRecordset rs(&m_db);
        rs.Open("SELECT * FROM Data WHERE LandID=" + std::to_string(c.land)
                + " AND ValID=" + std::to_string(c.val) + " ORDER BY Jahr DESC");
        ASSERT_FALSE(rs.IsEOF());
        CVariant value = DataValue(rs);
        EXPECT_EQ(ToText(value), c.text);
        EXPECT_EQ(DataYear(rs), c.year);
        EXPECT_EQ(IsNoValue(value), c.noValue);
    }
}

TEST_F(Database, MovingThroughARecordset) {
    CRecordset rs(&m_db);
    rs.Open("SELECT * FROM Data WHERE LandID=276 AND ValID=101 ORDER BY Jahr DESC");
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_FALSE(rs.IsBOF());
    std::vector<std::int16_t> years;
    for (; !rs.IsEOF(); rs.MoveNext()) years.push_back(DataYear(rs));
    EXPECT_EQ(years, (std::vector<std::int16_t>{2002, 2000, 1998}));
    EXPECT_EQ(rs.GetAbsolutePosition(), -1);
    // Reading or moving on past the end is an error, as the readers rely on.
    EXPECT_THROW(rs.GetFieldValue("Jahr"), CDBException);
    EXPECT_THROW(rs.MoveNext(), CDBException);

    rs.MoveLast();
    EXPECT_EQ(DataYear(rs), 1998);
    rs.MovePrev();
    rs.MovePrev();
    EXPECT_EQ(DataYear(rs), 2002);
    rs.MovePrev();
    EXPECT_TRUE(rs.IsBOF());
    EXPECT_THROW(rs.MovePrev(), CDBException);
    rs.MoveFirst();
    rs.Move(5);
    EXPECT_TRUE(rs.IsEOF());
    rs.SetAbsolutePosition(1);
    EXPECT_EQ(DataYear(rs), 2000);
    EXPECT_THROW(rs.SetAbsolutePosition(3), CDBException);
    EXPECT_THROW(rs.GetFieldValue("NoSuchField"), CDBException);

    CRecordset empty(&m_db);
    empty.Open("SELECT * FROM HTML WHERE Typ=-1");
    EXPECT_TRUE(empty.IsEOF());
    EXPECT_TRUE(empty.IsBOF());
    EXPECT_EQ(empty.GetRecordCount(), 0);
    EXPECT_EQ(empty.GetFieldIndex("SearchText"), 8);
    EXPECT_THROW(empty.MoveFirst(), CDBException);
    EXPECT_THROW(empty.GetFieldValue("Title"), CDBException);
}

// A forward-only recordset reads the same rows and values as a dynaset, one at a time; what
// it cannot do fails instead of reading a row it no longer has.
TEST_F(Database, ForwardOnlyReadsEachRowOnce) {
    const char* sql = "SELECT * FROM Data WHERE ValID=101 ORDER BY Jahr DESC, LandID";
    CRecordset all(&m_db);
    all.Open(sql);
    CRecordset rs(&m_db);
    rs.Open(sql, RecordsetType::ForwardOnly);
    EXPECT_FALSE(rs.IsBOF());
    EXPECT_FALSE(rs.CanUpdate());
    long n = 0;
    for (; !rs.IsEOF(); rs.MoveNext(), all.MoveNext(), ++n) {
        ASSERT_FALSE(all.IsEOF());
        EXPECT_EQ(rs.GetAbsolutePosition(), n);
        EXPECT_EQ(rs.GetRecordCount(), n + 1);  // the rows read so far
        for (int i = 0; i < all.GetFieldCount(); ++i)
            EXPECT_EQ(rs.GetFieldValue(i), all.GetFieldValue(i)) << n << " " << i;
        // A text read twice stays the same: it is the row's, not the next one's.
        EXPECT_EQ(rs.GetFieldValue("Source"), rs.GetFieldValue("Source"));
    }
    EXPECT_TRUE(all.IsEOF());
    EXPECT_EQ(n, all.GetRecordCount());
    EXPECT_EQ(rs.GetAbsolutePosition(), -1);
    EXPECT_THROW(rs.GetFieldValue("Jahr"), CDBException);
    EXPECT_THROW(rs.MoveNext(), CDBException);

    // Requery starts again as the same type.
    rs.Requery();
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.GetRecordCount(), 1);
    for (const auto& call : std::vector<std::function<void()>>{
             [&] { rs.MoveFirst(); }, [&] { rs.MoveLast(); }, [&] { rs.MovePrev(); },
             [&] { rs.Move(1); }, [&] { rs.SetAbsolutePosition(0); },
             [&] { rs.FindFirst("LandID=276"); }, [&] { rs.GetBookmark(); },
             [&] { rs.AddNew(); }}) {
        try {
            call();
            ADD_FAILURE() << "no error";
        } catch (const CDBException& e) {
            EXPECT_STREQ(e.what(), "Operation is not supported for this type of object.");
        }
    }
    EXPECT_EQ(rs.GetRecordCount(), 1);  // nothing above moved it

    CRecordset empty(&m_db);
    empty.Open("SELECT * FROM HTML WHERE Typ=-1", RecordsetType::ForwardOnly);
    EXPECT_TRUE(empty.IsEOF());
    EXPECT_TRUE(empty.IsBOF());
    EXPECT_EQ(empty.GetRecordCount(), 0);
    EXPECT_THROW(empty.MoveNext(), CDBException);
    EXPECT_THROW(empty.Open("DELETE FROM Land", RecordsetType::ForwardOnly), CDBException);
    EXPECT_FALSE(empty.IsOpen());
}

TEST_F(Database, GermanCollationAndJetLikeInQueries) {
    auto titles = [&](const std::string& sql) {
        CRecordset rs(&m_db);
        rs.Open(sql);
        std::vector<std::string> result;
        for (; !rs.IsEOF(); rs.MoveNext()) result.push_back(ToText(rs.GetFieldValue("Title")));
        return result;
    };
    using V = std::vector<std::string>;
    EXPECT_EQ(titles("SELECT * FROM HTML WHERE Typ=6 OR ID=1007 ORDER BY Title ASC"),
              (V{"Oase", "Öl", "Ozean"}));
    EXPECT_EQ(titles("SELECT * FROM Land WHERE Title LIKE 'ö*' AND PID=0 ORDER BY Title ASC"),
              (V{"Österreich"}));
    EXPECT_EQ(titles("SELECT * FROM Land WHERE Title LIKE 'D*' AND PID=0 ORDER BY Title ASC"),
              (V{"Dänemark", "Deutschland"}));
    EXPECT_EQ(titles("SELECT * FROM HTML WHERE LINKID_SET LIKE ';*12*;' ORDER BY Title ASC"),
              (V{"Deutschland", "Ölkrise"}));
    EXPECT_EQ(titles("SELECT * FROM HTML WHERE Abbildung LIKE 'PYRAMIDE.EPS'"),
              (V{"Bevölkerungspyramide"}));
    EXPECT_EQ(titles("SELECT * FROM HTML WHERE Title LIKE '~~~~'"), V{});
    EXPECT_EQ(titles("SELECT * FROM HTML WHERE Title NOT LIKE '*e*' ORDER BY Title ASC"),
              (V{"Öl"}));
}

TEST_F(Database, PasswordOfTheAlmanac) {
    EXPECT_EQ(OpenError(m_path, kAlmanacConnect), "");
    EXPECT_EQ(OpenError(m_path, ";PWD=3A9D07B1E5C2;"), "");
    EXPECT_EQ(OpenError(m_path, ";pwd=3a9d07b1e5c2"), "Not a valid password.");
    EXPECT_EQ(OpenError(m_path, ";pwd=3A9D07B1E5C"), "Not a valid password.");
    EXPECT_EQ(OpenError(m_path, ""), "Not a valid password.");

    FixtureOptions open;
    open.fileName = "open.mdb";
    open.password.clear();
    std::string unprotected = CreateFixtureAlmanac(m_dir, open);
    EXPECT_EQ(OpenError(unprotected, kAlmanacConnect), "");
    EXPECT_EQ(OpenError(unprotected, ";pwd=anything"), "");
    EXPECT_EQ(OpenError(unprotected, ""), "");
}

TEST_F(Database, FilesThatCannotBeOpened) {
    std::string garbage = m_dir + "/garbage.mdb";
    std::ofstream(garbage) << std::string(4096, 'x');
    EXPECT_EQ(OpenError(garbage, kAlmanacConnect), "file is not a database");
    EXPECT_EQ(OpenError(garbage, kAlmanacConnect, false), "file is not a database");
    EXPECT_EQ(OpenError(m_dir + "/missing.mdb", kAlmanacConnect), "unable to open database file");
    // The bookmark database is only opened, never made, by Open.
    EXPECT_EQ(OpenError(m_dir + "/missing.mdb", "", false), "unable to open database file");
    EXPECT_FALSE(std::filesystem::exists(m_dir + "/missing.mdb"));
    // Characters that mean something in a URI are part of the file name.
    std::string odd = m_dir + "/a?b#c%20.mdb";
    std::filesystem::copy_file(m_path, odd);
    EXPECT_EQ(OpenError(odd, kAlmanacConnect), "");

    CDatabase db;
    db.Create(m_dir + "/new.mdb", ";LANGID=0x0409;CP=1252;COUNTRY=0");
    db.Close();
    try {
        db.Create(m_dir + "/new.mdb");
        ADD_FAILURE() << "created over an existing file";
    } catch (const CDBException& e) {
        EXPECT_STREQ(e.what(), "Database already exists.");
    }
}

TEST_F(Database, AlmanacIsReadOnlyAndQueriesRunAlone) {
    EXPECT_THROW(m_db.Execute("DELETE FROM Land"), CDBException);
    CRecordset rs(&m_db);
    // A query is one statement; text cannot chain a second one onto it.
    EXPECT_THROW(rs.Open("SELECT * FROM Land; DELETE FROM Land"), CDBException);
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_THROW(rs.Open("DELETE FROM Land"), CDBException);
    EXPECT_THROW(rs.Open("SELECT * FROM Nowhere"), CDBException);
    rs.Open("SELECT * FROM Land ORDER BY ID ASC;  -- sorted");
    EXPECT_EQ(rs.GetRecordCount(), 6);
    EXPECT_FALSE(rs.CanUpdate());
    EXPECT_THROW(rs.AddNew(), CDBException);
    EXPECT_THROW(rs.Edit(), CDBException);
    EXPECT_THROW(rs.Delete(), CDBException);
}

namespace {

// The bookmark table as the program creates it.
const char* const kBookmarkTable
    = "CREATE TABLE Bookmark (ID INTEGER PRIMARY KEY AUTOINCREMENT, PID LONG, MID LONG, "
      "Title TEXT(128), Note MEMO, Type BYTE, StartChar LONG, EndChar LONG)";

long AddBookmark(CRecordset& rs, long pid, long mid, const std::string& title) {
    rs.AddNew();
    rs.SetFieldValue("PID", CVariant::FromLong(pid));
    rs.SetFieldValue("MID", CVariant::FromLong(mid));
    rs.SetFieldValue("Title", CVariant::FromText(title));
    rs.SetFieldValue("Note", CVariant::FromText(" "));
    rs.Update();
    rs.SetBookmark(rs.GetLastModifiedBookmark());
    return static_cast<long>(rs.GetFieldValue("ID").Integer());
}

}  // namespace

TEST_F(Database, AddEditUpdateDeleteOnTheBookmarkDatabase) {
    std::string path = m_dir + "/Bookmark.mdb";
    {
        CDatabase db;
        db.Create(path, ";LANGID=0x0409;CP=1252;COUNTRY=0");
        db.Execute(kBookmarkTable);
    }
    CDatabase db;
    db.Open(path, false, false);
    CRecordset rs(&db);
    rs.Open("SELECT * FROM Bookmark WHERE MID=1001 AND PID=0");
    ASSERT_TRUE(rs.CanUpdate());
    EXPECT_TRUE(rs.IsEOF());
    // Nothing to update without AddNew or Edit.
    EXPECT_THROW(rs.Update(), CDBException);
    EXPECT_THROW(rs.SetFieldValue("Title", CVariant::FromText("x")), CDBException);

    long node = AddBookmark(rs, 0, 1001, "Deutschland");
    EXPECT_EQ(node, 1);
    long first = AddBookmark(rs, node, 1001, "Bundesstaat in Mitteleuropa...");
    long second = AddBookmark(rs, node, 1001, "O'Brien \"zitiert\"...");
    EXPECT_EQ(rs.GetRecordCount(), 3);

    // AddNew leaves the current record where it was.
    rs.MoveFirst();
    rs.AddNew();
    EXPECT_EQ(rs.GetFieldValue("Title").Type(), VT_NULL);
    rs.SetFieldValue("MID", CVariant::FromLong(1002));
    rs.Update();
    EXPECT_EQ(rs.GetFieldValue("ID").Integer(), node);
    EXPECT_EQ(rs.GetRecordCount(), 4);

    // Edit: fields not set keep their values; the record stays current.
    ASSERT_TRUE(rs.FindFirst("ID=" + std::to_string(first)));
    rs.Edit();
    rs.SetFieldValue("Type", CVariant::FromByte(3));
    rs.SetFieldValue("StartChar", CVariant::FromLong(17));
    EXPECT_EQ(rs.GetFieldValue("StartChar").Integer(), 17);
    rs.Update();
    EXPECT_EQ(rs.GetFieldValue("Type"), CVariant::FromByte(3));
    EXPECT_EQ(rs.GetFieldValue("Title"), CVariant::FromText("Bundesstaat in Mitteleuropa..."));
    // A move drops an edit that was not stored.
    rs.Edit();
    rs.SetFieldValue("Type", CVariant::FromByte(6));
    rs.MoveFirst();
    ASSERT_TRUE(rs.FindFirst("ID=" + std::to_string(first)));
    EXPECT_EQ(rs.GetFieldValue("Type"), CVariant::FromByte(3));

    // Deleting every record of an article, as the node deletion does.
    CRecordset all(&db);
    all.Open("SELECT * FROM Bookmark WHERE MID=1001");
    EXPECT_EQ(all.GetRecordCount(), 3);
    int deleted = 0;
    while (!all.IsEOF()) {
        all.Delete();
        EXPECT_THROW(all.GetFieldValue("ID"), CDBException);
        ++deleted;
        all.MoveNext();
    }
    EXPECT_EQ(deleted, 3);
    EXPECT_EQ(all.GetRecordCount(), 0);

    // What is stored is what a new reader finds.
    db.Close();
    db.Open(path, false, false);
    CRecordset check(&db);
    check.Open("SELECT * FROM Bookmark ORDER BY ID ASC");
    ASSERT_EQ(check.GetRecordCount(), 1);
    EXPECT_EQ(check.GetFieldValue("MID").Integer(), 1002);
    EXPECT_GT(check.GetFieldValue("ID").Integer(), second);
}

TEST_F(Database, DeletingInTheMiddleKeepsBookmarksAndOrder) {
    std::string path = m_dir + "/Bookmark.mdb";
    CDatabase db;
    db.Create(path);
    db.Execute(kBookmarkTable);
    for (int i = 1; i <= 5; ++i)
        db.Execute("INSERT INTO Bookmark (PID, MID, Title) VALUES (0, " + std::to_string(i) + ", 'B"
                   + std::to_string(i) + "')");
    CRecordset rs(&db);
    rs.Open("SELECT ID, Title FROM Bookmark ORDER BY ID DESC");
    rs.SetAbsolutePosition(4);
    RecordBookmark last = rs.GetBookmark();
    rs.SetAbsolutePosition(2);
    rs.Delete();
    rs.MovePrev();
    EXPECT_EQ(rs.GetFieldValue("Title"), CVariant::FromText("B4"));
    rs.SetBookmark(last);
    EXPECT_EQ(rs.GetFieldValue("Title"), CVariant::FromText("B1"));
    EXPECT_TRUE(rs.FindFirst("Title='b2'"));
    EXPECT_EQ(rs.GetAbsolutePosition(), 2);

    // A field that is not a plain column makes a recordset read-only.
    CRecordset computed(&db);
    computed.Open("SELECT ID, upper(Title) AS T FROM Bookmark");
    EXPECT_FALSE(computed.CanUpdate());
    CRecordset withoutKey(&db);
    withoutKey.Open("SELECT Title FROM Bookmark");
    EXPECT_FALSE(withoutKey.CanUpdate());
}
