// The main window on the fixture almanac, offscreen: layout and painting, workspaces and their
// files, the remembered workspace, the command bar's pictures, the profile operations and the
// owned windows. Message boxes are captured through KOMPENDOR_MESSAGES.
#include "mainwnd/MainWnd.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>
#include <QTimer>
#include <functional>
#include <memory>

#include "app/Settings.h"
#include "controls/BitmapResource.h"
#include "controls/FlatMenu.h"
#include "controls/ProgressWnd.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "fixtures/FixtureAlmanac.h"
#include "mainwnd/CommandBar.h"
#include "mainwnd/DeleteProfileDlg.h"
#include "mainwnd/IdArrayFile.h"
#include "mainwnd/ProfileMenu.h"
#include "mainwnd/SaveProfileDlg.h"
#include "mainwnd/Workspace.h"
#include "noxctrls/PushCtrl.h"
#include "platform/TestFiles.h"
#include "support/WaitUntil.h"
#include "table/SelectDatenDlg.h"
#include "table/SelectStaatDlg.h"
#include "table/SelectionDlg.h"
#include "table/TabConfigDlg.h"
#include "table/TableWnd.h"
#include "text/Search.h"

namespace {

const QColor kMargin(173, 186, 206);

// Runs action on the next modal dialog of type T once it is up and its opening timers ran;
// any other modal dialog that shows up is cancelled, so a test never hangs. The returned
// timer watches until it fires or is destroyed.
template <class T>
[[nodiscard]] std::unique_ptr<QTimer> WhenModal(std::function<void(T*)> action) {
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(10);
    QTimer* watch = timer.get();
    QObject::connect(watch, &QTimer::timeout, [watch, action] {
        QWidget* modal = QApplication::activeModalWidget();
        if (!modal) return;
        watch->stop();
        QPointer<QWidget> dialog = modal;
        QTimer::singleShot(40, [dialog, action] {
            if (!dialog) return;
            if (T* wanted = qobject_cast<T*>(dialog.data())) {
                action(wanted);
            } else if (auto* other = qobject_cast<QDialog*>(dialog.data())) {
                ADD_FAILURE() << "unexpected dialog " << other->objectName().toStdString();
                other->reject();
            }
        });
    });
    timer->start();
    return timer;
}

// Fails the test for any modal dialog while it lives.
[[nodiscard]] std::unique_ptr<QTimer> NoDialog() {
    return WhenModal<QDialog>([](QDialog* dialog) {
        ADD_FAILURE() << "dialog " << dialog->objectName().toStdString() << " opened";
        dialog->reject();
    });
}

// Clicks a template button the way the control does: its command signal.
void Press(CTemplateDialog* dialog, int id) {
    CPushCtrl* push = dialog->Controls().Push(id);
    ASSERT_NE(push, nullptr) << id;
    emit push->command(id);
}

QColor Pixel(const QImage& image, QPoint p) { return image.pixelColor(p); }

// A main window whose profile menu answers with a fixed choice.
class CScriptedMainWnd : public CMainWnd {
public:
    using CMainWnd::CMainWnd;
    int choice = 0;
    std::vector<std::string> offered;

protected:
    int TrackProfileMenu(const CProfileMenuModel& model, int, int) override {
        for (int id = 1; model.Entry(id); ++id) offered.push_back(model.Entry(id)->name);
        return choice;
    }
};

class MainWndTest : public testing::Test {
protected:
    MainWndTest()
        : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()),
          m_answers("KOMPENDOR_ANSWERS", nullptr),
          m_savePath("KOMPENDOR_SAVE_PATH", nullptr) {
        std::filesystem::create_directories(dir / "Daten");
        CreateFixtureAlmanac(dir / "Daten");
        WriteFile(dir / "NOX.INI",
                  "[Setup]\nApp=Almanach\n[Paths]\nUserData=user/\nPresets=Profile/\nIMG=Daten/\n");
        m_registry = std::make_unique<CRegistryFiles>("", dir / "registry.ini");
        m_settings = std::make_unique<CSettings>(dir.Path(), *m_registry);
        InstallSettings(m_settings.get());
        db.Open(dir / "Daten/Kompendor.mdb", false, true, kAlmanacConnect);
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        ResetDBErrors();
    }
    ~MainWndTest() override {
        wnd.reset();
        InstallSettings(nullptr);
    }

    void Create() { wnd = std::make_unique<CMainWnd>(&db); }
    // Lets both start-up timers run: shown maximised, remembered workspace reloaded.
    void Settle() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return !wnd->StartupPending(); }, 10000));
    }

    const std::string& User() const { return m_settings->userData; }
    std::string WorkspaceFile(unsigned n) const { return WorkspaceFilePath(User(), n); }

    // The boxes shown since the last call, one "caption<TAB>text" line each.
    std::string Boxes() {
        std::string boxes = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return boxes;
    }

    void WriteWorkspace(unsigned n, std::uint8_t kind, IdList countries, IdList ids) {
        CWorkspaceFile ws;
        ws.tableKind = kind;
        ws.countryIds = std::move(countries);
        ws.dataIds = std::move(ids);
        ASSERT_TRUE(WriteWorkspaceFile(WorkspaceFile(n), ws));
    }
    CWorkspaceFile ReadWorkspace(unsigned n) {
        CWorkspaceFile ws;
        EXPECT_EQ(ReadWorkspaceFile(WorkspaceFile(n), ws), WorkspaceRead::Ok);
        return ws;
    }

    CTempDir dir;
    CDatabase db;
    std::unique_ptr<CMainWnd> wnd;
    std::unique_ptr<CSettings> m_settings;

private:
    CScopedEnv m_messages;
    CScopedEnv m_answers;
    CScopedEnv m_savePath;
    std::unique_ptr<CRegistryFiles> m_registry;
};

}  // namespace

// The frame as start-up configures it, the command bar across the top, and the background
// picture centred in the client area with the margin colour around it, at any size.
TEST_F(MainWndTest, BackgroundCentredAtEverySize) {
    Create();
    EXPECT_EQ(wnd->windowTitle(), QStringLiteral("Varnholt Kompendor 2004"));
    EXPECT_EQ(wnd->minimumSize(), QSize(770, 400));
    Settle();
    EXPECT_TRUE(wnd->IsMaximized());
    wnd->ShowRestored();

    const QImage picture = LoadBitmapResource(135).toImage();
    ASSERT_FALSE(picture.isNull());
    for (QSize size : {QSize(1300, 900), QSize(1000, 760), QSize(800, 500)}) {
        SCOPED_TRACE(size.width());
        wnd->resize(size);
        const QRect client = wnd->ClientRect();
        const QRect bar = wnd->CommandBar()->geometry();
        EXPECT_EQ(bar, QRect(client.x(), client.y(), client.width(), 64));

        const QImage shot = wnd->grab().toImage();
        const QPoint origin(client.x() + (client.width() - picture.width()) / 2,
                            client.y() + (client.height() - picture.height()) / 2);
        for (QPoint p : {QPoint(480, 300), QPoint(300, 450), QPoint(700, 200)}) {
            const QPoint at = origin + p;
            if (client.contains(at) && !bar.contains(at)) {
                EXPECT_EQ(Pixel(shot, at), picture.pixelColor(p)) << at.x() << "," << at.y();
            }
        }
        if (origin.x() > client.x()) {
            EXPECT_EQ(Pixel(shot, QPoint(client.x() + 1, client.center().y())), kMargin);
            EXPECT_EQ(Pixel(shot, QPoint(client.right() - 1, client.center().y())), kMargin);
        }
        if (origin.y() > bar.bottom() + 1) {
            EXPECT_EQ(Pixel(shot, QPoint(client.center().x(), bar.bottom() + 2)), kMargin);
        }
        if (origin.y() + picture.height() <= client.bottom()) {
            EXPECT_EQ(Pixel(shot, QPoint(client.center().x(), client.bottom())), kMargin);
        }
    }
}

// The command bar at every width down to the smallest window: every button lies wholly in the
// bar, none on another, and the logo shows only where it meets no button.
TEST_F(MainWndTest, CommandBarFitsFromTheSmallestWindowUp) {
    Create();
    Settle();
    wnd->ShowRestored();
    const int ids[] = {1010, 1011, 1012, 1013, 1014, 1006, 1004, 1007, 1005, 1008, 1009};
    for (int width : {1600, 1250, 1240, 1100, 1000, 900, 820, 770}) {
        SCOPED_TRACE(width);
        wnd->resize(width, 500);
        auto* bar = static_cast<CCommandBar*>(wnd->CommandBar());
        QRect previous;
        int right = 0;
        for (int id : ids) {
            CPushCtrl* push = bar->Controls().Push(id);
            ASSERT_NE(push, nullptr);
            const QRect r = push->geometry();
            EXPECT_TRUE(bar->rect().contains(r)) << id;
            EXPECT_FALSE(r.intersects(previous)) << id;
            previous = r;
            right = r.right();
        }
        const bool compact = bar->IsCompact();
        const int w = bar->width();
        EXPECT_EQ(compact, w < 988 + CCommandBar::kMargin);
        // Compact buttons are squares that name themselves in their tooltip.
        CPushCtrl* laender = bar->Controls().Push(1006);
        EXPECT_EQ(laender->width(), compact ? 44 : 116);
        EXPECT_EQ(laender->ToolTipText(), compact ? QStringLiteral("Länder") : QString());
        QWidget* logo = bar->Controls().Control(1001);
        ASSERT_NE(logo, nullptr);
        if (logo->isVisible()) {
            EXPECT_GT(logo->x(), right + 1);
        }
        EXPECT_EQ(logo->isVisible(),
                  w - 236 >= (compact ? 272 + 6 * 44 + 5 * 4 : 988) + CCommandBar::kMargin);
    }
    // The compact pictures are the skin's, painted with the others.
    for (const char* name : {"Chroniken_s_n", "Organisationen_s_h", "Help_s_c"}) {
        EXPECT_TRUE(QFileInfo::exists(
            QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/Top/%1.bmp").arg(name)))
            << name;
    }
    // Wide again: the full buttons.
    wnd->resize(1600, 500);
    EXPECT_EQ(wnd->CommandBar()->Controls().Push(1006)->width(), 116);
}

// With a table: the table window 12 pixels inside the area below the bar, framed by the
// corner pictures and the stretched edge pictures; the workspace file is written.
TEST_F(MainWndTest, TableWithItsFrame) {
    Create();
    Settle();
    wnd->ShowRestored();
    wnd->resize(1100, 800);
    wnd->ShowTable(1, 1, {fixture::kDeutschland, fixture::kOesterreich},
                   {fixture::kEinwohner, fixture::kBip});
    CTableWnd* table = wnd->TableWindow();
    ASSERT_NE(table, nullptr);
    EXPECT_EQ(wnd->CurrentWorkspace(), 1u);

    const QRect client = wnd->ClientRect();
    const QRect area = client.adjusted(0, wnd->CommandBar()->height(), 0, 0);
    EXPECT_EQ(table->geometry(), area.adjusted(12, 12, -12, -12));

    const QImage shot = wnd->grab().toImage();
    struct Corner {
        int id;
        QPoint at;      // window position of the picture's top-left
        QPoint inside;  // a point of the picture
    };
    for (const Corner& c : {Corner{151, area.topLeft(), {3, 3}},
                            Corner{154, QPoint(area.right() - 11, area.top()), {8, 3}},
                            Corner{150, QPoint(area.left(), area.bottom() - 11), {3, 8}},
                            Corner{153, QPoint(area.right() - 11, area.bottom() - 11), {8, 8}}}) {
        const QImage corner = LoadBitmapResource(c.id).toImage();
        EXPECT_EQ(Pixel(shot, c.at + c.inside), corner.pixelColor(c.inside)) << c.id;
    }
    // Edges: the same picture row (or column) all along, however far it is stretched.
    const QImage top = LoadBitmapResource(155).toImage();
    const QImage left = LoadBitmapResource(149).toImage();
    for (int x : {area.left() + 20, area.center().x(), area.right() - 20})
        EXPECT_EQ(Pixel(shot, QPoint(x, area.top() + 6)), top.pixelColor(8, 6)) << x;
    for (int y : {area.top() + 20, area.center().y(), area.bottom() - 20})
        EXPECT_EQ(Pixel(shot, QPoint(area.left() + 6, y)), left.pixelColor(6, 8)) << y;

    // Resizing keeps the table in its place.
    wnd->resize(900, 700);
    EXPECT_EQ(table->geometry(), wnd->TableRect());
    EXPECT_EQ(wnd->TableRect().width(), wnd->ClientRect().width() - 24);

    const CWorkspaceFile saved = ReadWorkspace(1);
    EXPECT_EQ(saved.tableKind, 1);
    EXPECT_EQ(saved.countryIds, (IdList{276, 40}));
    EXPECT_EQ(saved.dataIds, (IdList{101, 201}));
}

// Leaving the program remembers the workspace in use; the next start reloads it after its
// timer. A window closed before that timer keeps remembering it and leaves its file alone.
TEST_F(MainWndTest, RememberedWorkspaceReloadsAtStart) {
    Create();
    Settle();
    wnd->ShowTable(2, 3, {fixture::kAegypten, fixture::kDeutschland}, {fixture::kEinwohner});
    // Remembered as soon as it is in use, so a killed program reopens it too.
    std::uint8_t number = 0;
    ASSERT_TRUE(m_settings->ReadBinaryValue("Workspace", &number, 1));
    EXPECT_EQ(number, 3);
    wnd.reset();
    number = 0;
    ASSERT_TRUE(m_settings->ReadBinaryValue("Workspace", &number, 1));
    EXPECT_EQ(number, 3);

    const std::string before = ReadFile(WorkspaceFile(3));
    Create();
    wnd.reset();
    EXPECT_EQ(ReadFile(WorkspaceFile(3)), before);
    ASSERT_TRUE(m_settings->ReadBinaryValue("Workspace", &number, 1));
    EXPECT_EQ(number, 3);

    Create();
    EXPECT_EQ(wnd->CurrentWorkspace(), 0u);
    EXPECT_TRUE(WaitUntil([&] { return wnd->CurrentWorkspace() == 3u; }));
    ASSERT_NE(wnd->TableWindow(), nullptr);
    EXPECT_EQ(wnd->TableKind(), 2u);
    EXPECT_EQ(wnd->CountryIds(), (IdList{818, 276}));
    EXPECT_EQ(Boxes(), "");

    // A number no button has is forgotten rather than configured.
    wnd.reset();
    const std::uint8_t bogus = 9;
    m_settings->WriteBinaryValue("Workspace", &bogus, 1);
    auto noDialog = NoDialog();
    Create();
    Settle();
    EXPECT_EQ(wnd->CurrentWorkspace(), 0u);
    EXPECT_EQ(wnd->TableWindow(), nullptr);
}

// Every kind of unusable workspace file: an older version and empty lists give their hint and
// a new configuration; a damaged file the load error, and the workspace in use stays as it
// is, so leaving the program writes its own content back, not the damaged file's.
TEST_F(MainWndTest, UnusableWorkspaceFiles) {
    Create();
    Settle();
    wnd->ShowTable(1, 1, {fixture::kDeutschland}, {fixture::kEinwohner});
    Boxes();

    WriteFile(WorkspaceFile(2), std::string("\x06ZYB090\x02", 8));
    WriteWorkspace(3, 1, {}, {fixture::kEinwohner});
    WriteWorkspace(4, 1, {fixture::kDeutschland}, {});
    struct Case {
        unsigned number;
        std::string box;
    };
    for (const Case& c :
         {Case{2,
               "H I N W E I S\tDer zu ladende Arbeitsbereich entspricht nicht der aktuellen "
               "Programmversion!\\nDieser Arbeitsbereich wird nun neu erstellt...\n"},
          Case{3,
               "H I N W E I S\tDer zu ladende Arbeitsbereich ist ungültig!\\nDieser "
               "Arbeitsbereich wird nun neu erstellt...\n"},
          Case{4,
               "H I N W E I S\tDer zu ladende Arbeitsbereich ist ungültig!\\nDieser "
               "Arbeitsbereich wird nun neu erstellt...\n"}}) {
        SCOPED_TRACE(c.number);
        bool configured = false;
        IdList ticked{99};
        auto responder = WhenModal<CTabConfigDlg>([&](CTabConfigDlg* dlg) {
            configured = true;
            ticked = CheckedIds(*dlg->CountryTree());
            dlg->reject();
        });
        wnd->LoadTable(c.number);
        EXPECT_TRUE(configured);
        EXPECT_EQ(ticked, IdList{});  // a new configuration starts empty
        EXPECT_EQ(Boxes(), c.box);
        EXPECT_EQ(wnd->CurrentWorkspace(), 1u);
    }

    // Counts beyond the file's end.
    WriteFile(WorkspaceFile(5), std::string("\x06ZYB100\x01\0\0\0\0\xFF\xFF\xFF\xFF\xFF\x7F", 18));
    auto noDialog = NoDialog();
    wnd->LoadTable(5);
    EXPECT_EQ(Boxes(),
              "F E H L E R\tFehler beim Laden des Arbeitsbereichs.\\n\\nLadevorgang wurde "
              "abgebrochen\n");
    EXPECT_EQ(LastDBError().context, "CMainWnd::LoadTable");
    EXPECT_EQ(wnd->CurrentWorkspace(), 1u);
    EXPECT_EQ(wnd->TableKind(), 1u);
    EXPECT_EQ(wnd->CountryIds(), IdList{fixture::kDeutschland});
    wnd.reset();
    EXPECT_EQ(ReadWorkspace(1).countryIds, IdList{fixture::kDeutschland});
}

// The workspace in use opens the configuration on its own lists instead of reading its file;
// the configuration's result becomes a new workspace; the bar shows every state.
TEST_F(MainWndTest, ConfigurationAndButtonStates) {
    Create();
    Settle();
    wnd->ShowTable(1, 1, {fixture::kDeutschland, fixture::kOesterreich}, {fixture::kEinwohner});
    wnd->OpenCountrySelection();
    wnd->OpenDataSelection();
    WriteFile(WorkspaceFile(1), "overwritten");

    IdList countries, ids;
    bool selectionWindowsGone = false;
    auto responder = WhenModal<CTabConfigDlg>([&](CTabConfigDlg* dlg) {
        countries = CheckedIds(*dlg->CountryTree());
        ids = CheckedIds(*dlg->DataTree());
        selectionWindowsGone = !wnd->SelectStaatWindow() && !wnd->SelectDatenWindow();
        dlg->reject();
    });
    wnd->LoadTable(1);
    EXPECT_EQ(countries, (IdList{fixture::kDeutschland, fixture::kOesterreich}));
    EXPECT_EQ(ids, IdList{fixture::kEinwohner});
    EXPECT_TRUE(selectionWindowsGone);
    EXPECT_EQ(ReadFile(WorkspaceFile(1)), "overwritten");  // not read, not written

    WriteWorkspace(4, 1, {fixture::kDeutschland}, {fixture::kBip});
    responder = WhenModal<CTabConfigDlg>([&](CTabConfigDlg* dlg) {
        CheckIds(*dlg->CountryTree(), {fixture::kAegypten, fixture::kDaenemark});
        CheckIds(*dlg->DataTree(), {fixture::kEinwohner});
        Press(dlg, 1005);
    });
    wnd->LoadTable(2);
    EXPECT_EQ(wnd->CurrentWorkspace(), 2u);
    EXPECT_EQ(wnd->TableKind(), 2u);
    const CWorkspaceFile saved = ReadWorkspace(2);
    EXPECT_EQ(saved.tableKind, 2);
    EXPECT_EQ(saved.dataIds, IdList{fixture::kEinwohner});
    EXPECT_EQ(saved.countryIds.size(), 2u);
    // Leaving workspace 1 saved it.
    EXPECT_EQ(ReadWorkspace(1).countryIds, (IdList{fixture::kDeutschland, fixture::kOesterreich}));

    const QString skin = CTemplateDialog::UiDirectory() + QStringLiteral("Top/");
    const char* expected[] = {"12", "23", "31", "42", "51"};
    for (int i = 0; i < 5; ++i) {
        CPushCtrl* button = wnd->CommandBar()->Controls().Push(1010 + i);
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->BitmapBase(), QString::fromLatin1(expected[i])) << i;
        const QImage picture(skin + button->BitmapBase() + QStringLiteral("_n.bmp"));
        ASSERT_FALSE(picture.isNull());
        const QPoint middle(picture.width() / 2, picture.height() / 2);
        EXPECT_EQ(button->grab().toImage().pixelColor(middle), picture.pixelColor(middle)) << i;
    }

    // Another workspace with the very same table still becomes the workspace in use.
    WriteWorkspace(5, 2, wnd->CountryIds(), wnd->DataIds());
    wnd->LoadTable(5);
    EXPECT_EQ(wnd->CurrentWorkspace(), 5u);
    EXPECT_EQ(wnd->CommandBar()->Controls().Push(1014)->BitmapBase(), QStringLiteral("53"));
}

// Closing the table deletes the file of the workspace in use and forgets both lists; a failed
// fill closes it without deleting. Owned windows clear their pointers when they go away and
// are reused while they exist.
TEST_F(MainWndTest, OwnedWindowsAndClosingTheTable) {
    Create();
    Settle();
    // Requests that arrive while the table fills (its progress window lets events through)
    // wait for no one: they are dropped, and the fill finishes undisturbed.
    bool duringFill = false;
    QTimer::singleShot(0, [&] {
        duringFill = wnd->TableWindow() && wnd->TableWindow()->IsFilling();
        wnd->LoadTable(3);
        wnd->CloseTable();
        wnd->ApplySelection({fixture::kOesterreich}, {});
    });
    wnd->ShowTable(1, 2, {fixture::kDeutschland, fixture::kAegypten}, {fixture::kBip});
    EXPECT_TRUE(duringFill);
    ASSERT_NE(wnd->TableWindow(), nullptr);
    EXPECT_EQ(wnd->CurrentWorkspace(), 2u);
    EXPECT_EQ(wnd->CountryIds(), (IdList{fixture::kDeutschland, fixture::kAegypten}));

    wnd->OpenCountrySelection();
    CSelectStaatDlg* countries = wnd->SelectStaatWindow();
    ASSERT_NE(countries, nullptr);
    EXPECT_TRUE(countries->isVisible());
    EXPECT_EQ(CheckedIds(*countries->Tree()), (IdList{fixture::kAegypten, fixture::kDeutschland}));
    countries->hide();
    wnd->OpenCountrySelection();
    EXPECT_EQ(wnd->SelectStaatWindow(), countries);
    EXPECT_TRUE(countries->isVisible());
    delete countries;
    EXPECT_EQ(wnd->SelectStaatWindow(), nullptr);

    wnd->OpenDataSelection();
    CSelectDatenDlg* fields = wnd->SelectDatenWindow();
    ASSERT_NE(fields, nullptr);
    EXPECT_EQ(CheckedIds(*fields->Tree()), IdList{fixture::kBip});

    // Apply from a selection window: only the given list changes.
    wnd->ApplySelection({fixture::kOesterreich}, {});
    EXPECT_EQ(wnd->CountryIds(), IdList{fixture::kOesterreich});
    EXPECT_EQ(wnd->DataIds(), IdList{fixture::kBip});
    EXPECT_EQ(ReadWorkspace(2).countryIds, IdList{fixture::kOesterreich});

    wnd->CloseTable();
    EXPECT_EQ(wnd->TableWindow(), nullptr);
    EXPECT_FALSE(std::filesystem::exists(WorkspaceFile(2)));
    EXPECT_EQ(wnd->CurrentWorkspace(), 0u);
    EXPECT_TRUE(wnd->CountryIds().empty());
    EXPECT_TRUE(wnd->DataIds().empty());
    ASSERT_NE(wnd->SelectDatenWindow(), nullptr);
    EXPECT_FALSE(wnd->SelectDatenWindow()->isVisible());
    EXPECT_EQ(wnd->CommandBar()->Controls().Push(1011)->BitmapBase(), QStringLiteral("21"));

    // Without a table a selection changes nothing.
    wnd->ApplySelection({fixture::kOesterreich}, {fixture::kBip});
    EXPECT_EQ(wnd->TableWindow(), nullptr);

    // A table window that goes away by itself leaves no dangling pointer.
    wnd->ShowTable(1, 4, {fixture::kDeutschland}, {fixture::kBip});
    ASSERT_NE(wnd->TableWindow(), nullptr);
    delete wnd->TableWindow();
    EXPECT_EQ(wnd->TableWindow(), nullptr);
    wnd->grab();
}

// A fill the user cancels: the table goes, the workspace file stays as it was, and the user is
// told that the table was not completed.
TEST_F(MainWndTest, CancelledFillClosesTheTableAndSaysSo) {
    Create();
    Settle();
    wnd->ShowTable(1, 2, {fixture::kDeutschland, fixture::kAegypten}, {fixture::kBip});
    ASSERT_NE(wnd->TableWindow(), nullptr);
    EXPECT_EQ(Boxes(), "");

    bool pressed = false;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CTemplateDialog*>(w);
            if (dialog && dialog->TemplateId() == 167 && dialog->isVisible()) {
                Press(dialog, CProgressWnd::kCancelId);
                pressed = true;
            }
        }
    });
    wnd->ShowTable(2, 2, {fixture::kOesterreich, fixture::kDeutschland}, {fixture::kBip});
    ASSERT_TRUE(pressed);
    EXPECT_EQ(wnd->TableWindow(), nullptr);
    EXPECT_EQ(wnd->CurrentWorkspace(), 0u);
    EXPECT_EQ(ReadWorkspace(2).countryIds, (IdList{fixture::kDeutschland, fixture::kAegypten}));
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tDer Aufbau der Tabelle wurde abgebrochen!\\nDie Tabelle ist nicht "
              "vollständig und wird daher geschlossen.\n");
}

// Profile names that would leave the user-data folder, empty input, an existing profile kept
// on No, replaced on Yes, and a write that fails.
TEST_F(MainWndTest, SavingProfiles) {
    Create();
    const QString clt = QStringLiteral("clt");
    for (const char* bad : {"../außerhalb", "a/b", "a\\b", ".versteckt", ".."}) {
        EXPECT_FALSE(wnd->SaveProfile(QString::fromUtf8(bad), clt, {276})) << bad;
        EXPECT_EQ(Boxes(),
                  "H I N W E I S\tDer Profilname darf keinen Schrägstrich enthalten und nicht mit "
                  "einem Punkt beginnen.\n")
            << bad;
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "außerhalb.clt"));
    EXPECT_FALSE(wnd->SaveProfile(QStringLiteral("Leer"), clt, {}));
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tWählen Sie bitte zunächst die Daten aus, die Sie in einem Profil "
              "speichern möchten...\n");
    EXPECT_FALSE(wnd->SaveProfile(QString(), clt, {276}));
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tBitte geben Sie zunächst den Namen des zu speichernden Profiles "
              "an...\n");

    ASSERT_TRUE(wnd->SaveProfile(QStringLiteral("Nachbarn"), clt, {276, 40}));
    EXPECT_EQ(Boxes(), "");
    {
        CScopedEnv no("KOMPENDOR_ANSWERS", "no");
        EXPECT_FALSE(wnd->SaveProfile(QStringLiteral("Nachbarn"), clt, {818}));
    }
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tEin Profil mit dem Namen Nachbarn ist bereits vorhanden!\\n\\n"
              "Möchten Sie dieses überschreiben?\n");
    IdList ids;
    ASSERT_TRUE(ReadIdArrayFile(User() + "Nachbarn.clt", ids));
    EXPECT_EQ(ids, (IdList{276, 40}));
    {
        CScopedEnv yes("KOMPENDOR_ANSWERS", "yes");
        EXPECT_TRUE(wnd->SaveProfile(QStringLiteral("Nachbarn"), clt, {818}));
    }
    Boxes();
    ASSERT_TRUE(wnd->LoadCObject(User() + "Nachbarn.clt", ids));
    EXPECT_EQ(ids, IdList{818});

    std::filesystem::create_directories(User() + "Ordner.vlt");
    EXPECT_FALSE(wnd->SaveProfile(QStringLiteral("Ordner"), QStringLiteral("vlt"), {101}));
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tEin Profil mit dem Namen Ordner ist bereits vorhanden!\\n\\n"
              "Möchten Sie dieses überschreiben?\n"
              "F E H L E R\tBeim speichern des Profils ist ein Fehler aufgetreten!\n");
    EXPECT_EQ(LastDBError().context, "NOXUtils::SaveCObject");

    // Through the name prompt: blanks around the name go; Cancel stores nothing.
    auto responder = WhenModal<CSaveProfileDlg>([](CSaveProfileDlg* dlg) {
        dlg->NameEdit()->setText(QStringLiteral("  Europa  "));
        Press(dlg, CSaveProfileDlg::kOkId);
    });
    wnd->SaveProfileAsk("clt", {276});
    EXPECT_TRUE(std::filesystem::exists(User() + "Europa.clt"));
    responder = WhenModal<CSaveProfileDlg>([](CSaveProfileDlg* dlg) {
        dlg->NameEdit()->setText(QStringLiteral("Verworfen"));
        Press(dlg, CSaveProfileDlg::kCancelId);
    });
    wnd->SaveProfileAsk("clt", {276});
    EXPECT_FALSE(std::filesystem::exists(User() + "Verworfen.clt"));
}

// The delete dialog lists the user's profiles of one kind, enables its button only with a
// selection, deletes at once and fills the list again.
TEST_F(MainWndTest, DeletingProfiles) {
    Create();
    for (const char* name : {"Ost.clt", "Alle.clt", "Zahlen.vlt"})
        ASSERT_TRUE(WriteIdArrayFile(User() + name, {1}));

    QStringList listed, after;
    bool enabledBefore = true, enabledSelected = false, enabledAfter = true;
    auto responder = WhenModal<CDeleteProfileDlg>([&](CDeleteProfileDlg* dlg) {
        QListWidget* list = dlg->List();
        for (int i = 0; i < list->count(); ++i) listed << list->item(i)->text();
        CPushCtrl* remove = dlg->Controls().Push(CDeleteProfileDlg::kDeleteId);
        enabledBefore = remove->isEnabled();
        list->setCurrentRow(1);
        enabledSelected = remove->isEnabled();
        Press(dlg, CDeleteProfileDlg::kDeleteId);
        for (int i = 0; i < list->count(); ++i) after << list->item(i)->text();
        enabledAfter = remove->isEnabled();
        Press(dlg, CDeleteProfileDlg::kCloseId);
    });
    wnd->DeleteProfile("clt");
    EXPECT_EQ(listed, (QStringList{"Alle", "Ost"}));
    EXPECT_FALSE(enabledBefore);
    EXPECT_TRUE(enabledSelected);
    EXPECT_EQ(after, QStringList{"Alle"});
    EXPECT_FALSE(enabledAfter);
    EXPECT_FALSE(std::filesystem::exists(User() + "Ost.clt"));
    EXPECT_TRUE(std::filesystem::exists(User() + "Zahlen.vlt"));
}

// The profile menu: presets (with a sub-folder) before a separator, then the user's own; with
// no preset folder for the kind only the user's own, without separator. Choosing an item
// gives its name and path.
TEST_F(MainWndTest, ProfileMenu) {
    const std::string presets = m_settings->presets;
    ASSERT_TRUE(WriteIdArrayFile(User() + "Eigene.clt", {1}));
    ASSERT_TRUE(WriteIdArrayFile(User() + "Felder.vlt", {2}));
    WriteFile(presets + "clt/G7.clt", "");
    WriteFile(presets + "clt/Kontinente/Afrika.clt", "");

    auto scripted = std::make_unique<CScriptedMainWnd>(&db);
    std::string name, path;
    scripted->choice = 3;
    ASSERT_TRUE(scripted->ProfileMenu("clt", 10, 10, name, path));
    EXPECT_EQ(scripted->offered, (std::vector<std::string>{"Afrika", "G7", "Eigene"}));
    EXPECT_EQ(name, "Eigene");
    EXPECT_EQ(path, User() + "Eigene.clt");
    scripted->choice = 0;
    EXPECT_FALSE(scripted->ProfileMenu("clt", 10, 10, name, path));
    scripted.reset();

    for (const char* extension : {"clt", "vlt"}) {
        SCOPED_TRACE(extension);
        const CProfileMenuModel model = BuildProfileMenu(presets, User(), extension);
        CFlatMenu menu;
        std::vector<std::unique_ptr<CFlatMenu>> submenus;
        FillProfileMenu(model, menu, submenus);
        QWidget owner;
        menu.TrackPopup(10, 10, &owner, false);
        std::vector<int> heights;
        for (int i = 0; i < menu.ItemCount(); ++i) heights.push_back(menu.ItemRect(i).height());
        menu.Destroy();
        if (std::string(extension) == "clt") {
            ASSERT_EQ(heights.size(), 4u);  // Kontinente, G7, separator, Eigene
            EXPECT_EQ(heights[2], 5);
            EXPECT_EQ(submenus.size(), 1u);
        } else {
            ASSERT_EQ(heights.size(), 1u);  // Felder
            EXPECT_NE(heights[0], 5);
        }
    }
}

// The requests whose windows read the almanac first: their messages, the quoting of a
// picture name, saving a picture as a bitmap file, the bookmark hint.
TEST_F(MainWndTest, RequestsAndTheirMessages) {
    Create();
    wnd->OpenTextBrowserLandID(fixture::kSchweiz);
    EXPECT_EQ(Boxes(), "H I N W E I S\tZu diesem Land liegt leider keine Länderinfo vor.\n");
    // A country with its article: the article window, which finds no HTML folder in this
    // installation, says so and goes again.
    wnd->OpenTextBrowserLandID(fixture::kDeutschland);
    EXPECT_EQ(Boxes().rfind("F E H L E R\tDas Verzeichnis ", 0), 0u);
    QCoreApplication::sendPostedEvents(nullptr, 0);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(wnd->TextBrowserWindow(), nullptr);

    // ".eps" in the almanac is opened as ".gif" (this installation has no archives); anything
    // but JPEG, GIF and BMP is refused, an upper-case ".EPS" too; an empty name does nothing.
    wnd->OpenImageViewerByHTMLID(wnd.get(), 1004);
    EXPECT_EQ(Boxes(), "\tDatei <pyramide.gif> nicht gefunden!?\n");
    wnd->OpenImage(wnd.get(), "Karte", "", "x.nox");
    EXPECT_EQ(Boxes(), "");
    wnd->OpenImage(wnd.get(), "Karte", "karte.tif", "x.nox");
    wnd->OpenImage(wnd.get(), "Karte", "KARTE.EPS", "x.nox");
    EXPECT_EQ(Boxes(),
              "\tDie Datei \"karte.tif\" liegt in einem nicht verwendbaren Dateiformat vor!!!\n"
              "\tDie Datei \"KARTE.EPS\" liegt in einem nicht verwendbaren Dateiformat vor!!!\n");

    // A quote or wildcard in a linked picture name only ever matches itself.
    ResetDBErrors();
    wnd->OpenImageViewerByFilename(wnd.get(), "pyramide.eps");
    EXPECT_EQ(LastDBError().count, 0u);
    wnd->OpenImageViewerByFilename(wnd.get(), "x' OR '1'='1");
    wnd->OpenImageViewerByFilename(wnd.get(), "*");
    EXPECT_EQ(LastDBError().count, 2u);
    EXPECT_EQ(LastDBError().context, "CMainWnd::OpenImageViewerByFilename");
    EXPECT_EQ(LastDBError().message, "No current record.");
    EXPECT_EQ(Boxes(), "\tDatei <pyramide.gif> nicht gefunden!?\n");

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(QColor(10, 20, 30));
    EXPECT_FALSE(wnd->SavePicture(wnd.get(), picture, "Bild"));  // cancelled
    {
        CScopedEnv save("KOMPENDOR_SAVE_PATH", (dir / "Bild").c_str());
        ASSERT_TRUE(wnd->SavePicture(wnd.get(), picture, "Bild"));
    }
    EXPECT_EQ(ReadFile(dir / "Bild.bmp").substr(0, 2), "BM");
    EXPECT_EQ(QImage(QString::fromStdString(dir / "Bild.bmp")).pixelColor(5, 5),
              QColor(10, 20, 30));

    wnd->BookmarkHint();
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tBitte markieren Sie zunächst den Textbereich, für den Sie ein "
              "Lesezeichen anlegen möchten!\n");
}

// The search window: created on first use, shown again, gone when it destroys itself; its hits
// are routed to the text browser and the graph viewer.
TEST_F(MainWndTest, SearchWindowIsCreatedOnceAndRoutesItsHits) {
    Create();
    EXPECT_EQ(wnd->SearchWindow(), nullptr);
    wnd->OpenSearch(wnd.get());
    CSearch* search = wnd->SearchWindow();
    ASSERT_NE(search, nullptr);
    EXPECT_TRUE(search->isVisible());
    EXPECT_EQ(search->objectName(), "Search");
    search->hide();
    wnd->OpenSearch(wnd.get());
    EXPECT_EQ(wnd->SearchWindow(), search);
    EXPECT_TRUE(search->isVisible());

    search->QueryField()->setText("Deutschland");
    search->Search();
    EXPECT_EQ(search->CountText(), "Gefundene Einträge: 1");
    // An article goes to the article window (which finds no HTML folder in this installation
    // and says so); a picture record to the image viewer, which finds no graphics archive.
    Boxes();
    search->OpenHit(1001);
    EXPECT_NE(Boxes().find("Das Verzeichnis"), std::string::npos);
    search->OpenHit(1004);
    EXPECT_NE(Boxes().find("pyramide.gif"), std::string::npos);

    delete search;
    EXPECT_EQ(wnd->SearchWindow(), nullptr);
}
