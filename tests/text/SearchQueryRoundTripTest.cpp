// Random queries through the translation and into the database: every statement runs, and
// wherever the translation written down step by step (below, literally, with its erase loops)
// gives a statement the database runs, ours is the same. Only the whole-word pattern differs
// from that literal form on purpose: it also finds a word at the end of a text.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/SqlText.h"
#include "data/Utf8.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"
#include "text/SearchAlmanac.h"
#include "text/SearchIndex.h"
#include "text/SearchQuery.h"

namespace {

using Strings = std::vector<std::string>;

// ------------------------------------------------------------------------------------------
// The translation as written, one step after the other.

void LiteralReplaceAll(std::string& text, const std::string& token, const std::string& repl) {
    if (text.empty()) return;
    size_t p = text.find(token);
    while (p != std::string::npos) {
        text = text.substr(0, p) + repl + text.substr(p + token.size());
        p = text.find(token, repl.size() >= 2 ? p + repl.size() : p + 1);
    }
}

bool Space(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::string LiteralTrim(std::string t) {
    while (!t.empty() && Space(t.front())) t.erase(0, 1);
    while (!t.empty() && Space(t.back())) t.pop_back();
    return t;
}

size_t Characters(const std::string& t) {
    size_t n = 0;
    for (size_t p = 0; p < t.size(); ++n) utf8::Next(t, p);
    return n;
}

std::string LiteralUpper(const std::string& t) {
    std::string out;
    for (size_t p = 0; p < t.size();) {
        const size_t s = p;
        bool valid = true;
        const char32_t c = utf8::Next(t, p, valid);
        if (valid && utf8::UpperLatin(c) != c)
            utf8::Append(out, utf8::UpperLatin(c));
        else
            out += t.substr(s, p - s);
    }
    return out;
}

struct LiteralQuery {
    bool wholeWords = false;
    std::string clean;
    std::string statement;
    Strings list;

    void Prepare(std::string t) {
        statement.clear();
        clean.clear();
        LiteralReplaceAll(t, "(", " (");
        LiteralReplaceAll(t, "(", "( ");
        LiteralReplaceAll(t, ")", " )");
        LiteralReplaceAll(t, ")", ") ");
        LiteralReplaceAll(t, "( (", "((");
        LiteralReplaceAll(t, ") )", "))");
        t = LiteralTrim(t);
        while (t.find("  ") != std::string::npos) t.erase(t.find("  "), 1);
        LiteralReplaceAll(t, "( ", "(");
        LiteralReplaceAll(t, " )", ")");
        if (t.empty() || t == "()" || t == ")(" || Characters(t) < 2) return;
        clean = t;
        for (char c : std::string(CSearchQuery::kInvalidCharacters))
            std::replace(clean.begin(), clean.end(), c, ' ');
        auto count = [&](char c) { return std::count(clean.begin(), clean.end(), c); };
        while (count('(') > count(')')) clean.erase(clean.find('('), 1);
        while (count(')') > count('(')) clean.erase(clean.rfind(')'), 1);
    }

    void Translate() {
        list.clear();
        statement = "SELECT * FROM HTML";
        if (clean.empty()) {
            statement += " WHERE SearchText LIKE '~~~~~~~~~~'";
            return;
        }
        bool inPhrase = false;
        std::string buffer;
        Strings pieces;
        size_t start = 0;
        for (size_t end; (end = clean.find(' ', start)) != std::string::npos; start = end + 1)
            pieces.push_back(clean.substr(start, end - start));
        pieces.push_back(clean.substr(start));
        for (std::string piece : pieces) {
            piece = LiteralTrim(piece);
            if (piece.empty() || piece == "\"\"") continue;
            while (piece.find('(') != std::string::npos) {
                list.push_back("(");
                piece = piece.substr(piece.find('(') + 1);
            }
            int c = 0;
            while (piece.find(')') != std::string::npos) {
                piece.erase(piece.find(')'), 1);
                ++c;
            }
            if (std::count(piece.begin(), piece.end(), '"') == 1) {
                if (inPhrase) {
                    list.push_back(buffer + " " + piece);
                    buffer.clear();
                    inPhrase = false;
                } else {
                    buffer = piece;
                    inPhrase = true;
                }
            } else if (inPhrase) {
                buffer += " " + piece;
            } else {
                piece = LiteralUpper(piece);
                if (piece == "UND" || piece == "AND") piece = "&";
                if (piece == "ODER" || piece == "OR") piece = "|";
                if (piece == "NICHT" || piece == "NOT") piece = "!";
                list.push_back(piece);
            }
            for (int k = 0; k < c; ++k) list.push_back(")");
        }
        auto conn = [](const std::string& e) { return e == "|" || e == "&"; };
        for (size_t i = 1; i < list.size();) {
            if (conn(list[i]) && conn(list[i - 1]))
                list.erase(list.begin() + i);
            else
                ++i;
        }
        while (!list.empty()
               && (list.back().empty() || conn(list.back()) || list.back() == "("
                   || list.back() == "!"))
            list.pop_back();
        for (size_t p = 1; p < list.size(); ++p) {
            if (list[p] != "(") continue;
            long q = static_cast<long>(p) - 1;
            while (q >= 0 && list[q] == "(") --q;
            if (q < 0 || conn(list[q])) continue;
            list.insert(list.begin() + q + 1, "&");
            ++p;
        }
        if (list.empty()) return;
        statement += " WHERE ";
        const std::string b = CSearchQuery::kBoundaryClass;
        for (size_t i = 0; i < list.size();) {
            std::string prefix;
            bool needs = true;
            bool ended = false;
            for (;;) {
                if (i >= list.size()) {
                    ended = true;
                    break;
                }
                const std::string e = list[i];
                if (e == "(" || e == ")") {
                    statement += e;
                } else if (e == "&") {
                    statement += " AND ";
                    needs = false;
                } else if (e == "|") {
                    statement += " OR ";
                    needs = false;
                } else if (e == "!") {
                    prefix = "NOT ";
                } else {
                    break;
                }
                list.erase(list.begin() + i);
            }
            if (ended) break;
            const std::string op = "[SearchText] " + prefix + "LIKE";
            std::string cond;
            if (list[i].front() == '"') {
                list[i] = list[i].substr(1, list[i].size() - 2);
                cond = "(" + op + " '*" + list[i] + "*')";
            } else if (!wholeWords || !prefix.empty()) {
                cond = "(" + op + " '*" + list[i] + "*')";
            } else {
                const std::string& w = list[i];
                cond = "((" + op + " '*" + b + w + b + "*') OR (" + op + " '" + w + b + "*') OR ("
                       + op + " '*" + b + w + "') OR (" + op + " '" + w + "'))";
            }
            if (i > 0 && needs) statement += " AND ";
            statement += cond;
            if (!prefix.empty())
                list.erase(list.begin() + i);
            else
                ++i;
        }
    }

    std::string Condition() const {
        const size_t p = statement.find("WHERE");
        return p == std::string::npos ? "" : statement.substr(p + 6);
    }
};

// ------------------------------------------------------------------------------------------

// Queries made of the query language's pieces, its invalid characters and odd bytes.
class CQueryGenerator {
public:
    explicit CQueryGenerator(unsigned seed) : m_random(seed) {}

    std::string Next() {
        static const Strings kPieces = {
            "Berlin", "Mauer",    "genf",     "Wien", "Öl",    "straße",     "Rom",        "x",
            "ab",     "Ägypten",  "UND",      "ODER", "NICHT", "und",        "oder",       "Nicht",
            "AND",    "OR",       "NOT",      "&",    "|",     "(",          ")",          "((",
            "))",     ")(",       "()",       "\"",   "\"\"",  "\"Vereinte", "Nationen\"", "*",
            "?",      "'",        "!",        "[",    "]",     "<",          ">",          "/",
            "\\",     "{",        "}",        "#",    "~",     "%",          "_",          "-",
            "\xC3",   "\xFF\xFE", "\xE2\x82", "é"};
        static const Strings kGaps = {" ", " ", " ", "", "  ", "\t", " \n "};
        std::string q;
        const int n = Pick(14);
        for (int i = 0; i < n; ++i) {
            q += kPieces[Pick(static_cast<int>(kPieces.size()))];
            q += kGaps[Pick(static_cast<int>(kGaps.size()))];
        }
        return q;
    }

private:
    int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_random); }
    std::mt19937 m_random;
};

class SearchQueryRoundTrip : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new CDatabase;
        s_db->Open(CreateSearchAlmanac(MakeTestDirectory("search-roundtrip")), false, true,
                   kAlmanacConnect);
        s_index = new CSearchIndex;
        s_index->Build(*s_db, "HTML", "ID", "SearchText");
    }
    static void TearDownTestSuite() {
        delete s_index;
        delete s_db;
        s_index = nullptr;
        s_db = nullptr;
    }

    static Strings Titles(const std::string& condition) {
        CRecordset rs(s_db);
        rs.Open(SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC", condition.c_str()));
        Strings titles;
        for (; !rs.IsEOF(); rs.MoveNext()) titles.push_back(ToText(rs.GetFieldValue("Title")));
        return titles;
    }

    // Whether the search window's statement with condition runs; its error otherwise.
    static bool Runs(const std::string& condition, std::string* error = nullptr) {
        try {
            CRecordset rs(s_db);
            rs.Open(SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC", condition.c_str()));
            return true;
        } catch (const CDBException& e) {
            if (error) *error = e.what();
            return false;
        }
    }

    static CDatabase* s_db;
    static CSearchIndex* s_index;
};

CDatabase* SearchQueryRoundTrip::s_db = nullptr;
CSearchIndex* SearchQueryRoundTrip::s_index = nullptr;

}  // namespace

TEST_F(SearchQueryRoundTrip, EveryStatementRunsAndRunnableOnesStayAsWritten) {
    CQueryGenerator generator(20040101);
    CSearchQuery query;
    query.SetSource(nullptr, "HTML", "SearchText");
    query.SetNoticeHandler({});
    int same = 0;
    int repaired = 0;
    for (int n = 0; n < 4000; ++n) {
        const std::string typed = generator.Next();
        const bool whole = n % 3 == 0;
        SCOPED_TRACE("query: [" + typed + "]" + (whole ? " whole words" : ""));
        query.SetWholeWords(whole);
        query.Prepare(typed);
        query.Translate();
        const std::string condition = query.GetCondition();
        std::string error;
        ASSERT_TRUE(Runs(condition, &error)) << condition << ": " << error;
        // Each typed byte gives at most a few terms, each a bounded pattern.
        ASSERT_LT(query.GetStatement().size(), 200 + 120 * typed.size());
        // The pre-selection finds the same hits.
        ASSERT_EQ(Titles(s_index->Condition(query)), Titles(condition));

        LiteralQuery literal;
        literal.wholeWords = whole;
        literal.Prepare(typed);
        literal.Translate();
        if (!Runs(literal.Condition())) {
            ++repaired;
            continue;
        }
        ++same;
        EXPECT_EQ(query.GetCleanText(), literal.clean);
        EXPECT_EQ(query.GetStatement(), literal.statement);
        Strings terms = literal.list;
        terms.erase(std::remove(terms.begin(), terms.end(), std::string()), terms.end());
        EXPECT_EQ(query.Terms(), terms);
    }
    // The generator reaches both kinds of input often.
    EXPECT_GT(same, 1000);
    EXPECT_GT(repaired, 500);
}

TEST_F(SearchQueryRoundTrip, LongAndHostileInputStaysLinear) {
    // Inputs a user will not type but a paste may bring: thousands of parentheses, operators
    // and quotes, zero bytes. Each must finish and give a statement that runs.
    const Strings inputs = {std::string(20000, '('),
                            std::string(20000, ')'),
                            std::string(20000, '"'),
                            [] {
                                std::string s;
                                for (int i = 0; i < 5000; ++i) s += "UND ODER ";
                                return s;
                            }(),
                            [] {
                                std::string s;
                                for (int i = 0; i < 3000; ++i) s += "(a) NICHT ((b ";
                                return s;
                            }(),
                            std::string("Ber\0lin Mauer", 13),
                            std::string(5000, '\0')};
    CSearchQuery query;
    query.SetSource(nullptr, "HTML", "SearchText");
    query.SetNoticeHandler({});
    for (const std::string& typed : inputs) {
        SCOPED_TRACE(typed.substr(0, 40));
        query.Prepare(typed);
        query.Translate();
        EXPECT_EQ(query.GetStatement().find('\0'), std::string::npos);
        std::string error;
        EXPECT_TRUE(Runs(query.GetCondition(), &error)) << error;
    }
}
