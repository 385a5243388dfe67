#include "controls/TemplateDialog.h"

#include <QKeyEvent>

#include "noxctrls/NoxCtrl.h"

namespace {

QString& UiDirectoryValue() {
    static QString directory;
    return directory;
}

Qt::WindowFlags FlagsFor(CTemplateDialog::Placement placement) {
    if (placement == CTemplateDialog::Placement::Child) return Qt::Widget;
    return Qt::Dialog | Qt::FramelessWindowHint;
}

}  // namespace

CTemplateDialog::CTemplateDialog(int templateId, QWidget* parent, Placement placement,
                                 const QString& uiDirectory)
    : QDialog(parent, FlagsFor(placement)), m_placement(placement) {
    QString error;
    m_hasTemplate = LoadWindowTemplate(templateId, m_layout, error);
    if (!m_hasTemplate) {
        m_layout = CWindowTemplate();
        m_layout.number = templateId;
        m_errors.append(error);
    }
    Build(uiDirectory);
}

CTemplateDialog::CTemplateDialog(const CWindowTemplate& layout, QWidget* parent,
                                 Placement placement, const QString& uiDirectory)
    : QDialog(parent, FlagsFor(placement)),
      m_layout(layout),
      m_hasTemplate(true),
      m_placement(placement) {
    Build(uiDirectory);
}

void CTemplateDialog::Build(const QString& uiDirectory) {
    // QDialog makes itself a window whatever the flags say; a child dialog must stay a child.
    if (m_placement == Placement::Child) setWindowFlags(Qt::Widget);
    setObjectName(m_layout.name);
    if (!m_hasTemplate) return;
    setWindowTitle(m_layout.title);
    const QString ui = uiDirectory.isEmpty() ? UiDirectory() : uiDirectory;
    m_errors += m_controls.Build(m_layout, this, ui);
    for (int id : m_controls.Ids()) {
        if (auto* nox = m_controls.Control<CNoxCtrl>(id))
            connect(nox, &CNoxCtrl::command, this, &CTemplateDialog::OnCommand);
    }
    resize(m_layout.size);
}

void CTemplateDialog::SetUiDirectory(const QString& directory) { UiDirectoryValue() = directory; }

QString CTemplateDialog::UiDirectory() { return UiDirectoryValue(); }

void CTemplateDialog::EnableControl(int id, bool enable) {
    if (QWidget* control = m_controls.Control(id)) control->setEnabled(enable);
}

void CTemplateDialog::OnCommand(int id) { emit command(id); }

void CTemplateDialog::resizeEvent(QResizeEvent* event) {
    m_controls.Relayout(size());
    QDialog::resizeEvent(event);
}

void CTemplateDialog::keyPressEvent(QKeyEvent* event) {
    // Escape closes a dialog window; in a bar or panel it belongs to the window around it.
    if (m_placement == Placement::Child) {
        QWidget::keyPressEvent(event);
        return;
    }
    QDialog::keyPressEvent(event);
}
