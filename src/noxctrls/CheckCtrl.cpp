#include "noxctrls/CheckCtrl.h"

CCheckCtrl::CCheckCtrl(QWidget* parent) : CPushCtrl(parent) {}

QStringList CCheckCtrl::LoadBitmaps(const QString& base) {
    QStringList missing = CPushCtrl::LoadBitmaps(base);
    LoadInto(base + QLatin1String("_n1.bmp"), m_normalOn, missing);
    LoadInto(base + QLatin1String("_h1.bmp"), m_hoverOn, missing);
    LoadInto(base + QLatin1String("_c1.bmp"), m_pressedOn, missing);
    update();
    return missing;
}

void CCheckCtrl::SetChecked(bool checked) {
    if (m_checked == checked) return;
    m_checked = checked;
    update();
}

const QPixmap& CCheckCtrl::CurrentPixmap(QString& name) const {
    if (!m_checked || !isEnabled()) return CPushCtrl::CurrentPixmap(name);
    switch (CurrentState()) {
        case State::Pressed:
            name = m_base + QLatin1String("_c1.bmp");
            return m_pressedOn;
        case State::Hover:
            name = m_base + QLatin1String("_h1.bmp");
            return m_hoverOn;
        case State::Normal:
            break;
    }
    name = m_base + QLatin1String("_n1.bmp");
    return m_normalOn;
}

void CCheckCtrl::OnClicked() { SetChecked(!m_checked); }
