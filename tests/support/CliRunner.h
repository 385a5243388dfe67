#pragma once
// Runs the built kompendor-cli as a process of its own, for the tests of its commands.

#include <sys/wait.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/TestFiles.h"

struct CliRun {
    int status = -1;  // the exit status; -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// A word quoted for the shell.
inline std::string ShellQuoted(const std::string& word) {
    std::string quoted = "'";
    for (char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

// Runs kompendor-cli with words, its registry in dir (so the user's own is never touched),
// and captures standard output and error through files in dir. With limitSeconds, a run that
// takes longer is killed (status 124): for commands that must not wait on their input.
inline CliRun RunKompendorCli(const CTempDir& dir, const std::vector<std::string>& words,
                              int limitSeconds = 0) {
    std::string cmd = "KOMPENDOR_REGISTRY=" + ShellQuoted(dir / "registry.ini") + " "
                      + (limitSeconds > 0 ? "timeout " + std::to_string(limitSeconds) + " " : "")
                      + ShellQuoted(std::string(KOMPENDOR_TEST_BINARY_DIR) + "/bin/kompendor-cli");
    for (const std::string& w : words) cmd += " " + ShellQuoted(w);
    cmd += " >" + ShellQuoted(dir / "out.txt") + " 2>" + ShellQuoted(dir / "err.txt");
    CliRun run;
    const int raw = std::system(cmd.c_str());
    run.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    run.out = ReadFile(dir / "out.txt");
    run.err = ReadFile(dir / "err.txt");
    return run;
}
