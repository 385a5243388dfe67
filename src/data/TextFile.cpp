#include "data/TextFile.h"

#include <errno.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Closes a file descriptor on every way out.
class CFileDescriptor {
public:
    explicit CFileDescriptor(int fd) noexcept : m_fd(fd) {}
    ~CFileDescriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CFileDescriptor(const CFileDescriptor&) = delete;
    CFileDescriptor& operator=(const CFileDescriptor&) = delete;
    int Get() const noexcept { return m_fd; }

private:
    int m_fd;
};

}  // namespace

bool ReadTextFile(const std::string& path, std::string& text) {
    text.clear();
    CFileDescriptor file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    if (file.Get() < 0) return false;
    // A directory opens too, but it is no text file.
    struct stat info {};
    if (::fstat(file.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    text.resize(static_cast<size_t>(info.st_size));
    size_t done = 0;
    while (done < text.size()) {
        ssize_t n = ::read(file.Get(), text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            // A file that shrank or failed while being read counts as unreadable, not as its
            // first part.
            text.clear();
            return false;
        }
        done += static_cast<size_t>(n);
    }
    return true;
}
