#pragma once
// The program's own popup menu, drawn flat in the colours of the window that opens it. A menu
// is filled item by item, styled, and tracked: it opens as a borderless pop-up, follows mouse
// and keyboard, opens submenus after a delay and yields the chosen item's id.
//
//     CFlatMenu menu;
//     menu.SetStyle("MS Sans Serif", 8, Qt::black, QColor(63, 221, 224), QColor(87, 106, 122),
//                   Qt::white, QColor(51, 51, 51));
//     menu.Attach(-1);
//     menu.AppendItem(0, "&Detailinfo anzeigen", 1);
//     int id = menu.TrackPopup(pos.x(), pos.y(), this, true);   // 0: nothing chosen
//
// Submenus are menus of their own, owned by the caller like the top menu; they must live as
// long as the menu they were appended to.

#include <QColor>
#include <QFont>
#include <QPixmap>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <memory>
#include <vector>

class QEventLoop;
class QKeyEvent;
class QPainter;
class CFlatMenuWnd;

class CFlatMenu {
public:
    // Item flags.
    enum : unsigned {
        kSeparator = 1,
        kNotSelectable = 2,  // never highlighted or chosen by the mouse
        kDefault = 4,        // drawn bold
        kGrayed = 8,         // drawn in the disabled text colour
    };

    // The text every menu window carries; focus moving to a window without it closes menus.
    static constexpr const char* kWindowText = "~FlatMenu~";
    // How long the mouse rests on an item before its submenu opens, in milliseconds.
    static constexpr int kSubmenuDelay = 400;

    CFlatMenu();
    ~CFlatMenu();
    CFlatMenu(const CFlatMenu&) = delete;
    CFlatMenu& operator=(const CFlatMenu&) = delete;

    // Font "MS Sans Serif" 8 and the desktop's menu colours.
    void InitDefaults();
    // Font face (at most 31 characters) and size in points; line (frame and separators),
    // text, background, highlight text and highlight background colours.
    void SetStyle(const QString& face, int size, const QColor& line, const QColor& text,
                  const QColor& background, const QColor& highlightText,
                  const QColor& highlightBackground);
    // Clears the items and takes the item icons from the numbered bitmap (-1 for none).
    void Attach(int iconBitmapId = -1);
    // The item icons: 16-pixel cells side by side, magenta transparent.
    void SetIconBitmap(const QPixmap& icons);

    void AppendItem(unsigned flags, const QString& text, int id, int icon = -1);
    // Appends an item that opens submenu; refused (false) for a separator.
    bool AppendSubmenu(unsigned flags, const QString& text, CFlatMenu* submenu, int icon = -1);

    // Opens the menu at (x, y) in screen coordinates, kept inside the work area. Modal: runs
    // until the menu is gone and returns the chosen id (0 for none). Otherwise returns 0 at
    // once and posts the chosen id to owner as a CCommandEvent. The menu is at least
    // minWidth wide (plus its margins).
    int TrackPopup(int x, int y, QWidget* owner, bool modal, bool asSubmenu = false,
                   int minWidth = 0);
    // Closes an open menu window and frees the items.
    void Destroy();

    bool IsOpen() const { return m_window != nullptr; }
    // The menu window while the menu is open, else null.
    QWidget* Window() const;
    // The highlighted item's index, -1 for none.
    int HighlightedItem() const { return m_highlight; }
    int ItemCount() const { return int(m_items.size()); }
    // An item's rectangle in the menu window (valid once the menu was laid out).
    QRect ItemRect(int index) const;

private:
    friend class CFlatMenuWnd;

    struct Item {
        unsigned flags = 0;
        QString text;
        int id = 0;
        CFlatMenu* submenu = nullptr;
        int icon = -1;
        int top = 0;
        int height = 0;
        int left = 0;  // of the item's column
    };

    CFlatMenuWnd* Wnd() const;
    // Lays the items out in columns no higher than maxHeight (a list longer than the screen
    // breaks into further columns); returns the widest text and the tallest column's height.
    QSize Layout(int maxHeight);
    void CloseWindow();
    // The window was destroyed from outside (with its owner).
    void WindowGone();
    void CloseChain();
    CFlatMenu* TopMenu();
    CFlatMenu* MenuAt(const QPoint& global);
    int HitItem(const QPoint& local) const;
    bool TakesKeyboard(int index) const;
    void Choose(int id);
    void SetHighlight(int index, bool byMouse);
    void OpenSubmenu(int index, bool selectFirst);
    void OnSubmenuTimer();

    // Input of the whole chain, whichever of its windows the toolkit hands it to.
    void OnMouseMove(const QPoint& global);
    void OnMousePress(const QPoint& global);
    void OnMouseRelease(const QPoint& global, Qt::MouseButton button);
    void OnKey(QKeyEvent* e);
    void Paint(QPainter& painter, int width, int height);

    // Style.
    QString m_face;
    int m_size = 8;
    QColor m_line, m_text, m_background, m_disabledText, m_highlightText, m_highlightBackground;
    QFont m_font, m_boldFont;
    QPixmap m_icons;

    std::vector<Item> m_items;
    int m_columns = 1;
    int m_columnWidth = 0;

    // Tracking state.
    QPointer<QWidget> m_window;  // a CFlatMenuWnd

    QPointer<QWidget> m_owner;
    int m_highlight = -1;
    int m_chosenId = 0;
    bool m_modal = false;
    bool m_isSubmenu = false;
    bool m_closing = false;
    CFlatMenu* m_parentMenu = nullptr;
    CFlatMenu* m_openSubmenu = nullptr;
    Qt::MouseButtons m_buttonsDownAtOpen;
    int m_effect = 0;
    QEventLoop* m_loop = nullptr;
    // Lets a modal TrackPopup notice that the menu object was deleted while it ran.
    std::shared_ptr<bool> m_alive = std::make_shared<bool>(true);
};
