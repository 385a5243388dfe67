#include "mainwnd/Workspace.h"

#include <sys/stat.h>

#include <cerrno>
#include <cstdio>

#include "mainwnd/IdArrayFile.h"

std::vector<std::uint8_t> EncodeWorkspace(const CWorkspaceFile& workspace) {
    CArchiveStore store;
    store.WriteString(workspace.version);
    store.WriteUInt8(workspace.tableKind);
    store.WriteUInt32(workspace.allCountries);
    store.WriteIdArray(workspace.countryIds);
    store.WriteIdArray(workspace.dataIds);
    return store.Bytes();
}

WorkspaceRead DecodeWorkspace(const std::vector<std::uint8_t>& bytes, CWorkspaceFile& workspace) {
    CArchiveLoad load(bytes);
    std::string version;
    if (!load.ReadString(version)) return WorkspaceRead::Damaged;
    // An older program's file is not read any further: its layout may differ.
    if (version != kWorkspaceVersion) {
        workspace.version = version;
        return WorkspaceRead::WrongVersion;
    }
    CWorkspaceFile read;
    read.version = version;
    // The view, the all-entries setting, then both lists; ReadIdArray refuses a count
    // the rest of the file cannot hold.
    if (!load.ReadUInt8(read.tableKind) || !load.ReadUInt32(read.allCountries)
        || !load.ReadIdArray(read.countryIds) || !load.ReadIdArray(read.dataIds))
        return WorkspaceRead::Damaged;
    workspace = std::move(read);
    if (workspace.countryIds.empty() || workspace.dataIds.empty()) return WorkspaceRead::Empty;
    return WorkspaceRead::Ok;
}

WorkspaceRead ReadWorkspaceFile(const std::string& path, CWorkspaceFile& workspace) {
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 && errno == ENOENT) return WorkspaceRead::Missing;
    std::vector<std::uint8_t> bytes;
    if (!ReadFileBytes(path, bytes)) return WorkspaceRead::Damaged;
    return DecodeWorkspace(bytes, workspace);
}

bool WriteWorkspaceFile(const std::string& path, const CWorkspaceFile& workspace) {
    const std::vector<std::uint8_t> bytes = EncodeWorkspace(workspace);
    // A file that already holds the workspace stays as it is (the table shown on start-up
    // is saved again at once).
    std::vector<std::uint8_t> existing;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) && std::size_t(st.st_size) == bytes.size()
        && ReadFileBytes(path, existing) && existing == bytes)
        return true;
    return WriteFileReplacing(path, bytes);
}

std::string WorkspaceFilePath(const std::string& userData, unsigned number) {
    char name[16];
    std::snprintf(name, sizeof name, "%02u.zyb", number);
    return userData + name;
}

int WorkspaceButtonState(const std::string& userData, unsigned number, unsigned current) {
    if (number == current) return 3;
    struct stat st;
    return ::stat(WorkspaceFilePath(userData, number).c_str(), &st) == 0 ? 2 : 1;
}
