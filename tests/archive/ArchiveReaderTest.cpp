#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "archive/ArchivePassword.h"
#include "archive/ArchiveReader.h"
#include "archive/ArchiveTestSupport.h"

using namespace archive_test;

namespace {

// The cause f raised, 0 when it raised nothing.
int CauseOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const CZipException& e) {
        return e.Cause();
    }
    return 0;
}

Bytes Of(const CMemoryBlock& block) { return Bytes(block.begin(), block.end()); }

Bytes Extract(CArchiveReader& reader, const std::string& name,
              std::size_t chunk = CArchiveReader::kDefaultChunk) {
    CMemoryBlock block;
    EXPECT_TRUE(reader.ExtractByName(name, block, chunk)) << name;
    return Of(block);
}

// Offsets of the headers of one member in an archive's bytes.
struct MemberHeaders {
    std::size_t central;
    std::size_t local;
};

MemberHeaders Headers(const Bytes& archive, const std::string& name) {
    for (std::size_t pos = CentralOffset(archive); pos + 46 <= archive.size();) {
        if (Get32(archive, pos) != 0x02014B50) break;
        const std::size_t nameLength = Get16(archive, pos + 28);
        const std::string stored(archive.begin() + pos + 46,
                                 archive.begin() + pos + 46 + nameLength);
        if (stored == name) return {pos, Get32(archive, pos + 42)};
        pos += 46 + nameLength + Get16(archive, pos + 30) + Get16(archive, pos + 32);
    }
    ADD_FAILURE() << "no member " << name;
    return {0, 0};
}

std::size_t DataOffset(const Bytes& archive, const MemberHeaders& h) {
    return h.local + 30 + Get16(archive, h.local + 26) + Get16(archive, h.local + 28);
}

class ArchiveReaderTest : public ::testing::Test {
protected:
    // Runs Info-ZIP's zip in the test folder.
    bool Zip(const std::string& args) { return RunIn(dir.Path(), "zip -q " + args); }
    void File(const std::string& name, const std::string& text) { WriteText(dir / name, text); }

    CTempDir dir;
};

#define REQUIRE_TOOL(tool) \
    if (!HaveTool(tool)) GTEST_SKIP() << tool " is not installed"

}  // namespace

TEST_F(ArchiveReaderTest, ExtractsWhatInfoZipWrote) {
    REQUIRE_TOOL("zip");
    const std::string stored = SampleText(3000, 1);
    // Many read pieces and chunks, and a block larger than a megabyte.
    const std::string deflated = SampleText(1500000, 2);
    File("stored.txt", stored);
    File("empty.txt", "");
    File("deflated.txt", deflated);
    ASSERT_TRUE(Zip("-0 -P PlumTreeVoyage Graph.nox stored.txt empty.txt"));
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Graph.nox deflated.txt"));

    CArchiveReader reader;
    reader.Open(dir / "Graph.nox");
    ASSERT_EQ(reader.GetCount(), 3);
    EXPECT_EQ(reader.GetEntry(0).method, 0);
    EXPECT_EQ(reader.GetEntry(2).method, 8);
    EXPECT_TRUE(reader.GetEntry(0).IsEncrypted());
    ASSERT_TRUE(reader.SetPassword(kArchivePassword));
    EXPECT_EQ(Extract(reader, "stored.txt"), ToBytes(stored));
    EXPECT_EQ(Extract(reader, "deflated.txt"), ToBytes(deflated));
    CMemoryBlock block{1, 2, 3};
    EXPECT_TRUE(reader.ExtractByName("empty.txt", block));
    EXPECT_TRUE(block.empty());
    reader.Close();
    EXPECT_EQ(reader.GetCount(), 0);

    EXPECT_TRUE(ExtractFileToMemory(dir / "Graph.nox", "deflated.txt", block, kArchivePassword));
    EXPECT_EQ(Of(block), ToBytes(deflated));
}

TEST_F(ArchiveReaderTest, ExtractsSevenZipZipCrypto) {
    REQUIRE_TOOL("7z");
    const std::string text = SampleText(70000, 3);
    File("Karte.txt", text);
    // 7-Zip knows the CRC before it writes, so its check byte is the CRC's high byte.
    for (const char* level : {"-mx=0", "-mx=5"}) {
        SCOPED_TRACE(level);
        std::filesystem::remove(dir / "Geo.nox");
        ASSERT_TRUE(RunIn(dir.Path(), std::string("7z a -tzip -bd -pPlumTreeVoyage -mem=ZipCrypto ")
                                          + level + " Geo.nox Karte.txt"));
        CArchiveReader reader;
        reader.Open(dir / "Geo.nox");
        ASSERT_EQ(reader.GetCount(), 1);
        EXPECT_FALSE(reader.GetEntry(0).HasDataDescriptor());
        EXPECT_EQ(reader.GetEntry(0).method, level[4] == '0' ? 0 : 8);
        reader.SetPassword(kArchivePassword);
        EXPECT_EQ(Extract(reader, "Karte.txt"), ToBytes(text));
    }
}

// Info-ZIP reading from a pipe writes a data descriptor (the check byte is then the time's
// high byte) and a Zip64 end record between the central directory and the end record.
// Bytes put in front of an archive shift all its offsets.
TEST_F(ArchiveReaderTest, DataDescriptorAndBytesInFront) {
    REQUIRE_TOOL("zip");
    const std::string text = SampleText(40000, 4);
    File("input.txt", text);
    ASSERT_TRUE(RunIn(dir.Path(), "cat input.txt | zip -q -P PlumTreeVoyage Pipe.nox -"));
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Plain.nox input.txt"));

    Bytes prefix(5000);
    std::mt19937 random(7);
    for (auto& b : prefix) b = static_cast<std::uint8_t>(random());
    for (const char* archive : {"Pipe.nox", "Plain.nox"}) {
        const Bytes original = ReadBytes(dir / archive);
        Bytes shifted(prefix.size() + original.size());
        std::copy(original.begin(), original.end(),
                  std::copy(prefix.begin(), prefix.end(), shifted.begin()));
        WriteBytes(dir / "Shifted.nox", shifted);
        for (const char* name : {archive, "Shifted.nox"}) {
            SCOPED_TRACE(std::string(archive) + " as " + name);
            CArchiveReader reader;
            reader.Open(dir / name);
            EXPECT_EQ(reader.GetOffsetShift(), name == std::string(archive) ? 0u : prefix.size());
            ASSERT_EQ(reader.GetCount(), 1);
            const CArchiveEntry& entry = reader.GetEntry(0);
            EXPECT_TRUE(entry.HasDataDescriptor());
            reader.SetPassword(kArchivePassword);
            EXPECT_EQ(Extract(reader, entry.name), ToBytes(text));
        }
    }
}

struct CommentCase {
    std::size_t commentBytes;  // bytes behind the end record
    bool opens;
};

class EndRecordSearch : public ::testing::TestWithParam<CommentCase> {};

// The end record is searched in the last 65557 bytes, in windows of 32768 bytes that
// overlap by 3; the lengths around 32747 and 65513 put the signature across a border.
TEST_P(EndRecordSearch, FindsRecordBehindComment) {
    REQUIRE_TOOL("zip");
    CTempDir dir;
    WriteText(dir / "a.txt", "Inhalt");
    ASSERT_TRUE(RunIn(dir.Path(), "zip -q a.zip a.txt"));
    Bytes archive = ReadBytes(dir / "a.zip");
    const std::size_t end = EndRecordOffset(archive);
    ASSERT_EQ(end + 22, archive.size());
    const CommentCase c = GetParam();
    Put16(archive, end + 20,
          static_cast<std::uint16_t>(std::min<std::size_t>(c.commentBytes, 0xFFFF)));
    archive.insert(archive.end(), c.commentBytes, '#');
    WriteBytes(dir / "a.zip", archive);

    CArchiveReader reader;
    const int cause = CauseOf([&] { reader.Open(dir / "a.zip"); });
    if (c.opens) {
        ASSERT_EQ(cause, 0);
        EXPECT_EQ(reader.GetEndRecord().comment.size(), c.commentBytes);
        EXPECT_EQ(Extract(reader, "a.txt"), ToBytes("Inhalt"));
    } else {
        EXPECT_EQ(cause, CZipException::kCdirNotFound);
        EXPECT_FALSE(reader.IsOpen());
    }
}

INSTANTIATE_TEST_SUITE_P(ArchiveReader, EndRecordSearch,
                         ::testing::Values(CommentCase{0, true}, CommentCase{32745, true},
                                           CommentCase{32747, true}, CommentCase{32748, true},
                                           CommentCase{32749, true}, CommentCase{32750, true},
                                           CommentCase{65511, true}, CommentCase{65512, true},
                                           CommentCase{65513, true}, CommentCase{65514, true},
                                           CommentCase{65535, true}, CommentCase{65536, false},
                                           CommentCase{70000, false}));

TEST_F(ArchiveReaderTest, PasswordsAndMethods) {
    REQUIRE_TOOL("zip");
    File("zahlen.txt", SampleText(20000, 5));
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Info.nox zahlen.txt"));
    ASSERT_TRUE(Zip("-Z bzip2 -P PlumTreeVoyage Bzip.nox zahlen.txt"));
    std::vector<std::string> archives = {"Info.nox"};
    if (HaveTool("7z")) {
        ASSERT_TRUE(RunIn(dir.Path(),
                          "7z a -tzip -bd -pPlumTreeVoyage -mem=ZipCrypto Seven.nox "
                          "zahlen.txt"));
        archives.push_back("Seven.nox");
    }
    for (const std::string& archive : archives) {
        SCOPED_TRACE(archive);
        CArchiveReader reader;
        reader.Open(dir / archive);
        CMemoryBlock block;
        // Without a password an encrypted member is simply not there for the caller.
        EXPECT_FALSE(reader.ExtractByName("zahlen.txt", block));
        // The check byte lets one wrong password in 256 through (the encryption header is
        // random); the data then fails to decompress or its CRC does not match.
        int refused = 0;
        for (const char* wrong : {"Pflaumenbaum", "plumtreevoyage", "PlumTreeVoyage "}) {
            SCOPED_TRACE(wrong);
            reader.SetPassword(wrong);
            const int cause = CauseOf([&] { reader.ExtractByName("zahlen.txt", block); });
            EXPECT_FALSE(reader.IsFileOpen());
            EXPECT_EQ(TryExtractFileToMemory(dir / archive, "zahlen.txt", block, wrong).cause,
                      cause);
            if (cause == CZipException::kBadPassword) {
                ++refused;
            } else {
                EXPECT_TRUE(cause == CZipException::kDataError || cause == CZipException::kBufError
                            || cause == CZipException::kBadZipFile
                            || cause == CZipException::kBadCrc)
                    << cause;
            }
        }
        EXPECT_GE(refused, 1);
        const CExtractResult none = TryExtractFileToMemory(dir / archive, "zahlen.txt", block, "");
        EXPECT_FALSE(none);
        EXPECT_EQ(none.cause, 0);
    }

    CArchiveReader reader;
    reader.Open(dir / "Bzip.nox");
    ASSERT_EQ(reader.GetEntry(0).method, 12);
    reader.SetPassword(kArchivePassword);
    CMemoryBlock block;
    const CExtractResult result = reader.TryExtractByName("zahlen.txt", block);
    EXPECT_FALSE(result);
    EXPECT_EQ(result.cause, CZipException::kBadZipFile);
}

// Every damage to the headers is refused with cause 10 or 18, and nothing is allocated for
// sizes the file cannot hold.
TEST_F(ArchiveReaderTest, DamagedHeadersFailCleanly) {
    REQUIRE_TOOL("zip");
    File("s.txt", SampleText(5000, 6));
    File("d.txt", SampleText(50000, 7));
    ASSERT_TRUE(Zip("-0 Base.zip s.txt") && Zip("Base.zip d.txt"));
    const Bytes base = ReadBytes(dir / "Base.zip");
    const MemberHeaders s = Headers(base, "s.txt");
    const MemberHeaders d = Headers(base, "d.txt");
    const std::size_t end = EndRecordOffset(base);

    // Sets a 32-bit field in the central and the local header of a member alike.
    auto both32
        = [](Bytes& b, const MemberHeaders& h, std::size_t centralField, std::uint32_t value) {
              Put32(b, h.central + centralField, value);
              Put32(b, h.local + centralField - 2, value);
          };
    struct Damage {
        const char* what;
        std::function<void(Bytes&)> apply;
        int cause;
    };
    const Damage damages[] = {
        {"cut in the end record", [](Bytes& b) { b.resize(b.size() - 10); }, 10},
        {"cut in half", [](Bytes& b) { b.resize(b.size() / 2); }, 18},
        {"huge uncompressed size", [&](Bytes& b) { both32(b, d, 24, 0xFFFFFFF0u); }, 10},
        {"stream shorter than its size",
         [&](Bytes& b) { both32(b, d, 24, Get32(b, d.central + 24) + 100); }, 10},
        {"compressed size beyond the file", [&](Bytes& b) { both32(b, d, 20, 0x7FFFFFFF); }, 10},
        {"stored sizes differ", [&](Bytes& b) { both32(b, s, 24, 4999); }, 10},
        {"local signature", [&](Bytes& b) { b[d.local + 2] = 9; }, 10},
        {"local method", [&](Bytes& b) { Put16(b, d.local + 8, 0); }, 10},
        {"local CRC", [&](Bytes& b) { Put32(b, d.local + 14, 1); }, 10},
        {"local name length", [&](Bytes& b) { Put16(b, d.local + 26, 4); }, 10},
        {"local header beyond the file", [&](Bytes& b) { Put32(b, d.central + 42, 0x7FFFFF00); },
         10},
        {"central signature", [&](Bytes& b) { b[d.central + 3] = 9; }, 10},
        {"central name length", [&](Bytes& b) { Put16(b, d.central + 28, 0xFFFF); }, 10},
        {"more entries than recorded", [&](Bytes& b) { Put16(b, end + 10, 3); }, 10},
        {"directory size without entries", [&](Bytes& b) { Put16(b, end + 10, 0); }, 10},
        {"directory behind the end record", [&](Bytes& b) { Put32(b, end + 16, 0x10000000); }, 10},
        {"second volume", [&](Bytes& b) { Put16(b, end + 4, 1); }, 10},
        {"comment longer than the file", [&](Bytes& b) { Put16(b, end + 20, 1); }, 10},
        {"other method", [&](Bytes& b) { Put16(b, d.central + 10, 12), Put16(b, d.local + 8, 12); },
         10},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes bytes = base;
        damage.apply(bytes);
        WriteBytes(dir / "Damaged.zip", bytes);
        const int cause = CauseOf([&] {
            CArchiveReader reader;
            reader.Open(dir / "Damaged.zip");
            for (int i = 0; i < reader.GetCount(); ++i) {
                CMemoryBlock block;
                reader.ExtractToMemory(i, block);
            }
        });
        EXPECT_EQ(cause, damage.cause);
    }
}

TEST_F(ArchiveReaderTest, DamagedDataIsReported) {
    REQUIRE_TOOL("zip");
    File("s.txt", SampleText(5000, 8));
    File("d.txt", SampleText(50000, 9));
    ASSERT_TRUE(Zip("-0 Plain.zip s.txt") && Zip("Plain.zip d.txt"));
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Secret.zip d.txt"));
    struct Flip {
        const char* archive;
        const char* member;
        std::size_t at;  // byte of the data to flip
        std::vector<int> causes;
    };
    const Flip flips[] = {
        {"Plain.zip", "s.txt", 2500, {CZipException::kBadCrc}},
        {"Plain.zip", "d.txt", 9000, {CZipException::kDataError, CZipException::kBadCrc}},
        // The garbage that follows depends on the random encryption header: the stream may
        // break, end early or run out of input, or only the CRC may tell.
        {"Secret.zip",
         "d.txt",
         9000,
         {CZipException::kDataError, CZipException::kBufError, CZipException::kBadZipFile,
          CZipException::kBadCrc}},
    };
    for (const Flip& flip : flips) {
        SCOPED_TRACE(std::string(flip.archive) + " " + flip.member);
        Bytes bytes = ReadBytes(dir / flip.archive);
        bytes.at(DataOffset(bytes, Headers(bytes, flip.member)) + flip.at) ^= 0x10;
        WriteBytes(dir / "Flipped.zip", bytes);
        CMemoryBlock block;
        const CExtractResult result
            = TryExtractFileToMemory(dir / "Flipped.zip", flip.member, block, kArchivePassword);
        EXPECT_FALSE(result);
        EXPECT_NE(std::find(flip.causes.begin(), flip.causes.end(), result.cause),
                  flip.causes.end())
            << "cause " << result.cause;
        EXPECT_TRUE(block.empty());
    }
}

// The previews window keeps one reader open: a bad member must not block the ones after it.
TEST_F(ArchiveReaderTest, ReaderStaysUsableAfterAnError) {
    REQUIRE_TOOL("zip");
    File("gut.txt", SampleText(4000, 10));
    File("kaputt.txt", SampleText(4000, 11));
    // Without encryption, so that the damage below breaks the stream the same way each time.
    ASSERT_TRUE(Zip("Previews.nox gut.txt kaputt.txt"));
    Bytes bytes = ReadBytes(dir / "Previews.nox");
    const std::size_t data = DataOffset(bytes, Headers(bytes, "kaputt.txt"));
    std::fill(bytes.begin() + data + 100, bytes.begin() + data + 300, 0xF0);
    WriteBytes(dir / "Previews.nox", bytes);

    CArchiveReader reader;
    reader.Open(dir / "Previews.nox");
    reader.SetPassword(kArchivePassword);
    CMemoryBlock block;
    EXPECT_EQ(reader.TryExtractByName("kaputt.txt", block).cause, CZipException::kDataError);
    EXPECT_FALSE(reader.IsFileOpen());
    EXPECT_TRUE(reader.TryExtractByName("gut.txt", block));
    EXPECT_EQ(Of(block), ToBytes(SampleText(4000, 10)));

    ASSERT_TRUE(reader.OpenFile(reader.FindFile("gut.txt")));
    EXPECT_FALSE(reader.SetPassword("anders"));
    EXPECT_FALSE(reader.OpenFile(0));
    EXPECT_FALSE(reader.ExtractByName("gut.txt", block));
    char head[10];
    EXPECT_EQ(reader.ReadFile(head, sizeof head), sizeof head);
    EXPECT_EQ(reader.CloseFile(), -1);  // not read to the end: no CRC check
    EXPECT_TRUE(reader.SetPassword("anders"));
}

TEST_F(ArchiveReaderTest, ChunkSizesGiveTheSameBlock) {
    REQUIRE_TOOL("zip");
    const std::string text = SampleText(2 * 65535, 12);  // a multiple of the usual chunk
    File("t.txt", text);
    ASSERT_TRUE(Zip("-0 -P PlumTreeVoyage Stored.nox t.txt"));
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Deflated.nox t.txt"));
    for (const char* archive : {"Stored.nox", "Deflated.nox"}) {
        CArchiveReader reader;
        reader.Open(dir / archive);
        reader.SetPassword(kArchivePassword);
        for (std::size_t chunk : {std::size_t{1}, std::size_t{4093}, std::size_t{16384},
                                  std::size_t{65535}, std::size_t{131070}, std::size_t{1} << 20}) {
            SCOPED_TRACE(std::string(archive) + " chunk " + std::to_string(chunk));
            EXPECT_EQ(Extract(reader, "t.txt", chunk), ToBytes(text));
        }
    }
}

namespace {

// What extracting a member came to: the cause raised (0 for none) and the bytes.
struct Outcome {
    int cause = 0;
    Bytes bytes;
};

// ExtractToMemory; it decrypts large members ahead on a worker thread.
Outcome Extracted(CArchiveReader& reader, int index) {
    Outcome o;
    CMemoryBlock block;
    o.cause = CauseOf([&] { EXPECT_TRUE(reader.ExtractToMemory(index, block)); });
    o.bytes = Of(block);
    return o;
}

// The same steps through the streaming calls, which always decrypt as they read: the
// reference the worker's result must equal.
Outcome Streamed(CArchiveReader& reader, int index) {
    Outcome o;
    const std::size_t chunk = CArchiveReader::kDefaultChunk;
    o.cause = CauseOf([&] {
        if (!reader.OpenFile(index)) return;
        Bytes out(reader.GetEntry(index).uncomprSize);
        std::size_t offset = 0;
        for (;;) {
            const std::size_t n
                = reader.ReadFile(out.data() + offset, std::min(chunk, out.size() - offset));
            offset += n;
            if (n < chunk) break;
        }
        if (reader.CloseFile() < 0) throw CZipException(CZipException::kBadZipFile, "");
        o.bytes = std::move(out);
    });
    // A failed read leaves the member open.
    CauseOf([&] { reader.CloseFile(); });
    return o;
}

}  // namespace

// Members of a megabyte and more are decrypted on a second core while they are inflated;
// intact, damaged, cut short or under a wrong password they must come out exactly as when
// they are decrypted piece by piece on the way.
TEST_F(ArchiveReaderTest, LargeMembersDecryptedAhead) {
    REQUIRE_TOOL("zip");
    const std::string deflated = SampleText(8u << 20, 31);
    const std::string stored = SampleText(1500000, 32);
    File("gross.csv", deflated);
    File("roh.csv", stored);
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Large.nox gross.csv"));
    ASSERT_TRUE(Zip("-0 -P PlumTreeVoyage Large.nox roh.csv"));
    const Bytes base = ReadBytes(dir / "Large.nox");
    const MemberHeaders g = Headers(base, "gross.csv");
    const MemberHeaders r = Headers(base, "roh.csv");
    const std::uint32_t size = Get32(base, g.central + 20);
    ASSERT_GE(size - 100000, CArchiveReader::kDecryptAheadSize);
    ASSERT_GE(Get32(base, r.central + 20), CArchiveReader::kDecryptAheadSize);

    {
        CArchiveReader reader;
        reader.Open(dir / "Large.nox");
        reader.SetPassword(kArchivePassword);
        for (std::size_t chunk : {std::size_t{4093}, std::size_t{65535}, std::size_t{1} << 20}) {
            SCOPED_TRACE("chunk " + std::to_string(chunk));
            EXPECT_EQ(Extract(reader, "gross.csv", chunk), ToBytes(deflated));
            EXPECT_EQ(Extract(reader, "roh.csv", chunk), ToBytes(stored));
        }
        // The streaming calls read large members as ever.
        EXPECT_EQ(Streamed(reader, reader.FindFile("gross.csv")).bytes, ToBytes(deflated));
    }
    CMemoryBlock block;
    EXPECT_TRUE(ExtractFileToMemory(dir / "Large.nox", "gross.csv", block, kArchivePassword));
    EXPECT_EQ(Of(block), ToBytes(deflated));

    const std::size_t data = DataOffset(base, g);
    const std::vector<int> broken = {CZipException::kDataError, CZipException::kBufError,
                                     CZipException::kBadZipFile, CZipException::kBadCrc};
    struct Damage {
        const char* what;
        const char* member;
        std::function<void(Bytes&)> apply;  // to the archive's bytes
        bool cutAfterOpen;                  // the file loses its second half once opened
        std::vector<int> causes;
    };
    const Damage damages[] = {
        {"byte flipped late in the data", "gross.csv",
         [&](Bytes& b) { b.at(data + size - 5000) ^= 0x10; }, false, broken},
        {"stored byte flipped late",
         "roh.csv",
         [&](Bytes& b) { b.at(DataOffset(b, r) + 1400000) ^= 0x10; },
         false,
         {CZipException::kBadCrc}},
        // The stream then runs out of input before its end.
        {"compressed size cut short",
         "gross.csv",
         [&](Bytes& b) {
             Put32(b, g.central + 20, size - 100000);
             Put32(b, g.local + 18, size - 100000);
         },
         false,
         {CZipException::kBufError}},
        {"stream shorter than its size",
         "gross.csv",
         [&](Bytes& b) { Put32(b, g.central + 24, Get32(b, g.central + 24) + 100); },
         false,
         {CZipException::kBadZipFile}},
        // A read that comes up short halfway through the member.
        {"file cut after opening", "gross.csv", [](Bytes&) {}, true, {CZipException::kBadZipFile}},
    };
    for (const Damage& damage : damages) {
        SCOPED_TRACE(damage.what);
        Bytes bytes = base;
        damage.apply(bytes);
        WriteBytes(dir / "Damaged.nox", bytes);
        CArchiveReader ahead;
        CArchiveReader serial;
        for (CArchiveReader* reader : {&ahead, &serial}) {
            reader->Open(dir / "Damaged.nox");
            reader->SetPassword(kArchivePassword);
        }
        if (damage.cutAfterOpen) std::filesystem::resize_file(dir / "Damaged.nox", data + size / 2);
        const int index = ahead.FindFile(damage.member);
        const Outcome extracted = Extracted(ahead, index);
        const Outcome streamed = Streamed(serial, index);
        EXPECT_EQ(extracted.cause, streamed.cause);
        EXPECT_NE(std::find(damage.causes.begin(), damage.causes.end(), extracted.cause),
                  damage.causes.end())
            << "cause " << extracted.cause;
        EXPECT_TRUE(extracted.bytes.empty());
        EXPECT_FALSE(ahead.IsFileOpen());
    }

    // One wrong password in 256 passes the check byte, so that the worker is started and the
    // inflate fails soon after on garbage: the worker must stop and the reader go on.
    CArchiveReader ahead;
    CArchiveReader serial;
    ahead.Open(dir / "Large.nox");
    serial.Open(dir / "Large.nox");
    const int index = ahead.FindFile("gross.csv");
    std::string refused;
    std::string passing;
    for (int i = 0; i < 5000 && (passing.empty() || refused.empty()); ++i) {
        const std::string wrong = "Pflaume" + std::to_string(i);
        ahead.SetPassword(wrong);
        const int cause = CauseOf([&] { ahead.OpenFile(index); });
        if (ahead.CloseFile() != 0) {
            passing = wrong;
        } else if (cause == CZipException::kBadPassword) {
            refused = wrong;
        }
    }
    ASSERT_FALSE(passing.empty());
    ASSERT_FALSE(refused.empty());
    // The loop may have ended on the refused one.
    ahead.SetPassword(passing);
    serial.SetPassword(passing);
    const Outcome extracted = Extracted(ahead, index);
    EXPECT_EQ(extracted.cause, Streamed(serial, index).cause);
    EXPECT_NE(std::find(broken.begin(), broken.end(), extracted.cause), broken.end())
        << "cause " << extracted.cause;
    EXPECT_EQ(TryExtractFileToMemory(dir / "Large.nox", "gross.csv", block, refused).cause,
              CZipException::kBadPassword);
    ahead.SetPassword(kArchivePassword);
    EXPECT_EQ(Extracted(ahead, index).bytes, ToBytes(deflated));
}

TEST_F(ArchiveReaderTest, FindFileIgnoresCaseAndSeparator) {
    REQUIRE_TOOL("zip");
    std::filesystem::create_directories(dir.Path() / "Flaggen");
    std::vector<std::string> names
        = {"Flaggen/Flagge.gif", "Österreich.gif", "Xsterreich.txt", "_unten.txt", "zeta.txt"};
    for (int i = 0; i < 40; ++i) names.push_back("bild" + std::to_string(100 + i) + ".JPG");
    for (const std::string& name : names) File(name, "Inhalt von " + name);
    std::vector<std::string> sorted = names;
    std::sort(sorted.begin(), sorted.end(), [](const std::string& a, const std::string& b) {
        std::string x = a, y = b;
        for (char& c : x) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        for (char& c : y) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return x < y;
    });
    std::vector<std::string> shuffled = names;
    std::shuffle(shuffled.begin(), shuffled.end(), std::mt19937(3));
    auto list = [](const std::vector<std::string>& v) {
        std::string s;
        for (const std::string& n : v) {
            s += ' ';
            s += Quote(n);
        }
        return s;
    };
    ASSERT_TRUE(Zip("Sorted.zip" + list(sorted)));
    ASSERT_TRUE(Zip("Shuffled.zip" + list(shuffled)));

    // A DOS zipper's name in code page 437: 0x99 is "Ö".
    Bytes bytes = ReadBytes(dir / "Shuffled.zip");
    bytes.at(Headers(bytes, "Xsterreich.txt").central + 46) = 0x99;
    WriteBytes(dir / "Shuffled.zip", bytes);

    for (const char* archive : {"Sorted.zip", "Shuffled.zip"}) {
        SCOPED_TRACE(archive);
        CArchiveReader reader;
        reader.Open(dir / archive);
        ASSERT_EQ(reader.GetCount(), static_cast<int>(names.size()));
        for (int i = 0; i < reader.GetCount(); ++i) {
            std::string upper = reader.GetEntry(i).name;
            for (char& c : upper)
                c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            EXPECT_EQ(reader.FindFile(upper), i) << upper;
        }
        EXPECT_EQ(reader.GetEntry(reader.FindFile("flaggen\\FLAGGE.GIF")).name,
                  "Flaggen/Flagge.gif");
        EXPECT_EQ(reader.GetEntry(reader.FindFile("ÖSTERREICH.gif")).name, "Österreich.gif");
        EXPECT_EQ(reader.FindFile("Flagge.gif"), -1);
        EXPECT_EQ(reader.FindFile("bild1000.jpg"), -1);
        EXPECT_EQ(reader.FindFile(""), -1);
    }

    CArchiveReader reader;
    reader.Open(dir / "Shuffled.zip");
    EXPECT_EQ(Extract(reader, "östERreich.TXT"), ToBytes("Inhalt von Xsterreich.txt"));
}

TEST_F(ArchiveReaderTest, MissingArchiveOrMember) {
    CMemoryBlock block;
    EXPECT_FALSE(ExtractFileToMemory(dir / "Flags.nox", "de.gif", block, kArchivePassword));
    const CExtractResult missing
        = TryExtractFileToMemory(dir / "Flags.nox", "de.gif", block, kArchivePassword);
    EXPECT_FALSE(missing);
    EXPECT_EQ(missing.cause, 0);

    CArchiveReader reader;
    EXPECT_EQ(CauseOf([&] { reader.Open(dir / "Flags.nox"); }), CZipException::kErrNo);
    EXPECT_EQ(CauseOf([&] { reader.Open(dir.Path().string()); }), CZipException::kErrNo);
    WriteText(dir / "Leer.nox", "");
    EXPECT_EQ(CauseOf([&] { reader.Open(dir / "Leer.nox"); }), CZipException::kCdirNotFound);
    EXPECT_FALSE(reader.IsOpen());

    REQUIRE_TOOL("zip");
    File("de.gif", "GIF89a");
    ASSERT_TRUE(Zip("-P PlumTreeVoyage Flags.nox de.gif"));
    EXPECT_FALSE(TryExtractFileToMemory(dir / "Flags.nox", "fr.gif", block, kArchivePassword));
    EXPECT_TRUE(TryExtractFileToMemory(dir / "Flags.nox", "DE.GIF", block, kArchivePassword));
    EXPECT_EQ(Of(block), ToBytes("GIF89a"));
}

namespace {

// How an extraction in a child process under an address-space limit of limitBytes ended:
// 1 extracted, 2 refused, 3 out of memory, 100 + cause for a CZipException; -1 when the child
// did not end normally.
int ExtractUnderLimit(const std::string& archive, const std::string& name,
                      std::size_t limitBytes) {
    const pid_t child = ::fork();
    if (child < 0) return -1;
    if (child == 0) {
        // Room for what the process has mapped already, and limitBytes more.
        std::size_t mapped = 0;
        std::ifstream status("/proc/self/status");
        for (std::string line; std::getline(status, line);) {
            if (line.rfind("VmSize:", 0) == 0) mapped = std::stoul(line.substr(7)) * 1024;
        }
        const rlimit limit{mapped + limitBytes, mapped + limitBytes};
        if (mapped == 0 || ::setrlimit(RLIMIT_AS, &limit) != 0) ::_exit(4);
        int code;
        try {
            CArchiveReader reader;
            reader.Open(archive);
            CMemoryBlock block;
            code = reader.ExtractByName(name, block) ? 1 : 2;
        } catch (const CZipException& e) {
            code = 100 + e.Cause();
        } catch (const std::bad_alloc&) {
            code = 3;
        }
        ::_exit(code);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status)) return -1;
    return WEXITSTATUS(status);
}

}  // namespace

// A damaged 4 MB archive once claimed 4 GB for a member and got it before its data ran out.
TEST_F(ArchiveReaderTest, MemoryFollowsWhatTheDataInflatesTo) {
    REQUIRE_TOOL("zip");
#if defined(__SANITIZE_ADDRESS__)
    GTEST_SKIP() << "AddressSanitizer reserves more address space than any limit allows";
#endif
    // Random bytes do not compress: the member's data is as long as the claim is not.
    std::mt19937 random(42);
    std::string noise(4300000, '\0');
    for (char& c : noise) c = static_cast<char>(random());
    File("noise.bin", noise);
    ASSERT_TRUE(Zip("Noise.zip noise.bin"));
    const Bytes base = ReadBytes(dir / "Noise.zip");
    const MemberHeaders h = Headers(base, "noise.bin");
    struct Claim {
        std::uint32_t size;
        int outcome;
    };
    // A claim beyond the largest member is refused at once; one below it inflates what the
    // data holds and then fails as damaged, within 64 MB more than the data.
    for (const Claim claim : {Claim{0xF0000000u, 2}, Claim{200u << 20, 100 + 10},
                              Claim{static_cast<std::uint32_t>(noise.size()), 1}}) {
        SCOPED_TRACE(claim.size);
        Bytes bytes = base;
        Put32(bytes, h.central + 24, claim.size);
        Put32(bytes, h.local + 22, claim.size);
        WriteBytes(dir / "Claim.zip", bytes);
        EXPECT_EQ(ExtractUnderLimit(dir / "Claim.zip", "noise.bin", noise.size() + (64u << 20)),
                  claim.outcome);
    }
}
