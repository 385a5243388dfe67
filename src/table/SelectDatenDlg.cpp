#include "table/SelectDatenDlg.h"

#include "text/NOXTreeCtrl.h"

CSelectDatenDlg::CSelectDatenDlg(QWidget* parent, CDatabase* database, CTableHost* host)
    : CSelectionDlg(158, parent, database, host, "vlt",
                    "Bitte wählen Sie zunächst die gewünschten Datenfelder aus!") {
    InitDataTree(*m_tree, m_database);
}

void CSelectDatenDlg::ApplyToHost(CTableHost& host, const IdList& ids) {
    host.ApplySelection(IdList(), ids);
}
