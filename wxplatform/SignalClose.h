// Ending the program in order when it is asked to end from outside, so that the settings
// are saved and never lost.
//
// SIGTERM, SIGINT and SIGHUP close the main window the same way the user's close does: the
// document closes and writes the settings. When a modal box is open at that moment, the
// settings are saved at once and the window closes as soon as the box has ended (no further
// box is shown). When the display goes away (the end of the desktop session), the settings
// are saved and the process ends; there is no window left to close. On Windows the end of
// the session saves the settings when Windows asks whether it may end, and closes the window
// when it ends.
#pragma once

#include <functional>

namespace tesslin {

// What to save when the program cannot wait for an orderly close. The document sets it;
// an empty function clears it. It must not throw.
void SetEmergencySave(std::function<void()> save);

// Installs the signal and display handlers; later calls do nothing. Call once the
// application object exists.
void InstallOrderlyEnd();

// What a signal does, callable directly: closes the main window now, or, while a modal
// box is open, saves at once and closes after the box.
void RequestOrderlyClose();

} // namespace tesslin
