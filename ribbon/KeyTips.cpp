#include "ribbon/KeyTips.h"

#include "ribbon/TabRow.h"
#include "ribbon/Tooltips.h"
#include "wxplatform/WxText.h"

#include <wx/checkbox.h>
#include <wx/dcbuffer.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/ribbon/page.h>
#include <wx/ribbon/panel.h>
#include <wx/textctrl.h>

#include <algorithm>
#include <set>

namespace tesslin {

namespace {

// The bar keeps its tabs' places to itself. A member pointer named through a class derived
// from the bar reads them without pretending that the bar is of that class.
struct TabPlaces : wxRibbonBar {
    static wxRect Of(const wxRibbonBar& bar, size_t index) {
        const wxRibbonPageTabInfoArray& pages = bar.*(&TabPlaces::m_pages);
        return index < pages.GetCount() ? pages.Item(index).rect : wxRect();
    }
};

// A letter in a small dark box with a light edge: readable on every look.
class BadgeWindow : public wxWindow {
public:
    BadgeWindow(wxWindow* parent, const wxString& letter)
        : wxWindow(parent, wxID_ANY, wxDefaultPosition, wxDefaultSize, wxBORDER_NONE),
          m_letter(letter) {
        SetBackgroundStyle(wxBG_STYLE_PAINT);
        SetFont(GetFont().Bold());
        const wxSize text = GetTextExtent(m_letter);
        const int side = std::max(text.x, text.y) + FromDIP(6);
        SetSize(wxSize(std::max(side, text.x + FromDIP(8)), side));
        Bind(wxEVT_PAINT, [this](wxPaintEvent&) {
            wxAutoBufferedPaintDC dc(this);
            const wxSize size = GetClientSize();
            dc.SetPen(wxPen(wxColour(235, 235, 235)));
            dc.SetBrush(wxBrush(wxColour(45, 45, 45)));
            dc.DrawRectangle(0, 0, size.x, size.y);
            dc.SetFont(GetFont());
            dc.SetTextForeground(*wxWHITE);
            const wxSize text = dc.GetTextExtent(m_letter);
            dc.DrawText(m_letter, (size.x - text.x) / 2, (size.y - text.y) / 2);
        });
    }
    wxString Letter() const { return m_letter; }

private:
    wxString m_letter;
};

wxPoint BottomMiddle(const wxRect& rect) {
    return wxPoint(rect.x + rect.width / 2, rect.GetBottom());
}

std::vector<wxRibbonPanel*> PanelsOf(wxWindow* page) {
    std::vector<wxRibbonPanel*> panels;
    if (page) {
        for (wxWindow* child : page->GetChildren()) {
            if (auto* panel = dynamic_cast<wxRibbonPanel*>(child)) {
                panels.push_back(panel);
            }
        }
    }
    return panels;
}

wxRibbonButtonBar* ButtonBarWith(wxWindow& panel, int id) {
    for (wxWindow* child : panel.GetChildren()) {
        auto* bar = dynamic_cast<wxRibbonButtonBar*>(child);
        if (bar && bar->GetItemById(id)) {
            return bar;
        }
    }
    return nullptr;
}

// Presses ribbon button `id` as a click does, unless its update-UI handler disables it.
void PressButton(wxRibbonButtonBar& bar, int id) {
    wxUpdateUIEvent update(id);
    update.SetEventObject(&bar);
    if (bar.ProcessWindowEvent(update) && update.GetSetEnabled() && !update.GetEnabled()) {
        return;
    }
    wxRibbonButtonBarEvent click(wxEVT_RIBBONBUTTONBAR_CLICKED, id, &bar);
    click.SetEventObject(&bar);
    bar.ProcessWindowEvent(click);
}

// Ticks or clears a check box as a click does, so its command goes out.
void ToggleCheck(wxCheckBox& check) {
    if (!check.IsEnabled()) {
        return;
    }
    check.SetValue(!check.GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, check.GetId());
    event.SetEventObject(&check);
    event.SetInt(check.GetValue() ? 1 : 0);
    check.ProcessWindowEvent(event);
}

} // namespace

KeyTips::KeyTips(wxWindow& frame, wxRibbonBar& bar, TabRow& tabRow, const ribbon::Layout& layout,
                 const RibbonControls& controls, std::function<void(int)> activateCategory)
    : m_frame(frame), m_bar(bar), m_tabRow(tabRow), m_layout(layout), m_controls(controls),
      m_activateCategory(std::move(activateCategory)) {
    wxEvtHandler::AddFilter(this);
}

KeyTips::~KeyTips() {
    // The badges are the bar's children and go with it.
    wxEvtHandler::RemoveFilter(this);
}

std::vector<KeyTips::Badge> KeyTips::Shown() const {
    std::vector<Badge> shown;
    for (size_t i = 0; i < m_badges.size() && i < m_targets.size(); ++i) {
        if (m_badges[i]->IsShown()) {
            shown.push_back(
                {static_cast<BadgeWindow*>(m_badges[i])->Letter(), m_targets[i].caption});
        }
    }
    return shown;
}

std::vector<KeyTips::Target> KeyTips::TopTargets() {
    std::vector<Target> targets;
    auto button = [&](TabRowButton& b, const wxString& letter, const wxString& caption) {
        targets.push_back(
            {letter, caption, &b, BottomMiddle(b.GetClientRect()), [&b] { b.Click(); }, {}});
    };
    button(m_tabRow.ApplicationButton(), FromUtf8(m_layout.mainMenu.keyTip),
           FromUtf8(m_layout.mainMenu.caption));
    int number = 1;
    for (TabRowButton* tool : m_tabRow.QuickAccessButtons()) {
        button(*tool, wxString::Format("%d", number++),
               TooltipFor(tool->GetCommand()).BeforeFirst('\n'));
    }
    for (size_t i = 0; i < m_layout.categories.size(); ++i) {
        const ribbon::Category& category = m_layout.categories[i];
        targets.push_back({FromUtf8(category.keyTip), FromUtf8(category.caption), &m_bar,
                           BottomMiddle(TabPlaces::Of(m_bar, i)),
                           [this, i] { m_activateCategory(static_cast<int>(i) + 1); },
                           [this, i] { return CategoryTargets(i); }});
    }
    for (const ribbon::TabRowButton& spec : m_layout.tabRow) {
        if (spec.items.empty()) {
            button(m_tabRow.AboutButton(), FromUtf8(spec.keyTip),
                   TooltipFor(spec.id).BeforeFirst('\n'));
        } else {
            button(m_tabRow.StyleButton(), FromUtf8(spec.keyTip), FromUtf8(spec.caption));
        }
    }
    return targets;
}

std::vector<KeyTips::Target> KeyTips::CategoryTargets(size_t category) {
    std::vector<Target> targets;
    const ribbon::Category& spec = m_layout.categories[category];
    const std::vector<wxRibbonPanel*> panels = PanelsOf(m_bar.GetPage(category));
    for (size_t j = 0; j < panels.size() && j < spec.panels.size(); ++j) {
        targets.push_back({FromUtf8(spec.panels[j].keyTip),
                           FromUtf8(spec.panels[j].caption),
                           panels[j],
                           BottomMiddle(panels[j]->GetClientRect()),
                           {},
                           [this, category, j] { return PanelTargets(category, j); }});
    }
    return targets;
}

std::vector<KeyTips::Target> KeyTips::PanelTargets(size_t category, size_t panel) {
    std::vector<Target> targets;
    const std::vector<wxRibbonPanel*> panels = PanelsOf(m_bar.GetPage(category));
    if (panel >= panels.size()) {
        return targets;
    }
    for (const ribbon::Element& e : m_layout.categories[category].panels[panel].elements) {
        const wxString caption = FromUtf8(e.caption);
        if (e.kind == ribbon::Kind::Button) {
            if (wxRibbonButtonBar* bar = ButtonBarWith(*panels[panel], e.id)) {
                const int id = e.id;
                targets.push_back({wxString(),
                                   caption,
                                   bar,
                                   BottomMiddle(bar->GetItemRect(id)),
                                   [bar, id] { PressButton(*bar, id); },
                                   {}});
            }
            continue;
        }
        const auto found = m_controls.find(e.id);
        if (found == m_controls.end()) {
            continue;
        }
        wxWindow* control = found->second;
        // The badge sits on the control's lower left corner, by its caption.
        const wxRect rect = control->GetRect();
        const wxPoint spot(rect.x, rect.GetBottom());
        std::function<void()> act;
        if (auto* box = dynamic_cast<wxTextCtrl*>(control)) {
            act = [box] {
                box->SetFocus();
                box->SelectAll();
            };
        } else if (auto* check = dynamic_cast<wxCheckBox*>(control)) {
            act = [check] { ToggleCheck(*check); };
        }
        targets.push_back({wxString(), caption, control->GetParent(), spot, act, {}});
    }
    return targets;
}

void KeyTips::ShowTop() {
    Hide();
    ShowLevel([this] { return TopTargets(); });
}

void KeyTips::ShowLevel(std::function<std::vector<Target>()> level) {
    m_levels.push_back(std::move(level));
    ShowBadges();
}

void KeyTips::ShowBadges() {
    ClearBadges();
    m_targets = m_levels.back()();

    // Letters from the layout first; the rest take the first letter nobody on the level uses.
    std::set<wxUniChar> used;
    for (const Target& target : m_targets) {
        if (!target.letter.empty()) {
            used.insert(wxToupper(target.letter[0]));
        }
    }
    const wxString pool = "ABCDEFGHIJKLMNOPQRSTUVWXYZ123456789";
    size_t next = 0;
    for (Target& target : m_targets) {
        if (!target.letter.empty()) {
            continue;
        }
        while (next < pool.length() && used.count(pool[next])) {
            ++next;
        }
        if (next == pool.length()) {
            break;
        }
        target.letter = pool[next];
        used.insert(pool[next]);
    }

    const wxSize room = m_bar.GetClientSize();
    for (const Target& target : m_targets) {
        auto* badge = new BadgeWindow(&m_bar, target.letter);
        const wxSize size = badge->GetSize();
        const wxPoint spot = m_bar.ScreenToClient(target.anchor->ClientToScreen(target.spot));
        const int x = std::clamp(spot.x - size.x / 2, 0, std::max(0, room.x - size.x));
        const int y = std::clamp(spot.y - size.y / 2, 0, std::max(0, room.y - size.y));
        badge->Move(x, y);
        badge->Show(!target.letter.empty() && target.anchor->IsShownOnScreen());
        badge->Raise();
        m_badges.push_back(badge);
    }
}

void KeyTips::ClearBadges() {
    for (wxWindow* badge : m_badges) {
        badge->Destroy();
    }
    m_badges.clear();
    m_targets.clear();
}

void KeyTips::Hide() {
    m_levels.clear();
    ClearBadges();
}

void KeyTips::Back() {
    m_levels.pop_back();
    if (m_levels.empty()) {
        Hide();
    } else {
        ShowBadges();
    }
}

bool KeyTips::PressLetter(wxChar letter) {
    for (const Target& candidate : m_targets) {
        if (candidate.letter.empty() || wxToupper(candidate.letter[0]) != wxToupper(letter)) {
            continue;
        }
        const Target target = candidate; // the list changes below
        if (target.open) {
            if (target.act) {
                target.act();
            }
            ShowLevel(target.open);
        } else {
            // Hidden first: the action may open a menu or a dialog.
            Hide();
            if (target.act) {
                target.act();
            }
        }
        return true;
    }
    return false;
}

bool KeyTips::IsOurs(const wxEvent& event) const {
    auto* window = dynamic_cast<wxWindow*>(event.GetEventObject());
    return window && wxGetTopLevelParent(window) == &m_frame;
}

int KeyTips::FilterEvent(wxEvent& event) {
    const wxEventType type = event.GetEventType();
    const bool shown = !m_levels.empty();
    if (type == wxEVT_KEY_DOWN && IsOurs(event)) {
        const int key = static_cast<wxKeyEvent&>(event).GetKeyCode();
        if (key == WXK_ALT) {
            if (!m_altDown) {
                m_altDown = true;
                m_altAlone = true;
            }
            return Event_Skip;
        }
        if (m_altDown) {
            // A chord: the accelerators take it.
            m_altAlone = false;
            Hide();
            return Event_Skip;
        }
        if (!shown) {
            return Event_Skip;
        }
        if (key == WXK_ESCAPE) {
            Back();
            return Event_Processed;
        }
        if (key < 128 && wxIsalnum(key)) {
            // A letter that no badge has does nothing, and types nothing either.
            PressLetter(static_cast<wxChar>(key));
            return Event_Processed;
        }
        if (key == WXK_SHIFT || key == WXK_CONTROL) {
            return Event_Skip;
        }
        Hide();
        return Event_Skip;
    }
    if (type == wxEVT_KEY_UP && IsOurs(event) &&
        static_cast<wxKeyEvent&>(event).GetKeyCode() == WXK_ALT) {
        const bool alone = m_altDown && m_altAlone;
        m_altDown = false;
        if (alone) {
            if (shown) {
                Hide();
            } else {
                ShowTop();
            }
        }
        return Event_Skip;
    }
    if (!shown) {
        return Event_Skip;
    }
    if ((type == wxEVT_LEFT_DOWN || type == wxEVT_RIGHT_DOWN || type == wxEVT_MIDDLE_DOWN) &&
        IsOurs(event)) {
        // Later: the click may be on a badge, which hiding destroys.
        m_frame.CallAfter([this] { Hide(); });
    } else if (type == wxEVT_ACTIVATE && event.GetEventObject() == &m_frame &&
               !static_cast<wxActivateEvent&>(event).GetActive()) {
        Hide();
    }
    return Event_Skip;
}

} // namespace tesslin
