// kompendor-cli workspace FILE: the content of a workspace file, one name=value line per field,
// or the message the program shows when it cannot use the file.
#include <iostream>

#include "cli/CliCommand.h"
#include "mainwnd/Workspace.h"

namespace {

std::string Join(const IdList& ids) {
    std::string text;
    for (std::uint32_t id : ids) {
        if (!text.empty()) text += ',';
        text += std::to_string(id);
    }
    return text;
}

}  // namespace

int RunWorkspace(const CliArgs& args) {
    if (args.args.size() != 1) {
        std::cerr << "kompendor-cli workspace: expects one workspace file\n";
        return 2;
    }
    const std::string& path = args.args[0];
    CWorkspaceFile workspace;
    switch (ReadWorkspaceFile(path, workspace)) {
        case WorkspaceRead::Missing:
            std::cerr << "kompendor-cli workspace: no such file: " << path << '\n';
            return 1;
        case WorkspaceRead::Damaged:
            std::cerr << kMsgWorkspaceLoadFailed << '\n';
            return 1;
        case WorkspaceRead::WrongVersion:
            std::cerr << kMsgWorkspaceVersion << '\n';
            return 1;
        case WorkspaceRead::Empty:
            std::cerr << kMsgWorkspaceInvalid << '\n';
            return 1;
        case WorkspaceRead::Ok:
            break;
    }
    std::cout << "version=" << workspace.version << '\n'
              << "tableKind=" << unsigned(workspace.tableKind)
              << (workspace.tableKind == 1 ? " (Länderdaten)" : " (Ländervergleich)") << '\n'
              << "allCountries=" << workspace.allCountries << '\n'
              << "countryIds=" << Join(workspace.countryIds) << '\n'
              << "dataIds=" << Join(workspace.dataIds) << '\n';
    return 0;
}
