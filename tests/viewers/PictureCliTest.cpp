// kompendor-cli picture: a member decoded as the viewers decode it, written as PNG; members
// that are missing or refused give exit status 1 and leave no file.
#include <gtest/gtest.h>

#include <QImage>

#include "support/CliRunner.h"
#include "viewers/ViewerTestSupport.h"

using namespace viewer_test;

TEST(PictureCli, WritesThePictureAsPng) {
    CTempDir dir;
    QImage map = Filled(64, 48, QColor(30, 60, 90), QPoint(63, 47));
    ASSERT_TRUE(MakeArchive(dir.Path(), "Geo.nox",
                            {{"DEU.bmp", Encoded(map, "BMP")},
                             {"bombe.gif", Gif(60000, 60000)},
                             {"text.jpg", "kein Bild"}}));

    // Into a folder that exists: a missing one is not made for a chosen path.
    std::filesystem::create_directories(dir / "out");
    CliRun run = RunKompendorCli(
        dir, {"picture", dir / "Geo.nox", "deu.BMP", "--png", dir / "out/deu.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "deu.BMP: 64 x 48\n");
    const QImage png(QString::fromStdString(dir / "out/deu.png"), "PNG");
    ASSERT_FALSE(png.isNull());
    EXPECT_EQ(png.convertToFormat(QImage::Format_RGB32), map.convertToFormat(QImage::Format_RGB32));

    for (const char* member : {"bombe.gif", "text.jpg", "fehlt.gif"}) {
        run = RunKompendorCli(dir, {"picture", dir / "Geo.nox", member, "--png", dir / "x.png"});
        EXPECT_EQ(run.status, 1) << member;
        EXPECT_NE(run.err.find(member), std::string::npos) << run.err;
        EXPECT_FALSE(std::filesystem::exists(dir / "x.png")) << member;
    }
    run = RunKompendorCli(dir, {"picture", dir / "Geo.nox", "DEU.bmp", "--png", dir / "x.png",
                                "--password", "falsch"});
    EXPECT_EQ(run.status, 1);
    run = RunKompendorCli(dir, {"picture", dir / "Geo.nox", "DEU.bmp"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("usage"), std::string::npos);
}
