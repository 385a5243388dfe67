#pragma once
// Push button: four bitmaps named by a base name and the endings _0 (disabled), _n (normal),
// _h (under the mouse) and _c (pressed). A press and a release inside the button send the
// command; a release elsewhere sends none. An optional tooltip appears after the tooltip
// delay while the mouse rests on the button.

#include <QBasicTimer>

#include "noxctrls/NoxCtrl.h"

class NOXCTRLS_EXPORT CPushCtrl : public CNoxCtrl {
    Q_OBJECT
public:
    enum class State { Normal, Hover, Pressed };

    explicit CPushCtrl(QWidget* parent = nullptr);

    // Loads <skin folder><base>_<ending>.bmp for every ending in states (of "0nhc"); returns
    // the paths that could not be read. The buttons of the command bar change their base
    // name at run time this way.
    QStringList LoadBitmaps(const QString& base, const QString& states = QStringLiteral("0nhc"));
    QString BitmapBase() const { return m_base; }

    QString ToolTipText() const { return m_toolTip; }
    void SetToolTipText(const QString& text) { m_toolTip = text; }

    State CurrentState() const { return m_state; }

protected:
    // The picture of the current state: 0 disabled, 1 normal, 2 hover, 3 pressed; the two-state
    // button adds its on pictures.
    virtual const QPixmap& CurrentPixmap(QString& name) const;
    // Runs after a press and release inside the button, before the command is sent.
    virtual void OnClicked() {}

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

    void SetState(State state);

    QString m_base;
    QPixmap m_disabled, m_normal, m_hover, m_pressed;

private:
    State m_state = State::Normal;
    bool m_buttonDown = false;   // the left button went down on this control
    bool m_mouseInside = false;  // between enter and leave
    QString m_toolTip;
    QBasicTimer m_toolTipTimer;
};
