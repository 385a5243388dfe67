#pragma once
// The on-screen form of the program's message boxes and save dialog, in the colours and
// fonts of the skin.

#include "platform/MessageBox.h"

class CQtMessagePresenter : public IMessagePresenter {
public:
    // A skinned box: the caption in a caption bar, the icon, the text and German buttons,
    // owned by the active window and centred over it.
    MsgAnswer ShowMessage(const MessageBoxRequest& request) override;
    // The toolkit's save dialog in the skin's palette, with the filter, default extension and
    // overwrite prompt, opening in the documents folder or where the user saved last.
    std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) override;
};

// Installs one CQtMessagePresenter for the whole program; needs the application object.
void InstallQtMessagePresenter();
