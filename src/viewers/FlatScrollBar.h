#pragma once
// A flat vertical scroll bar for the list window: arrow buttons at both ends, a groove and a
// thumb whose length its owner sets in pixels. The position runs from 0 to 1000. The bar does
// not move itself: it reports what the user does (a line or a page either way, the thumb
// dragged to a position), and its owner sets the position the contents then have.

#include <QTimer>
#include <QWidget>

class CFlatScrollBar : public QWidget {
    Q_OBJECT
public:
    static constexpr int kRange = 1000;

    enum class Action { LineUp, LineDown, PageUp, PageDown };

    explicit CFlatScrollBar(QWidget* parent = nullptr);

    // The position, limited to 0..1000; ignored while the user drags the thumb.
    void SetPosition(int position);
    int Position() const { return m_position; }
    // The thumb's length in pixels (at least 10, at most the groove).
    void SetThumbLength(int pixels);
    int ThumbLength() const;
    bool IsDragging() const { return m_dragging; }

    // The thumb's rectangle in the bar's coordinates.
    QRect ThumbRect() const;

    void SetColours(const QColor& groove, const QColor& thumb, const QColor& arrows);

signals:
    // A click (or a held button) on an arrow or the groove.
    void actionTriggered(CFlatScrollBar::Action action);
    // The thumb dragged to a position of 0..1000.
    void thumbTracked(int position);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    int ArrowHeight() const;
    QRect Groove() const;
    void Repeat();

    int m_position = 0;
    int m_thumbLength = 10;
    bool m_dragging = false;
    int m_dragOffset = 0;
    Action m_repeating = Action::LineDown;
    QTimer m_repeat;
    QColor m_groove{0x3C, 0x44, 0x56};
    QColor m_thumb{0x9A, 0xA4, 0xBA};
    QColor m_arrows{0xD2, 0xDE, 0xF6};
};
