#include "wxplatform/MessageBoxes.h"

#include "res/Strings.h"
#include "wxplatform/WxText.h"

#include <wx/app.h>
#include <wx/msgdlg.h>
#include <wx/window.h>

namespace tesslin {

namespace {
int ShowBox(const wxString& text, long style) {
    // The main window is the parent while it is up; a box shown before it exists (or after
    // it has gone) stands alone.
    wxWindow* parent = wxTheApp ? wxTheApp->GetTopWindow() : nullptr;
    if (parent && parent->IsBeingDeleted()) {
        parent = nullptr;
    }
    wxMessageDialog box(parent, text, FromUtf8(text::kAppTitle), style);
    return box.ShowModal();
}
} // namespace

void ShowFrameworkMessage(const wxString& text) {
    ShowBox(text, wxOK | wxICON_EXCLAMATION);
}

int ShowViewMessage(const wxString& text, long style) {
    return ShowBox(text, style | wxICON_NONE);
}

int ShowViewMessage(const std::string& utf8Text, long style) {
    return ShowViewMessage(FromUtf8(utf8Text), style);
}

} // namespace tesslin
