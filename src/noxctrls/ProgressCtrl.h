#pragma once
// Progress bar: the track bar_n.bmp, over it the left part of bar_a.bmp up to the value, or
// bar_0.bmp when disabled; the percentage is written across it in the control's font and
// text colour.

#include "noxctrls/NoxCtrl.h"

class NOXCTRLS_EXPORT CProgressCtrl : public CNoxCtrl {
    Q_OBJECT
public:
    explicit CProgressCtrl(QWidget* parent = nullptr);

    // Loads <base>_n.bmp, <base>_a.bmp and <base>_0.bmp ("bar"); returns the missing paths.
    QStringList LoadBitmaps(const QString& base = QStringLiteral("bar"));

    // The value in percent; anything outside 0 to 100 is taken as the nearer end.
    void SetValue(int percent);
    int Value() const { return m_value; }

    void SetTextColor(const QColor& color);
    QColor TextColor() const { return m_textColor; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_base;
    QPixmap m_track, m_active, m_disabled;
    int m_value = 0;
    QColor m_textColor = Qt::white;
};
