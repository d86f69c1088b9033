#include "ribbon/Menus.h"

#include "res/CommandIds.h"
#include "res/Strings.h"
#include "ribbon/CommandMenu.h"
#include "wxplatform/WxText.h"

namespace tesslin::menus {

std::unique_ptr<CommandMenu> CreatePopupMenu(int menuId) {
    if (menuId != kPopupEdit) {
        return nullptr;
    }
    auto menu = std::make_unique<CommandMenu>(CommandMenu::Unanswered::Disabled);
    menu->Append(ids::kEditCut, FromUtf8(text::kEditCut));
    menu->Append(ids::kEditCopy, FromUtf8(text::kEditCopy));
    menu->Append(ids::kEditPaste, FromUtf8(text::kEditPaste));
    return menu;
}

} // namespace tesslin::menus
