#include "wxplatform/WxText.h"

#include <wx/dirdlg.h>
#include <wx/strconv.h>

#include <dlfcn.h>

namespace tesslin {

namespace {
// Bytes that are not UTF-8 become U+100000 + byte and turn back into the same byte, so a
// file name in any encoding survives the trip through a wxString.
wxMBConvUTF8& PathConv() {
    static wxMBConvUTF8 conv(wxMBConvUTF8::MAP_INVALID_UTF8_TO_PUA);
    return conv;
}
} // namespace

wxString FromUtf8(const std::string& text) {
    return wxString::FromUTF8(text.data(), text.size());
}

wxString PathToWx(const std::string& bytes) {
    if (bytes.empty()) {
        return wxString();
    }
    return wxString(bytes.data(), PathConv(), bytes.size());
}

std::string WxToPath(const wxString& text) {
    if (text.empty()) {
        return std::string();
    }
    const wxCharBuffer buffer = text.mb_str(PathConv());
    return std::string(buffer.data(), buffer.length());
}

void UseLosslessFileNames() {
    wxConvFileName = &PathConv();
}

std::string DirDialogPath(wxDirDialog& dialog) {
#ifdef __WXGTK__
    // GTK is reached at run time (it is loaded with the toolkit), so building needs no GTK
    // development files. The dialog's widget is a GtkFileChooserDialog, a GtkFileChooser.
    using GetFilename = char* (*)(void* chooser);
    using Free = void (*)(void* memory);
    const auto getFilename =
        reinterpret_cast<GetFilename>(dlsym(RTLD_DEFAULT, "gtk_file_chooser_get_filename"));
    const auto free = reinterpret_cast<Free>(dlsym(RTLD_DEFAULT, "g_free"));
    if (getFilename != nullptr && free != nullptr && dialog.GetHandle() != nullptr) {
        if (char* name = getFilename(dialog.GetHandle())) {
            std::string bytes = name;
            free(name);
            return bytes;
        }
    }
#endif
    return WxToPath(dialog.GetPath());
}

} // namespace tesslin
