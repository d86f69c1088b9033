// The GUI tests' main: the real application object on a real (virtual) display, log output
// on standard error, assertions and unexpected dialogs as test failures, never a hang.
#include "tests/gui/GuiTest.h"

#include "app/TesslinGUIApp.h"

#include <wx/app.h>
#include <wx/init.h>
#include <wx/log.h>
#include <wx/modalhook.h>

#include <iostream>

namespace tesslin::test {

namespace {

int g_realModalAllowed = 0;

// Registered first, so it is asked last: a dialog that no wxTEST_DIALOG expects fails the
// running test and is cancelled rather than shown to nobody.
class CatchAllModalHook : public wxModalDialogHook {
protected:
    int Enter(wxDialog* dialog) override {
        if (g_realModalAllowed > 0) {
            return wxID_NONE;
        }
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

AllowRealModal::AllowRealModal() {
    ++g_realModalAllowed;
}

AllowRealModal::~AllowRealModal() {
    --g_realModalAllowed;
}

void Pump() {
    for (int i = 0; i < 3; ++i) {
        wxYield();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
    }
}

std::string Utf8(const wxString& text) {
    return text.utf8_string();
}

} // namespace tesslin::test

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    // The application object of the program itself; its OnInit is not run: each test builds
    // its window through the same start-up steps (see AppWindowFixture).
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

    wxGetApp().InitProfile();
    const int result = RUN_ALL_TESTS();

    catchAll.Unregister();
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
