// The view: the two file lists below the ribbon, the handlers of the ribbon's own commands,
// and the two commands that act, scan and rename.
//
// The upper list shows the video files without a subtitle file of the same name, the lower
// list the subtitle files without a video file. Both fill the view's window, one above the
// other, split at half its height with a one-pixel line between them.
//
// The ribbon's edit boxes and check boxes change the document's settings in memory as the
// user types or clicks, so what the ribbon shows is what the next scan uses; the check boxes
// show the settings through their update handlers. Nothing here writes the settings file.
#pragma once

#include "rename/RenameBatch.h"
#include "scan/MismatchScanner.h"
#include "settings/Settings.h"

#include <wx/docview.h>

#include <boost/filesystem/path.hpp>

#include <optional>
#include <string>
#include <vector>

class CTesslinGUIDoc;
class wxContextMenuEvent;
class wxPanel;
class wxSizeEvent;

namespace tesslin {
class CRenamerListCtrl;
}

class CTesslinGUIView : public wxView {
public:
    CTesslinGUIView() = default;

    bool OnCreate(wxDocument* doc, long flags) override;
    bool OnClose(bool deleteWindow) override;
    // The lists cover the view; there is nothing to draw.
    void OnDraw(wxDC* dc) override;
    // The document took other settings (New, Open): the lists and the two name boxes, which
    // belong to the old ones, are emptied.
    void OnUpdate(wxView* sender, wxObject* hint) override;

    CTesslinGUIDoc* GetDocument() const;
    // The view's window, parent of the two lists.
    wxPanel* GetViewWindow() const { return m_panel; }

    // Upper list: video files without a subtitle (its rows go to box 32817).
    tesslin::CRenamerListCtrl* m_videoList = nullptr;
    // Lower list: subtitle files without a video (its rows go to box 32818).
    tesslin::CRenamerListCtrl* m_subtitleList = nullptr;

    // What one scan found: the unmatched files in name-key order, and what it left out.
    struct ScanResult {
        tesslin::PathList unmatched_videos;
        tesslin::PathList unmatched_subtitles;
        std::vector<tesslin::SkippedEntry> skipped;
    };

    // The scan command (OnButtonScan) in its two halves. RunScan runs a fresh engine with
    // the eight settings of the document; when the scan fails it gives nothing and puts the
    // message that names the cause into `failure`, and when it was cancelled it gives
    // nothing and leaves `failure` empty. Without `progress` it runs on the calling thread
    // and touches no window; with it, the scan runs on a thread of its own while the window
    // stays live, shows its progress and can cancel it (view/ScanInWindow.h). ShowScanResult
    // replaces the rows of both lists, turns the ribbon to "변경 작업" (restoring a minimised
    // ribbon) when both lists hold rows, and then reports skipped entries in one message.
    std::optional<ScanResult> RunScan(std::string& failure,
                                      tesslin::ScanProgress* progress = nullptr) const;
    void ShowScanResult(ScanResult result);

    // Command handlers, each wired to its command ID in the event table.
    void OnButtonFolder(wxCommandEvent& event);
    void OnButtonScan(wxCommandEvent& event);
    void OnButtonRenameFile(wxCommandEvent& event);
    // "짝 찾기": proposes pairs among the two lists' rows and shows them for renaming; the
    // renamed files leave the lists. "되돌리기": undoes the last rename or batch of renames
    // and scans again, so that the files show where they now are. The matching and the
    // undo run on a worker while the window stays live (view/ScanInWindow.h); a stopped
    // matching shows nothing, a stopped undo leaves the renames it did not reach for the next.
    void OnButtonSuggestPairs(wxCommandEvent& event);
    void OnButtonUndoRename(wxCommandEvent& event);
    // "되돌리기" shows disabled while there is nothing to undo.
    void OnUpdateButtonUndoRename(wxUpdateUIEvent& event);
    void OnCheckKeepLanguageTag(wxCommandEvent& event);
    void OnUpdateCheckKeepLanguageTag(wxUpdateUIEvent& event);
    void OnEditVideoExtensionList(wxCommandEvent& event);
    void OnEditSubtitleExtensionList(wxCommandEvent& event);
    void OnEditVideoRegularExpression(wxCommandEvent& event);
    void OnEditSubtitleRegularExpression(wxCommandEvent& event);
    void OnEditFileName(wxCommandEvent& event);
    void OnCheckRecursive(wxCommandEvent& event);
    void OnCheckUseRegularExpression(wxCommandEvent& event);
    void OnCheckRenameSubtitleFile(wxCommandEvent& event);
    void OnCheckRenameVideoFile(wxCommandEvent& event);
    void OnUpdateCheckRecursive(wxUpdateUIEvent& event);
    void OnUpdateCheckUseRegularExpression(wxUpdateUIEvent& event);
    void OnUpdateCheckRenameSubtitleFile(wxUpdateUIEvent& event);
    void OnUpdateCheckRenameVideoFile(wxUpdateUIEvent& event);
    void OnUpdateEditFileName(wxUpdateUIEvent& event);

private:
    tesslin::Settings& Settings() const;
    void OnSize(wxSizeEvent& event);
    void OnContextMenu(wxContextMenuEvent& event);

    wxPanel* m_panel = nullptr;
    // The renames of this run, by hand or in batches, for "되돌리기"; never written to disk.
    tesslin::RenameHistory m_renameHistory;
    // The lists hold the result of a scan of the present settings ("짝 찾기" scans first
    // otherwise).
    bool m_scanned = false;

    wxDECLARE_DYNAMIC_CLASS(CTesslinGUIView);
    wxDECLARE_EVENT_TABLE();
};
