#include "platform/Process.h"

#include <cerrno>
#include <signal.h>
#include <unistd.h>

namespace tesslin {

long CurrentProcessId() {
    return static_cast<long>(::getpid());
}

bool IsProcessRunning(long pid) {
    if (pid <= 0) {
        return true; // 0 and negative ids name process groups, never one process
    }
    // Signal 0 checks only that the process exists; EPERM means it does, under another user.
    return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno != ESRCH;
}

std::string HostName() {
    char name[256] = {}; // a host name holds at most 255 bytes
    if (::gethostname(name, sizeof name - 1) != 0) {
        return {};
    }
    return name;
}

} // namespace tesslin
