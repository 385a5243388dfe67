#pragma once
// The intro: the intro picture (or film) centred on a black screen, without a mouse cursor.
// Its phase ends after the film, after one second without film, or on any key or mouse
// button release; the window then stays, covering the desktop, until the main window asks it
// to close.

#include <QFuture>
#include <QFutureWatcher>
#include <QImage>
#include <QPixmap>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <optional>

#include "viewers/VideoWnd.h"

class QEventLoop;

class CIntroWnd : public QWidget {
    Q_OBJECT

public:
    // Shows the intro over the whole screen and returns when its phase has ended. *ppSelf holds
    // the window until it destroys itself, which clears it.
    static void Run(const QPixmap& picture, const QString& moviePath, CIntroWnd** ppSelf);
    // The same with a picture still being decoded: the screen stays black until it is there,
    // which is while the film is opened.
    static void Run(const QFuture<QImage>& picture, const QString& moviePath, CIntroWnd** ppSelf);

    // Hides and destroys the window after delayMs, then puts the mouse cursor 20 pixels below
    // the centre of the screen.
    void CloseAfter(int delayMs = 250);

    // True while the phase runs (the modal loop of Run).
    bool InPhase() const { return m_loop != nullptr; }
    // The film's window while the film plays, else null.
    CVideoWnd* Film() const { return m_film; }

protected:
    CIntroWnd(const QPixmap& picture, CIntroWnd** ppSelf);
    ~CIntroWnd() override;

    void paintEvent(QPaintEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Shows the intro and runs its phase.
    void RunPhase(const QString& moviePath);
    // Starts the film in a child window of its own size, centred; false when the file cannot
    // be played (the picture then shows for the usual second).
    bool StartFilm(const QString& moviePath);
    // Ends the phase when the film has run to its end.
    void CheckFilm();
    // Stops, hides and closes the film.
    void StopFilm();
    void EndPhase();
    // While the film plays and the pointer is over the intro, moves it out of the picture;
    // the first move remembers where it was.
    void ParkCursor();
    // Puts a parked pointer back where it was.
    void RestoreCursor();
    void Destroy();

    QPixmap m_picture;
    QFutureWatcher<QImage> m_pictureWatcher;
    CIntroWnd** m_ppSelf;
    QEventLoop* m_loop = nullptr;
    QTimer m_cursorTimer;
    QTimer m_phaseTimer;
    QPointer<CVideoWnd> m_film;
    // Watches the film for its end.
    QTimer m_filmTimer;
    // Where the pointer was before the intro moved it away.
    std::optional<QPoint> m_pointerHome;
};
