// The full-text search window on the search almanac, offscreen, with a host that records what
// it is asked to open: the operator buttons and their caret rules, searching with and without
// whole words, the count, opening hits of both kinds, help, closing, and the notices.

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>

#include "controls/TemplateDialog.h"
#include "data/Database.h"
#include "fixtures/FixtureAlmanac.h"
#include "noxctrls/PushCtrl.h"
#include "platform/TestFiles.h"
#include "text/Search.h"
#include "text/SearchAlmanac.h"
#include "text/SearchHost.h"
#include "viewers/ListWnd.h"

namespace {

using Strings = std::vector<std::string>;

class CRecordingHost : public CSearchHost {
public:
    struct Opened {
        std::string kind;  // "article" or "graph"
        std::int32_t id;
        std::string anchor;
        Strings terms;
        bool operator==(const Opened&) const = default;
    };
    std::vector<Opened> opened;

    void OpenSearchArticle(QWidget*, std::int32_t id, const std::string& anchor,
                           const Strings& terms) override {
        opened.push_back({"article", id, anchor, terms});
    }
    void OpenSearchGraph(QWidget*, std::int32_t id) override {
        opened.push_back({"graph", id, {}, {}});
    }
};

class SearchWindowTest : public testing::Test {
protected:
    SearchWindowTest() : m_messages("KOMPENDOR_MESSAGES", (m_dir / "boxes.txt").c_str()) {
        m_db.Open(CreateSearchAlmanac(m_dir.Path()), false, true, kAlmanacConnect);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        m_search = std::make_unique<CSearch>(nullptr, &m_db, &m_host);
        m_search->show();
        QCoreApplication::processEvents();
    }

    void Type(const QString& text, int caret = -1) {
        m_search->QueryField()->setText(text);
        m_search->QueryField()->setCursorPosition(caret < 0 ? text.size() : caret);
    }
    void Press(int id) {
        CPushCtrl* push = m_search->Controls().Push(id);
        ASSERT_NE(push, nullptr) << id;
        emit push->command(id);
        QCoreApplication::processEvents();
    }
    QString Field() const { return m_search->QueryField()->text(); }
    Strings Hits() const {
        Strings titles;
        const CListWnd* list = m_search->HitList();
        for (int i = 0; i < list->ItemCount(); ++i)
            titles.push_back(list->Item(i)->Text().toStdString());
        return titles;
    }
    // A click on the hit at index, as the user gives it.
    void Choose(int index) {
        CListWnd* list = m_search->HitList();
        const QPoint at = list->Item(index)->geometry().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, list->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(list, &event);
        }
        QCoreApplication::processEvents();
    }
    std::string Boxes() {
        std::string boxes = ReadFile(m_dir / "boxes.txt");
        std::filesystem::remove(m_dir / "boxes.txt");
        return boxes;
    }

    CTempDir m_dir;
    CScopedEnv m_messages;
    CDatabase m_db;
    CRecordingHost m_host;
    std::unique_ptr<CSearch> m_search;
};

}  // namespace

TEST_F(SearchWindowTest, OperatorButtonsFollowTheCaret) {
    // After a word at the end: a blank, then the operator; the caret behind it.
    Type("Berlin");
    Press(CSearch::kOpen);
    EXPECT_EQ(Field(), "Berlin (");
    EXPECT_EQ(m_search->QueryField()->cursorPosition(), 8);
    // The closing parenthesis wants no blank before it.
    Type("Berlin (Mauer");
    Press(CSearch::kCloseGroup);
    EXPECT_EQ(Field(), "Berlin (Mauer) ");
    // Directly after a word inside the text the operator does not stick to it.
    Type("Berlin Mauer", 6);
    Press(CSearch::kAnd);
    EXPECT_EQ(Field(), "Berlin UND  Mauer");
    EXPECT_EQ(m_search->QueryField()->cursorPosition(), 11);
    // After a blank: none added. At the start and in an empty field: none either.
    Type("Berlin Mauer", 7);
    Press(CSearch::kNot);
    EXPECT_EQ(Field(), "Berlin NICHT Mauer");
    Type("Berlin", 0);
    Press(CSearch::kOr);
    EXPECT_EQ(Field(), "ODER Berlin");
    Type("");
    Press(CSearch::kNot);
    EXPECT_EQ(Field(), "NICHT ");
    // A selection is replaced.
    Type("Berlin Mauer");
    m_search->QueryField()->setSelection(7, 5);
    Press(CSearch::kOr);
    EXPECT_EQ(Field(), "Berlin ODER ");
    EXPECT_TRUE(m_search->QueryField()->hasFocus() || !QApplication::activeWindow());
}

TEST_F(SearchWindowTest, SearchFillsTheHitListAndTheCount) {
    // Before the first search: no hits, no text saying so.
    EXPECT_EQ(m_search->HitList()->ItemCount(), 0);

    // An empty field finds nothing and says 0.
    Type("");
    Press(CSearch::kSearchButton);
    EXPECT_EQ(m_search->CountText(), "Gefundene Einträge: 0");
    EXPECT_TRUE(Hits().empty());

    // The cleaned query comes back into the field, caret at its end.
    Type("  Berlin   UND NICHT Mauer ");
    Press(CSearch::kSearchButton);
    EXPECT_EQ(Field(), "Berlin UND NICHT Mauer");
    EXPECT_EQ(m_search->QueryField()->cursorPosition(), Field().size());
    EXPECT_EQ(Hits(), (Strings{"Brandenburg"}));
    EXPECT_EQ(m_search->CountText(), "Gefundene Einträge: 1");
    EXPECT_TRUE(m_search->Index().IsBuilt());

    // Whole words on and off; Enter in the field searches as well. Whole words look inside
    // the text and at its start, so the Vatican's text, which ends with the word, is left out.
    m_search->SetWholeWords(true);
    Type("Rom");
    emit m_search->QueryField()->returnPressed();
    EXPECT_EQ(Hits(), (Strings{"Rom"}));
    m_search->SetWholeWords(false);
    Press(CSearch::kSearchButton);
    EXPECT_EQ(Hits(), (Strings{"Dromedar", "Rom", "Romantik", "Vatikan"}));
    EXPECT_EQ(m_search->CountText(), "Gefundene Einträge: 4");

    // The translation's notices reach the user.
    Boxes();
    Type("a*b Genf ODER UND Wien");
    Press(CSearch::kSearchButton);
    const std::string boxes = Boxes();
    EXPECT_NE(boxes.find("H I N W E I S\tDas Zeichen * ist ungültig und wurde entfernt!"),
              std::string::npos)
        << boxes;
    EXPECT_NE(boxes.find("H I N W E I S\tDas Suchergebnis wird nicht das gewünschte Ergebnis"),
              std::string::npos)
        << boxes;
    // What the database would have refused runs too.
    Type("UND ODER");
    Press(CSearch::kSearchButton);
    EXPECT_EQ(m_search->CountText(), "Gefundene Einträge: 0");
}

TEST_F(SearchWindowTest, HitsOpenThroughTheHost) {
    Type("Berlin Mauer");
    Press(CSearch::kSearchButton);
    ASSERT_EQ(Hits(), (Strings{"Berlin", "Brandt, Willy", "Mauerfall"}));
    // An article: the article window with the positive terms, no anchor.
    Choose(1);
    ASSERT_EQ(m_host.opened.size(), 1u);
    EXPECT_EQ(m_host.opened[0], (CRecordingHost::Opened{
                                    "article", search_fixture::kBrandt, "", {"BERLIN", "MAUER"}}));
    EXPECT_EQ(m_search->HitList()->GetSelection(), search_fixture::kBrandt);

    // A picture record goes to the graph viewer.
    Type("Bevölkerungspyramide");
    Press(CSearch::kSearchButton);
    ASSERT_EQ(Hits(), (Strings{"Bevölkerungspyramide"}));
    Choose(0);
    ASSERT_EQ(m_host.opened.size(), 2u);
    EXPECT_EQ(m_host.opened[1], (CRecordingHost::Opened{"graph", 1004, "", {}}));

    // Help: the help article at its section on the search.
    Press(CSearch::kHelp);
    ASSERT_EQ(m_host.opened.size(), 3u);
    EXPECT_EQ(m_host.opened[2], (CRecordingHost::Opened{"article", 200000, "volltextsuche", {}}));

    // Closing hides; the window and its last search stay.
    Press(CSearch::kClose);
    EXPECT_FALSE(m_search->isVisible());
    m_search->show();
    EXPECT_EQ(Hits(), (Strings{"Bevölkerungspyramide"}));
}
