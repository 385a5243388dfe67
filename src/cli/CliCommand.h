#pragma once
// Subcommands of kompendor-cli. Each lives in its own file and is listed once in Main.cpp.

#include <optional>
#include <string>
#include <vector>

struct CliArgs {
    // The installation folder named by --base; the program's own folder otherwise.
    std::optional<std::string> base;
    // The words behind the subcommand's name, options included.
    std::vector<std::string> args;
};

struct CliCommand {
    const char* name;
    // One line: the arguments the command takes.
    const char* usage;
    // Returns the exit status; writes results to stdout and failures to stderr.
    int (*run)(const CliArgs& args);
};
