#include "mainwnd/SaveProfileDlg.h"

#include <QLineEdit>

#include "mainwnd/DialogPlacement.h"

CSaveProfileDlg::CSaveProfileDlg(QWidget* parent)
    : CTemplateDialog(kTemplate, parent, Placement::Window) {
    setModal(true);
    m_name = Controls().Edit(kNameId);
    if (m_name) {
        // The name becomes a file name; longer ones than the file system takes cannot be
        // stored anyway.
        m_name->setMaxLength(200);
        connect(m_name, &QLineEdit::returnPressed, this, &QDialog::accept);
        m_name->setFocus();
    }
    CenterOverParent(*this, parent ? parent->window() : nullptr);
}

QString CSaveProfileDlg::Name() const { return m_name ? m_name->text().trimmed() : QString(); }

void CSaveProfileDlg::OnCommand(int id) {
    if (id == kOkId)
        accept();
    else if (id == kCancelId)
        reject();
}
