#pragma once
// Reads the program's .nox archives: ZIP files whose members are encrypted with the
// traditional PKWARE scheme and compressed with deflate (or stored). Read only, one volume.
//
// Errors in the archive (damaged, wrong password, CRC mismatch) raise CZipException. Window
// code must not let it escape an event handler: it calls TryExtractFileToMemory or
// CArchiveReader::TryExtractByName, which catch it and hand back the cause.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "archive/ArchiveEntry.h"
#include "archive/FileHandle.h"
#include "archive/InflateStream.h"
#include "archive/MemoryBlock.h"
#include "archive/ZipCrypto.h"
#include "archive/ZipException.h"

// The end-of-central-directory record.
struct CEndRecord {
    std::uint16_t thisDisk = 0;
    std::uint16_t cdDisk = 0;  // the disk the central directory starts on
    std::uint16_t entriesThisDisk = 0;
    std::uint16_t totalEntries = 0;
    std::uint32_t cdSize = 0;
    std::uint32_t cdOffset = 0;
    std::string comment;
};

class CDecryptAhead;

// What a non-throwing extraction came to.
struct CExtractResult {
    // The block holds the member.
    bool extracted = false;
    // The cause of the CZipException that stopped it; 0 when none was raised, so a failure
    // with cause 0 is a missing archive or member, a member without password or no memory.
    int cause = 0;

    explicit operator bool() const noexcept { return extracted; }
};

class CArchiveReader {
public:
    enum class EOpenMode { ReadOnly };

    static constexpr std::size_t kReadBufferSize = 16384;
    static constexpr std::size_t kDefaultChunk = 65535;
    // Encrypted members of at least this many compressed bytes are decrypted on a second
    // core while ExtractToMemory inflates them, with the same result. The thread ends before
    // the call returns, so callers see a single-threaded reader all the same.
    static constexpr std::uint32_t kDecryptAheadSize = 1u << 20;
    // ExtractToMemory delivers no member larger than this, far above every picture, film or
    // map the program shows: a larger size is a damaged or hostile archive.
    static constexpr std::uint32_t kMaxMemberSize = 256u << 20;
    // The block starts at the member's size when that is no more than this, or no more than
    // kPlausibleRatio times its compressed size; otherwise it starts there and grows as the
    // data really inflates, so that a size the data cannot fill costs no memory.
    static constexpr std::size_t kFirstBlockSize = 16u << 20;
    static constexpr std::size_t kPlausibleRatio = 8;

    CArchiveReader() = default;
    ~CArchiveReader() = default;
    CArchiveReader(const CArchiveReader&) = delete;
    CArchiveReader& operator=(const CArchiveReader&) = delete;
    CArchiveReader(CArchiveReader&&) noexcept = default;
    CArchiveReader& operator=(CArchiveReader&&) noexcept = default;

    // Opens the archive and reads its central directory; an archive already open is closed
    // first. Only reading single-volume archives is supported (volumeSize 0). Throws
    // CZipException: 4 when the file cannot be opened, 10 when it is damaged, 18 when it has
    // no end record. After a throw the reader is closed.
    void Open(const std::string& path, EOpenMode mode = EOpenMode::ReadOnly,
              std::uint32_t volumeSize = 0);
    bool IsOpen() const noexcept { return m_file.IsOpen(); }
    // Releases the file, the entries and a member being read.
    void Close() noexcept;

    // Stores the password's bytes for the members opened after it; an empty text clears it.
    // False (nothing changed) while a member is open.
    bool SetPassword(std::string_view password);

    // Index of the entry whose name equals name ignoring case ("\" counts as "/"), or -1.
    // Fast when the central directory is sorted by name, complete when it is not.
    int FindFile(std::string_view name) const;
    int GetCount() const noexcept { return static_cast<int>(m_entries.size()); }
    // The entry at index, which must be valid.
    const CArchiveEntry& GetEntry(int index) const { return m_entries.at(index); }
    const std::vector<CArchiveEntry>& GetEntries() const noexcept { return m_entries; }
    const CEndRecord& GetEndRecord() const noexcept { return m_endRecord; }
    // Bytes in front of the archive proper (a self-extracting program, say).
    std::uint64_t GetOffsetShift() const noexcept { return m_offsetShift; }
    const std::string& GetArchivePath() const noexcept { return m_path; }

    // Replaces block with the member at index, exactly its uncompressed size, decrypted and
    // decompressed, read chunk bytes at a time. False when the index is invalid, a member is
    // open, the member is encrypted and no password is set, the member is larger than
    // kMaxMemberSize or the block cannot be allocated. Throws CZipException for a damaged archive or member (10, or zlib's cause),
    // a wrong password (17) or a CRC mismatch (11); the member is closed again either way.
    bool ExtractToMemory(int index, CMemoryBlock& block, std::size_t chunk = kDefaultChunk);
    // FindFile, then ExtractToMemory; false when no entry has that name.
    bool ExtractByName(std::string_view name, CMemoryBlock& block,
                       std::size_t chunk = kDefaultChunk);
    // ExtractByName that raises nothing: a CZipException comes back as its cause.
    CExtractResult TryExtractByName(std::string_view name, CMemoryBlock& block,
                                    std::size_t chunk = kDefaultChunk) noexcept;

    // Reading a member piece by piece: OpenFile, ReadFile until it delivers less than asked,
    // CloseFile. OpenFile is false for an invalid index, an open member, or an encrypted
    // member without password; it throws like ExtractToMemory.
    bool OpenFile(int index);
    // Delivers up to size bytes of the open member into buffer, never more than remain;
    // 0 when none remain or no member is open. Throws CZipException for damaged data.
    std::size_t ReadFile(void* buffer, std::size_t size);
    // Closes the open member: 1 when all of it was delivered and its CRC matched, -1 when
    // bytes remained undelivered (no CRC check then), 0 when no member was open. Throws
    // CZipException cause 11 on a CRC mismatch; the member is closed all the same.
    int CloseFile();
    bool IsFileOpen() const noexcept { return m_fileOpened; }

private:
    void ReadEndRecord();
    void ReadCentralDirectory();
    std::uint64_t FindEndRecord();
    std::uint64_t CentralDirectoryEnd(std::uint64_t endRecordPos);
    void Refill();
    void ReleaseFile() noexcept;
    [[noreturn]] void ThrowError(int code) const;

    std::string m_path;
    CFileHandle m_file;
    std::uint64_t m_offsetShift = 0;
    CEndRecord m_endRecord;
    std::vector<CArchiveEntry> m_entries;
    // Name lengths as stored, which the local headers must repeat.
    std::vector<std::uint16_t> m_rawNameLengths;
    std::string m_password;

    // The member being read.
    bool m_fileOpened = false;
    int m_currentIndex = -1;
    bool m_encrypted = false;
    std::uint16_t m_method = 0;
    CZipCrypto m_crypto;
    CInflateStream m_stream;
    std::vector<std::uint8_t> m_readBuffer;
    const std::uint8_t* m_input = nullptr;  // unread part of m_readBuffer
    std::size_t m_inputSize = 0;
    std::uint64_t m_readPos = 0;  // file offset of the next compressed byte
    std::uint32_t m_comprLeft = 0;
    std::uint32_t m_uncomprLeft = 0;
    std::uint32_t m_crc = 0;
    // Where Refill takes the member's decrypted pieces from, during an ExtractToMemory that
    // decrypts ahead; else null.
    CDecryptAhead* m_ahead = nullptr;
};

// Extracts the named member of the archive at path into block with the password: false when
// no file exists at path, the member is not in the archive, it is encrypted and the password
// is empty, or the block cannot be allocated. Throws CZipException like ExtractToMemory.
bool ExtractFileToMemory(const std::string& path, std::string_view name, CMemoryBlock& block,
                         std::string_view password);
// ExtractFileToMemory that raises nothing: a CZipException comes back as its cause.
CExtractResult TryExtractFileToMemory(const std::string& path, std::string_view name,
                                      CMemoryBlock& block, std::string_view password) noexcept;
