#pragma once
// Small readers for the markup of page text: one tag with its attributes, and searching
// without regard to ASCII case. They accept the browser's serialisation (quoted attributes)
// as well as the program's own spelling (unquoted, upper-case names).

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace markup {

struct Tag {
    // Lower-case element name; empty for comments, doctype and processing instructions.
    std::string name;
    bool closing = false;
    // Index just after the tag's ">"; the text's length when the tag is not closed.
    std::size_t end = 0;
    // Lower-case attribute names with their values, quotes removed.
    std::vector<std::pair<std::string, std::string>> attributes;

    // The value of the first attribute of that (lower-case) name; empty when there is none.
    std::string Attribute(std::string_view attributeName) const;
};

// Reads the tag that starts with "<" at html[start].
Tag ReadTag(std::string_view html, std::size_t start);

// The first position at or after from where needle occurs in text, ASCII letters compared
// without regard to case; npos when there is none.
std::size_t FindNoCase(std::string_view text, std::string_view needle, std::size_t from = 0);

bool EqualsNoCase(std::string_view a, std::string_view b);

}  // namespace markup
