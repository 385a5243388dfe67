#include "app/MainWindowFactory.h"

#include "app/IntroWnd.h"
#include "app/KompendorApp.h"
#include "app/Settings.h"
#include "controls/TemplateDialog.h"
#include "mainwnd/MainWnd.h"
#include "noxctrls/NoxCursors.h"
#include "noxctrls/NoxToolTip.h"

namespace {

QColor FromColorRef(ColorRef colour) {
    return QColor(int(colour & 0xFF), int((colour >> 8) & 0xFF), int((colour >> 16) & 0xFF));
}

// The tooltips of every window in the font, size, delay and colours of the ToolTip section.
void ApplyToolTipSettings(const CSettings& settings) {
    CToolTipStyle style;
    style.font = QString::fromStdString(settings.toolTipFont);
    style.fontSize = settings.toolTipFontSize;
    style.delay = settings.toolTipDelay;
    style.textColor = FromColorRef(settings.toolTipTextColor);
    style.backColor = FromColorRef(settings.toolTipBackColor);
    SetToolTipStyle(style);
}

}  // namespace

QWidget* CreateMainWindow(CKompendorApp& app) {
    const CSettings& settings = TheSettings();
    // Every skinned window from here on reads its bitmaps below the checked UI folder.
    CTemplateDialog::SetUiDirectory(QString::fromStdString(settings.ui));
    // The controls' "Pointer" is the installation's cursor, as the table cells' is.
    SetNamedCursor(QStringLiteral("Pointer"), app.PointerCursor());
    ApplyToolTipSettings(settings);
    auto* wnd = new CMainWnd(app.m_pDatabase.get());
    wnd->SetPointerCursor(app.PointerCursor());
    // The intro covers the desktop until the main window is about to show itself.
    if (app.m_pIntro) app.m_pIntro->CloseAfter(250);
    return wnd;
}
