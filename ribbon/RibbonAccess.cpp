#include "ribbon/RibbonAccess.h"

#include "app/MainFrame.h"
#include "wxplatform/WxText.h"

#include <wx/textctrl.h>

namespace tesslin {

namespace {
// The ribbon's edit box `id`: a child window anywhere under the bar, on hidden pages too.
wxTextCtrl* RibbonEdit(int id) {
    CMainFrame* frame = CMainFrame::Get();
    return frame ? dynamic_cast<wxTextCtrl*>(frame->FindRibbonControl(id)) : nullptr;
}
} // namespace

std::string GetRibbonEditText(int id) {
    const wxTextCtrl* box = RibbonEdit(id);
    return box ? WxToPath(box->GetValue()) : std::string();
}

void SetRibbonEditText(int id, const std::string& text) {
    if (wxTextCtrl* box = RibbonEdit(id)) {
        box->ChangeValue(PathToWx(text));
        // Text set by the program is no typing to undo.
        CMainFrame::Get()->GetEditUndo().Forget(*box);
    }
}

void ShowRootFolder(const std::string& path) {
    if (CMainFrame* frame = CMainFrame::Get()) {
        frame->ShowRootFolder(path);
    }
}

} // namespace tesslin
