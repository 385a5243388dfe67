// The browser wrapper over the embedded browser, under a real display (xvfb): loading and the
// deferred text, highlighting, anchors and elements, link interception and the document
// events, copying, and printing with the page setup.
#include "text/NOXBrowser.h"

#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <cstdio>
#include <dlfcn.h>
#include <memory>

#include "platform/RegistryFiles.h"
#include "platform/TestFiles.h"
#include "text/BrowserTestSupport.h"
#include "text/PageSetup.h"

using namespace browsertest;

namespace {

const char* const kHostPage
    = "<html><head><style>body{margin:0;font-family:sans-serif}"
      "#Layer2{position:absolute;top:0;left:0;width:380px;height:200px;overflow:auto}"
      "</style></head><body></body></html>";

std::string Filler(int paragraphs) {
    std::string text;
    for (int i = 0; i < paragraphs; ++i) text += "<P>Absatz " + std::to_string(i) + "</P>";
    return text;
}

// The text pdftotext reads from a PDF file.
std::string PdfText(const std::string& path) {
    const std::string command = "pdftotext -layout '" + path + "' -";
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

class NOXBrowserTest : public testing::Test {
protected:
    NOXBrowserTest() : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()) {
        WriteFile(dir / "HTML/TB.htm", kHostPage);
        owner.resize(400, 300);
        owner.show();
    }
    ~NOXBrowserTest() override { delete browser; }

    // A wrapper as a child of the owner, loaded and idle.
    void Create() {
        browser = new CNOXBrowser;
        browser->Create(&owner, 77, QRect(0, 0, 400, 300),
                        QString::fromStdString(dir / "HTML/TB.htm"), Qt::Widget);
        ASSERT_TRUE(WaitFor([&] { return !browser->IsLoading(); }));
    }
    void ShowAndWait(const QString& html) {
        const int before = owner.Count(NBM_PAGELOADED);
        browser->ShowHTML(html);
        ASSERT_TRUE(
            WaitFor([&] { return owner.Count(NBM_PAGELOADED) > before && !browser->IsLoading(); }));
    }
    QVariant Eval(const QString& script) {
        return Await<QVariant>([&](auto done) { browser->WebView()->RunScript(script, done); });
    }
    std::string Body() {
        return Await<QString>([&](auto done) { browser->GetBodyHTML(done); }).toStdString();
    }
    std::string Boxes() {
        const std::string text = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return text;
    }

    CTempDir dir;
    CScopedEnv m_messages;
    COwner owner;
    CNOXBrowser* browser = nullptr;
};

// Whether the web engine is in the process (nothing is loaded by asking).
bool EngineLoaded() {
    void* engine = ::dlopen("libQt6WebEngineCore.so.6", RTLD_NOW | RTLD_NOLOAD);
    if (engine) ::dlclose(engine);
    return engine != nullptr;
}

}  // namespace

// The program links no web engine: the first browser loads its view module, which brings it,
// and later browsers reuse it.
TEST_F(NOXBrowserTest, FirstBrowserLoadsTheWebEngine) {
    ASSERT_FALSE(EngineLoaded());
    Create();
    EXPECT_TRUE(EngineLoaded());
    ASSERT_NE(browser->View(), nullptr);
    EXPECT_EQ(browser->View()->objectName(), "IEChild");
    EXPECT_EQ(browser->View()->parentWidget(), browser);
    ShowAndWait("<P>Erste Seite</P>");
    EXPECT_EQ(Body(), "<p>Erste Seite</p>");

    CNOXBrowser second;
    second.Create(&owner, 78, QRect(0, 0, 200, 100), QString::fromStdString(dir / "HTML/TB.htm"),
                  Qt::Widget);
    ASSERT_TRUE(WaitFor([&] { return !second.IsLoading(); }));
    ASSERT_NE(second.View(), nullptr);
    second.ShowHTML("<P>Zweite Seite</P>");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_PAGELOADED) >= 4 && !second.IsLoading(); }));
    const QString body = Await<QString>([&](auto done) { second.GetBodyHTML(done); });
    EXPECT_EQ(body, "<p>Zweite Seite</p>");
}

TEST_F(NOXBrowserTest, SecondTextWaitsForTheFirstLoad) {
    Create();
    EXPECT_EQ(owner.Count(NBM_PAGELOADED), 1);
    EXPECT_EQ(owner.notices.back().wParam, 77);
    std::vector<std::string> bodies;
    owner.onNotice = [&](const Notice& notice) {
        if (notice.type == NBM_PAGELOADED) bodies.push_back("loaded");
    };
    browser->ShowHTML("<P id=a>Erster</P>");
    EXPECT_TRUE(browser->IsLoading());
    browser->ShowHTML("<P id=b>Zweiter</P>");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_PAGELOADED) == 3 && !browser->IsLoading(); }));
    EXPECT_EQ(Body(), "<p id=\"b\">Zweiter</p>");
    EXPECT_EQ(bodies.size(), 2u);

    // Three in a row: the newest text wins, the one in between is never shown.
    browser->ShowHTML("eins");
    browser->ShowHTML("zwei");
    browser->ShowHTML("drei");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_PAGELOADED) == 5 && !browser->IsLoading(); }));
    EXPECT_EQ(Body(), "drei");
    Pause(150);
    EXPECT_EQ(owner.Count(NBM_PAGELOADED), 5);
}

TEST_F(NOXBrowserTest, HostPageThatCannotBeReadStillShowsTheText) {
    browser = new CNOXBrowser;
    browser->Create(&owner, 1, QRect(0, 0, 400, 300),
                    QString::fromStdString(dir / "HTML/fehlt.htm"), Qt::Widget);
    ASSERT_TRUE(WaitFor([&] { return !browser->IsLoading(); }));
    ShowAndWait("<P>Trotzdem da</P>");
    EXPECT_EQ(Body(), "<p>Trotzdem da</p>");
}

TEST_F(NOXBrowserTest, HighlightsHitsAndScrollsToTheFirst) {
    Create();
    browser->SetHighlightTerms({"wien"});
    ShowAndWait(QString::fromStdString("<div id=Layer2>" + Filler(60)
                                       + "<P><A title=\"Wien\" href=\"#x\">Wien</A> und WIEN</P>"
                                         "<!-- Wien --></div>"));
    const std::string body = Body();
    // Twice marked: the link text and the capitals; the attribute and the comment are not.
    std::size_t marks = 0;
    for (std::size_t at = body.find("class=\"Search\""); at != std::string::npos;
         at = body.find("class=\"Search\"", at + 1))
        ++marks;
    EXPECT_EQ(marks, 2u) << body;
    EXPECT_NE(body.find("title=\"Wien\""), std::string::npos);
    EXPECT_NE(body.find("<!-- Wien -->"), std::string::npos);
    // The first mark is in view: the content area scrolled down to it.
    ASSERT_TRUE(
        WaitFor([&] { return Eval("document.getElementById('Layer2').scrollTop").toInt() > 0; }));

    // The terms were used up: the next page is not marked.
    ShowAndWait("<P>Wien</P>");
    EXPECT_EQ(Body(), "<p>Wien</p>");

    std::string browserSpelling = body;
    CNOXBrowser::RemoveHighlights(browserSpelling);
    EXPECT_EQ(browserSpelling.find("Search"), std::string::npos);
}

TEST_F(NOXBrowserTest, AnchorsElementsAndScrolling) {
    Create();
    browser->WatchScroll("Layer2");
    browser->SetPendingAnchor("zwei");
    ShowAndWait(QString::fromStdString("<div id=Layer2><A name=eins></A>" + Filler(40)
                                       + "<A name=zwei></A><P name=inhalt>Zwei</P>" + Filler(40)
                                       + "<A name=drei></A></div>"));
    // The pending anchor is in view after the load.
    const int afterAnchor = Eval("document.getElementById('Layer2').scrollTop").toInt();
    EXPECT_GT(afterAnchor, 0);
    EXPECT_EQ(Await<std::vector<std::string>>([&](auto done) { browser->GetAnchorNames(done); }),
              (std::vector<std::string>{"eins", "zwei", "drei"}));

    bool ok = false;
    browser->SetElementScroll("Layer2", 0, 120, [&](bool done) { ok = done; });
    ASSERT_TRUE(WaitFor([&] { return ok; }));
    int left = -1, top = -1;
    bool read = false;
    browser->GetElementScroll("Layer2", [&](bool found, int l, int t) {
        read = found;
        left = l;
        top = t;
    });
    ASSERT_TRUE(WaitFor([&] { return read; }));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(top, 120);
    // The watched offsets follow the element's scrolling.
    ASSERT_TRUE(WaitFor([&] {
        int l = 0, t = 0;
        browser->WatchedScroll(l, t);
        return t == 120;
    }));

    bool missing = true;
    browser->GetElementScroll("Layer9", [&](bool found, int, int) {
        missing = !found;
        read = true;
    });
    read = false;
    ASSERT_TRUE(WaitFor([&] { return read; }));
    EXPECT_TRUE(missing);
    EXPECT_EQ(Await<QString>([&](auto done) { browser->GetElementHTML("inhalt", done); }), "Zwei");
    EXPECT_EQ(Await<QString>([&](auto done) { browser->GetElementHTML("nichts", done); }), "");

    // Anchor rectangles against the visible area: the second anchor is above it now.
    browser->ScrollToAnchor("drei");
    const std::vector<QRect> anchors
        = Await<std::vector<QRect>>([&](auto done) { browser->GetAnchorRects(done); });
    ASSERT_EQ(anchors.size(), 3u);
    bool visibleRead = false;
    QRect visible;
    browser->GetVisibleRect("Layer2", [&](bool found, QRect r) {
        visibleRead = found;
        visible = r;
    });
    ASSERT_TRUE(WaitFor([&] { return visibleRead; }));
    EXPECT_EQ(visible.height(), 200);
    EXPECT_LT(anchors[1].top(), visible.top());
    EXPECT_GE(anchors[2].top(), visible.top());

    browser->SetBodyHTML("<P>Neu</P>");
    EXPECT_EQ(Body(), "<p>Neu</p>");
}

TEST_F(NOXBrowserTest, LinksAndDocumentEvents) {
    browser = new CNOXBrowser;
    browser->SetInterceptLinks(true);
    browser->SetDocumentEventsToOwner(true);
    browser->SetContextMenuToOwner(true);
    browser->Create(&owner, 5, QRect(0, 0, 400, 300), QString::fromStdString(dir / "HTML/TB.htm"),
                    Qt::Widget);
    ASSERT_TRUE(WaitFor([&] { return !browser->IsLoading(); }));
    ShowAndWait(
        "<A id=karte HREF=\"276\" Target=\"Map\">Karte</A> <A id=web "
        "href=\"http://www.example.org/\">Web</A> <A id=sprung href=\"#unten\">Sprung</A>"
        "<A id=leer href=\"#\" target=STEXT>leer</A><A name=unten></A>");

    // A click reports URL and target and goes nowhere.
    Eval("document.getElementById('karte').click()");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_LINKCLICKED) == 1; }));
    const Notice* link = owner.Last(NBM_LINKCLICKED);
    EXPECT_EQ(link->wParam, 0);
    EXPECT_EQ(link->url, "file://" + dir.Path() + "HTML/276");
    EXPECT_EQ(link->target, "Map");
    // One trailing "#" goes; a link with a "#" in it is the page's own jump.
    Eval("document.getElementById('leer').click()");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_LINKCLICKED) == 2; }));
    EXPECT_EQ(owner.Last(NBM_LINKCLICKED)->target, "STEXT");
    EXPECT_EQ(owner.Last(NBM_LINKCLICKED)->url, "file://" + dir.Path() + "HTML/TB.htm");
    Eval("document.getElementById('sprung').click()");
    Pause(300);
    EXPECT_EQ(owner.Count(NBM_LINKCLICKED), 2);
    EXPECT_EQ(Body().find("Karte") != std::string::npos, true);

    // A navigation that is no click (a script's) is reported without target and cancelled.
    Eval("window.location.href = 'http://www.example.org/weiter'");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_LINKCLICKED) == 3; }));
    EXPECT_EQ(owner.Last(NBM_LINKCLICKED)->url, "http://www.example.org/weiter");
    EXPECT_EQ(owner.Last(NBM_LINKCLICKED)->target, "");
    EXPECT_EQ(owner.Last(NBM_LINKCLICKED)->wParam, 5);
    Pause(200);
    EXPECT_NE(Body().find("Karte"), std::string::npos);

    // Document events, and the right click that replaces the browser's menu.
    Eval(
        "document.body.dispatchEvent(new KeyboardEvent('keydown', {bubbles: true}));"
        "document.body.dispatchEvent(new MouseEvent('mousedown', {bubbles: true}))");
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_MOUSEDOWN) == 1; }));
    EXPECT_EQ(owner.Count(NBM_KEYDOWN), 1);
    QWidget* input = browser->View()->focusProxy();
    ASSERT_NE(input, nullptr);
    QTest::mouseClick(input, Qt::RightButton, {}, QPoint(200, 150));
    ASSERT_TRUE(WaitFor([&] { return owner.Count(NBM_CONTEXTMENU) == 1; }));
    EXPECT_EQ(owner.Last(NBM_CONTEXTMENU)->wParam, 0);
}

TEST_F(NOXBrowserTest, SelectionAndCopy) {
    Create();
    ShowAndWait("<P id=p>Der markierte Abschnitt</P>");
    EXPECT_FALSE(browser->HasSelection());
    Eval("window.getSelection().selectAllChildren(document.getElementById('p'))");
    ASSERT_TRUE(WaitFor([&] { return browser->HasSelection(); }));
    QApplication::clipboard()->clear();
    browser->Copy();
    ASSERT_TRUE(WaitFor([&] {
        return QApplication::clipboard()->text() == "Der markierte Abschnitt";
    })) << QApplication::clipboard()->text().toStdString();
}

TEST_F(NOXBrowserTest, PrintsWithPageSetupAndRestoresIt) {
    CRegistryFiles registry("", dir / "registry.ini");
    registry.WriteValue(kPageSetupKey, {"header", false, "Mein Kopf"});
    registry.WriteValue(kPageSetupKey, {"footer", false, "Mein Fuß"});
    Create();
    browser->SetRegistry(&registry);
    browser->SetDocumentTitle("Länderinfo");
    browser->SetPrintFooter("&u&b&d Varnholt");
    ShowAndWait(QString::fromStdString("<H1>Deutschland</H1>" + Filler(120) + "<P>Ende</P>"));

    const std::string pdf = dir / "out/druck.pdf";
    std::filesystem::create_directories(dir / "out");
    std::vector<bool> finished;
    QObject::connect(browser, &CNOXBrowser::printFinished,
                     [&](bool printed) { finished.push_back(printed); });
    {
        CScopedEnv target("KOMPENDOR_PRINT_PDF", pdf.c_str());
        browser->Print();
        EXPECT_TRUE(browser->IsPrinting());
        // The page setup is written while the print runs.
        std::optional<std::vector<RegistryValue>> values = registry.ReadKey(kPageSetupKey);
        ASSERT_TRUE(values);
        ASSERT_TRUE(WaitFor([&] { return !finished.empty(); }));
    }
    EXPECT_TRUE(finished.back());
    const std::string text = PdfText(pdf);
    EXPECT_NE(text.find("Deutschland"), std::string::npos) << text;
    EXPECT_NE(text.find("Ende"), std::string::npos);
    // Header: the document title left, "page / pages" right; footer: address, date, text.
    EXPECT_NE(text.find("Länderinfo"), std::string::npos) << text;
    std::string squeezed = text;
    std::erase(squeezed, ' ');
    EXPECT_NE(squeezed.find("Länderinfo1/"), std::string::npos) << text;
    EXPECT_EQ(text.find("&p"), std::string::npos);
    EXPECT_NE(text.find(QDate::currentDate().toString("dd.MM.yyyy").toStdString() + " Varnholt"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("TB.htm"), std::string::npos) << text;
    const std::size_t pages = std::count(text.begin(), text.end(), '\f');
    EXPECT_GE(pages, 2u);
    EXPECT_NE(squeezed.find("2/" + std::to_string(pages)), std::string::npos) << text;

    auto value = [&](const char* name) {
        const std::optional<std::vector<RegistryValue>> key = registry.ReadKey(kPageSetupKey);
        for (const RegistryValue& v : key.value_or(std::vector<RegistryValue>{}))
            if (v.name == name) return v.data;
        return std::string("(none)");
    };
    EXPECT_EQ(value("header"), "Mein Kopf");
    EXPECT_EQ(value("footer"), "Mein Fuß");
    EXPECT_EQ(value("margin_left"), "0.98425");
    EXPECT_EQ(Boxes(), "");

    // A printout that cannot be written: the message, no success, the user's lines back.
    {
        CScopedEnv target("KOMPENDOR_PRINT_PDF", (dir / "kein/ordner/druck.pdf").c_str());
        browser->Print();
        ASSERT_TRUE(WaitFor([&] { return finished.size() == 2; }));
    }
    EXPECT_FALSE(finished.back());
    EXPECT_EQ(Boxes(), "F E H L E R\tDie Seite konnte nicht gedruckt werden.\n");
    EXPECT_EQ(value("header"), "Mein Kopf");
    EXPECT_EQ(value("footer"), "Mein Fuß");

    // Scripted without a PDF file: no printout, nothing to report, the lines back.
    browser->Print();
    ASSERT_EQ(finished.size(), 3u);
    EXPECT_FALSE(finished.back());
    EXPECT_EQ(Boxes(), "");
    EXPECT_EQ(value("header"), "Mein Kopf");

    // A wrapper closed while it prints puts the lines back too.
    {
        CScopedEnv target("KOMPENDOR_PRINT_PDF", pdf.c_str());
        browser->Print();
        ASSERT_TRUE(browser->IsPrinting());
        EXPECT_EQ(value("header"), kDefaultPrintHeader);
        delete browser;
        browser = nullptr;
    }
    EXPECT_EQ(value("header"), "Mein Kopf");
}
