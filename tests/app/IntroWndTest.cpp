#include "app/IntroWnd.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QPromise>
#include <QScreen>
#include <QTest>
#include <QTimer>

TEST(IntroWnd, PhaseEndsAfterOneSecondOrOnKeyRelease) {
    CIntroWnd* intro = nullptr;
    QPixmap picture(40, 30);
    picture.fill(Qt::red);

    // Without a film the picture shows for one second. Timers fire in the order they are due,
    // so a look shortly before the second is up still finds the phase running, however slow
    // the machine; no wall clock is read.
    bool inPhaseNearTheEnd = false;
    QTimer::singleShot(950, Qt::PreciseTimer,
                       [&] { inPhaseNearTheEnd = intro != nullptr && intro->InPhase(); });
    CIntroWnd::Run(picture, QStringLiteral("/nonexistent/ZYB2004.nox"), &intro);
    EXPECT_TRUE(inPhaseNearTheEnd);
    ASSERT_NE(intro, nullptr);
    EXPECT_FALSE(intro->InPhase());
    EXPECT_TRUE(intro->isVisible());
    EXPECT_EQ(intro->geometry(), QGuiApplication::primaryScreen()->geometry());
    EXPECT_EQ(intro->windowTitle(), QStringLiteral("Intro"));

    // The picture sits in the middle of the black screen.
    const QImage shot = intro->grab().toImage();
    const QPoint centre = intro->rect().center();
    EXPECT_EQ(shot.pixelColor(centre), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(centre + QPoint(0, 20)), QColor(Qt::black));

    // Asked to close, it goes after the delay and clears its owner's pointer. Timers fire in
    // the order they are due, so the look after 100 ms comes first however slow the machine.
    QPointer<CIntroWnd> first = intro;
    intro->CloseAfter(250);
    bool stayed = false;
    QTimer::singleShot(100, [&] { stayed = intro == first.data() && !first.isNull(); });
    EXPECT_TRUE(WaitUntil([&] { return first.isNull(); }));
    EXPECT_TRUE(stayed);
    EXPECT_EQ(intro, nullptr);

    // A key released during the phase ends it at once: it is sent long before the second is
    // up, and the phase is over when sending returns.
    bool inPhaseBefore = false;
    bool inPhaseAfter = true;
    QTimer::singleShot(50, [&] {
        inPhaseBefore = intro != nullptr && intro->InPhase();
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
        QCoreApplication::sendEvent(intro, &release);
        inPhaseAfter = intro->InPhase();
    });
    CIntroWnd::Run(QPixmap(), QString(), &intro);
    EXPECT_TRUE(inPhaseBefore);
    EXPECT_FALSE(inPhaseAfter);
    ASSERT_NE(intro, nullptr);
    QPointer<CIntroWnd> second = intro;
    intro->CloseAfter(0);
    EXPECT_TRUE(WaitUntil([&] { return second.isNull(); }));
}

// A picture still being decoded: the screen is black until it arrives, then shows it; the
// phase runs as ever.
TEST(IntroWnd, PictureThatArrivesDuringThePhase) {
    CIntroWnd* intro = nullptr;
    QPromise<QImage> promise;
    promise.start();
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::blue);

    QColor before;
    QTimer::singleShot(0, [&] {
        before = intro->grab().toImage().pixelColor(intro->rect().center());
        promise.addResult(picture);
        promise.finish();
    });
    // The picture's arrival is posted long before the phase's second is up.
    CIntroWnd::Run(promise.future(), QStringLiteral("/nonexistent/ZYB2004.nox"), &intro);
    ASSERT_NE(intro, nullptr);
    EXPECT_EQ(before, QColor(Qt::black));
    EXPECT_EQ(intro->grab().toImage().pixelColor(intro->rect().center()), QColor(Qt::blue));

    QPointer<CIntroWnd> gone = intro;
    intro->CloseAfter(0);
    EXPECT_TRUE(WaitUntil([&] { return gone.isNull(); }));
}
