// What the program needs to know about processes: its own id, and whether another one still
// runs. One implementation per operating system.
#pragma once

namespace tesslin {

// The id of this process.
long CurrentProcessId();

// False only when no process with id `pid` exists any more; a process that exists but may
// not be signalled, or one whose state cannot be learnt, counts as running.
bool IsProcessRunning(long pid);

} // namespace tesslin
