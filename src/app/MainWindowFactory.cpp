// The program's main window. Until the real one exists, an empty framed window stands in for
// it with the main window's title, size and placement.
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include "app/IntroWnd.h"
#include "app/KompendorApp.h"

QWidget* CreateMainWindow(CKompendorApp& app) {
    auto* wnd = new QWidget(nullptr, Qt::Window);
    wnd->setWindowTitle(QStringLiteral("Varnholt Kompendor 2004"));
    wnd->setMinimumSize(770, 400);
    QPalette black = wnd->palette();
    black.setColor(QPalette::Window, Qt::black);
    wnd->setPalette(black);
    wnd->setAutoFillBackground(true);

    // 770 by 500, each side limited to the work area, centred on it.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QSize size(std::min(770, work.width()), std::min(500, work.height()));
    wnd->setGeometry(QRect(QPoint(work.left() + (work.width() - size.width()) / 2,
                                  work.top() + (work.height() - size.height()) / 2),
                           size));
    wnd->show();

    if (app.m_pIntro) app.m_pIntro->CloseAfter(250);
    return wnd;
}
