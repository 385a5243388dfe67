// The article window's history list.
#include "text/History.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

std::vector<std::int32_t> WalkBack(CHistoryList& history) {
    std::vector<std::int32_t> ids;
    CHistoryEntry entry;
    while (history.Back(entry)) ids.push_back(entry.articleId);
    return ids;
}

}  // namespace

TEST(History, KeepsTheLastTwentyVisits) {
    CHistoryList history;
    EXPECT_EQ(history.Index(), -1);
    EXPECT_EQ(history.Maximum(), 5);
    history.SetMaximum(20);
    for (std::int32_t id = 1; id <= 21; ++id) history.Push(MakeHistoryEntry(id, ""));
    EXPECT_EQ(history.Count(), 20);
    EXPECT_EQ(history.Index(), 19);
    EXPECT_FALSE(history.CanGoForward());
    // Back repeatedly ends at the second article; the first is gone.
    const std::vector<std::int32_t> back = WalkBack(history);
    ASSERT_EQ(back.size(), 19u);
    EXPECT_EQ(back.front(), 20);
    EXPECT_EQ(back.back(), 2);
    EXPECT_FALSE(history.CanGoBack());
}

TEST(History, NavigatingAfterBackDropsTheForwardEntries) {
    CHistoryList history(20);
    for (std::int32_t id = 1; id <= 5; ++id) history.Push(MakeHistoryEntry(id, ""));
    CHistoryEntry entry;
    ASSERT_TRUE(history.Back(entry));
    ASSERT_TRUE(history.Back(entry));
    EXPECT_EQ(entry.articleId, 3);
    ASSERT_TRUE(history.Forward(entry));
    EXPECT_EQ(entry.articleId, 4);
    ASSERT_TRUE(history.Back(entry));

    history.Push(MakeHistoryEntry(9, "neu"));
    EXPECT_EQ(history.Count(), 4);
    EXPECT_EQ(history.Index(), 3);
    EXPECT_FALSE(history.Forward(entry));
    EXPECT_EQ(WalkBack(history), (std::vector<std::int32_t>{3, 2, 1}));

    // A full list that was walked back keeps its size: the forward entries go first.
    CHistoryList full(3);
    for (std::int32_t id = 1; id <= 3; ++id) full.Push(MakeHistoryEntry(id, ""));
    ASSERT_TRUE(full.Back(entry));
    full.Push(MakeHistoryEntry(7, ""));
    EXPECT_EQ(full.Count(), 3);
    EXPECT_EQ(WalkBack(full), (std::vector<std::int32_t>{2, 1}));
}

TEST(History, EntriesKeepAnchorAndScroll) {
    CHistoryList history(20);
    history.Push(MakeHistoryEntry(1001, "geschichte"));
    CHistoryEntry entry;
    ASSERT_TRUE(history.Get(0, entry));
    entry.scrollLeft = 4;
    entry.scrollTop = 1200;
    ASSERT_TRUE(history.Set(0, entry));
    history.Push(MakeHistoryEntry(1002, ""));
    ASSERT_TRUE(history.Back(entry));
    EXPECT_EQ(AnchorOf(entry), "geschichte");
    EXPECT_EQ(entry.scrollTop, 1200);
    EXPECT_EQ(entry.scrollLeft, 4);
    EXPECT_FALSE(history.Set(5, entry));

    // A long anchor is cut to 127 bytes, on a whole character.
    std::string anchor = "a";
    while (anchor.size() < 200) anchor += "ö";
    const CHistoryEntry cut = MakeHistoryEntry(1, anchor);
    EXPECT_EQ(std::strlen(cut.anchor), 127u);
    EXPECT_EQ(std::string(cut.anchor), anchor.substr(0, 127));
    std::string umlauts;
    while (umlauts.size() < 200) umlauts += "ö";
    EXPECT_EQ(std::strlen(MakeHistoryEntry(1, umlauts).anchor), 126u);
}
