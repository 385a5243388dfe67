#include "platform/StartupTrace.h"

#include <fcntl.h>
#include <unistd.h>

#include <charconv>
#include <cstdlib>
#include <ctime>
#include <mutex>

namespace {

struct TraceState {
    int fd = -1;
    std::vector<std::string> written;
};

TraceState& State() {
    static TraceState state = [] {
        TraceState s;
        const char* path = std::getenv(kStartupTraceVariable);
        if (path && *path)
            s.fd = ::open(path, O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        return s;
    }();
    return state;
}

bool IsMarkName(std::string_view name) {
    if (name.empty()) return false;
    for (char c : name) {
        const bool ok = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9')
                        || c == '-';
        if (!ok) return false;
    }
    return true;
}

}  // namespace

std::int64_t StartupClock() {
    timespec now {};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return std::int64_t(now.tv_sec) * 1'000'000 + now.tv_nsec / 1000;
}

bool StartupTraceOn() { return State().fd >= 0; }

void StartupMark(const char* name) {
    static std::mutex mutex;
    const std::int64_t micros = StartupClock();
    TraceState& state = State();
    if (state.fd < 0 || !IsMarkName(name)) return;
    std::lock_guard lock(mutex);
    for (const std::string& seen : state.written) {
        if (seen == name) return;
    }
    state.written.emplace_back(name);
    std::string line = std::string(name) + ' ' + std::to_string(micros) + '\n';
    // One write per line: a reader never sees half a mark.
    [[maybe_unused]] const ssize_t n = ::write(state.fd, line.data(), line.size());
}

std::vector<StartupMarkLine> ParseStartupTrace(std::string_view text) {
    std::vector<StartupMarkLine> marks;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        // A last line without its newline may still be being written.
        if (end == std::string_view::npos) break;
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end + 1);
        const std::size_t blank = line.find(' ');
        if (blank == std::string_view::npos) continue;
        const std::string_view name = line.substr(0, blank);
        const std::string_view number = line.substr(blank + 1);
        std::int64_t micros = 0;
        const auto [ptr, ec] = std::from_chars(number.data(), number.data() + number.size(), micros);
        if (!IsMarkName(name) || ec != std::errc() || ptr != number.data() + number.size()
            || micros < 0)
            continue;
        marks.push_back({std::string(name), micros});
    }
    return marks;
}
