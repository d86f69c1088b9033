#include "res/Menus.h"

#include "app/WxText.h"
#include "res/CommandIds.h"
#include "res/Strings.h"

#include <wx/menu.h>

namespace tesslin::menus {

wxMenu* CreatePopupMenu(int menuId) {
    if (menuId != kPopupEdit) {
        return nullptr;
    }
    auto* menu = new wxMenu;
    menu->Append(ids::kEditCut, FromUtf8(text::kEditCut));
    menu->Append(ids::kEditCopy, FromUtf8(text::kEditCopy));
    menu->Append(ids::kEditPaste, FromUtf8(text::kEditPaste));
    return menu;
}

} // namespace tesslin::menus
