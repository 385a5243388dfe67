#pragma once
// The framework's archive encoding of workspace and profile files, and the identifier
// array files (profiles) built on it. All integers are little-endian.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/AtomicFile.h"

// Appends values to a byte buffer in the archive encoding.
class CArchiveStore {
public:
    void WriteUInt8(std::uint8_t value);
    void WriteUInt16(std::uint16_t value);
    void WriteUInt32(std::uint32_t value);
    // A count below 0xFFFF takes 16 bits; a larger one 0xFFFF and then 32 bits.
    void WriteCount(std::uint32_t count);
    // A byte length below 255 takes one byte; below 0xFFFE the byte 255 and 16 bits; a
    // longer text the byte 255, the 16-bit value 0xFFFF and 32 bits. No terminator.
    void WriteString(std::string_view text);
    // A count followed by the identifiers, 32 bits each.
    void WriteIdArray(const std::vector<std::uint32_t>& ids);

    const std::vector<std::uint8_t>& Bytes() const { return m_bytes; }

private:
    std::vector<std::uint8_t> m_bytes;
};

// Reads values in the archive encoding from a byte buffer it does not own. Every read
// returns false, and leaves its output alone, when the buffer ends too early.
class CArchiveLoad {
public:
    CArchiveLoad(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    explicit CArchiveLoad(const std::vector<std::uint8_t>& bytes)
        : CArchiveLoad(bytes.data(), bytes.size()) {}

    bool ReadUInt8(std::uint8_t& value);
    bool ReadUInt16(std::uint16_t& value);
    bool ReadUInt32(std::uint32_t& value);
    bool ReadCount(std::uint32_t& count);
    bool ReadString(std::string& text);
    // False for a count that the rest of the buffer cannot hold: a damaged file never
    // makes the reader allocate for a count it does not have the bytes for.
    bool ReadIdArray(std::vector<std::uint32_t>& ids);

    std::size_t Remaining() const { return m_size - m_pos; }

private:
    bool Take(std::size_t n, const std::uint8_t*& bytes);

    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

// Reads a whole file into bytes. False when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::vector<std::uint8_t>& bytes);

// Writes bytes to a temporary file beside path and renames it over path, so a failed write
// (full disk, crash) leaves the old file as it was. False on any failure, and when path's
// folder does not exist; the temporary file is then removed. Tests pass their own ops.
bool WriteFileReplacing(const std::string& path, const std::vector<std::uint8_t>& bytes,
                        IFileOps& ops = SystemFileOps());

// Writes a profile file: the count and the identifiers, with no header.
bool WriteIdArrayFile(const std::string& path, const std::vector<std::uint32_t>& ids,
                      IFileOps& ops = SystemFileOps());

// Reads a profile file into ids. False, with ids unchanged, for a missing, truncated or
// damaged file.
bool ReadIdArrayFile(const std::string& path, std::vector<std::uint32_t>& ids);
