#pragma once
// The texts of a recordset, in large blocks that never move.

#include <cstddef>
#include <memory>
#include <vector>

namespace dbdetail {

class CTextArena {
public:
    // A stable copy of length bytes of text; an empty text needs no room.
    const char* Add(const char* text, size_t length);
    void Clear() noexcept;

private:
    static constexpr size_t kBlock = 64 * 1024;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char* m_next = nullptr;
    size_t m_left = 0;
};

}  // namespace dbdetail
