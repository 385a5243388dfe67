#include "archive/ArchiveReader.h"

#include <sys/stat.h>

#include <algorithm>
#include <cstring>
#include <new>
#include <optional>
#include <system_error>

#include "archive/DecryptAhead.h"
#include "archive/EntryName.h"

namespace {

constexpr std::uint8_t kEndRecordSig[4] = {'P', 'K', 5, 6};
constexpr std::uint8_t kCentralSig[4] = {'P', 'K', 1, 2};
constexpr std::uint8_t kLocalSig[4] = {'P', 'K', 3, 4};
constexpr std::uint8_t kZip64LocatorSig[4] = {'P', 'K', 6, 7};
constexpr std::uint8_t kZip64EndRecordSig[4] = {'P', 'K', 6, 6};

constexpr std::size_t kEndRecordSize = 22;
constexpr std::size_t kCentralHeaderSize = 46;
constexpr std::size_t kLocalHeaderSize = 30;
constexpr std::size_t kZip64LocatorSize = 20;
constexpr std::size_t kZip64EndRecordSize = 56;
// The end record and the longest comment it can carry.
constexpr std::uint64_t kEndSearchSpan = kEndRecordSize + 0xFFFF;
constexpr std::size_t kEndSearchWindow = 32768;
constexpr std::size_t kEndSearchOverlap = sizeof kEndRecordSig - 1;
// Deflate cannot expand a byte of input into more than 1032 bytes of output (258-byte
// matches of two bits each), so a larger uncompressed size is a damaged header.
constexpr std::uint64_t kMaxDeflateRatio = 1032;

std::uint16_t Get16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Get32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint64_t Get64(const std::uint8_t* p) {
    return static_cast<std::uint64_t>(Get32(p)) | (static_cast<std::uint64_t>(Get32(p + 4)) << 32);
}

bool HasSig(const std::uint8_t* p, const std::uint8_t (&sig)[4]) {
    return std::memcmp(p, sig, 4) == 0;
}

}  // namespace

void CArchiveReader::ThrowError(int code) const { CZipException::Throw(code, m_path); }

void CArchiveReader::Open(const std::string& path, EOpenMode mode, std::uint32_t volumeSize) {
    Close();
    m_path = path;
    if (mode != EOpenMode::ReadOnly || volumeSize != 0)
        throw CZipException(CZipException::kFirstWriteCause, path);
    // POSIX has no share modes; nothing else writes to the program's archives anyway.
    m_file = CFileHandle::OpenRead(path);
    if (!m_file.IsOpen()) {
        Close();
        throw CZipException(CZipException::CauseFromCode(Z_ERRNO), path);
    }
    try {
        ReadEndRecord();
        ReadCentralDirectory();
    } catch (...) {
        Close();
        throw;
    }
}

void CArchiveReader::Close() noexcept {
    ReleaseFile();
    m_file.Close();
    m_offsetShift = 0;
    m_endRecord = CEndRecord{};
    m_entries.clear();
    m_entries.shrink_to_fit();
    m_rawNameLengths.clear();
    m_rawNameLengths.shrink_to_fit();
    m_readBuffer.clear();
    m_readBuffer.shrink_to_fit();
}

bool CArchiveReader::SetPassword(std::string_view password) {
    if (m_fileOpened) return false;
    m_password.assign(password);
    return true;
}

std::uint64_t CArchiveReader::FindEndRecord() {
    const std::uint64_t length = m_file.Size();
    const std::uint64_t span = std::min(length, kEndSearchSpan);
    const std::uint64_t lowest = length - span;
    std::vector<std::uint8_t> window(
        static_cast<std::size_t>(std::min<std::uint64_t>(span, kEndSearchWindow)));
    // Windows run backwards from the end; each overlaps the one after it by three bytes, so
    // a signature across their border is seen whole in one of them.
    std::uint64_t end = length;
    for (;;) {
        const std::uint64_t start = end - std::min<std::uint64_t>(end - lowest, kEndSearchWindow);
        const auto n = static_cast<std::size_t>(end - start);
        if (m_file.ReadAt(start, window.data(), n) != n) ThrowError(CZipException::kCodeBadZipFile);
        for (std::size_t i = n >= 4 ? n - 4 + 1 : 0; i-- > 0;) {
            if (HasSig(window.data() + i, kEndRecordSig)) return start + i;
        }
        if (start == lowest) break;
        end = start + kEndSearchOverlap;
    }
    ThrowError(CZipException::kCodeCdirNotFound);
}

std::uint64_t CArchiveReader::CentralDirectoryEnd(std::uint64_t endRecordPos) {
    // Info-ZIP writes a Zip64 end record and its locator between the central directory and
    // the end record when it does not know the sizes beforehand (input from a pipe). The
    // central directory then ends where the Zip64 record begins.
    if (endRecordPos < kZip64LocatorSize) return endRecordPos;
    const std::uint64_t locatorPos = endRecordPos - kZip64LocatorSize;
    std::uint8_t locator[kZip64LocatorSize];
    if (m_file.ReadAt(locatorPos, locator, sizeof locator) != sizeof locator
        || !HasSig(locator, kZip64LocatorSig))
        return endRecordPos;
    std::uint8_t head[12];
    // The usual record of 56 bytes right in front of the locator...
    if (locatorPos >= kZip64EndRecordSize) {
        const std::uint64_t pos = locatorPos - kZip64EndRecordSize;
        if (m_file.ReadAt(pos, head, sizeof head) == sizeof head && HasSig(head, kZip64EndRecordSig)
            && Get64(head + 4) == kZip64EndRecordSize - sizeof head)
            return pos;
    }
    // ...or a longer one where the locator says, as long as it ends at the locator.
    const std::uint64_t pos = Get64(locator + 8);
    if (pos < locatorPos && locatorPos - pos >= sizeof head
        && m_file.ReadAt(pos, head, sizeof head) == sizeof head && HasSig(head, kZip64EndRecordSig)
        && Get64(head + 4) == locatorPos - pos - sizeof head)
        return pos;
    return endRecordPos;
}

void CArchiveReader::ReadEndRecord() {
    const std::uint64_t pos = FindEndRecord();
    std::uint8_t record[kEndRecordSize];
    if (m_file.ReadAt(pos, record, sizeof record) != sizeof record)
        ThrowError(CZipException::kCodeBadZipFile);
    CEndRecord& end = m_endRecord;
    // Number of this disk
    end.thisDisk = Get16(record + 4);
    // Number of the disk with the start of the central directory
    end.cdDisk = Get16(record + 6);
    // Entries in the central directory on this disk
    end.entriesThisDisk = Get16(record + 8);
    // Entries in the central directory
    end.totalEntries = Get16(record + 10);
    // Size of the central directory
    end.cdSize = Get32(record + 12);
    // Offset of the start of the central directory
    end.cdOffset = Get32(record + 16);
    // Archive comment
    end.comment.resize(Get16(record + 20));
    if (m_file.ReadAt(pos + sizeof record, end.comment.data(), end.comment.size())
        != end.comment.size())
        ThrowError(CZipException::kCodeBadZipFile);

    if (end.thisDisk != 0) ThrowError(CZipException::kCodeBadZipFile);
    const std::uint64_t cdEnd = CentralDirectoryEnd(pos);
    const std::uint64_t storedEnd = std::uint64_t{end.cdOffset} + end.cdSize;
    if (cdEnd < storedEnd) ThrowError(CZipException::kCodeBadZipFile);
    m_offsetShift = cdEnd - storedEnd;
    if ((end.cdSize == 0) != (end.totalEntries == 0)) ThrowError(CZipException::kCodeBadZipFile);
}

void CArchiveReader::ReadCentralDirectory() {
    if (m_endRecord.cdSize == 0) return;
    // The records are read one after the other from the start of the central directory; the
    // rest of the file is all they can take (the directory, the end record, its comment).
    const std::uint64_t start = std::uint64_t{m_endRecord.cdOffset} + m_offsetShift;
    std::vector<std::uint8_t> data(static_cast<std::size_t>(m_file.Size() - start));
    if (m_file.ReadAt(start, data.data(), data.size()) != data.size())
        ThrowError(CZipException::kCodeBadZipFile);

    const std::size_t count = m_endRecord.totalEntries;
    m_entries.reserve(std::min(count, data.size() / kCentralHeaderSize));
    m_rawNameLengths.reserve(m_entries.capacity());
    std::size_t pos = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (data.size() - pos < kCentralHeaderSize) ThrowError(CZipException::kCodeBadZipFile);
        const std::uint8_t* p = data.data() + pos;
        if (!HasSig(p, kCentralSig)) ThrowError(CZipException::kCodeBadZipFile);
        CArchiveEntry e;
        e.versionMadeBy = Get16(p + 4);
        e.versionNeeded = Get16(p + 6);
        e.flag = Get16(p + 8);
        e.method = Get16(p + 10);
        e.modTime = Get16(p + 12);
        e.modDate = Get16(p + 14);
        e.crc32 = Get32(p + 16);
        e.comprSize = Get32(p + 20);
        e.uncomprSize = Get32(p + 24);
        const std::size_t nameLength = Get16(p + 28);
        const std::size_t extraLength = Get16(p + 30);
        const std::size_t commentLength = Get16(p + 32);
        e.diskStart = Get16(p + 34);
        e.internalAttr = Get16(p + 36);
        e.externalAttr = Get32(p + 38);
        e.localHeaderOffset = Get32(p + 42);
        pos += kCentralHeaderSize;
        if (data.size() - pos < nameLength + extraLength + commentLength)
            ThrowError(CZipException::kCodeBadZipFile);
        const auto* text = reinterpret_cast<const char*>(data.data() + pos);
        e.name = ConvertEntryName(std::string_view(text, nameLength),
                                  (e.flag & CArchiveEntry::kFlagUtf8) != 0);
        e.extraField.assign(text + nameLength, extraLength);
        e.comment.assign(text + nameLength + extraLength, commentLength);
        pos += nameLength + extraLength + commentLength;
        m_entries.push_back(std::move(e));
        m_rawNameLengths.push_back(static_cast<std::uint16_t>(nameLength));
    }
}

int CArchiveReader::FindFile(std::string_view name) const {
    const std::string wanted = NormaliseRequestedName(name);
    auto equal = [&](int i) { return CompareEntryNames(m_entries[i].name, wanted) == 0; };
    int lo = 0;
    int hi = GetCount() - 1;
    while (hi - lo > 1) {
        const int mid = (lo + hi) / 2;
        const int c = CompareEntryNames(m_entries[mid].name, wanted);
        if (c == 0) return mid;
        if (c < 0) {
            lo = mid;
        } else {
            hi = mid;
        }
    }
    for (int i = lo; i <= hi; ++i) {
        if (equal(i)) return i;
    }
    // The directory need not be sorted: then only a look at every entry is sure.
    for (int i = 0; i < GetCount(); ++i) {
        if (equal(i)) return i;
    }
    return -1;
}

bool CArchiveReader::OpenFile(int index) {
    if (index < 0 || index >= GetCount() || m_fileOpened || !m_file.IsOpen()) return false;
    const CArchiveEntry& e = m_entries[static_cast<std::size_t>(index)];
    const std::uint64_t fileSize = m_file.Size();
    const std::uint64_t headerPos = std::uint64_t{e.localHeaderOffset} + m_offsetShift;
    std::uint8_t h[kLocalHeaderSize];
    if (m_file.ReadAt(headerPos, h, sizeof h) != sizeof h)
        ThrowError(CZipException::kCodeBadZipFile);
    // Local header signature, general purpose flag, method and name length
    bool same = HasSig(h, kLocalSig) && Get16(h + 6) == e.flag && Get16(h + 8) == e.method
                && Get16(h + 26) == m_rawNameLengths[static_cast<std::size_t>(index)];
    // CRC-32, compressed and uncompressed size, unless they follow the data
    if (same && !e.HasDataDescriptor())
        same = Get32(h + 14) == e.crc32 && Get32(h + 18) == e.comprSize
               && Get32(h + 22) == e.uncomprSize;
    if (!same || (e.method != 0 && e.method != Z_DEFLATED))
        ThrowError(CZipException::kCodeBadZipFile);
    // The data follows the local name and extra field.
    const std::uint64_t dataPos = headerPos + sizeof h + Get16(h + 26) + Get16(h + 28);
    if (dataPos > fileSize || fileSize - dataPos < e.comprSize)
        ThrowError(CZipException::kCodeBadZipFile);

    m_readPos = dataPos;
    m_comprLeft = e.comprSize;
    if (e.IsEncrypted()) {
        if (m_password.empty()) return false;
        if (m_comprLeft < CZipCrypto::kHeaderSize) ThrowError(CZipException::kCodeBadZipFile);
        std::uint8_t header[CZipCrypto::kHeaderSize];
        if (m_file.ReadAt(m_readPos, header, sizeof header) != sizeof header)
            ThrowError(CZipException::kCodeBadZipFile);
        m_crypto.Init(m_password);
        m_crypto.Decrypt(header, sizeof header);
        // Writers that do not know the CRC before the data check against the time instead.
        const auto check
            = static_cast<std::uint8_t>(e.HasDataDescriptor() ? e.modTime >> 8 : e.crc32 >> 24);
        if (header[CZipCrypto::kHeaderSize - 1] != check)
            ThrowError(CZipException::kCodeBadPassword);
        m_readPos += sizeof header;
        m_comprLeft -= static_cast<std::uint32_t>(sizeof header);
    }
    // Sizes the data cannot produce are refused before anyone allocates a block for them.
    if (e.method == 0 ? e.uncomprSize != m_comprLeft
                      : e.uncomprSize > (std::uint64_t{m_comprLeft} + 1) * kMaxDeflateRatio)
        ThrowError(CZipException::kCodeBadZipFile);
    if (e.method == Z_DEFLATED) {
        const int err = m_stream.InitRaw();
        if (err != Z_OK) ThrowError(err);
    }
    if (m_readBuffer.size() != kReadBufferSize) m_readBuffer.resize(kReadBufferSize);
    m_input = nullptr;
    m_inputSize = 0;
    m_encrypted = e.IsEncrypted();
    m_method = e.method;
    m_uncomprLeft = e.uncomprSize;
    m_crc = 0;
    m_currentIndex = index;
    m_fileOpened = true;
    return true;
}

void CArchiveReader::Refill() {
    const auto n = static_cast<std::size_t>(std::min<std::uint32_t>(m_comprLeft, kReadBufferSize));
    const std::uint8_t* input = m_readBuffer.data();
    if (m_ahead) {
        // The same piece, read and decrypted by the worker; a short read fails as here.
        const CDecryptedPiece piece = m_ahead->Next();
        if (piece.error != 0) ThrowError(piece.error);
        if (piece.size != n) ThrowError(CZipException::kCodeBadZipFile);
        input = piece.data;
    } else {
        if (m_file.ReadAt(m_readPos, m_readBuffer.data(), n) != n)
            ThrowError(CZipException::kCodeBadZipFile);
        if (m_encrypted) m_crypto.Decrypt(m_readBuffer.data(), n);
    }
    m_readPos += n;
    m_comprLeft -= static_cast<std::uint32_t>(n);
    m_input = input;
    m_inputSize = n;
}

std::size_t CArchiveReader::ReadFile(void* buffer, std::size_t size) {
    if (!m_fileOpened) return 0;
    size = std::min<std::size_t>(size, m_uncomprLeft);
    auto* out = static_cast<std::uint8_t*>(buffer);
    std::size_t delivered = 0;
    while (delivered < size) {
        if (m_inputSize == 0 && m_comprLeft > 0) Refill();
        if (m_method == 0) {
            const std::size_t n = std::min(size - delivered, m_inputSize);
            if (n == 0) break;
            std::memcpy(out + delivered, m_input, n);
            m_input += n;
            m_inputSize -= n;
            delivered += n;
            continue;
        }
        z_stream& zs = m_stream.Get();
        const auto room = static_cast<uInt>(size - delivered);
        zs.next_in = const_cast<Bytef*>(m_input);
        zs.avail_in = static_cast<uInt>(m_inputSize);
        zs.next_out = out + delivered;
        zs.avail_out = room;
        const int err = inflate(&zs, Z_SYNC_FLUSH);
        m_input = zs.next_in;
        m_inputSize = zs.avail_in;
        delivered += room - zs.avail_out;
        if (err == Z_STREAM_END) break;
        // Input that ends before the stream does shows as Z_BUF_ERROR: no progress possible.
        if (err != Z_OK) ThrowError(err);
    }
    m_crc = static_cast<std::uint32_t>(crc32(m_crc, out, static_cast<uInt>(delivered)));
    m_uncomprLeft -= static_cast<std::uint32_t>(delivered);
    return delivered;
}

int CArchiveReader::CloseFile() {
    if (!m_fileOpened) return 0;
    const bool complete = m_uncomprLeft == 0;
    const bool crcMatches = m_crc == m_entries[static_cast<std::size_t>(m_currentIndex)].crc32;
    ReleaseFile();
    if (!complete) return -1;
    if (!crcMatches) ThrowError(CZipException::kCodeBadCrc);
    return 1;
}

void CArchiveReader::ReleaseFile() noexcept {
    m_ahead = nullptr;
    m_stream.End();
    m_fileOpened = false;
    m_currentIndex = -1;
    m_input = nullptr;
    m_inputSize = 0;
    m_comprLeft = 0;
    m_uncomprLeft = 0;
}

bool CArchiveReader::ExtractToMemory(int index, CMemoryBlock& block, std::size_t chunk) {
    block.clear();
    // OpenFile refuses sizes the data cannot produce as damage first.
    if (!OpenFile(index)) return false;
    if (m_uncomprLeft > kMaxMemberSize) {
        ReleaseFile();
        return false;
    }
    if (chunk == 0) chunk = kDefaultChunk;
    try {
        // Started before the block is allocated and zero-filled, which it overlaps too; its
        // destructor stops and joins the worker however this call ends.
        std::optional<CDecryptAhead> ahead;
        if (m_encrypted && m_comprLeft >= kDecryptAheadSize) {
            try {
                m_ahead = &ahead.emplace(m_file, m_readPos, m_comprLeft, m_crypto);
            } catch (const std::system_error&) {
                // No thread to be had: the member is decrypted here, as a small one is.
            } catch (const std::bad_alloc&) {
                // Likewise without memory for the pieces.
            }
        }
        // The size in the headers is a claim: the block follows what the data delivers.
        const std::size_t size = m_uncomprLeft;
        const std::size_t plausible
            = std::max(kFirstBlockSize, std::size_t{m_comprLeft} * kPlausibleRatio);
        CMemoryBlock fresh;
        auto grow = [&](std::size_t to) {
            try {
                fresh.resize(to);
                return true;
            } catch (const std::bad_alloc&) {
                ReleaseFile();
                return false;
            }
        };
        if (!grow(std::min(size, plausible))) return false;
        std::size_t offset = 0;
        for (;;) {
            if (offset == fresh.size() && offset < size) {
                // Doubling keeps the copies few; a damaged stream ends long before.
                if (!grow(std::min(size, 2 * fresh.size()))) return false;
            }
            const std::size_t wanted = std::min(chunk, fresh.size() - offset);
            const std::size_t n = ReadFile(fresh.data() + offset, wanted);
            offset += n;
            if (n < wanted || wanted == 0) break;
        }
        // A stream that ends before the member's size would leave the rest of the block
        // zero-filled; that is a damaged member, not a success.
        if (CloseFile() < 0) ThrowError(CZipException::kCodeBadZipFile);
        block = std::move(fresh);
        return true;
    } catch (...) {
        // The member is closed so that the reader stays usable for the next one.
        ReleaseFile();
        throw;
    }
}

bool CArchiveReader::ExtractByName(std::string_view name, CMemoryBlock& block, std::size_t chunk) {
    const int index = FindFile(name);
    if (index < 0) {
        block.clear();
        return false;
    }
    return ExtractToMemory(index, block, chunk);
}

CExtractResult CArchiveReader::TryExtractByName(std::string_view name, CMemoryBlock& block,
                                                std::size_t chunk) noexcept {
    try {
        return {ExtractByName(name, block, chunk), 0};
    } catch (const CZipException& e) {
        block.clear();
        return {false, e.Cause()};
    } catch (const std::bad_alloc&) {
        block.clear();
        return {false, CZipException::kMemError};
    }
}

bool ExtractFileToMemory(const std::string& path, std::string_view name, CMemoryBlock& block,
                         std::string_view password) {
    block.clear();
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    CArchiveReader reader;
    reader.Open(path);
    reader.SetPassword(password);
    const bool extracted = reader.ExtractByName(name, block, CArchiveReader::kDefaultChunk);
    reader.Close();
    return extracted;
}

CExtractResult TryExtractFileToMemory(const std::string& path, std::string_view name,
                                      CMemoryBlock& block, std::string_view password) noexcept {
    try {
        return {ExtractFileToMemory(path, name, block, password), 0};
    } catch (const CZipException& e) {
        block.clear();
        return {false, e.Cause()};
    } catch (const std::bad_alloc&) {
        block.clear();
        return {false, CZipException::kMemError};
    }
}
