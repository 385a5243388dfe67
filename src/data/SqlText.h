#pragma once
// Building SQL texts: the printf-style formatting the program builds every query with, and
// the quoting of user text put into them.

#include <string>
#include <string_view>

// printf-style formatting of an SQL text ("SELECT * FROM Land WHERE ID=%li").
std::string SqlFormat(const char* format, ...) __attribute__((format(printf, 1, 2)));

// text with every single quote doubled, for use between single quotes in SQL text
// ("O'Brien" -> "O''Brien"); the quotes around it are the caller's.
std::string SqlQuote(std::string_view text);

// text with Jet's LIKE wildcards (* ? # [) enclosed in brackets, so that it matches only
// itself inside a LIKE pattern; quote the result with SqlQuote as well.
std::string LikeEscape(std::string_view text);
