// Composing article pages from their templates on the fixture almanac, the template
// mechanism itself and the section in view.
#include "text/ArticlePage.h"

#include <gtest/gtest.h>

#include "data/ErrorReporter.h"
#include "data/ValueRoutines.h"
#include "text/ArticleAlmanac.h"
#include "text/TemplateText.h"

namespace {

class ArticlePages : public testing::Test {
protected:
    ArticlePages() {
        WriteArticleTemplates(dir / "HTML/");
        db.Open(CreateArticleAlmanac(dir.Path()), false, true, kAlmanacConnect);
        ResetDBErrors();
    }

    CTempDir dir;
    CDatabase db;
    CArticlePages pages{&db, dir / "HTML/"};
};

}  // namespace

TEST(TemplateText, ReplacesEveryOccurrenceOnce) {
    struct Case {
        std::string text, token, replacement, expected;
    };
    const Case cases[] = {
        {"%Title% und %Title%", "%Title%", "Wien", "Wien und Wien"},
        // A replacement that holds its own token is not replaced again.
        {"<H1>%Title%</H1>%Title%", "%Title%", "Der %Title%", "<H1>Der %Title%</H1>Der %Title%"},
        {"%Title%%Title%", "%Title%", "%Title%%Title%", "%Title%%Title%%Title%%Title%"},
        // Tokens right behind each other, emptied or replaced by one character.
        {"%Flag%%Flag%|%Flag%", "%Flag%", "", "|"},
        {"%Flag%%Flag%", "%Flag%", "x", "xx"},
        {"%title%", "%Title%", "x", "%title%"},
        {"", "%Title%", "x", ""},
    };
    for (const Case& c : cases) {
        std::string text = c.text;
        ReplaceAll(text, c.token, c.replacement);
        EXPECT_EQ(text, c.expected) << c.text;
    }
}

TEST_F(ArticlePages, CountryChronicle) {
    // Every placeholder twice in the template: all replaced; the flag from the article's
    // picture, the map link with its country.
    EXPECT_EQ(pages.DisplayChroniken(1001),
              "<H1>Deutschland</H1><A href=\"276\" Target=\"Flag\"><img src='Flags/DEU_karte.gif' "
              "hspace=0 vspace=0 border=0></A> (-&raquo; <A HREF=\"276\" "
              "Target=\"Map\">Karte</A>)<DIV><H1>Deutschland</H1><P>Bundesstaat in "
              "Mitteleuropa.</P></DIV><I>Deutschland</I>");
    // Without picture "&nbsp;", without country the map link still there with 0.
    EXPECT_EQ(pages.DisplayChroniken(kChronikOhneLand),
              "<H1>Atlantis-Chronik</H1>&nbsp; (-&raquo; <A HREF=\"0\" Target=\"Map\">Karte</A>)"
              "<DIV><P>Ohne Land.</P></DIV><I>Atlantis-Chronik</I>");
    // A missing record leaves the template with its placeholders emptied.
    EXPECT_EQ(pages.DisplayChroniken(4711), "<H1></H1> <DIV></DIV><I></I>");
    EXPECT_EQ(LastDBError().count, 0u);
}

TEST_F(ArticlePages, Persons) {
    // No portrait: "&nbsp;"; the country's flag with the spacer and its name.
    EXPECT_EQ(pages.DisplayPerson(1003),
              "<H1>Goethe, Johann Wolfgang von</H1>&nbsp;|<A href=\"276\" Target=\"Flag\"><img "
              "src='Flags/DEU.gif' hspace=0 vspace=0 border=0></A><img src='dummy.gif' height=8 "
              "width=6>|Deutschland<DIV><H1>Goethe</H1><P>Dichter, geboren in Frankfurt am "
              "Main.</P></DIV><I>Goethe, Johann Wolfgang von</I>");
    // A portrait links to the person's own article; a country without a flag empties
    // "%Flag%" (no "&nbsp;").
    EXPECT_EQ(pages.DisplayPerson(kSchiller),
              "<H1>Schiller, Friedrich</H1><A href=\"1011\" Target=\"Portrait\"><img "
              "src='Portraits/schiller.jpg' hspace=0 vspace=0 border=0></A>||Atlantis"
              "<DIV><P>Dichter.</P></DIV><I>Schiller, Friedrich</I>");
    // No country at all (LandID 0): name and flag empty.
    EXPECT_EQ(pages.DisplayPerson(1007),
              "<H1>Öl</H1>&nbsp;||<DIV><H1>Öl</H1><P>Rohstoff.</P></DIV><I>Öl</I>");
}

TEST_F(ArticlePages, PlainTypesAndDispatch) {
    // Empty content becomes "&nbsp;".
    EXPECT_EQ(pages.GetPlainHTML(kOhneInhalt),
              "<H1>Ohne Inhalt</H1><DIV>&nbsp;</DIV><I>Ohne Inhalt</I>");
    EXPECT_EQ(pages.GetPanel(1001), 1);
    EXPECT_EQ(pages.GetPanel(1003), 2);
    EXPECT_EQ(pages.GetPanel(1008), 6);
    EXPECT_EQ(pages.GetPanel(kUnbekannt), 7);
    EXPECT_EQ(pages.GetPanel(4711), 0);
    EXPECT_EQ(pages.Compose(7, kUnbekannt), "");
    EXPECT_EQ(pages.Compose(6, 1008), pages.GetPlainHTML(1008));
    EXPECT_EQ(pages.Compose(2, 1003), pages.DisplayPerson(1003));

    // The record hook sees each composed article's record.
    std::vector<std::string> seen;
    pages.SetRecordHook([&](CRecordset& rs) { seen.push_back(ToText(rs.GetFieldValue("ID"))); });
    pages.Compose(1, 1002);
    pages.Compose(2, 1003);
    pages.Compose(5, 1006);
    pages.Compose(5, 4711);
    EXPECT_EQ(seen, (std::vector<std::string>{"1002", "1003", "1006"}));
}

TEST_F(ArticlePages, MissingTemplatesAndFailures) {
    std::filesystem::remove(dir / "HTML/TBChronik.htm");
    EXPECT_EQ(pages.DisplayChroniken(1001), "");
    // A failing database is reported under the composer's name.
    CDatabase closed;
    CArticlePages broken(&closed, dir / "HTML/");
    EXPECT_EQ(broken.GetPlainHTML(1006), "<H1></H1><DIV></DIV><I></I>");
    EXPECT_EQ(LastDBError().context, "CTextBrowser::GetPlainHTML");
    EXPECT_EQ(broken.GetPanel(1006), 0);
    EXPECT_EQ(LastDBError().context, "CTextBrowser::GetPanel");
}

TEST_F(ArticlePages, LinkedArticles) {
    EXPECT_EQ(pages.FindLinkedArticle("12"), 1001);
    EXPECT_EQ(pages.FindLinkedArticle("1008"), 1008);
    // A set holding the identifier itself comes before one holding it inside another
    // identifier ("vorgeschichte" was written first).
    EXPECT_EQ(pages.FindLinkedArticle("geschichte"), kEuropa);
    // Part of an identifier only, as the pattern always allowed.
    EXPECT_EQ(pages.FindLinkedArticle("schrift"), 0);
    EXPECT_EQ(pages.FindLinkedArticle("vorgesch"), kVorgeschichte);
    // Quotes and wildcards from a page's link match only themselves; nothing matches
    // everything.
    for (const char* id : {"", "*", "?", "'", "' OR '1'='1", "[!x]"})
        EXPECT_EQ(pages.FindLinkedArticle(id), 0) << id;
    EXPECT_EQ(LastDBError().count, 0u);
}

TEST(ArticleSections, TheSectionInView) {
    const std::vector<std::string> names{"antike", "geschichte", "neuzeit"};
    EXPECT_EQ(CurrentSection(0, {0, 900, 1800}, names), "antike");
    EXPECT_EQ(CurrentSection(900, {0, 900, 1800}, names), "antike");
    EXPECT_EQ(CurrentSection(901, {0, 900, 1800}, names), "geschichte");
    // Behind the last anchor, or with a single one, there is no section.
    EXPECT_EQ(CurrentSection(2000, {0, 900, 1800}, names), "");
    EXPECT_EQ(CurrentSection(0, {0}, {"antike"}), "");
}
