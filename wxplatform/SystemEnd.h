// How the system asks the desktop program to end, caught in the platform's own way: signals
// and the loss of the X display on Linux (SystemEndPosix.cpp), the end of the Windows session
// on Windows (win/SystemEnd.cpp). The orderly end itself lives in SignalClose.cpp.
#pragma once

namespace tesslin {

// Saves the settings at once through the emergency save, when one is set.
void SaveSettingsNow();

// Counts a signal; true for the first one. Safe to call from a signal handler.
bool NoteSignal();

// Installs the platform's handlers, once; each ends in RequestOrderlyClose or SaveSettingsNow.
void InstallSystemEndHandlers();

} // namespace tesslin
