#pragma once
// The string work of the bookmarks on the body text of an article: the markup of a bookmark
// inside the page, the marks that find a selection in the body, widening a passage around
// links, measuring where the bookmarks lie and putting them back.
//
// Positions are byte offsets into the body's inner HTML (UTF-8) with all search highlighting
// and all bookmark markup removed, so that a bookmark's positions stay valid when others are
// added or removed. The text is the browser's serialisation (lower-case tags, quoted
// attributes) or the program's own spelling; both are understood.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The longest passage text a bookmark title keeps, in characters; "..." follows it.
inline constexpr std::size_t kBookmarkTitleChars = 39;
// The longest text the Title field holds, in characters.
inline constexpr std::size_t kBookmarkFieldChars = 128;
// The end of a bookmark's passage.
inline constexpr std::string_view kBookmarkClose = "</SPAN>";
// The marks pasted at the ends of the selection to find it in the body. They are characters
// of the private use area, which no article contains, so no text of the page is taken for
// them; the browser serialises them as they are (UTF-8).
inline constexpr std::string_view kSelectionStartMark = "\xEE\x80\x80";  // U+E000
inline constexpr std::string_view kSelectionEndMark = "\xEE\x80\x81";    // U+E001

// A passage of the body text: [start, end), byte offsets.
struct CBookmarkRange {
    std::size_t start = 0;
    std::size_t end = 0;
};

// A bookmark as found in or put into a page.
struct CBookmarkPlace {
    std::int32_t id = 0;
    unsigned type = 1;
    std::size_t start = 0;
    std::size_t end = 0;
};

// The markup in front of a passage: "<SPAN class=Bookmark<type>><A name=Bookmark<id>></A>
// <IMG SRC='BM<type>.bmp'>" (without the blank).
std::string BookmarkMarkup(unsigned type, std::int32_t id);
// The anchor a bookmark's page scrolls to: "Bookmark<id>".
std::string BookmarkAnchor(std::int32_t id);

// text cut to at most chars characters, on a character boundary (a malformed byte counts as
// one character).
std::string CutToCharacters(std::string_view text, std::size_t chars);
// The title of a bookmark on the selected text: its white space runs made single blanks and
// trimmed, the first 39 characters (without a blank at the cut), then "...".
std::string BookmarkTitle(std::string_view selected);

// Finds the passage between the first startMark and the first endMark after it, deletes both
// marks from html and gives their positions in the text without them. False (html unchanged)
// when either mark is missing.
bool TakeSelectionMarks(std::string& html, CBookmarkRange& range,
                        std::string_view startMark = kSelectionStartMark,
                        std::string_view endMark = kSelectionEndMark);
// Deletes every selection mark from html (a selection that could not be used).
void RemoveSelectionMarks(std::string& html);

// Widens range so that it does not cut a link apart: a passage starting inside a link starts
// at the link's opening tag, one ending inside a link ends after its closing tag. An end
// inside another bookmark's markup moves in front of that markup, so the new markup never
// splits it.
void WidenAroundLinks(std::string_view html, CBookmarkRange& range);

// Inserts the markup of one bookmark around range (positions in html as it is).
void InsertBookmarkMarkup(std::string& html, const CBookmarkRange& range, unsigned type,
                          std::int32_t id);

// Removes the search highlighting and every bookmark's markup (its opening part and the
// closing tag that matches it) from html and returns the bookmarks found, in document order,
// with their positions in the text that remains.
std::vector<CBookmarkPlace> MeasureBookmarks(std::string& html);

// Puts the markup of every bookmark into html (positions measured as above). A position that
// no longer falls outside the markup (the text changed with a new edition) is moved to the
// nearest position outside a tag, entity, comment or script, or to the end of the text; the
// bookmark is kept. Overlapping passages nest as far as they can.
void InsertBookmarks(std::string& html, const std::vector<CBookmarkPlace>& places);

// pos, or the nearest position that lies outside every tag, comment, entity and script or
// style element and on a character boundary; the text's length for a position beyond it.
std::size_t ClampOutsideTag(std::string_view html, std::size_t pos);

// Removes the markup of bookmark id (its opening part and the closing tag that matches it)
// from html. False, html unchanged, when the page holds no such bookmark.
bool RemoveBookmarkMarkup(std::string& html, std::int32_t id);
