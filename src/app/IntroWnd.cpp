#include "app/IntroWnd.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QKeyEvent>
#include <QPainter>
#include <QScreen>

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
    connect(&m_phaseTimer, &QTimer::timeout, this, &CIntroWnd::EndPhase);
}

CIntroWnd::~CIntroWnd() {
    qApp->removeEventFilter(this);
    if (m_ppSelf && *m_ppSelf == this) *m_ppSelf = nullptr;
}

void CIntroWnd::Run(const QPixmap& picture, const QString& moviePath, CIntroWnd** ppSelf) {
    auto* intro = new CIntroWnd(picture, ppSelf);
    if (ppSelf) *ppSelf = intro;
    intro->show();
    intro->raise();
    intro->activateWindow();
    intro->ParkCursor();
    intro->m_cursorTimer.start(kCursorInterval);
    // Any key or button released anywhere in the program ends the phase.
    qApp->installEventFilter(intro);
    if (!(QFileInfo::exists(moviePath) && intro->StartFilm(moviePath)))
        intro->m_phaseTimer.start(kPictureTime);

    QEventLoop loop;
    intro->m_loop = &loop;
    loop.exec();
    intro->m_loop = nullptr;
}

bool CIntroWnd::StartFilm(const QString& /*moviePath*/) {
    // No film player yet: the picture shows for the usual second instead.
    return false;
}

void CIntroWnd::EndPhase() {
    if (!m_loop) return;
    m_phaseTimer.stop();
    qApp->removeEventFilter(this);
    m_loop->quit();
}

void CIntroWnd::ParkCursor() { QCursor::setPos(kParkedCursor); }

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
    hide();
    if (m_ppSelf && *m_ppSelf == this) *m_ppSelf = nullptr;
    const QPoint centre = ScreenRect().center();
    QCursor::setPos(centre.x(), centre.y() + 20);
    unsetCursor();
    deleteLater();
}
