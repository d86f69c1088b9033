// The helpers through which the document, the view and the lists reach the ribbon's edit
// boxes and the status bar of the main window.
//
// The main window lends them its parts as a RibbonHost: it registers itself once it has been
// built and withdraws as it goes away. Without a host (before the main window exists, and
// once it is being destroyed) the helpers do nothing and read empty texts.
#pragma once

#include <string>

class wxWindow;

namespace tesslin {

class EditUndo;

// What the helpers take from the main window.
class RibbonHost {
public:
    // The ribbon's edit box or check box with command ID `id`, or nullptr.
    virtual wxWindow* FindRibbonControl(int id) const = 0;
    // Undo in the ribbon's edit boxes.
    virtual EditUndo& GetEditUndo() = 0;
    // Shows "루트 폴더: " and the path in the status pane (cut in the middle when long).
    virtual void ShowRootFolder(const std::string& path) = 0;

protected:
    ~RibbonHost() = default;
};

// Makes `host` the main window the helpers reach; nullptr leaves them none.
void SetRibbonHost(RibbonHost* host);
// Withdraws `host` if it is the registered one.
void WithdrawRibbonHost(const RibbonHost* host);

// The current text of the ribbon edit box with command ID `id`, as bytes (see WxToPath).
// Empty when the main window or the box does not exist.
std::string GetRibbonEditText(int id);

// Sets the text of the ribbon edit box with command ID `id`; shown at once. Does not send
// the box's text-changed command.
void SetRibbonEditText(int id, const std::string& text);

// Shows the root folder in the main window's status pane (see RibbonHost::ShowRootFolder).
void ShowRootFolder(const std::string& path);

} // namespace tesslin
