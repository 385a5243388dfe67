#include "data/SqlText.h"

#include <cstdarg>
#include <cstdio>

std::string SqlFormat(const char* format, ...) {
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    char buffer[512];
    int n = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    std::string text;
    if (n >= 0 && static_cast<size_t>(n) < sizeof buffer) {
        text.assign(buffer, static_cast<size_t>(n));
    } else if (n >= 0) {
        text.resize(static_cast<size_t>(n) + 1);
        std::vsnprintf(text.data(), text.size(), format, copy);
        text.resize(static_cast<size_t>(n));
    }
    va_end(copy);
    return text;
}

std::string SqlQuote(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    for (char c : text) {
        quoted += c;
        if (c == '\'') quoted += '\'';
    }
    return quoted;
}

std::string LikeEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size() + 4);
    for (char c : text) {
        if (c == '*' || c == '?' || c == '#' || c == '[') {
            escaped += '[';
            escaped += c;
            escaped += ']';
        } else {
            escaped += c;
        }
    }
    return escaped;
}
