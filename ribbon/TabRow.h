// The ribbon's tab row besides the category tabs: the application button "파일" and the quick
// access toolbar on the left, the style menu "스타일" and the about button on the right. They
// are child windows of the ribbon bar, kept in the margins the bar leaves beside its tabs.
//
// The quick access tools are TabRowButtons rather than a wxRibbonToolBar: in wxWidgets 3.2
// a ribbon toolbar takes its parent for a ribbon panel when a tool is clicked, which is
// undefined behaviour anywhere outside a panel.
#pragma once

#include "res/RibbonLayout.h"

#include <wx/bitmap.h>
#include <wx/control.h>

#include <functional>
#include <memory>
#include <vector>

class wxRibbonArtProvider;
class wxRibbonBar;

namespace tesslin {

class CommandMenu;

// A flat button drawn in the tab row's colours: a picture, a caption or both, with a
// drop-down arrow when it opens a menu.
class TabRowButton : public wxControl {
public:
    // A click sends `command` as a wxEVT_MENU that travels up from the button, or, when
    // `onClick` is given, runs that instead. The button is enabled or disabled by the
    // update-UI event of `command`.
    TabRowButton(wxWindow* parent, int command, const wxString& caption, const wxBitmap& bitmap,
                 bool dropDown, std::function<void()> onClick = {});

    int GetCommand() const { return m_command; }
    wxString GetCaption() const { return m_caption; }

    // The look of the application button: a tab (Windows 7 look) or a round button.
    void SetTabShape(bool tab);
    bool HasTabShape() const { return m_tabShape; }
    // Draws the button in the accent colour of the application button.
    void SetAccent(bool accent) { m_accent = accent; }

    // Does what a click does; nothing while disabled.
    void Click();

    void UpdateWindowUI(long flags = wxUPDATE_UI_NONE) override;
    bool Enable(bool enable = true) override;

protected:
    wxSize DoGetBestSize() const override;

private:
    void OnPaint(wxPaintEvent& event);
    void OnMouse(wxMouseEvent& event);
    wxBitmap FittedBitmap(int height) const;
    void FollowMouse();

    int m_command;
    wxString m_caption;
    wxBitmap m_bitmap;
    bool m_dropDown;
    bool m_tabShape = false;
    bool m_accent = false;
    bool m_hover = false;
    std::function<void()> m_onClick;
};

class TabRow {
public:
    // Creates the parts as children of `bar` and keeps them placed when the bar resizes.
    TabRow(wxRibbonBar& bar, const ribbon::Layout& layout);
    ~TabRow();
    TabRow(const TabRow&) = delete;
    TabRow& operator=(const TabRow&) = delete;

    TabRowButton& ApplicationButton() const { return *m_appButton; }
    // The quick access tools, left to right.
    const std::vector<TabRowButton*>& QuickAccessButtons() const { return m_quickAccess; }
    TabRowButton& StyleButton() const { return *m_styleButton; }
    TabRowButton& AboutButton() const { return *m_aboutButton; }

    // The application menu: the items, the recent-file list under "최근 문서", the exit
    // button.
    std::unique_ptr<CommandMenu> CreateMainMenu() const;
    // The style menu: the looks 215 to 219, the current one checked.
    std::unique_ptr<CommandMenu> CreateStyleMenu() const;
    // Pops the menus up below their buttons; their commands go to the ribbon bar.
    void ShowMainMenu();
    void ShowStyleMenu();

    // Follows the Windows 7 look switch and redraws in the bar's current art.
    void SetWindows7Look(bool windows7Look);

    // Places the parts in the bar's margins.
    void Place();

private:
    void OnBarSize(wxSizeEvent& event);

    wxRibbonBar& m_bar;
    const ribbon::Layout& m_layout;
    TabRowButton* m_appButton = nullptr;
    std::vector<TabRowButton*> m_quickAccess;
    TabRowButton* m_styleButton = nullptr;
    TabRowButton* m_aboutButton = nullptr;
};

} // namespace tesslin
