#include "app/IntroWnd.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QPointer>
#include <QScreen>
#include <QTest>

TEST(IntroWnd, PhaseEndsAfterOneSecondOrOnKeyRelease) {
    CIntroWnd* intro = nullptr;
    QPixmap picture(40, 30);
    picture.fill(Qt::red);

    // Without a film the picture shows for one second.
    QElapsedTimer clock;
    clock.start();
    CIntroWnd::Run(picture, QStringLiteral("/nonexistent/ZYB2004.nox"), &intro);
    EXPECT_GE(clock.elapsed(), 950);
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

    // Asked to close, it goes after the delay and clears its owner's pointer.
    QPointer<CIntroWnd> first = intro;
    intro->CloseAfter(250);
    QTest::qWait(100);
    EXPECT_EQ(intro, first.data());
    QTRY_VERIFY_WITH_TIMEOUT(first.isNull(), 2000);
    EXPECT_EQ(intro, nullptr);

    // A key released during the phase ends it at once.
    QTimer::singleShot(50, [&intro] {
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier);
        QCoreApplication::sendEvent(intro, &release);
    });
    clock.restart();
    CIntroWnd::Run(QPixmap(), QString(), &intro);
    EXPECT_LT(clock.elapsed(), 900);
    ASSERT_NE(intro, nullptr);
    QPointer<CIntroWnd> second = intro;
    intro->CloseAfter(0);
    QTRY_VERIFY_WITH_TIMEOUT(second.isNull(), 2000);
}
