#include <gtest/gtest.h>
#include <sys/stat.h>

#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "mainwnd/IdArrayFile.h"

namespace fs = std::filesystem;

namespace {

// The system's file calls, but the disk runs full after the first four bytes.
class CDiskFullAfterFourBytes : public IFileOps {
public:
    int OpenForWriting(const std::string& path) override {
        return SystemFileOps().OpenForWriting(path);
    }
    ssize_t Write(int fd, const char* data, std::size_t size) override {
        if (m_written == 0 && size > 4) {
            m_written = 4;
            return SystemFileOps().Write(fd, data, 4);
        }
        errno = ENOSPC;
        return -1;
    }
    int Sync(int fd) override { return SystemFileOps().Sync(fd); }
    int Close(int fd) override { return SystemFileOps().Close(fd); }
    int Rename(const std::string& from, const std::string& to) override {
        return SystemFileOps().Rename(from, to);
    }

private:
    std::size_t m_written = 0;
};

class IdArrayFile : public ::testing::Test {
protected:
    void SetUp() override {
        m_dir = fs::temp_directory_path()
                / ("kompendor-idarray-" + std::to_string(::getpid()) + "-"
                   + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(m_dir);
        fs::create_directories(m_dir);
    }
    void TearDown() override { fs::remove_all(m_dir); }

    std::string Path(const char* name) const { return (m_dir / name).string(); }

    static void WriteRaw(const std::string& path, const std::vector<std::uint8_t>& bytes) {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
    }

    fs::path m_dir;
};

std::vector<std::uint32_t> Ids(std::size_t n) {
    std::vector<std::uint32_t> ids(n);
    for (std::size_t i = 0; i < n; ++i) ids[i] = static_cast<std::uint32_t>(i * 7 + 1);
    return ids;
}

}  // namespace

// The count switches to its long form at 0xFFFF, not one later or earlier; the file is
// exactly count bytes plus four per identifier.
TEST_F(IdArrayFile, RoundTripAcrossCountBoundary) {
    struct Case {
        std::size_t count;
        std::size_t headerBytes;
    };
    for (Case c : {Case{0, 2}, Case{3, 2}, Case{0xFFFE, 2}, Case{0xFFFF, 6}, Case{0x10000, 6}}) {
        SCOPED_TRACE(c.count);
        std::vector<std::uint32_t> ids = Ids(c.count);
        if (!ids.empty()) ids.back() = 0xFFFFFFFFu;
        std::string path = Path("list.clt");
        ASSERT_TRUE(WriteIdArrayFile(path, ids));
        EXPECT_EQ(fs::file_size(path), c.headerBytes + 4 * c.count);
        std::vector<std::uint32_t> read{42};
        ASSERT_TRUE(ReadIdArrayFile(path, read));
        EXPECT_EQ(read, ids);
    }
    std::vector<std::uint8_t> bytes;
    ASSERT_TRUE(WriteIdArrayFile(Path("three.clt"), {276, 40, 0x01020304}));
    ASSERT_TRUE(ReadFileBytes(Path("three.clt"), bytes));
    EXPECT_EQ(bytes, (std::vector<std::uint8_t>{3, 0, 20, 1, 0, 0, 40, 0, 0, 0, 4, 3, 2, 1}));
}

// Truncated and damaged files fail and leave the caller's list alone; a count of four
// billion must not be believed (no allocation for it).
TEST_F(IdArrayFile, DamagedFilesFail) {
    const std::vector<std::vector<std::uint8_t>> damaged = {
        {},                                    // empty file
        {3},                                   // half a count
        {3, 0, 1, 0, 0, 0, 2, 0, 0, 0, 3, 0},  // last identifier cut short
        {0xFF, 0xFF, 5, 0},                    // long count cut short
        {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF},  // huge count, no identifiers
        {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x40, 1, 0, 0, 0},
    };
    for (std::size_t i = 0; i < damaged.size(); ++i) {
        SCOPED_TRACE(i);
        WriteRaw(Path("bad.vlt"), damaged[i]);
        std::vector<std::uint32_t> ids{7, 8};
        EXPECT_FALSE(ReadIdArrayFile(Path("bad.vlt"), ids));
        EXPECT_EQ(ids, (std::vector<std::uint32_t>{7, 8}));
    }
    std::vector<std::uint32_t> ids{7};
    EXPECT_FALSE(ReadIdArrayFile(Path("missing.vlt"), ids));
    EXPECT_EQ(ids.size(), 1u);
}

// A write that cannot finish reports failure and leaves the old file and no temporary
// file behind.
TEST_F(IdArrayFile, FailedWriteKeepsOldFile) {
    std::string path = Path("keep.clt");
    ASSERT_TRUE(WriteIdArrayFile(path, {1, 2, 3}));

    // The target is a folder: the rename fails after the data was written.
    fs::create_directory(Path("folder.clt"));
    EXPECT_FALSE(WriteIdArrayFile(Path("folder.clt"), {9}));
    EXPECT_FALSE(WriteIdArrayFile(Path("no/such/folder.clt"), {9}));

    // The disk runs full after a few bytes of the new content.
    CDiskFullAfterFourBytes diskFull;
    bool saved = WriteIdArrayFile(path, {4, 5, 6, 7}, diskFull);
    EXPECT_FALSE(saved);

    std::vector<std::uint32_t> ids;
    ASSERT_TRUE(ReadIdArrayFile(path, ids));
    EXPECT_EQ(ids, (std::vector<std::uint32_t>{1, 2, 3}));
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(m_dir)) {
        ++files;
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << entry.path();
    }
    EXPECT_EQ(files, 2u);
}

// Strings switch form at 255 and 0xFFFE bytes; the workspace version text is the short
// form, and a string cut short is a failure, not a shorter string.
TEST(ArchiveEncoding, StringLengthForms) {
    for (std::size_t length : {0u, 6u, 254u, 255u, 0xFFFDu, 0xFFFEu, 0x10001u}) {
        SCOPED_TRACE(length);
        std::string text(length, 'x');
        if (length > 0) text[0] = '\xC3';
        CArchiveStore store;
        store.WriteString(text);
        std::size_t header = length < 255 ? 1 : (length < 0xFFFE ? 3 : 7);
        EXPECT_EQ(store.Bytes().size(), header + length);
        CArchiveLoad load(store.Bytes());
        std::string read = "old";
        ASSERT_TRUE(load.ReadString(read));
        EXPECT_EQ(read, text);
        EXPECT_EQ(load.Remaining(), 0u);

        std::vector<std::uint8_t> cut(store.Bytes().begin(), store.Bytes().end() - 1);
        CArchiveLoad shortLoad(cut);
        read = "old";
        if (length > 0) {
            EXPECT_FALSE(shortLoad.ReadString(read));
            EXPECT_EQ(read, "old");
            EXPECT_EQ(shortLoad.Remaining(), cut.size());
        }
    }

    // A workspace with 3 countries and 2 data fields is 36 bytes long.
    CArchiveStore store;
    store.WriteString("ZYB100");
    store.WriteUInt8(1);
    store.WriteUInt32(0);
    store.WriteIdArray({1, 2, 3});
    store.WriteIdArray({4, 5});
    EXPECT_EQ(store.Bytes().size(), 36u);
}
