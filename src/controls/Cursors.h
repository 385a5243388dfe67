#pragma once
// The cursors of the cursor folder as Qt cursors. A ".cur" gives one cursor; an ".ani"
// gives its frames, which CCursorAnimation shows in turn on a widget or as the application's
// override cursor while the event loop runs (during a long operation that blocks the loop
// the frame shown stays until the loop runs again).

#include <QCursor>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <vector>

#include "platform/CursorFile.h"

class QWidget;

// The picture as a cursor with its hot spot.
QCursor ToQCursor(const CCursorImage& image);

// A cursor read from a file: one Qt cursor per picture and the steps of its animation.
class CFileCursor {
public:
    CFileCursor() = default;
    explicit CFileCursor(const CCursorFile& file);

    // The program's lookup: "<folder><name>.ani", else "<folder><name>.cur" (folder ends
    // with "/"). A null cursor when neither can be read.
    static CFileCursor Load(const QString& folder, const QString& name);

    bool IsNull() const { return m_frames.empty(); }
    bool IsAnimated() const { return m_steps.size() > 1; }
    // The first step's cursor; the arrow for a null cursor.
    QCursor First() const;

    int StepCount() const { return static_cast<int>(m_steps.size()); }
    // Cursor and delay (ms) of a step, 0 <= step < StepCount().
    const QCursor& StepCursor(int step) const;
    int StepDelay(int step) const;

private:
    std::vector<QCursor> m_frames;
    std::vector<CCursorStep> m_steps;
};

// Shows a file cursor and, when it is animated, steps through its frames on a timer.
class CCursorAnimation : public QObject {
    Q_OBJECT
public:
    explicit CCursorAnimation(CFileCursor cursor, QObject* parent = nullptr);
    ~CCursorAnimation() override;

    // Shows the cursor over widget (replacing its cursor) until Stop.
    void ShowOn(QWidget* widget);
    // Pushes the cursor as the application's override cursor until Stop, which pops it.
    void ShowAsOverride();
    // Ends the showing: the widget gets its cursor unset, the override is popped.
    void Stop();

    bool IsShowing() const { return m_widget || m_override; }
    int CurrentStep() const { return m_step; }

private:
    void Apply();
    void Advance();

    CFileCursor m_cursor;
    QTimer m_timer;
    QPointer<QWidget> m_widget;
    bool m_override = false;
    int m_step = 0;
};
