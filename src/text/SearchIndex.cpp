#include "text/SearchIndex.h"

#include <sqlite3.h>

#include <functional>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/Utf8.h"

namespace {

// Letters compare as LIKE compares them: by their upper case, the capital sharp s as ß.
char32_t Fold(char32_t c) { return c == 0x1E9E ? 0xDF : utf8::UpperLatin(c); }

// A letter in 16 bits (beyond the first plane two letters may share them: that only adds
// candidates).
std::uint64_t Key(char32_t c) { return (c ^ (c >> 16)) & 0xFFFF; }

// The bucket of a group of three letters, and of a group of four: one multiplication each,
// so building stays at a few nanoseconds a letter.
unsigned Bucket(char32_t a, char32_t b, char32_t c) {
    const std::uint64_t key = (Key(a) << 32) | (Key(b) << 16) | Key(c);
    return static_cast<unsigned>((key * 0x9E3779B97F4A7C15ull) >> 48);
}
unsigned Bucket(char32_t a, char32_t b, char32_t c, char32_t d) {
    const std::uint64_t key = (Key(a) << 48) | (Key(b) << 32) | (Key(c) << 16) | Key(d);
    return static_cast<unsigned>((key * 0xC2B2AE3D27D4EB4Full) >> 48);
}
static_assert(CSearchIndex::kBuckets == 1u << 16);

// A blank or an ASCII punctuation mark: groups holding one are neither recorded nor looked up,
// which leaves out half the groups of a text and the densest ones. Letters beyond ASCII all
// count as letters.
constexpr char32_t kGap = 0xFFFFFFFF;

// The next letter of text at pos, folded, or kGap.
char32_t NextLetter(std::string_view text, std::size_t& pos) {
    const auto byte = static_cast<unsigned char>(text[pos]);
    if (byte < 0x80) {
        ++pos;
        if (byte >= 'a' && byte <= 'z') return byte - 0x20;
        if ((byte >= 'A' && byte <= 'Z') || (byte >= '0' && byte <= '9')) return byte;
        return kGap;
    }
    return Fold(utf8::Next(text, pos));
}

// The letters of text, folded, with kGap for the others.
std::vector<char32_t> Letters(std::string_view text) {
    std::vector<char32_t> letters;
    letters.reserve(text.size());
    for (std::size_t pos = 0; pos < text.size();) letters.push_back(NextLetter(text, pos));
    return letters;
}

// Every group of three and of four letters of a text, each handed to f as its bucket.
template <class F>
void ForEachGroup(std::string_view text, F&& f) {
    char32_t a = 0, b = 0, c = 0;
    std::size_t run = 0;  // letters since the last gap
    for (std::size_t pos = 0; pos < text.size();) {
        const char32_t d = NextLetter(text, pos);
        if (d == kGap) {
            run = 0;
            continue;
        }
        ++run;
        if (run >= 3) f(Bucket(b, c, d));
        if (run >= 4) f(Bucket(a, b, c, d));
        a = b;
        b = c;
        c = d;
    }
}

// A set of rows under construction: all rows, or those whose bits are set.
struct RowSet {
    bool all = true;
    std::vector<std::uint64_t> bits;

    void And(const RowSet& other) {
        if (other.all) return;
        if (all) {
            *this = other;
            return;
        }
        for (std::size_t i = 0; i < bits.size(); ++i) bits[i] &= other.bits[i];
    }
    void Or(const RowSet& other) {
        if (all) return;
        if (other.all) {
            *this = other;
            return;
        }
        for (std::size_t i = 0; i < bits.size(); ++i) bits[i] |= other.bits[i];
    }
};

// Evaluates the pieces of a condition over row sets, AND binding closer than OR as in SQL.
class CEvaluator {
public:
    using Pieces = std::vector<CSearchQuery::Piece>;
    using Lookup = std::function<RowSet(const CSearchQuery::Piece&)>;

    CEvaluator(const Pieces& pieces, Lookup lookup)
        : m_pieces(pieces), m_lookup(std::move(lookup)) {}

    RowSet Expression() {
        RowSet result = Conjunction();
        while (m_pos < m_pieces.size() && m_pieces[m_pos].kind == CSearchQuery::Piece::Or) {
            ++m_pos;
            result.Or(Conjunction());
        }
        return result;
    }

private:
    RowSet Conjunction() {
        RowSet result = Primary();
        while (m_pos < m_pieces.size() && m_pieces[m_pos].kind == CSearchQuery::Piece::And) {
            ++m_pos;
            result.And(Primary());
        }
        return result;
    }
    RowSet Primary() {
        if (m_pos >= m_pieces.size()) return {};
        const CSearchQuery::Piece& piece = m_pieces[m_pos++];
        if (piece.kind == CSearchQuery::Piece::Open) {
            RowSet inner = Expression();
            if (m_pos < m_pieces.size() && m_pieces[m_pos].kind == CSearchQuery::Piece::Close)
                ++m_pos;
            return inner;
        }
        return piece.kind == CSearchQuery::Piece::Term ? m_lookup(piece) : RowSet{};
    }

    const Pieces& m_pieces;
    Lookup m_lookup;
    std::size_t m_pos = 0;
};

}  // namespace

void CSearchIndex::Clear() {
    m_built = false;
    m_fingerprint = {};
    m_keys.clear();
    m_buckets.clear();
}

void CSearchIndex::Add(std::int32_t key, std::string_view text) {
    m_keys.push_back(key);
    ++m_fingerprint.rows;
    m_fingerprint.textBytes += static_cast<long long>(text.size());
    m_fingerprint.keySum += key;
    m_buckets.resize(m_buckets.size() + kWords, 0);
    std::uint64_t* row = m_buckets.data() + m_buckets.size() - kWords;
    ForEachGroup(text, [row](unsigned bucket) { row[bucket >> 6] |= 1ull << (bucket & 63); });
    m_built = true;
}

bool CSearchIndex::Build(CDatabase& database, const std::string& table, const std::string& keyField,
                         const std::string& textField) {
    Clear();
    m_keyField = keyField;
    // The texts are read straight from the engine: a recordset would copy all of them first.
    const bool built = DBGuard("CSearchIndex::Build", [&] {
        sqlite3* db = database.Handle();
        if (!db) throw CDBException("Database is not open.", SQLITE_MISUSE);
        // The rows are counted first, so the bits are allocated once.
        sqlite3_stmt* raw = nullptr;
        const std::string count = "SELECT COUNT(*) FROM " + table;
        if (sqlite3_prepare_v2(db, count.c_str(), -1, &raw, nullptr) == SQLITE_OK) {
            CSqliteStatement counting(raw);
            if (sqlite3_step(raw) == SQLITE_ROW) {
                const auto rows = static_cast<std::size_t>(sqlite3_column_int64(raw, 0));
                m_keys.reserve(rows);
                m_buckets.reserve(rows * kWords);
            }
        }
        const std::string sql = "SELECT " + keyField + ", " + textField + " FROM " + table;
        if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
            throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
        CSqliteStatement stmt(raw);
        int rc;
        while ((rc = sqlite3_step(raw)) == SQLITE_ROW) {
            const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(raw, 1));
            Add(static_cast<std::int32_t>(sqlite3_column_int64(raw, 0)),
                std::string_view(text ? text : "",
                                 static_cast<std::size_t>(sqlite3_column_bytes(raw, 1))));
        }
        if (rc != SQLITE_DONE) throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    });
    if (!built) Clear();
    // An empty table is indexed too: no row can match.
    m_built = built;
    return built;
}

namespace {

// A statement of the engine, failing with its message.
CSqliteStatement Prepare(sqlite3* db, const std::string& sql) {
    sqlite3_stmt* raw = nullptr;
    if (!db) throw CDBException("Database is not open.", SQLITE_MISUSE);
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr) != SQLITE_OK)
        throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
    return CSqliteStatement(raw);
}

void Run(sqlite3* db, const std::string& sql) {
    CSqliteStatement stmt = Prepare(db, sql);
    if (sqlite3_step(stmt.Get()) != SQLITE_DONE)
        throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
}

// The stored index's format, so that a program built another way rebuilds it.
constexpr long long kFormat = 1;

}  // namespace

CSearchIndex::Fingerprint CSearchIndex::Measure(CDatabase& database, const std::string& table,
                                                const std::string& keyField,
                                                const std::string& textField) {
    // The texts' byte lengths, without reading them as text.
    CSqliteStatement stmt
        = Prepare(database.Handle(), "SELECT COUNT(*), TOTAL(LENGTH(CAST(" + textField
                                         + " AS BLOB))), TOTAL(" + keyField + ") FROM " + table);
    Fingerprint f;
    if (sqlite3_step(stmt.Get()) == SQLITE_ROW) {
        f.rows = sqlite3_column_int64(stmt.Get(), 0);
        f.textBytes = static_cast<long long>(sqlite3_column_double(stmt.Get(), 1));
        f.keySum = static_cast<long long>(sqlite3_column_double(stmt.Get(), 2));
    }
    return f;
}

void CSearchIndex::Save(CDatabase& database) const {
    sqlite3* db = database.Handle();
    Run(db, "BEGIN");
    try {
        Run(db, std::string("DROP TABLE IF EXISTS ") + kIndexTable);
        Run(db, std::string("DROP TABLE IF EXISTS ") + kInfoTable);
        Run(db, std::string("CREATE TABLE ") + kIndexTable
                    + " (Row INTEGER PRIMARY KEY, ID LONG, Buckets BLOB)");
        Run(db, std::string("CREATE TABLE ") + kInfoTable
                    + " (Format LONG, Buckets LONG, Rows LONG, TextBytes LONG, KeySum LONG)");
        CSqliteStatement insert
            = Prepare(db, std::string("INSERT INTO ") + kIndexTable + " VALUES (?, ?, ?)");
        for (std::size_t r = 0; r < m_keys.size(); ++r) {
            sqlite3_bind_int64(insert.Get(), 1, static_cast<sqlite3_int64>(r));
            sqlite3_bind_int64(insert.Get(), 2, m_keys[r]);
            sqlite3_bind_blob(insert.Get(), 3, m_buckets.data() + r * kWords,
                              static_cast<int>(kWords * sizeof(std::uint64_t)), SQLITE_STATIC);
            if (sqlite3_step(insert.Get()) != SQLITE_DONE)
                throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
            sqlite3_reset(insert.Get());
        }
        CSqliteStatement info
            = Prepare(db, std::string("INSERT INTO ") + kInfoTable + " VALUES (?, ?, ?, ?, ?)");
        sqlite3_bind_int64(info.Get(), 1, kFormat);
        sqlite3_bind_int64(info.Get(), 2, kBuckets);
        sqlite3_bind_int64(info.Get(), 3, m_fingerprint.rows);
        sqlite3_bind_int64(info.Get(), 4, m_fingerprint.textBytes);
        sqlite3_bind_int64(info.Get(), 5, m_fingerprint.keySum);
        if (sqlite3_step(info.Get()) != SQLITE_DONE)
            throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
        Run(db, "COMMIT");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
        throw;
    }
}

bool CSearchIndex::Load(CDatabase& database, const std::string& table, const std::string& keyField,
                        const std::string& textField) {
    Clear();
    m_keyField = keyField;
    sqlite3* db = database.Handle();
    if (!db) return false;
    // An almanac without a stored index is no failure: nothing is reported.
    sqlite3_stmt* probe = nullptr;
    const std::string check
        = std::string("SELECT Format, Buckets, Rows, TextBytes, KeySum FROM ") + kInfoTable;
    if (sqlite3_prepare_v2(db, check.c_str(), -1, &probe, nullptr) != SQLITE_OK) {
        sqlite3_finalize(probe);
        return false;
    }
    CSqliteStatement info(probe);
    if (sqlite3_step(probe) != SQLITE_ROW || sqlite3_column_int64(probe, 0) != kFormat
        || sqlite3_column_int64(probe, 1) != kBuckets)
        return false;
    const Fingerprint stored{sqlite3_column_int64(probe, 2), sqlite3_column_int64(probe, 3),
                             sqlite3_column_int64(probe, 4)};
    const bool loaded = DBGuard("CSearchIndex::Load", [&] {
        if (!(Measure(database, table, keyField, textField) == stored)) return;
        m_keys.reserve(static_cast<std::size_t>(stored.rows));
        m_buckets.reserve(static_cast<std::size_t>(stored.rows) * kWords);
        CSqliteStatement rows = Prepare(
            db, std::string("SELECT ID, Buckets FROM ") + kIndexTable + " ORDER BY Row ASC");
        int rc;
        while ((rc = sqlite3_step(rows.Get())) == SQLITE_ROW) {
            const auto* bits
                = static_cast<const std::uint64_t*>(sqlite3_column_blob(rows.Get(), 1));
            if (!bits
                || sqlite3_column_bytes(rows.Get(), 1)
                       != static_cast<int>(kWords * sizeof(std::uint64_t)))
                throw CDBException("The stored search index is damaged.", SQLITE_CORRUPT);
            m_keys.push_back(static_cast<std::int32_t>(sqlite3_column_int64(rows.Get(), 0)));
            m_buckets.insert(m_buckets.end(), bits, bits + kWords);
        }
        if (rc != SQLITE_DONE) throw CDBException(sqlite3_errmsg(db), sqlite3_extended_errcode(db));
        if (static_cast<long long>(m_keys.size()) != stored.rows) return;
        m_fingerprint = stored;
        m_built = true;
    });
    if (!loaded || !m_built) {
        Clear();
        return false;
    }
    return true;
}

bool CSearchIndex::Open(CDatabase& database, const std::string& table, const std::string& keyField,
                        const std::string& textField) {
    return Load(database, table, keyField, textField)
           || Build(database, table, keyField, textField);
}

std::optional<CSearchIndex::Bits> CSearchIndex::RowsWith(std::string_view literal) const {
    // "#" stands for any digit in a pattern: only the letters between two of them are known.
    // A run of four or more letters is looked up by its groups of four, which say more than
    // those of three; a run of three by its one group of three.
    std::vector<unsigned> buckets;
    std::size_t start = 0;
    while (start <= literal.size()) {
        std::size_t end = literal.find('#', start);
        if (end == std::string_view::npos) end = literal.size();
        const std::vector<char32_t> l = Letters(literal.substr(start, end - start));
        // Runs of letters between the gaps.
        for (std::size_t i = 0; i < l.size();) {
            std::size_t j = i;
            while (j < l.size() && l[j] != kGap) ++j;
            if (j - i == 3) buckets.push_back(Bucket(l[i], l[i + 1], l[i + 2]));
            for (std::size_t k = i + 3; k < j; ++k)
                buckets.push_back(Bucket(l[k - 3], l[k - 2], l[k - 1], l[k]));
            i = j + 1;
        }
        start = end + 1;
    }
    if (buckets.empty()) return std::nullopt;
    const std::size_t rows = m_keys.size();
    Bits result((rows + 63) / 64, 0);
    for (std::size_t r = 0; r < rows; ++r) {
        const std::uint64_t* row = m_buckets.data() + r * kWords;
        bool all = true;
        for (unsigned b : buckets) {
            if (!(row[b >> 6] & (1ull << (b & 63)))) {
                all = false;
                break;
            }
        }
        if (all) result[r >> 6] |= 1ull << (r & 63);
    }
    return result;
}

std::optional<std::vector<std::int32_t>> CSearchIndex::Candidates(const CSearchQuery& query) const {
    if (!m_built || query.Pieces().empty()) return std::nullopt;
    CEvaluator evaluator(query.Pieces(), [this](const CSearchQuery::Piece& term) {
        // A negated term may hold for any row; so may a term too short to look up.
        RowSet set;
        if (term.negated) return set;
        if (std::optional<Bits> rows = RowsWith(term.literal)) {
            set.all = false;
            set.bits = std::move(*rows);
        }
        return set;
    });
    const RowSet rows = evaluator.Expression();
    if (rows.all) return std::nullopt;
    std::vector<std::int32_t> keys;
    for (std::size_t r = 0; r < m_keys.size(); ++r) {
        if (rows.bits[r >> 6] & (1ull << (r & 63))) keys.push_back(m_keys[r]);
    }
    return keys;
}

std::string CSearchIndex::Condition(const CSearchQuery& query) const {
    const std::optional<std::vector<std::int32_t>> keys = Candidates(query);
    if (!keys) return query.GetCondition();
    std::string condition = m_keyField + " IN (";
    for (std::size_t i = 0; i < keys->size(); ++i) {
        if (i > 0) condition += ',';
        condition += std::to_string((*keys)[i]);
    }
    return condition + ") AND (" + query.GetCondition() + ")";
}
