#include "app/GivenFileDropTarget.h"

#include "document/TesslinGUIDoc.h"
#include "view/ScanInWindow.h"
#include "wxplatform/WxText.h"

#include <wx/app.h>
#include <wx/docview.h>

namespace tesslin {

namespace {
// The document of the application's document manager (there is one at a time), if any.
CTesslinGUIDoc* CurrentDocument() {
    wxDocManager* manager = wxDocManager::GetDocumentManager();
    return manager ? dynamic_cast<CTesslinGUIDoc*>(manager->GetCurrentDocument()) : nullptr;
}
} // namespace

bool GivenFileDropTarget::OnDropFiles(wxCoord, wxCoord, const wxArrayString& names) {
    // While work runs, opening settings would clear the lists it reports to, and a new root
    // would not be the one scanned: the drop is refused, as the commands are held back.
    if (!CurrentDocument() || names.empty() || WorkInWindowRunning()) {
        return false;
    }
    // The drop's end must not wait for a message box the opening may show.
    const std::string path = WxToPath(names[0]);
    wxTheApp->CallAfter([path] {
        if (CTesslinGUIDoc* target = CurrentDocument(); target && !WorkInWindowRunning()) {
            target->OpenGiven(path);
        }
    });
    return true;
}

} // namespace tesslin
