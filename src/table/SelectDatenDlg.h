#pragma once
// The data-field selection window (template 158, "SelectDaten"): changes the data fields of
// the table shown. Modeless; the main window creates it on first use and keeps it.

#include "table/SelectionDlg.h"

class CSelectDatenDlg : public CSelectionDlg {
    Q_OBJECT
public:
    // database: the almanac the tree reads (not owned; null leaves it empty); host: the
    // window that takes the dialog's requests (not owned; may be null). The tree is filled at
    // once.
    explicit CSelectDatenDlg(QWidget* parent = nullptr, CDatabase* database = nullptr,
                             CTableHost* host = nullptr);

protected:
    void ApplyToHost(CTableHost& host, const IdList& ids) override;
};
