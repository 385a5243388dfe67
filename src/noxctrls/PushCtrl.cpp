#include "noxctrls/PushCtrl.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPointer>

#include "noxctrls/NoxToolTip.h"

CPushCtrl::CPushCtrl(QWidget* parent) : CNoxCtrl(parent) {
    setMouseTracking(true);
    SetCursorName(QStringLiteral("Pointer"));
}

QStringList CPushCtrl::LoadBitmaps(const QString& base, const QString& states) {
    QStringList missing;
    m_base = base;
    const struct {
        QChar ending;
        QPixmap* pixmap;
    } pictures[] = {{QLatin1Char('0'), &m_disabled},
                    {QLatin1Char('n'), &m_normal},
                    {QLatin1Char('h'), &m_hover},
                    {QLatin1Char('c'), &m_pressed}};
    for (const auto& picture : pictures) {
        if (states.contains(picture.ending))
            LoadInto(QStringLiteral("%1_%2.bmp").arg(base, picture.ending), *picture.pixmap,
                     missing);
        else
            *picture.pixmap = QPixmap();
    }
    update();
    return missing;
}

const QPixmap& CPushCtrl::CurrentPixmap(QString& name) const {
    // A skin without one of the pictures (the command bar's buttons have no disabled one)
    // shows the normal picture there rather than a gap.
    auto pick = [&](const QPixmap& pixmap, const char* ending) -> const QPixmap& {
        name = m_base + QLatin1String(ending);
        if (!pixmap.isNull() || m_normal.isNull()) return pixmap;
        name = m_base + QLatin1String("_n.bmp");
        return m_normal;
    };
    if (!isEnabled()) return pick(m_disabled, "_0.bmp");
    switch (m_state) {
        case State::Pressed:
            return pick(m_pressed, "_c.bmp");
        case State::Hover:
            return pick(m_hover, "_h.bmp");
        case State::Normal:
            break;
    }
    return pick(m_normal, "_n.bmp");
}

void CPushCtrl::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    QString name;
    const QPixmap& pixmap = CurrentPixmap(name);
    if (pixmap.isNull())
        DrawMissingBitmap(painter, rect(), name);
    else
        painter.drawPixmap(rect(), pixmap);
}

void CPushCtrl::SetState(State state) {
    if (m_state == state) return;
    m_state = state;
    update();
}

void CPushCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) return;
    m_toolTipTimer.stop();
    HideNoxToolTip(this);
    m_buttonDown = true;
    SetState(State::Pressed);
}

void CPushCtrl::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    if (m_buttonDown)
        SetState(inside ? State::Pressed : State::Normal);
    else
        SetState(inside ? State::Hover : State::Normal);
}

void CPushCtrl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton || !m_buttonDown) return;
    m_buttonDown = false;
    const bool inside = rect().contains(event->position().toPoint());
    SetState(inside ? State::Hover : State::Normal);
    if (!inside) return;
    // The command may close and delete the window, and this button with it.
    QPointer<CPushCtrl> self(this);
    OnClicked();
    if (self) emit command(Id());
}

void CPushCtrl::enterEvent(QEnterEvent*) {
    m_mouseInside = true;
    if (m_buttonDown) return;
    SetState(State::Hover);
    if (!m_toolTip.isEmpty()) m_toolTipTimer.start(qMax(0, ToolTipStyle().delay), this);
}

void CPushCtrl::leaveEvent(QEvent*) {
    m_mouseInside = false;
    m_toolTipTimer.stop();
    HideNoxToolTip(this);
    if (!m_buttonDown) SetState(State::Normal);
}

void CPushCtrl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        // A disabled button forgets the mouse; enabled again, it starts from normal.
        m_buttonDown = false;
        m_toolTipTimer.stop();
        HideNoxToolTip(this);
        m_state = State::Normal;
        update();
    }
    CNoxCtrl::changeEvent(event);
}

void CPushCtrl::hideEvent(QHideEvent* event) {
    m_toolTipTimer.stop();
    HideNoxToolTip(this);
    m_buttonDown = false;
    m_state = State::Normal;
    CNoxCtrl::hideEvent(event);
}

void CPushCtrl::timerEvent(QTimerEvent* event) {
    if (event->timerId() != m_toolTipTimer.timerId()) {
        CNoxCtrl::timerEvent(event);
        return;
    }
    m_toolTipTimer.stop();
    if (isEnabled() && m_mouseInside && !m_buttonDown) ShowNoxToolTip(m_toolTip, this);
}
