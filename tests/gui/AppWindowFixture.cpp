#include "tests/gui/AppWindowFixture.h"

#include "app/MainFrame.h"
#include "app/TesslinGUIApp.h"

#include <wx/fileconf.h>

namespace tesslin::test {

void AppWindowTest::SetUp() {
    m_cwd = std::make_unique<ScopedWorkingDirectory>();
    m_profileDir = std::make_unique<TempDir>();
    m_profilePath = (*m_profileDir) / "profile.ini";
    delete wxConfigBase::Set(new wxFileConfig("TesslinGUI", "Quorvel",
                                              wxString::FromUTF8(m_profilePath), wxString(),
                                              wxCONFIG_USE_LOCAL_FILE));
    BeforeWindow();
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
    if (m_frame) {
        m_frame->Close(true);
        m_frame = nullptr;
        Pump();
    }
    wxGetApp().ShutdownDocManager();
}

void AppWindowTest::ReopenWindow() {
    CloseWindow();
    OpenWindow();
}

CMainFrame& AppWindowTest::Frame() const {
    return *m_frame;
}

wxRibbonBar& AppWindowTest::Ribbon() const {
    return *m_frame->GetRibbonBar();
}

wxConfigBase& AppWindowTest::Profile() const {
    return *wxConfigBase::Get();
}

std::string AppWindowTest::ProfileFileText() const {
    wxConfigBase::Get()->Flush();
    return ReadFile(m_profilePath);
}

} // namespace tesslin::test
