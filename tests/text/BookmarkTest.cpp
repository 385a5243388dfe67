// The string work of the bookmarks on body texts in both spellings: the program's own
// (upper-case tags, unquoted attributes) and the browser's serialisation.
#include "text/Bookmark.h"

#include <gtest/gtest.h>

#include "text/Highlight.h"

namespace {

// The browser's spelling of a bookmark's opening part.
std::string BrowserMarkup(unsigned type, int id) {
    const std::string t = std::to_string(type);
    return "<span class=\"Bookmark" + t + "\"><a name=\"Bookmark" + std::to_string(id)
           + "\"></a><img src=\"BM" + t + ".bmp\">";
}

// A selection pasted into html at the two positions, then taken out again.
CBookmarkRange Select(std::string& html, std::size_t start, std::size_t end) {
    html.insert(end, kSelectionEndMark);
    html.insert(start, kSelectionStartMark);
    CBookmarkRange range;
    EXPECT_TRUE(TakeSelectionMarks(html, range));
    return range;
}

}  // namespace

TEST(Bookmark, TitleKeepsThirtyNineCharactersOnACharacterBoundary) {
    EXPECT_EQ(BookmarkTitle("Kurz"), "Kurz...");
    const std::string exact(39, 'x');
    EXPECT_EQ(BookmarkTitle(exact), exact + "...");
    EXPECT_EQ(BookmarkTitle(exact + "yz"), exact + "...");
    // Umlauts count as one character each, whatever their bytes.
    std::string umlauts;
    for (int k = 0; k < 45; ++k) umlauts += "ä";
    std::string expected;
    for (int k = 0; k < 39; ++k) expected += "ä";
    EXPECT_EQ(BookmarkTitle(umlauts), expected + "...");
    // A four-byte character at the cut stays whole.
    const std::string mixed = std::string(38, 'a') + "\xF0\x9F\x8C\x8D" + "bc";
    EXPECT_EQ(BookmarkTitle(mixed), std::string(38, 'a') + "\xF0\x9F\x8C\x8D...");
    // Line breaks of a passage across paragraphs read as blanks.
    EXPECT_EQ(BookmarkTitle("\n Erste Zeile\r\n\tzweite  Zeile \n"), "Erste Zeile zweite Zeile...");
    EXPECT_EQ(BookmarkTitle(""), "...");
    EXPECT_EQ(BookmarkTitle(std::string(38, 'w') + " Wort"), std::string(38, 'w') + "...");
}

TEST(Bookmark, MarkupInBothSpellingsIsMeasuredAndRemoved) {
    const std::string text = "<p>Die Hauptstadt ist Berlin.</p><p>Fluss: Spree</p>";
    for (bool browser : {false, true}) {
        SCOPED_TRACE(browser ? "browser" : "program");
        auto open = [&](unsigned type, int id) {
            return browser ? BrowserMarkup(type, id) : BookmarkMarkup(type, id);
        };
        const std::string close = browser ? "</span>" : "</SPAN>";
        // "Berlin" marked by bookmark 7, "Spree" by bookmark 70000 (beyond 16 bits).
        std::string html = "<p>Die Hauptstadt ist " + open(2, 7) + "Berlin" + close
                           + ".</p><p>Fluss: " + open(6, 70000) + "Spree" + close + "</p>";
        const std::vector<CBookmarkPlace> places = MeasureBookmarks(html);
        EXPECT_EQ(html, text);
        ASSERT_EQ(places.size(), 2u);
        EXPECT_EQ(places[0].id, 7);
        EXPECT_EQ(places[0].type, 2u);
        EXPECT_EQ(text.substr(places[0].start, places[0].end - places[0].start), "Berlin");
        EXPECT_EQ(places[1].id, 70000);
        EXPECT_EQ(places[1].type, 6u);
        EXPECT_EQ(text.substr(places[1].start, places[1].end - places[1].start), "Spree");
    }
}

TEST(Bookmark, PositionsDoNotCountHighlightsOrTheSpansOfThePage) {
    const std::string text = "<p>Die <span class=\"x\">Wirtschaft</span> des Landes wächst.</p>";
    std::string marked = text;
    CBookmarkRange range = Select(marked, text.find("Die"), text.find(" des"));
    InsertBookmarkMarkup(marked, range, 3, 5);
    // Search hits marked afterwards, one inside the passage, in the browser's spelling.
    marked = HighlightTerms(marked, {"Wirtschaft", "wächst"});
    for (std::string spelling : {std::string("<SPAN class=Search ID=Search>"),
                                 std::string("<span class=\"Search\" id=\"Search\">")}) {
        std::string html = marked;
        for (std::size_t at = html.find(kHighlightOpen); at != std::string::npos;
             at = html.find(kHighlightOpen, at + 1))
            html.replace(at, kHighlightOpen.size(), spelling);
        const std::vector<CBookmarkPlace> places = MeasureBookmarks(html);
        EXPECT_EQ(html, text);
        ASSERT_EQ(places.size(), 1u);
        // The page's own SPAN inside the passage does not end it.
        EXPECT_EQ(text.substr(places[0].start, places[0].end - places[0].start),
                  "Die <span class=\"x\">Wirtschaft</span>");
    }
}

TEST(Bookmark, PassagesWidenToWholeLinks) {
    const std::string html
        = "<p>Siehe <a href=\"sgml://LINK1\">Nachbarland Polen</a> und "
          "<A href=sgml://LINK2>Tschechien</A> sowie <abbr>EU</abbr>.</p>";
    const std::size_t link1 = html.find("<a href");
    const std::size_t link1End = html.find("</a>") + 4;
    const std::size_t link2 = html.find("<A href");
    const std::size_t link2End = html.find("</A>") + 4;
    struct Case {
        const char* what;
        std::size_t start, end, wantStart, wantEnd;
    };
    const Case cases[] = {
        {"starts inside a link", html.find("Polen"), html.find(" und"), link1, html.find(" und")},
        {"ends inside a link", html.find("Siehe"), html.find("land"), html.find("Siehe"), link1End},
        {"both ends in links", html.find("barland"), html.find("chien"), link1, link2End},
        {"inside one link only", html.find("Nachbar"), html.find(" Polen"), html.find("Nachbar"),
         html.find(" Polen")},
        {"around a whole link", link2, link2End, link2, link2End},
        // <abbr> is no link, whatever its first letter.
        {"abbr", html.find("sowie"), html.find("EU") + 1, html.find("sowie"), html.find("EU") + 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        CBookmarkRange range{c.start, c.end};
        WidenAroundLinks(html, range);
        EXPECT_EQ(range.start, c.wantStart);
        EXPECT_EQ(range.end, c.wantEnd);
    }
}

TEST(Bookmark, NewMarkupNeverSplitsAnotherBookmarksMarkup) {
    // The selection ends just inside the empty anchor of bookmark 3.
    const std::string html = "<p>Vor " + BrowserMarkup(1, 3) + "Text</span> nach</p>";
    CBookmarkRange range{html.find("Vor"), html.find("</a>")};
    WidenAroundLinks(html, range);
    EXPECT_EQ(range.end, html.find("<span"));
    std::string marked = html;
    InsertBookmarkMarkup(marked, range, 2, 4);
    std::string measured = marked;
    const std::vector<CBookmarkPlace> places = MeasureBookmarks(measured);
    EXPECT_EQ(measured, "<p>Vor Text nach</p>");
    ASSERT_EQ(places.size(), 2u);
}

TEST(Bookmark, SelectionMarksAreTakenOnlyInPairs) {
    std::string html = "<p>{Klammern} des Textes</p>";
    // The design's own marks: the first "{" and the first "}" after it.
    CBookmarkRange range;
    html.insert(html.find("des") + 3, "}");
    html.insert(html.find("des"), "{");
    std::string braces = html;
    ASSERT_TRUE(TakeSelectionMarks(braces, range, "{", "}"));
    EXPECT_EQ(range.start, 3u);  // the article's own brace is taken for the mark
    // The private marks leave the article's braces alone.
    std::string text = "<p>{Klammern} des Textes</p>";
    const CBookmarkRange chosen = Select(text, text.find("des"), text.find("des") + 3);
    EXPECT_EQ(text, "<p>{Klammern} des Textes</p>");
    EXPECT_EQ(text.substr(chosen.start, chosen.end - chosen.start), "des");
    // Only a start mark: nothing taken, and removing leaves the text as it was.
    std::string half = "<p>ab" + std::string(kSelectionStartMark) + "c</p>";
    EXPECT_FALSE(TakeSelectionMarks(half, range));
    RemoveSelectionMarks(half);
    EXPECT_EQ(half, "<p>abc</p>");
}

TEST(Bookmark, RetrievedBookmarksRoundTripLastPassageFirst) {
    const std::string text = "<p>Eins zwei drei vier fünf sechs.</p>";
    auto at = [&](const char* word) { return text.find(word); };
    // Adjacent, nested and sharing ends, given in any order.
    const std::vector<CBookmarkPlace> places = {
        {1, 1, at("zwei"), at(" drei")},  {2, 2, at("drei"), at(" fünf")},
        {3, 3, at("vier"), at(" fünf")},  {4, 4, at("Eins"), at(".")},
        {5, 5, at("sechs"), at("sechs")},  // an empty passage
    };
    std::string html = text;
    InsertBookmarks(html, places);
    std::string measured = html;
    std::vector<CBookmarkPlace> back = MeasureBookmarks(measured);
    EXPECT_EQ(measured, text);
    ASSERT_EQ(back.size(), places.size());
    for (const CBookmarkPlace& want : places) {
        SCOPED_TRACE(want.id);
        auto found = std::find_if(back.begin(), back.end(),
                                  [&](const CBookmarkPlace& p) { return p.id == want.id; });
        ASSERT_NE(found, back.end());
        EXPECT_EQ(found->start, want.start);
        EXPECT_EQ(found->end, want.end);
        EXPECT_EQ(found->type, want.type);
    }
}

TEST(Bookmark, PositionsOfAnOlderEditionAreClampedOutsideTags) {
    const std::string html
        = "<p class=\"x\">K&ouml;ln am <b>Rhein</b></p><!-- c --><script>a<b</script>";
    const std::size_t tagEnd = html.find('>') + 1;
    EXPECT_EQ(ClampOutsideTag(html, 2), 0u);               // near the tag's start
    EXPECT_EQ(ClampOutsideTag(html, tagEnd - 2), tagEnd);  // near its end
    EXPECT_EQ(ClampOutsideTag(html, html.find("ouml")), html.find('&'));
    EXPECT_EQ(ClampOutsideTag(html, html.find(" c ")), html.find("<!--"));
    EXPECT_EQ(ClampOutsideTag(html, html.find("a<b") + 2), html.find("<script>"));  // a tie: before
    EXPECT_EQ(ClampOutsideTag(html, html.size() + 100), html.size());
    EXPECT_EQ(ClampOutsideTag(html, html.find("Rhein")), html.find("Rhein"));
    const std::string umlaut = "<p>Ä</p>";
    EXPECT_EQ(ClampOutsideTag(umlaut, 4), 3u);  // inside the two bytes of Ä

    // A stored bookmark whose positions now fall into tags still shows and keeps the page.
    std::string page = html;
    InsertBookmarks(page, {{9, 2, tagEnd - 3, html.find("Rhein") + 2}});
    std::string measured = page;
    const std::vector<CBookmarkPlace> places = MeasureBookmarks(measured);
    EXPECT_EQ(measured, html);
    ASSERT_EQ(places.size(), 1u);
    EXPECT_EQ(places[0].start, tagEnd);
}

TEST(Bookmark, SingleBookmarkRemovedByItsExactId) {
    const std::string text = "<p>Eins zwei drei</p>";
    std::string html = text;
    InsertBookmarks(html, {{5, 1, 3, 7}, {55, 2, 8, 12}});
    EXPECT_FALSE(RemoveBookmarkMarkup(html, 6));
    ASSERT_TRUE(RemoveBookmarkMarkup(html, 5));
    std::string measured = html;
    const std::vector<CBookmarkPlace> left = MeasureBookmarks(measured);
    ASSERT_EQ(left.size(), 1u);
    EXPECT_EQ(left[0].id, 55);
    EXPECT_EQ(measured, text);
    // The browser's spelling.
    std::string browser = "<p>" + BrowserMarkup(4, 12) + "Eins</span> zwei</p>";
    ASSERT_TRUE(RemoveBookmarkMarkup(browser, 12));
    EXPECT_EQ(browser, "<p>Eins zwei</p>");
}
