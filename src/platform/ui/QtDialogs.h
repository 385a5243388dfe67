#pragma once
// The on-screen form of the program's message boxes and save dialog.

#include "platform/MessageBox.h"

class CQtMessagePresenter : public IMessagePresenter {
public:
    // Message box with the caption, the icon and German buttons, owned by the active window.
    MsgAnswer ShowMessage(const MessageBoxRequest& request) override;
    // The toolkit's save dialog with the filter, default extension and overwrite prompt.
    std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) override;
};

// Installs one CQtMessagePresenter for the whole program; needs the application object.
void InstallQtMessagePresenter();
