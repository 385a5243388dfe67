#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <filesystem>

namespace {

class CSystemFileOps : public IFileOps {
public:
    int OpenForWriting(const std::string& path) override {
        return ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    }
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        ssize_t n;
        do {
            n = ::write(fd, data, size);
        } while (n < 0 && errno == EINTR);
        return n;
    }
    int Sync(int fd) override { return ::fsync(fd); }
    int Close(int fd) override { return ::close(fd); }
    int Rename(const std::string& from, const std::string& to) override {
        return ::rename(from.c_str(), to.c_str());
    }
};

bool WriteAll(IFileOps& ops, int fd, std::string_view contents) {
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (left > 0) {
        const ssize_t n = ops.Write(fd, p, left);
        if (n <= 0) return false;
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

// Links are followed at most this often, as the kernel does (ELOOP).
constexpr int kMaxLinks = 40;

}  // namespace

int IFileOps::OpenInPlace(const std::string& path) {
    return ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
}

IFileOps& SystemFileOps() {
    static CSystemFileOps ops;
    return ops;
}

std::string ResolveLinkTarget(const std::string& path) {
    namespace fs = std::filesystem;
    fs::path current = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        std::error_code ec;
        if (!fs::is_symlink(fs::symlink_status(current, ec))) break;
        const fs::path target = fs::read_symlink(current, ec);
        if (ec) break;
        // A relative link is relative to the folder that holds it.
        current = target.is_absolute() ? target : current.parent_path() / target;
    }
    return current.string();
}

bool WriteFileAtomically(const std::string& path, std::string_view contents, IFileOps& ops) {
    // A link (a dotfile manager's, say) keeps pointing at the file; the file is replaced.
    const std::string target = ResolveLinkTarget(path);

    struct stat st {};
    if (::stat(target.c_str(), &st) == 0 && !S_ISREG(st.st_mode)) {
        // A device or a pipe cannot be replaced by renaming: it is written as it is.
        if (S_ISDIR(st.st_mode)) return false;
        const int fd = ops.OpenInPlace(target);
        if (fd < 0) return false;
        const bool ok = WriteAll(ops, fd, contents);
        return ops.Close(fd) == 0 && ok;
    }

    // The temporary name carries the process id so that two programs writing at once do not
    // share one temporary file. It lies beside the target, so the rename stays on one file
    // system; a missing folder makes the open fail.
    const std::string temp = target + ".tmp" + std::to_string(::getpid());
    const int fd = ops.OpenForWriting(temp);
    if (fd < 0) return false;
    bool ok = WriteAll(ops, fd, contents);
    if (ok && ops.Sync(fd) != 0) ok = false;
    if (ops.Close(fd) != 0) ok = false;
    if (ok && ops.Rename(temp, target) != 0) ok = false;
    if (!ok) {
        std::error_code ec;
        std::filesystem::remove(temp, ec);
    }
    return ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit,
                                         FileReadStatus* status) {
    auto fail = [&](FileReadStatus why) -> std::optional<std::string> {
        if (status) *status = why;
        return std::nullopt;
    };
    // Non-blocking, so that opening a pipe does not wait for a writer.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        return fail(errno == ENOENT || errno == ENOTDIR ? FileReadStatus::Missing
                                                        : FileReadStatus::Unreadable);
    }
    struct FdCloser {
        int fd;
        ~FdCloser() { ::close(fd); }
    } closer{fd};
    struct stat st {};
    if (::fstat(fd, &st) != 0) return fail(FileReadStatus::Unreadable);
    if (!S_ISREG(st.st_mode)) return fail(FileReadStatus::NotAFile);
    if (st.st_size > 0 && static_cast<std::uintmax_t>(st.st_size) > limit)
        return fail(FileReadStatus::TooLarge);

    // The size is only a hint (files under /proc say 0, a file may grow while it is read):
    // reading goes on to the end, and one byte past the limit is enough to refuse it.
    std::string contents;
    contents.resize(st.st_size > 0 ? static_cast<std::size_t>(st.st_size) : 4096);
    std::size_t used = 0;
    for (;;) {
        if (used == contents.size()) {
            if (contents.size() > limit) return fail(FileReadStatus::TooLarge);
            contents.resize(std::min(contents.size() * 2, limit + 1));
        }
        const ssize_t n = ::read(fd, contents.data() + used, contents.size() - used);
        if (n < 0) {
            if (errno == EINTR) continue;
            return fail(FileReadStatus::Unreadable);
        }
        if (n == 0) break;
        used += static_cast<std::size_t>(n);
    }
    if (used > limit) return fail(FileReadStatus::TooLarge);
    contents.resize(used);
    if (status) *status = FileReadStatus::Ok;
    return contents;
}
