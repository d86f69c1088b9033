// The helpers through which the document, the view and the lists reach the ribbon's edit
// boxes and the status bar of the main window.
#pragma once

#include <string>

namespace tesslin {

// The current text of the ribbon edit box with command ID `id`, as bytes (see WxToPath).
// Empty when the main window or the box does not exist.
std::string GetRibbonEditText(int id);

// Sets the text of the ribbon edit box with command ID `id`; shown at once. Does not send
// the box's text-changed command.
void SetRibbonEditText(int id, const std::string& text);

// Shows the root folder in the main window's status pane (see CMainFrame::ShowRootFolder).
void ShowRootFolder(const std::string& path);

} // namespace tesslin
