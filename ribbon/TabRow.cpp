#include "ribbon/TabRow.h"

#include "ribbon/CommandMenu.h"
#include "ribbon/PopupMenus.h"
#include "ribbon/RibbonImages.h"
#include "ribbon/Tooltips.h"
#include "wxplatform/WxText.h"

#include <wx/dcbuffer.h>
#include <wx/docview.h>
#include <wx/filehistory.h>
#include <wx/image.h>
#include <wx/ribbon/art.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/page.h>
#include <wx/utils.h>

#include <algorithm>
#include <memory>

namespace tesslin {

namespace {

constexpr int kPadding = 6;
constexpr int kArrowWidth = 7;
// The application button's own colour: white on blue reads well on every look.
const wxColour kAccent(43, 87, 154);
const wxColour kAccentHover(58, 110, 186);

// The height of the tab row: where the pages begin.
int TabRowHeight(wxRibbonBar& bar) {
    if (bar.GetPageCount() > 0) {
        const int y = bar.GetPage(0)->GetPosition().y;
        if (y > 0) {
            return y;
        }
    }
    return bar.FromDIP(26);
}

wxRibbonBar* BarOf(wxWindow* window) {
    return dynamic_cast<wxRibbonBar*>(window->GetParent());
}

} // namespace

TabRowButton::TabRowButton(wxWindow* parent, int command, const wxString& caption,
                           const wxBitmap& bitmap, bool dropDown, std::function<void()> onClick)
    : wxControl(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
      m_command(command), m_caption(caption), m_bitmap(bitmap), m_dropDown(dropDown),
      m_onClick(std::move(onClick)) {
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    Bind(wxEVT_PAINT, &TabRowButton::OnPaint, this);
    Bind(wxEVT_ENTER_WINDOW, &TabRowButton::OnMouse, this);
    Bind(wxEVT_LEAVE_WINDOW, &TabRowButton::OnMouse, this);
    Bind(wxEVT_LEFT_UP, &TabRowButton::OnMouse, this);
}

void TabRowButton::SetTabShape(bool tab) {
    m_tabShape = tab;
    InvalidateBestSize();
    Refresh();
}

void TabRowButton::Click() {
    if (!IsEnabled()) {
        return;
    }
    if (m_onClick) {
        m_onClick();
        // The menu that the click opened took the mouse while it was up, so no leave event
        // came: look where the mouse is now.
        FollowMouse();
        return;
    }
    if (m_command != 0) {
        wxCommandEvent command(wxEVT_MENU, m_command);
        command.SetEventObject(this);
        HandleWindowEvent(command);
    }
}

void TabRowButton::FollowMouse() {
    const bool over = IsShownOnScreen() && GetScreenRect().Contains(wxGetMousePosition());
    if (over != m_hover) {
        m_hover = over;
        Refresh();
    }
}

void TabRowButton::UpdateWindowUI(long) {
    // The window's own ID is an automatic one; the command is what handlers know.
    if (m_command == 0) {
        return;
    }
    wxUpdateUIEvent event(m_command);
    event.SetEventObject(this);
    if (GetEventHandler()->ProcessEvent(event) && event.GetSetEnabled()) {
        Enable(event.GetEnabled());
    }
}

bool TabRowButton::Enable(bool enable) {
    if (!wxControl::Enable(enable)) {
        return false;
    }
    Refresh();
    return true;
}

wxBitmap TabRowButton::FittedBitmap(int height) const {
    // The tab row is lower than the application button's picture on some fonts: shrink it
    // rather than cut it.
    const int room = std::max(8, height - 4);
    if (m_bitmap.GetHeight() <= room) {
        return m_bitmap;
    }
    wxImage image = m_bitmap.ConvertToImage();
    image.Rescale(room * m_bitmap.GetWidth() / m_bitmap.GetHeight(), room, wxIMAGE_QUALITY_HIGH);
    return wxBitmap(image);
}

wxSize TabRowButton::DoGetBestSize() const {
    wxClientDC dc(const_cast<TabRowButton*>(this));
    dc.SetFont(GetFont());
    int width = kPadding * 2;
    int height = FromDIP(22);
    const bool showBitmap = m_bitmap.IsOk() && !(m_tabShape && !m_caption.empty());
    if (showBitmap) {
        width += m_bitmap.GetWidth();
        height = std::max(height, m_bitmap.GetHeight() + 4);
    }
    if (!m_caption.empty()) {
        const wxSize text = dc.GetTextExtent(m_caption);
        width += text.x + (showBitmap ? kPadding : 0);
        height = std::max(height, text.y + 6);
    }
    if (m_dropDown) {
        width += kArrowWidth + kPadding;
    }
    return wxSize(width, height);
}

void TabRowButton::OnPaint(wxPaintEvent&) {
    wxAutoBufferedPaintDC dc(this);
    const wxSize size = GetClientSize();
    wxRibbonBar* bar = BarOf(this);
    wxRibbonArtProvider* art = bar ? bar->GetArtProvider() : nullptr;
    if (art) {
        // Continue the tab row's own background under the button, so it sits in the row.
        const wxPoint pos = GetPosition();
        art->DrawTabCtrlBackground(
            dc, bar, wxRect(-pos.x, -pos.y, bar->GetClientSize().x, TabRowHeight(*bar)));
    } else {
        dc.SetBackground(wxBrush(GetBackgroundColour()));
        dc.Clear();
    }

    wxColour textColour = art ? art->GetColour(wxRIBBON_ART_TAB_LABEL_COLOUR) : *wxBLACK;
    dc.SetPen(*wxTRANSPARENT_PEN);
    if (m_accent) {
        dc.SetBrush(wxBrush(m_hover ? kAccentHover : kAccent));
        if (m_tabShape) {
            dc.DrawRectangle(0, 2, size.x, size.y - 2);
        } else {
            dc.DrawRoundedRectangle(0, 1, size.x, size.y - 2, size.y / 2.0 - 1);
        }
        textColour = *wxWHITE;
    } else if (m_hover && art) {
        dc.SetBrush(wxBrush(art->GetColour(wxRIBBON_ART_TAB_HOVER_BACKGROUND_COLOUR)));
        dc.SetPen(wxPen(art->GetColour(wxRIBBON_ART_TAB_BORDER_COLOUR)));
        dc.DrawRoundedRectangle(0, 1, size.x, size.y - 2, 3);
        textColour = art->GetColour(wxRIBBON_ART_TAB_HOVER_LABEL_COLOUR);
    }

    int x = kPadding;
    const bool showBitmap = m_bitmap.IsOk() && !(m_tabShape && !m_caption.empty());
    if (showBitmap) {
        wxBitmap bitmap = FittedBitmap(size.y);
        if (!IsEnabled()) {
            bitmap = bitmap.ConvertToDisabled();
        }
        dc.DrawBitmap(bitmap, m_caption.empty() ? (size.x - bitmap.GetWidth()) / 2 : x,
                      (size.y - bitmap.GetHeight()) / 2, true);
        x += bitmap.GetWidth() + kPadding;
    }
    if (!m_caption.empty()) {
        dc.SetFont(GetFont());
        dc.SetTextForeground(textColour);
        const wxSize text = dc.GetTextExtent(m_caption);
        dc.DrawText(m_caption, x, (size.y - text.y) / 2);
        x += text.x + kPadding;
    }
    if (m_dropDown) {
        const int cy = size.y / 2;
        const wxPoint arrow[] = {
            {x, cy - 2}, {x + kArrowWidth, cy - 2}, {x + kArrowWidth / 2, cy + 2}};
        dc.SetPen(*wxTRANSPARENT_PEN);
        dc.SetBrush(wxBrush(textColour));
        dc.DrawPolygon(3, arrow);
    }
}

void TabRowButton::OnMouse(wxMouseEvent& event) {
    if (event.Entering() || event.Leaving()) {
        m_hover = event.Entering();
        Refresh();
        return;
    }
    if (event.LeftUp() && GetClientRect().Contains(event.GetPosition())) {
        Click();
    }
}

TabRow::TabRow(wxRibbonBar& bar, const ribbon::Layout& layout) : m_bar(bar), m_layout(layout) {
    const ribbon::MainMenu& main = layout.mainMenu;
    m_appButton =
        new TabRowButton(&bar, 0, FromUtf8(main.caption), RibbonImage(main.buttonImage, 0), false,
                         [this] { ShowMainMenu(); });
    m_appButton->SetAccent(true);
    m_appButton->SetToolTip(FromUtf8(main.caption) + " (Alt+" + main.keyTip + ")");

    for (size_t i = 0; i < layout.quickAccess.size(); ++i) {
        // New, open, save and print have these pictures in the file strip.
        static const int kImages[] = {0, 3, 4, 5};
        const int id = layout.quickAccess[i];
        auto* tool = new TabRowButton(
            &bar, id, wxString(), RibbonImage(ribbon::ImageList::FileSmall, kImages[i % 4]), false);
        const wxString tip = TooltipFor(id);
        if (!tip.empty()) {
            tool->SetToolTip(tip);
        }
        m_quickAccess.push_back(tool);
    }

    for (const ribbon::TabRowButton& spec : layout.tabRow) {
        const wxString keyTip = wxString(" (Alt+") + spec.keyTip + ")";
        if (!spec.items.empty()) {
            m_styleButton = new TabRowButton(&bar, 0, FromUtf8(spec.caption), wxNullBitmap, true,
                                             [this] { ShowStyleMenu(); });
            m_styleButton->SetToolTip(FromUtf8(spec.caption) + keyTip);
        } else {
            m_aboutButton = new TabRowButton(&bar, spec.id, FromUtf8(spec.caption),
                                             RibbonImage(spec.images, spec.smallImage), false);
            m_aboutButton->SetToolTip(TooltipFor(spec.id) + keyTip);
        }
    }

    bar.Bind(wxEVT_SIZE, &TabRow::OnBarSize, this);
}

TabRow::~TabRow() {
    m_bar.Unbind(wxEVT_SIZE, &TabRow::OnBarSize, this);
}

void TabRow::OnBarSize(wxSizeEvent& event) {
    event.Skip();
    // The bar lays its pages out in its own size handler; place the parts after it.
    m_bar.CallAfter([this] { Place(); });
}

std::unique_ptr<CommandMenu> TabRow::CreateMainMenu() const {
    const ribbon::MainMenu& main = m_layout.mainMenu;
    auto menu = std::make_unique<CommandMenu>();
    auto append = [&](const ribbon::MenuItem& spec) {
        menu->Append(spec.id, FromUtf8(spec.caption), wxITEM_NORMAL,
                     RibbonImage(main.smallImages, spec.smallImage));
    };
    for (const ribbon::MenuItem& spec : main.items) {
        append(spec);
    }
    menu->AppendSeparator();
    menu->AppendHeading(FromUtf8(main.recentLabel));
    if (wxDocManager* manager = wxDocManager::GetDocumentManager()) {
        if (wxFileHistory* history = manager->GetFileHistory()) {
            for (size_t i = 0; i < history->GetCount(); ++i) {
                menu->Append(history->GetBaseId() + static_cast<int>(i),
                             wxString::Format("&%zu %s", i + 1, history->GetHistoryFile(i)));
            }
        }
    }
    menu->AppendSeparator();
    append(main.bottomButton);
    return menu;
}

std::unique_ptr<CommandMenu> TabRow::CreateStyleMenu() const {
    auto menu = std::make_unique<CommandMenu>();
    for (const ribbon::TabRowButton& spec : m_layout.tabRow) {
        for (const ribbon::MenuItem& item : spec.items) {
            // Check items rather than a radio group: a look that is not on the menu (205 to
            // 214) must leave every item unchosen, which a radio group cannot.
            menu->Append(item.id, FromUtf8(item.caption), wxITEM_CHECK);
        }
    }
    return menu;
}

void TabRow::ShowMainMenu() {
    const std::unique_ptr<CommandMenu> menu = CreateMainMenu();
    const wxRect rect = m_appButton->GetRect();
    PresentPopupMenu(m_bar, *menu, wxPoint(rect.x, rect.GetBottom() + 1));
}

void TabRow::ShowStyleMenu() {
    const std::unique_ptr<CommandMenu> menu = CreateStyleMenu();
    const wxRect rect = m_styleButton->GetRect();
    PresentPopupMenu(m_bar, *menu, wxPoint(rect.x, rect.GetBottom() + 1));
}

void TabRow::SetWindows7Look(bool windows7Look) {
    m_appButton->SetTabShape(windows7Look);
    for (wxWindow* child : m_bar.GetChildren()) {
        if (dynamic_cast<TabRowButton*>(child)) {
            child->Refresh();
        }
    }
    Place();
}

void TabRow::Place() {
    if (m_bar.IsBeingDeleted()) {
        return;
    }
    const int rowHeight = TabRowHeight(m_bar);
    const int barWidth = m_bar.GetClientSize().x;
    const int gap = m_bar.FromDIP(4);
    const int buttonHeight = rowHeight - 2;

    int left = gap / 2;
    const wxSize app = m_appButton->GetBestSize();
    m_appButton->SetSize(left, 1, app.x, buttonHeight);
    left += app.x + gap;
    for (TabRowButton* tool : m_quickAccess) {
        const int width = std::max(tool->GetBestSize().x, buttonHeight);
        tool->SetSize(left, 1, width, buttonHeight);
        left += width;
    }
    left += gap;

    int right = barWidth - gap / 2;
    const int aboutWidth = std::max(m_aboutButton->GetBestSize().x, buttonHeight);
    right -= aboutWidth;
    m_aboutButton->SetSize(right, 1, aboutWidth, buttonHeight);
    right -= gap / 2;
    const wxSize style = m_styleButton->GetBestSize();
    right -= style.x;
    m_styleButton->SetSize(right, 1, style.x, buttonHeight);
    right -= gap;

    m_bar.SetTabCtrlMargins(left, barWidth - right);
}

} // namespace tesslin
