#pragma once
// Where the main window's small dialogs open: centred over their owner, inside its screen.

#include <QScreen>
#include <QWidget>

inline void CenterOverParent(QWidget& dialog, const QWidget* owner) {
    if (!owner) return;
    const QRect frame = owner->frameGeometry();
    QRect placed(QPoint(0, 0), dialog.size());
    placed.moveCenter(frame.center());
    if (const QScreen* screen = owner->screen()) {
        const QRect work = screen->availableGeometry();
        placed.moveLeft(qBound(work.left(), placed.left(), work.right() - placed.width() + 1));
        placed.moveTop(qBound(work.top(), placed.top(), work.bottom() - placed.height() + 1));
    }
    dialog.move(placed.topLeft());
}
