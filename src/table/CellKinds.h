#pragma once
// The ten cell kinds of the two statistics views. Each draws its cell, offers its own context
// menu and, for header cells, small buttons; each writes itself as an HTML table cell through
// CellKindHTML. The grid creates them by name from the records the filling stores.
//
//   country columns:  CRootLand | CColHeadLand ...
//                     CRowHeadLand | CCellLand ...
//   data columns:     CRootData | CColHeadData or CColHeadDataYear ...
//                     CRowHeadData | CCellData or CCellDataYear ...

#include <vector>

#include <QPixmap>
#include <QString>

#include "table/TableCell.h"
#include "table/TableLook.h"

class CNOXButton;
class CNOXButtonText;
class CFlagPicture;

// One entry of a cell's context menu: a command (non-zero id), a submenu (entries in
// `submenu`), or a separator (no text).
struct CellMenuEntry {
    QString text;
    int id = 0;
    std::vector<CellMenuEntry> submenu;
};
using CellMenu = std::vector<CellMenuEntry>;

// The context menu of a kind: what it offers (some entries depend on the almanac) and what
// each command does. ShowContextMenu shows the entries as a flat menu and runs the choice.
class CCellCommands {
public:
    virtual ~CCellCommands() = default;
    virtual CellMenu MenuEntries() const = 0;
    virtual void OnMenuCommand(int id) = 0;
};

// Command ids of the context menus.
enum CellMenuId : int {
    kMenuCellSizeAll = 1,
    kMenuCellSizeDefault,
    kMenuWidthAll,
    kMenuWidthDefault,
    kMenuHeightAll,
    kMenuHeightDefault,
    kMenuSortAscending,
    kMenuSortDescending,
    kMenuDetails,
    kMenuWorldMap,
    kMenuLandInfo,
    kMenuLandMap,
};

// Control ids of the cells' buttons.
enum CellControlId : int {
    kCellButton1 = 100,
    kCellButton2 = 101,
    kCellButton3 = 102,
    kCellFlag = 103,
    kCellSortAscending = 110,
    kCellSortDescending = 111,
    kCellYearButton = 200,
};

// Makes the ten kinds creatable by their names; calling it again changes nothing.
void RegisterCellKinds();

// A sort button with its second picture for the active state.
struct CellSortButton {
    CNOXButton* button = nullptr;
    int normalId = 0;
    int activeId = 0;
    bool active = false;

    // Shows the active picture while the table is sorted by the button's column in the
    // button's direction, the normal one otherwise.
    void Show(bool on);
};

// Country-column view, data cell: the newest value with its year in small grey type.
class CCellLand : public CTableCell, public CCellCommands {
public:
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    QString GetCellHTML(const CellData* record) const override;
    void ShowContextMenu(int x, int y) override;
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;
};

// Country-column view, column header: the country's name, article, map and menu buttons and
// its flag.
class CColHeadLand : public CTableCell, public CCellCommands {
public:
    bool InitCell() override;
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    void OnCellSize(int left, int top, int right, int bottom) override;
    QString GetCellHTML(const CellData* record) const override;
    void ShowContextMenu(int x, int y) override;
    bool Reuse(int, int) override { return false; }
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;

    // The flag, or null when the country's flag could not be read. It is hidden while the
    // column is too narrow for it beside the buttons.
    QWidget* Flag() const;
    // The name as the head shows it: in the room left of the flag, cut with "…" when it is
    // longer.
    QString ShownName(const CellData* record) const;

protected:
    bool event(QEvent* e) override;

private:
    void OnButton(int id);
    void PlaceFlag(int width);
    QRect NameRect() const;

    CNOXButton* m_article = nullptr;
    CNOXButton* m_map = nullptr;
    CNOXButton* m_menu = nullptr;
    CFlagPicture* m_flag = nullptr;
};

// The corner of either view: its picture, the two selection buttons and, in the data-column
// view, the sort buttons of the names; the view's look gives them. What the buttons do is the
// kind's.
class CRoot : public CTableCell, public CCellCommands {
public:
    explicit CRoot(const CCornerLook& look) : m_look(look) {}
    bool InitCell() override;
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    QString GetCellHTML(const CellData* record) const override;
    bool Reuse(int, int) override { return false; }

protected:
    bool event(QEvent* e) override;
    virtual void OnButton(int id) = 0;

    const CCornerLook& m_look;
    QPixmap m_background;
    CellSortButton m_sortAscending;
    CellSortButton m_sortDescending;
};

// Country-column view, corner: buttons for the data-field and the country selection.
class CRootLand : public CRoot {
public:
    CRootLand();
    void ShowContextMenu(int x, int y) override;
    CellMenu MenuEntries() const override { return {}; }
    void OnMenuCommand(int) override {}

protected:
    void OnButton(int id) override;
};

// A row header of either view: the row's name and a menu button in the view's look. The
// menu is the kind's.
class CRowHead : public CTableCell, public CCellCommands {
public:
    explicit CRowHead(const CRowHeadLook& look) : m_look(look) {}
    bool InitCell() override;
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    QString GetCellHTML(const CellData* record) const override;
    void ShowContextMenu(int x, int y) override;
    bool Reuse(int, int) override { return false; }

protected:
    bool event(QEvent* e) override;

    const CRowHeadLook& m_look;
    CNOXButton* m_menu = nullptr;
};

// Country-column view, row header: the data field's name and a menu button.
class CRowHeadLand : public CRowHead {
public:
    CRowHeadLand();
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;
};

// Data-column view, data cell: the value right-aligned over a bar scaled to the column's
// range; 0 shows "k.A.".
class CCellData : public CTableCell, public CCellCommands {
public:
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    QString GetCellHTML(const CellData* record) const override;
    void ShowContextMenu(int x, int y) override;
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;

protected:
    // Paints background, bar and value with the text and bar ending `rightMargin` pixels
    // left of the cell's right edge; returns the text rectangle after the bar.
    QRect DrawValue(QPainter& dc, const QRect& rect, const CellData* record, int rightMargin);
};

// Data-column view, data cell of a year column: as CCellData, with the value's year, red
// when it is older than the column's year.
class CCellDataYear : public CCellData {
public:
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    QString GetCellHTML(const CellData* record) const override;
};

// Data-column view, column header: the field's name, a menu button and the sort buttons.
class CColHeadData : public CTableCell, public CCellCommands {
public:
    bool InitCell() override;
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    void OnCellSize(int left, int top, int right, int bottom) override;
    QString GetCellHTML(const CellData* record) const override;
    void ShowContextMenu(int x, int y) override;
    bool Reuse(int, int) override { return false; }
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;

    // Shows the context menu at the top-right corner of the menu button.
    virtual void ShowButtonMenu();
    virtual void SortAscending();
    virtual void SortDescending();

protected:
    bool event(QEvent* e) override;
    virtual void OnButton(int id);
    // The sort strip along the bottom, ending `rightMargin` pixels left of the right edge.
    void DrawHead(QPainter& dc, const QRect& rect, const CellData* record, int rightMargin);

    CNOXButton* m_menu = nullptr;
    CellSortButton m_sortAscending;
    CellSortButton m_sortDescending;
};

// Data-column view, column header of a field with years: in addition the year button, whose
// menu lists the field's years and refills the column for the chosen one.
class CColHeadDataYear : public CColHeadData {
public:
    bool InitCell() override;
    void DrawCell(QPainter& dc, const QRect& rect, const CellData* record) override;
    void OnCellSize(int left, int top, int right, int bottom) override;
    QString GetCellHTML(const CellData* record) const override;

    CNOXButtonText* YearButton() const { return m_year; }
    // The year menu's entries: the field's years, newest first; empty when the field has
    // fewer than two.
    CellMenu YearMenuEntries() const;
    // Opens the year menu at the year button; a chosen year refills the column.
    void ShowYearMenu();

protected:
    void OnButton(int id) override;

private:
    CNOXButtonText* m_year = nullptr;
};

// Data-column view, corner: buttons for the selections and the sort buttons of the names.
class CRootData : public CRoot {
public:
    CRootData();
    void ShowContextMenu(int x, int y) override;
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;

protected:
    void OnButton(int id) override;
};

// Data-column view, row header: the country's name and a menu button.
class CRowHeadData : public CRowHead {
public:
    CRowHeadData();
    CellMenu MenuEntries() const override;
    void OnMenuCommand(int id) override;
};
