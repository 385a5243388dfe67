#include "platform/ui/QtDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconOf(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Information:
            return QMessageBox::Information;
        case MsgIcon::Question:
            return QMessageBox::Question;
        case MsgIcon::Warning:
            return QMessageBox::Warning;
        case MsgIcon::Stop:
            return QMessageBox::Critical;
        case MsgIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

struct ButtonText {
    MsgAnswer answer;
    QMessageBox::ButtonRole role;
    const char* text;
};

ButtonText TextOf(MsgAnswer answer) {
    switch (answer) {
        case IDOK:
            return {IDOK, QMessageBox::AcceptRole, "OK"};
        case IDCANCEL:
            return {IDCANCEL, QMessageBox::RejectRole, "Abbrechen"};
        case IDYES:
            return {IDYES, QMessageBox::YesRole, "Ja"};
        case IDNO:
            return {IDNO, QMessageBox::NoRole, "Nein"};
    }
    return {IDOK, QMessageBox::AcceptRole, "OK"};
}

}  // namespace

MsgAnswer CQtMessagePresenter::ShowMessage(const MessageBoxRequest& request) {
    QMessageBox box(QApplication::activeWindow());
    box.setIcon(IconOf(request.icon));
    // A box without caption still needs a title bar text; a blank keeps the window manager
    // from putting the program's name there.
    box.setWindowTitle(request.caption.empty() ? QStringLiteral(" ")
                                               : QString::fromStdString(request.caption));
    box.setText(QString::fromStdString(request.text));
    box.setTextFormat(Qt::PlainText);

    const std::vector<MsgAnswer> answers = ButtonsOf(request.buttons);
    std::vector<std::pair<QPushButton*, MsgAnswer>> buttons;
    for (MsgAnswer a : answers) {
        ButtonText t = TextOf(a);
        buttons.emplace_back(box.addButton(QString::fromUtf8(t.text), t.role), a);
    }
    std::size_t def = request.defaultButton >= 0 ? std::size_t(request.defaultButton) : 0;
    if (def >= buttons.size()) def = 0;
    box.setDefaultButton(buttons[def].first);
    // Escape answers as Cancel or No would; a box with OK alone closes with OK.
    QPushButton* escape = buttons.back().first;
    for (auto& [button, answer] : buttons) {
        if (answer == IDCANCEL) escape = button;
    }
    box.setEscapeButton(escape);

    box.exec();
    for (auto& [button, answer] : buttons) {
        if (box.clickedButton() == button) return answer;
    }
    return answers.size() == 1 ? answers.front() : IDCANCEL;
}

std::optional<std::string> CQtMessagePresenter::RunSaveDialog(const SaveDialogRequest& request) {
    QFileDialog dialog(QApplication::activeWindow(), request.title.empty()
                                                         ? QStringLiteral("Speichern unter")
                                                         : QString::fromStdString(request.title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.overwritePrompt);
    const QString filter = QString::fromStdString(FilterForToolkit(request.filter));
    if (!filter.isEmpty()) dialog.setNameFilters(filter.split(QStringLiteral(";;")));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.fileName.empty()) dialog.selectFile(QString::fromStdString(request.fileName));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return dialog.selectedFiles().front().toStdString();
}

void InstallQtMessagePresenter() {
    static CQtMessagePresenter presenter;
    SetMessagePresenter(&presenter);
}
