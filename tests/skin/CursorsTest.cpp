#include "controls/Cursors.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPixmap>
#include <QWidget>
#include <functional>

namespace {

CCursorFile Animation(unsigned delayMs) {
    CCursorFile file;
    for (int i = 0; i < 3; ++i) {
        CCursorImage image{8, 8, 3, 4, std::vector<std::uint32_t>(64, 0xFF000000u + i)};
        file.images.push_back(image);
        file.steps.push_back({i, delayMs});
    }
    return file;
}

// Runs the event loop until done() or the time is up.
bool WaitFor(const std::function<bool()>& done, int ms = 10000) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    return done();
}

}  // namespace

TEST(Cursors, TurnsFilePicturesIntoCursorsWithTheirHotSpot) {
    CCursorImage image{4,
                       2,
                       3,
                       1,
                       {0x80FF0000, 0xFF00FF00, 0x00000000, 0xFFFFFFFF, 0xFF000000, 0xFF0000FF,
                        0xFF123456, 0x40FFFFFF}};
    const QCursor cursor = ToQCursor(image);
    EXPECT_EQ(cursor.hotSpot(), QPoint(3, 1));
    const QImage back = cursor.pixmap().toImage().convertToFormat(QImage::Format_ARGB32);
    ASSERT_EQ(back.size(), QSize(4, 2));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(back.pixel(i % 4, i / 4), image.pixels[i]) << i;

    const CFileCursor animated(Animation(50));
    EXPECT_TRUE(animated.IsAnimated());
    EXPECT_EQ(animated.StepCount(), 3);
    EXPECT_EQ(animated.StepDelay(1), 50);
    EXPECT_EQ(animated.First().hotSpot(), QPoint(3, 4));
    EXPECT_TRUE(
        CFileCursor::Load(QStringLiteral("/nonexistent/"), QStringLiteral("Wait")).IsNull());
    EXPECT_EQ(CFileCursor().First().shape(), Qt::ArrowCursor);
}

TEST(Cursors, AnimatesOnAWidgetAndAsTheOverrideCursor) {
    auto* widget = new QWidget;
    CCursorAnimation animation(CFileCursor(Animation(20)));
    animation.ShowOn(widget);
    EXPECT_EQ(widget->cursor().shape(), Qt::BitmapCursor);
    EXPECT_TRUE(WaitFor([&] { return animation.CurrentStep() == 2; }));
    animation.Stop();
    EXPECT_EQ(widget->cursor().shape(), Qt::ArrowCursor);

    // The widget may go away while its cursor turns
    animation.ShowOn(widget);
    delete widget;
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 100) QCoreApplication::processEvents();
    EXPECT_FALSE(animation.IsShowing());

    // The override is pushed once and popped once, whatever the frames did in between
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    animation.ShowAsOverride();
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_TRUE(WaitFor([&] { return animation.CurrentStep() == 2; }));
    animation.ShowAsOverride();  // again: still one level
    animation.Stop();
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}
