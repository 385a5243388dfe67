#pragma once
// What the country and data-field selection windows share: a modeless skinned window kept by
// the main window, with one tree of ticked items, a loaded-list name, profiles of one kind,
// apply, close and untick-all.

#include <string>

#include "controls/TemplateDialog.h"
#include "table/TableHost.h"

class CDatabase;
class CNOXTreeCtrl;

class CSelectionDlg : public CTemplateDialog {
    Q_OBJECT
public:
    // Ticks exactly ids (opening the levels that hold them) with the tree redrawn once; the
    // main window gives its current list each time it opens the window.
    void SetSelection(const IdList& ids);

    CNOXTreeCtrl* Tree() const { return m_tree; }

protected:
    // templateId: the window's template; extension: the profile kind ("clt", "vlt");
    // emptyMessage: the hint shown when applying with nothing ticked. database null takes the
    // application's.
    CSelectionDlg(int templateId, QWidget* parent, CDatabase* database, std::string extension,
                  std::string emptyMessage);

    // Hands the ticked list to the main window.
    virtual void ApplyToHost(CTableHost& host, const IdList& ids) = 0;

    void OnCommand(int id) override;
    void keyPressEvent(QKeyEvent* event) override;

    // Applies the ticked list; false (window stays as it is) when nothing is ticked.
    bool Apply();
    void LoadProfile();

    CDatabase* m_database;
    CNOXTreeCtrl* m_tree = nullptr;

private:
    std::string m_extension;
    std::string m_emptyMessage;
};
