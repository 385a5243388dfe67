// The full-text search on an almanac of the sample edition's size (GeneratedAlmanac.h, or the
// installation KOMPENDOR_SEARCH_DIST names): the translation alone, building the
// pre-selection, and the statement the search window gives its hit list, run through the
// database layer with Jet's LIKE over every article, or over the rows the pre-selection lets
// through. Before measuring, both are checked to find the same titles in the same order.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>

#include "data/Database.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "text/GeneratedAlmanac.h"
#include "text/SearchIndex.h"
#include "text/SearchQuery.h"

namespace {

const char* const kQueries[] = {"Berlin Mauer",           "Wien ODER Donau",
                                "Genf NICHT Schweiz",     "\"Vereinte Nationen\" Genf",
                                "Berlin UND NICHT Mauer", "Regierung Parlament"};

CDatabase& Almanac() {
    static CDatabase db;
    if (!db.IsOpen()) {
        const char* dist = std::getenv("KOMPENDOR_SEARCH_DIST");
        const std::string mdb = dist ? std::string(dist) + "/Daten/Kompendor.mdb"
                                     : CreateGeneratedAlmanac(GeneratedAlmanacDirectory());
        db.Open(mdb, false, true, kAlmanacConnect);
    }
    return db;
}

const CSearchIndex& Index() {
    static CSearchIndex index;
    if (!index.IsBuilt()) index.Build(Almanac(), "HTML", "ID", "SearchText");
    return index;
}

CSearchQuery Query(const char* typed, bool wholeWords) {
    CSearchQuery query;
    query.SetSource(nullptr, "HTML", "SearchText");
    query.SetNoticeHandler({});
    query.SetWholeWords(wholeWords);
    query.Prepare(typed);
    query.Translate();
    return query;
}

std::string HitListSql(const std::string& condition) {
    return SqlFormat("SELECT * FROM HTML WHERE %s ORDER BY Title ASC", condition.c_str());
}

std::vector<std::string> Titles(const std::string& sql) {
    CRecordset rs(&Almanac());
    rs.Open(sql);
    std::vector<std::string> titles;
    for (; !rs.IsEOF(); rs.MoveNext()) titles.push_back(ToText(rs.GetFieldValue("Title")));
    return titles;
}

void BM_Translate(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(Query(kQueries[state.range(0)], true));
}
BENCHMARK(BM_Translate)->DenseRange(0, 5);

void BM_IndexBuild(benchmark::State& state) {
    CDatabase& db = Almanac();
    CSearchIndex index;
    for (auto _ : state) index.Build(db, "HTML", "ID", "SearchText");
    state.counters["rows"] = static_cast<double>(index.RowCount());
}
BENCHMARK(BM_IndexBuild)->Unit(benchmark::kMillisecond);

// range(0): the query; range(1): whole words; range(2): with the pre-selection.
void BM_HitListStatement(benchmark::State& state) {
    const CSearchQuery query = Query(kQueries[state.range(0)], state.range(1));
    const std::string plain = HitListSql(query.GetCondition());
    const std::string narrowed = HitListSql(Index().Condition(query));
    const std::vector<std::string> hits = Titles(plain);
    if (Titles(narrowed) != hits) {
        state.SkipWithError("the pre-selection changed the hit list");
        return;
    }
    const std::string& sql = state.range(2) ? narrowed : plain;
    for (auto _ : state) {
        CRecordset rs(&Almanac());
        rs.Open(sql);
        benchmark::DoNotOptimize(rs.GetRecordCount());
    }
    const auto candidates = Index().Candidates(query);
    state.SetLabel(std::string(kQueries[state.range(0)]) + (state.range(1) ? ", ganze Wörter" : "")
                   + (state.range(2) ? ", vorausgewählt" : ""));
    state.counters["hits"] = static_cast<double>(hits.size());
    state.counters["candidates"]
        = static_cast<double>(candidates ? candidates->size() : Index().RowCount());
}
BENCHMARK(BM_HitListStatement)
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}, {0, 1}})
    ->Unit(benchmark::kMillisecond);

}  // namespace

// "--make-almanac=DIR [--with-index]" writes the generated almanac and a NOX.INI into DIR, for
// timing kompendor-cli --base DIR search with hyperfine, and ends.
int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--make-almanac=", 0) != 0) continue;
        GeneratedAlmanacOptions options;
        for (int j = 1; j < argc; ++j)
            options.searchIndex |= std::string(argv[j]) == "--with-index";
        std::printf("%s\n", CreateGeneratedAlmanac(arg.substr(15), options).c_str());
        return 0;
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
