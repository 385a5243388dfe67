#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"

namespace {

class ErrorReporter : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = MakeTestDirectory("reporter");
        m_db.Open(CreateFixtureAlmanac(m_dir), true, true, kAlmanacConnect);
        ResetDBErrors();
        SetDBCursorHook([this](bool busy) { m_cursor += busy ? "Wait;" : "Arrow;"; });
    }
    void TearDown() override {
        SetDBCursorHook(nullptr);
        m_db.Close();
        std::filesystem::remove_all(m_dir);
    }

    std::string m_dir;
    CDatabase m_db;
    std::string m_cursor;
};

}  // namespace

TEST_F(ErrorReporter, FailingQueryLeavesTheResultEmpty) {
    std::vector<std::string> titles;
    bool ok = DBRead(m_db, "SELECT * FROM Nowhere WHERE ID=1", "CMainWnd::ShowFlag",
                     [&](CRecordset& rs) {
                         for (; !rs.IsEOF(); rs.MoveNext())
                             titles.push_back(ToText(rs.GetFieldValue("Title")));
                     });
    EXPECT_FALSE(ok);
    EXPECT_TRUE(titles.empty());
    EXPECT_EQ(LastDBError().context, "CMainWnd::ShowFlag");
    EXPECT_EQ(LastDBError().message, "no such table: Nowhere");
    EXPECT_EQ(LastDBError().count, 1u);
    // The busy cursor is shown around the operation and the arrow restored, also on failure.
    EXPECT_EQ(m_cursor, "Wait;Arrow;");
}

TEST_F(ErrorReporter, ReadingPastTheLastRowIsReportedAfterWhatWasRead) {
    // A field without a ValJahre row: the read of the first record fails.
    std::string list = "unchanged";
    EXPECT_FALSE(DBRead(m_db,
                        SqlFormat("SELECT * FROM ValJahre WHERE ID=%li", fixture::kStaatsform),
                        "CMainWnd::CollectYears(ValID)", [&](CRecordset& rs) {
                            rs.MoveFirst();
                            list = ToText(rs.GetFieldValue("JahresList"));
                        }));
    EXPECT_EQ(list, "unchanged");
    EXPECT_EQ(LastDBError().message, "No current record.");

    std::vector<long> years;
    EXPECT_FALSE(DBRead(m_db, "SELECT * FROM Data WHERE ValID=101 ORDER BY Jahr DESC",
                        "CTableWnd::DisplayDaten", [&](CRecordset& rs) {
                            for (int i = 0; i < 100; ++i, rs.MoveNext())
                                years.push_back(rs.GetFieldValue("Jahr").Integer());
                        }));
    EXPECT_EQ(years.size(), 11u);
    EXPECT_EQ(LastDBError().context, "CTableWnd::DisplayDaten");
    EXPECT_EQ(LastDBError().count, 2u);
    EXPECT_EQ(m_cursor, "Wait;Arrow;Wait;Arrow;");

    EXPECT_TRUE(DBRead(m_db, "SELECT * FROM Land WHERE ID=276", "CMainWnd::ShowFlag",
                       [&](CRecordset& rs) { EXPECT_FALSE(rs.IsEOF()); }));
    EXPECT_EQ(LastDBError().count, 2u);
}

TEST_F(ErrorReporter, TheTwoFormsAndTheMessageLimit) {
    // The common form reads at most 255 bytes and does not split a character.
    std::string longMessage = std::string(254, 'x') + "äöü";
    DBGuard("CCellInfoDlg::GetValueHTML / Read source",
            [&] { throw CDBException(longMessage, SQLITE_ERROR); });
    EXPECT_EQ(LastDBError().context, "CCellInfoDlg::GetValueHTML / Read source");
    EXPECT_EQ(LastDBError().message, std::string(254, 'x'));

    // Other error objects are caught as well.
    DBGuard("CMainWnd::Other", [] { throw std::runtime_error("kaputt"); });
    EXPECT_EQ(LastDBError().message, "kaputt");

    // The bookmark form only releases the error.
    bool ok = DBGuard(
        "CNOXBrowser::DeleteBookmark / delete node",
        [] { throw CDBException("database is locked", SQLITE_BUSY); }, DBReportForm::Bookmark);
    EXPECT_FALSE(ok);
    EXPECT_EQ(LastDBError().context, "CNOXBrowser::DeleteBookmark / delete node");
    EXPECT_EQ(LastDBError().message, "");
    EXPECT_EQ(LastDBError().count, 3u);
}

TEST_F(ErrorReporter, DebugLogSwitch) {
    ::testing::internal::CaptureStderr();
    DBGuard("CMainWnd::Quiet", [] { throw CDBException("first", SQLITE_ERROR); });
    ::setenv("KOMPENDOR_DB_LOG", "1", 1);
    DBGuard("CMainWnd::Loud", [] { throw CDBException("second", SQLITE_ERROR); });
    ::unsetenv("KOMPENDOR_DB_LOG");
    std::string log = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(log, "kompendor: database error in CMainWnd::Loud: second\n");
}
