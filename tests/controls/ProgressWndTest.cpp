#include "controls/ProgressWnd.h"

#include <gtest/gtest.h>

#include <QTest>

#include "controls/TemplateDialog.h"
#include "noxctrls/ProgressCtrl.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"

namespace {

TEST(ProgressWnd, TemplateWindowShowsTheRunAndTakesTheCancelKey) {
    uint32_t tick = 1000;
    QWidget parent;
    parent.setGeometry(100, 100, 600, 400);
    parent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&parent));

    CProgressWnd progress([&] { return tick; });
    ASSERT_TRUE(progress.Start(&parent, 10));
    auto* window = qobject_cast<CTemplateDialog*>(progress.Window());
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->TemplateId(), 167);
    auto* text = window->Controls().Static(CProgressWnd::kTimeTextId);
    auto* bar = window->Controls().Progress(CProgressWnd::kProgressBarId);
    ASSERT_NE(text, nullptr);
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->geometry().center(), parent.geometry().center());
    EXPECT_TRUE(text->Text().isEmpty());

    // Five steps a second apart; the sixth comes five seconds into the run.
    for (int i = 0; i < 5; ++i, tick += 1000) EXPECT_TRUE(progress.Step());
    EXPECT_TRUE(text->Text().isEmpty());
    EXPECT_TRUE(progress.Step());
    EXPECT_EQ(text->Text(), QStringLiteral("Verbleibende Zeit: 7 Sekunden..."));
    EXPECT_EQ(bar->Value(), 60);

    // The cancel key and the close request both cancel; the window stays for the run to end.
    QTest::keyClick(window, Qt::Key_Escape);
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_FALSE(progress.Step());
    window->close();
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(progress.Step());

    // The object takes its window with it.
    QPointer<QWidget> guard = window;
    {
        CProgressWnd other([&] { return tick; });
        ASSERT_TRUE(other.Start(&parent, 3));
        guard = other.Window();
    }
    EXPECT_TRUE(guard.isNull());
}

TEST(ProgressWnd, ItsCancelButtonCancelsTheRunOnce) {
    QWidget parent;
    parent.setGeometry(100, 100, 600, 400);
    parent.show();
    CProgressWnd progress([] { return 1000u; });
    ASSERT_TRUE(progress.Start(&parent, 10));
    auto* window = qobject_cast<CTemplateDialog*>(progress.Window());
    ASSERT_NE(window, nullptr);
    CPushCtrl* cancel = window->Controls().Push(CProgressWnd::kCancelId);
    ASSERT_NE(cancel, nullptr);
    EXPECT_TRUE(cancel->isVisible());
    EXPECT_TRUE(cancel->isEnabled());
    EXPECT_TRUE(progress.Step());
    // A click that the run's next step lets through.
    QTest::mouseClick(cancel, Qt::LeftButton);
    EXPECT_FALSE(progress.Step());
    EXPECT_TRUE(progress.IsCancelled());
    EXPECT_FALSE(cancel->isEnabled());
    EXPECT_TRUE(window->isVisible());
}

}  // namespace
