#include "data/Database.h"

#include <sys/stat.h>

#include <cctype>
#include <utility>

#include "data/AlmanacSql.h"
#include "data/DbStatement.h"
#include "data/Sha256.h"

using namespace dbdetail;

namespace {

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

}  // namespace

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
