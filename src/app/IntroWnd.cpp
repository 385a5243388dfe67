#include "app/IntroWnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>
#include <utility>

#include "platform/StartupTrace.h"
#include "viewers/VideoWnd.h"

namespace {

// Where the cursor waits while the intro runs: below the bottom of any screen.
constexpr QPoint kParkedCursor(0, 5000);
// How often the cursor is put back there, in milliseconds.
constexpr int kCursorInterval = 10;
// How long the picture shows without a film, in milliseconds.
constexpr int kPictureTime = 1000;

QRect ScreenRect() {
    QScreen* screen = QGuiApplication::primaryScreen();
    return screen ? screen->geometry() : QRect(0, 0, 1024, 768);
}

}  // namespace

CIntroWnd::CIntroWnd(const QPixmap& picture, CIntroWnd** ppSelf)
    : QWidget(nullptr, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_picture(picture),
      m_ppSelf(ppSelf) {
    setWindowTitle(QStringLiteral("Intro"));
    setAttribute(Qt::WA_OpaquePaintEvent);
    QPalette black = palette();
    black.setColor(QPalette::Window, Qt::black);
    setPalette(black);
    setAutoFillBackground(true);
    setCursor(Qt::BlankCursor);
    resize(300, 300);
    setGeometry(ScreenRect());

    connect(&m_cursorTimer, &QTimer::timeout, this, &CIntroWnd::ParkCursor);
    m_phaseTimer.setSingleShot(true);
    // The picture's second is a visible pause: a coarse timer may end it up to 5 % early.
    m_phaseTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_phaseTimer, &QTimer::timeout, this, &CIntroWnd::EndPhase);
    m_filmTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_filmTimer, &QTimer::timeout, this, &CIntroWnd::CheckFilm);
}

CIntroWnd::~CIntroWnd() {
    qApp->removeEventFilter(this);
    if (m_ppSelf && *m_ppSelf == this) *m_ppSelf = nullptr;
}

void CIntroWnd::Run(const QPixmap& picture, const QString& moviePath, CIntroWnd** ppSelf) {
    auto* intro = new CIntroWnd(picture, ppSelf);
    if (ppSelf) *ppSelf = intro;
    intro->RunPhase(moviePath);
}

void CIntroWnd::Run(const QFuture<QImage>& picture, const QString& moviePath,
                    CIntroWnd** ppSelf) {
    auto* intro = new CIntroWnd(QPixmap(), ppSelf);
    if (ppSelf) *ppSelf = intro;
    // Delivered on this thread; a window that is gone first takes its watcher with it.
    connect(&intro->m_pictureWatcher, &QFutureWatcher<QImage>::finished, intro, [intro] {
        const QFuture<QImage> done = intro->m_pictureWatcher.future();
        if (done.resultCount() > 0) intro->m_picture = QPixmap::fromImage(done.result());
        intro->update();
    });
    intro->m_pictureWatcher.setFuture(picture);
    intro->RunPhase(moviePath);
}

void CIntroWnd::RunPhase(const QString& moviePath) {
    show();
    raise();
    activateWindow();
    ParkCursor();
    m_cursorTimer.start(kCursorInterval);
    // Any key or button released anywhere in the program ends the phase.
    qApp->installEventFilter(this);
    if (!(QFileInfo::exists(moviePath) && StartFilm(moviePath))) m_phaseTimer.start(kPictureTime);
    StartupMark("intro-start");

    QEventLoop loop;
    m_loop = &loop;
    loop.exec();
    m_loop = nullptr;
}

bool CIntroWnd::StartFilm(const QString& moviePath) {
    auto* film = new CVideoWnd(this);
    if (!film->Open(moviePath)) {
        delete film;
        return false;
    }
    m_film = film;
    // The film at its own size in the middle of the screen.
    const QSize size = film->GetVideoSize();
    QRect placed(QPoint(0, 0), size);
    placed.moveCenter(rect().center());
    film->setGeometry(placed);
    film->SetZoom(100);
    film->Show();
    film->Play();
    m_filmTimer.start(kCursorInterval);
    return true;
}

void CIntroWnd::CheckFilm() {
    if (!m_film) return;
    // The player stops by itself at the end; a running film whose position has reached its
    // length counts as ended too.
    const bool ran = m_film->GetState() == CVideoWnd::kRunning && m_film->GetDuration() > 0
                     && m_film->GetCurrentPosition() >= m_film->GetDuration();
    if (ran || m_film->AtEnd()) EndPhase();
}

void CIntroWnd::StopFilm() {
    m_filmTimer.stop();
    if (!m_film) return;
    m_film->Rewind();
    m_film->Hide();
    m_film->Release();
    m_film->deleteLater();
    m_film = nullptr;
}

void CIntroWnd::EndPhase() {
    if (!m_loop) return;
    m_phaseTimer.stop();
    StopFilm();
    RestoreCursor();
    qApp->removeEventFilter(this);
    StartupMark("intro-end");
    // The phase is over now, not only once the loop has seen the request.
    std::exchange(m_loop, nullptr)->quit();
}

void CIntroWnd::ParkCursor() {
    // Only the film hides the pointer, and only where it would cover the picture; a pointer
    // on another screen, or a phase without film, leaves it alone.
    if (!m_film || m_film->GetState() != CVideoWnd::kRunning) return;
    const QPoint pos = QCursor::pos();
    if (pos == kParkedCursor || !geometry().contains(pos)) return;
    if (!m_pointerHome) m_pointerHome = pos;
    QCursor::setPos(kParkedCursor);
}

void CIntroWnd::RestoreCursor() {
    if (!m_pointerHome) return;
    QCursor::setPos(*m_pointerHome);
    m_pointerHome.reset();
}

void CIntroWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), Qt::black);
    if (m_picture.isNull()) return;
    const QSize size = m_picture.deviceIndependentSize().toSize();
    painter.drawPixmap(
        QRect(QPoint((width() - size.width()) / 2, (height() - size.height()) / 2), size),
        m_picture);
}

bool CIntroWnd::eventFilter(QObject* watched, QEvent* event) {
    if (m_loop) {
        const QEvent::Type type = event->type();
        const bool keyUp
            = type == QEvent::KeyRelease && !static_cast<QKeyEvent*>(event)->isAutoRepeat();
        if (keyUp || type == QEvent::MouseButtonRelease) EndPhase();
    }
    return QWidget::eventFilter(watched, event);
}

void CIntroWnd::CloseAfter(int delayMs) { QTimer::singleShot(delayMs, this, &CIntroWnd::Destroy); }

void CIntroWnd::Destroy() {
    m_cursorTimer.stop();
    StopFilm();
    hide();
    if (m_ppSelf && *m_ppSelf == this) *m_ppSelf = nullptr;
    // The pointer goes back where the user left it.
    RestoreCursor();
    unsetCursor();
    deleteLater();
}
