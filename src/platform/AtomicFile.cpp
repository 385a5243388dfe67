#include "platform/AtomicFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <sstream>

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

}  // namespace

IFileOps& SystemFileOps() {
    static CSystemFileOps ops;
    return ops;
}

bool WriteFileAtomically(const std::string& path, std::string_view contents, IFileOps& ops) {
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path parent = fs::path(path).parent_path();
    if (!parent.empty()) fs::create_directories(parent, ec);

    // The temporary name carries the process id so that two programs writing at once do not
    // share one temporary file.
    const std::string temp = path + ".tmp" + std::to_string(::getpid());
    int fd = ops.OpenForWriting(temp);
    if (fd < 0) return false;
    bool ok = true;
    const char* p = contents.data();
    std::size_t left = contents.size();
    while (ok && left > 0) {
        ssize_t n = ops.Write(fd, p, left);
        if (n <= 0) {
            ok = false;
        } else {
            p += n;
            left -= static_cast<std::size_t>(n);
        }
    }
    if (ok && ops.Sync(fd) != 0) ok = false;
    if (ops.Close(fd) != 0) ok = false;
    if (ok && ops.Rename(temp, path) != 0) ok = false;
    if (!ok) fs::remove(temp, ec);
    return ok;
}

std::optional<std::string> ReadWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad()) return std::nullopt;
    return std::move(s).str();
}
