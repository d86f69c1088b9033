// The main window: the ribbon, the view below it, the status bar with its two panes, and the
// application looks.
//
// How the rest of the program reaches it: the frame lends itself to the lower layers as the
// host of the ribbon helpers (tesslin::RibbonHost, ribbon/RibbonAccess.h) and of the view
// (tesslin::ViewHost, view/ViewHost.h). It registers as both once Create has built it and
// withdraws as it is destroyed, so they never reach it before it is built or while it goes.
// - The ribbon bar: GetRibbonBar(). Edit boxes (wxTextCtrl) and check boxes (wxCheckBox) are
//   ordinary child windows of its panels: FindRibbonControl(id) finds them by command ID, on
//   hidden pages too. Their window IDs are automatic ones (command IDs above 32767 are not
//   valid window IDs), but every command event they send carries the command ID. For the
//   boxes' text use tesslin::GetRibbonEditText / SetRibbonEditText (ribbon/RibbonAccess.h).
// - The status bar: GetStatusBar() (wxFrame's): the root folder's field, which
//   tesslin::ShowRootFolder sets, and the last scan's counts (ShowScanCounts) beside it.
// - The view's window: the view creates its window as a child of the frame and hands it over
//   with SetViewWindow(window); the frame lays it out below the ribbon, filling the rest.
//   Hand over nullptr before destroying the window.
// - The category "변경 작업": ActivateCategory(2). Categories count as the original ribbon
//   counted them: 0 is the application button's menu, 1 is "홈", 2 is "변경 작업".
// The application and the tests find the frame with CMainFrame::Get().
//
// Commands: every ribbon element sends its command ID. Buttons in the categories send
// wxEVT_RIBBONBUTTONBAR_CLICKED; the application menu, the quick access toolbar, the style
// menu, the about button, the accelerators and the key tips send wxEVT_MENU. Edit boxes send
// wxEVT_TEXT (and wxEVT_TEXT_ENTER is not used), check boxes wxEVT_CHECKBOX; all of them get
// wxEVT_UPDATE_UI when the window is idle. The frame hands each command first to the
// document manager, which passes it to the active view (and from there to its document),
// so a view's event table handles them by ID; what the view leaves alone comes back to the
// frame (the looks 205 to 219, the pane keys) and then to the application (about, new, open,
// save, exit). The print command 57608 has no handler and shows disabled.
#pragma once

#include "app/Looks.h"
#include "ribbon/EditUndo.h"
#include "ribbon/RibbonAccess.h"
#include "view/ViewHost.h"

#include <wx/docview.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

class wxAcceleratorEntry;
class wxRibbonBar;
class wxRibbonToolBar;

namespace tesslin {
class KeyTips;
class TabRow;
} // namespace tesslin

class CMainFrame : public wxDocParentFrame, public tesslin::RibbonHost, public tesslin::ViewHost {
public:
    CMainFrame();
    ~CMainFrame() override;

    // Creates the window: reads the look from the profile ("ApplicationLook", default 215),
    // builds the ribbon and the status bar and applies the look (which writes it back), then
    // registers as the host of the ribbon helpers and of the view. False when the window or
    // its status bar cannot be created.
    bool Create(wxDocManager* manager);
    // Withdraws as the host, then destroys the window as the base class does.
    bool Destroy() override;

    // The application's main window while it is up; nullptr otherwise.
    static CMainFrame* Get();

    wxFrame& Frame() override { return *this; }
    wxRibbonBar* GetRibbonBar() const override { return m_wndRibbonBar; }
    // The ribbon's edit box or check box with command ID `id`, or nullptr.
    wxWindow* FindRibbonControl(int id) const override;

    void SetViewWindow(wxWindow* window) override;
    wxWindow* GetViewWindow() const override { return m_viewWindow; }

    // Makes category `index` the visible one (1 "홈", 2 "변경 작업") and shows the panels if
    // the ribbon was minimised. Other indexes do nothing.
    void ActivateCategory(int index) override;

    // Gives the keyboard focus to the view (its first window that takes the focus), or to the
    // visible page's first edit box when the view has none.
    void FocusView();

    // Shows "루트 폴더: " and the path (cut to 20 + " ... " + 20 bytes when it has more than
    // 50) in the status pane. Does not repaint at once.
    void ShowRootFolder(const std::string& path) override;
    // Shows what the last scan found in the status bar's second pane.
    void ShowScanCounts(std::size_t videos, std::size_t subtitles) override;

    // The look command: applies look `id` (any value; see tesslin::LookFor) with a wait
    // cursor, redraws the window and writes "ApplicationLook" = id to the profile.
    void SetApplicationLook(long id);
    // The current look ID (205 to 219, or whatever the profile held).
    long GetAppLook() const { return m_appLook; }
    tesslin::Visual GetVisual() const { return m_visual; }
    int GetOffice2007Style() const { return m_office2007Style; }
    bool IsSmartDocking() const { return m_smartDocking; }
    bool IsWindows7Look() const { return m_windows7Look; }

    // The tab row's parts: the application button with its menu, the quick access toolbar,
    // the style menu and the about button.
    tesslin::TabRow& GetTabRow() const { return *m_tabRow; }
    // The letter badges that Alt shows.
    tesslin::KeyTips& GetKeyTips() const { return *m_keyTips; }

    // Undo in the ribbon's edit boxes (Ctrl+Z, Alt+Backspace).
    tesslin::EditUndo& GetEditUndo() override { return m_editUndo; }

    // Frame titles read "<document> - TesslinGUI".
    void SetLabel(const wxString& label) override;

protected:
    // A command that its update-UI handler greys does nothing, however it comes: accelerators
    // send it without asking.
    bool TryBefore(wxEvent& event) override;

private:
    void BuildRibbon();
    bool BuildStatusBar();
    void BuildAccelerators();
    void RecolourRibbonControls();

    void OnApplicationLook(wxCommandEvent& event);
    void OnUpdateApplicationLook(wxUpdateUIEvent& event);
    void OnUpdateNoHandler(wxUpdateUIEvent& event);
    void OnPane(wxCommandEvent& event);
    void OnEditCommand(wxCommandEvent& event);
    void OnUpdateEditCommand(wxUpdateUIEvent& event);
    void OnKeyTip(wxCommandEvent& event);
    void AddKeyTip(std::vector<wxAcceleratorEntry>& entries, const char* keyTip,
                   std::function<void()> action);
    void KeepFocus();

    wxRibbonBar* m_wndRibbonBar = nullptr;
    std::map<int, wxWindow*> m_ribbonControls;
    tesslin::TabRow* m_tabRow = nullptr;
    std::unique_ptr<tesslin::KeyTips> m_keyTips;
    tesslin::EditUndo m_editUndo;
    std::map<int, std::function<void()>> m_keyTipChords; // command ID -> what Alt+letter does
    wxWindow* m_viewWindow = nullptr;

    long m_appLook = 0;
    tesslin::Visual m_visual = tesslin::Visual::Office2007;
    int m_office2007Style = tesslin::kOffice2007Blue;
    bool m_smartDocking = false;
    bool m_windows7Look = false;

    wxDECLARE_DYNAMIC_CLASS(CMainFrame);
    wxDECLARE_EVENT_TABLE();
};
