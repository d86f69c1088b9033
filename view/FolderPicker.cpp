#include "view/FolderPicker.h"

#include "wxplatform/WxText.h"

#include <wx/dirdlg.h>

#include <utility>

namespace tesslin {

namespace {

std::optional<std::string> ShowFolderDialog(wxWindow* parent) {
    wxDirDialog dialog(parent, FromUtf8("폴더를 선택하세요"), wxEmptyString,
                       wxDD_DEFAULT_STYLE | wxDD_DIR_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK) {
        return std::nullopt;
    }
    return DirDialogPath(dialog);
}

FolderPicker& Installed() {
    static FolderPicker picker;
    return picker;
}

} // namespace

FolderPicker SetFolderPicker(FolderPicker picker) {
    return std::exchange(Installed(), std::move(picker));
}

std::optional<std::string> PickFolder(wxWindow* parent) {
    if (const FolderPicker& picker = Installed()) {
        return picker(parent);
    }
    return ShowFolderDialog(parent);
}

} // namespace tesslin
