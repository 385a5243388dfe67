#pragma once
// The video child window ("DirectShow Child"): plays one media file inside itself, the video
// centred at a zoom of its native size. The intro plays its film in one. Media times are in
// units of 100 nanoseconds.
//
// Playback runs on the toolkit's media player; the window owns the player and its video
// output while a file is open and none of them otherwise.

#include <QColor>
#include <QPixmap>
#include <QPointer>
#include <QSize>
#include <QString>
#include <QWidget>
#include <cstdint>

class QMediaPlayer;
class QVideoWidget;

class CVideoWnd : public QWidget {
    Q_OBJECT
public:
    // Playback states as GetState gives them.
    enum State { kStopped = 0, kPaused = 1, kRunning = 2 };
    // How long Open waits for the player to have read the file, in milliseconds.
    static constexpr int kOpenTimeout = 5000;

    // An empty, hidden child of parent.
    explicit CVideoWnd(QWidget* parent);
    ~CVideoWnd() override;

    // Loads fileName and stops at its start, shown at 100 %. False, with the window empty,
    // when the file is missing or cannot be played.
    bool Open(const QString& fileName);
    // Starts playing unless it is already running.
    void Play();
    // Back to the start, stopped.
    void Rewind();
    // The video at percent of its native size, centred in the window.
    void SetZoom(int percent);
    // The video's native size; 0 by 0 without video.
    QSize GetVideoSize() const;
    State GetState() const;
    // Length and position in 100-ns units; 0 when nothing is open. At the end of the film
    // the position is the length.
    std::int64_t GetDuration() const;
    std::int64_t GetCurrentPosition() const;
    // Whether playback has run to the end, or stopped for an error it met while playing.
    bool AtEnd() const;
    bool PlaybackFailed() const { return m_failed; }
    // Shows (and raises among its siblings) or hides the window with its video.
    void Show();
    void Hide();
    // Only when enabled: switches the video's full-screen mode and plays.
    void EnableFullScreen(bool enable) { m_fullScreenEnabled = enable; }
    void ToggleFullScreen();
    bool IsFullScreen() const { return m_fullScreen; }
    // Rewinds, hides and lets go of the file and the player.
    void Release();

    bool IsOpen() const { return m_player != nullptr; }
    const QString& FileName() const { return m_fileName; }
    // What shows where no video covers the window: the picture, or else the colour (red
    // until set).
    void SetBackgroundColor(const QColor& color);
    void SetBackgroundPicture(const QPixmap& picture);
    // The video's own widget while a file is open.
    QVideoWidget* VideoWidget() const { return m_video; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QMediaPlayer* m_player = nullptr;
    QVideoWidget* m_video = nullptr;
    QString m_fileName;
    QColor m_background = QColor(255, 0, 0);
    QPixmap m_picture;
    int m_zoom = 100;
    bool m_fullScreen = false;
    bool m_fullScreenEnabled = false;
    bool m_failed = false;
};

// Chooses the media backend before the first player is made, unless the environment names
// one (QT_MEDIA_BACKEND).
void ChooseMediaBackend();

// Chooses the media backend and loads its plugin with the decoder libraries on a thread of
// their own, so that the first player (the intro's film) need not wait while they load. May
// run before the application object exists; the first Open waits for the thread. Once per
// process; later calls do nothing.
void PreloadMediaBackend();
