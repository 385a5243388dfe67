// The table window on the fixture almanac (offscreen): both views with their cell kinds,
// clicks and context menus, the year refill, cancelling, export, print and close.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QImage>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include "controls/Fonts.h"
#include "controls/NOXButton.h"
#include "controls/NOXButtonText.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "noxctrls/PushCtrl.h"
#include "noxctrls/StaticCtrl.h"
#include "platform/TestFiles.h"
#include "table/CellKinds.h"
#include "table/Table.h"
#include "table/TableAlmanac.h"
#include "table/TableFill.h"
#include "table/TableHTML.h"
#include "table/TableWnd.h"

using namespace fixture;

namespace {

// The main window's stand-in: writes down every request.
class CRecordingHost : public CTableHost {
public:
    std::vector<std::string> calls;

    void OpenTextBrowserLandID(std::int32_t id) override { Add("article", id); }
    void ShowMap(std::int32_t id) override { Add("map", id); }
    void ShowFlag(std::int32_t id) override { Add("flag", id); }
    void ShowMapValues(std::int32_t valId, unsigned year) override {
        Add("world", valId, int(year));
    }
    void OpenCountrySelection() override { calls.push_back("countries"); }
    void OpenDataSelection() override { calls.push_back("fields"); }
    void OpenCellInfo(std::int32_t landId, std::int32_t valId, unsigned year) override {
        Add("info", landId, valId, int(year));
    }
    void PrintHTML(const std::string& html) override { printed = html; }
    void CloseTable() override { calls.push_back("close"); }
    void ApplySelection(const IdList&, const IdList&) override {}
    const IdList& CountryIds() const override { return ids; }
    const IdList& DataIds() const override { return ids; }
    bool AllCountries() const override { return false; }
    void SetAllCountries(bool) override {}
    bool ProfileMenu(const std::string&, int, int, std::string&, std::string&) override {
        return false;
    }
    void SaveProfileAsk(const std::string&, const IdList&) override {}
    void DeleteProfile(const std::string&) override {}
    bool LoadCObject(const std::string&, IdList&) override { return false; }

    std::string Take() {
        std::string all;
        for (const std::string& call : calls) all += (all.empty() ? "" : " ") + call;
        calls.clear();
        return all;
    }

    std::string printed;
    IdList ids;

private:
    template <class... T>
    void Add(const char* what, T... values) {
        std::string call = what;
        ((call += ":" + std::to_string(values)), ...);
        calls.push_back(call);
    }
};

// A flag picture; the edition's are GIF files, whose reader looks at the contents.
void WriteFlag(const std::string& path, QColor colour) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage image(56, 42, QImage::Format_RGB32);
    image.fill(colour);
    image.save(QString::fromStdString(path), "PNG");
}

// Every entry of a menu as a path, "Zellengröße>für alle übernehmen", separators as "-".
std::vector<std::string> Flatten(const CellMenu& menu, const std::string& prefix = "") {
    std::vector<std::string> out;
    for (const CellMenuEntry& entry : menu) {
        if (entry.text.isEmpty()) {
            out.push_back(prefix + "-");
        } else if (!entry.submenu.empty()) {
            for (std::string& sub : Flatten(entry.submenu, prefix + entry.text.toStdString() + ">"))
                out.push_back(std::move(sub));
        } else {
            out.push_back(prefix + entry.text.toStdString());
        }
    }
    return out;
}

// The open flat menu window, or null.
QWidget* OpenMenu() {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w->isVisible() && w->windowTitle() == QLatin1String("~FlatMenu~")) return w;
    }
    return nullptr;
}

// Chooses the n-th item (from 1) of the next menu that opens, by keys; gives up after two
// seconds.
void ChooseInNextMenu(int n) {
    auto* timer = new QTimer;
    auto* waited = new int(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, n] {
        QWidget* menu = OpenMenu();
        if (menu == nullptr && ++*waited < 200) return;
        timer->stop();
        timer->deleteLater();
        delete waited;
        if (menu == nullptr) {
            ADD_FAILURE() << "no menu opened";
            return;
        }
        for (int i = 0; i < n; ++i) QTest::keyClick(menu, Qt::Key_Down);
        QTest::keyClick(menu, Qt::Key_Return);
    });
    timer->start(10);
}

class TableWndTest : public testing::Test {
protected:
    TableWndTest()
        : m_messages("KOMPENDOR_MESSAGES", (dir / "boxes.txt").c_str()),
          m_savePath("KOMPENDOR_SAVE_PATH", nullptr) {
        RegisterFontSubstitutions();
        std::filesystem::create_directories(dir / "Daten");
        OpenTableAlmanac(db, CreateTableAlmanac(dir / "Daten"));
        WriteFlag(dir / "Daten/Flags/DEU.gif", QColor(221, 0, 0));
        WriteFlag(dir / "Daten/Flags/AUT.gif", QColor(200, 16, 46));
        CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
        ResetDBErrors();

        wnd = std::make_unique<CTableWnd>(nullptr);
        CTableResources resources;
        resources.database = &db;
        resources.host = &host;
        resources.imageFolder = dir / "Daten/";
        wnd->SetResources(resources);
        wnd->resize(1000, 600);
        wnd->show();
        grid = wnd->Grid();
    }
    ~TableWndTest() override {
        wnd.reset();
    }

    template <class Kind>
    Kind* Cell(int column, int row) {
        auto* cell = dynamic_cast<Kind*>(grid->GetCellWindow(column, row));
        EXPECT_NE(cell, nullptr) << column << "/" << row;
        return cell;
    }

    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (int r = 1; r < grid->GetRowCount(); ++r) {
            names.push_back(CellText(*grid->GetData(0, r)));
        }
        return names;
    }

    // Clicks the cell as the user does; the grid's messages are posted.
    void Click(int column, int row) {
        CTableCell* cell = grid->GetCellWindow(column, row);
        ASSERT_NE(cell, nullptr);
        QTest::mouseClick(cell, Qt::LeftButton, {}, QPoint(cell->width() / 2, cell->height() / 2));
        QApplication::processEvents();
    }

    std::string Boxes() {
        std::string boxes = ReadFile(dir / "boxes.txt");
        std::filesystem::remove(dir / "boxes.txt");
        return boxes;
    }

    CTempDir dir;
    CScopedEnv m_messages;
    CScopedEnv m_savePath;
    CDatabase db;
    CRecordingHost host;
    std::unique_ptr<CTableWnd> wnd;
    CTable* grid = nullptr;
};

QColor Pixel(QWidget* w, int x, int y) { return w->grab().toImage().pixelColor(x, y); }

// Whether a region holds text in a red tone (the year of an older value).
bool HasRedInk(QWidget* w, const QRect& region) {
    const QImage image = w->grab().toImage();
    for (int y = region.top(); y <= region.bottom(); ++y) {
        for (int x = region.left(); x <= region.right(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.red() > c.green() + 60 && c.red() > c.blue() + 60) return true;
        }
    }
    return false;
}

}  // namespace

TEST_F(TableWndTest, StaatenViewHeadsAndClicks) {
    ASSERT_TRUE(wnd->DisplayStaaten({kDeutschland, kSchweiz, kOesterreich},
                                    {kEinwohner, kWaehrung, kInflation}));
    ASSERT_NE(Cell<CRootLand>(0, 0), nullptr);
    auto* deutschland = Cell<CColHeadLand>(1, 0);
    ASSERT_NE(deutschland, nullptr);
    // The flag sits 4 pixels from the right edge, 5 from the top; a missing one is left out.
    ASSERT_NE(deutschland->Flag(), nullptr);
    EXPECT_EQ(deutschland->Flag()->geometry(), QRect(300 - 4 - 56, 5, 56, 42));
    EXPECT_EQ(Cell<CColHeadLand>(2, 0)->Flag(), nullptr);
    ASSERT_NE(Cell<CRowHeadLand>(0, 1), nullptr);
    ASSERT_NE(Cell<CCellLand>(2, 1), nullptr);

    QTest::mouseClick(deutschland->Flag(), Qt::LeftButton);
    for (auto* button : deutschland->findChildren<CNOXButton*>()) {
        if (button->ControlId() != kCellButton3) QTest::mouseClick(button, Qt::LeftButton);
    }
    for (auto* button : Cell<CRootLand>(0, 0)->findChildren<CNOXButton*>()) {
        QTest::mouseClick(button, Qt::LeftButton);
    }
    QApplication::processEvents();
    EXPECT_EQ(host.Take(), "flag:276 article:276 map:276 fields countries");

    // A click on a data cell selects it and asks for its information with the value's year;
    // a country without a value gives year 0. Header clicks select nothing.
    Click(1, 1);
    Click(2, 1);
    Click(1, 0);
    Click(0, 2);
    EXPECT_EQ(host.Take(), "info:276:101:2002 info:756:101:0");
    EXPECT_EQ(grid->GetSelectedColumn(), 2);
}

// Each table window's requests go to the host it was handed, so two owners never share one.
TEST_F(TableWndTest, RequestsGoToTheWindowsOwnHost) {
    CRecordingHost other;
    CTableWnd second(nullptr);
    CTableResources resources = wnd->Resources();
    resources.host = &other;
    second.SetResources(resources);
    second.resize(1000, 600);
    second.show();
    ASSERT_TRUE(wnd->DisplayStaaten({kDeutschland}, {kEinwohner}));
    ASSERT_TRUE(second.DisplayStaaten({kSchweiz}, {kEinwohner}));

    auto* root = dynamic_cast<CRootLand*>(second.Grid()->GetCellWindow(0, 0));
    ASSERT_NE(root, nullptr);
    for (auto* button : root->findChildren<CNOXButton*>()) QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(other.Take(), "fields countries");
    EXPECT_EQ(host.Take(), "");

    // Without a host the requests go nowhere, and nothing breaks.
    resources.host = nullptr;
    second.SetResources(resources);
    for (auto* button : root->findChildren<CNOXButton*>()) QTest::mouseClick(button, Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(other.Take(), "");
}

// A country head narrower than its buttons and flag: the flag makes room for the buttons, and a
// name longer than the room left of it is cut with an ellipsis.
TEST_F(TableWndTest, NarrowCountryHeadKeepsItsButtonsFree) {
    ASSERT_TRUE(wnd->DisplayStaaten({kDeutschland, kSchweiz}, {kEinwohner}));
    auto* head = Cell<CColHeadLand>(1, 0);
    ASSERT_NE(head, nullptr);
    QWidget* flag = head->Flag();
    ASSERT_NE(flag, nullptr);
    EXPECT_TRUE(flag->isVisible());
    EXPECT_EQ(head->ShownName(grid->GetData(1, 0)), QStringLiteral("Deutschland"));

    ASSERT_TRUE(grid->ResizeColumn(1, 80 - 300));
    QApplication::processEvents();
    EXPECT_EQ(head->width(), 80);
    EXPECT_FALSE(flag->isVisible());
    // The buttons that show lie wholly in the head, nothing over them; the first always fits.
    int shown = 0;
    for (auto* button : head->findChildren<CNOXButton*>()) {
        if (button->isHidden()) continue;
        ++shown;
        EXPECT_TRUE(head->rect().contains(button->geometry())) << button->ControlId();
        EXPECT_EQ(head->childAt(button->geometry().center()), button) << button->ControlId();
    }
    EXPECT_GE(shown, 1);
    const QString name = head->ShownName(grid->GetData(1, 0));
    EXPECT_TRUE(name.endsWith(QChar(0x2026))) << name.toStdString();
    EXPECT_TRUE(QStringLiteral("Deutschland").startsWith(name.chopped(1)));

    // Wide again: the flag is back where it was.
    ASSERT_TRUE(grid->ResizeColumn(1, 300 - 80));
    EXPECT_TRUE(flag->isVisible());
    EXPECT_EQ(flag->geometry(), QRect(300 - 4 - 56, 5, 56, 42));
}

// Every button that shows a pictogram only says in its tooltip what it does.
TEST_F(TableWndTest, PictogramButtonsHaveTooltips) {
    auto tips = [](QWidget* cell) {
        std::map<int, std::string> out;
        for (auto* button : cell->findChildren<CNOXButton*>())
            out[button->ControlId()] = button->ToolTip().toStdString();
        return out;
    };
    using Tips = std::map<int, std::string>;
    ASSERT_TRUE(wnd->DisplayStaaten({kDeutschland}, {kEinwohner}));
    EXPECT_EQ(tips(Cell<CRootLand>(0, 0)),
              (Tips{{100, "Datenfelder auswählen"}, {101, "Länder auswählen"}}));
    EXPECT_EQ(tips(Cell<CRowHeadLand>(0, 1)), (Tips{{100, "Menü öffnen"}}));
    // "Länderinfo" and "Karte" carry their names in their pictures.
    EXPECT_EQ(tips(Cell<CColHeadLand>(1, 0)), (Tips{{100, ""}, {101, ""}, {102, "Menü öffnen"}}));
    EXPECT_EQ(Cell<CColHeadLand>(1, 0)->Flag()->toolTip(), QStringLiteral("Flagge zeigen"));

    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland}, {kEinwohner}));
    EXPECT_EQ(tips(Cell<CRootData>(0, 0)), (Tips{{100, "Länder auswählen"},
                                                 {101, "Datenfelder auswählen"},
                                                 {110, "Länder aufsteigend sortieren"},
                                                 {111, "Länder absteigend sortieren"}}));
    EXPECT_EQ(tips(Cell<CRowHeadData>(0, 1)), (Tips{{100, "Menü öffnen"}}));
    EXPECT_EQ(tips(Cell<CColHeadDataYear>(1, 0)), (Tips{{100, "Menü öffnen"},
                                                        {110, "Aufsteigend sortieren"},
                                                        {111, "Absteigend sortieren"}}));
}

TEST_F(TableWndTest, DatenViewYearColumns) {
    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland, kOesterreich, kAegypten, kSchweiz},
                                  {kEinwohner, kWaehrung, kInflation, kHandel}));
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"Ägypten", "Deutschland", "Österreich", "Schweiz"}));
    ASSERT_NE(Cell<CRootData>(0, 0), nullptr);
    EXPECT_EQ(Cell<CColHeadData>(2, 0)->findChild<CNOXButtonText*>(), nullptr);

    // A year button with the field's newest year, and its menu of the field's years.
    auto* einwohner = Cell<CColHeadDataYear>(1, 0);
    ASSERT_NE(einwohner, nullptr);
    ASSERT_NE(einwohner->YearButton(), nullptr);
    EXPECT_EQ(einwohner->YearButton()->Caption(), "2002");
    EXPECT_EQ(einwohner->YearButton()->geometry(), QRect(220 - 40, 50 - 17, 39, 16));
    EXPECT_EQ(Flatten(einwohner->YearMenuEntries()),
              (std::vector<std::string>{"2002", "2000", "1998"}));
    // One year: the button is there, its menu stays closed.
    auto* inflation = Cell<CColHeadDataYear>(3, 0);
    ASSERT_NE(inflation, nullptr);
    EXPECT_EQ(inflation->YearButton()->Caption(), "2002");
    EXPECT_TRUE(inflation->YearMenuEntries().empty());
    QTest::mouseClick(inflation->YearButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(OpenMenu(), nullptr);

    // Choosing 2000 in the menu refills the column; the header is rebuilt with its year.
    ChooseInNextMenu(2);
    QTest::mouseClick(einwohner->YearButton(), Qt::LeftButton);
    QApplication::processEvents();
    EXPECT_EQ(Cell<CColHeadDataYear>(1, 0)->YearButton()->Caption(), "2000");
    EXPECT_EQ(CellText(*grid->GetData(1, 2)), "82.260.000");
}

TEST_F(TableWndTest, SetColYearOnTheSortColumn) {
    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland, kOesterreich, kAegypten, kSchweiz},
                                  {kEinwohner, kHandel}));
    Cell<CColHeadData>(2, 0)->SortDescending();
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"Deutschland", "Schweiz", "Österreich", "Ägypten"}));
    Click(2, 1);
    EXPECT_EQ(host.Take(), "info:276:205:2002");

    // The rows follow the new values; the selected position is selected again, which asks
    // for the information of the record now in it.
    wnd->SetColYear(2, 2000);
    EXPECT_EQ(Names(),
              (std::vector<std::string>{"Österreich", "Schweiz", "Deutschland", "Ägypten"}));
    EXPECT_EQ(grid->GetSelectedColumn(), 2);
    EXPECT_EQ(grid->GetSelectedRow(), 1);
    EXPECT_EQ(host.Take(), "info:40:205:2000");
    EXPECT_EQ(grid->GetSortColumn(), 2);
    EXPECT_FALSE(grid->IsSortAscending());
}

TEST_F(TableWndTest, BarsAndYearColours) {
    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland, kOesterreich, kAegypten, kSchweiz},
                                  {kEinwohner, kHandel}));
    // Rows: Ägypten, Deutschland, Österreich, Schweiz. Handelsbilanz: -12, 150.5, -3.25, 0.
    const QColor barBack(226, 233, 246), barFill(167, 197, 255);
    const QColor negBack(243, 224, 221), negFill(245, 168, 162);
    CTableCell* positive = grid->GetCellWindow(2, 2);
    EXPECT_EQ(Pixel(positive, 7, 10), barFill);
    EXPECT_EQ(Pixel(positive, 220 - 43, 10), barFill);  // the maximum fills the bar
    CTableCell* negative = grid->GetCellWindow(2, 3);
    const int barRight = 220 - 41 - 1;
    EXPECT_EQ(Pixel(negative, barRight, 10), negFill);  // from the right edge
    EXPECT_EQ(Pixel(negative, 7, 10), negBack);         // -3.25 of -12: a quarter
    CTableCell* minimum = grid->GetCellWindow(2, 1);
    EXPECT_EQ(Pixel(minimum, 7, 10), negFill);
    CTableCell* zero = grid->GetCellWindow(2, 4);
    EXPECT_EQ(Pixel(zero, 7, 10), barBack);  // 0: an empty bar
    EXPECT_EQ(Pixel(zero, barRight, 10), barBack);

    // Years: grey where the value is of the column's year, red where it is older.
    EXPECT_FALSE(HasRedInk(grid->GetCellWindow(1, 2), QRect(220 - 41, 2, 39, 16)));
    EXPECT_TRUE(HasRedInk(grid->GetCellWindow(2, 1), QRect(220 - 41, 2, 39, 16)));
    wnd->SetColYear(1, 2001);
    EXPECT_TRUE(HasRedInk(grid->GetCellWindow(1, 2), QRect(220 - 41, 2, 39, 16)));

    // A single value: minimum equals maximum, no bar.
    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland}, {kEinwohner}));
    CTableCell* single = grid->GetCellWindow(1, 1);
    EXPECT_EQ(Pixel(single, 7, 10), QColor(249, 247, 239));
    // The selected cell's orange frame.
    Click(1, 1);
    EXPECT_EQ(Pixel(single, 0, 0), QColor(255, 138, 14));
    EXPECT_EQ(Pixel(single, 1, 1), QColor(255, 138, 14));
    EXPECT_EQ(Pixel(single, 2, 2), QColor(249, 247, 239));
}

TEST_F(TableWndTest, ContextMenus) {
    using Entries = std::vector<std::string>;
    const Entries size{"Zellengröße>für alle übernehmen",
                       "Zellengröße>auf Standard einstellen",
                       "-",
                       "Spaltenbreite>für alle übernehmen",
                       "Spaltenbreite>auf Standard einstellen",
                       "Zeilenhöhe>für alle übernehmen",
                       "Zeilenhöhe>auf Standard einstellen",
                       "-"};
    ASSERT_TRUE(wnd->DisplayStaaten({kDeutschland}, {kEinwohner, kWaehrung}));
    auto menu = [&](int column, int row) {
        auto* commands = dynamic_cast<CCellCommands*>(grid->GetCellWindow(column, row));
        return commands != nullptr ? Flatten(commands->MenuEntries()) : Entries{"<none>"};
    };
    Entries cellLand = size;
    cellLand.push_back("Detailinfo anzeigen");
    EXPECT_EQ(menu(1, 1), cellLand);
    EXPECT_EQ(menu(1, 0), (Entries{"Spaltenbreite für alle übernehmen",
                                   "Spaltenbreite auf Standard einstellen"}));
    EXPECT_EQ(menu(0, 0), Entries{});
    // Only a mappable field offers the world map.
    const Entries rowHead{"Zeilenhöhe für alle übernehmen", "Zeilenhöhe auf Standard einstellen"};
    Entries mappable = rowHead;
    mappable.insert(mappable.end(), {"-", "Projektion auf Weltkarte"});
    EXPECT_EQ(menu(0, 1), mappable);
    EXPECT_EQ(menu(0, 2), rowHead);
    dynamic_cast<CCellCommands*>(grid->GetCellWindow(0, 1))->OnMenuCommand(kMenuWorldMap);
    EXPECT_EQ(host.Take(), "world:101:2002");

    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland}, {kEinwohner, kWaehrung}));
    Entries cellData = size;
    cellData.insert(cellData.end(), {"Spalte sortieren>aufsteigend", "Spalte sortieren>absteigend",
                                     "-", "Detailinfo anzeigen"});
    EXPECT_EQ(menu(1, 1), cellData);
    EXPECT_EQ(menu(2, 1), cellData);
    const Entries colHead{"Spaltenbreite für alle übernehmen",
                          "Spaltenbreite auf Standard einstellen", "-",
                          "Spalte sortieren>aufsteigend", "Spalte sortieren>absteigend"};
    Entries colHeadMap = colHead;
    colHeadMap.insert(colHeadMap.end(), {"-", "Projektion auf Weltkarte"});
    EXPECT_EQ(menu(1, 0), colHeadMap);
    EXPECT_EQ(menu(2, 0), colHead);
    EXPECT_EQ(menu(0, 0),
              (Entries{"Länder sortieren (aufsteigend)", "Länder sortieren (absteigend)"}));
    EXPECT_EQ(menu(0, 1),
              (Entries{"Länderinfo zeigen", "Karte zeigen", "-", "Zeilenhöhe für alle übernehmen",
                       "Zeilenhöhe auf Standard einstellen", "-", "Länder sortieren>aufsteigend",
                       "Länder sortieren>absteigend"}));
    // The world map of a year column shows the column's year.
    wnd->SetColYear(1, 2000);
    dynamic_cast<CCellCommands*>(grid->GetCellWindow(1, 0))->OnMenuCommand(kMenuWorldMap);
    EXPECT_EQ(host.Take(), "world:101:2000");

    // A right click opens the cell's menu; the chosen entry runs once it closed.
    ChooseInNextMenu(1);
    QTest::mouseClick(grid->GetCellWindow(0, 1), Qt::RightButton, {}, QPoint(20, 20));
    QApplication::processEvents();
    EXPECT_EQ(host.Take(), "article:276");
    // "für alle übernehmen": this cell's height for every row, and back to the standard.
    ASSERT_TRUE(grid->ResizeRow(1, 30));
    dynamic_cast<CCellCommands*>(grid->GetCellWindow(1, 1))->OnMenuCommand(kMenuHeightAll);
    EXPECT_EQ(grid->GetRowHeight(1), 97);
    dynamic_cast<CCellCommands*>(grid->GetCellWindow(1, 1))->OnMenuCommand(kMenuCellSizeDefault);
    EXPECT_EQ(grid->GetRowHeight(1), 67);
    EXPECT_EQ(grid->GetColumnWidth(2), 220);
}

// While the grid fills, nothing has a window yet: the corner shows the header colour, not the
// black of the window behind it.
TEST_F(TableWndTest, CornerInTheHeaderColourWhileFilling) {
    const QColor header(173, 186, 206);
    EXPECT_EQ(Pixel(wnd.get(), 10, CTableWnd::kBarHeight + 10), header);
    QColor during;
    QTimer::singleShot(0, [&] { during = Pixel(wnd.get(), 10, CTableWnd::kBarHeight + 10); });
    ASSERT_TRUE(wnd->DisplayStaaten({kDeutschland, kOesterreich}, {kEinwohner, kWaehrung}));
    EXPECT_EQ(during, header);
}

TEST_F(TableWndTest, CancelEndsTheFill) {
    // The user closes the progress window while the run works.
    QTimer::singleShot(0, [] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* dialog = qobject_cast<CTemplateDialog*>(w);
            if (dialog != nullptr && dialog->TemplateId() == 167 && dialog->isVisible()) {
                dialog->close();
            }
        }
    });
    EXPECT_FALSE(wnd->DisplayDaten({kDeutschland, kOesterreich, kAegypten, kSchweiz},
                                   {kEinwohner, kWaehrung, kInflation, kHandel}));
    // What was stored stays, not laid out and not sorted.
    EXPECT_LT(grid->GetColumnCount(), 5);
    EXPECT_EQ(grid->GetCellWindow(0, 0), nullptr);
    EXPECT_EQ(grid->GetSortColumn(), -1);
    EXPECT_FALSE(wnd->IsFilling());
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* dialog = qobject_cast<CTemplateDialog*>(w);
        EXPECT_FALSE(dialog != nullptr && dialog->TemplateId() == 167);
    }

    ASSERT_TRUE(wnd->DisplayDaten({kDeutschland}, {kEinwohner}));
    EXPECT_NE(grid->GetCellWindow(1, 1), nullptr);
}

TEST_F(TableWndTest, BarExportPrintAndClose) {
    ASSERT_TRUE(wnd->DisplayDaten({kOesterreich, kDeutschland}, {kWaehrung, kEinwohner}));
    wnd->SetTitle(QStringLiteral("Arbeitsbereich 2 (Ländervergleich)"));
    EXPECT_EQ(wnd->Bar()->Controls().Static(CTableWnd::kTitleId)->Text(),
              "Arbeitsbereich 2 (Ländervergleich)");
    EXPECT_EQ(wnd->Bar()->geometry(), QRect(0, 0, 1000, 37));
    EXPECT_EQ(grid->geometry(), QRect(0, 37, 1000, 563));
    auto press = [&](int id) {
        emit wnd->Bar()->Controls().Push(id)->command(id);
        QApplication::processEvents();
    };

    // Cancelled dialog: nothing written, nothing said.
    press(CTableWnd::kExportId);
    EXPECT_EQ(Boxes(), "");

    const std::string path = dir / "ZYB.htm";
    {
        CScopedEnv save("KOMPENDOR_SAVE_PATH", path.c_str());
        press(CTableWnd::kExportId);
    }
    EXPECT_EQ(ReadFile(path), HTMLDocument(grid->GetTableData()));
    EXPECT_EQ(Boxes(),
              "H I N W E I S\tDie Tabelle wurde erfolgreich in " + path + " exportiert.\n");
    {
        const std::string bad = dir / "ZYB.htm/x.htm";
        CScopedEnv save("KOMPENDOR_SAVE_PATH", bad.c_str());
        EXPECT_FALSE(wnd->ExportHTML());
        EXPECT_EQ(Boxes(),
                  "F E H L E R\tDie Tabelle konnte nicht in " + bad + " exportiert werden.\n");
    }

    press(CTableWnd::kPrintId);
    EXPECT_EQ(host.printed, BuildHTML(grid->GetTableData()));
    press(CTableWnd::kCloseId);
    EXPECT_EQ(host.Take(), "close");
}

TEST_F(TableWndTest, CloseAsksFirstAndNoKeepsTheTable) {
    ASSERT_TRUE(wnd->DisplayDaten({kOesterreich, kDeutschland}, {kWaehrung, kEinwohner}));
    Boxes();
    const std::string question
        = "H I N W E I S\tMöchten Sie die Tabelle wirklich schließen?\\n\\nDer Arbeitsbereich "
          "wird dabei gelöscht.\n";
    auto close = [&](const char* answer) {
        CScopedEnv answers("KOMPENDOR_ANSWERS", answer);
        emit wnd->Bar()->Controls().Push(CTableWnd::kCloseId)->command(CTableWnd::kCloseId);
        QApplication::processEvents();
    };
    close("no");
    EXPECT_EQ(Boxes(), question);
    EXPECT_EQ(host.Take(), "");
    close("yes");
    EXPECT_EQ(Boxes(), question);
    EXPECT_EQ(host.Take(), "close");
}
