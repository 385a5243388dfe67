// The bookmarks' string work on a long article body: putting the markup of many bookmarks
// into the page at every load, and measuring them again after one was set; and storing their
// positions in one transaction.
#include <benchmark/benchmark.h>

#include "platform/TestFiles.h"
#include "text/Bookmark.h"
#include "text/BookmarkDatabase.h"

namespace {

// A body of about 200 KB in the browser's spelling, with paragraphs, links and entities.
std::string LongBody() {
    std::string body;
    for (int i = 0; body.size() < 200000; ++i)
        body += "<p class=\"Text\">Absatz " + std::to_string(i) + ": Die <a href=\"sgml://L"
                + std::to_string(i)
                + "\" target=\"STEXT\">Hauptstadt</a> liegt am Fluss &amp; ist groß.</p>";
    return body;
}

std::vector<CBookmarkPlace> Places(const std::string& body, int count) {
    std::vector<CBookmarkPlace> places;
    const std::size_t step = body.size() / (count + 1);
    for (int k = 0; k < count; ++k) {
        const std::size_t start = ClampOutsideTag(body, step * (k + 1));
        places.push_back({k + 1, unsigned(k % 6 + 1), start, ClampOutsideTag(body, start + 60)});
    }
    return places;
}

void BM_InsertBookmarks(benchmark::State& state) {
    const std::string body = LongBody();
    const auto places = Places(body, int(state.range(0)));
    for (auto _ : state) {
        std::string html = body;
        InsertBookmarks(html, places);
        benchmark::DoNotOptimize(html.data());
    }
}
BENCHMARK(BM_InsertBookmarks)->Arg(5)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_MeasureBookmarks(benchmark::State& state) {
    std::string marked = LongBody();
    InsertBookmarks(marked, Places(marked, int(state.range(0))));
    for (auto _ : state) {
        std::string html = marked;
        benchmark::DoNotOptimize(MeasureBookmarks(html).size());
    }
}
BENCHMARK(BM_MeasureBookmarks)->Arg(5)->Arg(50)->Unit(benchmark::kMicrosecond);

void BM_StorePositions(benchmark::State& state) {
    CTempDir dir;
    CBookmarkDatabase bookmarks;
    bookmarks.Open(dir / CBookmarkDatabase::kFileName, true);
    std::vector<CBookmarkPlace> places;
    for (int k = 0; k < state.range(0); ++k)
        places.push_back({bookmarks.Add(1001, "Deutschland", "x...", ""), 1, 10u * k, 10u * k + 5});
    for (auto _ : state) benchmark::DoNotOptimize(bookmarks.StorePositions(1001, places));
}
BENCHMARK(BM_StorePositions)->Arg(5)->Arg(50)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
