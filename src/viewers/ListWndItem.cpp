#include "viewers/ListWndItem.h"

#include <QFontMetrics>
#include <QPainter>
#include <map>

#include "data/Database.h"
#include "data/ValueRoutines.h"
#include "viewers/ListItems.h"

namespace {

std::map<std::string, ListWndItemFactory>& Kinds() {
    // The built-in kinds are entered here rather than by static registration, which a static
    // library would drop unless something else used the same object file.
    static std::map<std::string, ListWndItemFactory> kinds = {
        {"CListWndItem", [] { return new CListWndItem; }},
        {"CSelectListItem", [] { return new CSelectListItem; }},
        {"CPersonenListItem", [] { return new CPersonenListItem; }},
        {"CSearchListItem", [] { return new CSearchListItem; }},
    };
    return kinds;
}

}  // namespace

void RegisterListWndItem(const std::string& kind, ListWndItemFactory factory) {
    Kinds()[kind] = std::move(factory);
}

CListWndItem* CreateListWndItem(const std::string& kind) {
    auto it = Kinds().find(kind);
    return it == Kinds().end() ? new CListWndItem : it->second();
}

bool IsListWndItemKind(const std::string& kind) { return Kinds().count(kind) > 0; }

QFont SmallListFont() {
    QFont font(QStringLiteral("MS Sans Serif"));
    font.setPointSize(8);
    return font;
}

QStringList WrapListText(const QFontMetrics& metrics, const QString& text, int width) {
    QStringList lines;
    QString line;
    const QStringList words = text.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    for (QString word : words) {
        if (metrics.horizontalAdvance(word) > width)
            word = metrics.elidedText(word, Qt::ElideRight, width, Qt::TextShowMnemonic);
        const QString joined = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (line.isEmpty() || metrics.horizontalAdvance(joined) <= width) {
            line = joined;
        } else {
            lines.append(line);
            line = word;
        }
    }
    lines.append(line);
    return lines;
}

CListWndItem::CListWndItem(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("CListWndItem"));
    // The list handles the mouse for its items, in its own coordinates.
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void CListWndItem::Attach(CListWnd* list, CRecordset* recordset, const std::string& textField,
                          std::uint8_t option) {
    m_list = list;
    m_recordset = recordset;
    m_textField = textField;
    m_option = option;
}

void CListWndItem::Fill() {
    if (!m_recordset) return;
    m_text = QString::fromStdString(ToText(m_recordset->GetFieldValue(m_textField)));
    Load(*m_recordset);
}

void CListWndItem::Load(CRecordset&) {}

bool CListWndItem::GetDragText(std::string& text) const {
    text = m_text.toStdString();
    return !text.empty();
}

void CListWndItem::SetState(int state) {
    if (state == m_state) return;
    m_state = state;
    update();
}

const CListWndItem::Look& CListWndItem::ItemLook() const {
    static const Look look = [] {
        Look l;
        l.fill[kNormal] = QColor(0xAA, 0xAA, 0xAA);
        l.fill[kHot] = QColor(0xCC, 0xCC, 0xCC);
        l.fill[kSelected] = QColor(0x00, 0x00, 0xFF);
        for (QColor& c : l.text) c = QColor(0x33, 0x33, 0x33);
        l.inset = 4;
        l.padding = 8;
        l.textTop = 4;
        l.edge = true;
        return l;
    }();
    return look;
}

int CListWndItem::Draw(QPainter* painter, const QRect& rect, bool measureOnly, int state) {
    // The plain item draws in the window's default font.
    Look look = ItemLook();
    look.font = font();
    return DrawBox(painter, rect, measureOnly, state, look);
}

int CListWndItem::DrawBox(QPainter* painter, const QRect& rect, bool measureOnly, int state,
                          const Look& look, int iconWidth) const {
    const QFontMetrics metrics(look.font);
    const int left = look.inset + iconWidth;
    const int textWidth = std::max(1, rect.width() - left - look.inset);
    const QStringList lines = WrapListText(metrics, m_text, textWidth);
    const int height = static_cast<int>(lines.size()) * metrics.height() + look.padding;
    if (measureOnly || !painter) return height;

    state = std::clamp(state, 0, 2);
    const QRect box(rect.left(), rect.top(), rect.width(), height);
    painter->fillRect(box, look.fill[state]);
    if (look.edge) {
        painter->setPen(QColor(0xFE, 0xFF, 0xFF));
        painter->drawLine(box.topLeft(), box.topRight());
        painter->drawLine(box.topLeft(), box.bottomLeft());
        painter->setPen(QColor(0x66, 0x66, 0x66));
        painter->drawLine(box.bottomLeft(), box.bottomRight());
        painter->drawLine(box.topRight(), box.bottomRight());
    }
    painter->setFont(look.font);
    painter->setPen(look.text[state]);
    int y = box.top() + look.textTop;
    for (const QString& line : lines) {
        painter->drawText(QRect(box.left() + left, y, textWidth, metrics.height()),
                          Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine, line);
        y += metrics.height();
    }
    return height;
}

void CListWndItem::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    Draw(&painter, rect(), false, m_state);
}
