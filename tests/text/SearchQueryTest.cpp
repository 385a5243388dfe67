// The query translation checked by its SQL text and by the titles the statement finds in the
// search almanac through the database layer's LIKE: the worked queries of the query language,
// its edge cases, and the inputs whose plain translation the database would reject.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"
#include "text/SearchAlmanac.h"
#include "text/SearchIndex.h"
#include "text/SearchQuery.h"

namespace {

using Strings = std::vector<std::string>;

struct Translation {
    CSearchQuery query;
    std::string clean;
    std::string statement;
    std::string condition;
    Strings terms;
    Strings notices;  // "caption|text" of each notice
};

Translation Translate(const std::string& typed, bool wholeWords = false) {
    Translation t;
    CSearchQuery& query = t.query;
    query.SetSource(nullptr, "HTML", "SearchText");
    query.SetNoticeHandler([&](const MessageBoxRequest& r) {
        EXPECT_EQ(r.icon, MsgIcon::Information);
        t.notices.push_back(r.caption + "|" + r.text);
    });
    query.SetWholeWords(wholeWords);
    query.Prepare(typed);
    query.Translate();
    t.clean = query.GetCleanText();
    t.statement = query.GetStatement();
    t.condition = query.GetCondition();
    query.GetTerms(t.terms);
    query.SetNoticeHandler({});
    return t;
}

class SearchQuery : public testing::Test {
protected:
    static void SetUpTestSuite() {
        s_db = new CDatabase;
        s_db->Open(CreateSearchAlmanac(MakeTestDirectory("search-query")), false, true,
                   kAlmanacConnect);
        s_index = new CSearchIndex;
        ASSERT_TRUE(s_index->Build(*s_db, "HTML", "ID", "SearchText"));
    }
    static void TearDownTestSuite() {
        delete s_index;
        delete s_db;
        s_index = nullptr;
        s_db = nullptr;
    }

    static Strings TitlesOf(const std::string& condition) {
        CRecordset rs(s_db);
        rs.Open(SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC", condition.c_str()));
        Strings titles;
        for (; !rs.IsEOF(); rs.MoveNext()) titles.push_back(ToText(rs.GetFieldValue("Title")));
        return titles;
    }

    // The titles the search window's statement finds, in the hit list's order; the same with
    // the search index's pre-selection.
    static Strings Titles(const Translation& t) {
        const Strings titles = TitlesOf(t.condition);
        EXPECT_EQ(TitlesOf(s_index->Condition(t.query)), titles) << t.condition;
        return titles;
    }

    static CDatabase* s_db;
    static CSearchIndex* s_index;
};

CDatabase* SearchQuery::s_db = nullptr;
CSearchIndex* SearchQuery::s_index = nullptr;

const std::string kSelect = "SELECT * FROM HTML ";
const std::string kOperatorWarning
    = std::string("H I N W E I S|") + CSearchQuery::OperatorWarningText();

struct Example {
    const char* typed;
    bool wholeWords;
    const char* where;  // the statement from WHERE on
    Strings terms;
    Strings titles;
    Strings notices;
};

}  // namespace

TEST_F(SearchQuery, WorkedExamples) {
    const Example examples[] = {
        {"Berlin Mauer",
         false,
         "WHERE ([SearchText] LIKE '*BERLIN*') AND ([SearchText] LIKE '*MAUER*')",
         {"BERLIN", "MAUER"},
         {"Berlin", "Brandt, Willy", "Mauerfall"},
         {}},
        // AND binds closer than OR: the canal has Donau but also Main; the Rhein passes Mainz.
        {"Rhein ODER Donau NICHT Main",
         false,
         "WHERE ([SearchText] LIKE '*RHEIN*') OR ([SearchText] LIKE '*DONAU*') AND "
         "([SearchText] NOT LIKE '*MAIN*')",
         {"RHEIN", "DONAU"},
         {"Donau", "Rhein"},
         {}},
        // The phrase keeps its case; LIKE does not care (UNESCO has it in lower case, but
        // neither Genf nor Wien).
        {"\"Vereinte Nationen\" UND (Genf ODER Wien)",
         false,
         "WHERE ([SearchText] LIKE '*Vereinte Nationen*') AND (([SearchText] LIKE '*GENF*') OR "
         "([SearchText] LIKE '*WIEN*'))",
         {"Vereinte Nationen", "GENF", "WIEN"},
         {"IAEO", "UNO"},
         {}},
        {"Rom (Papst)",
         false,
         "WHERE ([SearchText] LIKE '*ROM*') AND (([SearchText] LIKE '*PAPST*'))",
         {"ROM", "PAPST"},
         {"Rom", "Vatikan"},
         {}},
        // Whole words: not Romantik or Dromedar; the Vatikan text ends with the word.
        {"Rom",
         true,
         "WHERE (([SearchText] LIKE '*[!A-Za-z0-9]ROM[!A-Za-z0-9]*') OR ([SearchText] LIKE "
         "'ROM[!A-Za-z0-9]*') OR ([SearchText] LIKE '*[!A-Za-z0-9]ROM') OR ([SearchText] LIKE "
         "'ROM'))",
         {"ROM"},
         {"Rom", "Vatikan"},
         {}},
        {"", false, "WHERE SearchText LIKE '~~~~~~~~~~'", {}, {}, {}},
        {"Genf ODER UND Wien",
         false,
         "WHERE ([SearchText] LIKE '*GENF*') OR ([SearchText] LIKE '*WIEN*')",
         {"GENF", "WIEN"},
         {"Donau", "IAEO", "Österreich", "UNO"},
         {kOperatorWarning}},
        {"(Genf", false, "WHERE ([SearchText] LIKE '*GENF*')", {"GENF"}, {"UNO"}, {}},
        {"((Genf))", false, "WHERE ((([SearchText] LIKE '*GENF*')))", {"GENF"}, {"UNO"}, {}},
    };
    for (const Example& e : examples) {
        SCOPED_TRACE(e.typed);
        const Translation t = Translate(e.typed, e.wholeWords);
        EXPECT_EQ(t.statement, kSelect + e.where);
        EXPECT_EQ(t.terms, e.terms);
        EXPECT_EQ(t.notices, e.notices);
        EXPECT_EQ(Titles(t), e.titles);
    }

    // The clean texts shown back: "(Genf" loses its parenthesis, "((Genf))" keeps both pairs.
    EXPECT_EQ(Translate("(Genf").clean, "Genf");
    EXPECT_EQ(Translate("((Genf))").clean, "((Genf))");
    EXPECT_EQ(Translate("  Rom   ( Papst )  ").clean, "Rom (Papst)");

    // "a*b": the star goes with the singular notice; the hits are the articles holding both
    // letters.
    const Translation ab = Translate("a*b");
    EXPECT_EQ(ab.clean, "a b");
    EXPECT_EQ(ab.statement,
              kSelect + "WHERE ([SearchText] LIKE '*A*') AND ([SearchText] LIKE '*B*')");
    EXPECT_EQ(ab.terms, (Strings{"A", "B"}));
    EXPECT_EQ(ab.notices,
              (Strings{"H I N W E I S|Das Zeichen * ist ungültig und wurde entfernt!"}));
    Strings both;
    CRecordset all(s_db);
    all.Open("SELECT * FROM HTML ORDER BY Title ASC");
    for (; !all.IsEOF(); all.MoveNext()) {
        std::string text = ToText(all.GetFieldValue("SearchText"));
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return std::tolower(c); });
        if (text.find('a') != std::string::npos && text.find('b') != std::string::npos)
            both.push_back(ToText(all.GetFieldValue("Title")));
    }
    EXPECT_GE(both.size(), 10u);
    EXPECT_EQ(Titles(ab), both);
}

TEST_F(SearchQuery, EdgeCases) {
    // One character, or nothing but blanks: the condition that matches nothing.
    for (const char* typed : {"a", "Ö", " ", "()", "   x   "}) {
        SCOPED_TRACE(typed);
        const Translation t = Translate(typed);
        EXPECT_EQ(t.clean, "");
        EXPECT_EQ(t.condition, "SearchText LIKE '~~~~~~~~~~'");
        EXPECT_TRUE(Titles(t).empty());
    }

    // A trailing operator goes silently, in either language and any case.
    for (const char* typed :
         {"Berlin UND", "Berlin and", "Berlin ODER", "Berlin NICHT", "Berlin ("}) {
        SCOPED_TRACE(typed);
        const Translation t = Translate(typed);
        EXPECT_EQ(t.condition, "([SearchText] LIKE '*BERLIN*')");
        EXPECT_TRUE(t.notices.empty());
    }

    // Words are upper-cased, umlauts too; LIKE finds them in any case.
    Translation t = Translate("ölkrise or wüste");
    EXPECT_EQ(t.condition, "([SearchText] LIKE '*ÖLKRISE*') OR ([SearchText] LIKE '*WÜSTE*')");
    EXPECT_EQ(Titles(t), (Strings{"Oase", "Ölkrise"}));

    // A negated word is no highlight term, and with whole words on it stays a plain substring.
    t = Translate("Berlin NOT Mauer", true);
    EXPECT_EQ(t.terms, (Strings{"BERLIN"}));
    EXPECT_NE(t.condition.find("AND ([SearchText] NOT LIKE '*MAUER*')"), std::string::npos)
        << t.condition;
    EXPECT_EQ(Titles(t), (Strings{"Brandenburg"}));
    EXPECT_EQ(Titles(Translate("Berlin UND NICHT Mauer")), (Strings{"Brandenburg"}));
    // Whole words leave out the Mauer of Mauerbaus.
    EXPECT_EQ(Titles(Translate("Mauer", true)),
              (Strings{"Berlin", "Chinesische Mauer", "Mauerfall"}));
    EXPECT_EQ(Titles(Translate("Mauer")),
              (Strings{"Berlin", "Brandt, Willy", "Chinesische Mauer", "Mauerfall"}));

    // Two invalid characters: the plural notice lists both, each followed by a space, in the
    // order of the invalid characters; a typed quote is one of them.
    t = Translate("O'Brien? <Genf>");
    EXPECT_EQ(t.clean, "O Brien   Genf ");
    EXPECT_EQ(t.notices,
              (Strings{"H I N W E I S|Die Zeichen < > ? ' sind ungültig und wurden entfernt!"}));
    EXPECT_EQ(t.terms, (Strings{"O", "BRIEN", "GENF"}));

    // Connectors between terms follow the join setting; explicit operators stay.
    CSearchQuery orJoin;
    orJoin.SetSource(nullptr, "HTML", "SearchText");
    orJoin.SetJoinWithAnd(false);
    orJoin.Prepare("Genf Wien UND Donau");
    orJoin.Translate();
    EXPECT_EQ(orJoin.GetCondition(),
              "([SearchText] LIKE '*GENF*') OR ([SearchText] LIKE '*WIEN*') AND ([SearchText] "
              "LIKE '*DONAU*')");

    // A phrase whose closing quote never comes is lost, its parentheses are not.
    t = Translate("Genf \"Vereinte Nationen");
    EXPECT_EQ(t.condition, "([SearchText] LIKE '*GENF*')");
    EXPECT_EQ(t.terms, (Strings{"GENF"}));
}

TEST_F(SearchQuery, InputThePlainTranslationWouldNotRunGivesAStatementThatRuns) {
    struct Case {
        const char* typed;
        const char* condition;
        Strings titles;
    };
    const std::string noMatch = "SearchText LIKE '~~~~~~~~~~'";
    const Case cases[] = {
        // Nothing left but operators or removed characters: no hits instead of an error.
        {"UND ODER", noMatch.c_str(), {}},
        {"NICHT", noMatch.c_str(), {}},
        {"** ??", noMatch.c_str(), {}},
        {"( )", noMatch.c_str(), {}},
        // A leading operator has nothing on its left.
        {"UND Berlin",
         "([SearchText] LIKE '*BERLIN*')",
         {"Berlin", "Brandenburg", "Brandt, Willy", "Mauerfall"}},
        {"ODER Genf", "([SearchText] LIKE '*GENF*')", {"UNO"}},
        // "NICHT (" gets an AND before its group, with nothing on its left.
        {"NICHT (Berlin) Mauer",
         "(([SearchText] NOT LIKE '*BERLIN*')) AND ([SearchText] LIKE '*MAUER*')",
         {"Chinesische Mauer"}},
        // After a negated first term the next one still needs its connector.
        {"NICHT Mauer Berlin",
         "([SearchText] NOT LIKE '*MAUER*') AND ([SearchText] LIKE '*BERLIN*')",
         {"Brandenburg"}},
        {"(NICHT Mauer) Berlin",
         "(([SearchText] NOT LIKE '*MAUER*')) AND ([SearchText] LIKE '*BERLIN*')",
         {"Brandenburg"}},
        // Balanced by count, not by order: the unpaired parentheses go.
        {"Genf) (Wien", "([SearchText] LIKE '*GENF*') AND ([SearchText] LIKE '*WIEN*')", {}},
        {"Genf) ODER (Wien",
         "([SearchText] LIKE '*GENF*') OR ([SearchText] LIKE '*WIEN*')",
         {"Donau", "IAEO", "Österreich", "UNO"}},
        // An operator inside an empty group.
        {"Genf (UND) Wien", "([SearchText] LIKE '*GENF*') AND ([SearchText] LIKE '*WIEN*')", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed);
        const Translation t = Translate(c.typed);
        EXPECT_EQ(t.condition, c.condition);
        EXPECT_EQ(Titles(t), c.titles);
    }
    // Two connectors meet where "NICHT (" gets its AND: every text without Wien, and UNO.
    const Translation notWien = Translate("Genf ODER NICHT (Wien)");
    EXPECT_EQ(notWien.condition,
              "([SearchText] LIKE '*GENF*') OR (([SearchText] NOT LIKE '*WIEN*'))");
    const Strings hits = Titles(notWien);
    EXPECT_EQ(hits.size(), 25u);
    for (const char* title : {"UNO", "Berlin", "Rom"})
        EXPECT_NE(std::find(hits.begin(), hits.end(), title), hits.end()) << title;
    for (const char* title : {"IAEO", "Donau", "Österreich", "Leerartikel"})
        EXPECT_EQ(std::find(hits.begin(), hits.end(), title), hits.end()) << title;

    // The user sees the repaired text.
    EXPECT_EQ(Translate("Genf) (Wien").clean, "Genf Wien");
    // An empty word matches every text but highlights nothing.
    const Translation empty = Translate("(*)");
    EXPECT_EQ(empty.condition, "(([SearchText] LIKE '**') AND ([SearchText] LIKE '**'))");
    EXPECT_TRUE(empty.terms.empty());
}

TEST_F(SearchQuery, ConditionIsWhatFollowsTheFirstWhere) {
    CSearchQuery query;
    EXPECT_EQ(query.GetCondition(), "");
    query.SetSource(nullptr, "Somewhere", "Text");
    query.SetNoticeHandler({});
    query.Prepare("wo where");
    query.Translate();
    // The table's name holds the first "where", found without regard to case.
    EXPECT_EQ(query.GetStatement(),
              "SELECT * FROM Somewhere WHERE ([Text] LIKE '*WO*') AND ([Text] LIKE '*WHERE*')");
    EXPECT_EQ(query.GetCondition(), "WHERE ([Text] LIKE '*WO*') AND ([Text] LIKE '*WHERE*')");

    // Terms are copied into an array that is cleared first; the next Prepare clears the
    // statement, the next Translate the terms.
    Strings terms{"alt"};
    query.GetTerms(terms);
    EXPECT_EQ(terms, (Strings{"WO", "WHERE"}));
    query.Prepare("x");
    EXPECT_EQ(query.GetStatement(), "");
    query.Translate();
    query.GetTerms(terms);
    EXPECT_TRUE(terms.empty());
}
