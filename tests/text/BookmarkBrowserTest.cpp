// Bookmarks in the article window under a real display (xvfb): set on a selection, shown again
// with every load of the article and after the window was closed and opened again, widened
// around links, measured without the search highlighting, deleted singly, by node and all.

#include "data/ErrorReporter.h"
#include "text/ArticleAlmanac.h"
#include "text/Bookmark.h"
#include "text/BookmarkDatabase.h"
#include "text/BrowserTestSupport.h"
#include "text/NOXBrowser.h"
#include "text/TextBrowser.h"
#include "text/TextBrowserHost.h"

using namespace browsertest;

namespace {

class CBookmarkHost : public CTextBrowserHost {
public:
    int hints = 0;
    std::vector<std::int32_t> set;
    std::vector<std::int32_t> shown;

    void ShowMap(QWidget*, std::int32_t) override {}
    void ShowFlag(QWidget*, std::int32_t) override {}
    void ShowHTMLImage(QWidget*, const QString&, std::int32_t) override {}
    void OpenImageViewerByFilename(QWidget*, const QString&) override {}
    void PrintHTML(const std::string&) override {}
    void OpenSearch(QWidget*) override {}
    void BookmarkHint() override { ++hints; }
    void BookmarkSet(std::int32_t id) override { set.push_back(id); }
    void ArticleShown(std::int32_t id) override { shown.push_back(id); }
};

class BookmarkBrowserTest : public testing::Test {
protected:
    BookmarkBrowserTest() : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()) {
        WriteWindowTemplates(dir / "HTML/");
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        db.Open(CreateArticleAlmanac(dir.Path()), false, true, kAlmanacConnect);
        std::filesystem::create_directories(dir / "user");
        ResetDBErrors();
    }
    ~BookmarkBrowserTest() override { delete window; }

    void Create() {
        CTextBrowserSetup setup;
        setup.database = &db;
        setup.host = &host;
        setup.htmlFolder = dir / "HTML/";
        setup.userData = dir / "user/";
        setup.createPanel = [](int, CTextBrowser&) { return CTBPanelSlot{}; };
        window = new CTextBrowser(nullptr, std::move(setup));
        QObject::connect(window, &CTextBrowser::pageLoaded, [this] { ++loads; });
        window->show();
        ASSERT_TRUE(WaitFor([&] { return loads >= 1 && !Browser()->IsLoading(); }));
    }
    void Close() {
        delete window;
        window = nullptr;
        loads = 0;
    }
    CNOXBrowser* Browser() const { return window->Browser(); }
    CBookmarkDatabase& Store() const { return *Browser()->Bookmarks(); }
    void Open(std::int32_t id, std::vector<std::string> terms = {}) {
        const int before = loads;
        window->ShowArticle(id, true, true, terms, "");
        ASSERT_TRUE(WaitFor([&] { return loads > before && !Browser()->IsLoading(); }));
    }
    QVariant Eval(const QString& script) {
        return Await<QVariant>([&](auto done) { Browser()->WebView()->RunScript(script, done); });
    }
    // Selects from the first occurrence of from (plus skip characters) to the end of the
    // first occurrence of to after it, in the page's text; gives the selected text.
    std::string Select(const std::string& from, int skip, const std::string& to) {
        const QString script = QStringLiteral(R"JS((function (from, skip, to) {
            var walker = document.createTreeWalker(document.body, NodeFilter.SHOW_TEXT);
            var start = null, startAt = 0, node;
            while ((node = walker.nextNode())) {
                var at = start ? -1 : node.data.indexOf(from);
                if (!start && at >= 0) { start = node; startAt = at + skip; }
                if (start) {
                    var from2 = node === start ? startAt : 0;
                    var end = node.data.indexOf(to, from2);
                    if (end >= 0) {
                        var range = document.createRange();
                        range.setStart(start, startAt);
                        range.setEnd(node, end + to.length);
                        var sel = window.getSelection();
                        sel.removeAllRanges();
                        sel.addRange(range);
                        return sel.toString();
                    }
                }
            }
            return '';
        })(%1, %2, %3))JS")
                                   .arg(QString::fromStdString("\"" + from + "\""))
                                   .arg(skip)
                                   .arg(QString::fromStdString("\"" + to + "\""));
        const std::string text = Eval(script).toString().toStdString();
        EXPECT_TRUE(WaitFor([&] { return Browser()->HasSelection(); }));
        return text;
    }
    std::int32_t SetBookmark() {
        std::int32_t id = 0;
        bool answered = false;
        window->SetBookmarkAtSelection([&](std::int32_t newId) {
            id = newId;
            answered = true;
        });
        EXPECT_TRUE(WaitFor([&] { return answered; }));
        return id;
    }
    std::string Body() {
        return Await<QString>([&](auto done) { Browser()->GetBodyHTML(done); }).toStdString();
    }
    // The passage of bookmark id in the page's text without markup.
    std::string Passage(std::int32_t id) {
        std::string text = Body();
        for (const CBookmarkPlace& p : MeasureBookmarks(text))
            if (p.id == id) return text.substr(p.start, p.end - p.start);
        return "(not on the page)";
    }

    CTempDir dir;
    CScopedEnv m_messages;
    CDatabase db;
    CBookmarkHost host;
    CTextBrowser* window = nullptr;
    int loads = 0;
};

}  // namespace

TEST_F(BookmarkBrowserTest, SetOnASelectionAndShownAgainAfterReopening) {
    Create();
    ASSERT_TRUE(Browser()->BookmarksOn());
    EXPECT_TRUE(std::filesystem::exists(dir / "user/Bookmark.mdb"));
    Open(1001);
    // Without a selection only the hint.
    EXPECT_EQ(SetBookmark(), -1);
    EXPECT_EQ(host.hints, 1);

    const std::string selected = Select("Bundesstaat", 0, "Mitteleuropa");
    EXPECT_EQ(selected, "Bundesstaat in Mitteleuropa");
    window->SetBookmarkType(4);
    const std::int32_t id = SetBookmark();
    ASSERT_GT(id, 0);
    EXPECT_EQ(host.set, std::vector<std::int32_t>{id});
    const std::string body = Body();
    EXPECT_NE(body.find("<span class=\"Bookmark4\"><a name=\"Bookmark" + std::to_string(id)),
              std::string::npos);
    EXPECT_EQ(Passage(id), "Bundesstaat in Mitteleuropa");
    CBookmarkRecord record;
    ASSERT_TRUE(Store().Read(id, record));
    EXPECT_EQ(record.title, "Bundesstaat in Mitteleuropa...");
    EXPECT_EQ(record.type, 4u);
    EXPECT_EQ(record.note, " ");
    EXPECT_GT(record.endChar, record.startChar);
    const std::int32_t node = Browser()->GetBookmarkNodeID();
    EXPECT_EQ(record.pid, node);
    ASSERT_TRUE(Store().Read(node, record));
    EXPECT_EQ(record.title, "Deutschland");

    // Another article and back: the marker is there again, at the same text.
    Open(1002);
    EXPECT_EQ(Body().find("Bookmark"), std::string::npos);
    Open(1001);
    EXPECT_EQ(Passage(id), "Bundesstaat in Mitteleuropa");

    // Closing and opening the window (the program): still there.
    Close();
    Create();
    Open(1001);
    EXPECT_EQ(Passage(id), "Bundesstaat in Mitteleuropa");
    EXPECT_EQ(LastDBError().count, 0u) << LastDBError().context;
}

TEST_F(BookmarkBrowserTest, WidenedAroundLinksAndMeasuredWithoutHighlights) {
    Create();
    // Search hits highlighted on the page while the bookmark is set.
    Open(kEuropa, {"Europa", "Karte"});
    ASSERT_NE(Body().find("Search"), std::string::npos);
    // From inside the link "Karte" to inside the link "Flagge".
    EXPECT_EQ(Select("Karte", 2, "Fla"), "rte Fla");
    const std::int32_t id = SetBookmark();
    ASSERT_GT(id, 0);
    std::string passage = Passage(id);
    EXPECT_EQ(passage.substr(0, 3), "<a ");
    EXPECT_NE(passage.find(">Flagge</a>"), std::string::npos) << passage;
    EXPECT_EQ(passage.substr(passage.size() - 4), "</a>");

    // The stored positions fall on the same text of the page without any highlighting.
    CBookmarkRecord record;
    ASSERT_TRUE(Store().Read(id, record));
    Open(1001);
    window->ShowArticle(kEuropa, true, true, {}, "");
    ASSERT_TRUE(WaitFor(
        [&] { return !Browser()->IsLoading() && Body().find("Bookmark") != std::string::npos; }));
    std::string plain = Body();
    MeasureBookmarks(plain);
    EXPECT_EQ(plain.find("Search"), std::string::npos);
    EXPECT_EQ(plain.substr(record.startChar, record.endChar - record.startChar), passage);
}

TEST_F(BookmarkBrowserTest, DeletedSinglyByNodeAndAll) {
    Create();
    Open(1001);
    Select("Bundesstaat", 0, "Bundesstaat");
    const std::int32_t first = SetBookmark();
    Select("Mitteleuropa", 0, "Mitteleuropa");
    const std::int32_t second = SetBookmark();
    ASSERT_GT(first, 0);
    ASSERT_GT(second, first);
    // Two bookmarks, one node.
    const std::int32_t node = Browser()->GetBookmarkNodeID();
    EXPECT_EQ(Store().ArticleBookmarks(1001).size(), 2u);
    EXPECT_EQ(Passage(first), "Bundesstaat");

    // A single one leaves the page and the file; the other stays where it was.
    bool deleted = false, answered = false;
    Browser()->DeleteBookmark(first, [&](bool ok) {
        deleted = ok;
        answered = true;
    });
    ASSERT_TRUE(WaitFor([&] { return answered; }));
    EXPECT_TRUE(deleted);
    EXPECT_EQ(Passage(first), "(not on the page)");
    EXPECT_EQ(Passage(second), "Mitteleuropa");
    CBookmarkRecord record;
    EXPECT_FALSE(Store().Read(first, record));

    // The node takes its bookmarks along; the page composes again without them.
    Select("Bundesstaat", 0, "Bundesstaat");
    const std::int32_t third = SetBookmark();
    ASSERT_GT(third, 0);
    int before = loads;
    answered = false;
    Browser()->DeleteBookmark(node, [&](bool ok) {
        deleted = ok;
        answered = true;
    });
    ASSERT_TRUE(WaitFor([&] { return answered && loads > before && !Browser()->IsLoading(); }));
    EXPECT_TRUE(deleted);
    EXPECT_TRUE(Store().ArticleBookmarks(1001).empty());
    EXPECT_EQ(Browser()->GetBookmarkNodeID(), 0);
    EXPECT_EQ(Body().find("Bookmark"), std::string::npos);

    // Everything: the rows go, the file and bookmarks stay on.
    Select("Bundesstaat", 0, "Bundesstaat");
    ASSERT_GT(SetBookmark(), 0);
    before = loads;
    Browser()->DeleteAllBookmarks();
    ASSERT_TRUE(WaitFor([&] { return loads > before && !Browser()->IsLoading(); }));
    EXPECT_TRUE(Store().All().empty());
    EXPECT_TRUE(Browser()->BookmarksOn());
    EXPECT_EQ(Body().find("Bookmark"), std::string::npos);
}

TEST_F(BookmarkBrowserTest, DeletingOneKeepsThePageWhereItWas) {
    Create();
    Open(kEuropa);
    Select("Neuzeit", 0, "Neuzeit");
    const std::int32_t id = SetBookmark();
    ASSERT_GT(id, 0);
    auto scrolled = [&] {
        return Eval(QStringLiteral("document.getElementById('Layer2').scrollTop")).toInt();
    };
    const int at = scrolled();
    ASSERT_GT(at, 100) << "the page did not scroll to the new bookmark";
    bool answered = false;
    Browser()->DeleteBookmark(id, [&](bool) { answered = true; });
    ASSERT_TRUE(WaitFor([&] { return answered; }));
    EXPECT_EQ(Passage(id), "(not on the page)");
    EXPECT_EQ(scrolled(), at);
}
