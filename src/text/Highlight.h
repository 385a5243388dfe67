#pragma once
// Search-hit highlighting on the body of a page, as text: the browser wrapper reads the body's
// inner HTML, marks the hits here and writes the result back. The text is the browser's
// serialisation (lower-case tags, quoted attributes) or the program's own spelling; both are
// understood.

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// The markup around one hit. The element's id lets the page scroll to the first hit.
inline constexpr std::string_view kHighlightOpen = "<SPAN class=Search ID=Search>";
inline constexpr std::string_view kHighlightClose = "</SPAN>";

// Marks every occurrence of each term, in the order of terms, without regard to case
// (umlauts and the other Latin letters included). Only page text is searched: a hit that
// touches a tag (attributes included), an HTML comment, the content of a script or style
// element, or an entity such as "&amp;" is left alone, so the markup is never cut apart.
// Empty terms are skipped. Returns the marked text.
std::string HighlightTerms(std::string html, const std::vector<std::string>& terms);

// Removes the highlight markup from html: each highlight's opening tag (either spelling,
// without regard to case, with or without quotes) and the next closing SPAN tag after it.
void RemoveHighlights(std::string& html);

// The ranges [first, second) of html that are page text: everything outside tags, comments,
// script and style content and entities. In document order.
std::vector<std::pair<std::size_t, std::size_t>> TextRuns(std::string_view html);

// text upper-cased letter by letter with the Latin alphabet; every character keeps its number
// of bytes, so positions in the result are positions in text.
std::string UpperSameLength(std::string_view text);
