#pragma once
// CMapSearch: the countries of the world map by name; choosing one centres the map on it
// (template 273, "MapSearch"). Owned by the map window.

#include "controls/TemplateDialog.h"

class CDatabase;
class CMapDlg;
class QListWidget;

class CMapSearch : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 273;
    enum ControlId { kClose = 1003, kList = 1050, kSchliessen = 1004 };

    CMapSearch(CMapDlg* map, CDatabase* database);

    // Lists every country of the map by title, the MapID as item data.
    void Fill();
    QListWidget* List() const;

protected:
    void OnCommand(int id) override;

private:
    CMapDlg* m_map;
    CDatabase* m_database;
};
