#include "viewers/FlagView.h"

#include <QContextMenuEvent>
#include <QPainter>
#include <QTimer>

#include "noxctrls/PushCtrl.h"
#include "platform/MessageBox.h"
#include "viewers/PictureMenu.h"

namespace {

const QColor kBackground(0x75, 0x87, 0xA8);
// The three lines between the flag and the texts, top to bottom.
const QColor kLines[3]
    = {QColor(0x6E, 0x7A, 0x91), QColor(0x52, 0x5E, 0x75), QColor(0x8E, 0x9B, 0xB2)};
constexpr int kLineTop = 142;
// The flag is centred above this line.
constexpr int kFlagBottom = 141;
constexpr int kNameTop = 154;
constexpr int kNameBottom = 170;
constexpr int kTextTop = 178;
constexpr int kTextBottomMargin = 4;
constexpr int kSideMargin = 8;

}  // namespace

// The part of the viewer below the caption; it paints through its viewer and hands right
// clicks to it.
class CFlagArea : public QWidget {
public:
    explicit CFlagArea(CFlagView* view) : QWidget(view), m_view(view) {
        setAttribute(Qt::WA_OpaquePaintEvent);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        // Composed off screen and copied at once, so the viewer never flickers.
        QImage buffer(size(), QImage::Format_RGB32);
        {
            QPainter off(&buffer);
            m_view->PaintFlagArea(off, size());
        }
        QPainter painter(this);
        painter.drawImage(0, 0, buffer);
    }
    void contextMenuEvent(QContextMenuEvent* event) override {
        m_view->ShowMenu(event->globalPos());
    }

private:
    CFlagView* m_view;
};

CFlagView::CFlagView(QWidget* parent, const CViewerEnv& env, const std::string& imgDirectory)
    : CTemplateDialog(kTemplate, parent, Placement::Window),
      m_env(env),
      m_archive(imgDirectory + "Flags.nox") {
    setAttribute(Qt::WA_DeleteOnClose);
    m_nameFont = QFont(QStringLiteral("Arial"));
    m_nameFont.setPointSizeF(8.9);
    m_nameFont.setWeight(QFont::DemiBold);
    m_textFont = QFont(QStringLiteral("Arial"));
    m_textFont.setPointSizeF(8.9);

    m_area = new CFlagArea(this);
    m_area->setGeometry(0, kCaptionHeight, width(), height() - kCaptionHeight);
    m_area->hide();
}

bool CFlagView::Open(const QString& member, const QString& countryName, const QString& flagText) {
    m_countryName = countryName;
    m_flagText = flagText;
    if (!m_env.Reachable(m_archive)) {
        close();
        return false;
    }
    CPicture flag;
    if (ReadArchivePicture(m_archive, member.toStdString(), m_env.password, flag, ScreenDpi())
        != PictureRead::Ok) {
        ShowMessageBox(PictureNotFoundText(member.toStdString()), "");
        close();
        return false;
    }
    m_flag = flag;
    m_area->show();
    m_area->raise();
    show();
    m_area->update();
    return true;
}

QString CFlagView::ExportName() const { return QStringLiteral("Flagge ") + m_countryName; }

void CFlagView::PaintFlagArea(QPainter& painter, const QSize& size) const {
    const int w = size.width(), h = size.height();
    painter.fillRect(QRect(0, 0, w, h), kBackground);
    if (!m_flag.IsValid()) return;
    // The frame line along the left, bottom and right edges.
    painter.fillRect(QRect(0, 0, 1, h), Qt::black);
    painter.fillRect(QRect(w - 1, 0, 1, h), Qt::black);
    painter.fillRect(QRect(0, h - 1, w, 1), Qt::black);
    for (int i = 0; i < 3; ++i) painter.fillRect(QRect(0, kLineTop + i, w, 1), kLines[i]);

    // A flag larger than its place is shown smaller rather than cut off.
    const QRect place(0, 0, w, kFlagBottom);
    QSize flag(m_flag.Width(), m_flag.Height());
    if (flag.width() > place.width() - 2 || flag.height() > place.height() - 2)
        flag.scale(place.size() - QSize(2, 2), Qt::KeepAspectRatio);
    const QRect target(QPoint(place.x() + (place.width() - flag.width()) / 2,
                              place.y() + (place.height() - flag.height()) / 2),
                       flag);
    if (flag == QSize(m_flag.Width(), m_flag.Height())) {
        m_flag.Draw(painter, target.topLeft());
    } else {
        painter.setRenderHint(QPainter::SmoothPixmapTransform);
        painter.drawImage(target, m_flag.Image());
    }

    painter.setPen(Qt::white);
    painter.setFont(m_nameFont);
    const QRect name(kSideMargin, kNameTop, w - 2 * kSideMargin, kNameBottom - kNameTop);
    painter.drawText(name, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     painter.fontMetrics().elidedText(m_countryName, Qt::ElideRight, name.width()));
    painter.setFont(m_textFont);
    const QRect text(kSideMargin, kTextTop, w - 2 * kSideMargin, h - kTextBottomMargin - kTextTop);
    painter.setClipRect(text);
    painter.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, m_flagText);
    painter.setClipping(false);
}

void CFlagView::OnCommand(int id) {
    if (id == kCloseButton) {
        close();
    } else if (id == kMenuButton) {
        // After the button has finished with its click: the menu runs a loop of its own.
        QTimer::singleShot(0, this, [this] {
            QWidget* button = Controls().Control(kMenuButton);
            const QPoint at = button ? button->mapToGlobal(QPoint(button->width(), 0))
                                     : mapToGlobal(QPoint(width(), 0));
            ShowMenu(at);
        });
    } else {
        CTemplateDialog::OnCommand(id);
    }
}

void CFlagView::contextMenuEvent(QContextMenuEvent* event) { ShowMenu(event->globalPos()); }

void CFlagView::ShowMenu(const QPoint& pos) { OnMenuCommand(TrackMenu(pos)); }

int CFlagView::TrackMenu(const QPoint& pos) { return TrackPictureMenu(this, pos); }

void CFlagView::OnMenuCommand(int id) {
    RunPictureMenuItem(id, this, m_env.pictureHost, m_flag, ExportName());
}

void CFlagView::resizeEvent(QResizeEvent* event) {
    CTemplateDialog::resizeEvent(event);
    if (m_area) m_area->setGeometry(0, kCaptionHeight, width(), height() - kCaptionHeight);
}
