// kompendor-cli table, run as a program against a fixture installation.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/TestFiles.h"
#include "support/CliRunner.h"
#include "table/TableAlmanac.h"
#include "table/TableData.h"
#include "table/TableFill.h"
#include "table/TableHTML.h"

using namespace fixture;

namespace {

class TableCli : public testing::Test {
protected:
    TableCli() {
        std::filesystem::create_directories(dir / "inst/Daten");
        almanac = CreateTableAlmanac(dir / "inst/Daten/");
        WriteFile(dir / "inst/NOX.INI", "[Paths]\nMDB=Daten/Kompendor.mdb\nIMG=Daten\n");
        OpenTableAlmanac(db, almanac);
    }

    CliRun Table(std::vector<std::string> words) {
        words.insert(words.begin(), {"--base", dir / "inst", "table"});
        return RunKompendorCli(dir, words);
    }

    CTempDir dir;
    std::string almanac;
    CDatabase db;
};

}  // namespace

TEST_F(TableCli, FillsAsTheWindowDoes) {
    // "all": every country in ID order; every field with data, in ID order.
    CliRun run = Table({"--view", "2", "--countries", "all", "--fields", "all"});
    ASSERT_EQ(run.status, 0) << run.err;
    CTableData expected;
    FillDaten(db, expected,
              {kDaenemark, kFaeroeer, kOesterreich, kDeutschland, kSchweiz, kAegypten},
              {kEinwohner, kDichte, kBip, kWaehrung, kInflation, kStaatsform, kHandel}, nullptr);
    EXPECT_EQ(run.out, "<HTML><BODY>" + BuildHTML(expected) + "</BODY></HTML>");

    // Given lists keep their order; fields without data are left out.
    run = Table({"--view=1", "--countries=818,276", "--fields", "200,202,101"});
    ASSERT_EQ(run.status, 0) << run.err;
    FillStaaten(db, expected, {kAegypten, kDeutschland}, {kWaehrung, kEinwohner}, nullptr);
    EXPECT_EQ(run.out, "<HTML><BODY>" + BuildHTML(expected) + "</BODY></HTML>");
}

TEST_F(TableCli, YearChangesSortAndFile) {
    std::filesystem::create_directories(dir / "export");
    const std::string file = dir / "export/ZYB.htm";
    CliRun run = Table({"--view", "2", "--countries", "276,40,818", "--fields", "101,205", "--year",
                        "1=1999", "--year", "2=2000", "--sort", "2:desc", "--html", file});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    CTableData expected;
    FillDaten(db, expected, {kDeutschland, kOesterreich, kAegypten}, {kEinwohner, kHandel},
              nullptr);
    FillColYear(db, expected, 1, 1999, nullptr);
    FillColYear(db, expected, 2, 2000, nullptr);
    expected.SortByColumn(2, false);
    const std::string document = ReadFile(file);
    EXPECT_EQ(document, HTMLDocument(expected));
    // Österreich's 20 in 2000 comes first, Ägypten's -12 last; Einwohner shows 1998.
    const std::size_t oesterreich = document.find("<B>Österreich</B>");
    const std::size_t aegypten = document.find("<B>Ägypten</B>");
    EXPECT_LT(oesterreich, document.find("<B>Deutschland</B>"));
    EXPECT_LT(document.find("<B>Deutschland</B>"), aegypten);
    EXPECT_NE(document.find("8.078.000 <FONT SIZE=-2>(1998)</FONT>"), std::string::npos);

    // "-" is standard output, with the same document; no file named "-" appears.
    run = Table({"--view", "2", "--countries", "276,40,818", "--fields", "101,205", "--year",
                 "1=1999", "--year", "2=2000", "--sort", "2:desc", "--html", "-"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, document);
    EXPECT_FALSE(std::filesystem::exists(dir / "-"));
}

TEST_F(TableCli, MissingExportFolderFailsWithTheMessage) {
    const std::string file = dir / "nirgends/ZYB.htm";
    CliRun run = Table({"--view", "2", "--countries", "276", "--fields", "101", "--html", file});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err, "Die Tabelle konnte nicht in " + file + " exportiert werden.\n");
    EXPECT_FALSE(std::filesystem::exists(dir / "nirgends"));
}

TEST_F(TableCli, UnknownOrMalformedIdsAreAnError) {
    struct Case {
        std::vector<std::string> words;
        const char* message;
    };
    const Case cases[] = {
        {{"--countries", "276,999999", "--fields", "101"}, "unknown country IDs: 999999"},
        {{"--countries", "-276", "--fields", "101"}, "unknown country IDs: -276"},
        {{"--countries", "276", "--fields", "101,-5,777"}, "unknown data-field IDs: -5, 777"},
        {{"--countries", "4, 8", "--fields", "101"}, "bad IDs '4, 8'"},
        {{"--countries", "+276", "--fields", "101"}, "bad IDs '+276'"},
        {{"--countries", "276", "--fields", " 101"}, "bad IDs ' 101'"},
        {{"--countries", "276", "--fields", "-"}, "bad IDs '-'"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words = {"--view", "1"};
        words.insert(words.end(), c.words.begin(), c.words.end());
        CliRun run = Table(words);
        SCOPED_TRACE(c.message);
        EXPECT_EQ(run.status, 2);
        EXPECT_EQ(run.out, "");
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
    }
}

TEST_F(TableCli, UsageErrors) {
    struct Case {
        std::vector<std::string> words;
        int status;
    };
    const Case cases[] = {
        {{"--view", "3", "--countries", "all", "--fields", "all"}, 2},
        {{"--view", "x", "--countries", "all", "--fields", "all"}, 2},
        {{"--view", "1", "--countries", "276,,40", "--fields", "all"}, 2},
        {{"--view", "1", "--countries", "276", "--fields", "101x"}, 2},
        {{"--view", "1", "--countries", "99999999999", "--fields", "101"}, 2},
        {{"--view", "1", "--fields", "101"}, 2},
        {{"--view", "1", "--countries", "276", "--fields", "101", "--year", "1=2000"}, 2},
        {{"--view", "2", "--countries", "276", "--fields", "101", "--year", "5=2000"}, 2},
        {{"--view", "2", "--countries", "276", "--fields", "101", "--year", "1"}, 2},
        {{"--view", "2", "--countries", "276", "--fields", "101", "--sort", "1:up"}, 2},
        {{"--view", "2", "--countries", "276", "--fields", "101", "--sort", "9:asc"}, 2},
        {{"--view", "2", "--countries", "276", "--fields", "101", "--colour", "red"}, 2},
        {{"--view", "2", "--countries", "276", "--fields"}, 2},
        {{"--view", "2", "--countries", "276", "--fields", "101", "--html", "/proc/x/ZYB.htm"}, 1},
    };
    for (const Case& c : cases) {
        CliRun run = Table(c.words);
        SCOPED_TRACE(run.err);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, "");
        if (c.status == 2) {
            EXPECT_NE(run.err.find("usage: kompendor-cli"), std::string::npos);
        }
    }

    std::filesystem::remove(almanac);
    CliRun run = Table({"--view", "2", "--countries", "all", "--fields", "all"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Kompendor.mdb"), std::string::npos);
}
