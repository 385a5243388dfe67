// kompendor-cli workspace against workspace files of every kind.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "mainwnd/Workspace.h"
#include "platform/TestFiles.h"
#include "support/CliRunner.h"

namespace {

CliRun RunWorkspace(const CTempDir& dir, const std::string& file) {
    return RunKompendorCli(dir, {"workspace", file});
}

}  // namespace

TEST(WorkspaceCli, PrintsFileOrTheLoadMessage) {
    CTempDir dir;
    CWorkspaceFile ws;
    ws.tableKind = 1;
    ws.allCountries = 1;
    ws.countryIds = {276, 40, 818};
    ws.dataIds = {101, 201};
    ASSERT_TRUE(WriteWorkspaceFile(dir / "01.zyb", ws));
    CliRun run = RunWorkspace(dir, dir / "01.zyb");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "version=ZYB100\ntableKind=1 (Länderdaten)\nallCountries=1\n"
              "countryIds=276,40,818\ndataIds=101,201\n");

    ws.countryIds.clear();
    ASSERT_TRUE(WriteWorkspaceFile(dir / "02.zyb", ws));
    WriteFile(dir / "03.zyb", std::string("\x06ZYB099\x01", 8));
    WriteFile(dir / "04.zyb", std::string("\x06ZYB100\x01\0\0\0\0\xFE\xFF", 14));
    struct Case {
        const char* file;
        const char* message;
    };
    for (const Case& c :
         {Case{"02.zyb", kMsgWorkspaceInvalid}, Case{"03.zyb", kMsgWorkspaceVersion},
          Case{"04.zyb", kMsgWorkspaceLoadFailed}}) {
        SCOPED_TRACE(c.file);
        run = RunWorkspace(dir, dir / c.file);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.out, "");
        EXPECT_EQ(run.err, std::string(c.message) + "\n");
    }
    run = RunWorkspace(dir, dir / "05.zyb");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("no such file"), std::string::npos);
}

TEST(WorkspaceCli, DeviceOrPipeGivesTheLoadMessage) {
    // Neither is read: a workspace is a small regular file. The run is bounded so that a
    // reader that waits on the pipe fails the test instead of hanging it.
    CTempDir dir;
    const std::string fifo = dir / "06.zyb";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    WriteFile(dir / "07.zyb", std::string(2u << 20, '\x06'));
    for (const std::string& path : {std::string("/dev/zero"), fifo, dir / "07.zyb"}) {
        SCOPED_TRACE(path);
        CliRun run = RunKompendorCli(dir, {"workspace", path}, 60);
        EXPECT_EQ(run.status, 1);
        EXPECT_EQ(run.err, std::string(kMsgWorkspaceLoadFailed) + "\n");
    }
}
