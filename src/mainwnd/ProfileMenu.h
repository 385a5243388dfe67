#pragma once
// The profile menu as a flat menu: preset sub-folders as submenus, preset files, a separator
// when there are presets, then the user's own profiles. Item ids are the model's entry ids.

#include <memory>
#include <vector>

#include "controls/FlatMenu.h"
#include "mainwnd/Profiles.h"

// Styles menu in the profile menu's font and colours and clears its items.
void StyleProfileMenu(CFlatMenu& menu);

// Styles menu and fills it from model; the submenus are created into submenus, which must
// outlive every use of menu.
void FillProfileMenu(const CProfileMenuModel& model, CFlatMenu& menu,
                     std::vector<std::unique_ptr<CFlatMenu>>& submenus);
