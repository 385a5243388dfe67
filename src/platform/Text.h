#pragma once
// Small text helpers the platform stand-ins share: the Windows APIs they replace compare
// names without regard to case and trim blanks, and count their buffers in characters.

#include <cstddef>
#include <string>
#include <string_view>

// True when a and b are equal ignoring ASCII case (registry and INI names are ASCII).
bool EqualsNoCase(std::string_view a, std::string_view b);

// a without leading and trailing blanks, tabs, carriage returns and line feeds.
std::string_view TrimBlanks(std::string_view a);

// The first maxChars characters of a UTF-8 text; never cuts a character in two.
std::string TruncateChars(std::string_view text, std::size_t maxChars);

// text with every occurrence of from replaced by to.
std::string ReplaceAll(std::string text, std::string_view from, std::string_view to);
