// What the view and the long work it runs (view/ScanInWindow.h) take from the main window.
//
// The main window lends itself as a ViewHost: it registers once it has been built and withdraws
// as it goes away (when it is destroyed or deleted). TheViewHost() is nullptr before and after,
// as it is while no main window is up.
#pragma once

#include <cstddef>

class wxFrame;
class wxRibbonBar;
class wxWindow;

namespace tesslin {

class ViewHost {
public:
    // The main window itself: the parent of the view's window, its status bar, its close.
    virtual wxFrame& Frame() = 0;
    virtual wxRibbonBar* GetRibbonBar() const = 0;
    // The view creates its window as a child of Frame() and hands it over; the host lays it
    // out below the ribbon, filling the rest. Hand over nullptr before destroying the window.
    virtual void SetViewWindow(wxWindow* window) = 0;
    virtual wxWindow* GetViewWindow() const = 0;
    // Makes category `index` the visible one (1 "홈", 2 "변경 작업") and shows the panels if
    // the ribbon was minimised.
    virtual void ActivateCategory(int index) = 0;
    // Shows what the last scan found in the status bar's second pane.
    virtual void ShowScanCounts(std::size_t videos, std::size_t subtitles) = 0;

protected:
    ~ViewHost() = default;
};

// Makes `host` the main window of the view; nullptr leaves it none.
void SetViewHost(ViewHost* host);
// Withdraws `host` if it is the registered one.
void WithdrawViewHost(const ViewHost* host);
// The registered main window, or nullptr.
ViewHost* TheViewHost();

} // namespace tesslin
