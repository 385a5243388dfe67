// The map window over the fixture almanac and a small outline file.

#include <gtest/gtest.h>

#include <QListWidget>
#include <QSignalSpy>
#include <QTest>
#include <cstdio>

#include "controls/FlatMenu.h"
#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"
#include "map/MapDlg.h"
#include "map/MapLegend.h"
#include "map/MapSearch.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "platform/TestFiles.h"
#include "support/VmpFile.h"
#include "viewers/ImageWnd.h"

using namespace fixture;

namespace {

// The menus answer with a preset item instead of opening.
class CTestMapDlg : public CMapDlg {
public:
    using CMapDlg::CMapDlg;
    int answer = 0;
    int menus = 0;

protected:
    int TrackMenu(CFlatMenu&, const QPoint&) override {
        ++menus;
        return answer;
    }
};

class MapDlg : public testing::Test {
protected:
    MapDlg() {
        CreateFixtureAlmanac(dir / "");
        db.Open(dir / "Kompendor.mdb", false, true, kAlmanacConnect);
        WriteFile(dir / "Laender.vmp",
                  VmpFileBytes({{10, {{5, 47, 15, 55}}}, {12, {{25, 22, 35, 31}}}, {14, {{6, 46, 10, 47.5f}}}}));
        std::string countries;
        for (int i = 0; i < 25; ++i) {
            char colour[8];
            std::snprintf(colour, sizeof colour, "%06X", i);
            countries += (i ? "," : "") + std::string(colour);
        }
        WriteFile(dir / "colors.ini", "[1]\nbackcolor=B4C8DC\nnodata=D6D2C8\ncountries=" + countries
                                          + "\ntext=FFFFFF,FFFFFF\n");
        CMapSetup setup;
        setup.database = &db;
        setup.mapDir = dir / "";
        setup.defaultYear = 2017;
        map = new CTestMapDlg(nullptr, setup);
    }
    ~MapDlg() override { delete map.data(); }

    bool Enabled(int id) const { return map->Controls().Push(id)->isEnabled(); }
    QString Text(int id) const { return map->Controls().Static(id)->Text(); }

    void WaitReady(std::int32_t valId, int year) {
        QSignalSpy ready(map.data(), &CMapDlg::ready);
        map->SetParams(valId, year);
        ASSERT_TRUE(ready.wait(3000));
    }

    CTempDir dir;
    CDatabase db;
    QPointer<CTestMapDlg> map;  // closing deletes it
};

}  // namespace

TEST_F(MapDlg, ZoomAndPanLimits) {
    EXPECT_EQ(map->ZoomLevel(), 1);
    EXPECT_TRUE(Enabled(CMapDlg::kZoomIn));
    EXPECT_FALSE(Enabled(CMapDlg::kZoomOut));
    EXPECT_FALSE(Enabled(CMapDlg::kZoomWorld));
    double lon = 0, lat = 0;
    map->Renderer()->SetView(0, 0, 1);
    map->Pan(1, 0);
    map->Renderer()->GetView(&lon, &lat);
    EXPECT_NEAR(lon, 9, 1e-6);  // 10 - level 1
    map->SetZoom(9);
    EXPECT_EQ(map->ZoomLevel(), 5);
    EXPECT_FALSE(Enabled(CMapDlg::kZoomIn));
    EXPECT_TRUE(Enabled(CMapDlg::kZoomOut));
    EXPECT_TRUE(Enabled(CMapDlg::kZoomWorld));
    map->Pan(0, -1);
    map->Renderer()->GetView(&lon, &lat);
    EXPECT_NEAR(lat, -5, 1e-6);  // 10 - level 5
    map->SetZoom(0);
    EXPECT_EQ(map->ZoomLevel(), 1);
    // The wheel's level reaches the buttons.
    map->Notify(4, 2);
    EXPECT_EQ(map->ZoomLevel(), 4);
    EXPECT_TRUE(Enabled(CMapDlg::kZoomIn));
}

TEST_F(MapDlg, ShowsTheFieldOnceReadyWithStatusLine) {
    WaitReady(kBip, 2017);
    ASSERT_TRUE(map->Renderer()->GetWindow());
    EXPECT_EQ(map->Renderer()->GetWindow()->geometry(), QRect(4, 60, 782, 390));
    EXPECT_EQ(map->Shown().year, 2002);
    EXPECT_EQ(Text(CMapDlg::kYear), "2002");
    EXPECT_EQ(Text(CMapDlg::kTitle), "BIP");
    EXPECT_EQ(Text(CMapDlg::kLongName), "Bruttoinlandsprodukt (Mio. US-$)");

    map->Notify(10, 1);
    EXPECT_EQ(Text(CMapDlg::kStatusCountry), "Deutschland");
    EXPECT_EQ(Text(CMapDlg::kStatusValue), "1.994.000");
    EXPECT_EQ(Text(CMapDlg::kStatusYear), "(2002)");
    EXPECT_EQ(map->Controls().Static(CMapDlg::kStatusYear)->TextColor(), QColor(0x41, 0x54, 0x20));
    // An older value: the year in red.
    map->Notify(12, 1);
    EXPECT_EQ(Text(CMapDlg::kStatusYear), "(2000)");
    EXPECT_EQ(map->Controls().Static(CMapDlg::kStatusYear)->TextColor(), QColor(0x9C, 0x19, 0x19));
    // No record up to the year.
    map->Notify(14, 1);
    EXPECT_EQ(Text(CMapDlg::kStatusValue), "(keine Angabe)");
    EXPECT_EQ(map->Controls().Static(CMapDlg::kStatusValue)->BackColor(), QColor(0x7F, 0x85, 0xB4));
    EXPECT_EQ(Text(CMapDlg::kStatusYear), "");
    map->Notify(255, 1);
    EXPECT_EQ(Text(CMapDlg::kStatusCountry), "");

    // A new field rewrites the line of the country under the pointer.
    map->Notify(10, 1);
    map->Display(kEinwohner, 2000);
    EXPECT_EQ(Text(CMapDlg::kStatusValue), "82.260.000");
    EXPECT_EQ(Text(CMapDlg::kStatusYear), "(2000)");
}

TEST_F(MapDlg, MenusChooseFieldAndYear) {
    WaitReady(kEinwohner, 2000);
    // Items: 101, 102, 201, 203 (k + 1); BIP is item 3, shown for the edition's year or
    // its latest if that is earlier.
    map->answer = 3;
    map->OpenValueDropdown();
    EXPECT_EQ(map->Shown().valId, kBip);
    EXPECT_EQ(map->Shown().year, 2002);
    // Inflationsrate has a single year: the edition's year stands.
    map->answer = 4;
    map->OpenValueDropdown();
    EXPECT_EQ(map->Shown().valId, kInflation);
    EXPECT_EQ(map->Shown().year, 2017);
    // Its year menu stays closed (fewer than two years).
    const int menus = map->menus;
    map->OpenYearDropdown();
    EXPECT_EQ(map->menus, menus);
    // BIP's years newest first: item 2 is 2000.
    map->Display(kBip, 2002);
    map->answer = 2;
    map->OpenYearDropdown();
    EXPECT_EQ(map->Shown().year, 2000);
    EXPECT_EQ(Text(CMapDlg::kYear), "2000");
}

TEST_F(MapDlg, LegendSearchAndClosing) {
    WaitReady(kBip, 2002);
    map->ShowLegend();
    ASSERT_TRUE(map->LegendWindow());
    const QImage legend = map->LegendWindow()->Picture().Image();
    ASSERT_EQ(legend.size(), QSize(192, 604));
    EXPECT_EQ(legend.pixelColor(185, 10), QColor(0, 0, 0));  // class 0 is "000000"
    EXPECT_EQ(legend.pixelColor(2, 2), QColor(0x55, 0x58, 0x72));  // the background
    EXPECT_EQ(legend.pixelColor(185, 24 * 24 + 10), QColor(0, 0, 0x18));

    map->OpenSearch();
    ASSERT_TRUE(map->SearchWindow());
    QListWidget* list = map->SearchWindow()->List();
    ASSERT_TRUE(list);
    ASSERT_EQ(list->count(), 5);
    EXPECT_EQ(list->item(0)->text(), "Ägypten");
    list->setCurrentRow(4);  // Schweiz, MapID 14
    EXPECT_EQ(map->ZoomLevel(), 5);
    double lon = 0, lat = 0;
    map->Renderer()->GetView(&lon, &lat);
    EXPECT_NEAR(lon, 8, 0.05);
    EXPECT_NEAR(lat, 46.75, 0.05);

    QPointer<CImageWnd> legendWnd = map->LegendWindow();
    map->close();
    EXPECT_FALSE(map->Renderer());
    EXPECT_TRUE(legendWnd.isNull());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(map.isNull());
}

TEST(MapLegend, FieldWithoutValues) {
    CMapDisplay display;
    display.colors.nodata = 0xD6D2C8;
    const QImage legend = DrawMapLegend(display);
    EXPECT_EQ(legend.pixelColor(8, 8), QColor(0xD6, 0xD2, 0xC8));
    EXPECT_EQ(legend.pixelColor(8, 24 + 8), QColor(0x55, 0x58, 0x72));
}
