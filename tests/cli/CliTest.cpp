// Runs the built kompendor-cli against temporary installations.
#include <gtest/gtest.h>

#include "fixtures/FixtureAlmanac.h"
#include "platform/TestFiles.h"
#include "support/CliRunner.h"

namespace {

class Cli : public testing::Test {
protected:
    Cli() {
        std::filesystem::create_directories(dir / "inst/Daten");
        CreateFixtureAlmanac(dir / "inst/Daten");
        WriteFile(dir / "inst/NOX.INI",
                  "[Setup]\nApp=Almanach\n[Paths]\nUI=UI\nMDB=Daten/Kompendor.mdb\nIMG=Daten\n"
                  "UserData=" + dir / "user/Kompendor\n"
                  "[ToolTip]\nTextColor=FF0000\nBackColor=\nDelay=500\n");
    }

    CliRun Run(const std::vector<std::string>& words) { return RunKompendorCli(dir, words); }

    CTempDir dir;
};

}  // namespace

TEST_F(Cli, SettingsInTheRecordsOrder) {
    const std::string base = dir / "inst/";
    CliRun run = Run({"--base", dir / "inst", "settings"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "loaded=1\n"
                       "iniFile=" + base + "NOX.INI\n"
                       "baseDir=" + base + "\n"
                       "app=Almanach\n"
                       "userData=" + dir / "user/Kompendor/\n"
                       "presets=\n"
                       "ui=" + base + "UI/\n"
                       "mdb=" + base + "Daten/Kompendor.mdb\n"
                       "img=" + base + "Daten/\n"
                       "sound=\nhtml=\naudio=\nvideo=\n"
                       "cursor=" + base + "UI/Cursor/\n"
                       "imgSmall=\nimgPreview=\nimgZoom=\n"
                       "toolTipFont=MS Sans Serif\n"
                       "toolTipFontSize=10\n"
                       "toolTipDelay=500\n"
                       "toolTipTextColor=0000FF\n"
                       "toolTipBackColor=000000\n");
    EXPECT_TRUE(std::filesystem::is_directory(dir / "user/Kompendor"));

    // Another folder without NOX.INI: every default, nothing fails.
    std::filesystem::create_directories(dir / "empty");
    run = Run({"--base=" + dir / "empty", "settings"});
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("\nmdb=\n"), std::string::npos);
    EXPECT_NE(run.out.find("\ncursor=" + dir / "empty/Cursor/\n"), std::string::npos);
}

TEST_F(Cli, SqlOnTheAlmanac) {
    CliRun run = Run({"--base", dir / "inst", "sql",
                      "SELECT ID, Title FROM Land WHERE PID=0 AND Title LIKE 'D*' ORDER BY "
                      "Title ASC"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ID\tTitle\n208\tDänemark\n276\tDeutschland\n");

    // NULL is empty text, a double has six decimals, the year of a NULL Jahr is empty too.
    run = Run({"--base", dir / "inst", "sql",
               "SELECT Jahr, NUMVAL, STRVAL FROM Data WHERE ValID=202 AND LandID=276"});
    EXPECT_EQ(run.out, "Jahr\tNUMVAL\tSTRVAL\n2002\t1.955830\tEuro\n");

    // No rows: the header alone.
    run = Run({"--base", dir / "inst", "sql", "SELECT * FROM Val WHERE ID=-1"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, 7), "ID\tPID\t");
    EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), 1);

    // A failing statement: the engine's message, exit status 1.
    run = Run({"--base", dir / "inst", "sql", "SELECT * FROM Nirgendwo"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("no such table: Nirgendwo"), std::string::npos) << run.err;

    // The almanac is opened read-only.
    run = Run({"--base", dir / "inst", "sql", "DELETE FROM Land"});
    EXPECT_EQ(run.status, 1);
    run = Run({"--base", dir / "inst", "sql", "SELECT COUNT(*) AS n FROM Land"});
    EXPECT_EQ(run.out, "n\n6\n");

    // An almanac with another password does not open.
    CreateFixtureAlmanac(dir / "inst/Daten", FixtureOptions{"Kompendor.mdb", "anderes"});
    run = Run({"--base", dir / "inst", "sql", "SELECT * FROM Land"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("falsches Kennwort"), std::string::npos) << run.err;

    // Without an almanac setting nothing opens (SQLite would make a temporary database).
    WriteFile(dir / "inst/NOX.INI", "[Paths]\nMDB=\n");
    run = Run({"--base", dir / "inst", "sql", "SELECT 1"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("nicht angegeben"), std::string::npos) << run.err;
}

TEST_F(Cli, FormatNumbers) {
    CliRun run = Run({"format", "1234567.5", "1000", "-0.25", "12.0", "0.0000001", "-1234"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, "1.234.567,5\n1.000\n-0,25\n12\n0\n-1.234\n");

    run = Run({"format", "1,5", "7", ""});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "7\n");
    EXPECT_NE(run.err.find("not a number: 1,5"), std::string::npos);

    EXPECT_EQ(Run({"format"}).status, 2);
    EXPECT_EQ(Run({"sql"}).status, 2);
}

TEST_F(Cli, SqlPrintsRowsAsTheyCome) {
    // A query without end: only printing row by row ever shows its first rows. The reader
    // takes three lines and leaves; the bound turns a hang into a failure.
    const std::string cli = std::string(KOMPENDOR_TEST_BINARY_DIR) + "/bin/kompendor-cli";
    const std::string command
        = "KOMPENDOR_REGISTRY=" + ShellQuoted(dir / "registry.ini") + " timeout 120 "
          + ShellQuoted(cli) + " --base " + ShellQuoted(dir / "inst")
          + " sql 'WITH RECURSIVE c(x) AS (SELECT 1 UNION ALL SELECT x + 1 FROM c) "
            "SELECT x FROM c' | head -n 3 >"
          + ShellQuoted(dir / "out.txt");
    EXPECT_EQ(std::system(command.c_str()), 0);
    EXPECT_EQ(ReadFile(dir / "out.txt"), "x\n1\n2\n");

    // Values read as the recordset reads them: a declared double, a text, an empty field.
    CliRun run = Run({"--base", dir / "inst", "sql",
                      "SELECT ID, CAST(ID AS DOUBLE) AS d, NULL AS n FROM Land WHERE ID=276"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "ID\td\tn\n276\t276.000000\t\n");
    run = Run({"--base", dir / "inst", "sql", "SELECT 1; SELECT 2"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
}
