#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "archive/ArchiveReader.h"
#include "archive/ArchiveTestSupport.h"

using namespace archive_test;

namespace {

struct CliRun {
    int status;
    std::string out;
    std::string err;
};

class ArchiveCli : public ::testing::Test {
protected:
    CliRun Cli(const std::string& args) {
        const std::string command = Quote(KOMPENDOR_TEST_BINARY_DIR "/bin/kompendor-cli") + " "
                                    + args + " >" + Quote(dir / "out") + " 2>" + Quote(dir / "err");
        const int raw
            = std::system(("cd " + Quote(dir.Path().string()) + " && " + command).c_str());
        const Bytes out = ReadBytes(dir / "out");
        const Bytes err = ReadBytes(dir / "err");
        return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, std::string(out.begin(), out.end()),
                std::string(err.begin(), err.end())};
    }

    CTempDir dir;
};

}  // namespace

TEST_F(ArchiveCli, ListAndExtract) {
    if (!HaveTool("zip")) GTEST_SKIP() << "zip is not installed";
    const std::string text = SampleText(30000, 21);
    WriteText(dir / "Flagge.gif", "GIF89a");
    WriteText(dir / "karte.txt", text);
    ASSERT_TRUE(RunIn(dir.Path(), "zip -q -0 -P PlumTreeVoyage Flags.nox Flagge.gif"));
    ASSERT_TRUE(RunIn(dir.Path(), "zip -q -P PlumTreeVoyage Flags.nox karte.txt"));
    ASSERT_TRUE(RunIn(dir.Path(), "zip -q -P anders Other.nox karte.txt"));
    const Bytes archive = ReadBytes(dir / "Flags.nox");
    CArchiveReader reader;
    reader.Open(dir / "Flags.nox");
    const std::uint32_t compressed = reader.GetEntry(1).comprSize;

    CliRun run = Cli("list Flags.nox");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "Flagge.gif\t18\t6\t0\t9\nkarte.txt\t" + std::to_string(compressed)
                           + "\t30000\t8\t9\n");

    run = Cli("extract Flags.nox KARTE.TXT");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, text);
    run = Cli("extract Flags.nox flagge.gif -o copy.gif");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(ReadBytes(dir / "copy.gif"), ToBytes("GIF89a"));
    run = Cli("extract Other.nox karte.txt --password anders");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, text);

    run = Cli("extract Flags.nox fehlt.gif");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("member not found: fehlt.gif"), std::string::npos) << run.err;
    run = Cli("list Fehlt.nox");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("archive not found: Fehlt.nox"), std::string::npos) << run.err;

    Bytes cut = archive;
    cut.resize(cut.size() - 5);
    WriteBytes(dir / "Cut.nox", cut);
    run = Cli("list Cut.nox");
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "cause 10: damaged archive\n");

    // Other.nox with the system's password: one wrong password in 256 passes the check
    // byte, so the refusal is looked for among several.
    int refused = 0;
    for (const char* wrong : {"", "--password PlumTreeVoyage2", "--password plumtreevoyage"}) {
        run = Cli(std::string("extract Other.nox karte.txt ") + wrong);
        EXPECT_EQ(run.status, 1);
        EXPECT_TRUE(run.out.empty());
        if (run.err == "cause 17: wrong password\n") ++refused;
    }
    EXPECT_GE(refused, 1);
}
