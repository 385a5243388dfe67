// The database tree control over tables written here: loading level by level, opening the
// path to a record, records that are their own parent, ancestor chains too long to be a
// tree, ticks, failures and drawing.

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <QApplication>
#include <QImage>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QRegion>
#include <string>
#include <vector>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "fixtures/FixtureAlmanac.h"
#include "text/NOXTreeCtrl.h"

namespace {

using Ids = CNOXTreeCtrl::IdVector;

// A tree table with four levels (Europa > Mitteleuropa > Alpenländer > Schweiz, Österreich), a
// record that is its own parent at the top (ID 0, PID 0), a record whose parent is missing and
// two records that are each other's parent.
class TreeFixture : public testing::Test {
protected:
    void SetUp() override {
        const std::string dir = MakeTestDirectory("nox-tree");
        m_db.Create(dir + "/tree.mdb");
        m_db.Execute("CREATE TABLE Baum (ID LONG PRIMARY KEY, PID LONG, Title TEXT, Typ LONG)");
        const struct {
            int id, pid;
            const char* title;
            int typ;
        } rows[] = {
            {0, 0, "Wurzel", 1},      {1, 0, "Europa", 1},   {2, 1, "Mitteleuropa", 1},
            {3, 2, "Alpenländer", 1}, {4, 3, "Schweiz", 1},  {5, 3, "Österreich", 2},
            {6, 0, "  Asien  ", 1},   {7, 99, "Waise", 1},   {8, 9, "Henne", 1},
            {9, 8, "Ei", 1},          {10, 2, "Benelux", 1}, {11, 1, "Nordeuropa", 1},
        };
        m_db.Execute("BEGIN");
        for (const auto& r : rows)
            m_db.Execute(SqlFormat("INSERT INTO Baum VALUES (%d, %d, '%s', %d)", r.id, r.pid,
                                   r.title, r.typ));
        m_db.Execute("COMMIT");
        sqlite3_trace_v2(m_db.Handle(), SQLITE_TRACE_STMT, &TreeFixture::Trace, this);
        ResetDBErrors();
    }

    static int Trace(unsigned, void* self, void* stmt, void*) {
        if (const char* sql = sqlite3_sql(static_cast<sqlite3_stmt*>(stmt)))
            static_cast<TreeFixture*>(self)->m_queries.emplace_back(sql);
        return 0;
    }

    // How many level queries asked for the children of parent.
    int LevelQueries(int parent) const {
        const std::string where = "WHERE PID=" + std::to_string(parent) + " ";
        int n = 0;
        for (const std::string& q : m_queries)
            if (q.rfind("SELECT ID,PID,Title", 0) == 0 && q.find(where) != std::string::npos) ++n;
        return n;
    }

    void Init(CNOXTreeCtrl& tree, const std::string& filter = "") {
        tree.resize(300, 200);
        ASSERT_TRUE(tree.InitTree(&m_db, "Baum", filter));
        tree.Refresh();
    }

    static std::vector<QString> Titles(const QTreeWidgetItem* parent, const CNOXTreeCtrl& tree) {
        std::vector<QString> titles;
        const int n = parent ? parent->childCount() : tree.topLevelItemCount();
        for (int i = 0; i < n; ++i)
            titles.push_back(parent ? parent->child(i)->text(0) : tree.topLevelItem(i)->text(0));
        return titles;
    }

    CDatabase m_db;
    std::vector<std::string> m_queries;
};

void ClickAt(QWidget* viewport, QPoint pos) {
    QMouseEvent press(QEvent::MouseButtonPress, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
                      Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, pos, viewport->mapToGlobal(pos), Qt::LeftButton,
                        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &release);
}

}  // namespace

TEST_F(TreeFixture, LoadsALevelOnlyWhenItsNodeOpens) {
    CNOXTreeCtrl tree;
    Init(tree);
    // Top level in ID order, titles trimmed; only the top level was asked for.
    EXPECT_EQ(Titles(nullptr, tree), (std::vector<QString>{"Wurzel", "Europa", "Asien"}));
    EXPECT_EQ(LevelQueries(0), 1);
    EXPECT_EQ(LevelQueries(1), 0);

    // Europa waits with its placeholder; Asien has no children, so none.
    QTreeWidgetItem* europa = tree.topLevelItem(1);
    ASSERT_EQ(europa->childCount(), 1);
    EXPECT_EQ(europa->child(0)->text(0), "~");
    EXPECT_EQ(CNOXTreeCtrl::ItemID(europa->child(0)), -1);
    EXPECT_EQ(tree.topLevelItem(2)->childCount(), 0);

    // Opening (here with "+") loads exactly that level; closing and opening again loads
    // nothing.
    tree.setCurrentItem(europa);
    QKeyEvent plus(QEvent::KeyPress, Qt::Key_Plus, Qt::NoModifier, "+");
    QApplication::sendEvent(&tree, &plus);
    EXPECT_EQ(Titles(europa, tree), (std::vector<QString>{"Mitteleuropa", "Nordeuropa"}));
    EXPECT_EQ(LevelQueries(1), 1);
    EXPECT_EQ(LevelQueries(2), 0);
    europa->setExpanded(false);
    europa->setExpanded(true);
    EXPECT_EQ(LevelQueries(1), 1);
    EXPECT_EQ(europa->childCount(), 2);

    // A record that is its own parent gets no placeholder, though its ID occurs as a PID.
    EXPECT_EQ(tree.topLevelItem(0)->childCount(), 0);

    // Order and filter reach every level.
    CNOXTreeCtrl sorted;
    sorted.SetOrder("Title ASC");
    Init(sorted, "Typ=1");
    EXPECT_EQ(Titles(nullptr, sorted), (std::vector<QString>{"Asien", "Europa", "Wurzel"}));
    ASSERT_TRUE(sorted.SelectID(4));
    EXPECT_EQ(Titles(sorted.FindItem(3), sorted), (std::vector<QString>{"Schweiz"}));
}

TEST_F(TreeFixture, SelectIdOpensThePathAndStopsAtLoops) {
    CNOXTreeCtrl tree;
    Init(tree);
    std::vector<std::int32_t> changes;
    QObject::connect(&tree, &CNOXTreeCtrl::selChanged,
                     [&](std::int32_t id) { changes.push_back(id); });

    // Four levels deep: the three ancestor levels open on the way, nothing beside them.
    ASSERT_TRUE(tree.SelectID(4));
    EXPECT_EQ(tree.GetSelectedID(), 4);
    for (int id : {1, 2, 3}) {
        ASSERT_NE(tree.FindItem(id), nullptr) << id;
        EXPECT_TRUE(tree.FindItem(id)->isExpanded()) << id;
    }
    EXPECT_EQ(LevelQueries(1), 1);
    EXPECT_EQ(LevelQueries(2), 1);
    EXPECT_EQ(LevelQueries(3), 1);
    EXPECT_EQ(LevelQueries(11), 0);
    EXPECT_EQ(changes, (std::vector<std::int32_t>{4}));

    // Selecting the selected ID again changes nothing; a sibling needs no new level.
    EXPECT_TRUE(tree.SelectID(4));
    EXPECT_TRUE(tree.SelectID(5));
    EXPECT_EQ(LevelQueries(3), 1);
    EXPECT_EQ(tree.GetSelectedID(), 5);

    // An unknown ID, a record whose parent is missing and two records that are each
    // other's parent select nothing; nor does an ID below 1.
    for (int id : {999, 7, 8, 9, 0, -3}) {
        ASSERT_TRUE(tree.SelectID(5));
        EXPECT_FALSE(tree.SelectID(id)) << id;
        EXPECT_EQ(tree.GetSelectedID(), -1) << id;
    }

    // Filtered out of the tree: not found.
    CNOXTreeCtrl filtered;
    Init(filtered, "Typ=1");
    EXPECT_FALSE(filtered.SelectID(5));
    EXPECT_TRUE(filtered.SelectID(4));

    // With everything loaded, only the loaded items count.
    CNOXTreeCtrl loaded;
    Init(loaded);
    loaded.SetAllLoaded(true);
    EXPECT_FALSE(loaded.SelectID(4));
    EXPECT_TRUE(loaded.SelectID(6));
    loaded.Refresh();
    EXPECT_FALSE(loaded.AllLoaded());
    EXPECT_EQ(loaded.GetSelectedID(), 6);
}

TEST_F(TreeFixture, AChainOf64AncestorsSelectsNothing) {
    // Kette: 1 at the top, each next record the child of the one before.
    m_db.Execute("CREATE TABLE Kette (ID LONG PRIMARY KEY, PID LONG, Title TEXT)");
    m_db.Execute("BEGIN");
    for (int id = 1; id <= 70; ++id)
        m_db.Execute(SqlFormat("INSERT INTO Kette VALUES (%d, %d, 'Glied %d')", id, id - 1, id));
    m_db.Execute("COMMIT");
    CNOXTreeCtrl tree;
    ASSERT_TRUE(tree.InitTree(&m_db, "Kette", ""));
    tree.Refresh();

    // Record 64 has 63 ancestors, 65 has 64.
    EXPECT_TRUE(tree.SelectID(64));
    EXPECT_EQ(tree.GetSelectedID(), 64);
    EXPECT_FALSE(tree.SelectID(65));
    EXPECT_EQ(tree.GetSelectedID(), -1);
    EXPECT_FALSE(tree.SelectID(70));
}

TEST_F(TreeFixture, TicksByMouseAndKeyAndByList) {
    CNOXTreeCtrl tree;
    tree.SetCheckBitmaps(163, 164, 163, 164);
    Init(tree);
    tree.show();
    std::vector<std::pair<std::int32_t, bool>> changes;
    QObject::connect(&tree, &CNOXTreeCtrl::checkChanged,
                     [&](std::int32_t id, bool on) { changes.emplace_back(id, on); });

    // A click on the box of a leaf (Asien: level 0, box after the free node slot) ticks it; a
    // click on its text only selects it.
    QTreeWidgetItem* asien = tree.FindItem(6);
    const QRect row = tree.visualItemRect(asien);
    const CNOXTreeCtrl::ItemLayout leaf = tree.LayoutOf(asien);
    EXPECT_EQ(leaf.nodeX, -1);
    EXPECT_EQ(leaf.checkX, 20);
    ClickAt(tree.viewport(), QPoint(leaf.checkX + 8, row.center().y()));
    EXPECT_TRUE(tree.GetCheck(asien));
    ClickAt(tree.viewport(), QPoint(leaf.textX + 10, row.center().y()));
    EXPECT_TRUE(tree.GetCheck(asien));
    EXPECT_EQ(tree.GetSelectedID(), 6);

    // A click on a node's bitmap opens it without ticking; space ticks the current item.
    QTreeWidgetItem* europa = tree.FindItem(1);
    ClickAt(tree.viewport(), QPoint(5, tree.visualItemRect(europa).center().y()));
    EXPECT_TRUE(europa->isExpanded());
    EXPECT_FALSE(tree.GetCheck(europa));
    tree.setCurrentItem(europa);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&tree, &space);
    EXPECT_TRUE(tree.GetCheck(europa));
    EXPECT_EQ(changes, (std::vector<std::pair<std::int32_t, bool>>{{6, true}, {1, true}}));

    // Collected depth first in tree order: Europa, then (after its children) Asien.
    tree.SetCheck(tree.FindItem(11), true);
    EXPECT_EQ(tree.GetCheckedIDs(), (Ids{1, 11, 6}));

    // A given list replaces the ticks, opening the levels that hold its IDs; IDs the tree
    // cannot show are left out.
    tree.SetCheckedIDs({5, 999, 6, 2, 7});
    EXPECT_EQ(tree.GetCheckedIDs(), (Ids{2, 5, 6}));
    EXPECT_TRUE(tree.FindItem(3)->isExpanded());
    tree.UncheckAll();
    EXPECT_TRUE(tree.GetCheckedIDs().empty());
}

TEST_F(TreeFixture, FailuresAreReportedAndKeepWhatWasLoaded) {
    CNOXTreeCtrl tree;
    EXPECT_FALSE(tree.InitTree(nullptr, "Baum", ""));
    ASSERT_TRUE(tree.InitTree(&m_db, "Baum", ""));
    EXPECT_FALSE(tree.InitTree(&m_db, "Baum", ""));
    tree.Refresh();
    ASSERT_EQ(tree.topLevelItemCount(), 3);

    // The same tree pointed at a table that is not there.
    ASSERT_TRUE(tree.ReinitTree(&m_db, "Fehlt", ""));
    ResetDBErrors();
    tree.FindItem(1)->setExpanded(true);
    EXPECT_EQ(LastDBError().context, "CNOXTreeCtrl::Fill");
    EXPECT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_EQ(tree.FindItem(1)->childCount(), 0);

    EXPECT_FALSE(tree.SelectID(4));
    EXPECT_EQ(LastDBError().context, "CNOXTreeCtrl::SelectID");

    tree.Refresh();
    EXPECT_EQ(tree.topLevelItemCount(), 0);
    EXPECT_EQ(LastDBError().context, "CNOXTreeCtrl::Fill");
}

TEST_F(TreeFixture, DrawsRowsInItsColours) {
    const QColor text(255, 255, 255), back(94, 106, 134), hot(84, 95, 122), sel(20, 30, 40);
    CNOXTreeCtrl tree;
    tree.SetItemBitmaps(166, 160, 0);
    tree.SetCheckBitmaps(163, 164, 163, 164);
    tree.SetColours(text, text, text, back, hot, sel);
    Init(tree);
    tree.resize(240, 120);
    tree.show();
    ASSERT_TRUE(tree.SelectID(6));
    const QImage image = tree.viewport()->grab().toImage();

    // The bitmaps' transparent corners show the row beneath, in the row's colour.
    const QRect europa = tree.visualItemRect(tree.FindItem(1));
    EXPECT_EQ(image.pixelColor(0, europa.top()), back);
    EXPECT_EQ(image.pixelColor(2, europa.top()), back);
    EXPECT_EQ(image.pixelColor(3, europa.top() + 1), back);
    EXPECT_EQ(image.pixelColor(image.width() - 1, europa.top()), back);
    const QRect asien = tree.visualItemRect(tree.FindItem(6));
    EXPECT_EQ(image.pixelColor(0, asien.top()), sel);
    EXPECT_EQ(image.pixelColor(image.width() - 1, asien.bottom()), sel);
    EXPECT_EQ(asien.height(), 16);
    // Below the last row the view shows the background too.
    EXPECT_EQ(image.pixelColor(5, image.height() - 2), back);
}

// A tree of groups: a tick on a node goes to every leaf below it, loading the levels on the
// way; a node shows what its leaves are; only leaves are ticked IDs.
TEST_F(TreeFixture, TicksByGroups) {
    CNOXTreeCtrl tree;
    // The data-field tree's boxes.
    tree.SetCheckBitmaps(173, 170, 173, 170);
    tree.SetTickGroups(true);
    Init(tree);
    tree.show();

    // Europa is closed; its box ticks Benelux, Nordeuropa and the two Alpine countries.
    QTreeWidgetItem* europa = tree.FindItem(1);
    const CNOXTreeCtrl::ItemLayout node = tree.LayoutOf(europa);
    ClickAt(tree.viewport(), QPoint(node.checkX + 8, tree.visualItemRect(europa).center().y()));
    EXPECT_FALSE(europa->isExpanded());
    EXPECT_EQ(tree.CheckStateOf(europa), Qt::Checked);
    EXPECT_EQ(tree.GetCheckedIDs(), (Ids{4, 5, 10, 11}));

    // One country less: the groups above it are partly ticked, and drawn so.
    tree.SetCheck(tree.FindItem(5), false);
    EXPECT_EQ(tree.CheckStateOf(tree.FindItem(3)), Qt::PartiallyChecked);
    EXPECT_EQ(tree.CheckStateOf(europa), Qt::PartiallyChecked);
    EXPECT_FALSE(tree.GetCheck(europa));
    const QRect row = tree.visualItemRect(europa);
    const QImage image = tree.viewport()->grab().toImage();
    // The partly ticked box has a dark square where the empty box is light.
    const QColor centre = image.pixelColor(node.checkX + 10, row.center().y());
    const QRect asien = tree.visualItemRect(tree.FindItem(6));
    const QColor empty = image.pixelColor(node.checkX + 10, asien.center().y());
    EXPECT_LT(centre.lightness() + 80, empty.lightness())
        << centre.name().toStdString() << " " << empty.name().toStdString();

    // A partly ticked group ticks the rest; a ticked one unticks all.
    tree.setCurrentItem(europa);
    QKeyEvent space(QEvent::KeyPress, Qt::Key_Space, Qt::NoModifier, " ");
    QApplication::sendEvent(&tree, &space);
    EXPECT_EQ(tree.GetCheckedIDs(), (Ids{4, 5, 10, 11}));
    QApplication::sendEvent(&tree, &space);
    EXPECT_TRUE(tree.GetCheckedIDs().empty());

    // A list naming a group (as lists saved before did) ticks only the leaves it names.
    tree.SetCheckedIDs({2, 11});
    EXPECT_EQ(tree.GetCheckedIDs(), Ids{11});
    EXPECT_EQ(tree.CheckStateOf(tree.FindItem(2)), Qt::Unchecked);
}

// Rows are painted across the whole view; when the selection moves by key, both rows are
// repainted across it, or the old selection's colour stays beside the items.
TEST_F(TreeFixture, KeysRepaintTheWholeWidthOfTheRowsTheyChange) {
    CNOXTreeCtrl tree;
    Init(tree);
    tree.resize(400, 120);
    tree.show();
    tree.FindItem(1)->setExpanded(true);
    ASSERT_TRUE(tree.SelectID(2));
    QApplication::processEvents();

    struct Recorder : QObject {
        QRegion painted;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Paint) painted += static_cast<QPaintEvent*>(e)->region();
            return false;
        }
    } recorder;
    tree.viewport()->installEventFilter(&recorder);
    const QRect before = tree.visualItemRect(tree.FindItem(2));
    QKeyEvent down(QEvent::KeyPress, Qt::Key_Down, Qt::NoModifier);
    QApplication::sendEvent(&tree, &down);
    QApplication::processEvents();
    const QRect after = tree.visualItemRect(tree.currentItem());
    ASSERT_NE(before.top(), after.top());
    // The items end well left of the view's right edge.
    ASSERT_LT(before.right(), tree.viewport()->width() - 50);
    const int right = tree.viewport()->width() - 2;
    EXPECT_TRUE(recorder.painted.contains(QPoint(right, before.center().y())));
    EXPECT_TRUE(recorder.painted.contains(QPoint(right, after.center().y())));
}

TEST_F(TreeFixture, SelectedRowFramedInTheGivenColour) {
    const QColor back(94, 106, 134), sel(84, 95, 122), frame(255, 138, 14);
    CNOXTreeCtrl tree;
    tree.SetColours(Qt::white, Qt::white, Qt::white, back, sel, sel);
    tree.SetSelectionFrame(frame);
    Init(tree);
    tree.resize(240, 120);
    tree.show();
    ASSERT_TRUE(tree.SelectID(6));
    const QImage image = tree.viewport()->grab().toImage();
    const QRect asien = tree.visualItemRect(tree.FindItem(6));
    EXPECT_EQ(image.pixelColor(0, asien.center().y()), frame);
    EXPECT_EQ(image.pixelColor(image.width() - 1, asien.top()), frame);
    EXPECT_EQ(image.pixelColor(image.width() - 4, asien.center().y()), sel);
    const QRect europa = tree.visualItemRect(tree.FindItem(1));
    EXPECT_EQ(image.pixelColor(0, europa.center().y()), back);
}
