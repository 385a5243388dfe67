#pragma once
// Workspace files: one saved statistics table (its view, the all-entries setting and both ID
// lists) per workspace number, "%s%02u.zyb" in the user-data folder, in the archive encoding:
//
//   offset 0       string   version text "ZYB100" (length byte 6, no terminator)
//   offset 7       uint8    tableKind: 1 country-data view, anything else country comparison
//   offset 8       uint32   allCountries
//   offset 12      count    n, then n uint32 country IDs
//   offset 14+4n   count    m, then m uint32 data-field IDs
//
// All integers little-endian; a workspace with 3 countries and 2 data fields is 36 bytes.

#include <cstdint>
#include <string>
#include <vector>

using IdList = std::vector<std::uint32_t>;

// The version text of this program's workspace files.
inline constexpr const char* kWorkspaceVersion = "ZYB100";

// The numbers of the workspaces the command bar offers.
inline constexpr unsigned kFirstWorkspace = 1;
inline constexpr unsigned kLastWorkspace = 5;

// The messages of loading a workspace.
inline constexpr const char* kMsgWorkspaceVersion
    = "Der zu ladende Arbeitsbereich entspricht nicht der aktuellen Programmversion!\n"
      "Dieser Arbeitsbereich wird nun neu erstellt...";
inline constexpr const char* kMsgWorkspaceInvalid
    = "Der zu ladende Arbeitsbereich ist ungültig!\nDieser Arbeitsbereich wird nun neu erstellt...";
inline constexpr const char* kMsgWorkspaceLoadFailed
    = "Fehler beim Laden des Arbeitsbereichs.\n\nLadevorgang wurde abgebrochen";

struct CWorkspaceFile {
    std::string version = kWorkspaceVersion;
    std::uint8_t tableKind = 1;
    std::uint32_t allCountries = 0;
    IdList countryIds;
    IdList dataIds;
};

enum class WorkspaceRead {
    Ok,
    Missing,       // no file of that name
    Damaged,       // unreadable, cut short, or counts beyond what the file holds
    WrongVersion,  // a version text other than "ZYB100"; nothing after it was read
    Empty,         // a valid file with no countries or no data fields
};

// The bytes of a workspace file.
std::vector<std::uint8_t> EncodeWorkspace(const CWorkspaceFile& workspace);

// Reads a workspace file's bytes into workspace. On Damaged workspace is unchanged; on
// WrongVersion only its version is set; on Ok and Empty everything is.
WorkspaceRead DecodeWorkspace(const std::vector<std::uint8_t>& bytes, CWorkspaceFile& workspace);

// Reads the workspace file at path; Missing when it does not exist.
WorkspaceRead ReadWorkspaceFile(const std::string& path, CWorkspaceFile& workspace);

// Writes the workspace file at path through a temporary file, so a failed write keeps the old
// file. False on failure.
bool WriteWorkspaceFile(const std::string& path, const CWorkspaceFile& workspace);

// "%s%02u.zyb" with the user-data folder (ending with "/") and the number.
std::string WorkspaceFilePath(const std::string& userData, unsigned number);

// The state of a workspace button: 3 for the workspace in use, 2 when its file exists, 1
// otherwise.
int WorkspaceButtonState(const std::string& userData, unsigned number, unsigned current);
