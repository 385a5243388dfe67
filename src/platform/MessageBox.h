#pragma once
// Every message box and file dialog of the program goes through these functions. The window
// program installs a presenter that shows real boxes; without one a box is written to stderr
// and answered with its default button.
//
// Scripted runs and tests: when KOMPENDOR_MESSAGES names a file, no box is shown. Each box
// appends the line "caption<TAB>text" to that file (line breaks in the text written as \n)
// and is answered with its default button, or with the next answer of KOMPENDOR_ANSWERS
// ("ok", "cancel", "yes", "no", comma-separated) while that list lasts. The save dialog then
// answers with KOMPENDOR_SAVE_PATH and cancels when it is unset; print dialogs are skipped and
// printing goes to the PDF file KOMPENDOR_PRINT_PDF names.

#include <optional>
#include <string>
#include <vector>

inline constexpr const char* kCaptionHinweis = "H I N W E I S";
inline constexpr const char* kCaptionFehler = "F E H L E R";

enum class MsgIcon { None, Information, Question, Warning, Stop };

enum class MsgButtons { Ok, OkCancel, YesNo, YesNoCancel };

// The answer of a box: the button that closed it.
enum MsgAnswer { IDOK = 1, IDCANCEL = 2, IDYES = 6, IDNO = 7 };

struct MessageBoxRequest {
    std::string text;
    // "H I N W E I S", "F E H L E R" or empty.
    std::string caption;
    MsgIcon icon = MsgIcon::None;
    MsgButtons buttons = MsgButtons::Ok;
    // Index of the default button among the box's buttons, 0 for the first.
    int defaultButton = 0;
};

struct SaveDialogRequest {
    // Window title; empty for the dialog's own.
    std::string title;
    // Proposed file name, with or without folder.
    std::string fileName;
    // Extension (without ".") added to a name typed without one.
    std::string defaultExtension;
    // The filter in the form "Bitmap Dateien|*.bmp||": pairs of description and patterns.
    std::string filter;
    // Ask before replacing an existing file.
    bool overwritePrompt = true;
};

// Shows boxes and dialogs on screen; the window program installs one.
class IMessagePresenter {
public:
    virtual ~IMessagePresenter() = default;
    virtual MsgAnswer ShowMessage(const MessageBoxRequest& request) = 0;
    // The chosen path, or nothing when the user cancels.
    virtual std::optional<std::string> RunSaveDialog(const SaveDialogRequest& request) = 0;
};

// Installs the presenter (not owned; nullptr removes it).
void SetMessagePresenter(IMessagePresenter* presenter);

// Shows one box and returns the button that closed it.
MsgAnswer ShowMessageBox(const std::string& text, const std::string& caption,
                         MsgIcon icon = MsgIcon::None, MsgButtons buttons = MsgButtons::Ok,
                         int defaultButton = 0);
MsgAnswer ShowMessageBox(const MessageBoxRequest& request);

// Runs the save-file dialog: the path to write, or nothing when cancelled. The folder of a
// chosen path is remembered for the next dialog.
std::optional<std::string> RunSaveFileDialog(const SaveDialogRequest& request);

// The folder of the last path chosen in a save dialog of this run, or empty.
std::string LastSaveFolder();
// Forgets it (tests).
void ForgetSaveFolder();
// Where a save dialog opens: the folder of the last path chosen while it still exists, else
// documents when it exists, else home. A proposed name with a folder of its own opens there
// whatever the rest.
std::string SaveDialogStartFolder(const std::string& proposedName, const std::string& documents,
                                  const std::string& home);

// The buttons of a box in their order.
std::vector<MsgAnswer> ButtonsOf(MsgButtons buttons);

// The patterns of a filter "Bitmap Dateien|*.bmp||" as the toolkit's dialogs write them:
// "Bitmap Dateien (*.bmp)", one entry per pair, joined by ";;". A description that names its
// patterns itself ("HTML Datei (*.htm)") keeps its own.
std::string FilterForToolkit(const std::string& filter);

// path with ".ext" appended when its file name has no extension.
std::string WithDefaultExtension(const std::string& path, const std::string& extension);

// True when KOMPENDOR_MESSAGES is set: boxes and dialogs answer themselves.
bool MessagesAutomated();

// Where a skipped print dialog sends its printout: KOMPENDOR_PRINT_PDF, or nothing (no
// printout) while boxes are automated; nothing either without automation.
std::optional<std::string> AutomatedPrintPdf();
