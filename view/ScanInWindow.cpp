#include "view/ScanInWindow.h"

#include "res/CommandIds.h"
#include "view/ViewHost.h"
#include "wxplatform/SignalClose.h"
#include "wxplatform/WxText.h"

#include <wx/app.h>
#include <wx/button.h>
#include <wx/eventfilter.h>
#include <wx/evtloop.h>
#include <wx/frame.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/toolbar.h>
#include <wx/statusbr.h>
#include <wx/timer.h>
#include <wx/weakref.h>

#include <atomic>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace tesslin {

namespace {

constexpr const char* kCancelCaption = "취소";

// What the work's thread and the window share. Held by both, so that a late message from
// the thread finds it even after the handler has returned.
struct Shared {
    std::atomic<bool> finished{false};
    std::exception_ptr error;
    wxEventLoopBase* loop = nullptr; // the handler's loop while it runs
};

// Ends the handler's loop once the work has ended (or, for work that may be left running,
// was asked to stop), if that loop is the one running (not a box opened on top of it; the
// timer tries again then).
void EndLoopIfFinished(Shared& shared, bool stopped = false) {
    if ((shared.finished || stopped) && shared.loop &&
        wxEventLoopBase::GetActive() == shared.loop) {
        shared.loop->Exit();
    }
}

// How many HoldCommands are alive (work runs while it is above zero); the main thread's.
int holding = 0;

// Threads of work that was left running after a stop.
std::mutex left_mutex;
std::vector<std::thread> left_threads;

std::string CountsText(const ScanProgress& progress) {
    return "스캔 중: 폴더 " + std::to_string(progress.folders.load()) + "개, 항목 " +
           std::to_string(progress.entries.load()) + "개, 영상·자막 파일 " +
           std::to_string(progress.accepted.load()) + "개 (Esc: 취소)";
}

// Holds back every command but the cancel button, turns Esc into the cancel, and a close of
// the main window into a cancel and a close afterwards.
class HoldCommands : public wxEventFilter {
public:
    HoldCommands(std::atomic<bool>& stop, wxWindow* frame) : stop_(stop), frame_(frame) {
        wxEvtHandler::AddFilter(this);
        ++holding;
    }
    ~HoldCommands() override {
        wxEvtHandler::RemoveFilter(this);
        --holding;
    }
    HoldCommands(const HoldCommands&) = delete;
    HoldCommands& operator=(const HoldCommands&) = delete;

    // A close that arrived during the scan, forced or not.
    bool close_asked = false;
    bool close_forced = false;

    int FilterEvent(wxEvent& event) override {
        const wxEventType type = event.GetEventType();
        if (type == wxEVT_CHAR_HOOK && static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_ESCAPE) {
            stop_ = true;
            return Event_Processed;
        }
        if (type == wxEVT_BUTTON && event.GetId() == ids::kCancelScan) {
            stop_ = true;
            return Event_Processed;
        }
        if (type == wxEVT_CLOSE_WINDOW && event.GetEventObject() == frame_) {
            auto& close = static_cast<wxCloseEvent&>(event);
            close_asked = true;
            close_forced = close_forced || !close.CanVeto();
            if (close.CanVeto()) {
                close.Veto();
            }
            stop_ = true;
            return Event_Processed;
        }
        if (type == wxEVT_CLOSE_WINDOW) {
            // A dialog's own close would take the rows the work reports to.
            auto& close = static_cast<wxCloseEvent&>(event);
            if (close.CanVeto()) {
                close.Veto();
                return Event_Processed;
            }
            return Event_Skip;
        }
        if (type == wxEVT_MENU || type == wxEVT_BUTTON || type == wxEVT_RIBBONBUTTONBAR_CLICKED ||
            type == wxEVT_RIBBONBUTTONBAR_DROPDOWN_CLICKED || type == wxEVT_RIBBONTOOLBAR_CLICKED ||
            type == wxEVT_RIBBONTOOLBAR_DROPDOWN_CLICKED) {
            return Event_Ignore;
        }
        return Event_Skip;
    }

private:
    std::atomic<bool>& stop_;
    wxWindow* frame_;
};

// The status bar during the work: the progress across the bar and the cancel button in its last
// field at its right end, following the bar's size; the texts and the widths come back
// afterwards.
class ProgressPane {
public:
    explicit ProgressPane(wxStatusBar* bar) : bar_(bar) {
        if (!bar_) {
            return;
        }
        for (int i = 0; i < bar_->GetFieldsCount(); ++i) {
            texts_.push_back(bar_->GetStatusText(i));
            widths_.push_back(bar_->GetStatusWidth(i));
            bar_->SetStatusText(wxString(), i);
        }
        button_ = new wxButton(bar_, ids::kCancelScan, FromUtf8(kCancelCaption));
        std::vector<int> during(widths_.size(), 0);
        during.front() = -1;
        during.back() = widths_.size() > 1 ? button_->GetBestSize().x : -1;
        bar_->SetStatusWidths(static_cast<int>(during.size()), during.data());
        Place();
        bar_->Bind(wxEVT_SIZE, &ProgressPane::OnSize, this);
        button_->SetFocus();
    }
    ~ProgressPane() {
        if (!bar_) {
            return;
        }
        bar_->Unbind(wxEVT_SIZE, &ProgressPane::OnSize, this);
        button_->Destroy();
        bar_->SetStatusWidths(static_cast<int>(widths_.size()), widths_.data());
        for (std::size_t i = 0; i < texts_.size(); ++i) {
            bar_->SetStatusText(texts_[i], static_cast<int>(i));
        }
    }
    ProgressPane(const ProgressPane&) = delete;
    ProgressPane& operator=(const ProgressPane&) = delete;

    void Show(const std::string& text) {
        if (bar_) {
            bar_->SetStatusText(FromUtf8(text), 0);
        }
    }

private:
    // The button fills the last field's height at its right end.
    void Place() {
        wxRect field;
        bar_->GetFieldRect(bar_->GetFieldsCount() - 1, field);
        const wxSize size(button_->GetBestSize().x, field.height);
        button_->SetSize(field.GetRight() - size.x, field.y, size.x, size.y);
    }
    void OnSize(wxSizeEvent& event) {
        event.Skip();
        // After the bar has laid its fields out for the new size, if the work still runs.
        bar_->CallAfter([this, alive = std::weak_ptr<bool>(alive_)] {
            if (alive.lock()) {
                Place();
            }
        });
    }

    wxStatusBar* bar_;
    std::vector<wxString> texts_;
    std::vector<int> widths_;
    wxButton* button_ = nullptr;
    std::shared_ptr<bool> alive_ = std::make_shared<bool>(true);
};

// The focus goes back where it was once the window is enabled again: a window with the focus
// nowhere hears no keys. Taken before anything is disabled, which moves the focus away.
class KeepFocus {
public:
    KeepFocus() : focus_(wxWindow::FindFocus()) {}
    ~KeepFocus() {
        if (focus_) {
            focus_->SetFocus();
        }
    }
    KeepFocus(const KeepFocus&) = delete;
    KeepFocus& operator=(const KeepFocus&) = delete;

private:
    wxWeakRef<wxWindow> focus_;
};

// The ribbon and the view show disabled while the work runs.
class DisableWhile {
public:
    explicit DisableWhile(wxWindow* window)
        : window_(window && window->IsEnabled() ? window : nullptr) {
        if (window_) {
            window_->Disable();
        }
    }
    ~DisableWhile() {
        if (window_) {
            window_->Enable();
        }
    }
    DisableWhile(const DisableWhile&) = delete;
    DisableWhile& operator=(const DisableWhile&) = delete;

private:
    wxWindow* window_;
};

} // namespace

bool WorkInWindowRunning() {
    return holding > 0;
}

bool RunWorkInWindow(const WindowWork& work) {
    ViewHost* host = TheViewHost();
    auto shared = std::make_shared<Shared>();
    std::thread worker;
    std::atomic<bool>& stop = *work.stop;
    const auto start = [&] {
        worker = std::thread([shared, run = work.work] {
            try {
                run();
            } catch (...) {
                shared->error = std::current_exception();
            }
            shared->finished = true;
            if (wxTheApp) {
                wxTheApp->CallAfter([shared] { EndLoopIfFinished(*shared); });
            }
        });
    };
    bool close_asked = false;
    {
        const KeepFocus focus;
        HoldCommands hold(stop, host ? &host->Frame() : nullptr);
        const DisableWhile ribbon(host ? host->GetRibbonBar() : nullptr);
        const DisableWhile view(host ? host->GetViewWindow() : nullptr);
        ProgressPane pane(host ? host->Frame().GetStatusBar() : nullptr);
        pane.Show(work.status());

        wxGUIEventLoop loop;
        shared->loop = &loop;
        wxTimer timer;
        timer.Bind(wxEVT_TIMER, [&](wxTimerEvent&) {
            if (SignalArrived()) {
                stop = true; // the close it asks for may wait behind a box; the work need not
            }
            pane.Show(work.status());
            EndLoopIfFinished(*shared, work.leave_when_stopped && stop);
        });
        timer.Start(250);
        // The work starts from the loop, after the events already waiting: those meet the
        // window as it is during the work (an Esc among them stops it) and not a finished one.
        if (wxTheApp) {
            wxTheApp->CallAfter(start);
            loop.Run();
        } else {
            start();
        }
        timer.Stop();
        shared->loop = nullptr;
        close_asked = hold.close_asked;
        if (hold.close_asked && wxTheApp) {
            // After the handler that ran the work has returned: the close takes the view.
            const bool forced = hold.close_forced;
            wxTheApp->CallAfter([forced] {
                if (ViewHost* main = TheViewHost()) {
                    main->Frame().Close(forced);
                }
            });
        }
    }
    if (worker.joinable()) {
        if (!shared->finished && work.leave_when_stopped) {
            const std::lock_guard<std::mutex> lock(left_mutex);
            left_threads.push_back(std::move(worker));
            return close_asked;
        }
        worker.join();
    }
    if (shared->error) {
        std::rethrow_exception(shared->error);
    }
    return close_asked;
}

void JoinLeftWork() {
    std::vector<std::thread> threads;
    {
        const std::lock_guard<std::mutex> lock(left_mutex);
        threads.swap(left_threads);
    }
    for (std::thread& thread : threads) {
        thread.join();
    }
}

void RunScanInWindow(ScanProgress& progress, const std::function<void()>& scan) {
    WindowWork work;
    work.stop = &progress.cancel;
    work.status = [&progress] { return CountsText(progress); };
    work.work = scan;
    RunWorkInWindow(work);
}

} // namespace tesslin
