#include "document/TesslinGUIDoc.h"

#include "platform/Error.h"
#include "res/CommandIds.h"
#include "ribbon/RibbonAccess.h"
#include "settings/SettingsFile.h"
#include "settings/SplitWords.h"
#include "wxplatform/MessageBoxes.h"
#include "wxplatform/SignalClose.h"
#include "wxplatform/WxText.h"

#include <wx/filefn.h>
#include <wx/filehistory.h>
#include <wx/log.h>

#include <boost/filesystem/operations.hpp>

#include <vector>

namespace ids = tesslin::ids;

namespace {
// Error texts may carry paths, whose bytes need not be UTF-8.
void ShowError(const std::string& text) {
    tesslin::ShowFrameworkMessage(tesslin::PathToWx(text));
}

// The working folder does not change while the program runs, so a relative name and the
// dialogs' absolute ones meet in this form.
std::string AbsolutePath(const std::string& path) {
    boost::system::error_code error;
    boost::filesystem::path absolute = boost::filesystem::absolute(path, error);
    if (error) {
        return path;
    }
    // Boost's normal form writes the root's separator as "/" on Windows ("C:/Users\x"): the
    // preferred separators make it the form the folder picker and the lists use.
    absolute = absolute.lexically_normal().make_preferred();
    // A folder named with a trailing slash comes out as "folder/.".
    return (absolute.filename_is_dot() ? absolute.parent_path() : absolute).string();
}
} // namespace

wxIMPLEMENT_DYNAMIC_CLASS(CTesslinGUIDoc, wxDocument);

CTesslinGUIDoc::~CTesslinGUIDoc() {
    tesslin::SetEmergencySave({});
}

bool CTesslinGUIDoc::OnNewDocument() {
    if (!wxDocument::OnNewDocument()) {
        return false;
    }
    InitSettings();
    UpdateAllViews();
    return true;
}

bool CTesslinGUIDoc::OnOpenDocument(const wxString& filename) {
    // A document that began as a new one carries the new-document title, which would
    // outrank the file's name in the window's title.
    const wxString oldTitle = GetTitle();
    SetTitle(wxString());
    if (!wxDocument::OnOpenDocument(filename)) {
        SetTitle(oldTitle);
        return false;
    }
    return true;
}

bool CTesslinGUIDoc::OnCloseDocument() {
    if (m_settingsLoaded) {
        WriteSettings();
    }
    tesslin::SetEmergencySave({});
    return wxDocument::OnCloseDocument();
}

bool CTesslinGUIDoc::Save() {
    if (!GetDocumentSaved() || GetFilename().empty()) {
        return SaveAs();
    }
    return OnSaveDocument(GetFilename());
}

bool CTesslinGUIDoc::DoSaveDocument(const wxString& file) {
    return WriteSettings(tesslin::WxToPath(file));
}

bool CTesslinGUIDoc::DoOpenDocument(const wxString& file) {
    const std::string path = tesslin::WxToPath(file);
    tesslin::Settings loaded = m_settings;
    const tesslin::ReadResult result = tesslin::ReadSettings(loaded, path);
    if (result == tesslin::ReadResult::NotOpened ||
        result == tesslin::ReadResult::NotASettingsFile) {
        // The reader has said why; the document and the file stay as they were.
        return false;
    }
    if (result == tesslin::ReadResult::ReadInPart) {
        m_readInPart.insert(AbsolutePath(path));
    }
    m_settings = std::move(loaded);
    ShowSettingsInRibbon();
    // The base class then takes the file's name and has the views clear their lists.
    return true;
}

void CTesslinGUIDoc::OpenGiven(const std::string& path) {
    boost::system::error_code error;
    if (boost::filesystem::is_directory(path, error)) {
        m_settings.root_directory.value = AbsolutePath(path);
        tesslin::ShowRootFolder(m_settings.root_directory.value);
        return;
    }
    OpenInPlace(tesslin::PathToWx(path));
}

void CTesslinGUIDoc::InitSettings() {
    namespace fs = boost::filesystem;
    // From here on, a request to end the program from outside saves these settings.
    tesslin::InstallOrderlyEnd();
    tesslin::SetEmergencySave([this] { SaveWithoutAsking(); });

    fs::file_status status;
    try {
        status = fs::status(fs::path(tesslin::kSettingsFileName));
    } catch (const std::exception& e) {
        // Something is there that cannot even be looked at (e.g. a working folder that
        // cannot be searched). Work with the defaults, and leave whatever is there alone.
        ShowError(tesslin::ErrorText(e));
        m_settings.ResetToDefaults();
        m_settingsLoaded = false;
        ShowSettingsInRibbon();
        return;
    }
    if (status.type() == fs::file_not_found || status.type() == fs::status_error) {
        m_settings.ResetToDefaults();
        if (!WriteSettings()) {
            // There is no file to read back, and none that a later write could spoil:
            // go on with the defaults and try again at the end.
            m_settingsLoaded = true;
            ShowSettingsInRibbon();
            return;
        }
    }
    m_settingsLoaded = ReadSettings();
    if (!m_settingsLoaded) {
        // The file is there but cannot be read (no permission, a folder of that name, too
        // large) or is no settings file. The session runs on the defaults; the file is kept
        // as it is.
        m_settings.ResetToDefaults();
    }
    ShowSettingsInRibbon();
}

bool CTesslinGUIDoc::WriteSettings() {
    return WriteSettings(tesslin::kSettingsFileName);
}

bool CTesslinGUIDoc::WriteSettings(const std::string& path) {
    try {
        StoreSettings(path);
        return true;
    } catch (const std::exception& e) {
        ShowError(tesslin::ErrorText(e));
        return false;
    }
}

bool CTesslinGUIDoc::ReadSettings() {
    const tesslin::ReadResult result = tesslin::ReadSettings(m_settings);
    const std::string file = AbsolutePath(tesslin::kSettingsFileName);
    m_readInPart.erase(file);
    if (result == tesslin::ReadResult::ReadInPart) {
        m_readInPart.insert(file);
    }
    return result == tesslin::ReadResult::Read || result == tesslin::ReadResult::ReadInPart;
}

void CTesslinGUIDoc::StoreSettings(const std::string& path) {
    const std::string file = AbsolutePath(path);
    if (m_readInPart.count(file) != 0) {
        // The file holds values this session never read; the new file drops them.
        tesslin::BackUpSettingsFile(path);
    }
    tesslin::WriteSettings(m_settings, path);
    m_readInPart.erase(file);
}

void CTesslinGUIDoc::ShowSettingsInRibbon() {
    tesslin::ShowRootFolder(m_settings.root_directory.value);
    tesslin::SetRibbonEditText(ids::kEditVideoExtensionList,
                               tesslin::JoinWords(m_settings.vid_ext.value));
    tesslin::SetRibbonEditText(ids::kEditSubtitleExtensionList,
                               tesslin::JoinWords(m_settings.sub_ext.value));
    tesslin::SetRibbonEditText(ids::kEditVideoRegularExpression, m_settings.vid_regex.value);
    tesslin::SetRibbonEditText(ids::kEditSubtitleRegularExpression, m_settings.sub_regex.value);
}

void CTesslinGUIDoc::SaveWithoutAsking() {
    // Called when the program is being ended and may not get to close in order: no box,
    // no exception; the next start shows whatever went wrong with the file.
    if (!m_settingsLoaded) {
        return;
    }
    try {
        StoreSettings(tesslin::kSettingsFileName);
    } catch (...) {
    }
}

// The document framework would close this document and make a new one for New and Open,
// and the close would write the settings file. A single-document program keeps its one
// document instead: New loads the settings file again, Open reads the chosen file into it.

void CTesslinGUIDoc::OnFileNew(wxCommandEvent&) {
    OnNewDocument();
}

void CTesslinGUIDoc::OnFileOpen(wxCommandEvent&) {
    wxDocManager* manager = GetDocumentManager();
    std::vector<wxDocTemplate*> templates;
    for (wxObject* object : manager->GetTemplates()) {
        templates.push_back(static_cast<wxDocTemplate*>(object));
    }
    wxString path;
    const wxDocTemplate* chosen = manager->SelectDocumentPath(
        templates.data(), static_cast<int>(templates.size()), path, 0, false);
    if (chosen && !path.empty()) {
        OpenInPlace(path);
    }
}

void CTesslinGUIDoc::OnRecentFile(wxCommandEvent& event) {
    wxFileHistory* history = GetDocumentManager()->GetFileHistory();
    if (!history) {
        return;
    }
    const int index = event.GetId() - history->GetBaseId();
    if (index < 0 || static_cast<size_t>(index) >= history->GetCount()) {
        return;
    }
    const wxString file = history->GetHistoryFile(static_cast<size_t>(index));
    if (!wxFileExists(file)) {
        history->RemoveFileFromHistory(static_cast<size_t>(index));
        wxLogError(_("The file '%s' doesn't exist and couldn't be opened.\nIt has been removed "
                     "from the most recently used files list."),
                   file);
        return;
    }
    OpenInPlace(file);
}

void CTesslinGUIDoc::OpenInPlace(const wxString& filename) {
    if (OnOpenDocument(filename)) {
        GetDocumentManager()->AddFileToHistory(filename);
    }
}

// The command IDs each handler serves. (Kept last: the formatter cannot follow the table.)
// clang-format off
wxBEGIN_EVENT_TABLE(CTesslinGUIDoc, wxDocument)
    EVT_MENU(ids::kFileNew, CTesslinGUIDoc::OnFileNew)
    EVT_MENU(ids::kFileOpen, CTesslinGUIDoc::OnFileOpen)
    EVT_MENU_RANGE(wxID_FILE1, wxID_FILE9, CTesslinGUIDoc::OnRecentFile)
wxEND_EVENT_TABLE()
