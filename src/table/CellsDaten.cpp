// The cell kinds of the data-column view: a column per data field, a row per country.
#include <QPainter>
#include <QPointer>

#include "controls/BitmapResource.h"
#include "controls/NOXButton.h"
#include "controls/NOXButtonText.h"
#include "data/ValueRoutines.h"
#include "table/CellData.h"
#include "table/CellKinds.h"
#include "table/CellKindsShared.h"
#include "table/Table.h"
#include "table/TableFill.h"
#include "table/TableWnd.h"
#include "table/YearLogic.h"

namespace {

double NumberOf(const CVariant& value) {
    double number = 0.0;
    ToNumber(value, number);
    return number;
}

CellMenuEntry SortSubmenu(const QString& text) {
    return {text,
            0,
            {{QStringLiteral("aufsteigend"), kMenuSortAscending, {}},
             {QStringLiteral("absteigend"), kMenuSortDescending, {}}}};
}

std::int32_t OwnTag(const CTableCell* cell) {
    return cell->GetTable() != nullptr ? cell->GetTable()->GetTag(cell->GetColumn(), cell->GetRow())
                                       : 0;
}

}  // namespace

// ---- CCellData ----

QRect CCellData::DrawValue(QPainter& dc, const QRect& rect, const CellData* record,
                           int rightMargin) {
    const CFieldCellLook& look = DatenLook().cell;
    const int w = rect.width();
    dc.fillRect(rect, GetRow() % 2 != 0 ? look.oddBack : look.evenBack);
    DrawDataEdges(dc, rect, IsSelectedCell(this));
    QRect textRect(5, 4, w - rightMargin - 5, rect.height() - 4);
    if (record == nullptr) return textRect;

    QColor ink = look.ink;
    double number = 0.0;
    if (!ToNumber(record->value, number)) {
        dc.setFont(look.normalFont.Font());
        dc.setPen(ink);
        dc.drawText(textRect, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, GetCellText(record));
        return textRect;
    }

    const CTable* table = GetTable();
    const double low = table != nullptr ? NumberOf(table->GetColumnMin(GetColumn())) : 0.0;
    const double high = table != nullptr ? NumberOf(table->GetColumnMax(GetColumn())) : 0.0;
    if (low != high) {
        const QRect bar(textRect.left(), 4, textRect.width(), 15);
        const double width = bar.width();
        if (number >= 0) {
            dc.fillRect(bar, look.barBack);
            const int part = high > 0 ? int(qBound(0.0, width * number / high, width)) : 0;
            dc.fillRect(bar.left(), bar.top(), part, bar.height(), look.bar);
        } else {
            // Negative values grow from the right edge, scaled to the column's minimum.
            dc.fillRect(bar, look.negativeBarBack);
            const int part = low < 0 ? int(qBound(0.0, width * number / low, width)) : 0;
            dc.fillRect(bar.left() + bar.width() - part, bar.top(), part, bar.height(),
                        look.negativeBar);
            ink = look.negativeInk;
        }
        textRect.adjust(4, 0, -4, 0);
    }
    dc.setFont(number == 0 ? look.normalFont.Font() : look.semiBoldFont.Font());
    dc.setPen(ink);
    dc.drawText(textRect, Qt::AlignRight | Qt::AlignTop | Qt::TextSingleLine,
                number == 0 ? QStringLiteral("k.A.") : GetCellText(record));
    return textRect;
}

void CCellData::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    DrawValue(dc, rect, record, 5);
}

QString CCellData::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CCellData::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

CellMenu CCellData::MenuEntries() const {
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
        SortSubmenu(QStringLiteral("Spalte sortieren")),
        {},
        {QStringLiteral("Detailinfo anzeigen"), kMenuDetails, {}},
    };
}

void CCellData::OnMenuCommand(int id) {
    if (RunSizeCommand(this, id, kDatenColumnWidth) || GetTable() == nullptr) return;
    if (id == kMenuSortAscending || id == kMenuSortDescending) {
        GetTable()->SortByColumn(GetColumn(), id == kMenuSortAscending);
    } else if (id == kMenuDetails) {
        GetTable()->Select(GetColumn(), GetRow());
    }
}

// ---- CCellDataYear ----

void CCellDataYear::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    const QRect textRect = DrawValue(dc, rect, record, 41);
    double number = 0.0;
    if (record == nullptr || !ToNumber(record->value, number) || number == 0) return;

    const std::int32_t year = RecordYear(record, 0);
    const CTable* table = GetTable();
    const std::int32_t columnYear
        = table != nullptr ? RecordYear(table->GetData(GetColumn(), 0), 0) : 0;
    const CFieldCellLook& look = DatenLook().cell;
    const int left = textRect.x() + textRect.width() + 5;
    dc.setFont(look.yearFont.Font());
    // A value older than the column's year stands out in red.
    dc.setPen(year == columnYear ? look.yearInk : look.olderYearInk);
    dc.drawText(QRect(left, textRect.y(), rect.width() - 2 - left, 15),
                Qt::AlignRight | Qt::AlignVCenter | Qt::TextSingleLine,
                QStringLiteral("(%1)").arg(unsigned(year)));
}

QString CCellDataYear::GetCellHTML(const CellData* record) const { return KindHTML(record); }

// ---- CColHeadData ----

bool CColHeadData::InitCell() {
    const CFieldHeadLook& look = DatenLook().columnHead;
    m_menu = MakeCellButton(this, kCellButton1, look.menu, QPoint(1, 1));
    m_menu->move(width() - 16, 3);
    m_sortAscending = MakeSortButton(this, kCellSortAscending, look.sortAscending, QPoint(3, 36));
    m_sortDescending = MakeSortButton(this, kCellSortDescending, look.sortDescending,
                                      QPoint(m_sortAscending.button->width() + 4, 36));
    return true;
}

void CColHeadData::DrawHead(QPainter& dc, const QRect& rect, const CellData* record,
                            int rightMargin) {
    const CFieldHeadLook& look = DatenLook().columnHead;
    const int w = rect.width();
    const int h = rect.height();
    dc.fillRect(rect, look.back);
    HLine(dc, 0, w, h - 1, look.bottom);
    VLine(dc, 0, 0, h, look.left);
    VLine(dc, w - 1, 0, h, look.right);
    dc.setFont(look.font.Font());
    dc.setPen(look.ink);
    dc.drawText(rect.adjusted(4, 4, -23, -16), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                GetCellText(record));

    const CTable* table = GetTable();
    const bool sorted = table != nullptr && table->GetSortColumn() == GetColumn();
    m_sortAscending.Show(sorted && table->IsSortAscending());
    m_sortDescending.Show(sorted && !table->IsSortAscending());

    const QRect strip(1, h - 17, w - rightMargin - 1, 16);
    dc.fillRect(strip, look.strip);
    Frame3d(dc, strip, look.stripLight, look.stripDark);
}

void CColHeadData::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    DrawHead(dc, rect, record, 1);
}

void CColHeadData::OnCellSize(int, int, int right, int) {
    if (m_menu != nullptr) m_menu->move(right - 16, 3);
}

QString CColHeadData::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CColHeadData::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

CellMenu CColHeadData::MenuEntries() const {
    CellMenu menu{
        {QStringLiteral("Spaltenbreite für alle übernehmen"), kMenuWidthAll, {}},
        {QStringLiteral("Spaltenbreite auf Standard einstellen"), kMenuWidthDefault, {}},
        {},
        SortSubmenu(QStringLiteral("Spalte sortieren")),
    };
    if (canShowMap(TableDatabaseOf(this), OwnTag(this))) {
        menu.push_back({});
        menu.push_back({QStringLiteral("Projektion auf Weltkarte"), kMenuWorldMap, {}});
    }
    return menu;
}

void CColHeadData::OnMenuCommand(int id) {
    switch (id) {
        case kMenuWidthAll:
        case kMenuWidthDefault:
            RunSizeCommand(this, id, kDatenColumnWidth);
            break;
        case kMenuSortAscending:
            SortAscending();
            break;
        case kMenuSortDescending:
            SortDescending();
            break;
        case kMenuWorldMap:
            if (CTableHost* host = TableHostOf(this); host != nullptr && GetTable() != nullptr) {
                const std::int32_t year
                    = RecordYear(GetTable()->GetData(GetColumn(), GetRow()), ReferenceYear());
                host->ShowMapValues(OwnTag(this), unsigned(year));
            }
            break;
        default:
            break;
    }
}

void CColHeadData::ShowButtonMenu() {
    const QPoint at = TopRight(m_menu);
    ShowContextMenu(at.x(), at.y());
}

void CColHeadData::SortAscending() {
    if (GetTable() != nullptr) GetTable()->SortByColumn(GetColumn(), true);
}

void CColHeadData::SortDescending() {
    if (GetTable() != nullptr) GetTable()->SortByColumn(GetColumn(), false);
}

bool CColHeadData::event(QEvent* e) {
    if (const int id = CommandId(e)) {
        OnButton(id);
        return true;
    }
    return CTableCell::event(e);
}

void CColHeadData::OnButton(int id) {
    switch (id) {
        case kCellButton1:
            ShowButtonMenu();
            break;
        case kCellSortAscending:
            SortAscending();
            break;
        case kCellSortDescending:
            SortDescending();
            break;
        default:
            break;
    }
}

// ---- CColHeadDataYear ----

bool CColHeadDataYear::InitCell() {
    const CFieldHeadLook& look = DatenLook().columnHead;
    m_year = new CNOXButtonText(this);
    const CNOXButtonText::State states[]
        = {CNOXButtonText::kNormal, CNOXButtonText::kHover, CNOXButtonText::kPressed};
    for (int i = 0; i < 3; ++i) {
        m_year->SetColors(states[i], look.year[i][0], look.year[i][1], look.year[i][2],
                          look.year[i][3]);
    }
    m_year->SetFont(QString::fromLatin1(look.yearFont.face), look.yearFont.points,
                    look.yearFont.semiBold ? 600 : 400);
    const CellData* record
        = GetTable() != nullptr ? GetTable()->GetData(GetColumn(), GetRow()) : nullptr;
    const QCursor cursor = PointerCursor(this);
    m_year->Create(kCellYearButton, QRect(width() - 40, height() - 17, 39, 16),
                   QString::number(unsigned(RecordYear(record, 0))), &cursor);
    return CColHeadData::InitCell();
}

void CColHeadDataYear::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    DrawHead(dc, rect, record, 41);
}

void CColHeadDataYear::OnCellSize(int left, int top, int right, int bottom) {
    CColHeadData::OnCellSize(left, top, right, bottom);
    if (m_year != nullptr) m_year->move(right - 40, bottom - 17);
}

QString CColHeadDataYear::GetCellHTML(const CellData* record) const { return KindHTML(record); }

CellMenu CColHeadDataYear::YearMenuEntries() const {
    std::vector<unsigned> years;
    CellMenu menu;
    if (!CollectYears(TableDatabaseOf(this), OwnTag(this), years)) return menu;
    for (std::size_t i = 0; i < years.size(); ++i) {
        menu.push_back({QString::number(years[i]), int(i) + 1, {}});
    }
    return menu;
}

void CColHeadDataYear::ShowYearMenu() {
    const CellMenu entries = YearMenuEntries();
    if (entries.empty() || m_year == nullptr) return;
    QPointer<CColHeadDataYear> alive(this);
    const QPoint at = mapToGlobal(QPoint(m_year->x() - 1, m_year->y() + m_year->height()));
    CCellMenuPopup popup(entries);
    const int id = popup.Track(this, at.x(), at.y());
    if (id <= 0 || !alive) return;
    if (CTableWnd* window = TableWndOf(this)) {
        window->SetColYear(GetColumn(), entries[id - 1].text.toUInt());
    }
}

void CColHeadDataYear::OnButton(int id) {
    if (id == kCellYearButton) {
        ShowYearMenu();
    } else {
        CColHeadData::OnButton(id);
    }
}

// ---- CRootData ----

CRootData::CRootData() : CRoot(DatenLook().corner) {}

void CRootData::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

CellMenu CRootData::MenuEntries() const {
    return {
        {QStringLiteral("Länder sortieren (aufsteigend)"), kMenuSortAscending, {}},
        {QStringLiteral("Länder sortieren (absteigend)"), kMenuSortDescending, {}},
    };
}

void CRootData::OnMenuCommand(int id) {
    if (GetTable() == nullptr) return;
    if (id == kMenuSortAscending || id == kMenuSortDescending) {
        GetTable()->SortByColumn(0, id == kMenuSortAscending);
    }
}

void CRootData::OnButton(int id) {
    CTableHost* host = TableHostOf(this);
    switch (id) {
        case kCellButton1:
            if (host != nullptr) host->OpenCountrySelection();
            break;
        case kCellButton2:
            if (host != nullptr) host->OpenDataSelection();
            break;
        case kCellSortAscending:
        case kCellSortDescending:
            OnMenuCommand(id == kCellSortAscending ? kMenuSortAscending : kMenuSortDescending);
            break;
        default:
            break;
    }
}

// ---- CRowHeadData ----

CRowHeadData::CRowHeadData() : CRowHead(DatenLook().rowHead) {}

CellMenu CRowHeadData::MenuEntries() const {
    return {
        {QStringLiteral("Länderinfo zeigen"), kMenuLandInfo, {}},
        {QStringLiteral("Karte zeigen"), kMenuLandMap, {}},
        {},
        {QStringLiteral("Zeilenhöhe für alle übernehmen"), kMenuHeightAll, {}},
        {QStringLiteral("Zeilenhöhe auf Standard einstellen"), kMenuHeightDefault, {}},
        {},
        SortSubmenu(QStringLiteral("Länder sortieren")),
    };
}

void CRowHeadData::OnMenuCommand(int id) {
    CTableHost* host = TableHostOf(this);
    switch (id) {
        case kMenuLandInfo:
            if (host != nullptr) host->OpenTextBrowserLandID(OwnTag(this));
            break;
        case kMenuLandMap:
            if (host != nullptr) host->ShowMap(OwnTag(this));
            break;
        case kMenuHeightAll:
        case kMenuHeightDefault:
            RunSizeCommand(this, id, kDatenColumnWidth);
            break;
        case kMenuSortAscending:
        case kMenuSortDescending:
            if (GetTable() != nullptr) {
                GetTable()->SortByColumn(GetColumn(), id == kMenuSortAscending);
            }
            break;
        default:
            break;
    }
}
