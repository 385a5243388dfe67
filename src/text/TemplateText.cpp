#include "text/TemplateText.h"

void ReplaceAll(std::string& text, std::string_view token, std::string_view replacement) {
    if (text.empty() || token.empty()) return;
    std::size_t at = text.find(token);
    while (at != std::string::npos) {
        text.replace(at, token.size(), replacement);
        // Searching on behind the inserted text: an empty replacement continues where the
        // token was, so that a token right behind it is replaced as well.
        at = text.find(token, at + replacement.size());
    }
}
