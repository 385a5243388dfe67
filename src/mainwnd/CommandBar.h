#pragma once
// The main window's command bar (template 129). Its buttons and the logo are laid out for a
// wide window; a narrower one shows the text buttons as squares with their pictograms alone
// (their labels as tooltips) and leaves out the logo where it would meet the buttons, so that
// nothing is cut off and no piece of the logo shows between buttons.

#include "controls/TemplateDialog.h"

class CCommandBar : public CTemplateDialog {
    Q_OBJECT
public:
    static constexpr int kTemplate = 129;
    // Room kept free between the last button and the logo or the bar's right end.
    static constexpr int kMargin = 12;
    // Gap between two buttons in the compact form.
    static constexpr int kCompactGap = 4;

    explicit CCommandBar(QWidget* parent);

    // Whether the buttons show in their compact form at the bar's present width.
    bool IsCompact() const { return m_compact; }

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    // Lays the text buttons and the logo out for the bar's width.
    void Fit();

    bool m_compact = false;
};
