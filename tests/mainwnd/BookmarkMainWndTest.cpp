// The bookmark window in the main window's charge: opened by the article window's button
// 1009, told of bookmarks set on the page, gone with the article window.
#include "app/Settings.h"
#include "controls/TemplateDialog.h"
#include "mainwnd/BookmarkWnd.h"
#include "mainwnd/MainWnd.h"
#include "noxctrls/PushCtrl.h"
#include "text/ArticleAlmanac.h"
#include "text/BookmarkDatabase.h"
#include "text/BrowserTestSupport.h"
#include "text/NOXBrowser.h"
#include "text/NOXTreeCtrl.h"
#include "text/TextBrowser.h"

using namespace browsertest;

namespace {

// A click on a button of the window.
void Press(CTemplateDialog* window, int id) {
    CPushCtrl* push = window->Controls().Push(id);
    ASSERT_NE(push, nullptr) << id;
    emit push->command(id);
}

}  // namespace

TEST(BookmarkMainWnd, OpenedByTheArticleWindowAndGoneWithIt) {
    CTempDir dir;
    CScopedEnv messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str());
    std::filesystem::create_directories(dir / "Daten");
    CreateArticleAlmanac(dir / "Daten");
    WriteWindowTemplates(dir / "HTML/");
    WriteFile(dir / "NOX.INI", "[Setup]\nApp=Almanach\n[Paths]\nUserData=" + dir / "user/"
                                   + "\nIMG=Daten/\nHTML=HTML/\n");
    std::filesystem::create_directories(dir / "user");
    CRegistryFiles registry("", dir / "registry.ini");
    CSettings settings(dir.Path(), registry);
    InstallSettings(&settings);
    CDatabase db;
    db.Open(dir / "Daten/Kompendor.mdb", false, true, kAlmanacConnect);
    CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
    {
        CMainWnd wnd(&db);
        wnd.OpenTextBrowser(1001, &wnd, QString());
        CTextBrowser* text = wnd.TextBrowserWindow();
        ASSERT_NE(text, nullptr);
        ASSERT_TRUE(WaitFor([&] { return !text->Browser()->IsLoading(); }));
        ASSERT_TRUE(text->Browser()->BookmarksOn());

        Press(text, CTextBrowser::kBookmarkButton);
        QPointer<CBookmarkWnd> window = wnd.BookmarkWindow();
        ASSERT_TRUE(window);
        // It shows itself a moment later, and once only.
        ASSERT_TRUE(WaitFor([&] { return window->isVisible(); }));
        Press(text, CTextBrowser::kBookmarkButton);
        EXPECT_EQ(wnd.BookmarkWindow(), window.data());

        // A bookmark set on the page appears selected in the tree.
        const std::int32_t id = text->Browser()->Bookmarks()->Add(1001, "Deutschland", "x...", "");
        wnd.BookmarkSet(id);
        EXPECT_EQ(window->Tree()->GetSelectedID(), id);

        // The article window goes, and its database with it: so does the bookmark window.
        Press(text, CTextBrowser::kCloseButton);
        ASSERT_TRUE(WaitFor([&] { return !window; }));
        EXPECT_EQ(wnd.BookmarkWindow(), nullptr);
    }
    InstallSettings(nullptr);
}
