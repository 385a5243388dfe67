// kompendor-cli article, run as a program against a fixture installation.
#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "text/ArticleAlmanac.h"
#include "text/ArticlePage.h"

TEST(ArticleCli, PrintsThePageTheWindowShows) {
    CTempDir dir;
    std::filesystem::create_directories(dir / "inst/Daten");
    WriteArticleTemplates(dir / "inst/HTML/");
    WriteFile(dir / "inst/NOX.INI", "[Paths]\nMDB=Daten/Kompendor.mdb\nHTML=HTML/\n");
    CDatabase db;
    db.Open(CreateArticleAlmanac(dir / "inst/Daten/"), false, true, kAlmanacConnect);
    const CArticlePages pages(&db, dir / "inst/HTML/");
    auto article = [&](std::vector<std::string> words) {
        words.insert(words.begin(), {"--base", dir / "inst", "article"});
        return RunKompendorCli(dir, words);
    };

    for (long id : {1001L, 1003L, kEuropa, 1008L}) {
        const CliRun run = article({std::to_string(id)});
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(run.out, pages.Compose(pages.GetPanel(id), id)) << id;
    }
    // No such article, or one of a type without a page: a message and status 1.
    CliRun run = article({"4711"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.out, "");
    EXPECT_NE(run.err.find("4711"), std::string::npos);
    EXPECT_EQ(article({std::to_string(kUnbekannt)}).status, 1);
    // A missing template is an error too, not an empty page.
    std::filesystem::remove(dir / "inst/HTML/TBPlain.htm");
    run = article({"1008"});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("template"), std::string::npos);
    for (const char* bad : {"", "0", "12x", "-5"}) EXPECT_EQ(article({bad}).status, 2) << bad;
    EXPECT_EQ(article({}).status, 2);
}
