// kompendor-cli: the program's functions without a window, on the same code.
#include <cstring>
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
#ifdef KOMPENDOR_CLI_PICTURE
int RunPicture(const CliArgs& args);
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
#ifdef KOMPENDOR_CLI_PICTURE
    {"picture", "ARCHIVE MEMBER --png FILE [--password TEXT]", &RunPicture},
#endif
    {nullptr, nullptr, nullptr},
};

int Usage() {
    std::cerr << "usage: kompendor-cli [--base DIR] COMMAND [ARGS...]\n\ncommands:\n";
    for (const CliCommand& c : kCommands) {
        if (c.name) std::cerr << "  " << c.name << " " << c.usage << "\n";
    }
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
    for (const CliCommand& c : kCommands) {
        if (c.name && std::strcmp(c.name, name) == 0) return c.run(args);
    }
    std::cerr << "kompendor-cli: unknown command '" << name << "'\n";
    return Usage();
}
