#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "data/Database.h"
#include "data/Sha256.h"
#include "data/SqlText.h"
#include "data/TextFile.h"
#include "data/ValueRoutines.h"
#include "fixtures/FixtureAlmanac.h"

TEST(Sha256, StandardVectorsAndBlockBoundaries) {
    struct Case {
        std::string data;
        const char* hex;
    };
    const Case cases[] = {
        {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
        {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
        {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
         "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
        {"abcdefghbcdefghicdefghijdefghijkefghijklfghijklmghijklmnhijklmnoijklmnopjklmnopqklmnopqrl"
         "mnopqrsmnopqrstnopqrstu",
         "cf5b16a778af8380036ce59e7b0492370b249b11e8f07a51afac45037afee9d1"},
        {std::string(55, 'a'), "9f4390f8d30c2dd92ec9f095b65e2b9ae9b0a925a5258e241c9f1e910f734318"},
        {std::string(56, 'a'), "b35439a4ac6f0948b6d6f9e3c6af0f5f590ce20f1bde7090ef7970686ec6738a"},
        {std::string(63, 'a'), "7d3e74a05d7db15bce4ad9ec0658ea98e3f06eeecf16b4c6fff2da457ddc2f34"},
        {std::string(64, 'a'), "ffe054fe7ae0cb6dc65c3af9b61d5209f439851db43d0ba5997337df154668eb"},
        {std::string(119, 'a'), "31eba51c313a5c08226adf18d4a359cfdfd8d2e816b13f4af952f7ea6584dcfb"},
        {std::string(120, 'a'), "2f3d335432c70b580af0e8e1b3674a7c020d683aa5f73aaaedfdc55af904c21c"},
        {std::string(1000000, 'a'),
         "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
        {"3A9D07B1E5C2", "c71f2004d1d5b3213aae5aa74f520f5ed4d13c83395f396e2540d604954be341"},
        {"Größe", "aedc3f80989a6546962705852b2f4a481dbd1e490760693525c3724bacab3f50"},
    };
    for (const Case& c : cases) EXPECT_EQ(Sha256Hex(c.data), c.hex) << c.data.size();
}

TEST(SqlText, UserTextStaysText) {
    EXPECT_EQ(SqlQuote("O'Brien"), "O''Brien");
    EXPECT_EQ(SqlQuote("''"), "''''");
    EXPECT_EQ(SqlQuote("Öl"), "Öl");
    EXPECT_EQ(LikeEscape("50*?#[x]"), "50[*][?][#][[]x]");
    std::string longText(2000, 'x');
    EXPECT_EQ(SqlFormat("SELECT '%s' AS T WHERE %li=%u", longText.c_str(), -5L, 7u),
              "SELECT '" + longText + "' AS T WHERE -5=7");

    // Typed text in a type-ahead pattern, checked by the rows it returns.
    std::string dir = MakeTestDirectory("sqltext");
    CDatabase db;
    db.Create(dir + "/t.db");
    db.Execute("CREATE TABLE HTML (ID LONG, Title TEXT COLLATE GERMAN)");
    for (const char* title : {"O'Brien", "O'Neill", "Oase", "50* Rabatt", "500 Tage"})
        db.Execute("INSERT INTO HTML VALUES (1, '" + SqlQuote(title) + "')");
    auto count = [&](const std::string& typed, bool escape) {
        CRecordset rs(&db);
        std::string pattern = SqlQuote(escape ? LikeEscape(typed) : typed);
        rs.Open("SELECT * FROM HTML WHERE Title LIKE '" + pattern + "*' ORDER BY Title ASC");
        return rs.GetRecordCount();
    };
    EXPECT_EQ(count("O'", false), 2);
    EXPECT_EQ(count("O'B", false), 1);
    EXPECT_EQ(count("x' OR '1'='1", false), 0);
    EXPECT_EQ(count("50*", false), 2);
    EXPECT_EQ(count("50*", true), 1);
    db.Close();
    std::filesystem::remove_all(dir);
}

TEST(TextFile, ReadsTheWholeFileOrNothing) {
    std::string dir = MakeTestDirectory("textfile");
    std::string content = std::string("<P>%Title%</P>\r\nÄrger\0mit Nullen", 34);
    std::ofstream(dir + "/TB.htm", std::ios::binary) << content;
    std::ofstream(dir + "/empty.htm").close();

    std::string text = "old";
    EXPECT_TRUE(ReadTextFile(dir + "/TB.htm", text));
    EXPECT_EQ(text, content);
    EXPECT_TRUE(ReadTextFile(dir + "/empty.htm", text));
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_FALSE(ReadTextFile(dir + "/missing.htm", text));
    EXPECT_EQ(text, "");
    text = "old";
    EXPECT_FALSE(ReadTextFile(dir, text));
    EXPECT_EQ(text, "");
    std::filesystem::remove_all(dir);
}
