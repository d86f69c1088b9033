// What the window asks of the desktop toolkit under it (GTK on Linux), kept in this one place.
// Elsewhere these do nothing.
#pragma once

namespace tesslin {

// Asks GTK for Korean texts (its file choosers and message boxes) whatever the system's
// language, leaving the C library's own messages (strerror) English.
void AskDesktopForKorean();

// Menus show the pictures their items carry (GTK 3 hides them unless told).
void ShowMenuPictures();

} // namespace tesslin
