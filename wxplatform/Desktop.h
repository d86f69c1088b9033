// What the window asks of the desktop under the toolkit (GTK on Linux, GtkDesktop.cpp; Windows'
// own dialogs, win/Desktop.cpp), kept in this one place.
#pragma once

#include <string>

class wxDialog;
class wxDirDialog;

namespace tesslin {

// Asks the desktop for Korean texts (GTK's file choosers and message boxes) whatever the
// system's language, leaving the C library's own messages (strerror) English.
void AskDesktopForKorean();

// Puts the profile (the look, the recent files, the language-tag option) where the desktop
// keeps programs' settings, unless a profile is in use already. GTK: the XDG layout,
// "$XDG_CONFIG_HOME/TesslinGUI/TesslinGUI.conf" ("~/.config" when the variable is unset), the
// folder made when missing; a profile of the classic layout ("~/.TesslinGUI") is moved there
// once, so its values are read. Windows: the registry, as the toolkit keeps it.
void UseDesktopProfile();

// Makes the folder where the desktop keeps the program's settings the working folder, so that
// the settings file lands there: GTK "$XDG_CONFIG_HOME/TesslinGUI" (made when missing);
// Windows: nothing (the program keeps the folder it was started in).
void EnterDesktopSettingsFolder();

// Menus show the pictures their items carry (GTK 3 hides them unless told).
void ShowMenuPictures();

// Ends `dialog` as its window's close button would when it runs the desktop's own loop rather
// than the toolkit's, where the toolkit's EndModal cannot reach it (GTK's message box); false
// when it runs the toolkit's loop, and always on Windows, where no signal ends a box.
bool EndNativeBox(wxDialog& dialog);

// The folder a folder dialog was confirmed on, as the file system's bytes, when the desktop's
// own chooser gives them more faithfully than the toolkit; false to take the dialog's path.
bool NativeChosenFolder(wxDirDialog& dialog, std::string& bytes);

} // namespace tesslin
