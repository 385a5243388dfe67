#include "mainwnd/ProfileMenu.h"

namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

}  // namespace

void StyleProfileMenu(CFlatMenu& menu) {
    menu.SetStyle(QStringLiteral("MS Sans Serif"), 8, Qt::black, QColor(165, 182, 215),
                  QColor(112, 112, 112), Qt::white, QColor(79, 89, 119));
    menu.Attach(-1);
}

void FillProfileMenu(const CProfileMenuModel& model, CFlatMenu& menu,
                     std::vector<std::unique_ptr<CFlatMenu>>& submenus) {
    StyleProfileMenu(menu);
    int id = 0;
    for (const CProfileSubmenu& group : model.submenus) {
        auto submenu = std::make_unique<CFlatMenu>();
        StyleProfileMenu(*submenu);
        for (const CProfileMenuEntry& entry : group.entries)
            submenu->AppendItem(0, Q(entry.name), ++id);
        menu.AppendSubmenu(0, Q(group.name), submenu.get());
        submenus.push_back(std::move(submenu));
    }
    for (const CProfileMenuEntry& entry : model.presets) menu.AppendItem(0, Q(entry.name), ++id);
    if (model.HasPresets()) menu.AppendItem(CFlatMenu::kSeparator, QString(), 0);
    for (const CProfileMenuEntry& entry : model.user) menu.AppendItem(0, Q(entry.name), ++id);
}
