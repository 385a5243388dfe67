#include "text/Highlight.h"

#include <algorithm>
#include <cctype>

#include "data/Utf8.h"
#include "text/MarkupScan.h"

namespace {

bool IsAsciiAlpha(char c) { return std::isalpha(static_cast<unsigned char>(c)) != 0; }

// The hits of needle (upper-cased) in haystack (upper-cased) that lie wholly inside one of
// runs, left to right and without overlap.
std::vector<std::size_t> HitsInRuns(const std::string& haystack, const std::string& needle,
                                    const std::vector<std::pair<std::size_t, std::size_t>>& runs) {
    std::vector<std::size_t> hits;
    for (const auto& [first, last] : runs) {
        if (last - first < needle.size()) continue;
        std::size_t at = first;
        while (at + needle.size() <= last) {
            const std::size_t hit = haystack.find(needle, at);
            if (hit == std::string::npos || hit + needle.size() > last) break;
            hits.push_back(hit);
            at = hit + needle.size();
        }
    }
    return hits;
}

}  // namespace

std::string UpperSameLength(std::string_view text) {
    std::string upper;
    upper.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t start = pos;
        bool valid = true;
        const char32_t c = utf8::Next(text, pos, valid);
        if (!valid) {
            upper += text[start];
            continue;
        }
        std::string encoded;
        utf8::Append(encoded, utf8::UpperLatin(c));
        // The Latin upper-case letters take as many bytes as their lower-case ones; anything
        // else stays as it was, so that positions carry over.
        if (encoded.size() == pos - start)
            upper += encoded;
        else
            upper.append(text.substr(start, pos - start));
    }
    return upper;
}

std::vector<std::pair<std::size_t, std::size_t>> TextRuns(std::string_view html) {
    std::vector<std::pair<std::size_t, std::size_t>> runs;
    const std::size_t n = html.size();
    std::size_t runStart = 0;
    std::size_t i = 0;
    auto closeRun = [&](std::size_t end) {
        if (end > runStart) runs.emplace_back(runStart, end);
    };
    while (i < n) {
        const char c = html[i];
        if (c == '<' && html.substr(i, 4) == "<!--") {
            closeRun(i);
            const std::size_t end = html.find("-->", i + 4);
            i = end == std::string_view::npos ? n : end + 3;
            runStart = i;
            continue;
        }
        if (c == '<' && i + 1 < n
            && (IsAsciiAlpha(html[i + 1]) || html[i + 1] == '/' || html[i + 1] == '!'
                || html[i + 1] == '?')) {
            closeRun(i);
            const markup::Tag tag = markup::ReadTag(html, i);
            i = tag.end;
            // The content of a script or style element is not page text, whatever it holds,
            // up to its closing tag (which the loop then reads as a tag).
            if (!tag.closing && (tag.name == "script" || tag.name == "style")) {
                const std::size_t close = markup::FindNoCase(html, "</" + tag.name, i);
                i = close == std::string_view::npos ? n : close;
            }
            runStart = i;
            continue;
        }
        if (c == '&') {
            std::size_t j = i + 1;
            while (j < n && (std::isalnum(static_cast<unsigned char>(html[j])) || html[j] == '#'))
                ++j;
            if (j > i + 1 && j < n && html[j] == ';') {
                closeRun(i);
                i = j + 1;
                runStart = i;
                continue;
            }
        }
        ++i;
    }
    closeRun(n);
    return runs;
}

std::string HighlightTerms(std::string html, const std::vector<std::string>& terms) {
    for (const std::string& term : terms) {
        if (term.empty()) continue;
        const std::string needle = UpperSameLength(term);
        const std::vector<std::size_t> hits
            = HitsInRuns(UpperSameLength(html), needle, TextRuns(html));
        if (hits.empty()) continue;
        // Built front to back in one pass; the inserted markup is a tag, so the next term
        // never finds anything inside it.
        std::string marked;
        marked.reserve(html.size()
                       + hits.size() * (kHighlightOpen.size() + kHighlightClose.size()));
        std::size_t copied = 0;
        for (std::size_t hit : hits) {
            marked.append(html, copied, hit - copied);
            marked += kHighlightOpen;
            marked.append(html, hit, term.size());
            marked += kHighlightClose;
            copied = hit + term.size();
        }
        marked.append(html, copied, std::string::npos);
        html = std::move(marked);
    }
    return html;
}

void RemoveHighlights(std::string& html) {
    std::size_t from = 0;
    for (;;) {
        std::size_t open = std::string::npos;
        std::size_t openEnd = 0;
        for (std::size_t at = markup::FindNoCase(html, "<span", from); at != std::string::npos;
             at = markup::FindNoCase(html, "<span", at + 5)) {
            const markup::Tag tag = markup::ReadTag(html, at);
            if (tag.name != "span" || tag.closing) continue;
            if (markup::EqualsNoCase(tag.Attribute("class"), "Search")
                && markup::EqualsNoCase(tag.Attribute("id"), "Search")) {
                open = at;
                openEnd = tag.end;
                break;
            }
        }
        if (open == std::string::npos) return;
        html.erase(open, openEnd - open);
        const std::size_t close = markup::FindNoCase(html, "</span>", open);
        if (close != std::string::npos) html.erase(close, 7);
        from = open;
    }
}
