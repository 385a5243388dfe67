#pragma once
// The text button ("NOXButtonText"): a small child button drawn from colours and a caption,
// such as the year button of a table column. A click reaches the parent as a CCommandEvent
// with the control id.

#include <QBasicTimer>
#include <QColor>
#include <QFont>
#include <QString>
#include <QWidget>

class QCursor;

class CNOXButtonText : public QWidget {
    Q_OBJECT

public:
    enum State { kNormal = 0, kHover = 1, kPressed = 2 };

    // The four colours of one state.
    struct Colors {
        QColor light;  // edge at the top and left
        QColor dark;   // edge at the bottom and right
        QColor back;
        QColor text;
    };

    explicit CNOXButtonText(QWidget* parent);

    // Places the button over rect with its caption and shows it; cursor is shown over the
    // button (the arrow when null).
    bool Create(int id, const QRect& rect, const QString& caption, const QCursor* cursor = nullptr);
    // The caption's font: face, size in points and weight (400 normal, 700 bold).
    void SetFont(const QString& face, double pointSize, int weight);
    void SetColors(State state, const QColor& light, const QColor& dark, const QColor& back,
                   const QColor& text);
    void SetCaption(const QString& caption);
    QString Caption() const { return m_caption; }

    // Enables or disables the button; a disabled button ignores the mouse.
    void Enable(bool enable);
    bool IsDisabled() const { return m_disabled; }

    int ControlId() const { return m_id; }
    State ButtonState() const { return m_state; }

signals:
    // Emitted with the control id on every click, besides the posted command.
    void command(int id);

protected:
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

private:
    void SetState(State state);

    int m_id = 0;
    State m_state = kNormal;
    bool m_disabled = false;
    QString m_caption;
    QFont m_font;
    Colors m_colors[3];
    // Timer 1: every 25 ms, whether the mouse has left the button.
    QBasicTimer m_leaveTimer;
};
