#include "platform/MessageBox.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/TestFiles.h"

TEST(MessageBox, AutomationLogsEachBoxAndAnswersFromTheList) {
    CTempDir dir;
    CScopedEnv log("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str());
    CScopedEnv answers("KOMPENDOR_ANSWERS", "cancel, YES,bogus,no");

    EXPECT_EQ(ShowMessageBox("Bitte legen Sie ...\r\nein", kCaptionHinweis, MsgIcon::Information,
                             MsgButtons::OkCancel),
              IDCANCEL);
    EXPECT_EQ(ShowMessageBox("Frage", "", MsgIcon::Question, MsgButtons::YesNo), IDYES);
    // An unknown word and an answer the box has no button for give the default button.
    EXPECT_EQ(ShowMessageBox("a", "", MsgIcon::None, MsgButtons::YesNo, 1), IDNO);
    EXPECT_EQ(ShowMessageBox("b", "", MsgIcon::None, MsgButtons::OkCancel), IDOK);
    // The list is used up: defaults from now on.
    EXPECT_EQ(ShowMessageBox("c", kCaptionFehler, MsgIcon::Stop, MsgButtons::YesNoCancel, 2),
              IDCANCEL);

    EXPECT_EQ(ReadFile(dir / "boxes.txt"),
              "H I N W E I S\tBitte legen Sie ...\\nein\n"
              "\tFrage\n\ta\n\tb\n"
              "F E H L E R\tc\n");

    // A new list starts again at its first answer.
    CScopedEnv other("KOMPENDOR_ANSWERS", "no");
    EXPECT_EQ(ShowMessageBox("d", "", MsgIcon::None, MsgButtons::YesNo), IDNO);
}

TEST(MessageBox, AutomatedSaveDialog) {
    CTempDir dir;
    CScopedEnv log("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str());
    CScopedEnv answers("KOMPENDOR_ANSWERS", nullptr);
    SaveDialogRequest request{"", "Karte", "bmp", "Bitmap Dateien|*.bmp||", true};
    {
        CScopedEnv unset("KOMPENDOR_SAVE_PATH", nullptr);
        EXPECT_FALSE(RunSaveFileDialog(request));
    }
    CScopedEnv save("KOMPENDOR_SAVE_PATH", (dir / "bild").c_str());
    EXPECT_EQ(RunSaveFileDialog(request), dir / "bild.bmp");

    // An existing file is only replaced when the user says so; the safe answer is No.
    WriteFile(dir / "bild.bmp", "old");
    EXPECT_FALSE(RunSaveFileDialog(request));
    {
        CScopedEnv yes("KOMPENDOR_ANSWERS", "yes");
        EXPECT_EQ(RunSaveFileDialog(request), dir / "bild.bmp");
    }
    request.overwritePrompt = false;
    EXPECT_EQ(RunSaveFileDialog(request), dir / "bild.bmp");
    EXPECT_NE(ReadFile(dir / "boxes.txt").find("bild.bmp ist bereits vorhanden."),
              std::string::npos);
}

TEST(MessageBox, FiltersAndExtensions) {
    EXPECT_EQ(FilterForToolkit("Bitmap Dateien|*.bmp||"), "Bitmap Dateien (*.bmp)");
    // The export's description names its pattern already; it is not named twice.
    EXPECT_EQ(FilterForToolkit("HTML Datei (*.htm)|*.htm||"), "HTML Datei (*.htm)");
    EXPECT_EQ(FilterForToolkit("Profile (*.clt;*.vlt)|*.clt;*.vlt||"), "Profile (*.clt;*.vlt)");
    EXPECT_EQ(FilterForToolkit("Tabellen (*.html)|*.htm||"), "Tabellen (*.html) (*.htm)");
    EXPECT_EQ(FilterForToolkit("Profile|*.clt;*.vlt|Alle Dateien|*.*||"),
              "Profile (*.clt *.vlt);;Alle Dateien (*.*)");
    EXPECT_EQ(FilterForToolkit(""), "");
    EXPECT_EQ(WithDefaultExtension("/a/b", "bmp"), "/a/b.bmp");
    EXPECT_EQ(WithDefaultExtension("/a/b.", "bmp"), "/a/b.bmp");
    EXPECT_EQ(WithDefaultExtension("/a/b.BMP", "bmp"), "/a/b.BMP");
    EXPECT_EQ(WithDefaultExtension("/a.d/b", "bmp"), "/a.d/b.bmp");
}

// The save dialog opens in the documents folder, then where the user saved last, as long as
// that folder is there.
TEST(MessageBox, SaveDialogStartsInDocumentsThenWhereTheUserSavedLast) {
    CTempDir dir;
    const std::string documents = dir / "Dokumente";
    const std::string home = dir.Path();
    std::filesystem::create_directories(documents);
    ForgetSaveFolder();
    EXPECT_EQ(SaveDialogStartFolder("ZYB.htm", documents, home), documents);
    EXPECT_EQ(SaveDialogStartFolder("ZYB.htm", dir / "fehlt", home), home);

    CScopedEnv log("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str());
    std::filesystem::create_directories(dir / "Tabellen");
    {
        CScopedEnv save("KOMPENDOR_SAVE_PATH", (dir / "Tabellen/Europa").c_str());
        ASSERT_TRUE(RunSaveFileDialog({"", "ZYB.htm", "htm", "HTML Datei (*.htm)|*.htm||", true}));
    }
    EXPECT_EQ(LastSaveFolder(), dir / "Tabellen");
    EXPECT_EQ(SaveDialogStartFolder("ZYB.htm", documents, home), dir / "Tabellen");
    // A cancelled dialog leaves the memory as it was.
    {
        CScopedEnv unset("KOMPENDOR_SAVE_PATH", nullptr);
        EXPECT_FALSE(RunSaveFileDialog({"", "ZYB.htm", "htm", "", true}));
    }
    EXPECT_EQ(LastSaveFolder(), dir / "Tabellen");
    // A proposed name with its own folder opens there.
    EXPECT_EQ(SaveDialogStartFolder(documents + "/ZYB.htm", documents, home), documents);
    // The folder went away meanwhile: back to the documents.
    std::filesystem::remove_all(dir / "Tabellen");
    EXPECT_EQ(SaveDialogStartFolder("ZYB.htm", documents, home), documents);
    ForgetSaveFolder();
}
