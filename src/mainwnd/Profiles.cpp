#include "mainwnd/Profiles.h"

#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <stdexcept>

#include "data/ErrorReporter.h"
#include "data/ValueRoutines.h"
#include "mainwnd/IdArrayFile.h"

namespace fs = std::filesystem;

namespace {

std::string UpperAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return text;
}

// The position of ".<extension>" at the end of name, case ignored; npos when it does not end
// so or nothing stands before it.
std::size_t ExtensionAtEnd(const std::string& name, const std::string& extension) {
    const std::string suffix = "." + UpperAscii(extension);
    if (name.size() <= suffix.size()) return std::string::npos;
    const std::size_t pos = name.size() - suffix.size();
    return UpperAscii(name.substr(pos)) == suffix ? pos : std::string::npos;
}

// Files and folders whose names start with "." are hidden on this platform; "." and ".."
// are among them.
bool IsHidden(const std::string& name) { return name.empty() || name[0] == '.'; }

// Ordered as the program orders texts, then byte by byte so the order is total.
template <class T, class NameOf>
void SortByName(std::vector<T>& items, NameOf nameOf) {
    std::sort(items.begin(), items.end(), [&](const T& a, const T& b) {
        const std::string ka = SortKey(nameOf(a));
        const std::string kb = SortKey(nameOf(b));
        return ka != kb ? ka < kb : nameOf(a) < nameOf(b);
    });
}

struct CFolderEntry {
    std::string name;
    bool folder = false;
};

std::vector<CFolderEntry> ReadFolder(const std::string& folder) {
    std::vector<CFolderEntry> entries;
    std::error_code ec;
    fs::directory_iterator it(folder, ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (IsHidden(name)) continue;
        std::error_code typeError;
        entries.push_back({std::move(name), it->is_directory(typeError)});
    }
    return entries;
}

// The profiles of a folder as menu entries: files ending in ".<extension>".
std::vector<CProfileMenuEntry> ProfileEntries(const std::string& folder,
                                              const std::string& extension) {
    std::vector<CProfileMenuEntry> entries;
    for (const CFolderEntry& e : ReadFolder(folder)) {
        if (e.folder) continue;
        const std::size_t pos = ExtensionAtEnd(e.name, extension);
        if (pos != std::string::npos) entries.push_back({e.name.substr(0, pos), folder + e.name});
    }
    SortByName(entries, [](const CProfileMenuEntry& e) -> const std::string& { return e.name; });
    return entries;
}

}  // namespace

bool IsValidProfileName(const std::string& name) {
    if (name.empty() || name[0] == '.') return false;
    return name.find_first_of("/\\") == std::string::npos && name.find('\0') == std::string::npos;
}

std::string ProfileFilePath(const std::string& userData, const std::string& name,
                            const std::string& extension) {
    return userData + name + "." + extension;
}

std::vector<std::string> ListProfiles(const std::string& folder, const std::string& extension) {
    std::vector<std::string> names;
    for (CProfileMenuEntry& e : ProfileEntries(folder, extension)) names.push_back(e.name);
    return names;
}

const CProfileMenuEntry* CProfileMenuModel::Entry(int id) const {
    if (id <= 0) return nullptr;
    std::size_t index = static_cast<std::size_t>(id - 1);
    for (const CProfileSubmenu& submenu : submenus) {
        if (index < submenu.entries.size()) return &submenu.entries[index];
        index -= submenu.entries.size();
    }
    if (index < presets.size()) return &presets[index];
    index -= presets.size();
    if (index < user.size()) return &user[index];
    return nullptr;
}

CProfileMenuModel BuildProfileMenu(const std::string& presets, const std::string& userData,
                                   const std::string& extension) {
    CProfileMenuModel model;
    if (!presets.empty()) {
        const std::string folder = presets + extension + "/";
        const std::string upperExtension = "." + UpperAscii(extension);
        for (const CFolderEntry& e : ReadFolder(folder)) {
            if (e.folder) {
                // A sub-folder without profiles of this kind gives no submenu.
                CProfileSubmenu submenu{e.name, ProfileEntries(folder + e.name + "/", extension)};
                if (!submenu.entries.empty()) model.submenus.push_back(std::move(submenu));
                continue;
            }
            // Preset files need only contain ".<extension>"; the name ends before it.
            const std::size_t pos = UpperAscii(e.name).find(upperExtension);
            if (pos != std::string::npos)
                model.presets.push_back({e.name.substr(0, pos), folder + e.name});
        }
        SortByName(model.submenus,
                   [](const CProfileSubmenu& s) -> const std::string& { return s.name; });
        SortByName(model.presets,
                   [](const CProfileMenuEntry& e) -> const std::string& { return e.name; });
    }
    if (!userData.empty()) model.user = ProfileEntries(userData, extension);
    return model;
}

bool DeleteProfileFile(const std::string& userData, const std::string& name,
                       const std::string& extension) {
    if (!IsValidProfileName(name) || userData.empty()) return false;
    return ::unlink(ProfileFilePath(userData, name, extension).c_str()) == 0;
}

namespace NOXUtils {

bool SaveCObject(const IdList& ids, const std::string& path) {
    if (WriteIdArrayFile(path, ids)) return true;
    ReportDBError(std::runtime_error("Die Datei " + path + " konnte nicht geschrieben werden."),
                  "NOXUtils::SaveCObject");
    return false;
}

bool LoadCObject(IdList& ids, const std::string& path) {
    if (ReadIdArrayFile(path, ids)) return true;
    ReportDBError(std::runtime_error("Die Datei " + path + " konnte nicht gelesen werden."),
                  "NOXUtils::LoadCObject");
    return false;
}

}  // namespace NOXUtils
