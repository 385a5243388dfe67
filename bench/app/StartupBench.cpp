// Start-up of the program on the sample edition, from launch to a painted table, phase by
// phase. The program writes its marks (platform/StartupTrace.h) into a trace file; this
// process notes the launch on the same monotonic clock, waits for the last mark, ends the
// program with SIGTERM (its own orderly way out) and reads the marks.
//
// Each run starts as a returning user does: a home folder of its own (kept across the runs,
// so the font and toolkit caches are warm after the first, untimed run) in which workspace 1
// is remembered and holds the table of the case. Two of the phases are the design's own
// waits, not the program's work: the intro (its film to the end, or a second without one)
// and the 500 ms after which the main window reloads the remembered workspace. The rest is
// the program's own share: the time of an iteration (own_ms), to stay below 300 ms.
//
// Needs a display: run it as  xvfb-run -a build/release/bin/bench_startup
// The edition is build/dist (scripts/build-dist) or KOMPENDOR_DIST.
//
// Counters, in milliseconds from launch: each phase on its own (launch, toolkit, checks,
// almanac, intro_open, intro, main_window, reload_wait, fill, paint), the whole (total_ms),
// the design's waits (design_ms), the program's own share (own_ms) and the processor time
// the program used until it was ended (cpu_ms, user and system).
#include <signal.h>
#include <spawn.h>
#include <sys/resource.h>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/Settings.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "mainwnd/Workspace.h"
#include "platform/StartupTrace.h"
#include "platform/TestFiles.h"

extern char** environ;

namespace fs = std::filesystem;

namespace {

// The wait between the main window's creation and the workspace's reload.
constexpr double kReloadWaitMs = 500.0;
// How long a start may take before the run counts as hung.
constexpr auto kGiveUp = std::chrono::seconds(60);

std::string Distribution() {
    if (const char* dist = std::getenv("KOMPENDOR_DIST")) return dist;
    return KOMPENDOR_BENCH_SOURCE_DIR "/build/dist";
}

// The phases, each from the mark before it to its own mark.
struct Phase {
    const char* counter;
    const char* mark;
};
constexpr Phase kPhases[] = {
    {"launch", "main"},                // process start, the libraries linked
    {"toolkit", "toolkit"},            // settings, registry, the application object
    {"checks", "checks"},              // cursors, folders and files of the installation
    {"almanac", "almanac"},            // opening and checking the almanac
    {"intro_open", "intro-start"},     // intro window, its picture and film
    {"intro", "intro-end"},            // the intro's own phase (design)
    {"main_window", "main-window"},    // skins, command bar, main window
    {"reload_wait", "workspace-reload"},  // the design's 500 ms, and any overrun
    {"fill", "table-filled"},          // the workspace read, the table filled
    {"paint", "table-painted"},        // the table on screen
};

struct StartCase {
    std::uint8_t tableKind;
    bool allCountries;
    std::size_t dataFields;  // the first n fields of the almanac
    bool film;               // with the intro film, or with the picture's second instead
};

// An installation like dist without the intro film: the program copied (its folder is the
// installation's), everything else linked.
bool MakeInstallWithoutFilm(const std::string& dist, const fs::path& folder, std::string& error) {
    std::error_code ec;
    fs::remove_all(folder, ec);
    fs::create_directories(folder, ec);
    for (const fs::directory_entry& entry : fs::directory_iterator(dist, ec)) {
        const std::string name = entry.path().filename().string();
        if (name == "ZYB2004.nox") continue;
        if (name == "kompendor") {
            fs::copy_file(entry.path(), folder / name, ec);
        } else {
            fs::create_symlink(entry.path(), folder / name, ec);
        }
        if (ec) {
            error = "cannot set up " + (folder / name).string() + ": " + ec.message();
            return false;
        }
    }
    return true;
}

bool HasMark(const std::vector<StartupMarkLine>& marks, const char* name) {
    for (const StartupMarkLine& m : marks) {
        if (m.name == name) return true;
    }
    return false;
}

// The home folder of the runs: workspace 1 holding the case's table, and remembered.
bool PrepareHome(const fs::path& home, const std::string& dist, const StartCase& startCase,
                 std::string& error) {
    fs::create_directories(home);
    ::setenv("HOME", home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    std::unique_ptr<CRegistryFiles> registry = OpenProgramRegistry(dist + "/");
    CSettings settings(dist + "/", *registry);
    if (settings.userData.empty()) {
        error = "the edition's NOX.INI names no user-data folder";
        return false;
    }
    CWorkspaceFile workspace;
    workspace.tableKind = startCase.tableKind;
    workspace.allCountries = startCase.allCountries ? 1 : 0;
    CDatabase db;
    try {
        db.Open(settings.mdb, false, true, kAlmanacConnect);
    } catch (const std::exception& e) {
        error = std::string("cannot open the almanac: ") + e.what();
        return false;
    }
    DBRead(db, "SELECT ID FROM Land ORDER BY ID", "bench", [&](CRecordset& rs) {
        for (; !rs.IsEOF(); rs.MoveNext())
            workspace.countryIds.push_back(std::uint32_t(rs.GetFieldValue("ID").Integer()));
    });
    DBRead(db, "SELECT ID FROM Val WHERE ID IN (SELECT DISTINCT ValID FROM Data) ORDER BY ID",
           "bench", [&](CRecordset& rs) {
               for (; !rs.IsEOF() && workspace.dataIds.size() < startCase.dataFields;
                    rs.MoveNext())
                   workspace.dataIds.push_back(std::uint32_t(rs.GetFieldValue("ID").Integer()));
           });
    if (workspace.countryIds.empty() || workspace.dataIds.empty()) {
        error = "no countries or data fields read from the edition";
        return false;
    }
    const std::uint8_t number = 1;
    if (!WriteWorkspaceFile(WorkspaceFilePath(settings.userData, number), workspace)
        || !settings.WriteBinaryValue("Workspace", &number, 1)) {
        error = "cannot write workspace 1 into " + home.string();
        return false;
    }
    return true;
}

struct StartRun {
    std::int64_t launch = 0;
    std::vector<StartupMarkLine> marks;
    double cpuMs = 0;
    std::string error;
};

StartRun RunOnce(const std::string& dist, const fs::path& home) {
    StartRun run;
    const fs::path trace = home / "startup.trace";
    fs::remove(trace);
    std::vector<std::string> env;
    for (char** e = environ; *e; ++e) {
        const std::string entry = *e;
        if (entry.starts_with("KOMPENDOR_STARTUP_TRACE=")) continue;
        env.push_back(entry);
    }
    env.push_back(std::string(kStartupTraceVariable) + "=" + trace.string());
    if (!std::getenv("QTWEBENGINE_CHROMIUM_FLAGS"))
        env.emplace_back("QTWEBENGINE_CHROMIUM_FLAGS=--no-sandbox --disable-gpu");
    std::vector<char*> envp;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);

    const std::string program = dist + "/kompendor";
    char* argv[] = {const_cast<char*>(program.c_str()), nullptr};
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    run.launch = StartupClock();
    const int spawned = posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        run.error = "cannot start " + program;
        return run;
    }

    const auto giveUp = std::chrono::steady_clock::now() + kGiveUp;
    int status = 0;
    bool exited = false;
    rusage usage {};
    while (true) {
        run.marks = ParseStartupTrace(ReadFile(trace));
        if (HasMark(run.marks, "table-painted")) break;
        if (::wait4(pid, &status, WNOHANG, &usage) == pid) {
            exited = true;
            run.error = "the program ended before it showed the table";
            break;
        }
        if (std::chrono::steady_clock::now() > giveUp) {
            run.error = "no painted table within 60 s";
            ::kill(pid, SIGKILL);
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (!exited) {
        if (run.error.empty()) ::kill(pid, SIGTERM);
        ::wait4(pid, &status, 0, &usage);
    }
    run.cpuMs = (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1e3
                + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e3;
    return run;
}

void BM_StartupToPaintedTable(benchmark::State& state, StartCase startCase) {
    const std::string dist = fs::absolute(Distribution()).lexically_normal().string();
    if (!fs::exists(dist + "/kompendor")) {
        state.SkipWithError(("no sample edition at " + dist + " (run scripts/build-dist)").c_str());
        return;
    }
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY")) {
        state.SkipWithError("needs a display: xvfb-run -a bench_startup");
        return;
    }
    // KOMPENDOR_BENCH_HOME keeps the home folder for a look at a single start afterwards.
    const char* kept = std::getenv("KOMPENDOR_BENCH_HOME");
    const fs::path home = kept && *kept ? fs::path(kept)
                                        : fs::temp_directory_path()
                                              / ("kompendor-bench-startup-"
                                                 + std::to_string(::getpid()));
    std::string error;
    std::string install = dist;
    if (!startCase.film) {
        install = (home / "install").string();
        if (!MakeInstallWithoutFilm(dist, install, error)) {
            state.SkipWithError(error.c_str());
            return;
        }
    }
    if (!PrepareHome(home, install, startCase, error)) {
        state.SkipWithError(error.c_str());
        return;
    }
    // Untimed: the first start fills the font and toolkit caches of the new home.
    if (StartRun warm = RunOnce(install, home); !warm.error.empty()) {
        state.SkipWithError(warm.error.c_str());
        return;
    }

    std::map<std::string, double> sums;
    for (auto _ : state) {
        StartRun run = RunOnce(install, home);
        if (!run.error.empty()) {
            state.SkipWithError(run.error.c_str());
            break;
        }
        std::map<std::string, std::int64_t> at;
        for (const StartupMarkLine& m : run.marks) at[m.name] = m.micros;
        std::int64_t before = run.launch;
        for (const Phase& phase : kPhases) {
            const auto it = at.find(phase.mark);
            const std::int64_t now = it != at.end() ? it->second : before;
            sums[phase.counter] += double(now - before) / 1e3;
            before = now;
        }
        const double total = double(at["table-painted"] - run.launch) / 1e3;
        const double intro = double(at["intro-end"] - at["intro-start"]) / 1e3;
        // The reload timer is a coarse one, which may fire up to 5 % early: the wait it
        // really made is the design's, up to its 500 ms; what it came late is the program's.
        const double reloadWait = double(at["workspace-reload"] - at["main-window"]) / 1e3;
        const double design = intro + std::min(reloadWait, kReloadWaitMs);
        sums["total_ms"] += total;
        sums["design_ms"] += design;
        sums["own_ms"] += total - design;
        sums["cpu_ms"] += run.cpuMs;
        state.SetIterationTime((total - design) / 1e3);
    }
    for (const auto& [name, sum] : sums)
        state.counters[name] = benchmark::Counter(sum, benchmark::Counter::kAvgIterations);
    if (!(kept && *kept)) fs::remove_all(home);
}

// Each start is a single iteration timed by hand; five of them give the median.
void Register(const char* name, StartCase startCase) {
    benchmark::RegisterBenchmark(name, BM_StartupToPaintedTable, startCase)
        ->UseManualTime()
        ->Unit(benchmark::kMillisecond)
        ->Iterations(1)
        ->Repetitions(5);
}

}  // namespace

int main(int argc, char** argv) {
    // A comparison of every country in five fields, the table a new user makes first: with
    // the edition's film, and with the picture's second the design times when there is none.
    Register("BM_StartupToPaintedTable/comparison_all_countries_5_fields", {2, true, 5, true});
    Register("BM_StartupToPaintedTable/comparison_all_countries_5_fields_no_film",
             {2, true, 5, false});
    // Every country in every field: the largest table the edition makes.
    Register("BM_StartupToPaintedTable/comparison_all_countries_all_fields",
             {2, true, 1000, true});
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
