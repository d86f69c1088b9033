// The GUI tests' main and the fixture: the real application object on a real (virtual)
// display, log output on standard error, assertions and unexpected dialogs as test failures,
// never a hang.
#include "tests/gui/GuiTest.h"

#include "app/TesslinGUIApp.h"
#include "ribbon/CommandMenu.h"
#include "ribbon/PopupMenus.h"
#include "view/FolderPicker.h"
#include "view/ViewHost.h"
#include "wxplatform/Korean.h"

#include <wx/app.h>
#include <wx/fileconf.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>
#include <wx/ribbon/buttonbar.h>

#ifdef _WIN32
#include <windows.h>
#endif

#include <iostream>

namespace tesslin::test {

namespace {

// Registered first, so it is asked last: a dialog that no wxTEST_DIALOG expects fails the
// running test and is cancelled rather than shown to nobody.
class CatchAllModalHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        ADD_FAILURE() << "unexpected modal dialog \"" << Utf8(dialog->GetTitle()) << "\"";
        return wxID_CANCEL;
    }
    void Exit(wxDialog*) override {}
};

void AssertAsFailure(const wxString& file, int line, const wxString& func, const wxString& cond,
                     const wxString& msg) {
    ADD_FAILURE_AT(Utf8(file).c_str(), line)
        << "wx assertion in " << Utf8(func) << ": " << Utf8(cond) << " " << Utf8(msg);
}

} // namespace

int GTestModalHook::Enter(wxDialog* dialog) {
    const int result = wxTestingModalHook::Enter(dialog);
    // The base shows a dialog it did not expect; headless, that would never return.
    return result == wxID_NONE ? wxID_CANCEL : result;
}

void GTestModalHook::ReportFailure(const wxString& message) {
    ADD_FAILURE_AT(m_file ? m_file : __FILE__, m_file ? m_line : __LINE__) << Utf8(message);
}

bool UnderWine() {
#ifdef _WIN32
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
#else
    return false;
#endif
}

void Pump() {
    for (int i = 0; i < 3; ++i) {
        wxYield();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

PopupCapture::PopupCapture() {
    SetPopupPresenter([this](wxWindow& owner, CommandMenu& menu, const wxPoint&) {
        // What the real presenter does before the menu shows.
        menu.UpdateUI(owner);
        Menu seen;
        const wxMenuItem* chosen = nullptr;
        for (const wxMenuItem* item : menu.GetMenu().GetMenuItems()) {
            const int command = menu.CommandOf(*item);
            seen.push_back({command, item->GetItemLabel(), item->IsEnabled(),
                            item->IsCheckable() && item->IsChecked(), item->IsSeparator()});
            if (m_choose != 0 && command == m_choose) {
                chosen = item;
            }
        }
        m_menus.push_back(seen);
        m_choose = 0;
        if (chosen) {
            menu.Choose(owner, *chosen);
        }
    });
}

PopupCapture::~PopupCapture() {
    SetPopupPresenter({});
}

const PopupCapture::Item* FindItem(const PopupCapture::Menu& menu, int id) {
    for (const PopupCapture::Item& item : menu) {
        if (item.id == id && !item.separator) {
            return &item;
        }
    }
    return nullptr;
}

int ExpectMessage::OnInvoked(wxMessageDialog* dialog) const {
    EXPECT_EQ(Utf8(dialog->GetTitle()), "TesslinGUI");
    if (m_out) {
        *m_out = WxToPath(dialog->GetMessage());
    } else {
        EXPECT_EQ(WxToPath(dialog->GetMessage()), m_text);
    }
    if (m_icon) {
        EXPECT_EQ((dialog->GetMessageDialogStyle() & wxICON_EXCLAMATION) != 0, *m_icon)
            << "icon of \"" << m_text << "\"";
    }
    return wxID_OK;
}

ScopedFolderChoice::ScopedFolderChoice(std::optional<std::string> folder)
    : m_folder(std::move(folder)) {
    SetFolderPicker([this](wxWindow*) {
        ++asked;
        return m_folder;
    });
}

ScopedFolderChoice::~ScopedFolderChoice() {
    SetFolderPicker({});
}

void AppWindowTest::SetUp() {
    m_cwd = std::make_unique<ScopedWorkingDirectory>();
    m_profileDir = std::make_unique<TempDir>();
    m_profilePath = (*m_profileDir) / "profile.ini";
    delete wxConfigBase::Set(new wxFileConfig("TesslinGUI", "Quorvel",
                                              wxString::FromUTF8(m_profilePath), wxString(),
                                              wxCONFIG_USE_LOCAL_FILE));
    OpenWindow();
}

void AppWindowTest::TearDown() {
    CloseWindow();
    delete wxConfigBase::Set(nullptr);
    m_profileDir.reset();
    m_cwd.reset();
}

void AppWindowTest::OpenWindow() {
    CTesslinGUIApp& app = wxGetApp();
    app.InitDocManager();
    ASSERT_TRUE(app.OpenMainWindow());
    m_frame = CMainFrame::Get();
    ASSERT_NE(m_frame, nullptr);
    Pump();
}

void AppWindowTest::CloseWindow() {
    if (m_frame && m_frame == CMainFrame::Get()) { // unless the test has closed it
        m_frame->Close(true);
        // A window on its way out lends itself to no one, though it is deleted only later.
        EXPECT_EQ(tesslin::TheViewHost(), nullptr);
        Pump();
    }
    m_frame = nullptr;
    wxGetApp().ShutdownDocManager();
}

void AppWindowTest::ReopenWindow() {
    CloseWindow();
    OpenWindow();
}

std::string AppWindowTest::ProfileFileText() const {
    wxConfigBase::Get()->Flush();
    return ReadFile(m_profilePath);
}

CTesslinGUIView& AppWindowTest::View() const {
    auto* view = dynamic_cast<CTesslinGUIView*>(wxGetApp().GetDocManager()->GetAnyUsableView());
    EXPECT_NE(view, nullptr);
    return *view;
}

wxWindow* AppWindowTest::Control(int id) const {
    wxWindow* control = Frame().FindRibbonControl(id);
    EXPECT_NE(control, nullptr) << id;
    return control;
}

void AppWindowTest::Click(int id) const {
    wxCheckBox& check = Check(id);
    check.SetValue(!check.GetValue());
    wxCommandEvent event(wxEVT_CHECKBOX, check.GetId());
    event.SetEventObject(&check);
    event.SetInt(check.GetValue() ? 1 : 0);
    check.ProcessWindowEvent(event);
    Pump();
}

void AppWindowTest::Press(int id) const {
    wxRibbonButtonBarEvent event(wxEVT_RIBBONBUTTONBAR_CLICKED, id);
    event.SetEventObject(&Ribbon());
    Frame().ProcessWindowEvent(event);
}

std::vector<std::string> AppWindowTest::Rows(const CRenamerListCtrl& list) const {
    std::vector<std::string> rows;
    for (long i = 0; i < list.GetItemCount(); ++i) {
        rows.push_back(WxToPath(list.GetItemText(i)));
    }
    return rows;
}

} // namespace tesslin::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The application object of the program itself; its OnInit is not run: each test builds
    // its window through the same start-up steps (see AppWindowTest).
    wxApp::SetInstance(new CTesslinGUIApp);
    if (!wxEntryStart(argc, argv)) {
        std::cerr << "gui_tests: cannot start the window system (no display)\n";
        return 2;
    }
    wxSetAssertHandler(tesslin::test::AssertAsFailure);
    // wxLogGui would open a modal box at exit.
    delete wxLog::SetActiveTarget(new wxLogStderr);
    tesslin::test::CatchAllModalHook catchAll;
    catchAll.Register();

    tesslin::UseKorean();
    wxGetApp().InitProfile();
    const int result = RUN_ALL_TESTS();

    catchAll.Unregister();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
