// Peak memory and time of filling every country by every data field (kompendor-cli table
// --view 2 --countries all --fields all), on the sample edition and on an almanac with 16
// times its Data rows. A fill should keep only what it shows: the larger almanac may cost
// time in proportion to its rows, but hardly more memory.
//
// The larger almanac is built here, once, from the edition: its Data rows repeated 15 times
// with the years moved back by 100 years per copy, so every newest value, and with it the
// table, stays the same. The edition is build/dist (scripts/build-dist) or KOMPENDOR_DIST.
//
// Counters: the edition's time (edition_ms), both peak resident sets (edition_MB, x16_MB),
// their ratios (time_ratio should stay within 1.1 x 16, peak_ratio within 2) and the Data
// rows of both almanacs; the time of an iteration is the larger almanac's.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "data/AlmanacSql.h"
#include "data/SqliteHandle.h"

namespace fs = std::filesystem;

namespace {

constexpr int kCopies = 16;

std::string Distribution() {
    if (const char* dist = std::getenv("KOMPENDOR_DIST")) return dist;
    return KOMPENDOR_BENCH_SOURCE_DIR "/build/dist";
}

struct Run {
    double seconds = -1.0;
    double peakMb = 0.0;
};

// Runs kompendor-cli on the installation at base, its output thrown away; the time from
// start to exit and the child's peak resident set.
Run RunFill(const std::string& base) {
    const std::string cli = KOMPENDOR_BENCH_BINARY_DIR "/bin/kompendor-cli";
    const auto start = std::chrono::steady_clock::now();
    const pid_t pid = fork();
    if (pid == 0) {
        std::freopen("/dev/null", "w", stdout);
        execl(cli.c_str(), cli.c_str(), "--base", base.c_str(), "table", "--view", "2",
              "--countries", "all", "--fields", "all", static_cast<char*>(nullptr));
        _exit(127);
    }
    Run run;
    if (pid < 0) return run;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return run;
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return run;
    run.seconds = std::chrono::duration<double>(end - start).count();
    run.peakMb = static_cast<double>(usage.ru_maxrss) / 1024.0;  // ru_maxrss is in KiB
    return run;
}

bool Exec(sqlite3* db, const char* sql) {
    char* error = nullptr;
    if (sqlite3_exec(db, sql, nullptr, nullptr, &error) == SQLITE_OK) return true;
    std::fprintf(stderr, "bench_table_memory: %s\n", error ? error : "?");
    sqlite3_free(error);
    return false;
}

long long DataRows(const std::string& mdb) {
    sqlite3* raw = nullptr;
    sqlite3_open_v2(mdb.c_str(), &raw, SQLITE_OPEN_READONLY, nullptr);
    CSqliteHandle db(raw);
    sqlite3_stmt* rawStmt = nullptr;
    sqlite3_prepare_v2(db.Get(), "SELECT count(*) FROM Data", -1, &rawStmt, nullptr);
    CSqliteStatement stmt(rawStmt);
    return stmt && sqlite3_step(rawStmt) == SQLITE_ROW ? sqlite3_column_int64(rawStmt, 0) : -1;
}

// An installation beside the edition whose almanac holds kCopies times its Data rows; every
// other entry links to the edition's. Built once per edition file and kept.
std::string LargeInstallation(const std::string& dist) {
    const fs::path edition = fs::path(dist) / "Daten" / "Kompendor.mdb";
    const auto stamp = fs::last_write_time(edition).time_since_epoch().count();
    const fs::path base = fs::temp_directory_path()
                          / ("kompendor-bench-x" + std::to_string(kCopies) + "-"
                             + std::to_string(static_cast<long long>(stamp)));
    const fs::path mdb = base / "Daten" / "Kompendor.mdb";
    if (fs::exists(mdb)) return base.string();

    fs::remove_all(base);
    fs::create_directories(base / "Daten");
    for (const auto& entry : fs::directory_iterator(dist)) {
        if (entry.path().filename() != "Daten")
            fs::create_directory_symlink(entry.path(), base / entry.path().filename());
    }
    for (const auto& entry : fs::directory_iterator(fs::path(dist) / "Daten")) {
        if (entry.path().filename() != "Kompendor.mdb")
            fs::create_symlink(entry.path(), base / "Daten" / entry.path().filename());
    }
    const fs::path building = mdb.string() + ".tmp";
    fs::copy_file(edition, building);
    fs::permissions(building, fs::perms::owner_write, fs::perm_options::add);
    sqlite3* raw = nullptr;
    sqlite3_open_v2(building.c_str(), &raw, SQLITE_OPEN_READWRITE, nullptr);
    CSqliteHandle db(raw);
    // The almanac's text columns sort with its own collation.
    bool ok = RegisterAlmanacSql(db.Get())
              && Exec(db.Get(),
                      "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                      "CREATE TEMP TABLE Original AS SELECT * FROM Data;");
    for (int copy = 1; ok && copy < kCopies; ++copy) {
        const std::string sql
            = "UPDATE temp.Original SET Jahr = Jahr - 100;"
              "INSERT INTO Data SELECT * FROM temp.Original;";
        ok = Exec(db.Get(), sql.c_str());
    }
    ok = ok && Exec(db.Get(), "COMMIT; ANALYZE Data;");
    db.Reset();
    if (!ok) return {};
    fs::rename(building, mdb);
    return base.string();
}

// Each iteration fills from both almanacs, so the ratios compare runs under like load; the
// iteration's time is the larger almanac's.
void BM_FillEveryCountryAndField(benchmark::State& state) {
    const std::string dist = Distribution();
    if (!fs::exists(fs::path(dist) / "Daten" / "Kompendor.mdb")) {
        state.SkipWithError(("no sample edition at " + dist + " (run scripts/build-dist)").c_str());
        return;
    }
    const std::string large = LargeInstallation(dist);
    if (large.empty()) {
        state.SkipWithError("the larger almanac could not be built");
        return;
    }
    for (auto _ : state) {
        const Run small = RunFill(dist);
        const Run big = RunFill(large);
        if (small.seconds < 0 || big.seconds < 0) {
            state.SkipWithError("kompendor-cli table failed");
            return;
        }
        state.SetIterationTime(big.seconds);
        state.counters["edition_ms"] = small.seconds * 1000.0;
        state.counters["edition_MB"] = small.peakMb;
        state.counters["x16_MB"] = big.peakMb;
        state.counters["time_ratio"] = big.seconds / small.seconds;
        state.counters["peak_ratio"] = big.peakMb / small.peakMb;
    }
    state.counters["edition_rows"]
        = static_cast<double>(DataRows((fs::path(dist) / "Daten" / "Kompendor.mdb").string()));
    state.counters["x16_rows"]
        = static_cast<double>(DataRows((fs::path(large) / "Daten" / "Kompendor.mdb").string()));
}

}  // namespace

BENCHMARK(BM_FillEveryCountryAndField)
    ->UseManualTime()
    ->Iterations(1)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
