#include "noxctrls/NoxToolTip.h"

#include <QCursor>
#include <QGuiApplication>
#include <QLabel>
#include <QPointer>
#include <QScreen>
#include <QToolTip>

namespace {

CToolTipStyle& Style() {
    static CToolTipStyle style;
    return style;
}

QPointer<QLabel>& TipWindow() {
    static QPointer<QLabel> tip;
    return tip;
}

QPointer<QWidget>& TipOwner() {
    static QPointer<QWidget> owner;
    return owner;
}

}  // namespace

// When text and background are the same colour the text would vanish, so it takes the
// contrasting one.
QColor ReadableToolTipText(const CToolTipStyle& style) {
    if (style.textColor.rgb() != style.backColor.rgb()) return style.textColor;
    return qGray(style.backColor.rgb()) < 128 ? QColor(Qt::white) : QColor(Qt::black);
}

void SetToolTipStyle(const CToolTipStyle& style) {
    Style() = style;
    // The toolkit's own tips (plain widgets, the bitmap buttons) look the same.
    QPalette palette = QToolTip::palette();
    palette.setColor(QPalette::ToolTipBase, style.backColor);
    palette.setColor(QPalette::ToolTipText, ReadableToolTipText(style));
    QToolTip::setPalette(palette);
    QFont font(style.font);
    font.setPointSize(qMax(1, style.fontSize));
    QToolTip::setFont(font);
}

const CToolTipStyle& ToolTipStyle() { return Style(); }

void ShowNoxToolTip(const QString& text, QWidget* owner) {
    HideNoxToolTip();
    if (text.isEmpty()) return;
    const CToolTipStyle& style = Style();
    QLabel* label = TipWindow();
    if (!label) {
        label = new QLabel(nullptr, Qt::ToolTip | Qt::FramelessWindowHint);
        label->setAttribute(Qt::WA_ShowWithoutActivating);
        label->setMargin(3);
        TipWindow() = label;
    }
    QFont font(style.font);
    font.setPointSize(qMax(1, style.fontSize));
    label->setFont(font);
    const QColor ink = ReadableToolTipText(style);
    label->setStyleSheet(
        QStringLiteral("QLabel { color: #%1; background: #%2; border: 1px solid #%1; }")
            .arg(ColorText(ink), ColorText(style.backColor)));
    label->setText(text);
    label->adjustSize();

    // Below and slightly right of the pointer, kept on the screen.
    QPoint pos = QCursor::pos() + QPoint(2, 20);
    if (QScreen* screen = QGuiApplication::screenAt(QCursor::pos())) {
        const QRect area = screen->availableGeometry();
        if (pos.x() + label->width() > area.right()) pos.setX(area.right() - label->width());
        if (pos.y() + label->height() > area.bottom())
            pos.setY(QCursor::pos().y() - label->height() - 4);
        pos.setX(qMax(area.left(), pos.x()));
    }
    label->move(pos);
    label->show();
    TipOwner() = owner;
}

void HideNoxToolTip(QWidget* owner) {
    QLabel* label = TipWindow();
    if (!label || !label->isVisible()) return;
    if (owner && TipOwner() != owner) return;
    label->hide();
    TipOwner() = nullptr;
}

QWidget* VisibleNoxToolTip() {
    QLabel* label = TipWindow();
    return label && label->isVisible() ? label : nullptr;
}
