#pragma once
// The country selection window (template 131, "SelectStaaten"): changes the countries of the
// table shown. Modeless; the main window creates it on first use and keeps it.

#include "table/SelectionDlg.h"

class QLineEdit;

class CSelectStaatDlg : public CSelectionDlg {
    Q_OBJECT
public:
    // database: the almanac the tree reads (not owned; null leaves it empty); host: the
    // window that takes the dialog's requests (not owned; may be null). The tree is filled at
    // once, with or without the all-entries filter as the host has it.
    explicit CSelectStaatDlg(QWidget* parent = nullptr, CDatabase* database = nullptr,
                             CTableHost* host = nullptr);

    // Also takes over a change of the all-entries setting made in another dialog.
    void SetSelection(const IdList& ids) override;

protected:
    void ApplyToHost(CTableHost& host, const IdList& ids) override;
    void OnCommand(int id) override;

private:
    void OnChangeEdit(const QString& text);
    void SetAllCountries(bool all);

    QLineEdit* m_search = nullptr;
    bool m_allCountries = false;
};
