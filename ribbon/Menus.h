// The program's pop-up menus.
#pragma once

#include <memory>

namespace tesslin {
class CommandMenu;
}

namespace tesslin::menus {

// The view's context menu "편집": cut, copy and paste.
constexpr int kPopupEdit = 119;

// A new pop-up menu `menuId`, or nullptr for an unknown ID. Its items show disabled unless
// an update-UI handler enables them: nothing in the program serves these commands.
std::unique_ptr<CommandMenu> CreatePopupMenu(int menuId);

} // namespace tesslin::menus
