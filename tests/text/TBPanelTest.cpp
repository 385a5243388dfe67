// The six navigation panels on the search almanac, offscreen, with an article window that
// records what it is asked to show: trees and lists, opening the chosen entry, selecting the
// article shown (and its section), type-ahead, the person filters, and failures.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <memory>

#include "controls/TemplateDialog.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "fixtures/FixtureAlmanac.h"
#include "noxctrls/PushCtrl.h"
#include "text/NOXTreeCtrl.h"
#include "text/SearchAlmanac.h"
#include "text/TBPanelHost.h"
#include "text/TBPanels.h"
#include "viewers/ListWnd.h"

namespace {

using Strings = std::vector<std::string>;

class CFakeArticleWindow : public QWidget, public CTBPanelHost {
public:
    struct Shown {
        std::int32_t id;
        bool history;
        bool selectInPanel;
        Strings terms;
        std::string anchor;
        bool operator==(const Shown&) const = default;
    };
    std::vector<Shown> shown;

    void ShowArticle(std::int32_t id, bool history, bool selectInPanel, const Strings& terms,
                     const std::string& anchor) override {
        shown.push_back({id, history, selectInPanel, terms, anchor});
    }
};

class TBPanelTest : public testing::Test {
protected:
    TBPanelTest() {
        m_db.Open(CreateSearchAlmanac(MakeTestDirectory("tbpanels")), false, true, kAlmanacConnect);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        m_window.resize(1000, 700);
        m_window.show();
        ResetDBErrors();
    }

    template <class T>
    T* Panel(int type) {
        CTBPanel* panel = CreateTBPanel(type, &m_window, m_window, m_db);
        panel->show();
        return dynamic_cast<T*>(panel);
    }

    static Strings TopLevel(const CNOXTreeCtrl& tree) {
        Strings titles;
        for (int i = 0; i < tree.topLevelItemCount(); ++i)
            titles.push_back(tree.topLevelItem(i)->text(0).toStdString());
        return titles;
    }
    // The entries on screen (an item wholly above the top may wait there for the next step).
    static Strings Entries(const CListWnd& list) {
        Strings titles;
        for (int i = 0; i < list.ItemCount(); ++i) {
            if (list.Item(i)->geometry().intersects(list.rect()))
                titles.push_back(list.Item(i)->Text().toStdString());
        }
        return titles;
    }
    static std::int32_t FirstVisible(CNOXTreeCtrl& tree) {
        return CNOXTreeCtrl::ItemID(tree.itemAt(2, 2));
    }

    CDatabase m_db;
    CFakeArticleWindow m_window;
};

}  // namespace

TEST_F(TBPanelTest, TheFactoryMakesEachPanelInItsPlace) {
    const char* classes[]
        = {"", "CTBPanel1", "CTBPanel2", "CTBPanel3", "CTBPanel4", "CTBPanel5", "CTBPanel6"};
    const int templates[] = {0, 184, 183, 196, 198, 200, 268};
    for (int type = 1; type <= 6; ++type) {
        SCOPED_TRACE(type);
        std::unique_ptr<CTBPanel> panel(CreateTBPanel(type, &m_window, m_window, m_db));
        ASSERT_TRUE(panel);
        EXPECT_STREQ(panel->metaObject()->className(), classes[type]);
        EXPECT_EQ(panel->PanelType(), type);
        EXPECT_EQ(panel->TemplateId(), templates[type]);
        EXPECT_EQ(panel->parentWidget(), &m_window);
        EXPECT_EQ(panel->pos(), QPoint(4, 48));
        EXPECT_FALSE(panel->isVisible());
        EXPECT_TRUE(panel->TemplateErrors().isEmpty())
            << panel->TemplateErrors().join(' ').toStdString();
    }
    EXPECT_EQ(CreateTBPanel(0, &m_window, m_window, m_db), nullptr);
    EXPECT_EQ(CreateTBPanel(9, &m_window, m_window, m_db), nullptr);
    // Type-ahead in 1, 2, 3 and 5 only.
    EXPECT_NE(Panel<CTBTreePanel>(1)->SearchField(), nullptr);
    EXPECT_NE(Panel<CTBTreePanel>(3)->SearchField(), nullptr);
    EXPECT_EQ(Panel<CTBTreePanel>(4)->SearchField(), nullptr);
    EXPECT_EQ(Panel<CTBTreePanel>(6)->SearchField(), nullptr);
    EXPECT_NE(Panel<CTBListPanel>(2)->SearchField(), nullptr);
    EXPECT_NE(Panel<CTBListPanel>(5)->SearchField(), nullptr);
}

TEST_F(TBPanelTest, TreePanelsOpenTheChosenNodeAndSelectTheArticleShown) {
    auto* panel = Panel<CTBTreePanel>(1);
    CNOXTreeCtrl* tree = panel->Tree();
    EXPECT_EQ(TopLevel(*tree), (Strings{"Europa", "Afrika", "Asien", "Amerika"}));
    EXPECT_EQ(TopLevel(*Panel<CTBTreePanel>(3)->Tree()),
              (Strings{"Wirtschaft", "Vereinte Nationen"}));
    EXPECT_EQ(TopLevel(*Panel<CTBTreePanel>(4)->Tree()), (Strings{"Grafiken", "Religion"}));
    EXPECT_EQ(TopLevel(*Panel<CTBTreePanel>(6)->Tree()), (Strings{"Glossar", "Volltextsuche"}));
    // The panels' colours: rows in RGB(123, 123, 165).
    EXPECT_EQ(tree->viewport()->grab().toImage().pixelColor(tree->viewport()->width() - 2, 2),
              QColor(123, 123, 165));

    // The article window asks for the article four levels deep: the three levels above open,
    // and nothing is shown again.
    panel->SelectID(search_fixture::kMauerfall, "");
    EXPECT_EQ(tree->GetSelectedID(), 6);
    for (int id : {1, 2, 3}) EXPECT_TRUE(tree->FindItem(id)->isExpanded()) << id;
    // A section: the node of that anchor, compared without regard to case; wildcards in an
    // anchor match only themselves; an anchor without a node keeps the selection.
    panel->SelectID(search_fixture::kBerlin, "MAUER");
    EXPECT_EQ(tree->GetSelectedID(), 8);
    panel->SelectID(search_fixture::kBerlin, "");
    EXPECT_EQ(tree->GetSelectedID(), 7);
    panel->SelectID(search_fixture::kBerlin, "m*");
    EXPECT_EQ(tree->GetSelectedID(), 7);
    panel->SelectID(99999, "");
    EXPECT_EQ(tree->GetSelectedID(), 7);
    EXPECT_TRUE(m_window.shown.empty());

    // The user chooses nodes, by keyboard or with a click on the text: the article with the
    // node's anchor, with a history entry and without selecting it in the panel again. A group
    // node without article opens nothing.
    tree->setCurrentItem(tree->FindItem(3));
    tree->setCurrentItem(tree->FindItem(1));
    const QRect row = tree->visualItemRect(tree->FindItem(8));
    const QPoint text(tree->LayoutOf(tree->FindItem(8)).textX + 60, row.center().y());
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, text, tree->viewport()->mapToGlobal(text), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(tree->viewport(), &event);
    }
    EXPECT_EQ(tree->GetSelectedID(), 8);
    EXPECT_EQ(m_window.shown,
              (std::vector<CFakeArticleWindow::Shown>{{1001, true, false, {}, "geschichte"},
                                                      {2001, true, false, {}, "mauer"}}));
}

TEST_F(TBPanelTest, TypeAheadBringsTheFirstTopLevelMatchToTheTop) {
    for (int type : {1, 3}) {
        SCOPED_TRACE(type);
        auto* panel = Panel<CTBTreePanel>(type);
        // Room for one row, so that any item can become the first visible one.
        CNOXTreeCtrl* tree = panel->Tree();
        tree->resize(244, 20);
        const std::int32_t selected = tree->GetSelectedID();
        const std::int32_t first = FirstVisible(*tree);
        // Nothing matches: the tree stays as it is; quotes and wildcards are plain text.
        for (const char* typed : {"Xyz", "O'B", "*", "[a"}) {
            panel->SearchField()->setText(QString::fromUtf8(typed));
            EXPECT_EQ(FirstVisible(*tree), first) << typed;
            EXPECT_EQ(tree->GetSelectedID(), selected) << typed;
        }
        EXPECT_EQ(LastDBError().count, 0u) << LastDBError().context;
        const char* prefix = type == 1 ? "am" : "Ver";
        const std::int32_t match = type == 1 ? 10 : 3;
        panel->SearchField()->setText(QString::fromUtf8(prefix));
        EXPECT_EQ(FirstVisible(*tree), match);
        EXPECT_EQ(tree->GetSelectedID(), selected);
    }
    EXPECT_TRUE(m_window.shown.empty());
}

TEST_F(TBPanelTest, PersonPanelStartsWithAllAndFilters) {
    auto* panel = Panel<CTBPanel2>(2);
    CListWnd* list = panel->List();
    EXPECT_EQ(panel->Filter(), 3);
    EXPECT_EQ(Entries(*list), (Strings{"Adenauer, Konrad", "Brandt, Willy",
                                       "Goethe, Johann Wolfgang von", "Öl", "Zuse, Konrad"}));
    EXPECT_TRUE(panel->Controls().Push(CTBPanel2::kFilter1)->isEnabled());
    EXPECT_TRUE(panel->Controls().Push(CTBPanel2::kFilter2)->isEnabled());
    EXPECT_FALSE(panel->Controls().Push(CTBPanel2::kFilter3)->isEnabled());

    emit panel->Controls().Push(CTBPanel2::kFilter1)->command(CTBPanel2::kFilter1);
    QCoreApplication::processEvents();
    EXPECT_EQ(Entries(*list), (Strings{"Brandt, Willy", "Goethe, Johann Wolfgang von"}));
    EXPECT_FALSE(panel->Controls().Push(CTBPanel2::kFilter1)->isEnabled());
    EXPECT_TRUE(panel->Controls().Push(CTBPanel2::kFilter3)->isEnabled());
    panel->ApplyFilter(2);
    EXPECT_EQ(Entries(*list), (Strings{"Adenauer, Konrad", "Öl", "Zuse, Konrad"}));
    panel->ApplyFilter(3);

    // Type-ahead, in a list two entries high: the first title with the prefix comes to the
    // top (the last one as far up as the list allows); no match, or a quote, leaves the list.
    const int fullHeight = list->height();
    list->resize(list->width(), 2 * (list->Item(0)->height() + 1));
    panel->SearchField()->setText("go");
    EXPECT_EQ(Entries(*list), (Strings{"Goethe, Johann Wolfgang von", "Öl"}));
    panel->SearchField()->setText("zu");
    EXPECT_EQ(Entries(*list), (Strings{"Öl", "Zuse, Konrad"}));
    panel->SearchField()->setText("Q'x");
    EXPECT_EQ(Entries(*list), (Strings{"Öl", "Zuse, Konrad"}));
    EXPECT_EQ(LastDBError().count, 0u) << LastDBError().context;
    panel->SearchField()->setText("");
    EXPECT_EQ(list->Item(0)->Text(), "Adenauer, Konrad");
    list->resize(list->width(), fullHeight);
    ASSERT_EQ(list->ItemCount(), 5);

    // The article window's article is selected; the anchor does not matter.
    panel->SelectID(search_fixture::kBrandt, "irgendwo");
    EXPECT_EQ(list->GetSelection(), search_fixture::kBrandt);
    EXPECT_TRUE(m_window.shown.empty());

    // A click on an entry shows it with a history entry, nothing else.
    const QPoint at = list->Item(2)->geometry().center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, list->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(list, &event);
    }
    QCoreApplication::processEvents();
    EXPECT_EQ(m_window.shown,
              (std::vector<CFakeArticleWindow::Shown>{{1003, true, false, {}, ""}}));
}

TEST_F(TBPanelTest, GlossaryPanelListsTypeFive) {
    auto* panel = Panel<CTBListPanel>(5);
    EXPECT_EQ(Entries(*panel->List()), (Strings{"Chinesische Mauer", "Leerartikel",
                                                "Main-Donau-Kanal", "Ölkrise", "Romantik"}));
    CListWnd* list = panel->List();
    list->resize(list->width(), 2 * (list->Item(0)->height() + 1));
    panel->SearchField()->setText("main");
    EXPECT_EQ(Entries(*list), (Strings{"Main-Donau-Kanal", "Ölkrise"}));
    panel->SelectID(1006, "");
    EXPECT_EQ(panel->List()->GetSelection(), 1006);
}

TEST_F(TBPanelTest, FailuresAreReportedWithThePanelsContext) {
    CDatabase empty;
    const std::string dir = MakeTestDirectory("tbpanels-empty");
    empty.Create(dir + "/leer.mdb");
    std::unique_ptr<CTBPanel> panel(CreateTBPanel(3, &m_window, m_window, empty));
    auto* tree = dynamic_cast<CTBTreePanel*>(panel.get());
    ASSERT_TRUE(tree);
    ResetDBErrors();
    panel->SelectID(1, "");
    EXPECT_EQ(LastDBError().context, "CTBPanel3::Select");
    tree->SearchField()->setText("W");
    EXPECT_EQ(LastDBError().context, "CTBPanel3::OnChangeEdit");

    std::unique_ptr<CTBPanel> list(CreateTBPanel(5, &m_window, m_window, empty));
    EXPECT_EQ(LastDBError().context, "CListWnd::OnCreate");
    EXPECT_EQ(dynamic_cast<CTBListPanel*>(list.get())->List()->ItemCount(), 0);
}
