#pragma once
// The bitmap button ("NOXButton"): a small child button drawn wholly from pictures, which the
// program places itself (the image, sort and menu buttons of the table cells). A click reaches
// the parent as a CCommandEvent with the control id.

#include <QBasicTimer>
#include <QPixmap>
#include <QString>
#include <QWidget>

class QCursor;

class CNOXButton : public QWidget {
    Q_OBJECT

public:
    // States of the button; the pictures are kept in the same order, the disabled one last.
    enum State { kNormal = 0, kHover = 1, kPressed = 2 };

    explicit CNOXButton(QWidget* parent);

    // The normal, under-the-mouse and pressed pictures from the program's numbered bitmaps;
    // false, and nothing changed, when one of them is missing.
    bool SetBitmaps(int normalId, int hoverId, int pressedId);
    // The same from bitmap files; false, and nothing changed, when one cannot be loaded.
    bool SetBitmaps(const QString& normalFile, const QString& hoverFile,
                    const QString& pressedFile);
    bool SetBitmaps(const QPixmap& normal, const QPixmap& hover, const QPixmap& pressed);
    // The picture shown while disabled (without one the normal picture shows).
    bool SetDisabledBitmap(int id);
    bool SetDisabledBitmap(const QString& file);
    void SetDisabledBitmap(const QPixmap& bitmap);

    // Places the button at pos with the size of its normal picture and shows it; cursor is
    // shown over the button (the arrow when null). False when no normal picture is set.
    bool Create(int id, const QPoint& pos, const QCursor* cursor = nullptr);

    // Enables or disables the button; a disabled button ignores the mouse.
    void Enable(bool enable);
    bool IsDisabled() const { return m_disabled; }
    void SetCursor(const QCursor& cursor);
    // A tool tip shown after the mouse has rested on the button for half a second.
    void SetToolTip(const QString& text) { m_toolTip = text; }
    QString ToolTip() const { return m_toolTip; }

    int ControlId() const { return m_id; }
    State ButtonState() const { return m_state; }
    // Swaps in another picture for one state, as the sort buttons do for their active look.
    void SetBitmap(State state, const QPixmap& bitmap);

signals:
    // Emitted with the control id on every click, besides the posted command.
    void command(int id);

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void SetState(State state);
    void HideToolTip();

    int m_id = 0;
    State m_state = kNormal;
    bool m_disabled = false;
    bool m_created = false;
    QPixmap m_bitmaps[4];
    QString m_toolTip;
    bool m_toolTipShown = false;
    // Timer 1: every 25 ms, whether the mouse has left the button.
    QBasicTimer m_leaveTimer;
    // Timer 2: the tool tip's delay.
    QBasicTimer m_toolTipTimer;
};

// True when the widget under the mouse pointer is w itself; the buttons' leave check.
bool IsUnderCursor(const QWidget* w);

// Posts the command with id to w's parent and emits nothing; shared by the buttons.
void PostCommandToParent(QWidget* w, int id);
