#pragma once
// The look of the two table views in one record each: the colours, fonts and bitmap numbers
// of the corner, the column and row headers and the data cells. The cell kinds draw from these
// records; the parts both views have (corner, row header) are drawn by one routine each.

#include <optional>

#include <QColor>
#include <QFont>

// A font as the cell kinds name it: the face at a size in points, semi-bold (600) when asked.
class CCellFont {
public:
    CCellFont(const char* face, double points, bool semiBold = false)
        : face(face), points(points), semiBold(semiBold) {}

    // The font, made on first use: the looks exist before the toolkit does.
    const QFont& Font() const;

    const char* face;
    double points;
    bool semiBold;

private:
    mutable std::optional<QFont> m_font;
};

// The three pictures of an image button (normal, under the mouse, pressed), for a sort button
// the normal picture while its sort is on (0: none), and the tooltip of a button that shows
// only a pictogram (null: none).
struct CCellButton {
    int normal;
    int hover;
    int pressed;
    int active = 0;
    const char* toolTip = nullptr;
};

// The corner: its background picture over the header colour, the two selection buttons and,
// in the data-column view, the sort buttons of the names.
struct CCornerLook {
    int background;
    CCellButton first;   // at (113, 4)
    CCellButton second;  // at (146, 4)
    bool sortButtons;
    CCellButton sortAscending;   // at (3, 36)
    CCellButton sortDescending;  // right of it
};

// A row header: the row's name on a background alternating with the row, lines along the
// left, right and bottom edges, and the menu button.
struct CRowHeadLook {
    QColor oddBack;
    QColor evenBack;
    QColor leftOuter;  // column 0 of the cell
    QColor leftInner;  // column 1
    QColor right;
    QColor bottom;
    QColor ink;
    CCellFont font;
    // The name's box starts 4 pixels in from the left, top and bottom; it ends at x =
    // textRightEdge, or without one textRightInset pixels left of the right edge.
    int textRightEdge;
    int textRightInset;
    CCellButton menu;  // at (159, 3)
};

// Country-column view: the country's column header and the value cells.
struct CLandHeadLook {
    QColor back;
    QColor topLine0;
    QColor topLine1;
    QColor bottomLine0;  // second to last row of pixels
    QColor bottomLine1;  // last row
    QColor left;
    QColor right;
    QColor ink;
    CCellFont font;
    CCellButton article;  // the three buttons at y = 33, left to right
    CCellButton map;
    CCellButton menu;
};

struct CLandCellLook {
    QColor oddBack;
    QColor evenBack;
    QColor ink;
    CCellFont numberFont;
    CCellFont textFont;
    CCellFont yearFont;
    QColor yearInk;
};

// Data-column view: the data field's column header and the value cells with their bars.
struct CFieldHeadLook {
    QColor back;
    QColor bottom;
    QColor left;
    QColor right;
    QColor ink;
    CCellFont font;
    QColor strip;  // the strip along the bottom under the sort buttons
    QColor stripLight;
    QColor stripDark;
    CCellButton menu;
    CCellButton sortAscending;
    CCellButton sortDescending;
    // The year button: light edge, dark edge, background and text for normal, under the
    // mouse and pressed, and its font.
    QColor year[3][4];
    CCellFont yearFont;
};

struct CFieldCellLook {
    QColor oddBack;
    QColor evenBack;
    QColor ink;
    QColor negativeInk;
    QColor barBack;
    QColor bar;
    QColor negativeBarBack;
    QColor negativeBar;
    CCellFont normalFont;
    CCellFont semiBoldFont;
    CCellFont yearFont;
    QColor yearInk;       // the value is of the column's year
    QColor olderYearInk;  // an older value
};

struct CStaatenLook {
    CCornerLook corner;
    CLandHeadLook columnHead;
    CRowHeadLook rowHead;
    CLandCellLook cell;
};

struct CDatenLook {
    CCornerLook corner;
    CFieldHeadLook columnHead;
    CRowHeadLook rowHead;
    CFieldCellLook cell;
};

// Country columns, one row per data field (CRootLand, CColHeadLand, CRowHeadLand, CCellLand).
const CStaatenLook& StaatenLook();
// Data-field columns, one row per country (CRootData, CColHeadData, CColHeadDataYear,
// CRowHeadData, CCellData, CCellDataYear).
const CDatenLook& DatenLook();

// The colour the corner's picture lies on, and around it where the picture is smaller.
inline const QColor kCornerBack(173, 186, 206);
