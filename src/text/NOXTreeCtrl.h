#pragma once
// A tree over any database table with the fields ID, PID and Title. It loads one level at a
// time as the user opens nodes: an item whose ID occurs as a PID gets one placeholder child
// "~" until it is opened. It can open the path to any record and select it, and with check
// boxes on it keeps a tick per item.
//
// Ticks belong to single items: ticking a node does not tick its children. Only loaded items
// can carry a tick, so the ticked IDs are collected from the loaded items, depth first in the
// order the tree shows them. SetCheckedIDs opens the levels that hold the IDs it ticks.
//
// A tree whose nodes are only groups of the items below them (the data-field tree) can tick
// by groups instead (SetTickGroups): ticking a node loads its levels and ticks every item
// below it, a node shows as ticked when all items below it are and as partly ticked when some
// are, and only the leaves count as ticked IDs.
//
// Database failures go to the reporter with the contexts "CNOXTreeCtrl::Fill" and
// "CNOXTreeCtrl::SelectID"; the tree keeps what it had loaded.

#include <QColor>
#include <QPersistentModelIndex>
#include <QPixmap>
#include <QTreeWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CDatabase;
class CRecordset;

class CNOXTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    using IdVector = std::vector<std::int32_t>;

    explicit CNOXTreeCtrl(QWidget* parent = nullptr);
    ~CNOXTreeCtrl() override;

    // Keeps the database (not owned; it must outlive the tree or be replaced by ReinitTree),
    // the table and the extra condition of every level ("" for none), sets the font "MS Sans
    // Serif" at 8 points and clears the selection. False without a database or when the tree
    // was initialised already. Loads nothing: Refresh fills the top level.
    bool InitTree(CDatabase* database, const std::string& table, const std::string& filter);
    // The same for a tree initialised before (a re-created database, another filter), without
    // touching the font. The items stay until the next Refresh. False without a database.
    bool ReinitTree(CDatabase* database, const std::string& table, const std::string& filter);

    // ORDER BY text of every level; "ID ASC" until set.
    void SetOrder(const std::string& order);
    const std::string& Order() const { return m_order; }
    CDatabase* Database() const { return m_database; }
    const std::string& Table() const { return m_table; }
    const std::string& Filter() const { return m_filter; }

    // Bitmap resource numbers of a collapsed node, an expanded node and a leaf; 0 for none.
    void SetItemBitmaps(int collapsed, int expanded, int leaf);
    // Bitmap resource numbers of the check boxes: unchecked, checked and the same pair again
    // (kept, not drawn). Turns the check boxes on.
    void SetCheckBitmaps(int unchecked, int checked, int unchecked2, int checked2);
    bool HasCheckBoxes() const { return m_checkBoxes; }
    // Text, hot text, selected text, background, hot background, selected background.
    void SetColours(const QColor& text, const QColor& hotText, const QColor& selText,
                    const QColor& back, const QColor& hotBack, const QColor& selBack);

    // Loads the level below item (null: the top level). Does nothing for an item whose level
    // is loaded already.
    void Fill(QTreeWidgetItem* item);
    // Reloads the whole tree from the top level, selects the ID that was selected again and
    // takes the focus. Ticks are lost with the items.
    void Refresh();

    // Opens the path to the record with that ID and, with select, selects it and scrolls it
    // into view; without select it is only scrolled to the top. toTop makes it the first
    // visible item. An ID below 1, a record that is not in the tree or a path of 64 or more
    // ancestors clears the selection. Returns whether the record was found.
    bool SelectID(std::int32_t id, bool select = true, bool toTop = false);
    // ID of the selected item; -1 without selection.
    std::int32_t GetSelectedID() const;

    // Whether items are looked up only among those loaded already (SelectID does not open
    // levels then). Refresh clears it.
    void SetAllLoaded(bool allLoaded) { m_allLoaded = allLoaded; }
    bool AllLoaded() const { return m_allLoaded; }

    // The ID an item carries; -1 for the placeholder.
    static std::int32_t ItemID(const QTreeWidgetItem* item);
    // The loaded item with that ID (depth first), or null.
    QTreeWidgetItem* FindItem(std::int32_t id) const;

    // Ticking by groups (see above); off until set.
    void SetTickGroups(bool groups);
    bool TicksGroups() const { return m_tickGroups; }

    // Whether the item is ticked; by groups, a node is when every leaf below it is.
    bool GetCheck(const QTreeWidgetItem* item) const;
    // Ticked, partly ticked (a group with some of its leaves ticked) or not.
    Qt::CheckState CheckStateOf(const QTreeWidgetItem* item) const;
    // Ticks or unticks the item; by groups, a node's tick goes to every item below it.
    void SetCheck(QTreeWidgetItem* item, bool checked);
    // The ticked IDs, depth first in tree order.
    IdVector GetCheckedIDs() const;
    // Ticks exactly ids: every other tick goes, the levels holding the IDs are opened. IDs the
    // tree cannot show (filtered out, unknown) are left out. Redraws once.
    void SetCheckedIDs(const IdVector& ids);
    void UncheckAll();

    // The item under the mouse, or null.
    QTreeWidgetItem* HotItem() const;

    // A frame in this colour around the selected row, so that the selection stands out from
    // colours close to the background; an invalid colour (the default) draws none.
    void SetSelectionFrame(const QColor& colour);
    // Scrolls the item into the middle of the view, as far as the list allows.
    void ScrollToCentre(QTreeWidgetItem* item);

    // Where the parts of an item's row lie, in row coordinates (x from the row's left edge
    // at level 0): node bitmap, check box and text start.
    struct ItemLayout {
        int nodeX = -1;   // -1: no node bitmap
        int checkX = -1;  // -1: no check box
        int checkWidth = 0;
        int leafX = -1;  // -1: no leaf bitmap
        int textX = 0;
    };
    ItemLayout LayoutOf(const QTreeWidgetItem* item) const;

signals:
    // The selected item changed; -1 when none is selected.
    void selChanged(std::int32_t id);
    // An item was ticked or unticked by the user.
    void checkChanged(std::int32_t id, bool checked);

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void drawBranches(QPainter*, const QRect&, const QModelIndex&) const override {}
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    // A row is painted across the whole view, wider than its item; the rows that change their
    // look are repainted across it too, or keys and scrolling leave parts of the old look.
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;

private:
    class CItemDelegate;

    // Opens the levels down to the record with id and returns its item (null when not in the
    // tree); walks the ancestors through walk, which stays open for further calls.
    QTreeWidgetItem* OpenPath(std::int32_t id, CRecordset& walk);
    bool OpenWalk(CRecordset& walk);
    void SetHot(QTreeWidgetItem* item);
    void UpdateRow(const QModelIndex& index);
    // The user's tick on an item: toggles it and reports it.
    void ToggleCheck(QTreeWidgetItem* item);
    // Ticks or unticks every leaf below node, loading the levels on the way.
    void CheckBelow(QTreeWidgetItem* node, bool checked);
    void ScrollTo(QTreeWidgetItem* item, ScrollHint hint);
    static int LevelOf(const QTreeWidgetItem* item);
    static bool IsPlaceholder(const QTreeWidgetItem* item);

    CDatabase* m_database = nullptr;
    std::string m_table;
    std::string m_filter;
    std::string m_order = "ID ASC";
    bool m_initialised = false;
    bool m_allLoaded = false;

    QPixmap m_collapsed, m_expanded, m_leaf;
    QPixmap m_checkOff, m_checkOn, m_checkOff2, m_checkOn2;
    bool m_checkBoxes = false;
    bool m_tickGroups = false;
    QColor m_selectionFrame;
    QColor m_partlyColour;
    QColor m_text = Qt::black, m_hotText = Qt::black, m_selText = Qt::white;
    QColor m_back = Qt::white, m_hotBack = QColor(230, 230, 230), m_selBack = QColor(0, 0, 128);
    QPersistentModelIndex m_hot;
};
