#pragma once
// The full-text query language: what a user types into the search field becomes a Jet SQL
// statement over one text field of one table, and the list of search terms the article
// window highlights. Operator words are "UND", "ODER" and "NICHT" (and "AND", "OR", "NOT"),
// parentheses group, double quotes enclose a phrase; words match as substrings through
// LIKE, optionally as whole words only.
//
// Two calls: Prepare cleans the typed text (and may tell the user which characters it
// removed), Translate splits it into tokens, repairs the token list (and may warn about
// doubled operators) and builds the statement. Plain string work: the database is not
// touched. Whatever is typed, the statement is one the database accepts: a query left
// without any term matches nothing, and connectors or parentheses without a partner are
// dropped.

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/MessageBox.h"

class CDatabase;

class CSearchQuery {
public:
    // Jet character class of every character that is neither a letter nor a digit.
    static constexpr const char* kBoundaryClass = "[!A-Za-z0-9]";
    // Characters removed from the typed text (the quote among them: user text never ends
    // the SQL string).
    static constexpr const char* kInvalidCharacters = "/\\[]<>*!?{}'";

    // How the two notices reach the user; the default shows a message box.
    using NoticeHandler = std::function<void(const MessageBoxRequest&)>;

    CSearchQuery();

    // Binds the translation to a table and its searched text field. The database is kept
    // for the owner's use only (not owned, may be null).
    void SetSource(CDatabase* database, std::string table, std::string field);
    CDatabase* Database() const { return m_database; }

    // Whole-word matching of words (phrases and negated words always match as substrings).
    void SetWholeWords(bool wholeWords) { m_wholeWords = wholeWords; }
    bool WholeWords() const { return m_wholeWords; }
    // The connector between two terms without an operator between them: AND (default) or OR.
    void SetJoinWithAnd(bool joinWithAnd) { m_joinWithAnd = joinWithAnd; }

    // Replaces the notice handler; an empty one shows nothing.
    void SetNoticeHandler(NoticeHandler handler) { m_notice = std::move(handler); }

    // Cleans typed: spaces around parentheses, runs of blanks, the invalid characters (with
    // the notice naming them), unbalanced parentheses. Clears the statement.
    void Prepare(std::string_view typed);
    // Builds the token list, the statement and the term list from the clean text; shows the
    // operator warning when doubled connectors were removed.
    void Translate();

    // The text after Prepare, shown back to the user.
    const std::string& GetCleanText() const { return m_cleanText; }
    // The whole statement, "SELECT * FROM <table> WHERE ...".
    const std::string& GetStatement() const { return m_statement; }
    // The part of the statement after its first "WHERE "; "" when it has none.
    std::string GetCondition() const;
    // The positive search terms of the last translation, in query order: words upper-cased,
    // phrases without their quotes. terms is cleared first.
    void GetTerms(std::vector<std::string>& terms) const;
    const std::vector<std::string>& Terms() const { return m_terms; }

    // The condition of the last translation piece by piece, as the statement joins them;
    // empty when it is the condition that matches nothing.
    struct Piece {
        enum Kind : unsigned char { Open, Close, And, Or, Term } kind;
        std::string text;     // the piece's SQL text
        std::string literal;  // a term: its word (upper-cased) or phrase, as the pattern has it
        bool negated;         // a term: NOT LIKE
    };
    const std::vector<Piece>& Pieces() const { return m_pieces; }

    // The text of the operator warning (six lines).
    static std::string OperatorWarningText();

private:
    void Notice(const std::string& text) const;
    void Split();
    bool RemoveDoubledConnectors();
    void RemoveDanglingEnd();
    void InsertImpliedAnd();
    void Build();
    std::string TermCondition(const std::string& element, bool negated, bool& phrase) const;

    CDatabase* m_database = nullptr;
    std::string m_table;
    std::string m_field;
    std::string m_cleanText;
    std::string m_statement;
    std::vector<std::string> m_terms;
    std::vector<Piece> m_pieces;
    bool m_joinWithAnd = true;
    bool m_wholeWords = false;
    NoticeHandler m_notice;
};
