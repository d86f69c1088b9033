// The end of the Windows session. Windows first asks every program whether the session may end
// (WM_QUERYENDSESSION), then tells it that it ends (WM_ENDSESSION) and ends the process as soon
// as that message is handled. The settings are saved at the question already, so they are on
// the disk however the rest goes; the window closes at the end, the document saving once more.
// Windows builds only.
#include "wxplatform/SystemEnd.h"

#include "wxplatform/SignalClose.h"

#include <wx/app.h>
#include <wx/event.h>

namespace tesslin {

void InstallSystemEndHandlers() {
    if (wxTheApp == nullptr) {
        return;
    }
    // Bound to the application, where the toolkit sends both; not skipped, so its own
    // handlers, which would close the window at the question already, do not run.
    wxTheApp->Bind(wxEVT_QUERY_END_SESSION, [](wxCloseEvent&) { SaveSettingsNow(); });
    wxTheApp->Bind(wxEVT_END_SESSION, [](wxCloseEvent&) {
        SaveSettingsNow();
        RequestOrderlyClose();
    });
}

} // namespace tesslin
