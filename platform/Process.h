// What the program needs to know about processes: its own id, whether another one still
// runs, and the name of the machine they run on. One implementation per operating system.
#pragma once

#include <string>

namespace tesslin {

// The id of this process.
long CurrentProcessId();

// False only when no process with id `pid` exists any more; a process that exists but may
// not be signalled, or one whose state cannot be learnt, counts as running.
bool IsProcessRunning(long pid);

// This machine's name as the system gives it (its network name); "" when it cannot be had.
// Process ids mean something only on the machine that gave them.
std::string HostName();

} // namespace tesslin
