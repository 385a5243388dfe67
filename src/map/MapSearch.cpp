#include "map/MapSearch.h"

#include <QListWidget>

#include "map/MapData.h"
#include "map/MapDlg.h"

CMapSearch::CMapSearch(CMapDlg* map, CDatabase* database)
    : CTemplateDialog(kTemplate, map, Placement::Window), m_map(map), m_database(database) {
    setObjectName(QStringLiteral("MapSearch"));
    setAttribute(Qt::WA_DeleteOnClose);
    Fill();
    if (QListWidget* list = List()) {
        connect(list, &QListWidget::currentItemChanged, this, [this](QListWidgetItem* item) {
            if (item && m_map) m_map->ZoomToCountry(item->data(Qt::UserRole).toInt());
        });
        list->setFocus();
    }
}

QListWidget* CMapSearch::List() const { return Control<QListWidget>(kList); }

void CMapSearch::Fill() {
    QListWidget* list = List();
    if (!list || !m_database) return;
    for (const CMapCountry& c : ReadMapCountries(*m_database)) {
        auto* item = new QListWidgetItem(QString::fromStdString(c.title), list);
        item->setData(Qt::UserRole, c.mapId);
    }
}

void CMapSearch::OnCommand(int id) {
    if (id == kClose || id == kSchliessen) {
        close();
        return;
    }
    CTemplateDialog::OnCommand(id);
}
