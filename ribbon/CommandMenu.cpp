#include "ribbon/CommandMenu.h"

#include <wx/window.h>

namespace tesslin {

namespace {
// The largest item ID wxWidgets accepts.
constexpr int kLastPlainId = 0x7ffe;
} // namespace

CommandMenu::CommandMenu(Unanswered unanswered) : m_unanswered(unanswered) {
    // A click reaches the menu first: send it on under the item's command ID.
    m_menu.Bind(wxEVT_MENU, &CommandMenu::OnMenu, this);
}

void CommandMenu::OnMenu(wxCommandEvent& event) {
    const wxMenuItem* item = m_menu.FindChildItem(event.GetId());
    if (!item || !m_owner) {
        event.Skip();
        return;
    }
    Choose(*m_owner, *item);
}

wxMenuItem* CommandMenu::Append(int command, const wxString& label, wxItemKind kind,
                                const wxBitmap& bitmap) {
    const int itemId = command > 0 && command <= kLastPlainId ? command : wxWindow::NewControlId();
    m_commands[itemId] = command;
    auto* item = new wxMenuItem(&m_menu, itemId, label, wxString(), kind);
    if (bitmap.IsOk()) {
        item->SetBitmap(bitmap);
    }
    m_menu.Append(item);
    item->Enable(m_unanswered == Unanswered::Enabled);
    return item;
}

void CommandMenu::AppendHeading(const wxString& label) {
    m_menu.Append(wxWindow::NewControlId(), label)->Enable(false);
}

int CommandMenu::CommandOf(const wxMenuItem& item) const {
    const auto found = m_commands.find(item.GetId());
    return found == m_commands.end() ? 0 : found->second;
}

void CommandMenu::UpdateUI(wxWindow& owner) {
    for (wxMenuItem* item : m_menu.GetMenuItems()) {
        const int command = CommandOf(*item);
        if (command == 0) {
            continue;
        }
        wxUpdateUIEvent event(command);
        event.SetEventObject(&owner);
        const bool answered = owner.HandleWindowEvent(event);
        if (answered && event.GetSetEnabled()) {
            item->Enable(event.GetEnabled());
        } else {
            item->Enable(m_unanswered == Unanswered::Enabled);
        }
        if (answered && event.GetSetChecked() && item->IsCheckable()) {
            item->Check(event.GetChecked());
        }
    }
}

void CommandMenu::Choose(wxWindow& owner, const wxMenuItem& item) {
    const int command = CommandOf(item);
    if (command == 0 || !item.IsEnabled()) {
        return;
    }
    wxCommandEvent event(wxEVT_MENU, command);
    event.SetEventObject(&owner);
    owner.HandleWindowEvent(event);
}

} // namespace tesslin
