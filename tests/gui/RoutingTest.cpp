// Every ribbon element's command reaches the view by its ID, the way a click sends it; what
// the view leaves alone reaches the frame and the application; the view's context menu shows
// its items disabled while nothing serves them.
#include "tests/gui/GuiTest.h"

#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"
#include "res/CommandIds.h"
#include "res/Menus.h"
#include "ribbon/TabRow.h"

#include <wx/checkbox.h>
#include <wx/docview.h>
#include <wx/ribbon/bar.h>
#include <wx/ribbon/buttonbar.h>
#include <wx/textctrl.h>
#include <wx/uiaction.h>

#include <functional>
#include <vector>

namespace tesslin::test {
namespace {

struct Heard {
    wxEventType type;
    int id;
    bool operator==(const Heard&) const = default;
};

class Routing : public AppWindowTest {
protected:
    void SetUp() override {
        AppWindowTest::SetUp();
        m_view = wxGetApp().GetDocManager()->GetAnyUsableView();
        ASSERT_NE(m_view, nullptr);
        Frame().Raise();
        PumpUntil([&] { return Frame().IsActive(); }, 2.0);
    }

    // The view hands every event first to its document, and handlers bound there run before
    // the document's own event table: the commands stop there, having come the view's way.
    template <typename Tag> void Listen(const Tag& type, int id) {
        const wxEventType kind = type;
        m_view->GetDocument()->Bind(
            type,
            [this, kind](auto& e) {
                m_heard.push_back({kind, e.GetId()});
            },
            id);
    }

    // A real click at the centre of `rect` of `window`.
    static void ClickAt(wxWindow& window, const wxRect& rect) {
        wxUIActionSimulator sim;
        sim.MouseMove(
            window.ClientToScreen(wxPoint(rect.x + rect.width / 2, rect.y + rect.height / 2)));
        Pump();
        sim.MouseClick();
        PumpUntil([] { return false; }, 0.2);
    }

    wxView* m_view = nullptr;
    std::vector<Heard> m_heard;
};

TEST_F(Routing, RibbonButtonsReachTheView) {
    Listen(wxEVT_RIBBONBUTTONBAR_CLICKED, ids::kButtonFolder);
    Listen(wxEVT_RIBBONBUTTONBAR_CLICKED, ids::kButtonScan);
    Frame().ActivateCategory(1);
    Pump();
    for (int id : {ids::kButtonFolder, ids::kButtonScan}) {
        wxRibbonButtonBar* bar = nullptr;
        // The button bars of the visible page.
        std::function<void(wxWindow*)> find = [&](wxWindow* window) {
            for (wxWindow* child : window->GetChildren()) {
                if (auto* candidate = dynamic_cast<wxRibbonButtonBar*>(child);
                    candidate && candidate->GetItemById(id)) {
                    bar = candidate;
                }
                find(child);
            }
        };
        find(&Ribbon());
        ASSERT_NE(bar, nullptr) << id;
        ClickAt(*bar, bar->GetItemRect(id));
    }
    const std::vector<Heard> expected = {{wxEVT_RIBBONBUTTONBAR_CLICKED, ids::kButtonFolder},
                                         {wxEVT_RIBBONBUTTONBAR_CLICKED, ids::kButtonScan}};
    EXPECT_EQ(m_heard, expected);
}

TEST_F(Routing, MenusAndQuickAccessReachTheViewAsMenuCommands) {
    Listen(wxEVT_MENU, ids::kMainFolder);
    Listen(wxEVT_MENU, ids::kMainScan);
    Listen(wxEVT_MENU, ids::kFileNew);
    Listen(wxEVT_MENU, ids::kFileSave);
    {
        PopupCapture popups;
        popups.ChooseNext(ids::kMainFolder);
        Frame().GetTabRow().ShowMainMenu();
        popups.ChooseNext(ids::kMainScan);
        Frame().GetTabRow().ShowMainMenu();
    }
    for (TabRowButton* tool : Frame().GetTabRow().QuickAccessButtons()) {
        if (tool->GetCommand() == ids::kFileNew || tool->GetCommand() == ids::kFileSave) {
            ClickAt(*tool, wxRect(wxPoint(0, 0), tool->GetClientSize()));
        }
    }
    const std::vector<Heard> expected = {{wxEVT_MENU, ids::kMainFolder},
                                         {wxEVT_MENU, ids::kMainScan},
                                         {wxEVT_MENU, ids::kFileNew},
                                         {wxEVT_MENU, ids::kFileSave}};
    EXPECT_EQ(m_heard, expected);
}

TEST_F(Routing, EditBoxesAndCheckBoxesReachTheViewByCommandId) {
    Listen(wxEVT_TEXT, ids::kEditSubtitleRegularExpression);
    Listen(wxEVT_CHECKBOX, ids::kCheckRecursive);
    auto* box =
        dynamic_cast<wxTextCtrl*>(Frame().FindRibbonControl(ids::kEditSubtitleRegularExpression));
    ASSERT_NE(box, nullptr);
    box->SetFocus();
    PumpUntil([&] { return wxWindow::FindFocus() == box; });
    wxUIActionSimulator().Char('q');
    Pump();
    auto* check = Frame().FindRibbonControl(ids::kCheckRecursive);
    ASSERT_NE(check, nullptr);
    ClickAt(*check, wxRect(wxPoint(0, 0), check->GetClientSize()));
    const std::vector<Heard> expected = {{wxEVT_TEXT, ids::kEditSubtitleRegularExpression},
                                         {wxEVT_CHECKBOX, ids::kCheckRecursive}};
    EXPECT_EQ(m_heard, expected);
}

TEST_F(Routing, UpdateHandlersOfTheViewSetTheCheckBoxes) {
    bool on = true;
    m_view->GetDocument()->Bind(
        wxEVT_UPDATE_UI, [&](wxUpdateUIEvent& e) { e.Check(on); }, ids::kCheckRenameVideoFile);
    auto* check = dynamic_cast<wxCheckBox*>(Frame().FindRibbonControl(ids::kCheckRenameVideoFile));
    ASSERT_NE(check, nullptr);
    Frame().ActivateCategory(2);
    Pump();
    EXPECT_TRUE(check->GetValue());
    on = false;
    Pump();
    EXPECT_FALSE(check->GetValue());
}

TEST_F(Routing, LookAndAboutCommandsStillReachFrameAndApplication) {
    wxCommandEvent look(wxEVT_MENU, 217);
    Frame().ProcessWindowEvent(look);
    EXPECT_EQ(wxGetApp().GetAppLook(), 217);
    wxCommandEvent about(wxEVT_MENU, ids::kAppAbout);
    wxTEST_DIALOG(Frame().ProcessWindowEvent(about), wxExpectDismissableModal<wxDialog>(wxID_OK));
}

TEST_F(Routing, ContextMenuItemsShowDisabledUntilSomethingServesThem) {
    wxWindow* owner = Frame().GetViewWindow();
    ASSERT_NE(owner, nullptr);
    PopupCapture popups;
    wxGetApp().ShowPopupMenu(menus::kPopupEdit, owner->GetScreenPosition(), owner);
    ASSERT_EQ(popups.Menus().size(), 1u);
    const std::vector<std::pair<int, std::string>> expected = {
        {ids::kEditCut, "잘라내기(&T)\tCtrl+X"},
        {ids::kEditCopy, "복사(&C)\tCtrl+C"},
        {ids::kEditPaste, "붙여넣기(&P)\tCtrl+V"}};
    std::vector<std::pair<int, std::string>> items;
    for (const PopupCapture::Item& item : popups.Menus()[0]) {
        items.emplace_back(item.id, Utf8(item.label));
        EXPECT_FALSE(item.enabled) << item.id;
    }
    EXPECT_EQ(items, expected);

    // A view that serves copy gets it enabled, and the chosen command reaches it.
    m_view->GetDocument()->Bind(
        wxEVT_UPDATE_UI, [](wxUpdateUIEvent& e) { e.Enable(true); }, ids::kEditCopy);
    Listen(wxEVT_MENU, ids::kEditCopy);
    popups.ChooseNext(ids::kEditCopy);
    wxGetApp().ShowPopupMenu(menus::kPopupEdit, owner->GetScreenPosition(), owner);
    ASSERT_EQ(popups.Menus().size(), 2u);
    EXPECT_TRUE(FindItem(popups.Menus()[1], ids::kEditCopy)->enabled);
    EXPECT_FALSE(FindItem(popups.Menus()[1], ids::kEditCut)->enabled);
    EXPECT_EQ(m_heard, (std::vector<Heard>{{wxEVT_MENU, ids::kEditCopy}}));

    // A menu that was never registered shows nothing.
    wxGetApp().ShowPopupMenu(4711, owner->GetScreenPosition(), owner);
    EXPECT_EQ(popups.Menus().size(), 2u);
}

} // namespace
} // namespace tesslin::test
