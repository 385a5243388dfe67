#include "controls/NOXButton.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include "controls/BitmapResource.h"
#include "controls/CommandEvent.h"

namespace {

constexpr int kLeaveCheckMs = 25;
constexpr int kToolTipDelayMs = 500;
constexpr int kDisabledPicture = 3;

}  // namespace

bool IsUnderCursor(const QWidget* w) { return QApplication::widgetAt(QCursor::pos()) == w; }

void PostCommandToParent(QWidget* w, int id) {
    if (QWidget* parent = w->parentWidget())
        QCoreApplication::postEvent(parent, new CCommandEvent(id, w));
}

CNOXButton::CNOXButton(QWidget* parent) : QWidget(parent) {
    // Not opaque: a picture with transparent parts shows the cell beneath it.
    setMouseTracking(true);
    hide();
}

bool CNOXButton::SetBitmaps(int normalId, int hoverId, int pressedId) {
    return SetBitmaps(LoadBitmapResource(normalId), LoadBitmapResource(hoverId),
                      LoadBitmapResource(pressedId));
}

bool CNOXButton::SetBitmaps(const QString& normalFile, const QString& hoverFile,
                            const QString& pressedFile) {
    return SetBitmaps(QPixmap(normalFile), QPixmap(hoverFile), QPixmap(pressedFile));
}

bool CNOXButton::SetBitmaps(const QPixmap& normal, const QPixmap& hover, const QPixmap& pressed) {
    if (normal.isNull() || hover.isNull() || pressed.isNull()) return false;
    m_bitmaps[kNormal] = normal;
    m_bitmaps[kHover] = hover;
    m_bitmaps[kPressed] = pressed;
    if (m_created) resize(normal.size());
    update();
    return true;
}

bool CNOXButton::SetDisabledBitmap(int id) {
    QPixmap bitmap = LoadBitmapResource(id);
    if (bitmap.isNull()) return false;
    SetDisabledBitmap(bitmap);
    return true;
}

bool CNOXButton::SetDisabledBitmap(const QString& file) {
    QPixmap bitmap(file);
    if (bitmap.isNull()) return false;
    SetDisabledBitmap(bitmap);
    return true;
}

void CNOXButton::SetDisabledBitmap(const QPixmap& bitmap) {
    m_bitmaps[kDisabledPicture] = bitmap;
    if (m_disabled) update();
}

void CNOXButton::SetBitmap(State state, const QPixmap& bitmap) {
    if (bitmap.isNull()) return;
    m_bitmaps[state] = bitmap;
    update();
}

bool CNOXButton::Create(int id, const QPoint& pos, const QCursor* cursor) {
    if (m_bitmaps[kNormal].isNull()) return false;
    m_id = id;
    m_created = true;
    setGeometry(QRect(pos, m_bitmaps[kNormal].size()));
    if (cursor)
        setCursor(*cursor);
    else
        setCursor(Qt::ArrowCursor);
    show();
    return true;
}

void CNOXButton::SetCursor(const QCursor& cursor) { setCursor(cursor); }

void CNOXButton::Enable(bool enable) {
    if (enable != m_disabled) return;
    m_disabled = !enable;
    m_leaveTimer.stop();
    m_toolTipTimer.stop();
    HideToolTip();
    SetState(kNormal);
}

void CNOXButton::SetState(State state) {
    m_state = state;
    // The state must show at once, not after the next round of the event loop.
    repaint();
}

void CNOXButton::HideToolTip() {
    if (m_toolTipShown) QToolTip::hideText();
    m_toolTipShown = false;
}

bool CNOXButton::event(QEvent* e) {
    // The tool tip follows the button's own delay, not the toolkit's.
    if (e->type() == QEvent::ToolTip) return true;
    return QWidget::event(e);
}

void CNOXButton::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QPixmap& shown = m_disabled && !m_bitmaps[kDisabledPicture].isNull()
                               ? m_bitmaps[kDisabledPicture]
                               : (m_disabled ? m_bitmaps[kNormal] : m_bitmaps[m_state]);
    painter.drawPixmap(0, 0, shown);
}

void CNOXButton::mouseMoveEvent(QMouseEvent*) {
    if (m_disabled || m_state != kNormal) return;
    SetState(kHover);
    m_leaveTimer.start(kLeaveCheckMs, this);
    if (!m_toolTip.isEmpty()) m_toolTipTimer.start(kToolTipDelayMs, this);
}

void CNOXButton::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || m_disabled) return;
    SetState(kPressed);
}

void CNOXButton::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton || m_disabled) return;
    // The toolkit hands the release to the button that saw the press, wherever the mouse
    // is now; a click only counts over the button itself.
    if (!rect().contains(e->position().toPoint())) return;
    m_toolTipTimer.stop();
    HideToolTip();
    SetState(kHover);
    PostCommandToParent(this, m_id);
    emit command(m_id);
}

void CNOXButton::timerEvent(QTimerEvent* e) {
    if (e->timerId() == m_leaveTimer.timerId()) {
        if (IsUnderCursor(this)) return;
        m_leaveTimer.stop();
        m_toolTipTimer.stop();
        HideToolTip();
        SetState(kNormal);
    } else if (e->timerId() == m_toolTipTimer.timerId()) {
        m_toolTipTimer.stop();
        QToolTip::showText(QCursor::pos(), m_toolTip, this);
        m_toolTipShown = true;
    } else {
        QWidget::timerEvent(e);
    }
}
