#include "wxplatform/SystemEnd.h"

#include "wxplatform/SignalClose.h"

#include <wx/evtloop.h>
#include <wx/evtloopsrc.h>

#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>

// Xlib's display connection (its `Display`), only ever passed through.
struct _XDisplay;

namespace tesslin {

namespace {

// The self-pipe: the signal handler only writes one byte, which is all it may safely do;
// the main loop watches the other end and does the real work there.
int signal_pipe[2] = {-1, -1};

extern "C" void OnSignal(int signum) {
    if (!NoteSignal()) {
        // The first signal's close has not ended the program: something holds it (a box
        // that cannot be ended, a long task, a blocked read). The caller may not wait any
        // longer; the settings were saved when the first signal found a box open.
        struct sigaction action = {};
        action.sa_handler = SIG_DFL;
        sigemptyset(&action.sa_mask);
        sigaction(signum, &action, nullptr);
        // The signal is blocked while its handler runs; unblocked, it ends the process now.
        sigset_t mask;
        sigemptyset(&mask);
        sigaddset(&mask, signum);
        sigprocmask(SIG_UNBLOCK, &mask, nullptr);
        raise(signum);
        _exit(128 + signum);
    }
    const int saved_errno = errno;
    const char byte = 1;
    [[maybe_unused]] const ssize_t n = write(signal_pipe[1], &byte, 1);
    errno = saved_errno;
}

class SignalPipeHandler : public wxEventLoopSourceHandler {
public:
    void OnReadWaiting() override {
        char buffer[64];
        while (read(signal_pipe[0], buffer, sizeof buffer) > 0) {
        }
        OnSignalArrived();
    }
    void OnWriteWaiting() override {}
    void OnExceptionWaiting() override {}
};

// Xlib calls this when the connection to the display is lost, and ends the process if it
// returns; the toolkit's own handler ends it at once. Save first, then end the same way.
int OnDisplayLost(_XDisplay*) {
    SaveSettingsNow();
    _exit(1);
}

// The toolkit has already loaded Xlib when it talks to an X display; its handler setter is
// reached at run time, so building needs no X11 development files and a session without X
// simply has none to set.
void HandleDisplayLoss() {
    using IOErrorHandler = int (*)(_XDisplay*);
    using SetIOErrorHandler = IOErrorHandler (*)(IOErrorHandler);
    if (void* symbol = dlsym(RTLD_DEFAULT, "XSetIOErrorHandler")) {
        reinterpret_cast<SetIOErrorHandler>(symbol)(&OnDisplayLost);
    }
}

} // namespace

void InstallSystemEndHandlers() {
    HandleDisplayLoss();

    if (pipe2(signal_pipe, O_CLOEXEC | O_NONBLOCK) != 0) {
        return; // the signals then keep their default action
    }
    static SignalPipeHandler handler;
    // The source watches the pipe in every event loop, the main one and those of modal boxes.
    static wxEventLoopSource* source =
        wxEventLoopBase::AddSourceForFD(signal_pipe[0], &handler, wxEVENT_SOURCE_INPUT);
    if (source == nullptr) {
        return;
    }
    struct sigaction action = {};
    action.sa_handler = &OnSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signum : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signum, &action, nullptr);
    }
}

} // namespace tesslin
