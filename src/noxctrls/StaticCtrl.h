#pragma once
// Static text: one line of text in a font, with three text colours (normal, under the mouse,
// disabled) and an optional background colour; without one the text is drawn over whatever
// lies below (a background image). A static text with the cursor "Pointer" is clickable and
// sends its command like a button (the map's data-field title, the names of loaded lists).

#include "noxctrls/NoxCtrl.h"

class NOXCTRLS_EXPORT CStaticCtrl : public CNoxCtrl {
    Q_OBJECT
public:
    explicit CStaticCtrl(QWidget* parent = nullptr);

    QString Text() const { return m_text; }
    void SetText(const QString& text);

    // The three text colours: normal, under the mouse, disabled.
    void SetColors(const QColor& normal, const QColor& hover, const QColor& disabled);
    QColor TextColor() const { return m_normal; }
    QColor HoverColor() const { return m_hover; }
    QColor DisabledColor() const { return m_disabled; }

    // Sets the text colour from a six-digit RRGGBB text, for the normal and the hover state
    // (a text coloured at run time stays that colour under the mouse). False, and nothing
    // changed, when the text is not six hexadecimal digits.
    bool SetTextColor(const QString& rrggbb);
    // Sets an opaque background from a six-digit RRGGBB text; false for a malformed text.
    bool SetBackColor(const QString& rrggbb);
    void SetBackground(const QColor& color);
    // Draws no background again.
    void ClearBackColor();
    bool HasBackColor() const { return m_hasBack; }
    QColor BackColor() const { return m_back; }

    void SetAlignment(Qt::Alignment alignment);

    // The colour the text is drawn in now.
    QColor CurrentTextColor() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool IsClickable() const;

    QString m_text;
    QColor m_normal = Qt::black, m_hover = Qt::black, m_disabled = Qt::gray;
    QColor m_back;
    bool m_hasBack = false;
    bool m_mouseInside = false;
    bool m_buttonDown = false;
    Qt::Alignment m_alignment = Qt::AlignLeft | Qt::AlignVCenter;
};
