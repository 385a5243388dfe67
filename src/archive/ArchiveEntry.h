#pragma once
// One record of an archive's central directory.

#include <cstdint>
#include <string>

struct CArchiveEntry {
    std::uint16_t versionMadeBy = 0;
    std::uint16_t versionNeeded = 0;
    std::uint16_t flag = 0;  // general purpose bits
    std::uint16_t method = 0;
    std::uint16_t modTime = 0;  // MS-DOS time
    std::uint16_t modDate = 0;  // MS-DOS date
    std::uint32_t crc32 = 0;
    std::uint32_t comprSize = 0;    // bytes of data in the archive, encryption header included
    std::uint32_t uncomprSize = 0;  // bytes of the extracted member
    std::uint16_t diskStart = 0;
    std::uint16_t internalAttr = 0;
    std::uint32_t externalAttr = 0;
    std::uint32_t localHeaderOffset = 0;  // as stored, before the archive's offset shift
    std::string name;                     // UTF-8, folders separated by "/"
    std::string extraField;
    std::string comment;

    static constexpr std::uint16_t kFlagEncrypted = 0x0001;
    static constexpr std::uint16_t kFlagDataDescriptor = 0x0008;
    static constexpr std::uint16_t kFlagUtf8 = 0x0800;

    bool IsEncrypted() const { return (flag & kFlagEncrypted) != 0; }
    // CRC and sizes follow the data; the local header does not carry them.
    bool HasDataDescriptor() const { return (flag & kFlagDataDescriptor) != 0; }
};
