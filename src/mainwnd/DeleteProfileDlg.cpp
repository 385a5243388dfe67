#include "mainwnd/DeleteProfileDlg.h"

#include <QListWidget>

#include "mainwnd/DialogPlacement.h"
#include "mainwnd/Profiles.h"

CDeleteProfileDlg::CDeleteProfileDlg(std::string userData, std::string extension, QWidget* parent)
    : CTemplateDialog(kTemplate, parent, Placement::Window),
      m_userData(std::move(userData)),
      m_extension(std::move(extension)) {
    setModal(true);
    m_list = Control<QListWidget>(kListId);
    if (m_list) {
        m_list->setSelectionMode(QAbstractItemView::SingleSelection);
        connect(m_list, &QListWidget::itemSelectionChanged, this,
                [this] { EnableControl(kDeleteId, !m_list->selectedItems().isEmpty()); });
    }
    Fill();
    CenterOverParent(*this, parent ? parent->window() : nullptr);
}

void CDeleteProfileDlg::Fill() {
    EnableControl(kDeleteId, false);
    if (!m_list) return;
    m_list->clear();
    for (const std::string& name : ListProfiles(m_userData, m_extension))
        m_list->addItem(QString::fromStdString(name));
    EnableControl(kDeleteId, !m_list->selectedItems().isEmpty());
}

void CDeleteProfileDlg::DeleteSelected() {
    if (!m_list || m_list->selectedItems().isEmpty()) return;
    DeleteProfileFile(m_userData, m_list->selectedItems().first()->text().toStdString(),
                      m_extension);
    Fill();
}

void CDeleteProfileDlg::OnCommand(int id) {
    switch (id) {
        case kDeleteId:
            DeleteSelected();
            break;
        case kCloseId:
        case kCancelId:
            reject();
            break;
        default:
            break;
    }
}
