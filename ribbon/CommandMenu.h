// A pop-up menu whose items send the program's command IDs.
//
// wxWidgets takes menu item IDs only below 32767 (the limit on Windows), and most of the
// program's commands lie above it (32777, 57665, ...). An item for such a command gets an
// automatic ID; the menu sends the item's update-UI event and its click under the command ID,
// so handlers see the same IDs as for the ribbon's buttons and the accelerators.
#pragma once

#include <wx/menu.h>

#include <map>

class wxWindow;

namespace tesslin {

class CommandMenu {
public:
    // What an item shows when no update-UI handler decides: enabled (a command is assumed to
    // have a handler) or disabled (nothing serves it unless a handler says so).
    enum class Unanswered { Enabled, Disabled };

    explicit CommandMenu(Unanswered unanswered = Unanswered::Enabled);
    CommandMenu(const CommandMenu&) = delete;
    CommandMenu& operator=(const CommandMenu&) = delete;

    // `bitmap` must come with the item: GTK cannot add a picture to an item already made.
    wxMenuItem* Append(int command, const wxString& label, wxItemKind kind = wxITEM_NORMAL,
                       const wxBitmap& bitmap = wxNullBitmap);
    // A line of text that cannot be chosen.
    void AppendHeading(const wxString& label);
    void AppendSeparator() { m_menu.AppendSeparator(); }

    wxMenu& GetMenu() { return m_menu; }
    // The command of the item, or 0 for a heading or a separator.
    int CommandOf(const wxMenuItem& item) const;

    // Sends each item's update-UI event, under its command ID, through `owner` (the way a
    // click's command travels) and shows the answer: enabled, checked.
    void UpdateUI(wxWindow& owner);
    // Sends the command of `item` through `owner`, as a click on it does.
    void Choose(wxWindow& owner, const wxMenuItem& item);

    // While the menu is up: the window whose way a chosen item's command takes.
    void SetOwner(wxWindow* owner) { m_owner = owner; }

private:
    void OnMenu(wxCommandEvent& event);

    wxMenu m_menu;
    wxWindow* m_owner = nullptr;
    std::map<int, int> m_commands; // item ID -> command ID
    Unanswered m_unanswered;
};

} // namespace tesslin
