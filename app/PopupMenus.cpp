#include "app/PopupMenus.h"

#include <wx/menu.h>
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

void PresentPopupMenu(wxWindow& owner, wxMenu& menu, const wxPoint& clientPos) {
    if (const PopupPresenter& presenter = Current()) {
        presenter(owner, menu, clientPos);
        return;
    }
    owner.PopupMenu(&menu, clientPos);
}

} // namespace tesslin
