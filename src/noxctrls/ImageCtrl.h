#pragma once
// Background image: one skin bitmap over the control's rectangle (scaled when the control is
// sized differently). With the cursor "Move", a press-and-drag on it moves the whole
// top-level window.

#include "noxctrls/NoxCtrl.h"

class NOXCTRLS_EXPORT CImageCtrl : public CNoxCtrl {
    Q_OBJECT
public:
    explicit CImageCtrl(QWidget* parent = nullptr);

    // Loads <skin folder><file>; returns the paths that could not be read.
    QStringList LoadBitmap(const QString& file);
    QString BitmapName() const { return m_file; }
    const QPixmap& Bitmap() const { return m_pixmap; }

    // Whether a drag on the image moves the window (cursor name "Move").
    bool MovesWindow() const;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    QString m_file;
    QPixmap m_pixmap;
    bool m_dragging = false;
    QPoint m_dragOffset;  // pointer position relative to the window's top-left corner
};
