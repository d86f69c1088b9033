#include "ribbon/EditUndo.h"

#include <wx/textctrl.h>

namespace tesslin {

EditUndo::~EditUndo() {
    for (const auto& [box, state] : m_states) {
        auto* window = const_cast<wxTextCtrl*>(box);
        window->Unbind(wxEVT_TEXT, &EditUndo::OnText, this);
        window->Unbind(wxEVT_SET_FOCUS, &EditUndo::OnSetFocus, this);
    }
}

void EditUndo::Attach(wxTextCtrl& box) {
    m_states[&box].current = box.GetValue();
    box.Bind(wxEVT_TEXT, &EditUndo::OnText, this);
    box.Bind(wxEVT_SET_FOCUS, &EditUndo::OnSetFocus, this);
}

void EditUndo::OnText(wxCommandEvent& event) {
    event.Skip();
    const auto* box = dynamic_cast<wxTextCtrl*>(event.GetEventObject());
    const auto found = m_states.find(box);
    if (found == m_states.end()) {
        return;
    }
    State& state = found->second;
    if (!m_undoing && !state.typing) {
        state.previous = state.current;
        state.canUndo = true;
        state.typing = true;
    }
    state.current = box->GetValue();
}

void EditUndo::OnSetFocus(wxFocusEvent& event) {
    event.Skip();
    const auto* box = dynamic_cast<wxTextCtrl*>(event.GetEventObject());
    const auto found = m_states.find(box);
    if (found == m_states.end()) {
        return;
    }
    // The program may have set the text meanwhile without telling anyone.
    found->second.current = box->GetValue();
    found->second.typing = false;
}

bool EditUndo::CanUndo(const wxTextCtrl& box) const {
    const auto found = m_states.find(&box);
    return found != m_states.end() && found->second.canUndo;
}

void EditUndo::Undo(wxTextCtrl& box) {
    const auto found = m_states.find(&box);
    if (found == m_states.end() || !found->second.canUndo) {
        return;
    }
    State& state = found->second;
    const wxString replaced = box.GetValue();
    m_undoing = true;
    box.SetValue(state.previous);
    m_undoing = false;
    box.SetInsertionPointEnd();
    state.previous = replaced;
    state.current = box.GetValue();
    state.typing = false;
}

void EditUndo::Forget(const wxTextCtrl& box) {
    const auto found = m_states.find(&box);
    if (found == m_states.end()) {
        return;
    }
    State& state = found->second;
    state.current = box.GetValue();
    state.canUndo = false;
    state.typing = false;
}

} // namespace tesslin
