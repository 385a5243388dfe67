#pragma once
// Deleting profiles of one kind (template 206, "DeleteProfile"): a list of the user's profiles
// by name; the delete button, enabled while an entry is selected, deletes its file at once,
// without asking, and fills the list again. Modal.

#include <string>

#include "controls/TemplateDialog.h"

class QListWidget;

class CDeleteProfileDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 206;
    static constexpr int kCloseId = 1003;
    static constexpr int kDeleteId = 1032;
    static constexpr int kCancelId = 1005;
    static constexpr int kListId = 1050;

    // The profiles with extension ("clt", "vlt") in the user-data folder userData.
    CDeleteProfileDlg(std::string userData, std::string extension, QWidget* parent);

    QListWidget* List() const { return m_list; }

protected:
    void OnCommand(int id) override;

private:
    void Fill();
    void DeleteSelected();

    std::string m_userData;
    std::string m_extension;
    QListWidget* m_list = nullptr;
};
