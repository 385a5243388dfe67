#pragma once
// The item kinds of the text windows' lists: the selection lists, the person list of the
// article window and the search window's hits (with a picture of the article's type).

#include <QPixmap>

#include "viewers/ListWndItem.h"

// "MS Sans Serif" 8 in blue-grey, the selected entry in yellow.
class CSelectListItem : public CListWndItem {
    Q_OBJECT
public:
    using CListWndItem::CListWndItem;

protected:
    const Look& ItemLook() const override;
};

// As CSelectListItem in the navigation panels' violet, the selected entry in rose.
class CPersonenListItem : public CListWndItem {
    Q_OBJECT
public:
    using CListWndItem::CListWndItem;

protected:
    const Look& ItemLook() const override;
};

// A hit of the full-text search: the title with the picture of the article's type at the left
// (1 country 191, 2 person 192, 3 organisation 193, 4 topic 194, 5 glossary 195, 6 help 190,
// 9 picture 270).
class CSearchListItem : public CListWndItem {
    Q_OBJECT
public:
    using CListWndItem::CListWndItem;

    // Reads the record's "Typ".
    void Load(CRecordset& recordset) override;
    int Draw(QPainter* painter, const QRect& rect, bool measureOnly, int state) override;

    int Typ() const { return m_typ; }
    // The bitmap resource of an article type; 0 for none.
    static int IconOfTyp(int typ);

protected:
    const Look& ItemLook() const override;

private:
    int m_typ = 0;
    QPixmap m_icon;
};
