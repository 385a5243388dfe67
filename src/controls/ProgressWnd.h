#pragma once
// The progress window of long database runs (filling a statistics table): a small modeless
// window with the remaining time and a bar in percent. The code that performs the run owns
// the object: it starts it with the number of steps, reports every step, and deletes it at
// the end. Its cancel button, the cancel key (Escape) and closing the window mark the run as
// cancelled; the next step report says so, and the window stays until the run deletes it.
//
//     CProgressWnd progress;
//     progress.Start(this, total);
//     for (...) { ...; if (!progress.Step()) break; }

#include <QPointer>

#include "controls/ProgressEstimate.h"

class QWidget;
class CProgressDialog;

class CProgressWnd {
public:
    // Control ids of template 167.
    static constexpr int kTimeTextId = 1078;
    static constexpr int kProgressBarId = 1079;
    static constexpr int kCancelId = 1005;

    // Times are read from tick (the program's millisecond tick when not given).
    explicit CProgressWnd(CProgressEstimate::TickSource tick = {});
    // Destroys the window.
    ~CProgressWnd();
    CProgressWnd(const CProgressWnd&) = delete;
    CProgressWnd& operator=(const CProgressWnd&) = delete;

    // Announces total steps and shows the window from template 167, owned by parent and
    // centred over it. False when the window could not be built from its template.
    bool Start(QWidget* parent, int total);
    // Reports one finished step and lets waiting window events through; false once the run
    // was cancelled.
    bool Step();
    // The window's cancel handler: marks the run as cancelled and disables the cancel button,
    // which has done its part.
    void Cancel();
    bool IsCancelled() const { return m_estimate.IsCancelled(); }

    // The window while it exists, else null.
    QWidget* Window() const;

private:
    CProgressEstimate m_estimate;
    QPointer<QWidget> m_window;  // a CProgressDialog
};
