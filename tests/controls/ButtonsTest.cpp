#include <gtest/gtest.h>

#include <QCursor>
#include <QPixmap>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolTip>
#include <vector>

#include "controls/CommandEvent.h"
#include "controls/NOXButton.h"
#include "controls/NOXButtonText.h"
#include "support/WaitUntil.h"

namespace {

// A window that records the commands its buttons post to it.
class CommandSink : public QWidget {
public:
    std::vector<int> commands;

protected:
    void customEvent(QEvent* e) override {
        if (e->type() == CCommandEvent::kType)
            commands.push_back(static_cast<CCommandEvent*>(e)->Id());
    }
};

QPixmap Filled(QColor color) {
    QPixmap p(24, 16);
    p.fill(color);
    return p;
}

class Buttons : public testing::Test {
protected:
    void SetUp() override {
        sink.setGeometry(200, 200, 200, 100);
        bitmap = new CNOXButton(&sink);
        ASSERT_TRUE(bitmap->SetBitmaps(Filled(Qt::blue), Filled(Qt::cyan), Filled(Qt::darkBlue)));
        bitmap->SetDisabledBitmap(Filled(Qt::gray));
        ASSERT_TRUE(bitmap->Create(100, QPoint(10, 10)));
        text = new CNOXButtonText(&sink);
        text->Create(200, QRect(100, 10, 39, 16), QStringLiteral("2002"));
        sink.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&sink));
        Park();
    }
    void TearDown() override { Park(); }

    static void Park() {
        QCursor::setPos(5, 5);
        QCoreApplication::processEvents();
    }
    void HoverOver(QWidget* w) {
        QCursor::setPos(w->mapToGlobal(QPoint(3, 3)));
        QCoreApplication::processEvents();
    }
    QPoint InWindow(QWidget* w, QPoint p = {3, 3}) { return w->mapTo(&sink, p); }
    void Flush() { QCoreApplication::sendPostedEvents(&sink, CCommandEvent::kType); }

    CommandSink sink;
    CNOXButton* bitmap = nullptr;
    CNOXButtonText* text = nullptr;
};

TEST_F(Buttons, BitmapButtonTakesTheNormalPicturesSize) {
    EXPECT_EQ(bitmap->geometry(), QRect(10, 10, 24, 16));

    // Pictures from files: one missing file fails and leaves the button as it was.
    QTemporaryDir dir;
    const QString normal = dir.filePath(QStringLiteral("Sort_n.bmp"));
    QPixmap(30, 20).save(normal, "BMP");
    EXPECT_FALSE(bitmap->SetBitmaps(normal, normal, dir.filePath(QStringLiteral("Sort_c.bmp"))));
    EXPECT_EQ(bitmap->size(), QSize(24, 16));
    EXPECT_TRUE(bitmap->SetBitmaps(normal, normal, normal));
    EXPECT_EQ(bitmap->size(), QSize(30, 20));

    // No picture, no button.
    CNOXButton empty(&sink);
    EXPECT_FALSE(empty.Create(101, QPoint(0, 0)));
}

TEST_F(Buttons, LeavingReturnsToNormal) {
    for (QWidget* w : std::vector<QWidget*>{bitmap, text}) {
        HoverOver(w);
        auto state
            = [&] { return w == bitmap ? int(bitmap->ButtonState()) : int(text->ButtonState()); };
        EXPECT_EQ(state(), 1) << w->metaObject()->className();
        QTest::qWait(40);
        EXPECT_EQ(state(), 1) << "still under the mouse";
        // Out of the window: only the 25 ms leave check can see it.
        QCursor::setPos(sink.mapToGlobal(QPoint(-30, -30)));
        EXPECT_TRUE(WaitUntil([&] { return state() == 0; }));
    }
}

TEST_F(Buttons, ClickPostsTheCommandToTheParent) {
    for (QWidget* w : std::vector<QWidget*>{bitmap, text}) {
        sink.commands.clear();
        HoverOver(w);
        QTest::mouseClick(sink.windowHandle(), Qt::LeftButton, {}, InWindow(w));
        Flush();
        const int id = w == bitmap ? 100 : 200;
        EXPECT_EQ(sink.commands, std::vector<int>{id});

        // Pressed, then released elsewhere: nothing is sent.
        sink.commands.clear();
        QTest::mousePress(sink.windowHandle(), Qt::LeftButton, {}, InWindow(w));
        QTest::mouseRelease(sink.windowHandle(), Qt::LeftButton, {}, QPoint(80, 80));
        Flush();
        EXPECT_TRUE(sink.commands.empty());
    }
}

TEST_F(Buttons, DisabledButtonIgnoresTheMouse) {
    bitmap->Enable(false);
    text->Enable(false);
    for (QWidget* w : std::vector<QWidget*>{bitmap, text}) {
        HoverOver(w);
        QTest::mouseClick(sink.windowHandle(), Qt::LeftButton, {}, InWindow(w));
    }
    Flush();
    EXPECT_TRUE(sink.commands.empty());
    EXPECT_EQ(bitmap->ButtonState(), CNOXButton::kNormal);
    EXPECT_EQ(text->ButtonState(), CNOXButtonText::kNormal);
    // Disabled shows the disabled picture.
    EXPECT_EQ(bitmap->grab().toImage().pixelColor(2, 2), QColor(Qt::gray));

    bitmap->Enable(true);
    QTest::mouseClick(sink.windowHandle(), Qt::LeftButton, {}, InWindow(bitmap));
    Flush();
    EXPECT_EQ(sink.commands, std::vector<int>{100});
}

TEST_F(Buttons, ToolTipAfterHalfASecond) {
    bitmap->SetToolTip(QStringLiteral("Tabelle drucken"));
    HoverOver(bitmap);
    // Looked at by a timer due before the tip's, so that a slow machine cannot reorder them.
    bool early = true;
    QTimer::singleShot(300, [&early] { early = QToolTip::isVisible(); });
    EXPECT_TRUE(WaitUntil([&] { return QToolTip::isVisible(); }));
    EXPECT_FALSE(early);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Tabelle drucken"));
    // Leaving hides it with the normal picture.
    QCursor::setPos(sink.mapToGlobal(QPoint(-30, -30)));
    EXPECT_TRUE(WaitUntil([&] { return !QToolTip::isVisible(); }));
}

TEST_F(Buttons, TextButtonLook) {
    text->SetColors(CNOXButtonText::kNormal, QColor(219, 236, 214), QColor(139, 166, 132),
                    QColor(182, 217, 172), QColor(113, 145, 113));
    const QImage normal = text->grab().toImage();
    EXPECT_EQ(normal.pixelColor(0, 0), QColor(219, 236, 214));    // light edge
    EXPECT_EQ(normal.pixelColor(38, 15), QColor(139, 166, 132));  // dark edge
    EXPECT_EQ(normal.pixelColor(2, 2), QColor(182, 217, 172));    // background
    // Pressed: the defaults of the pressed state.
    HoverOver(text);
    QTest::mousePress(sink.windowHandle(), Qt::LeftButton, {}, InWindow(text));
    const QImage pressed = text->grab().toImage();
    EXPECT_EQ(pressed.pixelColor(0, 0), QColor(0x44, 0x44, 0x44));
    EXPECT_EQ(pressed.pixelColor(2, 2), QColor(0x99, 0x99, 0x99));
    QTest::mouseRelease(sink.windowHandle(), Qt::LeftButton, {}, InWindow(text));
}

}  // namespace
