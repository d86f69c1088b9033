// The document of the single-document window: the one place where the settings live.
//
// It loads the settings file when it starts as a new document (creating the file with the
// defaults when there is none) and shows the values in the ribbon and the status bar; it
// writes the whole record back when it closes, that is when the program ends. Between the
// two, the view and its commands read and change m_settings directly; nothing is written
// while the program runs.
//
// A record that does not stand for the file (the file exists but could not be read, is no
// settings file, or its status could not be queried) is never written over it: a file is
// never replaced by a record the program failed to load. When reading stopped early at a
// value it could not convert, the close keeps the old file's bytes in a new copy beside it
// ("TesslinGUI.ini.bak", else the next free "TesslinGUI.ini.bak.N") before it replaces the
// file, so the values that were not read are not lost.
//
// The framework's document commands keep this one document, as a single-document program
// does: New (57600) loads the settings file again without writing it first, so every change
// since the last start is dropped; Open (57601) and the recent-file list open the chosen file
// through the document framework, which reads nothing from it (the document has no content
// of its own) and leaves the settings and the settings file alone. Save stores an empty
// document. Starting with a file name loads the settings as a plain start does.
#pragma once

#include "settings/Settings.h"

#include <wx/docview.h>

class CTesslinGUIDoc : public wxDocument {
public:
    CTesslinGUIDoc() = default;
    ~CTesslinGUIDoc() override;

    tesslin::Settings m_settings;

    // The framework's new document: the base class's work, then InitSettings.
    bool OnNewDocument() override;
    // Opening a file: when the settings were never loaded (a start with a file name), loads
    // them first, then lets the base class open the file, which reads nothing from it.
    bool OnOpenDocument(const wxString& filename) override;
    // Writes the settings (unless the record never stood for the file), then closes.
    bool OnCloseDocument() override;

    // The document has no content: saving writes an empty file, loading reads nothing.
    std::ostream& SaveObject(std::ostream& stream) override;
    std::istream& LoadObject(std::istream& stream) override;

    // Start-up: creates "TesslinGUI.ini" with the defaults when it does not exist, reads
    // it, and shows the values. A failing status query or write is shown in a message box
    // and start-up goes on (with the defaults when nothing could be read).
    void InitSettings();
    // Writes m_settings to the settings file (keeping the old bytes first when its reading
    // stopped early); a failure is shown in a message box and gives false.
    bool WriteSettings();
    // Loads m_settings from the settings file; failures are shown by the reader. False when
    // the record does not stand for the file: it could not be read at all, or is no settings
    // file (m_settings is then unchanged).
    bool ReadSettings();
    // Shows the root folder in the status bar and the extension lists (each word followed by
    // one blank) and the two filters (as they are) in their ribbon boxes.
    void ShowSettingsInRibbon();

    // True when m_settings stands for the settings file: read from it, or the defaults of a
    // file that did not exist. Only then does closing write it.
    bool SettingsLoaded() const { return m_settingsLoaded; }

private:
    void OnFileNew(wxCommandEvent& event);
    void OnFileOpen(wxCommandEvent& event);
    void OnRecentFile(wxCommandEvent& event);
    void OpenInPlace(const wxString& filename);
    void SaveWithoutAsking();
    // WriteSettings' work; throws what the writer throws.
    void StoreSettings();

    bool m_initialised = false;
    bool m_settingsLoaded = false;
    bool m_readInPart = false; // the file's reading stopped early; not yet backed up

    wxDECLARE_DYNAMIC_CLASS(CTesslinGUIDoc);
    wxDECLARE_EVENT_TABLE();
};
