// The video child window on a film that ffmpeg makes for the test: opening, playing to the
// end, rewinding, zoom, and files that cannot be played.
#include "viewers/VideoWnd.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QVideoWidget>
#include <cstdlib>

#include "platform/TestFiles.h"
#include "support/WaitUntil.h"
#include "viewers/FilmSupport.h"

// Open stops at the start with the film's size and length; Play runs it to its end, where
// the position is the length; Rewind goes back to a stopped start, and Play again replays.
TEST(VideoWnd, OpenPlayToTheEndAndRewind) {
    CTempDir dir;
    const std::string film = dir / "ZYB2004.nox";
    ASSERT_TRUE(MakeTestFilm(film, 160, 120, 0.6)) << "ffmpeg makes the film (scripts/setup)";

    QWidget parent;
    parent.resize(400, 300);
    parent.show();
    CVideoWnd video(&parent);
    video.setGeometry(0, 0, 400, 300);
    EXPECT_EQ(video.GetVideoSize(), QSize(0, 0));
    EXPECT_EQ(video.GetDuration(), 0);

    ASSERT_TRUE(video.Open(QString::fromStdString(film)));
    EXPECT_TRUE(video.IsOpen());
    EXPECT_TRUE(video.isVisible());
    EXPECT_EQ(video.GetVideoSize(), QSize(160, 120));
    EXPECT_EQ(video.GetState(), CVideoWnd::kStopped);
    EXPECT_EQ(video.GetCurrentPosition(), 0);
    // 0.6 s in units of 100 ns, give or take a frame.
    EXPECT_NEAR(double(video.GetDuration()), 6'000'000.0, 500'000.0);
    EXPECT_EQ(video.VideoWidget()->geometry(), QRect(120, 90, 160, 120));
    video.SetZoom(50);
    EXPECT_EQ(video.VideoWidget()->geometry(), QRect(160, 120, 80, 60));
    video.SetZoom(100);

    video.Play();
    EXPECT_EQ(video.GetState(), CVideoWnd::kRunning);
    EXPECT_TRUE(WaitUntil([&] { return video.AtEnd(); }, 20000));
    EXPECT_FALSE(video.PlaybackFailed());
    EXPECT_GE(video.GetCurrentPosition(), video.GetDuration());

    video.Rewind();
    EXPECT_EQ(video.GetState(), CVideoWnd::kStopped);
    EXPECT_EQ(video.GetCurrentPosition(), 0);
    EXPECT_FALSE(video.AtEnd());
    video.Play();
    EXPECT_TRUE(WaitUntil([&] { return video.GetCurrentPosition() > 0 || video.AtEnd(); }, 20000));

    video.Release();
    EXPECT_FALSE(video.IsOpen());
    EXPECT_EQ(video.VideoWidget(), nullptr);
    EXPECT_EQ(video.GetState(), CVideoWnd::kStopped);
    EXPECT_EQ(video.GetDuration(), 0);
}

// A missing file, a file that is no film and an empty one give false and leave the window
// empty; a film opened afterwards plays as usual. Full screen toggles only when allowed.
TEST(VideoWnd, FilesThatCannotBePlayed) {
    CTempDir dir;
    WriteFile(dir / "text.nox", "Dies ist kein Film, sondern ein Archiv ohne Inhalt.");
    WriteFile(dir / "leer.nox", "");
    WriteFile(dir / "zip.nox", std::string("PK\x05\x06", 4) + std::string(18, '\0'));

    CVideoWnd video(nullptr);
    for (const char* name : {"fehlt.nox", "text.nox", "leer.nox", "zip.nox"}) {
        EXPECT_FALSE(video.Open(QString::fromStdString(dir / name))) << name;
        EXPECT_FALSE(video.IsOpen()) << name;
        EXPECT_EQ(video.GetVideoSize(), QSize(0, 0)) << name;
        EXPECT_TRUE(video.FileName().isEmpty()) << name;
    }

    const std::string film = dir / "film.nox";
    ASSERT_TRUE(MakeTestFilm(film, 64, 48, 0.3));
    ASSERT_TRUE(video.Open(QString::fromStdString(film)));
    EXPECT_EQ(video.FileName(), QString::fromStdString(film));
    video.ToggleFullScreen();
    EXPECT_FALSE(video.IsFullScreen());
    EXPECT_EQ(video.GetState(), CVideoWnd::kStopped);
}
