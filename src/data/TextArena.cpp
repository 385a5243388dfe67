#include "data/TextArena.h"

#include <algorithm>
#include <cstring>

namespace dbdetail {

const char* CTextArena::Add(const char* text, size_t length) {
    if (length == 0) return "";
    if (length > m_left) {
        size_t size = std::max(length, kBlock);
        m_blocks.emplace_back(new char[size]);
        m_next = m_blocks.back().get();
        m_left = size;
    }
    char* stored = m_next;
    std::memcpy(stored, text, length);
    m_next += length;
    m_left -= length;
    return stored;
}

void CTextArena::Clear() noexcept {
    m_blocks.clear();
    m_next = nullptr;
    m_left = 0;
}

}  // namespace dbdetail
