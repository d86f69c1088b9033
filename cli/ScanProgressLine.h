// What `tesslin scan` does while the scan runs: a status line for a person watching, and
// Ctrl+C turned into a clean stop.
#pragma once

#include "scan/ScanProgress.h"

#include <condition_variable>
#include <iosfwd>
#include <mutex>
#include <thread>

namespace tesslin::cli {

// For its lifetime, SIGINT and SIGTERM set `progress.cancel` instead of ending the process,
// so that the scan stops at its next entry and nothing is written half. The previous
// handlers come back when it ends.
class CancelOnInterrupt {
public:
    explicit CancelOnInterrupt(ScanProgress& progress);
    ~CancelOnInterrupt();
    CancelOnInterrupt(const CancelOnInterrupt&) = delete;
    CancelOnInterrupt& operator=(const CancelOnInterrupt&) = delete;
    // True once a signal asked to stop.
    bool interrupted() const;

private:
    ScanProgress& progress_;
};

// While it lives, and only when `err` is the standard error of a terminal, shows the counts
// of `progress` on one line of `err`, from the first second on, a few times a second; the
// line is erased when it ends, before anything else is written.
class ProgressLine {
public:
    ProgressLine(const ScanProgress& progress, std::ostream& err);
    ~ProgressLine();
    ProgressLine(const ProgressLine&) = delete;
    ProgressLine& operator=(const ProgressLine&) = delete;

private:
    void Show();

    const ScanProgress& progress_;
    std::ostream& err_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool done_ = false;
    bool shown_ = false;
    std::thread thread_;
};

} // namespace tesslin::cli
