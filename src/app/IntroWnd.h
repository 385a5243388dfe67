#pragma once
// The intro: the intro picture (or film) centred on a black screen, without a mouse cursor.
// Its phase ends after the film, after one second without film, or on any key or mouse
// button release; the window then stays, covering the desktop, until the main window asks it
// to close.

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class QEventLoop;

class CIntroWnd : public QWidget {
    Q_OBJECT

public:
    // Shows the intro over the whole screen and returns when its phase has ended. *ppSelf holds
    // the window until it destroys itself, which clears it.
    static void Run(const QPixmap& picture, const QString& moviePath, CIntroWnd** ppSelf);

    // Hides and destroys the window after delayMs, then puts the mouse cursor 20 pixels below
    // the centre of the screen.
    void CloseAfter(int delayMs = 250);

    // True while the phase runs (the modal loop of Run).
    bool InPhase() const { return m_loop != nullptr; }

protected:
    CIntroWnd(const QPixmap& picture, CIntroWnd** ppSelf);
    ~CIntroWnd() override;

    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Starts the film in a child window of its own size; false when there is none to play.
    bool StartFilm(const QString& moviePath);
    void EndPhase();
    void ParkCursor();
    void Destroy();

    QPixmap m_picture;
    CIntroWnd** m_ppSelf;
    QEventLoop* m_loop = nullptr;
    QTimer m_cursorTimer;
    QTimer m_phaseTimer;
};
