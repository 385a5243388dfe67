#include "text/TBPanel.h"

#include "text/TBPanels.h"

CTBPanel::CTBPanel(int type, int templateId, QWidget* parent, CTBPanelHost* host,
                   CDatabase* database)
    : CTemplateDialog(templateId, parent, Placement::Child),
      m_host(host),
      m_database(database),
      m_type(type) {
    setObjectName(QStringLiteral("TBPanel%1").arg(type));
    setFont(PanelFont());
}

CTBPanel* CreateTBPanel(int type, QWidget* parent, CTBPanelHost& host, CDatabase& database) {
    CTBPanel* panel = nullptr;
    switch (type) {
        case 1:
            panel = new CTBPanel1(parent, &host, &database);
            break;
        case 2:
            panel = new CTBPanel2(parent, &host, &database);
            break;
        case 3:
            panel = new CTBPanel3(parent, &host, &database);
            break;
        case 4:
            panel = new CTBPanel4(parent, &host, &database);
            break;
        case 5:
            panel = new CTBPanel5(parent, &host, &database);
            break;
        case 6:
            panel = new CTBPanel6(parent, &host, &database);
            break;
        default:
            return nullptr;
    }
    panel->hide();
    panel->move(CTBPanel::kOffset);
    return panel;
}
