// The document of the single-document window: the one place where the settings live.
//
// It loads the settings file when it starts as a new document (creating the file with the
// defaults when there is none) and shows the values in the ribbon and the status bar; it
// writes the whole record back when it closes, that is when the program ends. Between the
// two, the view and its commands read and change m_settings directly.
//
// A record that does not stand for the file (the file exists but could not be read, is no
// settings file, or its status could not be queried) is never written over it: a file is
// never replaced by a record the program failed to load. When reading a file stopped early
// at a value it could not convert, the next write to that file first keeps its old bytes in a
// new copy beside it ("<file>.bak", else the next free "<file>.bak.N"), so the values that
// were not read are not lost.
//
// The document's content is the settings record, so a user can keep several sets of
// settings: New (57600) loads "TesslinGUI.ini" again without writing it first (every change
// since it was last read is dropped); Open (57601), a recent file, a file named on the
// command line or dropped on the window read the chosen file as the start reads
// "TesslinGUI.ini", with the same messages (a file that is not a settings file, or cannot be
// read, is refused, left alone, and the document stays as it was); Save and Save As write the
// record in the settings file's format, atomically. New and a successful Open clear the
// view's lists, which belong to the old settings. Whatever the document's name, the close
// writes "TesslinGUI.ini".
#pragma once

#include "settings/Settings.h"

#include <wx/docview.h>

#include <set>
#include <string>

class CTesslinGUIDoc : public wxDocument {
public:
    CTesslinGUIDoc() = default;
    ~CTesslinGUIDoc() override;

    tesslin::Settings m_settings;

    // The framework's new document: the base class's work, then InitSettings.
    bool OnNewDocument() override;
    // Opening a settings file in place of the document (see above); false when refused.
    bool OnOpenDocument(const wxString& filename) override;
    // Writes the settings to "TesslinGUI.ini" (unless the record never stood for that file),
    // then closes.
    bool OnCloseDocument() override;
    // Save: writes the document's file; a document that has none yet asks for one (Save As).
    // The settings change without the document being marked modified, so Save always writes.
    bool Save() override;

    // A file named on the command line or dropped on the window: a folder becomes the root
    // folder (as if picked), anything else is opened as a settings file.
    void OpenGiven(const std::string& path);

    // Start-up: creates "TesslinGUI.ini" with the defaults when it does not exist, reads
    // it, and shows the values. A failing status query or write is shown in a message box
    // and start-up goes on (with the defaults when nothing could be read).
    void InitSettings();
    // Writes m_settings to the file at `path` (keeping the old bytes first when its reading
    // stopped early); a failure is shown in a message box and gives false.
    bool WriteSettings(const std::string& path);
    bool WriteSettings();
    // Loads m_settings from the settings file; failures are shown by the reader. False when
    // the record does not stand for the file: it could not be read at all, or is no settings
    // file (m_settings is then unchanged).
    bool ReadSettings();
    // Shows the root folder in the status bar and the extension lists (each word followed by
    // one blank) and the two filters (as they are) in their ribbon boxes.
    void ShowSettingsInRibbon();

protected:
    bool DoSaveDocument(const wxString& file) override;
    bool DoOpenDocument(const wxString& file) override;

private:
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    void OpenInPlace(const wxString& filename);
    void SaveWithoutAsking();
    // WriteSettings' work; throws what the writer throws.
    void StoreSettings(const std::string& path);

    // True when m_settings stands for the settings file: read from it, or the defaults of a
    // file that did not exist. Only then does closing write it.
    bool m_settingsLoaded = false;
    // The files (absolute paths) whose reading stopped early and that were not yet backed up.
    std::set<std::string> m_readInPart;

    wxDECLARE_DYNAMIC_CLASS(CTesslinGUIDoc);
    wxDECLARE_EVENT_TABLE();
};
