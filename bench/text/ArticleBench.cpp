// Composing an article page: in the program's own code, and as kompendor-cli article prints it
// (a whole process: start, settings, almanac, template, output). The fixture almanac with the
// articles of the browser tests; article 1013 is the long one.
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>

#include "text/ArticleAlmanac.h"
#include "text/ArticlePage.h"

namespace {

struct CInstallation {
    CInstallation() {
        std::filesystem::create_directories(dir / "inst/Daten");
        WriteWindowTemplates(dir / "inst/HTML/");
        almanac = CreateArticleAlmanac(dir / "inst/Daten/");
        WriteFile(dir / "inst/NOX.INI", "[Paths]\nMDB=Daten/Kompendor.mdb\nHTML=HTML/\n");
    }
    CTempDir dir;
    std::string almanac;
};

CInstallation& Installation() {
    static CInstallation installation;
    return installation;
}

void BM_Compose(benchmark::State& state) {
    CDatabase db;
    db.Open(Installation().almanac, false, true, kAlmanacConnect);
    const CArticlePages pages(&db, Installation().dir / "inst/HTML/");
    const std::int32_t id = static_cast<std::int32_t>(state.range(0));
    for (auto _ : state) {
        const int type = pages.GetPanel(id);
        benchmark::DoNotOptimize(pages.Compose(type, id));
    }
}
BENCHMARK(BM_Compose)->Arg(1001)->Arg(1003)->Arg(1013)->Unit(benchmark::kMicrosecond);

void BM_CliArticle(benchmark::State& state) {
    const std::string command
        = std::string("'" KOMPENDOR_BENCH_BINARY_DIR "/bin/kompendor-cli' --base '")
          + Installation().dir / "inst" + "' article " + std::to_string(state.range(0))
          + " >/dev/null";
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        const int status = std::system(command.c_str());
        const auto end = std::chrono::steady_clock::now();
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
            state.SkipWithError("kompendor-cli article failed");
            return;
        }
        state.SetIterationTime(std::chrono::duration<double>(end - start).count());
    }
}
BENCHMARK(BM_CliArticle)->Arg(1001)->Arg(1013)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
