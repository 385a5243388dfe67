#include "text/Bookmark.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <tuple>

#include "data/Utf8.h"
#include "text/Highlight.h"
#include "text/MarkupScan.h"

namespace {

bool IsTagStart(std::string_view html, std::size_t at) {
    if (at + 1 >= html.size() || html[at] != '<') return false;
    const unsigned char next = static_cast<unsigned char>(html[at + 1]);
    return std::isalpha(next) || next == '/' || next == '!' || next == '?';
}

// The number behind prefix at the start of text ("Bookmark12" -> 12); false when text does
// not start with prefix (any case) followed by digits only.
bool NumberAfter(std::string_view text, std::string_view prefix, long long& number) {
    if (text.size() <= prefix.size()
        || !markup::EqualsNoCase(text.substr(0, prefix.size()), prefix))
        return false;
    number = 0;
    for (std::size_t k = prefix.size(); k < text.size(); ++k) {
        if (!std::isdigit(static_cast<unsigned char>(text[k]))) return false;
        number = number * 10 + (text[k] - '0');
        if (number > INT32_MAX) return false;
    }
    return true;
}

// One bookmark's markup in a text: the opening part [start, markupEnd) and the closing tag
// [closeStart, closeEnd) that matches its SPAN.
struct CMarkup {
    std::int32_t id = 0;
    unsigned type = 0;
    std::size_t start = 0;
    std::size_t markupEnd = 0;
    std::size_t closeStart = 0;
    std::size_t closeEnd = 0;
};

// Reads the opening part of a bookmark's markup at html[at] (a SPAN tag); false when the tag
// there is not one.
bool ReadBookmarkOpen(std::string_view html, std::size_t at, const markup::Tag& span,
                      CMarkup& found) {
    long long number = 0;
    if (!NumberAfter(span.Attribute("class"), "Bookmark", number)) return false;
    found = CMarkup{};
    found.type = static_cast<unsigned>(number);
    found.start = at;
    std::size_t next = span.end;
    // The anchor the page scrolls to, with the bookmark's number, and its end tag.
    if (IsTagStart(html, next)) {
        const markup::Tag anchor = markup::ReadTag(html, next);
        if (anchor.name == "a" && !anchor.closing
            && NumberAfter(anchor.Attribute("name"), "Bookmark", number)) {
            found.id = static_cast<std::int32_t>(number);
            next = anchor.end;
            if (IsTagStart(html, next)) {
                const markup::Tag close = markup::ReadTag(html, next);
                if (close.name == "a" && close.closing) next = close.end;
            }
        }
    }
    // The bookmark's picture.
    if (IsTagStart(html, next)) {
        const markup::Tag picture = markup::ReadTag(html, next);
        if (picture.name == "img" && !picture.closing) next = picture.end;
    }
    found.markupEnd = next;
    return true;
}

// Every bookmark's markup in html, in document order. SPAN elements are paired by their
// nesting, so a SPAN inside a passage (another bookmark, the page's own) does not end it; a
// bookmark without its closing tag reaches to the end of the text.
std::vector<CMarkup> FindBookmarks(std::string_view html) {
    std::vector<CMarkup> found;
    std::vector<long> open;  // index into found, -1 for a SPAN of the page
    std::size_t at = 0;
    while ((at = html.find('<', at)) != std::string_view::npos) {
        if (!IsTagStart(html, at)) {
            ++at;
            continue;
        }
        if (html.substr(at, 4) == "<!--") {
            const std::size_t end = html.find("-->", at + 4);
            at = end == std::string_view::npos ? html.size() : end + 3;
            continue;
        }
        const markup::Tag tag = markup::ReadTag(html, at);
        if (tag.name == "span" && !tag.closing) {
            CMarkup bookmark;
            if (ReadBookmarkOpen(html, at, tag, bookmark)) {
                open.push_back(static_cast<long>(found.size()));
                found.push_back(bookmark);
                at = bookmark.markupEnd;
                continue;
            }
            open.push_back(-1);
        } else if (tag.name == "span" && tag.closing && !open.empty()) {
            const long index = open.back();
            open.pop_back();
            if (index >= 0) {
                found[index].closeStart = at;
                found[index].closeEnd = tag.end;
            }
        }
        at = tag.end;
    }
    for (long index : open) {
        if (index >= 0) found[index].closeStart = found[index].closeEnd = html.size();
    }
    return found;
}

// The parts of html no bookmark may start or end inside: tags, comments, entities and whole
// script and style elements, in document order.
std::vector<std::pair<std::size_t, std::size_t>> Atoms(std::string_view html) {
    std::vector<std::pair<std::size_t, std::size_t>> atoms;
    const std::size_t n = html.size();
    std::size_t i = 0;
    while (i < n) {
        if (IsTagStart(html, i)) {
            std::size_t end;
            if (html.substr(i, 4) == "<!--") {
                const std::size_t close = html.find("-->", i + 4);
                end = close == std::string_view::npos ? n : close + 3;
            } else {
                const markup::Tag tag = markup::ReadTag(html, i);
                end = tag.end;
                if (!tag.closing && (tag.name == "script" || tag.name == "style")) {
                    const std::size_t close = markup::FindNoCase(html, "</" + tag.name, end);
                    end = close == std::string_view::npos ? n : markup::ReadTag(html, close).end;
                }
            }
            atoms.emplace_back(i, end);
            i = end;
            continue;
        }
        if (html[i] == '&') {
            std::size_t j = i + 1;
            while (j < n && (std::isalnum(static_cast<unsigned char>(html[j])) || html[j] == '#'))
                ++j;
            if (j > i + 1 && j < n && html[j] == ';') {
                atoms.emplace_back(i, j + 1);
                i = j + 1;
                continue;
            }
        }
        ++i;
    }
    return atoms;
}

std::size_t Clamp(std::string_view html,
                  const std::vector<std::pair<std::size_t, std::size_t>>& atoms, std::size_t pos) {
    if (pos >= html.size()) return html.size();
    // The last atom starting before pos is the only one that can hold it.
    auto it = std::lower_bound(atoms.begin(), atoms.end(), pos,
                               [](const auto& atom, std::size_t p) { return atom.first < p; });
    if (it != atoms.begin()) {
        const auto& [start, end] = *std::prev(it);
        if (pos > start && pos < end) return pos - start <= end - pos ? start : end;
    }
    // In the middle of a character: at its start.
    while (pos > 0 && (static_cast<unsigned char>(html[pos]) & 0xC0) == 0x80) --pos;
    return pos;
}

// pos moved in front of a bookmark's markup it falls inside.
std::size_t OutsideMarkup(const std::vector<CMarkup>& bookmarks, std::size_t pos) {
    for (const CMarkup& b : bookmarks)
        if (pos > b.start && pos < b.markupEnd) return b.start;
    return pos;
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f' || c == '\v';
}

}  // namespace

std::string BookmarkMarkup(unsigned type, std::int32_t id) {
    const std::string t = std::to_string(type);
    return "<SPAN class=Bookmark" + t + "><A name=Bookmark" + std::to_string(id)
           + "></A><IMG SRC='BM" + t + ".bmp'>";
}

std::string BookmarkAnchor(std::int32_t id) { return "Bookmark" + std::to_string(id); }

std::string CutToCharacters(std::string_view text, std::size_t chars) {
    std::size_t pos = 0;
    for (std::size_t count = 0; count < chars && pos < text.size(); ++count) utf8::Next(text, pos);
    return std::string(text.substr(0, pos));
}

std::string BookmarkTitle(std::string_view selected) {
    std::string plain;
    bool blank = false;
    for (char c : selected) {
        if (IsBlank(c)) {
            blank = !plain.empty();
            continue;
        }
        if (blank) plain += ' ';
        blank = false;
        plain += c;
    }
    std::string title = CutToCharacters(plain, kBookmarkTitleChars);
    // A cut just behind a word leaves no blank before the dots.
    if (!title.empty() && title.back() == ' ') title.pop_back();
    return title + "...";
}

bool TakeSelectionMarks(std::string& html, CBookmarkRange& range, std::string_view startMark,
                        std::string_view endMark) {
    const std::size_t start = html.find(startMark);
    if (start == std::string::npos) return false;
    const std::size_t end = html.find(endMark, start + startMark.size());
    if (end == std::string::npos) return false;
    html.erase(end, endMark.size());
    html.erase(start, startMark.size());
    range.start = start;
    range.end = end - startMark.size();
    return true;
}

void RemoveSelectionMarks(std::string& html) {
    for (std::string_view mark : {kSelectionStartMark, kSelectionEndMark})
        for (std::size_t at = html.find(mark); at != std::string::npos; at = html.find(mark, at))
            html.erase(at, mark.size());
}

void WidenAroundLinks(std::string_view html, CBookmarkRange& range) {
    struct Link {
        std::size_t pos, end;
        bool closing;
    };
    std::vector<Link> links;
    for (std::size_t at = html.find('<'); at != std::string_view::npos;
         at = html.find('<', at + 1)) {
        if (!IsTagStart(html, at)) continue;
        const markup::Tag tag = markup::ReadTag(html, at);
        if (tag.name == "a") links.push_back({at, tag.end, tag.closing});
    }
    std::size_t start = range.start, end = range.end;
    // A passage that starts inside a link: it starts with the link.
    for (std::size_t k = 0; k < links.size(); ++k) {
        if (!links[k].closing || links[k].pos < start || links[k].pos >= end) continue;
        for (std::size_t j = k; j-- > 0;) {
            if (links[j].closing) continue;
            if (links[j].pos < start) start = links[j].pos;
            break;
        }
    }
    // A passage that ends inside a link: it ends after the link.
    for (std::size_t k = 0; k < links.size(); ++k) {
        if (links[k].closing || links[k].pos < start || links[k].pos >= end) continue;
        for (std::size_t j = k + 1; j < links.size(); ++j) {
            if (!links[j].closing) continue;
            if (links[j].end > end) end = links[j].end;
            break;
        }
    }
    const std::vector<CMarkup> bookmarks = FindBookmarks(html);
    range.start = OutsideMarkup(bookmarks, start);
    range.end = std::max(range.start, OutsideMarkup(bookmarks, end));
}

void InsertBookmarkMarkup(std::string& html, const CBookmarkRange& range, unsigned type,
                          std::int32_t id) {
    const std::size_t start = std::min(range.start, html.size());
    const std::size_t end = std::clamp(range.end, start, html.size());
    html.insert(end, kBookmarkClose);
    html.insert(start, BookmarkMarkup(type, id));
}

std::vector<CBookmarkPlace> MeasureBookmarks(std::string& html) {
    RemoveHighlights(html);
    const std::vector<CMarkup> bookmarks = FindBookmarks(html);
    std::vector<std::pair<std::size_t, std::size_t>> cuts;
    for (const CMarkup& b : bookmarks) {
        cuts.emplace_back(b.start, b.markupEnd);
        cuts.emplace_back(b.closeStart, b.closeEnd);
    }
    std::sort(cuts.begin(), cuts.end());
    // A position in the text that remains: the bytes cut in front of it are gone.
    auto remaining = [&cuts](std::size_t pos) {
        std::size_t removed = 0;
        for (const auto& [first, last] : cuts) {
            if (last > pos) break;
            removed += last - first;
        }
        return pos - removed;
    };
    std::vector<CBookmarkPlace> places;
    for (const CMarkup& b : bookmarks)
        places.push_back({b.id, b.type, remaining(b.start), remaining(b.closeStart)});
    std::string text;
    text.reserve(html.size());
    std::size_t copied = 0;
    for (const auto& [first, last] : cuts) {
        text.append(html, copied, first - copied);
        copied = last;
    }
    text.append(html, copied, std::string::npos);
    html = std::move(text);
    return places;
}

void InsertBookmarks(std::string& html, const std::vector<CBookmarkPlace>& places) {
    if (places.empty()) return;
    const auto atoms = Atoms(html);
    // What goes in at one position: the passages ending there (the inner ones first), then
    // those starting there (the outer ones first), so that passages nest wherever they can.
    struct Insert {
        std::size_t pos;
        int group;
        long long order;
        std::int32_t id;
        std::string text;
    };
    std::vector<Insert> inserts;
    for (const CBookmarkPlace& place : places) {
        const std::size_t start = Clamp(html, atoms, place.start);
        const std::size_t end = std::max(start, Clamp(html, atoms, place.end));
        const std::string open = BookmarkMarkup(place.type, place.id);
        if (start == end) {
            inserts.push_back({start, 1, -static_cast<long long>(end), place.id,
                               open + std::string(kBookmarkClose)});
            continue;
        }
        inserts.push_back({start, 1, -static_cast<long long>(end), place.id, open});
        inserts.push_back(
            {end, 0, -static_cast<long long>(start), place.id, std::string(kBookmarkClose)});
    }
    std::sort(inserts.begin(), inserts.end(), [](const Insert& a, const Insert& b) {
        return std::tie(a.pos, a.group, a.order, a.id) < std::tie(b.pos, b.group, b.order, b.id);
    });
    std::string text;
    std::size_t extra = 0;
    for (const Insert& insert : inserts) extra += insert.text.size();
    text.reserve(html.size() + extra);
    std::size_t copied = 0;
    for (const Insert& insert : inserts) {
        text.append(html, copied, insert.pos - copied);
        copied = insert.pos;
        text += insert.text;
    }
    text.append(html, copied, std::string::npos);
    html = std::move(text);
}

std::size_t ClampOutsideTag(std::string_view html, std::size_t pos) {
    return Clamp(html, Atoms(html), pos);
}

bool RemoveBookmarkMarkup(std::string& html, std::int32_t id) {
    for (const CMarkup& b : FindBookmarks(html)) {
        if (b.id != id) continue;
        html.erase(b.closeStart, b.closeEnd - b.closeStart);
        html.erase(b.start, b.markupEnd - b.start);
        return true;
    }
    return false;
}
