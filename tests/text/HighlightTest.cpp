// Highlighting of search hits on page text and its removal, on the program's spelling of the
// markup and on the browser's serialisation.
#include "text/Highlight.h"

#include <gtest/gtest.h>

namespace {

const std::string kOpen(kHighlightOpen);
const std::string kClose(kHighlightClose);

std::string Marked(const std::string& text) { return kOpen + text + kClose; }

}  // namespace

TEST(Highlight, MarksEveryHitWithoutRegardToCase) {
    // Twice in the text: marked twice; upper and lower case, umlauts included.
    EXPECT_EQ(HighlightTerms("<P>Wien liegt an der Donau. In WIEN</P>", {"wien"}),
              "<P>" + Marked("Wien") + " liegt an der Donau. In " + Marked("WIEN") + "</P>");
    EXPECT_EQ(HighlightTerms("Ölkrise und ölpreis", {"ÖL"}),
              Marked("Öl") + "krise und " + Marked("öl") + "preis");
    // Terms in order; a later term finds nothing inside the markup of an earlier one, and an
    // empty term is skipped instead of searching forever.
    EXPECT_EQ(HighlightTerms("Search span", {"span", "", "search"}),
              Marked("Search") + " " + Marked("span"));
    EXPECT_EQ(HighlightTerms("Wien", {}), "Wien");
}

TEST(Highlight, LeavesMarkupAlone) {
    struct Case {
        std::string html;
        std::string term;
        std::string expected;
    };
    const Case cases[] = {
        // A term inside a tag attribute, in the program's and in the browser's spelling.
        {"<A HREF=Wien.htm>Wien</A>", "Wien", "<A HREF=Wien.htm>" + Marked("Wien") + "</A>"},
        {"<a title=\"Hauptstadt Wien\" href=\"x\">Wien</a>", "wien",
         "<a title=\"Hauptstadt Wien\" href=\"x\">" + Marked("Wien") + "</a>"},
        // A ">" inside a quoted attribute does not end the tag.
        {"<img alt=\"a > Wien\">Wien", "Wien", "<img alt=\"a > Wien\">" + Marked("Wien")},
        // The tag's own name.
        {"<span>span</span>", "span", "<span>" + Marked("span") + "</span>"},
        // Comments, script and style content.
        {"<!-- Wien --><P>Wien</P>", "Wien", "<!-- Wien --><P>" + Marked("Wien") + "</P>"},
        {"<script>var Wien = 1;</script>Wien", "Wien",
         "<script>var Wien = 1;</script>" + Marked("Wien")},
        {"<STYLE>.Wien{}</STYLE>Wien", "wien", "<STYLE>.Wien{}</STYLE>" + Marked("Wien")},
        // Entities, and a hit that would reach into one.
        {"Rat &amp; Tat", "amp", "Rat &amp; Tat"},
        {"Rat &amp; Tat", "t &", "Rat &amp; Tat"},
        {"a&nbsp;b nbsp", "nbsp", "a&nbsp;b " + Marked("nbsp")},
        // A hit that would reach into a tag.
        {"Wi<B>en</B> Wi", "Wi<", "Wi<B>en</B> Wi"},
        // A "<" that starts no tag is text, as is an "&" without a name and ";".
        {"a < b & c", "b & c", "a < " + Marked("b & c")},
        // An unclosed tag hides everything after it.
        {"Wien <a href=\"Wien", "Wien", Marked("Wien") + " <a href=\"Wien"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(HighlightTerms(c.html, {c.term}), c.expected) << c.html << " / " << c.term;
}

TEST(Highlight, RemovesEitherSpellingOnly) {
    const std::string page = "<P>Wien und <A HREF=x>Wien</A> &amp; Rom</P>";
    std::string marked = HighlightTerms(page, {"wien", "rom", "ien"});
    ASSERT_NE(marked, page);
    RemoveHighlights(marked);
    EXPECT_EQ(marked, page);

    // The browser's serialisation of the same markup, and other spans that must stay.
    std::string browser
        = "<p><span class=\"Search\" id=\"Search\">Wien</span> <SPAN ID='search' "
          "CLASS=SEARCH>Rom</SPAN> <span class=\"Bookmark1\"><a name=\"Bookmark7\"></a>Linz</span> "
          "<span>Graz</span></p>";
    RemoveHighlights(browser);
    EXPECT_EQ(browser,
              "<p>Wien Rom <span class=\"Bookmark1\"><a name=\"Bookmark7\"></a>Linz</span> "
              "<span>Graz</span></p>");
}

TEST(Highlight, UpperCaseKeepsPositions) {
    const std::string text = "straße Ärger ÿ \xC3 x";  // a stray byte as well
    const std::string upper = UpperSameLength(text);
    EXPECT_EQ(upper.size(), text.size());
    EXPECT_EQ(upper.substr(0, 14), "STRAßE ÄRGER");
}
