#pragma once
// A list over the records of a database query, as items of varying height. It never builds
// the whole result: item windows exist only for the records on screen and are added and
// dropped at the top and the bottom while the user scrolls, so a list over thousands of
// records costs no more than a screenful. The scroll bar runs from 0 to 1000 over the record
// positions.
//
// A click on an item selects it; releasing the button on it sends the owner window a
// CListChoiceEvent (type 1224) with the list's control id and the selected key. With dragging
// allowed, holding the button on the selected item for 250 ms drags it (the private format
// kDragFormat with its table entry, and its text as plain text).
//
// Database failures go to the reporter with the contexts "CListWnd::OnCreate",
// "CListWnd::AddBottom", "CListWnd::AddTop", "CListWnd::ReQuery" and "CListWnd::FindFirst";
// the list keeps what it had built.

#include <QColor>
#include <QEvent>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "viewers/ListWndItem.h"

class CDatabase;
class CRecordset;
class CFlatScrollBar;
class QMimeData;

// The list's notification to its owner: an entry was chosen.
class CListChoiceEvent : public QEvent {
public:
    // The first user message plus 200.
    static constexpr QEvent::Type kType = QEvent::Type(1224);

    CListChoiceEvent(int controlId, long key) : QEvent(kType), m_controlId(controlId), m_key(key) {}
    int ControlId() const { return m_controlId; }
    long Key() const { return m_key; }

private:
    int m_controlId;
    long m_key;
};

class CListWnd : public QWidget {
    Q_OBJECT
public:
    // At most this many item windows exist at a time.
    static constexpr int kMaxItems = 128;
    // The clipboard format of a dragged item: its position, key and option byte.
    static constexpr const char* kDragFormat = "application/x-kompendor-listwnd-item";

    explicit CListWnd(QWidget* parent = nullptr);
    ~CListWnd() override;

    // Opens query on database (not owned; must outlive the list) and shows its first records
    // in place of the owner's control placeholderId, which it replaces (taking the control's
    // place, size and id). keyField and textField name the record's key and text; gap is the
    // space between items, leftMargin and rightMargin the space beside them (pixels). option
    // goes to every item; itemKind names the item kind (empty: CListWndItem). False when the
    // owner has no such control (the list is then not placed) or the query fails (reported;
    // the list shows no entries).
    bool Create(CDatabase* database, const std::string& query, const std::string& keyField,
                const std::string& textField, int gap, int leftMargin, int rightMargin,
                QWidget* owner, int placeholderId, std::uint8_t option = 0,
                const std::string& itemKind = {});
    // The same at rect of owner, with id as the list's control id.
    bool Create(CDatabase* database, const std::string& query, const std::string& keyField,
                const std::string& textField, int gap, int leftMargin, int rightMargin,
                QWidget* owner, const QRect& rect, int id, std::uint8_t option = 0,
                const std::string& itemKind = {});

    // Line and page scroll amounts in pixels; a page of 0 is the window's height less a line.
    void SetScrollAmounts(int line, int page);
    // Replaces the query and shows its records from the first, or with keepPosition from the
    // same position as before (the last record when there are fewer). False on a failure.
    bool ReQuery(const std::string& query, bool keepPosition = false);
    // Makes the first record matching criteria (a Jet condition such as "Title LIKE 'Ö*'")
    // current; with move the list shows it at the top (or, near the end, as far up as the
    // records after it allow). False, and nothing changed, when no record matches or criteria
    // fails.
    bool FindFirst(const std::string& criteria, bool move);
    // Marks the items with key as selected and the others as normal; with ensureVisible a key
    // that is not on screen is brought to the top.
    void Select(long key, bool ensureVisible);
    long GetSelection() const { return m_selected; }
    long GetRecordCount() const;

    void SetBackColour(const QColor& colour);
    QColor BackColour() const { return m_back; }
    // Whether "Keine Einträge gefunden" is shown when the list is empty (default: yes).
    void SetShowEmptyText(bool show);
    void SetDragEnabled(bool enabled) { m_dragEnabled = enabled; }
    int ControlId() const { return m_id; }
    const std::string& Query() const { return m_query; }

    // Scrolling, as the scroll bar, the wheel and the keys do it: d pixels, positive moves the
    // contents down (towards the first record).
    void ScrollBy(int d);
    void LineUp();
    void LineDown();
    void PageUp();
    void PageDown();
    // The thumb dragged to t (0..1000): the list shows the record at that share of the result
    // at the top (near the end as far up as the records after it allow).
    void ThumbTo(int t);

    // What is on screen (tests, benchmarks).
    int ItemCount() const { return static_cast<int>(m_items.size()); }
    CListWndItem* Item(int index) const;
    long ItemPosition(int index) const;
    long ItemKey(int index) const;
    // The item under the mouse, or null.
    CListWndItem* HotItem() const { return m_hot; }
    CFlatScrollBar* ScrollBar() const { return m_bar; }
    // The data a drag of the item at index carries.
    QMimeData* DragData(int index) const;

    // The text shown on an empty list.
    static const char* EmptyText();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    struct Entry {
        CListWndItem* item;
        long position;
        long key;
        std::uint8_t option;
    };

    bool Open(const std::string& query, const char* context);
    int ClientHeight() const { return height(); }
    int ItemWidth() const;
    // Adds the record at position (-1: the one after the last item, or the current one for
    // the first item) below the last item, or at y for the first. False when there is none.
    bool AddBottom(long position = -1, int y = 0);
    bool AddTop();
    CListWndItem* MakeItem(long position, long& key, int& height, const char* context);
    void Layout();
    void KeepEnds();
    void UpdateScrollBar();
    void ClearItems();
    void Rebuild(long position, int y = 0);
    int IndexAt(const QPoint& point) const;
    void SetHot(CListWndItem* item);
    void UpdateHover();
    void CheckHover();
    void StartDrag();
    int PageAmount() const;

    CDatabase* m_database = nullptr;
    std::unique_ptr<CRecordset> m_recordset;
    std::string m_query;
    std::string m_keyField;
    std::string m_textField;
    int m_gap = 0;
    int m_leftMargin = 0;
    int m_rightMargin = 0;
    std::string m_kind;
    std::uint8_t m_option = 0;
    int m_id = 0;
    QPointer<QWidget> m_owner;

    std::vector<Entry> m_items;
    long m_topPosition = 0;
    int m_topOffset = 0;
    int m_line = 20;
    int m_page = 0;
    long m_selected = -1;
    QPointer<CListWndItem> m_hot;
    QColor m_back{0x3F, 0x48, 0x5A};
    bool m_showEmpty = true;
    bool m_dragEnabled = false;
    int m_width = 0;
    int m_wheelRest = 0;

    CFlatScrollBar* m_bar = nullptr;
    QTimer m_hoverTimer;
    QTimer m_dragTimer;
};
