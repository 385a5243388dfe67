// The bookmark window over an article window under a real display (xvfb): it shows itself,
// follows the article, opens an entry at its bookmark, keeps notes, renames with another
// picture type, deletes one entry and, after asking, all.
#include <QPlainTextEdit>
#include <QTreeWidgetItem>
#include <QTreeWidgetItemIterator>

#include "data/ErrorReporter.h"
#include "mainwnd/BookmarkWnd.h"
#include "noxctrls/PushCtrl.h"
#include "text/ArticleAlmanac.h"
#include "text/BookmarkDatabase.h"
#include "text/BrowserTestSupport.h"
#include "text/NOXBrowser.h"
#include "text/NOXTreeCtrl.h"
#include "text/TextBrowser.h"
#include "text/TextBrowserHost.h"

using namespace browsertest;

namespace {

class CTestBookmarkWnd : public CBookmarkWnd {
public:
    using CBookmarkWnd::CBookmarkWnd;
    std::string renameTo;
    unsigned typeTo = 1;
    std::string offeredTitle;
    unsigned offeredType = 0;
    void Command(int id) { OnCommand(id); }

protected:
    bool RunRenameDialog(std::string& title, unsigned& type) override {
        offeredTitle = title;
        offeredType = type;
        title = renameTo;
        type = typeTo;
        return true;
    }
};

// The main window's part: the bookmark window hears of bookmarks and articles.
class CHost : public CTextBrowserHost {
public:
    QPointer<CTestBookmarkWnd> window;
    int hints = 0;
    int helps = 0;
    void ShowMap(QWidget*, std::int32_t) override {}
    void ShowFlag(QWidget*, std::int32_t) override {}
    void ShowHTMLImage(QWidget*, const QString&, std::int32_t) override {}
    void OpenImageViewerByFilename(QWidget*, const QString&) override {}
    void PrintHTML(const std::string&) override {}
    void OpenSearch(QWidget*) override {}
    void BookmarkHint() override { ++hints; }
    void BookmarkSet(std::int32_t id) override {
        if (window) window->BookmarkSet(id);
    }
    void ArticleShown(std::int32_t) override {
        if (window) window->FollowArticle();
    }
};

class BookmarkWndTest : public testing::Test {
protected:
    BookmarkWndTest() : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()) {
        WriteWindowTemplates(dir / "HTML/");
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        db.Open(CreateArticleAlmanac(dir.Path()), false, true, kAlmanacConnect);
        std::filesystem::create_directories(dir / "user");
        ResetDBErrors();
        CTextBrowserSetup setup;
        setup.database = &db;
        setup.host = &host;
        setup.htmlFolder = dir / "HTML/";
        setup.userData = dir / "user/";
        setup.createPanel = [](int, CTextBrowser&) { return CTBPanelSlot{}; };
        text = new CTextBrowser(nullptr, std::move(setup));
        QObject::connect(text, &CTextBrowser::pageLoaded, [this] { ++loads; });
        text->show();
        EXPECT_TRUE(WaitFor([&] { return loads >= 1 && !Browser()->IsLoading(); }));
    }
    ~BookmarkWndTest() override {
        delete host.window;
        delete text;
    }
    CNOXBrowser* Browser() const { return text->Browser(); }
    void Open(std::int32_t id) {
        const int before = loads;
        text->ShowArticle(id, true, true, {}, "");
        ASSERT_TRUE(WaitFor([&] { return loads > before && !Browser()->IsLoading(); }));
    }
    void OpenWindow() {
        CBookmarkWndSetup setup;
        setup.textBrowser = text;
        setup.openHelp = [this] { ++host.helps; };
        host.window = new CTestBookmarkWnd(nullptr, std::move(setup));
        ASSERT_TRUE(WaitFor([&] { return host.window->isVisible(); }));
    }
    // Sets a bookmark on the first occurrence of word, as button 1058 does.
    std::int32_t Mark(const std::string& word) {
        Await<QVariant>([&](auto done) {
            Browser()->WebView()->RunScript(
                QStringLiteral("(function (w) { var walker = document.createTreeWalker("
                               "document.body, NodeFilter.SHOW_TEXT), n;"
                               " while ((n = walker.nextNode())) { var at = n.data.indexOf(w);"
                               "  if (at >= 0) { var r = document.createRange();"
                               "   r.setStart(n, at); r.setEnd(n, at + w.length);"
                               "   var s = window.getSelection(); s.removeAllRanges();"
                               "   s.addRange(r); return true; } } return false; })(\"%1\")")
                    .arg(QString::fromStdString(word)),
                done);
        });
        EXPECT_TRUE(WaitFor([&] { return Browser()->HasSelection(); }));
        std::int32_t id = 0;
        bool answered = false;
        text->SetBookmarkAtSelection([&](std::int32_t newId) {
            id = newId;
            answered = true;
        });
        EXPECT_TRUE(WaitFor([&] { return answered; }));
        return id;
    }
    std::string Body() {
        return Await<QString>([&](auto done) { Browser()->GetBodyHTML(done); }).toStdString();
    }
    std::string Boxes() {
        const std::string t = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return t;
    }
    CNOXTreeCtrl* Tree() const { return host.window->Tree(); }
    std::vector<std::string> TreeTexts() {
        std::vector<std::string> texts;
        for (QTreeWidgetItemIterator it(Tree()); *it; ++it)
            if (CNOXTreeCtrl::ItemID(*it) > 0) texts.push_back((*it)->text(0).toStdString());
        return texts;
    }

    CTempDir dir;
    CScopedEnv m_messages;
    CDatabase db;
    CHost host;
    CTextBrowser* text = nullptr;
    int loads = 0;
};

}  // namespace

TEST_F(BookmarkWndTest, FollowsTheArticleAndOpensEntriesAtTheirBookmarks) {
    Open(1001);
    const std::int32_t first = Mark("Bundesstaat");
    ASSERT_GT(first, 0);
    Open(kEuropa);
    const std::int32_t far = Mark("Neuzeit");
    ASSERT_GT(far, 0);

    OpenWindow();
    CTestBookmarkWnd* window = host.window;
    // The article shown is Europa: its node is selected.
    EXPECT_EQ(Tree()->GetSelectedID(), Browser()->GetBookmarkNodeID());
    Open(1002);  // no bookmarks: nothing selected
    EXPECT_EQ(Tree()->GetSelectedID(), -1);
    EXPECT_FALSE(window->Controls().Push(CBookmarkWnd::kDeleteButton)->isEnabled());

    // Choosing the bookmark opens its article at it.
    const int before = loads;
    Tree()->SelectID(far, true);
    ASSERT_TRUE(WaitFor([&] { return loads > before && !Browser()->IsLoading(); }));
    EXPECT_EQ(text->CurrentArticle(), kEuropa);
    EXPECT_EQ(window->SelectedBookmark(), far);
    // The entry chosen stays selected while its article comes.
    EXPECT_EQ(Tree()->GetSelectedID(), far);
    ASSERT_TRUE(WaitFor([&] {
        return Await<QVariant>([&](auto done) {
                   Browser()->WebView()->RunScript(
                       QStringLiteral("document.getElementById('Layer2').scrollTop"), done);
               }).toInt()
               > 100;
    })) << "the page did not scroll to the bookmark";

    // A note typed goes with the entry when another is chosen, and when the window closes.
    window->NoteField()->setPlainText(QStringLiteral("Später lesen"));
    Tree()->SelectID(first, true);
    ASSERT_TRUE(WaitFor([&] { return text->CurrentArticle() == 1001 && !Browser()->IsLoading(); }));
    EXPECT_EQ(Browser()->GetBookmarkNote(far), "Später lesen");
    EXPECT_EQ(window->NoteField()->toPlainText().toStdString(), "");
    window->NoteField()->setPlainText(QStringLiteral("Hauptstadt?"));
    window->Command(CBookmarkWnd::kCloseButton);
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(Browser()->GetBookmarkNote(first), "Hauptstadt?");

    window->Command(CBookmarkWnd::kHelpButton);
    EXPECT_EQ(host.helps, 1);
    // Set without a selection: the hint.
    Await<QVariant>([&](auto done) {
        Browser()->WebView()->RunScript(QStringLiteral("window.getSelection().removeAllRanges()"),
                                        done);
    });
    window->Command(CBookmarkWnd::kSetButton);
    EXPECT_EQ(host.hints, 1);
    EXPECT_EQ(LastDBError().count, 0u) << LastDBError().context;
}

TEST_F(BookmarkWndTest, RenamesDeletesOneAndAllAfterAsking) {
    OpenWindow();
    CTestBookmarkWnd* window = host.window;
    Open(1001);
    window->Command(CBookmarkWnd::kType1Button + 2);  // type 3 for new bookmarks
    EXPECT_EQ(text->BookmarkType(), 3);
    const std::int32_t a = Mark("Bundesstaat");
    const std::int32_t b = Mark("Mitteleuropa");
    ASSERT_GT(b, a);
    // The new bookmark is selected in the tree.
    EXPECT_EQ(Tree()->GetSelectedID(), b);
    EXPECT_EQ(TreeTexts(),
              (std::vector<std::string>{"Deutschland", "Bundesstaat...", "Mitteleuropa..."}));

    // Rename with another picture: the dialog is offered the entry as it is.
    window->renameTo = "Lage";
    window->typeTo = 6;
    int before = loads;
    window->Command(CBookmarkWnd::kRenameButton);
    EXPECT_EQ(window->offeredTitle, "Mitteleuropa...");
    EXPECT_EQ(window->offeredType, 3u);
    ASSERT_TRUE(WaitFor([&] { return loads > before && !Browser()->IsLoading(); }));
    EXPECT_EQ(Browser()->GetBookmarkType(b), 6u);
    EXPECT_EQ(Tree()->GetSelectedID(), b);
    EXPECT_NE(Body().find("<span class=\"Bookmark6\"><a name=\"Bookmark" + std::to_string(b)),
              std::string::npos);

    // Deleting one: the page loses its marker, nothing stays selected.
    Tree()->SelectID(a, true);
    ASSERT_TRUE(WaitFor([&] { return !Browser()->IsLoading(); }));
    window->Command(CBookmarkWnd::kDeleteButton);
    ASSERT_TRUE(WaitFor(
        [&] { return Body().find("Bookmark" + std::to_string(a) + "\"") == std::string::npos; }));
    EXPECT_EQ(Tree()->GetSelectedID(), -1);
    EXPECT_FALSE(window->Controls().Push(CBookmarkWnd::kDeleteButton)->isEnabled());
    EXPECT_EQ(TreeTexts(), (std::vector<std::string>{"Deutschland", "Lage"}));

    // Delete all asks first; "no" keeps everything.
    ::setenv("KOMPENDOR_ANSWERS", "no", 1);
    window->Command(CBookmarkWnd::kDeleteAllButton);
    EXPECT_EQ(Boxes(),
              "HINWEIS\tDurch diesen Vorgang werden alle Lesezeichen unwiderruflich "
              "gelöscht!!!\\n\\nSind Sie sicher?\n");
    EXPECT_EQ(TreeTexts().size(), 2u);
    ::setenv("KOMPENDOR_ANSWERS", "yes", 1);
    before = loads;
    window->Command(CBookmarkWnd::kDeleteAllButton);
    ::unsetenv("KOMPENDOR_ANSWERS");
    ASSERT_TRUE(WaitFor([&] { return loads > before && !Browser()->IsLoading(); }));
    EXPECT_TRUE(TreeTexts().empty());
    EXPECT_EQ(Body().find("Bookmark"), std::string::npos);
}
