#include "ribbon/PopupMenus.h"

#include "ribbon/CommandMenu.h"

#include <wx/window.h>

#include <utility>

namespace tesslin {

namespace {
PopupPresenter& Current() {
    static PopupPresenter presenter;
    return presenter;
}
} // namespace

PopupPresenter SetPopupPresenter(PopupPresenter presenter) {
    return std::exchange(Current(), std::move(presenter));
}

void PresentPopupMenu(wxWindow& owner, CommandMenu& menu, const wxPoint& clientPos) {
    if (const PopupPresenter& presenter = Current()) {
        presenter(owner, menu, clientPos);
        return;
    }
    menu.UpdateUI(owner);
    menu.SetOwner(&owner);
    owner.PopupMenu(&menu.GetMenu(), clientPos);
    menu.SetOwner(nullptr);
}

} // namespace tesslin
