#include "controls/FlatMenu.h"

#include <QApplication>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QTimerEvent>

#include "controls/BitmapResource.h"
#include "controls/CommandEvent.h"

namespace {

// Length of the opening effect in milliseconds.
constexpr int kEffectDuration = 120;
constexpr int kIconSize = 16;

QRect WorkAreaAt(const QPoint& p, const QWidget* owner) {
    QScreen* screen = QGuiApplication::screenAt(p);
    if (!screen && owner) screen = owner->screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// The first mnemonic letter of an item text ("&Drucken" -> 'D'); "&&" is a plain ampersand.
bool HasMnemonic(const QString& text, QChar c) {
    for (int i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != u'&') continue;
        if (text[i + 1] == u'&') {
            ++i;
            continue;
        }
        if (text[i + 1].toCaseFolded() == c.toCaseFolded()) return true;
    }
    return false;
}

}  // namespace

// The menu's pop-up window. It holds no state of its own: everything goes to its menu, and
// the menu deals with the whole chain of open menus, since the toolkit hands all mouse and
// keyboard input to the newest pop-up.
class CFlatMenuWnd : public QWidget {
public:
    CFlatMenuWnd(CFlatMenu* menu, QWidget* owner)
        : QWidget(owner, Qt::Popup | Qt::FramelessWindowHint | Qt::NoDropShadowWindowHint),
          m_menu(menu) {
        setWindowTitle(QString::fromLatin1(CFlatMenu::kWindowText));
        setAttribute(Qt::WA_NoMouseReplay);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setMouseTracking(true);
        setCursor(Qt::ArrowCursor);
        setFocusPolicy(Qt::StrongFocus);
    }

    // The owner window can take the menu window down with it while the menu is open.
    ~CFlatMenuWnd() override {
        if (m_menu) m_menu->WindowGone();
    }

    CFlatMenu* Menu() const { return m_menu; }

    // The menu lets go of its window; later events find no menu.
    void Detach() {
        m_menu = nullptr;
        m_submenuTimer.stop();
        m_effectTimer.stop();
    }

    void StartSubmenuTimer() { m_submenuTimer.start(CFlatMenu::kSubmenuDelay, this); }
    void StopSubmenuTimer() { m_submenuTimer.stop(); }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (!m_menu) {
            painter.fillRect(rect(), palette().window());
            return;
        }
        if (m_menu->m_effect == 0) {
            m_menu->Paint(painter, width(), height());
            return;
        }
        // The opening effect: the menu is drawn off screen and slides in, downwards for a
        // menu, rightwards for a submenu.
        if (!m_effectClock.isValid()) {
            m_effectClock.start();
            m_effectTimer.start(10, this);
        }
        QPixmap image(size());
        {
            QPainter offscreen(&image);
            m_menu->Paint(offscreen, width(), height());
        }
        const double t = qMin(1.0, m_effectClock.elapsed() / double(kEffectDuration));
        const double eased = 1.0 - (1.0 - t) * (1.0 - t);
        painter.fillRect(rect(), m_menu->m_background);
        if (m_menu->m_effect == 3)
            painter.drawPixmap(int((eased - 1.0) * width()), 0, image);
        else
            painter.drawPixmap(0, int((eased - 1.0) * height()), image);
        painter.setPen(m_menu->m_line);
        painter.drawRect(rect().adjusted(0, 0, -1, -1));
    }

    void timerEvent(QTimerEvent* e) override {
        if (!m_menu) return;
        if (e->timerId() == m_submenuTimer.timerId()) {
            m_submenuTimer.stop();
            m_menu->OnSubmenuTimer();
        } else if (e->timerId() == m_effectTimer.timerId()) {
            if (m_effectClock.elapsed() >= kEffectDuration) {
                m_effectTimer.stop();
                m_menu->m_effect = 0;
            }
            update();
        }
    }

    void mouseMoveEvent(QMouseEvent* e) override {
        if (m_menu) m_menu->OnMouseMove(e->globalPosition().toPoint());
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (m_menu) m_menu->OnMousePress(e->globalPosition().toPoint());
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (m_menu) m_menu->OnMouseRelease(e->globalPosition().toPoint(), e->button());
    }
    void mouseDoubleClickEvent(QMouseEvent* e) override { mousePressEvent(e); }
    void keyPressEvent(QKeyEvent* e) override {
        if (m_menu) m_menu->OnKey(e);
    }
    void closeEvent(QCloseEvent* e) override {
        // The toolkit closes pop-ups of its own accord (the application was deactivated,
        // say): that ends the whole chain with nothing chosen.
        if (m_menu) m_menu->CloseChain();
        QWidget::closeEvent(e);
    }

private:
    CFlatMenu* m_menu;
    QBasicTimer m_submenuTimer;
    QBasicTimer m_effectTimer;
    QElapsedTimer m_effectClock;
};

CFlatMenu::CFlatMenu() { InitDefaults(); }

CFlatMenu::~CFlatMenu() {
    *m_alive = false;
    Destroy();
}

void CFlatMenu::InitDefaults() {
    const QPalette palette = QGuiApplication::palette();
    m_face = QStringLiteral("MS Sans Serif");
    m_size = 8;
    m_text = palette.color(QPalette::Active, QPalette::WindowText);
    m_line = m_text;
    m_background = palette.color(QPalette::Active, QPalette::Window);
    m_disabledText = palette.color(QPalette::Disabled, QPalette::WindowText);
    m_highlightText = palette.color(QPalette::Active, QPalette::HighlightedText);
    m_highlightBackground = palette.color(QPalette::Active, QPalette::Highlight);
}

void CFlatMenu::SetStyle(const QString& face, int size, const QColor& line, const QColor& text,
                         const QColor& background, const QColor& highlightText,
                         const QColor& highlightBackground) {
    m_face = face.left(31);
    m_size = size;
    m_line = line;
    m_text = text;
    m_background = background;
    m_highlightText = highlightText;
    m_highlightBackground = highlightBackground;
}

void CFlatMenu::Attach(int iconBitmapId) {
    m_items.clear();
    m_highlight = -1;
    SetIconBitmap(iconBitmapId >= 0 ? LoadBitmapResource(iconBitmapId) : QPixmap());
}

void CFlatMenu::SetIconBitmap(const QPixmap& icons) {
    m_icons = icons;
    if (!m_icons.isNull())
        m_icons.setMask(m_icons.createMaskFromColor(QColor(255, 0, 255), Qt::MaskInColor));
}

void CFlatMenu::AppendItem(unsigned flags, const QString& text, int id, int icon) {
    m_items.push_back(Item{flags, text, id, nullptr, icon, 0, 0});
}

bool CFlatMenu::AppendSubmenu(unsigned flags, const QString& text, CFlatMenu* submenu, int icon) {
    if ((flags & kSeparator) || !submenu || submenu == this) return false;
    submenu->m_parentMenu = this;
    m_items.push_back(Item{flags, text, 0, submenu, icon, 0, 0});
    return true;
}

QWidget* CFlatMenu::Window() const { return m_window.data(); }

CFlatMenuWnd* CFlatMenu::Wnd() const { return static_cast<CFlatMenuWnd*>(m_window.data()); }

QRect CFlatMenu::ItemRect(int index) const {
    if (index < 0 || index >= ItemCount()) return QRect();
    const Item& item = m_items[index];
    const int width = m_window ? m_columnWidth : 0;
    return QRect(item.left, item.top, width, item.height);
}

QSize CFlatMenu::Layout(int maxHeight) {
    // Font height in pixels from the point size at the display's vertical resolution.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const int dpi = screen ? int(screen->logicalDotsPerInchY()) : 96;
    m_font = QFont(m_face);
    m_font.setPixelSize(qMax(1, m_size * dpi / 72));
    m_boldFont = m_font;
    m_boldFont.setWeight(QFont::Bold);
    const QFontMetrics normal(m_font);
    const QFontMetrics bold(m_boldFont);

    int widest = 0;
    int total = 0;
    for (Item& item : m_items) {
        if (item.flags & kSeparator) {
            item.height = 5;
        } else {
            const QFontMetrics& fm = (item.flags & kDefault) ? bold : normal;
            item.height = fm.height() + 4;
            widest
                = qMax(widest, fm.boundingRect(QRect(), Qt::TextShowMnemonic, item.text).width());
        }
        total += item.height;
    }

    // A list that would run off the screen continues in further columns, as long year
    // lists do; the columns are then filled evenly rather than the last one holding a rest.
    auto place = [this](int limit) {
        int y = 3;
        int tallest = 0;
        m_columns = 1;
        for (Item& item : m_items) {
            if (y > 3 && y + item.height + 2 > limit) {
                ++m_columns;
                y = 3;
            }
            item.top = y;
            item.left = m_columns - 1;  // the column for now; TrackPopup makes it pixels
            y += item.height;
            tallest = qMax(tallest, y);
        }
        return qMax(tallest, 3);
    };
    int tallest = place(maxHeight);
    if (m_columns > 1) {
        const int columns = m_columns;
        for (int limit = 5 + (total + columns - 1) / columns; limit < maxHeight; limit += 4) {
            tallest = place(limit);
            if (m_columns <= columns) break;
        }
        if (m_columns > columns) tallest = place(maxHeight);
    }
    return QSize(widest, tallest + 2);
}

int CFlatMenu::TrackPopup(int x, int y, QWidget* owner, bool modal, bool asSubmenu, int minWidth) {
    if (m_window) CloseWindow();
    m_owner = owner;
    m_modal = modal;
    m_isSubmenu = asSubmenu;
    m_highlight = -1;
    m_chosenId = 0;
    m_openSubmenu = nullptr;

    const QRect work = WorkAreaAt(QPoint(x, y), owner);
    const QSize content = Layout(work.height() - 2);
    m_columnWidth = qMax(content.width(), minWidth) + 42;
    for (Item& item : m_items) item.left *= m_columnWidth;
    const QSize size(m_columnWidth * m_columns, content.height());

    // The menu opens to the right of and below the point where it fits; where it does not,
    // it moves against the work area's right edge or up from its bottom edge, one direction
    // at a time, and never past the left or top edge.
    const int workRight = work.x() + work.width();
    const int workBottom = work.y() + work.height();
    int left = x;
    int top = y;
    if (x + size.width() > workRight) left = workRight - size.width();
    if (y + size.height() > workBottom) top = workBottom - 2 - size.height();
    left = qMax(left, work.x());
    top = qMax(top, work.y());

    m_effect = asSubmenu ? 3 : 1;
    auto* window = new CFlatMenuWnd(this, owner);
    m_window = window;
    window->setGeometry(QRect(QPoint(left, top), size));
    if (!asSubmenu) {
        m_buttonsDownAtOpen = QGuiApplication::mouseButtons() & (Qt::LeftButton | Qt::RightButton);
        // Focus passing to anything but a menu of the chain closes the menus.
        // The window outlives its menu until its deferred deletion; it asks for the menu.
        QObject::connect(qApp, &QApplication::focusChanged, window,
                         [window](QWidget*, QWidget* now) {
                             if (now && now->window()->windowTitle() != QLatin1String(kWindowText)
                                 && window->Menu())
                                 window->Menu()->CloseChain();
                         });
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, window,
                         [window](Qt::ApplicationState state) {
                             if (state != Qt::ApplicationActive && window->Menu())
                                 window->Menu()->CloseChain();
                         });
    }
    window->show();

    if (!modal) return 0;
    const std::shared_ptr<bool> alive = m_alive;
    QEventLoop loop;
    m_loop = &loop;
    if (m_window) loop.exec();
    if (!*alive) return 0;
    m_loop = nullptr;
    // The loop also ends when the application quits; the menus go with it.
    if (m_window) CloseChain();
    return m_chosenId;
}

void CFlatMenu::Destroy() {
    CloseWindow();
    m_items.clear();
    m_highlight = -1;
    m_icons = QPixmap();
}

void CFlatMenu::CloseWindow() {
    if (!m_window || m_closing) return;
    m_closing = true;
    if (m_openSubmenu) m_openSubmenu->CloseWindow();
    m_openSubmenu = nullptr;

    CFlatMenuWnd* window = Wnd();
    m_window = nullptr;
    window->Detach();
    window->hide();
    window->deleteLater();

    if (m_isSubmenu && m_parentMenu && m_parentMenu->m_openSubmenu == this)
        m_parentMenu->m_openSubmenu = nullptr;
    // A command 0 would be no command; only a choice is posted.
    if (!m_modal && !m_isSubmenu && m_chosenId != 0 && m_owner)
        QCoreApplication::postEvent(m_owner, new CCommandEvent(m_chosenId));
    m_closing = false;
    if (m_loop) m_loop->quit();
}

void CFlatMenu::WindowGone() {
    m_window = nullptr;
    if (m_openSubmenu) m_openSubmenu->CloseWindow();
    m_openSubmenu = nullptr;
    if (m_isSubmenu && m_parentMenu && m_parentMenu->m_openSubmenu == this)
        m_parentMenu->m_openSubmenu = nullptr;
    if (m_loop) m_loop->quit();
}

CFlatMenu* CFlatMenu::TopMenu() {
    CFlatMenu* menu = this;
    while (menu->m_isSubmenu && menu->m_parentMenu && menu->m_parentMenu->m_window)
        menu = menu->m_parentMenu;
    return menu;
}

void CFlatMenu::CloseChain() { TopMenu()->CloseWindow(); }

CFlatMenu* CFlatMenu::MenuAt(const QPoint& global) {
    // Submenus lie over their parents: the deepest menu under the point wins.
    CFlatMenu* found = nullptr;
    for (CFlatMenu* menu = TopMenu(); menu && menu->m_window; menu = menu->m_openSubmenu) {
        if (menu->m_window->geometry().contains(global)) found = menu;
    }
    return found;
}

int CFlatMenu::HitItem(const QPoint& local) const {
    if (!m_window) return -1;
    // The frame and the top and left margins belong to no item.
    if (local.x() <= 2 || local.y() <= 2 || local.x() >= m_window->width()
        || local.y() >= m_window->height())
        return -1;
    for (int i = 0; i < ItemCount(); ++i) {
        const Item& item = m_items[i];
        if (local.x() >= item.left && local.x() < item.left + m_columnWidth && local.y() >= item.top
            && local.y() < item.top + item.height)
            return (item.flags & (kSeparator | kNotSelectable)) ? -1 : i;
    }
    return -1;
}

bool CFlatMenu::TakesKeyboard(int index) const {
    return !(m_items[index].flags & (kSeparator | kNotSelectable | kGrayed));
}

void CFlatMenu::Choose(int id) {
    CFlatMenu* top = TopMenu();
    top->m_chosenId = id;
    top->CloseWindow();
}

void CFlatMenu::SetHighlight(int index, bool byMouse) {
    if (index == m_highlight || !m_window) return;
    m_highlight = index;
    m_window->update();
    if (!byMouse) return;
    // Submenus open, and an open one closes, only once the mouse rests.
    const bool opens = index >= 0 && m_items[index].submenu;
    if (opens || m_openSubmenu)
        Wnd()->StartSubmenuTimer();
    else
        Wnd()->StopSubmenuTimer();
}

void CFlatMenu::OpenSubmenu(int index, bool selectFirst) {
    CFlatMenu* submenu = m_items[index].submenu;
    if (!submenu || !m_window) return;
    if (m_openSubmenu == submenu && submenu->IsOpen()) return;
    if (m_openSubmenu) m_openSubmenu->CloseWindow();
    const QPoint origin = m_window->geometry().topLeft();
    submenu->m_parentMenu = this;
    m_openSubmenu = submenu;
    submenu->TrackPopup(origin.x() + m_window->width() - 5, origin.y() + m_items[index].top - 3,
                        m_owner, false, true);
    if (selectFirst) {
        for (int i = 0; i < submenu->ItemCount(); ++i) {
            if (submenu->TakesKeyboard(i)) {
                submenu->SetHighlight(i, false);
                break;
            }
        }
    }
}

void CFlatMenu::OnSubmenuTimer() {
    if (m_highlight >= 0 && m_items[m_highlight].submenu) {
        OpenSubmenu(m_highlight, false);
    } else if (m_openSubmenu) {
        m_openSubmenu->CloseWindow();
    }
}

void CFlatMenu::OnMouseMove(const QPoint& global) {
    CFlatMenu* menu = MenuAt(global);
    if (!menu) return;
    menu->SetHighlight(menu->HitItem(menu->m_window->mapFromGlobal(global)), true);
}

void CFlatMenu::OnMousePress(const QPoint& global) {
    CFlatMenu* menu = MenuAt(global);
    if (!menu) {
        CloseChain();
        return;
    }
    const int index = menu->HitItem(menu->m_window->mapFromGlobal(global));
    if (index < 0 || !menu->m_items[index].submenu) return;
    menu->SetHighlight(index, true);
    menu->Wnd()->StopSubmenuTimer();
    menu->OpenSubmenu(index, false);
}

void CFlatMenu::OnMouseRelease(const QPoint& global, Qt::MouseButton button) {
    // The release of the click that opened the menu is no choice.
    CFlatMenu* top = TopMenu();
    if (top->m_buttonsDownAtOpen & button) {
        top->m_buttonsDownAtOpen &= ~Qt::MouseButtons(button);
        return;
    }
    CFlatMenu* menu = MenuAt(global);
    if (!menu) return;
    const int index = menu->HitItem(menu->m_window->mapFromGlobal(global));
    if (index < 0 || menu->m_items[index].submenu || menu->m_items[index].id == 0) return;
    Choose(menu->m_items[index].id);
}

void CFlatMenu::OnKey(QKeyEvent* e) {
    // Keys act on the newest menu of the chain.
    CFlatMenu* menu = TopMenu();
    while (menu->m_openSubmenu && menu->m_openSubmenu->m_window) menu = menu->m_openSubmenu;

    if (e->key() == Qt::Key_Alt || e->key() == Qt::Key_F10 || (e->modifiers() & Qt::AltModifier)) {
        CloseChain();
        return;
    }
    const int count = menu->ItemCount();
    auto step = [&](int direction) {
        int start = menu->m_highlight;
        if (start < 0) start = direction > 0 ? -1 : count;
        for (int n = 1; n <= count; ++n) {
            const int index = ((start + direction * n) % count + count) % count;
            if (menu->TakesKeyboard(index)) {
                menu->SetHighlight(index, false);
                return;
            }
        }
    };
    auto activate = [&](int index) {
        if (menu->m_items[index].submenu) {
            menu->SetHighlight(index, false);
            menu->OpenSubmenu(index, true);
        } else if (menu->m_items[index].id != 0) {
            Choose(menu->m_items[index].id);
        }
    };

    switch (e->key()) {
        case Qt::Key_Escape:
            if (menu->m_isSubmenu)
                menu->CloseWindow();
            else
                CloseChain();
            return;
        case Qt::Key_Down:
            if (count > 0) step(1);
            return;
        case Qt::Key_Up:
            if (count > 0) step(-1);
            return;
        case Qt::Key_Right:
            if (menu->m_highlight >= 0 && menu->m_items[menu->m_highlight].submenu)
                activate(menu->m_highlight);
            return;
        case Qt::Key_Left:
            if (menu->m_isSubmenu) menu->CloseWindow();
            return;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            if (menu->m_highlight >= 0 && menu->TakesKeyboard(menu->m_highlight))
                activate(menu->m_highlight);
            return;
        default:
            break;
    }

    const QString text = e->text();
    if (text.size() != 1 || !text[0].isPrint()) return;
    for (int i = 0; i < count; ++i) {
        if (menu->TakesKeyboard(i) && HasMnemonic(menu->m_items[i].text, text[0])) {
            activate(i);
            return;
        }
    }
}

void CFlatMenu::Paint(QPainter& painter, int width, int height) {
    painter.setPen(m_line);
    painter.setBrush(m_background);
    painter.drawRect(0, 0, width - 1, height - 1);
    painter.setBrush(Qt::NoBrush);
    for (int column = 1; column < m_columns; ++column)
        painter.drawLine(column * m_columnWidth, 1, column * m_columnWidth, height - 2);

    const int columnWidth = m_columns > 1 ? m_columnWidth : width;
    for (int i = 0; i < ItemCount(); ++i) {
        const Item& item = m_items[i];
        const int left = item.left;
        if (item.flags & kSeparator) {
            painter.setPen(m_line);
            painter.drawLine(left + 1, item.top + 2, left + columnWidth - 2, item.top + 2);
            continue;
        }
        const bool highlighted = i == m_highlight;
        painter.fillRect(QRect(left + 3, item.top, columnWidth - 5, item.height),
                         highlighted ? m_highlightBackground : m_background);
        if (item.icon >= 0 && !m_icons.isNull()) {
            painter.drawPixmap(QPoint(left + 4, item.top),
                               m_icons.copy(item.icon * kIconSize, 0, kIconSize, kIconSize));
        }
        QColor color = highlighted ? m_highlightText : m_text;
        if (item.flags & kGrayed) color = m_disabledText;
        painter.setPen(color);
        painter.setFont((item.flags & kDefault) ? m_boldFont : m_font);
        painter.drawText(QRect(left + 23, item.top, columnWidth - 23, item.height),
                         Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine
                             | Qt::TextShowMnemonic | Qt::TextDontClip,
                         item.text);
        if (item.submenu) {
            // A small bold chevron pointing right.
            painter.setPen(highlighted ? m_highlightText : m_text);
            const int x = left + columnWidth - 7;
            const int y = item.top + 8;
            painter.drawLine(x - 3, y - 3, x, y);
            painter.drawLine(x - 3, y + 3, x, y);
            painter.drawLine(x - 4, y - 3, x - 1, y);
            painter.drawLine(x - 4, y + 3, x - 1, y);
        }
    }
}
