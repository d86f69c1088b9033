// The application object: start-up, shutdown, the document manager and the about command.
//
// Start-up (OnInit), in order: the command line (at most one file or folder name; --desktop,
// which the desktop entry passes, makes the desktop's settings folder the working folder), Korean
// for the toolkit's own texts, the profile ("TesslinGUI" by "Quorvel"), the message box behind
// tesslin::ShowMessage, tooltips, the document manager with the recent-file list (4 entries,
// kept in the profile) and the document template joining CTesslinGUIDoc and CTesslinGUIView,
// then one CMainFrame holding a new document (or the named file). OnExit saves the recent-file
// list and returns the framework's exit code.
//
// Commands handled here (they reach the application after the view, the document manager
// and the frame have passed them on): about (57664), new (57600), open (57601), save (57603)
// and exit (57665).
#pragma once

#include <wx/app.h>

#include <memory>

class wxCmdLineParser;
class wxDocManager;

class CTesslinGUIApp : public wxApp {
public:
    CTesslinGUIApp();
    ~CTesslinGUIApp() override;

    bool OnInit() override;
    int OnExit() override;
    void OnInitCmdLine(wxCmdLineParser& parser) override;
    bool OnCmdLineParsed(wxCmdLineParser& parser) override;
    // Prints the usage; start-up then ends, and HelpShown() tells the caller that it ended
    // because help was asked for, which is no failure.
    bool OnCmdLineHelp(wxCmdLineParser& parser) override;
    bool HelpShown() const { return m_helpShown; }

    // The pieces of start-up, in order; OnInit runs them all. The GUI tests run the last
    // three the same way, one window per test.
    //
    // Sets the names under which the profile is kept and installs the message box sink.
    void InitProfile();
    // Creates the document manager with the recent-file list and the document template.
    void InitDocManager();
    // Creates the main frame, then a new document in it, opens `file` when given (a folder
    // becomes the root folder, see CTesslinGUIDoc::OpenGiven), and shows the frame; files and
    // folders dropped on the window are taken the same way. False when the document refuses to
    // initialise; the frame is then being destroyed.
    bool OpenMainWindow(const wxString& file = wxString());
    // Saves the recent-file list to the profile and deletes the document manager. Call
    // after the main window has been closed.
    void ShutdownDocManager();

    wxDocManager* GetDocManager() const { return m_docManager.get(); }

    // The about command: shows CAboutDlg modally.
    void OnAppAbout(wxCommandEvent& event);

private:
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnFileSave(wxCommandEvent& event);
    void OnAppExit(wxCommandEvent& event);

    wxString m_fileToOpen;
    bool m_fromDesktop = false; // --desktop: started from the desktop's menu
    bool m_helpShown = false;
    std::unique_ptr<wxDocManager> m_docManager;

    wxDECLARE_EVENT_TABLE();
};

wxDECLARE_APP(CTesslinGUIApp);
