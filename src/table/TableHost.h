#pragma once
// What the table window, its cells and the selection dialogs ask of the main window. The
// main window implements it and hands itself in (the table window and its cells through
// their CTableResources, the dialogs in their constructors), so the table code needs no
// main-window headers; windows never open other windows themselves.

#include <cstdint>
#include <string>
#include <vector>

using IdList = std::vector<std::uint32_t>;

class CTableHost {
public:
    virtual ~CTableHost() = default;

    // Commands of the cells and their context menus.
    virtual void OpenTextBrowserLandID(std::int32_t landId) = 0;  // "Länderinfo zeigen"
    virtual void ShowMap(std::int32_t landId) = 0;                 // "Karte zeigen"
    virtual void ShowFlag(std::int32_t landId) = 0;                // flag in a country head
    virtual void ShowMapValues(std::int32_t valId, unsigned year) = 0;  // world map
    virtual void OpenCountrySelection() = 0;
    virtual void OpenDataSelection() = 0;

    // The table window's requests.
    virtual void OpenCellInfo(std::int32_t landId, std::int32_t valId, unsigned year) = 0;
    virtual void PrintHTML(const std::string& html) = 0;
    // The table bar's close button: closes the table and its dialogs and deletes the
    // workspace file of this table.
    virtual void CloseTable() = 0;

    // The selection dialogs' requests. An empty list is "not given" (the other list stays).
    virtual void ApplySelection(const IdList& countries, const IdList& dataIds) = 0;
    virtual const IdList& CountryIds() const = 0;
    virtual const IdList& DataIds() const = 0;
    // The all-entries setting shared by both country trees.
    virtual bool AllCountries() const = 0;
    virtual void SetAllCountries(bool all) = 0;

    // Profiles ("clt" country lists, "vlt" data-field lists). ProfileMenu opens the menu at a
    // screen position and gives the chosen profile's name and path; false when none chosen.
    virtual bool ProfileMenu(const std::string& extension, int screenX, int screenY,
                             std::string& name, std::string& path) = 0;
    // Asks for a name in the save-profile dialog, then stores the list under it.
    virtual void SaveProfileAsk(const std::string& extension, const IdList& ids) = 0;
    virtual void DeleteProfile(const std::string& extension) = 0;
    // Reads a profile file; false (list unchanged) when it cannot be read.
    virtual bool LoadCObject(const std::string& path, IdList& ids) = 0;
};
