#pragma once
// The program's one template mechanism: a page template is read whole from the HTML folder
// and its placeholders ("%Title%", "%Content%", ...) are replaced by plain text substitution.
// There is no other syntax: no parameters, escapes or conditionals.

#include <string>
#include <string_view>

// Replaces every occurrence of token in text (case-sensitive) by replacement. The inserted
// text is never searched again, so a replacement that contains the token stays as it is.
// Nothing happens for an empty text or an empty token.
void ReplaceAll(std::string& text, std::string_view token, std::string_view replacement);
