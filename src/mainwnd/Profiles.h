#pragma once
// Profiles: named, saved selection lists, "<user data><name>.clt" for countries and
// "<user data><name>.vlt" for data fields, each a count and the IDs in the archive encoding.
// The installation adds ready-made ones below its presets folder: "<presets>clt/" and
// "<presets>vlt/", with sub-folders that group further presets.

#include <cstdint>
#include <string>
#include <vector>

using IdList = std::vector<std::uint32_t>;

// The hints of saving a profile.
inline constexpr const char* kMsgProfileNoData
    = "Wählen Sie bitte zunächst die Daten aus, die Sie in einem Profil speichern möchten...";
inline constexpr const char* kMsgProfileNoName
    = "Bitte geben Sie zunächst den Namen des zu speichernden Profiles an...";
// printf-style: the profile's name.
inline constexpr const char* kMsgProfileExists
    = "Ein Profil mit dem Namen %s ist bereits vorhanden!\n\nMöchten Sie dieses überschreiben?";
inline constexpr const char* kMsgProfileWriteFailed
    = "Beim speichern des Profils ist ein Fehler aufgetreten!";
inline constexpr const char* kMsgProfileBadName
    = "Der Profilname darf keinen Schrägstrich enthalten und nicht mit einem Punkt beginnen.";

// A name is stored as a file in the user-data folder and nowhere else: no "/" or "\" (which
// would reach other folders), no leading "." (hidden files, "." and ".."), not empty.
bool IsValidProfileName(const std::string& name);

// "%s%s.%s": user-data folder (ending with "/"), name and extension.
std::string ProfileFilePath(const std::string& userData, const std::string& name,
                            const std::string& extension);

// The names, without extension, of the files in folder whose names end in "." and extension
// (case ignored), sorted as the program sorts texts. Hidden files are left out.
std::vector<std::string> ListProfiles(const std::string& folder, const std::string& extension);

struct CProfileMenuEntry {
    std::string name;  // shown in the menu, without extension
    std::string path;  // the profile file
};

struct CProfileSubmenu {
    std::string name;  // the sub-folder's name
    std::vector<CProfileMenuEntry> entries;
};

// What the profile menu of one extension offers: preset sub-folders as submenus, preset
// files, then (after a separator when there are presets) the user's own profiles. The menu's
// item ids number the entries from 1 in that order.
struct CProfileMenuModel {
    std::vector<CProfileSubmenu> submenus;
    std::vector<CProfileMenuEntry> presets;
    std::vector<CProfileMenuEntry> user;

    bool HasPresets() const { return !submenus.empty() || !presets.empty(); }
    // The entry with that menu id; null for 0 and ids beyond the last.
    const CProfileMenuEntry* Entry(int id) const;
};

// Reads the presets below "<presets><extension>/" and the user's profiles in userData. An
// empty presets folder setting means no presets.
CProfileMenuModel BuildProfileMenu(const std::string& presets, const std::string& userData,
                                   const std::string& extension);

// Deletes the profile name of that extension from userData. False for an unusable name or
// when the file could not be removed.
bool DeleteProfileFile(const std::string& userData, const std::string& name,
                       const std::string& extension);

namespace NOXUtils {

// Writes the identifier list to path (replacing the file safely). Failures go to the error
// reporter with "NOXUtils::SaveCObject"; returns success.
bool SaveCObject(const IdList& ids, const std::string& path);
// Reads the identifier list of path; on failure ids stay unchanged and the failure goes to
// the error reporter with "NOXUtils::LoadCObject".
bool LoadCObject(IdList& ids, const std::string& path);

}  // namespace NOXUtils
