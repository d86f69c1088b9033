// The window speaks Korean whatever language the system is set to. The toolkit's own texts
// (the titles of its file choosers, its error box, the messages of its document framework)
// come from a Korean catalog built into the program, ahead of any Korean catalog of the
// toolkit that the system has installed. The desktop toolkit's file chooser (GTK) is asked
// for Korean as well. The core's own texts, and the system's reasons for the errors a file
// operation commonly meets ("Permission denied"), are translated through the core's
// translation (platform/Translation.h); the fixed texts of the settings file and of a failed
// rename ("file not opened", "Renaming error!") stay as they are, their details follow in
// Korean.
#pragma once

namespace tesslin {

// Call once, after the toolkit has started and before the first window.
void UseKorean();

} // namespace tesslin
