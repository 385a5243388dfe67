#pragma once
// The window of one visible cell. Cell kinds derive from it and give the cell its look,
// its child controls and its context menu; the grid creates them by the kind's name from
// the record and destroys them when the cell leaves the visible block.

#include <string>

#include <QPoint>
#include <QString>

#include "table/TableChild.h"

struct CellData;
class QPainter;

class CTableCell : public CTableChild {
    Q_OBJECT
public:
    // Resize zones: strips of 4 pixels along the edges of a cell.
    enum Zone { NoZone = 0, LeftZone = 1, RightZone = 2, TopZone = 3, BottomZone = 4 };

    CTableCell();

    // Puts the cell into `parentPane` at the rectangle (right and bottom exclusive) for the
    // table position (column, row), runs InitCell and shows it. False when InitCell fails;
    // the caller then deletes the object.
    virtual bool Create(QWidget* parentPane, int left, int top, int right, int bottom,
                        CTable* table, int column, int row);
    // Makes the kind's fonts and child controls; false makes the creation fail.
    virtual bool InitCell();
    // Paints the cell; `record` may be null when the position holds none.
    virtual void DrawCell(QPainter& dc, const QRect& rect, const CellData* record);
    // Keeps the kind's child controls in place after a resize (client coordinates).
    virtual void OnCellSize(int left, int top, int right, int bottom);
    // The text the cell shows: numbers in German notation, other values as text, trimmed.
    QString GetCellText(const CellData* record) const;
    // The cell as one HTML table cell for the export.
    virtual QString GetCellHTML(const CellData* record) const;
    // Shows the kind's context menu at a screen position and carries out the choice.
    virtual void ShowContextMenu(int x, int y);
    // Takes over another data cell of the same kind when the visible block moves, instead of
    // the grid destroying this window and creating a new one. A kind whose window depends on
    // more than its kind (controls made from the record in InitCell) returns false, and the
    // grid then destroys it and creates a new one.
    virtual bool Reuse(int column, int row);

    // Name of the kind the window was created for.
    const std::string& GetCellClass() const { return cellClass; }
    int GetColumn() const { return column; }
    int GetRow() const { return row; }
    // The zone under a point in client coordinates, as the cell's column and row allow it.
    int ZoneAt(const QPoint& point) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class CTable;

    void UpdateCursor(const QPoint& point);
    void Post(int message) const;

    std::string cellClass;
    int column = 0;
    int row = 0;
    // Zone under the pointer when the left button went down.
    int zone = NoZone;
    bool dragging = false;
    QPoint dragStart;
    int cursorZone = NoZone;
};

// A factory for one cell kind: a new cell object without a window.
using CellFactory = CTableCell* (*)();

// Makes the kind creatable from records naming it; a second registration of a name replaces
// the first. "CTableCell" itself is always registered.
void RegisterCellClass(const std::string& name, CellFactory factory);

template <class Kind>
void RegisterCellClass(const std::string& name) {
    RegisterCellClass(name, []() -> CTableCell* { return new Kind; });
}

// A new object of the named kind, or null when no kind is registered under that name.
CTableCell* CreateCellObject(const std::string& name);
