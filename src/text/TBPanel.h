#pragma once
// The navigation panels on the left of the article window. The panel number is the article
// type (HTML.Typ) of the articles it leads to: 1 countries, 3 organisations, 4 topics and 6
// help are trees over the navigation tables Nav1, Nav3, Nav4 and Nav6; 2 persons and 5 the
// glossary are lists of articles. Panels 1, 2, 3 and 5 search as the user types.
//
// A panel shows the chosen article through its host, the article window (with a history
// entry, without selecting it in the panel again); the article window asks the panel to
// select the article it shows, and the section the reader has scrolled to, with SelectID.
//
// Database failures go to the reporter with the panel's context strings
// ("CTBPanel1::OnSelchangedTree", "CTBPanel1::Select", "CTBPanel1::OnChangeEdit", ...); the
// panel keeps what it shows.

#include <cstdint>
#include <string>

#include "controls/TemplateDialog.h"

class CDatabase;
class CTBPanelHost;

class CTBPanel : public CTemplateDialog {
    Q_OBJECT
public:
    // The panel's place in the article window.
    static constexpr QPoint kOffset{4, 48};

    // Selects the entry of article htmlId, with a non-empty anchor the one of that section.
    // Selecting here never shows an article again.
    virtual void SelectID(std::int32_t htmlId, const std::string& anchor) = 0;

    // 1 to 6.
    int PanelType() const { return m_type; }

protected:
    // host and database are not owned and outlive the panel.
    CTBPanel(int type, int templateId, QWidget* parent, CTBPanelHost* host, CDatabase* database);

    CTBPanelHost* m_host;
    CDatabase* m_database;

private:
    int m_type;
};

// The panel of type (1 to 6) as a child of parent at kOffset, not yet shown; null for any
// other type. The article window shows it and calls SelectID on it.
CTBPanel* CreateTBPanel(int type, QWidget* parent, CTBPanelHost& host, CDatabase& database);
