#pragma once
// Archives for the reader's tests, made at run time by other programs (Info-ZIP, 7-Zip).

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace archive_test {

using Bytes = std::vector<std::uint8_t>;

// A fresh folder below the system's temporary folder, removed with the object.
class CTempDir {
public:
    CTempDir();
    ~CTempDir();
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;
    const std::filesystem::path& Path() const { return m_path; }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }

private:
    std::filesystem::path m_path;
};

// True when the program can be found on the PATH.
bool HaveTool(const std::string& program);
// Runs a shell command in folder; true when it exits with 0.
bool RunIn(const std::filesystem::path& folder, const std::string& command);
// Single-quoted for the shell.
std::string Quote(const std::string& text);

Bytes ReadBytes(const std::string& path);
void WriteBytes(const std::string& path, const Bytes& bytes);
void WriteText(const std::string& path, const std::string& text);
Bytes ToBytes(const std::string& text);

// Text that compresses like real content: words, numbers and CSV-like lines, different for
// each seed.
std::string SampleText(std::size_t size, std::uint32_t seed);

// Offset of the end-of-central-directory record (the last "PK" 5 6), or npos.
std::size_t EndRecordOffset(const Bytes& archive);
// Offset of the first central directory record, or npos.
std::size_t CentralOffset(const Bytes& archive);

void Put16(Bytes& bytes, std::size_t offset, std::uint16_t value);
void Put32(Bytes& bytes, std::size_t offset, std::uint32_t value);
std::uint16_t Get16(const Bytes& bytes, std::size_t offset);
std::uint32_t Get32(const Bytes& bytes, std::size_t offset);

}  // namespace archive_test
