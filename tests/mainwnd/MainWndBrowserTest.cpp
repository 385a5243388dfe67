// The main window's windows over the embedded browser, under a real display (xvfb): the
// article window from a country and from the command bar, printing through the hidden print
// host (the table's print button too), the cell information following the table's selection,
// and printing a picture.
#include <QImage>
#include <cstdio>

#include "app/Settings.h"
#include "controls/TemplateDialog.h"
#include "mainwnd/MainWnd.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "table/CellInfoAlmanac.h"
#include "table/CellInfoDlg.h"
#include "table/Table.h"
#include "table/TableWnd.h"
#include "text/ArticleAlmanac.h"
#include "text/BrowserTestSupport.h"
#include "text/NOXBrowser.h"
#include "text/PageSetup.h"
#include "text/TextBrowser.h"

using namespace browsertest;
using namespace fixture;

namespace {

std::string Shell(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::size_t n = std::fread(buffer, 1, sizeof buffer, pipe)) text.append(buffer, n);
        ::pclose(pipe);
    }
    return text;
}

void Press(CTemplateDialog* dialog, int id) {
    CPushCtrl* push = dialog->Controls().Push(id);
    ASSERT_NE(push, nullptr) << id;
    ASSERT_TRUE(push->isEnabled()) << id;
    emit push->command(id);
}

class MainWndBrowserTest : public testing::Test {
protected:
    MainWndBrowserTest()
        : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()),
          m_temp("TMPDIR", dir.Path().c_str()),
          m_pdf("KOMPENDOR_PRINT_PDF", (dir / "druck.pdf").c_str()) {
        std::filesystem::create_directories(dir / "Daten");
        CreateArticleAlmanac(dir / "Daten");
        WriteWindowTemplates(dir / "HTML/");
        WriteCellInfoTemplates(dir / "HTML/");
        WriteFile(dir / "NOX.INI",
                  "[Setup]\nApp=Almanach\n[Paths]\nUserData=user/\nIMG=Daten/\nHTML=HTML/\n");
        m_registry = std::make_unique<CRegistryFiles>("", dir / "registry.ini");
        m_settings = std::make_unique<CSettings>(dir.Path(), *m_registry);
        InstallSettings(m_settings.get());
        db.Open(dir / "Daten/Kompendor.mdb", false, true, kAlmanacConnect);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        wnd = std::make_unique<CMainWnd>(&db);
        QObject::connect(wnd.get(), &CMainWnd::printDone,
                         [this](bool printed) { prints.push_back(printed); });
    }
    ~MainWndBrowserTest() override {
        wnd.reset();
        InstallSettings(nullptr);
    }

    std::string Boxes() {
        const std::string text = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return text;
    }
    std::string PdfText() { return Shell("pdftotext -layout '" + dir / "druck.pdf" + "' -"); }
    std::string Body(CNOXBrowser* browser) {
        return Await<QString>([&](auto done) { browser->GetBodyHTML(done); }).toStdString();
    }

    CTempDir dir;
    CScopedEnv m_messages;
    CScopedEnv m_temp;
    CScopedEnv m_pdf;
    CDatabase db;
    std::unique_ptr<CRegistryFiles> m_registry;
    std::unique_ptr<CSettings> m_settings;
    std::unique_ptr<CMainWnd> wnd;
    std::vector<bool> prints;
};

}  // namespace

TEST_F(MainWndBrowserTest, ArticleWindowFromCountryAndCommandBar) {
    wnd->OpenTextBrowserLandID(kDeutschland);
    CTextBrowser* browser = wnd->TextBrowserWindow();
    ASSERT_NE(browser, nullptr);
    EXPECT_TRUE(browser->isVisible());
    EXPECT_EQ(browser->CurrentArticle(), 1001);
    ASSERT_TRUE(
        WaitFor([&] { return Body(browser->Browser()).find("Bundesstaat") != std::string::npos; }));

    // The same window again, at an anchor, with the search terms marked.
    wnd->OpenTextBrowser(kEuropa, wnd.get(), QStringLiteral("neuzeit"), {"Rom"});
    EXPECT_EQ(wnd->TextBrowserWindow(), browser);
    EXPECT_EQ(browser->CurrentArticle(), kEuropa);
    ASSERT_TRUE(WaitFor([&] {
        return Body(browser->Browser()).find("<span class=\"Search\" id=\"Search\">Rom</span>")
               != std::string::npos;
    }));

    // The command bar's article buttons open their panels.
    const std::pair<int, int> buttons[] = {{1004, 2}, {1007, 3}, {1005, 4}, {1009, 6}, {1006, 1}};
    for (const auto& [id, panel] : buttons) {
        Press(wnd->CommandBar(), id);
        ASSERT_TRUE(WaitFor([&, panel = panel] { return browser->PanelType() == panel; })) << id;
    }
    EXPECT_EQ(Boxes(), "");

    // Closing destroys the window; the next request makes a new one.
    Press(browser, CTextBrowser::kCloseButton);
    ASSERT_TRUE(WaitFor([&] { return wnd->TextBrowserWindow() == nullptr; }));
    wnd->OpenTextBrowserPanel(5);
    ASSERT_NE(wnd->TextBrowserWindow(), nullptr);
    EXPECT_EQ(wnd->TextBrowserWindow()->PanelType(), 5);
}

TEST_F(MainWndBrowserTest, PrintHostAndTheTablesPrintButton) {
    m_registry->WriteValue(kPageSetupKey, {"footer", false, "Meine Fußzeile"});
    wnd->ShowTable(1, 1, {kDeutschland, kOesterreich}, {kEinwohner, kBip});
    ASSERT_NE(wnd->TableWindow(), nullptr);
    Press(wnd->TableWindow()->Bar(), CTableWnd::kPrintId);
    ASSERT_TRUE(WaitFor([&] { return wnd->PrintHost() != nullptr; }));
    // The hidden print host lives off screen and never shows.
    EXPECT_EQ(wnd->PrintHost()->geometry(), QRect(QPoint(-500, -500), QPoint(-400, -400)));
    ASSERT_TRUE(WaitFor([&] { return !prints.empty(); }));
    EXPECT_TRUE(prints.back());
    EXPECT_FALSE(wnd->PrintHost()->isVisible());
    const std::string text = PdfText();
    EXPECT_NE(text.find("Deutschland"), std::string::npos) << text;
    EXPECT_NE(text.find("82.440.000"), std::string::npos) << text;
    // The footer is the product's notice line; the user's own comes back.
    EXPECT_NE(text.find(CMainWnd::kNoticeLine), std::string::npos) << text;
    EXPECT_EQ(wnd->PrintHost()->PrintFooter(), QString::fromUtf8(CMainWnd::kNoticeLine));
    const auto values = m_registry->ReadKey(kPageSetupKey);
    ASSERT_TRUE(values);
    bool footer = false;
    for (const RegistryValue& v : *values)
        if (v.name == "footer") footer = v.data == "Meine Fußzeile";
    EXPECT_TRUE(footer);

    // Two texts in a row: the second waits for the first print and is printed after it.
    std::filesystem::remove(dir / "druck.pdf");
    wnd->PrintHTML("<P>Erster Druck</P>");
    ASSERT_TRUE(WaitFor([&] { return wnd->PrintHost()->IsPrinting(); }));
    wnd->PrintHTML("<P>Zweiter Druck</P>");
    ASSERT_TRUE(WaitFor([&] { return prints.size() == 3; }));
    EXPECT_NE(PdfText().find("Zweiter Druck"), std::string::npos);
    EXPECT_EQ(Boxes(), "");
}

TEST_F(MainWndBrowserTest, CellInformationFollowsTheSelection) {
    wnd->ShowTable(1, 1, {kDeutschland, kOesterreich, kAegypten}, {kEinwohner, kWaehrung});
    CTable* grid = wnd->TableWindow()->Grid();
    ASSERT_EQ(grid->GetColumnCount(), 4);
    ASSERT_EQ(grid->GetRowCount(), 3);
    grid->Select(1, 1);
    CCellInfoDlg* info = wnd->CellInfoWindow();
    ASSERT_NE(info, nullptr);
    int updates = 0;
    QObject::connect(info, &CCellInfoDlg::updated, [&] { ++updates; });
    // Hidden until the page has gone into its browser.
    EXPECT_FALSE(info->isVisible());
    ASSERT_TRUE(WaitFor([&] { return updates == 1; }));
    EXPECT_TRUE(info->isVisible());
    EXPECT_EQ(info->Controls().Static(CCellInfoDlg::kTitle)->Text(), "Deutschland");
    ASSERT_TRUE(
        WaitFor([&] { return Body(info->Browser()).find("Weltrang: 1") != std::string::npos; }));
    const std::string body = Body(info->Browser());
    EXPECT_NE(body.find("82.440.000 (2002)"), std::string::npos) << body;
    EXPECT_NE(body.find("Quelle: UN Population Division"), std::string::npos);
    // The chart: a bitmap file in the temporary folder, a line for each of the three years.
    const QImage chart(QString::fromStdString(dir / "ZYBCI.bmp"));
    ASSERT_FALSE(chart.isNull());
    EXPECT_EQ(chart.size(), QSize(312, 48));
    EXPECT_EQ(chart.pixelColor(311, 47), QColor(221, 225, 234));

    // At the first row and column, up and left are off; the arrows walk the table.
    auto enabled = [&](int id) { return info->Controls().Push(id)->isEnabled(); };
    EXPECT_FALSE(enabled(CCellInfoDlg::kUpButton));
    EXPECT_FALSE(enabled(CCellInfoDlg::kLeftButton));
    EXPECT_TRUE(enabled(CCellInfoDlg::kDownButton));
    EXPECT_TRUE(enabled(CCellInfoDlg::kMapButton));
    Press(info, CCellInfoDlg::kDownButton);
    ASSERT_TRUE(WaitFor([&] { return grid->GetSelectedRow() == 2; }));
    EXPECT_FALSE(enabled(CCellInfoDlg::kDownButton));
    EXPECT_FALSE(enabled(CCellInfoDlg::kMapButton));
    Press(info, CCellInfoDlg::kRightButton);
    Press(info, CCellInfoDlg::kRightButton);
    ASSERT_TRUE(WaitFor([&] { return grid->GetSelectedColumn() == 3; }));
    EXPECT_FALSE(enabled(CCellInfoDlg::kRightButton));
    EXPECT_TRUE(enabled(CCellInfoDlg::kUpButton));
    // Ägypten's currency is a text: the text page.
    ASSERT_TRUE(WaitFor(
        [&] { return Body(info->Browser()).find("Ägyptisches Pfund") != std::string::npos; }));
    EXPECT_EQ(info->Controls().Static(CCellInfoDlg::kTitle)->Text(), "Ägypten");

    // Closing clears the table's selection.
    QPointer<CCellInfoDlg> gone = info;
    Press(info, CCellInfoDlg::kCloseButton);
    ASSERT_TRUE(WaitFor([&] { return !gone; }));
    EXPECT_EQ(grid->GetSelectedRow(), 0);
    EXPECT_EQ(wnd->CellInfoWindow(), nullptr);

    // A new table content has no cell information of the old one.
    grid->Select(1, 1);
    ASSERT_NE(wnd->CellInfoWindow(), nullptr);
    wnd->ShowTable(1, 1, {kDeutschland}, {kEinwohner});
    EXPECT_EQ(wnd->CellInfoWindow(), nullptr);
}

TEST_F(MainWndBrowserTest, PrintsAPictureWithTheNoticeLine) {
    QImage picture(480, 320, QImage::Format_RGB32);
    picture.fill(QColor(30, 90, 160));
    wnd->PrintPicture(wnd.get(), picture);
    const std::string text = PdfText();
    EXPECT_NE(text.find(CMainWnd::kNoticeLine), std::string::npos) << text;
    EXPECT_NE(Shell("pdfimages -list '" + dir / "druck.pdf" + "'").find("480   320"),
              std::string::npos);
    EXPECT_NE(Shell("pdfinfo '" + dir / "druck.pdf" + "'").find("Varnholt Kompendor"),
              std::string::npos);
    // Without a PDF file a scripted run prints nothing.
    std::filesystem::remove(dir / "druck.pdf");
    CScopedEnv none("KOMPENDOR_PRINT_PDF", nullptr);
    wnd->PrintPicture(wnd.get(), picture);
    EXPECT_FALSE(std::filesystem::exists(dir / "druck.pdf"));
    EXPECT_EQ(Boxes(), "");
}
