#pragma once
// What the cell kinds share: their fonts, edge lines, buttons, the look of their context
// menus and the flag picture of a country head.

#include <memory>
#include <vector>

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QWidget>

#include "table/CellKinds.h"

class CFlatMenu;
class CTable;
class QPainter;

// One-pixel lines and frames on exact pixels: x1 and y1 are exclusive.
void HLine(QPainter& dc, int x0, int x1, int y, const QColor& colour);
void VLine(QPainter& dc, int x, int y0, int y1, const QColor& colour);
// A frame on the border pixels of r (right and bottom inclusive, as QRect counts them).
void FramePixels(QPainter& dc, const QRect& r, const QColor& colour);
// Top and left in one colour, bottom and right in the other.
void Frame3d(QPainter& dc, const QRect& r, const QColor& topLeft, const QColor& bottomRight);
// The selected data cell's orange double frame, or the edge lines of any other data cell.
void DrawDataEdges(QPainter& dc, const QRect& r, bool selected);

bool IsSelectedCell(const CTableCell* cell);
// The record's year (its 4 extra bytes), or fallback without one.
std::int32_t RecordYear(const CellData* record, std::int32_t fallback);
// The cell's HTML through its kind's form.
QString KindHTML(const CellData* record);

// The cursor over clickable parts of the tables, as the cell's table window has it.
QCursor PointerCursor(const QWidget* cell);
// A bitmap button of the numbered bitmaps at pos, shown with the cell.
CNOXButton* MakeCellButton(QWidget* cell, int id, int normal, int hover, int pressed,
                           const QPoint& pos);
// The same with the three pictures of a look's button.
CNOXButton* MakeCellButton(QWidget* cell, int id, const CCellButton& pictures, const QPoint& pos);
// A sort button of a look: the button and its pictures for the active state.
CellSortButton MakeSortButton(QWidget* cell, int id, const CCellButton& pictures,
                              const QPoint& pos);
// The screen position of a button's top-right corner, where its menu opens.
QPoint TopRight(const QWidget* button);
// The id of a button's command event, or 0 for any other event.
int CommandId(const QEvent* e);
// The size commands that data cells share ("Zellengröße", "Spaltenbreite", "Zeilenhöhe");
// false for any other id.
bool RunSizeCommand(CTableCell* cell, int id, int defaultWidth);

// The flat menus of the cells: "MS Sans Serif" 8, black lines, light cyan text on slate.
class CCellMenuPopup {
public:
    explicit CCellMenuPopup(const CellMenu& entries);
    ~CCellMenuPopup();
    CCellMenuPopup(const CCellMenuPopup&) = delete;
    CCellMenuPopup& operator=(const CCellMenuPopup&) = delete;

    // Opens the menu at a screen position. Modal: returns the chosen id (0 for none) once
    // the menu is closed; otherwise returns 0 at once with the menu open.
    int Track(QWidget* owner, int x, int y, bool modal = true);
    CFlatMenu& Menu() { return *m_menus.front(); }

private:
    void Fill(CFlatMenu& menu, const CellMenu& entries);
    CFlatMenu* NewMenu();

    // The top menu first, then its submenus, which must live as long as it.
    std::vector<std::unique_ptr<CFlatMenu>> m_menus;
};

// Shows a kind's context menu at a screen position and runs the chosen command, unless the
// cell went away while the menu was open.
void RunCellMenu(CTableCell* cell, CCellCommands* commands, int x, int y);

// The flag of a country head: a picture that reports a click to its cell as command 103.
class CFlagPicture : public QWidget {
public:
    CFlagPicture(QWidget* parent, const QPixmap& picture);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QPixmap m_picture;
};
