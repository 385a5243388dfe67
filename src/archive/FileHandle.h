#pragma once
// A file opened for reading, closed with its owner (move-only).

#include <cstddef>
#include <cstdint>
#include <string>

class CFileHandle {
public:
    CFileHandle() noexcept = default;
    ~CFileHandle() noexcept { Close(); }
    CFileHandle(const CFileHandle&) = delete;
    CFileHandle& operator=(const CFileHandle&) = delete;
    CFileHandle(CFileHandle&& other) noexcept : m_fd(other.m_fd) { other.m_fd = -1; }
    CFileHandle& operator=(CFileHandle&& other) noexcept;

    // Opens a regular file for reading only; an empty handle when that fails (errno says why).
    static CFileHandle OpenRead(const std::string& path) noexcept;

    bool IsOpen() const noexcept { return m_fd >= 0; }
    // Length of the file in bytes, taken when it was opened.
    std::uint64_t Size() const noexcept { return m_size; }
    // Reads up to size bytes at offset into buffer; fewer only at the end of the file or on
    // a read error. Does not move any file position, so reads need no seek.
    std::size_t ReadAt(std::uint64_t offset, void* buffer, std::size_t size) const noexcept;
    void Close() noexcept;

private:
    int m_fd = -1;
    std::uint64_t m_size = 0;
};
