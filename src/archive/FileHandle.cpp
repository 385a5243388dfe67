#include "archive/FileHandle.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <limits>

CFileHandle& CFileHandle::operator=(CFileHandle&& other) noexcept {
    if (this != &other) {
        Close();
        m_fd = other.m_fd;
        m_size = other.m_size;
        other.m_fd = -1;
        other.m_size = 0;
    }
    return *this;
}

CFileHandle CFileHandle::OpenRead(const std::string& path) noexcept {
    CFileHandle file;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return file;
    file.m_fd = fd;
    struct stat st {};
    // A directory opens for reading too, but is no archive.
    const bool statted = ::fstat(fd, &st) == 0;
    if (!statted || !S_ISREG(st.st_mode)) {
        const int error = statted ? EISDIR : errno;
        file.Close();
        errno = error;
        return file;
    }
    file.m_size = static_cast<std::uint64_t>(st.st_size);
    return file;
}

std::size_t CFileHandle::ReadAt(std::uint64_t offset, void* buffer,
                                std::size_t size) const noexcept {
    if (m_fd < 0) return 0;
    if (offset > static_cast<std::uint64_t>(std::numeric_limits<off_t>::max())) return 0;
    auto* out = static_cast<char*>(buffer);
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::pread(m_fd, out + done, size - done, static_cast<off_t>(offset + done));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        done += static_cast<std::size_t>(n);
    }
    return done;
}

void CFileHandle::Close() noexcept {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
    m_size = 0;
}
