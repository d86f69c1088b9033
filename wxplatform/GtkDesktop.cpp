// GTK's side of the desktop. GTK is loaded already (the toolkit runs on it) and is reached at
// run time, so building needs no GTK development files.
#include "wxplatform/Desktop.h"

#include <wx/app.h>
#include <wx/dirdlg.h>
#include <wx/fileconf.h>
#include <wx/filefn.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/stdpaths.h>

#include <clocale>
#include <cstdlib>
#include <dlfcn.h>
#include <libintl.h>

namespace tesslin {

void AskDesktopForKorean() {
    // GTK translates through the C library's gettext: it follows LC_MESSAGES and, unless
    // that is plain "C", the LANGUAGE list. The toolkit never sets the locale itself, so the
    // process stays in "C" whatever the system's language. The C library's own messages
    // would follow too; pointing its catalog at a folder without one keeps them English.
    if (!std::setlocale(LC_MESSAGES, "ko_KR.UTF-8")) {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    setenv("LANGUAGE", "ko", 1);
    bindtextdomain("libc", "/nonexistent");
}

void UseDesktopProfile() {
    if (wxConfigBase::Get(false) != nullptr) {
        return;
    }
    const wxString app = wxTheApp->GetAppName();
    wxStandardPaths& paths = wxStandardPaths::Get();
    const wxString classic = wxFileConfig::GetLocalFileName(app);
    paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
    const wxFileName file(paths.GetUserConfigDir() + wxFILE_SEP_PATH + app, app + ".conf");
    // The toolkit does not make the folder, and would report every write as failed.
    file.Mkdir(0700, wxPATH_MKDIR_FULL);
    const wxString path = file.GetFullPath();
    if (!wxFileExists(path) && wxFileExists(classic)) {
        wxRenameFile(classic, path, false);
    }
    wxConfigBase::Set(new wxFileConfig(app, wxTheApp->GetVendorName(), path, wxString(),
                                       wxCONFIG_USE_LOCAL_FILE));
}

void EnterDesktopSettingsFolder() {
    wxStandardPaths& paths = wxStandardPaths::Get();
    paths.SetFileLayout(wxStandardPaths::FileLayout_XDG);
    const wxFileName folder =
        wxFileName::DirName(paths.GetUserConfigDir() + wxFILE_SEP_PATH + wxTheApp->GetAppName());
    // Where the folder cannot be made or entered, the program stays where it was started.
    if (folder.Mkdir(0700, wxPATH_MKDIR_FULL)) {
        wxSetWorkingDirectory(folder.GetFullPath());
    }
}

void ShowMenuPictures() {
    using GetSettings = void* (*)();
    using SetProperty = void (*)(void*, const char*, ...);
    auto* getSettings =
        reinterpret_cast<GetSettings>(dlsym(RTLD_DEFAULT, "gtk_settings_get_default"));
    auto* setProperty = reinterpret_cast<SetProperty>(dlsym(RTLD_DEFAULT, "g_object_set"));
    if (!getSettings || !setProperty) {
        return;
    }
    if (void* settings = getSettings()) {
        setProperty(settings, "gtk-menu-images", 1, nullptr);
    }
}

bool EndNativeBox(wxDialog& dialog) {
    // The message box runs GTK's own dialog loop, which only a response ends; the other
    // boxes run the toolkit's modal loop.
    if (dynamic_cast<wxMessageDialog*>(&dialog) == nullptr || dialog.GetHandle() == nullptr) {
        return false;
    }
    using DialogResponse = void (*)(void* gtkDialog, int response);
    if (void* symbol = dlsym(RTLD_DEFAULT, "gtk_dialog_response")) {
        constexpr int kGtkResponseDeleteEvent = -4; // the box's window was closed
        reinterpret_cast<DialogResponse>(symbol)(dialog.GetHandle(), kGtkResponseDeleteEvent);
        return true;
    }
    return false;
}

bool NativeChosenFolder(wxDirDialog& dialog, std::string& bytes) {
    // The toolkit's GetPath() decodes the name as strict UTF-8 and gives empty text for a name
    // in any other encoding. The dialog's widget is a GtkFileChooserDialog, a GtkFileChooser.
    using GetFilename = char* (*)(void* chooser);
    using Free = void (*)(void* memory);
    const auto getFilename =
        reinterpret_cast<GetFilename>(dlsym(RTLD_DEFAULT, "gtk_file_chooser_get_filename"));
    const auto free = reinterpret_cast<Free>(dlsym(RTLD_DEFAULT, "g_free"));
    if (getFilename == nullptr || free == nullptr || dialog.GetHandle() == nullptr) {
        return false;
    }
    char* name = getFilename(dialog.GetHandle());
    if (name == nullptr) {
        return false;
    }
    bytes = name;
    free(name);
    return true;
}

} // namespace tesslin
