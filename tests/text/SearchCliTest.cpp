// kompendor-cli search against an installation holding the search almanac.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/TestFiles.h"
#include "support/CliRunner.h"
#include "text/SearchAlmanac.h"

namespace {

class SearchCli : public testing::Test {
protected:
    SearchCli() {
        std::filesystem::create_directories(dir / "inst/Daten");
        const std::string mdb = CreateSearchAlmanac(dir / "inst/Daten");
        WriteFile(dir / "inst/NOX.INI",
                  "[Paths]\nMDB=Daten/Kompendor.mdb\nUserData=" + dir / "user/\n");
    }

    CliRun Search(std::vector<std::string> words) {
        words.insert(words.begin(), {"--base", dir / "inst", "search"});
        return RunKompendorCli(dir, words);
    }

    CTempDir dir;
};

}  // namespace

TEST_F(SearchCli, PrintsTheTranslationAndTheHitsInOrder) {
    CliRun run = Search({"Berlin", "UND", "NICHT", "Mauer"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_EQ(run.out,
              "clean=Berlin UND NICHT Mauer\n"
              "condition=([SearchText] LIKE '*BERLIN*') AND ([SearchText] NOT LIKE '*MAUER*')\n"
              "terms=BERLIN\n"
              "count=1\n"
              "Brandenburg\n");

    run = Search({"--whole-words", "Rom ODER Genf"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("terms=ROM|GENF\ncount=3\nRom\nUNO\nVatikan\n"), std::string::npos)
        << run.out;
    // The option counts only before the query.
    run = Search({"Genf", "--whole-words"});
    EXPECT_NE(run.out.find("clean=Genf --whole-words\n"), std::string::npos) << run.out;

    // Nothing to search for: the condition that matches nothing.
    run = Search({""});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "clean=\ncondition=SearchText LIKE '~~~~~~~~~~'\nterms=\ncount=0\n");
}

TEST_F(SearchCli, NoticesGoToStandardError) {
    CliRun run = Search({"a*b?", "Genf ODER UND Wien"});
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.err,
              "H I N W E I S\tDie Zeichen * ? sind ungültig und wurden entfernt!\n"
              "H I N W E I S\tDas Suchergebnis wird nicht das gewünschte Ergebnis beinhalten,\\n"
              "da die Sucheingabe nicht korrekt eingegeben wurde.\\n\\nOperatoren müssen durch "
              "ein Leerzeichen voneinander getrennt sein\\n(UND, ODER, Leerzeichen vor Klammer auf "
              "und nach Klammer zu),\\nund das direkte aufeinanderfolgen von \"UND ODER\" ist "
              "unzulässig.\n");
    EXPECT_NE(run.out.find("clean=a b  Genf ODER UND Wien\n"), std::string::npos) << run.out;
}

TEST_F(SearchCli, UsageAndFailures) {
    CliRun run = Search({});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("the query is missing"), std::string::npos);

    std::filesystem::remove(dir / "inst/Daten/Kompendor.mdb");
    run = Search({"Berlin"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err, "");
}
