#include "wxplatform/SignalClose.h"

#include "wxplatform/Desktop.h"
#include "wxplatform/SystemEnd.h"

#include <wx/app.h>
#include <wx/dialog.h>
#include <wx/modalhook.h>
#include <wx/msgdlg.h>
#include <wx/toplevel.h>

#include <atomic>
#include <utility>
#include <vector>

namespace tesslin {

namespace {

std::function<void()>& EmergencySave() {
    static std::function<void()> save;
    return save;
}

// Keeps the modal boxes that are open, innermost last, so that a close request never pulls
// the window from under a box that is still running its own loop, and so that a signal can
// end them. Once a signal has arrived, further boxes are answered with "cancel" without
// being shown: whoever asked the program to end may not wait for a click.
class ModalTracker : public wxModalDialogHook {
public:
    std::vector<wxDialog*> open;
    bool answer_cancel = false;
    bool close_pending = false;

protected:
    int Enter(wxDialog* dialog) override {
        if (answer_cancel) {
            return wxID_CANCEL;
        }
        open.push_back(dialog);
        return wxID_NONE;
    }
    void Exit(wxDialog* dialog) override {
        std::erase(open, dialog);
        if (open.empty() && close_pending) {
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

// How many signals have arrived. Lock-free, so that a signal handler may count.
std::atomic<int> signals_noted{0};
static_assert(std::atomic<int>::is_always_lock_free);

// Ends a modal box as its Cancel button (or its window's close button) would.
void CancelDialog(wxDialog& dialog) {
    if (EndNativeBox(dialog)) {
        return;
    }
    if (dialog.IsModal()) {
        dialog.EndModal(wxID_CANCEL);
    }
}

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

bool NoteSignal() {
    return signals_noted.fetch_add(1) == 0;
}

bool SignalArrived() {
    return signals_noted.load() > 0;
}

void OnSignalArrived() {
    ModalTracker& tracker = Tracker();
    // From now on no box waits for a click, the close-time ones included.
    tracker.answer_cancel = true;
    if (!tracker.open.empty()) {
        // Save first: should ending a box not release whatever holds the close, a second
        // signal ends the program at once and nothing is lost.
        SaveSettingsNow();
        tracker.close_pending = true;
        // Innermost first: each box's loop returns into the code that showed the next one.
        const std::vector<wxDialog*> boxes = tracker.open;
        for (auto box = boxes.rbegin(); box != boxes.rend(); ++box) {
            CancelDialog(**box);
        }
        return; // the close follows once the last box has ended
    }
    RequestOrderlyClose();
}

void RequestOrderlyClose() {
    if (closing) {
        return;
    }
    ModalTracker& tracker = Tracker();
    if (!tracker.open.empty()) {
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
