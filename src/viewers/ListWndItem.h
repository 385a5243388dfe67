#pragma once
// One record of a list window, drawn as a box with word-wrapped text. The list creates an
// item window only for each visible record and fills it from the record; the item kind
// (chosen by the list's owner) decides fonts, colours and what more the item reads and draws.
//
// Kinds are created by name, as the design's run-time classes are: "CListWndItem",
// "CSelectListItem", "CPersonenListItem" and "CSearchListItem" are built in; other libraries
// register theirs (the gallery's "CGraphListItem") with RegisterListWndItem.

#include <QColor>
#include <QFont>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class CListWnd;
class CRecordset;

class CListWndItem : public QWidget {
    Q_OBJECT
public:
    // Drawing states.
    enum State { kNormal = 0, kHot = 1, kSelected = 2 };

    explicit CListWndItem(QWidget* parent = nullptr);

    // Binds the item to its list and the record set it is filled from (both outlive it).
    void Attach(CListWnd* list, CRecordset* recordset, const std::string& textField,
                std::uint8_t option);
    // Fills the item from the record set's current record: the text field's value as text,
    // then Load. Database failures are the caller's (the list reports them).
    void Fill();

    // Reads what the kind shows beyond the text from the current record; nothing here.
    virtual void Load(CRecordset& recordset);
    // Draws the item into rect in the given state, or with measureOnly only works out its
    // height for rect's width (painter may then be null). Returns the height in pixels.
    virtual int Draw(QPainter* painter, const QRect& rect, bool measureOnly, int state);
    // The text a drag carries as plain text; false when the item has none.
    virtual bool GetDragText(std::string& text) const;

    int State() const { return m_state; }
    // Sets the state and repaints when it changed.
    void SetState(int state);
    const QString& Text() const { return m_text; }
    std::uint8_t Option() const { return m_option; }
    CListWnd* List() const { return m_list; }
    CRecordset* Recordset() const { return m_recordset; }

    // Fill and text colour of each state, the font, and the box's measures.
    struct Look {
        QColor fill[3];
        QColor text[3];
        QFont font;
        int inset = 4;      // text inset from the left and right, pixels
        int padding = 8;    // height added to the text's
        int textTop = 4;    // text offset from the top
        bool edge = false;  // a raised 3D edge
    };

protected:
    virtual const Look& ItemLook() const;
    // The box and the wrapped text with look, leaving iconWidth pixels free at the left.
    int DrawBox(QPainter* painter, const QRect& rect, bool measureOnly, int state, const Look& look,
                int iconWidth = 0) const;

    void paintEvent(QPaintEvent* event) override;

private:
    CListWnd* m_list = nullptr;
    CRecordset* m_recordset = nullptr;
    std::string m_textField;
    QString m_text;
    std::uint8_t m_option = 0;
    int m_state = kNormal;
};

// The font of the program's small texts: "MS Sans Serif" at 8 points.
QFont SmallListFont();

// The lines text takes in width pixels: broken at blanks, a word wider than a line cut with an
// ellipsis. At least one line.
QStringList WrapListText(const QFontMetrics& metrics, const QString& text, int width);

// Item kinds by name.
using ListWndItemFactory = std::function<CListWndItem*()>;
// Registers (or replaces) kind.
void RegisterListWndItem(const std::string& kind, ListWndItemFactory factory);
// A new item of kind; a plain CListWndItem for an empty or unknown name.
CListWndItem* CreateListWndItem(const std::string& kind);
bool IsListWndItemKind(const std::string& kind);
