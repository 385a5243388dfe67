// kompendor-cli: the program's functions without a window, on the same code.
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <iostream>
#include <iterator>

#include "cli/CliCommand.h"

// Declarations of the subcommands; each is defined in its own file.
int RunArchiveList(const CliArgs& args);
int RunArchiveExtract(const CliArgs& args);
int RunSettings(const CliArgs& args);
int RunSql(const CliArgs& args);
int RunFormat(const CliArgs& args);
int RunWorkspace(const CliArgs& args);
int RunTable(const CliArgs& args);
int RunSearch(const CliArgs& args);
int RunArticle(const CliArgs& args);
int RunCellInfo(const CliArgs& args);
int RunMap(const CliArgs& args);
int RunBookmarks(const CliArgs& args);
#ifdef KOMPENDOR_CLI_GUI
int RunPicture(const CliArgs& args);
int RunMapPng(const CliArgs& args);
#endif

namespace {

const CliCommand kCommands[] = {
    // {"name", "usage", &RunName},
    {"list", "ARCHIVE [--password TEXT]", &RunArchiveList},
    {"extract", "ARCHIVE MEMBER [-o FILE] [--password TEXT]", &RunArchiveExtract},
    {"settings", "", &RunSettings},
    {"sql", "\"STATEMENT\"", &RunSql},
    {"format", "VALUE...", &RunFormat},
    {"workspace", "FILE", &RunWorkspace},
    {"table",
     "--view 1|2 --countries IDS|all --fields IDS|all [--year COLUMN=YEAR ...] "
     "[--sort COLUMN:asc|desc] [--html FILE|-]",
     &RunTable},
    {"search", "[--whole-words] QUERY", &RunSearch},
    {"article", "ID", &RunArticle},
    {"cellinfo", "LAND VAL YEAR", &RunCellInfo},
    {"bookmarks", "[FILE]", &RunBookmarks},
#ifdef KOMPENDOR_CLI_GUI
    {"map", "VAL YEAR [--png FILE] [--width W --height H]", &RunMapPng},
    {"picture", "ARCHIVE MEMBER --png FILE [--password TEXT]", &RunPicture},
#else
    {"map", "VAL YEAR [--png FILE] [--width W --height H]", &RunMap},
#endif
    {nullptr, nullptr, nullptr},
};

// Commands that need the toolkit's image code run in kompendor-cli-gui, so that the others
// do not load it: a command by its name alone, or only when one of its options is given.
struct GuiCommand {
    const char* name;
    const char* usage;
    // nullptr: always.
    const char* option;
};

const GuiCommand kGuiCommands[] = {
    {"picture", "ARCHIVE MEMBER --png FILE [--password TEXT]", nullptr},
    {"map", "VAL YEAR [--png FILE] [--width W --height H]", "--png"},
    {nullptr, nullptr, nullptr},
};

#ifndef KOMPENDOR_CLI_GUI
const GuiCommand* FindGuiCommand(const char* name, const std::vector<std::string>& args) {
    for (const GuiCommand& g : kGuiCommands) {
        if (!g.name || std::strcmp(g.name, name) != 0) continue;
        if (!g.option) return &g;
        for (const std::string& a : args) {
            if (a == g.option || a.rfind(std::string(g.option) + "=", 0) == 0) return &g;
        }
    }
    return nullptr;
}

// Replaces this process by kompendor-cli-gui from the same folder, with the same arguments.
// Returns only when that fails.
int RunInGuiProgram(const char* name, char** argv) {
    std::error_code ec;
    const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", ec);
    const std::filesystem::path gui =
        (ec ? std::filesystem::path(argv[0]) : self).parent_path() / "kompendor-cli-gui";
    ::execv(gui.c_str(), argv);
    std::cerr << "kompendor-cli: '" << name << "' needs " << gui.string() << ": "
              << std::strerror(errno) << "\n";
    return 1;
}
#endif

int Usage() {
    std::cerr << "usage: kompendor-cli [--base DIR] COMMAND [ARGS...]\n\ncommands:\n";
    for (const CliCommand& c : kCommands) {
        if (c.name) std::cerr << "  " << c.name << " " << c.usage << "\n";
    }
#ifndef KOMPENDOR_CLI_GUI
    for (const GuiCommand& g : kGuiCommands) {
        if (g.name && !g.option) std::cerr << "  " << g.name << " " << g.usage << "\n";
    }
#endif
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    CliArgs args;
    int i = 1;
    for (; i < argc; ++i) {
        if (std::strcmp(argv[i], "--base") == 0 && i + 1 < argc) {
            args.base = argv[++i];
        } else if (std::strncmp(argv[i], "--base=", 7) == 0) {
            args.base = argv[i] + 7;
        } else {
            break;
        }
    }
    if (i >= argc) return Usage();
    const char* name = argv[i++];
    args.args.assign(argv + i, argv + argc);
#ifndef KOMPENDOR_CLI_GUI
    if (FindGuiCommand(name, args.args)) return RunInGuiProgram(name, argv);
#endif
    for (const CliCommand& c : kCommands) {
        if (c.name && std::strcmp(c.name, name) == 0) return c.run(args);
    }
    std::cerr << "kompendor-cli: unknown command '" << name << "'\n";
    return Usage();
}
