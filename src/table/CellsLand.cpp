// The cell kinds of the country-column view: a column per country, a row per data field.
#include <QFontMetrics>
#include <QPainter>
#include <QPixmapCache>

#include "controls/BitmapResource.h"
#include "controls/NOXButton.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "table/CellData.h"
#include "table/CellKinds.h"
#include "table/CellKindsShared.h"
#include "table/Table.h"
#include "table/TableFill.h"
#include "table/TableWnd.h"
#include "table/YearLogic.h"

namespace {

// The flag pictures are small and the same country head comes back with every scroll.
QPixmap LoadFlag(const std::string& path) {
    const QString key = QStringLiteral("flag:") + QString::fromStdString(path);
    QPixmap picture;
    if (!QPixmapCache::find(key, &picture)) {
        picture = QPixmap(QString::fromStdString(path));
        if (!picture.isNull()) QPixmapCache::insert(key, picture);
    }
    return picture;
}

}  // namespace

// ---- CCellLand ----

void CCellLand::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    const CLandCellLook& look = StaatenLook().cell;
    dc.fillRect(rect, GetRow() % 2 != 0 ? look.oddBack : look.evenBack);
    DrawDataEdges(dc, rect, IsSelectedCell(this));
    if (record == nullptr) return;

    double number = 0.0;
    const bool numeric = ToNumber(record->value, number);
    const QString text = GetCellText(record);
    const QRect textRect = rect.adjusted(5, 4, -5, 0);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    dc.setFont(numeric ? look.numberFont.Font() : look.textFont.Font());
    dc.setPen(look.ink);
    dc.drawText(textRect, flags, text);

    const std::int32_t year = RecordYear(record, 0);
    if (year <= 0) return;
    // The year follows the value's last line, bottom-aligned with it.
    const QRect measured = dc.boundingRect(textRect, flags, text);
    const int left = measured.x() + measured.width() + 4;
    const int right = rect.width() - 4;
    const int bottom = measured.y() + measured.height() - 1;
    if (right <= left || bottom <= measured.y()) return;
    dc.setFont(look.yearFont.Font());
    dc.setPen(look.yearInk);
    dc.drawText(QRect(left, measured.y(), right - left, bottom - measured.y()),
                Qt::AlignLeft | Qt::AlignBottom | Qt::TextSingleLine,
                QStringLiteral("(%1)").arg(unsigned(year)));
}

QString CCellLand::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CCellLand::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

CellMenu CCellLand::MenuEntries() const {
    return {
        {QStringLiteral("Zellengröße"),
         0,
         {{QStringLiteral("für alle übernehmen"), kMenuCellSizeAll, {}},
          {QStringLiteral("auf Standard einstellen"), kMenuCellSizeDefault, {}}}},
        {},
        {QStringLiteral("Spaltenbreite"),
         0,
         {{QStringLiteral("für alle übernehmen"), kMenuWidthAll, {}},
          {QStringLiteral("auf Standard einstellen"), kMenuWidthDefault, {}}}},
        {QStringLiteral("Zeilenhöhe"),
         0,
         {{QStringLiteral("für alle übernehmen"), kMenuHeightAll, {}},
          {QStringLiteral("auf Standard einstellen"), kMenuHeightDefault, {}}}},
        {},
        {QStringLiteral("Detailinfo anzeigen"), kMenuDetails, {}},
    };
}

void CCellLand::OnMenuCommand(int id) {
    if (RunSizeCommand(this, id, kStaatenColumnWidth)) return;
    if (id == kMenuDetails && GetTable() != nullptr) GetTable()->Select(GetColumn(), GetRow());
}

// ---- CColHeadLand ----

bool CColHeadLand::InitCell() {
    const CLandHeadLook& look = StaatenLook().columnHead;
    m_article = MakeCellButton(this, kCellButton1, look.article, QPoint(1, 33));
    m_map = MakeCellButton(this, kCellButton2, look.map, QPoint(m_article->width() + 2, 33));
    m_menu = MakeCellButton(this, kCellButton3, look.menu,
                            QPoint(m_article->width() + m_map->width() + 3, 33));

    const CTableResources& resources = TableResourcesOf(this);
    CDatabase* db = resources.database;
    const std::int32_t landId
        = GetTable() != nullptr ? GetTable()->GetTag(GetColumn(), GetRow()) : 0;
    std::string flag;
    if (db != nullptr) {
        DBRead(*db, SqlFormat("SELECT * FROM Land WHERE ID=%li", long(landId)),
               "CColHeadLand::InitCell", [&](CRecordset& rs) {
                   if (!rs.IsEOF()) flag = ToText(rs.GetFieldValue("Flaggen"));
               });
    }
    if (!flag.empty() && !resources.imageFolder.empty()) {
        for (char& c : flag) {
            if (c == '\\') c = '/';
        }
        const QPixmap picture = LoadFlag(resources.imageFolder + "Flags/" + flag);
        // A flag that cannot be read is left out; the head works without it.
        if (!picture.isNull()) {
            m_flag = new CFlagPicture(this, picture);
        }
    }
    PlaceFlag(width());
    return true;
}

QWidget* CColHeadLand::Flag() const { return m_flag; }

void CColHeadLand::PlaceFlag(int width) {
    // A button cut off at the cell's edge is no button: only those that fit wholly show.
    int buttonsRight = 0;
    for (CNOXButton* button : {m_article, m_map, m_menu}) {
        if (button == nullptr) continue;
        const bool fits = button->x() + button->width() <= width - 1;
        button->setVisible(fits);
        if (fits) buttonsRight = button->x() + button->width();
    }
    if (m_flag == nullptr) return;
    const int left = width - 4 - m_flag->width();
    m_flag->move(left, 5);
    // In a narrow column the flag would cover the buttons: the buttons keep their place.
    m_flag->setVisible(left >= buttonsRight + 4);
}

QRect CColHeadLand::NameRect() const {
    QRect box = rect().adjusted(5, 4, -5, 0);
    if (m_flag != nullptr && !m_flag->isHidden()) box.setRight(m_flag->x() - 5);
    return box;
}

QString CColHeadLand::ShownName(const CellData* record) const {
    const QFontMetrics metrics(StaatenLook().columnHead.font.Font());
    return metrics.elidedText(GetCellText(record), Qt::ElideRight, NameRect().width());
}

void CColHeadLand::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    const CLandHeadLook& look = StaatenLook().columnHead;
    const int w = rect.width();
    const int h = rect.height();
    dc.fillRect(rect, look.back);
    HLine(dc, 0, w, 0, look.topLine0);
    HLine(dc, 0, w, 1, look.topLine1);
    HLine(dc, 0, w, h - 2, look.bottomLine0);
    HLine(dc, 0, w, h - 1, look.bottomLine1);
    VLine(dc, 0, 0, h, look.left);
    VLine(dc, w - 1, 0, h, look.right);
    dc.setFont(look.font.Font());
    dc.setPen(look.ink);
    dc.drawText(NameRect(), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, ShownName(record));
}

void CColHeadLand::OnCellSize(int, int, int right, int) { PlaceFlag(right); }

QString CColHeadLand::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CColHeadLand::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

CellMenu CColHeadLand::MenuEntries() const {
    return {
        {QStringLiteral("Spaltenbreite für alle übernehmen"), kMenuWidthAll, {}},
        {QStringLiteral("Spaltenbreite auf Standard einstellen"), kMenuWidthDefault, {}},
    };
}

void CColHeadLand::OnMenuCommand(int id) {
    if (id == kMenuWidthAll || id == kMenuWidthDefault) {
        RunSizeCommand(this, id, kStaatenColumnWidth);
    }
}

bool CColHeadLand::event(QEvent* e) {
    if (const int id = CommandId(e)) {
        OnButton(id);
        return true;
    }
    return CTableCell::event(e);
}

void CColHeadLand::OnButton(int id) {
    CTableHost* host = TableHostOf(this);
    const std::int32_t landId
        = GetTable() != nullptr ? GetTable()->GetTag(GetColumn(), GetRow()) : 0;
    switch (id) {
        case kCellButton1:
            if (host != nullptr) host->OpenTextBrowserLandID(landId);
            break;
        case kCellButton2:
            if (host != nullptr) host->ShowMap(landId);
            break;
        case kCellButton3: {
            const QPoint at = TopRight(m_menu);
            ShowContextMenu(at.x(), at.y());
            break;
        }
        case kCellFlag:
            if (host != nullptr) host->ShowFlag(landId);
            break;
        default:
            break;
    }
}

// ---- CRootLand ----

CRootLand::CRootLand() : CRoot(StaatenLook().corner) {}

void CRootLand::ShowContextMenu(int, int) {}

void CRootLand::OnButton(int id) {
    CTableHost* host = TableHostOf(this);
    if (host == nullptr) return;
    if (id == kCellButton1) host->OpenDataSelection();
    if (id == kCellButton2) host->OpenCountrySelection();
}

// ---- CRowHeadLand ----

CRowHeadLand::CRowHeadLand() : CRowHead(StaatenLook().rowHead) {}

CellMenu CRowHeadLand::MenuEntries() const {
    CellMenu menu{
        {QStringLiteral("Zeilenhöhe für alle übernehmen"), kMenuHeightAll, {}},
        {QStringLiteral("Zeilenhöhe auf Standard einstellen"), kMenuHeightDefault, {}},
    };
    const std::int32_t valId
        = GetTable() != nullptr ? GetTable()->GetTag(GetColumn(), GetRow()) : 0;
    if (canShowMap(TableDatabaseOf(this), valId)) {
        menu.push_back({});
        menu.push_back({QStringLiteral("Projektion auf Weltkarte"), kMenuWorldMap, {}});
    }
    return menu;
}

void CRowHeadLand::OnMenuCommand(int id) {
    if (id == kMenuHeightAll || id == kMenuHeightDefault) {
        RunSizeCommand(this, id, kStaatenColumnWidth);
    } else if (id == kMenuWorldMap && GetTable() != nullptr) {
        if (CTableHost* host = TableHostOf(this))
            host->ShowMapValues(GetTable()->GetTag(GetColumn(), GetRow()), ReferenceYear());
    }
}
