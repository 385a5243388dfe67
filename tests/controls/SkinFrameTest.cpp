#include "controls/SkinFrame.h"
#include "support/WaitUntil.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QPixmap>
#include <QScreen>
#include <QTest>

namespace {

using Hit = CSkinFrame::Hit;

QRect Edges(int left, int top, int right, int bottom) {
    return QRect(left, top, right - left, bottom - top);
}

QPixmap Filled(QSize size, QColor color) {
    QPixmap p(size);
    p.fill(color);
    return p;
}

// A frame configured like the main window, with pictures of the test's own: buttons of
// 16 x 14 pixels, 4 apart, the rightmost 5 pixels in from the caption's end, 6 down.
void ConfigureLikeMainWindow(CSkinFrame& frame) {
    frame.SetFrameColors(QColor(145, 164, 200), QColor(22, 37, 65), QColor(51, 86, 153),
                         QColor(51, 86, 153), QColor(51, 86, 153));
    frame.SetCaptionButtonOffsets(-5, 6);
    frame.SetInnerMargin(0);
    const QColor colors[4] = {Qt::yellow, Qt::green, Qt::cyan, Qt::red};
    for (int set = 0; set < 4; ++set) {
        frame.SetCaptionButtonBitmaps(
            CSkinFrame::CaptionBitmaps(set), Filled({16, 14}, colors[set]),
            Filled({16, 14}, colors[set].lighter()), Filled({16, 14}, colors[set].darker()));
    }
    frame.SetCaptionButtonGap(4);
    frame.SetCaptionBitmaps(Filled({300, 26}, QColor(30, 50, 110)));
}

struct LayoutCase {
    int w, h, b, m, c;
    CSkinFrame::Layout expected;
};

class SkinFrameLayout : public testing::TestWithParam<LayoutCase> {};

TEST_P(SkinFrameLayout, Rectangles) {
    const LayoutCase& t = GetParam();
    const auto l = CSkinFrame::ComputeLayout({t.w, t.h}, t.b, t.m, t.c);
    EXPECT_EQ(l.client, t.expected.client);
    EXPECT_EQ(l.caption, t.expected.caption);
    EXPECT_EQ(l.top, t.expected.top);
    EXPECT_EQ(l.bottom, t.expected.bottom);
    EXPECT_EQ(l.left, t.expected.left);
    EXPECT_EQ(l.right, t.expected.right);
    EXPECT_EQ(l.topLeft, t.expected.topLeft);
    EXPECT_EQ(l.topRight, t.expected.topRight);
    EXPECT_EQ(l.bottomLeft, t.expected.bottomLeft);
    EXPECT_EQ(l.bottomRight, t.expected.bottomRight);
}

CSkinFrame::Layout Banded(int w, int h, int b, int m, int c) {
    CSkinFrame::Layout l;
    l.client = Edges(b + m, b + m + c, w - b - m, h - b - m);
    l.caption = Edges(b, b, w - b, b + c);
    l.top = Edges(16, 0, w - 16, b);
    l.bottom = Edges(16, h - b, w - 16, h);
    l.left = Edges(0, 16, b, h - 16);
    l.right = Edges(w - b, 16, w, h - 16);
    l.topLeft = Edges(0, 0, 16, 16);
    l.topRight = Edges(w - 16, 0, w, 16);
    l.bottomLeft = Edges(0, h - 16, 16, h);
    l.bottomRight = Edges(w - 16, h - 16, w, h);
    return l;
}

CSkinFrame::Layout Thin(int w, int h, int b, int m, int c) {
    CSkinFrame::Layout l;
    l.client = Edges(b + m, b + m + c, w - b - m, h - b - m);
    l.caption = Edges(1, 1, w - 1, c);
    return l;
}

INSTANTIATE_TEST_SUITE_P(
    Frames, SkinFrameLayout,
    testing::Values(
        // The main window: border 6, no margin, the caption picture's height.
        LayoutCase{800, 600, 6, 0, 26, Banded(800, 600, 6, 0, 26)},
        // The construction values: border 6, margin 1, caption 18.
        LayoutCase{100, 100, 6, 1, 18, Banded(100, 100, 6, 1, 18)},
        // Border 3 is the thinnest with bands; 2 and 1 have none, margin or not.
        LayoutCase{200, 150, 3, 1, 18, Banded(200, 150, 3, 1, 18)},
        LayoutCase{200, 150, 2, 0, 18, Thin(200, 150, 2, 0, 18)},
        LayoutCase{200, 150, 1, 1, 18, Thin(200, 150, 1, 1, 18)},
        LayoutCase{200, 150, 0, 0, 0, Thin(200, 150, 0, 0, 0)}));

class SkinFrameWindow : public testing::Test {
protected:
    void SetUp() override {
        ConfigureLikeMainWindow(frame);
        frame.setWindowTitle(QStringLiteral("Varnholt Kompendor 2004"));
        frame.setGeometry(100, 80, 400, 300);
        frame.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&frame));
        // Park the mouse away from the window.
        QCursor::setPos(5, 5);
        QCoreApplication::processEvents();
    }
    void TearDown() override { QCursor::setPos(5, 5); }

    QPoint Center(CSkinFrame::CaptionButton b) const { return frame.CaptionButtonRect(b).center(); }
    QWindow* Window() { return frame.windowHandle(); }

    CSkinFrame frame;
};

TEST_F(SkinFrameWindow, ButtonsLineUpFromTheRight) {
    // Caption 6..394, rightmost button's right edge 5 pixels in, 6 pixels down.
    EXPECT_EQ(frame.CaptionButtonRect(CSkinFrame::kCloseButton), QRect(373, 12, 16, 14));
    EXPECT_EQ(frame.CaptionButtonRect(CSkinFrame::kMaximizeButton), QRect(353, 12, 16, 14));
    EXPECT_EQ(frame.CaptionButtonRect(CSkinFrame::kMinimizeButton), QRect(333, 12, 16, 14));
    EXPECT_EQ(frame.ClientRect(), Edges(6, 32, 394, 294));

    // The image window gives only the close button's pictures and a gap of 1.
    CSkinFrame image;
    image.SetCaptionButtonBitmaps({0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, 1);
    image.SetCaptionButtonBitmaps(CSkinFrame::kCloseBitmaps, Filled({12, 12}, Qt::red),
                                  Filled({12, 12}, Qt::red), Filled({12, 12}, Qt::red));
    image.resize(120, 100);
    EXPECT_TRUE(image.CaptionButtonRect(CSkinFrame::kMinimizeButton).isEmpty());
    EXPECT_TRUE(image.CaptionButtonRect(CSkinFrame::kMaximizeButton).isEmpty());
    // Construction offsets: 2 pixels in from the caption's end (114), 2 down from its top (6).
    EXPECT_EQ(image.CaptionButtonRect(CSkinFrame::kCloseButton), QRect(100, 8, 12, 12));
    // Default client: border 6 and margin 1 on every side, below the 18-pixel caption.
    EXPECT_EQ(image.ClientRect(), Edges(7, 25, 113, 93));
}

TEST_F(SkinFrameWindow, HitTestOrder) {
    // Bands, then corners, then the client; a corner reaches into the client area.
    EXPECT_EQ(frame.HitTest({200, 2}), Hit::Top);
    EXPECT_EQ(frame.HitTest({200, 297}), Hit::Bottom);
    EXPECT_EQ(frame.HitTest({3, 150}), Hit::Left);
    EXPECT_EQ(frame.HitTest({397, 150}), Hit::Right);
    EXPECT_EQ(frame.HitTest({2, 2}), Hit::TopLeft);
    EXPECT_EQ(frame.HitTest({397, 2}), Hit::TopRight);
    EXPECT_EQ(frame.HitTest({10, 290}), Hit::BottomLeft);
    EXPECT_EQ(frame.HitTest({390, 290}), Hit::BottomRight);
    EXPECT_EQ(frame.HitTest({200, 150}), Hit::Client);
    // The caption wins over the top corners it overlaps.
    EXPECT_EQ(frame.HitTest({10, 10}), Hit::Caption);
    EXPECT_EQ(frame.HitTest({200, 20}), Hit::Caption);

    // Over a caption button the hit test is the caption and the button lights up.
    EXPECT_EQ(frame.HitTest(Center(CSkinFrame::kCloseButton)), Hit::Caption);
    EXPECT_EQ(frame.CaptionButtonState(CSkinFrame::kCloseButton), CSkinFrame::kButtonHover);

    // Maximised: no sizing, no dragging, but the buttons still answer.
    frame.ShowMaximized();
    EXPECT_EQ(frame.HitTest({3, 150}), Hit::Nowhere);
    EXPECT_EQ(frame.HitTest({2, 2}), Hit::Nowhere);
    EXPECT_EQ(frame.HitTest({200, 20}), Hit::Nowhere);
    EXPECT_EQ(frame.HitTest(Center(CSkinFrame::kMaximizeButton)), Hit::Caption);
    EXPECT_EQ(frame.HitTest(frame.ClientRect().center()), Hit::Client);
}

TEST_F(SkinFrameWindow, HoverReturnsToNormalWhenTheMouseLeaves) {
    const QPoint onClose = Center(CSkinFrame::kCloseButton);
    auto shownColor = [&] { return frame.grab().toImage().pixel(onClose); };
    EXPECT_EQ(shownColor(), QColor(Qt::red).rgb());
    QCursor::setPos(frame.mapToGlobal(onClose));
    QCoreApplication::processEvents();
    EXPECT_EQ(frame.CaptionButtonState(CSkinFrame::kCloseButton), CSkinFrame::kButtonHover);
    EXPECT_EQ(shownColor(), QColor(Qt::red).lighter().rgb());
    QTest::qWait(20);
    EXPECT_EQ(frame.CaptionButtonState(CSkinFrame::kCloseButton), CSkinFrame::kButtonHover);

    // Out of the window altogether: no mouse event reaches the frame, the timer notices.
    QCursor::setPos(frame.mapToGlobal(QPoint(-50, -50)));
    EXPECT_TRUE(WaitUntil([&] {
        return frame.CaptionButtonState(CSkinFrame::kCloseButton) == CSkinFrame::kButtonNormal;
    }));
    EXPECT_EQ(shownColor(), QColor(Qt::red).rgb());
}

TEST_F(SkinFrameWindow, PressedButtonActsOnReleaseOverTheCaption) {
    const QRect normal = frame.geometry();
    const QPoint onMaximize = Center(CSkinFrame::kMaximizeButton);
    QCursor::setPos(frame.mapToGlobal(onMaximize));
    QCoreApplication::processEvents();
    QTest::mousePress(Window(), Qt::LeftButton, {}, onMaximize);
    EXPECT_EQ(frame.CaptionButtonState(CSkinFrame::kMaximizeButton), CSkinFrame::kButtonPressed);
    // Released on a free part of the caption, not over the button.
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(100, 20));
    ASSERT_TRUE(frame.IsMaximized());
    const QRect work = frame.screen()->availableGeometry();
    EXPECT_EQ(frame.geometry(),
              QRect(work.x() - 6, work.y() - 6, work.width() + 13, work.height() + 13));

    // A maximised window is neither dragged nor sized through its frame.
    const QRect maximized = frame.geometry();
    QTest::mousePress(Window(), Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(Window(), QPoint(200, 120));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(200, 120));
    QTest::mousePress(Window(), Qt::LeftButton, {}, QPoint(200, 2));
    QTest::mouseMove(Window(), QPoint(200, 60));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(200, 60));
    EXPECT_EQ(frame.geometry(), maximized);

    // The same button now restores.
    const QPoint onRestore = Center(CSkinFrame::kMaximizeButton);
    QCursor::setPos(frame.mapToGlobal(onRestore));
    QCoreApplication::processEvents();
    QTest::mouseClick(Window(), Qt::LeftButton, {}, onRestore);
    EXPECT_FALSE(frame.IsMaximized());
    EXPECT_EQ(frame.geometry(), normal);

    // A release outside the caption does nothing; the button goes back to normal once the
    // mouse is off it.
    const QPoint onClose = Center(CSkinFrame::kCloseButton);
    QCursor::setPos(frame.mapToGlobal(onClose));
    QCoreApplication::processEvents();
    QTest::mousePress(Window(), Qt::LeftButton, {}, onClose);
    QCursor::setPos(frame.mapToGlobal(QPoint(200, 150)));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(200, 150));
    EXPECT_TRUE(WaitUntil([&] {
        return frame.CaptionButtonState(CSkinFrame::kCloseButton) == CSkinFrame::kButtonNormal;
    }));
    EXPECT_TRUE(frame.isVisible());

    QCursor::setPos(frame.mapToGlobal(onClose));
    QCoreApplication::processEvents();
    QTest::mouseClick(Window(), Qt::LeftButton, {}, onClose);
    EXPECT_FALSE(frame.isVisible());
}

TEST_F(SkinFrameWindow, DraggingAndSizingByHand) {
    // The offscreen platform has no window manager to move windows; the frame does it itself.
    const QRect start = frame.geometry();
    QTest::mousePress(Window(), Qt::LeftButton, {}, QPoint(100, 20));
    QTest::mouseMove(Window(), QPoint(130, 45));
    // The window came along: the mouse is at the same place of the caption again.
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(100, 20));
    EXPECT_EQ(frame.geometry(), start.translated(30, 25));

    // The bottom-right corner, far inwards: the minimum tracking size holds.
    frame.SetMinTrackSize({300, 250});
    const QRect moved = frame.geometry();
    QTest::mousePress(Window(), Qt::LeftButton, {}, QPoint(395, 295));
    QTest::mouseMove(Window(), QPoint(100, 100));
    QTest::mouseRelease(Window(), Qt::LeftButton, {}, QPoint(100, 100));
    EXPECT_EQ(frame.geometry(), QRect(moved.topLeft(), QSize(300, 250)));
}

TEST_F(SkinFrameWindow, ToolkitMaximizeBecomesTheFramesOwn) {
    // A maximise asked through the toolkit (or the window manager) puts the border outside
    // the work area too.
    frame.showMaximized();
    EXPECT_TRUE(frame.IsMaximized());
    EXPECT_EQ(frame.geometry(), frame.MaximizedGeometry());
    EXPECT_FALSE(frame.windowState() & Qt::WindowMaximized);
    frame.ShowRestored();
    EXPECT_EQ(frame.geometry(), QRect(100, 80, 400, 300));
}

TEST_F(SkinFrameWindow, ConfiguredMaximizedSizeIsCentred) {
    const QRect work = frame.screen()->availableGeometry();
    frame.SetMaximizedSize({300, 200});
    frame.ShowMaximized();
    EXPECT_EQ(frame.geometry().size(), QSize(300, 200));
    EXPECT_EQ(frame.geometry().center(), work.center());
    // Never larger than the work area.
    frame.SetMaximizedSize(work.size() + QSize(500, 500));
    EXPECT_EQ(frame.geometry(), work);
}

}  // namespace
