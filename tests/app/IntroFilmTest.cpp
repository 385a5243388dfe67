// The intro with a film that ffmpeg makes for the test: it plays in the middle of the screen
// until its end or a button release, the pointer is moved out of the picture only while the
// film plays and comes back afterwards, and a file that cannot be played leaves the intro
// to its picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>

#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "app/IntroWnd.h"
#include "platform/TestFiles.h"
#include "support/WaitUntil.h"
#include "viewers/FilmSupport.h"
#include "viewers/VideoWnd.h"

namespace {

// What a 5-ms probe saw of the intro while its phase ran.
struct CPhaseProbe {
    bool filmRan = false;
    QRect filmRect;
    bool pointerMoved = false;
    // The film's furthest position and its length, in 100-ns units.
    std::int64_t filmPosition = 0;
    std::int64_t filmDuration = 0;
    // Whether the phase was still running shortly before its second was up.
    bool inPhaseNearTheEnd = false;
};

// Runs the intro on moviePath with the pointer at home, watching it; release (when set)
// sends a button release to the intro once the film runs.
CPhaseProbe RunWatched(const QString& moviePath, CIntroWnd*& intro, QPoint home,
                       bool release = false) {
    CPhaseProbe probe;
    QCursor::setPos(home);
    QTimer watch;
    watch.setInterval(5);
    QObject::connect(&watch, &QTimer::timeout, [&] {
        if (!intro || !intro->InPhase()) return;
        if (QCursor::pos() != home) probe.pointerMoved = true;
        CVideoWnd* film = intro->Film();
        if (film && film->GetState() == CVideoWnd::kRunning) {
            probe.filmRan = true;
            probe.filmRect = film->geometry();
            probe.filmPosition = std::max(probe.filmPosition, film->GetCurrentPosition());
            probe.filmDuration = film->GetDuration();
            if (release) {
                release = false;
                QMouseEvent up(QEvent::MouseButtonRelease, QPointF(5, 5), QPointF(5, 5),
                               Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QCoreApplication::sendEvent(intro, &up);
            }
        }
    });
    watch.start();
    // Timers fire in the order they are due, whatever the machine's load. The timer goes with
    // this function, so a film that ends sooner leaves no look behind.
    QTimer nearTheEnd;
    nearTheEnd.setSingleShot(true);
    nearTheEnd.setTimerType(Qt::PreciseTimer);
    QObject::connect(&nearTheEnd, &QTimer::timeout,
                     [&] { probe.inPhaseNearTheEnd = intro != nullptr && intro->InPhase(); });
    nearTheEnd.start(900);
    CIntroWnd::Run(QPixmap(), moviePath, &intro);
    return probe;
}

void CloseIntro(CIntroWnd*& intro) {
    ASSERT_NE(intro, nullptr);
    QPointer<CIntroWnd> gone = intro;
    intro->CloseAfter(0);
    EXPECT_TRUE(WaitUntil([&] { return gone.isNull(); }));
}

}  // namespace

TEST(IntroFilm, PlaysToItsEndWithThePointerAway) {
    CTempDir dir;
    const std::string film = dir / "ZYB2004.nox";
    ASSERT_TRUE(MakeTestFilm(film, 120, 90, 0.5)) << "ffmpeg makes the film (scripts/setup)";
    CIntroWnd* intro = nullptr;
    const QPoint home(300, 200);

    const CPhaseProbe probe = RunWatched(QString::fromStdString(film), intro, home);
    ASSERT_NE(intro, nullptr);
    EXPECT_TRUE(probe.filmRan);
    // The film at its own size in the middle of the screen.
    EXPECT_EQ(probe.filmRect.size(), QSize(120, 90));
    EXPECT_EQ(probe.filmRect.center(), intro->rect().center());
    EXPECT_FALSE(intro->InPhase());
    EXPECT_EQ(intro->Film(), nullptr) << "stopped and closed at its end";
    EXPECT_TRUE(probe.pointerMoved) << "out of the film's way while it played";
    EXPECT_EQ(QCursor::pos(), home) << "and back where it was";
    CloseIntro(intro);
    EXPECT_EQ(QCursor::pos(), home);
}

TEST(IntroFilm, ButtonReleaseEndsTheFilmEarly) {
    CTempDir dir;
    const std::string film = dir / "ZYB2004.nox";
    // Long enough that only the release can end the phase within the test's patience.
    ASSERT_TRUE(MakeTestFilm(film, 64, 48, 30));
    CIntroWnd* intro = nullptr;
    const QPoint home(250, 150);
    const CPhaseProbe probe = RunWatched(QString::fromStdString(film), intro, home, true);
    EXPECT_TRUE(probe.filmRan);
    // Ended by the release, not by the film: it never got near its end.
    EXPECT_GT(probe.filmDuration, 0);
    EXPECT_LT(probe.filmPosition, probe.filmDuration / 2);
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(intro->Film(), nullptr);
    EXPECT_EQ(QCursor::pos(), home);
    CloseIntro(intro);
}

// A file that is there but no film, and a missing one: the intro shows its picture for the
// usual second and never touches the pointer.
TEST(IntroFilm, WithoutAPlayableFilmThePictureShows) {
    CTempDir dir;
    WriteFile(dir / "ZYB2004.nox", "PK kein Film");
    for (const std::string& path : {dir / "ZYB2004.nox", dir / "fehlt.nox"}) {
        CIntroWnd* intro = nullptr;
        const QPoint home(320, 240);
        const CPhaseProbe probe = RunWatched(QString::fromStdString(path), intro, home);
        // About a second, never at once.
        EXPECT_TRUE(probe.inPhaseNearTheEnd) << path;
        EXPECT_FALSE(probe.filmRan) << path;
        EXPECT_FALSE(probe.pointerMoved) << path;
        CloseIntro(intro);
        EXPECT_EQ(QCursor::pos(), home) << path;
    }
}
