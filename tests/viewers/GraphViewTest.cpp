// The graph gallery over picture records written here and a previews archive made by
// Info-ZIP: the four selections and their buttons, finding a title as the user types it,
// the previews (one that cannot be read among good ones), choosing an entry and its menu,
// and an archive that is missing or out of reach.

#include <gtest/gtest.h>

#include <QCursor>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QTest>
#include <fstream>
#include <vector>

#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "noxctrls/PushCtrl.h"
#include "viewers/GraphView.h"
#include "viewers/GraphViewHost.h"
#include "viewers/ListWnd.h"
#include "viewers/PictureMenu.h"
#include "viewers/ViewerTestSupport.h"

using namespace viewer_test;

namespace {

// Keeps what the gallery asks for.
class CHost : public CGraphViewHost {
public:
    std::vector<std::pair<char, std::int32_t>> calls;
    void OpenGraph(QWidget*, std::int32_t id) override { calls.emplace_back('o', id); }
    void PrintGraph(QWidget*, std::int32_t id) override { calls.emplace_back('p', id); }
    void ExportGraph(QWidget*, std::int32_t id) override { calls.emplace_back('e', id); }
};

// A gallery whose context menu answers with a fixed choice.
class CScriptedGallery : public CGraphView {
public:
    using CGraphView::CGraphView;
    int choice = 0;

protected:
    int TrackMenu(const QPoint&) override { return choice; }
};

// Lets events through until done() holds or about two seconds have passed; whether it holds.
template <class Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 200 && !done(); ++i) QTest::qWait(10);
    return done();
}

struct Record {
    int id;
    int subTyp;
    const char* title;
    const char* abbildung;
};

// Titles sorted as the list shows them.
const Record kRecords[] = {
    {1, 3, "Bevölkerung der zehn größten Länder", "bev.eps"},
    {2, 3, "bewässerte Fläche", "bew.gif"},
    {3, 4, "Côte d'Ivoire in Zahlen", "civ.gif"},
    {4, 2, "Erdöl: Förderung", "oel.gif"},
    {5, 3, "Export (Mio. US-$)", "export.gif"},
    {6, 4, "Kaputte Vorschau", "kaputt.gif"},
    {7, 4, "Falsches Kennwort", "kennwort.gif"},
    {8, 2, "Wälder der Erde", "wald.gif"},
    {9, 3, "Zuwachs 100% und mehr", "zuwachs.gif"},
    {10, 3, "Ohne Vorschau", "fehlt.gif"},
    {11, 3, "Ohne Dateinamen", "-"},
    {12, 2, "Zahl der Einwohner je Quadratkilometer Landfläche im Jahr 2017 nach Ländern", "-"},
};

class GraphViewTest : public testing::Test {
protected:
    void SetUp() override {
        m_db.Create(m_dir.Path() + "almanach.mdb");
        m_db.Execute(
            "CREATE TABLE HTML (ID LONG PRIMARY KEY, Typ BYTE, SubTyp BYTE, "
            "Title TEXT COLLATE GERMAN, Abbildung TEXT)");
        for (const Record& r : kRecords)
            m_db.Execute(SqlFormat("INSERT INTO HTML VALUES (%d, 9, %d, '%s', '%s')", r.id,
                                   r.subTyp, SqlQuote(r.title).c_str(), r.abbildung));
        // An article that is no picture.
        m_db.Execute("INSERT INTO HTML VALUES (100, 1, 0, 'Bevölkerung (Artikel)', '')");
        ResetDBErrors();
        // The pointer away from the lists, so that no entry is under it.
        QCursor::setPos(-1000, -1000);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
    }
    void TearDown() override { delete m_gallery; }

    // Previews 88 pixels wide, of heights 40 + id.
    std::map<std::string, std::string> Previews() const {
        std::map<std::string, std::string> files;
        for (const Record& r : kRecords) {
            std::string member = r.abbildung;
            if (member == "fehlt.gif" || member == "-" || member == "kennwort.gif") continue;
            if (member == "bev.eps") member = "bev.gif";
            files[member] = Encoded(Filled(88, 40 + r.id, QColor(200, 30, 30)), "BMP");
        }
        return files;
    }

    void MakePreviews() {
        ASSERT_TRUE(MakeArchive(m_dir.Path(), "Previews.nox", Previews()));
        // One member under another password, and one whose data is damaged.
        ASSERT_TRUE(MakeArchive(m_dir.Path(), "Previews.nox",
                                {{"kennwort.gif", Encoded(Filled(88, 47, Qt::blue), "BMP")}},
                                "AnderesKennwort"));
        Damage("kaputt.gif");
    }

    // Flips bytes in the middle of member's data.
    void Damage(const std::string& member) {
        CArchiveReader reader;
        reader.Open(m_dir.Path() + "Previews.nox");
        const CArchiveEntry entry = reader.GetEntry(reader.FindFile(member));
        reader.Close();
        std::fstream file(m_dir.Path() + "Previews.nox",
                          std::ios::in | std::ios::out | std::ios::binary);
        unsigned char local[30];
        file.seekg(std::streamoff(entry.localHeaderOffset));
        file.read(reinterpret_cast<char*>(local), sizeof local);
        const int nameLength = local[26] | local[27] << 8;
        const int extraLength = local[28] | local[29] << 8;
        const std::uint64_t at = entry.localHeaderOffset + 30 + nameLength + extraLength
                                 + entry.comprSize / 2 - 4;
        file.seekg(std::streamoff(at));
        char bytes[8];
        file.read(bytes, sizeof bytes);
        for (char& b : bytes) b = char(~b);
        file.seekp(std::streamoff(at));
        file.write(bytes, sizeof bytes);
    }

    CScriptedGallery* MakeGallery(CViewerEnv env = {}) {
        m_gallery = new CScriptedGallery(nullptr, &m_db, env, m_dir.Path(), &m_host);
        return m_gallery;
    }
    CScriptedGallery* Open() {
        CScriptedGallery* gallery = MakeGallery();
        EXPECT_TRUE(gallery->Open());
        gallery->show();
        return gallery;
    }

    // The titles of the entries on screen, top to bottom.
    static std::vector<QString> Titles(const CGraphView& gallery) {
        std::vector<QString> titles;
        for (int i = 0; i < gallery.List()->ItemCount(); ++i)
            titles.push_back(gallery.List()->Item(i)->Text());
        return titles;
    }
    static CGraphListItem* Entry(const CGraphView& gallery, long key) {
        for (int i = 0; i < gallery.List()->ItemCount(); ++i)
            if (gallery.List()->ItemKey(i) == key)
                return static_cast<CGraphListItem*>(gallery.List()->Item(i));
        return nullptr;
    }
    static bool Enabled(const CGraphView& gallery, int button) {
        const CPushCtrl* push = gallery.Controls().Push(button);
        return push && push->isEnabled();
    }

    CTempDir m_dir;
    CDatabase m_db;
    CHost m_host;
    QPointer<CScriptedGallery> m_gallery;
};

}  // namespace

// The gallery starts on every picture record by title with "Alle" disabled; each selection
// shows its kind and disables its own button only.
TEST_F(GraphViewTest, SelectionsAndTheirButtons) {
    MakePreviews();
    CGraphView* gallery = Open();
    EXPECT_EQ(gallery->Selection(), CGraphView::kAlle);
    EXPECT_EQ(gallery->List()->GetRecordCount(), 12);
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Bevölkerung der zehn größten Länder"));
    EXPECT_FALSE(Enabled(*gallery, CGraphView::kSelAlle));
    EXPECT_TRUE(Enabled(*gallery, CGraphView::kSelTabellen));
    EXPECT_TRUE(Enabled(*gallery, CGraphView::kSelGrafiken));
    EXPECT_TRUE(Enabled(*gallery, CGraphView::kSelThemenkarten));

    const struct {
        int button;
        int selection;
        long count;
        const char* first;
    } cases[] = {
        {CGraphView::kSelTabellen, CGraphView::kTabellen, 3, "Côte d'Ivoire in Zahlen"},
        {CGraphView::kSelGrafiken, CGraphView::kGrafiken, 6, "Bevölkerung der zehn größten Länder"},
        {CGraphView::kSelThemenkarten, CGraphView::kThemenkarten, 3, "Erdöl: Förderung"},
        {CGraphView::kSelAlle, CGraphView::kAlle, 12, "Bevölkerung der zehn größten Länder"},
    };
    for (const auto& c : cases) {
        emit gallery->Controls().Push(c.button)->command(c.button);
        EXPECT_EQ(gallery->Selection(), c.selection);
        EXPECT_EQ(gallery->List()->GetRecordCount(), c.count) << c.selection;
        ASSERT_FALSE(Titles(*gallery).empty());
        EXPECT_EQ(Titles(*gallery).front(), QString::fromUtf8(c.first));
        for (int b = CGraphView::kSelTabellen; b <= CGraphView::kSelAlle; ++b)
            EXPECT_EQ(Enabled(*gallery, b), b != c.button) << c.selection << " " << b;
    }
    EXPECT_EQ(LastDBError().count, 0u);
}

// Typing moves the list to the first title starting with the text, in any case; quotes and
// wildcards in the text are taken as they are; a text no title starts with leaves the list
// where it was and shows in red. A new selection looks the text up again.
TEST_F(GraphViewTest, TypeAhead) {
    MakePreviews();
    CGraphView* gallery = Open();
    // One or two entries on screen, so that moving shows at the top.
    gallery->List()->resize(gallery->List()->width(), 100);
    QLineEdit* field = gallery->SearchField();
    ASSERT_NE(field, nullptr);
    EXPECT_EQ(field->font().family(), QStringLiteral("MS Sans Serif"));
    const QColor normal = field->palette().color(QPalette::Text);

    QTest::keyClicks(field, QStringLiteral("BEW"));
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("bewässerte Fläche"));
    field->setText(QStringLiteral("WÄL"));
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Wälder der Erde"));
    field->setText(QStringLiteral("Côte d'"));
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Côte d'Ivoire in Zahlen"));
    EXPECT_EQ(field->palette().color(QPalette::Text), normal);

    // Wildcards are text: "E*" would find "Erdöl" as a pattern, but no title starts with it.
    field->setText(QStringLiteral("E"));
    const std::vector<QString> before = Titles(*gallery);
    EXPECT_EQ(before.front(), QStringLiteral("Erdöl: Förderung"));
    field->setText(QStringLiteral("E*"));
    EXPECT_EQ(Titles(*gallery), before);
    EXPECT_NE(field->palette().color(QPalette::Text), normal);
    field->setText(QStringLiteral("Ex"));
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Export (Mio. US-$)"));
    EXPECT_EQ(field->palette().color(QPalette::Text), normal);

    // Return opens what was found; the arrow keys scroll the list without leaving the field.
    QTest::keyClick(field, Qt::Key_Return);
    ASSERT_EQ(m_host.calls.size(), 1u);
    EXPECT_EQ(m_host.calls[0], std::make_pair('o', 5));
    const int top = gallery->List()->Item(0)->y();
    QTest::keyClick(field, Qt::Key_Down);
    EXPECT_LT(gallery->List()->Item(0)->y(), top);
    EXPECT_EQ(field->text(), QStringLiteral("Ex"));

    // A new selection looks the text up again: no table starts with "O", a graph does.
    field->setText(QStringLiteral("o"));
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Ohne Dateinamen"));
    gallery->Select(CGraphView::kTabellen);
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Côte d'Ivoire in Zahlen"));
    EXPECT_NE(field->palette().color(QPalette::Text), normal);
    gallery->Select(CGraphView::kGrafiken);
    EXPECT_EQ(Titles(*gallery).front(), QStringLiteral("Ohne Dateinamen"));
    EXPECT_EQ(field->palette().color(QPalette::Text), normal);
    EXPECT_EQ(LastDBError().count, 0u);
}

// Every entry with a preview in the archive shows it (".eps" read as ".gif") and is as high as
// it plus 16 pixels; a damaged member, one under another password, a missing one and a name
// of one character show the title alone, 32 pixels high (more for a long title), and the
// previews after them are read all the same. Each preview is read once however often its entry
// comes back.
TEST_F(GraphViewTest, PreviewsAndTheDamagedOne) {
    MakePreviews();
    CGraphView* gallery = Open();
    gallery->List()->resize(gallery->List()->width(), 1000);  // every entry on screen
    ASSERT_EQ(gallery->List()->ItemCount(), 12);
    const long withPreview[] = {1, 2, 3, 4, 5, 8, 9};
    for (long id : withPreview) {
        const CGraphListItem* entry = Entry(*gallery, id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_EQ(entry->Preview().Width(), 88) << id;
        EXPECT_EQ(entry->Preview().Height(), 40 + id) << id;
        EXPECT_EQ(entry->height(), 40 + id + 16) << id;
    }
    EXPECT_EQ(Entry(*gallery, 1)->Member(), "bev.gif");
    for (long id : {6L, 7L, 10L, 11L}) {
        const CGraphListItem* entry = Entry(*gallery, id);
        ASSERT_NE(entry, nullptr) << id;
        EXPECT_FALSE(entry->Preview().IsValid()) << id;
        EXPECT_EQ(entry->height(), 32) << id;
    }
    // A title longer than its entry's designed height gets the room it needs, and no more.
    const CGraphListItem* longTitle = Entry(*gallery, 12);
    ASSERT_NE(longTitle, nullptr);
    const int lines = (longTitle->height() - 9) / QFontMetrics(QFont("Arial", 10)).height();
    EXPECT_GE(lines, 2);
    EXPECT_GT(longTitle->height(), 32);
    EXPECT_EQ(Entry(*gallery, 11)->height(), 32);

    // The damaged entry (6) is read before "Ohne Vorschau" (10) and "Wälder" (8).
    EXPECT_TRUE(Entry(*gallery, 8)->Preview().IsValid());
    EXPECT_FALSE(gallery->PreviewArchive().IsFileOpen());

    // A preview is drawn centred in its column.
    QImage shot(gallery->List()->Item(0)->size(), QImage::Format_RGB32);
    gallery->List()->Item(0)->render(&shot);
    EXPECT_EQ(shot.pixelColor(46, shot.height() / 2), QColor(200, 30, 30));
    EXPECT_EQ(shot.pixelColor(1, shot.height() / 2), QColor(0x87, 0x95, 0xAF));

    const int read = gallery->PreviewsRead();
    EXPECT_EQ(read, 10);  // all but the one without a name
    for (int n = CGraphView::kTabellen; n <= CGraphView::kAlle; ++n) gallery->Select(n);
    EXPECT_EQ(gallery->PreviewsRead(), read);
}

// A click on an entry has the host open it; the context menu on an entry prints or exports
// its picture or closes the gallery, which then goes, as it does on Escape.
TEST_F(GraphViewTest, ChoosingAnEntryAndItsMenu) {
    MakePreviews();
    CScriptedGallery* gallery = Open();
    CListChoiceEvent chosen(CGraphView::kList, 3);
    QCoreApplication::sendEvent(gallery, &chosen);
    CListWnd* list = gallery->List();
    const QPoint inside = list->Item(1)->geometry().center();
    QTest::mouseClick(list, Qt::LeftButton, {}, inside);
    QCoreApplication::processEvents();
    const long second = list->ItemKey(1);
    EXPECT_EQ(list->GetSelection(), second);

    for (int choice : {int(kMenuPrint), int(kMenuExport), 0}) {
        gallery->choice = choice;
        QContextMenuEvent menu(QContextMenuEvent::Mouse, list->Item(2)->geometry().center(),
                               list->mapToGlobal(list->Item(2)->geometry().center()));
        QCoreApplication::sendEvent(list, &menu);
    }
    const long third = list->ItemKey(2);
    EXPECT_EQ(list->GetSelection(), third);
    const std::vector<std::pair<char, std::int32_t>> expected
        = {{'o', 3}, {'o', std::int32_t(second)}, {'p', std::int32_t(third)},
           {'e', std::int32_t(third)}};
    EXPECT_EQ(m_host.calls, expected);

    gallery->choice = kMenuClose;
    QContextMenuEvent menu(QContextMenuEvent::Mouse, list->Item(0)->geometry().center(),
                           list->mapToGlobal(list->Item(0)->geometry().center()));
    QCoreApplication::sendEvent(list, &menu);
    EXPECT_TRUE(WaitFor([&] { return m_gallery.isNull(); }));

    // Escape closes it as well.
    Open();
    QTest::keyClick(m_gallery->SearchField(), Qt::Key_Escape);
    EXPECT_TRUE(WaitFor([&] { return m_gallery.isNull(); }));
}

// Without "Previews.nox" the entries show their titles alone; with the disc not inserted the
// gallery closes at once.
TEST_F(GraphViewTest, ArchiveMissingOrOutOfReach) {
    CGraphView* gallery = Open();
    EXPECT_FALSE(gallery->PreviewArchive().IsOpen());
    ASSERT_GT(gallery->List()->ItemCount(), 0);
    EXPECT_FALSE(Entry(*gallery, 1)->Preview().IsValid());
    EXPECT_EQ(Entry(*gallery, 1)->height(), 32);
    delete m_gallery;

    // Not an archive at all.
    WriteFile(m_dir.Path() + "Previews.nox", "kein Archiv");
    gallery = Open();
    EXPECT_FALSE(gallery->PreviewArchive().IsOpen());
    EXPECT_EQ(gallery->List()->GetRecordCount(), 12);
    delete m_gallery;

    std::filesystem::remove(m_dir.Path() + "Previews.nox");
    MakePreviews();
    CViewerEnv away;
    std::vector<std::string> asked;
    away.reachable = [&](const std::string& path) {
        asked.push_back(path);
        return false;
    };
    gallery = MakeGallery(away);
    EXPECT_FALSE(gallery->Open());
    EXPECT_EQ(asked, std::vector<std::string>{m_dir.Path() + "Previews.nox"});
    EXPECT_TRUE(WaitFor([&] { return m_gallery.isNull(); }));
}
