#include "data/Database.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <utility>
#include <vector>

#include "data/ColumnIndex.h"
#include "data/DbStatement.h"
#include "data/JetCondition.h"
#include "data/RowReader.h"
#include "data/RowStore.h"
#include "data/TextArena.h"

using namespace dbdetail;

struct CRecordset::Impl {
    std::string sql;
    bool open = false;

    std::vector<std::string> names;
    int columns = 0;
    RowReader reader;
    CTextArena arena;
    CRowStore rows;
    std::vector<RecordBookmark> serials;
    RecordBookmark nextSerial = 0;

    long pos = 0;
    bool deletedCurrent = false;

    // Updating: the table, each field's column in it, and the field holding the row's key.
    bool updatable = false;
    std::string table;
    std::vector<std::string> origins;
    int keyColumn = -1;
    enum class EditMode { None, Add, Edit } mode = EditMode::None;
    std::vector<std::optional<CVariant>> buffer;
    std::optional<RecordBookmark> lastModified;

    std::vector<std::unique_ptr<ColumnIndex>> indexes;

    long Count() const noexcept { return rows.Count(); }
    const Cell* Row(long r) const noexcept { return rows.Row(r); }

    void Reset() noexcept {
        open = false;
        names.clear();
        columns = 0;
        reader = RowReader{};
        rows.Reset(0);
        arena.Clear();
        serials.clear();
        nextSerial = 0;
        pos = 0;
        deletedCurrent = false;
        updatable = false;
        table.clear();
        origins.clear();
        keyColumn = -1;
        mode = EditMode::None;
        buffer.clear();
        lastModified.reset();
        indexes.clear();
    }

    void RequireOpen() const {
        if (!open) Fail("Operation is not allowed when the object is closed.");
    }
    // The current row; throws without one.
    long CurrentRow() const {
        RequireOpen();
        if (deletedCurrent) Fail("Record is deleted.");
        if (pos < 0 || pos >= Count()) Fail(kNoCurrentRecord);
        return pos;
    }
    void Moved() noexcept {
        deletedCurrent = false;
        mode = EditMode::None;
    }

    int FieldIndex(std::string_view name) const noexcept {
        for (int i = 0; i < columns; ++i) {
            if (EqualsNoCase(names[i], name)) return i;
        }
        return -1;
    }
    int RequireField(std::string_view name) const {
        int index = FieldIndex(name);
        if (index < 0) Fail(std::string(kItemNotFound) + " (" + std::string(name) + ")");
        return index;
    }

    void FindUpdateTarget(sqlite3* db, sqlite3_stmt* stmt);
    const ColumnIndex& IndexOf(int column);
    bool Find(std::string_view criteria, long start);
    std::vector<Cell> ReadRow(sqlite3* db, std::int64_t key);
    std::int64_t Store(sqlite3* db, const std::vector<int>& set, std::optional<std::int64_t> oldKey,
                       long& changed);
    sqlite3* WritableDb(CDatabase* database) const;
};

void CRecordset::Impl::FindUpdateTarget(sqlite3* db, sqlite3_stmt* stmt) {
    // Every field must be a plain column of one table of the main database.
    for (int i = 0; i < columns; ++i) {
        const char* database = sqlite3_column_database_name(stmt, i);
        const char* tableName = sqlite3_column_table_name(stmt, i);
        const char* origin = sqlite3_column_origin_name(stmt, i);
        if (!database || !tableName || !origin || std::strcmp(database, "main") != 0) return;
        if (i == 0)
            table = tableName;
        else if (!EqualsNoCase(table, tableName))
            return;
        origins.push_back(origin);
    }
    // Rows are found again by the table's INTEGER PRIMARY KEY.
    CSqliteStatement info = PrepareSingle(db, "PRAGMA main.table_info(" + QuoteName(table) + ")");
    std::string key;
    int keys = 0;
    while (sqlite3_step(info.Get()) == SQLITE_ROW) {
        if (sqlite3_column_int(info.Get(), 5) == 0) continue;
        ++keys;
        const auto* name = reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 1));
        const auto* type = reinterpret_cast<const char*>(sqlite3_column_text(info.Get(), 2));
        if (name && type && EqualsNoCase(type, "INTEGER")) key = name;
    }
    if (keys != 1 || key.empty()) return;
    for (int i = 0; i < columns; ++i) {
        if (EqualsNoCase(origins[i], key)) {
            keyColumn = i;
            updatable = true;
            return;
        }
    }
}

const ColumnIndex& CRecordset::Impl::IndexOf(int column) {
    if (indexes.empty()) indexes.resize(columns);
    auto& index = indexes[column];
    if (!index) {
        index = std::make_unique<ColumnIndex>();
        index->Build(rows, column);
    }
    return *index;
}

bool CRecordset::Impl::Find(std::string_view criteria, long start) {
    RequireOpen();
    CJetCondition condition(criteria, [this](std::string_view name) { return FieldIndex(name); });
    long current = 0;
    CJetCondition::RowReader row
        = [this, &current](int column) { return JetValueOf(Row(current)[column]); };
    const long count = Count();
    start = std::max(start, 0L);
    long found = -1;

    // A required "field = literal" narrows the search to the rows holding that value; of
    // several such terms the rarest value is taken.
    const std::vector<std::uint32_t>* candidates = nullptr;
    bool impossible = false;
    for (const auto& term : condition.RequiredEqualities()) {
        if (term.literal.kind != CJetValue::Number && term.literal.kind != CJetValue::Text) {
            impossible = true;  // "= NULL" is never true
            break;
        }
        const std::vector<std::uint32_t>* rows = IndexOf(term.column).Lookup(term.literal);
        if (!rows) {
            impossible = true;
            break;
        }
        if (!candidates || rows->size() < candidates->size()) candidates = rows;
    }
    if (impossible) return false;
    if (candidates) {
        auto it = std::lower_bound(candidates->begin(), candidates->end(),
                                   static_cast<std::uint32_t>(start));
        for (; it != candidates->end(); ++it) {
            current = static_cast<long>(*it);
            if (condition.Matches(row)) {
                found = current;
                break;
            }
        }
    } else {
        for (current = start; current < count; ++current) {
            if (condition.Matches(row)) {
                found = current;
                break;
            }
        }
    }
    if (found < 0) return false;
    pos = found;
    Moved();
    return true;
}

sqlite3* CRecordset::Impl::WritableDb(CDatabase* database) const {
    RequireOpen();
    if (!database || !database->IsOpen()) Fail(kNotOpen);
    if (!updatable || database->IsReadOnly()) Fail(kReadOnly);
    return database->Handle();
}

std::vector<Cell> CRecordset::Impl::ReadRow(sqlite3* db, std::int64_t key) {
    std::string sql = "SELECT ";
    for (int i = 0; i < columns; ++i) {
        if (i > 0) sql += ", ";
        sql += QuoteName(origins[i]);
    }
    sql += " FROM " + QuoteName(table) + " WHERE " + QuoteName(origins[keyColumn]) + "=?";
    CSqliteStatement stmt = PrepareSingle(db, sql);
    sqlite3_bind_int64(stmt.Get(), 1, key);
    int rc = sqlite3_step(stmt.Get());
    if (rc == SQLITE_DONE) Fail("The record was not found after it was stored.");
    if (rc != SQLITE_ROW) FailWith(db, rc);
    std::vector<Cell> row;
    row.reserve(columns);
    for (int i = 0; i < columns; ++i) row.push_back(reader.Read(stmt.Get(), i));
    return row;
}

// Writes the buffered fields set to the table: as a new row without oldKey, else into the
// row holding oldKey. Returns the key of the stored row and the rows the statement changed.
std::int64_t CRecordset::Impl::Store(sqlite3* db, const std::vector<int>& set,
                                     std::optional<std::int64_t> oldKey, long& changed) {
    const bool adding = !oldKey;
    std::string sql = (adding ? "INSERT INTO " : "UPDATE ") + QuoteName(table);
    if (adding && set.empty()) {
        sql += " DEFAULT VALUES";
    } else {
        std::string names;
        std::string marks;
        for (size_t k = 0; k < set.size(); ++k) {
            if (k > 0) {
                names += ", ";
                marks += ", ";
            }
            names += QuoteName(origins[set[k]]);
            if (!adding) names += "=?";
            marks += "?";
        }
        if (adding)
            sql += " (" + names + ") VALUES (" + marks + ")";
        else
            sql += " SET " + names + " WHERE " + QuoteName(origins[keyColumn]) + "=?";
    }
    CSqliteStatement stmt = PrepareSingle(db, sql);
    for (size_t k = 0; k < set.size(); ++k)
        Bind(db, stmt.Get(), static_cast<int>(k) + 1, *buffer[set[k]]);
    if (!adding) sqlite3_bind_int64(stmt.Get(), static_cast<int>(set.size()) + 1, *oldKey);
    changed = StepToEnd(db, stmt.Get());

    const std::optional<CVariant>& newKey = buffer[keyColumn];
    if (newKey && !newKey->IsEmpty()) return newKey->Integer();
    return adding ? sqlite3_last_insert_rowid(db) : *oldKey;
}

CRecordset::CRecordset(CDatabase* database)
    : m_database(database), m_impl(std::make_unique<Impl>()) {
    m_impl->reader.arena = &m_impl->arena;
}

CRecordset::~CRecordset() = default;
CRecordset::CRecordset(CRecordset&&) noexcept = default;
CRecordset& CRecordset::operator=(CRecordset&&) noexcept = default;

void CRecordset::Open(std::string_view sql) {
    Impl& d = *m_impl;
    // The query text may be our own SQL; keep a copy before resetting.
    std::string text(sql);
    d.Reset();
    try {
        Run(std::move(text));
    } catch (...) {
        // A failed open leaves the recordset closed, not half-filled.
        d.Reset();
        throw;
    }
}

void CRecordset::Run(std::string text) {
    Impl& d = *m_impl;
    d.reader.arena = &d.arena;
    if (!m_database || !m_database->IsOpen()) Fail(kNotOpen);
    sqlite3* db = m_database->Handle();
    CSqliteStatement stmt = PrepareSingle(db, text);
    d.columns = sqlite3_column_count(stmt.Get());
    d.rows.Reset(d.columns);
    // A dynaset shows rows; a statement that changes data is no query.
    if (!sqlite3_stmt_readonly(stmt.Get()) || d.columns == 0) Fail("Invalid operation.");

    for (int i = 0; i < d.columns; ++i) {
        const char* name = sqlite3_column_name(stmt.Get(), i);
        d.names.push_back(name ? name : "");
        d.reader.kinds.push_back(KindOfDeclared(sqlite3_column_decltype(stmt.Get(), i)));
    }
    d.reader.lastText.assign(d.columns, {});
    if (!m_database->IsReadOnly()) d.FindUpdateTarget(db, stmt.Get());

    int rc;
    while ((rc = sqlite3_step(stmt.Get())) == SQLITE_ROW) {
        Cell* row = d.rows.Append();
        for (int i = 0; i < d.columns; ++i) row[i] = d.reader.Read(stmt.Get(), i);
    }
    if (rc != SQLITE_DONE) FailWith(db, rc);
    const long count = d.Count();
    if (count > static_cast<long>(UINT32_MAX)) Fail("Too many records.");
    d.serials.resize(static_cast<size_t>(count));
    for (long r = 0; r < count; ++r) d.serials[r] = static_cast<RecordBookmark>(r);
    d.nextSerial = static_cast<RecordBookmark>(count);
    d.sql = std::move(text);
    d.open = true;
    d.pos = 0;
}

void CRecordset::Requery() {
    m_impl->RequireOpen();
    std::string sql = m_impl->sql;
    Open(sql);
}

void CRecordset::Close() noexcept {
    m_impl->Reset();
    m_impl->sql.clear();
}

bool CRecordset::IsOpen() const noexcept { return m_impl->open; }
const std::string& CRecordset::GetSQL() const noexcept { return m_impl->sql; }

bool CRecordset::IsBOF() const noexcept {
    const Impl& d = *m_impl;
    if (!d.open || d.Count() == 0) return true;
    return !d.deletedCurrent && d.pos < 0;
}

bool CRecordset::IsEOF() const noexcept {
    const Impl& d = *m_impl;
    if (!d.open || d.Count() == 0) return true;
    return !d.deletedCurrent && d.pos >= d.Count();
}

void CRecordset::MoveFirst() {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (d.Count() == 0) Fail(kNoCurrentRecord);
    d.pos = 0;
    d.Moved();
}

void CRecordset::MoveLast() {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (d.Count() == 0) Fail(kNoCurrentRecord);
    d.pos = d.Count() - 1;
    d.Moved();
}

void CRecordset::MoveNext() {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (d.deletedCurrent) {
        // The record after the deleted one already sits at its position.
        d.Moved();
        return;
    }
    if (d.Count() == 0 || d.pos >= d.Count()) Fail(kNoCurrentRecord);
    ++d.pos;
    d.Moved();
}

void CRecordset::MovePrev() {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (d.deletedCurrent) {
        --d.pos;
        d.Moved();
        return;
    }
    if (d.Count() == 0 || d.pos < 0) Fail(kNoCurrentRecord);
    --d.pos;
    d.Moved();
}

void CRecordset::Move(long rows) {
    Impl& d = *m_impl;
    d.RequireOpen();
    long target;
    if (d.deletedCurrent) {
        // Counted from the gap the deleted record left.
        target = rows > 0 ? d.pos + rows - 1 : d.pos + rows;
    } else {
        d.CurrentRow();
        target = d.pos + rows;
    }
    d.pos = std::clamp(target, -1L, d.Count());
    d.Moved();
}

long CRecordset::GetRecordCount() const noexcept { return m_impl->open ? m_impl->Count() : 0; }

long CRecordset::GetAbsolutePosition() const noexcept {
    const Impl& d = *m_impl;
    if (!d.open || d.deletedCurrent || d.pos < 0 || d.pos >= d.Count()) return -1;
    return d.pos;
}

void CRecordset::SetAbsolutePosition(long position) {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (position < 0 || position >= d.Count()) Fail(kNoCurrentRecord);
    d.pos = position;
    d.Moved();
}

short CRecordset::GetFieldCount() const noexcept { return static_cast<short>(m_impl->columns); }

const std::string& CRecordset::GetFieldName(int index) const {
    if (index < 0 || index >= m_impl->columns) Fail(kItemNotFound);
    return m_impl->names[index];
}

int CRecordset::GetFieldIndex(std::string_view name) const noexcept {
    return m_impl->FieldIndex(name);
}

CVariant CRecordset::GetFieldValue(std::string_view name) const {
    m_impl->RequireOpen();
    return GetFieldValue(m_impl->RequireField(name));
}

CVariant CRecordset::GetFieldValue(int index) const {
    const Impl& d = *m_impl;
    d.RequireOpen();
    if (index < 0 || index >= d.columns) Fail(kItemNotFound);
    if (d.mode != Impl::EditMode::None && d.buffer[index]) return *d.buffer[index];
    if (d.mode == Impl::EditMode::Add) return CVariant::Null();
    return VariantOf(d.Row(d.CurrentRow())[index]);
}

void CRecordset::GetFieldValue(std::string_view name, CVariant& value) const {
    value = GetFieldValue(name);
}

bool CRecordset::FindFirst(std::string_view criteria) { return m_impl->Find(criteria, 0); }

bool CRecordset::FindNext(std::string_view criteria) {
    const Impl& d = *m_impl;
    long start = d.deletedCurrent ? d.pos : d.pos + 1;
    return m_impl->Find(criteria, start);
}

bool CRecordset::CanUpdate() const noexcept {
    return m_impl->open && m_impl->updatable && m_database && m_database->IsOpen()
           && !m_database->IsReadOnly();
}

void CRecordset::AddNew() {
    Impl& d = *m_impl;
    d.WritableDb(m_database);
    d.mode = Impl::EditMode::Add;
    d.buffer.assign(d.columns, std::nullopt);
}

void CRecordset::Edit() {
    Impl& d = *m_impl;
    d.WritableDb(m_database);
    d.CurrentRow();
    d.mode = Impl::EditMode::Edit;
    d.buffer.assign(d.columns, std::nullopt);
}

void CRecordset::SetFieldValue(std::string_view name, const CVariant& value) {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (d.mode == Impl::EditMode::None) Fail(kNoPendingEdit);
    d.buffer[d.RequireField(name)] = value;
}

void CRecordset::SetFieldValueNull(std::string_view name) { SetFieldValue(name, CVariant::Null()); }

void CRecordset::CancelUpdate() noexcept {
    m_impl->mode = Impl::EditMode::None;
    m_impl->buffer.clear();
}

void CRecordset::Update() {
    Impl& d = *m_impl;
    d.RequireOpen();
    if (d.mode == Impl::EditMode::None) Fail(kNoPendingEdit);
    sqlite3* db = d.WritableDb(m_database);

    std::vector<int> set;
    for (int i = 0; i < d.columns; ++i) {
        if (d.buffer[i]) set.push_back(i);
    }

    if (d.mode == Impl::EditMode::Add) {
        long changed = 0;
        std::int64_t key = d.Store(db, set, std::nullopt, changed);
        if (m_database) m_database->m_recordsAffected = changed;
        std::vector<Cell> row = d.ReadRow(db, key);
        // The new record joins the end; the current record stays where it was (at the end
        // of data, if that is where it was).
        bool atEnd = d.pos >= d.Count();
        std::copy(row.begin(), row.end(), d.rows.Append());
        d.serials.push_back(d.nextSerial);
        d.lastModified = d.nextSerial++;
        if (atEnd) d.pos = d.Count();
    } else {
        long r = d.CurrentRow();
        if (!set.empty()) {
            long changed = 0;
            std::int64_t key = d.Store(db, set, d.Row(r)[d.keyColumn].integer, changed);
            if (m_database) m_database->m_recordsAffected = changed;
            std::vector<Cell> row = d.ReadRow(db, key);
            std::copy(row.begin(), row.end(), d.rows.Row(r));
        }
        d.lastModified = d.serials[r];
    }
    d.mode = Impl::EditMode::None;
    d.buffer.clear();
    d.indexes.clear();
}

void CRecordset::Delete() {
    Impl& d = *m_impl;
    sqlite3* db = d.WritableDb(m_database);
    long r = d.CurrentRow();
    CSqliteStatement stmt = PrepareSingle(db, "DELETE FROM " + QuoteName(d.table) + " WHERE "
                                                  + QuoteName(d.origins[d.keyColumn]) + "=?");
    sqlite3_bind_int64(stmt.Get(), 1, d.Row(r)[d.keyColumn].integer);
    long changed = StepToEnd(db, stmt.Get());
    if (m_database) m_database->m_recordsAffected = changed;
    d.rows.Erase(r);
    d.serials.erase(d.serials.begin() + r);
    d.mode = Impl::EditMode::None;
    d.buffer.clear();
    d.indexes.clear();
    d.deletedCurrent = true;
}

RecordBookmark CRecordset::GetBookmark() const {
    return m_impl->serials[static_cast<size_t>(m_impl->CurrentRow())];
}

void CRecordset::SetBookmark(RecordBookmark bookmark) {
    Impl& d = *m_impl;
    d.RequireOpen();
    auto it = std::lower_bound(d.serials.begin(), d.serials.end(), bookmark);
    if (it == d.serials.end() || *it != bookmark) Fail("Not a valid bookmark.");
    d.pos = static_cast<long>(it - d.serials.begin());
    d.Moved();
}

RecordBookmark CRecordset::GetLastModifiedBookmark() const {
    m_impl->RequireOpen();
    if (!m_impl->lastModified) Fail(kNoCurrentRecord);
    return *m_impl->lastModified;
}
