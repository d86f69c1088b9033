#include "wxplatform/SignalClose.h"

#include "wxplatform/SystemEnd.h"

#include <wx/app.h>
#include <wx/modalhook.h>
#include <wx/toplevel.h>

#include <utility>

namespace tesslin {

namespace {

std::function<void()>& EmergencySave() {
    static std::function<void()> save;
    return save;
}

// Counts the modal boxes that are open, so that a close request never pulls the window
// from under a box that is still running its own loop. Once a close is pending, further
// boxes are answered with "cancel" without being shown.
class ModalTracker : public wxModalDialogHook {
public:
    int open = 0;
    bool close_pending = false;

protected:
    int Enter(wxDialog*) override {
        if (close_pending) {
            return wxID_CANCEL;
        }
        ++open;
        return wxID_NONE;
    }
    void Exit(wxDialog*) override {
        if (--open == 0 && close_pending) {
            // Close from the main loop, after the code that showed the box has returned.
            wxTheApp->CallAfter([] { RequestOrderlyClose(); });
        }
    }
};

ModalTracker& Tracker() {
    static ModalTracker tracker;
    return tracker;
}

bool closing = false;

} // namespace

void SaveSettingsNow() {
    if (const auto& save = EmergencySave()) {
        save();
    }
}

void SetEmergencySave(std::function<void()> save) {
    EmergencySave() = std::move(save);
}

void InstallOrderlyEnd() {
    static bool installed = false;
    if (installed) {
        return;
    }
    installed = true;
    Tracker().Register();
    InstallSystemEndHandlers();
}

void RequestOrderlyClose() {
    if (closing) {
        return;
    }
    ModalTracker& tracker = Tracker();
    if (tracker.open > 0) {
        // The box may wait for a user who is gone; whoever asked us to end may not wait.
        if (!tracker.close_pending) {
            tracker.close_pending = true;
            SaveSettingsNow();
        }
        return;
    }
    tracker.close_pending = false;
    closing = true;
    if (wxWindow* top = wxTheApp ? wxTheApp->GetTopWindow() : nullptr) {
        // A forced close cannot be vetoed; the document still closes and saves on the way.
        top->Close(true);
    } else if (wxTheApp) {
        wxTheApp->ExitMainLoop();
    }
}

} // namespace tesslin
