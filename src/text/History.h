#pragma once
// The article window's history: the articles visited, each with the anchor it was opened at
// and where its content area was scrolled when the user left it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// One visit, a fixed 140-byte record.
struct CHistoryEntry {
    std::int32_t articleId = 0;
    // Zero-terminated; longer anchors are cut to 127 bytes on a whole UTF-8 character.
    char anchor[128] = {};
    // Scroll offsets of the content area ("Layer2") when the user left the article.
    std::int32_t scrollLeft = 0;
    std::int32_t scrollTop = 0;
};
static_assert(sizeof(CHistoryEntry) == 140);

CHistoryEntry MakeHistoryEntry(std::int32_t articleId, std::string_view anchor,
                               std::int32_t scrollLeft = 0, std::int32_t scrollTop = 0);
inline std::string AnchorOf(const CHistoryEntry& entry) { return entry.anchor; }

class CHistoryList {
public:
    explicit CHistoryList(int maximum = 5) : m_maximum(maximum) {}

    // Forgets every entry.
    void Clear();
    // The number of entries kept at most (at least 1); entries beyond it stay until the next
    // push.
    void SetMaximum(int maximum);

    // Adds a visit after the current one: entries after the current one are dropped first; a
    // full list drops its oldest entry, so the index then names the new last entry.
    void Push(const CHistoryEntry& entry);
    // One step back or forward; false (nothing changes) at either end. entry gets the entry
    // at the new index.
    bool Back(CHistoryEntry& entry);
    bool Forward(CHistoryEntry& entry);

    // Reads or replaces the entry at index; false when there is none.
    bool Get(int index, CHistoryEntry& entry) const;
    bool Set(int index, const CHistoryEntry& entry);

    int Count() const { return static_cast<int>(m_entries.size()); }
    // The current entry's index; -1 when the list is empty.
    int Index() const { return m_index; }
    int Maximum() const { return m_maximum; }
    bool CanGoBack() const { return m_index > 0; }
    bool CanGoForward() const { return m_index + 1 < Count(); }

private:
    std::vector<CHistoryEntry> m_entries;
    int m_index = -1;
    int m_maximum;
};
