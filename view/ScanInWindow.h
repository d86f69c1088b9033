// Running long work (a scan, a batch of renames, an undo, the matching) while the window
// stays live.
//
// The work runs on a thread of its own; the calling handler waits in an event loop of its
// own, so it still returns only when the work has ended (a command keeps its order: scan,
// then fill the lists). Meanwhile:
// - the status bar shows the work's progress, four times a second, and a "취소" button
//   (window ID ids::kCancelScan; a dialog open on top may offer one with the same ID) at its
//   right end;
// - Esc or that button asks the work to stop, and so does a signal that asks the program to
//   end;
// - every other command is held back, the ribbon and the view show disabled, and a dialog's
//   own close waits;
// - a close of the main window (the user's, or one a signal asks for) stops the work and is
//   carried out once the work has ended.
// Afterwards the status bar and the window are as they were.
#pragma once

#include "scan/ScanProgress.h"

#include <atomic>
#include <functional>
#include <string>

namespace tesslin {

struct WindowWork {
    std::atomic<bool>* stop = nullptr;   // set to ask the work to stop
    std::function<std::string()> status; // the status bar's text while the work runs
    std::function<void()> work;          // run on the worker thread
    // Work that cannot stop part-way: once asked to stop, the handler returns at once and the
    // thread ends on its own (JoinLeftWork waits for it). It must own whatever it touches.
    bool leave_when_stopped = false;
};

// Runs the work as above; rethrows what it threw. True when a close of the main window
// arrived meanwhile: it follows once the calling handler has returned, so the handler
// should show nothing more and start no further work.
bool RunWorkInWindow(const WindowWork& work);

// True while work runs as above. What reaches the window other than as a command (a file or
// folder dropped on it) must then be refused as the commands are held back.
bool WorkInWindowRunning();

// Waits for work left running after a stop. The view calls it as it closes.
void JoinLeftWork();

// Runs `scan`, which reports to and obeys `progress`, as above; rethrows what it threw
// (ScanCancelled when it was stopped).
void RunScanInWindow(ScanProgress& progress, const std::function<void()>& scan);

} // namespace tesslin
