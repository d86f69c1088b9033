#include "app/MainFrame.h"

#include "res/AppIcon.h"
#include "res/CommandIds.h"
#include "res/RibbonLayout.h"
#include "res/Strings.h"
#include "ribbon/KeyTips.h"
#include "ribbon/RibbonBuilder.h"
#include "ribbon/TabRow.h"
#include "view/RootFolderText.h"
#include "wxplatform/WxText.h"

#include <wx/accel.h>
#include <wx/app.h>
#include <wx/checkbox.h>
#include <wx/config.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/sizer.h>
#include <wx/stattext.h>
#include <wx/statusbr.h>
#include <wx/textctrl.h>
#include <wx/utils.h>

#include <functional>
#include <map>

namespace ids = tesslin::ids;

namespace {

// The first window under `parent`, depth first, that takes the keyboard focus. Ribbon
// controls draw buttons but take no keys, so they do not count.
wxWindow* FirstFocusable(wxWindow& parent) {
    for (wxWindow* child : parent.GetChildren()) {
        if (!child->IsShown() || !child->IsEnabled()) {
            continue;
        }
        if (child->AcceptsFocus() && !dynamic_cast<wxRibbonControl*>(child)) {
            return child;
        }
        if (wxWindow* found = FirstFocusable(*child)) {
            return found;
        }
    }
    return nullptr;
}

constexpr const char* kLookEntry = "/Workspace/ApplicationLook";

// Below this width the tab row and the panels crowd each other.
constexpr int kMinWidth = 900;

} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CMainFrame, wxDocParentFrame);

// clang-format off
wxBEGIN_EVENT_TABLE(CMainFrame, wxDocParentFrame)
    EVT_MENU_RANGE(ids::kFirstLook, ids::kLastLook, CMainFrame::OnApplicationLook)
    EVT_UPDATE_UI_RANGE(ids::kFirstLook, ids::kLastLook, CMainFrame::OnUpdateApplicationLook)
    EVT_UPDATE_UI(ids::kFilePrintDirect, CMainFrame::OnUpdateNoHandler)
    EVT_MENU(ids::kNextPane, CMainFrame::OnPane)
    EVT_MENU(ids::kPrevPane, CMainFrame::OnPane)
    EVT_MENU(ids::kEditUndo, CMainFrame::OnEditCommand)
    EVT_MENU(ids::kEditCut, CMainFrame::OnEditCommand)
    EVT_MENU(ids::kEditCopy, CMainFrame::OnEditCommand)
    EVT_MENU(ids::kEditPaste, CMainFrame::OnEditCommand)
    EVT_UPDATE_UI(ids::kEditUndo, CMainFrame::OnUpdateEditCommand)
    EVT_UPDATE_UI(ids::kEditCut, CMainFrame::OnUpdateEditCommand)
    EVT_UPDATE_UI(ids::kEditCopy, CMainFrame::OnUpdateEditCommand)
    EVT_UPDATE_UI(ids::kEditPaste, CMainFrame::OnUpdateEditCommand)
wxEND_EVENT_TABLE()
    // clang-format on

    CMainFrame::CMainFrame() = default;

CMainFrame::~CMainFrame() {
    tesslin::WithdrawRibbonHost(this);
    tesslin::WithdrawViewHost(this);
    m_keyTips.reset();
    delete m_tabRow;
}

bool CMainFrame::Create(wxDocManager* manager) {
    const wxString title = tesslin::FromUtf8(tesslin::text::kAppTitle);
    if (!wxDocParentFrame::Create(manager, nullptr, wxID_ANY, title, wxDefaultPosition,
                                  wxSize(1100, 700))) {
        return false;
    }
    // The look lives in the profile; the frame keeps the current one.
    long look = ids::kDefaultLook;
    wxConfigBase::Get()->Read(kLookEntry, &look, static_cast<long>(ids::kDefaultLook));
    m_appLook = look;

    SetIcons(tesslin::AppIconBundle());
    SetMinSize(FromDIP(wxSize(kMinWidth, 420)));

    BuildRibbon();
    if (!BuildStatusBar()) {
        return false;
    }
    BuildAccelerators();

    auto* sizer = new wxBoxSizer(wxVERTICAL);
    sizer->Add(m_wndRibbonBar, 0, wxEXPAND);
    SetSizer(sizer);

    SetApplicationLook(look);
    tesslin::SetRibbonHost(this);
    tesslin::SetViewHost(this);
    return true;
}

bool CMainFrame::Destroy() {
    // A frame on its way out is no one's host: it goes at the next idle time.
    tesslin::WithdrawRibbonHost(this);
    tesslin::WithdrawViewHost(this);
    return wxDocParentFrame::Destroy();
}

CMainFrame* CMainFrame::Get() {
    if (!wxTheApp) {
        return nullptr;
    }
    auto* frame = dynamic_cast<CMainFrame*>(wxTheApp->GetTopWindow());
    if (!frame || frame->IsBeingDeleted()) {
        return nullptr;
    }
    return frame;
}

wxWindow* CMainFrame::FindRibbonControl(int id) const {
    const auto found = m_ribbonControls.find(id);
    return found == m_ribbonControls.end() ? nullptr : found->second;
}

void CMainFrame::BuildRibbon() {
    const tesslin::ribbon::Layout& layout = tesslin::ribbon::TheLayout();
    m_wndRibbonBar = new wxRibbonBar(this, wxID_ANY, wxDefaultPosition, wxDefaultSize,
                                     wxRIBBON_BAR_FLOW_HORIZONTAL | wxRIBBON_BAR_SHOW_PAGE_LABELS |
                                         wxRIBBON_BAR_SHOW_TOGGLE_BUTTON);
    m_ribbonControls = tesslin::BuildCategories(*m_wndRibbonBar, layout);
    for (const auto& [id, control] : m_ribbonControls) {
        if (auto* box = dynamic_cast<wxTextCtrl*>(control)) {
            m_editUndo.Attach(*box);
        }
    }
    m_tabRow = new tesslin::TabRow(*m_wndRibbonBar, layout);
    m_keyTips = std::make_unique<tesslin::KeyTips>(*this, *m_wndRibbonBar, *m_tabRow, layout,
                                                   m_ribbonControls,
                                                   [this](int index) { ActivateCategory(index); });
    m_wndRibbonBar->Realize();
    m_wndRibbonBar->SetActivePage(static_cast<size_t>(0));

    // A page that hides takes its focused edit box with it, and a window with the focus
    // nowhere hears no keys at all: no accelerators, no key tips.
    m_wndRibbonBar->Bind(wxEVT_RIBBONBAR_PAGE_CHANGED, [this](wxRibbonBarEvent& event) {
        event.Skip();
        CallAfter(&CMainFrame::KeepFocus);
    });
}

bool CMainFrame::BuildStatusBar() {
    wxStatusBar* bar = CreateStatusBar(2, wxSTB_DEFAULT_STYLE, ids::kStatusPane);
    if (!bar) {
        return false;
    }
    // The root folder's pane, as wide as fifty x in the bar's own font; the scan's counts
    // take the rest.
    const int widths[] = {bar->GetTextExtent(wxString('x', 50)).x, -1};
    bar->SetStatusWidths(2, widths);
    bar->SetStatusText(wxString(), 0);
    // The pane is the root folder's alone: the frame must not show menu help in it (nor
    // blank it while a menu is open).
    SetStatusBarPane(-1);
    return true;
}

void CMainFrame::BuildAccelerators() {
    std::vector<wxAcceleratorEntry> entries = {
        {wxACCEL_CTRL, 'N', ids::kFileNew},           {wxACCEL_CTRL, 'O', ids::kFileOpen},
        {wxACCEL_CTRL, 'S', ids::kFileSave},          {wxACCEL_CTRL, 'Z', ids::kEditUndo},
        {wxACCEL_ALT, WXK_BACK, ids::kEditUndo},      {wxACCEL_CTRL, 'X', ids::kEditCut},
        {wxACCEL_SHIFT, WXK_DELETE, ids::kEditCut},   {wxACCEL_CTRL, 'C', ids::kEditCopy},
        {wxACCEL_CTRL, WXK_INSERT, ids::kEditCopy},   {wxACCEL_CTRL, 'V', ids::kEditPaste},
        {wxACCEL_SHIFT, WXK_INSERT, ids::kEditPaste}, {wxACCEL_NORMAL, WXK_F6, ids::kNextPane},
        {wxACCEL_SHIFT, WXK_F6, ids::kPrevPane},
    };
    // Key tips: Alt and the element's letter reach it.
    const tesslin::ribbon::Layout& layout = tesslin::ribbon::TheLayout();
    AddKeyTip(entries, layout.mainMenu.keyTip, [this] { m_tabRow->ShowMainMenu(); });
    for (const tesslin::ribbon::TabRowButton& button : layout.tabRow) {
        if (!button.items.empty()) {
            AddKeyTip(entries, button.keyTip, [this] { m_tabRow->ShowStyleMenu(); });
        } else if (*button.keyTip) {
            entries.emplace_back(wxACCEL_ALT, button.keyTip[0], button.id);
        }
    }
    for (size_t i = 0; i < layout.categories.size(); ++i) {
        const int index = static_cast<int>(i) + 1;
        const tesslin::ribbon::Category& category = layout.categories[i];
        AddKeyTip(entries, category.keyTip, [this, index] { ActivateCategory(index); });
        for (const tesslin::ribbon::Panel& panel : category.panels) {
            AddKeyTip(entries, panel.keyTip, [this, index] { ActivateCategory(index); });
            for (const tesslin::ribbon::Element& element : panel.elements) {
                if (*element.keyTip) {
                    // The button's own command, as a click sends it.
                    entries.emplace_back(wxACCEL_ALT, element.keyTip[0], element.id);
                }
            }
        }
    }
    SetAcceleratorTable(wxAcceleratorTable(static_cast<int>(entries.size()), entries.data()));
}

void CMainFrame::SetViewWindow(wxWindow* window) {
    wxSizer* sizer = GetSizer();
    if (m_viewWindow && sizer) {
        sizer->Detach(m_viewWindow);
    }
    m_viewWindow = window;
    if (m_viewWindow && sizer) {
        sizer->Add(m_viewWindow, 1, wxEXPAND);
    }
    Layout();
}

void CMainFrame::ActivateCategory(int index) {
    // Index 0 is the application button's menu, which is not a page.
    if (index < 1 || static_cast<size_t>(index) > m_wndRibbonBar->GetPageCount()) {
        return;
    }
    if (!m_wndRibbonBar->ArePanelsShown()) {
        m_wndRibbonBar->ShowPanels(wxRIBBON_BAR_PINNED);
    }
    m_wndRibbonBar->SetActivePage(static_cast<size_t>(index - 1));
    KeepFocus();
}

void CMainFrame::KeepFocus() {
    const wxWindow* focus = FindFocus();
    if (focus && focus->IsShownOnScreen() &&
        wxGetTopLevelParent(const_cast<wxWindow*>(focus)) == this) {
        return;
    }
    FocusView();
}

void CMainFrame::FocusView() {
    wxWindow* target = nullptr;
    if (m_viewWindow && m_viewWindow->IsShown()) {
        target = FirstFocusable(*m_viewWindow);
        if (!target && m_viewWindow->AcceptsFocus()) {
            target = m_viewWindow;
        }
    }
    if (!target && m_wndRibbonBar->ArePanelsShown()) {
        if (wxRibbonPage* page = m_wndRibbonBar->GetPage(m_wndRibbonBar->GetActivePage())) {
            target = FirstFocusable(*page);
        }
    }
    if (target) {
        target->SetFocus();
    }
}

void CMainFrame::ShowRootFolder(const std::string& path) {
    if (wxStatusBar* bar = GetStatusBar()) {
        bar->SetStatusText(tesslin::FromUtf8(tesslin::text::kRootFolderPrefix) +
                               tesslin::PathToWx(tesslin::RootFolderText(path)),
                           0);
    }
}

void CMainFrame::ShowScanCounts(std::size_t videos, std::size_t subtitles) {
    if (wxStatusBar* bar = GetStatusBar(); bar && bar->GetFieldsCount() > 1) {
        bar->SetStatusText(tesslin::FromUtf8("자막 없는 영상 " + std::to_string(videos) +
                                             "개, 영상 없는 자막 " + std::to_string(subtitles) +
                                             "개"),
                           1);
    }
}

void CMainFrame::SetApplicationLook(long id) {
    wxBusyCursor wait;
    m_appLook = id;

    const tesslin::Look look = tesslin::LookFor(id);
    m_visual = look.visual;
    if (look.office2007Style >= 0) {
        m_office2007Style = look.office2007Style;
    }
    m_smartDocking = look.smartDocking;
    m_windows7Look = look.windows7Look;

    wxRibbonArtProvider* art = tesslin::CreateLookArt(m_visual, m_office2007Style);
    m_wndRibbonBar->SetArtProvider(art);
    m_tabRow->SetWindows7Look(m_windows7Look);
    RecolourRibbonControls();
    m_wndRibbonBar->Realize();
    Layout();
    Refresh();
    Update();

    wxConfigBase* config = wxConfigBase::Get();
    config->Write(kLookEntry, id);
    config->Flush();
}

void CMainFrame::RecolourRibbonControls() {
    // Native labels and check boxes keep the desktop theme's text colour, which vanishes on a
    // dark ribbon: give them the art's label colour.
    const wxColour colour = tesslin::LabelColour(*m_wndRibbonBar->GetArtProvider());
    std::function<void(wxWindow*)> recolour = [&](wxWindow* window) {
        for (wxWindow* child : window->GetChildren()) {
            if (dynamic_cast<wxStaticText*>(child) || dynamic_cast<wxCheckBox*>(child)) {
                child->SetForegroundColour(colour);
                child->Refresh();
            }
            recolour(child);
        }
    };
    recolour(m_wndRibbonBar);
}

void CMainFrame::SetLabel(const wxString& label) {
    const wxString app = tesslin::FromUtf8(tesslin::text::kAppTitle);
    // The base sets the title bar's text; SetTitle would come back here on Windows, where the
    // toolkit's SetTitle calls SetLabel.
    wxDocParentFrame::SetLabel(label.empty() ? app : label + " - " + app);
}

void CMainFrame::OnApplicationLook(wxCommandEvent& event) {
    SetApplicationLook(event.GetId());
}

void CMainFrame::OnUpdateApplicationLook(wxUpdateUIEvent& event) {
    event.Check(event.GetId() == m_appLook);
}

void CMainFrame::OnUpdateNoHandler(wxUpdateUIEvent& event) {
    event.Enable(false);
}

void CMainFrame::OnPane(wxCommandEvent& event) {
    // The panes in order: the ribbon's visible page, then each window of the view that can
    // take the focus.
    std::vector<wxWindow*> panes;
    if (m_wndRibbonBar->ArePanelsShown()) {
        if (wxRibbonPage* page = m_wndRibbonBar->GetPage(m_wndRibbonBar->GetActivePage())) {
            panes.push_back(page);
        }
    }
    if (m_viewWindow) {
        bool any = false;
        for (wxWindow* child : m_viewWindow->GetChildren()) {
            if (child->IsShown() && child->IsFocusable()) {
                panes.push_back(child);
                any = true;
            }
        }
        if (!any && m_viewWindow->IsFocusable()) {
            panes.push_back(m_viewWindow);
        }
    }
    if (panes.empty()) {
        return;
    }
    int current = -1;
    for (wxWindow* focus = FindFocus(); focus && current < 0; focus = focus->GetParent()) {
        for (size_t i = 0; i < panes.size(); ++i) {
            if (panes[i] == focus) {
                current = static_cast<int>(i);
            }
        }
    }
    const int count = static_cast<int>(panes.size());
    const int step = event.GetId() == ids::kNextPane ? 1 : -1;
    const int next = current < 0 ? (step > 0 ? 0 : count - 1) : (current + step + count) % count;
    wxWindow* pane = panes[static_cast<size_t>(next)];
    if (auto* page = dynamic_cast<wxRibbonPage*>(pane)) {
        // A page takes no focus itself: its first edit box does.
        pane = FirstFocusable(*page);
        if (!pane) {
            return;
        }
    }
    pane->SetFocus();
}

namespace {
wxTextEntry* FocusedTextEntry() {
    return dynamic_cast<wxTextEntry*>(wxWindow::FindFocus());
}
// The ribbon's own edit boxes undo through EditUndo; other text controls undo natively.
wxTextCtrl* FocusedTextCtrl() {
    return dynamic_cast<wxTextCtrl*>(wxWindow::FindFocus());
}
} // namespace

void CMainFrame::OnEditCommand(wxCommandEvent& event) {
    wxTextEntry* entry = FocusedTextEntry();
    if (!entry) {
        event.Skip();
        return;
    }
    switch (event.GetId()) {
    case ids::kEditUndo:
        if (wxTextCtrl* box = FocusedTextCtrl(); box && m_editUndo.CanUndo(*box)) {
            m_editUndo.Undo(*box);
        } else {
            entry->Undo();
        }
        break;
    case ids::kEditCut:
        entry->Cut();
        break;
    case ids::kEditCopy:
        entry->Copy();
        break;
    case ids::kEditPaste:
        entry->Paste();
        break;
    default:
        event.Skip();
    }
}

void CMainFrame::OnUpdateEditCommand(wxUpdateUIEvent& event) {
    const wxTextEntry* entry = FocusedTextEntry();
    bool enable = false;
    if (entry) {
        switch (event.GetId()) {
        case ids::kEditUndo: {
            const wxTextCtrl* box = FocusedTextCtrl();
            enable = (box && m_editUndo.CanUndo(*box)) || entry->CanUndo();
            break;
        }
        case ids::kEditCut:
            enable = entry->CanCut();
            break;
        case ids::kEditCopy:
            enable = entry->CanCopy();
            break;
        case ids::kEditPaste:
            enable = entry->CanPaste();
            break;
        default:
            break;
        }
    }
    event.Enable(enable);
}

bool CMainFrame::TryBefore(wxEvent& event) {
    if (event.GetEventType() == wxEVT_MENU) {
        wxUpdateUIEvent update(event.GetId());
        update.SetEventObject(this);
        if (ProcessWindowEvent(update) && update.GetSetEnabled() && !update.GetEnabled()) {
            return true;
        }
    }
    return wxDocParentFrame::TryBefore(event);
}

void CMainFrame::AddKeyTip(std::vector<wxAcceleratorEntry>& entries, const char* keyTip,
                           std::function<void()> action) {
    if (!keyTip || !*keyTip) {
        return;
    }
    const int id = NewControlId();
    m_keyTipChords[id] = std::move(action);
    entries.emplace_back(wxACCEL_ALT, keyTip[0], id);
    Bind(wxEVT_MENU, &CMainFrame::OnKeyTip, this, id);
}

void CMainFrame::OnKeyTip(wxCommandEvent& event) {
    const auto found = m_keyTipChords.find(event.GetId());
    if (found != m_keyTipChords.end()) {
        found->second();
    }
}
