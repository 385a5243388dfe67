// kompendor-cli bookmarks, run as a program on bookmark databases written by the wrapper's
// database code.
#include <gtest/gtest.h>

#include "support/CliRunner.h"
#include "text/BookmarkDatabase.h"

TEST(BookmarkCli, ListsTheTreeOfTheUsersOrAGivenFile) {
    CTempDir dir;
    WriteFile(dir / "inst/NOX.INI", "[Paths]\nUserData=" + dir / "user/" + "\n");
    std::filesystem::create_directories(dir / "user");
    {
        CBookmarkDatabase bookmarks;
        ASSERT_TRUE(bookmarks.Open(dir / "user/Bookmark.mdb", true));
        const std::int32_t late = bookmarks.Add(1001, "Deutschland", "Spree...", "Fluss");
        const std::int32_t early = bookmarks.Add(1001, "Deutschland", "Berlin...", "");
        bookmarks.Add(1002, "Ägypten", "Nil...", "");
        ASSERT_TRUE(bookmarks.StorePositions(1001, {{late, 4, 300, 320}, {early, 2, 12, 40}}));
    }
    const CliRun run = RunKompendorCli(dir, {"--base", dir / "inst", "bookmarks"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out,
              "Ägypten  (article 1002, node 4)\n"
              "  5  type 1  0-0  Nil...\n"
              "Deutschland  (article 1001, node 1)\n"
              "  3  type 2  12-40  Berlin...\n"
              "  2  type 4  300-320  Spree...  note: Fluss\n");
    EXPECT_EQ(RunKompendorCli(dir, {"bookmarks", dir / "user/Bookmark.mdb"}).out, run.out);

    // A missing file is not created; a file of another kind is refused.
    CliRun missing = RunKompendorCli(dir, {"bookmarks", dir / "none.mdb"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_FALSE(std::filesystem::exists(dir / "none.mdb"));
    WriteFile(dir / "other.mdb", "text");
    EXPECT_EQ(RunKompendorCli(dir, {"bookmarks", dir / "other.mdb"}).status, 1);
    EXPECT_EQ(RunKompendorCli(dir, {"bookmarks", "a", "b"}).status, 2);
}
