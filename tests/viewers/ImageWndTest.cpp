// The image window and the flag viewer, offscreen: placement and scrolling, the caption, the
// menu's print, export and close, and the flag viewer's painting. Message boxes are captured
// through KOMPENDOR_MESSAGES.
#include "viewers/ImageWnd.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <map>

#include "controls/NOXButton.h"
#include "controls/TemplateDialog.h"
#include "support/WaitUntil.h"
#include "viewers/FlagView.h"
#include "viewers/PictureMenu.h"
#include "viewers/ViewerTestSupport.h"

using namespace viewer_test;

namespace {

class CFakePlacements : public CWindowPlacements {
public:
    std::optional<QRect> Load(const QString& name) const override {
        auto it = saved.find(name);
        if (it == saved.end()) return std::nullopt;
        return it->second;
    }
    void Save(const QString& name, const QRect& rect) override { saved[name] = rect; }
    std::map<QString, QRect> saved;
};

class CFakeHost : public CPictureHost {
public:
    void PrintPicture(QWidget*, const QImage& picture) override { printed = picture; }
    bool SavePicture(QWidget*, const QImage& picture, const QString& name) override {
        saved = picture;
        savedName = name;
        return true;
    }
    QImage printed, saved;
    QString savedName;
};

// Windows whose menu answers with a fixed choice.
class CScriptedImageWnd : public CImageWnd {
public:
    using CImageWnd::CImageWnd;
    int choice = 0;
    QPoint menuAt;

protected:
    int TrackMenu(const QPoint& pos) override {
        menuAt = pos;
        return choice;
    }
};

class CScriptedFlagView : public CFlagView {
public:
    using CFlagView::CFlagView;
    int choice = 0;

protected:
    int TrackMenu(const QPoint&) override { return choice; }
};

CPicture PictureOf(const QImage& image) {
    const std::string bytes = Encoded(image, "PNG");
    CPicture picture;
    picture.LoadFromMemory(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size());
    return picture;
}

class ViewersTest : public testing::Test {
protected:
    ViewersTest() : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()) {
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        env.pictureHost = &host;
        env.placements = &placements;
    }

    std::string Boxes() {
        std::string boxes = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return boxes;
    }
    static QRect WorkArea() { return QGuiApplication::primaryScreen()->availableGeometry(); }

    CTempDir dir;
    CFakeHost host;
    CFakePlacements placements;
    CViewerEnv env;

private:
    CScopedEnv m_messages;
};

}  // namespace

// The window takes the picture's size and opens centred; a second picture while it is
// visible keeps its top left corner; a picture larger than the screen gives a window inside
// the work area whose picture area scrolls to every part of the picture.
TEST_F(ViewersTest, ImageWindowPlacementAndScrolling) {
    CImageWnd wnd(nullptr, env);
    const CPicture small = PictureOf(Filled(200, 150, Qt::red));
    wnd.ShowBitmap(small, QStringLiteral("Bevölkerungspyramide"));
    ASSERT_TRUE(wnd.isVisible());
    EXPECT_EQ(wnd.size(), wnd.WindowSizeFor(QSize(200, 150)));
    EXPECT_EQ(wnd.PictureArea()->viewport()->size(), QSize(200, 150));
    EXPECT_LE(std::abs(wnd.geometry().center().x() - WorkArea().center().x()), 1);
    EXPECT_FALSE(wnd.PictureArea()->horizontalScrollBar()->isVisible());

    wnd.move(WorkArea().topLeft() + QPoint(30, 40));
    const QPoint corner = wnd.pos();
    // A legend the map draws itself: the same window, the same corner.
    QImage legend(180, 60, QImage::Format_ARGB32);
    legend.fill(Qt::transparent);
    legend.setPixelColor(3, 4, Qt::darkGreen);
    wnd.ShowBitmap(legend, QStringLiteral("Legende"));
    EXPECT_EQ(wnd.pos(), corner);
    EXPECT_EQ(wnd.Picture().Image().pixelColor(3, 4), QColor(Qt::darkGreen));
    EXPECT_EQ(wnd.Picture().Image().pixelColor(0, 0), QColor(Qt::white));
    const QSize workSize = WorkArea().size();
    const QImage big = Filled(workSize.width() * 2, workSize.height() + 300, QColor(0, 0, 200),
                              QPoint(workSize.width() * 2 - 1, workSize.height() + 299));
    const CPicture large = PictureOf(big);
    wnd.ShowBitmap(large, QStringLiteral("Weltkarte"));
    EXPECT_EQ(wnd.Title(), QStringLiteral("Weltkarte"));
    EXPECT_TRUE(WorkArea().contains(wnd.geometry())) << "moved and cut into the work area";
    EXPECT_EQ(wnd.geometry().topLeft(), WorkArea().topLeft());

    // The bottom right corner of the picture is reachable by scrolling.
    CImageArea* area = wnd.PictureArea();
    EXPECT_TRUE(WaitUntil([&] { return area->horizontalScrollBar()->isVisible(); }));
    EXPECT_TRUE(WaitUntil([&] { return area->verticalScrollBar()->isVisible(); }));
    area->horizontalScrollBar()->setValue(area->horizontalScrollBar()->maximum());
    area->verticalScrollBar()->setValue(area->verticalScrollBar()->maximum());
    const QImage shot = area->viewport()->grab().toImage();
    EXPECT_EQ(shot.pixelColor(shot.width() - 1, shot.height() - 1), QColor(Qt::black));
    EXPECT_EQ(shot.pixelColor(0, 0), QColor(0, 0, 200));

    // Back to a small picture, the window keeps its corner and shrinks to the picture.
    wnd.move(corner);
    wnd.ShowBitmap(small, QStringLiteral("Bevölkerungspyramide"));
    EXPECT_EQ(wnd.pos(), corner);
    EXPECT_EQ(wnd.size(), wnd.WindowSizeFor(QSize(200, 150)));
    EXPECT_EQ(area->ScrollPosition(), QPoint(0, 0));
    QTest::qWait(20);
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible()) << "no bars left from the large one";
    EXPECT_FALSE(area->verticalScrollBar()->isVisible());
    EXPECT_EQ(area->viewport()->size(), QSize(200, 150));
}

// Closing saves the rectangle under "ImageWnd"; a new window opens at the saved corner. The
// caption is light with the title in dark blue, the menu button sits before the close button
// and follows the right edge.
TEST_F(ViewersTest, ImageWindowCaptionAndSavedPlacement) {
    const CPicture picture = PictureOf(Filled(240, 120, Qt::white));
    QPointer<CImageWnd> wnd = new CImageWnd(nullptr, env);
    wnd->ShowBitmap(picture, QStringLiteral("Bevölkerungspyramide"));
    wnd->move(WorkArea().topLeft() + QPoint(25, 35));
    const QRect placed = wnd->geometry();

    const QImage shot = wnd->grab().toImage();
    const QRect caption = wnd->FrameLayout().caption;
    EXPECT_EQ(shot.pixelColor(caption.left() + 1, caption.top() + 1), QColor(0xBF, 0xCF, 0xF2));
    bool titleInk = false;
    for (int x = caption.left() + 3; x < caption.left() + 60 && !titleInk; ++x) {
        for (int y = caption.top(); y < caption.bottom(); ++y) {
            const QColor c = shot.pixelColor(x, y);
            if (c.blue() < 0xB0 && c.red() < 0x60) titleInk = true;
        }
    }
    EXPECT_TRUE(titleInk) << "the title is drawn in the caption";
    const QRect close = wnd->CaptionButtonRect(CSkinFrame::kCloseButton);
    const QRect menu = wnd->MenuButton()->geometry();
    EXPECT_EQ(menu.right() + 1 + 1, close.left());
    EXPECT_FALSE(wnd->CaptionButtonRect(CSkinFrame::kMinimizeButton).isValid()
                 && !wnd->CaptionButtonRect(CSkinFrame::kMinimizeButton).isEmpty());
    wnd->resize(wnd->width() + 50, wnd->height());
    EXPECT_EQ(wnd->MenuButton()->geometry().right() + 2,
              wnd->CaptionButtonRect(CSkinFrame::kCloseButton).left());

    wnd->close();
    EXPECT_TRUE(WaitUntil([&] { return wnd.isNull(); }));
    ASSERT_EQ(placements.saved.count(QStringLiteral("ImageWnd")), 1u);
    EXPECT_EQ(placements.saved[QStringLiteral("ImageWnd")].topLeft(), placed.topLeft());

    CImageWnd again(nullptr, env);
    again.ShowBitmap(picture, QStringLiteral("Tabelle"));
    EXPECT_EQ(again.pos(), placed.topLeft());
}

// Opening from an archive: the picture under its title; a member that is missing or no
// usable picture shows the not-found message and destroys the window; an archive that
// cannot be reached does nothing at all.
TEST_F(ViewersTest, ImageWindowFromArchive) {
    ASSERT_TRUE(MakeArchive(dir.Path(), "Graph.nox",
                            {{"pyramide.gif", Gif(1, 1)},
                             {"bombe.gif", Gif(60000, 60000)},
                             {"karte.jpg", Encoded(Filled(300, 200, Qt::yellow), "JPG")}}));
    const QString archive = QString::fromStdString(dir / "Graph.nox");

    QPointer<CImageWnd> wnd = new CImageWnd(nullptr, env);
    EXPECT_TRUE(wnd->Open(archive, QStringLiteral("karte.jpg"), QStringLiteral("Karte")));
    EXPECT_TRUE(wnd->isVisible());
    EXPECT_EQ(wnd->Picture().Width(), 300);
    EXPECT_EQ(Boxes(), "");

    std::vector<std::string> asked;
    CViewerEnv unreachable = env;
    unreachable.reachable = [&asked](const std::string& path) {
        asked.push_back(path);
        return false;
    };
    QPointer<CImageWnd> offline = new CImageWnd(nullptr, unreachable);
    EXPECT_TRUE(offline->Open(archive, QStringLiteral("fehlt.gif"), QStringLiteral("Karte")));
    EXPECT_EQ(asked, std::vector<std::string>{dir / "Graph.nox"});
    EXPECT_FALSE(offline->isVisible());
    EXPECT_EQ(Boxes(), "");
    delete offline;

    for (const char* member : {"fehlt.gif", "bombe.gif"}) {
        QPointer<CImageWnd> failing = new CImageWnd(nullptr, env);
        EXPECT_FALSE(failing->Open(archive, QString::fromLatin1(member), QStringLiteral("Karte")));
        EXPECT_EQ(Boxes(), std::string("\tDatei <") + member + "> nicht gefunden!?\n");
        EXPECT_TRUE(WaitUntil([&] { return failing.isNull(); }));
    }
    // The window that shows a picture is not touched by the others.
    EXPECT_FALSE(wnd.isNull());
    delete wnd;
}

// The menu button opens the menu at its upper right corner; print and export hand the
// picture (and for export the title) to the host, close closes.
TEST_F(ViewersTest, ImageWindowMenu) {
    const CPicture picture = PictureOf(Filled(120, 90, QColor(1, 2, 3)));
    QPointer<CScriptedImageWnd> wnd = new CScriptedImageWnd(nullptr, env);
    wnd->ShowBitmap(picture, QStringLiteral("Tabelle Einwohner"));

    wnd->choice = kMenuExport;
    CNOXButton* button = wnd->MenuButton();
    QTest::mouseMove(button, QPoint(3, 3));
    QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(3, 3));
    EXPECT_TRUE(WaitUntil([&] { return host.savedName == QStringLiteral("Tabelle Einwohner"); }));
    EXPECT_EQ(wnd->menuAt, button->mapToGlobal(QPoint(button->width(), 0)));
    EXPECT_EQ(host.saved, picture.Image());

    wnd->OnMenuCommand(kMenuPrint);
    EXPECT_EQ(host.printed, picture.Image());
    wnd->OnMenuCommand(kMenuClose);
    EXPECT_TRUE(WaitUntil([&] { return wnd.isNull(); }));
}

// The flag viewer paints the flag centred above the three lines, the country's name and the
// word-wrapped description in white on its blue, framed in black; a flag that cannot be
// read gives the not-found message and closes the viewer.
TEST_F(ViewersTest, FlagViewer) {
    ASSERT_TRUE(MakeArchive(dir.Path(), "Flags.nox",
                            {{"DEU.gif", Encoded(Filled(120, 72, QColor(220, 0, 0)), "BMP")},
                             {"WIDE.gif", Encoded(Filled(900, 100, QColor(0, 160, 0)), "BMP")}}));
    QPointer<CScriptedFlagView> view = new CScriptedFlagView(nullptr, env, dir.Path());
    ASSERT_TRUE(view->Open(QStringLiteral("DEU.gif"), QStringLiteral("Deutschland"),
                           QStringLiteral("Schwarz-Rot-Gold: die Farben der Freiheitsbewegung "
                                          "von 1848, seit 1949 die Flagge der Bundesrepublik.")));
    EXPECT_TRUE(view->isVisible());
    EXPECT_EQ(Boxes(), "");

    const QSize area(view->width(), view->height() - CFlagView::kCaptionHeight);
    QImage image(area, QImage::Format_RGB32);
    {
        QPainter painter(&image);
        view->PaintFlagArea(painter, area);
    }
    const int w = area.width(), h = area.height();
    EXPECT_EQ(image.pixelColor(20, 20), QColor(0x75, 0x87, 0xA8));
    EXPECT_EQ(image.pixelColor(0, 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(w - 1, 100), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(100, h - 1), QColor(Qt::black));
    EXPECT_EQ(image.pixelColor(50, 142), QColor(0x6E, 0x7A, 0x91));
    EXPECT_EQ(image.pixelColor(50, 143), QColor(0x52, 0x5E, 0x75));
    EXPECT_EQ(image.pixelColor(50, 144), QColor(0x8E, 0x9B, 0xB2));
    EXPECT_EQ(image.pixelColor(w / 2, 141 / 2), QColor(220, 0, 0));
    EXPECT_EQ(image.pixelColor((w - 120) / 2 - 1, 141 / 2), QColor(0x75, 0x87, 0xA8));
    EXPECT_EQ(image.pixelColor((w - 120) / 2, 141 / 2), QColor(220, 0, 0));
    auto whiteRows = [&](int top, int bottom) {
        int rows = 0;
        for (int y = top; y < bottom; ++y) {
            for (int x = 8; x < w - 8; ++x) {
                if (image.pixelColor(x, y).lightness() > 200) {
                    ++rows;
                    break;
                }
            }
        }
        return rows;
    };
    EXPECT_GT(whiteRows(154, 170), 0) << "the name";
    EXPECT_EQ(whiteRows(145, 153), 0);
    EXPECT_GT(whiteRows(178 + 14, h - 4), 0) << "the description wraps onto further lines";
    EXPECT_EQ(whiteRows(h - 4, h - 1), 0);

    // Reused for the next flag; one too wide for its place is shown smaller, not cut off.
    ASSERT_TRUE(view->Open(QStringLiteral("wide.GIF"), QStringLiteral("Breitland"), QString()));
    {
        QPainter painter(&image);
        view->PaintFlagArea(painter, area);
    }
    EXPECT_EQ(image.pixelColor(2, 141 / 2), QColor(0, 160, 0));
    EXPECT_EQ(image.pixelColor(w / 2, 20), QColor(0x75, 0x87, 0xA8));

    view->choice = kMenuExport;
    view->ShowMenu(QPoint(10, 10));
    EXPECT_EQ(host.savedName, QStringLiteral("Flagge Breitland"));
    EXPECT_EQ(host.saved.width(), 900);

    EXPECT_FALSE(view->Open(QStringLiteral("FRA.gif"), QStringLiteral("Frankreich"), QString()));
    EXPECT_EQ(Boxes(), "\tDatei <FRA.gif> nicht gefunden!?\n");
    EXPECT_TRUE(WaitUntil([&] { return view.isNull(); }));

    // Without its archive within reach the viewer closes without a word.
    CViewerEnv offline = env;
    offline.reachable = [](const std::string&) { return false; };
    QPointer<CFlagView> closed = new CFlagView(nullptr, offline, dir.Path());
    EXPECT_FALSE(closed->Open(QStringLiteral("DEU.gif"), QStringLiteral("Deutschland"), QString()));
    EXPECT_TRUE(WaitUntil([&] { return closed.isNull(); }));
    EXPECT_EQ(Boxes(), "");
}
