// The table filling's way of reading the almanac: per data field one recordset over all its
// values, newest first, and one FindFirst per country, against plainly reading the same
// rows, reading them with SQLite alone, and reading them with the sqlite3 shell.
//
// The almanac is generated once (250 countries, 150 fields, years 1950-2017 with gaps) and
// kept in the temporary directory for later runs.

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "data/DataRow.h"
#include "data/Database.h"
#include "data/SqlText.h"
#include "data/SqliteHandle.h"

namespace {

constexpr int kCountries = 250;
constexpr int kFields = 150;
constexpr int kFirstYear = 1950;
constexpr int kLastYear = 2017;

std::vector<long> CountryIds() {
    std::vector<long> ids;
    for (int i = 0; i < kCountries; ++i) ids.push_back(4 + 3 * i);
    return ids;
}

std::vector<long> FieldIds() {
    std::vector<long> ids;
    for (int i = 0; i < kFields; ++i) ids.push_back(1000 + i);
    return ids;
}

void Check(int rc, sqlite3* db) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE) {
        std::fprintf(stderr, "bench_data: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}

void Generate(const std::string& path) {
    std::string temporary = path + ".tmp";
    std::filesystem::remove(temporary);
    sqlite3* raw = nullptr;
    Check(sqlite3_open(temporary.c_str(), &raw), raw);
    CSqliteHandle db(raw);
    Check(sqlite3_exec(db.Get(),
                       "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN;"
                       "CREATE TABLE Data (LandID LONG, ValID LONG, Jahr SHORT, NUMVAL DOUBLE,"
                       " STRVAL TEXT, Source TEXT);",
                       nullptr, nullptr, nullptr),
          db.Get());
    sqlite3_stmt* rawInsert = nullptr;
    Check(sqlite3_prepare_v2(db.Get(), "INSERT INTO Data VALUES (?,?,?,?,?,?)", -1, &rawInsert,
                             nullptr),
          db.Get());
    CSqliteStatement insert(rawInsert);
    std::mt19937 random(2004);
    auto chance = [&](int percent) { return static_cast<int>(random() % 100) < percent; };
    for (long field : FieldIds()) {
        // Some fields go back to 1950, most start later; a few hold texts.
        int start = chance(30) ? kFirstYear : 1960 + static_cast<int>(random() % 41);
        bool text = chance(5);
        std::string source
            = SqlFormat("Weltbank, World Development Indicators, Tabelle %ld", field);
        for (long country : CountryIds()) {
            if (!chance(90)) continue;  // no values for this country at all
            int first = start + (chance(20) ? static_cast<int>(random() % 15) : 0);
            double value = 1.0 + static_cast<double>(random() % 100000);
            for (int year = first; year <= kLastYear; ++year) {
                if (chance(6)) continue;  // a gap
                value *= 0.97 + static_cast<double>(random() % 700) / 10000.0;
                sqlite3_bind_int64(insert.Get(), 1, country);
                sqlite3_bind_int64(insert.Get(), 2, field);
                sqlite3_bind_int(insert.Get(), 3, year);
                sqlite3_bind_double(insert.Get(), 4, value);
                if (text)
                    sqlite3_bind_text(insert.Get(), 5, "Präsidialrepublik", -1, SQLITE_STATIC);
                else
                    sqlite3_bind_null(insert.Get(), 5);
                sqlite3_bind_text(insert.Get(), 6, source.c_str(), -1, SQLITE_TRANSIENT);
                Check(sqlite3_step(insert.Get()), db.Get());
                sqlite3_reset(insert.Get());
            }
        }
    }
    insert.Reset();
    Check(sqlite3_exec(db.Get(),
                       "CREATE INDEX DataValJahr ON Data (ValID, Jahr);"
                       "CREATE INDEX DataLandJahr ON Data (LandID, Jahr); COMMIT; ANALYZE;",
                       nullptr, nullptr, nullptr),
          db.Get());
    db.Reset();
    std::filesystem::rename(temporary, path);
}

const std::string& AlmanacPath() {
    static const std::string path = [] {
        std::string p
            = (std::filesystem::temp_directory_path() / "kompendor-bench-almanac-v1.mdb").string();
        if (!std::filesystem::exists(p)) Generate(p);
        return p;
    }();
    return path;
}

CDatabase& Almanac() {
    static CDatabase db = [] {
        CDatabase d;
        d.Open(AlmanacPath(), true, true, kAlmanacConnect);
        return d;
    }();
    return db;
}

std::string FieldQuery(long field) {
    return SqlFormat("SELECT * FROM Data WHERE ValID=%li ORDER BY Jahr DESC", field);
}

// The column filling of the data-column view: the newest value of every country.
void BM_FindFirstPerCountry(benchmark::State& state) {
    CDatabase& db = Almanac();
    const std::vector<long> countries = CountryIds();
    long found = 0;
    for (auto _ : state) {
        for (long field : FieldIds()) {
            CRecordset rs(&db);
            rs.Open(FieldQuery(field));
            for (long country : countries) {
                if (rs.FindFirst(SqlFormat("LandID=%li", country))) {
                    benchmark::DoNotOptimize(DataValue(rs));
                    benchmark::DoNotOptimize(DataYear(rs));
                    ++found;
                }
            }
        }
    }
    state.counters["found"] = static_cast<double>(found) / static_cast<double>(state.iterations());
}

// A column switched to a year: the newest value not after it.
void BM_FindFirstPerCountryUpToYear(benchmark::State& state) {
    CDatabase& db = Almanac();
    const std::vector<long> countries = CountryIds();
    for (auto _ : state) {
        for (long field : FieldIds()) {
            CRecordset rs(&db);
            rs.Open(FieldQuery(field));
            for (long country : countries) {
                if (rs.FindFirst(SqlFormat("LandID=%li AND Jahr<=%li", country, 1985L)))
                    benchmark::DoNotOptimize(DataValue(rs));
            }
        }
    }
}

// The same recordsets, opened and moved through once.
void BM_PlainRead(benchmark::State& state) {
    CDatabase& db = Almanac();
    long rows = 0;
    for (auto _ : state) {
        for (long field : FieldIds()) {
            CRecordset rs(&db);
            rs.Open(FieldQuery(field));
            for (; !rs.IsEOF(); rs.MoveNext()) ++rows;
        }
    }
    state.counters["rows"] = static_cast<double>(rows) / static_cast<double>(state.iterations());
}

// The same rows stepped through with SQLite alone, every column fetched.
void BM_SqliteStep(benchmark::State& state) {
    sqlite3* db = Almanac().Handle();
    for (auto _ : state) {
        for (long field : FieldIds()) {
            sqlite3_stmt* raw = nullptr;
            std::string sql = FieldQuery(field);
            sqlite3_prepare_v2(db, sql.c_str(), -1, &raw, nullptr);
            CSqliteStatement stmt(raw);
            while (sqlite3_step(raw) == SQLITE_ROW) {
                for (int i = 0; i < 6; ++i) {
                    if (sqlite3_column_type(raw, i) == SQLITE_TEXT)
                        benchmark::DoNotOptimize(sqlite3_column_text(raw, i));
                    else
                        benchmark::DoNotOptimize(sqlite3_column_double(raw, i));
                }
            }
        }
    }
}

// The sqlite3 shell reading the same rows (its output thrown away).
void BM_SqliteShell(benchmark::State& state) {
    std::string script
        = (std::filesystem::temp_directory_path() / "kompendor-bench-fill.sql").string();
    {
        std::ofstream out(script);
        for (long field : FieldIds()) out << FieldQuery(field) << ";\n";
    }
    std::string command
        = "sqlite3 -readonly '" + AlmanacPath() + "' < '" + script + "' > /dev/null";
    for (auto _ : state) {
        if (std::system(command.c_str()) != 0) {
            state.SkipWithError("sqlite3 shell failed");
            break;
        }
    }
}

}  // namespace

BENCHMARK(BM_FindFirstPerCountry)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_FindFirstPerCountryUpToYear)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_PlainRead)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_SqliteStep)->Unit(benchmark::kMillisecond)->Repetitions(5);
BENCHMARK(BM_SqliteShell)->Unit(benchmark::kMillisecond)->UseRealTime()->Repetitions(5);

BENCHMARK_MAIN();
