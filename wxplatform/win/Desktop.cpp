// Windows' side of the desktop: the toolkit's texts are its own there, menus show their
// pictures, and the folder chooser gives paths as UTF-16. Windows builds only.
#include "wxplatform/Desktop.h"

namespace tesslin {

void AskDesktopForKorean() {}

void UseDesktopProfile() {}

void EnterDesktopSettingsFolder() {}

void ShowMenuPictures() {}

bool EndNativeBox(wxDialog&) {
    // Only a signal ends the boxes, and Windows sends none: it ends the program through its
    // session (win/SystemEnd.cpp), ending the process itself once the session's end is told.
    return false;
}

bool NativeChosenFolder(wxDirDialog&, std::string&) {
    // The toolkit reads the chooser's UTF-16 path, which holds every name as it is.
    return false;
}

} // namespace tesslin
