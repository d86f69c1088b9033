// The one place where the window pops up a menu (the application menu, the style menu, the
// view's context menu). Tests replace the presenter: a real pop-up menu waits for the user.
#pragma once

#include <wx/gdicmn.h>

#include <functional>

class wxMenu;
class wxWindow;

namespace tesslin {

// Shows `menu` at `clientPos` of `owner`, whose event handler receives the chosen command,
// and returns when the menu has closed.
using PopupPresenter = std::function<void(wxWindow& owner, wxMenu& menu, const wxPoint& clientPos)>;

// Installs `presenter`; an empty one restores the real pop-up menu. Returns the one replaced.
PopupPresenter SetPopupPresenter(PopupPresenter presenter);

void PresentPopupMenu(wxWindow& owner, wxMenu& menu, const wxPoint& clientPos);

} // namespace tesslin
