// The bookmark database: its file and table, nodes and bookmarks, notes, deleting, and that a
// program killed while it writes leaves the old or the new state.
#include "text/BookmarkDatabase.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sqlite3.h>
#include <sys/wait.h>
#include <unistd.h>

#include <random>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "platform/TestFiles.h"

namespace {

class BookmarkDatabaseTest : public testing::Test {
protected:
    BookmarkDatabaseTest() { ResetDBErrors(); }
    std::string Path() const { return dir / CBookmarkDatabase::kFileName; }
    CTempDir dir;
};

// What SQLite itself says about the file.
std::vector<std::string> Columns(const std::string& path) {
    CDatabase db;
    db.Open(path, false, true);
    std::vector<std::string> names;
    CRecordset rs(&db);
    rs.Open("SELECT * FROM Bookmark");
    for (int k = 0; k < rs.GetFieldCount(); ++k) names.push_back(rs.GetFieldName(k));
    return names;
}

}  // namespace

TEST_F(BookmarkDatabaseTest, CreatedWhenMissingWithTheEightFieldsInOrder) {
    CBookmarkDatabase bookmarks;
    EXPECT_FALSE(bookmarks.Open(Path(), false));
    EXPECT_FALSE(bookmarks.IsOpen());
    ASSERT_TRUE(bookmarks.Open(Path(), true));
    EXPECT_EQ(Columns(Path()), (std::vector<std::string>{"ID", "PID", "MID", "Title", "Note",
                                                         "Type", "StartChar", "EndChar"}));
    // Opened again as it is; a file of another kind is refused and stays as it was.
    bookmarks.Close();
    EXPECT_TRUE(bookmarks.Open(Path(), false));
    WriteFile(dir / "other.mdb", "no database");
    EXPECT_FALSE(bookmarks.Open(dir / "other.mdb", true));
    EXPECT_EQ(ReadFile(dir / "other.mdb"), "no database");
    EXPECT_EQ(LastDBError().context, "CNOXBrowser::InitBookmarks");
    // A folder that cannot hold the file: creating fails, no partial file stays.
    EXPECT_FALSE(bookmarks.Open(dir / "missing/Bookmark.mdb", true));
    EXPECT_EQ(LastDBError().context, "CNOXBrowser::CreateBookmarkDatabase");
}

TEST_F(BookmarkDatabaseTest, BookmarksOfOneArticleShareOneNodeAndGoWithIt) {
    CBookmarkDatabase bookmarks;
    ASSERT_TRUE(bookmarks.Open(Path(), true));
    const std::int32_t first = bookmarks.Add(1001, "Deutschland", "Berlin...", "");
    const std::int32_t second = bookmarks.Add(1001, "Deutschland", "Spree...", "Fluss");
    const std::int32_t other = bookmarks.Add(1002, "Frankreich", "Paris...", "");
    ASSERT_GT(first, 0);
    ASSERT_GT(second, first);
    const std::int32_t node = bookmarks.NodeID(1001);
    ASSERT_GT(node, 0);
    CBookmarkRecord record;
    ASSERT_TRUE(bookmarks.Read(second, record));
    EXPECT_EQ(record.pid, node);
    EXPECT_EQ(record.mid, 1001);
    EXPECT_EQ(bookmarks.ContentID(second), 1001);
    EXPECT_EQ(bookmarks.ContentID(99999), 0);
    ASSERT_TRUE(bookmarks.Read(node, record));
    EXPECT_EQ(record.pid, 0);
    EXPECT_EQ(record.title, "Deutschland");
    EXPECT_EQ(bookmarks.All().size(), 5u);  // two nodes, three bookmarks

    // The node goes with both its bookmarks; the other article keeps its own.
    EXPECT_EQ(bookmarks.DeleteArticle(1001), 3);
    EXPECT_EQ(bookmarks.NodeID(1001), 0);
    EXPECT_FALSE(bookmarks.Read(first, record));
    EXPECT_TRUE(bookmarks.Read(other, record));
    EXPECT_TRUE(bookmarks.DeleteSingle(other));
    EXPECT_FALSE(bookmarks.DeleteSingle(other));
}

TEST_F(BookmarkDatabaseTest, NotesTitlesAndTypes) {
    CBookmarkDatabase bookmarks;
    ASSERT_TRUE(bookmarks.Open(Path(), true));
    const std::int32_t id = bookmarks.Add(7, "Titel", "Text...", "");
    CBookmarkRecord record;
    ASSERT_TRUE(bookmarks.Read(id, record));
    EXPECT_EQ(record.note, " ");  // an empty note is stored as one blank
    EXPECT_EQ(bookmarks.GetNote(id), "");
    EXPECT_TRUE(bookmarks.SetNote(id, "  Größe 'prüfen'; DROP TABLE Bookmark  \n"));
    EXPECT_EQ(bookmarks.GetNote(id), "Größe 'prüfen'; DROP TABLE Bookmark");
    EXPECT_TRUE(bookmarks.SetNote(id, ""));
    ASSERT_TRUE(bookmarks.Read(id, record));
    EXPECT_EQ(record.note, " ");
    // A title longer than the field is cut on a character boundary.
    std::string longTitle;
    for (int k = 0; k < 200; ++k) longTitle += "ö";
    EXPECT_TRUE(bookmarks.Rename(id, longTitle, 5));
    ASSERT_TRUE(bookmarks.Read(id, record));
    EXPECT_EQ(record.title, CutToCharacters(longTitle, 128));
    EXPECT_EQ(bookmarks.GetType(id), 5u);
    EXPECT_FALSE(bookmarks.Rename(id + 100, "x", 1));
    EXPECT_FALSE(bookmarks.SetNote(id + 100, "x"));
}

TEST_F(BookmarkDatabaseTest, PositionsAndDeletingAllInTheSameFile) {
    CBookmarkDatabase bookmarks;
    ASSERT_TRUE(bookmarks.Open(Path(), true));
    const std::int32_t a = bookmarks.Add(3, "Land", "a...", "");
    const std::int32_t b = bookmarks.Add(3, "Land", "b...", "");
    ASSERT_TRUE(bookmarks.StorePositions(3, {{a, 2, 10, 20}, {b, 4, 30, 40}, {9999, 1, 1, 2}}));
    const std::vector<CBookmarkRecord> stored = bookmarks.ArticleBookmarks(3);
    ASSERT_EQ(stored.size(), 2u);
    EXPECT_EQ(stored[0].id, b);  // the last passage first
    EXPECT_EQ(stored[0].startChar, 30);
    EXPECT_EQ(stored[0].type, 4u);
    EXPECT_EQ(stored[1].endChar, 20);

    struct stat before {};
    ::stat(Path().c_str(), &before);
    ASSERT_TRUE(bookmarks.HasRecords(3));
    ASSERT_TRUE(bookmarks.DeleteAll());
    EXPECT_TRUE(bookmarks.All().empty());
    EXPECT_TRUE(bookmarks.IsOpen());
    // The rows went, the file stayed; numbering starts again as in a new file.
    struct stat after {};
    ::stat(Path().c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(bookmarks.Add(3, "Land", "c...", ""), 2);
}

TEST_F(BookmarkDatabaseTest, KilledWhileWritingLeavesTheOldOrTheNewState) {
    {
        CBookmarkDatabase bookmarks;
        ASSERT_TRUE(bookmarks.Open(Path(), true));
        for (int k = 0; k < 4; ++k) bookmarks.Add(1, "Eins", "b...", "");
    }
    std::mt19937 random(17);
    for (int round = 0; round < 6; ++round) {
        SCOPED_TRACE(round);
        int beat[2];
        ASSERT_EQ(::pipe(beat), 0);
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            // Every round of the loop: all bookmarks of article 1 get the same new positions,
            // and article 2 gets a bookmark (with its node the first time).
            ::close(beat[0]);
            CBookmarkDatabase bookmarks;
            if (!bookmarks.Open(Path(), false)) ::_exit(3);
            std::vector<CBookmarkRecord> records = bookmarks.ArticleBookmarks(1);
            for (std::size_t i = 1;; ++i) {
                std::vector<CBookmarkPlace> places;
                for (const CBookmarkRecord& r : records) places.push_back({r.id, 1, i, i + 5});
                if (!bookmarks.StorePositions(1, places)) ::_exit(4);
                if (bookmarks.Add(2, "Zwei", "n...", "") == 0) ::_exit(5);
                const char tick = 1;
                if (::write(beat[1], &tick, 1) != 1) ::_exit(6);
            }
        }
        ::close(beat[1]);
        // Some rounds written, then a kill at a moment of chance.
        char ticks[8];
        std::size_t got = 0;
        while (got < sizeof ticks) {
            const ssize_t n = ::read(beat[0], ticks, sizeof ticks - got);
            ASSERT_GT(n, 0) << "the writing child ended early";
            got += static_cast<std::size_t>(n);
        }
        ::usleep(std::uniform_int_distribution<int>(0, 3000)(random));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ::close(beat[0]);
        ASSERT_TRUE(WIFSIGNALED(status)) << "exit " << WEXITSTATUS(status);

        CBookmarkDatabase bookmarks;
        ASSERT_TRUE(bookmarks.Open(Path(), false));
        const std::vector<CBookmarkRecord> ones = bookmarks.ArticleBookmarks(1);
        ASSERT_EQ(ones.size(), 4u);
        for (const CBookmarkRecord& r : ones) {
            EXPECT_EQ(r.startChar, ones[0].startChar);
            EXPECT_EQ(r.endChar, r.startChar + 5);
        }
        std::size_t nodes = 0, marks = 0;
        for (const CBookmarkRecord& r : bookmarks.All())
            if (r.mid == 2) (r.pid == 0 ? nodes : marks)++;
        EXPECT_EQ(nodes, 1u);
        EXPECT_GE(marks, 8u * (round + 1));
        sqlite3* raw = bookmarks.Database()->Handle();
        sqlite3_stmt* check = nullptr;
        ASSERT_EQ(sqlite3_prepare_v2(raw, "PRAGMA integrity_check", -1, &check, nullptr),
                  SQLITE_OK);
        ASSERT_EQ(sqlite3_step(check), SQLITE_ROW);
        EXPECT_STREQ(reinterpret_cast<const char*>(sqlite3_column_text(check, 0)), "ok");
        sqlite3_finalize(check);
    }
}
