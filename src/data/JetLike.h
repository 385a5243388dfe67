#pragma once
// Jet's LIKE on UTF-8 text: "*" any run of characters, "?" one character, "#" one digit,
// "[abc]", "[a-z]" and "[!...]" character classes ("[*]" is a literal star). Letters compare
// case-insensitively, umlauts and accented letters included ("ö" matches "Ö").

#include <memory>
#include <string>
#include <string_view>

// A compiled pattern.
class CJetPattern {
public:
    // Compiles pattern; Valid() is false for a malformed one (an unclosed "[" or a range
    // such as "[z-a]"), which matches nothing.
    explicit CJetPattern(std::string_view pattern);
    ~CJetPattern();
    CJetPattern(CJetPattern&&) noexcept;
    CJetPattern& operator=(CJetPattern&&) noexcept;

    bool Valid() const noexcept;
    // Whether the whole of text matches.
    bool Matches(std::string_view text) const;

private:
    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Whether text matches pattern (false for a malformed pattern).
bool JetLike(std::string_view pattern, std::string_view text);
