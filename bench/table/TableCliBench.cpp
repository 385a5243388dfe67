// kompendor-cli table --view 2 --countries all --fields all on the sample edition, against the
// sqlite3 shell reading the same Data rows (one query per field, newest first). Each
// iteration runs both, so the ratio compares runs under the same load.
//
// The edition is build/dist (scripts/build-dist), or the installation KOMPENDOR_DIST names.
// The program measured is the kompendor-cli of this build tree.
#include <sys/wait.h>

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "table/YearLogic.h"

namespace {

std::string Distribution() {
    if (const char* dist = std::getenv("KOMPENDOR_DIST")) return dist;
    return KOMPENDOR_BENCH_SOURCE_DIR "/build/dist";
}

double Seconds(const std::string& command) {
    const auto start = std::chrono::steady_clock::now();
    const int status = std::system(command.c_str());
    const auto end = std::chrono::steady_clock::now();
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return -1.0;
    return std::chrono::duration<double>(end - start).count();
}

void BM_CliTableAgainstSqliteShell(benchmark::State& state) {
    const std::string dist = Distribution();
    const std::string mdb = dist + "/Daten/Kompendor.mdb";
    if (!std::filesystem::exists(mdb)) {
        state.SkipWithError(("no sample edition at " + dist + " (run scripts/build-dist)").c_str());
        return;
    }

    // The shell's script: the rows the data-column view reads, field by field.
    CDatabase db;
    db.Open(mdb, false, true, kAlmanacConnect);
    IdList fields;
    DBRead(db, "SELECT ID FROM Val ORDER BY ID", "bench", [&](CRecordset& rs) {
        for (; !rs.IsEOF(); rs.MoveNext()) {
            fields.push_back(static_cast<std::uint32_t>(rs.GetFieldValue("ID").Integer()));
        }
    });
    ValidateDataIDs(&db, fields);
    const std::string script = (std::filesystem::temp_directory_path() / "kompendor-bench.sql");
    {
        std::ofstream out(script);
        for (std::uint32_t id : fields) {
            out << SqlFormat("SELECT * FROM Data WHERE ValID=%u ORDER BY Jahr DESC;\n", id);
        }
    }

    const std::string cli = std::string(KOMPENDOR_BENCH_BINARY_DIR "/bin/kompendor-cli --base '")
                            + dist + "' table --view 2 --countries all --fields all >/dev/null";
    const std::string shell = "sqlite3 -readonly '" + mdb + "' <'" + script + "' >/dev/null";
    double cliTotal = 0.0;
    double shellTotal = 0.0;
    for (auto _ : state) {
        const double a = Seconds(cli);
        const double b = Seconds(shell);
        if (a < 0 || b < 0) {
            state.SkipWithError("a command failed");
            return;
        }
        cliTotal += a;
        shellTotal += b;
        state.SetIterationTime(a);
    }
    state.counters["sqlite3_ms"]
        = benchmark::Counter(shellTotal * 1000.0, benchmark::Counter::kAvgIterations);
    state.counters["ratio"] = shellTotal > 0 ? cliTotal / shellTotal : 0.0;
    state.counters["fields"] = static_cast<double>(fields.size());
}
BENCHMARK(BM_CliTableAgainstSqliteShell)
    ->UseManualTime()
    ->Iterations(3)
    ->Repetitions(5)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
