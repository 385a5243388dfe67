// The start-up marks: written only with the variable set, each name once, in order, on the
// clock the launching process reads; and read back by the benchmark's parser.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>

#include "platform/StartupTrace.h"
#include "platform/TestFiles.h"

namespace {

// Runs marks in a child process (the trace is set up once per process) with the variable
// set to trace, or unset when trace is empty; true when the child ended normally.
bool InChild(const std::string& trace, const std::function<void()>& marks) {
    const pid_t pid = ::fork();
    if (pid == 0) {
        if (trace.empty()) {
            ::unsetenv(kStartupTraceVariable);
        } else {
            ::setenv(kStartupTraceVariable, trace.c_str(), 1);
        }
        marks();
        ::_exit(0);
    }
    int status = 0;
    return pid > 0 && ::waitpid(pid, &status, 0) == pid && WIFEXITED(status)
           && WEXITSTATUS(status) == 0;
}

}  // namespace

TEST(StartupTrace, MarksEachNameOnceInOrderOnTheSharedClock) {
    CTempDir dir;
    const std::string trace = dir.Path() + "trace";
    const std::int64_t before = StartupClock();
    ASSERT_TRUE(InChild(trace, [] {
        if (!StartupTraceOn()) ::_exit(3);
        StartupMark("main");
        StartupMark("almanac");
        StartupMark("main");        // a second time: nothing
        StartupMark("bad name\n");  // not a mark name: nothing
        StartupMark("");
        StartupMark("table-painted");
    }));
    const std::int64_t after = StartupClock();

    const std::vector<StartupMarkLine> marks = ParseStartupTrace(ReadFile(trace));
    ASSERT_EQ(marks.size(), 3u);
    EXPECT_EQ(marks[0].name, "main");
    EXPECT_EQ(marks[1].name, "almanac");
    EXPECT_EQ(marks[2].name, "table-painted");
    EXPECT_GE(marks[0].micros, before);
    EXPECT_LE(marks[0].micros, marks[1].micros);
    EXPECT_LE(marks[1].micros, marks[2].micros);
    EXPECT_LE(marks[2].micros, after);
}

TEST(StartupTrace, NothingWithoutTheVariableOrAWritableFile) {
    CTempDir dir;
    EXPECT_TRUE(InChild("", [] {
        if (StartupTraceOn()) ::_exit(3);
        StartupMark("main");
    }));
    // A trace file in a folder that does not exist: the program starts as ever.
    EXPECT_TRUE(InChild(dir.Path() + "no/such/trace", [] {
        if (StartupTraceOn()) ::_exit(3);
        StartupMark("main");
    }));
    EXPECT_FALSE(std::filesystem::exists(dir.Path() + "no"));
}

TEST(StartupTrace, ParserSkipsWhatIsNotAMark) {
    const std::vector<StartupMarkLine> marks = ParseStartupTrace(
        "main 100\n"
        "\n"
        "no-number\n"
        "toolkit 12x\n"
        "checks -5\n"
        "bad:name 7\n"
        "almanac 250\n"
        "intro-start 3");  // still being written: no newline yet
    ASSERT_EQ(marks.size(), 2u);
    EXPECT_EQ(marks[0].name, "main");
    EXPECT_EQ(marks[0].micros, 100);
    EXPECT_EQ(marks[1].name, "almanac");
    EXPECT_EQ(marks[1].micros, 250);
    EXPECT_TRUE(ParseStartupTrace("").empty());
}
