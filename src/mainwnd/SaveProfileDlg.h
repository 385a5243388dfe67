#pragma once
// The name prompt of saving a profile (template 176, "SaveProfile"): an edit field, OK and
// Cancel. Modal; OK or Enter accepts, Cancel or Escape rejects.

#include <QString>

#include "controls/TemplateDialog.h"

class QLineEdit;

class CSaveProfileDlg : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 176;
    static constexpr int kOkId = 1004;
    static constexpr int kCancelId = 1005;
    static constexpr int kNameId = 1025;

    // Built from its template and centred over parent.
    explicit CSaveProfileDlg(QWidget* parent);

    // The name typed, without surrounding blanks.
    QString Name() const;
    QLineEdit* NameEdit() const { return m_name; }

protected:
    void OnCommand(int id) override;

private:
    QLineEdit* m_name = nullptr;
};
