// Writing through links and devices, never making folders, and reading within a limit.
#include <gtest/gtest.h>
#include <grp.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "platform/AtomicFile.h"
#include "platform/TestFiles.h"

namespace fs = std::filesystem;

namespace {

bool IsCharDevice(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISCHR(st.st_mode);
}

// Nothing of the form NAME.tmpPID is left in folder.
bool NoTemporaryLeft(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().filename().string().find(".tmp") != std::string::npos) return false;
    }
    return true;
}

// The cases that must hold for root and for an ordinary user alike; false names the first
// that failed in what.
bool WritesThroughLinksAndDevices(const std::string& dir, std::string& what) {
    auto fail = [&](const char* text) {
        what = text;
        return false;
    };
    // A device is written in place: /dev/null stays the device, /dev/full reports the full disk.
    if (!WriteFileAtomically("/dev/null", "gone")) return fail("/dev/null refused");
    if (!IsCharDevice("/dev/null")) return fail("/dev/null replaced");
    if (WriteFileAtomically("/dev/full", "never")) return fail("/dev/full reported success");
    if (!IsCharDevice("/dev/full")) return fail("/dev/full replaced");

    // A relative link in a chain of two keeps pointing at the file, which is new.
    WriteFile(dir + "real.ini", "old");
    fs::create_symlink("real.ini", dir + "middle.ini");
    fs::create_symlink(dir + "middle.ini", dir + "registry.ini");
    if (!WriteFileAtomically(dir + "registry.ini", "new")) return fail("link refused");
    if (!fs::is_symlink(dir + "registry.ini") || !fs::is_symlink(dir + "middle.ini"))
        return fail("link replaced");
    if (ReadFile(dir + "real.ini") != "new") return fail("link target not written");
    // A link to a file not yet there makes the file.
    fs::create_symlink("later.ini", dir + "dangling.ini");
    if (!WriteFileAtomically(dir + "dangling.ini", "made")) return fail("dangling link refused");
    if (!fs::is_symlink(dir + "dangling.ini") || ReadFile(dir + "later.ini") != "made")
        return fail("dangling link not followed");

    // A folder that is not there stays not there.
    if (WriteFileAtomically(dir + "missing/deeper/t.htm", "x")) return fail("missing folder");
    if (fs::exists(dir + "missing")) return fail("folder created");
    if (WriteFileAtomically(dir, "x")) return fail("folder written");
    if (!NoTemporaryLeft(dir)) return fail("temporary file left");
    return true;
}

}  // namespace

TEST(AtomicFile, DeviceTargetIsWrittenThroughAndLinksKeepPointingAtTheNewFile) {
    CTempDir dir;
    std::string what;
    EXPECT_TRUE(WritesThroughLinksAndDevices(dir.Path(), what)) << what;
}

TEST(AtomicFile, SameForAnOrdinaryUser) {
    if (::geteuid() != 0) GTEST_SKIP() << "runs as an ordinary user already";
    CTempDir dir;
    constexpr uid_t kNobody = 65534;
    ASSERT_EQ(::chown(dir.Path().c_str(), kNobody, kNobody), 0);
    int pipeFd[2];
    ASSERT_EQ(::pipe(pipeFd), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ::close(pipeFd[0]);
        std::string what = "cannot become nobody";
        bool ok = ::setgroups(0, nullptr) == 0 && ::setgid(kNobody) == 0
                  && ::setuid(kNobody) == 0 && WritesThroughLinksAndDevices(dir.Path(), what);
        if (!ok && ::write(pipeFd[1], what.data(), what.size()) < 0) ok = false;
        ::_exit(ok ? 0 : 1);
    }
    ::close(pipeFd[1]);
    char text[256] = {};
    const ssize_t n = ::read(pipeFd[0], text, sizeof text - 1);
    ::close(pipeFd[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << (n > 0 ? text : "");
}

TEST(AtomicFile, PipeTargetIsWrittenThrough) {
    CTempDir dir;
    const std::string fifo = dir / "export.htm";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::string received;
    std::thread reader([&] { received = ReadFile(fifo); });
    const bool written = WriteFileAtomically(fifo, "<HTML></HTML>");
    reader.join();
    EXPECT_TRUE(written);
    EXPECT_EQ(received, "<HTML></HTML>");
    struct stat st {};
    ASSERT_EQ(::stat(fifo.c_str(), &st), 0);
    EXPECT_TRUE(S_ISFIFO(st.st_mode));
}

TEST(AtomicFile, ReadsOnlyRegularFilesWithinTheLimit) {
    CTempDir dir;
    WriteFile(dir / "full.zyb", std::string(100, 'x'));
    FileReadStatus status = FileReadStatus::Ok;
    EXPECT_EQ(ReadWholeFile(dir / "full.zyb", 100, &status), std::string(100, 'x'));
    EXPECT_EQ(status, FileReadStatus::Ok);
    EXPECT_FALSE(ReadWholeFile(dir / "full.zyb", 99, &status));
    EXPECT_EQ(status, FileReadStatus::TooLarge);
    WriteFile(dir / "empty.zyb", "");
    EXPECT_EQ(ReadWholeFile(dir / "empty.zyb", 10), std::string());

    // Files that say they are empty but are not (the kernel's tables) are read to their end,
    // and refused past the limit all the same.
    const std::optional<std::string> mounts = ReadWholeFile("/proc/self/mounts", 1 << 20);
    ASSERT_TRUE(mounts);
    EXPECT_FALSE(mounts->empty());
    EXPECT_FALSE(ReadWholeFile("/proc/self/mounts", 4, &status));
    EXPECT_EQ(status, FileReadStatus::TooLarge);

    // Neither a device without end nor a pipe without writer is waited for.
    const std::string fifo = dir / "fifo.zyb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    for (const std::string& path : {std::string("/dev/zero"), fifo, dir.Path()}) {
        SCOPED_TRACE(path);
        EXPECT_FALSE(ReadWholeFile(path, kUserFileLimit, &status));
        EXPECT_EQ(status, FileReadStatus::NotAFile);
    }
    EXPECT_FALSE(ReadWholeFile(dir / "none.zyb", kUserFileLimit, &status));
    EXPECT_EQ(status, FileReadStatus::Missing);
}
