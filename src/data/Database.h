#pragma once
// The database layer over SQLite: a database handle and recordsets opened as dynasets on an
// SQL text, with the operations the program's readers and the bookmark functions use.
//
// Declared column types decide the kind of variant a field reads as (case-insensitive, the
// first word of the declared type, a size in parentheses ignored):
//   LONG, INTEGER, INT, COUNTER, AUTOINCREMENT, MEDIUMINT,
//   BIGINT, INTEGER8                                       -> VT_I4
//   SHORT, SMALLINT, INTEGER2                              -> VT_I2
//   BYTE, TINYINT                                          -> VT_UI1
//   DOUBLE, REAL, FLOAT, NUMERIC, DECIMAL, NUMBER          -> VT_R8
//   SINGLE                                                 -> VT_R4
//   TEXT, MEMO, VARCHAR, CHAR, NVARCHAR, NCHAR, LONGTEXT,
//   CLOB, STRING                                           -> VT_BSTR
//   BIT, YESNO, BOOLEAN, LOGICAL                           -> VT_BOOL
// SQL NULL is always VT_NULL. A column without a declared type (an expression) or with any
// other declared type reads by the value's own storage class: integers as VT_I4, reals as
// VT_R8, text as VT_BSTR, blobs as VT_ARRAY|VT_UI1 (no content). A stored value that does
// not fit its declared kind (a text in a LONG column, 300 in a BYTE column) keeps its own
// storage class rather than being cut; an integer beyond 32 bits reads as VT_R8.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "data/DBException.h"
#include "data/SqliteHandle.h"
#include "data/Variant.h"

// The connect string the program opens its almanac with.
inline constexpr const char* kAlmanacConnect = ";pwd=3A9D07B1E5C2";

// An open database file. Recordsets keep a pointer to it and must not outlive it.
class CDatabase {
public:
    CDatabase();
    ~CDatabase();
    CDatabase(const CDatabase&) = delete;
    CDatabase& operator=(const CDatabase&) = delete;
    CDatabase(CDatabase&&) noexcept;
    CDatabase& operator=(CDatabase&&) noexcept;

    // Opens the database file at path. readOnly opens it read-only and immutable (the almanac);
    // otherwise it is opened read-write and must exist (the bookmark database). connect is a
    // Jet connect string; its "pwd" must match a password the file carries (a file without one
    // opens with any password). exclusive is accepted as callers pass it: there is only one
    // connection anyway. Throws CDBException with the engine's message ("unable to open
    // database file", "file is not a database", "Not a valid password.") and stays closed.
    void Open(const std::string& path, bool exclusive = false, bool readOnly = false,
              std::string_view connect = {});
    // Creates a new, empty database file at path and opens it read-write. Throws CDBException
    // when the file exists ("Database already exists.") or cannot be created. locale is a Jet
    // locale string such as ";LANGID=0x0409;CP=1252;COUNTRY=0"; texts are UTF-8 regardless.
    void Create(const std::string& path, std::string_view locale = {});
    // Closes the file; open recordsets keep their rows but can no longer update.
    void Close() noexcept;
    bool IsOpen() const noexcept;
    bool IsReadOnly() const noexcept;
    // The path the database was opened or created with; empty when closed.
    const std::string& GetName() const noexcept;

    // Runs one SQL statement that returns no rows (CREATE TABLE, INSERT, UPDATE, DELETE).
    // Throws CDBException on an engine error or when sql holds more than one statement.
    void Execute(std::string_view sql);
    // Rows changed by the last Execute or recordset Update/Delete.
    long GetRecordsAffected() const noexcept;

    // The connection, for code that talks to SQLite itself; null when closed.
    sqlite3* Handle() const noexcept;

private:
    friend class CRecordset;  // counts the rows its updates change

    CSqliteHandle m_db;
    std::string m_name;
    bool m_readOnly = false;
    long m_recordsAffected = 0;
};

// Identifies a record of an open recordset for as long as the recordset stays open, also
// when records before it are deleted (DAO's bookmark).
using RecordBookmark = std::uint32_t;

// A dynaset: the rows of one query, kept in memory in the query's order, with a current
// record. Moving past either end sets EOF or BOF; reading or moving further there throws
// "No current record.". Single-table recordsets on a writable database whose columns include
// the table's INTEGER PRIMARY KEY can add, edit and delete records.
class CRecordset {
public:
    // database must stay open while the recordset reads from it.
    explicit CRecordset(CDatabase* database);
    ~CRecordset();
    CRecordset(const CRecordset&) = delete;
    CRecordset& operator=(const CRecordset&) = delete;
    CRecordset(CRecordset&&) noexcept;
    CRecordset& operator=(CRecordset&&) noexcept;

    // Runs sql, which must be one query, and keeps its rows; the current record is the first
    // (EOF and BOF both true when there is none). Throws CDBException (syntax error, missing
    // table, not a query) and leaves the recordset closed.
    void Open(std::string_view sql);
    // Runs the query again; the current record is the first.
    void Requery();
    void Close() noexcept;
    bool IsOpen() const noexcept;
    const std::string& GetSQL() const noexcept;

    bool IsBOF() const noexcept;
    bool IsEOF() const noexcept;
    // Move operations throw CDBException "No current record." when the recordset is empty
    // (MoveFirst, MoveLast) or already past the end in that direction (MoveNext, MovePrev).
    // Moving cancels a pending AddNew or Edit.
    void MoveFirst();
    void MoveLast();
    void MoveNext();
    void MovePrev();
    // Moves by rows from the current record; landing outside sets EOF or BOF.
    void Move(long rows);

    // Number of records; all rows are read on Open, so this is the full count at once.
    long GetRecordCount() const noexcept;
    // Zero-based position of the current record; -1 when there is none.
    long GetAbsolutePosition() const noexcept;
    // Makes the record at position current; throws when position is out of range.
    void SetAbsolutePosition(long position);

    short GetFieldCount() const noexcept;
    // Name of the field at index as the query gives it (its alias, or the column name).
    const std::string& GetFieldName(int index) const;
    // Index of a field by name, case-insensitively; -1 when the recordset has no such field.
    int GetFieldIndex(std::string_view name) const noexcept;
    // Value of a field of the current record (name case-insensitive). Throws CDBException
    // "No current record." at EOF/BOF and "Item not found in this collection." for an
    // unknown name. The value of a pending AddNew or Edit is the edited one.
    CVariant GetFieldValue(std::string_view name) const;
    CVariant GetFieldValue(int index) const;
    // Same, into value.
    void GetFieldValue(std::string_view name, CVariant& value) const;

    // Makes the first record matching criteria, a Jet condition such as "LandID=276 AND
    // Jahr<=2002" or "Title LIKE 'Ö*'", current and returns true. Without a match returns
    // false and leaves the current record where it was. Throws CDBException for a malformed
    // condition or an unknown field name.
    bool FindFirst(std::string_view criteria);
    // Same, searching from the record after the current one.
    bool FindNext(std::string_view criteria);

    // Whether AddNew, Edit and Delete are possible on this recordset.
    bool CanUpdate() const noexcept;
    // Starts a new record; its fields are NULL until set. Update stores it; it is added at the
    // end of the recordset and the current record stays the one before AddNew.
    void AddNew();
    // Starts editing the current record; Update stores the fields set since.
    void Edit();
    // Stores the pending AddNew or Edit. Throws CDBException (the engine's message, or
    // "Update or CancelUpdate without AddNew or Edit.") and keeps the edit pending.
    void Update();
    // Drops the pending AddNew or Edit.
    void CancelUpdate() noexcept;
    // Deletes the current record from the table and the recordset. It stays current but
    // unreadable until the next move; MoveNext then goes to the record that followed it.
    void Delete();
    // Sets a field of the pending AddNew or Edit; throws when none is pending.
    void SetFieldValue(std::string_view name, const CVariant& value);
    void SetFieldValueNull(std::string_view name);

    // Bookmark of the current record; throws without one.
    RecordBookmark GetBookmark() const;
    // Makes the record with bookmark current; throws when it is gone.
    void SetBookmark(RecordBookmark bookmark);
    // Bookmark of the record last added or edited by Update.
    RecordBookmark GetLastModifiedBookmark() const;

private:
    void Run(std::string sql);

    struct Impl;
    CDatabase* m_database;
    std::unique_ptr<Impl> m_impl;
};
