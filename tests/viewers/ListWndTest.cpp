// The list window over tables written here: item windows only for what is on screen,
// scrolling to both ends, the scroll bar's thumb, finding and selecting, the mouse, the empty
// list, the limit of its item table, and the item kinds.

#include <gtest/gtest.h>

#include <QApplication>
#include <QCursor>
#include <QImage>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "fixtures/FixtureAlmanac.h"
#include "viewers/FlatScrollBar.h"
#include "viewers/ListItems.h"
#include "viewers/ListWnd.h"
#include "viewers/ListWndItem.h"

namespace {

// The owner window: keeps the list's choices.
class COwner : public QWidget {
public:
    std::vector<std::pair<int, long>> choices;

protected:
    bool event(QEvent* event) override {
        if (event->type() == CListChoiceEvent::kType) {
            auto* choice = static_cast<CListChoiceEvent*>(event);
            choices.emplace_back(choice->ControlId(), choice->Key());
            return true;
        }
        return QWidget::event(event);
    }
};

class ListWndTest : public testing::Test {
protected:
    void SetUp() override {
        const std::string dir = MakeTestDirectory("listwnd");
        m_db.Create(dir + "/liste.mdb");
        m_db.Execute("CREATE TABLE Liste (ID LONG PRIMARY KEY, Title TEXT, Typ BYTE)");
        m_db.Execute("BEGIN");
        for (int id = 1; id <= 2000; ++id)
            m_db.Execute(
                SqlFormat("INSERT INTO Liste VALUES (%d, 'Eintrag %04d', %d)", id, id, id % 7));
        m_db.Execute(
            "INSERT INTO Liste VALUES (3000, 'O''Brien, ein Titel, der so lang ist, dass "
            "er in einer schmalen Liste umbrochen wird', 9)");
        m_db.Execute("COMMIT");
        ResetDBErrors();
        // The pointer away from the lists, so that no item is hot unless a test moves there.
        QCursor::setPos(-1000, -1000);
        m_owner.resize(400, 800);
        m_owner.show();
    }

    // A list of query at (0, 0, 240, height) of the owner.
    CListWnd* MakeList(const std::string& query, int height = 300, int gap = 2,
                       const std::string& kind = "CSelectListItem") {
        auto* list = new CListWnd(&m_owner);
        list->Create(&m_db, query, "ID", "Title", gap, 3, 3, &m_owner, QRect(0, 0, 240, height),
                     1050, 7, kind);
        return list;
    }

    static std::string All(int limit = 2000) {
        return "SELECT * FROM Liste WHERE ID<=" + std::to_string(limit) + " ORDER BY ID ASC";
    }

    // The list's items are in order, follow each other at the gap, and cover its height.
    static void ExpectContiguous(const CListWnd& list, int gap) {
        for (int i = 1; i < list.ItemCount(); ++i) {
            EXPECT_EQ(list.ItemPosition(i), list.ItemPosition(i - 1) + 1);
            EXPECT_EQ(list.Item(i)->y(), list.Item(i - 1)->geometry().bottom() + 1 + gap);
        }
    }

    static void Send(QWidget* target, QEvent::Type type, QPoint pos,
                     Qt::MouseButtons buttons = Qt::LeftButton) {
        QMouseEvent event(type, pos, target->mapToGlobal(pos),
                          type == QEvent::MouseMove ? Qt::NoButton : Qt::LeftButton, buttons,
                          Qt::NoModifier);
        QApplication::sendEvent(target, &event);
    }

    CDatabase m_db;
    COwner m_owner;
};

// Lets the event loop run for ms milliseconds.
void Pump(int ms) {
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

}  // namespace

TEST_F(ListWndTest, ItemWindowsExistOnlyForTheVisibleRecords) {
    CListWnd* list = MakeList(All());
    EXPECT_EQ(list->GetRecordCount(), 2000);
    EXPECT_EQ(list->objectName(), "ListWnd");
    ASSERT_GT(list->ItemCount(), 5);
    // A screenful and at most one more; no item lies wholly outside.
    const int itemHeight = list->Item(0)->height();
    EXPECT_LE(list->ItemCount(), 300 / (itemHeight + 2) + 2);
    EXPECT_EQ(list->Item(0)->y(), 0);
    EXPECT_LT(list->Item(list->ItemCount() - 1)->y(), 300);
    ExpectContiguous(*list, 2);
    // Items are laid out within the margins, beside the scroll bar.
    EXPECT_EQ(list->Item(0)->x(), 3);
    EXPECT_EQ(list->Item(0)->width(), 240 - 16 - 6);
    EXPECT_EQ(list->Item(0)->Text(), "Eintrag 0001");
    EXPECT_EQ(list->Item(0)->Option(), 7);
    EXPECT_EQ(list->ItemKey(0), 1);

    // Scrolling through the whole list keeps the number of item windows bounded.
    int most = 0;
    for (int step = 0; step < 600; ++step) {
        list->PageDown();
        most = std::max(most, list->ItemCount());
        const int children = static_cast<int>(list->findChildren<CListWndItem*>().size());
        ASSERT_EQ(children, list->ItemCount());
    }
    EXPECT_LE(most, 300 / (itemHeight + 2) + 2);
    ExpectContiguous(*list, 2);
    // At the last record the list stops with the last item's bottom at the window's bottom.
    EXPECT_EQ(list->ItemPosition(list->ItemCount() - 1), 1999);
    EXPECT_EQ(list->Item(list->ItemCount() - 1)->geometry().bottom(), 299);
    const int before = list->Item(0)->y();
    list->LineDown();
    EXPECT_EQ(list->Item(0)->y(), before);
}

TEST_F(ListWndTest, ScrollingStopsAtTheFirstRecordAndMovesByTheCutPage) {
    CListWnd* list = MakeList(All(), 300);
    list->SetScrollAmounts(12, 0);
    // Up at the first record: nothing moves.
    list->LineUp();
    list->ScrollBy(500);
    EXPECT_EQ(list->ItemPosition(0), 0);
    EXPECT_EQ(list->Item(0)->y(), 0);
    // Down a little and up a lot: back to the first item's top at the window's top.
    list->ScrollBy(-30);
    EXPECT_NE(list->Item(0)->y(), 0);
    list->ScrollBy(200);
    EXPECT_EQ(list->ItemPosition(0), 0);
    EXPECT_EQ(list->Item(0)->y(), 0);

    // Lines and pages move the contents by their amounts, the keys and the wheel too.
    list->ThumbTo(500);
    const long top = list->ItemPosition(0);
    const int y = list->Item(0)->y();
    list->LineDown();
    EXPECT_EQ(list->ItemPosition(0), top);
    EXPECT_EQ(list->Item(0)->y(), y - 12);
    QKeyEvent up(QEvent::KeyPress, Qt::Key_Up, Qt::NoModifier);
    QApplication::sendEvent(list, &up);
    EXPECT_EQ(list->ItemPosition(0), top);
    EXPECT_EQ(list->Item(0)->y(), y);
    QWheelEvent wheel(QPointF(10, 10), list->mapToGlobal(QPointF(10, 10)), QPoint(),
                      QPoint(0, -120), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &wheel);
    EXPECT_GT(list->ItemPosition(0), top);
    // A fine wheel's small steps add up to a notch.
    const long afterNotch = list->ItemPosition(0);
    const int afterY = list->Item(0)->y();
    QWheelEvent fine(QPointF(10, 10), list->mapToGlobal(QPointF(10, 10)), QPoint(), QPoint(0, 40),
                     Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list, &fine);
    QApplication::sendEvent(list, &fine);
    EXPECT_EQ(list->ItemPosition(0), afterNotch);
    EXPECT_EQ(list->Item(0)->y(), afterY);
    QApplication::sendEvent(list, &fine);
    EXPECT_LT(list->ItemPosition(0), afterNotch);

    // A page larger than the window moves by 40 % of it.
    CListWnd* small = MakeList(All(), 100);
    small->SetScrollAmounts(10, 250);
    small->ThumbTo(500);
    const long smallTop = small->ItemPosition(0);
    const int smallY = small->Item(0)->y();
    const int pitch = small->Item(0)->height() + 2;
    small->PageDown();
    // 100 pixels further: whole items went, the rest is the new top item's offset.
    const long moved = (small->ItemPosition(0) - smallTop) * pitch - (small->Item(0)->y() - smallY);
    EXPECT_EQ(moved, 100);
    QKeyEvent pageUp(QEvent::KeyPress, Qt::Key_PageUp, Qt::NoModifier);
    QApplication::sendEvent(small, &pageUp);
    EXPECT_EQ(small->ItemPosition(0), smallTop);
    EXPECT_EQ(small->Item(0)->y(), smallY);
}

TEST_F(ListWndTest, ThumbFollowsTheTopRecordAndDraggingItRebuilds) {
    CListWnd* list = MakeList(All(), 300);
    CFlatScrollBar* bar = list->ScrollBar();
    EXPECT_TRUE(bar->isVisible());
    EXPECT_TRUE(bar->isEnabled());
    EXPECT_EQ(bar->Position(), 0);
    // 300 / 2000 is below 10: the thumb is 10 pixels.
    EXPECT_EQ(bar->ThumbLength(), 10);

    list->ThumbTo(500);
    EXPECT_EQ(list->ItemPosition(0), 1000);
    EXPECT_EQ(list->Item(0)->y(), 0);
    EXPECT_EQ(bar->Position(), 1000 * 1000 / 1999);
    // At the end the last record ends at the window's bottom, with the records before it above.
    list->ThumbTo(1000);
    EXPECT_EQ(list->ItemPosition(list->ItemCount() - 1), 1999);
    EXPECT_EQ(list->Item(list->ItemCount() - 1)->geometry().bottom(), 299);
    EXPECT_EQ(list->Item(0)->y() <= 0, true);
    EXPECT_GT(bar->Position(), 980);

    // Dragging the thumb with the mouse goes through the same path.
    list->ThumbTo(0);
    const QRect thumb = bar->ThumbRect();
    Send(bar, QEvent::MouseButtonPress, thumb.center());
    Send(bar, QEvent::MouseMove, thumb.center() + QPoint(0, (bar->height() - 32 - 10) / 2));
    Send(bar, QEvent::MouseButtonRelease, thumb.center(), Qt::NoButton);
    EXPECT_NEAR(list->ItemPosition(0), 1000, 60);
    // A click on the groove below the thumb pages down.
    const long top = list->ItemPosition(0);
    Send(bar, QEvent::MouseButtonPress, QPoint(8, bar->height() - 20));
    Send(bar, QEvent::MouseButtonRelease, QPoint(8, bar->height() - 20), Qt::NoButton);
    EXPECT_GT(list->ItemPosition(0), top);

    // Five records: the thumb is twice the window's share of a record; one record keeps the
    // thumb at 0.
    CListWnd* few = MakeList(All(5), 300);
    EXPECT_EQ(few->ScrollBar()->ThumbLength(), 2 * (300 / 5));
    CListWnd* one = MakeList(All(1), 300);
    EXPECT_EQ(one->ItemCount(), 1);
    one->ThumbTo(1000);
    EXPECT_EQ(one->ScrollBar()->Position(), 0);
    one->LineDown();
    EXPECT_EQ(one->Item(0)->y(), 0);
}

TEST_F(ListWndTest, AnEmptyResultSaysSoAndHidesTheScrollBar) {
    CListWnd* list = MakeList("SELECT * FROM Liste WHERE ID<0");
    list->SetBackColour(QColor(10, 20, 30));
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_FALSE(list->ScrollBar()->isVisible());
    EXPECT_FALSE(list->ScrollBar()->isEnabled());
    list->ScrollBy(-50);
    list->ThumbTo(500);
    EXPECT_EQ(list->ItemCount(), 0);
    const QImage empty = list->grab().toImage();
    EXPECT_EQ(empty.pixelColor(2, 2), QColor(10, 20, 30));
    // White text across the middle.
    int white = 0;
    for (int y = 140; y < 160; ++y)
        for (int x = 0; x < empty.width(); ++x) white += empty.pixelColor(x, y).red() > 200 ? 1 : 0;
    EXPECT_GT(white, 20);
    list->SetShowEmptyText(false);
    const QImage quiet = list->grab().toImage();
    EXPECT_EQ(quiet.pixelColor(empty.width() / 2, 150), QColor(10, 20, 30));

    // Re-queried with rows, and back to none.
    EXPECT_TRUE(list->ReQuery(All(50)));
    EXPECT_GT(list->ItemCount(), 0);
    EXPECT_TRUE(list->ScrollBar()->isVisible());
    EXPECT_TRUE(list->ReQuery("SELECT * FROM Liste WHERE Title LIKE '~~~~'"));
    EXPECT_EQ(list->ItemCount(), 0);
    EXPECT_FALSE(list->ScrollBar()->isVisible());
}

TEST_F(ListWndTest, FindFirstSelectAndReQuery) {
    CListWnd* list = MakeList(All());
    // A record that does not exist leaves the list as it is.
    std::vector<long> keys;
    for (int i = 0; i < list->ItemCount(); ++i) keys.push_back(list->ItemKey(i));
    EXPECT_FALSE(list->FindFirst("Title LIKE 'Fehlt*'", true));
    EXPECT_FALSE(list->FindFirst("ID=99999", true));
    std::vector<long> after;
    for (int i = 0; i < list->ItemCount(); ++i) after.push_back(list->ItemKey(i));
    EXPECT_EQ(after, keys);

    // A match comes to the top; quotes in the text are the criteria's own.
    EXPECT_TRUE(list->FindFirst("Title LIKE 'Eintrag 015*'", true));
    EXPECT_EQ(list->ItemKey(0), 150);
    EXPECT_EQ(list->Item(0)->y(), 0);
    CListWnd* full = MakeList("SELECT * FROM Liste ORDER BY ID ASC");
    EXPECT_TRUE(full->FindFirst("Title LIKE 'O''Brien*'", true));
    const int last = full->ItemCount() - 1;
    EXPECT_EQ(full->ItemKey(last), 3000);
    // Its long title wraps onto more lines than a short one.
    EXPECT_GT(full->Item(last)->height(), full->Item(0)->height());

    // Selecting marks exactly the items of the key; a key off screen comes to the top.
    list->Select(151, false);
    EXPECT_EQ(list->GetSelection(), 151);
    EXPECT_EQ(list->Item(1)->State(), CListWndItem::kSelected);
    EXPECT_EQ(list->Item(0)->State(), CListWndItem::kNormal);
    list->Select(1500, true);
    EXPECT_EQ(list->ItemKey(0), 1500);
    EXPECT_EQ(list->Item(0)->State(), CListWndItem::kSelected);
    // A match near the end shows with the records before it filling the window.
    EXPECT_TRUE(list->FindFirst("ID=2000", true));
    EXPECT_EQ(list->ItemKey(list->ItemCount() - 1), 2000);
    EXPECT_EQ(list->Item(list->ItemCount() - 1)->geometry().bottom(), 299);
    // A new item of the selected key starts selected.
    list->ThumbTo(0);
    list->FindFirst("ID=1499", true);
    EXPECT_EQ(list->Item(1)->State(), CListWndItem::kSelected);

    // ReQuery starts from the first record, or keeps the position.
    list->ThumbTo(500);
    const long top = list->ItemPosition(0);
    EXPECT_TRUE(list->ReQuery(All(1500), true));
    EXPECT_EQ(list->ItemPosition(0), top);
    // Fewer records than the window holds: all of them, from the first.
    EXPECT_TRUE(list->ReQuery(All(10), true));
    EXPECT_EQ(list->ItemPosition(0), 0);
    EXPECT_EQ(list->ItemPosition(list->ItemCount() - 1), 9);
    EXPECT_TRUE(list->ReQuery(All(1500)));
    EXPECT_EQ(list->ItemPosition(0), 0);
}

TEST_F(ListWndTest, MouseSelectsHoversAndTellsTheOwner) {
    CListWnd* list = MakeList(All());
    const QPoint second = list->Item(1)->geometry().center();
    Send(list, QEvent::MouseMove, second, Qt::NoButton);
    EXPECT_EQ(list->HotItem(), list->Item(1));
    EXPECT_EQ(list->Item(1)->State(), CListWndItem::kHot);
    Send(list, QEvent::MouseButtonPress, second);
    EXPECT_EQ(list->GetSelection(), 2);
    EXPECT_EQ(list->Item(1)->State(), CListWndItem::kSelected);
    EXPECT_TRUE(m_owner.choices.empty());
    Send(list, QEvent::MouseButtonRelease, second, Qt::NoButton);
    QCoreApplication::processEvents();
    EXPECT_EQ(m_owner.choices, (std::vector<std::pair<int, long>>{{1050, 2}}));

    // Moving on: the old item is normal again, the selected one stays selected.
    const QPoint third = list->Item(2)->geometry().center();
    Send(list, QEvent::MouseMove, third, Qt::NoButton);
    EXPECT_EQ(list->Item(2)->State(), CListWndItem::kHot);
    EXPECT_EQ(list->Item(1)->State(), CListWndItem::kSelected);
    // Once the pointer is outside, the hover timer clears the hot item.
    QCursor::setPos(list->mapToGlobal(QPoint(1000, 1000)));
    // No wall-clock bound: the timer fires whenever the machine gets to it.
    for (int i = 0; i < 100 && list->HotItem(); ++i) Pump(50);
    EXPECT_EQ(list->HotItem(), nullptr);
    EXPECT_EQ(list->Item(2)->State(), CListWndItem::kNormal);

    // A drag carries the table entry and the text.
    std::unique_ptr<QMimeData> data(list->DragData(1));
    ASSERT_TRUE(data);
    EXPECT_EQ(data->text(), "Eintrag 0002");
    const QByteArray entry = data->data(CListWnd::kDragFormat);
    ASSERT_EQ(entry.size(), 17);
    qint64 values[2];
    std::memcpy(values, entry.constData(), sizeof values);
    EXPECT_EQ(values[0], 1);
    EXPECT_EQ(values[1], 2);
    EXPECT_EQ(entry[16], 7);
}

TEST_F(ListWndTest, ATallWindowOfSmallItemsKeepsToTheItemTable) {
    // 8000 pixels of items about 16 pixels high would need some 500 item windows.
    CListWnd* list = MakeList(All(), 8000, 0);
    EXPECT_EQ(list->ItemCount(), CListWnd::kMaxItems);
    ExpectContiguous(*list, 0);
    list->ScrollBy(-100);
    list->ThumbTo(700);
    EXPECT_LE(list->ItemCount(), CListWnd::kMaxItems);
    list->ThumbTo(1000);
    list->ScrollBy(4000);
    EXPECT_LE(list->ItemCount(), CListWnd::kMaxItems);
    ExpectContiguous(*list, 0);
}

TEST_F(ListWndTest, FailuresAreReportedAndLeaveTheList) {
    auto* bad = new CListWnd(&m_owner);
    EXPECT_FALSE(bad->Create(&m_db, "SELECT * FROM Fehlt", "ID", "Title", 0, 0, 0, &m_owner,
                             QRect(0, 0, 100, 100), 1, 0, {}));
    EXPECT_EQ(LastDBError().context, "CListWnd::OnCreate");
    EXPECT_EQ(bad->ItemCount(), 0);

    CListWnd* list = MakeList(All());
    const int items = list->ItemCount();
    EXPECT_FALSE(list->FindFirst("Title LIKE", true));
    EXPECT_EQ(LastDBError().context, "CListWnd::FindFirst");
    EXPECT_EQ(list->ItemCount(), items);
    EXPECT_FALSE(list->ReQuery("SELECT * FROM Fehlt"));
    EXPECT_EQ(LastDBError().context, "CListWnd::ReQuery");
    EXPECT_EQ(list->ItemCount(), 0);

    // A key field the query does not have: the first item cannot be read.
    CListWnd* noKey = new CListWnd(&m_owner);
    noKey->Create(&m_db, "SELECT Title FROM Liste", "ID", "Title", 0, 0, 0, &m_owner,
                  QRect(0, 0, 100, 100), 2, 0, {});
    EXPECT_EQ(LastDBError().context, "CListWnd::AddBottom");
    EXPECT_EQ(noKey->ItemCount(), 0);

    // A placeholder that is not there.
    CListWnd* nowhere = new CListWnd(&m_owner);
    EXPECT_FALSE(nowhere->Create(&m_db, All(), "ID", "Title", 0, 0, 0, &m_owner, 4711));
}

TEST_F(ListWndTest, ThePlaceholderGivesPlaceAndId) {
    auto* placeholder = new QWidget(&m_owner);
    placeholder->setGeometry(20, 30, 200, 150);
    placeholder->setProperty("controlId", 1050);
    auto* list = new CListWnd(&m_owner);
    ASSERT_TRUE(list->Create(&m_db, All(), "ID", "Title", 0, 0, 0, &m_owner, 1050));
    EXPECT_FALSE(placeholder->isVisible());
    EXPECT_EQ(list->geometry(), QRect(20, 30, 200, 150));
    EXPECT_EQ(list->ControlId(), 1050);
}

TEST_F(ListWndTest, ItemKindsDrawInTheirColours) {
    // Kinds by name; an unknown one is the plain item; others can join.
    EXPECT_TRUE(dynamic_cast<CSearchListItem*>(
        std::unique_ptr<CListWndItem>(CreateListWndItem("CSearchListItem")).get()));
    EXPECT_EQ(std::unique_ptr<CListWndItem>(CreateListWndItem("CGibtEsNicht"))->metaObject(),
              &CListWndItem::staticMetaObject);
    struct CTestItem : CListWndItem {
        int Draw(QPainter*, const QRect&, bool, int) override { return 50; }
    };
    RegisterListWndItem("CTestItem", [] { return new CTestItem; });
    CListWnd* tall = MakeList(All(), 300, 0, "CTestItem");
    EXPECT_EQ(tall->Item(0)->height(), 50);
    EXPECT_EQ(tall->ItemCount(), 6);

    struct Kind {
        const char* name;
        QColor normal, hot, selected;
    } kinds[] = {
        {"CListWndItem", QColor(0xAA, 0xAA, 0xAA), QColor(0xCC, 0xCC, 0xCC), QColor(0, 0, 0xFF)},
        {"CSelectListItem", QColor(0x4E, 0x5A, 0x72), QColor(0x5D, 0x69, 0x81),
         QColor(0x34, 0x3E, 0x50)},
        {"CPersonenListItem", QColor(0x7B, 0x7B, 0xA5), QColor(0x6F, 0x6F, 0x9D),
         QColor(0x51, 0x60, 0x6E)},
        {"CSearchListItem", QColor(0x56, 0x60, 0x74), QColor(0x5E, 0x69, 0x7E),
         QColor(0x6F, 0x77, 0x89)},
    };
    for (const Kind& k : kinds) {
        SCOPED_TRACE(k.name);
        CListWnd* list = MakeList(All(), 300, 2, k.name);
        CListWndItem* item = list->Item(0);
        // Probe right of the text, inside the box's edge.
        const QPoint probe(item->width() - 6, item->height() / 2);
        EXPECT_EQ(item->grab().toImage().pixelColor(probe), k.normal);
        item->SetState(CListWndItem::kHot);
        EXPECT_EQ(item->grab().toImage().pixelColor(probe), k.hot);
        item->SetState(CListWndItem::kSelected);
        EXPECT_EQ(item->grab().toImage().pixelColor(probe), k.selected);
    }

    // The hit list's item reads the type and shows its picture.
    CListWnd* hits = MakeList("SELECT * FROM Liste WHERE ID IN (1, 3000) ORDER BY ID", 300, 2,
                              "CSearchListItem");
    auto* country = dynamic_cast<CSearchListItem*>(hits->Item(0));
    auto* picture = dynamic_cast<CSearchListItem*>(hits->Item(1));
    ASSERT_TRUE(country && picture);
    EXPECT_EQ(country->Typ(), 1);
    EXPECT_EQ(picture->Typ(), 9);
    EXPECT_EQ(CSearchListItem::IconOfTyp(1), 191);
    EXPECT_EQ(CSearchListItem::IconOfTyp(6), 190);
    EXPECT_EQ(CSearchListItem::IconOfTyp(9), 270);
    EXPECT_EQ(CSearchListItem::IconOfTyp(7), 0);
    // The picture sits at the left, the text after it.
    const QImage image = country->grab().toImage();
    int inked = 0;
    for (int x = 2; x < 18; ++x)
        for (int y = 0; y < image.height(); ++y)
            inked += image.pixelColor(x, y) != QColor(0x56, 0x60, 0x74) ? 1 : 0;
    EXPECT_GT(inked, 10);
}
