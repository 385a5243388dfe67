#include "viewers/ImageWnd.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QScrollBar>
#include <QStyle>

#include "controls/BitmapResource.h"
#include "controls/CommandEvent.h"
#include "controls/NOXButton.h"
#include "noxctrls/NoxCursors.h"
#include "platform/MessageBox.h"
#include "viewers/PictureMenu.h"

namespace {

const QColor kCaptionFill(0xBF, 0xCF, 0xF2);
const QColor kTitleColor(0x00, 0x48, 0x7C);
// The caption buttons are drawn for the program's dark frame; on the light caption they sit
// on a tile of the frame's blue.
const QColor kButtonTile(51, 86, 153);
// What shows around a picture smaller than its area.
const QColor kAreaBackground(0xAD, 0xBA, 0xCE);
// The title starts this far in from the caption's left end.
constexpr int kTitleIndent = 3;
// The caption buttons sit this far below the caption's top.
constexpr int kButtonTop = 2;

QRect WorkAreaFor(const QWidget& widget, const QPoint& at) {
    const QScreen* screen = QGuiApplication::screenAt(at);
    if (!screen) screen = widget.screen();
    if (!screen) screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

// rect moved into work; a rectangle larger than work is cut to it, so nothing lies off
// screen and the picture area scrolls instead.
QRect IntoWorkArea(QRect rect, const QRect& work) {
    rect.setWidth(std::min(rect.width(), work.width()));
    rect.setHeight(std::min(rect.height(), work.height()));
    if (rect.right() > work.right()) rect.moveRight(work.right());
    if (rect.bottom() > work.bottom()) rect.moveBottom(work.bottom());
    if (rect.left() < work.left()) rect.moveLeft(work.left());
    if (rect.top() < work.top()) rect.moveTop(work.top());
    return rect;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// Picture area

CImageArea::CImageArea(QWidget* parent) : QAbstractScrollArea(parent) {
    setFrameShape(QFrame::NoFrame);
    setAttribute(Qt::WA_OpaquePaintEvent);
    viewport()->setAttribute(Qt::WA_OpaquePaintEvent);
    // The image window's own cursor: the whole window can be dragged by its caption.
    viewport()->setCursor(NamedCursor(QStringLiteral("Move")));
    // Arrow keys and the page keys scroll the picture.
    setFocusPolicy(Qt::StrongFocus);
    horizontalScrollBar()->setSingleStep(16);
    verticalScrollBar()->setSingleStep(16);
}

void CImageArea::SetPicture(const CPicture* picture) {
    m_picture = picture;
    horizontalScrollBar()->setValue(0);
    verticalScrollBar()->setValue(0);
    UpdateRange();
    viewport()->update();
}

QPoint CImageArea::ScrollPosition() const {
    return QPoint(horizontalScrollBar()->value(), verticalScrollBar()->value());
}

void CImageArea::UpdateRange() {
    // Whether a bar is needed is decided on the whole area, so a picture that fits never
    // keeps the bars an earlier, larger one needed; one bar can make the other needed.
    const QSize content = m_picture ? QSize(m_picture->Width(), m_picture->Height()) : QSize();
    const QSize whole = contentsRect().size();
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    bool needH = content.width() > whole.width();
    bool needV = content.height() > whole.height();
    if (needH && !needV) needV = content.height() > whole.height() - bar;
    if (needV && !needH) needH = content.width() > whole.width() - bar;
    setHorizontalScrollBarPolicy(needH ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(needV ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
    // The ranges from what is visible now; a change of the bars resizes the viewport and
    // brings this back.
    const QSize view = viewport()->size();
    horizontalScrollBar()->setPageStep(std::max(1, view.width()));
    verticalScrollBar()->setPageStep(std::max(1, view.height()));
    horizontalScrollBar()->setRange(0, std::max(0, content.width() - view.width()));
    verticalScrollBar()->setRange(0, std::max(0, content.height() - view.height()));
}

void CImageArea::resizeEvent(QResizeEvent* event) {
    QAbstractScrollArea::resizeEvent(event);
    UpdateRange();
}

void CImageArea::paintEvent(QPaintEvent* event) {
    QPainter painter(viewport());
    const QRect view = viewport()->rect();
    if (!m_picture || !m_picture->IsValid()) {
        painter.fillRect(view, kAreaBackground);
        return;
    }
    const QPoint origin = -ScrollPosition();
    const QRect shown(origin, QSize(m_picture->Width(), m_picture->Height()));
    // Only what the picture leaves free is filled, so the picture is never painted over.
    const QRegion free = QRegion(view).subtracted(QRegion(shown));
    for (const QRect& r : free) painter.fillRect(r, kAreaBackground);
    painter.setClipRegion(event->region());
    m_picture->Draw(painter, origin);
}

// ---------------------------------------------------------------------------------------
// Image window

CImageWndFrame CImageWndFrame::Default() {
    CImageWndFrame frame;
    frame.close[0] = LoadBitmapResource(138);
    frame.close[1] = LoadBitmapResource(137);
    frame.close[2] = LoadBitmapResource(136);
    frame.menu[0] = LoadBitmapResource(262);
    frame.menu[1] = LoadBitmapResource(263);
    frame.menu[2] = LoadBitmapResource(264);
    frame.gap = 1;
    return frame;
}

CImageWnd::CImageWnd(QWidget* parent, const CViewerEnv& env, const CImageWndFrame& frame)
    : CSkinFrame(parent), m_env(env) {
    setAttribute(Qt::WA_DeleteOnClose);
    // Only the close button; the frame's own caption colour is the one the title sits on.
    SetFrameColors(QColor(145, 164, 200), QColor(22, 37, 65), QColor(51, 86, 153), kCaptionFill,
                   kCaptionFill);
    SetCaptionButtonBitmaps(kCloseBitmaps, frame.close[0], frame.close[1], frame.close[2]);
    SetCaptionButtonGap(frame.gap);
    m_buttonGap = frame.gap;
    for (int i = 0; i < 3; ++i) m_closeBitmaps[i] = frame.close[i];

    m_titleFont = QFont(QStringLiteral("Arial"));
    m_titleFont.setPointSizeF(8.9);
    m_titleFont.setWeight(QFont::DemiBold);

    m_area = new CImageArea(this);
    m_menuButton = new CNOXButton(this);
    const QCursor pointer = NamedCursor(QStringLiteral("Pointer"));
    if (m_menuButton->SetBitmaps(frame.menu[0], frame.menu[1], frame.menu[2]))
        m_menuButton->Create(kMenuButton, QPoint(0, 0), &pointer);
    m_menuButton->SetToolTip(QStringLiteral("Abbildung drucken, exportieren, schließen"));

    resize(100, 100);
    LayoutChildren();
}

CImageWnd::~CImageWnd() {
    // Destroyed with its owner rather than closed: the placement is remembered all the same.
    if (isVisible()) SavePlacement();
}

QSize CImageWnd::WindowSizeFor(const QSize& picture) const {
    const QRect client = ClientRect();
    const QSize frame(width() - client.width(), height() - client.height());
    return picture + frame;
}

bool CImageWnd::Open(const QString& archivePath, const QString& member, const QString& title) {
    if (!m_env.Reachable(archivePath.toStdString())) return true;
    CPicture picture;
    if (ReadArchivePicture(archivePath.toStdString(), member.toStdString(), m_env.password, picture,
                           ScreenDpi())
        != PictureRead::Ok) {
        ShowMessageBox(PictureNotFoundText(member.toStdString()), "");
        close();
        deleteLater();
        return false;
    }
    ShowBitmap(picture, title);
    return true;
}

void CImageWnd::ShowBitmap(const CPicture& picture, const QString& title) {
    m_title = title;
    setWindowTitle(title);
    m_picture = picture;

    QRect placed(QPoint(0, 0), WindowSizeFor(QSize(m_picture.Width(), m_picture.Height())));
    if (isVisible()) {
        placed.moveTopLeft(geometry().topLeft());
    } else if (const std::optional<QRect> saved
               = m_env.placements ? m_env.placements->Load(QString::fromLatin1(kPlacementName))
                                  : std::nullopt) {
        placed.moveTopLeft(saved->topLeft());
    } else {
        placed.moveCenter(WorkAreaFor(*this, QCursor::pos()).center());
    }
    placed = IntoWorkArea(placed, WorkAreaFor(*this, placed.center()));
    setGeometry(placed);
    show();
    m_area->SetPicture(&m_picture);
    update();
    raise();
    activateWindow();
    m_area->setFocus();
}

void CImageWnd::LayoutChildren() {
    const QRect client = ClientRect();
    m_area->setGeometry(client);

    const QRect close = CaptionButtonRect(kCloseButton);
    const QRect caption = FrameLayout().caption;
    const int right = close.isEmpty() ? caption.right() - 1 : close.left() - m_buttonGap - 1;
    m_menuButton->move(right - m_menuButton->width() + 1, caption.top() + kButtonTop);
}

void CImageWnd::resizeEvent(QResizeEvent* e) {
    CSkinFrame::resizeEvent(e);
    LayoutChildren();
}

void CImageWnd::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    PaintFrame(painter);
    // The title over the frame's caption, up to the menu button.
    const QRect caption = FrameLayout().caption;
    QRect text(caption.left(), caption.top(), m_menuButton->x() - caption.left(), caption.height());
    painter.fillRect(text, kCaptionFill);

    const QRect close = CaptionButtonRect(kCloseButton);
    QRect tile = m_menuButton->geometry();
    if (!close.isEmpty()) tile = tile.united(close);
    tile.adjust(-1, -1, 1, 1);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(kButtonTile);
    painter.drawRoundedRect(QRectF(tile), 3, 3);
    painter.restore();
    const QPixmap& closeBitmap = m_closeBitmaps[CaptionButtonState(kCloseButton)];
    if (!close.isEmpty() && !closeBitmap.isNull()) painter.drawPixmap(close.topLeft(), closeBitmap);

    text.setLeft(text.left() + kTitleIndent);
    painter.setClipRect(text);
    painter.setFont(m_titleFont);
    painter.setPen(kTitleColor);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, m_title);
}

bool CImageWnd::event(QEvent* e) {
    if (e->type() == CCommandEvent::kType) {
        if (static_cast<CCommandEvent*>(e)->Id() == kMenuButton) ShowMenu();
        return true;
    }
    if (e->type() == QEvent::ContextMenu) {
        ShowMenu();
        return true;
    }
    return CSkinFrame::event(e);
}

void CImageWnd::ShowMenu() {
    // At the button's upper right corner.
    const QPoint at = m_menuButton->mapToGlobal(QPoint(m_menuButton->width(), 0));
    OnMenuCommand(TrackMenu(at));
}

int CImageWnd::TrackMenu(const QPoint& pos) { return TrackPictureMenu(this, pos); }

void CImageWnd::OnMenuCommand(int id) {
    RunPictureMenuItem(id, this, m_env.pictureHost, m_picture, m_title);
}

void CImageWnd::SavePlacement() {
    if (m_env.placements) m_env.placements->Save(QString::fromLatin1(kPlacementName), geometry());
}

void CImageWnd::closeEvent(QCloseEvent* e) {
    // A window that never showed (its picture failed) has no placement worth keeping.
    if (isVisible()) SavePlacement();
    CSkinFrame::closeEvent(e);
}
