#include "mainwnd/IdArrayFile.h"

#include <filesystem>

#include "platform/AtomicFile.h"

namespace {

// Markers of the longer count and string forms.
constexpr std::uint16_t kCountEscape = 0xFFFF;
constexpr std::uint8_t kStringEscape = 0xFF;
constexpr std::uint16_t kStringEscape16 = 0xFFFF;

}  // namespace

void CArchiveStore::WriteUInt8(std::uint8_t value) { m_bytes.push_back(value); }

void CArchiveStore::WriteUInt16(std::uint16_t value) {
    m_bytes.push_back(static_cast<std::uint8_t>(value));
    m_bytes.push_back(static_cast<std::uint8_t>(value >> 8));
}

void CArchiveStore::WriteUInt32(std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        m_bytes.push_back(static_cast<std::uint8_t>(value >> shift));
    }
}

void CArchiveStore::WriteCount(std::uint32_t count) {
    if (count < kCountEscape) {
        WriteUInt16(static_cast<std::uint16_t>(count));
    } else {
        WriteUInt16(kCountEscape);
        WriteUInt32(count);
    }
}

void CArchiveStore::WriteString(std::string_view text) {
    std::size_t length = text.size();
    if (length < kStringEscape) {
        WriteUInt8(static_cast<std::uint8_t>(length));
    } else if (length < 0xFFFE) {
        WriteUInt8(kStringEscape);
        WriteUInt16(static_cast<std::uint16_t>(length));
    } else {
        WriteUInt8(kStringEscape);
        WriteUInt16(kStringEscape16);
        WriteUInt32(static_cast<std::uint32_t>(length));
    }
    m_bytes.insert(m_bytes.end(), text.begin(), text.end());
}

void CArchiveStore::WriteIdArray(const std::vector<std::uint32_t>& ids) {
    WriteCount(static_cast<std::uint32_t>(ids.size()));
    for (std::uint32_t id : ids) WriteUInt32(id);
}

bool CArchiveLoad::Take(std::size_t n, const std::uint8_t*& bytes) {
    if (n > Remaining()) return false;
    bytes = m_data + m_pos;
    m_pos += n;
    return true;
}

bool CArchiveLoad::ReadUInt8(std::uint8_t& value) {
    const std::uint8_t* p;
    if (!Take(1, p)) return false;
    value = p[0];
    return true;
}

bool CArchiveLoad::ReadUInt16(std::uint16_t& value) {
    const std::uint8_t* p;
    if (!Take(2, p)) return false;
    value = static_cast<std::uint16_t>(p[0] | (p[1] << 8));
    return true;
}

bool CArchiveLoad::ReadUInt32(std::uint32_t& value) {
    const std::uint8_t* p;
    if (!Take(4, p)) return false;
    value = static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
            | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
    return true;
}

bool CArchiveLoad::ReadCount(std::uint32_t& count) {
    std::size_t start = m_pos;
    std::uint16_t shortCount;
    if (!ReadUInt16(shortCount)) return false;
    if (shortCount != kCountEscape) {
        count = shortCount;
        return true;
    }
    if (!ReadUInt32(count)) {
        m_pos = start;
        return false;
    }
    return true;
}

bool CArchiveLoad::ReadString(std::string& text) {
    std::size_t start = m_pos;
    std::uint32_t length;
    std::uint8_t shortLength;
    std::uint16_t midLength;
    const std::uint8_t* p;
    bool ok = ReadUInt8(shortLength);
    if (ok && shortLength != kStringEscape) {
        length = shortLength;
    } else if (ok && (ok = ReadUInt16(midLength)) && midLength != kStringEscape16) {
        length = midLength;
    } else if (ok) {
        ok = ReadUInt32(length);
    }
    if (!ok || !Take(length, p)) {
        m_pos = start;
        return false;
    }
    text.assign(reinterpret_cast<const char*>(p), length);
    return true;
}

bool CArchiveLoad::ReadIdArray(std::vector<std::uint32_t>& ids) {
    std::size_t start = m_pos;
    std::uint32_t count;
    if (!ReadCount(count)) return false;
    if (count > Remaining() / 4) {
        m_pos = start;
        return false;
    }
    std::vector<std::uint32_t> read(count);
    for (std::uint32_t& id : read) ReadUInt32(id);
    ids = std::move(read);
    return true;
}

bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes) {
    // A workspace or profile is small; anything longer, or no regular file, is damaged.
    std::optional<std::string> contents = ReadWholeFile(path, kUserFileLimit);
    if (!contents) return false;
    bytes.assign(contents->begin(), contents->end());
    return true;
}

bool WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                        IFileOps& ops) {
    // Only into a folder that exists: the user-data folder is made at start, and a profile
    // name never makes new folders.
    std::error_code ec;
    if (!std::filesystem::is_directory(std::filesystem::path(path).parent_path(), ec)) return false;
    return WriteFileAtomically(
        path, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()), ops);
}

bool WriteIdArrayFile(const std::string& path, const std::vector<std::uint32_t>& ids,
                      IFileOps& ops) {
    CArchiveStore store;
    store.WriteIdArray(ids);
    return WriteFileReplacing(path, store.Bytes(), ops);
}

bool ReadIdArrayFile(const std::string& path, std::vector<std::uint32_t>& ids) {
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) return false;
    CArchiveLoad load(bytes);
    return load.ReadIdArray(ids);
}
