#include "table/CellKinds.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "controls/BitmapResource.h"
#include "controls/CommandEvent.h"
#include "controls/FlatMenu.h"
#include "controls/NOXButton.h"
#include "table/CellData.h"
#include "table/CellKindHTML.h"
#include "table/CellKindsShared.h"
#include "table/Table.h"
#include "table/TableFill.h"
#include "table/TableWnd.h"

void HLine(QPainter& dc, int x0, int x1, int y, const QColor& colour) {
    if (x1 > x0) dc.fillRect(x0, y, x1 - x0, 1, colour);
}

void VLine(QPainter& dc, int x, int y0, int y1, const QColor& colour) {
    if (y1 > y0) dc.fillRect(x, y0, 1, y1 - y0, colour);
}

void FramePixels(QPainter& dc, const QRect& r, const QColor& colour) {
    HLine(dc, r.left(), r.right() + 1, r.top(), colour);
    HLine(dc, r.left(), r.right() + 1, r.bottom(), colour);
    VLine(dc, r.left(), r.top(), r.bottom() + 1, colour);
    VLine(dc, r.right(), r.top(), r.bottom() + 1, colour);
}

void Frame3d(QPainter& dc, const QRect& r, const QColor& topLeft, const QColor& bottomRight) {
    HLine(dc, r.left(), r.right(), r.top(), topLeft);
    VLine(dc, r.left(), r.top(), r.bottom(), topLeft);
    VLine(dc, r.right(), r.top(), r.bottom() + 1, bottomRight);
    HLine(dc, r.left(), r.right() + 1, r.bottom(), bottomRight);
}

void DrawDataEdges(QPainter& dc, const QRect& r, bool selected) {
    const int w = r.width();
    const int h = r.height();
    if (selected) {
        const QColor orange(255, 138, 14);
        FramePixels(dc, QRect(0, 0, w - 1, h - 1), orange);
        FramePixels(dc, QRect(1, 1, w - 3, h - 3), orange);
        return;
    }
    VLine(dc, 0, 0, h, Qt::white);
    VLine(dc, w - 1, 0, h, QColor(191, 191, 191));
    HLine(dc, 0, w, h - 1, QColor(187, 187, 187));
}

bool IsSelectedCell(const CTableCell* cell) {
    const CTable* table = cell->GetTable();
    return table != nullptr && table->GetSelectedColumn() == cell->GetColumn()
           && table->GetSelectedRow() == cell->GetRow();
}

std::int32_t RecordYear(const CellData* record, std::int32_t fallback) {
    std::int32_t year = fallback;
    if (record != nullptr) record->GetYear(year);
    return year;
}

QString KindHTML(const CellData* record) {
    return QString::fromStdString(CellKindHTML(record != nullptr ? *record : CellData()));
}

QCursor PointerCursor(const QWidget* cell) { return TableResourcesOf(cell).pointer; }

CNOXButton* MakeCellButton(QWidget* cell, int id, int normal, int hover, int pressed,
                           const QPoint& pos) {
    auto* button = new CNOXButton(cell);
    button->SetBitmaps(normal, hover, pressed);
    const QCursor cursor = PointerCursor(cell);
    button->Create(id, pos, &cursor);
    return button;
}

CNOXButton* MakeCellButton(QWidget* cell, int id, const CCellButton& pictures, const QPoint& pos) {
    CNOXButton* button
        = MakeCellButton(cell, id, pictures.normal, pictures.hover, pictures.pressed, pos);
    if (pictures.toolTip != nullptr) button->SetToolTip(QString::fromUtf8(pictures.toolTip));
    return button;
}

CellSortButton MakeSortButton(QWidget* cell, int id, const CCellButton& pictures,
                              const QPoint& pos) {
    return {MakeCellButton(cell, id, pictures, pos), pictures.normal, pictures.active};
}

QPoint TopRight(const QWidget* button) { return button->mapToGlobal(QPoint(button->width(), 0)); }

int CommandId(const QEvent* e) {
    if (e->type() != CCommandEvent::kType) return 0;
    return static_cast<const CCommandEvent*>(e)->Id();
}

void CellSortButton::Show(bool on) {
    if (button == nullptr || on == active) return;
    active = on;
    button->SetBitmap(CNOXButton::kNormal, LoadBitmapResource(on ? activeId : normalId));
}

bool RunSizeCommand(CTableCell* cell, int id, int defaultWidth) {
    CTable* table = cell->GetTable();
    if (table == nullptr) return false;
    // Taken before the first change: the cell itself is resized by it.
    const int width = cell->width();
    const int height = cell->height();
    switch (id) {
        case kMenuCellSizeAll:
            table->SetAllColumnWidths(width, false);
            table->SetAllRowHeights(height, true);
            return true;
        case kMenuCellSizeDefault:
            table->SetAllColumnWidths(defaultWidth, false);
            table->SetAllRowHeights(kTableRowHeight, true);
            return true;
        case kMenuWidthAll:
            table->SetAllColumnWidths(width, true);
            return true;
        case kMenuWidthDefault:
            table->SetAllColumnWidths(defaultWidth, true);
            return true;
        case kMenuHeightAll:
            table->SetAllRowHeights(height, true);
            return true;
        case kMenuHeightDefault:
            table->SetAllRowHeights(kTableRowHeight, true);
            return true;
        default:
            return false;
    }
}

// ---- Context menus ----

CCellMenuPopup::CCellMenuPopup(const CellMenu& entries) { Fill(*NewMenu(), entries); }

CCellMenuPopup::~CCellMenuPopup() = default;

CFlatMenu* CCellMenuPopup::NewMenu() {
    auto menu = std::make_unique<CFlatMenu>();
    menu->SetStyle(QStringLiteral("MS Sans Serif"), 8, Qt::black, QColor(63, 221, 224),
                   QColor(87, 106, 122), Qt::white, QColor(51, 51, 51));
    menu->Attach(-1);
    m_menus.push_back(std::move(menu));
    return m_menus.back().get();
}

void CCellMenuPopup::Fill(CFlatMenu& menu, const CellMenu& entries) {
    for (const CellMenuEntry& entry : entries) {
        if (entry.text.isEmpty()) {
            menu.AppendItem(CFlatMenu::kSeparator, QString(), 0);
        } else if (!entry.submenu.empty()) {
            CFlatMenu* submenu = NewMenu();
            Fill(*submenu, entry.submenu);
            menu.AppendSubmenu(0, entry.text, submenu);
        } else {
            menu.AppendItem(0, entry.text, entry.id);
        }
    }
}

int CCellMenuPopup::Track(QWidget* owner, int x, int y, bool modal) {
    return m_menus.front()->TrackPopup(x, y, owner, modal);
}

void RunCellMenu(CTableCell* cell, CCellCommands* commands, int x, int y) {
    const CellMenu entries = commands->MenuEntries();
    if (entries.empty()) return;
    QPointer<CTableCell> alive(cell);
    CCellMenuPopup popup(entries);
    const int id = popup.Track(cell, x, y);
    if (id != 0 && alive) commands->OnMenuCommand(id);
}

// ---- Flag ----

CFlagPicture::CFlagPicture(QWidget* parent, const QPixmap& picture)
    : QWidget(parent), m_picture(picture) {
    resize(picture.size());
    setCursor(PointerCursor(parent));
    setToolTip(QStringLiteral("Flagge zeigen"));
}

void CFlagPicture::paintEvent(QPaintEvent*) {
    QPainter dc(this);
    dc.drawPixmap(0, 0, m_picture);
}

void CFlagPicture::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint())) {
        PostCommandToParent(this, kCellFlag);
    }
}

// ---- Corner ----

bool CRoot::InitCell() {
    m_background = LoadBitmapResource(m_look.background);
    MakeCellButton(this, kCellButton1, m_look.first, QPoint(113, 4));
    MakeCellButton(this, kCellButton2, m_look.second, QPoint(146, 4));
    if (m_look.sortButtons) {
        m_sortAscending
            = MakeSortButton(this, kCellSortAscending, m_look.sortAscending, QPoint(3, 36));
        m_sortDescending = MakeSortButton(this, kCellSortDescending, m_look.sortDescending,
                                          QPoint(m_sortAscending.button->width() + 4, 36));
    }
    return true;
}

void CRoot::DrawCell(QPainter& dc, const QRect& rect, const CellData*) {
    // The picture is the corner's size less the header row's last pixels.
    dc.fillRect(rect, kCornerBack);
    dc.drawPixmap(0, 0, m_background);
    if (!m_look.sortButtons) return;
    const CTable* table = GetTable();
    const bool sorted = table != nullptr && table->GetSortColumn() == 0;
    m_sortAscending.Show(sorted && table->IsSortAscending());
    m_sortDescending.Show(sorted && !table->IsSortAscending());
}

QString CRoot::GetCellHTML(const CellData* record) const { return KindHTML(record); }

bool CRoot::event(QEvent* e) {
    if (const int id = CommandId(e)) {
        OnButton(id);
        return true;
    }
    return CTableCell::event(e);
}

// ---- Row header ----

bool CRowHead::InitCell() {
    m_menu = MakeCellButton(this, kCellButton1, m_look.menu, QPoint(159, 3));
    return true;
}

void CRowHead::DrawCell(QPainter& dc, const QRect& rect, const CellData* record) {
    const int w = rect.width();
    const int h = rect.height();
    dc.fillRect(rect, GetRow() % 2 != 0 ? m_look.oddBack : m_look.evenBack);
    VLine(dc, 0, 0, h, m_look.leftOuter);
    VLine(dc, 1, 0, h, m_look.leftInner);
    VLine(dc, w - 1, 0, h, m_look.right);
    HLine(dc, 0, w, h - 1, m_look.bottom);
    dc.setFont(m_look.font.Font());
    dc.setPen(m_look.ink);
    const int right = m_look.textRightEdge > 0 ? m_look.textRightEdge : w - m_look.textRightInset;
    dc.drawText(QRect(4, 4, right - 4, h - 8), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                GetCellText(record));
}

QString CRowHead::GetCellHTML(const CellData* record) const { return KindHTML(record); }

void CRowHead::ShowContextMenu(int x, int y) { RunCellMenu(this, this, x, y); }

bool CRowHead::event(QEvent* e) {
    if (CommandId(e) == kCellButton1) {
        const QPoint at = TopRight(m_menu);
        ShowContextMenu(at.x(), at.y());
        return true;
    }
    return CTableCell::event(e);
}

// ---- Registration ----

void RegisterCellKinds() {
    RegisterCellClass<CCellLand>(cellkind::kCellLand);
    RegisterCellClass<CColHeadLand>(cellkind::kColHeadLand);
    RegisterCellClass<CRootLand>(cellkind::kRootLand);
    RegisterCellClass<CRowHeadLand>(cellkind::kRowHeadLand);
    RegisterCellClass<CCellData>(cellkind::kCellData);
    RegisterCellClass<CColHeadData>(cellkind::kColHeadData);
    RegisterCellClass<CRootData>(cellkind::kRootData);
    RegisterCellClass<CRowHeadData>(cellkind::kRowHeadData);
    RegisterCellClass<CCellDataYear>(cellkind::kCellDataYear);
    RegisterCellClass<CColHeadDataYear>(cellkind::kColHeadDataYear);
}
