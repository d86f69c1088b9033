// How far a running scan got, and the request to stop it: shared between the scan's threads
// and whoever shows the progress (the window's status bar, the command line's status line).
#pragma once

#include <atomic>
#include <cstdint>

namespace tesslin {

struct ScanProgress {
    std::atomic<std::uint64_t> folders{0};  // folders listed (the root included)
    std::atomic<std::uint64_t> entries{0};  // entries met in them
    std::atomic<std::uint64_t> accepted{0}; // video and subtitle files taken into the pairing
    // Set from any thread (or a signal handler: the flag is lock-free) to stop the scan; the
    // scan then ends with ScanCancelled as soon as it sees it.
    std::atomic<bool> cancel{false};
};

} // namespace tesslin
