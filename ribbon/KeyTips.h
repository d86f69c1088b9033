// Key tips as a ribbon shows them. Pressing and releasing Alt alone shows a letter badge on
// each element of the tab row: the application button, the quick access tools, the category
// tabs, the style menu and the about button. Pressing a letter then acts as a click on its
// element would; a tab's letter turns to that category and shows the badges of its panels, a
// panel's letter the badges of the panel's buttons, edit boxes and check boxes. Esc steps
// back one level; a second Alt, a mouse click or another window taking over hides the badges.
// Alt and a letter pressed together keep working as a chord (the frame's accelerators).
//
// The letters are the layout table's key tips; an element without one gets the first letter
// that nothing else on its level uses, so whatever the table holds gets a badge.
#pragma once

#include "res/RibbonLayout.h"
#include "ribbon/RibbonBuilder.h"

#include <wx/event.h>
#include <wx/eventfilter.h>
#include <wx/gdicmn.h>
#include <wx/string.h>

#include <functional>
#include <vector>

class wxRibbonBar;
class wxWindow;

namespace tesslin {

class TabRow;

class KeyTips : public wxEventFilter {
public:
    // Watches the keys and clicks of `frame`. `activateCategory` turns the ribbon to a
    // category, counted as the frame counts them (1 is the first category).
    KeyTips(wxWindow& frame, wxRibbonBar& bar, TabRow& tabRow, const ribbon::Layout& layout,
            const RibbonControls& controls, std::function<void(int)> activateCategory);
    ~KeyTips() override;
    KeyTips(const KeyTips&) = delete;
    KeyTips& operator=(const KeyTips&) = delete;

    // A badge on the screen: its letter and the caption of what it stands for.
    struct Badge {
        wxString letter;
        wxString caption;
    };
    // The badges shown now; empty while they are hidden.
    std::vector<Badge> Shown() const;

    // Shows the badges of the tab row.
    void ShowTop();
    void Hide();

    int FilterEvent(wxEvent& event) override;

private:
    struct Target {
        wxString letter;
        wxString caption;
        wxWindow* anchor;
        wxPoint spot; // where the badge's middle goes, in the anchor's client coordinates
        std::function<void()> act;
        // For a target that leads to a level of its own: that level's targets.
        std::function<std::vector<Target>()> open;
    };

    std::vector<Target> TopTargets();
    std::vector<Target> CategoryTargets(size_t category);
    std::vector<Target> PanelTargets(size_t category, size_t panel);
    void ShowLevel(std::function<std::vector<Target>()> level);
    void ShowBadges();
    void ClearBadges();
    bool PressLetter(wxChar letter);
    void Back();
    bool IsOurs(const wxEvent& event) const;

    wxWindow& m_frame;
    wxRibbonBar& m_bar;
    TabRow& m_tabRow;
    const ribbon::Layout& m_layout;
    const RibbonControls& m_controls;
    std::function<void(int)> m_activateCategory;

    std::vector<std::function<std::vector<Target>()>> m_levels;
    std::vector<Target> m_targets;
    std::vector<wxWindow*> m_badges;
    bool m_altDown = false;
    bool m_altAlone = false;
};

} // namespace tesslin
