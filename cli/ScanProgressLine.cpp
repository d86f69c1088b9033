#include "cli/ScanProgressLine.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <iostream>
#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace tesslin::cli {

namespace {

// The scan a signal stops. A lock-free atomic pointer and flag are what a signal handler may
// touch.
std::atomic<ScanProgress*> interrupt_target{nullptr};

extern "C" void OnInterrupt(int) {
    if (ScanProgress* progress = interrupt_target.load()) {
        progress->cancel.store(true);
    }
}

using Handler = void (*)(int);
Handler previous_int = SIG_DFL, previous_term = SIG_DFL;

bool StandardErrorIsTerminal() {
#ifdef _WIN32
    return _isatty(_fileno(stderr)) != 0;
#else
    return ::isatty(STDERR_FILENO) != 0;
#endif
}

} // namespace

CancelOnInterrupt::CancelOnInterrupt(ScanProgress& progress) : progress_(progress) {
    interrupt_target.store(&progress);
    previous_int = std::signal(SIGINT, &OnInterrupt);
    previous_term = std::signal(SIGTERM, &OnInterrupt);
}

CancelOnInterrupt::~CancelOnInterrupt() {
    std::signal(SIGINT, previous_int);
    std::signal(SIGTERM, previous_term);
    interrupt_target.store(nullptr);
}

bool CancelOnInterrupt::interrupted() const {
    return progress_.cancel.load();
}

ProgressLine::ProgressLine(const ScanProgress& progress, std::ostream& err)
    : progress_(progress), err_(err) {
    // A line that redraws itself only makes sense on a screen; in a log it would be noise.
    if (&err != &std::cerr || !StandardErrorIsTerminal()) {
        return;
    }
    thread_ = std::thread([this] {
        using namespace std::chrono_literals;
        std::unique_lock lock(mutex_);
        // A scan that ends within a second leaves no trace on the screen.
        if (wake_.wait_for(lock, 1s, [this] { return done_; })) {
            return;
        }
        do {
            Show();
        } while (!wake_.wait_for(lock, 250ms, [this] { return done_; }));
    });
}

ProgressLine::~ProgressLine() {
    if (!thread_.joinable()) {
        return;
    }
    {
        const std::lock_guard lock(mutex_);
        done_ = true;
    }
    wake_.notify_one();
    thread_.join();
    if (shown_) {
        err_ << "\r\033[K" << std::flush;
    }
}

void ProgressLine::Show() {
    err_ << "\rtesslin: scanning: " << progress_.folders.load() << " folders, "
         << progress_.entries.load() << " entries, " << progress_.accepted.load()
         << " videos and subtitles\033[K" << std::flush;
    shown_ = true;
}

} // namespace tesslin::cli
