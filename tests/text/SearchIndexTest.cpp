// The search's pre-selection: which rows it lets through to the exact condition, and that the
// hit list stays the same with it, on the search almanac and on a generated almanac of a few
// hundred articles with random queries made of pieces of their own texts.

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"
#include "text/GeneratedAlmanac.h"
#include "text/SearchAlmanac.h"
#include "text/SearchIndex.h"
#include "text/SearchQuery.h"

namespace {

using Ids = std::vector<std::int32_t>;
using Strings = std::vector<std::string>;

CSearchQuery Query(const std::string& typed, bool wholeWords = false) {
    CSearchQuery query;
    query.SetSource(nullptr, "HTML", "SearchText");
    query.SetNoticeHandler({});
    query.SetWholeWords(wholeWords);
    query.Prepare(typed);
    query.Translate();
    return query;
}

Strings Titles(CDatabase& db, const std::string& condition) {
    CRecordset rs(&db);
    rs.Open(SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC", condition.c_str()));
    Strings titles;
    for (; !rs.IsEOF(); rs.MoveNext()) titles.push_back(ToText(rs.GetFieldValue("Title")));
    return titles;
}

bool Has(const Ids& ids, std::int32_t id) {
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

class SearchIndexTest : public testing::Test {
protected:
    void SetUp() override {
        m_db.Open(CreateSearchAlmanac(MakeTestDirectory("search-index")), false, true,
                  kAlmanacConnect);
        ASSERT_TRUE(m_index.Build(m_db, "HTML", "ID", "SearchText"));
    }

    // The candidates of typed, after checking that they change no hit.
    Ids Candidates(const std::string& typed, bool wholeWords = false) {
        const CSearchQuery query = Query(typed, wholeWords);
        EXPECT_EQ(Titles(m_db, m_index.Condition(query)), Titles(m_db, query.GetCondition()))
            << typed;
        return m_index.Candidates(query).value_or(Ids{-1});
    }

    CDatabase m_db;
    CSearchIndex m_index;
};

}  // namespace

TEST_F(SearchIndexTest, LetsThroughOnlyRowsHoldingTheTermsLetters) {
    using namespace search_fixture;
    EXPECT_EQ(m_index.RowCount(), 29u);
    // Berlin Mauer: the three hits, and Brandenburg has no MAUE.
    const Ids both = Candidates("Berlin Mauer");
    EXPECT_TRUE(Has(both, kBerlin) && Has(both, kMauerfall) && Has(both, kBrandt));
    EXPECT_FALSE(Has(both, kBrandenburg));
    EXPECT_LE(both.size(), 4u);
    EXPECT_EQ(m_index.Condition(Query("Berlin Mauer")).rfind("ID IN (", 0), 0u);

    // Either term is enough with OR; the phrase's letters span its blank.
    EXPECT_TRUE(Has(Candidates("Wüste ODER Papst"), 1008));
    const Ids phrase = Candidates("\"Vereinte Nationen\"");
    EXPECT_TRUE(Has(phrase, kUno) && Has(phrase, 2009) && Has(phrase, 2010));
    EXPECT_LE(phrase.size(), 4u);

    // Case as LIKE sees it: umlauts, and the capital sharp s is ß.
    EXPECT_TRUE(Has(Candidates("GROẞES"), 1009));
    EXPECT_EQ(Titles(m_db, m_index.Condition(Query("GROẞES"))), (Strings{"Ozean"}));
    EXPECT_FALSE(Has(Candidates("GROSSES"), 1009));

    // "#" is any digit: only the letters around it count ("198#" finds 1989).
    const Ids digit = Candidates("198# Mauer");
    EXPECT_TRUE(Has(digit, kBerlin) && Has(digit, kMauerfall));

    // Whole words look up the word itself.
    EXPECT_TRUE(Has(Candidates("Rom", true), kVatikan));

    // A row without text is never a candidate of a term.
    EXPECT_FALSE(Has(Candidates("ein"), 2017));

    // Where any row may pass, the index stays out of the condition: a negated term alone, a
    // term too short to look up beside OR. Beside AND the other term narrows.
    for (const char* typed : {"NICHT Mauer", "Rom ODER xy", "ab", "x#y#z"}) {
        EXPECT_EQ(Candidates(typed), Ids{-1}) << typed;
        EXPECT_EQ(m_index.Condition(Query(typed)), Query(typed).GetCondition()) << typed;
    }
    EXPECT_TRUE(Has(Candidates("Rom xy"), 2011));
    EXPECT_LE(Candidates("Rom NICHT Papst").size(), 5u);
    // The condition that matches nothing needs no index.
    EXPECT_EQ(Candidates(""), Ids{-1});
}

TEST_F(SearchIndexTest, AFailedBuildLeavesTheSearchAsItWas) {
    CSearchIndex index;
    ResetDBErrors();
    EXPECT_FALSE(index.Build(m_db, "Fehlt", "ID", "SearchText"));
    EXPECT_EQ(LastDBError().context, "CSearchIndex::Build");
    EXPECT_FALSE(index.IsBuilt());
    const CSearchQuery query = Query("Berlin Mauer");
    EXPECT_EQ(index.Condition(query), query.GetCondition());

    // Built again on the right table it narrows.
    EXPECT_TRUE(index.Build(m_db, "HTML", "ID", "SearchText"));
    EXPECT_NE(index.Condition(query), query.GetCondition());
}

TEST(SearchIndex, RandomQueriesFindTheSameHitsOnAGeneratedAlmanac) {
    GeneratedAlmanacOptions options;
    options.articles = 200;
    options.minBytes = 500;
    options.maxBytes = 2000;
    CDatabase db;
    db.Open(CreateGeneratedAlmanac(MakeTestDirectory("search-index-generated"), options), false,
            true, kAlmanacConnect);
    CSearchIndex index;
    ASSERT_TRUE(index.Build(db, "HTML", "ID", "SearchText"));

    // Terms cut from the articles' own texts: whole words, pieces of words, words across a
    // blank, digits replaced by "#"; joined by operators, groups and phrases.
    Strings texts;
    CRecordset rs(&db);
    rs.Open("SELECT SearchText FROM HTML");
    for (; !rs.IsEOF(); rs.MoveNext()) {
        std::string text = ToText(rs.GetFieldValue("SearchText"));
        if (text.size() > 100) texts.push_back(std::move(text));
    }
    std::mt19937 random(7);
    auto pick = [&](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
    auto term = [&] {
        const std::string& text = texts[pick(static_cast<int>(texts.size()))];
        const size_t at = static_cast<size_t>(pick(static_cast<int>(text.size()) - 12));
        std::string t = text.substr(at, 2 + pick(9));
        for (char& c : t) {
            if (c >= '0' && c <= '9' && pick(2)) c = '#';
        }
        if (t.find(' ') != std::string::npos) return "\"" + t + "\"";
        return t;
    };
    const Strings ops = {" ", " UND ", " ODER ", " NICHT ", " (", ") ", " UND NICHT "};
    int narrowed = 0;
    for (int n = 0; n < 120; ++n) {
        std::string typed = term();
        for (int k = pick(4); k > 0; --k) typed += ops[pick(static_cast<int>(ops.size()))] + term();
        SCOPED_TRACE(typed);
        const CSearchQuery query = Query(typed, n % 4 == 0);
        const std::string narrowedCondition = index.Condition(query);
        if (narrowedCondition != query.GetCondition()) ++narrowed;
        ASSERT_EQ(Titles(db, narrowedCondition), Titles(db, query.GetCondition()));
    }
    EXPECT_GT(narrowed, 60);
}

TEST_F(SearchIndexTest, AStoredIndexIsReadWhileItFitsTheTexts) {
    const std::string dir = MakeTestDirectory("search-index-stored");
    const std::string path = CreateSearchAlmanac(dir);
    {
        CDatabase writable;
        writable.Open(path, false, false, kAlmanacConnect);
        CSearchIndex built;
        ASSERT_TRUE(built.Build(writable, "HTML", "ID", "SearchText"));
        built.Save(writable);
    }
    CDatabase db;
    db.Open(path, false, true, kAlmanacConnect);
    CSearchIndex stored;
    ResetDBErrors();
    ASSERT_TRUE(stored.Load(db, "HTML", "ID", "SearchText"));
    EXPECT_EQ(LastDBError().count, 0u);
    EXPECT_EQ(stored.RowCount(), m_index.RowCount());
    for (const char* typed : {"Berlin Mauer", "\"Vereinte Nationen\"", "Rom ODER Wüste", "GROẞES"})
        EXPECT_EQ(stored.Candidates(Query(typed)), m_index.Candidates(Query(typed))) << typed;

    // A text changed since: the stored index no longer fits and is built anew.
    {
        CDatabase writable;
        writable.Open(path, false, false, kAlmanacConnect);
        writable.Execute("UPDATE HTML SET SearchText='Nun auch Wien' WHERE ID=2001");
    }
    CDatabase changed;
    changed.Open(path, false, true, kAlmanacConnect);
    CSearchIndex again;
    EXPECT_FALSE(again.Load(changed, "HTML", "ID", "SearchText"));
    EXPECT_FALSE(again.IsBuilt());
    ASSERT_TRUE(again.Open(changed, "HTML", "ID", "SearchText"));
    const CSearchQuery wien = Query("Wien");
    const Strings hits = Titles(changed, again.Condition(wien));
    EXPECT_EQ(hits, Titles(changed, wien.GetCondition()));
    EXPECT_NE(std::find(hits.begin(), hits.end(), "Berlin"), hits.end());

    // An almanac without one: not loaded, nothing reported.
    CSearchIndex none;
    EXPECT_FALSE(none.Load(m_db, "HTML", "ID", "SearchText"));
    EXPECT_EQ(LastDBError().count, 0u);
}
