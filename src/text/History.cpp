#include "text/History.h"

#include <algorithm>
#include <cstring>

#include "text/LinkProtocol.h"

CHistoryEntry MakeHistoryEntry(std::int32_t articleId, std::string_view anchor,
                               std::int32_t scrollLeft, std::int32_t scrollTop) {
    CHistoryEntry entry;
    entry.articleId = articleId;
    const std::string_view cut = CutUtf8(anchor, sizeof entry.anchor - 1);
    std::memcpy(entry.anchor, cut.data(), cut.size());
    entry.scrollLeft = scrollLeft;
    entry.scrollTop = scrollTop;
    return entry;
}

void CHistoryList::Clear() {
    m_entries.clear();
    m_index = -1;
}

void CHistoryList::SetMaximum(int maximum) { m_maximum = std::max(1, maximum); }

void CHistoryList::Push(const CHistoryEntry& entry) {
    if (m_entries.empty()) {
        m_entries.push_back(entry);
        m_index = 0;
        return;
    }
    m_entries.resize(static_cast<std::size_t>(m_index) + 1);
    if (Count() >= m_maximum) {
        // The index stays: it now names the entry appended below.
        m_entries.erase(m_entries.begin(), m_entries.begin() + (Count() - m_maximum + 1));
        m_entries.push_back(entry);
        m_index = Count() - 1;
        return;
    }
    m_entries.push_back(entry);
    m_index = Count() - 1;
}

bool CHistoryList::Back(CHistoryEntry& entry) {
    if (!CanGoBack()) return false;
    --m_index;
    entry = m_entries[static_cast<std::size_t>(m_index)];
    return true;
}

bool CHistoryList::Forward(CHistoryEntry& entry) {
    if (!CanGoForward()) return false;
    ++m_index;
    entry = m_entries[static_cast<std::size_t>(m_index)];
    return true;
}

bool CHistoryList::Get(int index, CHistoryEntry& entry) const {
    if (index < 0 || index >= Count()) return false;
    entry = m_entries[static_cast<std::size_t>(index)];
    return true;
}

bool CHistoryList::Set(int index, const CHistoryEntry& entry) {
    if (index < 0 || index >= Count()) return false;
    m_entries[static_cast<std::size_t>(index)] = entry;
    return true;
}
