// Running a scan while the window stays live.
//
// The scan runs on a thread of its own; the calling handler waits in an event loop of its
// own, so it still returns only when the scan has ended (the scan command keeps its order:
// scan, then fill the lists). Meanwhile:
// - the status bar shows the folders and entries seen and the files taken, four times a
//   second, and a "취소" button (window ID ids::kCancelScan) at its right end;
// - Esc or that button stops the scan;
// - every other command of the main window is held back, and the ribbon and the view show
//   disabled;
// - a close of the main window (the user's, or one a signal asks for) stops the scan and is
//   carried out once the scan has ended.
// Afterwards the status bar and the window are as they were.
#pragma once

#include "scan/ScanProgress.h"

#include <functional>

namespace tesslin {

// Runs `scan`, which reports to and obeys `progress`, as above; rethrows what it threw
// (ScanCancelled when it was stopped).
void RunScanInWindow(ScanProgress& progress, const std::function<void()>& scan);

} // namespace tesslin
