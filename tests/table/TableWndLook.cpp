// Pictures of the table window for looking at it: written only when KOMPENDOR_TABLE_SHOTS
// names a folder. KOMPENDOR_TABLE_EDITION names an installation (the sample edition) to
// show as well.
#include <gtest/gtest.h>

#include <memory>

#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTest>

#include "controls/FlatMenu.h"
#include "controls/Fonts.h"
#include "controls/NOXButtonText.h"
#include "controls/TemplateDialog.h"
#include "data/ErrorReporter.h"
#include "platform/TestFiles.h"
#include "table/CellKinds.h"
#include "table/CellKindsShared.h"
#include "table/Table.h"
#include "table/TableAlmanac.h"
#include "table/TableWnd.h"
#include "table/YearLogic.h"

using namespace fixture;

namespace {

// The window with an open menu drawn over it where the menu stands on the screen.
QImage WithMenu(QWidget* window, CFlatMenu& menu) {
    QImage image = window->grab().toImage();
    if (QWidget* popup = menu.Window()) {
        QApplication::processEvents();
        QTest::qWait(300);  // the opening effect
        QPainter p(&image);
        p.drawPixmap(window->mapFromGlobal(popup->pos()), popup->grab());
    }
    return image;
}

void Save(const QImage& image, const QString& name) {
    const QString dir = qEnvironmentVariable("KOMPENDOR_TABLE_SHOTS");
    image.save(dir + "/" + name);
}

class Look {
public:
    // The almanac mdb with the flags below imageFolder.
    Look(const std::string& mdb, const std::string& imageFolder) {
        db.Open(mdb, false, true, kAlmanacConnect);
        wnd = std::make_unique<CTableWnd>(nullptr);
        CTableResources resources;
        resources.database = &db;
        resources.imageFolder = imageFolder;
        wnd->SetResources(resources);
        wnd->resize(1280, 760);
        wnd->show();
    }

    CDatabase db;
    std::unique_ptr<CTableWnd> wnd;
};

void Shoot(CTableWnd* wnd, const IdList& countries, const IdList& fields, const QString& prefix,
           int yearColumn, unsigned year, int sortColumn) {
    CTable* grid = wnd->Grid();
    wnd->SetTitle(QStringLiteral("Arbeitsbereich 1 (Länderdaten)"));
    ASSERT_TRUE(wnd->DisplayStaaten(countries, fields));
    grid->Select(2, 2);
    QTest::qWait(50);
    Save(wnd->grab().toImage(), prefix + "-staaten.png");
    {
        auto* cell = dynamic_cast<CCellLand*>(grid->GetCellWindow(1, 1));
        CCellMenuPopup popup(cell->MenuEntries());
        const QPoint at = cell->mapToGlobal(QPoint(60, 30));
        popup.Track(cell, at.x(), at.y(), false);
        Save(WithMenu(wnd, popup.Menu()), prefix + "-staaten-menu.png");
        popup.Menu().Destroy();
    }

    wnd->SetTitle(QStringLiteral("Arbeitsbereich 2 (Ländervergleich)"));
    ASSERT_TRUE(wnd->DisplayDaten(countries, fields));
    wnd->SetColYear(yearColumn, year);
    grid->SortByColumn(sortColumn, false);
    grid->Select(sortColumn, 3);
    QTest::qWait(50);
    Save(wnd->grab().toImage(), prefix + "-daten.png");
    // The last rows of the sorted column: the negative values.
    grid->EnsureVisible(sortColumn, grid->GetRowCount() - 1);
    Save(wnd->grab().toImage(), prefix + "-daten-bottom.png");
    grid->EnsureVisible(yearColumn, 1);
    Save(wnd->grab().toImage(), prefix + "-daten-year.png");
    {
        auto* head = dynamic_cast<CColHeadDataYear*>(grid->GetCellWindow(yearColumn, 0));
        ASSERT_NE(head, nullptr);
        CCellMenuPopup popup(head->YearMenuEntries());
        CNOXButtonText* button = head->YearButton();
        const QPoint at
            = head->mapToGlobal(QPoint(button->x() - 1, button->y() + button->height()));
        popup.Track(head, at.x(), at.y(), false);
        Save(WithMenu(wnd, popup.Menu()), prefix + "-daten-years.png");
        popup.Menu().Destroy();
    }
    {
        auto* cell = dynamic_cast<CCellData*>(
            grid->GetCellWindow(grid->GetFirstVisibleColumn(), grid->GetFirstVisibleRow() + 1));
        CCellMenuPopup popup(cell->MenuEntries());
        const QPoint at = cell->mapToGlobal(QPoint(80, 30));
        popup.Track(cell, at.x(), at.y(), false);
        Save(WithMenu(wnd, popup.Menu()), prefix + "-daten-menu.png");
        popup.Menu().Destroy();
    }
}

}  // namespace

TEST(TableWndLook, Pictures) {
    if (qEnvironmentVariableIsEmpty("KOMPENDOR_TABLE_SHOTS")) GTEST_SKIP() << "no picture folder";
    RegisterFontSubstitutions();
    CTemplateDialog::SetUiDirectory(QStringLiteral(KOMPENDOR_TEST_BINARY_DIR "/skin/UI/"));
    CTempDir dir;
    {
        std::filesystem::create_directories(dir / "Daten");
        const std::string mdb = CreateTableAlmanac(dir / "Daten");
        Look look(mdb, dir / "Daten/");
        Shoot(look.wnd.get(), {kDeutschland, kOesterreich, kAegypten, kSchweiz, kDaenemark},
              {kEinwohner, kWaehrung, kInflation, kHandel, kStaatsform}, "fixture", 1, 2001, 4);
    }
    const QString edition = qEnvironmentVariable("KOMPENDOR_TABLE_EDITION");
    if (edition.isEmpty()) return;
    // The sample edition's layout: the almanac and the flags below Daten/.
    const std::string base = QDir(edition).absolutePath().toStdString() + "/";
    Look look(base + "Daten/Kompendor.mdb", base + "Daten/");
    IdList countries;
    IdList fields;
    DBRead(look.db, "SELECT ID FROM Land ORDER BY ID", "look", [&](CRecordset& rs) {
        for (; !rs.IsEOF(); rs.MoveNext()) countries.push_back(rs.GetFieldValue("ID").Integer());
    });
    DBRead(look.db, "SELECT ID FROM Val ORDER BY ID", "look", [&](CRecordset& rs) {
        for (; !rs.IsEOF(); rs.MoveNext()) fields.push_back(rs.GetFieldValue("ID").Integer());
    });
    ValidateDataIDs(&look.db, fields);
    // A year column and a column with negative values (economic growth) to sort by.
    int yearColumn = 1;
    std::vector<unsigned> years;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (CollectYears(&look.db, fields[i], years)) {
            yearColumn = int(i) + 1;
            break;
        }
    }
    int sortColumn = 1;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i] == 405) sortColumn = int(i) + 1;
    }
    Shoot(look.wnd.get(), countries, fields, "edition", yearColumn,
          years.size() > 1 ? years[1] : 2002, sortColumn);
}
