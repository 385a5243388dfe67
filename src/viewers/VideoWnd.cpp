#include "viewers/VideoWnd.h"

#include <dlfcn.h>

#include <QEventLoop>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QMediaMetaData>
#include <QMediaPlayer>
#include <QPainter>
#include <QTimer>
#include <QUrl>
#include <QVideoSink>
#include <QVideoWidget>
#include <cmath>
#include <mutex>
#include <thread>

namespace {

// Milliseconds of the player in 100-ns units.
constexpr std::int64_t kUnitsPerMs = 10000;

}  // namespace

void ChooseMediaBackend() {
    // Debian's toolkit brings a GStreamer and an FFmpeg backend. The FFmpeg one decodes with
    // the libraries the toolkit already depends on and plays on any display, a virtual X
    // server included; GStreamer would need its plugin packages on top.
    if (qEnvironmentVariableIsEmpty("QT_MEDIA_BACKEND")) qputenv("QT_MEDIA_BACKEND", "ffmpeg");
}

namespace {

// The thread that loads the backend's plugin; joined by the first Open or at exit.
struct CBackendPreload {
    std::mutex mutex;
    std::thread thread;
    bool started = false;
    ~CBackendPreload() { Wait(); }
    void Wait() {
        std::lock_guard lock(mutex);
        if (thread.joinable()) thread.join();
    }
};

CBackendPreload& BackendPreload() {
    static CBackendPreload preload;
    return preload;
}

}  // namespace

void PreloadMediaBackend() {
    CBackendPreload& preload = BackendPreload();
    std::lock_guard lock(preload.mutex);
    if (preload.started) return;
    preload.started = true;
    ChooseMediaBackend();
    // The toolkit later loads the same file as its plugin and finds it loaded already. The
    // handle is kept: the toolkit unloads nothing before the end either.
    const QString plugin = QLibraryInfo::path(QLibraryInfo::PluginsPath) + "/multimedia/lib"
                           + qEnvironmentVariable("QT_MEDIA_BACKEND") + "mediaplugin.so";
    preload.thread = std::thread([path = plugin.toLocal8Bit()] {
        ::dlopen(path.constData(), RTLD_LAZY | RTLD_LOCAL);
    });
}

CVideoWnd::CVideoWnd(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("DirectShow Child"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    hide();
}

CVideoWnd::~CVideoWnd() { Release(); }

bool CVideoWnd::Open(const QString& fileName) {
    Release();
    if (!QFileInfo(fileName).isFile()) return false;
    BackendPreload().Wait();

    ChooseMediaBackend();
    m_player = new QMediaPlayer(this);
    m_video = new QVideoWidget(this);
    m_video->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_video->hide();
    m_player->setVideoOutput(m_video);
    m_failed = false;
    connect(m_player, &QMediaPlayer::errorOccurred, this, [this] { m_failed = true; });

    // The player reads the file in the background; Open answers only once it knows.
    QEventLoop wait;
    QTimer timeout;
    timeout.setSingleShot(true);
    connect(&timeout, &QTimer::timeout, &wait, &QEventLoop::quit);
    auto settled = [this] {
        const QMediaPlayer::MediaStatus status = m_player->mediaStatus();
        return status == QMediaPlayer::LoadedMedia || status == QMediaPlayer::InvalidMedia
               || status == QMediaPlayer::BufferedMedia
               || m_player->error() != QMediaPlayer::NoError;
    };
    connect(m_player, &QMediaPlayer::mediaStatusChanged, &wait, [&] {
        if (settled()) wait.quit();
    });
    connect(m_player, &QMediaPlayer::errorOccurred, &wait, &QEventLoop::quit);
    m_player->setSource(QUrl::fromLocalFile(QFileInfo(fileName).absoluteFilePath()));
    if (!settled()) {
        timeout.start(kOpenTimeout);
        wait.exec();
    }
    const bool loaded = m_player->error() == QMediaPlayer::NoError
                        && (m_player->mediaStatus() == QMediaPlayer::LoadedMedia
                            || m_player->mediaStatus() == QMediaPlayer::BufferedMedia);
    if (!loaded) {
        Release();
        return false;
    }
    m_failed = false;
    SetZoom(100);
    Rewind();
    Show();
    m_fileName = fileName;
    return true;
}

void CVideoWnd::Play() {
    if (m_player && m_player->playbackState() != QMediaPlayer::PlayingState) m_player->play();
}

void CVideoWnd::Rewind() {
    if (!m_player) return;
    m_player->stop();
    m_player->setPosition(0);
}

void CVideoWnd::SetZoom(int percent) {
    m_zoom = percent;
    if (!m_video) return;
    const double f = percent * 0.01;
    const QSize native = GetVideoSize();
    const QSize zoomed(int(std::lround(native.width() * f)), int(std::lround(native.height() * f)));
    QRect target(QPoint(0, 0), zoomed);
    target.moveCenter(rect().center());
    m_video->setGeometry(target);
}

QSize CVideoWnd::GetVideoSize() const {
    if (!m_player) return QSize(0, 0);
    QSize size = m_player->metaData().value(QMediaMetaData::Resolution).toSize();
    if ((!size.isValid() || size.isEmpty()) && m_player->videoSink())
        size = m_player->videoSink()->videoSize();
    return size.isValid() ? size : QSize(0, 0);
}

CVideoWnd::State CVideoWnd::GetState() const {
    if (!m_player) return kStopped;
    switch (m_player->playbackState()) {
        case QMediaPlayer::PlayingState:
            return kRunning;
        case QMediaPlayer::PausedState:
            return kPaused;
        default:
            return kStopped;
    }
}

std::int64_t CVideoWnd::GetDuration() const {
    return m_player ? std::int64_t(m_player->duration()) * kUnitsPerMs : 0;
}

std::int64_t CVideoWnd::GetCurrentPosition() const {
    if (!m_player) return 0;
    // The player stops at the end and need not report the last position there.
    if (m_player->mediaStatus() == QMediaPlayer::EndOfMedia)
        return std::max(GetDuration(), std::int64_t(m_player->position()) * kUnitsPerMs);
    return std::int64_t(m_player->position()) * kUnitsPerMs;
}

bool CVideoWnd::AtEnd() const {
    return m_player && (m_failed || m_player->mediaStatus() == QMediaPlayer::EndOfMedia);
}

void CVideoWnd::Show() {
    show();
    raise();
    if (m_video) m_video->show();
}

void CVideoWnd::Hide() {
    if (m_video) m_video->hide();
    hide();
}

void CVideoWnd::ToggleFullScreen() {
    if (!m_fullScreenEnabled || !m_video) return;
    m_fullScreen = !m_fullScreen;
    m_video->setFullScreen(m_fullScreen);
    Play();
}

void CVideoWnd::Release() {
    if (m_player) {
        Rewind();
        m_player->disconnect(this);
        m_player->setVideoOutput(nullptr);
    }
    if (m_video) {
        m_video->hide();
        if (m_fullScreen) m_video->setFullScreen(false);
    }
    m_fullScreen = false;
    // Deleted now, not later: a player left running until the event loop turns would go on
    // decoding into a window that no longer wants it.
    delete m_player;
    m_player = nullptr;
    delete m_video;
    m_video = nullptr;
    m_fileName.clear();
}

void CVideoWnd::SetBackgroundColor(const QColor& color) {
    m_background = color;
    update();
}

void CVideoWnd::SetBackgroundPicture(const QPixmap& picture) {
    m_picture = picture;
    update();
}

void CVideoWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    if (!m_picture.isNull())
        painter.drawPixmap(0, 0, m_picture);
    else
        painter.fillRect(rect(), m_background);
}

void CVideoWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    SetZoom(m_zoom);
}
