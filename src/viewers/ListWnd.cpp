#include "viewers/ListWnd.h"

#include <QApplication>
#include <QCursor>
#include <QDrag>
#include <QKeyEvent>
#include <QMimeData>
#include <QPainter>
#include <QWheelEvent>
#include <algorithm>

#include "controls/TemplateLoader.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"
#include "viewers/FlatScrollBar.h"
#include "viewers/ListWndItem.h"

namespace {

constexpr int kBarWidth = 16;
constexpr int kHoverPeriod = 100;
constexpr int kDragDelay = 250;

}  // namespace

const char* CListWnd::EmptyText() { return "Keine Einträge gefunden"; }

CListWnd::CListWnd(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("ListWnd"));
    setFocusPolicy(Qt::StrongFocus);
    setMouseTracking(true);
    setAttribute(Qt::WA_OpaquePaintEvent);
    m_items.reserve(kMaxItems);

    m_bar = new CFlatScrollBar(this);
    m_bar->setEnabled(false);
    m_bar->hide();
    connect(m_bar, &CFlatScrollBar::actionTriggered, this, [this](CFlatScrollBar::Action action) {
        switch (action) {
            case CFlatScrollBar::Action::LineUp:
                LineUp();
                break;
            case CFlatScrollBar::Action::LineDown:
                LineDown();
                break;
            case CFlatScrollBar::Action::PageUp:
                PageUp();
                break;
            case CFlatScrollBar::Action::PageDown:
                PageDown();
                break;
        }
    });
    connect(m_bar, &CFlatScrollBar::thumbTracked, this, &CListWnd::ThumbTo);

    m_hoverTimer.setInterval(kHoverPeriod);
    connect(&m_hoverTimer, &QTimer::timeout, this, &CListWnd::CheckHover);
    m_dragTimer.setSingleShot(true);
    m_dragTimer.setInterval(kDragDelay);
    connect(&m_dragTimer, &QTimer::timeout, this, &CListWnd::StartDrag);
}

CListWnd::~CListWnd() = default;

bool CListWnd::Create(CDatabase* database, const std::string& query, const std::string& keyField,
                      const std::string& textField, int gap, int leftMargin, int rightMargin,
                      QWidget* owner, int placeholderId, std::uint8_t option,
                      const std::string& itemKind) {
    if (!owner) return false;
    QWidget* placeholder = nullptr;
    for (QWidget* child : owner->findChildren<QWidget*>()) {
        if (child != this && CTemplateControls::IdOf(child) == placeholderId) {
            placeholder = child;
            break;
        }
    }
    if (!placeholder) return false;
    const QRect rect(placeholder->parentWidget()->mapTo(owner, placeholder->pos()),
                     placeholder->size());
    placeholder->hide();
    return Create(database, query, keyField, textField, gap, leftMargin, rightMargin, owner, rect,
                  placeholderId, option, itemKind);
}

bool CListWnd::Create(CDatabase* database, const std::string& query, const std::string& keyField,
                      const std::string& textField, int gap, int leftMargin, int rightMargin,
                      QWidget* owner, const QRect& rect, int id, std::uint8_t option,
                      const std::string& itemKind) {
    m_database = database;
    m_keyField = keyField;
    m_textField = textField;
    m_gap = gap;
    m_leftMargin = leftMargin;
    m_rightMargin = rightMargin;
    m_option = option;
    m_kind = itemKind;
    m_id = id;
    m_owner = owner;
    if (owner && parentWidget() != owner) setParent(owner);
    setGeometry(rect);
    m_width = width();
    show();

    ClearItems();
    m_recordset = std::make_unique<CRecordset>(database);
    m_query = query;
    const bool opened = Open(query, "CListWnd::OnCreate");
    m_bar->SetPosition(0);
    if (opened) Rebuild(0);
    UpdateScrollBar();
    update();
    return opened;
}

bool CListWnd::Open(const std::string& query, const char* context) {
    if (!m_recordset) return false;
    CDBBusyCursor busy;
    return DBGuard(context, [&] { m_recordset->Open(query); });
}

void CListWnd::SetScrollAmounts(int line, int page) {
    m_line = std::max(1, line);
    m_page = std::max(0, page);
}

int CListWnd::PageAmount() const {
    return m_page > 0 ? m_page : std::max(m_line, ClientHeight() - m_line);
}

long CListWnd::GetRecordCount() const {
    return m_recordset && m_recordset->IsOpen() ? m_recordset->GetRecordCount() : 0;
}

int CListWnd::ItemWidth() const {
    return std::max(1, width() - kBarWidth - m_leftMargin - m_rightMargin);
}

void CListWnd::SetBackColour(const QColor& colour) {
    m_back = colour;
    update();
}

void CListWnd::SetShowEmptyText(bool show) {
    m_showEmpty = show;
    update();
}

CListWndItem* CListWnd::Item(int index) const {
    return index >= 0 && index < ItemCount() ? m_items[index].item : nullptr;
}
long CListWnd::ItemPosition(int index) const {
    return index >= 0 && index < ItemCount() ? m_items[index].position : -1;
}
long CListWnd::ItemKey(int index) const {
    return index >= 0 && index < ItemCount() ? m_items[index].key : -1;
}

CListWndItem* CListWnd::MakeItem(long position, long& key, int& height, const char* context) {
    CListWndItem* made = nullptr;
    const bool read = DBGuard(context, [&] {
        m_recordset->SetAbsolutePosition(position);
        std::unique_ptr<CListWndItem> item(CreateListWndItem(m_kind));
        item->Attach(this, m_recordset.get(), m_textField, m_option);
        item->Fill();
        double number = -1;
        ToNumber(m_recordset->GetFieldValue(m_keyField), number);
        key = static_cast<long>(number);
        made = item.release();
    });
    if (!read) return nullptr;
    made->setParent(this);
    made->SetState(key == m_selected ? CListWndItem::kSelected : CListWndItem::kNormal);
    height = made->Draw(nullptr, QRect(0, 0, ItemWidth(), 0), true, made->State());
    return made;
}

bool CListWnd::AddBottom(long position, int y) {
    // The table holds at most kMaxItems: in a tall window with very small items the records
    // beyond them are not added, and the rest of the window stays empty.
    if (GetRecordCount() == 0 || ItemCount() >= kMaxItems) return false;
    long next = position;
    if (next < 0) {
        next = m_items.empty() ? std::max(0L, m_recordset->GetAbsolutePosition())
                               : m_items.back().position + 1;
    }
    if (next >= GetRecordCount()) return false;
    long key = -1;
    int h = 0;
    CListWndItem* item = MakeItem(next, key, h, "CListWnd::AddBottom");
    if (!item) return false;
    const int top = m_items.empty() ? y : m_items.back().item->geometry().bottom() + 1 + m_gap;
    item->setGeometry(m_leftMargin, top, ItemWidth(), h);
    item->show();
    m_items.push_back({item, next, key, m_option});
    return true;
}

bool CListWnd::AddTop() {
    if (m_items.empty() || ItemCount() >= kMaxItems) return false;
    const long previous = m_items.front().position - 1;
    if (previous < 0) return false;
    long key = -1;
    int h = 0;
    CListWndItem* item = MakeItem(previous, key, h, "CListWnd::AddTop");
    if (!item) return false;
    item->setGeometry(m_leftMargin, m_items.front().item->y() - m_gap - h, ItemWidth(), h);
    item->show();
    m_items.insert(m_items.begin(), {item, previous, key, m_option});
    return true;
}

void CListWnd::ClearItems() {
    for (Entry& entry : m_items) delete entry.item;
    m_items.clear();
    m_hot = nullptr;
}

void CListWnd::Rebuild(long position, int y) {
    ClearItems();
    AddBottom(position, y);
    Layout();
    // A record near the end comes as far up as the records after it allow.
    KeepEnds();
}

void CListWnd::Layout() {
    const int h = ClientHeight();
    // Items wholly outside go.
    for (auto it = m_items.begin(); it != m_items.end();) {
        const QRect g = it->item->geometry();
        if (g.bottom() < 0 || g.top() >= h) {
            if (m_hot == it->item) m_hot = nullptr;
            delete it->item;
            it = m_items.erase(it);
        } else {
            ++it;
        }
    }
    if (m_items.empty()) AddBottom();
    while (!m_items.empty() && m_items.back().item->geometry().bottom() + 1 + m_gap < h
           && AddBottom()) {
    }
    while (!m_items.empty() && m_items.front().item->y() > 0 && AddTop()) {
    }
    if (!m_items.empty()) {
        m_topPosition = m_items.front().position;
        m_topOffset = m_items.front().item->y();
    }
    UpdateScrollBar();
    update();
}

void CListWnd::UpdateScrollBar() {
    const long count = GetRecordCount();
    if (m_items.empty() || count == 0) {
        m_bar->setEnabled(false);
        m_bar->hide();
        return;
    }
    const long top = m_items.front().position;
    const long thumb = count > 1 ? 1000L * top / (count - 1) : 0;
    m_bar->SetPosition(static_cast<int>(std::clamp(thumb, 0L, 1000L)));
    const long share = ClientHeight() / count;
    m_bar->SetThumbLength(share < 10 ? 10 : static_cast<int>(2 * share));
    m_bar->setEnabled(true);
    m_bar->show();
}

void CListWnd::ScrollBy(int d) {
    if (m_items.empty()) return;
    const int h = ClientHeight();
    if (std::abs(d) > h) d = static_cast<int>(0.4 * d);
    // Not past the top of the first record, nor above the bottom of the last.
    if (d > 0 && m_items.front().position == 0) d = std::clamp(-m_items.front().item->y(), 0, d);
    if (d < 0 && m_items.back().position == GetRecordCount() - 1)
        d = std::clamp(h - (m_items.back().item->geometry().bottom() + 1), d, 0);
    if (d == 0) return;
    for (Entry& entry : m_items) entry.item->move(entry.item->x(), entry.item->y() + d);
    Layout();
    KeepEnds();
    UpdateHover();
}

void CListWnd::KeepEnds() {
    // The records at either end may only now have come in: the first does not come down past
    // the window's top, the last not up past its bottom while records above it could fill the
    // window.
    if (m_items.empty()) return;
    const Entry& first = m_items.front();
    const Entry& last = m_items.back();
    const int h = ClientHeight();
    const int lastBottom = last.item->geometry().bottom() + 1;
    int shift = 0;
    if (first.position == 0 && first.item->y() > 0) {
        shift = -first.item->y();
    } else if (last.position == GetRecordCount() - 1 && lastBottom < h) {
        shift = h - lastBottom;
        if (first.position == 0) shift = std::min(shift, -first.item->y());
    }
    if (shift == 0) return;
    for (Entry& entry : m_items) entry.item->move(entry.item->x(), entry.item->y() + shift);
    Layout();
}

void CListWnd::LineUp() { ScrollBy(m_line); }
void CListWnd::LineDown() { ScrollBy(-m_line); }
void CListWnd::PageUp() { ScrollBy(PageAmount()); }
void CListWnd::PageDown() { ScrollBy(-PageAmount()); }

void CListWnd::ThumbTo(int t) {
    const long count = GetRecordCount();
    if (count == 0) return;
    const long position
        = std::min(count - 1, static_cast<long>(count * std::clamp(t, 0, 1000) * 0.001));
    Rebuild(position);
    UpdateHover();
}

bool CListWnd::ReQuery(const std::string& query, bool keepPosition) {
    const long oldTop = m_items.empty() ? 0 : m_items.front().position;
    const int oldOffset = m_items.empty() ? 0 : m_items.front().item->y();
    ClearItems();
    if (!m_recordset) m_recordset = std::make_unique<CRecordset>(m_database);
    m_recordset->Close();
    m_query = query;
    const bool opened = Open(query, "CListWnd::ReQuery");
    const long count = GetRecordCount();
    if (!opened || count == 0) {
        UpdateScrollBar();
        update();
        return opened;
    }
    if (keepPosition)
        Rebuild(std::min(oldTop, count - 1), oldOffset);
    else
        Rebuild(0);
    UpdateHover();
    return true;
}

bool CListWnd::FindFirst(const std::string& criteria, bool move) {
    if (GetRecordCount() == 0) return false;
    long found = -1;
    const long remembered = m_recordset->GetAbsolutePosition();
    DBGuard("CListWnd::FindFirst", [&] {
        if (m_recordset->FindFirst(criteria)) found = m_recordset->GetAbsolutePosition();
    });
    if (found < 0) {
        if (remembered >= 0 && remembered < GetRecordCount())
            m_recordset->SetAbsolutePosition(remembered);
        return false;
    }
    if (move) {
        Rebuild(found);
        UpdateHover();
    }
    return true;
}

void CListWnd::Select(long key, bool ensureVisible) {
    m_selected = key;
    bool onScreen = false;
    for (Entry& entry : m_items) {
        const bool selected = entry.key == key;
        onScreen = onScreen || selected;
        entry.item->SetState(selected              ? CListWndItem::kSelected
                             : entry.item == m_hot ? CListWndItem::kHot
                                                   : CListWndItem::kNormal);
    }
    if (ensureVisible && !onScreen && key >= 0)
        FindFirst(SqlFormat("%s=%ld", m_keyField.c_str(), key), true);
}

int CListWnd::IndexAt(const QPoint& point) const {
    for (int i = 0; i < ItemCount(); ++i) {
        if (m_items[i].item->geometry().contains(point)) return i;
    }
    return -1;
}

void CListWnd::SetHot(CListWndItem* item) {
    if (item == m_hot) return;
    if (m_hot && m_hot->State() == CListWndItem::kHot) m_hot->SetState(CListWndItem::kNormal);
    m_hot = item;
    if (item && item->State() != CListWndItem::kSelected) item->SetState(CListWndItem::kHot);
}

void CListWnd::UpdateHover() {
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    if (!rect().contains(pointer)) return;
    SetHot(Item(IndexAt(pointer)));
}

void CListWnd::CheckHover() {
    // The pointer may leave without the list seeing it go (into another window).
    if (rect().contains(mapFromGlobal(QCursor::pos()))) return;
    SetHot(nullptr);
    m_hoverTimer.stop();
}

QMimeData* CListWnd::DragData(int index) const {
    if (index < 0 || index >= ItemCount()) return nullptr;
    const Entry& entry = m_items[index];
    auto* data = new QMimeData;
    QByteArray bytes;
    const qint64 values[2] = {entry.position, entry.key};
    bytes.append(reinterpret_cast<const char*>(values), sizeof values);
    bytes.append(static_cast<char>(entry.option));
    data->setData(QString::fromLatin1(kDragFormat), bytes);
    std::string text;
    if (entry.item->GetDragText(text)) data->setText(QString::fromStdString(text));
    return data;
}

void CListWnd::StartDrag() {
    const int index = IndexAt(mapFromGlobal(QCursor::pos()));
    if (index < 0 || m_items[index].key != m_selected
        || !(QApplication::mouseButtons() & Qt::LeftButton))
        return;
    auto* drag = new QDrag(this);
    drag->setMimeData(DragData(index));
    drag->exec(Qt::CopyAction);
}

void CListWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), m_back);
    if (!m_items.empty() || !m_showEmpty) return;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(rect(), Qt::AlignCenter | Qt::TextSingleLine, QString::fromUtf8(EmptyText()));
}

void CListWnd::resizeEvent(QResizeEvent*) {
    m_bar->setGeometry(width() - kBarWidth, 0, kBarWidth, height());
    if (m_width != width() && !m_items.empty()) {
        // The items' heights follow their width.
        m_width = width();
        Rebuild(m_topPosition, m_topOffset);
        return;
    }
    m_width = width();
    if (!m_items.empty()) Layout();
}

void CListWnd::wheelEvent(QWheelEvent* event) {
    const QPoint pixels = event->pixelDelta();
    if (!pixels.isNull()) {
        ScrollBy(pixels.y());
    } else {
        // One notch scrolls the lines the desktop asks for; finer wheels add up to notches.
        m_wheelRest += event->angleDelta().y();
        const int notches = m_wheelRest / 120;
        m_wheelRest -= notches * 120;
        if (notches != 0) ScrollBy(notches * m_line * QApplication::wheelScrollLines());
    }
    event->accept();
}

void CListWnd::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Up:
            LineUp();
            break;
        case Qt::Key_Down:
            LineDown();
            break;
        case Qt::Key_PageUp:
            PageUp();
            break;
        case Qt::Key_PageDown:
            PageDown();
            break;
        default:
            QWidget::keyPressEvent(event);
            return;
    }
    event->accept();
}

void CListWnd::mouseMoveEvent(QMouseEvent* event) {
    SetHot(Item(IndexAt(event->position().toPoint())));
    if (!m_hoverTimer.isActive()) m_hoverTimer.start();
}

void CListWnd::leaveEvent(QEvent*) { SetHot(nullptr); }

void CListWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    setFocus(Qt::MouseFocusReason);
    const int index = IndexAt(event->position().toPoint());
    if (index < 0) return;
    Select(m_items[index].key, false);
    if (m_dragEnabled) m_dragTimer.start();
}

void CListWnd::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_dragTimer.stop();
    if (IndexAt(event->position().toPoint()) < 0 || !m_owner) return;
    // Posted: the owner may well rebuild or replace the list when it acts on the choice.
    QCoreApplication::postEvent(m_owner, new CListChoiceEvent(m_id, m_selected));
}
