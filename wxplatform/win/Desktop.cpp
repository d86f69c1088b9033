// Windows' side of the desktop. The toolkit's texts are its own there and menus show their
// pictures; the message box and the file and folder choosers are Windows' own dialogs, each
// running its own loop. Windows builds only.
#include "wxplatform/Desktop.h"

#include <wx/dialog.h>

#include <windows.h>

#include <cwchar>

namespace tesslin {

void AskDesktopForKorean() {}

void ShowMenuPictures() {}

bool EndNativeBox(wxDialog& dialog) {
    // A dialog the toolkit made itself has a window of its own; Windows' boxes have none the
    // toolkit keeps. Those are the dialog windows ("#32770") of this thread: closing one is
    // what its close button does (Cancel, or OK where that is the only answer).
    if (dialog.GetHandle() != nullptr) {
        return false;
    }
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND window, LPARAM) -> BOOL {
            wchar_t name[16];
            if (GetClassNameW(window, name, 16) > 0 && std::wcscmp(name, L"#32770") == 0 &&
                IsWindowEnabled(window)) {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            return TRUE;
        },
        0);
    return true;
}

bool NativeChosenFolder(wxDirDialog&, std::string&) {
    // The toolkit reads the chooser's UTF-16 path, which holds every name as it is.
    return false;
}

} // namespace tesslin
