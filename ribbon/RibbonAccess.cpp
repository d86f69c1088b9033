#include "ribbon/RibbonAccess.h"

#include "ribbon/EditUndo.h"
#include "wxplatform/WxText.h"

#include <wx/textctrl.h>

namespace tesslin {

namespace {
// Only the main thread registers and reads it.
RibbonHost* registered_host = nullptr;

// The ribbon's edit box `id`: a child window anywhere under the bar, on hidden pages too.
wxTextCtrl* RibbonEdit(int id) {
    return registered_host ? dynamic_cast<wxTextCtrl*>(registered_host->FindRibbonControl(id))
                           : nullptr;
}
} // namespace

void SetRibbonHost(RibbonHost* host) {
    registered_host = host;
}

void WithdrawRibbonHost(const RibbonHost* host) {
    if (registered_host == host) {
        registered_host = nullptr;
    }
}

std::string GetRibbonEditText(int id) {
    const wxTextCtrl* box = RibbonEdit(id);
    return box ? WxToPath(box->GetValue()) : std::string();
}

void SetRibbonEditText(int id, const std::string& text) {
    if (wxTextCtrl* box = RibbonEdit(id)) {
        box->ChangeValue(PathToWx(text));
        // Text set by the program is no typing to undo.
        registered_host->GetEditUndo().Forget(*box);
    }
}

void ShowRootFolder(const std::string& path) {
    if (registered_host) {
        registered_host->ShowRootFolder(path);
    }
}

} // namespace tesslin
