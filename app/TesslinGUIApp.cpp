#include "app/TesslinGUIApp.h"

#include "app/AboutDlg.h"
#include "app/GivenFileDropTarget.h"
#include "app/MainFrame.h"
#include "document/TesslinGUIDoc.h"
#include "platform/MessageSeam.h"
#include "res/CommandIds.h"
#include "res/Strings.h"
#include "view/TesslinGUIView.h"
#include "wxplatform/Desktop.h"
#include "wxplatform/Korean.h"
#include "wxplatform/MessageBoxes.h"
#include "wxplatform/WxText.h"

#include <wx/cmdline.h>
#include <wx/config.h>
#include <wx/docview.h>
#include <wx/filehistory.h>
#include <wx/tooltip.h>

wxIMPLEMENT_APP_NO_MAIN(CTesslinGUIApp);

namespace {

// Where the recent-file list lives in the profile.
constexpr const char* kRecentFilesPath = "/Recent File List";

// The document manager of a single-document program: at most one document, a recent-file
// list of 4 entries, and new documents named like the rest of the window's texts.
class CTesslinDocManager : public wxDocManager {
public:
    // The base would create its file history in its own constructor, before this class's
    // override exists; initialise afterwards instead.
    CTesslinDocManager() : wxDocManager(0, false) {
        SetMaxDocsOpen(1);
        Initialize();
    }

    wxFileHistory* OnCreateFileHistory() override { return new wxFileHistory(4); }
    wxString MakeNewDocumentName() override { return tesslin::FromUtf8(tesslin::text::kUntitled); }
};

void LoadRecentFiles(wxDocManager& manager) {
    wxConfigBase* config = wxConfigBase::Get();
    const wxString oldPath = config->GetPath();
    config->SetPath(kRecentFilesPath);
    manager.FileHistoryLoad(*config);
    config->SetPath(oldPath);
}

void SaveRecentFiles(wxDocManager& manager) {
    wxConfigBase* config = wxConfigBase::Get();
    const wxString oldPath = config->GetPath();
    config->SetPath(kRecentFilesPath);
    manager.FileHistorySave(*config);
    config->SetPath(oldPath);
    config->Flush();
}

} // namespace

// clang-format off
wxBEGIN_EVENT_TABLE(CTesslinGUIApp, wxApp)
    EVT_MENU(tesslin::ids::kAppAbout, CTesslinGUIApp::OnAppAbout)
    EVT_MENU(tesslin::ids::kFileNew, CTesslinGUIApp::OnFileNew)
    EVT_MENU(tesslin::ids::kFileOpen, CTesslinGUIApp::OnFileOpen)
    EVT_MENU(tesslin::ids::kFileSave, CTesslinGUIApp::OnFileSave)
    EVT_MENU(tesslin::ids::kAppExit, CTesslinGUIApp::OnAppExit)
wxEND_EVENT_TABLE()
    // clang-format on

    CTesslinGUIApp::CTesslinGUIApp() = default;
CTesslinGUIApp::~CTesslinGUIApp() = default;

void CTesslinGUIApp::OnInitCmdLine(wxCmdLineParser& parser) {
    wxApp::OnInitCmdLine(parser);
    // Printed on a terminal with the toolkit's own (English) usage lines.
    parser.AddSwitch("", "desktop",
                     "started from the desktop's menu: work in the desktop's settings folder "
                     "($XDG_CONFIG_HOME/TesslinGUI)");
    parser.AddParam("file", wxCMD_LINE_VAL_STRING, wxCMD_LINE_PARAM_OPTIONAL);
}

bool CTesslinGUIApp::OnCmdLineParsed(wxCmdLineParser& parser) {
    if (parser.GetParamCount() > 0) {
        m_fileToOpen = parser.GetParam(0);
    }
    m_fromDesktop = parser.Found("desktop");
    return wxApp::OnCmdLineParsed(parser);
}

bool CTesslinGUIApp::OnCmdLineHelp(wxCmdLineParser& parser) {
    m_helpShown = true;
    return wxApp::OnCmdLineHelp(parser);
}

bool CTesslinGUIApp::OnInit() {
    // File names need not be UTF-8; whatever the toolkit reads from the disk comes back to
    // the same bytes.
    tesslin::UseLosslessFileNames();
    if (!wxApp::OnInit()) {
        return false;
    }
    tesslin::UseKorean();
    tesslin::ShowMenuPictures();
    InitProfile();
    tesslin::UseDesktopProfile();
    // The settings file is the working folder's: from the desktop's menu, that is the
    // desktop's folder for the program's settings.
    if (m_fromDesktop) {
        tesslin::EnterDesktopSettingsFolder();
    }
    InitDocManager();
    if (!OpenMainWindow(m_fileToOpen)) {
        ShutdownDocManager();
        return false;
    }
    return true;
}

int CTesslinGUIApp::OnExit() {
    ShutdownDocManager();
    tesslin::SetMessageSink({});
    return wxApp::OnExit();
}

void CTesslinGUIApp::InitProfile() {
    SetAppName(tesslin::text::kAppTitle);
    SetAppDisplayName(tesslin::text::kAppTitle);
    SetVendorName(tesslin::text::kAppVendor);
    SetVendorDisplayName(tesslin::text::kAppVendor);
    // The core reports what it cannot do alone (a settings file it cannot read) through
    // this seam; in the window it is the framework's message box.
    tesslin::SetMessageSink(
        [](const std::string& text) { tesslin::ShowFrameworkMessage(tesslin::FromUtf8(text)); });
    wxToolTip::Enable(true);
}

void CTesslinGUIApp::InitDocManager() {
    m_docManager = std::make_unique<CTesslinDocManager>();
    LoadRecentFiles(*m_docManager);
    // The template owns no file type of its own: no filter, no extension.
    new wxDocTemplate(m_docManager.get(), tesslin::FromUtf8(tesslin::text::kAppTitle), "*.*", "",
                      "", "TesslinGUI.Document", "TesslinGUI.View", wxCLASSINFO(CTesslinGUIDoc),
                      wxCLASSINFO(CTesslinGUIView));
}

bool CTesslinGUIApp::OpenMainWindow(const wxString& file) {
    auto* frame = new CMainFrame();
    if (!frame->Create(m_docManager.get())) {
        delete frame;
        return false;
    }
    SetTopWindow(frame);
    auto* doc = dynamic_cast<CTesslinGUIDoc*>(m_docManager->CreateNewDocument());
    if (!doc) {
        frame->Destroy();
        return false;
    }
    // The start reads "TesslinGUI.ini" in every case; a file given is then opened in its
    // place (one that is refused leaves the start's settings), a folder becomes the root.
    if (!file.empty()) {
        doc->OpenGiven(tesslin::WxToPath(file));
    }
    frame->SetDropTarget(new tesslin::GivenFileDropTarget);
    frame->Show();
    frame->FocusView();
    frame->Update();
    return true;
}

void CTesslinGUIApp::ShutdownDocManager() {
    if (!m_docManager) {
        return;
    }
    SaveRecentFiles(*m_docManager);
    m_docManager.reset();
}

void CTesslinGUIApp::OnAppAbout(wxCommandEvent&) {
    CAboutDlg dlg(GetTopWindow());
    dlg.ShowModal();
}

void CTesslinGUIApp::OnFileNew(wxCommandEvent& event) {
    if (m_docManager) {
        m_docManager->OnFileNew(event);
    }
}

void CTesslinGUIApp::OnFileOpen(wxCommandEvent& event) {
    if (m_docManager) {
        m_docManager->OnFileOpen(event);
    }
}

void CTesslinGUIApp::OnFileSave(wxCommandEvent& event) {
    if (m_docManager) {
        m_docManager->OnFileSave(event);
    }
}

void CTesslinGUIApp::OnAppExit(wxCommandEvent&) {
    if (wxWindow* top = GetTopWindow()) {
        top->Close();
    }
}
