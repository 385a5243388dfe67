// The cell kinds of the country-column view: a column per country, a row per data field.
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

QPoint TopRight(const QWidget* button) { return button->mapToGlobal(QPoint(button->width(), 0)); }

}  // namespace

// ---- CCellLand ----

void CCellLand::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    dc.fillRect(rect, GetRow() % 2 != 0 ? QColor(242, 246, 255) : QColor(232, 239, 254));
    DrawDataEdges(dc, rect, IsSelectedCell(this));
    if (record == nullptr) return;

    double number = 0.0;
    const bool numeric = ToNumber(record->value, number);
    const QString text = GetCellText(record);
    static const QFont kNumberFont = CellFont("Arial", 9, true);
    static const QFont kTextFont = CellFont("Arial", 9);
    static const QFont kYearFont = CellFont("Small Fonts", 7.4);
    const QRect textRect = rect.adjusted(5, 4, -5, 0);
    const int flags = Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap;
    dc.setFont(numeric ? kNumberFont : kTextFont);
    dc.setPen(QColor(4, 43, 136));
    dc.drawText(textRect, flags, text);

    const std::int32_t year = RecordYear(record, 0);
    if (year <= 0) return;
    // The year follows the value's last line, bottom-aligned with it.
    const QRect measured = dc.boundingRect(textRect, flags, text);
    const int left = measured.x() + measured.width() + 4;
    const int right = rect.width() - 4;
    const int bottom = measured.y() + measured.height() - 1;
    if (right <= left || bottom <= measured.y()) return;
    dc.setFont(kYearFont);
    dc.setPen(QColor(136, 136, 136));
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
    m_article = MakeCellButton(this, kCellButton1, 228, 233, 232, QPoint(1, 33));
    m_map = MakeCellButton(this, kCellButton2, 231, 230, 229, QPoint(m_article->width() + 2, 33));
    m_menu = MakeCellButton(this, kCellButton3, 214, 213, 212,
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
            m_flag->move(width() - 4 - m_flag->width(), 5);
            m_flag->show();
        }
    }
    return true;
}

QWidget* CColHeadLand::Flag() const { return m_flag; }

void CColHeadLand::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    const int w = rect.width();
    const int h = rect.height();
    dc.fillRect(rect, QColor(113, 130, 170));
    HLine(dc, 0, w, 0, QColor(174, 184, 209));
    HLine(dc, 0, w, 1, QColor(139, 154, 185));
    HLine(dc, 0, w, h - 2, QColor(98, 117, 150));
    HLine(dc, 0, w, h - 1, QColor(68, 80, 104));
    VLine(dc, 0, 0, h, Qt::white);
    VLine(dc, w - 1, 0, h, QColor(191, 191, 191));
    static const QFont kFont = CellFont("Arial", 10, true);
    dc.setFont(kFont);
    dc.setPen(QColor(252, 255, 250));
    dc.drawText(rect.adjusted(5, 4, -5, 0), Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine,
                GetCellText(record));
}

void CColHeadLand::OnCellSize(int, int, int right, int) {
    if (m_flag != nullptr) m_flag->move(right - 4 - m_flag->width(), 5);
}

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
    CTableHost* host = TableHost();
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

bool CRootLand::InitCell() {
    m_background = LoadBitmapResource(240);
    MakeCellButton(this, kCellButton1, 219, 218, 225, QPoint(113, 4));
    MakeCellButton(this, kCellButton2, 234, 239, 238, QPoint(146, 4));
    return true;
}

void CRootLand::DrawCell(QPainter& dc, const QRect& rect, const CellData*) {
    // The picture is the corner's size less the header row's last pixels.
    dc.fillRect(rect, QColor(173, 186, 206));
    dc.drawPixmap(0, 0, m_background);
}

QString CRootLand::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CRootLand::ShowContextMenu(int, int) {}

bool CRootLand::event(QEvent* e) {
    const int id = CommandId(e);
    if (id == 0) return CTableCell::event(e);
    if (CTableHost* host = TableHost()) {
        if (id == kCellButton1) host->OpenDataSelection();
        if (id == kCellButton2) host->OpenCountrySelection();
    }
    return true;
}

// ---- CRowHeadLand ----

bool CRowHeadLand::InitCell() {
    m_menu = MakeCellButton(this, kCellButton1, 217, 216, 215, QPoint(159, 3));
    return true;
}

void CRowHeadLand::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    const int w = rect.width();
    const int h = rect.height();
    dc.fillRect(rect, GetRow() % 2 != 0 ? QColor(237, 226, 191) : QColor(231, 219, 181));
    VLine(dc, 0, 0, h, QColor(244, 233, 211));
    VLine(dc, 1, 0, h, QColor(233, 226, 198));
    VLine(dc, w - 1, 0, h, QColor(204, 188, 162));
    HLine(dc, 0, w, h - 1, QColor(187, 187, 187));
    static const QFont kFont = CellFont("Small Fonts", 7.4, true);
    dc.setFont(kFont);
    dc.setPen(QColor(111, 102, 86));
    dc.drawText(rect.adjusted(4, 4, -18, -4), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                GetCellText(record));
}

QString CRowHeadLand::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CRowHeadLand::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

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
    } else if (id == kMenuWorldMap && TableHost() != nullptr && GetTable() != nullptr) {
        TableHost()->ShowMapValues(GetTable()->GetTag(GetColumn(), GetRow()), kReferenceYear);
    }
}

bool CRowHeadLand::event(QEvent* e) {
    if (CommandId(e) == kCellButton1) {
        const QPoint at = TopRight(m_menu);
        ShowContextMenu(at.x(), at.y());
        return true;
    }
    return CTableCell::event(e);
}
