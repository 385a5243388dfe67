// The map renderer: projection, view limits, hit testing and its notifications.

#include <gtest/gtest.h>

#include <QImage>
#include <QTest>
#include <QWidget>
#include <cmath>
#include <vector>

#include "platform/TestFiles.h"
#include "support/VmpFile.h"
#include "vmap/VMap.h"
#include "vmap/VMapScene.h"

using namespace vmap;

namespace {

// A large country with a tiny state inside it, and an island state far off.
std::vector<CTestShape> TestWorld() {
    return {{20, {{-40, -30, 40, 30}}},
            {21, {{10.0f, 10.0f, 10.05f, 10.05f}}},
            {22, {{150, -10, 150.2f, -9.8f}, {152, -8, 152.1f, -7.9f}}}};
}

struct CRecorder : VMapNotifyable {
    void Notify(std::intptr_t value, int code) override { calls.push_back({int(value), code}); }
    std::vector<std::pair<int, int>> calls;
};

}  // namespace

TEST(VMapProjection, EqualEarthRoundTrip) {
    EXPECT_NEAR(WorldHalfWidth(), 2.7064, 1e-3);
    EXPECT_NEAR(WorldHalfHeight(), 1.3173, 1e-3);
    for (double lon : {-180.0, -73.5, 0.0, 12.25, 179.0})
        for (double lat : {-89.0, -45.0, 0.0, 33.3, 80.0}) {
            double a = 0, b = 0;
            Unproject(Project(lon, lat), a, b);
            EXPECT_NEAR(a, lon, 1e-7);
            EXPECT_NEAR(b, lat, 1e-7);
        }
}

TEST(VMapScene, ViewLimitsAndZoomLevels) {
    CTempDir dir;
    WriteFile(dir / "Laender.vmp", VmpFileBytes(TestWorld()));
    CMapScene scene;
    ASSERT_TRUE(scene.Load(dir / "Laender.vmp"));
    scene.SetSize(QSize(782, 390));
    scene.SetView(10, 20, 9);
    EXPECT_EQ(scene.Zoom(), 5);
    const double s5 = scene.Scale();
    scene.SetView(10, 20, 0);
    EXPECT_EQ(scene.Zoom(), 1);
    EXPECT_DOUBLE_EQ(s5, scene.Scale() * 16);
    double lon = 0, lat = 0;
    scene.GetView(lon, lat);
    EXPECT_NEAR(lon, 10, 1e-9);
    EXPECT_NEAR(lat, 20, 1e-9);
    // The centre stays on the world.
    scene.SetView(400, -120, 3);
    scene.GetView(lon, lat);
    EXPECT_NEAR(lat, -90, 1e-6);
    EXPECT_LE(lon, 180.0 + 1e-6);
    scene.PanPixels(QPointF(-1e6, 0));
    scene.GetView(lon, lat);
    EXPECT_LE(lon, 180.0 + 1e-6);
}

TEST(VMapScene, HitTestFindsCountriesAndSmallStates) {
    CTempDir dir;
    WriteFile(dir / "Laender.vmp", VmpFileBytes(TestWorld()));
    CMapScene scene;
    ASSERT_TRUE(scene.Load(dir / "Laender.vmp"));
    scene.SetSize(QSize(782, 390));
    scene.SetView(0, 0, 1);
    EXPECT_EQ(scene.HitTest(scene.ToScreen(Project(-20, -10))), 20);
    EXPECT_EQ(scene.HitTest(scene.ToScreen(Project(-100, 50))), kNoCountry);
    // The tiny state within the large one wins within its minimum radius, at every level.
    for (int zoom = 1; zoom <= 5; ++zoom) {
        scene.SetView(10, 10, zoom);
        const QPointF centre = scene.ToScreen(Project(10.025, 10.025));
        EXPECT_EQ(scene.HitTest(centre + QPointF(4, -3)), 21) << zoom;
        EXPECT_EQ(scene.HitTest(centre + QPointF(12, 0)), 20) << zoom;
    }
    // The island state's largest part is a point to aim at.
    scene.SetView(150, -10, 1);
    EXPECT_EQ(scene.HitTest(scene.ToScreen(Project(150.1, -9.9)) + QPointF(3, 3)), 22);
    EXPECT_EQ(scene.HitTest(QPointF(-5, -5)), kNoCountry);
}

TEST(VMapScene, DamagedFilesAreRefused) {
    CTempDir dir;
    std::string bytes = VmpFileBytes(TestWorld());
    WriteFile(dir / "short.vmp", bytes.substr(0, bytes.size() - 4));
    bytes[20] = char(0);  // MapID 0 is no country
    WriteFile(dir / "zero.vmp", bytes);
    CMapScene scene;
    EXPECT_FALSE(scene.Load(dir / "short.vmp"));
    EXPECT_FALSE(scene.Load(dir / "zero.vmp"));
    EXPECT_FALSE(scene.Load(dir / "missing.vmp"));
    EXPECT_FALSE(scene.IsLoaded());
    EXPECT_EQ(scene.HitTest(QPointF(10, 10)), kNoCountry);
}

TEST(VMapRenderer, NotifiesPointerChangesOnceAndDoubleClicks) {
    CTempDir dir;
    WriteFile(dir / "Laender.vmp", VmpFileBytes(TestWorld()));
    QWidget parent;
    parent.resize(800, 460);
    CVMap* map = CreateVMap();
    ASSERT_TRUE(map->Init());
    ASSERT_TRUE(map->Create(4, 60, 782, 390, "Test", (dir / "").c_str(), &parent));
    CRecorder recorder;
    map->SetNotify(&recorder);
    std::uint32_t colors[256];
    for (int i = 0; i < 256; ++i) colors[i] = 0x010101u * std::uint32_t(i);
    map->SetColors(colors);
    map->SetView(0, 0, 1);
    parent.show();
    QWidget* w = map->GetWindow();
    ASSERT_TRUE(w);
    EXPECT_EQ(w->geometry(), QRect(4, 60, 782, 390));

    const QPoint land(391 - 40, 195 + 20), sea(60, 40);
    ASSERT_EQ(map->HitTest(land.x(), land.y()), 20);
    QTest::mouseMove(w, land);
    QTest::mouseMove(w, land + QPoint(2, 1));
    QTest::mouseMove(w, sea);
    ASSERT_EQ(recorder.calls.size(), 2u);
    EXPECT_EQ(recorder.calls[0], std::make_pair(20, 1));
    EXPECT_EQ(recorder.calls[1], std::make_pair(255, 1));
    QTest::mouseDClick(w, Qt::LeftButton, {}, land);
    EXPECT_EQ(recorder.calls.back(), std::make_pair(20, 4));

    // Drawing: the country in its colour, the sea in entry 255.
    QImage image(782, 390, QImage::Format_ARGB32_Premultiplied);
    map->Render(&image);
    EXPECT_EQ(image.pixelColor(land), QColor(20, 20, 20));
    EXPECT_EQ(image.pixelColor(391 + 150, 195 + 60), QColor(255, 255, 255));

    // ShowCountry centres on the state; the wheel zooms one level a notch.
    map->ShowCountry(22, 0);
    double lon = 0, lat = 0;
    map->GetView(&lon, &lat);
    EXPECT_NEAR(lon, 150.1, 1e-3);
    EXPECT_NEAR(lat, -9.9, 1e-3);
    recorder.calls.clear();
    QWheelEvent wheel(QPointF(391, 195), w->mapToGlobal(QPointF(391, 195)), QPoint(), QPoint(0, 120),
                      Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(w, &wheel);
    ASSERT_FALSE(recorder.calls.empty());
    EXPECT_EQ(recorder.calls.front(), std::make_pair(2, 2));
    DestroyVMap(map);
}
