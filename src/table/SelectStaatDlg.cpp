#include "table/SelectStaatDlg.h"

#include <QLineEdit>

#include "noxctrls/CheckCtrl.h"
#include "text/NOXTreeCtrl.h"

CSelectStaatDlg::CSelectStaatDlg(QWidget* parent, CDatabase* database, CTableHost* host)
    : CSelectionDlg(131, parent, database, host, "clt",
                    "Bitte wählen Sie zunächst die gewünschten Länder aus!"),
      m_allCountries(HostAllCountries(host)) {
    if (CCheckCtrl* all = Controls().Check(1038)) all->SetChecked(m_allCountries);
    InitCountryTree(*m_tree, m_database, m_allCountries);
    m_search = Controls().Edit(1025);
    if (m_search) connect(m_search, &QLineEdit::textChanged, this, &CSelectStaatDlg::OnChangeEdit);
}

void CSelectStaatDlg::SetSelection(const IdList& ids) {
    if (HostAllCountries(m_host) != m_allCountries) SetAllCountries(HostAllCountries(m_host));
    CSelectionDlg::SetSelection(ids);
}

void CSelectStaatDlg::ApplyToHost(CTableHost& host, const IdList& ids) {
    host.ApplySelection(ids, IdList());
}

void CSelectStaatDlg::OnCommand(int id) {
    if (id == 1038) {
        const CCheckCtrl* all = Controls().Check(1038);
        const bool on = all ? all->IsChecked() : !m_allCountries;
        if (m_host) m_host->SetAllCountries(on);
        SetAllCountries(on);
        return;
    }
    CSelectionDlg::OnCommand(id);
}

void CSelectStaatDlg::SetAllCountries(bool all) {
    m_allCountries = all;
    if (CCheckCtrl* check = Controls().Check(1038)) check->SetChecked(all);
    RefillCountryTree(*m_tree, all);
}

void CSelectStaatDlg::OnChangeEdit(const QString& text) {
    SelectCountryByPrefix(*m_tree, m_database, text, "CSelectStaatDlg::OnChangeEdit");
}
