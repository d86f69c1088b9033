#include "app/GivenFileDropTarget.h"

#include "app/TesslinGUIApp.h"
#include "document/TesslinGUIDoc.h"
#include "wxplatform/WxText.h"

namespace tesslin {

bool GivenFileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) {
    wxDocManager* manager = wxGetApp().GetDocManager();
    auto* doc = manager ? dynamic_cast<CTesslinGUIDoc*>(manager->GetCurrentDocument()) : nullptr;
    if (!doc || names.empty()) {
        return false;
    }
    // The drop's end must not wait for a message box the opening may show.
    const std::string path = WxToPath(names[0]);
    wxGetApp().CallAfter([path] {
        wxDocManager* current = wxGetApp().GetDocManager();
        if (auto* target =
                current ? dynamic_cast<CTesslinGUIDoc*>(current->GetCurrentDocument()) : nullptr) {
            target->OpenGiven(path);
        }
    });
    return true;
}

} // namespace tesslin
