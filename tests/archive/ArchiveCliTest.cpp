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

TEST_F(ArchiveCli, EmptyMemberExtractsToNothing) {
    if (!HaveTool("zip")) GTEST_SKIP() << "zip is not installed";
    WriteText(dir / "leer.txt", "");
    ASSERT_TRUE(RunIn(dir.Path(), "zip -q -P PlumTreeVoyage Leer.nox leer.txt"));
    CliRun run = Cli("extract Leer.nox leer.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
    run = Cli("extract Leer.nox leer.txt -o copy.txt");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_TRUE(std::filesystem::exists(dir / "copy.txt"));
    EXPECT_EQ(std::filesystem::file_size(dir / "copy.txt"), 0u);
}

TEST_F(ArchiveCli, ListedNamesCannotFakeLinesOrSendEscapes) {
    if (!HaveTool("zip")) GTEST_SKIP() << "zip is not installed";
    // Made with placeholders, which are then replaced in both headers: a line feed, an
    // escape sequence and a C1 control (UTF-8, flagged as such).
    WriteText(dir / "aQbQ.txt", "1");
    WriteText(dir / "cZZd.txt", "2");
    ASSERT_TRUE(RunIn(dir.Path(), "zip -q -0 Names.nox aQbQ.txt cZZd.txt"));
    Bytes archive = ReadBytes(dir / "Names.nox");
    auto replace = [&](const std::string& from, const std::string& to) {
        for (std::size_t at = 0; at + from.size() <= archive.size(); ++at) {
            if (std::equal(from.begin(), from.end(), archive.begin() + at))
                std::copy(to.begin(), to.end(), archive.begin() + at);
        }
    };
    replace("aQbQ.txt", "a\nb\x1b.txt");
    replace("cZZd.txt", "c\xC2\x9B" "d.txt");
    // The UTF-8 flag of the second entry, in its local and central header.
    const std::size_t central = CentralOffset(archive);
    for (std::size_t at = 0; at + 4 <= archive.size(); ++at) {
        if (archive[at] != 'P' || archive[at + 1] != 'K') continue;
        const bool local = archive[at + 2] == 3 && archive[at + 3] == 4;
        const bool cdir = archive[at + 2] == 1 && archive[at + 3] == 2;
        if (!local && !cdir) continue;
        const std::size_t nameAt = at + (local ? 30 : 46);
        if (nameAt < archive.size() && archive[nameAt] == 'c') {
            const std::size_t flagAt = at + (local ? 6 : 8);
            Put16(archive, flagAt, static_cast<std::uint16_t>(Get16(archive, flagAt) | 0x800));
        }
    }
    ASSERT_NE(central, std::string::npos);
    WriteBytes(dir / "Names.nox", archive);

    CliRun run = Cli("list Names.nox --password ''");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "a\\nb\\x1B.txt\t1\t1\t0\t0\nc\\xC2\\x9Bd.txt\t1\t1\t0\t2048\n");
}
