#include "viewers/GraphListItem.h"

#include <QFontMetrics>
#include <QPainter>

#include "data/Database.h"
#include "data/ValueRoutines.h"
#include "viewers/ListWnd.h"

namespace {

// The preview's column and the title's box, normal, under the mouse, selected.
const QColor kColumnFill[3]
    = {QColor(0x87, 0x95, 0xAF), QColor(0x95, 0xA1, 0xB9), QColor(0xA4, 0xAE, 0xC3)};
const QColor kTitleFill[3]
    = {QColor(0xAC, 0xB9, 0xD2), QColor(0xBA, 0xC5, 0xDA), QColor(0xC7, 0xD1, 0xE3)};

constexpr int kTitleTop = 6;
constexpr int kTitleSide = 8;
constexpr int kTitleBottom = 3;
// Height beyond the preview's, and of an entry without one.
constexpr int kPreviewPadding = 16;
constexpr int kPlainHeight = 32;

std::string EpsToGif(std::string name) {
    for (std::size_t pos = 0; (pos = name.find(".eps", pos)) != std::string::npos; pos += 4)
        name.replace(pos, 4, ".gif");
    return name;
}

}  // namespace

CGraphListItem::CGraphListItem(QWidget* parent) : CListWndItem(parent) {
    m_font = QFont(QStringLiteral("Arial"));
    m_font.setPointSize(10);
}

void CGraphListItem::Register() {
    RegisterListWndItem(kKind, [] { return new CGraphListItem; });
}

CPreviewSource* CGraphListItem::Source() const {
    CListWnd* list = List();
    return list ? dynamic_cast<CPreviewSource*>(list->parentWidget()) : nullptr;
}

void CGraphListItem::Load(CRecordset& recordset) {
    m_member = EpsToGif(ToText(recordset.GetFieldValue("Abbildung")));
    m_preview.Clear();
    // A name of one character names nothing the archive holds.
    if (m_member.size() <= 1) return;
    if (CPreviewSource* source = Source()) m_preview = source->Preview(m_member);
}

QSize CGraphListItem::PreviewSize() const {
    QSize size(m_preview.Width(), m_preview.Height());
    // A preview wider than its column is shown smaller rather than over the title.
    if (size.width() > kPreviewColumn) size.scale(kPreviewColumn, size.height(), Qt::KeepAspectRatio);
    return size;
}

int CGraphListItem::Draw(QPainter* painter, const QRect& rect, bool measureOnly, int state) {
    const QFontMetrics metrics(m_font);
    const int titleWidth = std::max(1, rect.width() - kPreviewColumn - 2 * kTitleSide);
    const QStringList lines = WrapListText(metrics, Text(), titleWidth);
    const QSize preview = m_preview.IsValid() ? PreviewSize() : QSize();
    // The preview decides the height; a title longer than that gets the room it needs.
    const int designed = m_preview.IsValid() ? preview.height() + kPreviewPadding : kPlainHeight;
    const int titleHeight
        = kTitleTop + static_cast<int>(lines.size()) * metrics.height() + kTitleBottom;
    const int height = std::max(designed, titleHeight);
    if (measureOnly || !painter) return height;

    state = std::clamp(state, 0, 2);
    const QRect column(rect.left(), rect.top(), std::min(kPreviewColumn, rect.width()), height);
    const QRect box(column.right() + 1, rect.top(), std::max(0, rect.width() - column.width()),
                    height);
    painter->fillRect(column, kColumnFill[state]);
    painter->fillRect(box, kTitleFill[state]);

    if (m_preview.IsValid()) {
        const QPoint at(column.left() + (column.width() - preview.width()) / 2,
                        column.top() + (column.height() - preview.height()) / 2);
        if (preview == QSize(m_preview.Width(), m_preview.Height())) {
            m_preview.Draw(*painter, at);
        } else {
            painter->save();
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(QRect(at, preview), m_preview.Image());
            painter->restore();
        }
    }

    painter->setFont(m_font);
    painter->setPen(Qt::black);
    int y = rect.top() + kTitleTop;
    for (const QString& line : lines) {
        painter->drawText(QRect(box.left() + kTitleSide, y, titleWidth, metrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
        y += metrics.height();
    }
    return height;
}
