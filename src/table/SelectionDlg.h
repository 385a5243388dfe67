#pragma once
// What the country and data-field selection windows share: a modeless skinned window kept by
// the main window, with one tree of ticked items, a loaded-list name, profiles of one kind,
// apply, close and untick-all. The set-up of the country and data-field trees, the country
// search and the loading of a profile are shared with the configuration dialog as well.

#include <string>

#include "controls/TemplateDialog.h"
#include "table/TableHost.h"

class CDatabase;
class CNOXTreeCtrl;
class CStaticCtrl;

// The condition of the country trees: "LandTyp=1", or none when all entries are offered.
std::string CountryFilter(bool allCountries);
// Sets tree up as a country tree over "Land" (bitmaps, colours, order by title) and fills it.
void InitCountryTree(CNOXTreeCtrl& tree, CDatabase* database, bool allCountries);
// Sets tree up as the data-field tree over "Val", ticking by groups, and fills it.
void InitDataTree(CNOXTreeCtrl& tree, CDatabase* database);
// Fills a country tree again with or without the filter; the ticks that it still shows stay.
void RefillCountryTree(CNOXTreeCtrl& tree, bool allCountries);
// The all-entries setting: the main window's, false without one.
bool HostAllCountries(const CTableHost* host);

// The type-ahead: selects the first top-level country whose title starts with text, in
// alphabetical order, and scrolls it into the middle of the list. A text that matches none is
// reported with context and selects nothing. Quotes and wildcards in text match only themselves.
void SelectCountryByPrefix(CNOXTreeCtrl& tree, CDatabase* database, const QString& text,
                           const char* context);

// The ticked IDs as the main window keeps its lists; ticks exactly ids.
IdList CheckedIds(const CNOXTreeCtrl& tree);
void CheckIds(CNOXTreeCtrl& tree, const IdList& ids);

// Opens the main window's profile menu of that kind below the name field (2 pixels left of its
// lower-left corner); when a list is chosen and read, shows its name in the field and ticks
// exactly its items. False when nothing was chosen or the file could not be read.
bool LoadProfileInto(CTableHost* host, CNOXTreeCtrl& tree, const char* extension,
                     CStaticCtrl* nameField);

class CSelectionDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // Ticks exactly ids (opening the levels that hold them) with the tree redrawn once; the
    // main window gives its current list each time it opens the window.
    virtual void SetSelection(const IdList& ids);

    CNOXTreeCtrl* Tree() const { return m_tree; }

protected:
    // templateId: the window's template; extension: the profile kind ("clt", "vlt");
    // emptyMessage: the hint shown when applying with nothing ticked; database: the almanac
    // the tree reads (not owned; null leaves the tree empty); host: the window that takes
    // the dialog's requests (not owned; null: they go nowhere).
    CSelectionDlg(int templateId, QWidget* parent, CDatabase* database, CTableHost* host,
                  std::string extension, std::string emptyMessage);

    // Hands the ticked list to the main window.
    virtual void ApplyToHost(CTableHost& host, const IdList& ids) = 0;

    void OnCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Applies the ticked list; false (window stays as it is) when nothing is ticked.
    bool Apply();

    CDatabase* m_database;
    CTableHost* m_host;
    CNOXTreeCtrl* m_tree = nullptr;

private:
    std::string m_extension;
    std::string m_emptyMessage;
};
