// The one place where the window pops up a menu (the application menu, the style menu, the
// view's context menu). Tests replace the presenter: a real pop-up menu waits for the user.
#pragma once

#include <wx/gdicmn.h>

#include <functional>

class wxWindow;

namespace tesslin {

class CommandMenu;

// Shows `menu` at `clientPos` of `owner` and returns when it has closed. The items show what
// their update-UI events answer through `owner`, and a chosen item's command travels from
// `owner` like any command.
using PopupPresenter =
    std::function<void(wxWindow& owner, CommandMenu& menu, const wxPoint& clientPos)>;

// Installs `presenter`; an empty one restores the real pop-up menu. Returns the one replaced.
PopupPresenter SetPopupPresenter(PopupPresenter presenter);

void PresentPopupMenu(wxWindow& owner, CommandMenu& menu, const wxPoint& clientPos);

} // namespace tesslin
