#pragma once
// The skinned frame window: a top-level window without the platform's decoration that draws
// and hit-tests its own border, caption and caption buttons (minimise, maximise or restore,
// close). The main window and the image window derive from it; they configure the frame
// before showing it and place their children in ClientRect().

#include <QBasicTimer>
#include <QColor>
#include <QPixmap>
#include <QRect>
#include <QSize>
#include <QWidget>
#include <array>

class QPainter;

class CSkinFrame : public QWidget {
    Q_OBJECT

public:
    // The three caption buttons, in the order of their states.
    enum CaptionButton { kMinimizeButton = 0, kMaximizeButton = 1, kCloseButton = 2 };
    // The four picture sets; restore shows on the maximise button while maximised.
    enum CaptionBitmaps { kMinimizeBitmaps = 0, kMaximizeBitmaps, kRestoreBitmaps, kCloseBitmaps };
    // A caption button's state.
    enum ButtonState { kButtonNormal = 0, kButtonHover = 1, kButtonPressed = 2 };

    // What a point of the window is: the result of the frame's hit test.
    enum class Hit {
        Nowhere,
        Client,
        Caption,
        Left,
        Right,
        Top,
        TopLeft,
        TopRight,
        Bottom,
        BottomLeft,
        BottomRight
    };

    // The frame's rectangles in window coordinates; bands and corners are empty when the
    // border is thinner than 3 pixels.
    struct Layout {
        QRect client;
        QRect caption;
        QRect top, bottom, left, right;
        QRect topLeft, topRight, bottomLeft, bottomRight;
    };

    explicit CSkinFrame(QWidget* parent = nullptr);

    // Configuration, before the window is shown.

    // Light edge, dark edge, border fill, active and inactive caption fill.
    void SetFrameColors(const QColor& light, const QColor& dark, const QColor& border,
                        const QColor& activeCaption, const QColor& inactiveCaption);
    // The caption picture and an optional right end; the caption takes the picture's height.
    void SetCaptionBitmaps(const QPixmap& main, const QPixmap& rightEnd = QPixmap());
    // The caption picture from a numbered bitmap.
    void SetCaptionBitmap(int resourceId);
    // Twelve numbered bitmaps, three (normal, under the mouse, pressed) for each of minimise,
    // maximise, restore and close, then the gap between two buttons. An id of 0 leaves its
    // picture out; a button without pictures is not shown.
    void SetCaptionButtonBitmaps(const std::array<int, 12>& resourceIds, int gap);
    // The three pictures of one set.
    void SetCaptionButtonBitmaps(CaptionBitmaps set, const QPixmap& normal, const QPixmap& hover,
                                 const QPixmap& pressed);
    void SetCaptionButtonGap(int gap);
    // Offset of the rightmost button's right edge from the caption's right end (negative:
    // to the left), and of the buttons from the caption's top.
    void SetCaptionButtonOffsets(int right, int top);
    void SetBorderWidth(int width);
    void SetCaptionHeight(int height);
    // Extra space between the border and the client area.
    void SetInnerMargin(int margin);
    void SetMinTrackSize(const QSize& size);
    // When set, a maximised window keeps this size, centred in the work area, instead of
    // covering it. An empty size switches it off.
    void SetMaximizedSize(const QSize& size);

    // Where the subclass puts its children and paints its content, in window coordinates.
    QRect ClientRect() const;
    const Layout& FrameLayout() const;
    QRect CaptionButtonRect(CaptionButton button) const;
    ButtonState CaptionButtonState(CaptionButton button) const { return m_buttonStates[button]; }
    int BorderWidth() const { return m_borderWidth; }
    int CaptionHeight() const { return m_captionHeight; }

    // Maximising goes through these: a maximised frame lies with its border outside the work
    // area (or has its configured size), which the window manager's own maximise cannot do.
    void ShowMaximized();
    void ShowRestored();
    bool IsMaximized() const { return m_maximized; }
    // The rectangle a maximised window takes on its screen.
    QRect MaximizedGeometry() const;

    // The frame's rectangles for a window of that size; border b, margin m, caption c.
    static Layout ComputeLayout(const QSize& size, int b, int m, int c);

    // The hit test of a point in window coordinates. Over a caption button in the normal
    // state it turns the button to "under the mouse" and starts watching for the mouse to
    // leave; inside the caption it brings the window to the top.
    Hit HitTest(const QPoint& pos);

protected:
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;
    void changeEvent(QEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void timerEvent(QTimerEvent* e) override;

    // Draws border, caption and caption buttons; paintEvent calls it first.
    void PaintFrame(QPainter& painter);

private:
    enum class Drag { None, Move, Resize };

    // Brings the rectangles up to the window's size; a hidden window gets no resize events.
    void RecalcLayout() const;
    void PaintBorder(QPainter& painter);
    void PaintCaption(QPainter& painter);
    const QPixmap* ButtonBitmap(CaptionButton button, ButtonState state) const;
    void UpdateCursor(Hit hit);
    void BeginDrag(Hit hit, const QPointF& globalPos);

    // Frame parameters.
    int m_borderWidth = 6;
    int m_captionHeight = 18;
    int m_innerMargin = 1;
    QColor m_light, m_dark, m_border, m_activeCaption, m_inactiveCaption;
    QPixmap m_captionBitmap;
    QPixmap m_captionRightBitmap;
    std::array<std::array<QPixmap, 3>, 4> m_buttonBitmaps;
    int m_buttonOffsetRight = -2;
    int m_buttonOffsetTop = 2;
    int m_buttonGap = 4;
    QSize m_minTrackSize{64, 64};
    QSize m_maximizedSize;

    // State.
    bool m_active = false;
    bool m_maximized = false;
    QRect m_restoreGeometry;
    std::array<ButtonState, 3> m_buttonStates{kButtonNormal, kButtonNormal, kButtonNormal};
    mutable Layout m_layout;
    mutable std::array<QRect, 3> m_buttonRects;
    mutable QSize m_layoutSize;
    // Timer 101: returns the caption buttons to normal once the mouse has left them.
    QBasicTimer m_buttonTimer;
    bool m_sizingCursor = false;

    // Moving and sizing by hand where the platform cannot do it.
    Drag m_drag = Drag::None;
    Qt::Edges m_dragEdges;
    QPointF m_dragStart;
    QRect m_dragGeometry;
};
