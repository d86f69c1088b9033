// The program's pop-up menus.
#pragma once

class wxMenu;

namespace tesslin::menus {

// The view's context menu "편집": cut, copy and paste.
constexpr int kPopupEdit = 119;

// A new pop-up menu `menuId`, or nullptr for an unknown ID. The caller owns it.
wxMenu* CreatePopupMenu(int menuId);

} // namespace tesslin::menus
