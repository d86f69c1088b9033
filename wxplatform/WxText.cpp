#include "wxplatform/WxText.h"

#include "wxplatform/Desktop.h"

#include <wx/dirdlg.h>
#include <wx/strconv.h>

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
    std::string bytes;
    return NativeChosenFolder(dialog, bytes) ? bytes : WxToPath(dialog.GetPath());
}

} // namespace tesslin
