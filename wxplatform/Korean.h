// The window speaks Korean whatever language the system is set to. The toolkit's own texts
// (the titles of its file choosers, its error box, the messages of its document framework)
// come from a Korean catalog built into the program, ahead of any Korean catalog of the
// toolkit that the system has installed. The desktop toolkit's file chooser (GTK) is asked
// for Korean as well. Texts that the system's C library makes (the reasons in the settings
// file's and a failed rename's error texts, "Permission denied") stay English.
#pragma once

namespace tesslin {

// Call once, after the toolkit has started and before the first window.
void UseKorean();

} // namespace tesslin
