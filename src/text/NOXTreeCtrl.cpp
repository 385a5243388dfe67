#include "text/NOXTreeCtrl.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <algorithm>
#include <unordered_set>

#include "controls/BitmapResource.h"
#include "data/Database.h"
#include "data/ErrorReporter.h"
#include "data/SqlText.h"
#include "data/ValueRoutines.h"

namespace {

constexpr int kItemHeight = 16;
constexpr int kIndent = 20;
constexpr int kSlot = 20;
// The drawn check box without bitmaps takes less room than a bitmap slot.
constexpr int kBoxSlot = 18;
// A record chain this deep is a loop in the table, not a tree.
constexpr std::size_t kMaxAncestors = 64;

constexpr int kIdRole = Qt::UserRole;
constexpr int kCheckRole = Qt::UserRole + 1;
constexpr int kPlaceholderRole = Qt::UserRole + 2;

const char* const kPlaceholderText = "~";

QPixmap BitmapOrNone(int id) { return id > 0 ? LoadBitmapResource(id) : QPixmap(); }

std::int32_t ToId(const CVariant& value) {
    double number = 0;
    if (!ToNumber(value, number)) return 0;
    return static_cast<std::int32_t>(number);
}

QString TitleText(const CVariant& value) { return QString::fromStdString(ToText(value)).trimmed(); }

}  // namespace

// Rows of the item height, as wide as what the row draws, so the view can scroll sideways.
class CNOXTreeCtrl::CItemDelegate : public QStyledItemDelegate {
public:
    explicit CItemDelegate(CNOXTreeCtrl* tree) : QStyledItemDelegate(tree), m_tree(tree) {}

    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex& index) const override {
        const QTreeWidgetItem* item = m_tree->itemFromIndex(index);
        if (!item) return QSize(0, kItemHeight);
        const ItemLayout layout = m_tree->LayoutOf(item);
        const int text = m_tree->fontMetrics().horizontalAdvance(item->text(0));
        return QSize(LevelOf(item) * kIndent + layout.textX + text + 4, kItemHeight);
    }

private:
    CNOXTreeCtrl* m_tree;
};

CNOXTreeCtrl::CNOXTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    header()->setStretchLastSection(false);
    header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    setIndentation(0);
    setRootIsDecorated(false);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setItemDelegate(new CItemDelegate(this));
    setMouseTracking(true);
    setFrameShape(QFrame::NoFrame);
    setAutoFillBackground(true);
    SetColours(m_text, m_hotText, m_selText, m_back, m_hotBack, m_selBack);

    // The level loads when the node opens, whether by mouse, keyboard or SelectID.
    connect(this, &QTreeWidget::itemExpanded, this, [this](QTreeWidgetItem* item) { Fill(item); });
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        emit selChanged(current && current->isSelected() ? ItemID(current) : -1);
    });
}

CNOXTreeCtrl::~CNOXTreeCtrl() = default;

bool CNOXTreeCtrl::InitTree(CDatabase* database, const std::string& table,
                            const std::string& filter) {
    if (!database || m_initialised) return false;
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    setFont(font);
    return ReinitTree(database, table, filter);
}

bool CNOXTreeCtrl::ReinitTree(CDatabase* database, const std::string& table,
                              const std::string& filter) {
    if (!database) return false;
    m_database = database;
    m_table = table;
    m_filter = filter;
    m_initialised = true;
    setCurrentItem(nullptr);
    clearSelection();
    return true;
}

void CNOXTreeCtrl::SetOrder(const std::string& order) { m_order = order; }

void CNOXTreeCtrl::SetItemBitmaps(int collapsed, int expanded, int leaf) {
    m_collapsed = BitmapOrNone(collapsed);
    m_expanded = BitmapOrNone(expanded);
    m_leaf = BitmapOrNone(leaf);
    viewport()->update();
}

void CNOXTreeCtrl::SetCheckBitmaps(int unchecked, int checked, int unchecked2, int checked2) {
    m_checkOff = BitmapOrNone(unchecked);
    m_checkOn = BitmapOrNone(checked);
    // A partly ticked group shows a square in the colour of the ticked box: the darkest
    // opaque colour of its picture (the tick itself is light).
    m_partlyColour = QColor();
    const QImage on = m_checkOn.toImage();
    for (int y = 0; y < on.height(); ++y) {
        for (int x = 0; x < on.width(); ++x) {
            const QColor c = on.pixelColor(x, y);
            if (c.alpha() < 224) continue;
            if (!m_partlyColour.isValid() || c.lightness() < m_partlyColour.lightness())
                m_partlyColour = c;
        }
    }
    m_checkOff2 = BitmapOrNone(unchecked2);
    m_checkOn2 = BitmapOrNone(checked2);
    m_checkBoxes = true;
    viewport()->update();
}

void CNOXTreeCtrl::SetColours(const QColor& text, const QColor& hotText, const QColor& selText,
                              const QColor& back, const QColor& hotBack, const QColor& selBack) {
    m_text = text;
    m_hotText = hotText;
    m_selText = selText;
    m_back = back;
    m_hotBack = hotBack;
    m_selBack = selBack;
    // Below the last row the view shows its base colour: the same as the rows.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, back);
    pal.setColor(QPalette::Window, back);
    pal.setColor(QPalette::Text, text);
    setPalette(pal);
    viewport()->update();
}

std::int32_t CNOXTreeCtrl::ItemID(const QTreeWidgetItem* item) {
    if (!item || IsPlaceholder(item)) return -1;
    return item->data(0, kIdRole).toInt();
}

bool CNOXTreeCtrl::IsPlaceholder(const QTreeWidgetItem* item) {
    return item->data(0, kPlaceholderRole).toBool();
}

int CNOXTreeCtrl::LevelOf(const QTreeWidgetItem* item) {
    int level = 0;
    for (const QTreeWidgetItem* p = item->parent(); p; p = p->parent()) ++level;
    return level;
}

void CNOXTreeCtrl::Fill(QTreeWidgetItem* item) {
    if (!m_database) return;
    std::int32_t parentId = 0;
    if (item) {
        // Only a level still holding its placeholder is loaded; an opened one keeps its items.
        QTreeWidgetItem* first = item->child(0);
        if (!first || !IsPlaceholder(first)) return;
        delete item->takeChild(0);
        parentId = ItemID(item);
    }

    // The records are read first, so a failure midway keeps the ones read before it.
    struct Record {
        std::int32_t id;
        bool hasChildren;
        QString title;
    };
    std::vector<Record> records;
    DBGuard("CNOXTreeCtrl::Fill", [&] {
        CDBBusyCursor busy;
        // The IDs that have children.
        std::unordered_set<std::int32_t> parents;
        {
            CRecordset pids(m_database);
            pids.Open(SqlFormat("Select PID from %s order by PID ASC", m_table.c_str()));
            for (; !pids.IsEOF(); pids.MoveNext()) parents.insert(ToId(pids.GetFieldValue("PID")));
        }

        const std::string sql
            = m_filter.empty()
                  ? SqlFormat("SELECT ID,PID,Title FROM %s WHERE PID=%u ORDER BY %s",
                              m_table.c_str(), static_cast<unsigned>(parentId), m_order.c_str())
                  : SqlFormat("SELECT ID,PID,Title FROM %s WHERE PID=%u AND %s ORDER BY %s",
                              m_table.c_str(), static_cast<unsigned>(parentId), m_filter.c_str(),
                              m_order.c_str());
        CRecordset level(m_database);
        level.Open(sql);
        for (; !level.IsEOF(); level.MoveNext()) {
            const std::int32_t id = ToId(level.GetFieldValue("ID"));
            const std::int32_t pid = ToId(level.GetFieldValue("PID"));
            // A record that is its own parent would open onto itself without end.
            const bool hasChildren = id != pid && parents.count(id) > 0;
            records.push_back({id, hasChildren, TitleText(level.GetFieldValue("Title"))});
        }
    });

    QList<QTreeWidgetItem*> items;
    items.reserve(static_cast<qsizetype>(records.size()));
    for (const Record& record : records) {
        auto* child = new QTreeWidgetItem(QStringList(record.title));
        child->setData(0, kIdRole, record.id);
        if (record.hasChildren) {
            auto* placeholder = new QTreeWidgetItem(QStringList(kPlaceholderText));
            placeholder->setData(0, kPlaceholderRole, true);
            child->addChild(placeholder);
        }
        items.append(child);
    }
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    if (item)
        item->addChildren(items);
    else
        addTopLevelItems(items);
    setUpdatesEnabled(updates);
}

void CNOXTreeCtrl::Refresh() {
    const std::int32_t selected = GetSelectedID();
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    m_allLoaded = false;
    m_hot = QPersistentModelIndex();
    {
        // Emptying the tree is no selection change the owner must act on.
        const QSignalBlocker blocker(this);
        clear();
    }
    Fill(nullptr);
    setUpdatesEnabled(updates);
    if (selected > 0) SelectID(selected, true, false);
    setFocus();
}

std::int32_t CNOXTreeCtrl::GetSelectedID() const {
    const QList<QTreeWidgetItem*> selected = selectedItems();
    if (selected.isEmpty()) return -1;
    return ItemID(selected.first());
}

QTreeWidgetItem* CNOXTreeCtrl::FindItem(std::int32_t id) const {
    std::vector<QTreeWidgetItem*> stack;
    for (int i = topLevelItemCount() - 1; i >= 0; --i) stack.push_back(topLevelItem(i));
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        if (!IsPlaceholder(item) && ItemID(item) == id) return item;
        for (int i = item->childCount() - 1; i >= 0; --i) stack.push_back(item->child(i));
    }
    return nullptr;
}

bool CNOXTreeCtrl::OpenWalk(CRecordset& walk) {
    return DBGuard("CNOXTreeCtrl::SelectID", [&] {
        walk.Open(SqlFormat("Select * from %s order by ID ASC", m_table.c_str()));
    });
}

QTreeWidgetItem* CNOXTreeCtrl::OpenPath(std::int32_t id, CRecordset& walk) {
    // The ancestors from the record upwards, the parent first.
    std::vector<std::int32_t> ancestors;
    bool complete = false;
    DBGuard("CNOXTreeCtrl::SelectID", [&] {
        std::int32_t current = id;
        for (;;) {
            // A record that is not there ends the walk: reading on would take the PID of
            // whatever record the recordset stood on.
            if (!walk.FindFirst(SqlFormat("ID = %li", static_cast<long>(current)))) return;
            const std::int32_t pid = ToId(walk.GetFieldValue("PID"));
            if (pid == 0) break;
            if (ancestors.size() >= kMaxAncestors - 1) return;
            ancestors.push_back(pid);
            current = pid;
        }
        complete = true;
    });
    if (!complete) return nullptr;

    // Down from the topmost ancestor, opening each level on the way.
    QTreeWidgetItem* parent = nullptr;
    auto childWithId = [this](QTreeWidgetItem* under, std::int32_t wanted) -> QTreeWidgetItem* {
        const int count = under ? under->childCount() : topLevelItemCount();
        for (int i = 0; i < count; ++i) {
            QTreeWidgetItem* child = under ? under->child(i) : topLevelItem(i);
            if (!IsPlaceholder(child) && ItemID(child) == wanted) return child;
        }
        return nullptr;
    };
    for (auto it = ancestors.rbegin(); it != ancestors.rend(); ++it) {
        parent = childWithId(parent, *it);
        if (!parent) return nullptr;
        Fill(parent);
        parent->setExpanded(true);
    }
    return childWithId(parent, id);
}

void CNOXTreeCtrl::ScrollTo(QTreeWidgetItem* item, ScrollHint hint) {
    // The column widens to its contents only on a later pass, and the sideways scroll bar that
    // may come with it would cover the row brought into view at the bottom: settle both first.
    executeDelayedItemsLayout();
    header()->resizeSections(QHeaderView::ResizeToContents);
    updateGeometries();
    scrollToItem(item, hint);
}

bool CNOXTreeCtrl::SelectID(std::int32_t id, bool select, bool toTop) {
    if (id < 1) {
        setCurrentItem(nullptr);
        clearSelection();
        return false;
    }
    if (id == GetSelectedID()) return true;

    if (m_allLoaded) {
        QTreeWidgetItem* item = FindItem(id);
        if (!item) {
            clearSelection();
            return false;
        }
        setCurrentItem(item);
        ScrollTo(item, QAbstractItemView::PositionAtTop);
        return true;
    }
    if (!m_database) return false;

    CRecordset walk(m_database);
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    QTreeWidgetItem* item = OpenWalk(walk) ? OpenPath(id, walk) : nullptr;
    if (item) {
        if (select) {
            setCurrentItem(item);
            ScrollTo(item,
                     toTop ? QAbstractItemView::PositionAtTop : QAbstractItemView::EnsureVisible);
        } else {
            ScrollTo(item, QAbstractItemView::PositionAtTop);
        }
    } else {
        setCurrentItem(nullptr);
        clearSelection();
    }
    setUpdatesEnabled(updates);
    return item != nullptr;
}

void CNOXTreeCtrl::SetTickGroups(bool groups) {
    m_tickGroups = groups;
    viewport()->update();
}

bool CNOXTreeCtrl::GetCheck(const QTreeWidgetItem* item) const {
    return CheckStateOf(item) == Qt::Checked;
}

Qt::CheckState CNOXTreeCtrl::CheckStateOf(const QTreeWidgetItem* item) const {
    if (!item || IsPlaceholder(item)) return Qt::Unchecked;
    if (!m_tickGroups || item->childCount() == 0)
        return item->data(0, kCheckRole).toBool() ? Qt::Checked : Qt::Unchecked;
    // A group is what its leaves are; one not opened yet has none ticked.
    bool any = false;
    bool all = true;
    std::vector<const QTreeWidgetItem*> stack{item};
    while (!stack.empty()) {
        const QTreeWidgetItem* current = stack.back();
        stack.pop_back();
        for (int i = 0; i < current->childCount(); ++i) {
            const QTreeWidgetItem* child = current->child(i);
            if (IsPlaceholder(child)) {
                all = false;
            } else if (child->childCount() > 0) {
                stack.push_back(child);
            } else if (child->data(0, kCheckRole).toBool()) {
                any = true;
            } else {
                all = false;
            }
        }
    }
    if (!any) return Qt::Unchecked;
    return all ? Qt::Checked : Qt::PartiallyChecked;
}

void CNOXTreeCtrl::SetCheck(QTreeWidgetItem* item, bool checked) {
    if (!item || IsPlaceholder(item)) return;
    if (m_tickGroups && item->childCount() > 0) {
        CheckBelow(item, checked);
        return;
    }
    item->setData(0, kCheckRole, checked);
}

void CNOXTreeCtrl::CheckBelow(QTreeWidgetItem* node, bool checked) {
    Fill(node);
    for (int i = 0; i < node->childCount(); ++i) {
        QTreeWidgetItem* child = node->child(i);
        if (IsPlaceholder(child)) continue;
        if (child->childCount() > 0)
            CheckBelow(child, checked);
        else
            child->setData(0, kCheckRole, checked);
    }
}

void CNOXTreeCtrl::ToggleCheck(QTreeWidgetItem* item) {
    const bool checked = CheckStateOf(item) != Qt::Checked;
    SetCheck(item, checked);
    // By groups a tick changes the rows above and below it as well.
    if (m_tickGroups)
        viewport()->update();
    else
        UpdateRow(indexFromItem(item));
    emit checkChanged(ItemID(item), checked);
}

CNOXTreeCtrl::IdVector CNOXTreeCtrl::GetCheckedIDs() const {
    IdVector ids;
    std::vector<const QTreeWidgetItem*> stack;
    for (int i = topLevelItemCount() - 1; i >= 0; --i) stack.push_back(topLevelItem(i));
    while (!stack.empty()) {
        const QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        // By groups a node is no choice of its own, only its leaves are.
        const bool group = m_tickGroups && item->childCount() > 0;
        if (!group && GetCheck(item)) ids.push_back(ItemID(item));
        for (int i = item->childCount() - 1; i >= 0; --i) stack.push_back(item->child(i));
    }
    return ids;
}

void CNOXTreeCtrl::UncheckAll() {
    std::vector<QTreeWidgetItem*> stack;
    for (int i = 0; i < topLevelItemCount(); ++i) stack.push_back(topLevelItem(i));
    while (!stack.empty()) {
        QTreeWidgetItem* item = stack.back();
        stack.pop_back();
        if (item->data(0, kCheckRole).toBool()) item->setData(0, kCheckRole, false);
        for (int i = 0; i < item->childCount(); ++i) stack.push_back(item->child(i));
    }
    viewport()->update();
}

void CNOXTreeCtrl::SetCheckedIDs(const IdVector& ids) {
    const bool updates = updatesEnabled();
    setUpdatesEnabled(false);
    UncheckAll();
    // The ancestor walk is opened once, when the first ID is not loaded yet.
    CRecordset walk(m_database);
    enum { kUntried, kOpen, kFailed } walkState = kUntried;
    for (std::int32_t id : ids) {
        QTreeWidgetItem* item = FindItem(id);
        if (!item && !m_allLoaded && m_database && walkState != kFailed) {
            if (walkState == kUntried) walkState = OpenWalk(walk) ? kOpen : kFailed;
            if (walkState == kOpen) item = OpenPath(id, walk);
        }
        // A group's own ID (kept from a list made before the tree ticked by groups) is not a
        // tick of all its items.
        if (item && m_tickGroups && item->childCount() > 0) continue;
        SetCheck(item, true);
    }
    setUpdatesEnabled(updates);
    viewport()->update();
}

QTreeWidgetItem* CNOXTreeCtrl::HotItem() const {
    return m_hot.isValid() ? itemFromIndex(m_hot) : nullptr;
}

void CNOXTreeCtrl::SetHot(QTreeWidgetItem* item) {
    const QModelIndex index = item ? indexFromItem(item) : QModelIndex();
    if (index == m_hot) return;
    const QModelIndex old = m_hot;
    m_hot = index;
    if (old.isValid()) viewport()->update(visualRect(old).adjusted(-10000, 0, 10000, 0));
    if (index.isValid()) viewport()->update(visualRect(index).adjusted(-10000, 0, 10000, 0));
}

void CNOXTreeCtrl::UpdateRow(const QModelIndex& index) {
    if (!index.isValid()) return;
    const QRect item = visualRect(index);
    if (item.isValid())
        viewport()->update(QRect(0, item.top(), viewport()->width(), item.height()));
}

void CNOXTreeCtrl::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QTreeWidget::currentChanged(current, previous);
    UpdateRow(previous);
    UpdateRow(current);
}

void CNOXTreeCtrl::selectionChanged(const QItemSelection& selected,
                                    const QItemSelection& deselected) {
    QTreeWidget::selectionChanged(selected, deselected);
    for (const QModelIndex& index : deselected.indexes()) UpdateRow(index);
    for (const QModelIndex& index : selected.indexes()) UpdateRow(index);
}

void CNOXTreeCtrl::SetSelectionFrame(const QColor& colour) {
    m_selectionFrame = colour;
    viewport()->update();
}

void CNOXTreeCtrl::ScrollToCentre(QTreeWidgetItem* item) {
    if (item) ScrollTo(item, QAbstractItemView::PositionAtCenter);
}

CNOXTreeCtrl::ItemLayout CNOXTreeCtrl::LayoutOf(const QTreeWidgetItem* item) const {
    ItemLayout layout;
    int x = 0;
    const bool node = item->childCount() > 0;
    if (node) {
        layout.nodeX = x;
        x += kSlot;
    }
    if (m_checkBoxes) {
        // A leaf leaves the node bitmap's room free, so the boxes stand in one column.
        if (!node) x += kSlot;
        layout.checkX = x;
        layout.checkWidth = m_checkOff.isNull() ? kBoxSlot : kSlot;
        x += layout.checkWidth;
    }
    if (!node && !m_leaf.isNull()) {
        layout.leafX = x;
        x += kSlot;
    }
    layout.textX = x;
    return layout;
}

void CNOXTreeCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                           const QModelIndex& index) const {
    const QTreeWidgetItem* item = itemFromIndex(index);
    if (!item) return;
    const bool selected = selectionModel()->isSelected(index);
    const bool hot = index == m_hot;
    const QColor& text = selected ? m_selText : hot ? m_hotText : m_text;
    const QColor& back = selected ? m_selBack : hot ? m_hotBack : m_back;

    const int hOffset = horizontalScrollBar()->value();
    const QRect row(0, option.rect.top(), viewport()->width(), option.rect.height());
    painter->save();
    painter->fillRect(row, back);

    const int left = LevelOf(item) * kIndent - hOffset;
    const ItemLayout layout = LayoutOf(item);
    // Pictures are centred in their slot; their corners are transparent over the filled row.
    auto drawSlot = [&](const QPixmap& pixmap, int slotX, int slotWidth) {
        if (pixmap.isNull()) return;
        const QSize size = pixmap.deviceIndependentSize().toSize();
        painter->drawPixmap(left + slotX + (slotWidth - size.width()) / 2,
                            row.top() + (row.height() - size.height()) / 2, pixmap);
    };
    if (layout.nodeX >= 0)
        drawSlot(item->isExpanded() ? m_expanded : m_collapsed, layout.nodeX, kSlot);
    if (layout.checkX >= 0) {
        const Qt::CheckState state = CheckStateOf(item);
        if (!m_checkOff.isNull()) {
            drawSlot(state == Qt::Checked ? m_checkOn : m_checkOff, layout.checkX, kSlot);
            if (state == Qt::PartiallyChecked) {
                const QPointF centre(left + layout.checkX + kSlot / 2.0,
                                     row.top() + row.height() / 2.0);
                painter->setRenderHint(QPainter::Antialiasing);
                painter->setPen(Qt::NoPen);
                painter->setBrush(m_partlyColour.isValid() ? m_partlyColour : text);
                painter->drawRoundedRect(QRectF(centre - QPointF(3, 3), QSizeF(6, 6)), 1.5, 1.5);
                painter->setRenderHint(QPainter::Antialiasing, false);
            }
        } else {
            const QRect box(left + layout.checkX + 4, row.top() + 2, 11, 11);
            painter->setPen(text);
            if (state == Qt::Checked) {
                painter->fillRect(box, text);
            } else {
                painter->drawRect(box.adjusted(0, 0, -1, -1));
                if (state == Qt::PartiallyChecked)
                    painter->fillRect(box.adjusted(3, 3, -3, -3), text);
            }
        }
    }
    if (layout.leafX >= 0) drawSlot(m_leaf, layout.leafX, kSlot);

    painter->setPen(text);
    painter->setFont(font());
    const QRect textRect(left + layout.textX, row.top(),
                         row.right() - left - layout.textX + hOffset, row.height());
    painter->drawText(textRect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                      item->text(0));
    if (selected && m_selectionFrame.isValid()) {
        // Two pixels, as the table frames its selected cell.
        painter->setPen(m_selectionFrame);
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(row.adjusted(0, 0, -1, -1));
        painter->drawRect(row.adjusted(1, 1, -2, -2));
    }
    painter->restore();
}

void CNOXTreeCtrl::mousePressEvent(QMouseEvent* event) {
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item && event->button() == Qt::LeftButton) {
        const ItemLayout layout = LayoutOf(item);
        const int x = event->position().toPoint().x() + horizontalScrollBar()->value()
                      - LevelOf(item) * kIndent;
        if (layout.nodeX >= 0 && x >= layout.nodeX && x < layout.nodeX + kSlot) {
            item->setExpanded(!item->isExpanded());
            event->accept();
            return;
        }
        if (layout.checkX >= 0 && x >= layout.checkX && x < layout.checkX + layout.checkWidth) {
            ToggleCheck(item);
            event->accept();
            return;
        }
    }
    QTreeWidget::mousePressEvent(event);
}

void CNOXTreeCtrl::mouseDoubleClickEvent(QMouseEvent* event) {
    // A quick second click on a check box ticks it back, as a single click does.
    QTreeWidgetItem* item = itemAt(event->position().toPoint());
    if (item && event->button() == Qt::LeftButton) {
        const ItemLayout layout = LayoutOf(item);
        const int x = event->position().toPoint().x() + horizontalScrollBar()->value()
                      - LevelOf(item) * kIndent;
        if ((layout.checkX >= 0 && x >= layout.checkX && x < layout.checkX + layout.checkWidth)
            || (layout.nodeX >= 0 && x >= layout.nodeX && x < layout.nodeX + kSlot)) {
            mousePressEvent(event);
            return;
        }
    }
    QTreeWidget::mouseDoubleClickEvent(event);
}

void CNOXTreeCtrl::mouseMoveEvent(QMouseEvent* event) {
    SetHot(itemAt(event->position().toPoint()));
    QTreeWidget::mouseMoveEvent(event);
}

void CNOXTreeCtrl::leaveEvent(QEvent* event) {
    SetHot(nullptr);
    QTreeWidget::leaveEvent(event);
}

void CNOXTreeCtrl::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Space && m_checkBoxes && event->modifiers() == Qt::NoModifier) {
        if (QTreeWidgetItem* item = currentItem()) ToggleCheck(item);
        event->accept();
        return;
    }
    QTreeWidget::keyPressEvent(event);
}
