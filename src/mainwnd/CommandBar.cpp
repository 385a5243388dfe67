#include "mainwnd/CommandBar.h"

#include <algorithm>
#include <vector>

#include "noxctrls/PushCtrl.h"

CCommandBar::CCommandBar(QWidget* parent)
    : CTemplateDialog(kTemplate, parent, CTemplateDialog::Placement::Child) {
    Fit();
}

void CCommandBar::resizeEvent(QResizeEvent* event) {
    // The template's places first, then the form the width allows.
    CTemplateDialog::resizeEvent(event);
    Fit();
}

void CCommandBar::Fit() {
    std::vector<const CTemplateControl*> buttons;
    const CTemplateControl* logo = nullptr;
    for (const CTemplateControl& control : Layout().controls) {
        if (control.kind == QLatin1String("push") && !control.Text("compact").isEmpty())
            buttons.push_back(&control);
        if (control.kind == QLatin1String("image")
            && control.Text("style") == QLatin1String("logo"))
            logo = &control;
    }
    if (buttons.empty()) return;

    int right = 0;
    for (const CTemplateControl* button : buttons)
        right = std::max(right, button->rect.x() + button->rect.width());
    const bool compact = width() < right + kMargin;
    if (compact) {
        int x = buttons.front()->rect.x();
        for (const CTemplateControl* button : buttons) {
            const int side = button->rect.height();
            right = x + side;
            x += side + kCompactGap;
        }
    }

    int x = buttons.front()->rect.x();
    for (const CTemplateControl* button : buttons) {
        CPushCtrl* push = Controls().Push(button->id);
        if (!push) continue;
        if (compact != m_compact) {
            push->LoadBitmaps(button->Text(compact ? "compact" : "bitmap"),
                              button->Text("states", QStringLiteral("0nhc")));
            // Without its label the button says what it does when the mouse rests on it.
            push->SetToolTipText(compact ? button->Text("label") : button->Text("tooltip"));
        }
        if (compact) {
            const int side = button->rect.height();
            push->setGeometry(x, button->rect.y(), side, side);
            x += side + kCompactGap;
        }
    }
    m_compact = compact;

    if (logo) {
        if (QWidget* picture = Controls().Control(logo->id))
            picture->setVisible(width() - logo->rect.width() >= right + kMargin);
    }
}
