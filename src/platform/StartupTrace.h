#pragma once
// Marks on the way from launch to the first painted table, for the start-up benchmark
// (bench/app/StartupBench.cpp). Off unless the environment variable KOMPENDOR_STARTUP_TRACE
// names a file; then each mark appends the line "<name> <microseconds>" to it at once, the
// time read from the monotonic clock, which every process of the machine shares, so the
// launching process can set its own start beside the program's marks. Each name counts once:
// a later mark of the same name writes nothing.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// The variable that switches the marks on.
inline constexpr const char* kStartupTraceVariable = "KOMPENDOR_STARTUP_TRACE";

// Writes the mark name (letters, digits and '-' only) when the trace is on.
void StartupMark(const char* name);

// Whether the marks are written.
bool StartupTraceOn();

// The monotonic clock in microseconds, as the marks give it.
std::int64_t StartupClock();

struct StartupMarkLine {
    std::string name;
    std::int64_t micros = 0;
};

// The marks of a trace file's text, in the order written; lines that are not a mark are
// skipped.
std::vector<StartupMarkLine> ParseStartupTrace(std::string_view text);
