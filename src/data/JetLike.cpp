#include "data/JetLike.h"

#include <vector>

#include "data/Utf8.h"

namespace {

// Letters compare by their upper case; the capital sharp s joins ß, which has none.
char32_t Fold(char32_t c) {
    if (c == 0x1E9E) return 0xDF;
    return utf8::UpperLatin(c);
}

enum class TokenKind : unsigned char { Literal, Any, Digit, Class, Star };

struct Range {
    char32_t low;
    char32_t high;
};

}  // namespace

struct CJetPattern::Impl {
    struct Token {
        TokenKind kind;
        bool negated = false;
        char32_t c = 0;  // the folded letter of a Literal
        // A Class's ranges in ranges[first, first + count).
        unsigned first = 0;
        unsigned count = 0;
    };
    std::vector<Token> tokens;
    std::vector<Range> ranges;
    bool valid = true;

    bool Compile(std::string_view pattern);
    bool MatchesOne(const Token& token, char32_t folded) const;
};

bool CJetPattern::Impl::Compile(std::string_view pattern) {
    size_t i = 0;
    while (i < pattern.size()) {
        char32_t c = utf8::Next(pattern, i);
        Token token{};
        switch (c) {
            case '*':
                // A run of stars matches what one star matches.
                if (!tokens.empty() && tokens.back().kind == TokenKind::Star) continue;
                token.kind = TokenKind::Star;
                break;
            case '?':
                token.kind = TokenKind::Any;
                break;
            case '#':
                token.kind = TokenKind::Digit;
                break;
            case '[': {
                token.kind = TokenKind::Class;
                token.first = static_cast<unsigned>(ranges.size());
                std::vector<char32_t> members;
                bool closed = false;
                while (i < pattern.size()) {
                    char32_t m = utf8::Next(pattern, i);
                    if (m == ']') {
                        closed = true;
                        break;
                    }
                    members.push_back(m);
                }
                if (!closed) return false;
                size_t k = 0;
                // "!" negates only as the first member.
                if (!members.empty() && members[0] == '!') {
                    token.negated = true;
                    k = 1;
                }
                // "[]" stands for nothing at all and matches the empty string.
                if (members.empty()) continue;
                for (; k < members.size(); ++k) {
                    char32_t low = Fold(members[k]);
                    char32_t high = low;
                    // "-" makes a range between two members; first or last it is itself.
                    if (k + 2 < members.size() && members[k + 1] == '-') {
                        high = Fold(members[k + 2]);
                        if (high < low) return false;
                        k += 2;
                    }
                    ranges.push_back({low, high});
                }
                token.count = static_cast<unsigned>(ranges.size()) - token.first;
                break;
            }
            default:
                token.kind = TokenKind::Literal;
                token.c = Fold(c);
                break;
        }
        tokens.push_back(token);
    }
    return true;
}

bool CJetPattern::Impl::MatchesOne(const Token& token, char32_t folded) const {
    switch (token.kind) {
        case TokenKind::Literal:
            return token.c == folded;
        case TokenKind::Any:
            return true;
        case TokenKind::Digit:
            return folded >= '0' && folded <= '9';
        case TokenKind::Class: {
            bool inside = false;
            for (unsigned r = token.first; r < token.first + token.count && !inside; ++r)
                inside = folded >= ranges[r].low && folded <= ranges[r].high;
            return inside != token.negated;
        }
        case TokenKind::Star:
            break;
    }
    return false;
}

CJetPattern::CJetPattern(std::string_view pattern) : m_impl(std::make_unique<Impl>()) {
    if (!m_impl->Compile(pattern)) {
        m_impl->valid = false;
        m_impl->tokens.clear();
    }
}

CJetPattern::~CJetPattern() = default;
CJetPattern::CJetPattern(CJetPattern&&) noexcept = default;
CJetPattern& CJetPattern::operator=(CJetPattern&&) noexcept = default;

bool CJetPattern::Valid() const noexcept { return m_impl->valid; }

bool CJetPattern::Matches(std::string_view text) const {
    if (!m_impl->valid) return false;
    const auto& tokens = m_impl->tokens;
    const size_t count = tokens.size();
    // Every token but the star takes exactly one character, so on a mismatch it is enough to
    // let the last star take one character more and try again from there.
    size_t p = 0;
    size_t t = 0;
    size_t starToken = count;  // none yet
    size_t starText = 0;
    while (t < text.size()) {
        if (p < count && tokens[p].kind == TokenKind::Star) {
            starToken = p++;
            starText = t;
            continue;
        }
        if (p < count) {
            size_t next = t;
            char32_t c = Fold(utf8::Next(text, next));
            if (m_impl->MatchesOne(tokens[p], c)) {
                t = next;
                ++p;
                continue;
            }
        }
        if (starToken == count) return false;
        p = starToken + 1;
        utf8::Next(text, starText);
        t = starText;
    }
    while (p < count && tokens[p].kind == TokenKind::Star) ++p;
    return p == count;
}

bool JetLike(std::string_view pattern, std::string_view text) {
    return CJetPattern(pattern).Matches(text);
}
