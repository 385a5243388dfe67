#include "text/MarkupScan.h"

#include <cctype>

namespace markup {

namespace {

char Lower(char c) { return static_cast<char>(std::tolower(static_cast<unsigned char>(c))); }

bool IsSpace(char c) { return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\f'; }

}  // namespace

std::string Tag::Attribute(std::string_view attributeName) const {
    for (const auto& [key, value] : attributes)
        if (key == attributeName) return value;
    return {};
}

Tag ReadTag(std::string_view html, std::size_t start) {
    Tag tag;
    const std::size_t n = html.size();
    std::size_t i = start + 1;
    if (i < n && (html[i] == '!' || html[i] == '?')) {
        const std::size_t close = html.find('>', i);
        tag.end = close == std::string_view::npos ? n : close + 1;
        return tag;
    }
    if (i < n && html[i] == '/') {
        tag.closing = true;
        ++i;
    }
    while (i < n && !IsSpace(html[i]) && html[i] != '>' && html[i] != '/')
        tag.name += Lower(html[i++]);
    for (;;) {
        while (i < n && (IsSpace(html[i]) || html[i] == '/')) ++i;
        if (i >= n) {
            tag.end = n;
            return tag;
        }
        if (html[i] == '>') {
            tag.end = i + 1;
            return tag;
        }
        std::string key;
        while (i < n && !IsSpace(html[i]) && html[i] != '=' && html[i] != '>')
            key += Lower(html[i++]);
        while (i < n && IsSpace(html[i])) ++i;
        std::string value;
        if (i < n && html[i] == '=') {
            ++i;
            while (i < n && IsSpace(html[i])) ++i;
            if (i < n && (html[i] == '"' || html[i] == '\'')) {
                const char quote = html[i++];
                const std::size_t close = html.find(quote, i);
                const std::size_t stop = close == std::string_view::npos ? n : close;
                value.assign(html.substr(i, stop - i));
                i = stop == n ? n : stop + 1;
            } else {
                while (i < n && !IsSpace(html[i]) && html[i] != '>') value += html[i++];
            }
        }
        if (!key.empty()) tag.attributes.emplace_back(std::move(key), std::move(value));
    }
}

std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from) {
    if (needle.empty()) return from <= text.size() ? from : std::string_view::npos;
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        std::size_t k = 0;
        while (k < needle.size() && Lower(text[at + k]) == Lower(needle[k])) ++k;
        if (k == needle.size()) return at;
    }
    return std::string_view::npos;
}

bool EqualsNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t k = 0; k < a.size(); ++k)
        if (Lower(a[k]) != Lower(b[k])) return false;
    return true;
}

}  // namespace markup
