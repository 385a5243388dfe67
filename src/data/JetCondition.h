#pragma once
// A Jet condition as FindFirst takes it ("LandID=276 AND Jahr<=2002", "Title LIKE 'Ö*'",
// "NOT (ID=5 OR ID=7)"): comparisons = <> < > <= >= between fields, numbers and quoted texts,
// LIKE and NOT LIKE, IS NULL and IS NOT NULL, AND, OR, NOT and parentheses.
//
// Numbers compare as numbers and texts by their SortKey (as the GERMAN collation does); NULL
// on either side, or a number against a text, makes a comparison unknown, and an unknown
// condition does not match (NOT of unknown stays unknown, as in SQL).

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

// One field value as the condition sees it.
struct CJetValue {
    // Other: a value that is neither NULL nor comparable (a blob); it never matches.
    enum Kind : unsigned char { Null, Number, Text, Other };
    Kind kind = Null;
    double number = 0.0;
    std::string_view text;
};

class CJetCondition {
public:
    // The row a condition is tested on: the value of the field at a column index.
    using RowReader = std::function<CJetValue(int column)>;

    // Parses criteria; fieldIndex gives the column index of a field name, -1 for none.
    // Throws CDBException for a syntax error, an unknown field or a malformed LIKE pattern.
    CJetCondition(std::string_view criteria,
                  const std::function<int(std::string_view)>& fieldIndex);
    ~CJetCondition();
    CJetCondition(CJetCondition&&) noexcept;
    CJetCondition& operator=(CJetCondition&&) noexcept;

    // Whether the condition is true for the row.
    bool Matches(const RowReader& row) const;

    // A "field = literal" term that the whole condition requires (a term of its top-level
    // conjunction): only rows whose field equals the literal can match.
    struct EqualityTerm {
        int column;
        CJetValue literal;  // text points into the condition, which must outlive it
    };
    std::vector<EqualityTerm> RequiredEqualities() const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};
