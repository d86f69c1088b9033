// The program's entry point.
#include "app/TesslinGUIApp.h"

#include <wx/init.h>

#include <iostream>

int main(int argc, char** argv) {
    wxApp::SetInstance(new CTesslinGUIApp);
    // wxEntryStart fails when the toolkit cannot reach a display; end at once with a plain
    // message instead of a crash or a box nobody can see.
    if (!wxEntryStart(argc, argv)) {
        std::cerr << "TesslinGUI: cannot start the window system (no display available; is "
                     "DISPLAY or WAYLAND_DISPLAY set?)\n";
        return 1;
    }
    int exitCode = 1;
    if (!wxTheApp->CallOnInit()) {
        // Start-up ends early after printing the help that was asked for: no failure.
        if (static_cast<CTesslinGUIApp*>(wxTheApp)->HelpShown()) {
            exitCode = 0;
        }
    } else {
        exitCode = wxTheApp->OnRun();
        // OnRun returns the main loop's code; OnExit's is the one the program reports.
        const int exitInstance = wxTheApp->OnExit();
        if (exitCode == 0) {
            exitCode = exitInstance;
        }
    }
    wxEntryCleanup();
    return exitCode;
}
