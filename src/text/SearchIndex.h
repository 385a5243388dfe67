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

    std::string m_keyField = "ID";
    bool m_built = false;
    std::vector<std::int32_t> m_keys;
    // Row-major: kWords words of bucket bits per row.
    std::vector<std::uint64_t> m_buckets;
};
