// libFuzzer target: any bytes as a workspace file and as a profile (an identifier array
// file), read as the main window reads them. Decoding must neither crash nor allocate for
// counts the bytes do not hold; what decodes must encode to the same workspace again, and
// reading the bytes from a file must come to the same result as decoding them.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "FuzzInput.h"
#include "mainwnd/IdArrayFile.h"
#include "mainwnd/Workspace.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::vector<std::uint8_t> bytes(data, data + size);

    CWorkspaceFile workspace;
    const WorkspaceRead read = DecodeWorkspace(bytes, workspace);
    if (read == WorkspaceRead::Ok || read == WorkspaceRead::Empty) {
        // What decodes is written back as the same workspace (not always the same bytes: a
        // count may come in its long form).
        CWorkspaceFile again;
        if (DecodeWorkspace(EncodeWorkspace(workspace), again) != read
            || again.version != workspace.version || again.tableKind != workspace.tableKind
            || again.allCountries != workspace.allCountries
            || again.countryIds != workspace.countryIds || again.dataIds != workspace.dataIds)
            __builtin_trap();
    }
    if (!WriteInput(data, size)) return 0;
    CWorkspaceFile fromFile;
    if (ReadWorkspaceFile(InputPath(), fromFile) != read) __builtin_trap();

    // The same bytes as a profile.
    std::vector<std::uint32_t> ids;
    CArchiveLoad load(bytes);
    const bool decoded = load.ReadIdArray(ids);
    if (decoded && ids.size() * 4 > size) __builtin_trap();
    std::vector<std::uint32_t> fileIds;
    if (ReadIdArrayFile(InputPath(), fileIds) != decoded || (decoded && fileIds != ids))
        __builtin_trap();
    return 0;
}
