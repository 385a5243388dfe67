#pragma once
// The bookmark database "Bookmark.mdb" in the user's folder: one table "Bookmark" with a node
// record per article (PID 0, Title the article's title) and below it the bookmarks of that
// article (PID the node's ID). The browser wrapper keeps one open while bookmarks are on; the
// command line lists one.
//
// Every change runs in one transaction: a program killed while it writes leaves the old or
// the new state, never half of a bookmark. Failures go to the reporter in the bookmark form
// with the wrapper's context strings ("CNOXBrowser::AddBookmark", ...); the operation then
// returns its failure value and leaves the file as it was.

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "text/Bookmark.h"

class CDatabase;

// One record of table "Bookmark".
struct CBookmarkRecord {
    std::int32_t id = 0;
    std::int32_t pid = 0;
    std::int32_t mid = 0;
    std::string title;
    // As stored: a single blank for an empty note.
    std::string note;
    unsigned type = 0;
    std::int32_t startChar = 0;
    std::int32_t endChar = 0;
};

class CBookmarkDatabase {
public:
    static constexpr const char* kFileName = "Bookmark.mdb";
    static constexpr const char* kLocale = ";LANGID=0x0409;CP=1252;COUNTRY=0";

    CBookmarkDatabase();
    ~CBookmarkDatabase();
    CBookmarkDatabase(const CBookmarkDatabase&) = delete;
    CBookmarkDatabase& operator=(const CBookmarkDatabase&) = delete;

    // Opens the file at path writable; a missing file is created first when create is set
    // (false without it). False when it cannot be created or opened, or is not a bookmark
    // database; bookmarks are off then.
    bool Open(const std::string& path, bool create);
    // Creates a new bookmark database with its empty table at path (the file must not exist);
    // the file is closed again. A file that could not be made whole is removed.
    static bool Create(const std::string& path);
    void Close();
    bool IsOpen() const;
    const std::string& Path() const { return m_path; }
    // The open database, for the tree over table "Bookmark"; null while closed.
    CDatabase* Database() const;

    // Adds a bookmark (title, note; positions 0) to article, and its node (titled
    // articleTitle) when the article has none yet. An empty note is stored as " ". Returns the
    // new bookmark's ID, 0 on failure.
    std::int32_t Add(std::int32_t article, const std::string& articleTitle,
                     const std::string& title, const std::string& note, unsigned type = 1);
    // The bookmarks of article, the last passage first.
    std::vector<CBookmarkRecord> ArticleBookmarks(std::int32_t article) const;
    // Type and positions of each measured bookmark of article (found by its ID); one
    // transaction. Places whose ID is not a bookmark of the article are left out.
    bool StorePositions(std::int32_t article, const std::vector<CBookmarkPlace>& places);
    // The article (MID) of record id; 0 when there is none.
    std::int32_t ContentID(std::int32_t id) const;
    // The node of article; 0 when it has none.
    std::int32_t NodeID(std::int32_t article) const;
    // Record id; false when it is missing.
    bool Read(std::int32_t id, CBookmarkRecord& record) const;
    // Deletes every record of article (node and bookmarks); the number deleted, -1 on failure.
    long DeleteArticle(std::int32_t article);
    // Deletes record id alone.
    bool DeleteSingle(std::int32_t id);
    // Deletes every record in one transaction; IDs start at 1 again.
    bool DeleteAll();
    // Whether article has any record.
    bool HasRecords(std::int32_t article) const;

    // The note of id (" " for an empty one); GetNote trims it ("" for none).
    bool SetNote(std::int32_t id, const std::string& note);
    std::string GetNote(std::int32_t id) const;
    // Title (cut to the field's 128 characters) and picture type 1 to 6 of id.
    bool Rename(std::int32_t id, const std::string& title, unsigned type);
    // The picture type of id; 0 when it is missing.
    unsigned GetType(std::int32_t id) const;

    // Every record, nodes and bookmarks, in the order given (an SQL ORDER BY text).
    std::vector<CBookmarkRecord> All(const std::string& order = "ID ASC") const;

private:
    std::unique_ptr<CDatabase> m_db;
    std::string m_path;
};
