// The article window on the fixture almanac under a real display (xvfb): articles and their
// history with scroll positions, the link protocol, the panels, copying and printing, the
// section in view.
#include "text/TextBrowser.h"

#include <QApplication>
#include <QClipboard>

#include "data/ErrorReporter.h"
#include "noxctrls/PushCtrl.h"
#include "text/ArticleAlmanac.h"
#include "text/BrowserTestSupport.h"
#include "text/NOXBrowser.h"
#include "text/TextBrowserHost.h"

using namespace browsertest;

namespace {

// The main window's side, recorded.
class CRecordingHost : public CTextBrowserHost {
public:
    std::vector<std::string> calls;
    std::string printed;

    void ShowMap(QWidget*, std::int32_t id) override {
        calls.push_back("map " + std::to_string(id));
    }
    void ShowFlag(QWidget*, std::int32_t id) override {
        calls.push_back("flag " + std::to_string(id));
    }
    void ShowHTMLImage(QWidget*, const QString& archive, std::int32_t id) override {
        calls.push_back("image " + archive.toStdString() + " " + std::to_string(id));
    }
    void OpenImageViewerByFilename(QWidget*, const QString& name) override {
        calls.push_back("file " + name.toStdString());
    }
    void PrintHTML(const std::string& html) override { printed = html; }
    void OpenSearch(QWidget*) override { calls.push_back("search"); }
    void BookmarkHint() override { calls.push_back("hint"); }
};

// A panel that records what it is asked to select.
class CFakePanel : public QWidget {
public:
    explicit CFakePanel(int type) : type(type) { resize(260, 648); }
    int type;
    std::vector<std::pair<std::int32_t, std::string>> selected;
};

// The article window with a recorded desktop.
class CTestTextBrowser : public CTextBrowser {
public:
    using CTextBrowser::CTextBrowser;
    std::vector<std::string> opened;

protected:
    void OpenExternal(const QString& url) override { opened.push_back(url.toStdString()); }
};

class TextBrowserTest : public testing::Test {
protected:
    TextBrowserTest() : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()) {
        WriteWindowTemplates(dir / "HTML/");
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        db.Open(CreateArticleAlmanac(dir.Path()), false, true, kAlmanacConnect);
        ResetDBErrors();
    }
    ~TextBrowserTest() override { delete window; }

    void Create(std::function<bool()> check = {}) {
        CTextBrowserSetup setup;
        setup.database = &db;
        setup.host = &host;
        setup.htmlFolder = dir / "HTML/";
        setup.checkHtmlFolder = std::move(check);
        setup.readValue = [this](const std::string& name, void* data, std::size_t size) {
            if (name != "BookmarkType" || size != 1) return false;
            *static_cast<std::uint8_t*>(data) = storedType;
            return true;
        };
        setup.writeValue = [this](const std::string&, const void* data, std::size_t) {
            storedType = *static_cast<const std::uint8_t*>(data);
            return true;
        };
        setup.createPanel = [this](int type, CTextBrowser&) -> CTBPanelSlot {
            panelsMade.push_back(type);
            if (type < 1 || type > 6) return {};
            auto* panel = new CFakePanel(type);
            lastPanel = panel;
            return {panel, [panel](std::int32_t id, const std::string& anchor) {
                        panel->selected.emplace_back(id, anchor);
                    }};
        };
        window = new CTestTextBrowser(nullptr, std::move(setup));
        QObject::connect(window, &CTextBrowser::pageLoaded, [this] { ++loads; });
        window->show();
        // The bare host page the window starts with has loaded and been processed.
        if (window->Browser()) {
            ASSERT_TRUE(WaitFor([&] { return loads == 1 && !window->Browser()->IsLoading(); }));
        }
    }
    // Shows an article as the main window does and waits for its page.
    void Open(std::int32_t id, const std::string& anchor = "",
              std::vector<std::string> terms = {}) {
        const int before = loads;
        window->ShowArticle(id, true, true, terms, anchor);
        ASSERT_TRUE(WaitFor([&] { return loads > before && !window->Browser()->IsLoading(); }))
            << "article " << id;
    }
    void WaitForPage(int before) {
        ASSERT_TRUE(WaitFor([&] { return loads > before && !window->Browser()->IsLoading(); }));
    }
    QVariant Eval(const QString& script) {
        return Await<QVariant>(
            [&](auto done) { window->Browser()->WebView()->RunScript(script, done); });
    }
    int ScrollTop() { return Eval("document.getElementById('Layer2').scrollTop").toInt(); }
    void ScrollTo(int top) {
        Eval(QStringLiteral("document.getElementById('Layer2').scrollTop = %1").arg(top));
        ASSERT_TRUE(WaitFor([&] {
            int l = 0, t = 0;
            window->Browser()->WatchedScroll(l, t);
            return t == top;
        }));
    }
    std::string Body() {
        return Await<QString>([&](auto done) { window->Browser()->GetBodyHTML(done); })
            .toStdString();
    }
    bool Enabled(int id) { return window->Controls().Push(id)->isEnabled(); }
    std::string Boxes() {
        const std::string text = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return text;
    }
    void Click(const char* id) {
        Eval(QStringLiteral("document.getElementById('%1').click()").arg(QLatin1String(id)));
    }

    CTempDir dir;
    CScopedEnv m_messages;
    CDatabase db;
    CRecordingHost host;
    CTestTextBrowser* window = nullptr;
    int loads = 0;
    std::uint8_t storedType = 3;
    std::vector<int> panelsMade;
    QPointer<CFakePanel> lastPanel;
};

}  // namespace

TEST_F(TextBrowserTest, ComposesArticlesOfEveryType) {
    Create();
    EXPECT_EQ(window->objectName(), "TextBrowser");
    EXPECT_EQ(window->PanelType(), 1);
    EXPECT_EQ(window->BookmarkType(), 3);
    EXPECT_FALSE(Enabled(CTextBrowser::kBackButton));
    EXPECT_FALSE(Enabled(CTextBrowser::kPanel1Button));
    EXPECT_FALSE(Enabled(CTextBrowser::kCopyButton));

    Open(1001);
    EXPECT_NE(Body().find("Bundesstaat in Mitteleuropa."), std::string::npos);
    EXPECT_EQ(window->PanelType(), 1);
    EXPECT_TRUE(Enabled(CTextBrowser::kCopyButton));
    EXPECT_TRUE(Enabled(CTextBrowser::kPrintButton));
    // The person switches to panel 2 and asks it to select the article.
    Open(1003);
    EXPECT_EQ(window->PanelType(), 2);
    ASSERT_TRUE(lastPanel);
    EXPECT_EQ(lastPanel->type, 2);
    EXPECT_EQ(lastPanel->pos(), QPoint(4, 48));
    EXPECT_EQ(lastPanel->selected.back(), std::make_pair(std::int32_t(1003), std::string()));
    EXPECT_NE(Body().find("Flags/DEU.gif"), std::string::npos);
    EXPECT_TRUE(Enabled(CTextBrowser::kPanel1Button));
    EXPECT_FALSE(Enabled(CTextBrowser::kPanel2Button));

    // Nothing for an article of a type without a page, or for no article at all.
    const std::int32_t before = window->CurrentArticle();
    window->ShowArticle(kUnbekannt, true, true, {}, "");
    window->ShowArticle(0, true, true, {}, "");
    EXPECT_EQ(window->CurrentArticle(), before);
    EXPECT_EQ(window->PanelType(), 2);
    EXPECT_EQ(LastDBError().count, 0u);

    // The bookmark type is kept on closing.
    storedType = 0;
    delete window;
    window = nullptr;
    EXPECT_EQ(storedType, 3);
}

TEST_F(TextBrowserTest, HistoryKeepsTwentyVisitsAndTheirScrolling) {
    Create();
    Open(kEuropa);
    ScrollTo(400);
    Open(1001);
    EXPECT_TRUE(Enabled(CTextBrowser::kBackButton));
    EXPECT_FALSE(Enabled(CTextBrowser::kForwardButton));

    // Back: Europa comes back where it was left.
    int before = loads;
    window->Back();
    WaitForPage(before);
    EXPECT_EQ(window->CurrentArticle(), kEuropa);
    EXPECT_EQ(ScrollTop(), 400);
    EXPECT_TRUE(Enabled(CTextBrowser::kForwardButton));
    // Scrolled on, then forward and back again: the new position is kept.
    ScrollTo(900);
    before = loads;
    window->Forward();
    WaitForPage(before);
    EXPECT_EQ(window->CurrentArticle(), 1001);
    before = loads;
    window->Back();
    WaitForPage(before);
    EXPECT_EQ(ScrollTop(), 900);

    // 21 visits: 20 entries, the first gone; Back repeatedly ends at the second.
    const std::int32_t ids[] = {1002, 1006, 1008};
    for (int i = 0; i < 21; ++i) window->ShowArticle(ids[i % 3], true, true, {}, "");
    EXPECT_EQ(window->History().Count(), 20);
    CHistoryEntry first;
    ASSERT_TRUE(window->History().Get(0, first));
    EXPECT_EQ(first.articleId, ids[1]);
    for (int i = 0; i < 30; ++i) window->Back();
    EXPECT_EQ(window->History().Index(), 0);
    EXPECT_EQ(window->CurrentArticle(), ids[1]);
    EXPECT_FALSE(Enabled(CTextBrowser::kBackButton));
    // Navigating after going back drops the forward entries.
    window->ShowArticle(1009, true, true, {}, "");
    EXPECT_EQ(window->History().Count(), 2);
    EXPECT_FALSE(Enabled(CTextBrowser::kForwardButton));
    before = loads;
    WaitForPage(before - 1);
}

TEST_F(TextBrowserTest, SameArticleOnlyScrollsToTheAnchor) {
    Create();
    // The only hit is the last heading: the page opens scrolled down to it; the anchor of the
    // same name is an attribute and stays unmarked.
    Open(kEuropa, "", {"neuzeit"});
    const std::string body = Body();
    EXPECT_NE(body.find("<span class=\"Search\" id=\"Search\">Neuzeit</span>"), std::string::npos);
    EXPECT_NE(body.find("name=\"neuzeit\""), std::string::npos);
    EXPECT_GT(ScrollTop(), 1000);
    const int before = loads;
    ScrollTo(0);
    window->ShowArticle(kEuropa, true, true, {"Rom"}, "neuzeit");
    ASSERT_TRUE(WaitFor([&] { return ScrollTop() > 0; }));
    Pause(200);
    // No new page, and the new terms are not marked.
    EXPECT_EQ(loads, before);
    EXPECT_EQ(Body().find(">Rom<"), std::string::npos);
    EXPECT_EQ(window->History().Count(), 2);
    // A pending anchor on a fresh article.
    Open(1001);
    Open(kEuropa, "geschichte");
    EXPECT_GT(ScrollTop(), 0);
}

TEST_F(TextBrowserTest, LinkProtocol) {
    Create();
    Open(kEuropa);
    struct Case {
        const char* text;
        std::string call;
    };
    const auto link = [&](const char* text) {
        Eval(QStringLiteral("Array.prototype.find.call(document.links, function (a) { return "
                            "a.textContent === '%1'; }).click()")
                 .arg(QLatin1String(text)));
    };
    link("Karte");
    link("Flagge");
    link("Grafik");
    link("Pyramide");
    ASSERT_TRUE(WaitFor([&] { return host.calls.size() == 4; }));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"map 276", "flag 40", "image Graph 1004",
                                                    "file pyramide.gif"}));
    // Web links go to the desktop; file: and javascript: addresses go nowhere.
    link("Web");
    link("Datei");
    link("Skript");
    ASSERT_TRUE(WaitFor([&] { return window->opened.size() == 1; }));
    Pause(200);
    EXPECT_EQ(window->opened, (std::vector<std::string>{"http://www.example.org/"}));
    EXPECT_EQ(host.calls.size(), 4u);

    // A cross reference opens the article holding the identifier at its anchor, with history.
    const int entries = window->History().Count();
    link("Querverweis");
    ASSERT_TRUE(WaitFor([&] { return window->History().Count() == entries + 1; }));
    CHistoryEntry entry;
    window->History().Get(window->History().Index(), entry);
    EXPECT_EQ(entry.articleId, kEuropa);
    EXPECT_EQ(AnchorOf(entry), "geschichte");
    ASSERT_TRUE(WaitFor([&] { return ScrollTop() > 0; }));
    // An identifier that no article holds changes nothing.
    window->DisplaySGML("gibtsnicht");
    EXPECT_EQ(window->History().Count(), entries + 1);
}

TEST_F(TextBrowserTest, PanelsButtonsAndClearing) {
    Create();
    Open(1001);
    ASSERT_EQ(panelsMade, (std::vector<int>{1}));
    QPointer<CFakePanel> first = lastPanel;
    emit window->Controls().Push(CTextBrowser::kPanel4Button)->command(CTextBrowser::kPanel4Button);
    ASSERT_TRUE(WaitFor([&] { return window->PanelType() == 4; }));
    EXPECT_EQ(panelsMade, (std::vector<int>{1, 4}));
    ASSERT_TRUE(WaitFor([&] { return !first; }));
    EXPECT_FALSE(Enabled(CTextBrowser::kPanel4Button));
    EXPECT_FALSE(Enabled(CTextBrowser::kCopyButton));
    ASSERT_TRUE(WaitFor([&] { return !window->Browser()->IsLoading(); }));
    EXPECT_EQ(Body().find("Bundesstaat"), std::string::npos);
    // The same panel again: nothing happens.
    window->ShowPanel(4, true);
    EXPECT_EQ(panelsMade.size(), 2u);
    // The article that was cleared away is composed again when it is opened again.
    Open(1001);
    EXPECT_NE(Body().find("Bundesstaat"), std::string::npos);
    EXPECT_EQ(window->PanelType(), 1);

    emit window->Controls().Push(CTextBrowser::kSearchButton)->command(CTextBrowser::kSearchButton);
    ASSERT_TRUE(WaitFor([&] { return !host.calls.empty(); }));
    EXPECT_EQ(host.calls.back(), "search");
}

TEST_F(TextBrowserTest, CopyAndPrint) {
    Create();
    Open(1001);
    window->CopySelection();
    EXPECT_EQ(Boxes(), "H I N W E I S\tBitte markieren Sie zunächst den zu kopierenden Text!\n");
    Eval("window.getSelection().selectAllChildren(document.querySelector('#Layer2 p'))");
    ASSERT_TRUE(WaitFor([&] { return window->Browser()->HasSelection(); }));
    QApplication::clipboard()->clear();
    window->CopySelection();
    EXPECT_EQ(Boxes(), "H I N W E I S\tDer markierte Text wurde in die Zwischenablage kopiert.\n");
    ASSERT_TRUE(WaitFor(
        [&] { return QApplication::clipboard()->text() == "Bundesstaat in Mitteleuropa."; }));

    // The layers that are there, each followed by a line break.
    window->PrintArticle();
    ASSERT_TRUE(WaitFor([&] { return !host.printed.empty(); }));
    EXPECT_EQ(
        host.printed,
        "Deutschland<BR><a href=\"276\" target=\"Flag\"><img src=\"Flags/DEU_karte.gif\" "
        "hspace=\"0\" vspace=\"0\" border=\"0\"></a><BR><h1>Deutschland</h1><p>Bundesstaat in "
        "Mitteleuropa.</p><BR>(-» <a href=\"276\" target=\"Map\">Karte</a>)<BR>");
}

TEST_F(TextBrowserTest, SectionInViewGoesToThePanel) {
    Create();
    Open(kEuropa);
    ASSERT_EQ(window->AnchorNames(), (std::vector<std::string>{"antike", "geschichte", "neuzeit"}));
    const int geschichte = Eval("document.getElementsByName('geschichte')[0].offsetTop").toInt();
    ScrollTo(geschichte + 60);
    lastPanel->selected.clear();
    window->RestartSectionTimer();
    ASSERT_TRUE(WaitFor([&] { return !lastPanel->selected.empty(); }));
    EXPECT_EQ(lastPanel->selected.back(),
              std::make_pair(std::int32_t(kEuropa), std::string("geschichte")));

    // Scrolling by itself makes the panel follow.
    lastPanel->selected.clear();
    ScrollTo(0);
    ASSERT_TRUE(WaitFor([&] {
        return !lastPanel->selected.empty() && lastPanel->selected.back().second == "antike";
    }));

    // A reload request composes the page anew.
    const int before = loads;
    CBrowserEvent reload(NBM_RELOAD, 0);
    QCoreApplication::sendEvent(window, &reload);
    WaitForPage(before);
    EXPECT_EQ(window->CurrentArticle(), kEuropa);
}

TEST_F(TextBrowserTest, MissingHtmlFolderClosesTheWindow) {
    int checks = 0;
    Create([&] {
        ++checks;
        return false;
    });
    EXPECT_FALSE(window->IsUsable());
    EXPECT_EQ(window->Browser(), nullptr);
    window->ShowArticle(1001, true, true, {}, "");
    EXPECT_EQ(checks, 1);
    QPointer<CTextBrowser> gone = window;
    ASSERT_TRUE(WaitFor([&] { return !gone; }));
    window = nullptr;
}
