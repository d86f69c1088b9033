// The folder picker of the folder command, behind a replaceable function: the real one is
// the toolkit's folder dialog, whose result cannot be faked from outside, so tests put
// their own function in its place.
#pragma once

#include <functional>
#include <optional>
#include <string>

class wxWindow;

namespace tesslin {

// Shows a folder picker owned by `parent`; the chosen folder's path as bytes, or nothing
// when the user cancelled.
using FolderPicker = std::function<std::optional<std::string>(wxWindow* parent)>;

// Installs `picker` for PickFolder and returns the one it replaced; an empty function
// restores the folder dialog.
FolderPicker SetFolderPicker(FolderPicker picker);

// Runs the installed picker: by default a modal folder dialog titled "폴더를 선택하세요"
// that accepts existing folders only.
std::optional<std::string> PickFolder(wxWindow* parent);

} // namespace tesslin
