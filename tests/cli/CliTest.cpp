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
    EXPECT_EQ(run.err, "Not a valid password.\n");
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
