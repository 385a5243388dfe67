#pragma once
// The command a control sends to the window it sits in: a button click or a chosen menu item,
// with the control's id. It is posted, so the control's own mouse handling has finished
// before the window acts on it (a command may well destroy the control).

#include <QEvent>
#include <QPointer>
#include <QWidget>

class CCommandEvent : public QEvent {
public:
    // The old platform's WM_COMMAND (0x111), moved into the toolkit's user range.
    static constexpr QEvent::Type kType = QEvent::Type(QEvent::User + 0x111);

    // id is the control id or menu item id; control is the sender (null for menus).
    explicit CCommandEvent(int id, QWidget* control = nullptr)
        : QEvent(kType), m_id(id), m_control(control) {}

    int Id() const { return m_id; }
    // The sending control, or null when it is gone or the command came from a menu.
    QWidget* Control() const { return m_control; }

private:
    int m_id;
    QPointer<QWidget> m_control;
};
