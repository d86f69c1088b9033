// Processes on Windows.
#include "platform/Process.h"

#include <windows.h>

namespace tesslin {

long CurrentProcessId() {
    return static_cast<long>(GetCurrentProcessId());
}

bool IsProcessRunning(long pid) {
    if (pid <= 0) {
        return true;
    }
    const HANDLE process =
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        // No such process; a process of another user, which may not be opened, runs.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    DWORD code = 0;
    const bool running = !GetExitCodeProcess(process, &code) || code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

std::string HostName() {
    // The NetBIOS name: plain ASCII, and what another machine on the network sees.
    char name[MAX_COMPUTERNAME_LENGTH + 1] = {};
    DWORD size = sizeof name;
    if (!GetComputerNameA(name, &size)) {
        return {};
    }
    return std::string(name, size);
}

} // namespace tesslin
