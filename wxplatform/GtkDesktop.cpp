#include "wxplatform/GtkDesktop.h"

#ifdef __WXGTK__
#include <clocale>
#include <cstdlib>
#include <dlfcn.h>
#include <libintl.h>
#endif

namespace tesslin {

void AskDesktopForKorean() {
#ifdef __WXGTK__
    // GTK translates through the C library's gettext: it follows LC_MESSAGES and, unless
    // that is plain "C", the LANGUAGE list. The toolkit never sets the locale itself, so the
    // process stays in "C" whatever the system's language. The C library's own messages
    // would follow too; pointing its catalog at a folder without one keeps them English.
    if (!std::setlocale(LC_MESSAGES, "ko_KR.UTF-8")) {
        std::setlocale(LC_MESSAGES, "C.UTF-8");
    }
    setenv("LANGUAGE", "ko", 1);
    bindtextdomain("libc", "/nonexistent");
#endif
}

void ShowMenuPictures() {
#ifdef __WXGTK__
    // GTK is loaded already (the toolkit runs on it); its development headers are not needed
    // for one setting, so the two functions are looked up where they are.
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
#endif
}

} // namespace tesslin
