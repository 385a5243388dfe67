#pragma once
// A pre-selection for the full-text search: a LIKE scan reads every text of the table, which
// over some thousand articles takes far longer than a search may. The index records, for
// every row, which groups of three and of four consecutive letters occur in its text (folded
// to upper case as LIKE compares them). A term can only match a text holding all the groups
// of its letters, so the rows holding them are a superset of the hits; the search then runs
// its exact condition on those rows alone. The hits are the same as without the index.
//
// Groups are hashed into a fixed number of buckets, one bit per bucket and row (8 KB a row),
// so two groups may share a bucket: that only lets a few more rows through to the exact
// condition.
//
// Building reads every text once (some 60 ms of CPU over 12 MB of articles). The edition can
// store the index in the almanac when it writes it (Save); Open then reads the stored index
// instead, provided it still fits the table's texts (their number, their total length and the
// sum of their keys), and builds a new one otherwise.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "text/SearchQuery.h"

class CDatabase;

class CSearchIndex {
public:
    static constexpr unsigned kBuckets = 65536;

    // Reads keyField and textField of every row of table and indexes the texts. A database
    // error is reported with the context "CSearchIndex::Build" and leaves the index empty
    // (the search then runs without it). Returns whether the index was built.
    bool Build(CDatabase& database, const std::string& table, const std::string& keyField,
               const std::string& textField);
    // Open: the stored index when the almanac carries one that fits, else Build.
    bool Open(CDatabase& database, const std::string& table, const std::string& keyField,
              const std::string& textField);
    // Writes the index into database (writable) as the tables kIndexTable and kInfoTable,
    // replacing older ones. Throws CDBException when the database refuses.
    void Save(CDatabase& database) const;
    // Reads the stored index; false (and the index empty) when there is none, it was made
    // another way, or it no longer fits the table's texts.
    bool Load(CDatabase& database, const std::string& table, const std::string& keyField,
              const std::string& textField);
    static constexpr const char* kIndexTable = "SearchIndex";
    static constexpr const char* kInfoTable = "SearchIndexInfo";

    void Clear();
    bool IsBuilt() const { return m_built; }
    std::size_t RowCount() const { return m_keys.size(); }

    // Adds one row (Build calls it for every row read).
    void Add(std::int32_t key, std::string_view text);

    // The keys of the rows that can satisfy the query's last condition, in the order they
    // were read; nothing when the index cannot narrow it (not built, or a term the index cannot
    // look up stands where any row may pass).
    std::optional<std::vector<std::int32_t>> Candidates(const CSearchQuery& query) const;

    // The query's condition, limited to the candidate rows when the index narrows it:
    // "<keyField> IN (...) AND (<condition>)". Otherwise the condition unchanged.
    std::string Condition(const CSearchQuery& query) const;

private:
    using Bits = std::vector<std::uint64_t>;
    static constexpr unsigned kWords = kBuckets / 64;

    // The rows whose text holds every bucket of literal's letter groups; nothing when literal
    // has no run of three letters.
    std::optional<Bits> RowsWith(std::string_view literal) const;

    // What the index was built from, to tell whether a stored one still fits.
    struct Fingerprint {
        long long rows = 0;
        long long textBytes = 0;
        long long keySum = 0;
        bool operator==(const Fingerprint&) const = default;
    };
    static Fingerprint Measure(CDatabase& database, const std::string& table,
                               const std::string& keyField, const std::string& textField);

    std::string m_keyField = "ID";
    bool m_built = false;
    Fingerprint m_fingerprint;
    std::vector<std::int32_t> m_keys;
    // Row-major: kWords words of bucket bits per row.
    std::vector<std::uint64_t> m_buckets;
};
