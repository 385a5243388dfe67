#include "table/SelectionDlg.h"

#include <QKeyEvent>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "noxctrls/StaticCtrl.h"
#include "platform/MessageBox.h"
#include "text/NOXTreeCtrl.h"

std::string CountryFilter(bool allCountries) { return allCountries ? "" : "LandTyp=1"; }

bool HostAllCountries(const CTableHost* host) { return host && host->AllCountries(); }

// The selected row of the selection trees: the warm accent of the table's selected cell, which
// stands out from both trees' colours.
const QColor kSelectionFrame(255, 138, 14);

void InitCountryTree(CNOXTreeCtrl& tree, CDatabase* database, bool allCountries) {
    tree.SetSelectionFrame(kSelectionFrame);
    tree.SetItemBitmaps(166, 160, 0);
    tree.SetCheckBitmaps(163, 164, 163, 164);
    tree.SetColours(Qt::white, Qt::white, Qt::white, QColor(94, 106, 134), QColor(84, 95, 122),
                    QColor(84, 95, 122));
    // Country lists read alphabetically everywhere in the program.
    tree.SetOrder("Title ASC");
    tree.InitTree(database, "Land", CountryFilter(allCountries));
    tree.Refresh();
}

void InitDataTree(CNOXTreeCtrl& tree, CDatabase* database) {
    tree.SetSelectionFrame(kSelectionFrame);
    // The nodes are groups of data fields, not fields: a tick on a group means its fields.
    tree.SetTickGroups(true);
    tree.SetItemBitmaps(175, 174, 0);
    tree.SetCheckBitmaps(173, 170, 173, 170);
    const QColor ink(63, 63, 63);
    tree.SetColours(ink, ink, ink, QColor(214, 204, 175), QColor(204, 187, 158),
                    QColor(204, 187, 158));
    tree.InitTree(database, "Val", "");
    tree.Refresh();
}

void RefillCountryTree(CNOXTreeCtrl& tree, bool allCountries) {
    const CNOXTreeCtrl::IdVector ticked = tree.GetCheckedIDs();
    // Re-initialising clears the selection; the user's place in the list stays all the same.
    const std::int32_t selected = tree.GetSelectedID();
    tree.setUpdatesEnabled(false);
    tree.ReinitTree(tree.Database(), "Land", CountryFilter(allCountries));
    tree.Refresh();
    // The user's ticks survive the change of what the tree offers, as far as it still shows
    // them.
    tree.SetCheckedIDs(ticked);
    if (selected > 0) tree.SelectID(selected);
    tree.setUpdatesEnabled(true);
}

void SelectCountryByPrefix(CNOXTreeCtrl& tree, CDatabase* database, const QString& text,
                           const char* context) {
    if (!database) return;
    // The typed text is a prefix to match literally: its quotes and wildcards must neither
    // end the SQL string nor widen the pattern.
    const std::string pattern = SqlQuote(LikeEscape(text.toStdString()));
    const std::string sql = SqlFormat(
        "SELECT * FROM Land WHERE Title LIKE '%s*' AND PID=0 ORDER BY Title ASC", pattern.c_str());
    std::int32_t id = 0;
    // Without a match the read of the first record fails and is reported.
    const bool found = DBRead(*database, sql, context, [&](CRecordset& rs) {
        double number = 0;
        ToNumber(rs.GetFieldValue("ID"), number);
        id = static_cast<std::int32_t>(number);
    });
    // The match stands in the middle of the list, with rows before and after it in view.
    if (found && id > 0 && tree.SelectID(id, true, false)) tree.ScrollToCentre(tree.FindItem(id));
}

IdList CheckedIds(const CNOXTreeCtrl& tree) {
    IdList ids;
    for (std::int32_t id : tree.GetCheckedIDs()) ids.push_back(static_cast<std::uint32_t>(id));
    return ids;
}

void CheckIds(CNOXTreeCtrl& tree, const IdList& ids) {
    CNOXTreeCtrl::IdVector wanted;
    wanted.reserve(ids.size());
    for (std::uint32_t id : ids) wanted.push_back(static_cast<std::int32_t>(id));
    tree.SetCheckedIDs(wanted);
}

bool LoadProfileInto(CTableHost* host, CNOXTreeCtrl& tree, const char* extension,
                     CStaticCtrl* nameField) {
    if (!host) return false;
    QWidget* anchor = nameField ? static_cast<QWidget*>(nameField) : &tree;
    const QPoint at = anchor->mapToGlobal(QPoint(-2, anchor->height()));
    std::string name, path;
    if (!host->ProfileMenu(extension, at.x(), at.y(), name, path)) return false;
    IdList ids;
    if (!host->LoadCObject(path, ids)) return false;
    if (nameField) nameField->SetText(QString::fromStdString(name));
    CheckIds(tree, ids);
    return true;
}

CSelectionDlg::CSelectionDlg(int templateId, QWidget* parent, CDatabase* database,
                             CTableHost* host, std::string extension, std::string emptyMessage)
    : CTemplateDialog(templateId, parent, Placement::Window),
      m_database(database),
      m_host(host),
      m_extension(std::move(extension)),
      m_emptyMessage(std::move(emptyMessage)) {
    m_tree = new CNOXTreeCtrl(this);
    if (!Controls().Replace(1015, m_tree)) m_tree->setGeometry(12, 74, width() - 24, 300);
    m_tree->setFocus();
}

void CSelectionDlg::SetSelection(const IdList& ids) { CheckIds(*m_tree, ids); }

bool CSelectionDlg::Apply() {
    const IdList ids = CheckedIds(*m_tree);
    if (ids.empty()) {
        ShowMessageBox(m_emptyMessage, kCaptionHinweis, MsgIcon::Information);
        return false;
    }
    if (m_host) ApplyToHost(*m_host, ids);
    return true;
}

void CSelectionDlg::OnCommand(int id) {
    switch (id) {
        case 1004:
            if (Apply()) close();
            break;
        case 1006:
            Apply();
            break;
        case 1003:
        case 1005:
            close();
            break;
        case 1029:
        case 1030:
            LoadProfileInto(m_host, *m_tree, m_extension.c_str(), Controls().Static(1030));
            break;
        case 1031:
            if (m_host) m_host->SaveProfileAsk(m_extension, CheckedIds(*m_tree));
            break;
        case 1032:
            if (m_host) m_host->DeleteProfile(m_extension);
            break;
        case 1009:
            m_tree->UncheckAll();
            break;
        default:
            CTemplateDialog::OnCommand(id);
    }
}

void CSelectionDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        OnCommand(1004);
        event->accept();
        return;
    }
    CTemplateDialog::keyPressEvent(event);
}
