#include "viewers/ListItems.h"

#include <QPainter>

#include "controls/BitmapResource.h"
#include "data/Database.h"
#include "data/ValueRoutines.h"

namespace {

CListWndItem::Look SmallLook(QColor fill0, QColor text0, QColor fill1, QColor text1, QColor fill2,
                             QColor text2) {
    CListWndItem::Look look;
    look.fill[0] = fill0;
    look.fill[1] = fill1;
    look.fill[2] = fill2;
    look.text[0] = text0;
    look.text[1] = text1;
    look.text[2] = text2;
    look.font = SmallListFont();
    look.inset = 2;
    look.padding = 3;
    look.textTop = 1;
    return look;
}

constexpr int kIconGap = 4;

}  // namespace

const CListWndItem::Look& CSelectListItem::ItemLook() const {
    static const Look look
        = SmallLook(QColor(0x4E, 0x5A, 0x72), QColor(0xD2, 0xDE, 0xF6), QColor(0x5D, 0x69, 0x81),
                    QColor(0xFF, 0xFF, 0xFF), QColor(0x34, 0x3E, 0x50), QColor(0xEF, 0xEA, 0x58));
    return look;
}

const CListWndItem::Look& CPersonenListItem::ItemLook() const {
    static const Look look
        = SmallLook(QColor(0x7B, 0x7B, 0xA5), QColor(0xF1, 0xF6, 0xFF), QColor(0x6F, 0x6F, 0x9D),
                    QColor(0xF1, 0xF6, 0xFF), QColor(0x51, 0x60, 0x6E), QColor(0xFF, 0xBB, 0xBB));
    return look;
}

const CListWndItem::Look& CSearchListItem::ItemLook() const {
    static const Look look
        = SmallLook(QColor(0x56, 0x60, 0x74), QColor(0xAF, 0xAF, 0xAF), QColor(0x5E, 0x69, 0x7E),
                    QColor(0xAF, 0xAF, 0xAF), QColor(0x6F, 0x77, 0x89), QColor(0xCC, 0xCC, 0xCC));
    return look;
}

int CSearchListItem::IconOfTyp(int typ) {
    switch (typ) {
        case 1:
            return 191;
        case 2:
            return 192;
        case 3:
            return 193;
        case 4:
            return 194;
        case 5:
            return 195;
        case 6:
            return 190;
        case 9:
            return 270;
        default:
            return 0;
    }
}

void CSearchListItem::Load(CRecordset& recordset) {
    double typ = 0;
    ToNumber(recordset.GetFieldValue("Typ"), typ);
    m_typ = static_cast<int>(typ);
    const int icon = IconOfTyp(m_typ);
    m_icon = icon ? LoadBitmapResource(icon) : QPixmap();
}

int CSearchListItem::Draw(QPainter* painter, const QRect& rect, bool measureOnly, int state) {
    // The picture's column is kept for every hit, so the titles line up; a one-line title is
    // centred beside the picture.
    const Look& look = ItemLook();
    const int iconWidth = 16 + kIconGap;
    const int textHeight = DrawBox(nullptr, rect, true, state, look, iconWidth);
    const int height = std::max(textHeight, 16 + 4);
    if (measureOnly || !painter) return height;
    painter->fillRect(QRect(rect.left(), rect.top(), rect.width(), height),
                      look.fill[std::clamp(state, 0, 2)]);
    DrawBox(painter, rect.translated(0, (height - textHeight) / 2), false, state, look, iconWidth);
    if (!m_icon.isNull())
        painter->drawPixmap(QRect(rect.left() + look.inset, rect.top() + (height - 16) / 2, 16, 16),
                            m_icon);
    return height;
}
