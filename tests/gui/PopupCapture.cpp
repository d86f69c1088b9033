#include "tests/gui/PopupCapture.h"

#include "ribbon/CommandMenu.h"
#include "ribbon/PopupMenus.h"

#include <wx/window.h>

#include <utility>

namespace tesslin::test {

PopupCapture::PopupCapture() {
    SetPopupPresenter([this](wxWindow& owner, CommandMenu& menu, const wxPoint&) {
        // What the real presenter does before the menu shows.
        menu.UpdateUI(owner);
        Menu seen;
        const wxMenuItem* chosen = nullptr;
        for (const wxMenuItem* item : menu.GetMenu().GetMenuItems()) {
            const int command = menu.CommandOf(*item);
            seen.push_back({command, item->GetItemLabel(), item->IsEnabled(),
                            item->IsCheckable() && item->IsChecked(), item->IsSeparator()});
            if (m_choose != 0 && command == m_choose) {
                chosen = item;
            }
        }
        m_menus.push_back(seen);
        m_choose = 0;
        if (chosen) {
            menu.Choose(owner, *chosen);
        }
    });
}

PopupCapture::~PopupCapture() {
    SetPopupPresenter({});
}

const PopupCapture::Item* FindItem(const PopupCapture::Menu& menu, int id) {
    for (const PopupCapture::Item& item : menu) {
        if (item.id == id && !item.separator) {
            return &item;
        }
    }
    return nullptr;
}

} // namespace tesslin::test
