#pragma once
// The table configuration dialog (template 168, "TabConfig"): countries and data fields of a
// new or changed table at once, and its view. Modal; the main window runs it and takes the
// ticked lists afterwards.

#include "controls/TemplateDialog.h"
#include "table/TableHost.h"

class CDatabase;
class CNOXTreeCtrl;
class QLineEdit;

class CTabConfigDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // The view a finished dialog chose: 1 the country-data view, 2 the country-comparison view;
    // -1 when it was cancelled.
    enum Result { kCancel = -1, kLaenderdaten = 1, kLaendervergleich = 2 };

    // database: the almanac the trees read (not owned; null leaves them empty); host: the
    // window that takes the dialog's requests (not owned; may be null).
    explicit CTabConfigDlg(QWidget* parent = nullptr, CDatabase* database = nullptr,
                           CTableHost* host = nullptr);
    ~CTabConfigDlg() override;

    // The lists ticked when the dialog opens (the current table's); without a call it opens
    // with nothing ticked.
    void SetSelection(const IdList& countries, const IdList& dataIds);

    // Fills both trees, shows the dialog and runs it modally: 1, 2 or -1 (see Result).
    int exec() override;

    // The ticked lists in tree order, valid after exec() returned 1 or 2.
    const IdList& Countries() const { return m_countries; }
    const IdList& DataIds() const { return m_dataIds; }

    CNOXTreeCtrl* CountryTree() const { return m_countryTree; }
    CNOXTreeCtrl* DataTree() const { return m_dataTree; }

    // Fills both trees from the database; exec() does it, a caller may do it earlier.
    void FillTrees();

public slots:
    void reject() override;

protected:
    void OnCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    void OnOpenTimer();
    void OnChangeEditland(const QString& text);
    void TestSelection(int view);
    void SaveProfile(const CNOXTreeCtrl* tree, const char* extension);

    CDatabase* m_database;
    CTableHost* m_host;
    CNOXTreeCtrl* m_countryTree = nullptr;
    CNOXTreeCtrl* m_dataTree = nullptr;
    QLineEdit* m_search = nullptr;
    IdList m_presetCountries;
    IdList m_presetDataIds;
    IdList m_countries;
    IdList m_dataIds;
    bool m_filled = false;
    bool m_allCountries = false;
};
