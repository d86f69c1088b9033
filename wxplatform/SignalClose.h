// Ending the program in order when it is asked to end from outside, so that the settings
// are saved and never lost, and nobody waits for a box that no one will click.
//
// SIGTERM, SIGINT and SIGHUP close the main window the same way the user's close does: the
// document closes and writes the settings. Modal boxes that are open at that moment end as
// if cancelled (the settings are saved first), and the window closes once the code that
// showed them has returned; no further box is shown after a signal. A second signal while
// the program has still not ended ends it at once, by that signal's default action. When
// the display goes away (the end of the desktop session), the settings are saved and the
// process ends; there is no window left to close. On Windows the end of the session saves
// the settings when Windows asks whether it may end, and closes the window when it ends.
#pragma once

#include <functional>

namespace tesslin {

// What to save when the program cannot wait for an orderly close. The document sets it;
// an empty function clears it. It must not throw.
void SetEmergencySave(std::function<void()> save);

// Installs the signal and display handlers; later calls do nothing. Call once the
// application object exists.
void InstallOrderlyEnd();

// What the first signal does, run from the main loop (or the loop of an open box): ends the
// open boxes as if cancelled and closes the main window. Every reaction to a signal starts
// here; code that must stop first (a running scan) hooks in here.
void OnSignalArrived();

// True once a signal has arrived. Safe to ask from any thread, e.g. by a long task that
// should stop early.
bool SignalArrived();

// Closes the main window now, or, while a modal box is open, saves at once and closes after
// the box.
void RequestOrderlyClose();

} // namespace tesslin
