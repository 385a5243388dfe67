#include "text/BookmarkDatabase.h"

#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "platform/Text.h"

namespace {

// The table in the order of its fields; ID counts on and never hands out a number again.
constexpr const char* kCreateTable
    = "CREATE TABLE Bookmark (ID INTEGER PRIMARY KEY AUTOINCREMENT, PID LONG, MID LONG, "
      "Title TEXT(128), Note MEMO, Type BYTE, StartChar LONG, EndChar LONG)";

std::int32_t Integer(const CVariant& value) {
    double number = 0;
    ToNumber(value, number);
    return static_cast<std::int32_t>(number);
}

std::int32_t Position(std::size_t pos) {
    return static_cast<std::int32_t>(std::min<std::size_t>(pos, INT32_MAX));
}

std::string NoteToStore(const std::string& note) { return note.empty() ? " " : note; }

CBookmarkRecord ReadRecord(const CRecordset& rs) {
    CBookmarkRecord record;
    record.id = Integer(rs.GetFieldValue("ID"));
    record.pid = Integer(rs.GetFieldValue("PID"));
    record.mid = Integer(rs.GetFieldValue("MID"));
    record.title = ToText(rs.GetFieldValue("Title"));
    record.note = ToText(rs.GetFieldValue("Note"));
    record.type = static_cast<unsigned>(std::max(0, Integer(rs.GetFieldValue("Type"))));
    record.startChar = Integer(rs.GetFieldValue("StartChar"));
    record.endChar = Integer(rs.GetFieldValue("EndChar"));
    return record;
}

// Runs body inside one transaction on db: committed when it returns, rolled back when it
// throws. Failures are reported in the bookmark form under context.
template <class Body>
bool Write(CDatabase* db, const char* context, Body&& body) {
    if (!db || !db->IsOpen()) return false;
    CDBBusyCursor busy;
    return DBGuard(
        context,
        [&] {
            db->Execute("BEGIN IMMEDIATE");
            try {
                body();
                db->Execute("COMMIT");
            } catch (const std::exception&) {
                // Whatever the body wrote goes; the error still goes to the reporter.
                sqlite3_exec(db->Handle(), "ROLLBACK", nullptr, nullptr, nullptr);
                throw;
            }
        },
        DBReportForm::Bookmark);
}

template <class Body>
bool Query(CDatabase* db, const std::string& sql, const char* context, Body&& body) {
    if (!db || !db->IsOpen()) return false;
    return DBRead(*db, sql, context, std::forward<Body>(body), DBReportForm::Bookmark);
}

}  // namespace

CBookmarkDatabase::CBookmarkDatabase() = default;
CBookmarkDatabase::~CBookmarkDatabase() = default;

bool CBookmarkDatabase::Create(const std::string& path) {
    // Made under another name and renamed into place: a failure half-way leaves no file that
    // looks like a bookmark database without being one.
    const std::string part = path + ".new";
    ::unlink(part.c_str());
    const bool made = DBGuard(
        "CNOXBrowser::CreateBookmarkDatabase",
        [&] {
            CDatabase db;
            db.Create(part, kLocale);
            db.Execute(kCreateTable);
            db.Close();
            if (std::rename(part.c_str(), path.c_str()) != 0)
                throw CDBException("The database file cannot be renamed into place.",
                                   SQLITE_CANTOPEN);
        },
        DBReportForm::Bookmark);
    if (!made) ::unlink(part.c_str());
    return made;
}

bool CBookmarkDatabase::Open(const std::string& path, bool create) {
    Close();
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        if (!create || !Create(path)) return false;
    }
    auto db = std::make_unique<CDatabase>();
    const bool opened = DBGuard(
        "CNOXBrowser::InitBookmarks",
        [&] {
            db->Open(path, false, false);
            // A file without the table (or with another one of that name) is no bookmark
            // database.
            CRecordset probe(db.get());
            probe.Open(
                "SELECT ID, PID, MID, Title, Note, Type, StartChar, EndChar FROM Bookmark "
                "WHERE ID=0");
        },
        DBReportForm::Bookmark);
    if (!opened) return false;
    m_db = std::move(db);
    m_path = path;
    return true;
}

void CBookmarkDatabase::Close() {
    m_db.reset();
    m_path.clear();
}

bool CBookmarkDatabase::IsOpen() const { return m_db && m_db->IsOpen(); }

CDatabase* CBookmarkDatabase::Database() const { return IsOpen() ? m_db.get() : nullptr; }

std::int32_t CBookmarkDatabase::Add(std::int32_t article, const std::string& articleTitle,
                                    const std::string& title, const std::string& note,
                                    unsigned type) {
    std::int32_t id = 0;
    const bool written = Write(m_db.get(), "CNOXBrowser::AddBookmark", [&] {
        CRecordset rs(m_db.get());
        rs.Open(SqlFormat("SELECT * FROM Bookmark WHERE MID=%li AND PID=0", long(article)));
        std::int32_t node = 0;
        if (rs.IsEOF()) {
            rs.AddNew();
            rs.SetFieldValue("MID", CVariant::FromLong(article));
            rs.SetFieldValue("PID", CVariant::FromLong(0));
            rs.SetFieldValue(
                "Title", CVariant::FromText(CutToCharacters(articleTitle, kBookmarkFieldChars)));
            rs.SetFieldValue("Note", CVariant::FromText(NoteToStore(note)));
            rs.Update();
            rs.SetBookmark(rs.GetLastModifiedBookmark());
        }
        node = Integer(rs.GetFieldValue("ID"));
        rs.AddNew();
        rs.SetFieldValue("MID", CVariant::FromLong(article));
        rs.SetFieldValue("PID", CVariant::FromLong(node));
        rs.SetFieldValue("Title", CVariant::FromText(CutToCharacters(title, kBookmarkFieldChars)));
        rs.SetFieldValue("Note", CVariant::FromText(NoteToStore(note)));
        rs.SetFieldValue("Type", CVariant::FromByte(static_cast<std::uint8_t>(type)));
        rs.SetFieldValue("StartChar", CVariant::FromLong(0));
        rs.SetFieldValue("EndChar", CVariant::FromLong(0));
        rs.Update();
        rs.SetBookmark(rs.GetLastModifiedBookmark());
        id = Integer(rs.GetFieldValue("ID"));
    });
    return written ? id : 0;
}

std::vector<CBookmarkRecord> CBookmarkDatabase::ArticleBookmarks(std::int32_t article) const {
    std::vector<CBookmarkRecord> records;
    Query(m_db.get(),
          SqlFormat("SELECT * FROM Bookmark WHERE MID=%li AND PID<>0 ORDER BY StartChar DESC",
                    long(article)),
          "CNOXBrowser::RetrieveBookmarks (2)", [&](CRecordset& rs) {
              for (; !rs.IsEOF(); rs.MoveNext()) records.push_back(ReadRecord(rs));
          });
    return records;
}

bool CBookmarkDatabase::StorePositions(std::int32_t article,
                                       const std::vector<CBookmarkPlace>& places) {
    return Write(m_db.get(), "CNOXBrowser::StoreBookmarkPositions", [&] {
        CRecordset rs(m_db.get());
        rs.Open(SqlFormat("SELECT * FROM Bookmark WHERE MID=%li AND PID<>0", long(article)));
        for (const CBookmarkPlace& place : places) {
            if (!rs.FindFirst(SqlFormat("ID=%li", long(place.id)))) continue;
            rs.Edit();
            if (place.type >= 1 && place.type <= 6)
                rs.SetFieldValue("Type", CVariant::FromByte(static_cast<std::uint8_t>(place.type)));
            rs.SetFieldValue("StartChar", CVariant::FromLong(Position(place.start)));
            rs.SetFieldValue("EndChar", CVariant::FromLong(Position(place.end)));
            rs.Update();
        }
    });
}

std::int32_t CBookmarkDatabase::ContentID(std::int32_t id) const {
    std::int32_t mid = 0;
    Query(m_db.get(), SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)),
          "CNOXBrowser::GetBookmarkContentID", [&](CRecordset& rs) {
              if (!rs.IsEOF()) mid = Integer(rs.GetFieldValue("MID"));
          });
    return mid;
}

std::int32_t CBookmarkDatabase::NodeID(std::int32_t article) const {
    std::int32_t node = 0;
    Query(m_db.get(), SqlFormat("SELECT * FROM Bookmark WHERE MID=%li AND PID=0", long(article)),
          "CNOXBrowser::GetBookmarkNodeID", [&](CRecordset& rs) {
              if (!rs.IsEOF()) node = Integer(rs.GetFieldValue("ID"));
          });
    return node;
}

bool CBookmarkDatabase::Read(std::int32_t id, CBookmarkRecord& record) const {
    bool found = false;
    Query(m_db.get(), SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)),
          "CNOXBrowser::DeleteBookmark / check node", [&](CRecordset& rs) {
              if (rs.IsEOF()) return;
              record = ReadRecord(rs);
              found = true;
          });
    return found;
}

long CBookmarkDatabase::DeleteArticle(std::int32_t article) {
    long deleted = 0;
    const bool written = Write(m_db.get(), "CNOXBrowser::DeleteBookmark / delete node", [&] {
        deleted = 0;
        CRecordset rs(m_db.get());
        rs.Open(SqlFormat("SELECT * FROM Bookmark WHERE MID=%li", long(article)));
        for (; !rs.IsEOF(); rs.MoveNext()) {
            rs.Delete();
            ++deleted;
        }
    });
    return written ? deleted : -1;
}

bool CBookmarkDatabase::DeleteSingle(std::int32_t id) {
    bool deleted = false;
    const bool written = Write(m_db.get(), "CNOXBrowser::DeleteBookmark / delete single", [&] {
        CRecordset rs(m_db.get());
        rs.Open(SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)));
        if (rs.IsEOF()) return;
        rs.Delete();
        deleted = true;
    });
    return written && deleted;
}

bool CBookmarkDatabase::DeleteAll() {
    return Write(m_db.get(), "CNOXBrowser::DeleteAllBookmarks", [&] {
        m_db->Execute("DELETE FROM Bookmark");
        m_db->Execute("DELETE FROM sqlite_sequence WHERE name='Bookmark'");
    });
}

bool CBookmarkDatabase::HasRecords(std::int32_t article) const {
    bool any = false;
    Query(m_db.get(), SqlFormat("SELECT * FROM Bookmark WHERE MID=%li", long(article)),
          "CNOXBrowser::DeleteAllBookmarks", [&](CRecordset& rs) { any = !rs.IsEOF(); });
    return any;
}

bool CBookmarkDatabase::SetNote(std::int32_t id, const std::string& note) {
    bool found = false;
    const bool written = Write(m_db.get(), "CNOXBrowser::SetBookmarkNote", [&] {
        CRecordset rs(m_db.get());
        rs.Open(SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)));
        if (rs.IsEOF()) return;
        rs.Edit();
        rs.SetFieldValue("Note", CVariant::FromText(NoteToStore(note)));
        rs.Update();
        found = true;
    });
    return written && found;
}

std::string CBookmarkDatabase::GetNote(std::int32_t id) const {
    std::string note;
    Query(m_db.get(), SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)),
          "CNOXBrowser::GetBookmarkNote", [&](CRecordset& rs) {
              if (!rs.IsEOF()) note = ToText(rs.GetFieldValue("Note"));
          });
    return std::string(TrimBlanks(note));
}

bool CBookmarkDatabase::Rename(std::int32_t id, const std::string& title, unsigned type) {
    bool found = false;
    const bool written = Write(m_db.get(), "CNOXBrowser::RenameBookmark", [&] {
        CRecordset rs(m_db.get());
        rs.Open(SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)));
        if (rs.IsEOF()) return;
        rs.Edit();
        rs.SetFieldValue("Title", CVariant::FromText(CutToCharacters(title, kBookmarkFieldChars)));
        rs.SetFieldValue("Type", CVariant::FromByte(static_cast<std::uint8_t>(type)));
        rs.Update();
        found = true;
    });
    return written && found;
}

unsigned CBookmarkDatabase::GetType(std::int32_t id) const {
    unsigned type = 0;
    Query(m_db.get(), SqlFormat("SELECT * FROM Bookmark WHERE ID=%li", long(id)),
          "CNOXBrowser::GetBookmarkType", [&](CRecordset& rs) {
              if (!rs.IsEOF())
                  type = static_cast<unsigned>(std::max(0, Integer(rs.GetFieldValue("Type"))));
          });
    return type;
}

std::vector<CBookmarkRecord> CBookmarkDatabase::All(const std::string& order) const {
    std::vector<CBookmarkRecord> records;
    Query(m_db.get(), "SELECT * FROM Bookmark ORDER BY " + order, "CNOXBrowser::ListBookmarks",
          [&](CRecordset& rs) {
              for (; !rs.IsEOF(); rs.MoveNext()) records.push_back(ReadRecord(rs));
          });
    return records;
}
