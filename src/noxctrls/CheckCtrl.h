#pragma once
// Two-state button (check box): seven bitmaps, _n, _h, _c for the off state, _n1, _h1, _c1
// for the on state and _0 disabled. A click toggles the state and then sends the command.

#include "noxctrls/PushCtrl.h"

class NOXCTRLS_EXPORT CCheckCtrl : public CPushCtrl {
    Q_OBJECT
public:
    explicit CCheckCtrl(QWidget* parent = nullptr);

    // Loads the seven pictures of <base>; returns the paths that could not be read.
    QStringList LoadBitmaps(const QString& base);

    bool IsChecked() const { return m_checked; }
    void SetChecked(bool checked);

protected:
    const QPixmap& CurrentPixmap(QString& name) const override;
    void OnClicked() override;

private:
    bool m_checked = false;
    QPixmap m_normalOn, m_hoverOn, m_pressedOn;
};
