#pragma once
// Writing a file whole so that a failure at any step leaves the old file as it was: the new
// contents go to a temporary file beside it, which is flushed and then renamed into place.

#include <sys/types.h>

#include <optional>
#include <string>
#include <string_view>

// The system calls the write goes through; tests make each of them fail in turn.
class IFileOps {
public:
    virtual ~IFileOps() = default;
    // As open(2) with O_WRONLY | O_CREAT | O_TRUNC and mode 0644; -1 on failure.
    virtual int OpenForWriting(const std::string& path) = 0;
    // As write(2): the number of bytes written, -1 on failure.
    virtual ssize_t Write(int fd, const char* data, std::size_t size) = 0;
    // As fsync(2); 0 on success.
    virtual int Sync(int fd) = 0;
    // As close(2); 0 on success.
    virtual int Close(int fd) = 0;
    // As rename(2); 0 on success.
    virtual int Rename(const std::string& from, const std::string& to) = 0;
};

// The real system calls.
IFileOps& SystemFileOps();

// Replaces the file at path by contents. Creates missing parent directories. Returns false,
// with the old file untouched and no temporary file left behind, when any step fails.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         IFileOps& ops = SystemFileOps());

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);
