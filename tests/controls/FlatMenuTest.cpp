#include "controls/FlatMenu.h"

#include <gtest/gtest.h>

#include <QCursor>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <vector>

#include "controls/CommandEvent.h"
#include "support/WaitUntil.h"

namespace {

class Owner : public QWidget {
public:
    std::vector<int> commands;

protected:
    void customEvent(QEvent* e) override {
        if (e->type() == CCommandEvent::kType)
            commands.push_back(static_cast<CCommandEvent*>(e)->Id());
    }
};

// The context menu colours of the table cells.
void StyleLikeTheCells(CFlatMenu& menu) {
    menu.SetStyle(QStringLiteral("MS Sans Serif"), 8, Qt::black, QColor(63, 221, 224),
                  QColor(87, 106, 122), Qt::white, QColor(51, 51, 51));
    menu.Attach(-1);
}

class FlatMenuTest : public testing::Test {
protected:
    void SetUp() override {
        owner.setGeometry(50, 50, 500, 400);
        owner.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&owner));
        work = owner.screen()->availableGeometry();
        Park();
    }
    void TearDown() override { Park(); }
    static void Park() {
        QCursor::setPos(1, 1);
        QCoreApplication::processEvents();
    }
    void Flush() { QCoreApplication::sendPostedEvents(&owner, CCommandEvent::kType); }
    // The middle of an item, in screen coordinates.
    static QPoint ItemAt(const CFlatMenu& menu, int index) {
        const QRect r = menu.ItemRect(index);
        return menu.Window()->mapToGlobal(QPoint(r.x() + 30, r.center().y()));
    }

    Owner owner;
    QRect work;
};

TEST_F(FlatMenuTest, LayoutOfItemsAndEmptyMenu) {
    CFlatMenu empty;
    StyleLikeTheCells(empty);
    empty.TrackPopup(100, 100, &owner, false);
    ASSERT_TRUE(empty.IsOpen());
    EXPECT_EQ(empty.Window()->size(), QSize(42, 5));
    EXPECT_EQ(empty.Window()->windowTitle(), QStringLiteral("~FlatMenu~"));
    empty.Destroy();
    EXPECT_FALSE(empty.IsOpen());
    empty.TrackPopup(100, 100, &owner, false, false, 80);
    EXPECT_EQ(empty.Window()->size(), QSize(122, 5));
    empty.Destroy();

    CFlatMenu menu;
    StyleLikeTheCells(menu);
    menu.AppendItem(0, QStringLiteral("Länderinfo zeigen"), 1);
    menu.AppendItem(CFlatMenu::kSeparator, QString(), 0);
    menu.AppendItem(CFlatMenu::kDefault, QStringLiteral("Karte zeigen"), 2);
    menu.TrackPopup(100, 100, &owner, false);
    const QRect first = menu.ItemRect(0);
    const QRect separator = menu.ItemRect(1);
    const QRect third = menu.ItemRect(2);
    EXPECT_EQ(first.top(), 3);
    EXPECT_EQ(separator.top(), first.bottom() + 1);
    EXPECT_EQ(separator.height(), 5);
    EXPECT_EQ(third.top(), separator.bottom() + 1);
    EXPECT_EQ(menu.Window()->height(), third.bottom() + 1 + 2);
    EXPECT_GT(menu.Window()->width(), 42 + 40);
    menu.Destroy();
}

TEST_F(FlatMenuTest, StaysInsideTheWorkArea) {
    CFlatMenu menu;
    // Destroy frees the items; each opening fills the menu anew.
    auto fill = [&] {
        StyleLikeTheCells(menu);
        for (int i = 1; i <= 5; ++i) menu.AppendItem(0, QStringLiteral("Eintrag %1").arg(i), i);
    };

    // Near the bottom-right corner: up and to the left of the point.
    const QPoint corner(work.right() - 5, work.bottom() - 5);
    fill();
    menu.TrackPopup(corner.x(), corner.y(), &owner, false);
    QRect g = menu.Window()->geometry();
    EXPECT_EQ(g.x() + g.width(), work.x() + work.width());
    EXPECT_EQ(g.y() + g.height(), work.y() + work.height() - 2);
    EXPECT_LT(g.x(), corner.x());
    EXPECT_LT(g.y(), corner.y());
    menu.Destroy();

    // Near the bottom-left corner only the vertical position changes; the menu does not jump
    // to the right edge of the screen.
    fill();
    menu.TrackPopup(work.x() + 10, work.bottom() - 5, &owner, false);
    g = menu.Window()->geometry();
    EXPECT_EQ(g.x(), work.x() + 10);
    EXPECT_EQ(g.y() + g.height(), work.y() + work.height() - 2);
    menu.Destroy();

    // Where it fits, it opens at the point.
    fill();
    menu.TrackPopup(200, 150, &owner, false);
    EXPECT_EQ(menu.Window()->geometry().topLeft(), QPoint(200, 150));
    menu.Destroy();

    // A menu larger than the work area never goes past its top or left edge.
    fill();
    menu.TrackPopup(work.x() + 10, work.y() + 10, &owner, false, false, work.width() + 100);
    EXPECT_EQ(menu.Window()->geometry().topLeft().x(), work.x());
    menu.Destroy();
}

TEST_F(FlatMenuTest, ListLongerThanTheScreenBreaksIntoColumns) {
    // A year menu of a long series: more items than one column can hold on the screen.
    CFlatMenu menu;
    StyleLikeTheCells(menu);
    const int count = 200;
    for (int i = 0; i < count; ++i) menu.AppendItem(0, QString::number(2017 - i), i + 1);
    menu.TrackPopup(work.x() + 10, work.y() + 10, &owner, false);
    const QRect geometry = menu.Window()->geometry();
    EXPECT_TRUE(work.contains(geometry)) << "menu " << geometry.width() << "x" << geometry.height();

    const QRect first = menu.ItemRect(0);
    const QRect last = menu.ItemRect(count - 1);
    EXPECT_GT(last.x(), first.x());
    EXPECT_EQ(last.width(), first.width());
    EXPECT_LE(last.bottom(), geometry.height());
    // The columns are filled evenly: the last one is not a short rest.
    EXPECT_GT(last.bottom(), geometry.height() * 2 / 3);

    // An item of a later column is chosen where it is drawn.
    QTest::mouseMove(menu.Window(), menu.Window()->mapFromGlobal(ItemAt(menu, count - 1)));
    QCursor::setPos(ItemAt(menu, count - 1));
    QTest::mouseClick(menu.Window(), Qt::LeftButton, {},
                      menu.Window()->mapFromGlobal(ItemAt(menu, count - 1)));
    Flush();
    ASSERT_EQ(owner.commands.size(), 1u);
    EXPECT_EQ(owner.commands[0], count);
}

TEST_F(FlatMenuTest, MnemonicChoosesIgnoringCase) {
    CFlatMenu menu;
    StyleLikeTheCells(menu);
    menu.AppendItem(CFlatMenu::kGrayed, QStringLiteral("&Drucken (gesperrt)"), 7);
    menu.AppendItem(0, QStringLiteral("Abbildung &drucken"), 1);
    menu.AppendItem(0, QStringLiteral("Abbildung &exportieren"), 2);
    menu.AppendItem(0, QStringLiteral("Gr&öße"), 3);

    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int expected;
    };
    const Case cases[] = {
        {Qt::Key_D, Qt::NoModifier, 1},     // the grayed item takes no keyboard choice
        {Qt::Key_D, Qt::ShiftModifier, 1},  // upper case
        {Qt::Key_E, Qt::NoModifier, 2},
        {Qt::Key_X, Qt::NoModifier, 0},    // no such letter: the menu stays; Escape ends it
        {Qt::Key_F4, Qt::AltModifier, 0},  // a system key closes
    };
    for (const Case& c : cases) {
        QTimer::singleShot(0, [&] {
            QTest::keyClick(menu.Window(), c.key, c.modifiers);
            if (menu.IsOpen()) QTest::keyClick(menu.Window(), Qt::Key_Escape);
        });
        EXPECT_EQ(menu.TrackPopup(100, 100, &owner, true), c.expected) << c.key;
        EXPECT_FALSE(menu.IsOpen());
    }
    // An umlaut as the letter.
    QTimer::singleShot(0, [&] { QTest::keyClicks(menu.Window(), QStringLiteral("Ö")); });
    EXPECT_EQ(menu.TrackPopup(100, 100, &owner, true), 3);

    // Arrows skip separators and grayed items; Enter chooses.
    QTimer::singleShot(0, [&] {
        QTest::keyClick(menu.Window(), Qt::Key_Down);
        QTest::keyClick(menu.Window(), Qt::Key_Down);
        QTest::keyClick(menu.Window(), Qt::Key_Return);
    });
    EXPECT_EQ(menu.TrackPopup(100, 100, &owner, true), 2);
}

TEST_F(FlatMenuTest, SubmenuOpensAfterTheDelay) {
    CFlatMenu menu, sub;
    StyleLikeTheCells(menu);
    StyleLikeTheCells(sub);
    sub.AppendItem(0, QStringLiteral("für alle übernehmen"), 11);
    sub.AppendItem(0, QStringLiteral("auf Standard einstellen"), 12);
    menu.AppendItem(0, QStringLiteral("Detailinfo anzeigen"), 1);
    ASSERT_TRUE(menu.AppendSubmenu(0, QStringLiteral("Zellengröße"), &sub));
    EXPECT_FALSE(menu.AppendSubmenu(CFlatMenu::kSeparator, QString(), &sub));

    menu.TrackPopup(100, 100, &owner, false);
    QCursor::setPos(ItemAt(menu, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(menu.HighlightedItem(), 1);
    // Looked at by a timer due before the submenu's, which a slow machine cannot reorder.
    bool early = true;
    QTimer::singleShot(250, [&] { early = sub.IsOpen(); });
    EXPECT_TRUE(WaitUntil([&] { return sub.IsOpen(); }));
    EXPECT_FALSE(early);
    const QRect parent = menu.Window()->geometry();
    EXPECT_EQ(sub.Window()->geometry().topLeft(),
              QPoint(parent.x() + parent.width() - 5, parent.y() + menu.ItemRect(1).top() - 3));

    // The mouse moves over to the submenu and chooses there; the command goes to the owner.
    QCursor::setPos(ItemAt(sub, 1));
    QCoreApplication::processEvents();
    EXPECT_EQ(sub.HighlightedItem(), 1);
    EXPECT_EQ(menu.HighlightedItem(), 1);
    QTest::mouseClick(sub.Window()->windowHandle(), Qt::LeftButton, {},
                      sub.Window()->mapFromGlobal(ItemAt(sub, 1)));
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_FALSE(sub.IsOpen());
    Flush();
    EXPECT_EQ(owner.commands, std::vector<int>{12});
}

TEST_F(FlatMenuTest, PressOutsideClosesTheChain) {
    CFlatMenu menu, sub;
    StyleLikeTheCells(menu);
    StyleLikeTheCells(sub);
    sub.AppendItem(0, QStringLiteral("aufsteigend"), 21);
    menu.AppendSubmenu(0, QStringLiteral("Spalte sortieren"), &sub);
    menu.AppendItem(0, QStringLiteral("Detailinfo anzeigen"), 1);

    QTimer::singleShot(0, [&] {
        // A press on the submenu's item opens it at once, without the delay.
        QTest::mousePress(menu.Window()->windowHandle(), Qt::LeftButton, {},
                          menu.Window()->mapFromGlobal(ItemAt(menu, 0)));
        EXPECT_TRUE(sub.IsOpen());
        QTest::mouseRelease(menu.Window()->windowHandle(), Qt::LeftButton, {},
                            menu.Window()->mapFromGlobal(ItemAt(menu, 0)));
        EXPECT_TRUE(menu.IsOpen());
        // Then a press on the owner window, outside every menu.
        QTest::mousePress(owner.windowHandle(), Qt::LeftButton, {}, QPoint(450, 350));
    });
    EXPECT_EQ(menu.TrackPopup(100, 100, &owner, true), 0);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_FALSE(sub.IsOpen());
    QTest::mouseRelease(owner.windowHandle(), Qt::LeftButton, {}, QPoint(450, 350));
}

TEST_F(FlatMenuTest, ReleaseOfTheOpeningClickIsIgnored) {
    CFlatMenu menu;
    StyleLikeTheCells(menu);
    menu.AppendItem(0, QStringLiteral("Abbildung drucken"), 1);
    menu.AppendItem(CFlatMenu::kNotSelectable, QStringLiteral("Überschrift"), 5);
    menu.AppendItem(0, QStringLiteral("Fenster schließen"), 3);

    // A right click opens the menu while the button is still down.
    QTest::mousePress(owner.windowHandle(), Qt::RightButton, {}, QPoint(100, 100));
    menu.TrackPopup(owner.mapToGlobal(QPoint(100, 100)).x(),
                    owner.mapToGlobal(QPoint(100, 100)).y(), &owner, false);
    QWindow* window = menu.Window()->windowHandle();
    const QPoint first = menu.Window()->mapFromGlobal(ItemAt(menu, 0));
    QTest::mouseRelease(window, Qt::RightButton, {}, first);
    EXPECT_TRUE(menu.IsOpen());
    // An item that is not selectable is not chosen by the mouse either.
    QTest::mouseClick(window, Qt::LeftButton, {}, menu.Window()->mapFromGlobal(ItemAt(menu, 1)));
    EXPECT_TRUE(menu.IsOpen());
    QTest::mouseClick(window, Qt::LeftButton, {}, menu.Window()->mapFromGlobal(ItemAt(menu, 2)));
    EXPECT_FALSE(menu.IsOpen());
    Flush();
    EXPECT_EQ(owner.commands, std::vector<int>{3});
}

TEST_F(FlatMenuTest, OwnerDestroyedWhileTracking) {
    // A modal menu whose owner goes away (a table cell rebuilt meanwhile) must not keep its
    // loop running.
    CFlatMenu menu, sub;
    StyleLikeTheCells(menu);
    StyleLikeTheCells(sub);
    sub.AppendItem(0, QStringLiteral("aufsteigend"), 21);
    menu.AppendSubmenu(0, QStringLiteral("Spalte sortieren"), &sub);
    auto* cell = new QWidget(&owner);
    cell->setGeometry(10, 10, 50, 20);
    cell->show();
    QTimer::singleShot(0, [&] {
        QTest::mousePress(menu.Window()->windowHandle(), Qt::LeftButton, {},
                          menu.Window()->mapFromGlobal(ItemAt(menu, 0)));
        ASSERT_TRUE(sub.IsOpen());
        delete cell;
    });
    QObject watchdog;
    QTimer::singleShot(2000, &watchdog, [&] {
        ADD_FAILURE() << "the menu's loop outlived its owner";
        menu.Destroy();
    });
    EXPECT_EQ(menu.TrackPopup(100, 100, cell, true), 0);
    EXPECT_FALSE(menu.IsOpen());
    EXPECT_FALSE(sub.IsOpen());
    QTest::mouseRelease(owner.windowHandle(), Qt::LeftButton, {}, QPoint(450, 350));
}

TEST_F(FlatMenuTest, FocusToAnotherWindowClosesTheMenus) {
    CFlatMenu menu;
    StyleLikeTheCells(menu);
    menu.AppendItem(0, QStringLiteral("Lesezeichen setzen"), 1);
    QWidget other;
    other.setFocusPolicy(Qt::StrongFocus);
    other.setGeometry(600, 50, 100, 100);
    other.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&other));

    menu.TrackPopup(100, 100, &owner, false);
    ASSERT_TRUE(menu.IsOpen());
    QTest::qWait(20);
    EXPECT_TRUE(menu.IsOpen());
    // While a popup is open the toolkit keeps the focus from other windows; a click on one
    // is how the focus goes there.
    QTest::mouseClick(other.windowHandle(), Qt::LeftButton, {}, QPoint(50, 50));
    EXPECT_TRUE(WaitUntil([&] { return !menu.IsOpen(); }));
    Flush();
    EXPECT_TRUE(owner.commands.empty());
}

}  // namespace
