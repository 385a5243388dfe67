#pragma once
// Writing a file whole so that a failure at any step leaves the old file as it was: the new
// contents go to a temporary file beside it, which is flushed and then renamed into place.
// Reading a file whole, within a size limit.

#include <sys/types.h>

#include <cstddef>
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
    // As open(2) with O_WRONLY on something that is written in place (a device, a pipe):
    // nothing is created or truncated; -1 on failure.
    virtual int OpenInPlace(const std::string& path);
};

// The real system calls.
IFileOps& SystemFileOps();

// Replaces the file at path by contents. A symbolic link is followed and the file it points
// to is replaced (the link stays); a device or a pipe is written directly. Missing folders
// are not created. Returns false, with the old file untouched and no temporary file left
// behind, when any step fails.
bool WriteFileAtomically(const std::string& path, std::string_view contents,
                         IFileOps& ops = SystemFileOps());

// The file a symbolic link at path points to, following links in turn; path itself when it
// is no link. The target need not exist.
std::string ResolveLinkTarget(const std::string& path);

// What came of reading a file whole.
enum class FileReadStatus {
    Ok,
    Missing,     // nothing at that path
    NotAFile,    // a folder, a device, a pipe
    TooLarge,    // longer than the limit
    Unreadable,  // no permission, or a read error
};

// Limits for the kinds of file the program reads whole: workspaces and profiles hold a few
// hundred kilobytes at most; NOX.INI, the registry files and the system's tables a few
// megabytes.
inline constexpr std::size_t kUserFileLimit = std::size_t{1} << 20;
inline constexpr std::size_t kSettingsFileLimit = std::size_t{8} << 20;

// The whole regular file at path if it holds at most limit bytes; nothing otherwise, with the
// reason in status when given. Never blocks on a pipe and never reads past the limit.
std::optional<std::string> ReadWholeFile(const std::string& path, std::size_t limit,
                                         FileReadStatus* status = nullptr);
