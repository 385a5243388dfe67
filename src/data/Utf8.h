#pragma once
// UTF-8 steps shared by the sort key, the collation and LIKE. Malformed bytes are read as
// single characters with the byte's value, so no input is ever rejected or skipped.

#include <cstddef>
#include <string>
#include <string_view>

namespace utf8 {

// Decodes the character at text[pos] and advances pos past it. Sets valid to false (and
// returns the byte) when the bytes there are not a well-formed sequence.
inline char32_t Next(std::string_view text, std::size_t& pos, bool& valid) {
    auto byte = static_cast<unsigned char>(text[pos]);
    char32_t c = 0;
    std::size_t length = 1;
    if (byte < 0x80) {
        ++pos;
        valid = true;
        return byte;
    } else if ((byte & 0xE0) == 0xC0) {
        c = byte & 0x1F;
        length = 2;
    } else if ((byte & 0xF0) == 0xE0) {
        c = byte & 0x0F;
        length = 3;
    } else if ((byte & 0xF8) == 0xF0) {
        c = byte & 0x07;
        length = 4;
    } else {
        length = 0;
    }
    valid = length > 0 && pos + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
        auto next = static_cast<unsigned char>(text[pos + k]);
        if ((next & 0xC0) != 0x80) valid = false;
        c = (c << 6) | (next & 0x3F);
    }
    // An overlong form ("\xC1\x9B" for "["), a surrogate or a value beyond U+10FFFF is no
    // character: read as bytes, it cannot stand in for a wildcard or a bracket.
    static constexpr char32_t kLeast[] = {0, 0, 0x80, 0x800, 0x10000};
    if (valid && (c < kLeast[length] || (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF))
        valid = false;
    if (!valid) {
        ++pos;
        return byte;
    }
    pos += length;
    return c;
}

inline char32_t Next(std::string_view text, std::size_t& pos) {
    bool valid = true;
    return Next(text, pos, valid);
}

inline void Append(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

// Upper case of the Latin letters (ASCII, Latin-1 and Latin Extended-A); ß has no single
// upper-case letter and stays.
inline char32_t UpperLatin(char32_t c) {
    if (c >= 'a' && c <= 'z') return c - 0x20;
    if ((c >= 0xE0 && c <= 0xFE) && c != 0xF7) return c - 0x20;
    if (c == 0xFF) return 0x178;
    if (c >= 0x100 && c <= 0x137) return c & ~char32_t{1};
    if (c >= 0x139 && c <= 0x148) return (c % 2 == 0) ? c - 1 : c;
    if (c >= 0x14A && c <= 0x177) return c & ~char32_t{1};
    if (c >= 0x179 && c <= 0x17E) return (c % 2 == 0) ? c - 1 : c;
    return c;
}

}  // namespace utf8
