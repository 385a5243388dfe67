// The main window's picture operations on the fixture almanac with picture archives made by
// Info-ZIP: which archive each kind of record opens, the ".eps" rule, reuse of the image
// window and the flag viewer, export as a bitmap through the viewer's menu, the placement in
// the registry, the insert-disc prompt, and the graph gallery from the command bar. Message
// boxes are captured through KOMPENDOR_MESSAGES.
#include <gtest/gtest.h>

#include <QTest>

#include "app/Settings.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "fixtures/FixtureAlmanac.h"
#include "mainwnd/MainWnd.h"
#include "mainwnd/MediumCheck.h"
#include "platform/DriveType.h"
#include "platform/TestFiles.h"
#include "noxctrls/PushCtrl.h"
#include "support/WaitUntil.h"
#include "viewers/FlagView.h"
#include "viewers/GraphView.h"
#include "viewers/ListWnd.h"
#include "viewers/ImageWnd.h"
#include "viewers/PictureMenu.h"
#include "viewers/ViewerTestSupport.h"

using namespace viewer_test;

namespace {

class MainWndPictures : public testing::Test {
protected:
    MainWndPictures()
        : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()),
          m_answers("KOMPENDOR_ANSWERS", nullptr),
          m_savePath("KOMPENDOR_SAVE_PATH", nullptr) {
        std::filesystem::create_directories(dir / "Daten");
        const std::string almanac = CreateFixtureAlmanac(dir / "Daten");
        {
            // Picture records of the kinds the fixture lacks: a graph, a photo (no archive of
            // its own) and one whose name keeps an upper-case ".EPS".
            CDatabase writable;
            writable.Open(almanac, false, false, kAlmanacConnect);
            writable.Execute(
                "INSERT INTO HTML (ID, Typ, SubTyp, Title, Abbildung) VALUES "
                "(1101, 9, 3, 'Einwohner 1998 bis 2002', 'linie.eps'), "
                "(1102, 9, 1, 'Foto', 'foto.jpg'), (1103, 9, 3, 'Kurve', 'KURVE.EPS')");
        }
        WriteFile(dir / "NOX.INI", "[Setup]\nApp=Almanach\n[Paths]\nUserData=user/\nIMG=Daten/\n");
        m_registry = std::make_unique<CRegistryFiles>("", dir / "registry.ini");
        m_settings = std::make_unique<CSettings>(dir.Path(), *m_registry);
        InstallSettings(m_settings.get());
        db.Open(almanac, false, true, kAlmanacConnect);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        ResetDBErrors();

        const std::string img = dir / "Daten/";
        EXPECT_TRUE(MakeArchive(img, "Graph.nox",
                                {{"pyramide.gif", Encoded(Filled(50, 40, Qt::red), "BMP")},
                                 {"linie.gif", Encoded(Filled(70, 30, Qt::green), "BMP")}}));
        EXPECT_TRUE(MakeArchive(img, "Tables.nox",
                                {{"tab_einwohner.gif", Encoded(Filled(90, 60, Qt::blue), "BMP")}}));
        EXPECT_TRUE(MakeArchive(img, "Geo.nox",
                                {{"DEU.jpg", Encoded(Filled(120, 140, Qt::yellow), "JPG")}}));
        EXPECT_TRUE(MakeArchive(
            img, "Flags.nox",
            {{"DEU.gif", Encoded(Filled(100, 60, QColor(10, 10, 10), QPoint(0, 0)), "BMP")}}));
    }
    ~MainWndPictures() override {
        wnd.reset();
        InstallSettings(nullptr);
    }

    void Create() { wnd = std::make_unique<CMainWnd>(&db); }
    std::string Boxes() {
        std::string boxes = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return boxes;
    }
    QSize Shown() const {
        const CImageWnd* image = wnd->ImageWindow();
        return image ? QSize(image->Picture().Width(), image->Picture().Height()) : QSize();
    }

    CTempDir dir;
    CDatabase db;
    std::unique_ptr<CMainWnd> wnd;

private:
    CScopedEnv m_messages;
    CScopedEnv m_answers;
    CScopedEnv m_savePath;
    std::unique_ptr<CRegistryFiles> m_registry;
    std::unique_ptr<CSettings> m_settings;
};

class CFixedDrive : public IDriveTypes {
public:
    explicit CFixedDrive(DriveType type) : m_type(type) {}
    DriveInfo Lookup(const std::string&) const override { return {m_type, "/media/cdrom/"}; }

private:
    DriveType m_type;
};

}  // namespace

// SubTyp 2 and 3 open from the graphics archive, 4 from the tables archive, 1 not at all;
// ".eps" opens the ".gif" of the same name, ".EPS" stays and is refused. Every picture goes
// into the one image window, which keeps its place.
TEST_F(MainWndPictures, RecordsOpenFromTheArchiveOfTheirKind) {
    Create();
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1004);
    ASSERT_NE(wnd->ImageWindow(), nullptr);
    CImageWnd* image = wnd->ImageWindow();
    EXPECT_TRUE(image->isVisible());
    EXPECT_EQ(image->Title(), QStringLiteral("Bevölkerungspyramide"));
    EXPECT_EQ(Shown(), QSize(50, 40));
    image->move(image->pos() + QPoint(7, 9));
    const QPoint corner = image->pos();

    wnd->OpenImageViewerByHTMLID(wnd.get(), 1005);
    EXPECT_EQ(wnd->ImageWindow(), image);
    EXPECT_EQ(Shown(), QSize(90, 60));
    EXPECT_EQ(image->pos(), corner);
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1101);
    EXPECT_EQ(Shown(), QSize(70, 30));
    EXPECT_EQ(image->Title(), QStringLiteral("Einwohner 1998 bis 2002"));

    wnd->OpenImageViewerByHTMLID(wnd.get(), 1102);  // SubTyp 1
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1001);  // no picture record (Typ 1)
    EXPECT_EQ(Shown(), QSize(70, 30));
    EXPECT_EQ(Boxes(), "");
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1103);
    EXPECT_EQ(Boxes(),
              "\tDie Datei \"KURVE.EPS\" liegt in einem nicht verwendbaren Dateiformat vor!!!\n");

    // A link names the picture as the almanac stores it.
    wnd->OpenImageViewerByFilename(wnd.get(), "pyramide.eps");
    EXPECT_EQ(Shown(), QSize(50, 40));
    wnd->ShowHTMLImage(wnd.get(), "Tables", 1005);
    EXPECT_EQ(Shown(), QSize(90, 60));

    // The country map from the table's "Karte zeigen".
    ResetDBErrors();
    static_cast<CTableHost*>(wnd.get())->ShowMap(fixture::kDeutschland);
    EXPECT_EQ(Shown(), QSize(120, 140));
    EXPECT_EQ(image->Title(), QStringLiteral("Deutschland"));
    EXPECT_EQ(LastDBError().count, 0u);

    // A map the archive lacks: the message, and the image window goes.
    QPointer<CImageWnd> watched = image;
    wnd->ShowMap(wnd.get(), fixture::kOesterreich);
    EXPECT_EQ(Boxes(), "\tDatei <AUT.jpg> nicht gefunden!?\n");
    EXPECT_EQ(wnd->ImageWindow(), nullptr);
    // The next picture at once gets a window of its own, which stays.
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1004);
    QPointer<CImageWnd> next = wnd->ImageWindow();
    ASSERT_FALSE(next.isNull());
    EXPECT_TRUE(WaitUntil([&] { return watched.isNull(); }));
    QTest::qWait(20);
    ASSERT_FALSE(next.isNull());
    EXPECT_TRUE(next->isVisible());
    EXPECT_EQ(Shown(), QSize(50, 40));
}

// The flag viewer from a table head: one viewer for every request, with the country's name
// and flag text; a flag the archive lacks gives the message and closes it.
TEST_F(MainWndPictures, FlagsFromTheTable) {
    Create();
    CTableHost* host = wnd.get();
    host->ShowFlag(fixture::kDeutschland);
    CFlagView* flags = wnd->FlagWindow();
    ASSERT_NE(flags, nullptr);
    EXPECT_TRUE(flags->isVisible());
    EXPECT_EQ(flags->CountryName(), QStringLiteral("Deutschland"));
    EXPECT_EQ(flags->FlagText(), QStringLiteral("Schwarz-Rot-Gold"));
    EXPECT_EQ(flags->Flag().Width(), 100);
    host->ShowFlag(fixture::kDeutschland);
    EXPECT_EQ(wnd->FlagWindow(), flags);
    EXPECT_EQ(Boxes(), "");

    QPointer<CFlagView> watched = flags;
    host->ShowFlag(fixture::kOesterreich);
    EXPECT_EQ(Boxes(), "\tDatei <AUT.gif> nicht gefunden!?\n");
    EXPECT_EQ(wnd->FlagWindow(), nullptr);
    EXPECT_TRUE(WaitUntil([&] { return watched.isNull(); }));
}

// Exporting from the image window's menu writes the picture as a BMP file that reads back
// pixel for pixel; closing the window remembers its place in the registry, where the next
// window opens.
TEST_F(MainWndPictures, ExportAndPlacement) {
    Create();
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1005);
    CImageWnd* image = wnd->ImageWindow();
    ASSERT_NE(image, nullptr);
    {
        // The save dialog only ever offers folders that exist.
        std::filesystem::create_directories(dir / "export");
        CScopedEnv save("KOMPENDOR_SAVE_PATH", (dir / "export/Tabelle").c_str());
        image->OnMenuCommand(kMenuExport);
    }
    const QImage written(QString::fromStdString(dir / "export/Tabelle.bmp"), "BMP");
    ASSERT_FALSE(written.isNull());
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), image->Picture().Image());
    {
        // A folder where the file should go: nothing written, nothing lost.
        std::filesystem::create_directories(dir / "taken.bmp");
        CScopedEnv save("KOMPENDOR_SAVE_PATH", (dir / "taken.bmp").c_str());
        EXPECT_FALSE(wnd->SavePicture(image, image->Picture().Image(), "Tabelle"));
        EXPECT_NE(Boxes().find("ist bereits vorhanden"), std::string::npos);
    }

    image->move(image->pos() + QPoint(11, 13));
    const QPoint corner = image->pos();
    image->OnMenuCommand(kMenuClose);
    EXPECT_TRUE(WaitUntil([&] { return wnd->ImageWindow() == nullptr; }));
    EXPECT_NE(ReadFile(dir / "registry.ini").find("ImageWnd=hex:"), std::string::npos);

    wnd->OpenImageViewerByHTMLID(wnd.get(), 1004);
    ASSERT_NE(wnd->ImageWindow(), nullptr);
    EXPECT_EQ(wnd->ImageWindow()->pos(), corner);
    EXPECT_EQ(Boxes(), "");
}

// Before an archive is touched: a readable file passes; a missing one on a hard disk passes
// too (the viewer then names the member it wanted); on a CD-ROM drive the insert-disc prompt
// repeats until the file is there or the user cancels.
TEST_F(MainWndPictures, InsertDiscPrompt) {
    const std::string there = dir / "Daten/Graph.nox";
    const std::string missing = dir / "Daten/Fehlt.nox";
    EXPECT_TRUE(ArchiveReachable(there, CFixedDrive(DRIVE_CDROM)));
    EXPECT_TRUE(ArchiveReachable(missing, CFixedDrive(DRIVE_FIXED)));
    EXPECT_EQ(Boxes(), "");

    CScopedEnv answers("KOMPENDOR_ANSWERS", "ok,cancel");
    EXPECT_FALSE(ArchiveReachable(missing, CFixedDrive(DRIVE_CDROM)));
    const std::string prompt
        = "H I N W E I S\tBitte legen Sie den Datenträger mit der Aufschrift \"Varnholt "
          "Kompendor 2004\" in das Laufwerk /media/cdrom/ ein...\n";
    EXPECT_EQ(Boxes(), prompt + prompt);
}

// The command bar's graph button opens the one gallery on every picture record and shows it
// again as it was left; a preselection changes what it shows. A chosen entry opens in the
// image viewer; the gallery's menu prints the entry's picture and exports it as a BMP that
// reads back as the picture. Closed, the gallery goes, and the button makes a new one.
TEST_F(MainWndPictures, GalleryFromTheCommandBar) {
    ASSERT_TRUE(MakeArchive(dir / "Daten/", "Previews.nox",
                            {{"pyramide.gif", Encoded(Filled(88, 30, Qt::red), "BMP")}}));
    Create();
    CPushCtrl* button = wnd->CommandBar()->Controls().Push(CMainWnd::kBarGraphList);
    ASSERT_NE(button, nullptr);
    // The bar's commands arrive queued.
    emit button->command(CMainWnd::kBarGraphList);
    QCoreApplication::processEvents();
    CGraphView* gallery = wnd->GraphWindow();
    ASSERT_NE(gallery, nullptr);
    EXPECT_TRUE(gallery->isVisible());
    EXPECT_EQ(gallery->Selection(), CGraphView::kAlle);
    EXPECT_EQ(gallery->List()->GetRecordCount(), 5);
    gallery->Select(CGraphView::kTabellen);
    emit button->command(CMainWnd::kBarGraphList);
    QCoreApplication::processEvents();
    EXPECT_EQ(wnd->GraphWindow(), gallery);
    EXPECT_EQ(gallery->Selection(), CGraphView::kTabellen);
    wnd->OpenGraphList(CGraphView::kThemenkarten);
    EXPECT_EQ(gallery->Selection(), CGraphView::kThemenkarten);
    ASSERT_EQ(gallery->List()->ItemCount(), 1);
    EXPECT_EQ(static_cast<CGraphListItem*>(gallery->List()->Item(0))->Preview().Height(), 30);

    gallery->OpenEntry(1004);
    ASSERT_NE(wnd->ImageWindow(), nullptr);
    EXPECT_EQ(Shown(), QSize(50, 40));

    // The user picks a folder that exists; the export makes none.
    std::filesystem::create_directories(dir / "export");
    {
        CScopedEnv save("KOMPENDOR_SAVE_PATH", (dir / "export/Tabelle").c_str());
        gallery->OnMenuCommand(kMenuExport, 1005);
    }
    const QImage written(QString::fromStdString(dir / "export/Tabelle.bmp"), "BMP");
    EXPECT_EQ(written.convertToFormat(QImage::Format_RGB32), Filled(90, 60, Qt::blue));
    {
        CScopedEnv pdf("KOMPENDOR_PRINT_PDF", (dir / "grafik.pdf").c_str());
        gallery->OnMenuCommand(kMenuPrint, 1101);
    }
    EXPECT_GT(std::filesystem::file_size(dir / "grafik.pdf"), 0u);
    EXPECT_EQ(Boxes(), "");
    gallery->OnMenuCommand(kMenuExport, 1103);
    EXPECT_EQ(Boxes(),
              "\tDie Datei \"KURVE.EPS\" liegt in einem nicht verwendbaren Dateiformat vor!!!\n");

    gallery->OnMenuCommand(kMenuClose, 0);
    // (QTRY_VERIFY would not fail a gtest test.)
    for (int i = 0; i < 200 && wnd->GraphWindow(); ++i) QTest::qWait(10);
    EXPECT_EQ(wnd->GraphWindow(), nullptr);
    emit wnd->CommandBar()->Controls().Push(CMainWnd::kBarGraphList)
        ->command(CMainWnd::kBarGraphList);
    QCoreApplication::processEvents();
    ASSERT_NE(wnd->GraphWindow(), nullptr);
    EXPECT_EQ(wnd->GraphWindow()->Selection(), CGraphView::kAlle);
    EXPECT_EQ(LastDBError().count, 0u);
}
