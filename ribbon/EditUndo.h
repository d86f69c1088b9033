// One level of undo for the ribbon's edit boxes, as a Windows edit box has it (the GTK entry
// has none): the first change after the box took the focus remembers the text from before
// it; undo puts that text back and remembers the text it replaced, so a second undo redoes.
#pragma once

#include <wx/string.h>

#include <map>

class wxCommandEvent;
class wxFocusEvent;
class wxTextCtrl;

namespace tesslin {

class EditUndo {
public:
    EditUndo() = default;
    // Stops following the boxes, which may outlive this object by a little (a window's
    // children are destroyed after the window's own members).
    ~EditUndo();
    EditUndo(const EditUndo&) = delete;
    EditUndo& operator=(const EditUndo&) = delete;

    // Starts following the user's changes to `box`.
    void Attach(wxTextCtrl& box);

    bool CanUndo(const wxTextCtrl& box) const;
    // Swaps the box's text with the remembered one. The box sends wxEVT_TEXT as for typing.
    void Undo(wxTextCtrl& box);
    // Forgets what there was to undo: the text was set by the program, not typed.
    void Forget(const wxTextCtrl& box);

private:
    void OnText(wxCommandEvent& event);
    void OnSetFocus(wxFocusEvent& event);

    struct State {
        wxString current;  // the text as of the last change seen
        wxString previous; // what undo brings back
        bool canUndo = false;
        bool typing = false; // the current run of changes has its `previous` already
    };
    std::map<const wxTextCtrl*, State> m_states;
    bool m_undoing = false;
};

} // namespace tesslin
