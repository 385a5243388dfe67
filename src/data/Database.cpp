#include "data/Database.h"

#include <sys/stat.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "data/AlmanacSql.h"
#include "data/JetCondition.h"
#include "data/Sha256.h"
#include "data/ValueRoutines.h"

namespace {

constexpr const char* kNoCurrentRecord = "No current record.";
constexpr const char* kNoPendingEdit = "Update or CancelUpdate without AddNew or Edit.";
constexpr const char* kItemNotFound = "Item not found in this collection.";
constexpr const char* kNotOpen = "Database is not open.";
constexpr const char* kReadOnly = "Database or object is read-only.";

[[noreturn]] void Fail(const std::string& message, int code = SQLITE_ERROR) {
    throw CDBException(message, code);
}

// The connection's message for the last failure.
[[noreturn]] void FailWith(sqlite3* db, int rc) {
    if (db) Fail(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    Fail(sqlite3_errstr(rc), rc);
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i]))
            != std::tolower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return true;
}

// An SQL identifier in double quotes.
std::string QuoteName(std::string_view name) {
    std::string quoted = "\"";
    for (char c : name) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    return quoted + "\"";
}

// path as an SQLite file URI, so that query parameters can be added and no character of the
// path is read as one.
std::string FileUri(const std::string& path) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string uri = "file:";
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '.' || c == '_' || c == '~') {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += kHex[c >> 4];
            uri += kHex[c & 0x0F];
        }
    }
    return uri;
}

// The value of key (case-insensitive) in a Jet connect string such as ";pwd=secret".
std::string ConnectValue(std::string_view connect, std::string_view key) {
    while (!connect.empty()) {
        size_t end = connect.find(';');
        std::string_view part = connect.substr(0, end);
        connect = end == std::string_view::npos ? std::string_view{} : connect.substr(end + 1);
        size_t equals = part.find('=');
        if (equals == std::string_view::npos) continue;
        std::string_view name = part.substr(0, equals);
        while (!name.empty() && std::isspace(static_cast<unsigned char>(name.front())))
            name.remove_prefix(1);
        while (!name.empty() && std::isspace(static_cast<unsigned char>(name.back())))
            name.remove_suffix(1);
        if (EqualsNoCase(name, key)) return std::string(part.substr(equals + 1));
    }
    return {};
}

// Prepares the first statement of sql and refuses anything after it, so that text built
// into an SQL statement cannot append a second one.
CSqliteStatement PrepareSingle(sqlite3* db, std::string_view sql) {
    sqlite3_stmt* raw = nullptr;
    const char* tail = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &raw, &tail);
    CSqliteStatement stmt(raw);
    if (rc != SQLITE_OK) FailWith(db, rc);
    if (!stmt) Fail("Invalid SQL statement; expected 'DELETE', 'INSERT', 'SELECT' or 'UPDATE'.");
    size_t rest = static_cast<size_t>(sql.data() + sql.size() - tail);
    if (rest > 0) {
        // Blanks, semicolons and comments may follow; another statement may not.
        sqlite3_stmt* next = nullptr;
        rc = sqlite3_prepare_v2(db, tail, static_cast<int>(rest), &next, nullptr);
        CSqliteStatement nextStmt(next);
        if (rc != SQLITE_OK || nextStmt) Fail("Characters found after end of SQL statement.");
    }
    return stmt;
}

void Bind(sqlite3* db, sqlite3_stmt* stmt, int index, const CVariant& value) {
    int rc = SQLITE_OK;
    switch (value.Type()) {
        case VT_EMPTY:
        case VT_NULL:
            rc = sqlite3_bind_null(stmt, index);
            break;
        case VT_I1:
        case VT_I2:
        case VT_I4:
        case VT_I8:
        case VT_UI1:
        case VT_UI2:
        case VT_UI4:
        case VT_INT:
        case VT_UINT:
        case VT_BOOL:
            rc = sqlite3_bind_int64(stmt, index, value.Integer());
            break;
        case VT_R4:
        case VT_R8:
        case VT_DATE:
            rc = sqlite3_bind_double(stmt, index, value.Real());
            break;
        case VT_CY:
            rc = sqlite3_bind_double(stmt, index, static_cast<double>(value.Integer()) / 10000.0);
            break;
        case VT_BSTR:
            rc = sqlite3_bind_text64(stmt, index, value.Text().data(), value.Text().size(),
                                     SQLITE_TRANSIENT, SQLITE_UTF8);
            break;
        default:
            Fail("Data type conversion error.");
    }
    if (rc != SQLITE_OK) FailWith(db, rc);
}

// Runs a statement that returns no rows; returns the rows it changed.
long StepToEnd(sqlite3* db, sqlite3_stmt* stmt) {
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
    }
    if (rc != SQLITE_DONE) FailWith(db, rc);
    return sqlite3_changes(db);
}

// The kind a declared column type reads as (see Database.h).
enum class DeclKind : std::uint8_t { None, I4, I2, UI1, R8, R4, Text, Bool };

DeclKind KindOfDeclared(const char* declared) {
    if (!declared) return DeclKind::None;
    std::string word;
    for (const char* p = declared; *p && !std::isspace(static_cast<unsigned char>(*p)) && *p != '(';
         ++p)
        word += static_cast<char>(std::toupper(static_cast<unsigned char>(*p)));
    static const struct {
        const char* name;
        DeclKind kind;
    } kNames[] = {
        {"LONG", DeclKind::I4},       {"INTEGER", DeclKind::I4},       {"INT", DeclKind::I4},
        {"COUNTER", DeclKind::I4},    {"AUTOINCREMENT", DeclKind::I4}, {"MEDIUMINT", DeclKind::I4},
        {"SHORT", DeclKind::I2},      {"SMALLINT", DeclKind::I2},      {"INTEGER2", DeclKind::I2},
        {"BYTE", DeclKind::UI1},      {"TINYINT", DeclKind::UI1},      {"BIGINT", DeclKind::I4},
        {"INTEGER8", DeclKind::I4},   {"DOUBLE", DeclKind::R8},        {"REAL", DeclKind::R8},
        {"FLOAT", DeclKind::R8},      {"NUMERIC", DeclKind::R8},       {"DECIMAL", DeclKind::R8},
        {"NUMBER", DeclKind::R8},     {"SINGLE", DeclKind::R4},        {"TEXT", DeclKind::Text},
        {"MEMO", DeclKind::Text},     {"VARCHAR", DeclKind::Text},     {"CHAR", DeclKind::Text},
        {"NVARCHAR", DeclKind::Text}, {"NCHAR", DeclKind::Text},       {"LONGTEXT", DeclKind::Text},
        {"CLOB", DeclKind::Text},     {"STRING", DeclKind::Text},      {"BIT", DeclKind::Bool},
        {"YESNO", DeclKind::Bool},    {"BOOLEAN", DeclKind::Bool},     {"LOGICAL", DeclKind::Bool},
    };
    for (const auto& entry : kNames) {
        if (word == entry.name) return entry.kind;
    }
    return DeclKind::None;
}

// One stored field value: its variant kind and the value as SQLite gave it.
struct Cell {
    union {
        std::int64_t integer;
        double real;
        const char* text;
    };
    std::uint32_t length;  // of text
    std::uint16_t vt;
};
static_assert(sizeof(Cell) == 16);

constexpr bool Fits(std::int64_t v, std::int64_t low, std::int64_t high) {
    return v >= low && v <= high;
}

// The texts of a recordset, in large blocks that never move.
class CTextArena {
public:
    const char* Add(const char* text, size_t length) {
        if (length == 0) return "";
        if (length > m_left) {
            size_t size = std::max(length, kBlock);
            m_blocks.emplace_back(new char[size]);
            m_next = m_blocks.back().get();
            m_left = size;
        }
        char* stored = m_next;
        std::memcpy(stored, text, length);
        m_next += length;
        m_left -= length;
        return stored;
    }
    void Clear() noexcept {
        m_blocks.clear();
        m_next = nullptr;
        m_left = 0;
    }

private:
    static constexpr size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_next = nullptr;
    size_t m_left = 0;
};

// The rows of a recordset, in blocks of about 64 KB: filling never copies rows already
// read, and blocks of that size come from the heap rather than from fresh pages.
class CRowStore {
public:
    void Reset(int columns) noexcept {
        m_blocks.clear();
        m_columns = columns;
        m_rowsPerBlock = columns > 0 ? std::max(1, kBlockCells / columns) : 1;
        m_count = 0;
    }
    long Count() const noexcept { return m_count; }
    const Cell* Row(long r) const noexcept {
        return m_blocks[static_cast<size_t>(r / m_rowsPerBlock)].get()
               + static_cast<size_t>(r % m_rowsPerBlock) * m_columns;
    }
    Cell* Row(long r) noexcept { return const_cast<Cell*>(std::as_const(*this).Row(r)); }
    // Room for one more row at the end; its cells are the caller's to fill.
    Cell* Append() {
        if (m_count == static_cast<long>(m_blocks.size()) * m_rowsPerBlock) {
            // Left uninitialised: every cell is written before it is read.
            m_blocks.emplace_back(new Cell[static_cast<size_t>(m_rowsPerBlock) * m_columns]);
        }
        return Row(m_count++);
    }
    // Removes row r; the rows after it move up by one.
    void Erase(long r) noexcept {
        for (long i = r; i + 1 < m_count; ++i) std::copy_n(Row(i + 1), m_columns, Row(i));
        --m_count;
    }

private:
    static constexpr int kBlockCells = 4096;
    std::vector<std::unique_ptr<Cell[]>> m_blocks;
    int m_columns = 0;
    int m_rowsPerBlock = 1;
    long m_count = 0;
};

// The declared kinds of the columns and what reading a row needs between rows.
struct RowReader {
    std::vector<DeclKind> kinds;
    // The last text of each column: a source note repeated down a column is stored once.
    std::vector<std::string_view> lastText;
    CTextArena* arena;

    Cell Read(sqlite3_stmt* stmt, int column) {
        Cell cell;
        cell.integer = 0;
        cell.length = 0;
        DeclKind kind = kinds[column];
        switch (sqlite3_column_type(stmt, column)) {
            case SQLITE_NULL:
                cell.vt = VT_NULL;
                return cell;
            case SQLITE_INTEGER: {
                std::int64_t v = sqlite3_column_int64(stmt, column);
                switch (kind) {
                    case DeclKind::R8:
                        cell.vt = VT_R8;
                        cell.real = static_cast<double>(v);
                        return cell;
                    case DeclKind::R4:
                        cell.vt = VT_R4;
                        cell.real = static_cast<double>(static_cast<float>(v));
                        return cell;
                    case DeclKind::Bool:
                        cell.vt = VT_BOOL;
                        cell.integer = v ? -1 : 0;
                        return cell;
                    case DeclKind::Text:
                        return ReadText(stmt, column);
                    case DeclKind::I2:
                        if (Fits(v, -32768, 32767)) {
                            cell.vt = VT_I2;
                            cell.integer = v;
                            return cell;
                        }
                        break;
                    case DeclKind::UI1:
                        if (Fits(v, 0, 255)) {
                            cell.vt = VT_UI1;
                            cell.integer = v;
                            return cell;
                        }
                        break;
                    default:
                        break;
                }
                // A long, or a number too large for its declared kind: kept whole, as a double
                // when it does not fit a long (the program has no 64-bit integers).
                if (Fits(v, INT32_MIN, INT32_MAX)) {
                    cell.vt = VT_I4;
                    cell.integer = v;
                } else {
                    cell.vt = VT_R8;
                    cell.real = static_cast<double>(v);
                }
                return cell;
            }
            case SQLITE_FLOAT: {
                double v = sqlite3_column_double(stmt, column);
                if (kind == DeclKind::Text) return ReadText(stmt, column);
                if (kind == DeclKind::Bool) {
                    cell.vt = VT_BOOL;
                    cell.integer = v != 0.0 ? -1 : 0;
                    return cell;
                }
                cell.vt = kind == DeclKind::R4 ? VT_R4 : VT_R8;
                cell.real = kind == DeclKind::R4 ? static_cast<double>(static_cast<float>(v)) : v;
                return cell;
            }
            case SQLITE_TEXT:
                return ReadText(stmt, column);
            default:
                cell.vt = VT_ARRAY | VT_UI1;
                return cell;
        }
    }

    Cell ReadText(sqlite3_stmt* stmt, int column) {
        Cell cell;
        cell.vt = VT_BSTR;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(stmt, column));
        size_t length = static_cast<size_t>(sqlite3_column_bytes(stmt, column));
        if (length > UINT32_MAX) Fail("Text too long.");
        std::string_view& last = lastText[column];
        if (length == 0) {
            // Empty texts share one static string; memcmp must not see a null pointer.
            cell.text = "";
        } else if (text && last.size() == length && std::memcmp(last.data(), text, length) == 0) {
            cell.text = last.data();
        } else {
            cell.text = arena->Add(text ? text : "", length);
            last = std::string_view(cell.text, length);
        }
        cell.length = static_cast<std::uint32_t>(length);
        return cell;
    }
};

CVariant VariantOf(const Cell& cell) {
    switch (cell.vt) {
        case VT_NULL:
            return CVariant::Null();
        case VT_I2:
            return CVariant::FromShort(static_cast<std::int16_t>(cell.integer));
        case VT_I4:
            return CVariant::FromLong(static_cast<std::int32_t>(cell.integer));
        case VT_UI1:
            return CVariant::FromByte(static_cast<std::uint8_t>(cell.integer));
        case VT_I8:
            return CVariant::FromInt64(cell.integer);
        case VT_R8:
            return CVariant::FromDouble(cell.real);
        case VT_R4:
            return CVariant::FromFloat(static_cast<float>(cell.real));
        case VT_BOOL:
            return CVariant::FromBool(cell.integer != 0);
        case VT_BSTR:
            return CVariant::FromText(std::string(cell.text, cell.length));
        default:
            return CVariant::OfKind(cell.vt);
    }
}

CJetValue JetValueOf(const Cell& cell) {
    CJetValue value;
    switch (cell.vt) {
        case VT_NULL:
            break;
        case VT_I2:
        case VT_I4:
        case VT_UI1:
        case VT_I8:
        case VT_BOOL:
            value.kind = CJetValue::Number;
            value.number = static_cast<double>(cell.integer);
            break;
        case VT_R8:
        case VT_R4:
            value.kind = CJetValue::Number;
            value.number = cell.real;
            break;
        case VT_BSTR:
            value.kind = CJetValue::Text;
            value.text = std::string_view(cell.text, cell.length);
            break;
        default:
            value.kind = CJetValue::Other;
            break;
    }
    return value;
}

// The rows of one column by value, for finding "field = literal" without a scan.
struct ColumnIndex {
    struct NumberHash {
        size_t operator()(double v) const noexcept { return std::hash<double>()(v); }
    };
    std::unordered_map<double, std::vector<std::uint32_t>, NumberHash> numbers;
    std::unordered_map<std::string, std::vector<std::uint32_t>> texts;

    // -0 and 0 are equal, so they must hash alike.
    static double NumberKey(double v) { return v == 0.0 ? 0.0 : v; }

    const std::vector<std::uint32_t>* Lookup(const CJetValue& literal) const {
        if (literal.kind == CJetValue::Number) {
            auto it = numbers.find(NumberKey(literal.number));
            return it == numbers.end() ? nullptr : &it->second;
        }
        if (literal.kind == CJetValue::Text) {
            auto it = texts.find(SortKey(std::string(literal.text)));
            return it == texts.end() ? nullptr : &it->second;
        }
        return nullptr;
    }
};

}  // namespace

// ---------------------------------------------------------------------------------------------
// CDatabase

CDatabase::CDatabase() = default;
CDatabase::~CDatabase() = default;
CDatabase::CDatabase(CDatabase&&) noexcept = default;
CDatabase& CDatabase::operator=(CDatabase&&) noexcept = default;

void CDatabase::Open(const std::string& path, bool exclusive, bool readOnly,
                     std::string_view connect) {
    (void)exclusive;
    Close();
    std::string uri = FileUri(path);
    // One thread uses the connection: SQLite need not lock it on every call.
    int flags = SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX;
    if (readOnly) {
        // The almanac never changes while the program runs: no locks, no journal look-ups.
        uri += "?immutable=1";
        flags |= SQLITE_OPEN_READONLY;
    } else {
        flags |= SQLITE_OPEN_READWRITE;
    }
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(uri.c_str(), &raw, flags, nullptr);
    CSqliteHandle db(raw);
    if (rc != SQLITE_OK) FailWith(db.Get(), rc);
    sqlite3_extended_result_codes(db.Get(), 1);
    if (!RegisterAlmanacSql(db.Get())) FailWith(db.Get(), SQLITE_ERROR);
    if (readOnly) {
        // An immutable file can be mapped: pages are read in place instead of copied into
        // SQLite's cache on every query.
        sqlite3_exec(db.Get(), "PRAGMA mmap_size=1073741824", nullptr, nullptr, nullptr);
    } else {
        sqlite3_busy_timeout(db.Get(), 2000);
    }

    // The first read also finds out whether the file is a database at all.
    CSqliteStatement find = PrepareSingle(
        db.Get(),
        "SELECT count(*) FROM sqlite_master WHERE type='table' AND name='MSysPassword' "
        "COLLATE NOCASE");
    rc = sqlite3_step(find.Get());
    if (rc != SQLITE_ROW) FailWith(db.Get(), rc);
    if (sqlite3_column_int(find.Get(), 0) > 0) {
        std::string wanted = Sha256Hex(ConnectValue(connect, "pwd"));
        CSqliteStatement hashes = PrepareSingle(db.Get(), "SELECT Hash FROM MSysPassword");
        bool accepted = false;
        while ((rc = sqlite3_step(hashes.Get())) == SQLITE_ROW) {
            const auto* hash = reinterpret_cast<const char*>(sqlite3_column_text(hashes.Get(), 0));
            std::string stored = hash ? hash : "";
            for (char& c : stored)
                c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
            if (stored == wanted) accepted = true;
        }
        if (rc != SQLITE_DONE) FailWith(db.Get(), rc);
        // A password table without a matching row refuses every password, an empty one too.
        if (!accepted) Fail("Not a valid password.");
    }
    m_db = std::move(db);
    m_name = path;
    m_readOnly = readOnly;
    m_recordsAffected = 0;
}

void CDatabase::Create(const std::string& path, std::string_view locale) {
    (void)locale;
    Close();
    struct stat info {};
    if (::stat(path.c_str(), &info) == 0) Fail("Database already exists.");
    sqlite3* raw = nullptr;
    int rc = sqlite3_open_v2(
        FileUri(path).c_str(), &raw,
        SQLITE_OPEN_URI | SQLITE_OPEN_NOMUTEX | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE,
        nullptr);
    CSqliteHandle db(raw);
    if (rc != SQLITE_OK) FailWith(db.Get(), rc);
    sqlite3_extended_result_codes(db.Get(), 1);
    if (!RegisterAlmanacSql(db.Get())) FailWith(db.Get(), SQLITE_ERROR);
    sqlite3_busy_timeout(db.Get(), 2000);
    // SQLite writes nothing until the first change; write the header now so the file is a
    // database even before its first table.
    rc = sqlite3_exec(db.Get(), "PRAGMA user_version=0", nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK) FailWith(db.Get(), rc);
    m_db = std::move(db);
    m_name = path;
    m_readOnly = false;
    m_recordsAffected = 0;
}

void CDatabase::Close() noexcept {
    m_db.Reset();
    m_name.clear();
    m_readOnly = false;
}

bool CDatabase::IsOpen() const noexcept { return static_cast<bool>(m_db); }
bool CDatabase::IsReadOnly() const noexcept { return m_readOnly; }
const std::string& CDatabase::GetName() const noexcept { return m_name; }
long CDatabase::GetRecordsAffected() const noexcept { return m_recordsAffected; }
sqlite3* CDatabase::Handle() const noexcept { return m_db.Get(); }

void CDatabase::Execute(std::string_view sql) {
    if (!m_db) Fail(kNotOpen);
    CSqliteStatement stmt = PrepareSingle(m_db.Get(), sql);
    if (sqlite3_stmt_readonly(stmt.Get()) && sqlite3_column_count(stmt.Get()) > 0)
        Fail("Cannot execute a select query.");
    m_recordsAffected = StepToEnd(m_db.Get(), stmt.Get());
}

// ---------------------------------------------------------------------------------------------
// CRecordset

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
        const long count = Count();
        for (long r = 0; r < count; ++r) {
            const Cell& cell = Row(r)[column];
            CJetValue value = JetValueOf(cell);
            if (value.kind == CJetValue::Number)
                index->numbers[ColumnIndex::NumberKey(value.number)].push_back(
                    static_cast<std::uint32_t>(r));
            else if (value.kind == CJetValue::Text)
                index->texts[SortKey(std::string(value.text))].push_back(
                    static_cast<std::uint32_t>(r));
        }
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
    const std::optional<CVariant>& newKey = d.buffer[d.keyColumn];

    if (d.mode == Impl::EditMode::Add) {
        std::string sql = "INSERT INTO " + QuoteName(d.table);
        if (set.empty()) {
            sql += " DEFAULT VALUES";
        } else {
            std::string values;
            sql += " (";
            for (size_t k = 0; k < set.size(); ++k) {
                if (k > 0) {
                    sql += ", ";
                    values += ", ";
                }
                sql += QuoteName(d.origins[set[k]]);
                values += "?";
            }
            sql += ") VALUES (" + values + ")";
        }
        CSqliteStatement stmt = PrepareSingle(db, sql);
        for (size_t k = 0; k < set.size(); ++k)
            Bind(db, stmt.Get(), static_cast<int>(k) + 1, *d.buffer[set[k]]);
        long changed = StepToEnd(db, stmt.Get());
        if (m_database) m_database->m_recordsAffected = changed;
        std::int64_t key
            = newKey && !newKey->IsEmpty() ? newKey->Integer() : sqlite3_last_insert_rowid(db);
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
        const Cell& keyCell = d.Row(r)[d.keyColumn];
        std::int64_t oldKey = keyCell.integer;
        if (!set.empty()) {
            std::string sql = "UPDATE " + QuoteName(d.table) + " SET ";
            for (size_t k = 0; k < set.size(); ++k) {
                if (k > 0) sql += ", ";
                sql += QuoteName(d.origins[set[k]]) + "=?";
            }
            sql += " WHERE " + QuoteName(d.origins[d.keyColumn]) + "=?";
            CSqliteStatement stmt = PrepareSingle(db, sql);
            for (size_t k = 0; k < set.size(); ++k)
                Bind(db, stmt.Get(), static_cast<int>(k) + 1, *d.buffer[set[k]]);
            sqlite3_bind_int64(stmt.Get(), static_cast<int>(set.size()) + 1, oldKey);
            long changed = StepToEnd(db, stmt.Get());
            if (m_database) m_database->m_recordsAffected = changed;
            std::int64_t key = newKey && !newKey->IsEmpty() ? newKey->Integer() : oldKey;
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
